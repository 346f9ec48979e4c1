#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>

#include "platform/files.h"
#include "platform/utf.h"

namespace kodrin::platform {

namespace {

// Native file names: UTF-8, "/" separators.
std::string Native(std::u16string_view path) {
    std::string native = ToUtf8(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

struct Fd {
    int fd = -1;
    ~Fd() { Close(); }
    bool Close() {
        if (fd < 0) return true;
        const int r = ::close(fd);
        fd = -1;
        return r == 0;
    }
};

bool StatOf(const std::string& native, struct stat& st) { return ::stat(native.c_str(), &st) == 0; }

// Follows the symbolic links at the end of a native path: a relative link
// is taken from the folder of the link. False for a loop or an unreadable
// link.
bool ResolveNative(std::string path, std::string& resolved) {
    std::vector<char> buffer(PATH_MAX);
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            resolved = std::move(path);
            return true;
        }
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return false;
        std::string link(buffer.data(), static_cast<std::size_t>(n));
        if (link.front() != '/') {
            const std::size_t slash = path.rfind('/');
            if (slash != std::string::npos) link.insert(0, path, 0, slash + 1);
        }
        path = std::move(link);
    }
    return false;
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes, const WriteFault& fault) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    std::uint64_t done = 0;
    while (done < bytes.size()) {
        std::uint64_t wanted = std::min<std::uint64_t>(kPiece, bytes.size() - done);
        WriteFault::Kind fail;
        wanted = detail::AllowedBytes(fault, done, wanted, fail);
        std::uint64_t piece_done = 0;
        while (piece_done < wanted) {
            const ssize_t n = ::write(fd, bytes.data() + done + piece_done, wanted - piece_done);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            piece_done += static_cast<std::uint64_t>(n);
        }
        done += piece_done;
        if (fail != WriteFault::Kind::None) {
            errno = fail == WriteFault::Kind::DiskFull ? ENOSPC : EIO;
            return false;
        }
        if (fault.on_progress) fault.on_progress(done);
    }
    return true;
}

bool SyncFolderOf(const std::string& native) {
    const std::size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
    Fd dir{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    return dir.fd >= 0 && ::fsync(dir.fd) == 0;
}

// Writes bytes to a new temporary file beside target and flushes it; the
// temporary path on success. Mode: the target's when it exists.
bool WriteTemporary(const std::string& target, std::span<const std::uint8_t> bytes, const WriteFault& fault,
                    std::string& temp) {
    struct stat st {};
    const bool exists = StatOf(target, st);
    for (int attempt = 0; attempt < 10; ++attempt) {
        temp = Native(detail::TemporaryPathFor(FromUtf8(target)));
        Fd file{::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)};
        if (file.fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        bool ok = !exists || ::fchmod(file.fd, st.st_mode & 07777) == 0;
        ok = ok && WriteAll(file.fd, bytes, fault);
        ok = ok && fault.kind != WriteFault::Kind::FlushFails && ::fsync(file.fd) == 0;
        ok = file.Close() && ok;
        if (!ok) ::unlink(temp.c_str());
        return ok;
    }
    return false;
}

}  // namespace

bool ReadWholeFile(std::u16string_view path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const std::string native = Native(path);
    Fd file{::open(native.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) return false;
    struct stat st {};
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.fd, bytes.data() + done, bytes.size() - done);
        if (got < 0) {
            if (errno == EINTR) continue;
            bytes.clear();
            return false;
        }
        if (got == 0) break;  // the file shrank while we read it
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return true;
}

bool CanOpenForReading(std::u16string_view path) {
    if (path.empty() || path.find(u'\0') != std::u16string_view::npos) return false;
    const std::string native = Native(path);
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
    ::close(fd);
    return ok;
}

bool ResolveLinks(std::u16string_view path, std::u16string& target) {
    const std::string native = Native(path);
    std::string resolved;
    if (!ResolveNative(native, resolved)) return false;
    target = resolved == native ? std::u16string(path) : FromUtf8(resolved);
    return true;
}

bool WriteFileAtomically(std::u16string_view path, std::span<const std::uint8_t> bytes) {
    // A link stays a link: its file is replaced, beside that file.
    std::string target;
    if (!ResolveNative(Native(path), target)) return false;
    struct stat st {};
    if (StatOf(target, st) && (!S_ISREG(st.st_mode) || IsReadOnly(path))) return false;
    const WriteFault fault = detail::CurrentWriteFault();
    std::string temp;
    if (!WriteTemporary(target, bytes, fault, temp)) return false;
    if (fault.kind == WriteFault::Kind::ReplaceFails || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // The new name is in place; a failed folder flush cannot undo that, and
    // the content itself is already on the disk.
    SyncFolderOf(target);
    return true;
}

bool FileExists(std::u16string_view path) {
    struct stat st {};
    return StatOf(Native(path), st) && S_ISREG(st.st_mode);
}

bool FolderExists(std::u16string_view path) {
    struct stat st {};
    return StatOf(Native(path), st) && S_ISDIR(st.st_mode);
}

bool IsReadOnly(std::u16string_view path) {
    const std::string native = Native(path);
    struct stat st {};
    if (!StatOf(native, st)) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(native.c_str(), W_OK) != 0;
}

bool SetReadOnly(std::u16string_view path, bool read_only) {
    const std::string native = Native(path);
    struct stat st {};
    if (!StatOf(native, st)) return false;
    mode_t mode = st.st_mode & 07777;
    mode = read_only ? mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH) : mode | S_IWUSR;
    return ::chmod(native.c_str(), mode) == 0;
}

bool CopyFileTo(std::u16string_view from, std::u16string_view to) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(from, bytes)) return false;
    std::string target;
    if (!ResolveNative(Native(to), target)) return false;
    struct stat st {};
    if (StatOf(target, st) && IsReadOnly(to)) return false;
    const WriteFault none;
    std::string temp;
    if (!WriteTemporary(target, bytes, none, temp)) return false;
    // A copy carries the source's permissions, as CopyFileW carries attributes.
    struct stat src {};
    if (StatOf(Native(from), src)) ::chmod(temp.c_str(), src.st_mode & 07777);
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool MoveFileTo(std::u16string_view from, std::u16string_view to) {
    const std::string source = Native(from);
    const std::string target = Native(to);
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EXDEV) return false;
    // Another file system: copy, then delete the original.
    struct stat st {};
    if (StatOf(target, st) || !CopyFileTo(from, to)) return false;
    if (::unlink(source.c_str()) != 0) {
        ::unlink(target.c_str());
        return false;
    }
    return true;
}

bool RemoveFile(std::u16string_view path) { return ::unlink(Native(path).c_str()) == 0; }

bool CreateFolders(std::u16string_view path) {
    const std::string native = Native(path);
    for (std::size_t i = 1; i <= native.size(); ++i) {
        if (i == native.size() || native[i] == '/') {
            const std::string prefix = native.substr(0, i);
            if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) {
                // A missing parent that cannot be made fails below.
            }
        }
    }
    struct stat st {};
    return StatOf(native, st) && S_ISDIR(st.st_mode);
}

std::vector<std::u16string> ListFiles(std::u16string_view folder, std::u16string_view extension) {
    std::vector<std::u16string> names;
    const std::string native = Native(folder);
    DIR* dir = ::opendir(native.empty() ? "." : native.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            names.push_back(FromUtf8(entry->d_name));
    }
    ::closedir(dir);
    return detail::FilterAndSort(std::move(names), extension);
}

}  // namespace kodrin::platform
