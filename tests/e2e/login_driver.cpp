// Runs one main-window command of the program on a catalog, as the user
// would: the window starts on the catalog, the first row of the list is
// selected, the command runs (a login shows its progress dialog until it
// ends), and the window closes, saving what changed.
//
//   login_driver <catalog> <command id | activate> [<cancel after ms>]
//
// "activate" activates the row as a double click does (with CLICKLOGIN on,
// the Login command).
// With a third argument the progress dialog's Cancel button is pressed that
// long after the command started. Prints "start <ms since 1970>" just
// before the command and "done <ms the command took>" after it. Exit
// status: 0 when the command ran, 1 when the program could not start.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/main_window.h"
#include "ids.h"
#include "support/win32/dialog_driver.h"

namespace {

using kodrin::app::MainWindow;

long long NowSince1970Ms() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<long long>(ticks / 10000ULL - 11644473600000ULL);
}

BOOL CALLBACK PressCancel(HWND window, LPARAM) {
    if (::GetDlgItem(window, IDC_PROGRESS_BAR) == nullptr) return TRUE;
    kodrin::test::Click(window, IDCANCEL);
    return FALSE;
}

void CALLBACK OnCancelTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    ::EnumThreadWindows(::GetCurrentThreadId(), PressCancel, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: login_driver <catalog> <command id> [<cancel after ms>]\n");
        return 2;
    }
    const std::u16string catalog(reinterpret_cast<const char16_t*>(argv[1]));
    const bool activate = std::wcscmp(argv[2], L"activate") == 0;
    const int command = static_cast<int>(std::wcstol(argv[2], nullptr, 10));
    const UINT cancelAfter = argc > 3 ? static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10)) : 0;

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    kodrin::app::MainWindowConfig config;
    config.commandLine = u"kodrin.exe /F" + catalog;
    config.registryCompany = u"KodrinLoginDriver";
    config.instanceName = u"KodrinLoginDriver";
    config.userDataFolder = std::u16string(reinterpret_cast<const char16_t*>(temp)) + u"kodrin-login-driver\\";
    ::CreateDirectoryW(reinterpret_cast<const wchar_t*>(config.userDataFolder.c_str()), nullptr);

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!kodrin::app::RegisterMainWindowClass(instance)) return 1;
    HWND window = kodrin::app::CreateMainWindow(instance, config);
    if (window == nullptr) return 1;
    kodrin::test::PumpUntil([&] {
        MainWindow* w = ::IsWindow(window) ? MainWindow::FromHandle(window) : nullptr;
        return w == nullptr || w->Started();
    }, 30000);
    MainWindow* w = ::IsWindow(window) ? MainWindow::FromHandle(window) : nullptr;
    if (w == nullptr || !w->Started()) return 1;

    w->List().SelectRow(0);
    if (cancelAfter != 0) ::SetTimer(nullptr, 0, cancelAfter, OnCancelTimer);
    std::printf("start %lld\n", NowSince1970Ms());
    std::fflush(stdout);
    const DWORD start = ::GetTickCount();
    if (activate) {
        NMITEMACTIVATE activation{};
        activation.hdr.hwndFrom = w->List().Handle();
        activation.hdr.idFrom = kodrin::app::kListId;
        activation.hdr.code = LVN_ITEMACTIVATE;
        ::SendMessageW(window, WM_NOTIFY, kodrin::app::kListId, reinterpret_cast<LPARAM>(&activation));
    } else {
        w->RunCommand(command);
    }
    std::printf("done %lu\n", static_cast<unsigned long>(::GetTickCount() - start));
    std::fflush(stdout);

    ::SendMessageW(window, WM_CLOSE, 0, 0);
    kodrin::test::PumpUntil([&] { return !::IsWindow(window); }, 30000);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\KodrinLoginDriver");
    return 0;
}
