// The options dialog driven in-process: what it shows for the settings it is
// given, what OK stores and Cancel leaves alone, the password pair, the
// expiry list, the date style, the colour boxes and the registry mirror of
// "Show Kodrin Messages".
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "app/options_dialog.h"
#include "catalog/dates.h"
#include "catalog/markup.h"
#include "catalog/settings.h"
#include "framework/app.h"
#include "support/win32/dialog_driver.h"
#include "ids.h"
#include "string_ids.h"

namespace {

using kodrin::Settings;
using kodrin::test::Click;
using kodrin::test::DialogDriver;
using kodrin::test::ItemText;
using kodrin::test::SetItemText;

constexpr wchar_t kCompanyKey[] = L"Software\\Fenwold";
constexpr wchar_t kProgramKey[] = L"Software\\Fenwold\\Kodrin";

std::optional<std::wstring> ReadRegistryValue(const wchar_t* name) {
    wchar_t data[64] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, kProgramKey, name, RRF_RT_REG_SZ, nullptr, data, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(data);
}

void WriteRegistryValue(const wchar_t* name, const std::wstring& value) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kProgramKey, name, REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void DeleteRegistryValue(const wchar_t* name) { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kProgramKey, name); }

// Each test starts with "HintShow" absent and leaves the registry as it found it.
class OptionsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        HKEY key = nullptr;
        companyExisted_ = ::RegOpenKeyExW(HKEY_CURRENT_USER, kCompanyKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
        if (key != nullptr) ::RegCloseKey(key);
        savedHint_ = ReadRegistryValue(L"HintShow");
        DeleteRegistryValue(L"HintShow");
    }
    void TearDown() override {
        if (!companyExisted_) {
            ::RegDeleteTreeW(HKEY_CURRENT_USER, kCompanyKey);
            ::RegDeleteKeyW(HKEY_CURRENT_USER, kCompanyKey);
        } else if (savedHint_) {
            WriteRegistryValue(L"HintShow", *savedHint_);
        } else {
            DeleteRegistryValue(L"HintShow");
        }
        kodrin::test::DrainMessages();
    }

    // Runs the dialog with the scripts queued on driver; every script must
    // have been used and no other dialog may have appeared.
    bool Run(DialogDriver& driver, Settings& settings) {
        const int expected = driver.Answered() + driver.Pending();
        const bool ok = kodrin::app::RunOptionsDialog(app_, nullptr, settings);
        EXPECT_EQ(driver.Answered(), expected);
        EXPECT_EQ(driver.Unexpected(), 0);
        return ok;
    }

    QvLibrary::QvApp app_{STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE};

private:
    bool companyExisted_ = false;
    std::optional<std::wstring> savedHint_;
};

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void SetCheck(HWND dialog, int id, bool on) { ::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }
bool Visible(HWND dialog, int id) { return (::GetWindowLongW(::GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0; }

int Selected(HWND dialog, int id) { return static_cast<int>(::SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }

std::u16string ItemAt(HWND dialog, int id, int index) {
    wchar_t text[256] = {};
    if (::SendDlgItemMessageW(dialog, id, CB_GETLBTEXTLEN, index, 0) >= 255) return {};
    ::SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return reinterpret_cast<const char16_t*>(text);
}

std::u16string SelectedItem(HWND dialog, int id) {
    const int index = Selected(dialog, id);
    return index < 0 ? std::u16string() : ItemAt(dialog, id, index);
}

std::vector<std::u16string> Items(HWND dialog, int id) {
    std::vector<std::u16string> items;
    const int count = static_cast<int>(::SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) items.push_back(ItemAt(dialog, id, i));
    return items;
}

void SelectItem(HWND dialog, int id, const wchar_t* text) {
    const LRESULT index = ::SendDlgItemMessageW(dialog, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(text));
    ASSERT_GE(index, 0);
    ::SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
}

// As a click on a tab: select it, then tell the dialog.
void ChooseTab(HWND dialog, int index) {
    HWND tabs = ::GetDlgItem(dialog, IDC_OPTIONS_TABS);
    ::SendMessageW(tabs, TCM_SETCURSEL, index, 0);
    NMHDR header{tabs, IDC_OPTIONS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(dialog, WM_NOTIFY, IDC_OPTIONS_TABS, reinterpret_cast<LPARAM>(&header));
}

void ExpectSameSettings(const Settings& a, const Settings& b) {
    EXPECT_FALSE(kodrin::SettingsChanged(a, b));
    EXPECT_EQ(a.password, b.password);
    EXPECT_EQ(a.today, b.today);
}

// Every setting away from its default where the dialog can show it.
Settings Unusual() {
    Settings s = kodrin::NewSettings();
    s.password = u"secret";
    s.colors = {RGB(0, 0, 255), RGB(140, 23, 23), RGB(0, 0, 0), RGB(255, 255, 0), 0x123456};  // the last has no name
    s.passwordExpire = 12;
    kodrin::SetDateStyle(s, 5);
    s.autoDate = false;
    s.defaultBrowser = true;
    s.storeImages = false;
    s.backup = false;
    s.clickLogin = false;
    s.track = false;
    s.hideStatus = true;
    s.showPasswords = true;
    s.captions = {u"Seat", u"Owner", u"Box", u"Shelf", u"Notes"};
    s.clearCommand = u"<erase>";
    return s;
}

TEST_F(OptionsDialogTest, ShowsTheSettingsOnFivePagesAndOnlyOkStoresThem) {
    const Settings before = Unusual();
    Settings settings = before;
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(kodrin::test::WindowText(dialog), u"Kodrin Options");
        HWND tabs = ::GetDlgItem(dialog, IDC_OPTIONS_TABS);
        ASSERT_EQ(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 5);
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        ::SendMessageW(tabs, TCM_GETITEMW, 3, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(text, L"Font Colors");
        EXPECT_EQ(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);

        // Page 0 is shown, the others hidden; choosing a tab swaps them.
        EXPECT_TRUE(Visible(dialog, IDC_OPTIONS_CLEAR_COMMAND));
        EXPECT_TRUE(Visible(dialog, IDC_OPTIONS_DOUBLE_CLICK_EDIT));
        EXPECT_FALSE(Visible(dialog, IDC_OPTIONS_STANDARD_COLOR));
        EXPECT_FALSE(Visible(dialog, IDC_OPTIONS_PASSWORD));
        ChooseTab(dialog, 3);
        EXPECT_TRUE(Visible(dialog, IDC_OPTIONS_STANDARD_COLOR));
        EXPECT_TRUE(Visible(dialog, IDC_OPTIONS_INSECURE_COLOR_LABEL));
        EXPECT_FALSE(Visible(dialog, IDC_OPTIONS_CLEAR_COMMAND));
        EXPECT_FALSE(Visible(dialog, IDC_OPTIONS_CAPTION1));

        EXPECT_EQ(ItemText(dialog, IDC_OPTIONS_PASSWORD), u"secret");
        EXPECT_EQ(ItemText(dialog, IDC_OPTIONS_CONFIRM_PASSWORD), u"secret");
        EXPECT_EQ(ItemText(dialog, IDC_OPTIONS_CLEAR_COMMAND), u"<erase>");
        EXPECT_EQ(ItemText(dialog, IDC_OPTIONS_CAPTION1), u"Seat");
        EXPECT_EQ(ItemText(dialog, IDC_OPTIONS_CAPTION5), u"Notes");
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_EXPIRY), u"12");
        EXPECT_EQ(Items(dialog, IDC_OPTIONS_EXPIRY), (std::vector<std::u16string>{u"Never", u"1", u"2", u"3", u"6", u"12", u"18", u"24"}));

        // The colour boxes: every named colour, owner-drawn, the stored one chosen.
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_OPTIONS_STANDARD_COLOR, CB_GETCOUNT, 0, 0), 100);
        EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(dialog, IDC_OPTIONS_STANDARD_COLOR), GWL_STYLE) & CBS_OWNERDRAWFIXED);
        EXPECT_GT(::SendDlgItemMessageW(dialog, IDC_OPTIONS_STANDARD_COLOR, CB_GETITEMHEIGHT, 0, 0), 8);
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_STANDARD_COLOR), u"Blue");
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_OUT_OF_DATE_COLOR), u"Scarlet");
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_CHECK_COLOR), u"Black");
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_PASSWORD_EXPIRED_COLOR), u"Yellow");
        EXPECT_EQ(Selected(dialog, IDC_OPTIONS_INSECURE_COLOR), -1);

        EXPECT_FALSE(Checked(dialog, IDC_OPTIONS_AUTO_DATE));
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_DEFAULT_BROWSER));
        EXPECT_FALSE(Checked(dialog, IDC_OPTIONS_STORE_IMAGES));
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_BACKUP_NO));    // backups: No
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_DOUBLE_CLICK_EDIT));    // double-click: Edit
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_TRACK_NO));    // last size: No
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_STATUS_BAR_NO));    // status bar: No
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_PASSWORDS_YES));    // display passwords: Yes
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_MESSAGES_YES));    // messages: Yes (nothing in the registry)
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_DATE_DDMMYY));    // DD/MM/YY
        EXPECT_FALSE(Checked(dialog, IDC_OPTIONS_DATE_MMDDYYYY));
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    // Confirming without changes keeps every setting, the nameless colour too.
    ExpectSameSettings(settings, before);
    EXPECT_EQ(settings.colors[4], 0x123456u);
    EXPECT_FALSE(ReadRegistryValue(L"HintShow").has_value());

    // Changes, then Cancel: nothing is stored.
    driver.Then([&](HWND dialog) {
        SetItemText(dialog, IDC_OPTIONS_PASSWORD, u"other");
        SetItemText(dialog, IDC_OPTIONS_CONFIRM_PASSWORD, u"other");
        SetItemText(dialog, IDC_OPTIONS_CLEAR_COMMAND, u"***");
        SetCheck(dialog, IDC_OPTIONS_AUTO_DATE, true);
        SetCheck(dialog, IDC_OPTIONS_MESSAGES_YES, false);
        SetCheck(dialog, IDC_OPTIONS_MESSAGES_NO, true);
        SelectItem(dialog, IDC_OPTIONS_STANDARD_COLOR, L"Red");
        SelectItem(dialog, IDC_OPTIONS_EXPIRY, L"Never");
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(Run(driver, settings));
    ExpectSameSettings(settings, before);
    EXPECT_FALSE(ReadRegistryValue(L"HintShow").has_value());

    // Every flag turned over, new texts, then OK.
    driver.Then([&](HWND dialog) {
        for (int id : {IDC_OPTIONS_AUTO_DATE, IDC_OPTIONS_DEFAULT_BROWSER, IDC_OPTIONS_STORE_IMAGES}) SetCheck(dialog, id, !Checked(dialog, id));
        const std::pair<int, int> turned[] = {{IDC_OPTIONS_BACKUP_YES, IDC_OPTIONS_BACKUP_NO}, {IDC_OPTIONS_DOUBLE_CLICK_LOGIN, IDC_OPTIONS_DOUBLE_CLICK_EDIT}, {IDC_OPTIONS_TRACK_YES, IDC_OPTIONS_TRACK_NO}, {IDC_OPTIONS_STATUS_BAR_YES, IDC_OPTIONS_STATUS_BAR_NO}, {IDC_OPTIONS_PASSWORDS_NO, IDC_OPTIONS_PASSWORDS_YES}};
        for (auto [on, off] : turned) {
            SetCheck(dialog, on, true);
            SetCheck(dialog, off, false);
        }
        SetItemText(dialog, IDC_OPTIONS_CLEAR_COMMAND, u"-clear-");
        SetItemText(dialog, IDC_OPTIONS_CAPTION1, u"Licence seat");
        SetItemText(dialog, IDC_OPTIONS_CAPTION5, u"");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_TRUE(settings.autoDate);
    EXPECT_FALSE(settings.defaultBrowser);
    EXPECT_TRUE(settings.storeImages);
    EXPECT_TRUE(settings.backup);
    EXPECT_TRUE(settings.clickLogin);
    EXPECT_TRUE(settings.track);
    EXPECT_FALSE(settings.hideStatus);
    EXPECT_FALSE(settings.showPasswords);
    EXPECT_EQ(settings.clearCommand, u"-clear-");
    EXPECT_EQ(settings.captions[0], u"Licence seat");
    EXPECT_EQ(settings.captions[1], u"Owner");
    EXPECT_EQ(settings.captions[4], u"");
    EXPECT_EQ(settings.password, u"secret");
    EXPECT_EQ(settings.dateStyle, 5u);

    // "Display Status Bar" set to No hides it.
    driver.Then([&](HWND dialog) {
        SetCheck(dialog, IDC_OPTIONS_STATUS_BAR_YES, false);
        SetCheck(dialog, IDC_OPTIONS_STATUS_BAR_NO, true);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_TRUE(settings.hideStatus);
}

TEST_F(OptionsDialogTest, DifferentPasswordsWarnAndKeepTheDialogOpen) {
    Settings settings = kodrin::NewSettings();
    settings.password = u"old";
    HWND options = nullptr;
    std::vector<std::u16string> warning;
    bool openDuringWarning = false;
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        options = dialog;
        // A new password typed only once; another change that must wait.
        SetItemText(dialog, IDC_OPTIONS_PASSWORD, u"new");
        SetCheck(dialog, IDC_OPTIONS_AUTO_DATE, false);
        Click(dialog, IDOK);
    });
    driver.Then([&](HWND box) {
        warning = kodrin::test::StaticTexts(box);
        openDuringWarning = ::IsWindow(options) != FALSE;
        // The passwords' page is brought up for re-typing.
        EXPECT_TRUE(Visible(options, IDC_OPTIONS_PASSWORD));
        EXPECT_FALSE(Visible(options, IDC_OPTIONS_CLEAR_COMMAND));
        // Nothing was applied while the warning is up.
        EXPECT_EQ(settings.password, u"old");
        EXPECT_TRUE(settings.autoDate);
        // The user closes the warning, re-types and confirms.
        Click(box, IDOK);
        SetItemText(options, IDC_OPTIONS_CONFIRM_PASSWORD, u"new");
        Click(options, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_TRUE(openDuringWarning);
    EXPECT_NE(std::find(warning.begin(), warning.end(), u"Passwords do not match.  Please re-type your password."),
              warning.end());
    EXPECT_EQ(settings.password, u"new");
    EXPECT_FALSE(settings.autoDate);

    // Both boxes cleared: the catalog loses its password.
    driver.Then([&](HWND dialog) {
        SetItemText(dialog, IDC_OPTIONS_PASSWORD, u"");
        SetItemText(dialog, IDC_OPTIONS_CONFIRM_PASSWORD, u"");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.password, u"");

    // Only the confirmation typed: a mismatch as well; Cancel then keeps the old one.
    settings.password = u"kept";
    options = nullptr;
    bool ok = true;
    {
        DialogDriver second;
        second.Then([&](HWND dialog) {
            options = dialog;
            SetItemText(dialog, IDC_OPTIONS_CONFIRM_PASSWORD, u"kepT");
            Click(dialog, IDOK);
        });
        second.Then([&](HWND box) {
            Click(box, IDOK);
            Click(options, IDCANCEL);
        });
        ok = kodrin::app::RunOptionsDialog(app_, nullptr, settings);
        EXPECT_EQ(second.Answered(), 2);
        EXPECT_EQ(second.Unexpected(), 0);
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(settings.password, u"kept");
}

TEST_F(OptionsDialogTest, AnExpiryReadFromAFileHasItsOwnEntryAndIsKept) {
    Settings settings = kodrin::NewSettings();
    kodrin::MarkupReader reader;
    reader.SetText(u"<PASSWORDEXPIRE>4</PASSWORDEXPIRE><COLOR2>1193046</COLOR2></OPTIONS>");
    ASSERT_TRUE(kodrin::ReadOptions(settings, reader, 1920));
    ASSERT_EQ(settings.passwordExpire, 4);

    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(Items(dialog, IDC_OPTIONS_EXPIRY),
                  (std::vector<std::u16string>{u"Never", u"1", u"2", u"3", u"4", u"6", u"12", u"18", u"24"}));
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_EXPIRY), u"4");
        EXPECT_EQ(Selected(dialog, IDC_OPTIONS_OUT_OF_DATE_COLOR), -1);   // 1193046 has no name
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.passwordExpire, 4);
    EXPECT_EQ(settings.colors[1], 1193046u);

    // Beyond the offered months the value goes last; choosing "Never" stores 0.
    settings.passwordExpire = 30;
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(ItemAt(dialog, IDC_OPTIONS_EXPIRY, 8), u"30");
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_EXPIRY), u"30");
        SelectItem(dialog, IDC_OPTIONS_EXPIRY, L"Never");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.passwordExpire, 0);

    driver.Then([&](HWND dialog) {
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_OPTIONS_EXPIRY, CB_GETCOUNT, 0, 0), 8);
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_EXPIRY), u"Never");
        SelectItem(dialog, IDC_OPTIONS_EXPIRY, L"18");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.passwordExpire, 18);
}

TEST_F(OptionsDialogTest, DateFormatButtonsStoreTheirStyleAndTodaysText) {
    const kodrin::Date today = kodrin::Today();
    struct Case {
        int button;
        std::uint32_t style;
    };
    for (const Case c : {Case{IDC_OPTIONS_DATE_DDMMYY, 5}, Case{IDC_OPTIONS_DATE_DDMMYYYY, 6}, Case{IDC_OPTIONS_DATE_MMDDYY, 1}, Case{IDC_OPTIONS_DATE_MMDDYYYY, 3}}) {
        SCOPED_TRACE(c.button);
        Settings settings = kodrin::NewSettings();
        kodrin::SetDateStyle(settings, c.style == 3 ? 6 : 3);
        DialogDriver driver;
        driver.Then([&](HWND dialog) {
            for (int id : {IDC_OPTIONS_DATE_DDMMYY, IDC_OPTIONS_DATE_DDMMYYYY, IDC_OPTIONS_DATE_MMDDYY, IDC_OPTIONS_DATE_MMDDYYYY}) SetCheck(dialog, id, id == c.button);
            Click(dialog, IDOK);
        });
        ASSERT_TRUE(Run(driver, settings));
        EXPECT_EQ(settings.dateStyle, c.style);
        EXPECT_EQ(settings.today, kodrin::FormatDate(today, static_cast<int>(c.style)));
    }

    // A stored style without a button of its own shows as DD/MM/YYYY.
    Settings settings = kodrin::NewSettings();
    settings.dateStyle = 7;
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_DATE_DDMMYYYY));
        EXPECT_FALSE(Checked(dialog, IDC_OPTIONS_DATE_MMDDYYYY));
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.dateStyle, 6u);
}

TEST_F(OptionsDialogTest, ShowMessagesStartsFromTheRegistryAndIsWrittenBackWhenChanged) {
    // Absent, or any number but 0: on. Reading writes nothing.
    EXPECT_TRUE(kodrin::app::ReadShowMessages(app_));
    EXPECT_FALSE(ReadRegistryValue(L"HintShow").has_value());
    for (const wchar_t* on : {L"1", L"2", L"", L"yes", L"-3"}) {
        WriteRegistryValue(L"HintShow", on);
        EXPECT_TRUE(kodrin::app::ReadShowMessages(app_)) << on;
    }
    for (const wchar_t* off : {L"0", L"00", L" 0"}) {
        WriteRegistryValue(L"HintShow", off);
        EXPECT_FALSE(kodrin::app::ReadShowMessages(app_)) << off;
    }

    // The feed has switched the messages off: the dialog shows No, and OK
    // brings SHOWHINT in line without writing the registry again.
    WriteRegistryValue(L"HintShow", L"00");
    Settings settings = kodrin::NewSettings();
    ASSERT_TRUE(settings.showHint);
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_MESSAGES_NO));
        EXPECT_FALSE(Checked(dialog, IDC_OPTIONS_MESSAGES_YES));
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_FALSE(settings.showHint);
    EXPECT_EQ(ReadRegistryValue(L"HintShow"), std::wstring(L"00"));

    // Switched back on: both copies follow.
    driver.Then([&](HWND dialog) {
        SetCheck(dialog, IDC_OPTIONS_MESSAGES_NO, false);
        SetCheck(dialog, IDC_OPTIONS_MESSAGES_YES, true);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_TRUE(settings.showHint);
    EXPECT_EQ(ReadRegistryValue(L"HintShow"), std::wstring(L"1"));

    // And off again.
    driver.Then([&](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_MESSAGES_YES));
        SetCheck(dialog, IDC_OPTIONS_MESSAGES_YES, false);
        SetCheck(dialog, IDC_OPTIONS_MESSAGES_NO, true);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_FALSE(settings.showHint);
    EXPECT_EQ(ReadRegistryValue(L"HintShow"), std::wstring(L"0"));
    EXPECT_TRUE(kodrin::app::SetShowMessages(app_, true));
    EXPECT_EQ(ReadRegistryValue(L"HintShow"), std::wstring(L"1"));
}

TEST_F(OptionsDialogTest, ChosenColoursAreStored) {
    Settings settings = kodrin::NewSettings();
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        // The defaults have names: Black, Copper, Cadet Blue, an orange, Scarlet.
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_STANDARD_COLOR), u"Black");
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_OUT_OF_DATE_COLOR), u"Copper");
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_CHECK_COLOR), u"Cadet Blue");
        EXPECT_GE(Selected(dialog, IDC_OPTIONS_PASSWORD_EXPIRED_COLOR), 0);
        EXPECT_EQ(SelectedItem(dialog, IDC_OPTIONS_INSECURE_COLOR), u"Scarlet");
        ChooseTab(dialog, 3);
        SelectItem(dialog, IDC_OPTIONS_STANDARD_COLOR, L"Navy Blue");
        SelectItem(dialog, IDC_OPTIONS_INSECURE_COLOR, L"Forest Green");
        // The box draws through the dialog: paint it once.
        ::RedrawWindow(::GetDlgItem(dialog, IDC_OPTIONS_STANDARD_COLOR), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.colors[0], static_cast<std::uint32_t>(RGB(35, 35, 142)));
    EXPECT_EQ(settings.colors[1], 3371960u);
    EXPECT_EQ(settings.colors[3], 32767u);
    EXPECT_EQ(settings.colors[4], static_cast<std::uint32_t>(RGB(35, 142, 35)));
}

}  // namespace

// The login's browser on the Program page: the four choices in order, the
// stored one selected (an unknown value as automatic), the chosen one stored.
TEST_F(OptionsDialogTest, TheBrowserForLoginsIsChosenOnTheProgramPage) {
    const std::vector<std::u16string> choices{u"Automatic (Edge, Chrome, Internet Explorer)", u"Microsoft Edge",
                                              u"Google Chrome", u"Internet Explorer"};
    struct Case {
        std::uint32_t stored;
        int shown;
        const wchar_t* choose;
        std::uint32_t result;
    };
    for (const Case& c : {Case{0, 0, L"Internet Explorer", 3}, Case{2, 2, L"Microsoft Edge", 1},
                          Case{9, 0, nullptr, 0}}) {
        Settings settings = kodrin::NewSettings();
        settings.browser = c.stored;
        DialogDriver driver;
        driver.Then([&](HWND dialog) {
            EXPECT_TRUE(Visible(dialog, IDC_OPTIONS_BROWSER));
            EXPECT_TRUE(Visible(dialog, IDC_OPTIONS_BROWSER_LABEL));
            EXPECT_EQ(Items(dialog, IDC_OPTIONS_BROWSER), choices);
            EXPECT_EQ(Selected(dialog, IDC_OPTIONS_BROWSER), c.shown);
            if (c.choose != nullptr) SelectItem(dialog, IDC_OPTIONS_BROWSER, c.choose);
            ChooseTab(dialog, 1);
            EXPECT_FALSE(Visible(dialog, IDC_OPTIONS_BROWSER));
            Click(dialog, IDOK);
        });
        ASSERT_TRUE(Run(driver, settings));
        EXPECT_EQ(settings.browser, c.result);
    }
}
