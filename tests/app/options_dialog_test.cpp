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

    QvLibrary::QvApp app_{4107, 4103, 4109};

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
    HWND tabs = ::GetDlgItem(dialog, 1847);
    ::SendMessageW(tabs, TCM_SETCURSEL, index, 0);
    NMHDR header{tabs, 1847, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(dialog, WM_NOTIFY, 1847, reinterpret_cast<LPARAM>(&header));
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
        HWND tabs = ::GetDlgItem(dialog, 1847);
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
        EXPECT_TRUE(Visible(dialog, 1821));
        EXPECT_TRUE(Visible(dialog, 1834));
        EXPECT_FALSE(Visible(dialog, 1822));
        EXPECT_FALSE(Visible(dialog, 1845));
        ChooseTab(dialog, 3);
        EXPECT_TRUE(Visible(dialog, 1822));
        EXPECT_TRUE(Visible(dialog, 1817));
        EXPECT_FALSE(Visible(dialog, 1821));
        EXPECT_FALSE(Visible(dialog, 1857));

        EXPECT_EQ(ItemText(dialog, 1845), u"secret");
        EXPECT_EQ(ItemText(dialog, 1846), u"secret");
        EXPECT_EQ(ItemText(dialog, 1821), u"<erase>");
        EXPECT_EQ(ItemText(dialog, 1857), u"Seat");
        EXPECT_EQ(ItemText(dialog, 1861), u"Notes");
        EXPECT_EQ(SelectedItem(dialog, 1835), u"12");
        EXPECT_EQ(Items(dialog, 1835), (std::vector<std::u16string>{u"Never", u"1", u"2", u"3", u"6", u"12", u"18", u"24"}));

        // The colour boxes: every named colour, owner-drawn, the stored one chosen.
        EXPECT_EQ(::SendDlgItemMessageW(dialog, 1822, CB_GETCOUNT, 0, 0), 100);
        EXPECT_TRUE(::GetWindowLongW(::GetDlgItem(dialog, 1822), GWL_STYLE) & CBS_OWNERDRAWFIXED);
        EXPECT_GT(::SendDlgItemMessageW(dialog, 1822, CB_GETITEMHEIGHT, 0, 0), 8);
        EXPECT_EQ(SelectedItem(dialog, 1822), u"Blue");
        EXPECT_EQ(SelectedItem(dialog, 1823), u"Scarlet");
        EXPECT_EQ(SelectedItem(dialog, 1824), u"Black");
        EXPECT_EQ(SelectedItem(dialog, 1825), u"Yellow");
        EXPECT_EQ(Selected(dialog, 1826), -1);

        EXPECT_FALSE(Checked(dialog, 1820));
        EXPECT_TRUE(Checked(dialog, 1832));
        EXPECT_FALSE(Checked(dialog, 1833));
        EXPECT_TRUE(Checked(dialog, 1841));    // backups: No
        EXPECT_TRUE(Checked(dialog, 1834));    // double-click: Edit
        EXPECT_TRUE(Checked(dialog, 1840));    // last size: No
        EXPECT_TRUE(Checked(dialog, 1842));    // status bar: No
        EXPECT_TRUE(Checked(dialog, 1851));    // display passwords: Yes
        EXPECT_TRUE(Checked(dialog, 1838));    // messages: Yes (nothing in the registry)
        EXPECT_TRUE(Checked(dialog, 1830));    // DD/MM/YY
        EXPECT_FALSE(Checked(dialog, 1837));
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    // Confirming without changes keeps every setting, the nameless colour too.
    ExpectSameSettings(settings, before);
    EXPECT_EQ(settings.colors[4], 0x123456u);
    EXPECT_FALSE(ReadRegistryValue(L"HintShow").has_value());

    // Changes, then Cancel: nothing is stored.
    driver.Then([&](HWND dialog) {
        SetItemText(dialog, 1845, u"other");
        SetItemText(dialog, 1846, u"other");
        SetItemText(dialog, 1821, u"***");
        SetCheck(dialog, 1820, true);
        SetCheck(dialog, 1838, false);
        SetCheck(dialog, 1844, true);
        SelectItem(dialog, 1822, L"Red");
        SelectItem(dialog, 1835, L"Never");
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(Run(driver, settings));
    ExpectSameSettings(settings, before);
    EXPECT_FALSE(ReadRegistryValue(L"HintShow").has_value());

    // Every flag turned over, new texts, then OK.
    driver.Then([&](HWND dialog) {
        for (int id : {1820, 1832, 1833}) SetCheck(dialog, id, !Checked(dialog, id));
        const std::pair<int, int> turned[] = {{1849, 1841}, {1839, 1834}, {1848, 1840}, {1850, 1842}, {1843, 1851}};
        for (auto [on, off] : turned) {
            SetCheck(dialog, on, true);
            SetCheck(dialog, off, false);
        }
        SetItemText(dialog, 1821, u"-clear-");
        SetItemText(dialog, 1857, u"Licence seat");
        SetItemText(dialog, 1861, u"");
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
        SetCheck(dialog, 1850, false);
        SetCheck(dialog, 1842, true);
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
        SetItemText(dialog, 1845, u"new");
        SetCheck(dialog, 1820, false);
        Click(dialog, IDOK);
    });
    driver.Then([&](HWND box) {
        warning = kodrin::test::StaticTexts(box);
        openDuringWarning = ::IsWindow(options) != FALSE;
        // The passwords' page is brought up for re-typing.
        EXPECT_TRUE(Visible(options, 1845));
        EXPECT_FALSE(Visible(options, 1821));
        // Nothing was applied while the warning is up.
        EXPECT_EQ(settings.password, u"old");
        EXPECT_TRUE(settings.autoDate);
        // The user closes the warning, re-types and confirms.
        Click(box, IDOK);
        SetItemText(options, 1846, u"new");
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
        SetItemText(dialog, 1845, u"");
        SetItemText(dialog, 1846, u"");
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
            SetItemText(dialog, 1846, u"kepT");
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
        EXPECT_EQ(Items(dialog, 1835),
                  (std::vector<std::u16string>{u"Never", u"1", u"2", u"3", u"4", u"6", u"12", u"18", u"24"}));
        EXPECT_EQ(SelectedItem(dialog, 1835), u"4");
        EXPECT_EQ(Selected(dialog, 1823), -1);   // 1193046 has no name
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.passwordExpire, 4);
    EXPECT_EQ(settings.colors[1], 1193046u);

    // Beyond the offered months the value goes last; choosing "Never" stores 0.
    settings.passwordExpire = 30;
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(ItemAt(dialog, 1835, 8), u"30");
        EXPECT_EQ(SelectedItem(dialog, 1835), u"30");
        SelectItem(dialog, 1835, L"Never");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.passwordExpire, 0);

    driver.Then([&](HWND dialog) {
        EXPECT_EQ(::SendDlgItemMessageW(dialog, 1835, CB_GETCOUNT, 0, 0), 8);
        EXPECT_EQ(SelectedItem(dialog, 1835), u"Never");
        SelectItem(dialog, 1835, L"18");
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
    for (const Case c : {Case{1830, 5}, Case{1831, 6}, Case{1836, 1}, Case{1837, 3}}) {
        SCOPED_TRACE(c.button);
        Settings settings = kodrin::NewSettings();
        kodrin::SetDateStyle(settings, c.style == 3 ? 6 : 3);
        DialogDriver driver;
        driver.Then([&](HWND dialog) {
            for (int id : {1830, 1831, 1836, 1837}) SetCheck(dialog, id, id == c.button);
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
        EXPECT_TRUE(Checked(dialog, 1831));
        EXPECT_FALSE(Checked(dialog, 1837));
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
        EXPECT_TRUE(Checked(dialog, 1844));
        EXPECT_FALSE(Checked(dialog, 1838));
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_FALSE(settings.showHint);
    EXPECT_EQ(ReadRegistryValue(L"HintShow"), std::wstring(L"00"));

    // Switched back on: both copies follow.
    driver.Then([&](HWND dialog) {
        SetCheck(dialog, 1844, false);
        SetCheck(dialog, 1838, true);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_TRUE(settings.showHint);
    EXPECT_EQ(ReadRegistryValue(L"HintShow"), std::wstring(L"1"));

    // And off again.
    driver.Then([&](HWND dialog) {
        EXPECT_TRUE(Checked(dialog, 1838));
        SetCheck(dialog, 1838, false);
        SetCheck(dialog, 1844, true);
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
        EXPECT_EQ(SelectedItem(dialog, 1822), u"Black");
        EXPECT_EQ(SelectedItem(dialog, 1823), u"Copper");
        EXPECT_EQ(SelectedItem(dialog, 1824), u"Cadet Blue");
        EXPECT_GE(Selected(dialog, 1825), 0);
        EXPECT_EQ(SelectedItem(dialog, 1826), u"Scarlet");
        ChooseTab(dialog, 3);
        SelectItem(dialog, 1822, L"Navy Blue");
        SelectItem(dialog, 1826, L"Forest Green");
        // The box draws through the dialog: paint it once.
        ::RedrawWindow(::GetDlgItem(dialog, 1822), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.colors[0], static_cast<std::uint32_t>(RGB(35, 35, 142)));
    EXPECT_EQ(settings.colors[1], 3371960u);
    EXPECT_EQ(settings.colors[3], 32767u);
    EXPECT_EQ(settings.colors[4], static_cast<std::uint32_t>(RGB(35, 142, 35)));
}

}  // namespace
