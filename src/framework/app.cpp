#include "framework/app.h"

#include <aclapi.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/helpers.h"
#include "framework/wide.h"
#include "platform/text.h"

namespace QvLibrary {

using FolderPathFunction = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);

struct AppState {
    Handle catalogLock;
    HINSTANCE resourceModule = nullptr;
    Module loadedModule;                // the resource library this object loaded, if any
    Module folderLibrary;
    FolderPathFunction getFolderPath = nullptr;
    HWND mainWindow = nullptr;
    std::vector<BYTE> version;          // version-information block
    const WORD* translation = nullptr;  // language, code page; into version
    std::u16string name;
    std::u16string lowerName;
    std::u16string title;
    std::u16string company;
    int nameId = 0;
    int companyId = 0;
    int titleId = 0;
};

namespace {

constexpr int kTitleId = 4109;
constexpr int kInputDialog = 20000;
constexpr int kInputPrompt = 20001;
constexpr int kInputEdit = 20002;

std::u16string WithBackslash(std::u16string folder) {
    if (folder.empty() || folder.back() != u'\\') folder += u'\\';
    return folder;
}

bool EndsWithIgnoreCase(const std::u16string& text, std::u16string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return kodrin::platform::EqualIgnoreCase(std::u16string_view(text).substr(text.size() - suffix.size()), suffix);
}

std::u16string ModuleFileName(HMODULE module) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return FromWide(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

// Security attributes of the shared data folders: Everyone may do
// everything, in the folder and in what is created inside it.
class EveryoneAccess {
public:
    EveryoneAccess() {
        BYTE sid[SECURITY_MAX_SID_SIZE];
        DWORD sidSize = sizeof(sid);
        if (!::CreateWellKnownSid(WinWorldSid, nullptr, sid, &sidSize)) return;
        EXPLICIT_ACCESSW access{};
        access.grfAccessPermissions = STANDARD_RIGHTS_ALL | SPECIFIC_RIGHTS_ALL;
        access.grfAccessMode = GRANT_ACCESS;
        access.grfInheritance = SUB_CONTAINERS_AND_OBJECTS_INHERIT;
        access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
        access.Trustee.ptstrName = reinterpret_cast<LPWSTR>(sid);
        if (::SetEntriesInAclW(1, &access, nullptr, &acl_) != ERROR_SUCCESS) {
            acl_ = nullptr;
            return;
        }
        if (!::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
            !::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl_, FALSE)) {
            return;
        }
        attributes_.nLength = sizeof(attributes_);
        attributes_.lpSecurityDescriptor = &descriptor_;
        attributes_.bInheritHandle = FALSE;
        valid_ = true;
    }
    ~EveryoneAccess() {
        if (acl_ != nullptr) ::LocalFree(acl_);
    }
    EveryoneAccess(const EveryoneAccess&) = delete;
    EveryoneAccess& operator=(const EveryoneAccess&) = delete;

    SECURITY_ATTRIBUTES* Attributes() { return valid_ ? &attributes_ : nullptr; }

private:
    PACL acl_ = nullptr;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
    bool valid_ = false;
};

bool IsFolder(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates every missing folder of path (no trailing backslash needed).
bool CreateFolders(const std::u16string& path, bool shared) {
    if (path.empty()) return false;
    std::u16string folder = path;
    while (!folder.empty() && folder.back() == u'\\') folder.pop_back();
    if (IsFolder(folder)) return true;
    EveryoneAccess everyone;
    std::size_t next = 0;
    for (;;) {
        const std::size_t separator = folder.find(u'\\', next);
        const std::u16string prefix = folder.substr(0, separator);
        next = separator == std::u16string::npos ? folder.size() : separator + 1;
        const bool isDrive = prefix.size() == 2 && prefix[1] == u':';
        if (!prefix.empty() && !isDrive && !IsFolder(prefix)) {
            if (!::CreateDirectoryW(Wide(prefix), shared ? everyone.Attributes() : nullptr) &&
                ::GetLastError() != ERROR_ALREADY_EXISTS) {
                return false;
            }
        }
        if (separator == std::u16string::npos) break;
    }
    return IsFolder(folder);
}

// Appends "\part" for each non-empty part.
std::u16string JoinFolder(std::u16string base, std::initializer_list<const std::u16string*> parts) {
    while (!base.empty() && base.back() == u'\\') base.pop_back();
    for (const std::u16string* part : parts) {
        if (!part->empty()) base += u'\\' + *part;
    }
    return base;
}

// Dialog 20000: the value is written back only on OK.
class InputBoxDialog final : public Dialog {
public:
    InputBoxDialog(std::u16string& value, const std::u16string& title, const std::u16string& prompt, bool password)
        : value_(value), title_(title), prompt_(prompt), password_(password) {}

private:
    INT_PTR Init(HWND dialog) override {
        CentreOnParent(dialog);
        HWND edit = ::GetDlgItem(dialog, kInputEdit);
        if (password_) ::SendMessageW(edit, EM_SETPASSWORDCHAR, L'*', 0);
        ::SetFocus(edit);
        ::SetWindowTextW(dialog, Wide(title_));
        ::SetDlgItemTextW(dialog, kInputPrompt, Wide(prompt_));
        ::SetWindowTextW(edit, Wide(value_));
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        return FALSE;  // the focus is set
    }
    bool Ok(HWND dialog) override {
        value_ = GetItemText(dialog, kInputEdit);
        return true;
    }

    std::u16string& value_;
    const std::u16string& title_;
    const std::u16string& prompt_;
    bool password_;
};

}  // namespace

// ---- QvApp ----

QvApp::QvApp(int nameId, int companyId, int titleId) : state_(std::make_unique<AppState>()) {
    AppState& s = *state_;
    s.catalogLock.Reset(::CreateMutexW(nullptr, FALSE, nullptr));
    s.resourceModule = ::GetModuleHandleW(nullptr);
    s.folderLibrary.Reset(::LoadLibraryW(L"shfolder.dll"));
    if (s.folderLibrary) {
        s.getFolderPath = reinterpret_cast<FolderPathFunction>(
            reinterpret_cast<void*>(::GetProcAddress(s.folderLibrary.Get(), "SHGetFolderPathW")));
    }
    s.nameId = nameId;
    s.companyId = companyId;
    s.titleId = titleId;
    LoadNames();
    ReadVersion(ModuleFileName(nullptr));
}

QvApp::~QvApp() = default;

void QvApp::LoadNames() {
    AppState& s = *state_;
    s.name = LoadString(s.nameId);
    s.lowerName = s.name;
    if (!s.lowerName.empty()) {
        ::CharLowerBuffW(reinterpret_cast<wchar_t*>(s.lowerName.data()), static_cast<DWORD>(s.lowerName.size()));
    }
    s.title = LoadString(s.titleId);
    s.company = LoadString(s.companyId);
}

void QvApp::ReadVersion(const std::u16string& path) {
    AppState& s = *state_;
    s.version.clear();
    s.translation = nullptr;
    if (path.empty()) return;
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(Wide(path), &ignored);
    if (size == 0) return;
    s.version.resize(size);
    if (!::GetFileVersionInfoW(Wide(path), 0, size, s.version.data())) {
        s.version.clear();
        return;
    }
    void* translation = nullptr;
    UINT length = 0;
    if (::VerQueryValueW(s.version.data(), L"\\VarFileInfo\\Translation", &translation, &length) &&
        translation != nullptr && length >= 2 * sizeof(WORD)) {
        s.translation = static_cast<const WORD*>(translation);
    }
}

std::u16string QvApp::LoadString(int id) const {
    if (id < 0 || id > 0xFFFF) return {};
    HMODULE module = state_->resourceModule;
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id / 16 + 1), MAKEINTRESOURCEW(6) /* RT_STRING */);
    if (found == nullptr) return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    const DWORD bytes = ::SizeofResource(module, found);
    if (loaded == nullptr || bytes < sizeof(WCHAR)) return {};
    const auto* unit = static_cast<const WCHAR*>(::LockResource(loaded));
    if (unit == nullptr) return {};
    const WCHAR* end = unit + bytes / sizeof(WCHAR);
    // Sixteen entries, each a length word and that many units; the whole
    // word counts, so entries of 256 units and more are read correctly.
    for (int skip = id % 16; skip > 0; --skip) {
        const std::size_t skipped = *unit;
        if (skipped >= static_cast<std::size_t>(end - unit)) return {};
        unit += 1 + skipped;
    }
    if (unit >= end) return {};
    std::size_t length = *unit++;
    if (length > static_cast<std::size_t>(end - unit)) return {};
    // Some resource compilers store the terminating zero with the text.
    while (length > 0 && unit[length - 1] == 0) --length;
    return FromWide(unit, length);
}

int QvApp::Box(const std::u16string& title, const std::u16string& text, UINT flags) const {
    return ::MessageBoxW(state_->mainWindow, Wide(text), Wide(title), flags);
}

int QvApp::AskQuestion(int textId) const {
    return Box(LoadString(kTitleId), LoadString(textId), MB_YESNOCANCEL | MB_ICONQUESTION);
}

void QvApp::ShowWarning(int textId) const {
    Box(LoadString(kTitleId), LoadString(textId), MB_OK | MB_ICONEXCLAMATION);
}

void QvApp::ShowError(const std::u16string& title, const std::u16string& text) const {
    Box(title, text, MB_OK | MB_ICONSTOP);
}

void QvApp::ShowInfo(const std::u16string& title, const std::u16string& text) const {
    Box(title, text, MB_OK | MB_ICONINFORMATION);
}

void QvApp::ShowInfo(int textId, int titleId) const { ShowInfo(LoadString(titleId), LoadString(textId)); }

bool QvApp::Confirm(const std::u16string& title, const std::u16string& text) const {
    return Box(title, text, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool QvApp::Confirm(int textId, int titleId) const { return Confirm(LoadString(titleId), LoadString(textId)); }

bool QvApp::RunDialog(HWND parent, int templateId, DLGPROC procedure, LPARAM parameter) const {
    if (parent == nullptr) parent = state_->mainWindow;
    return ::DialogBoxParamW(state_->resourceModule, MAKEINTRESOURCEW(templateId), parent, procedure,
                             parameter) == 1;
}

std::optional<std::u16string> QvApp::InputBox(std::u16string& value, const std::u16string& title,
                                              const std::u16string& prompt, bool password) const {
    std::u16string entered = value;
    InputBoxDialog dialog(entered, title, prompt, password);
    if (!dialog.Run(*this, nullptr, kInputDialog)) return std::nullopt;
    value = entered;
    return value;
}

bool QvApp::GetVersionString(std::u16string& out) const {
    const AppState& s = *state_;
    if (s.version.empty()) return false;
    void* data = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(s.version.data(), L"\\", &data, &length) || data == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    const std::string text = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                             std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                             std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                             std::to_string(LOWORD(fixed->dwFileVersionLS));
    out.assign(text.begin(), text.end());
    return true;
}

bool QvApp::GetVersionInfo(const std::u16string& key, std::u16string& out) const {
    const AppState& s = *state_;
    if (s.version.empty() || s.translation == nullptr) return false;
    wchar_t block[64];
    ::wsprintfW(block, L"\\StringFileInfo\\%04x%04x\\", s.translation[0], s.translation[1]);
    const std::u16string query = FromWide(block, ::lstrlenW(block)) + key;
    void* data = nullptr;
    UINT length = 0;
    // VerQueryValueW does not change the block; its parameter is not const.
    auto* versionBlock = const_cast<BYTE*>(s.version.data());
    if (!::VerQueryValueW(versionBlock, Wide(query), &data, &length) || data == nullptr) return false;
    const auto* text = static_cast<const wchar_t*>(data);
    std::size_t size = 0;
    while (size < length && text[size] != 0) ++size;
    out = FromWide(text, size);
    return true;
}

std::u16string QvApp::DataFolder(int csidl, bool common) const {
    const AppState& s = *state_;
    if (s.getFolderPath != nullptr) {
        wchar_t buffer[MAX_PATH] = {};
        if (SUCCEEDED(s.getFolderPath(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, 0, buffer)) && buffer[0] != 0) {
            const std::u16string folder =
                JoinFolder(FromWide(buffer, ::lstrlenW(buffer)), {&s.company, &s.name});
            if (CreateFolders(folder, common)) return WithBackslash(folder);
        }
    }
    const std::u16string fallback = JoinFolder(GetTempFolder(), {common ? &s.name : &s.company});
    CreateFolders(fallback, common);
    return WithBackslash(fallback);
}

std::u16string QvApp::GetCommonDataFolder() const { return DataFolder(CSIDL_COMMON_APPDATA, true); }

std::u16string QvApp::GetUserDataFolder() const { return DataFolder(CSIDL_APPDATA, false); }

std::u16string QvApp::GetModuleFolder() const {
    const std::u16string path = ModuleFileName(nullptr);
    const std::size_t slash = path.find_last_of(u"\\/");
    if (slash == std::u16string::npos) return GetCurrentFolder();
    return path.substr(0, slash + 1);
}

std::u16string QvApp::GetCurrentFolder() const {
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return GetTempFolder();
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return GetTempFolder();
    return WithBackslash(FromWide(buffer.data(), length));
}

std::u16string QvApp::GetTempFolder() const {
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH + 1) return u"C:\\";
    return WithBackslash(FromWide(buffer, length));
}

bool QvApp::SetResourceModule(const std::u16string& path) {
    AppState& s = *state_;
    s.resourceModule = ::GetModuleHandleW(nullptr);
    s.loadedModule.Reset();
    bool known = true;
    if (EndsWithIgnoreCase(path, u".exe")) {
        if (HMODULE loaded = ::GetModuleHandleW(Wide(path))) s.resourceModule = loaded;
    } else if (EndsWithIgnoreCase(path, u".dll")) {
        // Only the resources are wanted: the library's code is never run.
        HMODULE library = ::LoadLibraryExW(Wide(path), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (library != nullptr) {
            s.resourceModule = library;
            s.loadedModule.Reset(library);
        }
    } else {
        known = false;
    }
    LoadNames();
    ReadVersion(known ? path : ModuleFileName(nullptr));
    return known;
}

bool QvApp::OpenDocument(const std::u16string& target) const {
    const HINSTANCE result =
        ::ShellExecuteW(state_->mainWindow, L"open", Wide(target), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

HINSTANCE QvApp::ResourceModule() const { return state_->resourceModule; }
HWND QvApp::MainWindow() const { return state_->mainWindow; }
void QvApp::SetMainWindow(HWND window) { state_->mainWindow = window; }
const std::u16string& QvApp::Name() const { return state_->name; }
const std::u16string& QvApp::LowerName() const { return state_->lowerName; }
const std::u16string& QvApp::Title() const { return state_->title; }
const std::u16string& QvApp::Company() const { return state_->company; }
HANDLE QvApp::CatalogMutex() const { return state_->catalogLock.Get(); }

// ---- QvAppWindows ----

QvAppWindows::QvAppWindows(int nameId, int companyId, int titleId, HWND mainWindow)
    : QvApp(nameId, companyId, titleId) {
    SetMainWindow(mainWindow);
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
}

QvAppWindows::~QvAppWindows() = default;

// ---- CatalogLock ----

CatalogLock::CatalogLock(const QvApp& app) : mutex_(app.CatalogMutex()), held_(false) {
    if (mutex_ == nullptr) return;
    const DWORD result = ::WaitForSingleObject(mutex_, INFINITE);
    // An abandoned lock (its holder ended without releasing) is ours now.
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

CatalogLock::~CatalogLock() {
    if (held_) ::ReleaseMutex(mutex_);
}

}  // namespace QvLibrary
