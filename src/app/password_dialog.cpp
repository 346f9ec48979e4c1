#include "app/password_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "catalog/password_generator.h"
#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/helpers.h"
#include "framework/wide.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::app {
namespace {

using QvLibrary::QvApp;


constexpr int kFailedText = STR_PASSWORD_GENERATOR_FAILED;   // the system's generator failed
constexpr int kTitleText = STR_TITLE;    // "Kodrin"

using QvLibrary::Wide;

struct GeneratorDialog {
    const QvApp& app;
    HWND owner;
    Settings& settings;
};

void Check(HWND dialog, int id, bool checked) {
    ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Open(HWND dialog, GeneratorDialog& context) {
    QvLibrary::CentreOnParent(dialog);
    const Settings& s = context.settings;
    Check(dialog, IDC_PASSWORD_LOWERCASE, s.allowLower);
    Check(dialog, IDC_PASSWORD_UPPERCASE, s.allowUpper);
    Check(dialog, IDC_PASSWORD_NUMBERS, s.allowNumber);
    Check(dialog, IDC_PASSWORD_SYMBOLS, s.allowSymbol);

    HWND upDown = ::GetDlgItem(dialog, IDC_PASSWORD_LENGTH_SPIN);
    ::SendMessageW(upDown, UDM_SETRANGE32, 0, kMaxPasswordLength);
    const auto position = static_cast<std::int32_t>(
        std::min<std::uint32_t>(s.passwordLength, static_cast<std::uint32_t>(kMaxPasswordLength)));
    ::SendMessageW(upDown, UDM_SETPOS32, 0, position);
    // The stored length as it is, also beyond the control's range.
    ::SetDlgItemTextW(dialog, IDC_PASSWORD_LENGTH, std::to_wstring(s.passwordLength).c_str());
}

void Generate(HWND dialog, GeneratorDialog& context) {
    PasswordForm form;
    form.allowLower = Checked(dialog, IDC_PASSWORD_LOWERCASE);
    form.allowUpper = Checked(dialog, IDC_PASSWORD_UPPERCASE);
    form.allowNumber = Checked(dialog, IDC_PASSWORD_NUMBERS);
    form.allowSymbol = Checked(dialog, IDC_PASSWORD_SYMBOLS);
    form.lengthText = QvLibrary::GetItemText(dialog, IDC_PASSWORD_LENGTH);
    StorePasswordForm(form, context.settings);

    std::u16string password;
    switch (GeneratePassword(context.settings, password)) {
        case PasswordResult::NoCharacters:
            // Nothing allowed: the box and the clipboard stay as they were.
            return;
        case PasswordResult::GeneratorFailed:
            // Never leave an older password on show as if it were new.
            ::SetDlgItemTextW(dialog, IDC_PASSWORD_TEXT, L"");
            ::MessageBoxW(dialog, Wide(context.app.LoadString(kFailedText)), Wide(context.app.LoadString(kTitleText)),
                          MB_OK | MB_ICONEXCLAMATION);
            return;
        case PasswordResult::Made:
            break;
    }
    HWND clipboardOwner = context.owner != nullptr ? context.owner : context.app.MainWindow();
    if (clipboardOwner == nullptr) clipboardOwner = dialog;
    QvLibrary::WriteClipboardText(clipboardOwner, password);
    ::SetDlgItemTextW(dialog, IDC_PASSWORD_TEXT, Wide(password));
}

class GeneratorBinding final : public QvLibrary::Dialog {
public:
    explicit GeneratorBinding(GeneratorDialog& context) : context_(context) {}

private:
    INT_PTR Init(HWND dialog) override {
        Open(dialog, context_);
        return TRUE;
    }
    bool Command(HWND dialog, WORD id, WORD notification) override {
        if (id != IDC_PASSWORD_GENERATE) return false;
        if (notification == BN_CLICKED) Generate(dialog, context_);
        return true;
    }

    GeneratorDialog& context_;
};

}  // namespace

bool RunPasswordGenerator(const QvApp& app, HWND owner, Settings& settings) {
    GeneratorDialog context{app, owner, settings};
    GeneratorBinding dialog(context);
    return dialog.Run(app, owner, DLG_PASSWORD_GENERATOR);
}

}  // namespace kodrin::app
