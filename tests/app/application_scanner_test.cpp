// Search for Applications in the program: dialog 1600 driven in-process,
// and the scan of a folder of Wine's own programs behind the real progress
// dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/application_scanner.h"
#include "catalog/catalog.h"
#include "framework/app.h"
#include "framework/progress_dialog.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "support/win32/dialog_driver.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::app {
namespace {

using test::Click;
using test::DialogDriver;
using test::ItemText;
using test::SetItemText;

const std::u16string kWinePrograms = u"Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows\\";

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool IsProgress(HWND dialog) { return ::GetDlgItem(dialog, QvLibrary::ProgressDialog::kBarItem) != nullptr; }

class ApplicationScannerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.Created());
        settings_ = NewSettings();
        catalog_.options = &settings_;
        driver_.Ignore(IsProgress);
    }
    void TearDown() override {
        EXPECT_EQ(driver_.Unexpected(), 0);
        EXPECT_EQ(driver_.Pending(), 0);
        test::DrainMessages();
    }

    QvLibrary::QvApp app_{STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE};
    DialogDriver driver_;
    test::TempFolder folder_{u"kodrin-scan-"};
    Settings settings_;
    Catalog catalog_;
};

TEST_F(ApplicationScannerTest, DialogOffersProgramFilesAndRefusesAFolderThatIsNotThere) {
    std::u16string programFiles, firstMedia;
    bool startsRight = false;
    std::vector<std::vector<std::u16string>> messages;
    const auto message = [&](HWND box) {
        messages.push_back(test::StaticTexts(box));
        Click(box, messages.size() == 3 ? IDCANCEL : IDOK);  // the third is the erase question
    };
    // OK is sent, not posted: each message box runs inside the script.
    const auto pressOk = [](HWND dialog) {
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    };
    bool stayedOpen = false;
    driver_.Then([&](HWND dialog) {
        programFiles = ItemText(dialog, IDC_SCAN_PROGRAM_FILES);
        startsRight = Checked(dialog, IDC_SCAN_PROGRAM_FILES) && Checked(dialog, IDC_SCAN_FILTER_YES) &&
                      !Checked(dialog, IDC_SCAN_DRIVE_C) && !Checked(dialog, IDC_SCAN_OTHER);
        firstMedia = ItemText(dialog, IDC_SCAN_MEDIA);
        EXPECT_EQ(::SendDlgItemMessageW(dialog, IDC_SCAN_MEDIA, CB_GETCOUNT, 0, 0), 5);
        ::CheckDlgButton(dialog, IDC_SCAN_PROGRAM_FILES, BST_UNCHECKED);
        ::CheckDlgButton(dialog, IDC_SCAN_OTHER, BST_CHECKED);
        pressOk(dialog);  // no folder
        SetItemText(dialog, IDC_SCAN_FOLDER, folder_.Path() + u"\\gone");
        pressOk(dialog);
        SetItemText(dialog, IDC_SCAN_FOLDER, folder_.Path());
        ::CheckRadioButton(dialog, IDC_SCAN_FILTER_NO, IDC_SCAN_FILTER_YES, IDC_SCAN_FILTER_NO);
        SetItemText(dialog, IDC_SCAN_MEDIA, u"Stick 7");
        pressOk(dialog);  // Cancel at the erase question: the dialog stays
        stayedOpen = ::IsWindow(dialog) && ItemText(dialog, IDC_SCAN_MEDIA) == u"Stick 7";
        Click(dialog, IDOK);
    });
    driver_.Then(message);
    driver_.Then(message);
    driver_.Then(message);
    driver_.Then([&](HWND box) { Click(box, IDNO); });

    const std::optional<ScanChoice> choice = AskScanChoice(app_, nullptr);
    ASSERT_TRUE(choice.has_value());
    EXPECT_TRUE(startsRight);
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(programFiles.empty());
    EXPECT_NE(programFiles, u"Program Files");  // replaced by the folder's path
    EXPECT_EQ(firstMedia, u"CD");
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].back(), u"Please type or choose the folder to search.");
    EXPECT_NE(messages[1].back().find(folder_.Path() + u"\\gone"), std::u16string::npos);
    EXPECT_EQ(messages[2].back(),
              u"Would you like to erase your current Kodrin before scanning for applications?");
    EXPECT_EQ(choice->request.startFolder, folder_.Path());
    EXPECT_EQ(choice->request.defaultMedia, u"Stick 7");
    EXPECT_FALSE(choice->request.filtering);
    EXPECT_FALSE(choice->erase);
}

TEST_F(ApplicationScannerTest, ScanFillsTheCatalogFromWineProgramsThroughTheFilterList) {
    // Wine's programs in a small tree, and an old record the erase removes.
    const std::u16string sub = folder_.Path() + u"\\Tools";
    ASSERT_TRUE(platform::CreateFolders(sub));
    for (const char16_t* name : {u"iexplore.exe", u"notepad.exe"}) {
        ASSERT_TRUE(::CopyFileW(reinterpret_cast<LPCWSTR>((kWinePrograms + name).c_str()),
                                reinterpret_cast<LPCWSTR>((folder_.Path() + u"\\" + name).c_str()), FALSE));
    }
    ASSERT_TRUE(::CopyFileW(reinterpret_cast<LPCWSTR>((kWinePrograms + u"winecfg.exe").c_str()),
                            reinterpret_cast<LPCWSTR>((sub + u"\\winecfg.exe").c_str()), FALSE));
    ApplicationRecord old = NewRecord();
    old.program = u"Old";
    old.categories = {u"Old Tab"};
    AddRecord(catalog_, old, false);

    QvLibrary::ProgressDialog progress(app_);
    std::vector<bool> busy;
    ApplicationScanner scanner(app_, nullptr, progress, settings_, catalog_, [&](bool b) { busy.push_back(b); });
    ScanChoice choice;
    choice.request = {folder_.Path(), u"DVD", true};
    choice.erase = true;
    ASSERT_TRUE(scanner.Scan(choice));
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(scanner.FoldersCounted(), 1u);
    EXPECT_EQ(scanner.FoldersVisited(), 1u);

    std::map<std::u16string, const ApplicationRecord*> found;
    for (const ApplicationRecord& r : catalog_.records) found[r.path.substr(r.path.find_last_of(u'\\') + 1)] = &r;
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[u"iexplore.exe"]->categories, std::vector<std::u16string>{u"Browsers"});
    EXPECT_EQ(found[u"iexplore.exe"]->program, u"Internet Explorer");
    EXPECT_FALSE(found[u"iexplore.exe"]->version.empty());
    EXPECT_FALSE(found[u"iexplore.exe"]->picture.empty());
    EXPECT_EQ(found[u"winecfg.exe"]->categories, std::vector<std::u16string>{u"Filtered"});
    EXPECT_EQ(found[u"winecfg.exe"]->path, sub + u"\\winecfg.exe");
    for (const auto& [name, record] : found) EXPECT_EQ(record->originalMedia, u"DVD");
    EXPECT_EQ(std::count(catalog_.categories.begin(), catalog_.categories.end(), u"Old Tab"), 0);
    // The list's copy on disk is the program's resource.
    EXPECT_TRUE(platform::FileExists(app_.GetCommonDataFolder() + u"AppFilters.csv"));

    // An erase that finds nothing still changes the catalog.
    const std::u16string empty = folder_.Path() + u"\\Empty";
    ASSERT_TRUE(platform::CreateFolders(empty));
    choice.request.startFolder = empty;
    EXPECT_TRUE(scanner.Scan(choice));
    EXPECT_TRUE(catalog_.records.empty());
    choice.erase = false;
    EXPECT_FALSE(scanner.Scan(choice));
}

}  // namespace
}  // namespace kodrin::app
