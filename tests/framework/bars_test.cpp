// The tab strip, the toolbar with its layouts and customise dialog, the
// status bar and the splitter.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "framework/app.h"
#include "framework/splitter.h"
#include "framework/status_bar.h"
#include "framework/tab_win.h"
#include "framework/toolbar.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using QvLibrary::QvTabWin;
using QvLibrary::QvToolbar;

// A parent that counts tab changes and answers the toolbar's customise
// notifications from the toolbar's available-button table, as the main
// window does.
struct ParentLog {
    int tabChanges = 0;
    UINT_PTR tabChangeFrom = 0;
    int beginAdjust = 0;
    int buttonInfo = 0;
    QvToolbar* toolbar = nullptr;
    wchar_t buttonText[32] = {};
};

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
    }
    auto* log = reinterpret_cast<ParentLog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NOTIFY && log != nullptr) {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        switch (header->code) {
            case TCN_SELCHANGE:
                ++log->tabChanges;
                log->tabChangeFrom = header->idFrom;
                return 0;
            case TBN_BEGINADJUST:
                ++log->beginAdjust;
                return 0;
            case TBN_INITCUSTOMIZE:
                return TBNRF_HIDEHELP;
            case TBN_QUERYINSERT:
            case TBN_QUERYDELETE:
                return TRUE;
            case TBN_GETBUTTONINFOW: {
                auto* info = reinterpret_cast<NMTOOLBARW*>(lp);
                if (log->toolbar == nullptr || !log->toolbar->AvailableButton(info->iItem, info->tbButton)) {
                    return FALSE;
                }
                ++log->buttonInfo;
                ::wsprintfW(log->buttonText, L"Button %d", info->iItem);
                if (info->pszText != nullptr && info->cchText > 0) ::lstrcpynW(info->pszText, log->buttonText, info->cchText);
                return TRUE;
            }
            default:
                break;
        }
    }
    return ::DefWindowProcW(window, message, wp, lp);
}

HWND MakeParent(ParentLog* log, int width = 600, int height = 400) {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"KodrinBarsParent";
        return ::RegisterClassW(&wc);
    }();
    if (atom == 0) return nullptr;
    return ::CreateWindowExW(0, L"KodrinBarsParent", L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), log);
}

class BarsTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = MakeParent(&log_);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override {
        ::DestroyWindow(parent_);
        DrainMessages();
    }
    ParentLog log_;
    HWND parent_ = nullptr;
};

// ---- tab strip ----

TEST_F(BarsTest, DeletingTheFirstTabSelectsTheNewFirstAndTellsTheParent) {
    QvTabWin tabs;
    ASSERT_TRUE(tabs.Create(parent_, 1105, 0, 0, 400, 30));
    EXPECT_EQ(tabs.CurrentTab(), -1);
    EXPECT_FALSE(tabs.DeleteCurrentTab());
    EXPECT_EQ(tabs.InsertTab(0, 10, u"Games"), 0);
    EXPECT_EQ(tabs.InsertTab(1, 20, u"Tools"), 1);
    EXPECT_EQ(tabs.InsertTab(2, 30, u"Office"), 2);

    ASSERT_TRUE(tabs.SelectTab(0));
    EXPECT_EQ(log_.tabChanges, 1);
    EXPECT_EQ(log_.tabChangeFrom, 1105u);
    EXPECT_EQ(tabs.CurrentData(), 10u);

    ASSERT_TRUE(tabs.DeleteCurrentTab());
    EXPECT_EQ(tabs.Count(), 2);
    EXPECT_EQ(tabs.CurrentTab(), 0);
    EXPECT_EQ(tabs.CurrentText(), u"Tools");
    EXPECT_EQ(tabs.CurrentData(), 20u);
    EXPECT_EQ(log_.tabChanges, 2);   // the parent shows the new tab's content
}

TEST_F(BarsTest, DeletingALaterTabSelectsTheOneBeforeIt) {
    QvTabWin tabs;
    ASSERT_TRUE(tabs.Create(parent_, 1105, 0, 0, 400, 30));
    tabs.InsertTab(0, 1, u"A");
    tabs.InsertTab(1, 2, u"B");
    tabs.InsertTab(2, 3, u"C");
    ASSERT_TRUE(tabs.SelectTab(2));
    ASSERT_TRUE(tabs.RenameCurrentTab(u"Renamed \u00e9"));
    EXPECT_EQ(tabs.CurrentText(), u"Renamed \u00e9");
    ASSERT_TRUE(tabs.DeleteCurrentTab());
    EXPECT_EQ(tabs.CurrentTab(), 1);
    EXPECT_EQ(tabs.CurrentText(), u"B");
    EXPECT_FALSE(tabs.SelectTab(5));

    // The last tab goes: nothing is selected and nothing breaks.
    tabs.DeleteAllTabs();
    tabs.InsertTab(0, 9, u"Only");
    ASSERT_TRUE(tabs.SelectTab(0));
    ASSERT_TRUE(tabs.DeleteCurrentTab());
    EXPECT_EQ(tabs.Count(), 0);
    EXPECT_EQ(tabs.CurrentData(), 0u);
    EXPECT_EQ(tabs.CurrentText(), u"");
}

// ---- toolbar ----

class ToolbarTest : public BarsTest {
protected:
    void SetUp() override {
        BarsTest::SetUp();
        ASSERT_TRUE(toolbar_.Create(parent_, 1106));
        log_.toolbar = &toolbar_;
        const int commands[] = {1100, 1102, 1101, 3003, 3301, 3100};
        for (int i = 0; i < 6; ++i) toolbar_.AppendAvailableButton(i, commands[i]);
    }
    void TearDown() override {
        log_.toolbar = nullptr;
        toolbar_.Unbind();
        BarsTest::TearDown();
    }
    QvLibrary::QvApp app_{0, 0, 0};
    QvToolbar toolbar_{app_};
};

TEST_F(ToolbarTest, ATableOfButtonsAndAnEmptyToolbarThatReportsNoSize) {
    HWND bar = toolbar_.Handle();
    EXPECT_NE(::GetWindowLongW(bar, GWL_STYLE) & CCS_ADJUSTABLE, 0);
    EXPECT_NE(::GetWindowLongW(bar, GWL_STYLE) & TBSTYLE_TOOLTIPS, 0);
    EXPECT_EQ(toolbar_.AvailableCount(), 6);
    TBBUTTON button{};
    ASSERT_TRUE(toolbar_.AvailableButton(2, button));
    EXPECT_EQ(button.iBitmap, 2);
    EXPECT_EQ(button.idCommand, 1101);
    EXPECT_EQ(button.fsState, TBSTATE_ENABLED);
    EXPECT_FALSE(toolbar_.AvailableButton(6, button));

    toolbar_.ApplyLayout({});
    EXPECT_EQ(toolbar_.GetHeight(), 0);
    EXPECT_EQ(toolbar_.GetWidth(), 0);
    EXPECT_FALSE(::IsWindowVisible(bar) && ::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE);
    toolbar_.Move(10, 10, 50, 50);
    EXPECT_EQ(::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE, 0);

    // With buttons it shows itself, sized to the parent whatever it is told.
    ASSERT_TRUE(toolbar_.LoadImageLists());
    toolbar_.ApplyLayout({0, 1});
    toolbar_.Move(100, 100, 20, 20);
    EXPECT_NE(::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_GT(toolbar_.GetHeight(), 0);
    EXPECT_EQ(toolbar_.GetWidth(), 600);
    HIMAGELIST normal = reinterpret_cast<HIMAGELIST>(::SendMessageW(bar, TB_GETIMAGELIST, 0, 0));
    HIMAGELIST disabled = reinterpret_cast<HIMAGELIST>(::SendMessageW(bar, TB_GETDISABLEDIMAGELIST, 0, 0));
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(disabled, nullptr);
    EXPECT_EQ(::ImageList_GetImageCount(normal), 30);   // a place for every icon, found or not
    EXPECT_EQ(::ImageList_GetImageCount(disabled), 30);
    int cx = 0;
    int cy = 0;
    ::ImageList_GetIconSize(normal, &cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);

    toolbar_.EnableButton(1102, false);
    EXPECT_FALSE(toolbar_.IsButtonEnabled(1102));
    EXPECT_TRUE(toolbar_.IsButtonEnabled(1100));
    toolbar_.EnableButton(1102, true);
    EXPECT_TRUE(toolbar_.IsButtonEnabled(1102));

    QvToolbar unbound(app_);
    EXPECT_FALSE(unbound.LoadImageLists());
}

TEST_F(ToolbarTest, LayoutsRoundTripWithOneSeparatorPerRun) {
    // 40 is beyond the table: a separator like 255.
    toolbar_.ApplyLayout({0, 2, 255, 1, 255, 40, 5, 3, 255, 255});
    EXPECT_EQ(toolbar_.ButtonCount(), 10);
    TBBUTTON button{};
    ::SendMessageW(toolbar_.Handle(), TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button));
    EXPECT_NE(button.fsStyle & BTNS_SEP, 0);
    EXPECT_EQ(button.iBitmap, 5);   // separator width
    EXPECT_EQ(toolbar_.ReadLayout(), (std::vector<std::uint8_t>{0, 2, 255, 1, 255, 5, 3}));

    // A leading separator is kept before the first button.
    toolbar_.ApplyLayout({255, 4});
    EXPECT_EQ(toolbar_.ReadLayout(), (std::vector<std::uint8_t>{255, 4}));

    // Applying replaces every button.
    toolbar_.ApplyLayout({3});
    EXPECT_EQ(toolbar_.ButtonCount(), 1);
    EXPECT_EQ(toolbar_.ReadLayout(), (std::vector<std::uint8_t>{3}));
}

TEST_F(ToolbarTest, TheCustomiseDialogAsksTheOwnerAndItsChangesReadBack) {
    ASSERT_TRUE(toolbar_.LoadImageLists());
    toolbar_.ApplyLayout({0, 1, 255, 2});
    DialogDriver driver;
    driver.Then([](HWND dialog) {
        // The dialog's list of the toolbar's buttons and its Remove button.
        HWND current = ::GetDlgItem(dialog, 203);
        if (current != nullptr) {
            ::SendMessageW(current, LB_SETCURSEL, 0, 0);
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(203, LBN_SELCHANGE), reinterpret_cast<LPARAM>(current));
            Click(dialog, 204);
        }
        Click(dialog, IDCANCEL);
    });
    toolbar_.Customize();
    EXPECT_EQ(driver.Answered(), 1);
    EXPECT_EQ(driver.Unexpected(), 0);
    EXPECT_EQ(log_.beginAdjust, 1);
    EXPECT_GT(log_.buttonInfo, 0);
    EXPECT_EQ(toolbar_.ReadLayout(), (std::vector<std::uint8_t>{1, 255, 2}));
}

// ---- status bar ----

TEST_F(BarsTest, StatusBarPartsArePercentagesAndTheLastReachesTheEdge) {
    QvLibrary::StatusBar status;
    ASSERT_TRUE(status.Create({25, 50, 25}, parent_, false));
    HWND bar = status.Handle();
    EXPECT_EQ(::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(status.Height(), 0);
    EXPECT_EQ(status.RightEdges(), (std::vector<int>{150, 450, -1}));
    int edges[3] = {};
    ASSERT_EQ(::SendMessageW(bar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 150);
    EXPECT_EQ(edges[1], 450);
    EXPECT_EQ(edges[2], -1);

    status.Show(true);
    EXPECT_NE(::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_GT(status.Height(), 0);
    ASSERT_TRUE(status.SetText(1, u"12 applications"));
    EXPECT_EQ(status.Text(1), u"12 applications");
    EXPECT_EQ(status.Text(0), u"");

    ::SetWindowPos(parent_, nullptr, 0, 0, 333, 200, SWP_NOMOVE | SWP_NOZORDER);
    status.Resize();
    EXPECT_EQ(status.RightEdges(), (std::vector<int>{83, 249, -1}));
    RECT rect{};
    ::GetWindowRect(bar, &rect);
    EXPECT_EQ(rect.right - rect.left, 333);
}

// ---- splitter ----

struct Moves {
    std::vector<int> positions;
    void* data = nullptr;
};

void OnMoved(int position, void* data) {
    auto* moves = static_cast<Moves*>(data);
    moves->positions.push_back(position);
}

LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(y)); }

TEST_F(BarsTest, SplitterDragsAreClampedToTheParentAndReportedOnRelease) {
    Moves moves;
    QvLibrary::Splitter splitter;
    ASSERT_TRUE(splitter.Create(parent_, &OnMoved, &moves));
    HWND bar = splitter.Handle();
    wchar_t name[32] = {};
    ::GetClassNameW(bar, name, 32);
    EXPECT_STREQ(name, L"QvSplitter");
    EXPECT_NE(::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE, 0);
    ::MoveWindow(bar, 300, 20, 4, 200, FALSE);

    // A second splitter finds the class registered already.
    Moves other;
    QvLibrary::Splitter second;
    EXPECT_TRUE(second.Create(parent_, &OnMoved, &other));

    // Far to the left: 0.
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(-10, 5));
    EXPECT_TRUE(splitter.Dragging());
    EXPECT_EQ(::GetCapture(), bar);
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(-1000, 5));
    EXPECT_EQ(splitter.BarPosition(), 0);
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(-1000, 5));
    EXPECT_FALSE(splitter.Dragging());
    EXPECT_NE(::GetCapture(), bar);
    EXPECT_EQ(moves.positions, (std::vector<int>{0}));

    // Far to the right: the parent's width less 4.
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(1, 5));
    EXPECT_EQ(splitter.BarPosition(), 301);
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(5000, 5));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(5000, 5));
    EXPECT_EQ(moves.positions, (std::vector<int>{0, 596}));

    // A move without the button held does not drag.
    ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(0, 5));
    ::SendMessageW(bar, WM_MOUSEMOVE, 0, At(-200, 5));
    EXPECT_EQ(splitter.BarPosition(), 300);
    ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, At(-200, 5));
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(-200, 5));
    EXPECT_EQ(moves.positions.back(), 100);
    EXPECT_TRUE(other.positions.empty());

    // A release without a press reports nothing.
    ::SendMessageW(bar, WM_LBUTTONUP, 0, At(0, 5));
    EXPECT_EQ(moves.positions.size(), 3u);
}

}  // namespace
}  // namespace kodrin::test
