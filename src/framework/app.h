// The application objects: the resource module, the program's names and
// folders, the catalog lock, string lookup, message boxes and modal dialogs.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

// The TCHAR macro would rename QvApp::LoadString; the library calls the wide
// functions by their own names.
#undef LoadString

namespace QvLibrary {

struct AppState;

class QvApp {
public:
    // Ids of the program name, the company name and the display title
    // (0 for none: a stand-alone version reader).
    QvApp(int nameId, int companyId, int titleId);
    virtual ~QvApp();
    QvApp(const QvApp&) = delete;
    QvApp& operator=(const QvApp&) = delete;

    // String-table text from the resource module; "" when missing.
    std::u16string LoadString(int id) const;

    // Message boxes, owned by the main window, captioned with string 4109 where
    // no title is given.
    int AskQuestion(int textId) const;   // Yes/No/Cancel; IDYES, IDNO or IDCANCEL
    void ShowWarning(int textId) const;
    void ShowError(const std::u16string& title, const std::u16string& text) const;
    void ShowInfo(const std::u16string& title, const std::u16string& text) const;
    void ShowInfo(int textId, int titleId) const;
    bool Confirm(const std::u16string& title, const std::u16string& text) const;   // true for Yes
    bool Confirm(int textId, int titleId) const;

    // Modal dialog from the resource module; parent null means the main
    // window. True only when the dialog ended with 1.
    bool RunDialog(HWND parent, int templateId, DLGPROC procedure, LPARAM parameter) const;
    // Dialog 20000. OK stores the entered text into value and returns it;
    // Cancel returns nothing and leaves value alone.
    std::optional<std::u16string> InputBox(std::u16string& value, const std::u16string& title,
                                           const std::u16string& prompt, bool password) const;

    // "major.minor.build.revision" of the version-information file.
    bool GetVersionString(std::u16string& out) const;
    // A value of the version information's first translation ("CompanyName", ...).
    bool GetVersionInfo(const std::u16string& key, std::u16string& out) const;

    // Folders, each ending with a backslash and created when missing.
    std::u16string GetCommonDataFolder() const;   // all users\<company>\<name>\ .
    std::u16string GetUserDataFolder() const;     // per user\<company>\<name>\ .
    std::u16string GetModuleFolder() const;
    std::u16string GetCurrentFolder() const;
    std::u16string GetTempFolder() const;

    // Takes strings and dialogs from a loaded program (".exe") or a library
    // (".dll") and reads the version information of that file. False, with
    // the running program as the resource module, for any other path.
    bool SetResourceModule(const std::u16string& path);
    // Shell "open" of a path, URL or mailto: link.
    bool OpenDocument(const std::u16string& target) const;

    HINSTANCE ResourceModule() const;
    HWND MainWindow() const;
    void SetMainWindow(HWND window);
    const std::u16string& Name() const;
    const std::u16string& LowerName() const;
    const std::u16string& Title() const;
    const std::u16string& Company() const;
    HANDLE CatalogMutex() const;

protected:
    std::unique_ptr<AppState> state_;

private:
    void LoadNames();
    void ReadVersion(const std::u16string& path);
    std::u16string DataFolder(int csidl, bool common) const;
    int Box(const std::u16string& title, const std::u16string& text, UINT flags) const;
};

class QvAppWindows : public QvApp {
public:
    QvAppWindows(int nameId, int companyId, int titleId, HWND mainWindow);
    ~QvAppWindows() override;
};

// Holds the application's catalog lock from construction to destruction; the
// wait has no time limit. The lock is a mutex: a thread may take it again.
class CatalogLock {
public:
    explicit CatalogLock(const QvApp& app);
    ~CatalogLock();
    CatalogLock(const CatalogLock&) = delete;
    CatalogLock& operator=(const CatalogLock&) = delete;

private:
    HANDLE mutex_;
    bool held_;
};

}  // namespace QvLibrary
