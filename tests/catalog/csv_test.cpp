// CSV export and import: the file layout, quoting, the header rule, value
// decoding, pictures beside the file, and round trips of whole catalogs.
#include <gtest/gtest.h>

#include <optional>

#include "support/temp_folder.h"

#include <filesystem>

#include "catalog/csv.h"
#include "catalog/strings.h"
#include "catalog/tokenizer.h"
#include "platform/crypto.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/utf.h"
#include "support/text.h"

namespace kodrin {
namespace {

using test::U;
using Cells = std::vector<std::u16string>;

class CsvTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp_.emplace(u"kodrin-csv-");
        ASSERT_TRUE(temp_->Created());
        folder_ = temp_->Path() + u"\\";
        settings_ = NewSettings();
        catalog_.options = &settings_;
    }
    void TearDown() override { temp_.reset(); }
    std::u16string Path(std::u16string_view name) const { return folder_ + std::u16string(name); }

    std::optional<test::TempFolder> temp_;
    std::u16string folder_;
    Settings settings_;
    Catalog catalog_;
};

std::vector<std::uint8_t> SmallPng() {
    platform::Image image;
    image.width = 3;
    image.height = 2;
    image.pixels = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 9, 9, 9, 255, 200, 100, 50, 255, 1, 2, 3, 255};
    std::vector<std::uint8_t> bytes;
    EXPECT_TRUE(platform::EncodeImage(image, platform::ImageFormat::Png, bytes));
    return bytes;
}

// Every field set, each to its own value, with the characters that CSV
// quoting has to survive.
ApplicationRecord FullRecord(int n) {
    ApplicationRecord r = NewRecord();
    const std::u16string tag = platform::FromUtf8(std::to_string(n));
    int i = 0;
    for (const auto member : kTextFields) {
        r.*member = tag + u" field " + platform::FromUtf8(std::to_string(++i)) + U(" \"quoted\", comma é\r\nline €");
    }
    r.pictureName = u"";
    r.categories = {u"Utilities", U("Grafik & Bild ") + tag};
    AddLoginField(r, LoginField{u"user", u"reader \"1\", x", 0, LoginFieldType::StandardInput, true, false});
    AddLoginField(r, LoginField{u"pass", U("s3cr\"et,\r\n!"), 0, LoginFieldType::Password, false, false});
    AddLoginField(r, LoginField{u"", u"go", 0, LoginFieldType::SubmitButton, true, false});
    r.purchasePrice = 49.5 + n;
    r.upgradePrice = 12345.25;
    r.diskCount = 3 + n;
    r.autoLogin = n % 2 == 0;
    r.autoRemove = true;
    r.autoUpdate = false;
    r.hide = n % 2 == 1;
    return r;
}

// What an import cannot give back: run-time ids and the sort order, and the
// multiple-edit flags, which the Yes/No cells clear.
ApplicationRecord Comparable(ApplicationRecord r) {
    r.recordId = 0;
    r.sortOrder = 0;
    r.nextLoginFieldId = 0;
    for (LoginField& f : r.loginData) f.id = 0;
    r.leaveAutoLogin = r.leaveAutoRemove = r.leaveAutoUpdate = r.leaveHide = false;
    return r;
}

std::u16string Text(const std::vector<std::uint8_t>& bytes) { return CsvTextFromUtf16(bytes); }

TEST_F(CsvTest, AllDataLayout) {
    catalog_.records.push_back(FullRecord(1));
    ExportOptions options;
    const std::u16string text = CsvDocument(catalog_, options);
    const Cells lines = CsvSplit(text, u'\n', true, true);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(text.substr(text.size() - 2), u"\r\n");
    // 47 quoted captions from "Login Data" to "Support Phone" and the empty PAD caption.
    ASSERT_TRUE(lines[0].starts_with(u"\"Login Data\",\"Category\",\"Comments\",\"Company\",\"Custom Data #1\""));
    ASSERT_TRUE(lines[0].ends_with(u"\"Auto Login\",\"Auto-Update\",\"Hidden\",\"Auto-Remove\",\"Custom Data #4\","
                                   u"\"Custom Data #5\",\"Registration EMail\",\"Registration Expiration\","
                                   u"\"Registration Type\",\"Support Address\",\"Support Page\",\"Support Phone\",\"\"\r"));
    SplitOptions keepLast;
    keepLast.keepQuotedEmptyLast = true;
    EXPECT_EQ(Split(lines[0], keepLast).size(), 47u);
    EXPECT_EQ(Split(lines[1], keepLast).size(), 47u);
    // Prices with "$" and two decimals, flags as words, the sort order cell.
    const Cells cells = Split(lines[1], keepLast);
    EXPECT_EQ(cells[29], u"$50.50");
    EXPECT_EQ(cells[30], u"$12345.25");
    EXPECT_EQ(cells[31], u"4");
    EXPECT_EQ(cells[34], u"No");   // Auto Login
    EXPECT_EQ(cells[37], u"Yes");  // Auto-Remove, after Hidden: 37 and 38 are left out
}

TEST_F(CsvTest, QuotesInsideValuesAreDoubled) {
    ApplicationRecord r = NewRecord();
    r.program = u"say \"hi\", then go";
    r.description = u"one\r\ntwo, \"three\"";
    r.company = u"\"";
    r.comments = u"\"\"";
    r.version = u"a,\",b";
    catalog_.records.push_back(r);
    settings_.cols = {fields::Program, fields::Description, fields::Company, fields::Comments, fields::Version};
    ExportOptions options;
    options.allData = false;
    const std::u16string text = CsvDocument(catalog_, options);
    EXPECT_EQ(text, u"\"Application Name\",\"Description\",\"Company\",\"Comments\",\"Version\"\r\n"
                    u"\"say \"\"hi\"\", then go\",\"one\r\ntwo, \"\"three\"\"\",\"\"\"\",\"\"\"\"\"\",\"a,\"\",b\"\r\n");

    std::vector<ApplicationRecord> back;
    std::int32_t ids = 0;
    ASSERT_TRUE(ReadCsv(text, back, ids, {}, Path(u"x.csv")));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].program, r.program);
    EXPECT_EQ(back[0].description, r.description);
    EXPECT_EQ(back[0].company, r.company);
    EXPECT_EQ(back[0].comments, r.comments);
    EXPECT_EQ(back[0].version, r.version);
    EXPECT_EQ(back[0].recordId, 1);
}

TEST_F(CsvTest, FullCatalogRoundTripsThroughFile) {
    const std::vector<std::uint8_t> png = SmallPng();
    for (int n = 1; n <= 3; ++n) catalog_.records.push_back(FullRecord(n));
    catalog_.records[0].pictureName = u"one.png";
    catalog_.records[0].picture = png;
    catalog_.records[2].pictureName = u"missing.png";  // named, no bytes: nothing to write
    ApplicationRecord plain = NewRecord();             // every field empty
    plain.autoLogin = false;
    catalog_.records.push_back(plain);
    for (std::size_t i = 0; i < catalog_.records.size(); ++i) catalog_.records[i].recordId = static_cast<int>(i) + 7;

    ExportOptions options;
    options.path = Path(u"export.csv");
    options.exportPictures = true;
    std::vector<int> progress;
    ASSERT_TRUE(WriteCsv(catalog_, options, Path(u"Kodrinxml"), [&](int p) { progress.push_back(p); }));
    EXPECT_EQ(progress, (std::vector<int>{10, 28, 46, 64}));
    EXPECT_TRUE(platform::FileExists(Path(u"Images\\one.png")));
    EXPECT_FALSE(platform::FileExists(Path(u"Images\\missing.png")));

    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(options.path, bytes));
    std::vector<ApplicationRecord> back;
    std::int32_t ids = 100;
    ASSERT_TRUE(ReadCsv(Text(bytes), back, ids, {}, options.path));
    ASSERT_EQ(back.size(), catalog_.records.size());
    EXPECT_EQ(ids, 104);
    EXPECT_EQ(back[0].recordId, 101);

    platform::Image original, reread;
    ASSERT_TRUE(platform::DecodeImage(png, original));
    ASSERT_TRUE(platform::DecodeImage(back[0].picture, reread));
    EXPECT_EQ(original.pixels, reread.pixels);
    for (std::size_t i = 0; i < back.size(); ++i) {
        ApplicationRecord expected = Comparable(catalog_.records[i]);
        ApplicationRecord actual = Comparable(back[i]);
        expected.picture.clear();
        actual.picture.clear();
        EXPECT_EQ(actual, expected) << "record " << i;
    }
    // Fields that share a header key still come back into their own fields.
    EXPECT_EQ(back[1].custom1.substr(0, 10), u"2 field 3 ");
    EXPECT_EQ(back[1].custom5.substr(0, 10), u"2 field 7 ");
    EXPECT_EQ(back[1].diskCount, 5);
    EXPECT_TRUE(back[1].autoRemove);
    EXPECT_FALSE(back[1].autoUpdate);
    EXPECT_EQ(back[1].loginData[1].value, U("s3cr\"et,\r\n!"));
}

TEST_F(CsvTest, EightBitExportKeepsLowBytesAndItsCells) {
    ApplicationRecord r = NewRecord();
    r.program = U("caf\u00E9 \u20AC");
    r.company = U("dot \u2022 here");  // low byte 0x22: a quote
    catalog_.records.push_back(r);
    settings_.cols = {fields::Program, fields::Company, fields::Version};
    ExportOptions options;
    options.path = Path(u"eight.csv");
    options.allData = false;
    options.preserveUnicode = false;
    ASSERT_TRUE(WriteCsv(catalog_, options, Path(u"Kodrinxml")));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(options.path, bytes));
    const std::string expected =
        "\"Application Name\",\"Company\",\"Version\"\r\n\"caf\xE9 \xAC\",\"dot \"\" here\",\"\"\r\n";
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);

    // Read as UTF-16 it names nothing; as 8-bit text every cell is in place.
    std::vector<ApplicationRecord> back;
    std::int32_t ids = 0;
    EXPECT_FALSE(ReadCsv(CsvTextFromUtf16(bytes), back, ids, {}, options.path));
    EXPECT_TRUE(back.empty());
    ASSERT_TRUE(ReadCsv(CsvTextFrom8Bit(bytes), back, ids, {}, options.path));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].program, U("caf\u00E9 \u00AC"));
    EXPECT_EQ(back[0].company, u"dot \" here");
    EXPECT_EQ(back[0].version, u"");
}

TEST_F(CsvTest, DisplayedColumnsWithPictureAndWithoutWebColumns) {
    ApplicationRecord r = FullRecord(1);
    r.pictureName = u"shot.png";
    r.picture = SmallPng();
    catalog_.records.push_back(r);
    catalog_.records.push_back(NewRecord());
    settings_.cols = {fields::Program, fields::WebUserName, fields::PictureName, fields::WebPassword, fields::DiskCount};
    ExportOptions options;
    options.path = Path(u"sub\\cols.csv");
    options.allData = false;
    options.exportPictures = true;
    settings_.storeImages = false;  // pictures are copied from the data file's folder
    ASSERT_TRUE(platform::CreateFolders(Path(u"data\\Images\\")));
    ASSERT_TRUE(platform::WriteFileAtomically(Path(u"data\\Images\\shot.png"), std::vector<std::uint8_t>{1, 2, 3}));
    ASSERT_TRUE(platform::CreateFolders(Path(u"sub")));
    ASSERT_TRUE(WriteCsv(catalog_, options, Path(u"data\\Kodrinxml")));
    std::vector<std::uint8_t> copied;
    ASSERT_TRUE(platform::ReadWholeFile(Path(u"sub\\Images\\shot.png"), copied));
    EXPECT_EQ(copied, (std::vector<std::uint8_t>{1, 2, 3}));

    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(options.path, bytes));
    const Cells lines = CsvSplit(Text(bytes), u'\n', true, true);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], u"\"Application Name\",\"Picture\",\"# Disks\"\r");
    SplitOptions keepLast;
    keepLast.keepQuotedEmptyLast = true;
    for (const auto& line : lines) EXPECT_EQ(Split(line, keepLast).size(), 3u) << platform::ToUtf8(line);

    // "# Disks" feeds only the disk count, not the caption-less PAD file field.
    std::vector<ApplicationRecord> back;
    std::int32_t ids = 0;
    ASSERT_TRUE(ReadCsv(Text(bytes), back, ids, {}, options.path));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].diskCount, 4);
    EXPECT_EQ(back[0].padFile, u"");
    EXPECT_EQ(back[0].pictureName, u"shot.png");
    EXPECT_EQ(back[0].picture, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_TRUE(back[0].loginData.empty());
}

TEST(CsvHeader, KeyRule) {
    EXPECT_EQ(CsvHeaderKey(u"Custom Data #1"), u"CustomData");
    EXPECT_EQ(CsvHeaderKey(u"# Disks"), u"");
    EXPECT_EQ(CsvHeaderKey(u" Support\tEMail "), u"SupportEMail");
    EXPECT_EQ(CsvHeaderKey(u"Auto-Update"), u"Auto");
    EXPECT_EQ(CsvHeaderKey(U("Caf\u00E9 Name!x")), U("Caf\u00E9Name"));
}

TEST(CsvHeader, ForeignHeadersGoByKey) {
    // A spreadsheet's own spelling: keys, ignoring case.
    CsvColumnMap map = MapCsvHeader({u"application name", u"VERSION", u"Custom Data", u"x", u"Sort Order",
                                     u"Auto-Remove", u"Path (full)"});
    EXPECT_TRUE(map.recognised);
    EXPECT_EQ(map.column[fields::Program], 0);
    EXPECT_EQ(map.column[fields::Version], 1);
    for (const int id : {fields::Custom1, fields::Custom2, fields::Custom3, fields::Custom4, fields::Custom5}) {
        EXPECT_EQ(map.column[static_cast<std::size_t>(id)], 2) << id;
    }
    EXPECT_EQ(map.column[fields::SortOrder], -1);
    EXPECT_EQ(map.column[fields::AutoRemove], 5);
    EXPECT_EQ(map.column[fields::AutoUpdate], -1);  // the exact caption claimed its cell
    EXPECT_EQ(map.column[fields::Path], 6);
    // Later cells win.
    map = MapCsvHeader({u"Version", u"version"});
    EXPECT_EQ(map.column[fields::Version], 1);
    map = MapCsvHeader({u"Auto Update", u"Company"});
    EXPECT_EQ(map.column[fields::AutoUpdate], -1);  // key "AutoUpdate" is no caption's key
    // Only cells without a name, or unknown names: not recognised.
    EXPECT_FALSE(MapCsvHeader({u"", u"# Files", u"Foo"}).recognised);
    EXPECT_FALSE(MapCsvHeader({}).recognised);
}

TEST(CsvRead, ValueDecoding) {
    const std::u16string text =
        u"\"Login Data\",\"Category\",\"Purchase Price\",\"Upgrade Price\",\"# Disks\",\"Hidden\",\"Auto Login\","
        u"\"Auto-Update\",\"Web Site User Name\",\"Web Site Password\",\"Sort Order\",\"Description\"\r\n"
        u"\"nª\u00AAvª1ª1»bad»userªjoeª0ª0»\",\"A,B,,C\",\"$12.50\",\"3\",\"2x\",\"yes\",\"NO\",\"Maybe\","
        u"\"web\",\"pw\",\"9\",\"first\r\nsecond\"\r\n"
        u"\r\n"
        u"   \r\n";
    std::vector<ApplicationRecord> back;
    std::int32_t ids = 0;
    std::vector<int> progress;
    ASSERT_TRUE(ReadCsv(text, back, ids, [&](int p) { progress.push_back(p); }, u""));
    ASSERT_EQ(back.size(), 1u);  // blank lines supply nothing
    const ApplicationRecord& r = back[0];
    ASSERT_EQ(r.loginData.size(), 3u);  // "bad" has one part; "nª" + "ªvª1ª1" has five
    EXPECT_EQ(r.loginData[0].name, u"user");
    EXPECT_EQ(r.loginData[0].type, LoginFieldType::StandardInput);
    EXPECT_FALSE(r.loginData[0].use);
    EXPECT_EQ(r.loginData[1].value, u"web");
    EXPECT_EQ(r.loginData[1].name, u"");
    EXPECT_TRUE(r.loginData[1].use);
    EXPECT_EQ(r.loginData[2].value, u"pw");
    EXPECT_EQ(r.loginData[2].type, LoginFieldType::Password);
    EXPECT_EQ(r.categories, (Cells{u"A", u"B", u"C"}));
    EXPECT_EQ(r.purchasePrice, 12.5);
    EXPECT_EQ(r.upgradePrice, 3);
    EXPECT_EQ(r.diskCount, 2);
    EXPECT_TRUE(r.hide);
    EXPECT_FALSE(r.leaveHide);
    EXPECT_FALSE(r.autoLogin);
    EXPECT_FALSE(r.leaveAutoLogin);
    EXPECT_FALSE(r.autoUpdate);
    EXPECT_TRUE(r.leaveAutoUpdate);  // neither Yes nor No: left unchanged
    EXPECT_TRUE(r.leaveAutoRemove);  // no column
    EXPECT_EQ(r.sortOrder, 0);
    EXPECT_EQ(r.description, u"first\r\nsecond");
    EXPECT_FALSE(progress.empty());
}

TEST(CsvRead, ShortLinesAndMalformedText) {
    std::vector<ApplicationRecord> back;
    std::int32_t ids = 0;
    ASSERT_TRUE(ReadCsv(u"\"Company\",\"Version\",\"Path\"\n\"Acme\"\n\"B\",\"2\",\"C:\\x.exe\"", back, ids, {}, u""));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].company, u"Acme");
    EXPECT_EQ(back[0].version, u"");
    EXPECT_EQ(back[1].path, u"C:\\x.exe");

    for (const std::u16string& bad : {std::u16string(), std::u16string(u"\r\n\r\n"), std::u16string(u"\"\"\"\n\""),
                                      std::u16string(u"garbage,here\n1,2"), std::u16string(1, u'\0')}) {
        back.clear();
        EXPECT_FALSE(ReadCsv(bad, back, ids, {}, u""));
        EXPECT_TRUE(back.empty());
    }
    // An unterminated quote keeps the rest of the file in one value.
    back.clear();
    ASSERT_TRUE(ReadCsv(u"Company,Version\n\"Acme,1\nB,2", back, ids, {}, u""));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].company, u"Acme,1\nB,2");
}

TEST_F(CsvTest, PicturesComeOnlyFromTheImagesFolder) {
    ASSERT_TRUE(platform::CreateFolders(Path(u"Images")));
    ASSERT_TRUE(platform::WriteFileAtomically(Path(u"Images\\p.png"), std::vector<std::uint8_t>{7}));
    ASSERT_TRUE(platform::WriteFileAtomically(Path(u"secret.png"), std::vector<std::uint8_t>{9}));
    std::vector<ApplicationRecord> back;
    std::int32_t ids = 0;
    ASSERT_TRUE(ReadCsv(u"\"Picture\",\"Version\"\r\n\"p.png\",\"1\"\r\n\"..\\secret.png\",\"2\"\r\n\"gone.png\",\"3\"\r\n",
                        back, ids, {}, Path(u"in.csv")));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].picture, (std::vector<std::uint8_t>{7}));
    EXPECT_EQ(back[1].pictureName, u"secret.png");
    EXPECT_TRUE(back[1].picture.empty());
    EXPECT_EQ(back[2].pictureName, u"gone.png");
    EXPECT_TRUE(back[2].picture.empty());
}

TEST(CsvPath, ChosenByTheFileNameOnly) {
    EXPECT_TRUE(IsCsvPath(u"C:\\data\\export.csv"));
    EXPECT_TRUE(IsCsvPath(u"C:\\data\\EXPORT.CSV"));
    EXPECT_FALSE(IsCsvPath(u"C:\\data\\export.xml"));
    EXPECT_FALSE(IsCsvPath(u"C:\\data.csv\\Kodrinxml"));
    EXPECT_FALSE(IsCsvPath(u"C:\\data\\export.csv2"));
    EXPECT_FALSE(IsCsvPath(u"csv"));
}

}  // namespace
}  // namespace kodrin
