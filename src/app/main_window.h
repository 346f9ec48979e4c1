// The main window of kodrin.exe and its controller.
//
// The process entry registers the window class "Kodrin", creates the hidden
// main window and runs the message loop with the accelerator table "Kodrin".
// Creating the window constructs the MainWindow controller, which owns the
// catalog, the current and the last-saved settings and every control of the
// window, and stores its address as the window's user data. A 25 ms timer
// then starts the program: it picks the catalog file, loads it under the
// progress dialog, shows the window and fills the view.
//
// The catalog, the settings, the data file and the background saves belong
// to the CatalogSession, which the main window makes and every other window
// shares; the main window is one of its views.
//
// Threads: everything here runs on the window thread except the saves. A
// background save runs on a thread of the session's that holds the catalog
// lock for the whole write; a load or a foreground save runs on the progress
// dialog's worker. The window thread changes the catalog (and the settings
// the saves read) only through the session's Change, and never waits for
// the lock while a worker that may call back into the window holds it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/catalog_session.h"
#include "app/portable/commands.h"
#include "app/program_update.h"
#include "app/portable/start_path.h"
#include "app/picture.h"
#include "app/report_dialog.h"
#include "catalog/catalog.h"
#include "catalog/datafile.h"
#include "catalog/dates.h"
#include "catalog/settings.h"
#include "framework/app.h"
#include "framework/handles.h"
#include "framework/label.h"
#include "framework/list_view.h"
#include "framework/progress_dialog.h"
#include "framework/splitter.h"
#include "framework/status_bar.h"
#include "framework/tab_win.h"
#include "framework/toolbar.h"
#include "framework/worker.h"
#include "ids.h"

namespace kodrin::app {

inline constexpr wchar_t kMainWindowClass[] = L"Kodrin";
inline constexpr int kMainMenu = MENU_MAIN;
inline constexpr int kListMenu = MENU_LIST;
inline constexpr int kTabMenu = MENU_TABS;
inline constexpr int kToolbarMenu = MENU_TOOLBAR;
inline constexpr int kListId = IDC_MAIN_LIST;
inline constexpr int kTabsId = IDC_MAIN_TABS;
inline constexpr int kToolbarId = IDC_MAIN_TOOLBAR;
inline constexpr UINT_PTR kStartTimer = 9000;
inline constexpr UINT kStartDelayMs = 25;
inline constexpr int kFirstDetailLabel = CMD_FIRST_DETAIL_LABEL;
inline constexpr int kLastDetailLabel = CMD_LAST_DETAIL_LABEL;
inline constexpr int kToolbarButtonCount = kToolbarButtonSlots;

// Where a main window takes what the process would otherwise give it. The
// program uses the defaults; tests point them elsewhere so that they neither
// meet a running program nor touch the user's registry.
struct MainWindowConfig {
    // The command line to scan for "/F<path>"; the process's own when unset.
    std::optional<std::u16string> commandLine;
    // Registry company key (HKCU\Software\<company>\<program>); empty: the
    // company name, string 4103.
    std::u16string registryCompany;
    // Name of the single-instance mutex; empty: the program name, string 4107.
    std::u16string instanceName;
    // The folder searched for a catalog file beside the program; empty: the
    // program's own folder.
    std::u16string programFolder;
    // The per-user data folder (ending with a backslash); empty: the
    // system's, created when missing.
    std::u16string userDataFolder;
    // How the print command reaches a printer; the system's print dialog and
    // default printer when unset.
    std::optional<PrintServices> printServices;
    // Where the program's update and the messages come from and what they
    // trust (kodrin.exe: the build's settings); unset, the program neither
    // updates itself nor fetches the messages. Its store, when null, is the
    // registry key above.
    std::optional<ProgramUpdateSetup> programUpdate;
};

// Registers the window class "Kodrin" (once per process). False when it
// cannot be registered.
bool RegisterMainWindowClass(HINSTANCE instance);
// Creates the hidden main window; null when its creation was refused (a
// second instance, a control that could not be made).
HWND CreateMainWindow(HINSTANCE instance, const MainWindowConfig& config = {});
// Runs the message loop with the accelerator table "Kodrin" until the quit
// message; returns its code.
int RunMessageLoop(HWND mainWindow, HINSTANCE instance);

class MainWindow : public QvLibrary::QvAppWindows, private SessionView {
public:
    MainWindow(HWND window, const MainWindowConfig& config);
    ~MainWindow() override;

    // The controller of a main window, or null.
    static MainWindow* FromHandle(HWND window);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp);

    // ---- Commands (WM_COMMAND ids of menus, accelerators, toolbar, labels).
    // Runs the command as the window does. Unknown and unavailable commands
    // do nothing and give false.
    bool RunCommand(int id);
    // The command exists in this build (disabled everywhere otherwise).
    static bool CommandAvailable(int id);

    // ---- The program's own update and the maker's messages
    // (main_window_update.cpp). True when an installer was started at
    // start-up: the window is then not made.
    bool ProgramUpdateAtStart();
    void MessagesFeedAtStart();

    // ---- State, for the view and for tests.
    HWND Window() const { return window_; }
    CatalogSession& Session() { return *session_; }
    bool Started() const { return session_->Started(); }
    bool Changed() const { return session_->Changed(); }
    bool ReadOnly() const { return file_.readOnly; }
    const std::u16string& DataPath() const { return file_.path; }
    const std::u16string& CurrentCategory() const { return currentCategory_; }
    Catalog& GetCatalog() { return catalog_; }
    Settings& CurrentSettings() { return settings_; }
    const Settings& LastSavedSettings() const { return lastSaved_; }
    QvLibrary::QvListView& List() { return *list_; }
    QvLibrary::QvTabWin& Tabs() { return *tabs_; }
    QvLibrary::QvToolbar& Toolbar() { return *toolbar_; }
    QvLibrary::StatusBar& Status() { return *status_; }
    HWND SplitterWindow() const { return splitter_ ? splitter_->Handle() : nullptr; }
    // The texts the details-pane labels copy, and the labels' windows.
    const std::vector<std::u16string>& DetailTexts() const { return labelTexts_; }
    const PictureBox& Picture() const { return picture_; }
    std::vector<HWND> DetailLabels() const;
    RECT DetailsPane() const { return details_; }
    // The record ids of the selected rows, in row order.
    std::vector<std::int32_t> SelectedIds() const;
    // Selects exactly the rows of the given records.
    void SelectRecords(const std::vector<std::int32_t>& ids);
    // Waits until every background save has ended.
    void WaitForSaves() { session_->WaitForSaves(); }

    // ---- View.
    void Layout();
    void RefreshAll();
    // Shows again what a change of the catalog names.
    void ShowAgain(Refresh what) override;
    void FillTabs();
    void FillList(const std::u16string& category);
    void SetupColumns();
    void UpdateRow(std::int32_t recordId);
    void UpdateStatus();
    void RebuildDetails();
    void UpdateEnabling();
    void ApplyMenuEnabling(HMENU menu);
    // Moves the details pane's left edge (the splitter was dropped at x).
    void OnSplitterMoved(int x);

private:
    class User;
    struct CommandEntry;
    // Counts the commands (and the start) that run: a close requested while
    // one of them waits in a dialog is carried out when the last one has
    // returned.
    class BusyScope {
    public:
        explicit BusyScope(MainWindow& owner) : owner_(owner) { ++owner_.busy_; }
        ~BusyScope() {
            if (--owner_.busy_ == 0 && owner_.closePending_) {
                owner_.closePending_ = false;
                ::PostMessageW(owner_.window_, WM_CLOSE, 0, 0);
            }
        }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        MainWindow& owner_;
    };
    // The catalog's questions, answered with message boxes.
    Questions& Asker();
    static const CommandEntry* FindCommand(int id);
    static const std::vector<CommandEntry>& CommandHandlers();

    // Window messages.
    bool OnCreate();
    void OnTimer(UINT_PTR id);
    void OnSize(WPARAM type, int width, int height);
    void OnMove();
    LRESULT OnNotify(const NMHDR& header);
    LRESULT OnToolbarNotify(const NMHDR& header, bool& handled);
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
    // The list's cell: the displayed field of the row's record.
    std::u16string CellText(std::uint32_t recordId, int column);
    // The record a list row shows, found through the index of the catalog's
    // records by id, made again when the catalog changed. Null when none.
    const ApplicationRecord* RowRecord(std::uint32_t recordId);
    void IndexRecords();
    bool OnClose();
    void OnPaint();
    void OnClick(int x, int y);
    void OnTabChanged();
    // Where the details-pane labels may start: below the shown picture.
    int PictureBottom() const;

    // Start-up, loading and saving.
    void DeferredStart();
    std::u16string ChooseStartPath();
    std::u16string RegistryCompany() const;
    void OnDataFileChanged(const std::u16string& path);
    void AfterLoad();
    bool RunLoadWork(const DataFileHooks::LoadWork& work);
    // Loads path (the data file, or its backup when restoring) and answers a
    // failure as the user chooses. False when nothing usable was loaded; the
    // program is then closing when Quitting().
    bool LoadCatalogFile(const std::u16string& path, bool restore);
    // After a failed load the user chose a new catalog: asks for its name
    // (cancel quits), then opens an existing file or starts an empty one.
    bool NewCatalogAfterFailure();
    void StartEmptyCatalog(const std::u16string& path);
    // Ends the program without saving: what is in memory is not the
    // catalog the file holds.
    void Abandon();
    bool Quitting() const { return session_->Abandoned(); }
    void StoreToolbarLayout();
    void BeforeSave() override { StoreToolbarLayout(); }
    void StoreColumnLayout();
    void RecordWindowRect();
    bool SavePending() const { return session_->SavePending(); }
    void SaveInBackground() { session_->SaveInBackground(); }
    bool SaveInForeground();
    bool IsWindowThread() const;
    void ShowDeferredWarning(int textId);

    // Command helpers.
    bool RefuseReadOnly();
    const ApplicationRecord* SelectedRecord() const;
    std::u16string SelectedField(std::u16string ApplicationRecord::* field) const;
    void CopyToClipboard(const std::u16string& text);
    void OpenWithShell(const std::u16string& target);
    void SelectFoundRecord(const FindResult& found);
    bool IsAllCategory() const;
    std::optional<std::u16string> AskCatalogName(bool save, bool import);
    void RememberLastPath(const std::u16string& path);
    bool BackupAvailable() const;
    SelectionSnapshot Snapshot() const;
    void RenameHiddenItemsCommand();
    void ApplyToolbarLayout();
    void OnDetailLabel(int index);

    // Command handlers.
    void CmdNew();
    void CmdOpen();
    void CmdSaveAs();
    void CmdImport();
    void CmdSearchApplications();
    void CmdRestore();
    void CmdExit();
    void CmdTransfer();
    void CmdDeleteApplication();
    void CmdCopyApplication();
    void CmdCopyUserName();
    void CmdCopyOrganization();
    void CmdCopyRegistrationKey();
    void CmdCopyWebUserName();
    void CmdCopyWebPassword();
    void CmdFind();
    void CmdFindNext();
    void CmdShowHidden();
    void CmdCustomizeToolbar();
    void CmdDeleteCategory();
    void CmdMoveCategoryLeft();
    void CmdMoveCategoryRight();
    void MoveCategory(bool toTheRight);
    void CmdLaunchApplication();
    void CmdLaunchInstallation();
    void CmdEmailSupport();
    void CmdSupportPage();
    void CmdCheckApplication();
    void CmdLogin();
    void CmdHomePage();
    void CmdAutoRemoval();
    void CmdHelp();
    void CmdHomePageOfMaker();
    void CmdEmailMaker();
    void CmdCheckForUpdate();
    void CmdSelectAll();
    void CmdNextTab();
    void CmdAbout();
    void CmdAddCategory();
    void CmdEditCategory();
    void CmdCustomizeColumns();
    void CmdExport();
    void CmdChangeCategory();
    void CmdOptions();
    void CmdAddApplication();
    void CmdEditApplication();
    void CmdMultipleEdit();
    // Runs the details dialog on a copy of the settings and keeps what the
    // dialog stores there (its rectangle, the chosen media).
    bool RunDetails(int mode, ApplicationRecord& record);
    void CmdGeneratePassword();
    void GeneratePassword(HWND owner);
    void CmdStatistics();
    void CmdPrint();
    void CmdCheckAll();

    HWND window_ = nullptr;
    MainWindowConfig config_;
    std::unique_ptr<User> user_;

    std::vector<std::unique_ptr<QvLibrary::QvLabel>> labels_;
    std::vector<std::u16string> labelTexts_;
    std::unique_ptr<QvLibrary::QvListView> list_;
    std::unique_ptr<QvLibrary::Splitter> splitter_;
    std::unique_ptr<QvLibrary::StatusBar> status_;
    std::unique_ptr<QvLibrary::QvTabWin> tabs_;
    std::unique_ptr<QvLibrary::QvToolbar> toolbar_;
    std::unique_ptr<QvLibrary::ProgressDialog> progress_;

    std::unique_ptr<CatalogSession> session_;
    // The session's members under the short names the view code uses.
    Settings& settings_;
    Settings& lastSaved_;
    Catalog& catalog_;
    DataFile& file_;
    std::u16string currentCategory_;
    PictureBox picture_;
    std::u16string lastSearch_;
    RECT details_{};
    RECT picturePane_{};
    Date today_{};
    // Place in catalog_.records by record id (ids count up from 1), for the
    // list's rows; kNoRecord where no record has the id.
    static constexpr std::size_t kNoRecord = static_cast<std::size_t>(-1);
    std::vector<std::size_t> recordIndex_;
    QvLibrary::Handle mutex_;

    DWORD windowThread_ = 0;
    // Commands (and the start) running on this thread, nested in dialogs.
    int busy_ = 0;
    bool closePending_ = false;
    bool starting_ = false;
    // A worker that changes the catalog runs: the view must not read it.
    bool catalogBusy_ = false;
    // The list is being filled: its change notifications are not acted on.
    bool filling_ = false;
    bool destroyWindow_ = false;
};

}  // namespace kodrin::app
