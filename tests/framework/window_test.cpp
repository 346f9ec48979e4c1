// The window base: binding, attaching, the library's window procedure,
// positions and tooltips.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "framework/app.h"
#include "framework/test_window.h"
#include "framework/window.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using QvLibrary::QvWindow;

LONG_PTR ProcOf(HWND window) { return ::GetWindowLongPtrW(window, GWLP_WNDPROC); }
LONG_PTR LibraryProc() { return reinterpret_cast<LONG_PTR>(&QvWindow::WindowProc); }

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = MakeRecordingWindow(&parentLog_, nullptr, 0, 0, 0, 400, 300);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override {
        if (::IsWindow(parent_)) ::DestroyWindow(parent_);
        DrainMessages();
    }
    RECT ChildRect(HWND child) const {
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    Recorder parentLog_;
    HWND parent_ = nullptr;
};

TEST_F(WindowTest, BindSubclassesAndKeepsTheOwnProcedureReachable) {
    Recorder log;
    TestWindow window(&log);
    window.SetText(u"stored first");
    ASSERT_TRUE(window.Create(parent_, 10, 0, 0, 50, 20));
    HWND hwnd = window.Handle();
    EXPECT_TRUE(QvLibrary::IsLibraryWindow(hwnd));
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&window.State()));
    EXPECT_EQ(WindowText(hwnd), u"stored first");
    EXPECT_EQ(::SendMessageW(hwnd, WM_APP, 0, 0), 42);

    // The stored text is what GetText gives, not the window's.
    window.SetText(u"second");
    EXPECT_EQ(WindowText(hwnd), u"second");
    ::SetWindowTextW(hwnd, L"changed behind its back");
    EXPECT_EQ(window.GetText(), u"second");

    EXPECT_FALSE(window.Bind(nullptr));
    EXPECT_FALSE(::IsWindow(hwnd));   // Bind unbinds (destroys) the created window first
    EXPECT_EQ(window.Handle(), nullptr);
}

// A control frees its own state on WM_DESTROY: the library's procedure must
// hand it on to the procedure it replaced, for created and attached windows,
// however the window goes.
TEST_F(WindowTest, DestroyReachesTheWindowsOwnProcedure) {
    Recorder created;
    Recorder attached;
    Recorder unbound;
    {
        TestWindow window(&created);
        ASSERT_TRUE(window.Create(parent_, 10));
        ::DestroyWindow(window.Handle());
        EXPECT_EQ(window.Handle(), nullptr);

        HWND foreign = MakeRecordingWindow(&attached, parent_, 11);
        ASSERT_TRUE(window.Attach(foreign));
        ::DestroyWindow(foreign);

        TestWindow owner(&unbound);
        ASSERT_TRUE(owner.Create(parent_, 12));
    }   // owner destroys its window
    for (const Recorder* log : {&created, &attached, &unbound}) {
        EXPECT_EQ(log->Count(WM_DESTROY), 1);
        EXPECT_EQ(log->Count(WM_NCDESTROY), 1);
    }
}

TEST_F(WindowTest, DestructorDestroysCreatedWindowsOnly) {
    HWND created = nullptr;
    HWND foreign = MakeRecordingWindow(nullptr, parent_, 11);
    const LONG_PTR foreignProc = ProcOf(foreign);
    {
        TestWindow window;
        ASSERT_TRUE(window.Create(parent_, 10));
        created = window.Handle();
        ASSERT_TRUE(window.Attach(foreign));
        EXPECT_EQ(ProcOf(foreign), LibraryProc());
    }
    EXPECT_FALSE(::IsWindow(created));
    ASSERT_TRUE(::IsWindow(foreign));
    EXPECT_EQ(ProcOf(foreign), foreignProc);
    EXPECT_EQ(::GetWindowLongPtrW(foreign, GWLP_USERDATA), 0);
}

TEST_F(WindowTest, AttachSubclassesAFreeWindowAndDetachGivesItBack) {
    Recorder log;
    HWND foreign = MakeRecordingWindow(&log, parent_, 12);
    const LONG_PTR foreignProc = ProcOf(foreign);
    TestWindow window;
    ASSERT_TRUE(window.Create(parent_, 10));
    HWND own = window.Handle();

    ASSERT_TRUE(window.Attach(foreign));
    EXPECT_EQ(window.Handle(), foreign);
    EXPECT_TRUE(window.Attached());
    EXPECT_EQ(ProcOf(foreign), LibraryProc());
    int commands = 0;
    window.AddCommandHandler(5, [](void* data, unsigned) { ++*static_cast<int*>(data); }, &commands);
    ::SendMessageW(foreign, WM_COMMAND, 5, 0);
    EXPECT_EQ(commands, 1);
    EXPECT_EQ(::SendMessageW(foreign, WM_APP, 0, 0), 42);

    window.Detach();
    EXPECT_EQ(window.Handle(), own);
    EXPECT_FALSE(window.Attached());
    EXPECT_TRUE(::IsWindow(foreign));
    EXPECT_EQ(ProcOf(foreign), foreignProc);
    EXPECT_EQ(::GetWindowLongPtrW(foreign, GWLP_USERDATA), 0);
    // The own window is still bound and subclassed.
    EXPECT_EQ(ProcOf(own), LibraryProc());
    window.Detach();   // nothing saved: no change
    EXPECT_EQ(window.Handle(), own);
}

TEST_F(WindowTest, AttachUsesAWindowWithUserDataAsItIs) {
    Recorder log;
    HWND foreign = MakeRecordingWindow(&log, parent_, 12);
    ::SetWindowLongPtrW(foreign, GWLP_USERDATA, 1234);
    const LONG_PTR foreignProc = ProcOf(foreign);
    {
        TestWindow window;
        ASSERT_TRUE(window.Attach(foreign));
        EXPECT_EQ(window.Handle(), foreign);
        EXPECT_EQ(ProcOf(foreign), foreignProc);
        ::SendMessageW(foreign, WM_RBUTTONDOWN, 0, 0);
        EXPECT_EQ(log.Count(WM_RBUTTONDOWN), 1);   // not routed through the library
        window.Detach();
        EXPECT_EQ(ProcOf(foreign), foreignProc);
        EXPECT_EQ(::GetWindowLongPtrW(foreign, GWLP_USERDATA), 1234);
        ASSERT_TRUE(window.Attach(foreign));
    }
    EXPECT_TRUE(::IsWindow(foreign));
    EXPECT_EQ(::GetWindowLongPtrW(foreign, GWLP_USERDATA), 1234);
}

// While another window is attached, the saved window's messages still reach
// its own procedure, not the attached window's (nor none).
TEST_F(WindowTest, SavedBindingKeepsItsOwnProcedureWhileAnotherIsAttached) {
    TestWindow window;
    ASSERT_TRUE(window.Create(parent_, 10));
    HWND own = window.Handle();
    HWND owned = MakeRecordingWindow(nullptr, parent_, 13);
    ::SetWindowLongPtrW(owned, GWLP_USERDATA, 99);
    ASSERT_TRUE(window.Attach(owned));   // not subclassed: no procedure saved
    EXPECT_EQ(::SendMessageW(own, WM_APP, 0, 0), 42);
    HWND statik = ::CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 10, 10, parent_, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window.Attach(statik));   // subclassed: its procedure saved
    EXPECT_EQ(::SendMessageW(own, WM_APP, 0, 0), 42);
    window.Detach();
    window.Detach();
    EXPECT_EQ(window.Handle(), own);
    EXPECT_EQ(::SendMessageW(own, WM_APP, 0, 0), 42);
}

TEST_F(WindowTest, WindowDestroyedWithItsParentIsForgotten) {
    HWND parent = MakeRecordingWindow(nullptr, nullptr);
    TestWindow window;
    ASSERT_TRUE(window.Create(parent, 10, 0, 0, 30, 30));
    ::DestroyWindow(parent);
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(window.GetWidth(), 0);
    // A new window that might get the old handle is left alone on destruction.
}

TEST_F(WindowTest, SetPositionKeepsWhatNegativeOrMissingArgumentsSay) {
    TestWindow first;
    TestWindow second;
    ASSERT_TRUE(first.Create(parent_, 1, 10, 10, 100, 50));
    ASSERT_TRUE(second.Create(parent_, 2, 0, 0, 20, 20));
    HWND a = first.Handle();
    HWND b = second.Handle();
    ASSERT_EQ(::GetWindow(a, GW_HWNDNEXT), b);   // a is above b

    first.SetPosition(-1, 5, 200, 80, nullptr);   // a negative x keeps the position
    RECT r = ChildRect(a);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(first.GetWidth(), 200);
    EXPECT_EQ(first.GetHeight(), 80);

    first.SetPosition(20, 30, 300, -1, nullptr);   // a negative height keeps the size
    r = ChildRect(a);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(first.GetWidth(), 200);
    EXPECT_EQ(first.GetHeight(), 80);

    first.Move(1, 2, 3, 4);   // no insert-after window: z-order kept
    EXPECT_EQ(::GetWindow(a, GW_HWNDNEXT), b);
    r = ChildRect(a);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(first.GetWidth(), 3);
    first.Refresh();
    r = ChildRect(a);
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(first.GetHeight(), 4);

    first.SetPosition(-1, -1, -1, -1, HWND_BOTTOM);
    EXPECT_EQ(::GetWindow(b, GW_HWNDNEXT), a);
    EXPECT_EQ(first.GetWidth(), 3);

    TestWindow unbound;
    unbound.SetPosition(0, 0, 10, 10, nullptr);
    EXPECT_EQ(unbound.GetWidth(), 0);
    RECT rect{};
    EXPECT_FALSE(unbound.GetClientRect(rect));
}

TEST_F(WindowTest, RightClickWithoutMenuIsConsumed) {
    Recorder log;
    TestWindow window(&log);
    ASSERT_TRUE(window.Create(parent_, 10, 0, 0, 50, 50));
    EXPECT_EQ(::SendMessageW(window.Handle(), WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5)), 0);
    EXPECT_EQ(log.Count(WM_RBUTTONDOWN), 0);

    NMHDR click{window.Handle(), 10, static_cast<UINT>(NM_RCLICK)};
    EXPECT_EQ(::SendMessageW(window.Handle(), WM_NOTIFY, 10, reinterpret_cast<LPARAM>(&click)), 0);
    EXPECT_EQ(log.Count(WM_NOTIFY), 0);
    NMHDR other{window.Handle(), 10, static_cast<UINT>(NM_CLICK)};
    ::SendMessageW(window.Handle(), WM_NOTIFY, 10, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(log.Count(WM_NOTIFY), 1);
}

struct MenuSeen {
    HMENU popup = nullptr;
    void* data = nullptr;
    int calls = 0;
};
MenuSeen menuSeen;

TEST_F(WindowTest, RightClickPreparesTheFirstSubMenuOfTheContextMenu) {
    TestWindow window;
    ASSERT_TRUE(window.Create(parent_, 10, 0, 0, 50, 50));
    HMENU menu = ::CreateMenu();
    HMENU popup = ::CreatePopupMenu();
    ::AppendMenuW(popup, MF_STRING, 3001, L"Item");
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"Popup");
    window.SetContextMenu(menu);
    window.SetMenuOwner(parent_);
    int data = 0;
    window.SetUserData(&data);
    menuSeen = {};
    window.SetMenuInitHandler([](HMENU shown, void* user) {
        menuSeen.popup = shown;
        menuSeen.data = user;
        ++menuSeen.calls;
        // Close the menu should it be tracked.
        ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            ::EndMenu();
        });
    });
    EXPECT_EQ(::SendMessageW(window.Handle(), WM_RBUTTONDOWN, 0, 0), 0);
    EXPECT_EQ(menuSeen.calls, 1);
    EXPECT_EQ(menuSeen.popup, popup);
    EXPECT_EQ(menuSeen.data, &data);
    PumpUntil([] { return false; }, 100);
}

TEST_F(WindowTest, CommandsGoToEveryHandlerOfTheirIdElseOnward) {
    Recorder log;
    TestWindow window(&log);
    ASSERT_TRUE(window.Create(parent_, 10));
    struct Seen {
        int calls = 0;
        unsigned code = 0;
    } first, second;
    auto note = [](void* data, unsigned code) {
        auto* seen = static_cast<Seen*>(data);
        ++seen->calls;
        seen->code = code;
    };
    window.AddCommandHandler(5, note, &first);
    window.AddCommandHandler(5, note, &second);
    EXPECT_EQ(::SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(5, 77), 0), 0);
    EXPECT_EQ(first.calls, 1);
    EXPECT_EQ(second.calls, 1);
    EXPECT_EQ(first.code, 77u);
    EXPECT_EQ(log.Count(WM_COMMAND), 0);
    ::SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(6, 0), 0);
    EXPECT_EQ(first.calls, 1);
    EXPECT_EQ(log.Count(WM_COMMAND), 1);
}

TEST_F(WindowTest, HoverModeSendsOneCommandPerPress) {
    Recorder log;
    TestWindow window(&log);
    ASSERT_TRUE(window.Create(parent_, 77, 10, 10, 60, 30));
    HWND hwnd = window.Handle();

    // Without hover mode a move changes nothing.
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(window.Pressed());

    window.SetHoverMode(true);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(window.Pressed());
    EXPECT_EQ(::GetCapture(), hwnd);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
    EXPECT_TRUE(window.Pressed());
    EXPECT_EQ(log.Count(WM_MOUSEMOVE), 3);   // moves are passed on

    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(-3, 5));   // left the window
    EXPECT_FALSE(window.Pressed());
    EXPECT_NE(::GetCapture(), hwnd);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(-3, 5));
    EXPECT_EQ(parentLog_.Count(WM_COMMAND), 0);

    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)), 0);
    EXPECT_EQ(parentLog_.Count(WM_COMMAND), 1);
    EXPECT_EQ(parentLog_.lastCommand, MAKEWPARAM(77, 0));
    EXPECT_EQ(parentLog_.lastCommandWindow, reinterpret_cast<LPARAM>(hwnd));
    EXPECT_FALSE(window.Pressed());
    EXPECT_NE(::GetCapture(), hwnd);

    // A second release without a new press sends nothing.
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(parentLog_.Count(WM_COMMAND), 1);
    EXPECT_EQ(log.Count(WM_LBUTTONUP), 2);
}

int wheelSeen = 0;

TEST_F(WindowTest, WheelGoesToTheWheelHandlerSigned) {
    Recorder log;
    TestWindow window(&log);
    ASSERT_TRUE(window.Create(parent_, 10));
    EXPECT_EQ(::SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0), 0);   // default: ignored
    wheelSeen = 0;
    window.SetWheelHandler([](QvLibrary::WindowState& state, int delta) {
        wheelSeen = delta;
        state.wheelRemainder += delta;
    });
    ::SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(wheelSeen, -120);
    ::SendMessageW(window.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);
    EXPECT_EQ(wheelSeen, 60);
    EXPECT_EQ(window.State().wheelRemainder, -60);
    EXPECT_EQ(log.Count(WM_MOUSEWHEEL), 0);
}

TEST_F(WindowTest, ToolTipCoversTheClientAreaAndFollowsItsSize) {
    TestWindow window;
    EXPECT_FALSE(window.SetToolTip(::GetModuleHandleW(nullptr)));   // unbound
    ASSERT_TRUE(window.Create(parent_, 10, 0, 0, 80, 40));
    ASSERT_TRUE(window.SetToolTip(::GetModuleHandleW(nullptr)));
    HWND tip = window.State().toolTip->tip;
    ASSERT_TRUE(::IsWindow(tip));
    EXPECT_EQ(window.State().toolTip->owner, window.Handle());
    EXPECT_EQ(::GetWindow(tip, GW_OWNER), parent_);   // a popup is owned by the top-level window
    EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);

    wchar_t text[256] = {};
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = window.Handle();
    info.uId = 0;
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"Each tab represents a category for Software");

    window.Move(0, 0, 120, 70);
    info.lpszText = nullptr;
    ASSERT_TRUE(::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(info.rect.right, 120);
    EXPECT_EQ(info.rect.bottom, 70);

    window.SetToolTipText(30000);
    ASSERT_TRUE(window.SetToolTip(::GetModuleHandleW(nullptr)));
    EXPECT_FALSE(::IsWindow(tip));   // the earlier tooltip is gone
    tip = window.State().toolTip->tip;
    info.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"FrameworkTest");
}

TEST_F(WindowTest, FontHasMetricsAndSelectsBack) {
    TestWindow window;
    ASSERT_TRUE(window.Create(parent_, 10));
    EXPECT_EQ(window.State().font, nullptr);   // windows that never draw text make no font
    QvLibrary::FontInfo& font = window.Font();
    ASSERT_NE(font.Font(), nullptr);
    EXPECT_GT(font.AverageWidth(), 0);
    EXPECT_GE(font.LineHeight(), 18);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ before = ::GetCurrentObject(dc, OBJ_FONT);
    font.SelectInto(dc);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), font.Font());
    font.Restore();
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), before);
    ::DeleteDC(dc);
}

TEST_F(WindowTest, EnableAndRedrawReachTheWindow) {
    Recorder log;
    TestWindow window(&log);
    window.Enable(false);   // unbound: nothing
    ASSERT_TRUE(window.Create(parent_, 10));
    window.Enable(false);
    EXPECT_FALSE(::IsWindowEnabled(window.Handle()));
    window.Enable(true);
    EXPECT_TRUE(::IsWindowEnabled(window.Handle()));
    window.SetRedraw(false);
    window.SetRedraw(true);
    EXPECT_EQ(log.Count(WM_SETREDRAW), 2);
}

}  // namespace
}  // namespace kodrin::test
