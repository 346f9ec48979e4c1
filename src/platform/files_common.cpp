#include <algorithm>
#include <atomic>
#include <mutex>

#include "platform/crypto.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kodrin::platform {

namespace {
std::mutex g_fault_mutex;
WriteFault g_fault;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }
}  // namespace

void SetWriteFaultForTesting(WriteFault fault) {
    std::lock_guard lock(g_fault_mutex);
    g_fault = std::move(fault);
}

std::u16string_view FolderPart(std::u16string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1])) return path.substr(0, i);
    // "C:name" names a file in drive C's current folder.
    if (path.size() >= 2 && path[1] == u':') return path.substr(0, 2);
    return {};
}

std::u16string_view FileNamePart(std::u16string_view path) { return path.substr(FolderPart(path).size()); }

int RemoveLeftoverTemporaries(std::u16string_view given) {
    // The writers put their temporary files beside the file a link names.
    std::u16string target;
    if (!ResolveLinks(given, target)) return 0;
    const std::u16string_view name = FileNamePart(target);
    if (name.empty()) return 0;
    const std::u16string folder(FolderPart(target));
    int removed = 0;
    for (const std::u16string& file : ListFiles(folder.empty() ? u"." : folder, u".tmp")) {
        // Exactly "<name>." + 16 lower-case hex digits + ".tmp", as the writer names them.
        if (file.size() != name.size() + 1 + 16 + 4 || file.compare(0, name.size(), name) != 0 ||
            file[name.size()] != u'.' || file.compare(file.size() - 4, 4, u".tmp") != 0)
            continue;
        const std::u16string_view digits = std::u16string_view(file).substr(name.size() + 1, 16);
        if (!std::all_of(digits.begin(), digits.end(),
                         [](char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); }))
            continue;
        if (RemoveFile(folder + file)) ++removed;
    }
    return removed;
}

namespace detail {

WriteFault CurrentWriteFault() {
    std::lock_guard lock(g_fault_mutex);
    return g_fault;
}

std::u16string TemporaryPathFor(std::u16string_view target) {
    std::uint8_t random[8] = {};
    static std::atomic<std::uint64_t> counter{0};
    if (!RandomBytes(random)) {
        // Uniqueness only, not secrecy: a counter will do.
        const std::uint64_t c = ++counter;
        for (int i = 0; i < 8; ++i) random[i] = static_cast<std::uint8_t>(c >> (8 * i));
    }
    static const char16_t kHex[] = u"0123456789abcdef";
    std::u16string path(target);
    path += u'.';
    for (const std::uint8_t b : random) {
        path += kHex[b >> 4];
        path += kHex[b & 15];
    }
    path += u".tmp";
    return path;
}

std::uint64_t AllowedBytes(const WriteFault& fault, std::uint64_t written, std::uint64_t wanted,
                           WriteFault::Kind& fail) {
    fail = WriteFault::Kind::None;
    if (fault.kind != WriteFault::Kind::IoError && fault.kind != WriteFault::Kind::DiskFull) return wanted;
    if (written + wanted <= fault.after_bytes) return wanted;
    fail = fault.kind;
    return fault.after_bytes > written ? fault.after_bytes - written : 0;
}

std::vector<std::u16string> FilterAndSort(std::vector<std::u16string> names, std::u16string_view extension) {
    if (!extension.empty()) {
        std::erase_if(names, [&](const std::u16string& name) {
            return name.size() < extension.size() ||
                   !EqualIgnoreCase(std::u16string_view(name).substr(name.size() - extension.size()), extension);
        });
    }
    std::sort(names.begin(), names.end(),
              [](const std::u16string& a, const std::u16string& b) { return CompareOrdinal(a, b) < 0; });
    return names;
}

}  // namespace detail

}  // namespace kodrin::platform
