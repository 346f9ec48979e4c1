// The main window's commands: the table that names each command's handler
// and whether a read-only catalog refuses it, and the handlers of the
// commands the main window carries out itself.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/details_dialog.h"
#include "app/help.h"
#include "app/main_dialogs.h"
#include "app/options_dialog.h"
#include "app/password_dialog.h"
#include "app/statistics_dialog.h"
#include "app/main_window.h"
#include "command_table.h"
#include "catalog/csv.h"
#include "catalog/exchange.h"
#include "catalog/strings.h"
#include "framework/file_chooser.h"
#include "framework/helpers.h"
#include "platform/files.h"
#include "string_ids.h"

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
    CatalogLock lock(*this);
    settings_.lastPath = path;
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
    {
        CatalogLock lock(*this);
        SetDataFile(file_, *name);
    }
    LoadCatalogFile(*name, false);
    if (Quitting()) return;
    RefreshAll();
}

void MainWindow::CmdSaveAs() {
    const std::optional<std::u16string> name = AskCatalogName(true, false);
    if (!name) return;
    WaitForSaves();
    {
        CatalogLock lock(*this);
        if (!settings_.storeImages) CopyPicturesFolder(file_.path, *name);
        SetDataFile(file_, *name);
        // The new file is this catalog's now: it is saved unless it is
        // itself marked read-only.
        file_.readOnly = platform::FileExists(*name) && platform::IsReadOnly(*name);
    }
    SaveInForeground();
    UpdateStatus();
    RebuildDetails();
    UpdateEnabling();
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
    changed_ = true;
    RefreshAll();
    SaveInBackground();
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
    const std::u16string program = ModulePath();
    if (!program.empty()) platform::CopyFileTo(program, folder + std::u16string(platform::FileNamePart(program)));
    const std::u16string target = folder + std::u16string(platform::FileNamePart(file_.path));
    if (platform::FileExists(target) && !QvApp::Confirm(kStrOverwriteCatalog, kStrProgramTitle)) return;
    CatalogLock lock(*this);
    if (!settings_.storeImages) CopyPicturesFolder(file_.path, target);
    platform::CopyFileTo(file_.path, target);
}

// ---------------------------------------------------------------------------
// Applications.

void MainWindow::CmdDeleteApplication() {
    const std::vector<std::int32_t> ids = SelectedIds();
    if (ids.empty()) return;
    bool deleted = false;
    {
        CatalogLock lock(*this);
        deleted = DeleteRecords(catalog_, ids, Asker());
    }
    if (!deleted) return;
    for (const std::int32_t id : ids) {
        const int row = list_->FindRow(static_cast<std::uint32_t>(id));
        if (row >= 0) list_->DeleteRow(row);
    }
    UpdateStatus();
    RebuildDetails();
    UpdateEnabling();
    SaveInBackground();
}

void MainWindow::CmdCopyApplication() {
    const ApplicationRecord* selected = SelectedRecord();
    if (selected == nullptr) return;
    ApplicationRecord copy = CopyRecord(*selected);
    {
        CatalogLock lock(*this);
        AddRecord(catalog_, std::move(copy), false);
    }
    FillList(currentCategory_);
    RebuildDetails();
    UpdateStatus();
    UpdateEnabling();
    SaveInBackground();
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
    std::optional<FindResult> found;
    {
        CatalogLock lock(*this);
        found = Find(catalog_, lastSearch_, false, Asker());
    }
    if (found) SelectFoundRecord(*found);
}

void MainWindow::CmdFindNext() {
    if (lastSearch_.empty()) return;
    std::optional<FindResult> found;
    {
        CatalogLock lock(*this);
        found = Find(catalog_, lastSearch_, true, Asker());
    }
    if (found) SelectFoundRecord(*found);
}

// ---------------------------------------------------------------------------
// View.

void MainWindow::CmdShowHidden() {
    {
        CatalogLock lock(*this);
        settings_.showHidden = !settings_.showHidden;
    }
    RenameHiddenItemsCommand();
    FillList(currentCategory_);
    RebuildDetails();
    UpdateStatus();
    UpdateEnabling();
}

void MainWindow::CmdCustomizeToolbar() {
    toolbar_->Customize();
    UpdateEnabling();
    bool changed = false;
    {
        CatalogLock lock(*this);
        StoreToolbarLayout();
        changed = SettingsChanged(settings_, lastSaved_);
    }
    Layout();
    if (changed) SaveInBackground();
}

// ---------------------------------------------------------------------------
// Categories.

void MainWindow::CmdDeleteCategory() {
    if (IsAllCategory() || currentCategory_.empty()) return;
    bool deleted = false;
    {
        CatalogLock lock(*this);
        deleted = DeleteCategory(catalog_, currentCategory_, Asker());
    }
    if (!deleted) return;
    // The strip selects the tab before it and tells this window, which
    // fills the list for it.
    tabs_->DeleteCurrentTab();
    OnTabChanged();
    SaveInBackground();
}

void MainWindow::MoveCategory(bool toTheRight) {
    bool moved = false;
    {
        CatalogLock lock(*this);
        moved = kodrin::MoveCategory(catalog_, currentCategory_, toTheRight);
    }
    if (!moved) return;
    FillTabs();
    UpdateStatus();
    SaveInBackground();
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
    // Pages open in the system's browser; the program's own browser window
    // with automatic log-in is not part of this build.
    OpenWithShell(SelectedField(&ApplicationRecord::homePage));
}

void MainWindow::CmdLogin() {
    const ApplicationRecord* record = list_->SelectedCount() == 1 ? SelectedRecord() : nullptr;
    if (record == nullptr) return;
    OpenWithShell(!record->loginPage.empty() ? record->loginPage : record->homePage);
}

void MainWindow::CmdCheckApplication() {
    const ApplicationRecord* record = list_->SelectedCount() == 1 ? SelectedRecord() : nullptr;
    if (record == nullptr) return;
    const std::int32_t id = record->recordId;
    switch (DecideCheckApplication(Snapshot())) {
        case CheckAction::StartApplication:
            // The application updates itself.
            OpenWithShell(record->path);
            break;
        case CheckAction::OpenUpgradePage:
            OpenWithShell(record->upgradePage);
            break;
        case CheckAction::CheckPadFile:
            // The check of the publisher's PAD file is not part of this build.
        case CheckAction::Nothing:
            return;
    }
    if (file_.readOnly || !settings_.autoDate) return;
    {
        CatalogLock lock(*this);
        if (ApplicationRecord* checked = FindRecordById(catalog_, id)) {
            checked->dateLastChecked = FormatDate(Today(), static_cast<int>(settings_.dateStyle));
        }
    }
    SaveInBackground();
    UpdateRow(id);
}

void MainWindow::CmdAutoRemoval() {
    if (!QvApp::Confirm(kStrAutoRemoval, kStrProgramTitle)) return;
    {
        CatalogLock lock(*this);
        AutoRemove(catalog_);
    }
    SaveInBackground();
    FillList(currentCategory_);
    RebuildDetails();
    UpdateStatus();
    UpdateEnabling();
}

// ---------------------------------------------------------------------------
// Dialogs of the main window.

void MainWindow::CmdAbout() { ShowAboutDialog(*this, window_); }

void MainWindow::CmdAddCategory() {
    const std::optional<std::u16string> name = AskCategoryName(*this, window_, u"");
    if (!name) return;
    {
        CatalogLock lock(*this);
        AddCategory(catalog_, *name);
        settings_.curCategory = *name;
    }
    FillTabs();
    SaveInBackground();
}

void MainWindow::CmdEditCategory() {
    if (IsAllCategory() || currentCategory_.empty()) return;
    const std::u16string oldName = currentCategory_;
    const std::optional<std::u16string> name = AskCategoryName(*this, window_, oldName);
    if (!name || *name == oldName) return;
    const bool merged =
        std::find(catalog_.categories.begin(), catalog_.categories.end(), *name) != catalog_.categories.end();
    {
        CatalogLock lock(*this);
        RenameCategory(catalog_, oldName, *name);
        settings_.curCategory = *name;
    }
    currentCategory_ = *name;
    if (merged) {
        // Two tabs became one.
        FillTabs();
    } else {
        tabs_->RenameCurrentTab(*name);
    }
    SaveInBackground();
    UpdateStatus();
    ::InvalidateRect(list_->Handle(), nullptr, TRUE);
}

void MainWindow::CmdCustomizeColumns() {
    bool chosen = false;
    {
        CatalogLock lock(*this);
        std::vector<std::uint8_t> columns = settings_.cols;
        chosen = CustomizeColumns(*this, window_, columns);
        if (chosen) settings_.cols = columns;
    }
    if (!chosen) return;
    SetupColumns();
    FillList(currentCategory_);
    RebuildDetails();
    UpdateEnabling();
}

void MainWindow::CmdExport() { RunExport(*this, window_, file_, *progress_); }

void MainWindow::CmdChangeCategory() {
    const std::vector<std::int32_t> ids = SelectedIds();
    if (ids.empty()) return;
    std::vector<std::u16string> chosen;
    if (const ApplicationRecord* first = FindRecordById(catalog_, ids.front())) chosen = first->categories;
    if (!ChooseCategories(*this, window_, catalog_.categories, chosen)) return;
    {
        CatalogLock lock(*this);
        ChangeCategories(catalog_, ids, chosen);
    }
    FillTabs();
    UpdateStatus();
    SaveInBackground();
}

void MainWindow::CmdOptions() {
    // The dialog edits a copy; the saving threads read the settings.
    Settings edited;
    {
        CatalogLock lock(*this);
        edited = settings_;
    }
    const int oldStyle = static_cast<int>(edited.dateStyle);
    if (!RunOptionsDialog(*this, window_, edited)) return;
    {
        CatalogLock lock(*this);
        settings_ = edited;
        if (static_cast<int>(settings_.dateStyle) != oldStyle) {
            ConvertDates(catalog_, oldStyle, static_cast<int>(settings_.dateStyle));
        }
    }
    status_->Show(!settings_.hideStatus);
    Layout();
    SetupColumns();
    FillList(currentCategory_);
    RebuildDetails();
    UpdateStatus();
    UpdateEnabling();
    ::InvalidateRect(window_, nullptr, TRUE);
    SaveInBackground();
}

bool MainWindow::RunDetails(int mode, ApplicationRecord& record) {
    Settings edited;
    {
        CatalogLock lock(*this);
        edited = settings_;
    }
    DetailsServices services;
    // The generator opened from the details dialog belongs to that dialog,
    // which stays disabled while it is open.
    services.generatePassword = [this](HWND owner) {
        GeneratePassword(owner);
        return ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
    };
    const bool ok = RunDetailsDialog(*this, window_, static_cast<DetailsMode>(mode), file_.readOnly, record, edited,
                                     catalog_, services);
    CatalogLock lock(*this);
    settings_.editX = edited.editX;
    settings_.editY = edited.editY;
    settings_.editWidth = edited.editWidth;
    settings_.editHeight = edited.editHeight;
    settings_.mediaType = edited.mediaType;
    return ok && !file_.readOnly;
}

void MainWindow::CmdAddApplication() {
    ApplicationRecord record = NewRecord();
    if (!RunDetails(static_cast<int>(DetailsMode::Add), record)) return;
    PrepareNewRecord(record, settings_);
    {
        CatalogLock lock(*this);
        AddRecord(catalog_, std::move(record), false);
    }
    // A category named in the dialog becomes a tab.
    FillTabs();
    UpdateStatus();
    SaveInBackground();
}

void MainWindow::CmdEditApplication() {
    const ApplicationRecord* selected = SelectedRecord();
    if (selected == nullptr) return;
    ApplicationRecord copy = CopyRecord(*selected);
    const std::int32_t id = copy.recordId;
    if (!RunDetails(static_cast<int>(DetailsMode::Edit), copy)) return;
    {
        CatalogLock lock(*this);
        StoreEditedRecord(catalog_, copy, false);
    }
    SaveInBackground();
    UpdateRow(id);
    RebuildDetails();
    UpdateEnabling();
}

void MainWindow::CmdMultipleEdit() {
    const std::vector<std::int32_t> ids = SelectedIds();
    if (ids.empty()) return;
    ApplicationRecord form = NewRecord();
    if (!RunDetails(static_cast<int>(DetailsMode::MultipleEdit), form)) return;
    {
        CatalogLock lock(*this);
        ApplyFormToRecords(catalog_, ids, form, settings_);
    }
    SaveInBackground();
    FillList(currentCategory_);
    RebuildDetails();
    UpdateStatus();
    UpdateEnabling();
}

void MainWindow::CmdGeneratePassword() { GeneratePassword(window_); }

void MainWindow::GeneratePassword(HWND owner) {
    Settings edited = settings_;
    RunPasswordGenerator(*this, owner, edited);
    // The generator keeps the character classes and the length it used.
    CatalogLock lock(*this);
    settings_.allowLower = edited.allowLower;
    settings_.allowNumber = edited.allowNumber;
    settings_.allowSymbol = edited.allowSymbol;
    settings_.allowUpper = edited.allowUpper;
    settings_.passwordLength = edited.passwordLength;
}

void MainWindow::CmdStatistics() { ShowStatistics(*this, window_, catalog_, currentCategory_); }

// ---------------------------------------------------------------------------
// Help.

void MainWindow::CmdHelp() { ShowHelp(*this, window_); }
void MainWindow::CmdHomePageOfMaker() { OpenDocument(LoadString(kStrMakerHomePage)); }
void MainWindow::CmdEmailMaker() { OpenDocument(LoadString(kStrMakerSupportMail)); }

}  // namespace kodrin::app
