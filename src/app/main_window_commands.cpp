// The main window's commands: the table that names each command's handler
// and whether a read-only catalog refuses it, and the handlers of the
// commands the main window carries out itself.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/application_scanner.h"
#include "app/details_dialog.h"
#include "app/help.h"
#include "app/main_dialogs.h"
#include "app/options_dialog.h"
#include "app/password_dialog.h"
#include "app/report_dialog.h"
#include "app/statistics_dialog.h"
#include "app/update_check.h"
#include "app/web_login.h"
#include "app/main_window.h"
#include "command_table.h"
#include "catalog/csv.h"
#include "catalog/exchange.h"
#include "catalog/strings.h"
#include "framework/file_chooser.h"
#include "framework/helpers.h"
#include "platform/files.h"
#include "string_ids.h"
#include "weblogin/field_matcher.h"

namespace kodrin::app {

namespace {

using QvLibrary::CatalogLock;

constexpr int kStrAutoRemoval = STR_AUTO_REMOVAL_QUESTION;
constexpr int kStrRestoreQuestion = STR_RESTORE_QUESTION;
constexpr int kStrReadOnly = STR_READ_ONLY;
constexpr int kStrMakerHomePage = STR_MAKER_HOME_PAGE;
constexpr int kStrMakerSupportMail = STR_MAKER_SUPPORT_MAIL;
constexpr int kStrOverwriteCatalog = STR_OVERWRITE_CATALOG;
constexpr int kStrXmlExtension = STR_XML_EXTENSION;
constexpr int kStrImportTitle = STR_IMPORT_TITLE;
constexpr int kStrTransferFailed = STR_TRANSFER_FAILED;

std::u16string ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

// The handlers of command_table.h's rows; a row without one is a command
// this build lacks.
struct MainWindow::CommandEntry {
    int id;
    void (MainWindow::*handler)();
};

const std::vector<MainWindow::CommandEntry>& MainWindow::CommandHandlers() {
#define KODRIN_HANDLER(member) &MainWindow::member
#define KODRIN_NO_HANDLER nullptr
#define KODRIN_COMMAND_HANDLER(id, handler, readOnly, rule, button, keyKind, key) {id, handler},
    static const std::vector<CommandEntry> commands{KODRIN_COMMANDS(KODRIN_COMMAND_HANDLER)};
#undef KODRIN_COMMAND_HANDLER
#undef KODRIN_NO_HANDLER
#undef KODRIN_HANDLER
    return commands;
}

const MainWindow::CommandEntry* MainWindow::FindCommand(int id) {
    for (const CommandEntry& entry : CommandHandlers()) {
        if (entry.id == id) return entry.handler != nullptr ? &entry : nullptr;
    }
    return nullptr;
}

bool MainWindow::CommandAvailable(int id) { return FindCommand(id) != nullptr; }

bool MainWindow::RunCommand(int id) {
    if (id >= kFirstDetailLabel && id <= kLastDetailLabel) {
        OnDetailLabel(id - kFirstDetailLabel);
        return true;
    }
    const CommandEntry* entry = FindCommand(id);
    const CommandInfo* info = FindCommandInfo(id);
    if (entry == nullptr || info == nullptr) return false;
    BusyScope busy(*this);
    if (info->refusedReadOnly && RefuseReadOnly()) return true;
    (this->*entry->handler)();
    return true;
}

bool MainWindow::RefuseReadOnly() {
    if (!file_.readOnly) return false;
    ShowInfo(kStrReadOnly, kStrProgramTitle);
    return true;
}

// ---------------------------------------------------------------------------
// Helpers.

std::u16string MainWindow::SelectedField(std::u16string ApplicationRecord::* field) const {
    if (list_->SelectedCount() != 1) return {};
    const ApplicationRecord* record = SelectedRecord();
    return record != nullptr ? record->*field : std::u16string();
}

void MainWindow::CopyToClipboard(const std::u16string& text) {
    if (list_->SelectedCount() != 1) return;
    QvLibrary::WriteClipboardAnsi(window_, text);
}

void MainWindow::OpenWithShell(const std::u16string& target) {
    if (!target.empty()) OpenDocument(target);
}

void MainWindow::RememberLastPath(const std::u16string& path) {
    session_->Change(Refresh::None, Save::None, [&](Catalog&, Settings& settings) { settings.lastPath = path; });
}

std::optional<std::u16string> MainWindow::AskCatalogName(bool save, bool import) {
    QvLibrary::FileChooser chooser(*this);
    chooser.SetDefaultExtension(LoadString(kStrXmlExtension));
    chooser.SetFileName(Name());
    chooser.SetInitialFolder(std::u16string(platform::FolderPart(settings_.lastPath)));
    if (import) chooser.AddFilter(u"Comma Separated Value Files (*.csv)", u"*.csv");
    chooser.AddFilter(u"XML Files (*.xml)", u"*.xml");
    if (!save && !import) chooser.AddFilter(u"All Files (*.*)", u"*.*");
    if (!save) chooser.SetTitle(LoadString(kStrImportTitle));
    const std::optional<std::u16string> chosen = save ? chooser.Save() : chooser.Open(window_);
    if (chosen) RememberLastPath(*chosen);
    return chosen;
}

// ---------------------------------------------------------------------------
// File menu.

void MainWindow::CmdNew() {
    if (SavePending()) SaveInForeground();
    const std::optional<std::u16string> name = AskCatalogName(true, false);
    if (!name) return;
    StartEmptyCatalog(*name);
    RefreshAll();
}

void MainWindow::CmdOpen() {
    if (SavePending()) SaveInForeground();
    const std::optional<std::u16string> name = AskCatalogName(false, false);
    if (!name) return;
    WaitForSaves();
    session_->Change(Refresh::None, Save::None, [&](Catalog&, Settings&) { SetDataFile(file_, *name); });
    LoadCatalogFile(*name, false);
    if (Quitting()) return;
    RefreshAll();
}

void MainWindow::CmdSaveAs() {
    const std::optional<std::u16string> name = AskCatalogName(true, false);
    if (!name) return;
    WaitForSaves();
    session_->Change(Refresh::None, Save::None, [&](Catalog&, Settings& settings) {
        if (!settings.storeImages) CopyPicturesFolder(file_.path, *name);
        SetDataFile(file_, *name);
        // The new file is this catalog's now: it is saved unless it is
        // itself marked read-only.
        file_.readOnly = platform::FileExists(*name) && platform::IsReadOnly(*name);
    });
    SaveInForeground();
    ShowAgain(Refresh::Details | Refresh::Status | Refresh::Enabling);
}

void MainWindow::CmdImport() {
    if (SavePending()) SaveInForeground();
    const std::optional<std::u16string> path = AskCatalogName(false, true);
    if (!path) return;
    const int answer = AskQuestion(kStrImportQuestion);
    if (answer != IDYES && answer != IDNO) return;
    const bool add = answer == IDNO;
    // A catalog without categories shows only "<All>": the import then
    // starts the catalog again instead of emptying a category.
    const std::u16string category = catalog_.categories.empty() ? std::u16string() : currentCategory_;
    labels_.clear();
    labelTexts_.clear();
    list_->DeleteAllRows();
    WaitForSaves();
    const ImportResult result = ImportFile(file_, *path, add, category, Asker());
    if (!result.ok) {
        if (!IsCsvPath(*path)) {
            if (result.answer == LoadFailureAnswer::NewCatalog) {
                NewCatalogAfterFailure();
            } else {
                Abandon();
            }
            if (Quitting()) return;
        }
        RefreshAll();
        return;
    }
    session_->SetChanged(true);
    RefreshAll();
    SaveInBackground();
}

void MainWindow::CmdSearchApplications() {
    // The list shows nothing of the catalog while the scan's worker adds to it.
    ApplicationScanner scanner(*this, window_, *progress_, settings_, catalog_, [this](bool busy) {
        catalogBusy_ = busy;
        if (!busy) return;
        labels_.clear();
        labelTexts_.clear();
        list_->DeleteAllRows();
    });
    const bool changed = scanner.Run();
    if (changed) session_->SetChanged(true);
    RefreshAll();
    if (changed) SaveInBackground();
}

void MainWindow::CmdRestore() {
    if (!BackupAvailable()) return;
    if (!QvApp::Confirm(kStrRestoreQuestion, kStrProgramTitle)) return;
    LoadCatalogFile(BackupPath(file_.path), true);
    if (Quitting()) return;
    RefreshAll();
}

void MainWindow::CmdExit() { ::SendMessageW(window_, WM_CLOSE, 0, 0); }

void MainWindow::CmdTransfer() {
    QvLibrary::FileChooser chooser(*this);
    chooser.SetInitialFolder(std::u16string(platform::FolderPart(settings_.lastPath)));
    const std::optional<std::u16string> chosen = chooser.BrowseForFolder(window_);
    if (!chosen || chosen->empty()) return;
    std::u16string folder = *chosen;
    if (folder.back() != u'\\') folder += u'\\';
    // Each copy that fails is named to the user; the transfer goes on with
    // the rest.
    const auto failed = [this](const std::u16string& path) {
        ShowError(LoadString(kStrProgramTitle), LoadString(kStrTransferFailed) + u"\n\n" + path);
    };
    const std::u16string program = ModulePath();
    if (!program.empty() && !platform::CopyFileTo(program, folder + std::u16string(platform::FileNamePart(program)))) {
        failed(program);
    }
    const std::u16string target = folder + std::u16string(platform::FileNamePart(file_.path));
    if (platform::FileExists(target) && !QvApp::Confirm(kStrOverwriteCatalog, kStrProgramTitle)) return;
    bool picturesCopied = true;
    bool catalogCopied = true;
    {
        CatalogLock lock(*this);
        if (!settings_.storeImages) picturesCopied = CopyPicturesFolder(file_.path, target);
        catalogCopied = platform::CopyFileTo(file_.path, target);
    }
    if (!picturesCopied) failed(PicturesFolder(file_.path));
    if (!catalogCopied) failed(file_.path);
}

// ---------------------------------------------------------------------------
// Applications.

void MainWindow::CmdDeleteApplication() {
    const std::vector<std::int32_t> ids = SelectedIds();
    if (ids.empty()) return;
    // The rows of the deleted records go.
    session_->Change(Refresh::Rows | Refresh::Details | Refresh::Status | Refresh::Enabling, Save::Background,
                     [&](Catalog& catalog, Settings&) { return DeleteRecords(catalog, ids, Asker()); });
}

void MainWindow::CmdCopyApplication() {
    const ApplicationRecord* selected = SelectedRecord();
    if (selected == nullptr) return;
    ApplicationRecord copy = CopyRecord(*selected);
    session_->Change(Refresh::List | Refresh::Details | Refresh::Status | Refresh::Enabling, Save::Background,
                     [&](Catalog& catalog, Settings&) { AddRecord(catalog, std::move(copy), false); });
}

void MainWindow::CmdCopyUserName() { CopyToClipboard(SelectedField(&ApplicationRecord::userName)); }
void MainWindow::CmdCopyOrganization() { CopyToClipboard(SelectedField(&ApplicationRecord::organization)); }
void MainWindow::CmdCopyRegistrationKey() { CopyToClipboard(SelectedField(&ApplicationRecord::registrationKey)); }

void MainWindow::CmdCopyWebUserName() {
    const ApplicationRecord* record = list_->SelectedCount() == 1 ? SelectedRecord() : nullptr;
    if (record != nullptr) CopyToClipboard(WebUserName(*record));
}

void MainWindow::CmdCopyWebPassword() {
    const ApplicationRecord* record = list_->SelectedCount() == 1 ? SelectedRecord() : nullptr;
    if (record != nullptr) CopyToClipboard(WebPassword(*record));
}

void MainWindow::SelectFoundRecord(const FindResult& found) {
    const int tab = found.categoryIndex + 1;  // "<All>" comes first
    if (tabs_->CurrentTab() != tab) tabs_->SelectTab(tab);
    list_->DeselectAll();
    const int row = list_->FindRow(static_cast<std::uint32_t>(found.recordId));
    if (row < 0) return;
    list_->SelectRow(row);
    ::SendMessageW(list_->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
    ::SetFocus(list_->Handle());
}

void MainWindow::CmdFind() {
    std::u16string text = lastSearch_;
    if (!InputBox(text, LoadString(kStrFindTitle), LoadString(kStrFindPrompt), false)) {
        lastSearch_.clear();
        return;
    }
    lastSearch_ = text;
    // Find remembers where it stopped, in the catalog.
    const std::optional<FindResult> found = session_->Change(
        Refresh::None, Save::None, [&](Catalog& catalog, Settings&) { return Find(catalog, lastSearch_, false, Asker()); });
    if (found) SelectFoundRecord(*found);
}

void MainWindow::CmdFindNext() {
    if (lastSearch_.empty()) return;
    const std::optional<FindResult> found = session_->Change(
        Refresh::None, Save::None, [&](Catalog& catalog, Settings&) { return Find(catalog, lastSearch_, true, Asker()); });
    if (found) SelectFoundRecord(*found);
}

// ---------------------------------------------------------------------------
// View.

void MainWindow::CmdShowHidden() {
    // The enabling renames the command after the new state.
    session_->Change(Refresh::List | Refresh::Details | Refresh::Status | Refresh::Enabling, Save::None,
                     [](Catalog&, Settings& settings) { settings.showHidden = !settings.showHidden; });
}

void MainWindow::CmdCustomizeToolbar() {
    toolbar_->Customize();
    UpdateEnabling();
    // Saved only when the layout differs from the saved one.
    session_->Change(Refresh::None, Save::Settings, [&](Catalog&, Settings& settings) {
        StoreToolbarLayout();
        return SettingsChanged(settings, lastSaved_);
    });
    Layout();
}

// ---------------------------------------------------------------------------
// Categories.

void MainWindow::CmdDeleteCategory() {
    if (IsAllCategory() || currentCategory_.empty()) return;
    const bool deleted = session_->Change(Refresh::None, Save::Background, [&](Catalog& catalog, Settings&) {
        return DeleteCategory(catalog, currentCategory_, Asker());
    });
    if (!deleted) return;
    // The strip selects the tab before it and tells this window, which
    // fills the list for it.
    tabs_->DeleteCurrentTab();
    OnTabChanged();
}

void MainWindow::MoveCategory(bool toTheRight) {
    session_->Change(Refresh::Tabs | Refresh::Status, Save::Background, [&](Catalog& catalog, Settings&) {
        return kodrin::MoveCategory(catalog, currentCategory_, toTheRight);
    });
}

void MainWindow::CmdMoveCategoryLeft() { MoveCategory(false); }
void MainWindow::CmdMoveCategoryRight() { MoveCategory(true); }

void MainWindow::CmdNextTab() {
    const int count = tabs_->Count();
    if (count == 0) return;
    tabs_->SelectTab((tabs_->CurrentTab() + 1) % count);
}

void MainWindow::CmdSelectAll() { list_->SelectAll(); }

// ---------------------------------------------------------------------------
// Tools.

void MainWindow::CmdLaunchApplication() { OpenWithShell(SelectedField(&ApplicationRecord::path)); }
void MainWindow::CmdLaunchInstallation() { OpenWithShell(SelectedField(&ApplicationRecord::installFile)); }
void MainWindow::CmdSupportPage() { OpenWithShell(SelectedField(&ApplicationRecord::supportPage)); }

void MainWindow::CmdEmailSupport() {
    HWND list = list_->Handle();
    for (;;) {
        const int row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (row < 0) break;
        const std::int32_t id = static_cast<std::int32_t>(list_->ItemData(row));
        list_->DeselectRow(row);
        const ApplicationRecord* record = FindRecordById(catalog_, id);
        if (record == nullptr) continue;
        if (const auto link = SupportMailLink(*record)) OpenDocument(*link);
    }
}

void MainWindow::CmdHomePage() {
    const std::u16string page = SelectedField(&ApplicationRecord::homePage);
    if (page.empty()) return;
    if (settings_.defaultBrowser) {
        OpenWithShell(page);
    } else {
        RunBrowserLogin(*this, window_, settings_, page, nullptr, false);
    }
}

void MainWindow::CmdLogin() {
    const ApplicationRecord* record = list_->SelectedCount() == 1 ? SelectedRecord() : nullptr;
    if (record == nullptr) return;
    if (record->loginPage.empty()) {
        CmdHomePage();
        return;
    }
    if (settings_.defaultBrowser) {
        OpenWithShell(record->loginPage);
        return;
    }
    // The login works on a copy of the record's fields while the progress
    // dialog shows; what it learned (element names) goes back into the
    // record, which is saved when the login succeeded.
    const std::int32_t id = record->recordId;
    std::vector<LoginField> fields = record->loginData;
    weblogin::ClearAutomationMarks(fields);
    const bool loggedIn = RunBrowserLogin(*this, window_, settings_, record->loginPage, &fields, record->autoLogin);
    const Save save = loggedIn && !file_.readOnly ? Save::Background : Save::None;
    session_->Change(Refresh::None, save, [&](Catalog& catalog, Settings&) {
        ApplicationRecord* logged = FindRecordById(catalog, id);
        if (logged == nullptr || logged->loginData == fields) return false;
        logged->loginData = std::move(fields);
        return true;
    });
}

void MainWindow::CmdCheckApplication() {
    const ApplicationRecord* record = list_->SelectedCount() == 1 ? SelectedRecord() : nullptr;
    if (record == nullptr) return;
    const std::int32_t id = record->recordId;
    std::optional<update::PadCheckResult> checked;
    switch (DecideCheckApplication(Snapshot())) {
        case CheckAction::StartApplication:
            // The application updates itself.
            OpenWithShell(record->path);
            break;
        case CheckAction::OpenUpgradePage:
            // Pages open in the system's browser; the program's own browser
            // window is not part of this build.
            OpenWithShell(record->upgradePage);
            break;
        case CheckAction::CheckPadFile:
            // Under the progress dialog, with Cancel and time-outs: a server
            // that never answers must not freeze the window.
            checked = RunPadCheck(*progress_, window_, record->padFile, record->version);
            // Cancelled: nothing was checked.
            if (!checked) return;
            break;
        case CheckAction::Nothing:
            return;
    }
    const bool newer = checked && checked->outcome == update::CheckOutcome::Newer;
    // The published version goes into Latest Version (the installed one
    // stays), and the date is stamped; a read-only catalog keeps both.
    if (checked || settings_.autoDate) {
        session_->Change(Refresh::Rows | Refresh::Details, Save::Background, [&](Catalog& catalog, Settings& settings) {
            ApplicationRecord* target = FindRecordById(catalog, id);
            if (target == nullptr) return false;
            bool changed = checked && update::StoreCheckResult(*target, *checked, false, u"");
            const std::u16string today = FormatDate(Today(), static_cast<int>(settings.dateStyle));
            if (settings.autoDate && target->dateLastChecked != today) {
                target->dateLastChecked = today;
                changed = true;
            }
            return changed;
        });
    }
    if (newer) OpenWithShell(checked->downloadUrl);
}

void MainWindow::CmdCheckAll() {
    const std::vector<update::CheckItem> items =
        update::ItemsToCheck(catalog_, currentCategory_, settings_.showHidden);
    if (items.empty()) {
        ShowInfo(STR_CHECK_ALL_NONE, kStrProgramTitle);
        return;
    }
    const std::optional<std::vector<update::PadCheckResult>> results = RunCheckAll(*progress_, window_, items);
    if (!results) return;
    std::vector<CheckRow> rows;
    rows.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ApplicationRecord* record = FindRecordById(catalog_, items[i].recordId);
        rows.push_back({record != nullptr ? record->program : std::u16string(), items[i].installed, (*results)[i]});
    }
    // A read-only catalog shows the results and keeps nothing.
    const bool readOnly = session_->ReadOnly();
    session_->Change(Refresh::List | Refresh::Details | Refresh::Status, Save::Background,
                     [&](Catalog& catalog, Settings& settings) {
                         const std::u16string today = FormatDate(Today(), static_cast<int>(settings.dateStyle));
                         return update::StoreCheckResults(catalog, items, *results, settings.autoDate, today);
                     });
    ShowCheckResults(*this, window_, rows, readOnly);
}

void MainWindow::CmdAutoRemoval() {
    if (!QvApp::Confirm(kStrAutoRemoval, kStrProgramTitle)) return;
    session_->Change(Refresh::List | Refresh::Details | Refresh::Status | Refresh::Enabling, Save::Background,
                     [](Catalog& catalog, Settings&) { AutoRemove(catalog); });
}

// ---------------------------------------------------------------------------
// Dialogs of the main window.

void MainWindow::CmdAbout() { ShowAboutDialog(*this, window_); }

void MainWindow::CmdAddCategory() {
    const std::optional<std::u16string> name = AskCategoryName(*this, window_, u"");
    if (!name) return;
    session_->Change(Refresh::Tabs, Save::Background, [&](Catalog& catalog, Settings& settings) {
        AddCategory(catalog, *name);
        settings.curCategory = *name;
    });
}

void MainWindow::CmdEditCategory() {
    if (IsAllCategory() || currentCategory_.empty()) return;
    const std::u16string oldName = currentCategory_;
    const std::optional<std::u16string> name = AskCategoryName(*this, window_, oldName);
    if (!name || *name == oldName) return;
    const bool merged =
        std::find(catalog_.categories.begin(), catalog_.categories.end(), *name) != catalog_.categories.end();
    const bool renamed = session_->Change(Refresh::Status, Save::Background, [&](Catalog& catalog, Settings& settings) {
        RenameCategory(catalog, oldName, *name);
        settings.curCategory = *name;
        currentCategory_ = *name;
        return true;
    });
    if (!renamed) return;
    if (merged) {
        // Two tabs became one.
        FillTabs();
    } else {
        tabs_->RenameCurrentTab(*name);
    }
    ::InvalidateRect(list_->Handle(), nullptr, TRUE);
}

void MainWindow::CmdCustomizeColumns() {
    // The dialog edits a copy: a save may run while it shows.
    std::vector<std::uint8_t> columns = settings_.cols;
    if (!CustomizeColumns(*this, window_, columns)) return;
    session_->Change(Refresh::Columns | Refresh::List | Refresh::Details | Refresh::Enabling, Save::None,
                     [&](Catalog&, Settings& settings) { settings.cols = columns; });
}

void MainWindow::CmdExport() { RunExport(*this, window_, file_, *progress_); }

void MainWindow::CmdChangeCategory() {
    const std::vector<std::int32_t> ids = SelectedIds();
    if (ids.empty()) return;
    std::vector<std::u16string> chosen;
    if (const ApplicationRecord* first = FindRecordById(catalog_, ids.front())) chosen = first->categories;
    if (!ChooseCategories(*this, window_, catalog_.categories, chosen)) return;
    session_->Change(Refresh::Tabs | Refresh::Status, Save::Background,
                     [&](Catalog& catalog, Settings&) { ChangeCategories(catalog, ids, chosen); });
}

void MainWindow::CmdOptions() {
    // The dialog edits a copy; the saving threads read the settings.
    Settings edited = settings_;
    const int oldStyle = static_cast<int>(edited.dateStyle);
    if (!RunOptionsDialog(*this, window_, edited)) return;
    session_->Change(Refresh::Layout | Refresh::Columns | Refresh::List | Refresh::Details | Refresh::Status | Refresh::Enabling, Save::Background,
                     [&](Catalog& catalog, Settings& settings) {
                         settings = edited;
                         if (static_cast<int>(settings.dateStyle) != oldStyle) {
                             ConvertDates(catalog, oldStyle, static_cast<int>(settings.dateStyle));
                         }
                     });
}

bool MainWindow::RunDetails(int mode, ApplicationRecord& record) {
    Settings edited = settings_;
    DetailsServices services;
    // The generator opened from the details dialog belongs to that dialog,
    // which stays disabled while it is open.
    services.generatePassword = [this](HWND owner) {
        GeneratePassword(owner);
        return ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
    };
    // "Open in Browser" of the Login page fills the dialog's working fields
    // without submitting.
    services.openLoginPage = [this](HWND owner, const std::u16string& address, std::vector<LoginField>& fields) {
        RunBrowserLogin(*this, owner, settings_, address, &fields, false);
    };
    const bool ok = RunDetailsDialog(*this, window_, static_cast<DetailsMode>(mode), file_.readOnly, record, edited,
                                     catalog_, services);
    session_->Change(Refresh::None, Save::None, [&](Catalog&, Settings& settings) {
        settings.editX = edited.editX;
        settings.editY = edited.editY;
        settings.editWidth = edited.editWidth;
        settings.editHeight = edited.editHeight;
        settings.mediaType = edited.mediaType;
    });
    return ok && !file_.readOnly;
}

void MainWindow::CmdAddApplication() {
    ApplicationRecord record = NewRecord();
    if (!RunDetails(static_cast<int>(DetailsMode::Add), record)) return;
    PrepareNewRecord(record, settings_);
    // A category named in the dialog becomes a tab.
    session_->Change(Refresh::Tabs | Refresh::Status, Save::Background,
                     [&](Catalog& catalog, Settings&) { AddRecord(catalog, std::move(record), false); });
}

void MainWindow::CmdEditApplication() {
    const ApplicationRecord* selected = SelectedRecord();
    if (selected == nullptr) return;
    ApplicationRecord copy = CopyRecord(*selected);
    if (!RunDetails(static_cast<int>(DetailsMode::Edit), copy)) return;
    // A record that left the current category leaves its tab at once (its row goes).
    session_->Change(Refresh::Rows | Refresh::Details | Refresh::Status | Refresh::Enabling, Save::Background,
                     [&](Catalog& catalog, Settings&) { StoreEditedRecord(catalog, copy, false); });
}

void MainWindow::CmdMultipleEdit() {
    const std::vector<std::int32_t> ids = SelectedIds();
    if (ids.empty()) return;
    ApplicationRecord form = NewRecord();
    if (!RunDetails(static_cast<int>(DetailsMode::MultipleEdit), form)) return;
    session_->Change(Refresh::List | Refresh::Details | Refresh::Status | Refresh::Enabling, Save::Background, [&](Catalog& catalog, Settings& settings) {
        ApplyFormToRecords(catalog, ids, form, settings);
    });
}

void MainWindow::CmdGeneratePassword() { GeneratePassword(window_); }

void MainWindow::GeneratePassword(HWND owner) {
    Settings edited = settings_;
    RunPasswordGenerator(*this, owner, edited);
    // The generator keeps the character classes and the length it used.
    session_->Change(Refresh::None, Save::None, [&](Catalog&, Settings& settings) {
        settings.allowLower = edited.allowLower;
        settings.allowNumber = edited.allowNumber;
        settings.allowSymbol = edited.allowSymbol;
        settings.allowUpper = edited.allowUpper;
        settings.passwordLength = edited.passwordLength;
    });
}

void MainWindow::CmdStatistics() { ShowStatistics(*this, window_, catalog_, currentCategory_); }

// ---------------------------------------------------------------------------
// Help.

void MainWindow::CmdHelp() { ShowHelp(*this, window_); }
void MainWindow::CmdHomePageOfMaker() { OpenDocument(LoadString(kStrMakerHomePage)); }
void MainWindow::CmdEmailMaker() { OpenDocument(LoadString(kStrMakerSupportMail)); }

// ---------------------------------------------------------------------------
// Printing.

void MainWindow::CmdPrint() {
    const PrintServices services = config_.printServices ? *config_.printServices : SystemPrintServices();
    RunPrintCommand(
        *this, window_, catalog_, settings_, currentCategory_, SelectedIds(),
        [&](const Settings& chosen) {
            session_->Change(Refresh::None, Save::Settings, [&](Catalog&, Settings& settings) {
                settings.reportType = chosen.reportType;
                settings.reportSoftware = chosen.reportSoftware;
                settings.reportLabels = chosen.reportLabels;
                settings.reportSize = chosen.reportSize;
                settings.reportFont = chosen.reportFont;
                settings.reportSort = chosen.reportSort;
            });
        },
        services);
}

}  // namespace kodrin::app
