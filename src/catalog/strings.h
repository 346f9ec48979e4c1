// The program's numbered strings. The table is generated at build time from
// resources/strings/*.txt, the same source that gives the Windows program its
// STRINGTABLE, so each text exists exactly once.
#pragma once

#include <cstddef>
#include <string>

namespace kodrin {

struct StringEntry {
    int id;
    const char16_t* text;
};

extern const StringEntry kStringTable[];
extern const std::size_t kStringCount;

// The string with the given id; a missing id gives the empty string.
std::u16string LoadText(int id);

}  // namespace kodrin
