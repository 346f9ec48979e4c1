// Files as the catalog core needs them. Paths are UTF-16 on every build; both
// "\" and "/" separate folders (natively a "\" is taken as "/").
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kodrin::platform {

// Reads the whole file (shared read access) into bytes. False when the file
// is missing or cannot be read.
bool ReadWholeFile(std::u16string_view path, std::vector<std::uint8_t>& bytes);

// True when the file at path exists and can be opened for reading now
// (folders do not count). Shares read, write and delete access with others.
bool CanOpenForReading(std::u16string_view path);

// Replaces the file's content with bytes so that, whatever happens, the file
// holds either its previous content or the new one, never a mixture:
// the bytes go to a new temporary file in the same folder, which is flushed
// to the disk and then put in the target's place in one step (ReplaceFileW
// or MoveFileExW on Windows, rename natively followed by a flush of the
// folder). The replaced file keeps its attributes. False when anything
// fails; the previous file is then unchanged and the temporary file removed.
// A read-only target is refused. A process killed while writing leaves the
// previous file whole and may leave its temporary file behind.
// A symbolic link at path stays: the file it points to is replaced, in that
// file's folder (see ResolveLinks).
bool WriteFileAtomically(std::u16string_view path, std::span<const std::uint8_t> bytes);

// The file that path names once the symbolic links at its end are followed
// (a link to a link too): the path itself when it names no link. Natively a
// link to a file not made yet resolves to where that file would be. On
// Windows every existing path is resolved with GetFinalPathNameByHandleW (a
// link is a reparse point there; under Wine a Unix link looks like a plain
// file), so the result may be another spelling of a path that names no
// link; a link must lead to an existing file. False when a link cannot be
// resolved (a loop, or on Windows a link whose file is missing).
bool ResolveLinks(std::u16string_view path, std::u16string& target);

// Removes the temporary files that writers of target killed half-way left
// in its folder ("<name>.<16 hex>.tmp"; beside the file a link points to). A temporary file still open by a
// running writer on Windows stays. The number of files removed.
int RemoveLeftoverTemporaries(std::u16string_view target);

// A regular file exists at path.
bool FileExists(std::u16string_view path);
// A folder exists at path.
bool FolderExists(std::u16string_view path);
// The file exists and is marked read-only (the read-only attribute on
// Windows; natively: no write permission bit, or no write access).
bool IsReadOnly(std::u16string_view path);
// Sets or clears the read-only mark.
bool SetReadOnly(std::u16string_view path, bool read_only);

// Copies a file, replacing an existing target. A failed copy leaves the
// target as it was. A target that is a symbolic link stays one: the file it
// points to is replaced.
bool CopyFileTo(std::u16string_view from, std::u16string_view to);
// Moves or renames a file; fails when the target exists.
bool MoveFileTo(std::u16string_view from, std::u16string_view to);
// Deletes a file. False when it could not be deleted (or did not exist).
bool RemoveFile(std::u16string_view path);
// Creates the folder and every missing parent. True when it exists after.
bool CreateFolders(std::u16string_view path);

// Names (not paths) of the regular files in folder, in code unit order.
// With a non-empty extension (".png") only names ending in it, ignoring case.
std::vector<std::u16string> ListFiles(std::u16string_view folder, std::u16string_view extension = {});

// The folder part of a path, up to and including the last separator ("\" or
// "/"); empty when there is none. "C:\Data\Kodrinxml" gives "C:\Data\".
std::u16string_view FolderPart(std::u16string_view path);
// The part after the last separator: "C:\Data\Kodrinxml" gives "Kodrinxml".
std::u16string_view FileNamePart(std::u16string_view path);

// Fault injection for tests of the callers: makes WriteFileAtomically fail
// at a chosen point, as a broken or full disk would. Applies to every later
// write in the process until cleared (ScopedWriteFault clears it).
struct WriteFault {
    enum class Kind {
        None,
        IoError,      // the write fails after `after_bytes` bytes
        DiskFull,     // the disk fills after `after_bytes` bytes
        FlushFails,   // everything written, the flush to the disk fails
        ReplaceFails  // the final replace step fails
    };
    Kind kind = Kind::None;
    std::uint64_t after_bytes = 0;
    // Called with the running count after each piece (at most 1 MiB) written
    // to the temporary file; a test can stop or kill the writer here.
    std::function<void(std::uint64_t written)> on_progress;
};
void SetWriteFaultForTesting(WriteFault fault);

class ScopedWriteFault {
public:
    explicit ScopedWriteFault(WriteFault fault) { SetWriteFaultForTesting(std::move(fault)); }
    ~ScopedWriteFault() { SetWriteFaultForTesting({}); }
    ScopedWriteFault(const ScopedWriteFault&) = delete;
    ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;
};

namespace detail {
// The fault plan in force (a copy), for the two builds' writers.
WriteFault CurrentWriteFault();
// The name of a new temporary file beside target: "<name>.<16 hex>.tmp".
std::u16string TemporaryPathFor(std::u16string_view target);
// How many of `wanted` bytes, at offset `written` of the temporary file, the
// fault plan lets through; sets `fail` to the kind that stops the write.
std::uint64_t AllowedBytes(const WriteFault& fault, std::uint64_t written, std::uint64_t wanted,
                           WriteFault::Kind& fail);
// Keeps the names ending in extension (all when it is empty), sorted.
std::vector<std::u16string> FilterAndSort(std::vector<std::u16string> names, std::u16string_view extension);
}  // namespace detail

}  // namespace kodrin::platform
