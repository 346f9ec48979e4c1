#include <windows.h>

#include <algorithm>
#include <string>

#include "framework/handles.h"
#include "framework/wide.h"
#include "platform/files.h"

namespace kodrin::platform {

namespace {

using QvLibrary::FileHandle;
using QvLibrary::FindHandle;
using QvLibrary::WideCopy;

DWORD AttributesOf(std::u16string_view path) { return ::GetFileAttributesW(WideCopy(path).c_str()); }

// The file a path leads to once symbolic links are followed, as a plain
// path ("\\?\C:\x" becomes "C:\x", "\\?\UNC\server\x" becomes
// "\\server\x"); a missing path as it is. Every existing path is asked:
// a link is a reparse point on Windows, while under Wine a Unix link shows
// as a plain file that only GetFinalPathNameByHandleW resolves. False when
// a reparse point cannot be followed (its file is missing).
bool ResolveWide(const std::wstring& path, std::wstring& resolved) {
    resolved = path;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    const bool reparsePoint = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    // Opening follows the links; no access is asked for, so a file that
    // another program holds open opens too.
    FileHandle file{::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    if (!file.Valid()) return !reparsePoint;
    std::wstring finalPath(MAX_PATH, L'\0');
    constexpr DWORD kFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    DWORD length = ::GetFinalPathNameByHandleW(file.Get(), finalPath.data(), static_cast<DWORD>(finalPath.size()), kFlags);
    if (length >= finalPath.size()) {
        finalPath.resize(length);
        length = ::GetFinalPathNameByHandleW(file.Get(), finalPath.data(), static_cast<DWORD>(finalPath.size()), kFlags);
    }
    if (length == 0 || length >= finalPath.size()) return !reparsePoint;
    finalPath.resize(length);
    if (finalPath.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        finalPath.replace(0, 8, L"\\\\");
    } else if (finalPath.rfind(L"\\\\?\\", 0) == 0) {
        finalPath.erase(0, 4);
    }
    resolved = std::move(finalPath);
    return true;
}

bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes, const WriteFault& fault) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    std::uint64_t done = 0;
    while (done < bytes.size()) {
        std::uint64_t wanted = std::min<std::uint64_t>(kPiece, bytes.size() - done);
        WriteFault::Kind fail;
        wanted = detail::AllowedBytes(fault, done, wanted, fail);
        if (wanted > 0) {
            DWORD written = 0;
            if (!::WriteFile(file, bytes.data() + done, static_cast<DWORD>(wanted), &written, nullptr) ||
                written != wanted)
                return false;
        }
        done += wanted;
        if (fail != WriteFault::Kind::None) {
            ::SetLastError(fail == WriteFault::Kind::DiskFull ? ERROR_DISK_FULL : ERROR_WRITE_FAULT);
            return false;
        }
        if (fault.on_progress) fault.on_progress(done);
    }
    return true;
}

// Writes bytes to a new temporary file beside target and flushes it to the
// disk; its path on success, nothing left behind on failure.
bool WriteTemporary(std::u16string_view target, std::span<const std::uint8_t> bytes, const WriteFault& fault,
                    std::wstring& temp) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        temp = WideCopy(detail::TemporaryPathFor(target));
        FileHandle file{::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
        if (!file.Valid()) {
            if (::GetLastError() == ERROR_FILE_EXISTS) continue;
            return false;
        }
        bool ok = WriteAll(file.Get(), bytes, fault);
        ok = ok && fault.kind != WriteFault::Kind::FlushFails && ::FlushFileBuffers(file.Get());
        ok = file.Close() && ok;
        if (!ok) ::DeleteFileW(temp.c_str());
        return ok;
    }
    return false;
}

// Puts the finished temporary file in the target's place.
bool Commit(const std::wstring& temp, const std::wstring& target, bool target_exists) {
    if (target_exists) {
        if (::ReplaceFileW(target.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                           nullptr))
            return true;
        const DWORD error = ::GetLastError();
        if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            // The old file is gone and the new content sits only in the
            // temporary file: move it into place, and keep it if even that
            // fails, because it is now the only copy.
            if (::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            if (::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
        }
        ::DeleteFileW(temp.c_str());
        return false;
    }
    if (::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    ::DeleteFileW(temp.c_str());
    return false;
}

}  // namespace

bool ReadWholeFile(std::u16string_view path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    FileHandle file{::CreateFileW(WideCopy(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
    if (!file.Valid()) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return false;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD got = 0;
        if (!::ReadFile(file.Get(), bytes.data() + done, chunk, &got, nullptr)) {
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
    const std::wstring wpath = WideCopy(path);
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder cannot be opened, which is
    // what is wanted here.
    FileHandle file{::CreateFileW(wpath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    return file.Valid();
}

bool ResolveLinks(std::u16string_view path, std::u16string& target) {
    const std::wstring given = WideCopy(path);
    std::wstring resolved;
    if (!ResolveWide(given, resolved)) return false;
    target = resolved == given ? std::u16string(path)
                               : std::u16string(reinterpret_cast<const char16_t*>(resolved.data()), resolved.size());
    return true;
}

bool WriteFileAtomically(std::u16string_view relativeOrFull, std::span<const std::uint8_t> bytes) {
    // ReplaceFileW and MoveFileExW would put the new file in the place of a
    // symbolic link: replace the file the link leads to instead. ReplaceFileW
    // (under Wine at least) fails for a file named by a relative path: work
    // on the full path.
    std::wstring given;
    if (!ResolveWide(WideCopy(relativeOrFull), given)) return false;
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length = ::GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) return false;
    full.resize(length);
    const std::u16string fullPath(reinterpret_cast<const char16_t*>(full.data()), full.size());
    const std::u16string_view path = fullPath;
    const DWORD attributes = AttributesOf(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return false;
    const WriteFault fault = detail::CurrentWriteFault();
    std::wstring temp;
    if (!WriteTemporary(path, bytes, fault, temp)) return false;
    if (fault.kind == WriteFault::Kind::ReplaceFails) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return Commit(temp, WideCopy(path), exists);
}

bool FileExists(std::u16string_view path) {
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(std::u16string_view path) {
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsReadOnly(std::u16string_view path) {
    const DWORD a = AttributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

bool SetReadOnly(std::u16string_view path, bool read_only) {
    const std::wstring wide = WideCopy(path);
    const DWORD a = ::GetFileAttributesW(wide.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return false;
    DWORD wanted = read_only ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~DWORD{FILE_ATTRIBUTE_READONLY});
    if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileAttributesW(wide.c_str(), wanted) != FALSE;
}

bool CopyFileTo(std::u16string_view from, std::u16string_view linkOrTarget) {
    // A link stays a link: the file it leads to is replaced.
    std::u16string to;
    if (!ResolveLinks(linkOrTarget, to)) return false;
    // Copy beside the target first, so that a failed copy leaves it whole.
    const DWORD attributes = AttributesOf(to);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return false;
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::wstring temp = WideCopy(detail::TemporaryPathFor(to));
        if (!::CopyFileW(WideCopy(from).c_str(), temp.c_str(), TRUE)) {
            if (::GetLastError() == ERROR_FILE_EXISTS) continue;
            ::DeleteFileW(temp.c_str());
            return false;
        }
        // A read-only source gives a read-only copy, which cannot replace.
        const DWORD copied = ::GetFileAttributesW(temp.c_str());
        if (copied != INVALID_FILE_ATTRIBUTES && (copied & FILE_ATTRIBUTE_READONLY))
            ::SetFileAttributesW(temp.c_str(), copied & ~DWORD{FILE_ATTRIBUTE_READONLY});
        // Like CopyFileW, the copy takes the source's attributes.
        if (!::MoveFileExW(temp.c_str(), WideCopy(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            ::DeleteFileW(temp.c_str());
            return false;
        }
        if (copied != INVALID_FILE_ATTRIBUTES) ::SetFileAttributesW(WideCopy(to).c_str(), copied);
        return true;
    }
    return false;
}

bool MoveFileTo(std::u16string_view from, std::u16string_view to) {
    return ::MoveFileExW(WideCopy(from).c_str(), WideCopy(to).c_str(), MOVEFILE_COPY_ALLOWED) != FALSE;
}

bool RemoveFile(std::u16string_view path) { return ::DeleteFileW(WideCopy(path).c_str()) != FALSE; }

bool CreateFolders(std::u16string_view path) {
    const std::wstring wide = WideCopy(path);
    for (std::size_t i = 1; i <= wide.size(); ++i) {
        if (i == wide.size() || wide[i] == L'\\' || wide[i] == L'/') {
            // Drive roots ("C:") and share names fail here harmlessly.
            ::CreateDirectoryW(wide.substr(0, i).c_str(), nullptr);
        }
    }
    return FolderExists(path);
}

std::vector<std::u16string> ListFiles(std::u16string_view folder, std::u16string_view extension) {
    std::vector<std::u16string> names;
    std::wstring pattern = WideCopy(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW data{};
    const FindHandle find{::FindFirstFileW(pattern.c_str(), &data)};
    if (!find) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.emplace_back(reinterpret_cast<const char16_t*>(data.cFileName));
    } while (::FindNextFileW(find.Get(), &data));
    return detail::FilterAndSort(std::move(names), extension);
}

}  // namespace kodrin::platform
