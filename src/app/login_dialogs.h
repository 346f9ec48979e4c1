// The stored web-form fields of a record as the user edits them: the Login
// Information dialog (5000) for one field, the Select Field dialog (20205)
// through which a login learns which form element takes a value, and the
// login list of the details dialog's Login page.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalog/record.h"
#include "catalog/settings.h"
#include "framework/list_view.h"
#include "weblogin/field_matcher.h"
#include "ids.h"
#include "string_ids.h"

namespace QvLibrary {
class QvApp;
}

namespace kodrin::app {


// String ids of the login list.
inline constexpr int kStrFieldNameColumn = STR_FIELD_NAME_COLUMN;
inline constexpr int kStrValueColumn = STR_VALUE_COLUMN;
inline constexpr int kStrFieldTypeColumn = STR_FIELD_TYPE_COLUMN;
inline constexpr int kStrIsLoginColumn = STR_IS_LOGIN_COLUMN;
inline constexpr int kStrConfirmDeleteLogin = STR_CONFIRM_DELETE_LOGIN;

// Runs the password generator for the window and tells whether it ended
// with OK; the password it made is then on the clipboard.
using PasswordGenerator = std::function<bool(HWND owner)>;

// The generator used when the program supplies none: makes one password from
// the options at once and puts it on the clipboard (true), or leaves the
// clipboard alone when the options allow no character (false).
bool GeneratePasswordToClipboard(HWND owner, const Settings& options);

// Login Information: edits a copy of field. OK takes effect only when the
// name or the value is not empty; then field is overwritten and true
// returned. readOnly hides OK. A password value is masked with "x" unless
// the options show passwords.
bool RunLoginInfoDialog(const QvLibrary::QvApp& app, HWND owner, LoginField& field, const Settings& options,
                        bool readOnly, const PasswordGenerator& generator = {});

// Select Field: offers "<auto>" and the keys (each once, ignoring case, in
// ascending order), titled with the value. The chosen text, or nothing when
// cancelled. The dialog stays above every other window (the browser).
std::optional<std::u16string> RunSelectFieldDialog(const QvLibrary::QvApp& app, HWND parent,
                                                   const std::u16string& value,
                                                   const std::vector<std::u16string>& keys);

// The element question of the field matcher, answered with the dialog.
weblogin::SelectField SelectFieldWithDialog(const QvLibrary::QvApp& app, HWND parent);

// The texts of one row of the login list: name, value (masked for a
// password unless shown), type and "Yes"/"No".
std::vector<std::u16string> LoginRowTexts(const LoginField& field, bool showPasswords);

// The login list of the details dialog's Login page. It works on the login
// fields and the next-field counter of the dialog's working record.
class LoginTab {
public:
    // Opens the login page in the program's browser window with the fields.
    using BrowserOpener =
        std::function<void(HWND owner, const std::u16string& address, std::vector<LoginField>& fields)>;

    LoginTab(const QvLibrary::QvApp& app, const Settings& options, bool readOnly);

    // Creates the list (IDC_DETAILS_LOGIN_LIST) in the dialog, adds its four columns
    // for the width and fills it from the record's fields.
    bool Create(HWND dialog, ApplicationRecord& record, int x, int y, int width, int height);
    // Places the list and sizes its columns again.
    void Move(int x, int y, int width, int height);
    // One row per field in stored order, each carrying the field's id.
    void Fill();
    // Edit and Copy need exactly one selected row, Delete at least one.
    void UpdateButtons();

    void Add();
    void Edit();
    void Delete();
    void CopyToClipboard();
    void OpenInBrowser();

    void SetPasswordGenerator(PasswordGenerator generator) { generator_ = std::move(generator); }
    void SetBrowserOpener(BrowserOpener opener) { opener_ = std::move(opener); }

    QvLibrary::QvListView& List() { return list_; }

private:
    LoginField* FieldOfRow(int row);
    void WriteRow(int row, const LoginField& field);
    void SizeColumns(int width);

    const QvLibrary::QvApp& app_;
    const Settings& options_;
    bool readOnly_;
    HWND dialog_ = nullptr;
    ApplicationRecord* record_ = nullptr;
    QvLibrary::QvListView list_;
    PasswordGenerator generator_;
    BrowserOpener opener_;
};

}  // namespace kodrin::app
