#include "discovery/scan_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

#include "discovery/pe_version.h"
#include "discovery/program_file.h"
#include "platform/files.h"
#include "platform/utf.h"

// The built-in filter list, written into the binary by the build.
extern const unsigned char kBuiltInFilterList[];
extern const unsigned long kBuiltInFilterListSize;

namespace kodrin::discovery {

namespace {

// File names are UTF-8; a backslash is a separator, as elsewhere natively.
std::string Native(std::u16string_view path) {
    std::string native = platform::ToUtf8(path);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return native;
}

// The name ends with the extension (".exe", in lower case), ignoring case.
bool HasExtension(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size()) return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] - 'A' + 'a') : tail[i];
        if (c != extension[i]) return false;
    }
    return true;
}

class PosixFolders final : public ScanFolders {
public:
    void List(const std::u16string& folder, std::u16string_view pattern,
              const std::function<bool(const FolderEntry&)>& visit) override {
        const std::string path = folder.empty() ? std::string(".") : Native(folder);
        DIR* directory = ::opendir(path.c_str());
        if (directory == nullptr) return;
        const bool programsOnly = pattern == u"*.exe";
        const int descriptor = ::dirfd(directory);
        while (const dirent* found = ::readdir(directory)) {
            const std::string_view name(found->d_name);
            if (programsOnly && !HasExtension(name, ".exe")) continue;
            struct stat own {};
            if (::fstatat(descriptor, found->d_name, &own, AT_SYMLINK_NOFOLLOW) != 0) continue;
            FolderEntry entry;
            entry.name = platform::FromUtf8(name);
            entry.link = S_ISLNK(own.st_mode);
            entry.folder = S_ISDIR(own.st_mode);
            if (entry.link) {
                // What the link leads to decides whether it is a folder.
                struct stat target {};
                entry.folder = ::fstatat(descriptor, found->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
            }
            if (!visit(entry)) break;
        }
        ::closedir(directory);
    }
    char16_t Separator() const override { return u'/'; }
};

// A program file read with the portable PE reader: the version resource's
// fixed file version and the first translation's company and product
// names; no icon.
class PeProgramFileSource final : public ProgramFileSource {
public:
    bool OpenVersion(const std::u16string& path) override {
        fields_ = {};
        const std::string native = Native(path);
        if (!HasExtension(native, ".exe") && !HasExtension(native, ".dll")) return false;
        std::vector<std::uint8_t> bytes;
        PeVersionInfo info;
        if (platform::ReadWholeFile(path, bytes) && ReadPeVersion(bytes, info)) fields_ = ProgramFields(info);
        return true;
    }
    bool VersionString(std::u16string& out) override { return Take(fields_.version, out); }
    bool VersionValue(std::u16string_view key, std::u16string& out) override {
        if (key == u"CompanyName") return Take(fields_.company, out);
        if (key == u"ProductName") return Take(fields_.product, out);
        return false;
    }
    bool FirstIcon(const std::u16string&, platform::Image&) override { return false; }
    std::u16string TempFolder() override { return u"/tmp/"; }
    bool WriteFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) override {
        return platform::WriteFileAtomically(path, bytes);
    }
    bool ReadFile(const std::u16string& path, std::vector<std::uint8_t>& bytes) override {
        return platform::ReadWholeFile(path, bytes);
    }
    bool FolderDate(const std::u16string& folder, Date& date) override {
        if (folder.empty()) return false;
        struct statx times {};
        if (::statx(AT_FDCWD, Native(folder).c_str(), 0, STATX_BTIME | STATX_MTIME, &times) != 0) return false;
        // The creation time when the file system keeps one, else the last write.
        std::time_t seconds = 0;
        if ((times.stx_mask & STATX_BTIME) != 0 && times.stx_btime.tv_sec != 0) {
            seconds = static_cast<std::time_t>(times.stx_btime.tv_sec);
        } else if ((times.stx_mask & STATX_MTIME) != 0) {
            seconds = static_cast<std::time_t>(times.stx_mtime.tv_sec);
        } else {
            return false;
        }
        std::tm utc{};
        if (::gmtime_r(&seconds, &utc) == nullptr) return false;
        date = Date{};
        date.year = utc.tm_year + 1900;
        date.month = utc.tm_mon + 1;
        date.day = utc.tm_mday;
        return true;
    }

private:
    static bool Take(const std::optional<std::u16string>& value, std::u16string& out) {
        if (!value) return false;
        out = *value;
        return true;
    }
    ProgramVersionFields fields_;
};

}  // namespace

std::unique_ptr<ScanFolders> SystemScanFolders() { return std::make_unique<PosixFolders>(); }

ProgramReader SystemProgramReader(const Settings& options) {
    return [&options](ApplicationRecord& record, const std::u16string& path) {
        PeProgramFileSource source;
        return ReadProgramFile(source, options, record, path);
    };
}

std::span<const std::uint8_t> BuiltInFilterList() {
    return {reinterpret_cast<const std::uint8_t*>(kBuiltInFilterList), kBuiltInFilterListSize};
}

}  // namespace kodrin::discovery
