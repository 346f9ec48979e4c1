// The library's number reader, for sorting numeric columns and for prices
// typed into dialogs.
#pragma once

#include <string_view>

namespace QvLibrary {

// The catalog's number reader (ReadReal), so that a price reads the same in
// a dialog, a sorted column, a CSV cell and the data file. Skips leading
// characters that are neither digits nor "."; a "-" among them makes the
// result negative. Then reads digits with at most one decimal point and an
// optional exponent, stopping at the first other character; a "," between
// groups of three digits before the point is a thousands separator. No
// digits gives 0. So "$12.50" reads 12.5, "$1,200.50" reads 1200.5 and
// "1,5" reads 1.
double ReadNumber(std::u16string_view text);

}  // namespace QvLibrary
