// Drives kodrin.exe from outside on a large catalog and times what a user
// waits for. Run under Wine with a display:
//
//   drive_program KODRIN_EXE CATALOG ROWS_ALL ROWS_FIRST KODRIN_CLI_EXE
//
// 1. start: from starting the program until its list (control 1204 of the
//    window titled "Kodrin - CATALOG") holds ROWS_ALL rows and answers;
// 2. the first category's tab, then back to "<All>": from selecting the tab
//    (as a click does) until the list holds the tab's rows;
// 3. re-sort: a click on the second column's header, then on it again
//    (reversed), until the header shows the new sort arrow;
// 4. close: from WM_CLOSE until the process has ended (it saves the changed
//    tab and sort);
// 5. kodrin-cli save of the same file, from start to end.
// Each step is printed with its time in seconds and the processor time the
// program spent in it (all its threads, user and kernel), which depends less
// on what else the machine runs. Exit status 1 when a step did not happen
// within its limit.
#include <windows.h>
#include <commctrl.h>

#include <cctype>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kListId = 1204;
constexpr int kTabsId = 1105;
constexpr DWORD kLimitMs = 600000;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search {
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<Search*>(lp);
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    if (std::wcscmp(text, search->title) != 0 || !::IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForWindow(const std::wstring& title) {
    const double start = Now();
    while (Now() - start < kLimitMs / 1000.0) {
        Search search{title.c_str(), nullptr};
        ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        ::Sleep(10);
    }
    return nullptr;
}

// Asks the window with a limit; false when it did not answer in time.
bool Ask(HWND window, UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(window, message, wp, lp, SMTO_NORMAL, kLimitMs, &answer)) return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

// Waits until the list holds rows rows and answers.
bool WaitForRows(HWND list, LRESULT rows) {
    const double start = Now();
    while (Now() - start < kLimitMs / 1000.0) {
        LRESULT count = 0;
        if (!Ask(list, LVM_GETITEMCOUNT, 0, 0, count)) return false;
        if (count == rows) return true;
        ::Sleep(5);
    }
    return false;
}

// The bitmap the header shows on the column (the sort arrow), read through
// a buffer in the program's memory; null when none or unreadable.
HBITMAP HeaderBitmap(HANDLE process, HWND header, int column) {
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof(HDITEMW), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote == nullptr) return nullptr;
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    LRESULT ignored = 0;
    HBITMAP bitmap = nullptr;
    if (::WriteProcessMemory(process, remote, &item, sizeof(item), nullptr) &&
        Ask(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(remote), ignored) &&
        ::ReadProcessMemory(process, remote, &item, sizeof(item), nullptr) && (item.fmt & HDF_BITMAP) != 0) {
        bitmap = item.hbm;
    }
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return bitmap;
}

// A left click on the header of the list's column (by its position), told
// to the header as the mouse would; done when the column shows a sort arrow
// other than before.
bool ClickColumn(HANDLE process, HWND list, int column) {
    LRESULT answer = 0;
    if (!Ask(list, LVM_GETHEADER, 0, 0, answer) || answer == 0) return false;
    auto header = reinterpret_cast<HWND>(answer);
    int x = 0;
    for (int i = 0; i <= column; ++i) {
        if (!Ask(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0, answer)) return false;
        x += i < column ? static_cast<int>(answer) : static_cast<int>(answer) / 2;
    }
    const HBITMAP before = HeaderBitmap(process, header, column);
    const LPARAM at = MAKELPARAM(x, 5);
    if (!Ask(header, WM_LBUTTONDOWN, MK_LBUTTON, at, answer) || !Ask(header, WM_LBUTTONUP, 0, at, answer)) return false;
    const HBITMAP after = HeaderBitmap(process, header, column);
    return after != nullptr && after != before;
}

// The processor time (user and kernel, all threads) that the program's own
// process has used so far, in seconds, read from /proc of the machine Wine
// runs on (drive Z:); 0 when it cannot be found. Wine's GetProcessTimes does
// not tell it for another process.
struct UnixProcess {
    std::wstring stat;   // Z:\proc\<pid>\stat
};

std::string ReadSmallFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text(4096, '\0');
    DWORD got = 0;
    if (!::ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) got = 0;
    ::CloseHandle(file);
    text.resize(got);
    return text;
}

// The process whose command line names the program and holds the marker
// (the catalog's "/F" argument).
UnixProcess FindUnixProcess(const std::string& program, const std::string& marker) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    UnixProcess result;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::string line = ReadSmallFile(L"Z:\\proc\\" + name + L"\\cmdline");
        for (char& c : line) c = c == '\0' ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (line.find(program) != std::string::npos && line.find(marker) != std::string::npos &&
            line.find("drive_program") == std::string::npos) {
            result.stat = L"Z:\\proc\\" + name + L"\\stat";
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return result;
}

double CpuSeconds(const UnixProcess& process) {
    if (process.stat.empty()) return 0;
    const std::string stat = ReadSmallFile(process.stat);
    const std::size_t end = stat.rfind(')');
    if (end == std::string::npos) return 0;
    // After the name: state, then fields 4 to 13, then utime and stime in ticks.
    unsigned long long user = 0, kernel = 0;
    if (std::sscanf(stat.c_str() + end + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &user,
                    &kernel) != 2) {
        return 0;
    }
    return static_cast<double>(user + kernel) / 100.0;
}

// Prints one step: its name, the time since start and the processor time
// used since cpuStart.
void Report(const char* what, double start, const UnixProcess& process, double cpuStart) {
    std::printf("%-28s %8.2f s   cpu %6.2f s\n", what, Now() - start, CpuSeconds(process) - cpuStart);
    std::fflush(stdout);
}

bool Run(const std::wstring& commandLine, PROCESS_INFORMATION& process) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring line = commandLine;
    return ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process) != FALSE;
}

int Fail(const char* what) {
    std::printf("FAILED: %s\n", what);
    std::fflush(stdout);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: drive_program KODRIN_EXE CATALOG ROWS_ALL ROWS_FIRST KODRIN_CLI_EXE\n");
        return 2;
    }
    const std::wstring program = argv[1];
    const std::wstring catalog = argv[2];
    const LRESULT rowsAll = std::wcstol(argv[3], nullptr, 10);
    const LRESULT rowsFirst = std::wcstol(argv[4], nullptr, 10);
    const std::wstring cli = argv[5];

    double start = Now();
    PROCESS_INFORMATION process{};
    if (!Run(L"\"" + program + L"\" \"/F" + catalog + L"\"", process)) return Fail("could not start the program");
    HANDLE kodrin = process.hProcess;
    HWND main = WaitForWindow(L"Kodrin - " + catalog);
    if (main == nullptr) return Fail("no main window");
    std::string marker;
    for (const wchar_t c : catalog) marker.push_back(static_cast<char>(std::tolower(c < 128 ? c : '?')));
    const UnixProcess unix = FindUnixProcess("kodrin.exe", marker);
    HWND list = ::GetDlgItem(main, kListId);
    HWND tabs = ::GetDlgItem(main, kTabsId);
    if (list == nullptr || tabs == nullptr) return Fail("no list or tab strip");
    if (!WaitForRows(list, rowsAll)) return Fail("the list never held every row");
    LRESULT ignored = 0;
    if (!Ask(main, WM_NULL, 0, 0, ignored)) return Fail("the window does not answer");
    Report("start to a filled list", start, unix, 0);

    // The tab strip tells the window of a change of tab as after a click.
    start = Now();
    double cpu = CpuSeconds(unix);
    if (!Ask(tabs, TCM_SETCURFOCUS, 1, 0, ignored) || !WaitForRows(list, rowsFirst)) {
        return Fail("the first category's tab");
    }
    Report("tab: first category", start, unix, cpu);
    start = Now();
    cpu = CpuSeconds(unix);
    if (!Ask(tabs, TCM_SETCURFOCUS, 0, 0, ignored) || !WaitForRows(list, rowsAll)) return Fail("the <All> tab");
    Report("tab: <All>", start, unix, cpu);

    for (const char* what : {"re-sort by column 2", "re-sort reversed"}) {
        start = Now();
        cpu = CpuSeconds(unix);
        if (!ClickColumn(kodrin, list, 1) || !Ask(main, WM_NULL, 0, 0, ignored)) return Fail("a column click");
        Report(what, start, unix, cpu);
    }

    start = Now();
    cpu = CpuSeconds(unix);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    // The processor time is read until the process ends.
    double used = 0;
    while (::WaitForSingleObject(kodrin, 20) == WAIT_TIMEOUT) {
        if (Now() - start > kLimitMs / 1000.0) return Fail("the program did not end");
        if (const double now = CpuSeconds(unix); now > 0) used = now - cpu;
    }
    DWORD code = 1;
    ::GetExitCodeProcess(kodrin, &code);
    std::printf("%-28s %8.2f s   cpu %6.2f s or more\n", "close (saves)", Now() - start, used);
    ::CloseHandle(process.hThread);
    ::CloseHandle(kodrin);
    if (code != 0) return Fail("the program ended with a failure");

    start = Now();
    if (!Run(L"\"" + cli + L"\" save \"" + catalog + L"\"", process)) return Fail("could not start kodrin-cli");
    ::WaitForSingleObject(process.hProcess, kLimitMs);
    ::GetExitCodeProcess(process.hProcess, &code);
    std::printf("%-28s %8.2f s\n", "kodrin-cli save", Now() - start);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (code != 0) return Fail("kodrin-cli save failed");
    std::fflush(stdout);
    return 0;
}
