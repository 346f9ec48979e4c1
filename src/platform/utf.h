// Conversions between UTF-16 (the program's text) and UTF-8 (the terminal,
// file names natively, test sources). Unpaired surrogates and malformed
// UTF-8 become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace kodrin::platform {

std::u16string FromUtf8(std::string_view text);
std::string ToUtf8(std::u16string_view text);

}  // namespace kodrin::platform
