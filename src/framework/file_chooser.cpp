#include "framework/file_chooser.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "framework/app.h"
#include "framework/wide.h"

namespace QvLibrary {

struct FileChooserState {
    const QvApp* app = nullptr;
    std::u16string defaultExtension;
    std::u16string fileName;
    std::u16string filter;
    std::u16string initialFolder;
    std::u16string title;
};

namespace {


bool Exists(const std::u16string& path) { return ::GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES; }

// The folder browser starts on the initial folder.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data != 0) {
        ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

// COM for the folder browser, single-threaded as the shell wants it.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (initialised_) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

}  // namespace

FileChooser::FileChooser(const QvApp& app) : state_(std::make_unique<FileChooserState>()) { state_->app = &app; }

FileChooser::~FileChooser() = default;

void FileChooser::SetDefaultExtension(const std::u16string& extension) { state_->defaultExtension = extension; }

void FileChooser::SetFileName(const std::u16string& name) {
    state_->fileName = name.substr(0, kFileNameCapacity - 1);
}

void FileChooser::SetFilter(const std::u16string& pairs) { state_->filter = pairs; }

void FileChooser::AddFilter(const std::u16string& description, const std::u16string& pattern) {
    std::u16string& filter = state_->filter;
    filter += description;
    filter += u'\0';
    filter += pattern;
    filter += u'\0';
}

void FileChooser::ClearFilter() { state_->filter.clear(); }

void FileChooser::SetInitialFolder(const std::u16string& folder) { state_->initialFolder = folder; }

void FileChooser::SetTitle(const std::u16string& title) { state_->title = title; }

const std::u16string& FileChooser::DefaultExtension() const { return state_->defaultExtension; }
const std::u16string& FileChooser::FileName() const { return state_->fileName; }
const std::u16string& FileChooser::Filter() const { return state_->filter; }
const std::u16string& FileChooser::InitialFolder() const { return state_->initialFolder; }
const std::u16string& FileChooser::Title() const { return state_->title; }

bool FileChooser::RunFileDialog(HWND owner, DWORD flags, bool save) {
    FileChooserState& s = *state_;
    std::vector<wchar_t> name(kFileNameCapacity, L'\0');
    const std::size_t length = std::min(s.fileName.size(), kFileNameCapacity - 1);
    std::copy_n(s.fileName.data(), length, name.data());
    // The system wants the list of pairs ended by an empty string.
    std::u16string filter = s.filter;
    if (!filter.empty() && filter.back() != u'\0') filter += u'\0';

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.hInstance = s.app->ResourceModule();
    dialog.lpstrFilter = WideOrNull(filter);
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrInitialDir = WideOrNull(s.initialFolder);
    dialog.lpstrTitle = WideOrNull(s.title);
    dialog.lpstrDefExt = WideOrNull(s.defaultExtension);
    dialog.Flags = flags;
    const BOOL chosen = save ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
    if (!chosen) return false;
    name.back() = L'\0';
    s.fileName = FromWide(name.data());
    return !s.fileName.empty();
}

std::optional<std::u16string> FileChooser::Open(HWND owner) {
    if (!RunFileDialog(owner, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, false)) return std::nullopt;
    return state_->fileName;
}

std::optional<std::u16string> FileChooser::Save() {
    FileChooserState& s = *state_;
    const HWND owner = s.app->MainWindow();
    for (;;) {
        if (!RunFileDialog(owner, OFN_HIDEREADONLY, true)) return std::nullopt;
        if (!Exists(s.fileName)) return s.fileName;
        const std::u16string text = s.fileName + s.app->LoadString(kOverwriteQuestion);
        // A message box without a caption would be titled "Error".
        const std::u16string& caption = s.title.empty() ? s.app->Title() : s.title;
        switch (::MessageBoxW(owner, Wide(text), Wide(caption), MB_YESNOCANCEL | MB_ICONQUESTION)) {
            case IDYES:
                return s.fileName;
            case IDNO:
                continue;
            default:
                return std::nullopt;
        }
    }
}

std::optional<std::u16string> FileChooser::BrowseForFolder(HWND owner) {
    FileChooserState& s = *state_;
    ComScope com;
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = WideOrNull(s.title);
    browse.ulFlags = BIF_STATUSTEXT | BIF_NONEWFOLDERBUTTON;
    if (!s.initialFolder.empty()) {
        browse.lpfn = BrowseCallback;
        browse.lParam = reinterpret_cast<LPARAM>(Wide(s.initialFolder));
    }
    LPITEMIDLIST items = ::SHBrowseForFolderW(&browse);
    if (items == nullptr) return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const BOOL isFolder = ::SHGetPathFromIDListW(items, path);
    ::CoTaskMemFree(items);
    if (!isFolder || path[0] == L'\0') return std::nullopt;
    return FromWide(path);
}

}  // namespace QvLibrary
