// The framework's plumbing: handle guards, the dialog binding, work posted
// to the window thread and joined workers.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/worker.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using namespace QvLibrary;

LRESULT CALLBACK PassHook(int code, WPARAM wp, LPARAM lp) { return ::CallNextHookEx(nullptr, code, wp, lp); }

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// The invariants every guard keeps, checked on two fresh handles of its kind.
// gone(h) tells whether h was freed; it may free a live handle, so it is asked
// only where the handle must be gone, and null where no safe probe exists.
template <typename Guard>
void CheckGuard(const char* kind, const std::function<typename Guard::Type()>& make,
                const std::function<bool(typename Guard::Type)>& gone) {
    SCOPED_TRACE(kind);
    EXPECT_FALSE(Guard().Valid());
    const auto first = make();
    const auto second = make();
    {
        Guard held(first);
        Guard moved(std::move(held));
        EXPECT_FALSE(held.Valid());   // the moved-from guard holds nothing and frees nothing
        EXPECT_EQ(moved.Get(), first);
        EXPECT_EQ(moved.Release(), first);   // given up, not freed
        EXPECT_FALSE(moved.Valid());
        moved.Reset(first);
        moved.Reset(second);   // frees the first
        if (gone) {
            EXPECT_TRUE(gone(first));
        }
        Guard assigned;
        assigned = std::move(moved);
        EXPECT_EQ(assigned.Get(), second);
    }   // the destructor frees the second
    if (gone) {
        EXPECT_TRUE(gone(second));
    }
    Guard closing(make());
    EXPECT_TRUE(closing.Close());
    EXPECT_FALSE(closing.Valid());
    EXPECT_TRUE(closing.Close());   // nothing held: nothing to fail
}

TEST(Plumbing, EveryGuardFreesItsHandleExactlyOnce) {
    const auto kernelGone = [](HANDLE h) {
        DWORD flags = 0;
        return ::GetHandleInformation(h, &flags) == FALSE;
    };
    const auto gdiGone = [](auto object) { return ::GetObjectType(object) == 0; };
    const std::wstring file = TempFile(L"kodrin-guard.tmp");
    const std::wstring pattern = TempFile(L"*");

    CheckGuard<Handle>("event", [] { return ::CreateEventW(nullptr, TRUE, FALSE, nullptr); }, kernelGone);
    CheckGuard<FileHandle>(
            "file",
            [&] {
                return ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            },
            kernelGone);
    ::DeleteFileW(file.c_str());
    CheckGuard<FindHandle>(
            "find",
            [&] {
                WIN32_FIND_DATAW found{};
                return ::FindFirstFileW(pattern.c_str(), &found);
            },
            nullptr);
    CheckGuard<Bitmap>("bitmap", [] { return ::CreateBitmap(4, 4, 1, 1, nullptr); }, gdiGone);
    CheckGuard<Brush>("brush", [] { return ::CreateSolidBrush(RGB(1, 2, 3)); }, gdiGone);
    CheckGuard<Font>("font", [] { return ::CreateFontW(12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"); },
                     gdiGone);
    CheckGuard<MemoryDC>("memory DC", [] { return ::CreateCompatibleDC(nullptr); }, gdiGone);
    CheckGuard<Hook>(
            "hook", [] { return ::SetWindowsHookExW(WH_MSGFILTER, PassHook, nullptr, ::GetCurrentThreadId()); },
            [](HHOOK hook) { return ::UnhookWindowsHookEx(hook) == FALSE; });
    CheckGuard<Icon>("icon", [] { return ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION)); },
                     [](HICON icon) { return ::DestroyIcon(icon) == FALSE; });
    // Loaded modules are counted, not freed one by one: no safe probe.
    wchar_t self[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    CheckGuard<Module>("module", [&] { return ::LoadLibraryExW(self, nullptr, LOAD_LIBRARY_AS_DATAFILE); }, nullptr);
}

TEST(Plumbing, SelectionRestoresAndWindowDcIsReleased) {
    const MemoryDC dc(::CreateCompatibleDC(nullptr));
    const Bitmap bitmap(::CreateBitmap(4, 4, 1, 1, nullptr));
    ASSERT_TRUE(dc && bitmap);
    const HGDIOBJ before = ::GetCurrentObject(dc.Get(), OBJ_BITMAP);
    {
        const Selection selected(dc.Get(), bitmap.Get());
        EXPECT_TRUE(selected.Selected());
        EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.Get(), OBJ_BITMAP), before);
    EXPECT_FALSE(Selection(nullptr, bitmap.Get()).Selected());
    const WindowDC screen(nullptr);
    EXPECT_NE(screen.Get(), nullptr);
}

// The binding's defaults, observed through a dialog that counts its calls.
class CountingDialog : public Dialog {
public:
    int inits = 0, oks = 0, cancels = 0, commands = 0;
    bool acceptOk = true;
    bool boundAtInit = false;

private:
    INT_PTR Init(HWND dialog) override {
        ++inits;
        boundAtInit = FromHandle(dialog) == this && Handle() == dialog;
        return TRUE;
    }
    bool Command(HWND, WORD, WORD) override {
        ++commands;
        return false;
    }
    bool Ok(HWND) override {
        ++oks;
        return acceptOk;
    }
    bool Cancel(HWND dialog) override {
        ++cancels;
        return Dialog::Cancel(dialog);
    }
};

TEST(Plumbing, DialogBindingEndsWithOkAndCancelByDefault) {
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    DialogDriver driver;
    CountingDialog dialog;
    driver.Then([](HWND window) { Click(window, IDOK); });
    EXPECT_EQ(dialog.Run(module, nullptr, 20000), IDOK);
    EXPECT_TRUE(dialog.boundAtInit);
    EXPECT_EQ(dialog.Handle(), nullptr);   // forgotten with the window

    // An OK that refuses keeps the dialog open; Cancel then ends it.
    dialog.acceptOk = false;
    driver.Then([](HWND window) {
        Click(window, IDOK);   // posted: refused before Cancel arrives
        ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(20002, EN_CHANGE), 0);
        Click(window, IDCANCEL);
    });
    EXPECT_EQ(dialog.Run(module, nullptr, 20000), IDCANCEL);
    EXPECT_EQ(dialog.inits, 2);
    EXPECT_EQ(dialog.oks, 2);
    EXPECT_EQ(dialog.cancels, 1);
    EXPECT_GE(dialog.commands, 1);   // OK and Cancel never reach Command
    EXPECT_EQ(dialog.Run(module, nullptr, 29999), -1);   // no such template
    EXPECT_EQ(driver.Unexpected(), 0);
}

// A worker that sends to the window thread while that thread joins it must
// not dead-lock; posted work waits for the message loop and runs in order.
TEST(Plumbing, PostedWorkRunsOnTheWindowThreadAndJoinsAnswerSentWork) {
    const DWORD windowThread = ::GetCurrentThreadId();
    WindowThread window;
    std::vector<int> order;
    DWORD sentOn = 0;
    {
        WorkerThread worker;
        ASSERT_TRUE(worker.Start([&] {
            window.Post([&] { order.push_back(1); });
            window.Post([&] { order.push_back(2); });
            window.Send([&] { sentOn = ::GetCurrentThreadId(); });
        }, 128 * 1024));
        EXPECT_TRUE(worker.Joinable());
        worker.Join();
        EXPECT_FALSE(worker.Joinable());
    }
    EXPECT_EQ(sentOn, windowThread);
    EXPECT_TRUE(order.empty());   // posted work waits for the loop
    ASSERT_TRUE(PumpUntil([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    std::atomic<int> ended{0};
    WorkerGroup group;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(group.Start([&] {
            window.Send([] {});
            ++ended;
        }));
    }
    group.JoinAll();
    EXPECT_EQ(ended.load(), 3);
    EXPECT_EQ(group.Running(), 0u);
}

}  // namespace
}  // namespace kodrin::test
