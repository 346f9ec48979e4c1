#include "app/password_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "catalog/password_generator.h"
#include "framework/app.h"
#include "framework/helpers.h"

namespace kodrin::app {
namespace {

using QvLibrary::QvApp;

constexpr int kTemplate = 1500;
constexpr int kGenerate = 1501;
constexpr int kPasswordBox = 1502;
constexpr int kLengthBox = 1503;
constexpr int kAllowLower = 1504;
constexpr int kAllowNumber = 1505;
constexpr int kLengthUpDown = 1506;
constexpr int kAllowSymbol = 1507;
constexpr int kAllowUpper = 1508;

constexpr int kFailedText = 4490;   // the system's generator failed
constexpr int kTitleText = 4109;    // "Kodrin"

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

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
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&context));
    QvLibrary::CentreOnParent(dialog);
    const Settings& s = context.settings;
    Check(dialog, kAllowLower, s.allowLower);
    Check(dialog, kAllowUpper, s.allowUpper);
    Check(dialog, kAllowNumber, s.allowNumber);
    Check(dialog, kAllowSymbol, s.allowSymbol);

    HWND upDown = ::GetDlgItem(dialog, kLengthUpDown);
    ::SendMessageW(upDown, UDM_SETRANGE32, 0, kMaxPasswordLength);
    const auto position = static_cast<std::int32_t>(
        std::min<std::uint32_t>(s.passwordLength, static_cast<std::uint32_t>(kMaxPasswordLength)));
    ::SendMessageW(upDown, UDM_SETPOS32, 0, position);
    // The stored length as it is, also beyond the control's range.
    ::SetDlgItemTextW(dialog, kLengthBox, std::to_wstring(s.passwordLength).c_str());
}

void Generate(HWND dialog, GeneratorDialog& context) {
    PasswordForm form;
    form.allowLower = Checked(dialog, kAllowLower);
    form.allowUpper = Checked(dialog, kAllowUpper);
    form.allowNumber = Checked(dialog, kAllowNumber);
    form.allowSymbol = Checked(dialog, kAllowSymbol);
    form.lengthText = QvLibrary::GetItemText(dialog, kLengthBox);
    StorePasswordForm(form, context.settings);

    std::u16string password;
    switch (GeneratePassword(context.settings, password)) {
        case PasswordResult::NoCharacters:
            // Nothing allowed: the box and the clipboard stay as they were.
            return;
        case PasswordResult::GeneratorFailed:
            // Never leave an older password on show as if it were new.
            ::SetDlgItemTextW(dialog, kPasswordBox, L"");
            ::MessageBoxW(dialog, Wide(context.app.LoadString(kFailedText)), Wide(context.app.LoadString(kTitleText)),
                          MB_OK | MB_ICONEXCLAMATION);
            return;
        case PasswordResult::Made:
            break;
    }
    HWND clipboardOwner = context.owner != nullptr ? context.owner : context.app.MainWindow();
    if (clipboardOwner == nullptr) clipboardOwner = dialog;
    QvLibrary::WriteClipboardText(clipboardOwner, password);
    ::SetDlgItemTextW(dialog, kPasswordBox, Wide(password));
}

INT_PTR CALLBACK GeneratorProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    auto* context = reinterpret_cast<GeneratorDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            Open(dialog, *reinterpret_cast<GeneratorDialog*>(lp));
            return TRUE;
        case WM_COMMAND:
            if (context == nullptr) return FALSE;
            switch (LOWORD(wp)) {
                case kGenerate:
                    if (HIWORD(wp) == BN_CLICKED) Generate(dialog, *context);
                    return TRUE;
                case IDOK:
                case IDCANCEL:
                    ::EndDialog(dialog, LOWORD(wp));
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

bool RunPasswordGenerator(const QvApp& app, HWND owner, Settings& settings) {
    GeneratorDialog context{app, owner, settings};
    return app.RunDialog(owner, kTemplate, GeneratorProc, reinterpret_cast<LPARAM>(&context));
}

}  // namespace kodrin::app
