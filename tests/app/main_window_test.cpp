// The main window, created in this process as the program creates it and
// driven with its commands and notifications; its dialogs and message boxes
// are answered by the dialog driver. Each test uses its own registry key and
// instance name, so a running program is neither met nor touched.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/command_rules.h"
#include "app/main_dialogs.h"
#include "app/main_window.h"
#include "catalog/catalog.h"
#include "catalog/datafile.h"
#include "catalog/exchange.h"
#include "catalog/record.h"
#include "catalog/settings.h"
#include "catalog/strings.h"
#include "framework/helpers.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/utf.h"
#include "support/temp_folder.h"
#include "support/text.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using app::MainWindow;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

bool IsProgressDialog(HWND dialog) { return ::GetDlgItem(dialog, 20304) != nullptr; }

// The text of a message box, all its statics joined.
std::u16string BoxText(HWND dialog) {
    std::u16string text;
    for (const std::u16string& part : StaticTexts(dialog)) text += part;
    return text;
}

HWND NameField(HWND dialog) {
    if (HWND combo = ::GetDlgItem(dialog, cmb13)) return combo;
    return ::GetDlgItem(dialog, edt1);
}

// Answers a file dialog with the path.
DialogDriver::Script ChooseFile(const std::u16string& path) {
    return [path](HWND dialog) {
        ::SetWindowTextW(NameField(dialog), Wide(path));
        Click(dialog, IDOK);
    };
}

// Answers a message box with the button, keeping its text.
DialogDriver::Script Answer(int button, std::u16string* text = nullptr) {
    return [button, text](HWND dialog) {
        if (text != nullptr) *text = BoxText(dialog);
        Click(dialog, button);
    };
}

// Answers the input box with the text.
DialogDriver::Script Type(const std::u16string& value, std::u16string* title = nullptr) {
    return [value, title](HWND dialog) {
        if (title != nullptr) *title = WindowText(dialog);
        SetItemText(dialog, 20002, value);
        Click(dialog, IDOK);
    };
}

ApplicationRecord Record(const std::u16string& program, std::vector<std::u16string> categories) {
    ApplicationRecord r = NewRecord();
    r.program = program;
    r.categories = std::move(categories);
    return r;
}

FILETIME WriteTime(const std::u16string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(Wide(path), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

std::vector<std::uint8_t> Bytes(const std::u16string& path) {
    std::vector<std::uint8_t> bytes;
    platform::ReadWholeFile(path, bytes);
    return bytes;
}

std::u16string ClipboardText() { return QvLibrary::ReadClipboardText(nullptr).value_or(u""); }

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.Created());
        // The file dialogs want plain paths: one separator between names.
        root_ = folder_.Path() + u"\\";
        for (std::size_t at; (at = root_.find(u"\\\\")) != std::u16string::npos;) root_.erase(at, 1);
        company_ = u"KodrinTest-" + std::u16string(platform::FileNamePart(folder_.Path()));
        config_.registryCompany = company_;
        config_.instanceName = company_;
        config_.programFolder = root_ + u"program";
        config_.userDataFolder = root_ + u"user\\";
        ASSERT_TRUE(platform::CreateFolders(config_.programFolder));
        ASSERT_TRUE(platform::CreateFolders(config_.userDataFolder));
        driver_.Ignore(IsProgressDialog);
        ASSERT_TRUE(app::RegisterMainWindowClass(::GetModuleHandleW(nullptr)));
    }

    void TearDown() override {
        if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
        DrainMessages();
        const std::u16string key = u"Software\\" + company_;
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(key));
        EXPECT_EQ(driver_.Pending(), 0);
        EXPECT_EQ(driver_.Unexpected(), 0);
    }

    // Creates the window and runs its start; null when the window went.
    MainWindow* Start(const std::u16string& commandLine) {
        config_.commandLine = commandLine;
        window_ = app::CreateMainWindow(::GetModuleHandleW(nullptr), config_);
        if (window_ == nullptr) return nullptr;
        PumpUntil([&] {
            if (!::IsWindow(window_)) return true;
            MainWindow* w = MainWindow::FromHandle(window_);
            return w != nullptr && w->Started();
        }, 15000);
        return ::IsWindow(window_) ? MainWindow::FromHandle(window_) : nullptr;
    }

    MainWindow* StartOn(const std::u16string& path) { return Start(u"kodrin.exe /F" + path); }

    void Close() {
        if (window_ != nullptr && ::IsWindow(window_)) ::SendMessageW(window_, WM_CLOSE, 0, 0);
        DrainMessages();
        EXPECT_FALSE(::IsWindow(window_));
        window_ = nullptr;
    }

    std::u16string RegistryFilename() {
        QvLibrary::RegistryStore store(company_);
        std::u16string value;
        store.Read(u"Kodrin", u"Filename", value);
        return value;
    }

    // Writes a catalog file with the settings (the defaults with the changes).
    std::u16string Write(const std::u16string& name, const Catalog& catalog, Settings settings) {
        const std::u16string path = root_ + name;
        EXPECT_TRUE(SaveCatalog(catalog, settings, path, u""));
        return path;
    }

    // A catalog file with the one category "Tools" holding the named
    // applications, opened on that tab.
    std::u16string WriteTools(const std::u16string& name, std::initializer_list<const char16_t*> programs) {
        Catalog c;
        AddCategory(c, u"Tools");
        for (const char16_t* program : programs) AddRecord(c, Record(program, {u"Tools"}), false);
        Settings s = NewSettings();
        s.curCategory = u"Tools";
        return Write(name, c, s);
    }

    // Reads a catalog file back.
    Catalog Load(const std::u16string& path, const std::u16string& password = {}) {
        struct Password final : DataFileUser {
            virtual ~Password() = default;
            std::u16string value;
            std::optional<std::u16string> AskPassword() override { return value; }
            void Inform(int) override {}
            LoadFailureAnswer AskAfterFailedLoad() override { return LoadFailureAnswer::Quit; }
        } user;
        user.value = password;
        Catalog catalog;
        Settings settings = NewSettings();
        EXPECT_TRUE(LoadCatalog(path, catalog, settings, false, &user).ok);
        return catalog;
    }

    static std::vector<std::u16string> ListColumn(MainWindow& w, int column) {
        std::vector<std::u16string> texts;
        for (int row = 0; row < w.List().RowCount(); ++row) texts.push_back(w.List().GetText(row, column));
        return texts;
    }

    static std::int32_t IdOf(MainWindow& w, const std::u16string& program) {
        for (const ApplicationRecord& r : w.GetCatalog().records) {
            if (r.program == program) return r.recordId;
        }
        return 0;
    }

    TempFolder folder_{u"kodrin-main-"};
    DialogDriver driver_;
    app::MainWindowConfig config_;
    std::u16string root_;
    std::u16string company_;
    HWND window_ = nullptr;
};

std::u16string Caption(HWND window) { return WindowText(window); }

// ---------------------------------------------------------------------------

TEST_F(MainWindowTest, StartFindsTheCatalogFromArgumentRegistryProgramFolderOrUserFolder) {
    // Nothing names a file: the per-user folder, "Kodrin" and "xml".
    MainWindow* w = Start(u"kodrin.exe");
    ASSERT_NE(w, nullptr);
    const std::u16string fallback = config_.userDataFolder + u"Kodrinxml";
    EXPECT_EQ(w->DataPath(), fallback);
    EXPECT_EQ(RegistryFilename(), fallback);
    EXPECT_EQ(Caption(window_), u"Kodrin - " + fallback);
    EXPECT_TRUE(::IsWindowVisible(window_));
    Close();

    // A file ending in "xml" beside the program wins over the fallback.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(u"Software\\" + company_));
    const std::u16string beside = config_.programFolder + u"\\mine.xml";
    Write(u"program\\mine.xml", Catalog{}, NewSettings());
    w = Start(u"kodrin.exe");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->DataPath(), beside);
    Close();

    // "/F" with a quoted path holding a space; the choice persists.
    ASSERT_TRUE(platform::CreateFolders(root_ + u"with space"));
    const std::u16string named = root_ + u"with space\\cat.xml";
    w = Start(u"\"C:\\Program Files\\kodrin.exe\" \"/F" + named + u"\"");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->DataPath(), named);
    EXPECT_EQ(RegistryFilename(), named);
    Close();
    w = Start(u"kodrin.exe");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->DataPath(), named);
    Close();

    // "-f" in lower case; the last such argument counts.
    w = Start(u"kodrin.exe -f" + root_ + u"a.xml -f" + root_ + u"b.xml");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->DataPath(), root_ + u"b.xml");
    Close();
}

TEST_F(MainWindowTest, SecondInstanceIsRefusedWithAWarning) {
    MainWindow* first = StartOn(root_ + u"cat.xml");
    ASSERT_NE(first, nullptr);
    HWND firstWindow = window_;
    std::u16string text;
    driver_.Then(Answer(IDOK, &text));
    HWND second = app::CreateMainWindow(::GetModuleHandleW(nullptr), config_);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(text, LoadText(4108));
    EXPECT_TRUE(::IsWindow(firstWindow));
    Close();
    // The first one gone, the name is free again.
    ASSERT_NE(StartOn(root_ + u"cat.xml"), nullptr);
    Close();
}

TEST_F(MainWindowTest, ReadOnlyCatalogRefusesChangesAndIsNeverWritten) {
    const std::u16string path = WriteTools(u"ro.xml", {u"Alpha", u"Beta"});
    ASSERT_TRUE(platform::SetReadOnly(path, true));
    const auto before = Bytes(path);

    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->ReadOnly());
    EXPECT_EQ(w->Status().Text(1), u"Read Only");
    EXPECT_EQ(w->Status().Text(0), u"Tools: 2");

    w->List().SelectRow(0);
    std::u16string text;
    driver_.Then(Answer(IDOK, &text));
    w->RunCommand(1101);
    EXPECT_EQ(text, u"Read Only");
    EXPECT_EQ(w->GetCatalog().records.size(), 2u);
    driver_.Then(Answer(IDOK));
    w->RunCommand(3101);  // Delete Category
    EXPECT_EQ(w->GetCatalog().categories.size(), 1u);
    // A change that is not refused still never reaches the file.
    w->RunCommand(3601);
    Close();
    EXPECT_EQ(Bytes(path), before);
    platform::SetReadOnly(path, false);
}

TEST_F(MainWindowTest, ListFillsSortsColoursAndShowsHiddenOnRequest) {
    Catalog c;
    AddCategory(c, u"Tools");
    AddCategory(c, u"Games");
    ApplicationRecord zeta = Record(u"Zeta", {u"Tools"});
    zeta.company = u"beta corp";
    zeta.path = u"C:\\zeta.exe";
    zeta.version = u"1.0";
    zeta.latestVersion = u"2.0";
    AddRecord(c, zeta, false);
    ApplicationRecord alpha = Record(u"Alpha", {u"Tools"});
    alpha.company = u"Acme";
    AddRecord(c, alpha, false);
    ApplicationRecord hidden = Record(u"Hidden", {u"Tools"});
    hidden.company = u"Cloak";
    hidden.hide = true;
    AddRecord(c, hidden, false);
    AddRecord(c, Record(u"Chess", {u"Games"}), false);
    AddRecord(c, Record(u"Loose", {}), false);
    Settings s = NewSettings();
    s.curCategory = u"Tools";
    MainWindow* w = StartOn(Write(u"list.xml", c, s));
    ASSERT_NE(w, nullptr);

    // Tabs: "<All>" and the categories; the stored category is current.
    ASSERT_EQ(w->Tabs().Count(), 3);
    EXPECT_EQ(w->Tabs().CurrentText(), u"Tools");
    EXPECT_EQ(w->Status().Text(0), u"Tools: 3");
    // Columns: Company, Application Name, Version, Registration Key, Date
    // Last Checked, Media; rows sorted by the first, hidden ones left out.
    EXPECT_EQ(w->List().ColumnCount(), 6);
    EXPECT_EQ(ListColumn(*w, 0), (std::vector<std::u16string>{u"Acme", u"beta corp"}));
    EXPECT_EQ(ListColumn(*w, 1), (std::vector<std::u16string>{u"Alpha", u"Zeta"}));

    // A click on the header reverses the order and is kept in the settings.
    NMLISTVIEW click{};
    click.hdr.hwndFrom = w->List().Handle();
    click.hdr.idFrom = app::kListId;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 1;
    ::SendMessageW(window_, WM_NOTIFY, app::kListId, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(ListColumn(*w, 1), (std::vector<std::u16string>{u"Alpha", u"Zeta"}));
    ::SendMessageW(window_, WM_NOTIFY, app::kListId, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(ListColumn(*w, 1), (std::vector<std::u16string>{u"Zeta", u"Alpha"}));
    EXPECT_EQ(w->CurrentSettings().sortCol, 1);
    EXPECT_TRUE(w->CurrentSettings().sortReverse);

    // Row colours follow the record's state: Zeta is out of date.
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = w->List().Handle();
    draw.nmcd.hdr.idFrom = app::kListId;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(::SendMessageW(window_, WM_NOTIFY, app::kListId, reinterpret_cast<LPARAM>(&draw)),
              CDRF_NOTIFYITEMDRAW);
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    // The owner-data list names the row it draws.
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(w->List().FindRow(IdOf(*w, u"Zeta")));
    EXPECT_EQ(::SendMessageW(window_, WM_NOTIFY, app::kListId, reinterpret_cast<LPARAM>(&draw)), CDRF_NEWFONT);
    EXPECT_EQ(draw.clrText, static_cast<COLORREF>(w->CurrentSettings().colors[RecordStatusCode::OutOfDate]));
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(w->List().FindRow(IdOf(*w, u"Alpha")));
    ::SendMessageW(window_, WM_NOTIFY, app::kListId, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(draw.clrText, static_cast<COLORREF>(w->CurrentSettings().colors[RecordStatusCode::Standard]));

    // Hidden items on request; the View menu's item says what it will do.
    HMENU menu = ::GetMenu(window_);
    wchar_t item[64] = {};
    w->RunCommand(3601);
    EXPECT_EQ(w->List().RowCount(), 3);
    ::GetMenuStringW(menu, 3601, item, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(item)), u"Hide &Hidden Items");
    w->RunCommand(3601);
    EXPECT_EQ(w->List().RowCount(), 2);
    ::GetMenuStringW(menu, 3601, item, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(item)), u"Show &Hidden Items");

    // "<All>" shows every visible record, also those without a category.
    w->Tabs().SelectTab(0);
    EXPECT_EQ(w->CurrentCategory(), u"<All>");
    EXPECT_EQ(w->List().RowCount(), 4);
    EXPECT_EQ(w->Status().Text(0), u"<All>: 5");
    EXPECT_EQ(w->CurrentSettings().curCategory, u"<All>");

    // Ctrl+T selects the next tab and wraps from the last to the first.
    w->Tabs().SelectTab(2);
    w->RunCommand(3007);
    EXPECT_EQ(w->Tabs().CurrentTab(), 0);
    w->RunCommand(3007);
    EXPECT_EQ(w->CurrentCategory(), u"Tools");
    Close();
}

TEST_F(MainWindowTest, FindSelectsTheMatchAcrossCategories) {
    Catalog c;
    AddCategory(c, u"Tools");
    AddCategory(c, u"Games");
    AddRecord(c, Record(u"Hammer", {u"Tools"}), false);
    ApplicationRecord chess = Record(u"Chess", {u"Games"});
    chess.comments = u"a needle here";
    AddRecord(c, chess, false);
    ApplicationRecord go = Record(u"Go", {u"Games"});
    go.description = u"needle too";
    AddRecord(c, go, false);
    Settings s = NewSettings();
    s.curCategory = u"Tools";
    MainWindow* w = StartOn(Write(u"find.xml", c, s));
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->CurrentCategory(), u"Tools");

    std::u16string title;
    driver_.Then(Type(u"needle", &title));
    w->RunCommand(3602);
    EXPECT_EQ(title, u"Find...");
    EXPECT_EQ(w->CurrentCategory(), u"Games");
    EXPECT_EQ(w->SelectedIds(), (std::vector<std::int32_t>{IdOf(*w, u"Chess")}));
    w->RunCommand(3603);
    EXPECT_EQ(w->SelectedIds(), (std::vector<std::int32_t>{IdOf(*w, u"Go")}));
    std::u16string text;
    driver_.Then(Answer(IDOK, &text));
    w->RunCommand(3603);
    EXPECT_EQ(text, u"No matching entries found");

    // The box starts with the last text; Cancel forgets it.
    std::u16string shown;
    driver_.Then([&](HWND dialog) {
        shown = ItemText(dialog, 20002);
        Click(dialog, IDCANCEL);
    });
    w->RunCommand(3602);
    EXPECT_EQ(shown, u"needle");
    w->RunCommand(3603);  // nothing to find: no box
    Close();
}

TEST_F(MainWindowTest, CategoriesAreDeletedAndMovedAndSaved) {
    Catalog c;
    AddCategory(c, u"A");
    AddCategory(c, u"B");
    AddCategory(c, u"C");
    AddRecord(c, Record(u"OnlyB", {u"B"}), false);
    AddRecord(c, Record(u"BandA", {u"B", u"A"}), false);
    Settings s = NewSettings();
    s.curCategory = u"B";
    const std::u16string path = Write(u"cats.xml", c, s);
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);

    w->RunCommand(3104);  // B to the right
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"A", u"C", u"B"}));
    EXPECT_EQ(w->Tabs().CurrentTab(), 3);
    EXPECT_EQ(w->CurrentCategory(), u"B");
    w->RunCommand(3104);  // already last: nothing
    w->RunCommand(3103);
    w->RunCommand(3103);
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"B", u"A", u"C"}));
    EXPECT_EQ(w->Tabs().CurrentTab(), 1);

    // Not empty: asked first. Declined keeps it.
    std::u16string question;
    driver_.Then(Answer(IDNO, &question));
    w->RunCommand(3101);
    EXPECT_EQ(question, LoadText(kStrCategoryNotEmpty));
    EXPECT_EQ(w->GetCatalog().categories.size(), 3u);
    driver_.Then(Answer(IDYES));
    w->RunCommand(3101);
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"A", u"C"}));
    ASSERT_EQ(w->GetCatalog().records.size(), 1u);
    EXPECT_EQ(w->GetCatalog().records[0].program, u"BandA");
    // The tab before the deleted one is current: "<All>".
    EXPECT_EQ(w->Tabs().CurrentTab(), 0);
    EXPECT_EQ(w->Tabs().Count(), 3);
    w->RunCommand(3101);  // "<All>" is no category: nothing
    EXPECT_EQ(w->GetCatalog().categories.size(), 2u);
    w->WaitForSaves();
    const Catalog saved = Load(path);
    EXPECT_EQ(saved.categories, (std::vector<std::u16string>{u"A", u"C"}));
    EXPECT_EQ(saved.records.size(), 1u);
    Close();
}

TEST_F(MainWindowTest, RecordsAreCopiedDeletedAndTheirFieldsCopiedToTheClipboard) {
    Catalog c;
    AddCategory(c, u"Tools");
    ApplicationRecord full = Record(u"Full", {u"Tools"});
    full.userName = u"Ann Reader";
    full.organization = u"Fenwold";
    full.registrationKey = U("KEY-é-1");
    full.registrationEmail = u"ann@example.org";
    AddLoginField(full, LoginField{u"user", u"ann", 0, LoginFieldType::StandardInput, true, false});
    AddLoginField(full, LoginField{u"", u"s3cret", 0, LoginFieldType::Password, true, false});
    AddRecord(c, full, false);
    AddRecord(c, Record(u"Empty", {u"Tools"}), false);
    Settings s = NewSettings();
    s.curCategory = u"Tools";
    s.splitter = 300;
    const std::u16string path = Write(u"records.xml", c, s);
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);

    w->SelectRecords({IdOf(*w, u"Full")});
    // Details: one label per login field and one for the registration e-mail;
    // a field without a name shows its value, a password masked.
    std::vector<std::u16string> shown;
    for (HWND label : w->DetailLabels()) shown.push_back(WindowText(label));
    EXPECT_EQ(shown, (std::vector<std::u16string>{u"user", u"xxxxxx", u"Registration EMail"}));
    EXPECT_EQ(w->DetailTexts(), (std::vector<std::u16string>{u"ann", u"s3cret", u"ann@example.org"}));
    ::SendMessageW(window_, WM_COMMAND, MAKEWPARAM(9001, BN_CLICKED), reinterpret_cast<LPARAM>(w->DetailLabels()[1]));
    EXPECT_EQ(ClipboardText(), u"s3cret");

    // Copies as 8-bit text: each unit's low byte.
    w->RunCommand(3013);
    EXPECT_EQ(ClipboardText(), u"Ann Reader");
    w->RunCommand(3008);
    EXPECT_EQ(ClipboardText(), u"Fenwold");
    w->RunCommand(3015);
    EXPECT_EQ(ClipboardText(), u"ann");
    w->RunCommand(3014);
    EXPECT_EQ(ClipboardText(), u"s3cret");
    std::vector<std::uint8_t> ansi;
    w->RunCommand(3009);
    if (::OpenClipboard(nullptr)) {
        if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
            const char* text = static_cast<const char*>(::GlobalLock(data));
            if (text != nullptr) ansi.assign(text, text + std::strlen(text));
            ::GlobalUnlock(data);
        }
        ::CloseClipboard();
    }
    EXPECT_EQ(ansi, (std::vector<std::uint8_t>{'K', 'E', 'Y', '-', 0xE9, '-', '1'}));

    // A narrow details pane shows no labels: 40 pixels is too narrow, 41 is not.
    RECT client{};
    ::GetClientRect(window_, &client);
    w->OnSplitterMoved(client.right - 70);
    EXPECT_EQ(w->DetailsPane().right - w->DetailsPane().left, 40);
    EXPECT_TRUE(w->DetailLabels().empty());
    w->OnSplitterMoved(client.right - 71);
    EXPECT_EQ(w->DetailLabels().size(), 3u);

    // Copy Application adds a new record with the same content.
    w->RunCommand(3001);
    EXPECT_EQ(w->GetCatalog().records.size(), 3u);
    EXPECT_EQ(w->List().RowCount(), 3);
    EXPECT_EQ(w->Status().Text(0), u"Tools: 3");
    EXPECT_EQ(w->GetCatalog().records.back().registrationKey, U("KEY-é-1"));
    EXPECT_NE(w->GetCatalog().records.back().recordId, IdOf(*w, u"Full"));

    // Delete asks, then removes every selected record and saves.
    w->SelectRecords({IdOf(*w, u"Full"), IdOf(*w, u"Empty")});
    std::u16string question;
    driver_.Then(Answer(IDNO, &question));
    w->RunCommand(1101);
    EXPECT_EQ(question, LoadText(kStrConfirmDelete));
    EXPECT_EQ(w->GetCatalog().records.size(), 3u);
    driver_.Then(Answer(IDYES));
    w->RunCommand(1101);
    EXPECT_EQ(w->GetCatalog().records.size(), 1u);
    EXPECT_EQ(w->List().RowCount(), 1);
    EXPECT_EQ(w->Status().Text(0), u"Tools: 1");
    w->WaitForSaves();
    EXPECT_EQ(Load(path).records.size(), 1u);
    Close();
}

TEST_F(MainWindowTest, NewOpenSaveAsAndRestoreFromTheBackup) {
    const std::u16string first = WriteTools(u"first.xml", {u"One", u"Two"});
    MainWindow* w = StartOn(first);
    ASSERT_NE(w, nullptr);
    // The load took the backup, which the restore command now offers.
    EXPECT_EQ(Bytes(first + u".bak"), Bytes(first));
    HMENU menu = ::GetMenu(window_);
    EXPECT_EQ(::GetMenuState(menu, 3210, MF_BYCOMMAND) & MF_GRAYED, 0u);

    w->SelectRecords({IdOf(*w, u"One")});
    driver_.Then(Answer(IDYES));
    w->RunCommand(1101);
    w->WaitForSaves();
    EXPECT_EQ(Load(first).records.size(), 1u);
    std::u16string question;
    driver_.Then(Answer(IDYES, &question));
    w->RunCommand(3210);
    EXPECT_EQ(question, u"Restore data from your last saved backup?");
    EXPECT_EQ(w->GetCatalog().records.size(), 2u);
    EXPECT_EQ(Bytes(first), Bytes(first + u".bak"));

    // Save As writes the catalog under the new name and keeps it.
    const std::u16string second = root_ + u"second.xml";
    driver_.Then(ChooseFile(second));
    w->RunCommand(3212);
    EXPECT_EQ(w->DataPath(), second);
    EXPECT_EQ(RegistryFilename(), second);
    EXPECT_EQ(Caption(window_), u"Kodrin - " + second);
    EXPECT_EQ(Load(second).records.size(), 2u);

    // New: an empty catalog there, written by the next save.
    const std::u16string third = root_ + u"third.xml";
    driver_.Then(ChooseFile(third));
    w->RunCommand(3205);
    EXPECT_EQ(w->DataPath(), third);
    EXPECT_TRUE(w->GetCatalog().records.empty());
    EXPECT_TRUE(w->Changed());
    EXPECT_FALSE(platform::FileExists(third));

    // Open saves the pending new catalog first, then loads the chosen one.
    driver_.Then(ChooseFile(first));
    w->RunCommand(3206);
    EXPECT_TRUE(platform::FileExists(third));
    EXPECT_TRUE(Load(third).records.empty());
    EXPECT_EQ(w->DataPath(), first);
    EXPECT_EQ(w->GetCatalog().records.size(), 2u);
    EXPECT_EQ(w->CurrentCategory(), u"Tools");
    EXPECT_EQ(w->List().RowCount(), 2);
    Close();
}

TEST_F(MainWindowTest, PasswordIsAskedAndAFailedLoadOffersRetryNewOrQuit) {
    Catalog c;
    AddCategory(c, u"Tools");
    AddRecord(c, Record(u"Secret", {u"Tools"}), false);
    Settings s = NewSettings();
    s.password = u"open sesame";
    const std::u16string path = Write(u"locked.xml", c, s);

    // A wrong password, then Cancel (try again) and the right one.
    std::u16string title;
    std::u16string question;
    driver_.Then(Type(u"wrong", &title));
    driver_.Then(Answer(IDCANCEL, &question));
    driver_.Then(Type(u"open sesame"));
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(title, u"Kodrin Password");
    EXPECT_EQ(question, LoadText(kStrLoadFailedQuestion));
    ASSERT_EQ(w->GetCatalog().records.size(), 1u);
    EXPECT_EQ(w->CurrentSettings().password, u"open sesame");
    Close();
    const auto original = Bytes(path);

    // No quits, and the emptied catalog must not replace the file.
    driver_.Then(Type(u"wrong"));
    driver_.Then(Answer(IDNO));
    EXPECT_EQ(StartOn(path), nullptr);
    DrainMessages();
    EXPECT_FALSE(::IsWindow(window_));
    EXPECT_EQ(Load(path, u"open sesame").records.size(), 1u);

    // Yes with the file dialog cancelled quits the same way.
    driver_.Then(Type(u"wrong"));
    driver_.Then(Answer(IDYES));
    driver_.Then([](HWND dialog) { Click(dialog, IDCANCEL); });
    EXPECT_EQ(StartOn(path), nullptr);
    DrainMessages();
    EXPECT_EQ(Load(path, u"open sesame").records.size(), 1u);

    // Yes with a new name starts an empty catalog there.
    const std::u16string fresh = root_ + u"fresh.xml";
    driver_.Then(Type(u""));
    driver_.Then(Answer(IDYES));
    driver_.Then(ChooseFile(fresh));
    w = StartOn(path);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->DataPath(), fresh);
    EXPECT_TRUE(w->GetCatalog().records.empty());
    EXPECT_EQ(w->CurrentSettings().password, u"");
    Close();
    EXPECT_TRUE(platform::FileExists(fresh));
    EXPECT_EQ(Bytes(path), original);
}

TEST_F(MainWindowTest, ClosingEmptiesTheClipboardAndSavesOnlyWhatChanged) {
    const std::u16string path = WriteTools(u"close.xml", {u"One"});

    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);
    QvLibrary::WriteClipboardText(nullptr, u"left over");
    Close();
    EXPECT_EQ(ClipboardText(), u"");

    // Nothing changed since the last close: the file is not written.
    ASSERT_NE(StartOn(path), nullptr);
    Close();
    const FILETIME written = WriteTime(path);
    ::Sleep(20);
    ASSERT_NE(StartOn(path), nullptr);
    Close();
    EXPECT_TRUE(SameTime(WriteTime(path), written));

    // A changed setting is saved at the close.
    w = StartOn(path);
    ASSERT_NE(w, nullptr);
    w->RunCommand(3601);
    Close();
    Settings loaded = NewSettings();
    Catalog ignored;
    ASSERT_TRUE(LoadCatalog(path, ignored, loaded, false, nullptr).ok);
    EXPECT_TRUE(loaded.showHidden);

    // A failed save warns and keeps the change pending for the next one.
    w = StartOn(path);
    ASSERT_NE(w, nullptr);
    w->SelectRecords({IdOf(*w, u"One")});
    {
        platform::ScopedWriteFault fault({platform::WriteFault::Kind::DiskFull, 0, {}});
        std::u16string warning;
        driver_.Then(Answer(IDYES));
        driver_.Then(Answer(IDOK, &warning));
        w->RunCommand(1101);
        w->WaitForSaves();
        PumpUntil([&] { return !warning.empty(); });
        EXPECT_EQ(warning, LoadText(kStrSaveFailed));
    }
    EXPECT_TRUE(w->Changed());
    EXPECT_EQ(Load(path).records.size(), 1u);
    Close();
    EXPECT_TRUE(Load(path).records.empty());
}

TEST_F(MainWindowTest, CloseWaitsForTheRunningCommandAndNeverWritesBeforeTheStart) {
    Catalog c;
    AddCategory(c, u"Tools");
    AddRecord(c, Record(u"One", {u"Tools"}), false);
    const std::u16string path = Write(u"early.xml", c, NewSettings());
    const auto before = Bytes(path);

    // Closed before the start has loaded anything: the file stays as it is.
    config_.commandLine = u"kodrin.exe /F" + path;
    window_ = app::CreateMainWindow(::GetModuleHandleW(nullptr), config_);
    ASSERT_NE(window_, nullptr);
    ::SendMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(window_));
    DrainMessages();
    EXPECT_EQ(Bytes(path), before);

    // A close asked for while a command waits in its dialog comes after it.
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);
    HWND window = window_;
    driver_.Then([window](HWND dialog) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        Click(dialog, IDCANCEL);
    });
    w->RunCommand(3602);
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(window); }));
    DrainMessages();
}

TEST_F(MainWindowTest, ImportAddsTheRecordsOfACsvFile) {
    const std::u16string path = WriteTools(u"import.xml", {u"One"});
    const std::string csv = "\"Application Name\",\"Company\",\"Category\"\r\n\"Imported\",\"Acme\",\"Games\"\r\n";
    const std::u16string source = root_ + u"new.csv";
    ASSERT_TRUE(platform::WriteFileAtomically(source, std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size())));
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);

    std::u16string question;
    driver_.Then(ChooseFile(source));
    driver_.Then(Answer(IDNO, &question));  // add to the catalog
    w->RunCommand(3204);
    EXPECT_EQ(question, LoadText(kStrImportQuestion));
    ASSERT_EQ(w->GetCatalog().records.size(), 2u);
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"Tools", u"Games"}));
    EXPECT_EQ(w->Tabs().Count(), 3);
    w->WaitForSaves();
    EXPECT_EQ(Load(path).records.size(), 2u);
    Close();
}

TEST_F(MainWindowTest, CategoryDialogsChangeTheTabsAndThePictureShowsBesideTheList) {
    Catalog c;
    AddCategory(c, u"Tools");
    AddCategory(c, u"Games");
    ApplicationRecord shown = Record(u"Shown", {u"Tools"});
    platform::Image red{40, 20, std::vector<std::uint8_t>(40 * 20 * 4, 0)};
    for (std::size_t i = 0; i < red.pixels.size(); i += 4) red.pixels[i] = red.pixels[i + 3] = 255;
    ASSERT_TRUE(platform::EncodeImage(red, platform::ImageFormat::Png, shown.picture));
    shown.pictureName = u"shown.png";
    AddLoginField(shown, LoginField{u"user", u"ann", 0, LoginFieldType::StandardInput, true, false});
    AddRecord(c, shown, false);
    Settings s = NewSettings();
    s.curCategory = u"Tools";
    s.splitter = 300;
    const std::u16string path = Write(u"dialogs.xml", c, s);
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);

    // The picture of the selected record, with the labels below it.
    w->SelectRecords({IdOf(*w, u"Shown")});
    ASSERT_FALSE(w->Picture().Empty());
    const RECT picture = w->Picture().DisplayRect();
    EXPECT_EQ(picture.right - picture.left, 40);
    ASSERT_EQ(w->DetailLabels().size(), 1u);
    RECT label{};
    ::GetWindowRect(w->DetailLabels()[0], &label);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&label), 2);
    EXPECT_GE(label.top, picture.bottom);
    w->List().DeselectAll();
    EXPECT_TRUE(w->Picture().Empty());

    // Add Category: the new one becomes the current tab.
    driver_.Then([](HWND dialog) {
        SetItemText(dialog, app::kCategoryName, u"Office");
        Click(dialog, IDOK);
    });
    w->RunCommand(3100);
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"Tools", u"Games", u"Office"}));
    EXPECT_EQ(w->Tabs().CurrentText(), u"Office");
    EXPECT_EQ(w->List().RowCount(), 0);

    // Edit Category renames the current tab.
    std::u16string old;
    driver_.Then([&](HWND dialog) {
        old = ItemText(dialog, app::kCategoryName);
        SetItemText(dialog, app::kCategoryName, u"Work");
        Click(dialog, IDOK);
    });
    w->RunCommand(3102);
    EXPECT_EQ(old, u"Office");
    EXPECT_EQ(w->GetCatalog().categories.back(), u"Work");
    EXPECT_EQ(w->Tabs().CurrentText(), u"Work");
    EXPECT_EQ(w->Status().Text(0), u"Work: 0");

    // Change Category moves the selected record into the chosen ones.
    w->Tabs().SelectTab(1);
    w->SelectRecords({IdOf(*w, u"Shown")});
    driver_.Then([](HWND dialog) {
        ::SendDlgItemMessageW(dialog, app::kChangeCategoryList, LB_SETSEL, FALSE, 0);
        ::SendDlgItemMessageW(dialog, app::kChangeCategoryList, LB_SETSEL, TRUE, 2);
        Click(dialog, IDOK);
    });
    w->RunCommand(3000);
    EXPECT_EQ(w->GetCatalog().records[0].categories, (std::vector<std::u16string>{u"Work"}));
    EXPECT_EQ(w->Status().Text(0), u"Tools: 0");
    w->WaitForSaves();
    const Catalog saved = Load(path);
    EXPECT_EQ(saved.categories, (std::vector<std::u16string>{u"Tools", u"Games", u"Work"}));
    ASSERT_EQ(saved.records.size(), 1u);
    EXPECT_EQ(saved.records[0].categories, (std::vector<std::u16string>{u"Work"}));
    Close();
}

TEST_F(MainWindowTest, DetailsDialogAddsAndEditsApplications) {
    Catalog c;
    AddCategory(c, u"Tools");
    AddRecord(c, Record(u"One", {u"Tools"}), false);
    Settings s = NewSettings();
    s.curCategory = u"Tools";
    s.clickLogin = false;
    const std::u16string path = Write(u"details.xml", c, s);
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);

    // Add Application: the new record lands in the current category.
    driver_.Then([](HWND dialog) { Click(dialog, IDOK); });
    w->RunCommand(1100);
    ASSERT_EQ(w->GetCatalog().records.size(), 2u);
    EXPECT_EQ(w->GetCatalog().records[1].categories, (std::vector<std::u16string>{u"Tools"}));
    EXPECT_EQ(w->Status().Text(0), u"Tools: 2");
    w->WaitForSaves();
    EXPECT_EQ(Load(path).records.size(), 2u);

    // A double click (item activation) edits the row; Cancel keeps it.
    w->SelectRecords({IdOf(*w, u"One")});
    const ApplicationRecord before = w->GetCatalog().records[0];
    std::u16string title;
    driver_.Then([&](HWND dialog) {
        title = WindowText(dialog);
        Click(dialog, IDCANCEL);
    });
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = w->List().Handle();
    activate.hdr.idFrom = app::kListId;
    activate.hdr.code = LVN_ITEMACTIVATE;
    ::SendMessageW(window_, WM_NOTIFY, app::kListId, reinterpret_cast<LPARAM>(&activate));
    EXPECT_FALSE(title.empty());
    EXPECT_EQ(w->GetCatalog().records[0], before);
    Close();
}

TEST_F(MainWindowTest, AcceleratorTableAndToolbarAnswers) {
    MainWindow* w = StartOn(root_ + u"keys.xml");
    ASSERT_NE(w, nullptr);
    HACCEL table = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), L"Kodrin");
    ASSERT_NE(table, nullptr);
    ACCEL keys[64] = {};
    const int count = ::CopyAcceleratorTableW(table, keys, 64);
    ASSERT_EQ(count, 32);
    std::vector<std::pair<int, int>> found;
    for (int i = 0; i < count; ++i) {
        found.emplace_back(keys[i].key, keys[i].cmd);
        // Function keys and Delete are virtual keys, the rest control characters.
        EXPECT_EQ((keys[i].fVirt & FVIRTKEY) != 0, i < 13) << i;
    }
    const std::vector<std::pair<int, int>> expected{
        {VK_DELETE, 1101}, {VK_F1, 3301},  {VK_F2, 3102},  {VK_F3, 3603},  {VK_F4, 3214}, {VK_F5, 3207},
        {VK_F6, 3213},     {VK_F7, 3208},  {VK_F8, 3210},  {VK_F9, 3302},  {VK_F10, 3304}, {VK_F11, 3303},
        {VK_F12, 3300},    {1, 3600},      {4, 3101},      {5, 1102},      {6, 3602},     {7, 3014},
        {8, 3003},         {9, 3204},      {11, 3009},     {12, 3005},     {14, 3205},    {15, 3206},
        {16, 3209},        {18, 3010},     {19, 3203},     {20, 3007},     {21, 3013},    {23, 3015},
        {25, 3008},        {26, 3012},
    };
    EXPECT_EQ(found, expected);

    // The customise dialog's questions: every button of the table with its
    // text, nothing beyond it.
    NMTOOLBARW info{};
    wchar_t text[64] = {};
    info.hdr.hwndFrom = w->Toolbar().Handle();
    info.hdr.idFrom = app::kToolbarId;
    info.hdr.code = TBN_GETBUTTONINFOW;
    info.iItem = 16;
    info.pszText = text;
    info.cchText = 64;
    EXPECT_EQ(::SendMessageW(window_, WM_NOTIFY, app::kToolbarId, reinterpret_cast<LPARAM>(&info)), TRUE);
    EXPECT_EQ(info.tbButton.idCommand, 3005);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), u"Login");
    info.iItem = 29;
    EXPECT_EQ(::SendMessageW(window_, WM_NOTIFY, app::kToolbarId, reinterpret_cast<LPARAM>(&info)), FALSE);
    info.hdr.code = TBN_INITCUSTOMIZE;
    EXPECT_EQ(::SendMessageW(window_, WM_NOTIFY, app::kToolbarId, reinterpret_cast<LPARAM>(&info)),
              TBNRF_HIDEHELP);
    NMTTDISPINFOW tip{};
    tip.hdr.hwndFrom = w->Toolbar().Handle();
    tip.hdr.idFrom = 3202;
    tip.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageW(window_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(tip.lpszText)), u"Exit Kodrin");

    // The default layout's buttons; those of pieces this build lacks are off.
    EXPECT_EQ(w->Toolbar().ReadLayout(), NewSettings().toolbar);
    EXPECT_TRUE(w->Toolbar().IsButtonEnabled(3101));
    EXPECT_TRUE(w->Toolbar().IsButtonEnabled(3207));
    EXPECT_FALSE(w->Toolbar().IsButtonEnabled(3010));  // nothing selected
    HMENU menu = ::GetMenu(window_);
    EXPECT_NE(::GetMenuState(menu, 3209, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(::GetMenuState(menu, 3205, MF_BYCOMMAND) & MF_GRAYED, 0u);
    Close();
}

// ---------------------------------------------------------------------------
// The enabling rules and the command line, as plain functions.

TEST(CommandRules, SelectionDecidesWhatIsOffered) {
    ApplicationRecord r = NewRecord();
    r.userName = u"u";
    r.path = u"C:\\x.exe";
    r.upgradePage = u"http://up";
    using app::MenuEnabled;
    using app::TakeSnapshot;
    using app::ToolbarEnabled;
    const app::SelectionSnapshot none = TakeSnapshot(nullptr, 0, false, false);
    const app::SelectionSnapshot one = TakeSnapshot(&r, 1, true, false);
    const app::SelectionSnapshot many = TakeSnapshot(&r, 2, false, false);
    EXPECT_TRUE(MenuEnabled(1100, none));
    EXPECT_TRUE(MenuEnabled(3001, none));
    EXPECT_FALSE(MenuEnabled(3000, none));
    EXPECT_FALSE(MenuEnabled(1102, none));
    EXPECT_TRUE(MenuEnabled(1102, one));
    EXPECT_FALSE(MenuEnabled(1102, many));
    EXPECT_TRUE(ToolbarEnabled(1102, many));
    EXPECT_TRUE(MenuEnabled(3013, one));
    EXPECT_FALSE(MenuEnabled(3008, one));
    EXPECT_FALSE(MenuEnabled(3013, many));
    EXPECT_TRUE(MenuEnabled(3010, one));
    EXPECT_TRUE(MenuEnabled(3002, many));
    EXPECT_FALSE(ToolbarEnabled(3002, many));
    EXPECT_TRUE(MenuEnabled(3210, one));
    EXPECT_FALSE(MenuEnabled(3210, none));
    // Checking an application: the upgrade page without the update flag...
    EXPECT_TRUE(MenuEnabled(3012, one));
    // ...a PAD file only when its check can run...
    r.padFile = u"http://pad.xml";
    EXPECT_FALSE(MenuEnabled(3012, TakeSnapshot(&r, 1, false, false)));
    EXPECT_TRUE(MenuEnabled(3012, TakeSnapshot(&r, 1, false, true)));
    // ...and the program itself when it updates itself.
    r.autoUpdate = true;
    EXPECT_TRUE(MenuEnabled(3012, TakeSnapshot(&r, 1, false, false)));
    r.path.clear();
    EXPECT_FALSE(MenuEnabled(3012, TakeSnapshot(&r, 1, false, false)));
}

TEST(CommandRules, CommandLineNamesTheCatalogFile) {
    using app::CatalogFileArgument;
    using app::SplitCommandLine;
    EXPECT_EQ(SplitCommandLine(u"  a  \"b c\"\td\"e f\"  "), (std::vector<std::u16string>{u"a", u"b c", u"de f"}));
    EXPECT_EQ(SplitCommandLine(u"\"\""), (std::vector<std::u16string>{u""}));
    EXPECT_FALSE(CatalogFileArgument(SplitCommandLine(u"kodrin.exe /x -g F:\\a")).has_value());
    EXPECT_EQ(CatalogFileArgument(SplitCommandLine(u"k.exe /FC:\\a.xml")), u"C:\\a.xml");
    EXPECT_EQ(CatalogFileArgument(SplitCommandLine(u"k.exe -fone /ftwo")), u"two");
    EXPECT_EQ(CatalogFileArgument(SplitCommandLine(u"k.exe \"/FC:\\my files\\a.xml\"")), u"C:\\my files\\a.xml");
}

}  // namespace
}  // namespace kodrin::test
