#include <windows.h>

#include <climits>

#include "platform/text.h"

namespace kodrin::platform {

int CompareIgnoreCaseLocale(std::u16string_view a, std::u16string_view b) {
    // CompareStringW takes int lengths; texts of the catalog are far shorter.
    const int la = a.size() > INT_MAX ? INT_MAX : static_cast<int>(a.size());
    const int lb = b.size() > INT_MAX ? INT_MAX : static_cast<int>(b.size());
    const int r = ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE,
                                   reinterpret_cast<const wchar_t*>(a.data()), la,
                                   reinterpret_cast<const wchar_t*>(b.data()), lb);
    if (r == 0) return CompareOrdinal(a, b);  // invalid input: fall back to code units
    return r - CSTR_EQUAL;
}

}  // namespace kodrin::platform
