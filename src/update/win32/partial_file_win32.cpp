#include <windows.h>

#include "framework/wide.h"
#include "update/partial_file.h"

namespace kodrin::update {

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Create(std::u16string_view path) {
    Close();
    const HANDLE file = ::CreateFileW(QvLibrary::WideCopy(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error_ = ::GetLastError();
        return false;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool OutputFile::Write(const std::uint8_t* data, std::size_t size) {
    if (!IsOpen()) return false;
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(reinterpret_cast<HANDLE>(handle_), data, chunk, &written, nullptr) || written == 0) {
            error_ = ::GetLastError();
            if (error_ == 0) error_ = ERROR_DISK_FULL;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool OutputFile::Close() {
    if (!IsOpen()) return true;
    const HANDLE file = reinterpret_cast<HANDLE>(handle_);
    handle_ = kNoHandle;
    if (!::CloseHandle(file)) {
        error_ = ::GetLastError();
        return false;
    }
    return true;
}

}  // namespace kodrin::update
