// The application record: field table, display texts, sort order, password
// rule, row status and multiple edit.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "catalog/catalog.h"
#include "catalog/record.h"
#include "support/text.h"

namespace kodrin {
namespace {

LoginField Login(std::u16string name, std::u16string value, LoginFieldType type, bool use = true) {
    LoginField field;
    field.name = std::move(name);
    field.value = std::move(value);
    field.type = type;
    field.use = use;
    return field;
}

ApplicationRecord WithPassword(std::u16string password) {
    ApplicationRecord record = NewRecord();
    AddLoginField(record, Login(u"user", u"alice", LoginFieldType::StandardInput));
    AddLoginField(record, Login(u"pass", std::move(password), LoginFieldType::Password));
    return record;
}

TEST(FieldTable, RowsMatchTheirIdsAndTextFieldsAreInTagOrder) {
    std::set<int> textIndexes;
    for (int id = 0; id < kFieldCount; ++id) {
        const FieldInfo& f = kFields[static_cast<std::size_t>(id)];
        EXPECT_EQ(f.id, id);
        if (f.kind == FieldKind::Text) {
            ASSERT_GE(f.textIndex, 0);
            EXPECT_EQ(kTextFields[static_cast<std::size_t>(f.textIndex)], f.text) << id;
            textIndexes.insert(f.textIndex);
        } else {
            EXPECT_EQ(f.textIndex, -1) << id;
        }
        if (f.kind == FieldKind::Flag) {
            EXPECT_NE(f.leaveUnchanged, nullptr) << id;
        }
    }
    EXPECT_EQ(textIndexes.size(), static_cast<std::size_t>(kTextFieldCount));
    for (int i = 1; i < kTextFieldCount; ++i) {
        EXPECT_LT(kFields[static_cast<std::size_t>(kTextFieldIds[static_cast<std::size_t>(i - 1)])].tag,
                  kFields[static_cast<std::size_t>(kTextFieldIds[static_cast<std::size_t>(i)])].tag);
    }
    EXPECT_EQ(kTextFieldIds.front(), FieldId::Comments);
    EXPECT_EQ(kTextFieldIds.back(), FieldId::WebPasswordDate);
}

TEST(FieldTable, TagsAndCaptions) {
    EXPECT_EQ(FieldIdFromTag(u"path"), FieldId::Path);
    EXPECT_EQ(FieldIdFromTag(u"SUPPORTPHONE"), FieldId::SupportPhone);
    EXPECT_EQ(FieldIdFromTag(u"LOGINDATA"), FieldId::LoginData);
    EXPECT_EQ(FieldIdFromTag(u"CATEGORY"), kNoField);  // an inner element, not a field
    EXPECT_EQ(FieldIdFromTag(u""), kNoField);
    EXPECT_EQ(FieldCaption(FieldId::Path), u"Path");
    EXPECT_EQ(FieldCaption(FieldId::SupportPhone), u"Support Phone");
    EXPECT_EQ(FieldCaption(FieldId::PadFile), u"");
    EXPECT_EQ(FieldCaption(kNoField), u"");
    EXPECT_EQ(FindField(kNoField), nullptr);
    EXPECT_EQ(FindField(-1), nullptr);
}

TEST(Record, NewAndResetGiveTheSameEmptyRecord) {
    const ApplicationRecord fresh = NewRecord();
    EXPECT_TRUE(fresh.autoLogin);
    EXPECT_FALSE(fresh.autoRemove || fresh.autoUpdate || fresh.hide);
    EXPECT_TRUE(fresh.leaveAutoLogin && fresh.leaveAutoRemove && fresh.leaveAutoUpdate && fresh.leaveHide);
    EXPECT_EQ(fresh.purchasePrice, 0);
    EXPECT_EQ(fresh.nextLoginFieldId, 0);

    // Loading reuses one record: the first record's values must not leak
    // into the second, whichever text field they are in.
    ApplicationRecord reading = NewRecord();
    for (auto member : kTextFields) reading.*member = u"first";
    reading.webPasswordDate = u"01/02/2007";
    AddLoginField(reading, Login(u"n", u"v", LoginFieldType::Password));
    reading.categories = {u"A"};
    reading.picture = {1, 2, 3};
    reading.purchasePrice = 3;
    reading.recordId = 9;
    reading.autoLogin = false;
    reading.leaveHide = false;
    ResetRecord(reading);
    EXPECT_EQ(reading, fresh);
    for (auto member : kTextFields) EXPECT_TRUE((reading.*member).empty());
}

TEST(Record, CopyKeepsIdsAndLoginFieldIds) {
    ApplicationRecord record = WithPassword(u"secret12");
    record.recordId = 42;
    const ApplicationRecord copy = CopyRecord(record);
    EXPECT_EQ(copy, record);
    EXPECT_EQ(copy.recordId, 42);
    ASSERT_EQ(copy.loginData.size(), 2u);
    EXPECT_EQ(copy.loginData[0].id, 1);
    EXPECT_EQ(copy.loginData[1].id, 2);
}

TEST(FieldText, LoginDataUsesSeparatorsAndMasksPasswordValues) {
    ApplicationRecord record = NewRecord();
    AddLoginField(record, Login(u"user", u"bob", LoginFieldType::StandardInput));
    AddLoginField(record, Login(u"pw", u"abcd", LoginFieldType::Password, false));
    Settings options;
    EXPECT_EQ(FieldText(options, record, FieldId::LoginData, false),
              u"user\u00AAbob\u00AA0\u00AA1\u00BBpw\u00AAxxxx\u00AA1\u00AA0\u00BB");
    EXPECT_EQ(FieldText(options, record, FieldId::LoginData, true),
              u"user\u00AAbob\u00AA0\u00AA1\u00BBpw\u00AAabcd\u00AA1\u00AA0\u00BB");
    EXPECT_EQ(FieldText(options, NewRecord(), FieldId::LoginData, false), u"");
}

TEST(FieldText, WebPasswordMaskedUnlessShown) {
    const ApplicationRecord record = WithPassword(u"abcd");
    Catalog catalog;
    EXPECT_EQ(FieldText(catalog, record, FieldId::WebPassword, false), u"xxxx");
    EXPECT_EQ(FieldText(catalog, record, FieldId::WebPassword, true), u"abcd");
    Settings options;
    options.showPasswords = true;
    catalog.options = &options;
    EXPECT_EQ(FieldText(catalog, record, FieldId::WebPassword, false), u"abcd");
    EXPECT_EQ(FieldText(catalog, record, FieldId::WebUserName, false), u"alice");
    EXPECT_EQ(WebPassword(record), u"abcd");
    EXPECT_EQ(WebUserName(record), u"alice");
    EXPECT_EQ(WebPassword(NewRecord()), u"");
}

TEST(FieldText, PricesNumbersFlagsAndLists) {
    Settings options;
    ApplicationRecord record = NewRecord();
    EXPECT_EQ(FieldText(options, record, FieldId::PurchasePrice, false), u"");
    EXPECT_EQ(FieldText(options, record, FieldId::DiskCount, false), u"0");
    EXPECT_EQ(FieldText(options, record, FieldId::AutoLogin, false), u"Yes");
    EXPECT_EQ(FieldText(options, record, FieldId::Hide, false), u"No");
    record.purchasePrice = 5;
    record.upgradePrice = 1234567.891;
    record.sortOrder = -3;
    record.categories = {u"Games", u"Tools"};
    record.supportPhone = u"555-1234";
    EXPECT_EQ(FieldText(options, record, FieldId::PurchasePrice, false), u"$5.00");
    EXPECT_EQ(FieldText(options, record, FieldId::UpgradePrice, false), u"$1234567.89");
    EXPECT_EQ(FieldText(options, record, FieldId::SortOrder, false), u"-3");
    EXPECT_EQ(FieldText(options, record, FieldId::Category, false), u"Games,Tools");
    EXPECT_EQ(FieldText(options, record, FieldId::SupportPhone, false), u"555-1234");
    EXPECT_EQ(FieldText(options, record, kNoField, false), u"");
    EXPECT_EQ(FormatPrice(19.99), u"$19.99");
    EXPECT_EQ(FormatPrice(0.5), u"$0.50");
    EXPECT_EQ(FormatPrice(-2), u"");
}

TEST(FieldLess, ComparesByKind) {
    ApplicationRecord a = NewRecord(), b = NewRecord();
    a.company = u"apple";
    b.company = u"Banana";
    EXPECT_TRUE(FieldLess(a, b, FieldId::Company));  // ignoring case
    EXPECT_FALSE(FieldLess(b, a, FieldId::Company));
    b.company = u"APPLE";
    EXPECT_FALSE(FieldLess(a, b, FieldId::Company));
    EXPECT_FALSE(FieldLess(b, a, FieldId::Company));

    a.purchasePrice = 9;
    b.purchasePrice = 10;  // as text "10" would come first
    EXPECT_TRUE(FieldLess(a, b, FieldId::PurchasePrice));
    EXPECT_FALSE(FieldLess(b, a, FieldId::PurchasePrice));
    a.diskCount = 9;
    b.diskCount = 10;
    EXPECT_TRUE(FieldLess(a, b, FieldId::DiskCount));

    b.autoRemove = true;
    EXPECT_TRUE(FieldLess(a, b, FieldId::AutoRemove));
    EXPECT_FALSE(FieldLess(b, a, FieldId::AutoRemove));
    EXPECT_FALSE(FieldLess(a, a, FieldId::AutoRemove));

    a.categories = {u"b", u"a"};
    b.categories = {u"B", u"c"};
    EXPECT_TRUE(FieldLess(a, b, FieldId::Category));

    // Web password sorts by its real value, never the mask.
    const ApplicationRecord p1 = WithPassword(u"zzzz"), p2 = WithPassword(u"aaaaa");
    EXPECT_TRUE(FieldLess(p2, p1, FieldId::WebPassword));
    EXPECT_FALSE(FieldLess(p1, p2, FieldId::WebPassword));
    // Login data: values joined with ",": "alice,aaaaa" before "alice,zzzz".
    EXPECT_TRUE(FieldLess(p2, p1, FieldId::LoginData));

    EXPECT_FALSE(FieldLess(a, b, kNoField));
}

TEST(Password, SecurityClasses) {
    EXPECT_TRUE(IsPasswordSecure(u""));
    EXPECT_TRUE(IsPasswordSecure(u"abcdefg1"));   // seven letters, one digit
    EXPECT_FALSE(IsPasswordSecure(u"abcdefgh"));  // letters only
    EXPECT_FALSE(IsPasswordSecure(u"12345678"));  // digits only
    EXPECT_TRUE(IsPasswordSecure(u"1234567!"));   // digits and punctuation
    EXPECT_FALSE(IsPasswordSecure(u"ab1!cd2"));   // mixed but seven long
    EXPECT_TRUE(IsPasswordSecure(u"abcdefg!"));
    EXPECT_FALSE(IsPasswordSecure(u"!!!!!!!!"));
    EXPECT_TRUE(IsPasswordSecure(test::U("éééééééé1")));  // accented letters are letters
    EXPECT_FALSE(IsPasswordSecure(test::U("ééééabcd")));
}

class Status : public ::testing::Test {
protected:
    Settings options;
    Date today{2007, 3, 15};

    int Of(const ApplicationRecord& record) { return RecordStatus(options, record, today); }
};

TEST_F(Status, InsecurePasswordWinsOverEverything) {
    ApplicationRecord record = WithPassword(u"short");
    record.webPasswordDate = u"01/01/1990";
    record.path = u"C:\\app.exe";
    record.version = u"1";
    record.latestVersion = u"2";
    EXPECT_EQ(Of(record), RecordStatusCode::PasswordNotSecure);
}

TEST_F(Status, PasswordExpiresAfterTheConfiguredMonths) {
    ApplicationRecord record = WithPassword(u"abcdefg1");
    record.path = u"C:\\app.exe";
    record.version = u"1";
    record.latestVersion = u"2";
    record.webPasswordDate = u"09/15/2006";  // exactly six months: expired
    EXPECT_EQ(Of(record), RecordStatusCode::PasswordExpired);
    record.webPasswordDate = u"09/16/2006";
    EXPECT_EQ(Of(record), RecordStatusCode::OutOfDate);
    record.webPasswordDate = u"01/01/1990";
    options.passwordExpire = 0;  // never
    EXPECT_EQ(Of(record), RecordStatusCode::OutOfDate);
    options.passwordExpire = 6;
    record.webPasswordDate.clear();
    EXPECT_EQ(Of(record), RecordStatusCode::OutOfDate);

    // One month before 31 March is 28 February.
    today = Date{2007, 3, 31};
    options.passwordExpire = 1;
    record.webPasswordDate = u"02/28/2007";
    EXPECT_EQ(Of(record), RecordStatusCode::PasswordExpired);
    record.webPasswordDate = u"03/01/2007";
    EXPECT_EQ(Of(record), RecordStatusCode::OutOfDate);

    // Dates are read in the current style.
    options.dateStyle = 6;
    record.webPasswordDate = u"28/02/2007";
    EXPECT_EQ(Of(record), RecordStatusCode::PasswordExpired);
}

TEST_F(Status, VersionAndCheckDate) {
    ApplicationRecord record = NewRecord();
    record.version = u"1.0";
    record.latestVersion = u"2.0";
    EXPECT_EQ(Of(record), RecordStatusCode::Standard);  // no path: neither rule applies
    record.path = u"C:\\app.exe";
    EXPECT_EQ(Of(record), RecordStatusCode::OutOfDate);
    record.version = u"V2.0";
    record.latestVersion = u"v2.0";
    EXPECT_EQ(Of(record), RecordStatusCode::NeedsChecking);  // never checked
    record.dateLastChecked = u"02/14/2007";
    EXPECT_EQ(Of(record), RecordStatusCode::NeedsChecking);
    record.dateLastChecked = u"02/15/2007";
    EXPECT_EQ(Of(record), RecordStatusCode::Standard);
    record.latestVersion.clear();
    record.version = u"9";
    EXPECT_EQ(Of(record), RecordStatusCode::Standard);
}

TEST(MultipleEdit, TextFieldsSetEraseOrLeave) {
    ApplicationRecord form = NewRecord();
    form.supportPhone = u"555-0100";
    form.company = u"***";
    form.comments = u"";
    form.webPasswordDate = u"01/01/2007";
    for (int round = 0; round < 2; ++round) {
        ApplicationRecord target = NewRecord();
        target.company = u"Old Co";
        target.comments = u"keep";
        target.supportPhone = round == 0 ? u"" : u"old";
        ApplyMultipleEdit(form, target, u"***");
        EXPECT_EQ(target.supportPhone, u"555-0100");
        EXPECT_EQ(target.company, u"");
        EXPECT_EQ(target.comments, u"keep");
        EXPECT_EQ(target.webPasswordDate, u"");  // never taken from the form
    }
    // Every text field but the password date is applied (the picture name
    // with the picture).
    ApplicationRecord all = NewRecord();
    for (auto member : kTextFields) all.*member = u"new";
    ApplicationRecord target = NewRecord();
    ApplyMultipleEdit(all, target, u"***");
    for (int i = 0; i < kTextFieldCount; ++i) {
        const auto member = kTextFields[static_cast<std::size_t>(i)];
        const bool skipped = member == &ApplicationRecord::webPasswordDate;
        EXPECT_EQ(target.*member, skipped ? u"" : u"new") << kTextFieldIds[static_cast<std::size_t>(i)];
    }
    // The erase command is the option's text, compared exactly.
    ApplicationRecord custom = NewRecord();
    custom.company = u"Old";
    form.company = u"***";
    ApplyMultipleEdit(form, custom, u"CLR");
    EXPECT_EQ(custom.company, u"***");
}

TEST(MultipleEdit, PictureCategoriesNumbersAndFlags) {
    ApplicationRecord target = NewRecord();
    target.pictureName = u"old.png";
    target.picture = {1, 2};
    target.categories = {u"A"};
    target.diskCount = 4;
    target.purchasePrice = 10;
    target.hide = true;

    ApplicationRecord form = NewRecord();
    ApplyMultipleEdit(form, target, u"***");  // an empty form changes nothing
    EXPECT_EQ(target.pictureName, u"old.png");
    EXPECT_EQ(target.categories, std::vector<std::u16string>{u"A"});
    EXPECT_EQ(target.diskCount, 4);
    EXPECT_TRUE(target.hide);
    EXPECT_TRUE(target.autoLogin);

    form.pictureName = u"new.png";
    form.picture = {7};
    form.categories = {u"B", u"C"};
    form.upgradePrice = 2.5;
    form.hide = false;
    form.leaveHide = false;
    form.autoLogin = false;  // left unchanged: its leave flag is still set
    ApplyMultipleEdit(form, target, u"***");
    EXPECT_EQ(target.pictureName, u"new.png");
    EXPECT_EQ(target.picture, std::vector<std::uint8_t>{7});
    EXPECT_EQ(target.categories, (std::vector<std::u16string>{u"B", u"C"}));
    EXPECT_EQ(target.upgradePrice, 2.5);
    EXPECT_EQ(target.purchasePrice, 10);
    EXPECT_FALSE(target.hide);
    EXPECT_TRUE(target.autoLogin);

    form.pictureName = u"***";
    ApplyMultipleEdit(form, target, u"***");
    EXPECT_EQ(target.pictureName, u"");
    EXPECT_TRUE(target.picture.empty());
}

TEST(MultipleEdit, CopiedLoginFieldsKeepIdsUnique) {
    ApplicationRecord form = NewRecord();
    AddLoginField(form, Login(u"a", u"1", LoginFieldType::StandardInput));
    AddLoginField(form, Login(u"b", u"2", LoginFieldType::Password));
    AddLoginField(form, Login(u"c", u"3", LoginFieldType::Checkbox));
    ApplicationRecord target = NewRecord();
    AddLoginField(target, Login(u"old", u"x", LoginFieldType::StandardInput));
    ApplyMultipleEdit(form, target, u"***");
    EXPECT_EQ(target.loginData, form.loginData);
    const std::int32_t added = AddLoginField(target, Login(u"d", u"4", LoginFieldType::StandardInput));
    for (std::size_t i = 0; i + 1 < target.loginData.size(); ++i) EXPECT_NE(target.loginData[i].id, added);
}

}  // namespace
}  // namespace kodrin
