#include "app/options_dialog.h"

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/tab_page.h"
#include "framework/app.h"
#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/helpers.h"
#include "framework/tab_win.h"
#include "framework/wide.h"
#include "ids.h"
#include "string_ids.h"
#include "weblogin/browser_choice.h"

namespace kodrin::app {
namespace {

using QvLibrary::QvApp;

constexpr int kPasswordsPage = 2;
constexpr std::array<int, 5> kColourBoxes{IDC_OPTIONS_STANDARD_COLOR, IDC_OPTIONS_OUT_OF_DATE_COLOR, IDC_OPTIONS_CHECK_COLOR, IDC_OPTIONS_PASSWORD_EXPIRED_COLOR, IDC_OPTIONS_INSECURE_COLOR};
constexpr std::array<int, 5> kCaptionEdits{IDC_OPTIONS_CAPTION1, IDC_OPTIONS_CAPTION2, IDC_OPTIONS_CAPTION3, IDC_OPTIONS_CAPTION4, IDC_OPTIONS_CAPTION5};

constexpr int kFirstTabText = STR_OPTIONS_FIRST_TAB;   // "Program" .. "Custom Captions"
constexpr int kMismatchText = STR_PASSWORDS_MISMATCH;   // "Passwords do not match. ..."
constexpr int kNeverText = STR_NEVER;      // "Never"
constexpr int kTitleText = STR_TITLE;      // "Kodrin"

constexpr char16_t kShowMessagesValue[] = u"HintShow";

// The controls of each page, in the order of the tab strip.
const std::array<std::vector<int>, 5> kPages{{
    {IDC_OPTIONS_CLEAR_COMMAND_LABEL, IDC_OPTIONS_CLEAR_COMMAND, IDC_OPTIONS_AUTO_DATE, IDC_OPTIONS_DEFAULT_BROWSER, IDC_OPTIONS_STORE_IMAGES, IDC_OPTIONS_BACKUP_GROUP, IDC_OPTIONS_BACKUP_YES, IDC_OPTIONS_BACKUP_NO, IDC_OPTIONS_DOUBLE_CLICK_GROUP, IDC_OPTIONS_DOUBLE_CLICK_LOGIN, IDC_OPTIONS_DOUBLE_CLICK_EDIT, IDC_OPTIONS_BROWSER_LABEL, IDC_OPTIONS_BROWSER},
    {IDC_OPTIONS_TRACK_GROUP, IDC_OPTIONS_TRACK_YES, IDC_OPTIONS_TRACK_NO, IDC_OPTIONS_STATUS_BAR_GROUP, IDC_OPTIONS_STATUS_BAR_YES, IDC_OPTIONS_STATUS_BAR_NO, IDC_OPTIONS_MESSAGES_GROUP, IDC_OPTIONS_MESSAGES_YES, IDC_OPTIONS_MESSAGES_NO, IDC_OPTIONS_DATE_FORMAT_GROUP, IDC_OPTIONS_DATE_MMDDYYYY, IDC_OPTIONS_DATE_MMDDYY, IDC_OPTIONS_DATE_DDMMYYYY, IDC_OPTIONS_DATE_DDMMYY},
    {IDC_OPTIONS_PASSWORDS_GROUP, IDC_OPTIONS_PASSWORDS_YES, IDC_OPTIONS_PASSWORDS_NO, IDC_OPTIONS_EXPIRY_LABEL, IDC_OPTIONS_EXPIRY, IDC_OPTIONS_PROTECTION_GROUP, IDC_OPTIONS_PASSWORD_LABEL, IDC_OPTIONS_PASSWORD, IDC_OPTIONS_CONFIRM_PASSWORD_LABEL, IDC_OPTIONS_CONFIRM_PASSWORD},
    {IDC_OPTIONS_STANDARD_COLOR_LABEL, IDC_OPTIONS_STANDARD_COLOR, IDC_OPTIONS_OUT_OF_DATE_COLOR_LABEL, IDC_OPTIONS_OUT_OF_DATE_COLOR, IDC_OPTIONS_CHECK_COLOR_LABEL, IDC_OPTIONS_CHECK_COLOR, IDC_OPTIONS_PASSWORD_EXPIRED_COLOR_LABEL, IDC_OPTIONS_PASSWORD_EXPIRED_COLOR, IDC_OPTIONS_INSECURE_COLOR_LABEL, IDC_OPTIONS_INSECURE_COLOR},
    {IDC_OPTIONS_CAPTION1_LABEL, IDC_OPTIONS_CAPTION1, IDC_OPTIONS_CAPTION2_LABEL, IDC_OPTIONS_CAPTION2, IDC_OPTIONS_CAPTION3_LABEL, IDC_OPTIONS_CAPTION3, IDC_OPTIONS_CAPTION4_LABEL, IDC_OPTIONS_CAPTION4, IDC_OPTIONS_CAPTION5_LABEL, IDC_OPTIONS_CAPTION5},
}};

// A flag shown as a pair of radio buttons: the one that means true and the
// one that means false.
struct RadioFlag {
    int trueButton;
    int falseButton;
    bool Settings::*flag;
};
constexpr std::array<RadioFlag, 5> kRadioFlags{{
    {IDC_OPTIONS_BACKUP_YES, IDC_OPTIONS_BACKUP_NO, &Settings::backup},          // Keep Backups of Data: Yes / No
    {IDC_OPTIONS_DOUBLE_CLICK_LOGIN, IDC_OPTIONS_DOUBLE_CLICK_EDIT, &Settings::clickLogin},      // Double-Click: Login / Edit
    {IDC_OPTIONS_TRACK_YES, IDC_OPTIONS_TRACK_NO, &Settings::track},           // Start at last size and location: Yes / No
    {IDC_OPTIONS_STATUS_BAR_NO, IDC_OPTIONS_STATUS_BAR_YES, &Settings::hideStatus},      // Display Status Bar: No (hidden) / Yes
    {IDC_OPTIONS_PASSWORDS_YES, IDC_OPTIONS_PASSWORDS_NO, &Settings::showPasswords},   // Display Passwords: Yes / No
}};

struct CheckFlag {
    int button;
    bool Settings::*flag;
};
constexpr std::array<CheckFlag, 3> kCheckFlags{{
    {IDC_OPTIONS_AUTO_DATE, &Settings::autoDate},
    {IDC_OPTIONS_DEFAULT_BROWSER, &Settings::defaultBrowser},
    {IDC_OPTIONS_STORE_IMAGES, &Settings::storeImages},
}};

// Date-format buttons and the style each stands for; the first is the one
// shown for any style without a button of its own.
struct DateButton {
    int button;
    std::uint32_t style;
};
constexpr std::array<DateButton, 4> kDateButtons{{
    {IDC_OPTIONS_DATE_DDMMYYYY, 6},   // DD/MM/YYYY
    {IDC_OPTIONS_DATE_MMDDYY, 1},   // MM/DD/YY
    {IDC_OPTIONS_DATE_MMDDYYYY, 3},   // MM/DD/YYYY
    {IDC_OPTIONS_DATE_DDMMYY, 5},   // DD/MM/YY
}};

// Months of password expiry offered, "Never" (0) first.
constexpr std::array<std::int32_t, 8> kExpiryMonths{0, 1, 2, 3, 6, 12, 18, 24};

using QvLibrary::Wide;

struct OptionsDialog final : QvLibrary::Dialog {
    OptionsDialog(const QvApp& a, Settings& s) : app(a), settings(s) {}

    const QvApp& app;
    Settings& settings;
    QvLibrary::QvTabWin tabs;
    QvLibrary::QvComboBox expiry;
    QvLibrary::QvComboBox browsers;   // the login's browser (BROWSER)
    std::array<QvLibrary::QvColors, 5> colours;
    int page = 0;
    bool messagesShown = true;   // the feed's own setting when the dialog opened

private:
    INT_PTR Init(HWND dialog) override;
    bool Ok(HWND dialog) override;
    bool Message(HWND dialog, UINT message, WPARAM wp, LPARAM lp, INT_PTR& result) override;
};

void ShowPage(HWND dialog, OptionsDialog& context, int page) {
    if (page < 0 || page >= static_cast<int>(kPages.size())) return;
    for (int id : kPages[static_cast<std::size_t>(context.page)]) ::ShowWindow(::GetDlgItem(dialog, id), SW_HIDE);
    context.page = page;
    for (int id : kPages[static_cast<std::size_t>(page)]) ::ShowWindow(::GetDlgItem(dialog, id), SW_SHOW);
}

void Check(HWND dialog, int id, bool checked) {
    ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetText(HWND dialog, int id, const std::u16string& text) { ::SetDlgItemTextW(dialog, id, Wide(text)); }

// The expiry list's items: the offered months and, so that confirming never
// changes it unseen, a stored value that is not among them, in numeric order.
void FillExpiryList(OptionsDialog& context) {
    std::vector<std::pair<std::u16string, std::int32_t>> items;
    const std::int32_t current = context.settings.passwordExpire;
    bool listed = false;
    for (std::int32_t months : kExpiryMonths) listed = listed || months == current;
    for (std::int32_t months : kExpiryMonths) {
        if (!listed && months != 0 && current < months) {
            items.emplace_back(std::u16string(), current);
            listed = true;
        }
        items.emplace_back(std::u16string(), months);
    }
    if (!listed) items.emplace_back(std::u16string(), current);
    for (auto& [text, months] : items) {
        if (months == 0) {
            text = context.app.LoadString(kNeverText);
        } else {
            const std::wstring digits = std::to_wstring(months);
            text.assign(digits.begin(), digits.end());
        }
        context.expiry.AddItem(text, static_cast<std::uint32_t>(months), false);
    }
    context.expiry.SelectData(static_cast<std::uint32_t>(current));
}

void Open(HWND dialog, OptionsDialog& context) {
    QvLibrary::CentreOnParent(dialog);
    const Settings& s = context.settings;

    context.tabs.Attach(::GetDlgItem(dialog, IDC_OPTIONS_TABS));
    for (int i = 0; i < static_cast<int>(kPages.size()); ++i) {
        context.tabs.InsertTab(i, static_cast<std::uint32_t>(i), context.app.LoadString(kFirstTabText + i));
    }
    for (const auto& page : kPages) {
        for (int id : page) ::ShowWindow(::GetDlgItem(dialog, id), SW_HIDE);
    }
    context.page = 0;
    ShowPage(dialog, context, 0);

    for (std::size_t i = 0; i < kColourBoxes.size(); ++i) {
        context.colours[i].Attach(::GetDlgItem(dialog, kColourBoxes[i]));
        context.colours[i].Fill(context.app);
        context.colours[i].SelectData(s.colors[i]);
    }
    context.expiry.Attach(::GetDlgItem(dialog, IDC_OPTIONS_EXPIRY));
    FillExpiryList(context);

    SetText(dialog, IDC_OPTIONS_PASSWORD, s.password);
    SetText(dialog, IDC_OPTIONS_CONFIRM_PASSWORD, s.password);
    for (std::size_t i = 0; i < kCaptionEdits.size(); ++i) SetText(dialog, kCaptionEdits[i], s.captions[i]);
    SetText(dialog, IDC_OPTIONS_CLEAR_COMMAND, s.clearCommand);

    context.messagesShown = ReadShowMessages(context.app);
    Check(dialog, IDC_OPTIONS_MESSAGES_YES, context.messagesShown);
    Check(dialog, IDC_OPTIONS_MESSAGES_NO, !context.messagesShown);
    for (const CheckFlag& check : kCheckFlags) Check(dialog, check.button, s.*check.flag);
    for (const RadioFlag& radio : kRadioFlags) {
        Check(dialog, radio.trueButton, s.*radio.flag);
        Check(dialog, radio.falseButton, !(s.*radio.flag));
    }
    int dateButton = kDateButtons[0].button;
    for (const DateButton& date : kDateButtons) {
        if (date.style == s.dateStyle) dateButton = date.button;
    }
    for (const DateButton& date : kDateButtons) Check(dialog, date.button, date.button == dateButton);

    // The login's browser: automatic, Edge, Chrome, Internet Explorer; an
    // unknown stored value shows as automatic.
    context.browsers.Attach(::GetDlgItem(dialog, IDC_OPTIONS_BROWSER));
    for (std::uint32_t choice = 0; choice < weblogin::kBrowserChoices; ++choice) {
        context.browsers.AddItem(context.app.LoadString(STR_BROWSER_AUTOMATIC + static_cast<int>(choice)), choice, false);
    }
    context.browsers.SelectData(s.browser < weblogin::kBrowserChoices ? s.browser : weblogin::kBrowserAutomatic);
}

// OK: false (the dialog stays open, nothing applied) when the two password
// boxes differ.
bool Apply(HWND dialog, OptionsDialog& context) {
    const std::u16string password = QvLibrary::GetItemText(dialog, IDC_OPTIONS_PASSWORD);
    const std::u16string confirm = QvLibrary::GetItemText(dialog, IDC_OPTIONS_CONFIRM_PASSWORD);
    if (password != confirm) {
        // The passwords' page comes up for re-typing; the warning is owned
        // by this dialog, so that it stays modal to it.
        if (context.page != kPasswordsPage) context.tabs.SelectTab(kPasswordsPage);
        ::MessageBoxW(dialog, Wide(context.app.LoadString(kMismatchText)), Wide(context.app.LoadString(kTitleText)),
                      MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(::GetDlgItem(dialog, IDC_OPTIONS_PASSWORD));
        ::SendDlgItemMessageW(dialog, IDC_OPTIONS_PASSWORD, EM_SETSEL, 0, -1);
        return false;
    }

    Settings& s = context.settings;
    s.password = password;
    for (const CheckFlag& check : kCheckFlags) s.*check.flag = Checked(dialog, check.button);
    for (const RadioFlag& radio : kRadioFlags) s.*radio.flag = Checked(dialog, radio.trueButton);

    // A colour without an entry in the list shows no selection and is kept.
    for (std::size_t i = 0; i < kColourBoxes.size(); ++i) {
        if (context.colours[i].SelectedIndex() >= 0) s.colors[i] = context.colours[i].SelectedData();
    }
    s.passwordExpire = static_cast<std::int32_t>(context.expiry.SelectedData());

    const bool showMessages = Checked(dialog, IDC_OPTIONS_MESSAGES_YES);
    if (showMessages != context.messagesShown) SetShowMessages(context.app, showMessages);
    s.showHint = showMessages;

    std::uint32_t style = 1;
    for (const DateButton& date : kDateButtons) {
        if (Checked(dialog, date.button)) style = date.style;
    }
    SetDateStyle(s, static_cast<int>(style));

    for (std::size_t i = 0; i < kCaptionEdits.size(); ++i) {
        s.captions[i] = QvLibrary::GetItemText(dialog, kCaptionEdits[i]);
    }
    s.clearCommand = QvLibrary::GetItemText(dialog, IDC_OPTIONS_CLEAR_COMMAND);
    if (context.browsers.SelectedIndex() >= 0) s.browser = context.browsers.SelectedData();
    return true;
}

// The colour boxes' items are as tall as a line of the dialog's font.
void MeasureItem(HWND dialog, MEASUREITEMSTRUCT& item) {
    const QvLibrary::WindowDC dc(dialog);
    if (!dc) return;
    const QvLibrary::Selection font(dc.Get(), reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    if (::GetTextMetricsW(dc.Get(), &metrics)) item.itemHeight = static_cast<UINT>(metrics.tmHeight + 2);
}

bool IsColourBox(UINT id) {
    for (int box : kColourBoxes) {
        if (static_cast<UINT>(box) == id) return true;
    }
    return false;
}

INT_PTR OptionsDialog::Init(HWND dialog) {
    Open(dialog, *this);
    return TRUE;
}

bool OptionsDialog::Ok(HWND dialog) { return Apply(dialog, *this); }

bool OptionsDialog::Message(HWND dialog, UINT message, WPARAM wp, LPARAM lp, INT_PTR& result) {
    result = TRUE;
    switch (message) {
        case WM_MEASUREITEM: {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            if (item == nullptr || item->CtlType != ODT_COMBOBOX || !IsColourBox(item->CtlID)) return false;
            MeasureItem(dialog, *item);
            ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
            return true;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
            if (item == nullptr || item->CtlType != ODT_COMBOBOX || !IsColourBox(item->CtlID)) return false;
            QvLibrary::QvColors::DrawItem(*item);
            ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
            return true;
        }
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lp);
            if (header != nullptr && header->idFrom == IDC_OPTIONS_TABS &&
                header->code == static_cast<UINT>(TCN_SELCHANGE)) {
                ShowPage(dialog, *this, tabs.CurrentTab());
                return true;
            }
            return false;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            result = reinterpret_cast<INT_PTR>(
                PaintTabPageBehind(tabs.Handle(), reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)));
            return true;
        case WM_ERASEBKGND:
            EraseWithTabPage(dialog, tabs.Handle(), reinterpret_cast<HDC>(wp));
            ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
            result = TRUE;
            return true;
        case WM_DESTROY:
            for (auto& box : colours) box.Detach();
            expiry.Detach();
            ForgetTabPage(tabs.Handle());
            tabs.Detach();
            return false;
        default:
            return false;
    }
}

}  // namespace

bool RunOptionsDialog(const QvApp& app, HWND owner, Settings& settings) {
    OptionsDialog dialog(app, settings);
    return dialog.Run(app, owner, DLG_OPTIONS);
}

bool ReadShowMessages(const QvApp& app) {
    QvLibrary::RegistryStore store(app.Company());
    std::u16string value;
    if (!store.Read(app.Name(), kShowMessagesValue, value)) return true;
    // A number: optional blanks and sign, then digits; off only when it is 0.
    std::size_t i = 0;
    while (i < value.size() && (value[i] == u' ' || value[i] == u'\t')) ++i;
    if (i < value.size() && (value[i] == u'-' || value[i] == u'+')) ++i;
    bool digits = false;
    for (; i < value.size() && value[i] >= u'0' && value[i] <= u'9'; ++i) {
        if (value[i] != u'0') return true;
        digits = true;
    }
    return !digits;
}

bool SetShowMessages(const QvApp& app, bool show) {
    QvLibrary::RegistryStore store(app.Company());
    return store.Write(app.Name(), kShowMessagesValue, show ? u"1" : u"0");
}

}  // namespace kodrin::app
