// The portable version-resource reader against Wine's own program files,
// checked field by field against an independent reader (pefile), and over
// damaged copies of one file. Native only: the oracle is Debian's python3.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "discovery/pe_version.h"
#include "support/text.h"

namespace kodrin::discovery {
namespace {

using test::U;

const std::string kWine = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/";

std::vector<std::uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What pefile reads: NAME=hex of the UTF-16LE value, one a line.
std::map<std::string, std::u16string> Oracle(const std::string& path) {
    const std::string command = "/usr/bin/python3 " KODRIN_TEST_DATA "/../discovery/pe_version_oracle.py '" + path + "'";
    std::map<std::string, std::u16string> fields;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return fields;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const std::size_t equals = text.find('=');
        if (equals == std::string::npos) continue;
        std::u16string value;
        for (std::size_t i = equals + 1; i + 4 <= text.size(); i += 4) {
            const unsigned low = std::stoul(text.substr(i, 2), nullptr, 16);
            const unsigned high = std::stoul(text.substr(i + 2, 2), nullptr, 16);
            value.push_back(static_cast<char16_t>(low | high << 8));
        }
        fields[text.substr(0, equals)] = value;
    }
    EXPECT_EQ(::pclose(pipe), 0) << command;
    return fields;
}

std::optional<std::u16string> Field(const std::map<std::string, std::u16string>& fields, const std::string& name) {
    const auto found = fields.find(name);
    if (found == fields.end()) return std::nullopt;
    return found->second;
}

bool Same(const PeVersionInfo& a, const PeVersionInfo& b) {
    return a.found == b.found && a.hasIcon == b.hasIcon && a.fixedFileVersion == b.fixedFileVersion &&
           a.fixedProductVersion == b.fixedProductVersion && a.translation == b.translation &&
           a.stringTable == b.stringTable && a.companyName == b.companyName && a.productName == b.productName &&
           a.fileVersion == b.fileVersion && a.productVersion == b.productVersion &&
           a.fileDescription == b.fileDescription;
}

TEST(PeVersion, WineProgramsReadAsPefileReadsThem) {
    struct Case {
        const char* file;
        bool version;
        bool icon;
        const char* productVersion;  // the string table's, where it differs from the fixed one
    };
    const Case cases[] = {
        {"iexplore.exe", true, true, "9.0.8112.16421"}, {"explorer.exe", true, false, "6.1.7601.17567"},
        {"notepad.exe", false, true, nullptr},          {"winecfg.exe", false, true, nullptr},
        {"regedit.exe", true, true, "5.2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::vector<std::uint8_t> bytes = ReadAll(kWine + c.file);
        ASSERT_FALSE(bytes.empty());
        const auto oracle = Oracle(kWine + c.file);
        ASSERT_EQ(Field(oracle, "icon"), U(c.icon ? "1" : "0"));
        ASSERT_EQ(Field(oracle, "wrestool_icon"), U(c.icon ? "1" : "0"));
        PeVersionInfo info;
        EXPECT_EQ(ReadPeVersion(bytes, info), c.version);
        EXPECT_EQ(info.hasIcon, c.icon);
        EXPECT_EQ(info.fixedFileVersion, Field(oracle, "fixed_file").value_or(u""));
        EXPECT_EQ(info.fixedProductVersion, Field(oracle, "fixed_product").value_or(u""));
        EXPECT_EQ(info.translation, Field(oracle, "translation").value_or(u""));
        EXPECT_EQ(info.companyName, Field(oracle, "CompanyName"));
        EXPECT_EQ(info.productName, Field(oracle, "ProductName"));
        EXPECT_EQ(info.fileVersion, Field(oracle, "FileVersion"));
        EXPECT_EQ(info.productVersion, Field(oracle, "ProductVersion"));
        EXPECT_EQ(info.fileDescription, Field(oracle, "FileDescription"));
        if (c.productVersion != nullptr) {
            EXPECT_EQ(info.productVersion, U(c.productVersion));
        }

        // The record takes the fixed file version, not a string, and the
        // first translation's names.
        const ProgramVersionFields fields = ProgramFields(info);
        EXPECT_EQ(fields.version.has_value(), c.version);
        if (c.version) {
            EXPECT_EQ(*fields.version, info.fixedFileVersion);
        }
        EXPECT_EQ(fields.company, info.companyName);
        EXPECT_EQ(fields.product, info.productName);
    }
}

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size && at + i < bytes.size(); ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Damaged copies of a real file give nothing or what the whole file gives;
// none reads outside its bytes (the sanitizers watch).
TEST(PeVersion, DamagedFilesGiveNothingOrTheSameFields) {
    std::vector<std::uint8_t> bytes = ReadAll(kWine + "iexplore.exe");
    PeVersionInfo whole;
    ASSERT_TRUE(ReadPeVersion(bytes, whole));
    const std::u16string_view key = u"VS_VERSION_INFO";
    const auto found = std::search(bytes.begin(), bytes.end(), reinterpret_cast<const std::uint8_t*>(key.data()),
                                   reinterpret_cast<const std::uint8_t*>(key.data() + key.size()));
    ASSERT_NE(found, bytes.end());
    const std::size_t block = static_cast<std::size_t>(found - bytes.begin()) - 6;
    const std::size_t blockEnd = block + (bytes[block] | bytes[block + 1] << 8);

    // Cut at many lengths, densest around the headers and the version block.
    std::vector<std::size_t> cuts = {0, 1, 2, 0x3C, 0x40, blockEnd - 1, blockEnd, bytes.size() - 1};
    for (std::size_t n = 0; n < 0x600; n += 7) cuts.push_back(n);
    for (std::size_t n = 0; n < bytes.size(); n += 997) cuts.push_back(n);
    for (std::size_t n = block; n < blockEnd; n += 5) cuts.push_back(n);
    for (const std::size_t n : cuts) {
        PeVersionInfo info;
        const bool read = ReadPeVersion(std::span(bytes).first(n), info);
        EXPECT_TRUE(!read || Same(info, whole)) << "cut at " << n;
    }

    // Offsets and lengths pointing outside the file.
    const std::size_t pe = Get32(bytes, 0x3C);
    const std::size_t optional = pe + 24;
    const std::size_t sections = optional + (bytes[pe + 20] | bytes[pe + 21] << 8);
    struct Damage {
        std::size_t at;
        std::uint32_t value;
        int size;
    };
    std::vector<Damage> damages = {
        {0x3C, 0xFFFFFFF0u, 4},      {0x3C, static_cast<std::uint32_t>(bytes.size() - 2), 4},
        {pe + 6, 0xFFFF, 2},          {pe + 20, 0xFFFF, 2},
        {pe + 20, 0, 2},              {optional + 108, 0xFFFFFFFFu, 4},
        {optional + 128, 0x7FFFFFF0u, 4}, {block, 0xFFFF, 2},
        {block, 0, 2},                {block, 5, 2},
    };
    for (std::size_t s = 0; s < 8; ++s) {
        for (const std::size_t field : {12, 16, 20}) damages.push_back({sections + s * 40 + field, 0xFFFFFFF0u, 4});
    }
    for (const Damage& d : damages) {
        std::vector<std::uint8_t> copy = bytes;
        Put(copy, d.at, d.value, d.size);
        PeVersionInfo info;
        const bool read = ReadPeVersion(copy, info);
        EXPECT_TRUE(!read || Same(info, whole)) << "damage at " << d.at;
    }

    // Every word of the headers and of the version block set to 0 and to
    // 0xFFFF: any result, but strings no longer than the block.
    for (std::size_t at = 0; at + 2 <= bytes.size() && at < blockEnd; at += (at < 0x600 ? 2 : 1)) {
        if (at == 0x600 && block > at) at = block;
        const std::uint8_t saved[2] = {bytes[at], bytes[at + 1]};
        for (const std::uint32_t value : {0x0000u, 0xFFFFu, 0x8000u}) {
            Put(bytes, at, value, 2);
            PeVersionInfo info;
            if (ReadPeVersion(bytes, info)) {
                ASSERT_LE(info.productName.value_or(u"").size() * 2, blockEnd - block) << at;
            }
        }
        bytes[at] = saved[0];
        bytes[at + 1] = saved[1];
    }
}

}  // namespace
}  // namespace kodrin::discovery

#endif
