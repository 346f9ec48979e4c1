// Files as the catalog core needs them. Paths are UTF-16 on every build.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kodrin::platform {

// Reads the whole file (shared read access) into bytes. False when the file
// is missing or cannot be read.
bool ReadWholeFile(std::u16string_view path, std::vector<std::uint8_t>& bytes);

}  // namespace kodrin::platform
