// The catalog model: adding and storing records, categories, deletion with
// confirmation, find, automatic removal and date conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "catalog/catalog.h"

namespace kodrin {
namespace {

// Answers questions from a script and remembers what was asked.
class ScriptedQuestions final : public Questions {
public:
    bool answer = true;
    std::vector<int> asked;
    std::vector<int> told;

    bool Confirm(int stringId) override {
        asked.push_back(stringId);
        return answer;
    }
    void Inform(int stringId) override { told.push_back(stringId); }
};

ApplicationRecord Named(std::u16string program, std::vector<std::u16string> categories = {}) {
    ApplicationRecord record = NewRecord();
    record.program = std::move(program);
    record.categories = std::move(categories);
    return record;
}

std::vector<std::u16string> Programs(const Catalog& catalog) {
    std::vector<std::u16string> out;
    for (const auto& r : catalog.records) out.push_back(r.program);
    return out;
}

using Names = std::vector<std::u16string>;

TEST(CatalogValues, StartsWithMediaNamesInOrdinalOrder) {
    Catalog catalog;
    EXPECT_EQ(Names(catalog.mediaNames.begin(), catalog.mediaNames.end()),
              (Names{u"CD", u"DVD", u"Download", u"Floppy", u"Other"}));
    EXPECT_TRUE(catalog.licenseTypes.empty());
    EXPECT_EQ(catalog.nextRecordId, 0);

    ApplicationRecord record = Named(u"x");
    record.licenseType = u"freeware";
    record.paymentMethod = u"Visa";
    record.originalMedia = u"USB";
    ASSERT_TRUE(AddRecord(catalog, record, false));
    record.licenseType = u"Shareware";
    record.paymentMethod.clear();
    record.originalMedia = u"CD";
    ASSERT_TRUE(AddRecord(catalog, record, false));
    EXPECT_EQ(Names(catalog.licenseTypes.begin(), catalog.licenseTypes.end()), (Names{u"Shareware", u"freeware"}));
    EXPECT_EQ(Names(catalog.paymentMethods.begin(), catalog.paymentMethods.end()), Names{u"Visa"});
    EXPECT_EQ(catalog.mediaNames.size(), 6u);
}

TEST(CatalogAdd, IdsGrowAndCategoriesBecomeTabs) {
    Catalog catalog;
    EXPECT_TRUE(AddRecord(catalog, Named(u"a", {u"Games", u"Tools"}), false));
    EXPECT_TRUE(AddRecord(catalog, Named(u"b", {u"Tools", u"games"}), false));
    EXPECT_EQ(catalog.records[0].recordId, 1);
    EXPECT_EQ(catalog.records[1].recordId, 2);
    EXPECT_EQ(catalog.categories, (Names{u"Games", u"Tools", u"games"}));  // exact names

    // Clearing for a load keeps the ids growing and the value sets.
    ClearCatalog(catalog);
    EXPECT_TRUE(catalog.records.empty() && catalog.categories.empty());
    AddRecord(catalog, Named(u"c"), false);
    EXPECT_EQ(catalog.records[0].recordId, 3);
}

TEST(CatalogAdd, DedupeByPathIgnoresCaseAndUpdatesVersion) {
    Catalog catalog;
    ApplicationRecord first = Named(u"Editor");
    first.path = u"C:\\Apps\\Editor.exe";
    first.version = u"1.0";
    ASSERT_TRUE(AddRecord(catalog, first, true));

    ApplicationRecord again = Named(u"Other name");
    again.path = u"c:\\apps\\EDITOR.EXE";
    again.version = u"2.0";
    EXPECT_FALSE(AddRecord(catalog, again, true));
    ASSERT_EQ(catalog.records.size(), 1u);
    EXPECT_EQ(catalog.records[0].version, u"2.0");
    EXPECT_EQ(catalog.records[0].program, u"Editor");
    EXPECT_EQ(catalog.nextRecordId, 1);

    // Loading and importing do not dedupe.
    EXPECT_TRUE(AddRecord(catalog, again, false));
    EXPECT_EQ(catalog.records.size(), 2u);
}

TEST(CatalogAdd, RecordsWithoutPathAreNeverDuplicates) {
    Catalog catalog;
    ApplicationRecord a = Named(u"Manual entry");
    a.version = u"1";
    ASSERT_TRUE(AddRecord(catalog, a, true));
    ApplicationRecord b = Named(u"Another");
    b.version = u"7";
    EXPECT_TRUE(AddRecord(catalog, b, true));
    ASSERT_EQ(catalog.records.size(), 2u);
    EXPECT_EQ(catalog.records[0].version, u"1");
}

TEST(CatalogStore, AsNewOverwriteAndMissingId) {
    Catalog catalog;
    AddRecord(catalog, Named(u"a"), false);
    ApplicationRecord edited = CopyRecord(catalog.records[0]);
    edited.program = u"a2";
    edited.categories = {u"New tab"};
    edited.paymentMethod = u"Cash";
    edited.picture = {9};
    EXPECT_EQ(StoreEditedRecord(catalog, edited, false), 1);
    ASSERT_EQ(catalog.records.size(), 1u);
    EXPECT_EQ(catalog.records[0], edited);
    EXPECT_EQ(catalog.categories, Names{u"New tab"});
    EXPECT_EQ(catalog.paymentMethods.count(u"Cash"), 1u);

    EXPECT_EQ(StoreEditedRecord(catalog, edited, true), 2);
    ASSERT_EQ(catalog.records.size(), 2u);
    EXPECT_EQ(catalog.records[1].program, u"a2");

    edited.recordId = 99;  // deleted meanwhile
    EXPECT_EQ(StoreEditedRecord(catalog, edited, false), 0);
    EXPECT_EQ(catalog.records.size(), 2u);
}

TEST(CatalogCategories, AddRenameMove) {
    Catalog catalog;
    AddCategory(catalog, u"A");
    AddCategory(catalog, u"B");
    AddCategory(catalog, u"A");
    AddCategory(catalog, u"a");
    EXPECT_EQ(catalog.categories, (Names{u"A", u"B", u"a"}));

    AddRecord(catalog, Named(u"r", {u"A", u"B"}), false);
    RenameCategory(catalog, u"A", u"Alpha");
    EXPECT_EQ(catalog.categories, (Names{u"Alpha", u"B", u"a"}));
    EXPECT_EQ(catalog.records[0].categories, (Names{u"Alpha", u"B"}));

    // Renaming onto an existing name merges, never a duplicate tab.
    RenameCategory(catalog, u"Alpha", u"B");
    EXPECT_EQ(catalog.categories, (Names{u"B", u"a"}));
    EXPECT_EQ(catalog.records[0].categories, Names{u"B"});

    EXPECT_TRUE(MoveCategory(catalog, u"B", true));
    EXPECT_EQ(catalog.categories, (Names{u"a", u"B"}));
    EXPECT_FALSE(MoveCategory(catalog, u"B", true));
    EXPECT_FALSE(MoveCategory(catalog, u"a", false));
    EXPECT_FALSE(MoveCategory(catalog, u"missing", true));
    EXPECT_TRUE(MoveCategory(catalog, u"B", false));
    EXPECT_EQ(catalog.categories, (Names{u"B", u"a"}));
}

TEST(CatalogCategories, DeleteKeepsRecordsOfOtherCategories) {
    Catalog catalog;
    AddRecord(catalog, Named(u"only A", {u"A"}), false);
    AddRecord(catalog, Named(u"A and B", {u"A", u"B"}), false);
    AddRecord(catalog, Named(u"only B", {u"B"}), false);
    AddRecord(catalog, Named(u"none"), false);

    ScriptedQuestions questions;
    questions.answer = false;
    EXPECT_FALSE(DeleteCategory(catalog, u"A", questions));
    EXPECT_EQ(questions.asked, std::vector<int>{kStrCategoryNotEmpty});
    EXPECT_EQ(catalog.records.size(), 4u);
    EXPECT_EQ(catalog.categories, (Names{u"A", u"B"}));

    questions.answer = true;
    EXPECT_TRUE(DeleteCategory(catalog, u"A", questions));
    EXPECT_EQ(Programs(catalog), (Names{u"A and B", u"only B", u"none"}));
    EXPECT_EQ(catalog.records[0].categories, Names{u"B"});
    EXPECT_EQ(catalog.categories, Names{u"B"});

    // An empty category goes without a question.
    AddCategory(catalog, u"Empty");
    questions.asked.clear();
    EXPECT_TRUE(DeleteCategory(catalog, u"Empty", questions));
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_EQ(catalog.categories, Names{u"B"});
}

TEST(CatalogCategories, MembershipAndCounts) {
    Catalog catalog;
    AddRecord(catalog, Named(u"1", {u"Games"}), false);
    AddRecord(catalog, Named(u"2", {u"Tools"}), false);
    AddRecord(catalog, Named(u"3"), false);
    EXPECT_EQ(CountInCategory(catalog, u"Games"), 1);
    EXPECT_EQ(CountInCategory(catalog, u"games"), 0);
    EXPECT_EQ(CountInCategory(catalog, u"<All>"), 3);
    EXPECT_EQ(CountInCategory(catalog, u""), 3);
    EXPECT_TRUE(InCategory(u"<All>", catalog.records[2]));
    EXPECT_FALSE(InCategory(u"Tools", catalog.records[0]));

    ChangeCategories(catalog, {1, 3, 77}, {u"Tools", u"Work"});
    EXPECT_EQ(catalog.records[0].categories, (Names{u"Tools", u"Work"}));
    EXPECT_EQ(catalog.records[2].categories, (Names{u"Tools", u"Work"}));
    EXPECT_EQ(catalog.records[1].categories, Names{u"Tools"});
    EXPECT_EQ(CountInCategory(catalog, u"Tools"), 3);
    EXPECT_EQ(catalog.categories, (Names{u"Games", u"Tools", u"Work"}));
}

TEST(CatalogDelete, AsksAndRemovesOnlyTheGivenRecords) {
    Catalog catalog;
    for (auto name : {u"a", u"b", u"c"}) AddRecord(catalog, Named(name), false);
    ScriptedQuestions questions;
    EXPECT_FALSE(DeleteRecords(catalog, {}, questions));
    EXPECT_TRUE(questions.asked.empty());

    questions.answer = false;
    EXPECT_FALSE(DeleteRecords(catalog, {2}, questions));
    EXPECT_EQ(catalog.records.size(), 3u);
    EXPECT_EQ(questions.asked, std::vector<int>{kStrConfirmDelete});

    questions.answer = true;
    EXPECT_TRUE(DeleteRecords(catalog, {1, 3, 40}, questions));
    EXPECT_EQ(Programs(catalog), Names{u"b"});
    EXPECT_EQ(FindRecordById(catalog, 1), nullptr);
    ASSERT_NE(FindRecordById(catalog, 2), nullptr);
}

class CatalogFind : public ::testing::Test {
protected:
    Catalog catalog;
    ScriptedQuestions questions;

    void SetUp() override {
        AddRecord(catalog, Named(u"Word Processor", {u"A"}), false);
        AddRecord(catalog, Named(u"Paint", {u"A", u"B"}), false);
        AddRecord(catalog, Named(u"Paint loose"), false);  // no category: never found
        ApplicationRecord hidden = Named(u"Other", {u"B"});
        AddLoginField(hidden, LoginField{u"user", u"Paint", 0, LoginFieldType::StandardInput, true, false});
        hidden.purchasePrice = 5;
        AddRecord(catalog, hidden, false);  // login data is not searched
        ApplicationRecord last = Named(u"Last", {u"B"});
        last.supportPhone = u"call Paint support";
        AddRecord(catalog, last, false);
    }
};

TEST_F(CatalogFind, FindNextWalksCategoryByCategoryThenStartsOver) {
    auto hit = Find(catalog, u"Paint", false, questions);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->recordId, 2);
    EXPECT_EQ(hit->categoryIndex, 0);

    hit = Find(catalog, u"Paint", true, questions);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->recordId, 2);  // the same record, now under B
    EXPECT_EQ(hit->categoryIndex, 1);

    hit = Find(catalog, u"Paint", true, questions);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->recordId, 5);  // found in its support phone
    EXPECT_EQ(hit->categoryIndex, 1);

    EXPECT_TRUE(questions.told.empty());
    EXPECT_FALSE(Find(catalog, u"Paint", true, questions));
    EXPECT_EQ(questions.told, std::vector<int>{kStrNoMatch});

    hit = Find(catalog, u"Paint", true, questions);  // starts again at the first category
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->recordId, 2);
    EXPECT_EQ(hit->categoryIndex, 0);
}

TEST_F(CatalogFind, ExactCaseAndNewSearchRestarts) {
    EXPECT_FALSE(Find(catalog, u"paint", false, questions));
    ASSERT_TRUE(Find(catalog, u"Word", false, questions));
    auto hit = Find(catalog, u"Paint", false, questions);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->recordId, 2);
    EXPECT_EQ(hit->categoryIndex, 0);
}

TEST_F(CatalogFind, SurvivesRecordsAndCategoriesDeletedBetweenSearches) {
    ASSERT_TRUE(Find(catalog, u"Last", false, questions));
    EXPECT_EQ(catalog.findRecord, 4);
    questions.answer = true;
    DeleteRecords(catalog, {3, 4, 5}, questions);
    DeleteCategory(catalog, u"B", questions);
    EXPECT_FALSE(Find(catalog, u"Last", true, questions));
    auto hit = Find(catalog, u"Paint", true, questions);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->recordId, 2);
}

TEST(CatalogAutoRemove, RemovesOnlyFlaggedRecordsWhosePathIsGone) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / "kodrin-autoremove-test";
    fs::create_directories(folder);
    const fs::path present = folder / "present.exe";
    { std::ofstream(present) << "MZ"; }
    const fs::path missing = folder / "missing.exe";
    fs::remove(missing);

    Catalog catalog;
    auto add = [&](std::u16string name, const fs::path& path, bool flag) {
        ApplicationRecord r = Named(std::move(name));
        if (!path.empty()) r.path = path.u16string();
        r.autoRemove = flag;
        AddRecord(catalog, r, false);
    };
    add(u"present", present, true);
    add(u"missing flagged", missing, true);
    add(u"missing kept", missing, false);
    add(u"no path", fs::path(), true);
    add(u"folder", folder, true);
    EXPECT_EQ(AutoRemove(catalog), 2);
    EXPECT_EQ(Programs(catalog), (Names{u"present", u"missing kept", u"no path"}));
    fs::remove_all(folder);
}

// Every field whose caption names a date is converted; every other text
// field keeps a date-like text as it is.
TEST(CatalogDates, ConvertsEveryDateField) {
    const std::vector<int> dateFields = {fields::DateLastChecked, fields::InstallDate, fields::PurchaseDate,
                                         fields::ReleasedDate, fields::WebPasswordDate,
                                         fields::RegistrationExpire};
    Catalog catalog;
    ApplicationRecord r = NewRecord();
    for (const FieldInfo& field : kFields) {
        if (field.kind == FieldKind::Text) r.*field.text = u"03/05/2007";
    }
    r.installDate = u"12/31/1999";
    AddRecord(catalog, r, false);
    ApplicationRecord empty = NewRecord();
    AddRecord(catalog, empty, false);
    ConvertDates(catalog, 3, 6);
    const ApplicationRecord& c = catalog.records[0];
    for (const FieldInfo& field : kFields) {
        if (field.kind != FieldKind::Text) continue;
        const bool isDate = std::find(dateFields.begin(), dateFields.end(), field.id) != dateFields.end();
        const std::u16string expected = field.id == fields::InstallDate ? u"31/12/1999"
                                        : isDate                        ? u"05/03/2007"
                                                                        : u"03/05/2007";
        EXPECT_EQ(c.*field.text, expected) << field.id;
        EXPECT_EQ(catalog.records[1].*field.text, u"") << field.id;  // empty stays empty
    }
    ConvertDates(catalog, 6, 1);
    for (const int id : dateFields) {
        if (id == fields::InstallDate) continue;
        EXPECT_EQ(catalog.records[0].*kFields[static_cast<std::size_t>(id)].text, u"03/05/07") << id;
    }
}

// A password date entered in style 3 still expires on time after the
// catalog changes to style 6.
TEST(CatalogDates, ExpiryFollowsAStyleChange) {
    Catalog catalog;
    Settings options;
    options.passwordExpire = 1;
    catalog.options = &options;
    ApplicationRecord r = NewRecord();
    AddLoginField(r, LoginField{u"p", u"abcdefg1", 0, LoginFieldType::Password, true, false});
    r.webPasswordDate = u"02/14/2007";
    AddRecord(catalog, r, false);
    EXPECT_EQ(RecordStatus(catalog, catalog.records[0], Date{2007, 3, 15}), RecordStatusCode::PasswordExpired);
    ConvertDates(catalog, 3, 6);
    options.dateStyle = 6;
    EXPECT_EQ(RecordStatus(catalog, catalog.records[0], Date{2007, 3, 15}), RecordStatusCode::PasswordExpired);
}

TEST(CatalogStatus, UsesTheCatalogOptions) {
    Catalog catalog;
    Settings options;
    options.dateStyle = 6;
    options.passwordExpire = 1;
    catalog.options = &options;
    ApplicationRecord r = NewRecord();
    AddLoginField(r, LoginField{u"p", u"abcdefg1", 0, LoginFieldType::Password, true, false});
    r.webPasswordDate = u"14/02/2007";
    EXPECT_EQ(RecordStatus(catalog, r, Date{2007, 3, 15}), RecordStatusCode::PasswordExpired);
    r.webPasswordDate = u"16/02/2007";
    EXPECT_EQ(RecordStatus(catalog, r, Date{2007, 3, 15}), RecordStatusCode::Standard);
}

}  // namespace
}  // namespace kodrin
