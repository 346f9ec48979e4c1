// A small reader of the version resource of a Windows program file (PE32 or
// PE32+), for systems without the Windows version functions. It reads what
// GetFileVersionInfoW and VerQueryValueW give: the fixed version part, the
// first translation and the strings of that translation's table. Every
// offset and length in the file is checked: a damaged or hostile file gives
// nothing, never a read outside the bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kodrin::discovery {

struct PeVersionInfo {
    // A version resource (VS_VERSIONINFO) was found and its header read.
    bool found = false;
    // The file's icon directory holds at least one icon group.
    bool hasIcon = false;
    // "major.minor.build.revision" of the fixed part's file and product
    // versions; empty when the fixed part is missing or too short.
    std::u16string fixedFileVersion;
    std::u16string fixedProductVersion;
    // The first translation ("040904b0": language, code page, lower-case
    // hex); empty when there is no translation table.
    std::u16string translation;
    // The key of the string table the strings come from: the first
    // translation's, or the first table when there is no translation table.
    std::u16string stringTable;
    // The strings of that table; no value when the table lacks the key.
    std::optional<std::u16string> companyName;
    std::optional<std::u16string> productName;
    std::optional<std::u16string> fileVersion;
    std::optional<std::u16string> productVersion;
    std::optional<std::u16string> fileDescription;
};

// Reads the version resource of the program file whose bytes are given.
// False, with an empty result, when the bytes are not a PE file with a
// version resource.
bool ReadPeVersion(std::span<const std::uint8_t> file, PeVersionInfo& info);

// What the program's record takes from a version resource, by the same rule
// as the Windows reader: the fixed file version and the company and product
// names of the first translation, all only when the file has a translation
// table. Fields that are not there stay without a value.
struct ProgramVersionFields {
    std::optional<std::u16string> version;
    std::optional<std::u16string> company;
    std::optional<std::u16string> product;
};
ProgramVersionFields ProgramFields(const PeVersionInfo& info);

}  // namespace kodrin::discovery
