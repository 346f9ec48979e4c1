#include <windows.h>

#include <string>

#include "platform/files.h"

namespace kodrin::platform {

namespace {
struct Handle {
    HANDLE h;
    ~Handle() { if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h); }
};
}  // namespace

bool ReadWholeFile(std::u16string_view path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const std::wstring wpath(reinterpret_cast<const wchar_t*>(path.data()), path.size());
    Handle file{::CreateFileW(wpath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
    if (file.h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.h, &size) || size.QuadPart < 0) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(file.h, bytes.data() + done, chunk, &got, nullptr)) {
            bytes.clear();
            return false;
        }
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool CanOpenForReading(std::u16string_view path) {
    if (path.empty() || path.find(u'\0') != std::u16string_view::npos) return false;
    const std::wstring wpath(reinterpret_cast<const wchar_t*>(path.data()), path.size());
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened, which is
    // what is wanted here.
    Handle file{::CreateFileW(wpath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    return file.h != INVALID_HANDLE_VALUE;
}

}  // namespace kodrin::platform
