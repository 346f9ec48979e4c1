// The Import and Export commands' work: the catalog preparation of a CSV
// import, the second 8-bit reading, and that a failed import changes nothing.
#include <gtest/gtest.h>

#include <optional>

#include "support/temp_folder.h"

#include <filesystem>

#include "catalog/exchange.h"
#include "catalog/strings.h"
#include "platform/crypto.h"
#include "platform/files.h"
#include "platform/utf.h"
#include "support/text.h"

namespace kodrin {
namespace {

using test::U;
using Names = std::vector<std::u16string>;

class ScriptedQuestions final : public Questions {
public:
    bool answer = true;
    std::vector<int> asked;
    bool Confirm(int id) override {
        asked.push_back(id);
        return answer;
    }
    void Inform(int id) override { asked.push_back(id); }
};

class RecordingUser final : public DataFileUser {
public:
    std::vector<int> told;
    std::optional<std::u16string> password;  // the answer to every password question
    std::optional<std::u16string> AskPassword() override { return password; }
    void Inform(int id) override { told.push_back(id); }
    LoadFailureAnswer AskAfterFailedLoad() override { return LoadFailureAnswer::Quit; }
};

class ExchangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp_.emplace(u"kodrin-exchange-");
        ASSERT_TRUE(temp_->Created());
        root_ = temp_->Path();
        folder_ = root_ + u"\\";
        settings_ = NewSettings();
        catalog_.options = &settings_;
        file_.path = Path(u"Kodrinxml");
        file_.catalog = &catalog_;
        file_.settings = &settings_;
        file_.user = &user_;
    }
    void TearDown() override { temp_.reset(); }
    std::u16string Path(std::u16string_view name) const { return folder_ + std::u16string(name); }
    void Write(std::u16string_view name, const std::string& bytes) {
        ASSERT_TRUE(platform::WriteFileAtomically(Path(name), std::vector<std::uint8_t>(bytes.begin(), bytes.end())));
    }
    void AddApp(std::u16string program, Names categories) {
        ApplicationRecord r = NewRecord();
        r.program = std::move(program);
        r.categories = std::move(categories);
        AddRecord(catalog_, r, false);
    }
    Names Programs() const {
        Names out;
        for (const auto& r : catalog_.records) out.push_back(r.program);
        return out;
    }

    std::optional<test::TempFolder> temp_;

    std::u16string root_, folder_;
    Settings settings_;
    Catalog catalog_;
    RecordingUser user_;
    ScriptedQuestions questions_;
    DataFile file_;
};

// An 8-bit file as a spreadsheet saves it (a UTF-8 byte-order mark would
// make it UTF-8).
const std::string kSheet =
    "Application Name,Category,Version\r\n"
    "Caf\xE9,\"Tools,New\",1.0\r\n"
    "Editor,Tools,2.0\r\n";

TEST_F(ExchangeTest, ReplacingImportEmptiesTheCurrentCategoryOnly) {
    AddApp(u"Old tool", {u"Tools"});
    AddApp(u"Game", {u"Games"});
    AddApp(u"Both", {u"Tools", u"Games"});
    Write(u"sheet.CSV", kSheet);
    const ImportResult result = ImportFile(file_, Path(u"sheet.CSV"), false, u"Tools", questions_);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(questions_.asked, std::vector<int>{kStrCategoryNotEmpty});
    EXPECT_EQ(Programs(), (Names{u"Game", u"Both", U("Caf\u00E9"), u"Editor"}));
    EXPECT_EQ(catalog_.records[1].categories, Names{u"Games"});
    EXPECT_EQ(catalog_.categories, (Names{u"Games", u"Tools", u"New"}));
    // New ids follow the catalog's counter.
    EXPECT_EQ(catalog_.records[2].recordId, 4);
    EXPECT_EQ(catalog_.records[3].recordId, 5);
    EXPECT_EQ(catalog_.nextRecordId, 5);
}

TEST_F(ExchangeTest, AddingAndEmptyCatalogs) {
    AddApp(u"Old tool", {u"Tools"});
    Write(u"sheet.csv", kSheet);
    ASSERT_TRUE(ImportFile(file_, Path(u"sheet.csv"), true, u"Tools", questions_).ok);
    EXPECT_TRUE(questions_.asked.empty());
    EXPECT_EQ(Programs(), (Names{u"Old tool", U("Caf\u00E9"), u"Editor"}));

    // No categories at all: replacing empties the catalog and starts "General".
    Catalog empty;
    empty.options = &settings_;
    empty.records.push_back(NewRecord());
    file_.catalog = &empty;
    ASSERT_TRUE(ImportFile(file_, Path(u"sheet.csv"), false, u"", questions_).ok);
    EXPECT_EQ(empty.records.size(), 2u);
    EXPECT_EQ(empty.categories, (Names{u"General", u"Tools", u"New"}));
}

TEST_F(ExchangeTest, ReplacingUnderAllKeepsTheCatalogAndAddsNoAllCategory) {
    AddApp(u"Old tool", {u"Tools"});
    Write(u"sheet.csv", "\"Application Name\",\"Category\"\r\n\"X\",\"<All>,Misc\"\r\n");
    ASSERT_TRUE(ImportFile(file_, Path(u"sheet.csv"), false, u"<All>", questions_).ok);
    EXPECT_TRUE(questions_.asked.empty());
    EXPECT_EQ(Programs(), (Names{u"Old tool", u"X"}));
    EXPECT_EQ(catalog_.categories, (Names{u"Tools", u"Misc"}));
    // "<All>" is no category of a record either.
    EXPECT_EQ(catalog_.records[1].categories, Names{u"Misc"});
}

// Records that name no category (no Category column, an empty cell, or only
// "<All>") land in the category that a replacing import emptied, so that the
// tab shows them and Find reaches them; when adding they stay as they are.
TEST_F(ExchangeTest, ReplacingImportGivesCategorylessRecordsTheCurrentTab) {
    AddApp(u"Old tool", {u"Tools"});
    Write(u"plain.csv", "\"Application Name\",\"Version\"\r\n\"Zed\",\"1\"\r\n");
    Write(u"cells.csv", "Application Name,Category\r\nEmpty,\r\nAll,<All>\r\nOwn,Misc\r\n");
    ASSERT_TRUE(ImportFile(file_, Path(u"plain.csv"), false, u"Tools", questions_).ok);
    EXPECT_EQ(Programs(), Names{u"Zed"});
    EXPECT_EQ(catalog_.records[0].categories, Names{u"Tools"});
    EXPECT_EQ(catalog_.categories, Names{u"Tools"});
    EXPECT_EQ(CountInCategory(catalog_, u"Tools"), 1);
    const auto found = Find(catalog_, u"Zed", false, questions_);
    ASSERT_TRUE(found.has_value());

    ASSERT_TRUE(ImportFile(file_, Path(u"cells.csv"), false, u"Tools", questions_).ok);
    EXPECT_EQ(Programs(), (Names{u"Empty", u"All", u"Own"}));
    EXPECT_EQ(catalog_.records[0].categories, Names{u"Tools"});
    EXPECT_EQ(catalog_.records[1].categories, Names{u"Tools"});
    EXPECT_EQ(catalog_.records[2].categories, Names{u"Misc"});

    ASSERT_TRUE(ImportFile(file_, Path(u"plain.csv"), true, u"Tools", questions_).ok);
    EXPECT_TRUE(catalog_.records.back().categories.empty());

    // A catalog without categories starts again with "General" for them.
    ASSERT_TRUE(ImportFile(file_, Path(u"plain.csv"), false, u"", questions_).ok);
    EXPECT_EQ(catalog_.records.at(0).categories, Names{u"General"});
    EXPECT_EQ(catalog_.categories, Names{u"General"});
}

TEST_F(ExchangeTest, UnreadableCsvChangesNothing) {
    AddApp(u"Old tool", {u"Tools"});
    Write(u"junk.csv", "no,header,we,know\r\n1,2,3,4\r\n");
    EXPECT_FALSE(ImportFile(file_, Path(u"junk.csv"), false, u"Tools", questions_).ok);
    EXPECT_FALSE(ImportFile(file_, Path(u"missing.csv"), false, u"Tools", questions_).ok);
    EXPECT_TRUE(questions_.asked.empty());
    EXPECT_EQ(Programs(), Names{u"Old tool"});
    EXPECT_EQ(catalog_.categories, Names{u"Tools"});
}

// Files written by Python's csv module in its Excel dialect as UTF-8, with
// and without a byte-order mark (tests/data/make_spreadsheet_csv.py), give
// every cell's exact text.
TEST_F(ExchangeTest, SpreadsheetUtf8CsvImportsExactly) {
    const std::u16string data = platform::FromUtf8(KODRIN_TEST_DATA);
    for (const char16_t* name : {u"/spreadsheet-utf8-bom.csv", u"/spreadsheet-utf8.csv"}) {
        SCOPED_TRACE(platform::ToUtf8(name));
        Catalog catalog;
        catalog.options = &settings_;
        file_.catalog = &catalog;
        ASSERT_TRUE(ImportFile(file_, data + name, false, u"", questions_).ok);
        ASSERT_EQ(catalog.records.size(), 3u);
        const ApplicationRecord& a = catalog.records[0];
        const ApplicationRecord& b = catalog.records[1];
        const ApplicationRecord& c = catalog.records[2];
        EXPECT_EQ(a.program, u"Caf\u00E9 \u00D6lm\u00FChle");
        EXPECT_EQ(a.company, u"Soci\u00E9t\u00E9 G\u00E9n\u00E9rale");
        EXPECT_EQ(a.version, u"2.0");
        EXPECT_EQ(a.categories, (Names{u"B\u00FCro", u"Tools"}));
        EXPECT_EQ(a.description, u"Line one\r\nLine \"two\", with a comma");
        EXPECT_EQ(a.purchasePrice, 1299.0);
        EXPECT_EQ(a.comments, u"na\u00EFve \u2013 r\u00E9sum\u00E9");
        EXPECT_TRUE(a.hide);
        EXPECT_EQ(b.program, u"\u65E5\u672C\u8A9E\u30A8\u30C7\u30A3\u30BF");
        EXPECT_EQ(b.company, u"\u682A\u5F0F\u4F1A\u793E");
        EXPECT_EQ(b.categories, Names{u"General"});  // "<All>" is no category
        EXPECT_EQ(b.description, u"Emoji \xD83D\xDE00 and \"quotes\"");
        EXPECT_EQ(b.purchasePrice, 1200.5);
        EXPECT_FALSE(b.hide);
        EXPECT_FALSE(b.leaveHide);
        EXPECT_EQ(c.company, u"ACME, Inc.");
        EXPECT_EQ(c.categories, Names{u"General"});
        EXPECT_EQ(c.description, u"\"");
        EXPECT_EQ(c.purchasePrice, 12.5);
        EXPECT_EQ(c.comments, u"tab\there\nand a bare line feed");
        EXPECT_EQ(catalog.categories, (Names{u"General", u"B\u00FCro", u"Tools"}));
    }
}

// The UTF-8 export reads back through the import with every character.
TEST_F(ExchangeTest, Utf8ExportHasAByteOrderMarkAndReadsBack) {
    AddApp(u"Caf\u00E9 \xD83D\xDE00", {u"B\u00FCro"});
    catalog_.records[0].comments = u"\"quoted\", comma\r\nline";
    ExportOptions options;
    options.path = Path(u"out.csv");
    options.utf8 = true;
    options.preserveUnicode = false;  // --utf8 wins
    ASSERT_TRUE(ExportCatalog(file_, options));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(options.path, bytes));
    options.preserveUnicode = true;
    EXPECT_EQ(bytes, CsvUtf8Bytes(CsvDocument(catalog_, options)));
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 3), (std::vector<std::uint8_t>{0xEF, 0xBB, 0xBF}));
    Catalog back;
    back.options = &settings_;
    file_.catalog = &back;
    ASSERT_TRUE(ImportFile(file_, options.path, true, u"", questions_).ok);
    ASSERT_EQ(back.records.size(), 1u);
    EXPECT_EQ(back.records[0].program, catalog_.records[0].program);
    EXPECT_EQ(back.records[0].comments, catalog_.records[0].comments);
    EXPECT_EQ(back.records[0].categories, catalog_.records[0].categories);
}

TEST_F(ExchangeTest, CsvImportRunsThroughTheLoadHook) {
    Write(u"sheet.csv", kSheet);
    int runs = 0;
    std::vector<int> progress;
    file_.hooks.runLoad = [&](const DataFileHooks::LoadWork& work) {
        ++runs;
        return work([&](int p) { progress.push_back(p); });
    };
    ASSERT_TRUE(ImportFile(file_, Path(u"sheet.csv"), true, u"", questions_).ok);
    EXPECT_EQ(runs, 1);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 100);
}

TEST_F(ExchangeTest, CsvExportWritesOrTellsTheUser) {
    AddApp(u"Tool", {u"Tools"});
    AddApp(u"Game", {u"Games"});
    ExportOptions options;
    options.path = Path(u"out.csv");
    options.category = u"Games";
    ASSERT_TRUE(ExportCatalog(file_, options));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(options.path, bytes));
    const std::u16string text = CsvTextFromUtf16(bytes);
    EXPECT_NE(text.find(u"\"Game\""), std::u16string::npos);
    EXPECT_EQ(text.find(u"\"Tool\""), std::u16string::npos);
    EXPECT_TRUE(user_.told.empty());

    platform::ScopedWriteFault fault({platform::WriteFault::Kind::DiskFull, 10, {}});
    EXPECT_FALSE(ExportCatalog(file_, options));
    EXPECT_EQ(user_.told, std::vector<int>{kStrSaveFailed});
}


TEST_F(ExchangeTest, MarkupExportFiltersAndImportsBack) {
    AddApp(u"Tool", {u"Tools"});
    AddApp(u"Game", {u"Games", u"Tools"});
    ExportOptions options;
    options.path = Path(u"all.xml");
    ASSERT_TRUE(ExportCatalog(file_, options));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(options.path, bytes));
    const std::u16string text = CsvTextFromUtf16(bytes);  // UTF-16LE without a byte-order mark
    ASSERT_TRUE(text.starts_with(u"<KODRIN>\r\n<DATAVERSION>1000</DATAVERSION>\r\n<CATEGORYLIST>\r\n</CATEGORYLIST>\r\n"));
    EXPECT_NE(text.find(u"<CATEGORY>Games</CATEGORY>"), std::u16string::npos);

    options.path = Path(u"games.xml");
    options.category = u"Games";
    ASSERT_TRUE(ExportCatalog(file_, options));

    // Adding: the other catalog keeps what it had.
    Catalog other;
    Settings otherSettings = NewSettings();
    other.options = &otherSettings;
    ApplicationRecord mine = NewRecord();
    mine.program = u"Mine";
    AddRecord(other, mine, false);
    otherSettings.password = u"kept";
    DataFile otherFile;
    otherFile.path = Path(u"other\\Kodrinxml");
    otherFile.catalog = &other;
    otherFile.settings = &otherSettings;
    otherFile.user = &user_;
    ASSERT_TRUE(ImportFile(otherFile, Path(u"games.xml"), true, u"", questions_).ok);
    ASSERT_EQ(other.records.size(), 2u);
    EXPECT_EQ(other.records[1].program, u"Game");
    EXPECT_EQ(other.records[1].categories, (Names{u"Games", u"Tools"}));
    EXPECT_EQ(other.categories, (Names{u"Games", u"Tools"}));
    EXPECT_EQ(otherSettings.password, u"kept");

    // Replacing: the catalog and the password go first.
    ASSERT_TRUE(ImportFile(otherFile, Path(u"all.xml"), false, u"Games", questions_).ok);
    ASSERT_EQ(other.records.size(), 2u);
    EXPECT_EQ(other.records[0].program, u"Tool");
    EXPECT_EQ(otherSettings.password, u"");
    EXPECT_TRUE(questions_.asked.empty());
    // The data file itself was not touched by the import.
    EXPECT_FALSE(platform::FileExists(otherFile.path));

    // A foreign file fails like a bad data file, with the user's answer.
    Write(u"foreign.xml", "<html>not a catalog</html>");
    const ImportResult failed = ImportFile(otherFile, Path(u"foreign.xml"), true, u"", questions_);
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.answer, LoadFailureAnswer::Quit);
}

// Adding another catalog brings its records only: the catalog keeps its own
// password and options, and the added dates are written in its date style.
// Replacing takes the other file's password, options and dates as they are.
TEST_F(ExchangeTest, AddingAnotherCatalogKeepsPasswordSettingsAndDateStyle) {
    Catalog theirs;
    Settings theirSettings = NewSettings();
    SetDateStyle(theirSettings, 1);  // MM/DD/YY
    theirSettings.password = u"theirs";
    theirSettings.toolbar = {4, 255, 5};
    theirSettings.curCategory = u"Theirs";
    theirSettings.width = 1234;
    theirSettings.storeImages = false;
    ApplicationRecord bought = NewRecord();
    bought.program = u"Bought";
    bought.categories = {u"Theirs"};
    bought.purchaseDate = u"03/05/07";
    bought.installDate = u"12/31/99";
    AddRecord(theirs, bought, false);
    ASSERT_TRUE(SaveCatalog(theirs, theirSettings, Path(u"theirs.xml"), u""));

    AddApp(u"Mine", {u"Mine"});
    SetDateStyle(settings_, 6);  // DD/MM/YYYY
    settings_.password = u"mine";
    settings_.curCategory = u"Mine";
    settings_.width = 800;
    const Settings before = settings_;
    user_.password = u"theirs";

    ASSERT_TRUE(ImportFile(file_, Path(u"theirs.xml"), true, u"Mine", questions_).ok);
    EXPECT_EQ(Programs(), (Names{u"Mine", u"Bought"}));
    EXPECT_EQ(catalog_.categories, (Names{u"Mine", u"Theirs"}));
    EXPECT_EQ(settings_.password, u"mine");
    EXPECT_FALSE(SettingsChanged(settings_, before));
    EXPECT_EQ(catalog_.records[1].purchaseDate, u"05/03/2007");
    EXPECT_EQ(catalog_.records[1].installDate, u"31/12/2099");

    ASSERT_TRUE(ImportFile(file_, Path(u"theirs.xml"), false, u"Mine", questions_).ok);
    EXPECT_EQ(Programs(), (Names{u"Bought"}));
    EXPECT_EQ(settings_.password, u"theirs");
    EXPECT_FALSE(SettingsChanged(settings_, theirSettings));
    EXPECT_EQ(catalog_.records[0].purchaseDate, u"03/05/07");
}

}  // namespace
}  // namespace kodrin
