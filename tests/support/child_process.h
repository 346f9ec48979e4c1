// Windows: runs one disabled test of this test program in a new process and
// kills that process once it reports, by creating a marker file, that it has
// reached the point of interest (or once it ends). Waits a minute at most.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <string>

#include "platform/files.h"

namespace kodrin::test {

// True when the marker appeared before the kill.
inline bool RunChildTestUntilMarker(const std::wstring& disabledTest, const std::u16string& marker) {
    wchar_t exe[MAX_PATH];
    if (::GetModuleFileNameW(nullptr, exe, MAX_PATH) == 0) return false;
    std::wstring command =
        L"\"" + std::wstring(exe) + L"\" --gtest_filter=" + disabledTest + L" --gtest_also_run_disabled_tests";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE nul = ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(exe, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                          nullptr, &startup, &process);
    ::CloseHandle(nul);
    if (!started) return false;
    bool ready = false;
    for (int i = 0; i < 6000 && !ready; ++i) {
        ready = platform::FileExists(marker);
        if (!ready && ::WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) break;
    }
    ::TerminateProcess(process.hProcess, 9);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return ready;
}

}  // namespace kodrin::test
#endif
