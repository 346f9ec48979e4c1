// The program's update checks against PAD files served on the loopback
// address: Check Application (3012) and Check All for Updates with its
// result list; and the result list's screenshot for the documentation.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/update_check.h"
#include "catalog/datafile.h"
#include "catalog/dates.h"
#include "framework/app.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "support/win32/capture.h"
#include "support/win32/dialog_driver.h"
#include "update/loopback_server.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::test {
namespace {

using app::MainWindow;

std::string Pad(const std::string& version, const std::string& download = "") {
    std::string text = "<XML_DIZ_INFO><Program_Info><Program_Version>" + version + "</Program_Version></Program_Info>";
    if (!download.empty()) text += "<Primary_Download_URL>" + download + "</Primary_Download_URL>";
    return text + "</XML_DIZ_INFO>";
}

// The rows of the result list: each row's four cells joined by " | ".
std::vector<std::u16string> ResultRows(HWND dialog) {
    HWND list = ::GetDlgItem(dialog, IDC_CHECK_RESULTS_LIST);
    std::vector<std::u16string> rows;
    const int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        std::u16string line;
        for (int column = 0; column < 4; ++column) {
            wchar_t text[256] = {};
            ListView_GetItemText(list, row, column, text, 256);
            if (column > 0) line += u" | ";
            line += reinterpret_cast<const char16_t*>(text);
        }
        rows.push_back(line);
    }
    return rows;
}

class UpdateCheckWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running());
        ASSERT_TRUE(folder_.Created());
        root_ = folder_.Path() + u"\\";
        company_ = u"KodrinTest-" + std::u16string(platform::FileNamePart(folder_.Path()));
        config_.registryCompany = company_;
        config_.instanceName = company_;
        config_.programFolder = root_ + u"program";
        config_.userDataFolder = root_ + u"user\\";
        ASSERT_TRUE(platform::CreateFolders(config_.programFolder));
        ASSERT_TRUE(platform::CreateFolders(config_.userDataFolder));
        driver_.Ignore([](HWND dialog) { return ::GetDlgItem(dialog, IDC_PROGRESS_BAR) != nullptr; });
        ASSERT_TRUE(app::RegisterMainWindowClass(::GetModuleHandleW(nullptr)));
        server_.Serve("/editor.xml", {200, Pad("2.1"), "text/xml"});
        server_.Serve("/paint.xml", {200, Pad("1.0", "http://example.com/paint.exe"), "text/xml"});
        server_.Serve("/home.html", {200, "<html>Welcome</html>", "text/html"});
    }

    void TearDown() override {
        if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
        DrainMessages();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>((u"Software\\" + company_).c_str()));
        EXPECT_EQ(driver_.Pending(), 0);
        EXPECT_EQ(driver_.Unexpected(), 0);
    }

    // Editor (PAD: 2.1, newer), Notes (no PAD file), Paint (PAD: 1.0,
    // current), Site (an HTML page), Gone (404), all on the tab Tools.
    std::u16string WriteCatalog() {
        Settings settings = NewSettings();
        Catalog catalog;
        catalog.options = &settings;
        AddCategory(catalog, u"Tools");
        const auto add = [&](const char16_t* name, const char16_t* version, std::u16string pad) {
            ApplicationRecord r = NewRecord();
            r.program = name;
            r.path = u"C:\\Programs\\" + std::u16string(name) + u".exe";
            r.version = version;
            r.padFile = std::move(pad);
            r.categories = {u"Tools"};
            AddRecord(catalog, r, false);
        };
        add(u"Editor", u"2.0", server_.Url16("/editor.xml"));
        add(u"Notes", u"1.0", u"");
        add(u"Paint", u"1.0", server_.Url16("/paint.xml"));
        add(u"Site", u"", server_.Url16("/home.html"));
        add(u"Gone", u"1", server_.Url16("/missing.xml"));
        settings.curCategory = u"Tools";
        const std::u16string path = root_ + u"catalog.xml";
        EXPECT_TRUE(SaveCatalog(catalog, settings, path, u""));
        return path;
    }

    MainWindow* StartOn(const std::u16string& path) {
        config_.commandLine = u"kodrin.exe /F" + path;
        window_ = app::CreateMainWindow(::GetModuleHandleW(nullptr), config_);
        if (window_ == nullptr) return nullptr;
        PumpUntil([&] {
            MainWindow* w = ::IsWindow(window_) ? MainWindow::FromHandle(window_) : nullptr;
            return w == nullptr || w->Started();
        }, 15000);
        return ::IsWindow(window_) ? MainWindow::FromHandle(window_) : nullptr;
    }

    void Close() {
        ::SendMessageW(window_, WM_CLOSE, 0, 0);
        DrainMessages();
        window_ = nullptr;
    }

    const ApplicationRecord& Named(MainWindow& w, std::u16string_view name) {
        for (const ApplicationRecord& r : w.GetCatalog().records) {
            if (r.program == name) return r;
        }
        static const ApplicationRecord none;
        ADD_FAILURE() << "no record";
        return none;
    }

    LoopbackServer server_;
    TempFolder folder_{u"kodrin-check-"};
    std::u16string root_;
    std::u16string company_;
    app::MainWindowConfig config_;
    HWND window_ = nullptr;
    DialogDriver driver_;
};

// Check Application on one record, then Check All on the tab; then the same
// catalog read-only: the results show, nothing is stored.
TEST_F(UpdateCheckWindow, ChecksStoreTheLatestVersionKeepTheInstalledOneAndListTheResults) {
    const std::u16string today = FormatDate(Today(), 3);
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "writable");
        const std::u16string path = WriteCatalog();
        ASSERT_TRUE(platform::SetReadOnly(path, readOnly));
        MainWindow* w = StartOn(path);
        ASSERT_NE(w, nullptr);
        ASSERT_EQ(w->ReadOnly(), readOnly);
        const std::int32_t editor = Named(*w, u"Editor").recordId;
        for (int row = 0; row < w->List().RowCount(); ++row) {
            if (static_cast<std::int32_t>(w->List().ItemData(row)) == editor) w->List().SelectRow(row);
        }
        ASSERT_EQ(w->List().SelectedCount(), 1);
        ASSERT_TRUE(w->RunCommand(CMD_CHECK_APPLICATION));
        EXPECT_EQ(Named(*w, u"Editor").version, u"2.0");
        EXPECT_EQ(Named(*w, u"Editor").latestVersion, readOnly ? u"" : u"2.1");
        EXPECT_EQ(Named(*w, u"Editor").dateLastChecked, readOnly ? u"" : today);

        std::vector<std::u16string> rows;
        std::u16string summary;
        driver_.Then([&](HWND dialog) {
            rows = ResultRows(dialog);
            summary = ItemText(dialog, IDC_CHECK_RESULTS_SUMMARY);
            Click(dialog, IDOK);
        });
        ASSERT_TRUE(w->RunCommand(CMD_CHECK_ALL));
        EXPECT_EQ(rows, (std::vector<std::u16string>{
                            u"Editor | 2.0 | 2.1 | Newer version",
                            u"Paint | 1.0 | 1.0 | Current",
                            u"Site |  |  | Failed: not a PAD file",
                            u"Gone | 1 |  | Failed: HTTP status 404",
                        }));
        const std::u16string counts = u"4 checked: 1 newer, 1 current, 0 without a version, 2 failed.";
        EXPECT_EQ(summary, readOnly ? counts + u" The catalog is read-only: the results were not stored." : counts);
        EXPECT_EQ(Named(*w, u"Paint").latestVersion, readOnly ? u"" : u"1.0");
        EXPECT_EQ(Named(*w, u"Paint").dateLastChecked, readOnly ? u"" : today);
        EXPECT_EQ(Named(*w, u"Gone").dateLastChecked, u"");  // no answer, no date
        EXPECT_EQ(Named(*w, u"Notes").dateLastChecked, u"");
        Close();
        platform::SetReadOnly(path, false);
    }
}

// Not a test: `make screenshots` renders the result list of Check All into
// docs/screenshots/check-all.png.
TEST(Screenshots, DISABLED_CheckAllResults) {
    const std::u16string folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KODRIN_SCREENSHOTS names the output folder";
    QvLibrary::QvApp program(STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE);
    const auto result = [](update::CheckOutcome outcome, const char16_t* published,
                           update::CheckFailure failure = update::CheckFailure::None, int status = 0) {
        update::PadCheckResult r;
        r.outcome = outcome;
        r.published = published;
        r.failure = failure;
        r.status = status;
        r.downloadUrl = published[0] != 0 ? u"https://example.com/download" : u"";
        return r;
    };
    using update::CheckOutcome;
    const std::vector<app::CheckRow> rows{
        {u"PixelForge", u"7.1", result(CheckOutcome::Newer, u"8.0")},
        {u"NoteKeeper", u"3.2.1", result(CheckOutcome::Current, u"3.2.1")},
        {u"ArchiveMaster", u"12.0", result(CheckOutcome::Newer, u"12.1.4")},
        {u"TapeDeck", u"1.0", result(CheckOutcome::NoVersion, u"")},
        {u"SyncBox", u"5.5", result(CheckOutcome::Failed, u"", update::CheckFailure::TimedOut)},
        {u"QuickCalc", u"2.0", result(CheckOutcome::Failed, u"", update::CheckFailure::HttpStatus, 404)},
        {u"Homepage Only", u"4.0", result(CheckOutcome::Failed, u"", update::CheckFailure::NotPad)},
        {u"Mailroom", u"9.3", result(CheckOutcome::Current, u"9.3")},
    };
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        ListView_SetItemState(::GetDlgItem(dialog, IDC_CHECK_RESULTS_LIST), 0, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, IDC_CHECK_RESULTS_OPEN)));
        EXPECT_TRUE(SaveWindowPicture(dialog, folder, u"check-all.png"));
        Click(dialog, IDOK);
    });
    app::ShowCheckResults(program, nullptr, rows, false);
    EXPECT_EQ(driver.Pending(), 0);
    DrainMessages();
}

}  // namespace
}  // namespace kodrin::test
