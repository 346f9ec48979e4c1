// The login-field dialogs and the Login page of the details dialog, run
// modally in-process and driven with real messages.
#include "app/login_dialogs.h"

#include <cwctype>

#include "app/details_dialog.h"
#include "details_test_support.h"
#include "ids.h"

namespace kodrin::test {
namespace {

using app::RunLoginInfoDialog;
using app::RunSelectFieldDialog;

std::vector<std::u16string> ComboTexts(HWND combo) {
    std::vector<std::u16string> texts;
    const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        texts.emplace_back(reinterpret_cast<const char16_t*>(text));
    }
    return texts;
}

using LoginDialogsTest = DialogTest;

TEST_F(LoginDialogsTest, LoginInformationEditsOneFieldAndNeedsANameOrAValue) {
    LoginField field{u"", u"", 5, LoginFieldType::StandardInput, true, false};
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), u"Login Information");
        HWND types = ::GetDlgItem(dialog, IDC_LOGIN_FIELD_TYPE);
        // Sorted texts; the field's type selected.
        EXPECT_EQ(ComboTexts(types), (std::vector<std::u16string>{u"Checkbox", u"Password or Security Info",
                                                                   u"Standard Input", u"Submit Button"}));
        EXPECT_EQ(ItemText(dialog, IDC_LOGIN_FIELD_TYPE), u"Standard Input");
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_LOGIN_USE_FOR_LOGIN), BST_CHECKED);
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_LOGIN_VALUE, EM_GETPASSWORDCHAR, 0, 0), 0);
        // Neither a name nor a value: OK does nothing.
        Press(dialog, IDOK);
        EXPECT_TRUE(::IsWindowVisible(dialog));
        SetItemText(dialog, IDC_LOGIN_VALUE, u"remember");
        ::SendMessageW(types, CB_SETCURSEL, 0, 0);   // Checkbox
        ::CheckDlgButton(dialog, IDC_LOGIN_USE_FOR_LOGIN, BST_UNCHECKED);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(RunLoginInfoDialog(app_, nullptr, field, settings_, false));
    EXPECT_EQ(field.name, u"");
    EXPECT_EQ(field.value, u"remember");
    EXPECT_EQ(field.type, LoginFieldType::Checkbox);
    EXPECT_FALSE(field.use);
    EXPECT_EQ(field.id, 5);

    // Cancel leaves the field; a password value is masked; read-only has no OK.
    LoginField secret{u"pass", u"hunter2", 6, LoginFieldType::Password, true, false};
    const LoginField before = secret;
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_LOGIN_VALUE, EM_GETPASSWORDCHAR, 0, 0), L'x');
        EXPECT_EQ(ItemText(dialog, IDC_LOGIN_FIELD_TYPE), u"Password or Security Info");
        EXPECT_FALSE(Visible(dialog, IDOK));
        SetItemText(dialog, IDC_LOGIN_FIELD_NAME, u"other");
        Press(dialog, IDOK);   // Enter on a read-only dialog
        EXPECT_TRUE(::IsWindowVisible(dialog));
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(RunLoginInfoDialog(app_, nullptr, secret, settings_, true));
    EXPECT_EQ(secret, before);

    // A type the list does not know (from a newer file) is kept.
    LoginField unknown{u"x", u"y", 8, static_cast<LoginFieldType>(7), true, false};
    driver_.Then([](HWND dialog) { Click(dialog, IDOK); });
    ASSERT_TRUE(RunLoginInfoDialog(app_, nullptr, unknown, settings_, false));
    EXPECT_EQ(static_cast<int>(unknown.type), 7);

    settings_.showPasswords = true;
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_LOGIN_VALUE, EM_GETPASSWORDCHAR, 0, 0), 0);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(RunLoginInfoDialog(app_, nullptr, secret, settings_, false));
}

TEST_F(LoginDialogsTest, GenerateRandomTakesThePasswordFromTheClipboard) {
    // The program's own generator, made from the options: six digits.
    settings_.allowLower = settings_.allowUpper = settings_.allowSymbol = false;
    settings_.allowNumber = true;
    settings_.passwordLength = 6;
    LoginField field{u"pin", u"old", 1, LoginFieldType::Password, true, false};
    driver_.Then([&](HWND dialog) {
        Press(dialog, IDC_LOGIN_GENERATE_RANDOM);
        const std::u16string value = ItemText(dialog, IDC_LOGIN_VALUE);
        EXPECT_EQ(value.size(), 6u);
        for (char16_t c : value) EXPECT_TRUE(c >= u'0' && c <= u'9');
        EXPECT_EQ(ClipboardText(), value);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(RunLoginInfoDialog(app_, nullptr, field, settings_, false));
    EXPECT_EQ(field.value.size(), 6u);

    // A generator that the user cancels changes nothing; one that ends with OK
    // hands over the clipboard's text, and an empty clipboard empties the value.
    int runs = 0;
    bool accept = false;
    app::PasswordGenerator generator = [&](HWND owner) {
        ++runs;
        EXPECT_NE(owner, nullptr);
        return accept;
    };
    driver_.Then([&](HWND dialog) {
        PutOnClipboard(u"from the generator");
        Press(dialog, IDC_LOGIN_GENERATE_RANDOM);
        EXPECT_EQ(ItemText(dialog, IDC_LOGIN_VALUE), u"old");
        accept = true;
        Press(dialog, IDC_LOGIN_GENERATE_RANDOM);
        EXPECT_EQ(ItemText(dialog, IDC_LOGIN_VALUE), u"from the generator");
        if (::OpenClipboard(nullptr)) {
            ::EmptyClipboard();
            ::CloseClipboard();
        }
        Press(dialog, IDC_LOGIN_GENERATE_RANDOM);
        EXPECT_EQ(ItemText(dialog, IDC_LOGIN_VALUE), u"");
        SetItemText(dialog, IDC_LOGIN_VALUE, u"kept");
        Click(dialog, IDOK);
    });
    field.value = u"old";
    ASSERT_TRUE(RunLoginInfoDialog(app_, nullptr, field, settings_, false, generator));
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(field.value, u"kept");
}

TEST(LoginRows, MaskPasswordsUnlessShownAndNameEveryType) {
    const LoginField secret{u"pw", u"abc", 1, LoginFieldType::Password, false, false};
    EXPECT_EQ(app::LoginRowTexts(secret, false),
              (std::vector<std::u16string>{u"pw", u"xxx", u"Password or Security Info", u"No"}));
    EXPECT_EQ(app::LoginRowTexts(secret, true)[1], u"abc");
    const LoginField box{u"keep", u"1", 2, LoginFieldType::Checkbox, true, false};
    EXPECT_EQ(app::LoginRowTexts(box, false)[1], u"1");   // only passwords are masked
    EXPECT_EQ(app::LoginRowTexts(box, false)[2], u"Checkbox");
    const LoginField submit{u"go", u"", 3, LoginFieldType::SubmitButton, true, false};
    EXPECT_EQ(app::LoginRowTexts(submit, false)[2], u"Submit Button");
    const LoginField unknown{u"?", u"", 4, static_cast<LoginFieldType>(9), true, false};
    EXPECT_EQ(app::LoginRowTexts(unknown, false)[2], u"");
}

TEST_F(LoginDialogsTest, SelectFieldOffersAutoAndEachKeyOnceAndStaysOnTop) {
    const std::vector<std::u16string> keys{u"user", u"Email", u"USER", u"login", u"email"};
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), u"Select Field for (s3cret)");
        EXPECT_NE(::GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
        HWND list = ::GetDlgItem(dialog, IDC_SELECT_FIELD_LIST);
        EXPECT_EQ(ComboTexts(list), (std::vector<std::u16string>{u"<auto>", u"Email", u"login", u"user"}));
        EXPECT_EQ(ItemText(dialog, IDC_SELECT_FIELD_LIST), u"<auto>");
        EXPECT_EQ(::GetFocus(), list);
        ::SendMessageW(list, CB_SETCURSEL, 2, 0);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(RunSelectFieldDialog(app_, nullptr, u"s3cret", keys), std::optional<std::u16string>(u"login"));

    driver_.Then([](HWND dialog) { Click(dialog, IDCANCEL); });
    auto select = app::SelectFieldWithDialog(app_, nullptr);
    EXPECT_EQ(select(u"v", keys), std::nullopt);

    driver_.Then([](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(select(u"v", {}), std::optional<std::u16string>(u"<auto>"));
}

TEST_F(LoginDialogsTest, TheLoginPageAddsEditsDeletesAndCopiesFields) {
    ApplicationRecord record = NewRecord();
    record.recordId = 7;
    AddLoginField(record, LoginField{u"user", u"me", 0, LoginFieldType::StandardInput, true, false});
    AddLoginField(record, LoginField{u"pass", u"hunter2", 0, LoginFieldType::Password, false, false});
    ASSERT_EQ(record.nextLoginFieldId, 2);

    driver_.Then([&](HWND dialog) {
        ShowTab(dialog, 3);
        HWND list = ::GetDlgItem(dialog, IDC_DETAILS_LOGIN_LIST);
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(::IsWindowVisible(list));
        ASSERT_EQ(ListCount(list), 2);
        EXPECT_EQ(ListText(list, 0, 0), u"user");
        EXPECT_EQ(ListText(list, 0, 1), u"me");
        EXPECT_EQ(ListText(list, 0, 2), u"Standard Input");
        EXPECT_EQ(ListText(list, 0, 3), u"Yes");
        EXPECT_EQ(ListText(list, 1, 1), u"xxxxxxx");   // masked
        EXPECT_EQ(ListText(list, 1, 2), u"Password or Security Info");
        EXPECT_EQ(ListText(list, 1, 3), u"No");

        // Enabling by selection.
        EXPECT_TRUE(Enabled(dialog, IDC_DETAILS_LOGIN_ADD));
        EXPECT_FALSE(Enabled(dialog, IDC_DETAILS_LOGIN_EDIT));
        EXPECT_FALSE(Enabled(dialog, IDC_DETAILS_LOGIN_DELETE));
        EXPECT_FALSE(Enabled(dialog, IDC_DETAILS_LOGIN_COPY));
        SelectListRow(list, 1, true);
        EXPECT_TRUE(Enabled(dialog, IDC_DETAILS_LOGIN_EDIT));
        EXPECT_TRUE(Enabled(dialog, IDC_DETAILS_LOGIN_DELETE));
        EXPECT_TRUE(Enabled(dialog, IDC_DETAILS_LOGIN_COPY));
        Press(dialog, IDC_DETAILS_LOGIN_COPY);
        EXPECT_EQ(ClipboardText(), u"hunter2");   // copied in clear
        SelectListRow(list, 0, true);
        EXPECT_FALSE(Enabled(dialog, IDC_DETAILS_LOGIN_EDIT));
        EXPECT_TRUE(Enabled(dialog, IDC_DETAILS_LOGIN_DELETE));
        EXPECT_FALSE(Enabled(dialog, IDC_DETAILS_LOGIN_COPY));

        // Add: the new field takes the next id.
        SelectListRow(list, 0, false);
        SelectListRow(list, 1, false);
        Press(dialog, IDC_DETAILS_LOGIN_ADD);
        ASSERT_EQ(ListCount(list), 3);
        EXPECT_EQ(ListText(list, 2, 0), u"remember");
        EXPECT_EQ(ListText(list, 2, 2), u"Checkbox");

        // Edit the first row.
        SelectListRow(list, 0, true);
        Press(dialog, IDC_DETAILS_LOGIN_EDIT);
        EXPECT_EQ(ListText(list, 0, 1), u"you");

        // Delete: declined, then accepted for two rows.
        SelectListRow(list, 1, true);
        Press(dialog, IDC_DETAILS_LOGIN_DELETE);
        EXPECT_EQ(ListCount(list), 3);
        Press(dialog, IDC_DETAILS_LOGIN_DELETE);
        ASSERT_EQ(ListCount(list), 1);
        EXPECT_EQ(ListText(list, 0, 0), u"remember");
        EXPECT_FALSE(Enabled(dialog, IDC_DETAILS_LOGIN_DELETE));
        Click(dialog, IDOK);
    });
    driver_.Then([](HWND info) {   // Add
        EXPECT_EQ(ItemText(info, IDC_LOGIN_FIELD_TYPE), u"Standard Input");
        EXPECT_EQ(::IsDlgButtonChecked(info, IDC_LOGIN_USE_FOR_LOGIN), BST_CHECKED);
        SetItemText(info, IDC_LOGIN_FIELD_NAME, u"remember");
        SetItemText(info, IDC_LOGIN_VALUE, u"1");
        ::SendDlgItemMessageW(info, IDC_LOGIN_FIELD_TYPE, CB_SETCURSEL, 0, 0);
        Click(info, IDOK);
    });
    driver_.Then([](HWND info) {   // Edit
        EXPECT_EQ(ItemText(info, IDC_LOGIN_FIELD_NAME), u"user");
        SetItemText(info, IDC_LOGIN_VALUE, u"you");
        Click(info, IDOK);
    });
    driver_.Then([](HWND box) {
        const auto texts = StaticTexts(box);
        EXPECT_NE(std::find(texts.begin(), texts.end(),
                            u"Are you sure you want to delete the selected login information?"),
                  texts.end());
        Click(box, IDNO);
    });
    driver_.Then([](HWND box) { Click(box, IDYES); });

    ASSERT_TRUE(app::RunDetailsDialog(app_, nullptr, app::DetailsMode::Edit, false, record, settings_, catalog_));
    ASSERT_EQ(record.loginData.size(), 1u);
    EXPECT_EQ(record.loginData[0].name, u"remember");
    EXPECT_EQ(record.loginData[0].value, u"1");
    EXPECT_EQ(record.loginData[0].type, LoginFieldType::Checkbox);
    EXPECT_EQ(record.loginData[0].id, 3);
    EXPECT_EQ(record.nextLoginFieldId, 3);
}

TEST_F(LoginDialogsTest, OpenInBrowserUsesTheProgramsBrowserUnlessTheDefaultOneIsChosen) {
    ApplicationRecord record = NewRecord();
    record.recordId = 3;
    AddLoginField(record, LoginField{u"user", u"me", 0, LoginFieldType::StandardInput, true, false});
    std::vector<std::u16string> opened;
    app::DetailsServices services;
    services.openLoginPage = [&](HWND, const std::u16string& address, std::vector<LoginField>& fields) {
        opened.push_back(address);
        EXPECT_EQ(fields.size(), 1u);
        // Each opening starts without the marks of the one before.
        EXPECT_FALSE(fields[0].automationMark);
        fields[0].automationMark = true;
    };
    driver_.Then([&](HWND dialog) {
        Press(dialog, IDC_DETAILS_OPEN_LOGIN_PAGE);   // empty address: nothing
        SetItemText(dialog, IDC_DETAILS_LOGIN_PAGE, u"http://127.0.0.1:9/login");
        Press(dialog, IDC_DETAILS_OPEN_LOGIN_PAGE);
        Press(dialog, IDC_DETAILS_OPEN_LOGIN_PAGE);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(
        app::RunDetailsDialog(app_, nullptr, app::DetailsMode::Edit, false, record, settings_, catalog_, services));
    EXPECT_EQ(opened, (std::vector<std::u16string>{u"http://127.0.0.1:9/login", u"http://127.0.0.1:9/login"}));
}

}  // namespace
}  // namespace kodrin::test
