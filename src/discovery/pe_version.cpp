#include "discovery/pe_version.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string_view>

namespace kodrin::discovery {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t kResourceVersion = 16;   // RT_VERSION
constexpr std::uint32_t kResourceIconGroup = 14;  // RT_GROUP_ICON
constexpr std::uint32_t kVersionInfoId = 1;       // VS_VERSION_INFO
constexpr std::size_t kFixedInfoSize = 52;        // VS_FIXEDFILEINFO

// True when [offset, offset + length) lies within a buffer of the size.
bool Fits(std::size_t size, std::size_t offset, std::size_t length) {
    return offset <= size && length <= size - offset;
}

bool Read16(Bytes bytes, std::size_t offset, std::uint32_t& value) {
    if (!Fits(bytes.size(), offset, 2)) return false;
    value = static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8;
    return true;
}

bool Read32(Bytes bytes, std::size_t offset, std::uint32_t& value) {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (!Read16(bytes, offset, low) || !Read16(bytes, offset + 2, high)) return false;
    value = low | high << 16;
    return true;
}

// The bytes of the file that an address of the loaded image falls in: from
// that address to the end of its section's raw data. Empty when no section
// holds the address in its raw data.
Bytes MapAddress(Bytes file, std::size_t sections, std::uint32_t count, std::uint32_t address) {
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t header = sections + static_cast<std::size_t>(i) * 40;
        std::uint32_t virtualAddress = 0;
        std::uint32_t rawSize = 0;
        std::uint32_t rawOffset = 0;
        if (!Read32(file, header + 12, virtualAddress) || !Read32(file, header + 16, rawSize) ||
            !Read32(file, header + 20, rawOffset)) {
            return {};
        }
        if (address < virtualAddress || address - virtualAddress >= rawSize) continue;
        const std::size_t offset = static_cast<std::size_t>(rawOffset) + (address - virtualAddress);
        if (offset >= file.size()) return {};
        const std::size_t available = std::min<std::size_t>(rawSize - (address - virtualAddress), file.size() - offset);
        return file.subspan(offset, available);
    }
    return {};
}

// The entry of a resource directory with the numeric id, or with any id
// (the first entry) when id is null: the offset it points to and whether
// that is a further directory.
bool FindEntry(Bytes tree, std::size_t directory, const std::uint32_t* id, std::uint32_t& target, bool& isDirectory) {
    std::uint32_t named = 0;
    std::uint32_t numbered = 0;
    if (!Read16(tree, directory + 12, named) || !Read16(tree, directory + 14, numbered)) return false;
    for (std::uint32_t i = 0; i < named + numbered; ++i) {
        const std::size_t entry = directory + 16 + static_cast<std::size_t>(i) * 8;
        std::uint32_t name = 0;
        std::uint32_t offset = 0;
        if (!Read32(tree, entry, name) || !Read32(tree, entry + 4, offset)) return false;
        if (id != nullptr && ((name & 0x80000000u) != 0 || name != *id)) continue;
        isDirectory = (offset & 0x80000000u) != 0;
        target = offset & 0x7FFFFFFFu;
        return true;
    }
    return false;
}

// One block of a version resource: length, value length, type, key, value
// and children, all within the block.
struct Block {
    std::size_t end = 0;
    std::u16string key;
    std::uint32_t valueLength = 0;  // as stored: characters for text, bytes for binary
    std::size_t value = 0;
    std::size_t valueEnd = 0;  // end of the value as far as the block holds it
    std::size_t children = 0;
};

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

bool ReadBlock(Bytes data, std::size_t offset, std::size_t limit, Block& block) {
    std::uint32_t length = 0;
    std::uint32_t type = 0;
    if (!Read16(data, offset, length) || !Read16(data, offset + 2, block.valueLength) ||
        !Read16(data, offset + 4, type) || length < 6 || !Fits(limit, offset, length)) {
        return false;
    }
    block.end = offset + length;
    block.key.clear();
    std::size_t at = offset + 6;
    for (;; at += 2) {
        std::uint32_t unit = 0;
        if (at + 2 > block.end || !Read16(data, at, unit)) return false;
        if (unit == 0) break;
        block.key.push_back(static_cast<char16_t>(unit));
    }
    block.value = std::min(Align4(at + 2), block.end);
    const std::size_t valueBytes = static_cast<std::size_t>(block.valueLength) * (type == 1 ? 2 : 1);
    block.valueEnd = std::min(block.value + valueBytes, block.end);
    block.children = std::min(Align4(block.value + valueBytes), block.end);
    return true;
}

char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameKey(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

// The first child of the parent with the key (ignoring letter case), or the
// first child at all when the key is null.
bool FindChild(Bytes data, const Block& parent, const std::u16string_view* key, Block& child) {
    std::size_t at = parent.children;
    while (at < parent.end) {
        if (!ReadBlock(data, at, parent.end, child)) return false;
        if (key == nullptr || SameKey(child.key, *key)) return true;
        at = Align4(child.end);
    }
    return false;
}

bool FindChild(Bytes data, const Block& parent, std::u16string_view key, Block& child) {
    return FindChild(data, parent, &key, child);
}

// A text value: at most its stored length in characters, up to its first
// null character.
std::u16string TextValue(Bytes data, const Block& block) {
    std::u16string text;
    for (std::size_t at = block.value; at + 2 <= block.valueEnd && text.size() < block.valueLength; at += 2) {
        std::uint32_t unit = 0;
        if (!Read16(data, at, unit) || unit == 0) break;
        text.push_back(static_cast<char16_t>(unit));
    }
    return text;
}

std::u16string VersionText(std::uint32_t most, std::uint32_t least) {
    char text[48];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", most >> 16, most & 0xFFFFu, least >> 16, least & 0xFFFFu);
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

void ReadVersionBlock(Bytes data, PeVersionInfo& info) {
    Block root;
    if (!ReadBlock(data, 0, data.size(), root)) return;
    info.found = true;

    std::uint32_t fixed[4] = {};
    if (root.valueLength >= kFixedInfoSize && Fits(root.end, root.value, kFixedInfoSize) &&
        Read32(data, root.value + 8, fixed[0]) && Read32(data, root.value + 12, fixed[1]) &&
        Read32(data, root.value + 16, fixed[2]) && Read32(data, root.value + 20, fixed[3])) {
        info.fixedFileVersion = VersionText(fixed[0], fixed[1]);
        info.fixedProductVersion = VersionText(fixed[2], fixed[3]);
    }

    Block varInfo;
    Block translation;
    std::uint32_t language = 0;
    std::uint32_t codePage = 0;
    if (FindChild(data, root, u"VarFileInfo", varInfo) && FindChild(data, varInfo, u"Translation", translation) &&
        translation.valueLength >= 4 && Fits(translation.end, translation.value, 4) &&
        Read16(data, translation.value, language) && Read16(data, translation.value + 2, codePage)) {
        char text[16];
        std::snprintf(text, sizeof text, "%04x%04x", language, codePage);
        info.translation.assign(text, text + 8);
    }

    Block stringInfo;
    Block table;
    if (!FindChild(data, root, u"StringFileInfo", stringInfo)) return;
    const std::u16string_view wanted = info.translation;
    if (!FindChild(data, stringInfo, info.translation.empty() ? nullptr : &wanted, table)) return;
    info.stringTable = table.key;
    const auto value = [&](std::u16string_view key, std::optional<std::u16string>& out) {
        Block entry;
        if (FindChild(data, table, key, entry)) out = TextValue(data, entry);
    };
    value(u"CompanyName", info.companyName);
    value(u"ProductName", info.productName);
    value(u"FileVersion", info.fileVersion);
    value(u"ProductVersion", info.productVersion);
    value(u"FileDescription", info.fileDescription);
}

}  // namespace

bool ReadPeVersion(Bytes file, PeVersionInfo& info) {
    info = PeVersionInfo{};
    std::uint32_t signature = 0;
    std::uint32_t header = 0;
    if (!Read16(file, 0, signature) || signature != 0x5A4D || !Read32(file, 0x3C, header) ||
        !Read32(file, header, signature) || signature != 0x00004550) {
        return false;
    }
    std::uint32_t sectionCount = 0;
    std::uint32_t optionalSize = 0;
    std::uint32_t magic = 0;
    const std::size_t optional = static_cast<std::size_t>(header) + 24;
    if (!Read16(file, header + std::size_t{6}, sectionCount) || !Read16(file, header + std::size_t{20}, optionalSize) ||
        !Read16(file, optional, magic)) {
        return false;
    }
    std::size_t directories = 0;
    if (magic == 0x10B) {
        directories = 96;
    } else if (magic == 0x20B) {
        directories = 112;
    } else {
        return false;
    }
    // The resource table is data directory 2; it must lie within the optional header.
    std::uint32_t directoryCount = 0;
    std::uint32_t resourceAddress = 0;
    if (!Read32(file, optional + directories - 4, directoryCount) || directoryCount <= 2 ||
        directories + 3 * 8 > optionalSize || !Read32(file, optional + directories + 16, resourceAddress) ||
        resourceAddress == 0) {
        return false;
    }
    const std::size_t sections = optional + optionalSize;
    const Bytes tree = MapAddress(file, sections, sectionCount, resourceAddress);
    if (tree.empty()) return false;

    std::uint32_t target = 0;
    bool isDirectory = false;
    info.hasIcon = FindEntry(tree, 0, &kResourceIconGroup, target, isDirectory) && isDirectory &&
                   FindEntry(tree, target, nullptr, target, isDirectory);

    // Type, then name (the version resource is number 1), then the first language.
    if (!FindEntry(tree, 0, &kResourceVersion, target, isDirectory) || !isDirectory ||
        !FindEntry(tree, target, &kVersionInfoId, target, isDirectory) || !isDirectory ||
        !FindEntry(tree, target, nullptr, target, isDirectory) || isDirectory) {
        return false;
    }
    std::uint32_t dataAddress = 0;
    std::uint32_t dataSize = 0;
    if (!Read32(tree, target, dataAddress) || !Read32(tree, target + std::size_t{4}, dataSize)) return false;
    const Bytes data = MapAddress(file, sections, sectionCount, dataAddress);
    if (dataSize == 0 || data.size() < dataSize) return false;
    ReadVersionBlock(data.first(dataSize), info);
    return info.found;
}

ProgramVersionFields ProgramFields(const PeVersionInfo& info) {
    ProgramVersionFields fields;
    if (!info.found || info.translation.empty()) return fields;
    if (!info.fixedFileVersion.empty()) fields.version = info.fixedFileVersion;
    fields.company = info.companyName;
    fields.product = info.productName;
    return fields;
}

}  // namespace kodrin::discovery
