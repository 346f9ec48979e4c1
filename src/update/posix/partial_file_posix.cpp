#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/utf.h"
#include "update/partial_file.h"

namespace kodrin::update {

OutputFile::~OutputFile() { Close(); }

bool OutputFile::Create(std::u16string_view path) {
    Close();
    std::string native = platform::ToUtf8(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error_ = static_cast<std::uint32_t>(errno);
        return false;
    }
    handle_ = fd;
    return true;
}

bool OutputFile::Write(const std::uint8_t* data, std::size_t size) {
    if (!IsOpen()) return false;
    while (size > 0) {
        const ssize_t written = ::write(static_cast<int>(handle_), data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            error_ = written < 0 ? static_cast<std::uint32_t>(errno) : static_cast<std::uint32_t>(ENOSPC);
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool OutputFile::Close() {
    if (!IsOpen()) return true;
    const int fd = static_cast<int>(handle_);
    handle_ = kNoHandle;
    if (::close(fd) != 0) {
        error_ = static_cast<std::uint32_t>(errno);
        return false;
    }
    return true;
}

}  // namespace kodrin::update
