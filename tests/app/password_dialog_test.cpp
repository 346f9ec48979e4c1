// The password generator driven in-process: the classes and the length it
// stores, the passwords it shows and the clipboard.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/password_dialog.h"
#include "catalog/password_generator.h"
#include "catalog/settings.h"
#include "framework/app.h"
#include "framework/helpers.h"
#include "support/win32/dialog_driver.h"
#include "ids.h"
#include "string_ids.h"

namespace {

using kodrin::Settings;
using kodrin::test::Click;
using kodrin::test::DialogDriver;
using kodrin::test::ItemText;
using kodrin::test::SetItemText;


void SetCheck(HWND dialog, int id, bool on) { ::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }
bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Classes(HWND dialog, bool lower, bool upper, bool number, bool symbol) {
    SetCheck(dialog, IDC_PASSWORD_LOWERCASE, lower);
    SetCheck(dialog, IDC_PASSWORD_UPPERCASE, upper);
    SetCheck(dialog, IDC_PASSWORD_NUMBERS, number);
    SetCheck(dialog, IDC_PASSWORD_SYMBOLS, symbol);
}

// As a press of the button, handled before this returns.
void Generate(HWND dialog) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PASSWORD_GENERATE, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_PASSWORD_GENERATE)));
}

std::optional<std::u16string> Clipboard() { return QvLibrary::ReadClipboardText(nullptr); }

bool AllOf(const std::u16string& text, std::u16string_view allowed) {
    for (char16_t c : text) {
        if (allowed.find(c) == std::u16string_view::npos) return false;
    }
    return true;
}

class PasswordDialogTest : public ::testing::Test {
protected:
    void TearDown() override { kodrin::test::DrainMessages(); }

    bool Run(DialogDriver& driver, Settings& settings) {
        const int expected = driver.Answered() + driver.Pending();
        const bool ok = kodrin::app::RunPasswordGenerator(app_, nullptr, settings);
        EXPECT_EQ(driver.Answered(), expected);
        EXPECT_EQ(driver.Unexpected(), 0);
        return ok;
    }

    QvLibrary::QvApp app_{STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE};
};

TEST_F(PasswordDialogTest, ClassesAndLengthMakeThePasswordShownAndCopied) {
    Settings settings = kodrin::NewSettings();
    DialogDriver driver;
    std::u16string digits;
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(kodrin::test::WindowText(dialog), u"Password Generator");
        // The defaults: letters and numbers, no symbols, 16 characters.
        EXPECT_TRUE(Checked(dialog, IDC_PASSWORD_LOWERCASE));
        EXPECT_TRUE(Checked(dialog, IDC_PASSWORD_UPPERCASE));
        EXPECT_TRUE(Checked(dialog, IDC_PASSWORD_NUMBERS));
        EXPECT_FALSE(Checked(dialog, IDC_PASSWORD_SYMBOLS));
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_LENGTH), u"16");
        int low = -1, high = -1;
        ::SendDlgItemMessageW(dialog, IDC_PASSWORD_LENGTH_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                              reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(low, 0);
        EXPECT_EQ(high, 1000);
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_TEXT), u"");

        Generate(dialog);
        const std::u16string mixed = ItemText(dialog, IDC_PASSWORD_TEXT);
        EXPECT_EQ(mixed.size(), 16u);
        EXPECT_TRUE(AllOf(mixed, u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"));
        EXPECT_EQ(Clipboard(), mixed);

        // Only numbers, six of them.
        Classes(dialog, false, false, true, false);
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"6");
        Generate(dialog);
        digits = ItemText(dialog, IDC_PASSWORD_TEXT);
        EXPECT_EQ(digits.size(), 6u);
        EXPECT_TRUE(AllOf(digits, u"0123456789")) << std::string(digits.begin(), digits.end());
        EXPECT_EQ(Clipboard(), digits);

        // The up-down control moves the length.
        ::SendDlgItemMessageW(dialog, IDC_PASSWORD_LENGTH_SPIN, UDM_SETPOS32, 0, 9);
        Generate(dialog);
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_TEXT).size(), 9u);
        ::SendDlgItemMessageW(dialog, IDC_PASSWORD_LENGTH_SPIN, UDM_SETPOS32, 0, 6);

        // Symbols only: the ten symbols, no others.
        Classes(dialog, false, false, false, true);
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"200");
        Generate(dialog);
        const std::u16string symbols = ItemText(dialog, IDC_PASSWORD_TEXT);
        EXPECT_EQ(symbols.size(), 200u);
        EXPECT_TRUE(AllOf(symbols, u"!@#$%^&*()"));
        EXPECT_NE(symbols.find(u'('), std::u16string::npos);   // the two beyond the check box's eight
        EXPECT_EQ(Clipboard(), symbols);

        // Back to numbers for what Cancel must keep.
        Classes(dialog, false, false, true, false);
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"6");
        Generate(dialog);
        digits = ItemText(dialog, IDC_PASSWORD_TEXT);
        Click(dialog, IDCANCEL);
    });
    // Cancel keeps what the button stored.
    EXPECT_FALSE(Run(driver, settings));
    EXPECT_FALSE(settings.allowLower);
    EXPECT_FALSE(settings.allowUpper);
    EXPECT_TRUE(settings.allowNumber);
    EXPECT_FALSE(settings.allowSymbol);
    EXPECT_EQ(settings.passwordLength, 6u);
    EXPECT_EQ(Clipboard(), digits);

    // The next opening starts from them; OK reports true.
    driver.Then([&](HWND dialog) {
        EXPECT_FALSE(Checked(dialog, IDC_PASSWORD_LOWERCASE));
        EXPECT_TRUE(Checked(dialog, IDC_PASSWORD_NUMBERS));
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_LENGTH), u"6");
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(Run(driver, settings));
}

TEST_F(PasswordDialogTest, NothingTickedChangesNothingButTheOptions) {
    Settings settings = kodrin::NewSettings();
    settings.passwordLength = 12;
    DialogDriver driver;
    std::u16string first;
    driver.Then([&](HWND dialog) {
        Generate(dialog);
        first = ItemText(dialog, IDC_PASSWORD_TEXT);
        ASSERT_EQ(first.size(), 12u);
        ASSERT_EQ(Clipboard(), first);

        Classes(dialog, false, false, false, false);
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"20");
        Generate(dialog);
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_TEXT), first);
        EXPECT_EQ(Clipboard(), first);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(Run(driver, settings));
    EXPECT_FALSE(settings.allowLower);
    EXPECT_FALSE(settings.allowUpper);
    EXPECT_FALSE(settings.allowNumber);
    EXPECT_FALSE(settings.allowSymbol);
    EXPECT_EQ(settings.passwordLength, 20u);
}

TEST_F(PasswordDialogTest, LengthRules) {
    Settings settings = kodrin::NewSettings();
    settings.passwordLength = 2500;   // beyond the control, from a hand-edited file
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_LENGTH), u"2500");
        Generate(dialog);
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_TEXT).size(), 1000u);

        // Digit grouping as the up-down control may show it reads whole.
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"1,000");
        Generate(dialog);
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_TEXT).size(), 1000u);
        EXPECT_EQ(settings.passwordLength, 1000u);

        // Length 0 gives the empty password and an empty clipboard.
        QvLibrary::WriteClipboardText(nullptr, u"before");
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"0");
        Generate(dialog);
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_TEXT), u"");
        EXPECT_FALSE(Clipboard().has_value());

        // A negative or empty length likewise; leading text is skipped.
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"-5");
        Generate(dialog);
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_TEXT), u"");
        EXPECT_EQ(static_cast<std::int32_t>(settings.passwordLength), -5);
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"");
        Generate(dialog);
        EXPECT_EQ(settings.passwordLength, 0u);
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"about 7 characters");
        Generate(dialog);
        EXPECT_EQ(ItemText(dialog, IDC_PASSWORD_TEXT).size(), 7u);
        EXPECT_EQ(settings.passwordLength, 7u);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(Run(driver, settings));
    EXPECT_EQ(settings.passwordLength, 7u);

    // Two presses give different passwords.
    driver.Then([&](HWND dialog) {
        SetItemText(dialog, IDC_PASSWORD_LENGTH, u"24");
        Generate(dialog);
        const std::u16string one = ItemText(dialog, IDC_PASSWORD_TEXT);
        Generate(dialog);
        EXPECT_NE(ItemText(dialog, IDC_PASSWORD_TEXT), one);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(Run(driver, settings));
}

}  // namespace
