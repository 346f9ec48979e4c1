// Renders Search for Applications for the documentation: the dialog, the
// progress of a real scan of Wine's own programs, and the filled list. Not
// a test: `make screenshots` runs it with
//   app_tests --gtest_also_run_disabled_tests --gtest_filter='Screenshots.*'
// and KODRIN_SCREENSHOTS naming the folder that receives the pictures.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/main_window.h"
#include "catalog/catalog.h"
#include "catalog/datafile.h"
#include "catalog/settings.h"
#include "framework/tab_win.h"
#include "platform/files.h"
#include "support/temp_folder.h"
#include "support/win32/capture.h"
#include "support/win32/dialog_driver.h"
#include "app/picture_window.h"
#include "ids.h"

namespace kodrin::test {
namespace {

std::u16string g_target;
bool g_progressSaved = false;

bool IsProgress(HWND dialog) { return ::GetDlgItem(dialog, IDC_PROGRESS_BAR) != nullptr; }

BOOL CALLBACK FindProgress(HWND window, LPARAM found) {
    if (!IsProgress(window) || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Dispatched by the progress dialog's own loop: takes the picture once the
// scanning pass is well under way.
void CALLBACK CaptureProgress(HWND, UINT, UINT_PTR, DWORD) {
    if (g_progressSaved) return;
    HWND progress = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindProgress, reinterpret_cast<LPARAM>(&progress));
    if (progress == nullptr) return;
    const LRESULT position = ::SendDlgItemMessageW(progress, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0);
    if (position < 40 || position > 70) return;
    g_progressSaved = true;  // the picture pumps messages: no second one meanwhile
    g_progressSaved = SaveWindowPicture(progress, g_target, u"scan-progress.png");
}

TEST(Screenshots, DISABLED_Scan) {
    g_target = ScreenshotFolder();
    ASSERT_FALSE(g_target.empty()) << "KODRIN_SCREENSHOTS names the output folder";
    ASSERT_TRUE(platform::CreateFolders(g_target));
    TempFolder folder(u"kodrin-scanshot-");
    ASSERT_TRUE(folder.Created());
    Settings s = PictureSettings();
    s.colWidths[20] = 170;
    s.colWidths[3] = 170;
    s.colWidths[27] = 110;
    DialogDriver driver;
    driver.Ignore(IsProgress);
    HWND window = OpenPictureWindow(folder, Catalog(), s);
    ASSERT_NE(window, nullptr);

    driver.Then([&](HWND dialog) {
        ::CheckDlgButton(dialog, IDC_SCAN_PROGRAM_FILES, BST_UNCHECKED);
        ::CheckDlgButton(dialog, IDC_SCAN_DRIVE_C, BST_UNCHECKED);
        ::CheckDlgButton(dialog, IDC_SCAN_OTHER, BST_CHECKED);
        SetItemText(dialog, IDC_SCAN_FOLDER, u"Z:\\usr\\lib\\x86_64-linux-gnu");
        EXPECT_TRUE(SaveWindowPicture(dialog, g_target, u"scan-dialog.png"));
        Click(dialog, IDOK);
    });
    driver.Then([](HWND question) { Click(question, IDNO); });
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, CaptureProgress);
    ::PostMessageW(window, WM_COMMAND, CMD_SEARCH_APPLICATIONS, 0);
    app::MainWindow* w = app::MainWindow::FromHandle(window);
    ASSERT_TRUE(PumpUntil([&] { return driver.Pending() == 0 && !w->GetCatalog().records.empty(); }, 60000));
    PumpUntil([] { return false; }, 1500);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(g_progressSaved);

    // The tab of Windows' own tools, which the list knows best.
    QvLibrary::QvTabWin& tabs = w->Tabs();
    for (int i = 0; i < TabCtrl_GetItemCount(tabs.Handle()); ++i) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        TabCtrl_GetItem(tabs.Handle(), i, &item);
        if (std::wstring(text) != L"Operating System") continue;
        TabCtrl_SetCurSel(tabs.Handle(), i);
        NMHDR header{tabs.Handle(), static_cast<UINT_PTR>(::GetDlgCtrlID(tabs.Handle())), static_cast<UINT>(TCN_SELCHANGE)};
        ::SendMessageW(::GetParent(tabs.Handle()), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    }
    ::SetForegroundWindow(window);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntil([] { return false; }, 1000);
    ASSERT_TRUE(SaveWindowPicture(window, g_target, u"scan-list.png"));

    ClosePictureWindow(window);
    EXPECT_EQ(driver.Unexpected(), 0);
}

}  // namespace
}  // namespace kodrin::test
