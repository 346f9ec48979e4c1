// Trimming of user-entered text.
#pragma once

#include <string>

namespace QvLibrary {

// Removes leading and trailing space, tab, carriage return and line feed.
std::u16string Trim(const std::u16string& text);

}  // namespace QvLibrary
