// Files as the catalog core needs them. Paths are UTF-16 on every build.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace kodrin::platform {

// Reads the whole file (shared read access) into bytes. False when the file
// is missing or cannot be read.
bool ReadWholeFile(std::u16string_view path, std::vector<std::uint8_t>& bytes);

// True when the file at path exists and can be opened for reading now
// (folders do not count). Shares read, write and delete access with others.
bool CanOpenForReading(std::u16string_view path);

}  // namespace kodrin::platform
