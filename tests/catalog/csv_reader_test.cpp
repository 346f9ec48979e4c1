// The single-pass CSV reader against the quote-aware tokeniser it replaced
// (lines at LF with quotes kept, a CR before the LF dropped, then cells at
// ","), on awkward and on random text; reading a file's bytes against
// reading its decoded text; and the export writer's buffers.
#include <gtest/gtest.h>

#include <random>

#include "catalog/csv.h"
#include "catalog/tokenizer.h"
#include "support/text.h"

namespace kodrin {
namespace {

using test::U;
using Cells = std::vector<std::u16string>;

// Four text columns, the header written as the program writes it.
const std::u16string kHeader = u"\"Company\",\"Version\",\"Path\",\"Comments\"\r\n";

// The records the tokeniser's reading of the lines after the header gives:
// one per line with at least one cell, the cells in column order.
std::vector<Cells> ExpectedRows(std::u16string_view text) {
    std::vector<Cells> rows;
    const Cells lines = CsvSplit(text, u'\n', true, true);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::u16string line = lines[i];
        if (!line.empty() && line.back() == u'\r') line.pop_back();
        Cells cells = CsvSplit(line, u',', true, false);
        if (cells.empty()) continue;
        cells.resize(4);
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::vector<Cells> RowsOf(const std::vector<ApplicationRecord>& records) {
    std::vector<Cells> rows;
    for (const ApplicationRecord& r : records) rows.push_back({r.company, r.version, r.path, r.comments});
    return rows;
}

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

// Reads text four ways (the text, its UTF-16LE bytes, its UTF-8 bytes, and
// its bytes as 8-bit text when every character fits) and checks each
// against the tokeniser's rows.
void ExpectReadsLikeTheTokeniser(const std::u16string& body) {
    const std::u16string text = kHeader + body;
    const std::vector<Cells> expected = ExpectedRows(text);
    const std::string shown = platform::ToUtf8(body);

    std::vector<ApplicationRecord> records;
    std::int32_t ids = 0;
    ASSERT_TRUE(ReadCsv(text, records, ids, {}, u"")) << shown;
    EXPECT_EQ(RowsOf(records), expected) << shown;
    EXPECT_EQ(ids, static_cast<std::int32_t>(records.size()));

    records.clear();
    ASSERT_TRUE(ReadCsvBytes(Utf16Bytes(text), CsvEncoding::Utf16, records, ids, {}, u"")) << shown;
    EXPECT_EQ(RowsOf(records), expected) << "UTF-16 bytes: " << shown;

    const std::string utf8 = platform::ToUtf8(text);
    records.clear();
    ASSERT_TRUE(ReadCsvBytes(std::vector<std::uint8_t>(utf8.begin(), utf8.end()), CsvEncoding::Utf8, records, ids,
                             {}, u"")) << shown;
    EXPECT_EQ(RowsOf(records), expected) << "UTF-8 bytes: " << shown;

    bool eightBit = true;
    for (const char16_t c : text) eightBit = eightBit && c < 0x100;
    if (eightBit) {
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        records.clear();
        ASSERT_TRUE(ReadCsvBytes(bytes, CsvEncoding::EightBit, records, ids, {}, u"")) << shown;
        EXPECT_EQ(RowsOf(records), expected) << "8-bit bytes: " << shown;
    }
}

TEST(CsvReader, AwkwardLinesReadAsTheTokeniserSplitsThem) {
    const char* const bodies[] = {
        "\"a\",\"b\",\"c\",\"d\"\r\n",
        "\"a\"\"\",\"\"\"b\",\"x\"\"y\"\"z\",\"\"\"\"\r\n",  // doubled quotes at either end and inside
        "a,b,c,d",                                        // unquoted, no line end
        "\"Acme\"",                                       // a quote at the very end of the text
        "\"Acme\"\"",                                     // a doubled quote running into the end
        "\"unterminated, cell\r\nover lines",             // the rest of the text is one cell
        "\"ends in CR inside quotes\r",                   // a final CR is no part of the cell
        "\"ends in CR outside quotes\"\r",
        "x\ry,\r\r\n",                                    // a CR not before LF is a character
        "\r\n\r\n   \r\n\t,  \r\n",                       // blank lines; a line of one empty cell
        "   \"lead\",  trail ,\t\"q\" after,\"a\"b\"c\"\r\n",
        "ab\"c,d\"e,\"f\"\"g\"h\r\n",                     // quoted and unquoted parts in one cell
        "\"\",\"\",\"\",\"\"\r\n,,,\r\n",                 // empty cells
        "\xC2\xA0\xC2\x85\"nbsp\",\xC3\xA9t\xC3\xA9\r\n",  // Unicode blanks before a cell are skipped
        "\"a\nb\",\"c\r\nd\"\r\n\"e\"\n",                 // line feeds inside quotes
        "\"",                                             // a lone quote
        ",",
        "\"\"\"",
    };
    for (const char* body : bodies) ExpectReadsLikeTheTokeniser(U(body));
}

TEST(CsvReader, RandomTextReadsAsTheTokeniserSplitsIt) {
    // Characters that steer the reader, and ordinary ones; all below 256 so
    // that the 8-bit reading is checked too.
    const char16_t alphabet[] = {u'"', u'"', u'"', u',', u',', u'\n', u'\r', u' ', u'\t', u'a', u'b', 0xE9, 0xA0, 0x85};
    std::mt19937 rng(1504);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int n = 0; n < 3000; ++n) {
        std::u16string body;
        for (int i = length(rng); i > 0; --i) body += alphabet[pick(rng)];
        ExpectReadsLikeTheTokeniser(body);
        if (HasFailure()) return;
    }
    // Beyond 8 bits: blanks of three bytes in UTF-8 (U+3000, U+2028), and
    // characters whose UTF-8 bytes are not blanks although U+0085 and U+00A0
    // are among them (U+0160 is C5 A0, U+0105 is C4 85).
    const char16_t wide[] = {u'"', u'"', u',', u',', u'\n', u'\r', u' ', u'a', 0x3000, 0x2028, 0x0160, 0x0105, 0xA0};
    std::uniform_int_distribution<std::size_t> pickWide(0, std::size(wide) - 1);
    for (int n = 0; n < 1000; ++n) {
        std::u16string body;
        for (int i = length(rng); i > 0; --i) body += wide[pickWide(rng)];
        ExpectReadsLikeTheTokeniser(body);
        if (HasFailure()) return;
    }
}

// Which files read as UTF-8, and malformed UTF-8 (possible after a
// byte-order mark): the byte reader gives what the decoded text gives, and
// the text is what platform::FromUtf8 makes of the bytes.
TEST(CsvReader, Utf8DetectionAndMalformedBytes) {
    struct Case { const char* bytes; bool utf8; };
    const Case cases[] = {
        {"Company\r\nAcme\r\n", false},                // ASCII only: UTF-16 and 8-bit as before
        {"Company\r\nCaf\xC3\xA9\r\n", true},          // well-formed, not ASCII
        {"Company\r\nCaf\xE9\r\n", false},              // 8-bit text
        {"\xEF\xBB\xBF" "Company\r\nAcme\r\n", true},  // the byte-order mark alone decides
        {"\xEF\xBB\xBF" "Company\r\nCaf\xE9\r\n", true},
        {"Company\r\n\xF0\x9F\x98\x80\r\n", true},    // beyond U+FFFF
        {"Company\r\n\xC0\xAF\r\n", false},            // overlong
        {"Company\r\n\xED\xA0\x80\r\n", false},        // a surrogate
        {"Company\r\n\xF4\x90\x80\x80\r\n", false},   // beyond U+10FFFF
        {"Company\r\n\xE2\x82\r\n", false},            // cut short
        {"Company\r\n\xE2\x82", false},                 // cut short by the end
    };
    for (const Case& c : cases) {
        const std::string raw = c.bytes;
        const std::vector<std::uint8_t> bytes(raw.begin(), raw.end());
        EXPECT_EQ(IsUtf8Csv(bytes), c.utf8) << raw;
        const std::string body = raw.starts_with("\xEF\xBB\xBF") ? raw.substr(3) : raw;
        EXPECT_EQ(CsvTextFromUtf8(bytes), platform::FromUtf8(body)) << raw;
        // The same bytes under a known header, in quotes and cut by quotes.
        for (const std::string& cell : {body, "\"" + body + "\"", "x\"" + body + "\"y\"\"" + body}) {
            const std::string file = "Company,Comments\r\n\"" + cell + "\"," + cell + "\r\n" + cell;
            const std::vector<std::uint8_t> fileBytes(file.begin(), file.end());
            std::vector<ApplicationRecord> fromText, fromBytes;
            std::int32_t a = 0, b = 0;
            ASSERT_TRUE(ReadCsv(CsvTextFromUtf8(fileBytes), fromText, a, {}, u""));
            ASSERT_TRUE(ReadCsvBytes(fileBytes, CsvEncoding::Utf8, fromBytes, b, {}, u""));
            EXPECT_EQ(fromBytes, fromText) << file;
        }
    }
    EXPECT_FALSE(IsUtf8Csv(std::vector<std::uint8_t>{}));
}

TEST(CsvReader, BytesReadLikeTheirDecodedText) {
    const std::u16string text = kHeader + U("\"Caf\u00E9\",\"1\"\r\n\"\u65E5\u672C\",\"2\"\r\n");
    std::vector<std::uint8_t> bytes = Utf16Bytes(text);
    // With a byte-order mark and a stray odd byte at the end.
    bytes.insert(bytes.begin(), {0xFF, 0xFE});
    bytes.push_back(0x41);
    std::vector<ApplicationRecord> fromText, fromBytes;
    std::int32_t a = 10, b = 10;
    ASSERT_TRUE(ReadCsv(CsvTextFromUtf16(bytes), fromText, a, {}, u""));
    ASSERT_TRUE(ReadCsvBytes(bytes, CsvEncoding::Utf16, fromBytes, b, {}, u""));
    ASSERT_EQ(fromBytes.size(), 2u);
    EXPECT_EQ(fromBytes, fromText);
    EXPECT_EQ(fromBytes[1].company, U("\u65E5\u672C"));
    EXPECT_EQ(b, 12);

    // 8-bit with a UTF-8 byte-order mark, which is dropped.
    const std::string eight = "\xEF\xBB\xBF\"Company\"\r\n\"Caf\xE9\"\r\n";
    const std::vector<std::uint8_t> eightBytes(eight.begin(), eight.end());
    fromText.clear();
    fromBytes.clear();
    ASSERT_TRUE(ReadCsv(CsvTextFrom8Bit(eightBytes), fromText, a, {}, u""));
    ASSERT_TRUE(ReadCsvBytes(eightBytes, CsvEncoding::EightBit, fromBytes, b, {}, u""));
    ASSERT_EQ(fromBytes.size(), 1u);
    EXPECT_EQ(fromBytes[0].company, U("Caf\u00E9"));
    EXPECT_EQ(fromBytes[0].company, fromText[0].company);

    // Too short for a header, and a header that names nothing: nothing read.
    for (const std::vector<std::uint8_t>& bad :
         {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0x41}, std::vector<std::uint8_t>{0xFF, 0xFE}}) {
        EXPECT_FALSE(ReadCsvBytes(bad, CsvEncoding::Utf16, fromBytes, b, {}, u""));
        EXPECT_FALSE(ReadCsvBytes(bad, CsvEncoding::EightBit, fromBytes, b, {}, u""));
    }
    EXPECT_EQ(fromBytes.size(), 1u);
}

TEST(CsvReader, ManyRecordsAndProgress) {
    // Enough lines for the reader to size the list from the first ones.
    std::u16string text = kHeader;
    for (int i = 0; i < 500; ++i) {
        text += u"\"Company " + platform::FromUtf8(std::to_string(i)) + u"\",\"" +
                std::u16string(static_cast<std::size_t>(i % 37), u'v') + u"\"\r\n";
    }
    std::vector<ApplicationRecord> records(3);
    std::int32_t ids = 0;
    std::vector<int> progress;
    ASSERT_TRUE(ReadCsv(text, records, ids, [&](int p) { progress.push_back(p); }, u""));
    ASSERT_EQ(records.size(), 503u);
    EXPECT_EQ(records[3].company, u"Company 0");
    EXPECT_EQ(records[502].company, u"Company 499");
    EXPECT_EQ(records[502].version, std::u16string(499 % 37, u'v'));
    EXPECT_EQ(records[502].recordId, 500);
    ASSERT_FALSE(progress.empty());
    EXPECT_GT(progress.size(), 50u);  // the bar moves
    for (std::size_t i = 0; i < progress.size(); ++i) {
        EXPECT_GE(progress[i], 0);
        EXPECT_LT(progress[i], 100);
        if (i > 0) {
            EXPECT_GT(progress[i], progress[i - 1]);  // reported when it changes
        }
    }
}

TEST(CsvReader, PictureNamesWithoutAnImagesFolder) {
    std::vector<ApplicationRecord> records;
    std::int32_t ids = 0;
    ASSERT_TRUE(ReadCsv(u"\"Picture\",\"Version\"\r\n\"a.png\",\"1\"\r\n\"C:\\pics\\b.png\",\"2\"\r\n\"\",\"3\"\r\n",
                        records, ids, {}, u"no-such-folder-kodrin\\in.csv"));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].pictureName, u"a.png");
    EXPECT_EQ(records[1].pictureName, u"b.png");
    EXPECT_EQ(records[2].pictureName, u"");
    for (const ApplicationRecord& r : records) EXPECT_TRUE(r.picture.empty());
}

// An empty file has no bytes to point at: decoding it must not hand a null
// pointer to the copy, which the sanitizer reports as undefined behaviour.
TEST(CsvReader, EmptyFilesDecodeToEmptyText) {
    const std::vector<std::uint8_t> none;
    EXPECT_EQ(CsvTextFromUtf16(none), u"");
    EXPECT_EQ(CsvTextFrom8Bit(none), u"");
    EXPECT_EQ(CsvTextFromUtf16({0xFF, 0xFE}), u"");
    std::vector<ApplicationRecord> records;
    std::int32_t ids = 0;
    EXPECT_FALSE(ReadCsv(std::u16string_view(), records, ids, {}, u""));
    EXPECT_TRUE(records.empty());
}

class CsvWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings_ = NewSettings();
        catalog_.options = &settings_;
        for (int i = 0; i < 5; ++i) {
            ApplicationRecord r = NewRecord();
            r.program = U("Prog \"") + platform::FromUtf8(std::to_string(i)) + U("\" caf\u00E9 \u2022 \u20AC");
            r.comments = u"line one\r\nline two, \"quoted\"";
            r.categories = {i % 2 == 0 ? u"Games" : u"Office", u"Tools"};
            r.purchasePrice = 10.25 * i;
            r.diskCount = i;
            r.hide = i == 3;
            AddLoginField(r, LoginField{u"user", u"joe \"x\"", 0, LoginFieldType::StandardInput, true, false});
            AddLoginField(r, LoginField{u"pw", u"s3cret", 0, LoginFieldType::Password, false, false});
            catalog_.records.push_back(r);
        }
    }
    Settings settings_;
    Catalog catalog_;
};

TEST_F(CsvWriterTest, FileBytesMatchTheTextInBothEncodings) {
    for (const bool unicode : {true, false}) {
        for (const bool all : {true, false}) {
            ExportOptions options;
            options.preserveUnicode = unicode;
            options.allData = all;
            settings_.cols = {fields::Program, fields::LoginData, fields::PurchasePrice, fields::Hide,
                              fields::Comments, fields::WebPassword};
            const std::u16string text = CsvDocument(catalog_, options);
            std::vector<std::uint8_t> bytes{1, 2, 3};
            CsvDocumentBytes(bytes, catalog_, options);
            EXPECT_EQ(bytes, CsvFileBytes(text, unicode)) << unicode << all;
        }
    }
}

TEST_F(CsvWriterTest, ReusedMemoryGivesTheSameTextAndCategoryFilter) {
    ExportOptions options;
    const std::u16string fresh = CsvDocument(catalog_, options);
    std::u16string reused(fresh.size() * 2, u'#');
    CsvDocument(reused, catalog_, options);
    EXPECT_EQ(reused, fresh);
    std::vector<int> progress;
    CsvDocument(reused, catalog_, options, [&](int p) { progress.push_back(p); });
    EXPECT_EQ(reused, fresh);
    EXPECT_EQ(progress, (std::vector<int>{10, 25, 40, 55, 70}));

    // Only the category's records, and they read back as written.
    options.category = u"Games";
    CsvDocument(reused, catalog_, options);
    std::vector<ApplicationRecord> back;
    std::int32_t ids = 0;
    ASSERT_TRUE(ReadCsv(reused, back, ids, {}, u""));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[1].program, catalog_.records[2].program);
    EXPECT_EQ(back[1].comments, catalog_.records[2].comments);
    EXPECT_EQ(back[1].loginData.size(), 2u);
    EXPECT_EQ(back[1].loginData[0].value, u"joe \"x\"");
    EXPECT_EQ(back[1].purchasePrice, 20.5);
    EXPECT_EQ(back[1].categories, (Cells{u"Games", u"Tools"}));
}

}  // namespace
}  // namespace kodrin
