#include "catalog/strings.h"

#include <algorithm>

namespace kodrin {

std::u16string LoadText(int id) {
    const StringEntry* end = kStringTable + kStringCount;
    const StringEntry* it = std::lower_bound(kStringTable, end, id,
        [](const StringEntry& e, int wanted) { return e.id < wanted; });
    if (it == end || it->id != id) return {};
    return it->text;
}

}  // namespace kodrin
