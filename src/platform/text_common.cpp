#include "platform/text.h"

namespace kodrin::platform {

// Implemented by the adapter of this build (win32/ or posix/).
int CompareIgnoreCaseLocale(std::u16string_view a, std::u16string_view b);

int CompareOrdinal(std::u16string_view a, std::u16string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

namespace {

inline bool IsAsciiAlnum(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

inline char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

bool AllAsciiAlnum(std::u16string_view s) {
    for (char16_t c : s) {
        if (!IsAsciiAlnum(c)) return false;
    }
    return true;
}

}  // namespace

bool EqualIgnoreCase(std::u16string_view a, std::u16string_view b) {
    // Words of ASCII letters and digits (element names, option keys) are equal
    // ignoring case in every locale exactly when their upper-case forms are;
    // anything else (punctuation that collation may ignore, other scripts)
    // is left to the locale.
    if (AllAsciiAlnum(a) && AllAsciiAlnum(b)) {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
        }
        return true;
    }
    return CompareIgnoreCaseLocale(a, b) == 0;
}

int CompareIgnoreCase(std::u16string_view a, std::u16string_view b) {
    return CompareIgnoreCaseLocale(a, b);
}

}  // namespace kodrin::platform
