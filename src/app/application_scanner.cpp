#include "app/application_scanner.h"

#include <shlobj.h>

#include <exception>
#include <memory>

#include "discovery/scan_system.h"
#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/file_chooser.h"
#include "framework/helpers.h"
#include "framework/portable/trim.h"
#include "framework/progress_dialog.h"
#include "framework/wide.h"
#include "ids.h"
#include "platform/files.h"
#include "string_ids.h"

namespace kodrin::app {

namespace {

using QvLibrary::Wide;

constexpr int kStrTitle = 4109;  // "Kodrin"

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The three choices of where to search form one group with the folder box
// and its button between them: each is checked by hand.
void ChooseLocation(HWND dialog, int chosen) {
    for (const int id : {IDC_SCAN_PROGRAM_FILES, IDC_SCAN_DRIVE_C, IDC_SCAN_OTHER}) {
        ::CheckDlgButton(dialog, id, id == chosen ? BST_CHECKED : BST_UNCHECKED);
    }
}

// The Program Files folder, asked of shfolder.dll as older systems have it.
std::optional<std::u16string> ProgramFilesFolder() {
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    const HMODULE library = ::LoadLibraryW(L"shfolder.dll");
    if (library == nullptr) return std::nullopt;
    std::optional<std::u16string> folder;
    const auto entry = reinterpret_cast<GetFolderPath>(reinterpret_cast<void*>(::GetProcAddress(library, "SHGetFolderPathW")));
    wchar_t path[MAX_PATH] = {};
    if (entry != nullptr && SUCCEEDED(entry(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path)) && path[0] != L'\0') {
        folder = QvLibrary::FromWide(path);
    }
    ::FreeLibrary(library);
    return folder;
}

class ScanDialog final : public QvLibrary::Dialog {
public:
    explicit ScanDialog(const QvLibrary::QvApp& app) : app_(app) {}
    ScanChoice choice;

private:
    INT_PTR Init(HWND dialog) override {
        QvLibrary::CentreOnParent(dialog);
        ::CheckRadioButton(dialog, IDC_SCAN_FILTER_NO, IDC_SCAN_FILTER_YES, IDC_SCAN_FILTER_YES);
        const HWND media = ::GetDlgItem(dialog, IDC_SCAN_MEDIA);
        for (int id = kStrFirstMedia; id < kStrFirstMedia + 5; ++id) {
            ::SendMessageW(media, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(app_.LoadString(id))));
        }
        ::SendMessageW(media, CB_SETCURSEL, 0, 0);
        ::SendDlgItemMessageW(dialog, IDC_SCAN_FOLDER, EM_LIMITTEXT, MAX_PATH - 1, 0);
        if (const std::optional<std::u16string> programFiles = ProgramFilesFolder()) {
            ::SetDlgItemTextW(dialog, IDC_SCAN_PROGRAM_FILES, Wide(*programFiles));
            ChooseLocation(dialog, IDC_SCAN_PROGRAM_FILES);
        } else {
            ::ShowWindow(::GetDlgItem(dialog, IDC_SCAN_PROGRAM_FILES), SW_HIDE);
            ChooseLocation(dialog, IDC_SCAN_DRIVE_C);
        }
        return TRUE;
    }

    bool Command(HWND dialog, WORD id, WORD notification) override {
        switch (id) {
            case IDC_SCAN_BROWSE: {
                QvLibrary::FileChooser chooser(app_);
                const std::u16string typed = QvLibrary::Trim(QvLibrary::GetItemText(dialog, IDC_SCAN_FOLDER));
                if (!typed.empty() && platform::FolderExists(typed)) chooser.SetInitialFolder(typed);
                if (const std::optional<std::u16string> folder = chooser.BrowseForFolder(app_.MainWindow())) {
                    ChooseLocation(dialog, IDC_SCAN_OTHER);
                    ::SetDlgItemTextW(dialog, IDC_SCAN_FOLDER, Wide(*folder));
                }
                return true;
            }
            case IDC_SCAN_FOLDER:
                // Typing a folder chooses "Other".
                if (notification == EN_CHANGE && ::GetFocus() == ::GetDlgItem(dialog, IDC_SCAN_FOLDER)) {
                    ChooseLocation(dialog, IDC_SCAN_OTHER);
                }
                return true;
            case IDC_SCAN_PROGRAM_FILES:
            case IDC_SCAN_DRIVE_C:
            case IDC_SCAN_OTHER:
                if (notification == BN_CLICKED) ChooseLocation(dialog, id);
                return true;
            default:
                return false;
        }
    }

    bool Ok(HWND dialog) override {
        discovery::ScanRequest& request = choice.request;
        request.defaultMedia = QvLibrary::GetItemText(dialog, IDC_SCAN_MEDIA);
        if (Checked(dialog, IDC_SCAN_DRIVE_C)) {
            request.startFolder = u"C:\\";
        } else if (Checked(dialog, IDC_SCAN_PROGRAM_FILES)) {
            request.startFolder = QvLibrary::GetItemText(dialog, IDC_SCAN_PROGRAM_FILES);
        } else {
            // A folder that is not there would find nothing, and an empty
            // one would search the program's current folder: neither is
            // what the user meant.
            request.startFolder = QvLibrary::Trim(QvLibrary::GetItemText(dialog, IDC_SCAN_FOLDER));
            if (request.startFolder.empty() || !platform::FolderExists(request.startFolder)) {
                std::u16string text = app_.LoadString(request.startFolder.empty() ? STR_SCAN_NO_FOLDER
                                                                                 : STR_SCAN_FOLDER_MISSING);
                if (const std::size_t at = text.find(u"%s"); at != std::u16string::npos) {
                    text.replace(at, 2, request.startFolder);
                }
                ::MessageBoxW(dialog, Wide(text), Wide(app_.LoadString(kStrTitle)), MB_OK | MB_ICONEXCLAMATION);
                const HWND folder = ::GetDlgItem(dialog, IDC_SCAN_FOLDER);
                ::SetFocus(folder);
                ::SendMessageW(folder, EM_SETSEL, 0, -1);
                return false;
            }
        }
        const int answer = ::MessageBoxW(dialog, Wide(app_.LoadString(STR_ERASE_BEFORE_SCAN)),
                                         Wide(app_.LoadString(kStrTitle)), MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer != IDYES && answer != IDNO) return false;
        choice.erase = answer == IDYES;
        request.filtering = Checked(dialog, IDC_SCAN_FILTER_YES);
        return true;
    }

    const QvLibrary::QvApp& app_;
};

// The scan's view of the progress dialog: positions are passed on only when
// they change (the dialog answers each one from the window thread).
class DialogProgress final : public discovery::ScanProgress {
public:
    explicit DialogProgress(QvLibrary::ProgressDialog& dialog) : dialog_(dialog) {}
    void SetText(int stringId) override { dialog_.SetText(stringId); }
    void SetProgress(int percent) override {
        if (percent == shown_) return;
        shown_ = percent;
        dialog_.SetProgress(percent);
    }
    bool Cancelled() const override { return dialog_.CancelRequested(); }

private:
    QvLibrary::ProgressDialog& dialog_;
    int shown_ = -1;
};

// The application's catalog lock, taken and given back by the scan.
class LockGate final : public discovery::CatalogGate {
public:
    explicit LockGate(const QvLibrary::QvApp& app) : app_(app) {}
    void Enter() override { lock_.emplace(app_); }
    void Leave() override { lock_.reset(); }

private:
    const QvLibrary::QvApp& app_;
    std::optional<QvLibrary::CatalogLock> lock_;
};

}  // namespace

std::optional<ScanChoice> AskScanChoice(const QvLibrary::QvApp& app, HWND owner) {
    ScanDialog dialog(app);
    if (!dialog.Run(app, owner, DLG_SCAN)) return std::nullopt;
    return dialog.choice;
}

bool ApplicationScanner::Run() {
    const std::optional<ScanChoice> choice = AskScanChoice(app_, owner_);
    if (!choice) return false;
    return Scan(*choice);
}

bool ApplicationScanner::Scan(const ScanChoice& choice) {
    if (busy_) busy_(true);
    LockGate gate(app_);
    discovery::ScanCatalog target(catalog_, gate);
    const std::unique_ptr<discovery::ScanFolders> folders = discovery::SystemScanFolders();
    bool changed = false;
    if (choice.erase) {
        target.Erase();
        changed = true;
    }
    std::u16string copy = app_.GetCommonDataFolder();
    if (!copy.empty()) copy += discovery::kFilterListFileName;
    progress_.Run(owner_, STR_SEARCHING_FOR_APPLICATIONS, [&](QvLibrary::ProgressDialog& dialog) {
        DialogProgress progress(dialog);
        discovery::ScanJob job(*folders, discovery::SystemProgramReader(settings_), target, progress);
        job.changed = changed;
        try {
            job.Run(choice.request, discovery::BuiltInFilterList(), copy);
        } catch (const std::exception&) {
            changed = job.changed;
            dialog.Finish(true);
            return;
        }
        changed = job.changed;
        foldersVisited_ = job.foldersVisited;
        foldersCounted_ = job.foldersCounted;
        dialog.Finish(false);
    }, [] {});
    if (busy_) busy_(false);
    return changed;
}

}  // namespace kodrin::app
