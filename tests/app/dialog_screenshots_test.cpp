// Renders the program's dialogs into PNGs for the documentation. Not a test:
// `make screenshots` runs it with
//   app_tests --gtest_also_run_disabled_tests --gtest_filter='Screenshots.*'
// and KODRIN_SCREENSHOTS naming the folder that receives the pictures.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/details_dialog.h"
#include "app/main_dialogs.h"
#include "app/options_dialog.h"
#include "app/password_dialog.h"
#include "app/statistics_dialog.h"
#include "catalog/catalog.h"
#include "catalog/dates.h"
#include "catalog/record.h"
#include "catalog/settings.h"
#include "framework/app.h"
#include "support/win32/capture.h"
#include "support/win32/dialog_driver.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::test {
namespace {

// Shows every page of a dialog whose pages hang on the tab strip tabsId and
// saves each as <prefix>-<n>.png, then cancels the dialog.
DialogDriver::Script EveryPage(const std::u16string& folder, const std::u16string& prefix, int tabsId) {
    return [folder, prefix, tabsId](HWND dialog) {
        HWND tabs = ::GetDlgItem(dialog, tabsId);
        const int pages = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        EXPECT_GT(pages, 0);
        for (int page = 0; page < pages; ++page) {
            ::SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
            NMHDR header{tabs, static_cast<UINT_PTR>(tabsId), static_cast<UINT>(TCN_SELCHANGE)};
            ::SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(tabsId), reinterpret_cast<LPARAM>(&header));
            EXPECT_TRUE(SaveWindowPicture(dialog, folder, prefix + u"-" + std::u16string(1, u'1' + page) + u".png"));
        }
        Click(dialog, IDCANCEL);
    };
}

DialogDriver::Script Once(const std::u16string& folder, const std::u16string& name, int closeId) {
    return [folder, name, closeId](HWND dialog) {
        EXPECT_TRUE(SaveWindowPicture(dialog, folder, name));
        Click(dialog, closeId);
    };
}

ApplicationRecord SampleRecord() {
    ApplicationRecord r = NewRecord();
    r.company = u"Brightline Labs";
    r.program = u"PixelForge";
    r.version = u"7.1";
    r.latestVersion = u"8.0";
    r.description = u"Photo editor with layers, masks and batch conversion";
    r.path = u"C:\\Program Files\\PixelForge\\PixelForge.exe";
    r.installFile = u"D:\\Setup\\PixelForge-7.1-setup.exe";
    r.homePage = u"https://www.brightline.example/pixelforge/";
    r.supportPage = u"https://www.brightline.example/support/";
    r.upgradePage = u"https://www.brightline.example/pixelforge/upgrade/";
    r.loginPage = u"https://account.brightline.example/login";
    r.email = u"support@brightline.example";
    r.supportPhone = u"+1 555 0142";
    r.userName = u"Ann Reader";
    r.organization = u"Reader Photography";
    r.registrationKey = u"PF7-88AC-1209";
    r.serialNumber = u"SN-0071-4410";
    r.registrationEmail = u"ann.reader@example.org";
    r.licenseType = u"Shareware";
    r.paymentMethod = u"Card";
    r.originalMedia = u"DVD";
    r.diskCount = 1;
    r.purchasePrice = 89.00;
    r.upgradePrice = 39.00;
    r.purchaseDate = u"03/14/2024";
    r.dateLastChecked = FormatDate(Today(), 3);
    r.comments = u"Upgrade discount until the end of the year.";
    r.categories = {u"Graphics"};
    AddLoginField(r, LoginField{u"email", u"ann.reader@example.org", 0, LoginFieldType::StandardInput, true, false});
    AddLoginField(r, LoginField{u"password", u"correct-horse-42", 0, LoginFieldType::Password, true, false});
    return r;
}

TEST(Screenshots, DISABLED_Dialogs) {
    const std::u16string folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KODRIN_SCREENSHOTS names the output folder";
    QvLibrary::QvApp program(STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE);
    Settings settings = NewSettings();
    Catalog catalog;
    catalog.options = &settings;
    for (const char16_t* name : {u"Utilities", u"Graphics", u"Office"}) AddCategory(catalog, name);
    catalog.licenseTypes = {u"Freeware", u"Shareware", u"Commercial"};
    catalog.paymentMethods = {u"Card", u"Cash", u"Invoice"};
    ApplicationRecord record = SampleRecord();
    AddRecord(catalog, record, false);
    DialogDriver driver;

    driver.Then(Once(folder, u"about.png", 2));
    app::ShowAboutDialog(program, nullptr);

    driver.Then([&](HWND dialog) {
        SetItemText(dialog, IDC_EXPORT_FILE, u"C:\\Users\\Ann\\Documents\\software.csv");
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_EXPORT_FILE, EN_CHANGE),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_EXPORT_FILE)));
        Once(folder, u"export.png", IDCANCEL)(dialog);
    });
    app::AskExportOptions(program, nullptr, catalog, settings);

    driver.Then(EveryPage(folder, u"details", IDC_DETAILS_TABS));
    app::RunDetailsDialog(program, nullptr, app::DetailsMode::Edit, false, record, settings, catalog);

    driver.Then(EveryPage(folder, u"options", IDC_OPTIONS_TABS));
    app::RunOptionsDialog(program, nullptr, settings);

    driver.Then(Once(folder, u"password-generator.png", IDCANCEL));
    app::RunPasswordGenerator(program, nullptr, settings);

    driver.Then(Once(folder, u"statistics.png", IDOK));
    app::ShowStatistics(program, nullptr, catalog, u"<All>");

    EXPECT_EQ(driver.Pending(), 0);
    EXPECT_EQ(driver.Unexpected(), 0);
    DrainMessages();
}

}  // namespace
}  // namespace kodrin::test
