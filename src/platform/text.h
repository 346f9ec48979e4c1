// Text comparison, the one place where the system's collation is used.
//
// Three distinct comparisons, each used exactly where the catalog's rules ask
// for it:
//  - CompareIgnoreCase / EqualIgnoreCase: locale-aware, ignoring case, in the
//    user's default locale (CompareStringW with NORM_IGNORECASE on Windows,
//    an ICU collator at secondary strength natively). Element names, option
//    keys, program-file names, folder prefixes; sorting of text fields.
//  - CompareOrdinal: UTF-16 code unit by code unit. The value sets of the
//    catalog.
//  - Exact equality is plain operator== on std::u16string and needs no help.
#pragma once

#include <string_view>

namespace kodrin::platform {

// <0 when a sorts before b, 0 when equal, >0 when after; ignoring case.
int CompareIgnoreCase(std::u16string_view a, std::u16string_view b);

// True when a and b compare equal ignoring case. Pure-ASCII input takes a fast
// path that gives the same answer as the locale comparison.
bool EqualIgnoreCase(std::u16string_view a, std::u16string_view b);

// Code unit order: <0, 0, >0.
int CompareOrdinal(std::u16string_view a, std::u16string_view b);

}  // namespace kodrin::platform
