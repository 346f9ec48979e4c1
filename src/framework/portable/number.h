// The library's number reader, for sorting numeric columns and for prices
// typed into dialogs.
#pragma once

#include <string_view>

namespace QvLibrary {

// Skips leading characters that are neither digits nor "."; a "-" among them
// makes the result negative. Then reads digits with at most one decimal
// point, stopping at the first other character. No digits gives 0. So
// "$12.50" reads 12.5 and "$1,200.50" reads 1.
double ReadNumber(std::u16string_view text);

}  // namespace QvLibrary
