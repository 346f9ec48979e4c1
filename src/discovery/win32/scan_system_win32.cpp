#include "discovery/scan_system.h"

#include <windows.h>

#include "discovery/win32/program_file_win32.h"
#include "framework/handles.h"
#include "framework/wide.h"

namespace kodrin::discovery {

namespace {

class Win32Folders final : public ScanFolders {
public:
    void List(const std::u16string& folder, std::u16string_view pattern,
              const std::function<bool(const FolderEntry&)>& visit) override {
        std::u16string query = folder;
        if (!query.empty() && query.back() != u'\\' && query.back() != u'/') query += u'\\';
        query += pattern;
        WIN32_FIND_DATAW found{};
        const QvLibrary::FindHandle search(::FindFirstFileW(QvLibrary::Wide(query), &found));
        if (!search) return;
        do {
            FolderEntry entry;
            entry.name = QvLibrary::FromWide(found.cFileName);
            entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            entry.link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (!visit(entry)) return;
        } while (::FindNextFileW(search.Get(), &found));
    }
    char16_t Separator() const override { return u'\\'; }
};

}  // namespace

std::unique_ptr<ScanFolders> SystemScanFolders() { return std::make_unique<Win32Folders>(); }

ProgramReader SystemProgramReader(const Settings& options) {
    return [&options](ApplicationRecord& record, const std::u16string& path) {
        return ReadProgramFile(options, record, path);
    };
}

std::span<const std::uint8_t> BuiltInFilterList() {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(kFilterListResource), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (found == nullptr) return {};
    const HGLOBAL loaded = ::LoadResource(module, found);
    const DWORD size = ::SizeofResource(module, found);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) return {};
    return {static_cast<const std::uint8_t*>(bytes), size};
}

}  // namespace kodrin::discovery
