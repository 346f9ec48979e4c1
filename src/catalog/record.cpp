#include "catalog/record.h"

#include <charconv>
#include <cmath>

#include "catalog/catalog.h"
#include "catalog/strings.h"
#include "platform/text.h"

namespace kodrin {

namespace {

constexpr char16_t kLoginPartSeparator = u'\u00AA';   // "ª" between the parts of one login field
constexpr char16_t kLoginEntryTerminator = u'\u00BB'; // "»" after every login field

void AppendAscii(std::u16string& out, std::string_view s) { out.append(s.begin(), s.end()); }

void AppendDecimal(std::u16string& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    AppendAscii(out, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

void AppendMask(std::u16string& out, std::u16string_view text) { out.append(text.size(), u'x'); }

void AppendJoined(std::u16string& out, const std::vector<std::u16string>& parts) {
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += u',';
        out += parts[i];
    }
}

std::u16string Joined(const std::vector<std::u16string>& parts) {
    std::u16string out;
    AppendJoined(out, parts);
    return out;
}

std::u16string JoinedLoginValues(const ApplicationRecord& record) {
    std::u16string out;
    for (std::size_t i = 0; i < record.loginData.size(); ++i) {
        if (i > 0) out += u',';
        out += record.loginData[i].value;
    }
    return out;
}

std::u16string FirstLoginValue(const ApplicationRecord& record, LoginFieldType type) {
    for (const LoginField& field : record.loginData) {
        if (field.type == type) return field.value;
    }
    return {};
}

void AppendLoginDataText(std::u16string& out, const ApplicationRecord& record, bool mask) {
    for (const LoginField& field : record.loginData) {
        out += field.name;
        out += kLoginPartSeparator;
        if (mask && field.type == LoginFieldType::Password) {
            AppendMask(out, field.value);
        } else {
            out += field.value;
        }
        out += kLoginPartSeparator;
        AppendDecimal(out, static_cast<std::int32_t>(field.type));
        out += kLoginPartSeparator;
        out += field.use ? u'1' : u'0';
        out += kLoginEntryTerminator;
    }
}

// The money text of FormatPrice appended to out.
void AppendPrice(std::u16string& out, double amount) {
    if (!(amount > 0)) return;
    // A double above 0 has at most 309 integral digits.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, amount, std::chars_format::fixed, 2);
    if (result.ec != std::errc()) return;
    out += LoadText(kStrCurrency);
    AppendAscii(out, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

// Character classes of the password rule. Letters are the ASCII and Latin-1
// letters and, beyond Latin-1, everything outside the punctuation and symbol
// blocks; digits are 0-9 only. The rule is the same in every build and does
// not depend on the locale.
enum class CharClass { Letter, Digit, Other };

CharClass Classify(char16_t c) {
    if (c >= u'0' && c <= u'9') return CharClass::Digit;
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return CharClass::Letter;
    if (c < 0x80) return CharClass::Other;
    if (c < 0x100) {
        if (c == 0xAA || c == 0xB5 || c == 0xBA) return CharClass::Letter;
        if (c >= 0xC0 && c != 0xD7 && c != 0xF7) return CharClass::Letter;
        return CharClass::Other;
    }
    if ((c >= 0x2000 && c <= 0x2BFF) ||  // punctuation, symbols, arrows, maths, shapes
        (c >= 0x3000 && c <= 0x303F) ||  // CJK punctuation
        (c >= 0xD800 && c <= 0xDFFF) ||  // surrogate halves (emoji and the like)
        (c >= 0xE000 && c <= 0xF8FF) ||  // private use
        (c >= 0xFE30 && c <= 0xFE4F) ||  // CJK compatibility forms
        (c >= 0xFF00 && c <= 0xFF0F) || (c >= 0xFF1A && c <= 0xFF20) ||  // full-width punctuation
        (c >= 0xFF3B && c <= 0xFF40) || (c >= 0xFF5B && c <= 0xFF65) || c >= 0xFFF0) {
        return CharClass::Other;
    }
    if (c >= 0xFF10 && c <= 0xFF19) return CharClass::Digit;  // full-width digits
    return CharClass::Letter;
}

int CompareText(std::u16string_view a, std::u16string_view b) { return platform::CompareIgnoreCase(a, b); }

}  // namespace

std::u16string FieldCaption(int fieldId) {
    if (fieldId < 0 || fieldId >= fields::PadFile) return {};
    return LoadText(FieldCaptionId(fieldId));
}

const FieldInfo* FindField(int fieldId) {
    if (fieldId < 0 || fieldId >= kFieldCount) return nullptr;
    return &kFields[static_cast<std::size_t>(fieldId)];
}

int FieldIdFromTag(std::u16string_view tag) {
    if (tag.empty()) return kNoField;
    for (const FieldInfo& field : kFields) {
        if (!field.tag.empty() && platform::EqualIgnoreCase(field.tag, tag)) return field.id;
    }
    return kNoField;
}

ApplicationRecord NewRecord() { return ApplicationRecord{}; }

void ResetRecord(ApplicationRecord& record) { record = NewRecord(); }

ApplicationRecord CopyRecord(const ApplicationRecord& record) { return record; }

std::int32_t AddLoginField(ApplicationRecord& record, LoginField field) {
    // Keep ids unique even when the list came from elsewhere.
    for (const LoginField& existing : record.loginData) {
        if (existing.id > record.nextLoginFieldId) record.nextLoginFieldId = existing.id;
    }
    field.id = ++record.nextLoginFieldId;
    record.loginData.push_back(std::move(field));
    return record.loginData.back().id;
}

std::u16string WebUserName(const ApplicationRecord& record) {
    return FirstLoginValue(record, LoginFieldType::StandardInput);
}

std::u16string WebPassword(const ApplicationRecord& record) {
    return FirstLoginValue(record, LoginFieldType::Password);
}

std::u16string FormatPrice(double amount) {
    std::u16string out;
    AppendPrice(out, amount);
    return out;
}

std::u16string FieldText(const Catalog& catalog, const ApplicationRecord& record, int fieldId,
                         bool revealPasswords) {
    return FieldText(CatalogOptions(catalog), record, fieldId, revealPasswords);
}

std::u16string FieldText(const Settings& options, const ApplicationRecord& record, int fieldId,
                         bool revealPasswords) {
    std::u16string out;
    AppendFieldText(out, options, record, fieldId, revealPasswords);
    return out;
}

void AppendFieldText(std::u16string& out, const Settings& options, const ApplicationRecord& record, int fieldId,
                     bool revealPasswords) {
    const FieldInfo* field = FindField(fieldId);
    if (field == nullptr) return;
    const bool mask = !revealPasswords && !options.showPasswords;
    switch (field->kind) {
        case FieldKind::LoginData:
            AppendLoginDataText(out, record, mask);
            return;
        case FieldKind::Categories:
            AppendJoined(out, record.categories);
            return;
        case FieldKind::Text:
            out += record.*(field->text);
            return;
        case FieldKind::Price:
            AppendPrice(out, record.*(field->price));
            return;
        case FieldKind::Integer:
            AppendDecimal(out, record.*(field->number));
            return;
        case FieldKind::Flag:
            out += LoadText(record.*(field->flag) ? kStrYes : kStrNo);
            return;
        case FieldKind::WebUserName:
            out += FirstLoginValue(record, LoginFieldType::StandardInput);
            return;
        case FieldKind::WebPassword: {
            const std::u16string password = FirstLoginValue(record, LoginFieldType::Password);
            if (mask) {
                AppendMask(out, password);
            } else {
                out += password;
            }
            return;
        }
    }
}

bool FieldLess(const ApplicationRecord& a, const ApplicationRecord& b, int fieldId) {
    const FieldInfo* field = FindField(fieldId);
    if (field == nullptr) return false;
    switch (field->kind) {
        case FieldKind::LoginData:
            return CompareText(JoinedLoginValues(a), JoinedLoginValues(b)) < 0;
        case FieldKind::Categories:
            return CompareText(Joined(a.categories), Joined(b.categories)) < 0;
        case FieldKind::Text:
            return CompareText(a.*(field->text), b.*(field->text)) < 0;
        case FieldKind::Price:
            return a.*(field->price) < b.*(field->price);
        case FieldKind::Integer:
            return a.*(field->number) < b.*(field->number);
        case FieldKind::Flag:
            return !(a.*(field->flag)) && b.*(field->flag);
        case FieldKind::WebUserName:
            return CompareText(WebUserName(a), WebUserName(b)) < 0;
        case FieldKind::WebPassword:
            return CompareText(WebPassword(a), WebPassword(b)) < 0;
    }
    return false;
}

bool IsPasswordSecure(std::u16string_view text) {
    if (text.empty()) return true;
    if (text.size() < 8) return false;
    bool letter = false, digit = false, other = false;
    for (char16_t c : text) {
        switch (Classify(c)) {
            case CharClass::Letter: letter = true; break;
            case CharClass::Digit: digit = true; break;
            case CharClass::Other: other = true; break;
        }
    }
    return (letter && (digit || other)) || (digit && other);
}

int RecordStatus(const Catalog& catalog, const ApplicationRecord& record, const Date& today) {
    return RecordStatus(CatalogOptions(catalog), record, today);
}

int RecordStatus(const Settings& options, const ApplicationRecord& record, const Date& today) {
    const int style = static_cast<int>(options.dateStyle);
    const std::u16string password = WebPassword(record);
    if (!password.empty() && !IsPasswordSecure(password)) return RecordStatusCode::PasswordNotSecure;

    if (options.passwordExpire > 0 && !password.empty() && !record.webPasswordDate.empty()) {
        const Date limit = AddMonths(today, -options.passwordExpire);
        if (CompareDates(ParseDate(record.webPasswordDate, style), limit) <= 0) {
            return RecordStatusCode::PasswordExpired;
        }
    }

    if (!record.path.empty() && !record.latestVersion.empty() &&
        !platform::EqualIgnoreCase(record.version, record.latestVersion)) {
        return RecordStatusCode::OutOfDate;
    }

    if (!record.path.empty()) {
        // An empty date reads as long past.
        if (record.dateLastChecked.empty()) return RecordStatusCode::NeedsChecking;
        if (CompareDates(ParseDate(record.dateLastChecked, style), AddMonths(today, -1)) < 0) {
            return RecordStatusCode::NeedsChecking;
        }
    }
    return RecordStatusCode::Standard;
}

void ApplyMultipleEdit(const ApplicationRecord& form, ApplicationRecord& target, std::u16string_view eraseCommand) {
    if (!form.loginData.empty()) {
        target.loginData = form.loginData;
        // The copied fields carry the form's ids: move the target's counter
        // past them so that fields added later get ids of their own.
        if (form.nextLoginFieldId > target.nextLoginFieldId) target.nextLoginFieldId = form.nextLoginFieldId;
        for (const LoginField& field : target.loginData) {
            if (field.id > target.nextLoginFieldId) target.nextLoginFieldId = field.id;
        }
    }

    if (!form.pictureName.empty()) {
        if (form.pictureName == eraseCommand) {
            target.pictureName.clear();
            target.picture.clear();
        } else {
            target.pictureName = form.pictureName;
            target.picture = form.picture;
        }
    }

    if (!form.categories.empty()) target.categories = form.categories;

    for (auto member : kTextFields) {
        if (member == &ApplicationRecord::pictureName || member == &ApplicationRecord::webPasswordDate) continue;
        const std::u16string& value = form.*member;
        if (value.empty()) continue;
        if (value == eraseCommand) {
            (target.*member).clear();
        } else {
            target.*member = value;
        }
    }

    if (form.purchasePrice != 0) target.purchasePrice = form.purchasePrice;
    if (form.upgradePrice != 0) target.upgradePrice = form.upgradePrice;
    if (form.diskCount != 0) target.diskCount = form.diskCount;
    if (form.sortOrder != 0) target.sortOrder = form.sortOrder;

    if (!form.leaveAutoLogin) target.autoLogin = form.autoLogin;
    if (!form.leaveAutoRemove) target.autoRemove = form.autoRemove;
    if (!form.leaveAutoUpdate) target.autoUpdate = form.autoUpdate;
    if (!form.leaveHide) target.hide = form.hide;
}

}  // namespace kodrin
