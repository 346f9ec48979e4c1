// One catalogued application: the ApplicationRecord, its stored web-form
// fields (LoginField), and the FieldId table that names every field for
// columns, reports, CSV files, the data file and the options.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/dates.h"
#include "catalog/settings.h"

namespace kodrin {

struct Catalog;

// The kind of a stored web-form field. The caption of type n is string
// kLoginTypeCaptionBase + n. Values outside 0..3 read from a file are kept.
enum class LoginFieldType : std::int32_t {
    StandardInput = 0,
    Password = 1,
    Checkbox = 2,
    SubmitButton = 3,
};
constexpr int kLoginTypeCaptionBase = 20207;

struct LoginField {
    std::u16string name;   // the form field's name
    std::u16string value;  // the value put into the field
    std::int32_t id = 0;   // unique within its record; not stored in the data file
    LoginFieldType type = LoginFieldType::StandardInput;
    bool use = true;              // takes part in automatic log-in
    bool automationMark = false;  // run-time mark of the browser automation; not stored

    bool operator==(const LoginField&) const = default;
};

// The members are in storage order; the 37 text fields are in the
// alphabetical order of their markup tags.
struct ApplicationRecord {
    std::vector<LoginField> loginData;
    std::vector<std::uint8_t> picture;       // the image file's bytes, empty when none
    std::vector<std::u16string> categories;  // a record may belong to several

    std::u16string comments;           // COMMENTS
    std::u16string company;            // COMPANY
    std::u16string custom1;            // CUSTOM1
    std::u16string custom2;            // CUSTOM2
    std::u16string custom3;            // CUSTOM3
    std::u16string custom4;            // CUSTOM4
    std::u16string custom5;            // CUSTOM5
    std::u16string dateLastChecked;    // DATELASTCHECKED (date text)
    std::u16string description;        // DESCRIPTION
    std::u16string email;              // EMAIL (support e-mail)
    std::u16string homePage;           // HOMEPAGE
    std::u16string installDate;        // INSTALLDATE (date text)
    std::u16string installFile;        // INSTALLFILE
    std::u16string latestVersion;      // LATESTVERSION
    std::u16string licenseType;        // LICENSETYPE
    std::u16string loginPage;          // LOGINPAGE
    std::u16string organization;       // ORGANIZATION
    std::u16string originalMedia;      // ORIGINALMEDIA
    std::u16string padFile;            // PADFILE
    std::u16string path;               // PATH (the program file)
    std::u16string paymentMethod;      // PAYMENTMETHOD
    std::u16string pictureName;        // PICTURENAME
    std::u16string program;            // PROGRAM (application name)
    std::u16string purchaseDate;       // PURCHASEDATE (date text)
    std::u16string registrationEmail;  // REGISTRATIONEMAIL
    std::u16string registrationExpire; // REGISTRATIONEXPIRE (date text)
    std::u16string registrationKey;    // REGISTRATIONKEY
    std::u16string registrationType;   // REGISTRATIONTYPE
    std::u16string releasedDate;       // RELEASEDDATE (date text)
    std::u16string serialNumber;       // SERIALNUMBER
    std::u16string supportAddress;     // SUPPORTADDRESS
    std::u16string supportPage;        // SUPPORTPAGE
    std::u16string supportPhone;       // SUPPORTPHONE
    std::u16string upgradePage;        // UPGRADEPAGE
    std::u16string userName;           // USERNAME (registered user)
    std::u16string version;            // VERSION
    std::u16string webPasswordDate;    // WEBPASSWORDDATE (date text)

    double purchasePrice = 0;  // 0 means not set
    double upgradePrice = 0;

    std::int32_t diskCount = 0;
    std::int32_t recordId = 0;  // run-time identity given by the catalog; never stored
    std::int32_t sortOrder = 0;
    std::int32_t nextLoginFieldId = 0;  // last login field id given out

    // Multiple edit only: true leaves the matching boolean unchanged.
    bool leaveAutoLogin = true;
    bool leaveAutoRemove = true;
    bool leaveAutoUpdate = true;
    bool leaveHide = true;

    bool autoLogin = true;
    bool autoRemove = false;
    bool autoUpdate = false;
    bool hide = false;

    bool operator==(const ApplicationRecord&) const = default;
};

constexpr int kTextFieldCount = 37;

// The 37 text fields in storage order. Copy, find, reset and multiple edit
// walk them in this order.
inline constexpr std::array<std::u16string ApplicationRecord::*, kTextFieldCount> kTextFields{
    &ApplicationRecord::comments,          &ApplicationRecord::company,
    &ApplicationRecord::custom1,           &ApplicationRecord::custom2,
    &ApplicationRecord::custom3,           &ApplicationRecord::custom4,
    &ApplicationRecord::custom5,           &ApplicationRecord::dateLastChecked,
    &ApplicationRecord::description,       &ApplicationRecord::email,
    &ApplicationRecord::homePage,          &ApplicationRecord::installDate,
    &ApplicationRecord::installFile,       &ApplicationRecord::latestVersion,
    &ApplicationRecord::licenseType,       &ApplicationRecord::loginPage,
    &ApplicationRecord::organization,      &ApplicationRecord::originalMedia,
    &ApplicationRecord::padFile,           &ApplicationRecord::path,
    &ApplicationRecord::paymentMethod,     &ApplicationRecord::pictureName,
    &ApplicationRecord::program,           &ApplicationRecord::purchaseDate,
    &ApplicationRecord::registrationEmail, &ApplicationRecord::registrationExpire,
    &ApplicationRecord::registrationKey,   &ApplicationRecord::registrationType,
    &ApplicationRecord::releasedDate,      &ApplicationRecord::serialNumber,
    &ApplicationRecord::supportAddress,    &ApplicationRecord::supportPage,
    &ApplicationRecord::supportPhone,      &ApplicationRecord::upgradePage,
    &ApplicationRecord::userName,          &ApplicationRecord::version,
    &ApplicationRecord::webPasswordDate,
};

// FieldId: the number that names a field in columns, reports, CSV files and
// the COLS and REPORTLABELS options. 49 (kNoField) means no field. The
// enumerators live in their own namespace: write FieldId::Path.
namespace fields {
enum FieldId : int {
    LoginData = 0,
    Category = 1,
    Comments = 2,
    Company = 3,
    Custom1 = 4,
    Custom2 = 5,
    Custom3 = 6,
    DateLastChecked = 7,
    Description = 8,
    Email = 9,
    HomePage = 10,
    InstallDate = 11,
    InstallFile = 12,
    LatestVersion = 13,
    LicenseType = 14,
    LoginPage = 15,
    Organization = 16,
    Path = 17,
    PaymentMethod = 18,
    PictureName = 19,
    Program = 20,
    PurchaseDate = 21,
    RegistrationKey = 22,
    ReleasedDate = 23,
    SerialNumber = 24,
    UpgradePage = 25,
    UserName = 26,
    Version = 27,
    WebPasswordDate = 28,
    PurchasePrice = 29,
    UpgradePrice = 30,
    DiskCount = 31,
    OriginalMedia = 32,
    SortOrder = 33,
    AutoLogin = 34,
    AutoUpdate = 35,
    Hide = 36,
    WebUserName = 37,
    WebPassword = 38,
    AutoRemove = 39,
    Custom4 = 40,
    Custom5 = 41,
    RegistrationEmail = 42,
    RegistrationExpire = 43,
    RegistrationType = 44,
    SupportAddress = 45,
    SupportPage = 46,
    SupportPhone = 47,
    PadFile = 48,
    None = 49,
};
}  // namespace fields
using fields::FieldId;

enum class FieldKind : std::uint8_t {
    LoginData,    // list of LoginField
    Categories,   // list of category names
    Text,         // one of the 37 text fields
    Price,        // double, 0 = not set
    Integer,      // int32
    Flag,         // bool
    WebUserName,  // derived from the login data, not stored
    WebPassword,  // derived from the login data, not stored, masked
};

// One row of the field table. Exactly one of the member pointers is set for
// the Text, Price, Integer and Flag kinds; the others are null.
struct FieldInfo {
    int id;
    std::u16string_view tag;  // markup element name; empty for derived fields
    FieldKind kind;
    int textIndex;  // index into kTextFields for Text fields, else -1
    std::u16string ApplicationRecord::* text;
    double ApplicationRecord::* price;
    std::int32_t ApplicationRecord::* number;
    bool ApplicationRecord::* flag;
    bool ApplicationRecord::* leaveUnchanged;  // for flags: the multiple-edit flag
};

constexpr int kFieldCaptionBase = 6000;
// String id of a field's caption (also the CSV header). FieldId 48 has none:
// its string is missing and so reads as empty.
constexpr int FieldCaptionId(int fieldId) { return kFieldCaptionBase + fieldId; }
// The caption text; empty for FieldId 48 and for ids outside 0..48.
std::u16string FieldCaption(int fieldId);

namespace detail {
constexpr FieldInfo TextField(int id, std::u16string_view tag, std::u16string ApplicationRecord::* member) {
    int index = -1;
    for (int i = 0; i < kTextFieldCount; ++i) {
        if (kTextFields[static_cast<std::size_t>(i)] == member) index = i;
    }
    return {id, tag, FieldKind::Text, index, member, nullptr, nullptr, nullptr, nullptr};
}
constexpr FieldInfo PriceField(int id, std::u16string_view tag, double ApplicationRecord::* member) {
    return {id, tag, FieldKind::Price, -1, nullptr, member, nullptr, nullptr, nullptr};
}
constexpr FieldInfo IntegerField(int id, std::u16string_view tag, std::int32_t ApplicationRecord::* member) {
    return {id, tag, FieldKind::Integer, -1, nullptr, nullptr, member, nullptr, nullptr};
}
constexpr FieldInfo FlagField(int id, std::u16string_view tag, bool ApplicationRecord::* member,
                              bool ApplicationRecord::* leave) {
    return {id, tag, FieldKind::Flag, -1, nullptr, nullptr, nullptr, member, leave};
}
constexpr FieldInfo OtherField(int id, std::u16string_view tag, FieldKind kind) {
    return {id, tag, kind, -1, nullptr, nullptr, nullptr, nullptr, nullptr};
}
}  // namespace detail

// Indexed by FieldId 0..48.
inline constexpr std::array<FieldInfo, kFieldCount> kFields{
    detail::OtherField(0, u"LOGINDATA", FieldKind::LoginData),
    detail::OtherField(1, u"CATEGORYLIST", FieldKind::Categories),
    detail::TextField(2, u"COMMENTS", &ApplicationRecord::comments),
    detail::TextField(3, u"COMPANY", &ApplicationRecord::company),
    detail::TextField(4, u"CUSTOM1", &ApplicationRecord::custom1),
    detail::TextField(5, u"CUSTOM2", &ApplicationRecord::custom2),
    detail::TextField(6, u"CUSTOM3", &ApplicationRecord::custom3),
    detail::TextField(7, u"DATELASTCHECKED", &ApplicationRecord::dateLastChecked),
    detail::TextField(8, u"DESCRIPTION", &ApplicationRecord::description),
    detail::TextField(9, u"EMAIL", &ApplicationRecord::email),
    detail::TextField(10, u"HOMEPAGE", &ApplicationRecord::homePage),
    detail::TextField(11, u"INSTALLDATE", &ApplicationRecord::installDate),
    detail::TextField(12, u"INSTALLFILE", &ApplicationRecord::installFile),
    detail::TextField(13, u"LATESTVERSION", &ApplicationRecord::latestVersion),
    detail::TextField(14, u"LICENSETYPE", &ApplicationRecord::licenseType),
    detail::TextField(15, u"LOGINPAGE", &ApplicationRecord::loginPage),
    detail::TextField(16, u"ORGANIZATION", &ApplicationRecord::organization),
    detail::TextField(17, u"PATH", &ApplicationRecord::path),
    detail::TextField(18, u"PAYMENTMETHOD", &ApplicationRecord::paymentMethod),
    detail::TextField(19, u"PICTURENAME", &ApplicationRecord::pictureName),
    detail::TextField(20, u"PROGRAM", &ApplicationRecord::program),
    detail::TextField(21, u"PURCHASEDATE", &ApplicationRecord::purchaseDate),
    detail::TextField(22, u"REGISTRATIONKEY", &ApplicationRecord::registrationKey),
    detail::TextField(23, u"RELEASEDDATE", &ApplicationRecord::releasedDate),
    detail::TextField(24, u"SERIALNUMBER", &ApplicationRecord::serialNumber),
    detail::TextField(25, u"UPGRADEPAGE", &ApplicationRecord::upgradePage),
    detail::TextField(26, u"USERNAME", &ApplicationRecord::userName),
    detail::TextField(27, u"VERSION", &ApplicationRecord::version),
    detail::TextField(28, u"WEBPASSWORDDATE", &ApplicationRecord::webPasswordDate),
    detail::PriceField(29, u"PURCHASEPRICE", &ApplicationRecord::purchasePrice),
    detail::PriceField(30, u"UPGRADEPRICE", &ApplicationRecord::upgradePrice),
    detail::IntegerField(31, u"DISKCOUNT", &ApplicationRecord::diskCount),
    detail::TextField(32, u"ORIGINALMEDIA", &ApplicationRecord::originalMedia),
    detail::IntegerField(33, u"SORTORDER", &ApplicationRecord::sortOrder),
    detail::FlagField(34, u"AUTOLOGIN", &ApplicationRecord::autoLogin, &ApplicationRecord::leaveAutoLogin),
    detail::FlagField(35, u"AUTOUPDATE", &ApplicationRecord::autoUpdate, &ApplicationRecord::leaveAutoUpdate),
    detail::FlagField(36, u"HIDE", &ApplicationRecord::hide, &ApplicationRecord::leaveHide),
    detail::OtherField(37, u"", FieldKind::WebUserName),
    detail::OtherField(38, u"", FieldKind::WebPassword),
    detail::FlagField(39, u"AUTOREMOVE", &ApplicationRecord::autoRemove, &ApplicationRecord::leaveAutoRemove),
    detail::TextField(40, u"CUSTOM4", &ApplicationRecord::custom4),
    detail::TextField(41, u"CUSTOM5", &ApplicationRecord::custom5),
    detail::TextField(42, u"REGISTRATIONEMAIL", &ApplicationRecord::registrationEmail),
    detail::TextField(43, u"REGISTRATIONEXPIRE", &ApplicationRecord::registrationExpire),
    detail::TextField(44, u"REGISTRATIONTYPE", &ApplicationRecord::registrationType),
    detail::TextField(45, u"SUPPORTADDRESS", &ApplicationRecord::supportAddress),
    detail::TextField(46, u"SUPPORTPAGE", &ApplicationRecord::supportPage),
    detail::TextField(47, u"SUPPORTPHONE", &ApplicationRecord::supportPhone),
    detail::TextField(48, u"PADFILE", &ApplicationRecord::padFile),
};

// FieldId of each text field, by storage index (the inverse of textIndex).
inline constexpr std::array<int, kTextFieldCount> kTextFieldIds = [] {
    std::array<int, kTextFieldCount> ids{};
    for (const FieldInfo& f : kFields) {
        if (f.kind == FieldKind::Text) ids[static_cast<std::size_t>(f.textIndex)] = f.id;
    }
    return ids;
}();

// Element names inside a record's LOGINDATA and CATEGORYLIST elements.
inline constexpr std::u16string_view kTagLoginField = u"LOGINFIELD";
inline constexpr std::u16string_view kTagLoginValue = u"LOGINVALUE";
inline constexpr std::u16string_view kTagLoginType = u"LOGINTYPE";
inline constexpr std::u16string_view kTagLoginUse = u"LOGINUSE";
inline constexpr std::u16string_view kTagCategory = u"CATEGORY";

// The table row of a FieldId; null outside 0..48.
const FieldInfo* FindField(int fieldId);
// The FieldId whose markup tag equals the name ignoring case; kNoField when
// none (the derived fields 37 and 38 have no tag).
int FieldIdFromTag(std::u16string_view tag);

// Every text empty, lists empty, numbers 0, auto login true, the other
// booleans false, the four leave-unchanged flags true.
ApplicationRecord NewRecord();
// Returns the record to the NewRecord state (between records while loading).
void ResetRecord(ApplicationRecord& record);
// A full copy, record id and login field ids included.
ApplicationRecord CopyRecord(const ApplicationRecord& record);

// Appends a login field, giving it the record's next login field id (the
// first is 1). Returns the id.
std::int32_t AddLoginField(ApplicationRecord& record, LoginField field);

// Value of the first login field of type StandardInput / Password, unmasked;
// empty when there is none. FieldId 37 and 38.
std::u16string WebUserName(const ApplicationRecord& record);
std::u16string WebPassword(const ApplicationRecord& record);

// The money text: "$" (string 4207) and the amount with exactly two decimals,
// no thousands separators, no locale. Empty when the amount is not above 0.
std::u16string FormatPrice(double amount);

// The display text of a field. Passwords (FieldId 38 and the Password-type
// values inside FieldId 0) are masked with "x" unless reveal is true or the
// options say to show passwords. Empty for ids outside 0..48.
std::u16string FieldText(const Catalog& catalog, const ApplicationRecord& record, int fieldId,
                         bool revealPasswords);
// The same with the options given directly.
std::u16string FieldText(const Settings& options, const ApplicationRecord& record, int fieldId,
                         bool revealPasswords);
// The same text appended to out, without a string of its own: writers of
// many fields reuse one buffer.
void AppendFieldText(std::u16string& out, const Settings& options, const ApplicationRecord& record, int fieldId,
                     bool revealPasswords);

// True when a sorts before b by the field: texts locale-aware ignoring case,
// numbers as numbers, flags false before true. False for ids outside 0..48.
bool FieldLess(const ApplicationRecord& a, const ApplicationRecord& b, int fieldId);

// Empty counts as secure; fewer than 8 characters is not; otherwise a letter
// with a digit or another character, or a digit with another character.
bool IsPasswordSecure(std::u16string_view text);

// Row colour index (options COLOR1..COLOR5 are statuses 0..4). The first rule
// that applies wins: PasswordNotSecure, PasswordExpired, OutOfDate,
// NeedsChecking, else Standard.
struct RecordStatusCode {
    enum : int {
        Standard = 0,
        OutOfDate = 1,
        NeedsChecking = 2,
        PasswordExpired = 3,
        PasswordNotSecure = 4,
    };
};
int RecordStatus(const Catalog& catalog, const ApplicationRecord& record, const Date& today);
int RecordStatus(const Settings& options, const ApplicationRecord& record, const Date& today);

// Applies a multiple-edit form to one selected record. eraseCommand is the
// CLEARCOMMAND option: a form text equal to it clears the target's field.
void ApplyMultipleEdit(const ApplicationRecord& form, ApplicationRecord& target, std::u16string_view eraseCommand);

}  // namespace kodrin
