// The application details dialog, run modally in-process and driven with
// real messages: the modes, every page's fields, the media rule, the date
// buttons, the program-file chooser and the stored rectangle.
#include "app/details_dialog.h"

#include <commdlg.h>
#include <dlgs.h>

#include "catalog/dates.h"
#include "details_test_support.h"
#include "platform/files.h"
#include "platform/image.h"
#include "support/temp_folder.h"
#include "ids.h"

namespace kodrin::test {
namespace {

using app::DetailsMode;
using app::RunDetailsDialog;

std::u16string FixturePath(const char16_t* name) {
    wchar_t buffer[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::u16string path = reinterpret_cast<const char16_t*>(buffer);
    path.erase(path.find_last_of(u"\\/") + 1);
    return path + u"fixtures\\" + name;
}

// The edits that hold one text field each, with the field.
struct TextControl {
    int id;
    std::u16string ApplicationRecord::* field;
};
const TextControl kTextControls[] = {
    {IDC_DETAILS_PATH, &ApplicationRecord::path},          {IDC_DETAILS_COMPANY, &ApplicationRecord::company},
    {IDC_DETAILS_HOME_PAGE, &ApplicationRecord::homePage},      {IDC_DETAILS_PROGRAM, &ApplicationRecord::program},
    {IDC_DETAILS_VERSION, &ApplicationRecord::version},       {IDC_DETAILS_INSTALL_DATE, &ApplicationRecord::installDate},
    {IDC_DETAILS_RELEASED_DATE, &ApplicationRecord::releasedDate},  {IDC_DETAILS_DESCRIPTION, &ApplicationRecord::description},
    {IDC_DETAILS_SUPPORT_PAGE, &ApplicationRecord::supportPage},   {IDC_DETAILS_EMAIL, &ApplicationRecord::email},
    {IDC_DETAILS_SUPPORT_PHONE, &ApplicationRecord::supportPhone},  {IDC_DETAILS_SUPPORT_ADDRESS, &ApplicationRecord::supportAddress},
    {IDC_DETAILS_LOGIN_PAGE, &ApplicationRecord::loginPage},     {IDC_DETAILS_PURCHASE_DATE, &ApplicationRecord::purchaseDate},
    {IDC_DETAILS_INSTALL_FILE, &ApplicationRecord::installFile},   {IDC_DETAILS_LICENSE_TYPE, &ApplicationRecord::licenseType},
    {IDC_DETAILS_PAYMENT_METHOD, &ApplicationRecord::paymentMethod}, {IDC_DETAILS_DATE_LAST_CHECKED, &ApplicationRecord::dateLastChecked},
    {IDC_DETAILS_LATEST_VERSION, &ApplicationRecord::latestVersion}, {IDC_DETAILS_COMMENTS, &ApplicationRecord::comments},
    {IDC_DETAILS_UPGRADE_PAGE, &ApplicationRecord::upgradePage},   {IDC_DETAILS_PAD_FILE, &ApplicationRecord::padFile},
    {IDC_DETAILS_USER_NAME, &ApplicationRecord::userName},      {IDC_DETAILS_ORGANIZATION, &ApplicationRecord::organization},
    {IDC_DETAILS_REGISTRATION_EMAIL, &ApplicationRecord::registrationEmail}, {IDC_DETAILS_SERIAL_NUMBER, &ApplicationRecord::serialNumber},
    {IDC_DETAILS_REGISTRATION_TYPE, &ApplicationRecord::registrationType},  {IDC_DETAILS_REGISTRATION_EXPIRE, &ApplicationRecord::registrationExpire},
    {IDC_DETAILS_REGISTRATION_KEY, &ApplicationRecord::registrationKey},   {IDC_DETAILS_CUSTOM1, &ApplicationRecord::custom1},
    {IDC_DETAILS_CUSTOM2, &ApplicationRecord::custom2},       {IDC_DETAILS_CUSTOM3, &ApplicationRecord::custom3},
    {IDC_DETAILS_CUSTOM4, &ApplicationRecord::custom4},       {IDC_DETAILS_CUSTOM5, &ApplicationRecord::custom5},
};

ApplicationRecord FullRecord() {
    ApplicationRecord record = NewRecord();
    int n = 0;
    for (const TextControl& control : kTextControls) {
        record.*(control.field) = u"value " + std::u16string(1, static_cast<char16_t>(u'A' + n++));
    }
    record.licenseType = u"Shareware";
    record.paymentMethod = u"Invoice";   // not in the catalog's list
    record.originalMedia = u"DVD";
    record.webPasswordDate = u"01/02/2003";
    record.pictureName = u"shot.png";
    record.picture = {1, 2, 3};
    record.categories = {u"Utilities", u"Office"};
    record.purchasePrice = 12.5;
    record.upgradePrice = 0;
    record.diskCount = 3;
    record.sortOrder = 7;
    record.recordId = 42;
    record.autoLogin = false;
    record.autoRemove = true;
    record.autoUpdate = true;
    record.hide = true;
    AddLoginField(record, LoginField{u"user", u"me", 0, LoginFieldType::StandardInput, true, false});
    AddLoginField(record, LoginField{u"pass", u"secret", 0, LoginFieldType::Password, false, false});
    return record;
}

std::vector<std::u16string> SelectedCategories(HWND dialog) {
    HWND list = ::GetDlgItem(dialog, IDC_DETAILS_CATEGORIES);
    std::vector<std::u16string> names;
    const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (::SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(i), 0) <= 0) continue;
        wchar_t text[128] = {};
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        names.emplace_back(reinterpret_cast<const char16_t*>(text));
    }
    return names;
}

using DetailsDialogTest = DialogTest;

TEST_F(DetailsDialogTest, ReadOnlyHasNoOkAndCancelKeepsTheRecord) {
    ApplicationRecord record = FullRecord();
    const ApplicationRecord before = record;
    bool checked = false;
    driver_.Then([&](HWND dialog) {
        EXPECT_FALSE(Visible(dialog, IDOK));
        EXPECT_TRUE(Visible(dialog, IDCANCEL));
        EXPECT_FALSE(Visible(dialog, IDC_DETAILS_WARNING));   // the warning belongs to multiple edit
        SetItemText(dialog, IDC_DETAILS_PROGRAM, u"changed");
        // Enter still reaches the hidden default button: nothing is written.
        Press(dialog, IDOK);
        EXPECT_TRUE(::IsWindow(dialog));
        checked = true;
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(RunDetailsDialog(app_, nullptr, DetailsMode::Edit, true, record, settings_, catalog_));
    EXPECT_TRUE(checked);
    EXPECT_EQ(record, before);

    // Cancel in an editable dialog leaves the record too.
    driver_.Then([&](HWND dialog) {
        EXPECT_TRUE(Visible(dialog, IDOK));
        SetItemText(dialog, IDC_DETAILS_COMPANY, u"changed");
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(RunDetailsDialog(app_, nullptr, DetailsMode::Edit, false, record, settings_, catalog_));
    EXPECT_EQ(record, before);
}

TEST_F(DetailsDialogTest, EditShowsEveryPageAndRoundTripsEveryField) {
    ApplicationRecord record = FullRecord();
    const ApplicationRecord before = record;
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), u"Application Details");
        // Each page shows its own controls only; the login list goes with its page.
        const int firstOfPage[] = {IDC_DETAILS_PATH, IDC_DETAILS_CATEGORIES, IDC_DETAILS_SUPPORT_PAGE, IDC_DETAILS_AUTO_LOGIN, IDC_DETAILS_PURCHASE_DATE, IDC_DETAILS_DATE_LAST_CHECKED, IDC_DETAILS_USER_NAME, IDC_DETAILS_CUSTOM1, IDC_DETAILS_PICTURE_BROWSE};
        for (int page = 0; page < 9; ++page) {
            ShowTab(dialog, page);
            for (int other = 0; other < 9; ++other) {
                EXPECT_EQ(Visible(dialog, firstOfPage[other]), other == page) << page << " " << other;
            }
            EXPECT_EQ(Visible(dialog, IDC_DETAILS_LOGIN_LIST), page == 3);
        }
        ShowTab(dialog, 1);
        EXPECT_TRUE(Visible(dialog, IDC_DETAILS_SORT_ORDER));   // the sort order outside multiple edit
        // Ctrl+Tab and Ctrl+Page Up move between the pages from any control.
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        ::SetKeyboardState(keys);
        MSG key{::GetDlgItem(dialog, IDC_DETAILS_DESCRIPTION), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(::CallMsgFilterW(&key, MSGF_DIALOGBOX));
        EXPECT_TRUE(Visible(dialog, IDC_DETAILS_SUPPORT_PAGE));
        key.wParam = VK_PRIOR;
        EXPECT_TRUE(::CallMsgFilterW(&key, MSGF_DIALOGBOX));
        EXPECT_TRUE(Visible(dialog, IDC_DETAILS_CATEGORIES));
        key.wParam = VK_PRIOR;
        ::CallMsgFilterW(&key, MSGF_DIALOGBOX);
        ::CallMsgFilterW(&key, MSGF_DIALOGBOX);
        EXPECT_TRUE(Visible(dialog, IDC_DETAILS_PICTURE_BROWSE));   // round from the first page to the last
        keys[VK_CONTROL] = 0;
        ::SetKeyboardState(keys);
        key.wParam = VK_TAB;
        EXPECT_FALSE(::CallMsgFilterW(&key, MSGF_DIALOGBOX));   // a plain Tab is the dialog's
        // What the controls show.
        for (const TextControl& control : kTextControls) {
            EXPECT_EQ(ItemText(dialog, control.id), record.*(control.field)) << control.id;
        }
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PURCHASE_PRICE), u"$12.50");
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_UPGRADE_PRICE), u"");   // a price of 0 shows nothing
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_DISK_COUNT), u"3");
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_MEDIA), u"DVD");
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_SORT_ORDER), u"7");
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PICTURE_NAME), u"shot.png");
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_CUSTOM1_LABEL), settings_.captions[0] + u":");
        EXPECT_EQ(SelectedCategories(dialog), (std::vector<std::u16string>{u"Utilities", u"Office"}));
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_DETAILS_HIDE), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_DETAILS_AUTO_REMOVE), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_DETAILS_AUTO_UPDATE), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_DETAILS_AUTO_LOGIN), BST_UNCHECKED);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::Edit, false, record, settings_, catalog_));
    EXPECT_EQ(record, before);
    EXPECT_EQ(settings_.mediaType, u"DVD");   // a chosen media becomes the default

    // Every control written back into its field.
    settings_.captions[0] = u"Seat";
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_CUSTOM1_LABEL), u"Seat:");
        for (const TextControl& control : kTextControls) SetItemText(dialog, control.id, u"new " + ItemText(dialog, control.id));
        SetItemText(dialog, IDC_DETAILS_PURCHASE_PRICE, u"$7.25");
        SetItemText(dialog, IDC_DETAILS_UPGRADE_PRICE, u"3");
        SetItemText(dialog, IDC_DETAILS_SORT_ORDER, u"-4");
        ::SendDlgItemMessageW(dialog, IDC_DETAILS_CATEGORIES, LB_SETSEL, TRUE, 0);    // Games
        ::SendDlgItemMessageW(dialog, IDC_DETAILS_CATEGORIES, LB_SETSEL, FALSE, 2);   // not Office
        ::CheckDlgButton(dialog, IDC_DETAILS_HIDE, BST_UNCHECKED);
        ::CheckDlgButton(dialog, IDC_DETAILS_AUTO_LOGIN, BST_CHECKED);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::Edit, false, record, settings_, catalog_));
    for (const TextControl& control : kTextControls) {
        EXPECT_EQ(record.*(control.field), u"new " + before.*(control.field)) << control.id;
    }
    EXPECT_EQ(record.purchasePrice, 7.25);
    EXPECT_EQ(record.upgradePrice, 3.0);
    EXPECT_EQ(record.sortOrder, -4);
    EXPECT_EQ(record.categories, (std::vector<std::u16string>{u"Games", u"Utilities"}));
    EXPECT_FALSE(record.hide);
    EXPECT_TRUE(record.autoLogin);
    EXPECT_TRUE(record.autoRemove);
    EXPECT_EQ(record.loginData, before.loginData);
    EXPECT_EQ(record.picture, before.picture);
    EXPECT_EQ(record.pictureName, before.pictureName);
    EXPECT_EQ(record.webPasswordDate, before.webPasswordDate);
    EXPECT_EQ(record.recordId, 42);
}

TEST_F(DetailsDialogTest, AddModeStartsFromTheCurrentCategoryAndDefaultMedia) {
    settings_.curCategory = u"Games";
    settings_.mediaType = u"Download";
    ApplicationRecord record = NewRecord();
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(SelectedCategories(dialog), (std::vector<std::u16string>{u"Games"}));
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_MEDIA), u"Download");
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PURCHASE_PRICE), u"");
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_DISK_COUNT), u"0");
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_DETAILS_AUTO_LOGIN), BST_CHECKED);   // a new record logs in automatically
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_DETAILS_HIDE), BST_UNCHECKED);
        SetItemText(dialog, IDC_DETAILS_PROGRAM, u"Editor");
        SetItemText(dialog, IDC_DETAILS_VERSION, u"2.0");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::Add, false, record, settings_, catalog_));
    EXPECT_EQ(record.program, u"Editor");
    EXPECT_EQ(record.categories, (std::vector<std::u16string>{u"Games"}));
    EXPECT_EQ(record.originalMedia, u"Download");
    EXPECT_EQ(record.webPasswordDate, settings_.today);   // an empty password date becomes today
    EXPECT_TRUE(record.autoLogin);
    EXPECT_TRUE(record.leaveHide);   // the leave-unchanged markers belong to multiple edit

    // Before it is stored, a new record with a version gets its check date.
    app::PrepareNewRecord(record, settings_);
    EXPECT_EQ(record.dateLastChecked, settings_.today);
    record.dateLastChecked = u"01/01/2001";
    app::PrepareNewRecord(record, settings_);
    EXPECT_EQ(record.dateLastChecked, u"01/01/2001");
}

TEST_F(DetailsDialogTest, MediaChoiceSetsTheDiskCountAndTheEmptyEntryClearsTheMedia) {
    settings_.mediaType = u"CD";
    ApplicationRecord record = FullRecord();
    driver_.Then([&](HWND dialog) {
        ShowTab(dialog, 4);
        // Positions in the sorted media set: CD 0, DVD 1, Download 2 count one disk.
        const std::pair<const char16_t*, const char16_t*> expected[] = {
            {u"CD", u"1"}, {u"Floppy", u"0"}, {u"DVD", u"1"}, {u"Other", u"0"}, {u"Download", u"1"}};
        for (const auto& [media, disks] : expected) {
            ChooseComboText(dialog, IDC_DETAILS_MEDIA, media);
            EXPECT_EQ(ItemText(dialog, IDC_DETAILS_DISK_COUNT), disks) << reinterpret_cast<const wchar_t*>(media);
        }
        // The empty entry comes first and counts no disk.
        HWND combo = ::GetDlgItem(dialog, IDC_DETAILS_MEDIA);
        ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DETAILS_MEDIA, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_MEDIA), u"");
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_DISK_COUNT), u"0");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::Edit, false, record, settings_, catalog_));
    EXPECT_EQ(record.originalMedia, u"");
    EXPECT_EQ(record.diskCount, 0);
    EXPECT_EQ(settings_.mediaType, u"CD");   // the default media stays
}

TEST_F(DetailsDialogTest, MultipleEditLeavesUndecidedBoxesAndEmptyFieldsAlone) {
    settings_.clearCommand = u"***";
    ApplicationRecord first = FullRecord();
    first.recordId = 0;
    ApplicationRecord second = NewRecord();
    second.company = u"Old Co";
    second.comments = u"keep me?";
    second.hide = false;
    second.sortOrder = 3;
    AddRecord(catalog_, first, false);
    AddRecord(catalog_, second, false);
    const std::vector<std::int32_t> ids{catalog_.records[0].recordId, catalog_.records[1].recordId};

    ApplicationRecord form = NewRecord();
    driver_.Then([&](HWND dialog) {
        EXPECT_TRUE(Visible(dialog, IDC_DETAILS_WARNING));
        ShowTab(dialog, 1);
        EXPECT_FALSE(Visible(dialog, IDC_DETAILS_SORT_ORDER));   // no sort order for several records
        EXPECT_FALSE(Visible(dialog, IDC_DETAILS_SORT_ORDER_LABEL));
        EXPECT_TRUE(Visible(dialog, IDC_DETAILS_CATEGORIES));
        EXPECT_TRUE(SelectedCategories(dialog).empty());
        for (int box : {IDC_DETAILS_HIDE, IDC_DETAILS_AUTO_REMOVE, IDC_DETAILS_AUTO_LOGIN, IDC_DETAILS_AUTO_UPDATE}) EXPECT_EQ(::IsDlgButtonChecked(dialog, box), BST_INDETERMINATE);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_MEDIA), u"");   // the first media entry: no change
        RECT tabs{}, list{};
        ::GetWindowRect(::GetDlgItem(dialog, IDC_DETAILS_CATEGORIES), &list);
        ::GetWindowRect(::GetDlgItem(dialog, IDC_DETAILS_TABS), &tabs);
        EXPECT_GE(list.top - tabs.top, 80 - 20 + 30 - 1);   // rows start below the warning
        ::CheckDlgButton(dialog, IDC_DETAILS_AUTO_UPDATE, BST_CHECKED);
        ::CheckDlgButton(dialog, IDC_DETAILS_HIDE, BST_UNCHECKED);
        SetItemText(dialog, IDC_DETAILS_COMPANY, u"New Co");
        SetItemText(dialog, IDC_DETAILS_COMMENTS, u"***");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::MultipleEdit, false, form, settings_, catalog_));
    EXPECT_FALSE(form.leaveAutoUpdate);
    EXPECT_TRUE(form.autoUpdate);
    EXPECT_FALSE(form.leaveHide);
    EXPECT_FALSE(form.hide);
    EXPECT_TRUE(form.leaveAutoLogin);
    EXPECT_TRUE(form.leaveAutoRemove);
    EXPECT_EQ(form.sortOrder, 0);
    EXPECT_EQ(form.originalMedia, u"");
    EXPECT_TRUE(form.categories.empty());

    EXPECT_EQ(app::ApplyFormToRecords(catalog_, {ids[0], 999, ids[1]}, form, settings_), 2);
    const ApplicationRecord& a = catalog_.records[0];
    const ApplicationRecord& b = catalog_.records[1];
    EXPECT_EQ(a.company, u"New Co");
    EXPECT_EQ(b.company, u"New Co");
    EXPECT_EQ(a.comments, u"");   // the erase command
    EXPECT_EQ(b.comments, u"");
    EXPECT_TRUE(a.autoUpdate);
    EXPECT_TRUE(b.autoUpdate);
    EXPECT_FALSE(a.hide);
    EXPECT_FALSE(a.autoLogin);   // undecided: unchanged
    EXPECT_TRUE(b.autoLogin);
    EXPECT_TRUE(a.autoRemove);
    EXPECT_EQ(a.originalMedia, u"DVD");
    EXPECT_EQ(a.sortOrder, 7);
    EXPECT_EQ(b.sortOrder, 3);
    EXPECT_EQ(a.categories, first.categories);
    EXPECT_EQ(a.program, first.program);
}

TEST_F(DetailsDialogTest, DateButtonsOfferTheFieldsDateAndWriteTheChosenOne) {
    SetDateStyle(settings_, 3);
    ApplicationRecord record = NewRecord();
    record.installDate = u"03/15/2010";
    record.releasedDate = u"04/01/2011";
    driver_.Then([&](HWND dialog) {
        Press(dialog, IDC_DETAILS_INSTALL_DATE_BUTTON);   // the picker runs inside this call
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_INSTALL_DATE), u"03/17/2010");
        Press(dialog, IDC_DETAILS_RELEASED_DATE_BUTTON);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_RELEASED_DATE), u"");   // erased
        Press(dialog, IDC_DETAILS_REGISTRATION_EXPIRE_BUTTON);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_REGISTRATION_EXPIRE), u"");   // cancelled: unchanged
        Click(dialog, IDOK);
    });
    driver_.Then([&](HWND picker) {
        HWND calendar = ::GetDlgItem(picker, IDC_DATE_CALENDAR);
        SYSTEMTIME shown{};
        ::SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
        EXPECT_EQ(shown.wYear, 2010);
        EXPECT_EQ(shown.wMonth, 3);
        EXPECT_EQ(shown.wDay, 15);
        SYSTEMTIME next = shown;
        next.wDay = 17;
        ::SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&next));
        ::PostMessageW(calendar, WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageW(calendar, WM_KEYUP, VK_RETURN, 0);
    });
    driver_.Then([](HWND picker) { Click(picker, IDOK); });       // Erase
    driver_.Then([](HWND picker) { Click(picker, IDCANCEL); });
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::Edit, false, record, settings_, catalog_));
    EXPECT_EQ(record.installDate, u"03/17/2010");
    EXPECT_EQ(record.releasedDate, u"");
}

TEST_F(DetailsDialogTest, ProgramFileFillsOnlyTheEmptyFields) {
    const std::u16string program = FixturePath(u"fixture_full.exe");
    ApplicationRecord record = NewRecord();
    record.company = u"Typed Co";
    driver_.Then([&](HWND dialog) {
        Press(dialog, IDC_DETAILS_CHOOSE_PROGRAM);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PATH), program);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_COMPANY), u"Typed Co");   // typed in: kept
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PROGRAM), u"Kodrin Fixture");
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_VERSION), u"1.2.3.4");
        EXPECT_FALSE(ItemText(dialog, IDC_DETAILS_INSTALL_DATE).empty());
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_INSTALL_DATE), ItemText(dialog, IDC_DETAILS_PURCHASE_DATE));
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PICTURE_NAME), program);

        // A second choice changes only the path: everything else is filled.
        SetItemText(dialog, IDC_DETAILS_VERSION, u"9");
        Press(dialog, IDC_DETAILS_CHOOSE_PROGRAM);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_VERSION), u"9");
        Click(dialog, IDOK);
    });
    for (int i = 0; i < 2; ++i) {
        driver_.Then([&](HWND chooser) {
            EXPECT_EQ(WindowText(chooser), u"Please select the program file of this application");
            HWND name = ::GetDlgItem(chooser, cmb13);
            if (name == nullptr) name = ::GetDlgItem(chooser, edt1);
            ::SetWindowTextW(name, W(program));
            Click(chooser, IDOK);
        });
    }
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::Add, false, record, settings_, catalog_));
    EXPECT_EQ(record.path, program);
    EXPECT_EQ(record.company, u"Typed Co");
    EXPECT_EQ(record.program, u"Kodrin Fixture");
    EXPECT_EQ(record.version, u"9");
    // The icon, saved as a bitmap named after the application.
    ASSERT_GT(record.picture.size(), 54u);
    EXPECT_EQ(record.picture[0], 'B');
    EXPECT_EQ(record.picture[1], 'M');
    EXPECT_EQ(record.pictureName, u"Kodrin Fixture.bmp");
}

void ChooseFile(HWND chooser, const std::u16string& path) {
    HWND name = ::GetDlgItem(chooser, cmb13);
    if (name == nullptr) name = ::GetDlgItem(chooser, edt1);
    ::SetWindowTextW(name, W(path));
    Click(chooser, IDOK);
}

TEST_F(DetailsDialogTest, ThePicturePageTakesImagesAndProgramIconsAndClearsAfterAsking) {
    TempFolder folder(u"kodrin-details-");
    ASSERT_TRUE(folder.Created());
    std::u16string image = folder.Path() + u"\\shot.png";
    // The system's temporary folder may end with a separator already.
    for (std::size_t at; (at = image.find(u"\\\\")) != std::u16string::npos;) image.erase(at, 1);
    // A picture file is taken only when it decodes: a real 2x2 PNG.
    platform::Image pixels{2, 2, std::vector<std::uint8_t>(16, 0x80)};
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::EncodeImage(pixels, platform::ImageFormat::Png, bytes));
    ASSERT_TRUE(platform::WriteFileAtomically(image, bytes));
    const std::u16string program = FixturePath(u"fixture_full.exe");

    ApplicationRecord record = NewRecord();
    driver_.Then([&](HWND dialog) {
        ShowTab(dialog, 8);
        EXPECT_TRUE(Visible(dialog, IDC_DETAILS_PICTURE_FRAME));
        // An image file is taken as it is.
        Press(dialog, IDC_DETAILS_PICTURE_BROWSE);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PICTURE_NAME), image);
        // A program gives its icon as a bitmap, named after the application,
        // and the frame shows it in its top-left corner.
        HWND frame = ::GetDlgItem(dialog, IDC_DETAILS_PICTURE_FRAME);
        Press(dialog, IDC_DETAILS_PICTURE_BROWSE);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PICTURE_NAME), program);
        ::UpdateWindow(frame);
        HDC dc = ::GetDC(frame);
        const COLORREF corner = ::GetPixel(dc, 4, 4);
        RECT client{};
        ::GetClientRect(frame, &client);
        const COLORREF opposite = ::GetPixel(dc, client.right - 4, client.bottom - 4);
        ::ReleaseDC(frame, dc);
        EXPECT_GT(GetRValue(corner), 200) << std::hex << corner;
        EXPECT_LT(GetGValue(corner), 60) << std::hex << corner;
        EXPECT_EQ(opposite, ::GetSysColor(COLOR_BTNFACE));
        // A click shows it full size.
        ::SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        // Clear asks first: No keeps the picture.
        Press(dialog, IDC_DETAILS_PICTURE_CLEAR);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PICTURE_NAME), program);
        Click(dialog, IDOK);
    });
    driver_.Then([&](HWND chooser) {
        EXPECT_EQ(WindowText(chooser), u"Select a picture for this software");
        ChooseFile(chooser, image);
    });
    driver_.Then([&](HWND chooser) { ChooseFile(chooser, program); });
    driver_.Then([](HWND view) {   // the full-size view
        HWND picture = ::GetDlgItem(view, IDC_PICTURE);
        RECT r{};
        ::GetWindowRect(picture, &r);
        EXPECT_EQ(r.right - r.left, 32);   // the icon's own size
        ::PostMessageW(view, WM_COMMAND, IDCANCEL, 0);
    });
    driver_.Then([](HWND box) {
        const auto texts = StaticTexts(box);
        EXPECT_NE(std::find(texts.begin(), texts.end(), u"Are you sure you want to remove this image?"), texts.end());
        Click(box, IDNO);
    });
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::Add, false, record, settings_, catalog_));
    EXPECT_EQ(record.pictureName, u"Kodrin Fixture.bmp");
    ASSERT_GT(record.picture.size(), 54u);
    EXPECT_EQ(record.picture[0], 'B');
    EXPECT_EQ(record.path, u"");   // the picture does not touch the program's path

    // Yes clears the picture; Cancel would have left the record alone.
    const std::vector<std::uint8_t> kept = record.picture;
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PICTURE_NAME), u"Kodrin Fixture.bmp");
        // The record's own picture is shown from the start.
        ShowTab(dialog, 8);
        HWND frame = ::GetDlgItem(dialog, IDC_DETAILS_PICTURE_FRAME);
        ::UpdateWindow(frame);
        HDC dc = ::GetDC(frame);
        EXPECT_GT(GetRValue(::GetPixel(dc, 4, 4)), 200);
        ::ReleaseDC(frame, dc);
        Press(dialog, IDC_DETAILS_PICTURE_CLEAR);
        EXPECT_EQ(ItemText(dialog, IDC_DETAILS_PICTURE_NAME), u"");
        Click(dialog, IDCANCEL);
    });
    driver_.Then([](HWND box) { Click(box, IDYES); });
    EXPECT_FALSE(RunDetailsDialog(app_, nullptr, DetailsMode::Edit, false, record, settings_, catalog_));
    EXPECT_EQ(record.picture, kept);

    driver_.Then([&](HWND dialog) {
        Press(dialog, IDC_DETAILS_PICTURE_CLEAR);
        Press(dialog, IDC_DETAILS_PICTURE_BROWSE);
        Click(dialog, IDOK);
    });
    driver_.Then([](HWND box) { Click(box, IDYES); });
    driver_.Then([&](HWND chooser) { ChooseFile(chooser, image); });
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::Edit, false, record, settings_, catalog_));
    EXPECT_EQ(record.pictureName, u"shot.png");
    EXPECT_EQ(record.picture, bytes);

    driver_.Then([&](HWND dialog) {
        Press(dialog, IDC_DETAILS_PICTURE_CLEAR);
        Click(dialog, IDOK);
    });
    driver_.Then([](HWND box) { Click(box, IDYES); });
    ASSERT_TRUE(RunDetailsDialog(app_, nullptr, DetailsMode::Edit, false, record, settings_, catalog_));
    EXPECT_EQ(record.pictureName, u"");
    EXPECT_TRUE(record.picture.empty());
}

TEST_F(DetailsDialogTest, TheDialogKeepsItsRectangleInTheSettings) {
    settings_.editX = 40;
    settings_.editY = 30;
    settings_.editWidth = 40 + 640;    // right edge
    settings_.editHeight = 30 + 500;   // bottom edge
    ApplicationRecord record = NewRecord();
    driver_.Then([&](HWND dialog) {
        RECT r{};
        ::GetWindowRect(dialog, &r);
        EXPECT_EQ(r.left, 40);
        EXPECT_EQ(r.top, 30);
        EXPECT_EQ(r.right - r.left, 640);
        EXPECT_EQ(r.bottom - r.top, 500);
        RECT tabs{};
        ::GetWindowRect(::GetDlgItem(dialog, IDC_DETAILS_TABS), &tabs);
        EXPECT_EQ(tabs.right - tabs.left, 640 - 40);
        EXPECT_EQ(tabs.bottom - tabs.top, 500 - 100);
        ::MoveWindow(dialog, 60, 50, 700, 560, TRUE);   // a resize is stored at once
        EXPECT_EQ(settings_.editX, 60);
        EXPECT_EQ(settings_.editHeight, 50 + 560);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(RunDetailsDialog(app_, nullptr, DetailsMode::Add, false, record, settings_, catalog_));
    EXPECT_EQ(settings_.editWidth, 60 + 700);

    // A rectangle on no screen is not used: the dialog is centred instead.
    settings_.editX = -20000;
    settings_.editY = -20000;
    settings_.editWidth = -19000;
    settings_.editHeight = -19000;
    driver_.Then([&](HWND dialog) {
        RECT r{};
        ::GetWindowRect(dialog, &r);
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(RunDetailsDialog(app_, nullptr, DetailsMode::Add, false, record, settings_, catalog_));
    EXPECT_GE(settings_.editX, 0);
}

}  // namespace
}  // namespace kodrin::test
