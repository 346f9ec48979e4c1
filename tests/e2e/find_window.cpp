// A small driver of another program's windows for the black-box tests of
// kodrin.exe. Every command names a top-level window by its exact title.
//
//   find_window wait <title> <ms>        exit 0 once such a window shows
//   find_window gone <title> <ms>        exit 0 once none exists
//   find_window command <title> <id>     post WM_COMMAND id to it
//   find_window close <title>            post WM_CLOSE to it
//   find_window answer <title> <ms>      wait for a dialog (message box) of
//                                        that title, print its text, press
//                                        its default button
//
// Exit status 0 on success, 1 when the window was not found in time, 2 for
// a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
    const wchar_t* title;
    bool dialogOnly;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    if (std::wcscmp(text, search->title) != 0) return TRUE;
    // Only shown windows count: the program shows its window once the
    // catalog is loaded.
    if (!::IsWindowVisible(window)) return TRUE;
    if (search->dialogOnly) {
        wchar_t name[32] = {};
        ::GetClassNameW(window, name, 32);
        if (std::wcscmp(name, L"#32770") != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND Find(const wchar_t* title, bool dialogOnly) {
    Search search{title, dialogOnly, nullptr};
    ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitFor(const wchar_t* title, bool dialogOnly, DWORD ms) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND window = Find(title, dialogOnly)) return window;
        if (::GetTickCount() - start > ms) return nullptr;
        ::Sleep(50);
    }
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
    wchar_t name[32] = {};
    ::GetClassNameW(child, name, 32);
    if (_wcsicmp(name, L"Static") != 0) return TRUE;
    wchar_t text[1024] = {};
    ::GetWindowTextW(child, text, 1024);
    if (text[0] == 0) return TRUE;
    char utf8[4096] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("%s\n", utf8);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring command = argv[1];
    const wchar_t* title = argv[2];
    const DWORD ms = argc > 3 ? static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10)) : 0;
    if (command == L"wait") return WaitFor(title, false, ms) != nullptr ? 0 : 1;
    if (command == L"gone") {
        const DWORD start = ::GetTickCount();
        while (Find(title, false) != nullptr) {
            if (::GetTickCount() - start > ms) return 1;
            ::Sleep(50);
        }
        return 0;
    }
    if (command == L"command") {
        HWND window = Find(title, false);
        if (window == nullptr || argc < 4) return 1;
        return ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(ms, 0), 0) ? 0 : 1;
    }
    if (command == L"close") {
        HWND window = Find(title, false);
        return window != nullptr && ::PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == L"answer") {
        HWND box = WaitFor(title, true, ms);
        if (box == nullptr) return 1;
        ::EnumChildWindows(box, PrintStatic, 0);
        std::fflush(stdout);
        // The OK button of a message box, as a click on it tells the box.
        return ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                              reinterpret_cast<LPARAM>(::GetDlgItem(box, IDOK)))
                   ? 0
                   : 1;
    }
    return 2;
}
