// Helpers for writing UTF-16 expectations readably in tests.
#pragma once

#include <string>

#include "platform/utf.h"

namespace kodrin::test {

inline std::u16string U(const char* utf8) { return platform::FromUtf8(utf8); }

}  // namespace kodrin::test
