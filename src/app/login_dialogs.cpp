#include "app/login_dialogs.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

#include "catalog/catalog.h"
#include "catalog/password_generator.h"
#include "catalog/strings.h"
#include "framework/app.h"
#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "framework/helpers.h"
#include "framework/wide.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::app {
namespace {

using QvLibrary::Wide;

constexpr int kLoginTypeCount = 4;
constexpr int kStrSelectFieldTitle = STR_SELECT_FIELD_TITLE;   // "Select Field for ("

// A question owned by the dialog that asks it, so that the dialog stays
// disabled until it is answered.
bool AskYesNo(HWND owner, int textId) {
    const std::u16string text = LoadText(textId);
    const std::u16string title = LoadText(kStrProgramTitle);
    return ::MessageBoxW(owner, Wide(text), Wide(title), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// ---- Login Information ----

struct LoginInfoContext {
    const QvLibrary::QvApp* app;
    LoginField field;   // the working copy
    const Settings* options;
    bool readOnly;
    const PasswordGenerator* generator;
    std::unique_ptr<QvLibrary::QvComboBox> types;
};

void InitLoginInfo(HWND dialog, LoginInfoContext& context) {
    QvLibrary::CentreOnParent(dialog);
    ::SetDlgItemTextW(dialog, IDC_LOGIN_FIELD_NAME, Wide(context.field.name));
    ::SetDlgItemTextW(dialog, IDC_LOGIN_VALUE, Wide(context.field.value));
    context.types = std::make_unique<QvLibrary::QvComboBox>(::GetDlgItem(dialog, IDC_LOGIN_FIELD_TYPE), true);
    for (int type = 0; type < kLoginTypeCount; ++type) {
        context.types->AddItem(LoadText(kLoginTypeCaptionBase + type), static_cast<std::uint32_t>(type), false);
    }
    context.types->SelectData(static_cast<std::uint32_t>(context.field.type));
    // Decided once: changing the type later does not change the masking.
    if (context.field.type == LoginFieldType::Password && !context.options->showPasswords) {
        ::SendDlgItemMessageW(dialog, IDC_LOGIN_VALUE, EM_SETPASSWORDCHAR, L'x', 0);
    }
    ::CheckDlgButton(dialog, IDC_LOGIN_USE_FOR_LOGIN, context.field.use ? BST_CHECKED : BST_UNCHECKED);
    if (context.readOnly) ::ShowWindow(::GetDlgItem(dialog, IDOK), SW_HIDE);
}

void GenerateRandom(HWND dialog, LoginInfoContext& context) {
    const PasswordGenerator& generator = *context.generator;
    const bool made = generator ? generator(dialog) : GeneratePasswordToClipboard(dialog, *context.options);
    if (!made) return;
    const std::optional<std::u16string> text = QvLibrary::ReadClipboardText(dialog);
    ::SetDlgItemTextW(dialog, IDC_LOGIN_VALUE, Wide(text.value_or(std::u16string())));
}

// OK: takes the controls into the working copy; closes only when the name or
// the value holds something.
bool AcceptLoginInfo(HWND dialog, LoginInfoContext& context) {
    LoginField& field = context.field;
    field.name = QvLibrary::GetItemText(dialog, IDC_LOGIN_FIELD_NAME);
    field.value = QvLibrary::GetItemText(dialog, IDC_LOGIN_VALUE);
    // A type read from a file that the list does not know stays as it is.
    if (context.types->SelectedIndex() >= 0) {
        field.type = static_cast<LoginFieldType>(context.types->SelectedData());
    }
    field.use = ::IsDlgButtonChecked(dialog, IDC_LOGIN_USE_FOR_LOGIN) == BST_CHECKED;
    return !field.name.empty() || !field.value.empty();
}

class LoginInfoDialog final : public QvLibrary::Dialog {
public:
    explicit LoginInfoDialog(LoginInfoContext& context) : context_(context) {}

private:
    INT_PTR Init(HWND dialog) override {
        InitLoginInfo(dialog, context_);
        return TRUE;
    }
    bool Command(HWND dialog, WORD id, WORD notification) override {
        if (id != IDC_LOGIN_GENERATE_RANDOM) return false;
        if (notification == BN_CLICKED) GenerateRandom(dialog, context_);
        return true;
    }
    bool Ok(HWND dialog) override { return !context_.readOnly && AcceptLoginInfo(dialog, context_); }

    LoginInfoContext& context_;
};

// ---- Select Field ----

struct SelectFieldContext {
    const std::u16string* value;
    const std::vector<std::u16string>* keys;
    std::unique_ptr<QvLibrary::QvComboBox> list;
    std::u16string chosen;
};

void InitSelectField(HWND dialog, SelectFieldContext& context) {
    const std::u16string title = LoadText(kStrSelectFieldTitle) + *context.value + u")";
    ::SetWindowTextW(dialog, Wide(title));
    context.list = std::make_unique<QvLibrary::QvComboBox>(::GetDlgItem(dialog, IDC_SELECT_FIELD_LIST), true);
    const std::u16string autoName = LoadText(weblogin::kAutoNameId);
    context.list->AddItem(autoName, 0, false);
    for (const std::u16string& key : *context.keys) context.list->AddItem(key, 0, false);
    context.list->SelectText(autoName);
    QvLibrary::CentreOnParent(dialog);
    ::SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetFocus(::GetDlgItem(dialog, IDC_SELECT_FIELD_LIST));
}

class SelectFieldDialog final : public QvLibrary::Dialog {
public:
    explicit SelectFieldDialog(SelectFieldContext& context) : context_(context) {}

private:
    INT_PTR Init(HWND dialog) override {
        InitSelectField(dialog, context_);
        return FALSE;   // the list has the focus
    }
    bool Ok(HWND) override {
        context_.chosen = context_.list->SelectedText();
        return true;
    }

    SelectFieldContext& context_;
};

}  // namespace

bool GeneratePasswordToClipboard(HWND owner, const Settings& options) {
    std::u16string password;
    if (GeneratePassword(options, password) != PasswordResult::Made) return false;
    QvLibrary::WriteClipboardText(owner, password);
    return true;
}

bool RunLoginInfoDialog(const QvLibrary::QvApp& app, HWND owner, LoginField& field, const Settings& options,
                        bool readOnly, const PasswordGenerator& generator) {
    LoginInfoContext context{&app, field, &options, readOnly, &generator, nullptr};
    LoginInfoDialog dialog(context);
    if (!dialog.Run(app, owner, DLG_LOGIN)) return false;
    field = context.field;
    return true;
}

std::optional<std::u16string> RunSelectFieldDialog(const QvLibrary::QvApp& app, HWND parent,
                                                   const std::u16string& value,
                                                   const std::vector<std::u16string>& keys) {
    SelectFieldContext context{&value, &keys, nullptr, {}};
    SelectFieldDialog dialog(context);
    if (!dialog.Run(app, parent, DLG_SELECT_FIELD)) return std::nullopt;
    return context.chosen;
}

weblogin::SelectField SelectFieldWithDialog(const QvLibrary::QvApp& app, HWND parent) {
    return [&app, parent](const std::u16string& value, const std::vector<std::u16string>& keys) {
        return RunSelectFieldDialog(app, parent, value, keys);
    };
}

std::vector<std::u16string> LoginRowTexts(const LoginField& field, bool showPasswords) {
    std::u16string value = field.value;
    if (field.type == LoginFieldType::Password && !showPasswords) value.assign(field.value.size(), u'x');
    // A type this program does not know (kept from a file) has no caption.
    const int type = static_cast<int>(field.type);
    std::u16string typeText = type >= 0 && type < kLoginTypeCount ? LoadText(kLoginTypeCaptionBase + type) : u"";
    return {field.name, value, typeText, LoadText(field.use ? kStrYes : kStrNo)};
}

// ---- LoginTab ----

LoginTab::LoginTab(const QvLibrary::QvApp& app, const Settings& options, bool readOnly)
    : app_(app), options_(options), readOnly_(readOnly) {}

bool LoginTab::Create(HWND dialog, ApplicationRecord& record, int x, int y, int width, int height) {
    dialog_ = dialog;
    record_ = &record;
    if (!list_.Create(dialog, IDC_DETAILS_LOGIN_LIST, x, y, width, height)) return false;
    ::SetWindowLongPtrW(list_.Handle(), GWL_STYLE,
                        ::GetWindowLongPtrW(list_.Handle(), GWL_STYLE) | WS_TABSTOP);
    // In the tab order after the Auto Login box.
    ::SetWindowPos(list_.Handle(), ::GetDlgItem(dialog, IDC_DETAILS_AUTO_LOGIN), 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const int captions[] = {kStrFieldNameColumn, kStrValueColumn, kStrFieldTypeColumn, kStrIsLoginColumn};
    for (int column = 0; column < 4; ++column) {
        list_.SetColumn(column, LVCFMT_LEFT, 0, LoadText(captions[column]), false);
    }
    SizeColumns(width);
    Fill();
    return true;
}

void LoginTab::SizeColumns(int width) {
    const int shares[] = {30, 36, 16, 16};
    for (int column = 0; column < 4; ++column) {
        LVCOLUMNW info{};
        info.mask = LVCF_WIDTH;
        info.cx = width * shares[column] / 100;
        ::SendMessageW(list_.Handle(), LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    }
}

void LoginTab::Move(int x, int y, int width, int height) {
    if (list_.Handle() == nullptr) return;
    ::MoveWindow(list_.Handle(), x, y, width, height, TRUE);
    SizeColumns(width);
}

void LoginTab::Fill() {
    list_.DeleteAllRows();
    if (record_ == nullptr) return;
    for (const LoginField& field : record_->loginData) {
        const int row = list_.InsertRow(static_cast<std::uint32_t>(field.id));
        if (row >= 0) WriteRow(row, field);
    }
    UpdateButtons();
}

void LoginTab::WriteRow(int row, const LoginField& field) {
    const std::vector<std::u16string> texts = LoginRowTexts(field, options_.showPasswords);
    for (int column = 0; column < static_cast<int>(texts.size()); ++column) {
        list_.SetText(row, column, texts[static_cast<std::size_t>(column)]);
    }
}

LoginField* LoginTab::FieldOfRow(int row) {
    if (row < 0 || record_ == nullptr) return nullptr;
    const auto id = static_cast<std::int32_t>(list_.ItemData(row));
    for (LoginField& field : record_->loginData) {
        if (field.id == id) return &field;
    }
    return nullptr;
}

void LoginTab::UpdateButtons() {
    if (dialog_ == nullptr) return;
    const int selected = list_.SelectedCount();
    ::EnableWindow(::GetDlgItem(dialog_, IDC_DETAILS_LOGIN_EDIT), selected == 1);
    ::EnableWindow(::GetDlgItem(dialog_, IDC_DETAILS_LOGIN_COPY), selected == 1);
    ::EnableWindow(::GetDlgItem(dialog_, IDC_DETAILS_LOGIN_DELETE), selected >= 1);
}

void LoginTab::Add() {
    if (record_ == nullptr) return;
    LoginField field;
    if (!RunLoginInfoDialog(app_, dialog_, field, options_, readOnly_, generator_)) return;
    AddLoginField(*record_, field);
    const LoginField& added = record_->loginData.back();
    const int row = list_.InsertRow(static_cast<std::uint32_t>(added.id));
    if (row >= 0) WriteRow(row, added);
    UpdateButtons();
}

void LoginTab::Edit() {
    if (list_.SelectedCount() != 1) return;
    const int row = list_.FirstSelected();
    LoginField* field = FieldOfRow(row);
    if (field == nullptr) return;
    LoginField copy = *field;
    if (!RunLoginInfoDialog(app_, dialog_, copy, options_, readOnly_, generator_)) return;
    // The dialog may have run a nested loop: find the field again.
    field = FieldOfRow(row);
    if (field == nullptr) return;
    *field = copy;
    WriteRow(row, *field);
}

void LoginTab::Delete() {
    if (record_ == nullptr || list_.SelectedCount() == 0) return;
    if (!AskYesNo(dialog_, kStrConfirmDeleteLogin)) return;
    for (int row = list_.FirstSelected(); row >= 0; row = list_.FirstSelected()) {
        const auto id = static_cast<std::int32_t>(list_.ItemData(row));
        auto& fields = record_->loginData;
        fields.erase(std::remove_if(fields.begin(), fields.end(), [id](const LoginField& f) { return f.id == id; }),
                     fields.end());
        if (!list_.DeleteRow(row)) break;
    }
    UpdateButtons();
}

void LoginTab::CopyToClipboard() {
    if (list_.SelectedCount() != 1) return;
    if (const LoginField* field = FieldOfRow(list_.FirstSelected())) {
        QvLibrary::WriteClipboardText(dialog_, field->value);
    }
}

void LoginTab::OpenInBrowser() {
    if (record_ == nullptr) return;
    const std::u16string address = QvLibrary::GetItemText(dialog_, IDC_DETAILS_LOGIN_PAGE);
    if (address.empty()) return;
    if (options_.defaultBrowser || !opener_) {
        app_.OpenDocument(address);
    } else {
        // Marks left by an earlier opening would count as filled at once.
        weblogin::ClearAutomationMarks(record_->loginData);
        opener_(dialog_, address, record_->loginData);
    }
}

}  // namespace kodrin::app
