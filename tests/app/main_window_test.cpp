// The main window, created in this process as the program creates it and
// driven with its commands and notifications; its dialogs and message boxes
// are answered by the dialog driver. Each test uses its own registry key and
// instance name, so a running program is neither met nor touched.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

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
#include "support/win32/capture.h"
#include "support/win32/dialog_driver.h"
#include "support/win32/postscript_printer.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::test {
namespace {

using app::MainWindow;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

bool IsProgressDialog(HWND dialog) { return ::GetDlgItem(dialog, IDC_PROGRESS_BAR) != nullptr; }

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
        SetItemText(dialog, IDC_INPUT_TEXT, value);
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
    // An 8-bit CSV file in the test's folder; its path.
    std::u16string WriteCsv(const std::u16string& name, std::string_view csv) {
        const std::u16string path = root_ + name;
        EXPECT_TRUE(platform::WriteFileAtomically(
            path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size())));
        return path;
    }

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
    EXPECT_EQ(text, LoadText(STR_ALREADY_RUNNING));
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
    w->RunCommand(CMD_DELETE_APPLICATION);
    EXPECT_EQ(text, u"Read Only");
    EXPECT_EQ(w->GetCatalog().records.size(), 2u);
    driver_.Then(Answer(IDOK));
    w->RunCommand(CMD_DELETE_CATEGORY);  // Delete Category
    EXPECT_EQ(w->GetCatalog().categories.size(), 1u);
    // Copying an application or changing its categories would show a change
    // that is never saved: both are refused too.
    const std::vector<std::u16string> categories = w->GetCatalog().records[0].categories;
    for (const int id : {CMD_COPY_APPLICATION, CMD_CHANGE_CATEGORY}) {
        text.clear();
        driver_.Then(Answer(IDOK, &text));
        w->RunCommand(id);
        EXPECT_EQ(text, u"Read Only") << id;
    }
    EXPECT_EQ(w->GetCatalog().records.size(), 2u);
    EXPECT_EQ(w->GetCatalog().records[0].categories, categories);
    // A change that is not refused still never reaches the file.
    w->RunCommand(CMD_SHOW_HIDDEN);
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
    w->RunCommand(CMD_SHOW_HIDDEN);
    EXPECT_EQ(w->List().RowCount(), 3);
    ::GetMenuStringW(menu, 3601, item, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(item)), u"Hide &Hidden Items");
    w->RunCommand(CMD_SHOW_HIDDEN);
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
    w->RunCommand(CMD_NEXT_TAB);
    EXPECT_EQ(w->Tabs().CurrentTab(), 0);
    w->RunCommand(CMD_NEXT_TAB);
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
    w->RunCommand(CMD_FIND);
    EXPECT_EQ(title, u"Find...");
    EXPECT_EQ(w->CurrentCategory(), u"Games");
    EXPECT_EQ(w->SelectedIds(), (std::vector<std::int32_t>{IdOf(*w, u"Chess")}));
    w->RunCommand(CMD_FIND_NEXT);
    EXPECT_EQ(w->SelectedIds(), (std::vector<std::int32_t>{IdOf(*w, u"Go")}));
    std::u16string text;
    driver_.Then(Answer(IDOK, &text));
    w->RunCommand(CMD_FIND_NEXT);
    EXPECT_EQ(text, u"No matching entries found");

    // The box starts with the last text; Cancel forgets it.
    std::u16string shown;
    driver_.Then([&](HWND dialog) {
        shown = ItemText(dialog, IDC_INPUT_TEXT);
        Click(dialog, IDCANCEL);
    });
    w->RunCommand(CMD_FIND);
    EXPECT_EQ(shown, u"needle");
    w->RunCommand(CMD_FIND_NEXT);  // nothing to find: no box
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

    w->RunCommand(CMD_MOVE_CATEGORY_RIGHT);  // B to the right
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"A", u"C", u"B"}));
    EXPECT_EQ(w->Tabs().CurrentTab(), 3);
    EXPECT_EQ(w->CurrentCategory(), u"B");
    w->RunCommand(CMD_MOVE_CATEGORY_RIGHT);  // already last: nothing
    w->RunCommand(CMD_MOVE_CATEGORY_LEFT);
    w->RunCommand(CMD_MOVE_CATEGORY_LEFT);
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"B", u"A", u"C"}));
    EXPECT_EQ(w->Tabs().CurrentTab(), 1);

    // Not empty: asked first. Declined keeps it.
    std::u16string question;
    driver_.Then(Answer(IDNO, &question));
    w->RunCommand(CMD_DELETE_CATEGORY);
    EXPECT_EQ(question, LoadText(kStrCategoryNotEmpty));
    EXPECT_EQ(w->GetCatalog().categories.size(), 3u);
    driver_.Then(Answer(IDYES));
    w->RunCommand(CMD_DELETE_CATEGORY);
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"A", u"C"}));
    ASSERT_EQ(w->GetCatalog().records.size(), 1u);
    EXPECT_EQ(w->GetCatalog().records[0].program, u"BandA");
    // The tab before the deleted one is current: "<All>".
    EXPECT_EQ(w->Tabs().CurrentTab(), 0);
    EXPECT_EQ(w->Tabs().Count(), 3);
    w->RunCommand(CMD_DELETE_CATEGORY);  // "<All>" is no category: nothing
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
    w->RunCommand(CMD_COPY_USER_NAME);
    EXPECT_EQ(ClipboardText(), u"Ann Reader");
    w->RunCommand(CMD_COPY_ORGANIZATION);
    EXPECT_EQ(ClipboardText(), u"Fenwold");
    w->RunCommand(CMD_COPY_WEB_USER_NAME);
    EXPECT_EQ(ClipboardText(), u"ann");
    w->RunCommand(CMD_COPY_WEB_PASSWORD);
    EXPECT_EQ(ClipboardText(), u"s3cret");
    std::vector<std::uint8_t> ansi;
    w->RunCommand(CMD_COPY_REGISTRATION_KEY);
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
    w->RunCommand(CMD_COPY_APPLICATION);
    EXPECT_EQ(w->GetCatalog().records.size(), 3u);
    EXPECT_EQ(w->List().RowCount(), 3);
    EXPECT_EQ(w->Status().Text(0), u"Tools: 3");
    EXPECT_EQ(w->GetCatalog().records.back().registrationKey, U("KEY-é-1"));
    EXPECT_NE(w->GetCatalog().records.back().recordId, IdOf(*w, u"Full"));

    // Delete asks, then removes every selected record and saves.
    w->SelectRecords({IdOf(*w, u"Full"), IdOf(*w, u"Empty")});
    std::u16string question;
    driver_.Then(Answer(IDNO, &question));
    w->RunCommand(CMD_DELETE_APPLICATION);
    EXPECT_EQ(question, LoadText(kStrConfirmDelete));
    EXPECT_EQ(w->GetCatalog().records.size(), 3u);
    driver_.Then(Answer(IDYES));
    w->RunCommand(CMD_DELETE_APPLICATION);
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
    EXPECT_EQ(::GetMenuState(menu, CMD_RESTORE_BACKUP, MF_BYCOMMAND) & MF_GRAYED, 0u);

    w->SelectRecords({IdOf(*w, u"One")});
    driver_.Then(Answer(IDYES));
    w->RunCommand(CMD_DELETE_APPLICATION);
    w->WaitForSaves();
    EXPECT_EQ(Load(first).records.size(), 1u);
    std::u16string question;
    driver_.Then(Answer(IDYES, &question));
    w->RunCommand(CMD_RESTORE_BACKUP);
    EXPECT_EQ(question, u"Restore data from your last saved backup?");
    EXPECT_EQ(w->GetCatalog().records.size(), 2u);
    EXPECT_EQ(Bytes(first), Bytes(first + u".bak"));

    // Save As writes the catalog under the new name and keeps it.
    const std::u16string second = root_ + u"second.xml";
    driver_.Then(ChooseFile(second));
    w->RunCommand(CMD_SAVE_AS);
    EXPECT_EQ(w->DataPath(), second);
    EXPECT_EQ(RegistryFilename(), second);
    EXPECT_EQ(Caption(window_), u"Kodrin - " + second);
    EXPECT_EQ(Load(second).records.size(), 2u);

    // New: an empty catalog there, written by the next save.
    const std::u16string third = root_ + u"third.xml";
    driver_.Then(ChooseFile(third));
    w->RunCommand(CMD_NEW_CATALOG);
    EXPECT_EQ(w->DataPath(), third);
    EXPECT_TRUE(w->GetCatalog().records.empty());
    EXPECT_TRUE(w->Changed());
    EXPECT_FALSE(platform::FileExists(third));

    // Open saves the pending new catalog first, then loads the chosen one.
    driver_.Then(ChooseFile(first));
    w->RunCommand(CMD_OPEN_CATALOG);
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
    w->RunCommand(CMD_SHOW_HIDDEN);
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
        w->RunCommand(CMD_DELETE_APPLICATION);
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
    w->RunCommand(CMD_FIND);
    EXPECT_TRUE(::IsWindow(window));
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(window); }));
    DrainMessages();
}

TEST_F(MainWindowTest, ImportAddsTheRecordsOfACsvFile) {
    const std::u16string path = WriteTools(u"import.xml", {u"One"});
    const std::u16string source = WriteCsv(u"new.csv", "\"Application Name\",\"Company\",\"Category\"\r\n\"Imported\",\"Acme\",\"Games\"\r\n");
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);

    std::u16string question;
    driver_.Then(ChooseFile(source));
    driver_.Then(Answer(IDNO, &question));  // add to the catalog
    w->RunCommand(CMD_IMPORT);
    EXPECT_EQ(question, LoadText(kStrImportQuestion));
    ASSERT_EQ(w->GetCatalog().records.size(), 2u);
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"Tools", u"Games"}));
    EXPECT_EQ(w->Tabs().Count(), 3);
    w->WaitForSaves();
    EXPECT_EQ(Load(path).records.size(), 2u);
    Close();
}

TEST_F(MainWindowTest, ImportReplacingARealTabPutsRecordsWithoutCategoriesThere) {
    const std::u16string path = WriteTools(u"replace.xml", {u"Old"});
    const std::u16string source = WriteCsv(u"plain.csv", "\"Application Name\",\"Company\"\r\n\"Imported\",\"Acme\"\r\n");
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->CurrentCategory(), u"Tools");

    driver_.Then(ChooseFile(source));
    driver_.Then(Answer(IDYES));  // replace the current tab
    driver_.Then(Answer(IDYES));  // empty the category that holds "Old"
    w->RunCommand(CMD_IMPORT);
    ASSERT_EQ(w->GetCatalog().records.size(), 1u);
    EXPECT_EQ(w->GetCatalog().records[0].categories, (std::vector<std::u16string>{u"Tools"}));
    EXPECT_EQ(w->CurrentCategory(), u"Tools");
    EXPECT_EQ(ListColumn(*w, 1), (std::vector<std::u16string>{u"Imported"}));
    Close();
}

TEST_F(MainWindowTest, AnEditThatLeavesTheCurrentCategoryTakesTheRowOffTheTab) {
    Catalog c;
    AddCategory(c, u"Tools");
    AddCategory(c, u"Games");
    AddRecord(c, Record(u"Moved", {u"Tools"}), false);
    AddRecord(c, Record(u"Kept", {u"Tools"}), false);
    Settings s = NewSettings();
    s.curCategory = u"Tools";
    const std::u16string path = Write(u"leave.xml", c, s);
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);

    // Kept stays in Tools and is rewritten in place; Moved goes to Games.
    const struct {
        const char16_t* program;
        bool tools;
        std::vector<std::u16string> rows;
        const char16_t* status;
    } cases[] = {
        {u"Kept", true, {u"Kept", u"Moved"}, u"Tools: 2"},
        {u"Moved", false, {u"Kept"}, u"Tools: 1"},
    };
    for (const auto& step : cases) {
        w->SelectRecords({IdOf(*w, step.program)});
        const bool tools = step.tools;
        driver_.Then([tools](HWND dialog) {
            ::SendDlgItemMessageW(dialog, 7803, LB_SETSEL, tools ? TRUE : FALSE, 0);  // Tools
            ::SendDlgItemMessageW(dialog, 7803, LB_SETSEL, TRUE, 1);                  // Games
            Click(dialog, IDOK);
        });
        w->RunCommand(1102);
        std::vector<std::u16string> rows = ListColumn(*w, 1);
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, step.rows) << platform::ToUtf8(step.program);
        EXPECT_EQ(w->Status().Text(0), step.status);
    }
    w->Tabs().SelectTab(2);
    std::vector<std::u16string> games = ListColumn(*w, 1);
    std::sort(games.begin(), games.end());
    EXPECT_EQ(games, (std::vector<std::u16string>{u"Kept", u"Moved"}));
    Close();
}

// Picks the folder (path, ending in name) in the folder browser.
DialogDriver::Script ChooseFolder(const std::u16string& path, const std::u16string& name) {
    return [path, name](HWND dialog) {
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(Wide(path)));
        HWND tree = nullptr;
        ::EnumChildWindows(
            dialog,
            [](HWND child, LPARAM out) -> BOOL {
                wchar_t kind[32] = {};
                ::GetClassNameW(child, kind, 32);
                if (std::wstring(kind) != L"SysTreeView32") return TRUE;
                *reinterpret_cast<HWND*>(out) = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&tree));
        PumpUntil([&] {
            TVITEMW item{};
            item.hItem = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
            wchar_t text[MAX_PATH] = {};
            item.mask = TVIF_TEXT;
            item.pszText = text;
            item.cchTextMax = MAX_PATH;
            return item.hItem != nullptr && ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) &&
                   std::u16string(reinterpret_cast<const char16_t*>(text)) == name;
        }, 4000);
        Click(dialog, IDOK);
    };
}

TEST_F(MainWindowTest, TransferCopiesTheProgramAndTheCatalogOrNamesWhatItCouldNotCopy) {
    Catalog c;
    AddCategory(c, u"Tools");
    AddRecord(c, Record(u"One", {u"Tools"}), false);
    Settings s = NewSettings();
    s.curCategory = u"Tools";
    s.storeImages = false;
    s.lastPath = root_ + u"target\\setup.exe";
    const std::u16string path = Write(u"transfer.xml", c, s);
    const std::u16string target = root_ + u"target\\";
    ASSERT_TRUE(platform::CreateFolders(target));
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);
    w->WaitForSaves();

    // A good transfer copies quietly.
    driver_.Then(ChooseFolder(root_ + u"target", u"target"));
    w->RunCommand(3215);
    EXPECT_EQ(Bytes(target + u"transfer.xml"), Bytes(path));
    EXPECT_TRUE(platform::FolderExists(target + u"Images"));
    EXPECT_EQ(driver_.Pending(), 0);

    // A read-only catalog copy and a file where the pictures folder goes
    // cannot be replaced: each failure is named, none passes for success.
    const std::string stale = "stale";
    ASSERT_TRUE(platform::WriteFileAtomically(target + u"transfer.xml", std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(stale.data()), stale.size())));
    ASSERT_TRUE(platform::SetReadOnly(target + u"transfer.xml", true));
    ::RemoveDirectoryW(Wide(target + u"Images"));
    ASSERT_TRUE(platform::WriteFileAtomically(target + u"Images", std::span<const std::uint8_t>(
        reinterpret_cast<const std::uint8_t*>(stale.data()), stale.size())));
    std::u16string pictures;
    std::u16string catalog;
    driver_.Then(ChooseFolder(root_ + u"target", u"target"));
    driver_.Then(Answer(IDYES));  // overwrite the catalog there
    driver_.Then(Answer(IDOK, &pictures));
    driver_.Then(Answer(IDOK, &catalog));
    w->RunCommand(3215);
    EXPECT_EQ(driver_.Pending(), 0);
    EXPECT_NE(pictures.find(LoadText(4308)), std::u16string::npos) << platform::ToUtf8(pictures);
    EXPECT_NE(pictures.find(PicturesFolder(path)), std::u16string::npos) << platform::ToUtf8(pictures);
    EXPECT_NE(catalog.find(LoadText(4308)), std::u16string::npos) << platform::ToUtf8(catalog);
    EXPECT_NE(catalog.find(path), std::u16string::npos) << platform::ToUtf8(catalog);
    platform::SetReadOnly(target + u"transfer.xml", false);
    Close();
}

TEST_F(MainWindowTest, AnAmpersandInACategoryShowsAsItselfOnItsTab) {
    Catalog c;
    AddCategory(c, u"Tools & Utils");
    AddCategory(c, u"A&&B");
    AddRecord(c, Record(u"One", {u"Tools & Utils"}), false);
    Settings s = NewSettings();
    s.curCategory = u"Tools & Utils";
    MainWindow* w = StartOn(Write(u"amp.xml", c, s));
    ASSERT_NE(w, nullptr);
    // The strip draws "&&" as one "&", and a lone "&" as a shortcut mark.
    const auto shown = [&](int index) {
        wchar_t text[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        ::SendMessageW(w->Tabs().Handle(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return std::u16string(reinterpret_cast<const char16_t*>(item.pszText));
    };
    EXPECT_EQ(shown(1), u"Tools && Utils");
    EXPECT_EQ(shown(2), u"A&&&&B");
    EXPECT_EQ(w->CurrentCategory(), u"Tools & Utils");
    EXPECT_EQ(w->Status().Text(0), u"Tools & Utils: 1");
    EXPECT_EQ(ListColumn(*w, 1), (std::vector<std::u16string>{u"One"}));
    w->Tabs().SelectTab(2);
    EXPECT_EQ(w->CurrentCategory(), u"A&&B");
    EXPECT_EQ(w->List().RowCount(), 0);
    // Renaming keeps the text as typed too.
    driver_.Then([](HWND dialog) {
        SetItemText(dialog, IDC_CATEGORY_NAME, u"Q&A");
        Click(dialog, IDOK);
    });
    w->RunCommand(3102);
    EXPECT_EQ(shown(2), u"Q&&A");
    EXPECT_EQ(w->Tabs().CurrentText(), u"Q&A");
    EXPECT_EQ(w->GetCatalog().categories.back(), u"Q&A");
    Close();
}

TEST_F(MainWindowTest, TheListKeepsItsSunkenBorderThroughRefills) {
    // Enough rows for a scroll bar.
    Catalog c;
    AddCategory(c, u"Tools");
    AddCategory(c, u"Games");
    for (int i = 0; i < 60; ++i) AddRecord(c, Record(u"Program " + platform::FromUtf8(std::to_string(i)), {u"Tools"}), false);
    AddRecord(c, Record(u"Elsewhere", {u"Games"}), false);
    Settings s = NewSettings();
    s.curCategory = u"Tools";
    MainWindow* w = StartOn(Write(u"border.xml", c, s));
    ASSERT_NE(w, nullptr);
    HWND list = w->List().Handle();
    // The border's pixels: the ring of the static and the client edge.
    const auto border = [&] {
        PumpUntil([] { return false; }, 300);
        const platform::Image image = CaptureWindow(list);
        const int edge = ::GetSystemMetrics(SM_CXBORDER) + ::GetSystemMetrics(SM_CXEDGE);
        const RECT inner{edge, edge, image.width - edge, image.height - edge};
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const POINT at{x, y};
                if (::PtInRect(&inner, at)) continue;
                const std::uint8_t* p = &image.pixels[static_cast<std::size_t>((y * image.width + x) * 4)];
                pixels.insert(pixels.end(), p, p + 3);
            }
        }
        return pixels;
    };
    const std::vector<std::uint8_t> started = border();
    ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    const std::vector<std::uint8_t> fresh = border();
    EXPECT_EQ(started, fresh) << "after the start";
    ASSERT_FALSE(fresh.empty());
    // Each refill: another tab, a refill of the same one, a changed option.
    w->Tabs().SelectTab(0);
    EXPECT_EQ(border(), fresh) << "after a tab change";
    w->RunCommand(3601);
    EXPECT_EQ(border(), fresh) << "after showing hidden items";
    w->Tabs().SelectTab(2);
    w->Tabs().SelectTab(1);
    EXPECT_EQ(border(), fresh) << "after a tab change back";
    // What Open, Import, Restore and Options do after their change.
    w->RefreshAll();
    EXPECT_EQ(border(), fresh) << "after refreshing everything";
    const LONG_PTR edges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    EXPECT_EQ(::GetWindowLongPtrW(list, GWL_EXSTYLE) & edges, edges);
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
        SetItemText(dialog, IDC_CATEGORY_NAME, u"Office");
        Click(dialog, IDOK);
    });
    w->RunCommand(CMD_ADD_CATEGORY);
    EXPECT_EQ(w->GetCatalog().categories, (std::vector<std::u16string>{u"Tools", u"Games", u"Office"}));
    EXPECT_EQ(w->Tabs().CurrentText(), u"Office");
    EXPECT_EQ(w->List().RowCount(), 0);

    // Edit Category renames the current tab.
    std::u16string old;
    driver_.Then([&](HWND dialog) {
        old = ItemText(dialog, IDC_CATEGORY_NAME);
        SetItemText(dialog, IDC_CATEGORY_NAME, u"Work");
        Click(dialog, IDOK);
    });
    w->RunCommand(CMD_EDIT_CATEGORY);
    EXPECT_EQ(old, u"Office");
    EXPECT_EQ(w->GetCatalog().categories.back(), u"Work");
    EXPECT_EQ(w->Tabs().CurrentText(), u"Work");
    EXPECT_EQ(w->Status().Text(0), u"Work: 0");

    // Change Category moves the selected record into the chosen ones.
    w->Tabs().SelectTab(1);
    w->SelectRecords({IdOf(*w, u"Shown")});
    driver_.Then([](HWND dialog) {
        ::SendDlgItemMessageW(dialog, IDC_CHANGE_CATEGORY_LIST, LB_SETSEL, FALSE, 0);
        ::SendDlgItemMessageW(dialog, IDC_CHANGE_CATEGORY_LIST, LB_SETSEL, TRUE, 2);
        Click(dialog, IDOK);
    });
    w->RunCommand(CMD_CHANGE_CATEGORY);
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
    w->RunCommand(CMD_ADD_APPLICATION);
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

TEST_F(MainWindowTest, ToolbarAnswers) {
    MainWindow* w = StartOn(root_ + u"keys.xml");
    ASSERT_NE(w, nullptr);
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
    EXPECT_EQ(info.tbButton.idCommand, CMD_LOGIN);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), u"Login");
    info.iItem = 29;
    EXPECT_EQ(::SendMessageW(window_, WM_NOTIFY, app::kToolbarId, reinterpret_cast<LPARAM>(&info)), TRUE);
    EXPECT_EQ(info.tbButton.idCommand, CMD_CHECK_ALL);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text)), u"Check All for Updates");
    info.iItem = app::kToolbarButtonCount;
    EXPECT_EQ(::SendMessageW(window_, WM_NOTIFY, app::kToolbarId, reinterpret_cast<LPARAM>(&info)), FALSE);
    info.hdr.code = TBN_INITCUSTOMIZE;
    EXPECT_EQ(::SendMessageW(window_, WM_NOTIFY, app::kToolbarId, reinterpret_cast<LPARAM>(&info)),
              TBNRF_HIDEHELP);
    NMTTDISPINFOW tip{};
    tip.hdr.hwndFrom = w->Toolbar().Handle();
    tip.hdr.idFrom = CMD_EXIT;
    tip.hdr.code = TTN_GETDISPINFOW;
    ::SendMessageW(window_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(tip.lpszText)), u"Exit Kodrin");

    // The default layout's buttons; those of pieces this build lacks are off.
    EXPECT_EQ(w->Toolbar().ReadLayout(), NewSettings().toolbar);
    EXPECT_TRUE(w->Toolbar().IsButtonEnabled(CMD_DELETE_CATEGORY));
    EXPECT_TRUE(w->Toolbar().IsButtonEnabled(CMD_OPTIONS));
    EXPECT_FALSE(w->Toolbar().IsButtonEnabled(CMD_LAUNCH_APPLICATION));  // nothing selected
    HMENU menu = ::GetMenu(window_);
    EXPECT_EQ(::GetMenuState(menu, CMD_PRINT, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(::GetMenuState(menu, CMD_NEW_CATALOG, MF_BYCOMMAND) & MF_GRAYED, 0u);
    Close();
}

// Ctrl+P, through the accelerator table, opens the report dialog on the
// current tab; its choices are stored with the settings and the selected
// application is printed.
TEST_F(MainWindowTest, PrintOpensTheReportDialogStoresItsChoicesAndPrintsTheSelection) {
    const std::u16string job = root_ + u"job.ps";
    app::PrintServices services;
    services.choosePrinter = [](HWND, app::ChosenPrinter& printer) {
        printer.mode = PostScriptDevMode();
        printer.dc.Reset(CreatePostScriptDC(reinterpret_cast<DEVMODEW*>(printer.mode.data())));
        return static_cast<bool>(printer.dc);
    };
    services.output = job;
    config_.printServices = services;
    const std::u16string path = WriteTools(u"print.xml", {u"Anvil", u"Bellows", u"Chisel"});
    MainWindow* w = StartOn(path);
    ASSERT_NE(w, nullptr);
    w->SelectRecords({IdOf(*w, u"Bellows")});
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(ItemText(dialog, IDC_REPORT_CATEGORY), u"Tools");
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_REPORT_SELECTED), BST_CHECKED);
        ::SendMessageW(::GetDlgItem(dialog, IDC_REPORT_DETAIL), BM_CLICK, 0, 0);
        Click(dialog, IDOK);
    });
    const HACCEL accelerators = ::LoadAcceleratorsW(::GetModuleHandleW(nullptr), L"Kodrin");
    MSG key{window_, WM_KEYDOWN, 'P', 0, 0, {}};
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_NE(::TranslateAcceleratorW(window_, accelerators, &key), 0);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(driver_.Pending(), 0);
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(platform::ReadWholeFile(job, bytes));
    const std::string printed(bytes.begin(), bytes.end());
    EXPECT_EQ(std::count_if(printed.begin(), printed.end(), [&, at = std::size_t{0}](char) mutable {
                  return printed.compare(at++, 8, "\n%%Page:") == 0;
              }),
              1);  // the selected application only, not the tab's three
    EXPECT_NE(printed.find("Kodrin Report"), std::string::npos);  // the document's name
    // The choices are saved with the settings.
    EXPECT_TRUE(PumpUntil([&] {
        w->WaitForSaves();
        return w->LastSavedSettings().reportType == kReportDetail;
    }));
    Close();
}

}  // namespace
}  // namespace kodrin::test
