// The built-in filter list (resources/filters/AppFilters.csv) as the scanner
// reads it: its exact header, CR LF lines of 8-bit Windows Latin-1 text,
// one entry per program file name, the known categories, and every cell
// coming back unchanged through the CSV import.
#include <gtest/gtest.h>

#include <set>

#include "catalog/csv.h"
#include "platform/files.h"
#include "platform/utf.h"

namespace kodrin {
namespace {

const char kHeader[] =
    "Path,Category,Company,Application Name,Home Page,Upgrade Web Page,Auto-Update,Support EMail,Description,"
    "Login Page,Comments,License Type,Media,Install File,Latest Version,Payment Method,Purchase Price,"
    "Auto-Remove,Hidden";

const std::set<std::u16string> kCategories{
    u"Filtered", u"Utilities", u"Operating System", u"Office", u"Drivers", u"Video", u"Windows", u"Painting",
    u"Browsers", u"Database", u"Reports", u"Audio", u"Programming", u"Games", u"Internet"};

// Cells of one line, read independently of the import: "," outside double
// quotes separates, the quotes themselves are dropped.
std::vector<std::u16string> Cells(std::u16string_view line) {
    std::vector<std::u16string> cells(1);
    bool quoted = false;
    for (const char16_t c : line) {
        if (c == u'"') quoted = !quoted;
        else if (c == u',' && !quoted) cells.emplace_back();
        else cells.back() += c;
    }
    return cells;
}

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return text;
}

TEST(FilterListTest, FileIsCrLfWindowsLatin1WithTheExactHeaderAndUniquePaths) {
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(platform::FromUtf8(KODRIN_TEST_DATA "/../../resources/filters/AppFilters.csv"),
                                        bytes));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[bytes.size() - 2], '\r');
    EXPECT_EQ(bytes.back(), '\n');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const std::uint8_t b = bytes[i];
        SCOPED_TRACE(i);
        // Control characters only as CR LF; no byte that Windows-1252 leaves undefined.
        if (b == '\r') ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n');
        else if (b == '\n') ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r');
        else ASSERT_TRUE(b >= 0x20 && b != 0x7F && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D);
    }
    const std::u16string text = CsvTextFrom8Bit(bytes);
    const std::string header(kHeader);
    ASSERT_EQ(text.substr(0, header.size() + 2), platform::FromUtf8(header) + u"\r\n");

    std::vector<std::vector<std::u16string>> rows;
    std::set<std::u16string> paths;
    for (std::size_t start = header.size() + 2; start < text.size();) {
        const std::size_t end = text.find(u"\r\n", start);
        ASSERT_NE(end, std::u16string::npos);
        rows.push_back(Cells(std::u16string_view(text).substr(start, end - start)));
        start = end + 2;
        const std::vector<std::u16string>& row = rows.back();
        SCOPED_TRACE(platform::ToUtf8(row[0]));
        ASSERT_TRUE(row.size() == 7 || row.size() == 19);
        EXPECT_TRUE(paths.insert(Lower(row[0])).second) << "Path given twice";
        EXPECT_TRUE(kCategories.contains(row[1]));
        EXPECT_TRUE(row[6] == u"0" || row[6] == u"1");
        // An entry gives either its category only or also company, name and both pages.
        const bool detailed = !row[2].empty();
        for (int c = 3; c <= 5; ++c) EXPECT_EQ(row[c].empty(), !detailed) << c;
    }
    EXPECT_GE(rows.size(), 1200u);

    // The scanner's reading: as UTF-16 the text names no column; as 8-bit
    // text every entry comes back with its cells as written.
    std::vector<ApplicationRecord> records;
    std::int32_t ids = 0;
    EXPECT_FALSE(ReadCsv(CsvTextFromUtf16(bytes), records, ids, {}, u""));
    EXPECT_TRUE(records.empty());
    ASSERT_TRUE(ReadCsv(text, records, ids, {}, u""));
    ASSERT_EQ(records.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ApplicationRecord& r = records[i];
        const std::vector<std::u16string>& row = rows[i];
        SCOPED_TRACE(platform::ToUtf8(row[0]));
        EXPECT_EQ((std::vector<std::u16string>{r.path, r.company, r.program, r.homePage, r.upgradePage}),
                  (std::vector<std::u16string>{row[0], row[2], row[3], row[4], row[5]}));
        EXPECT_EQ(r.categories, std::vector<std::u16string>{row[1]});
        // "0" and "1" are no Yes or No: the entry leaves the flag alone.
        EXPECT_FALSE(r.autoUpdate);
        EXPECT_TRUE(r.leaveAutoUpdate && r.leaveAutoRemove && r.leaveHide);
    }
}

}  // namespace
}  // namespace kodrin
