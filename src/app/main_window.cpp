// The main window's life: the window procedure, creation, the deferred
// start, loading, saving and closing.
#include "app/main_window.h"

#include <commctrl.h>

#include <functional>
#include <utility>

#include "catalog/exchange.h"
#include "catalog/strings.h"
#include "framework/helpers.h"
#include "framework/wide.h"
#include "platform/files.h"
#include "platform/text.h"
#include "string_ids.h"

namespace kodrin::app {

namespace {

using QvLibrary::CatalogLock;

// Messages the main window gets from other threads.
// Runs the std::function<void()> at lp (sent: the sender waits).
constexpr UINT kRunOnWindowThread = WM_APP + 10;
// A background save failed: warn (wp = string id) and keep the changes pending.
constexpr UINT kSaveFailed = WM_APP + 11;

constexpr int kStrAlreadyRunning = STR_ALREADY_RUNNING;
constexpr int kStrXmlExtension = STR_XML_EXTENSION;
constexpr char16_t kFilenameValue[] = u"Filename";

// The configuration of the window being created on this thread.
thread_local const MainWindowConfig* g_creating = nullptr;
using QvLibrary::Wide;

// The program-update check that may run before the window is made, when its
// schedule says it is due.
bool UpdateIsBeingInstalledAtStart(MainWindow& window) { return window.ProgramUpdateAtStart(); }

// The maker's messages feed, shown after the controls are made.
void ShowMessagesFeed(MainWindow& window) { window.MessagesFeedAtStart(); }

// The first file (not folder) in folder whose name matches the pattern.
std::u16string FirstFileMatching(const std::u16string& folder, const std::u16string& pattern) {
    WIN32_FIND_DATAW found{};
    const std::u16string query = folder + pattern;
    const QvLibrary::FindHandle search(::FindFirstFileW(Wide(query), &found));
    if (!search) return {};
    std::u16string name;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            name = reinterpret_cast<const char16_t*>(found.cFileName);
            break;
        }
    } while (::FindNextFileW(search.Get(), &found));
    return name.empty() ? name : folder + name;
}

std::u16string WithBackslash(std::u16string folder) {
    if (!folder.empty() && folder.back() != u'\\' && folder.back() != u'/') folder += u'\\';
    return folder;
}

}  // namespace

// How the data file and the catalog talk to the user: dialogs on the window
// thread. Calls from a worker of the progress dialog are sent to the window
// thread (which keeps pumping while the dialog shows); a background save
// only posts its failure, since the window thread may be waiting for the
// lock that save holds.
class MainWindow::User final : public DataFileUser, public Questions {
public:
    explicit User(MainWindow& owner) : owner_(owner) {}

    std::optional<std::u16string> AskPassword() override {
        std::optional<std::u16string> answer;
        OnWindowThread([&] {
            std::u16string value;
            answer = owner_.InputBox(value, owner_.LoadString(kStrPasswordTitle),
                                     owner_.LoadString(kStrPasswordPrompt), true);
        });
        return answer;
    }

    void Inform(int stringId) override {
        if (CatalogSession::OnBackgroundSaveThread()) {
            ::PostMessageW(owner_.window_, kSaveFailed, static_cast<WPARAM>(stringId), 0);
            return;
        }
        OnWindowThread([&] {
            if (stringId == kStrSaveFailed) {
                owner_.ShowWarning(stringId);
            } else {
                owner_.ShowInfo(stringId, kStrProgramTitle);
            }
        });
    }

    LoadFailureAnswer AskAfterFailedLoad() override {
        int answer = IDNO;
        OnWindowThread([&] { answer = owner_.AskQuestion(kStrLoadFailedQuestion); });
        if (answer == IDYES) return LoadFailureAnswer::NewCatalog;
        if (answer == IDCANCEL) return LoadFailureAnswer::Retry;
        return LoadFailureAnswer::Quit;
    }

    bool Confirm(int stringId) override {
        bool yes = false;
        OnWindowThread([&] { yes = owner_.QvApp::Confirm(stringId, kStrProgramTitle); });
        return yes;
    }

private:
    void OnWindowThread(const std::function<void()>& work) {
        if (owner_.IsWindowThread()) {
            work();
            return;
        }
        ::SendMessageW(owner_.window_, kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&work));
    }

    MainWindow& owner_;
};

// ---------------------------------------------------------------------------
// Process entry helpers.

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, kMainWindowClass, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &MainWindow::WindowProc;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, L"Kodrin");
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszMenuName = MAKEINTRESOURCEW(kMainMenu);
    wc.lpszClassName = kMainWindowClass;
    return ::RegisterClassExW(&wc) != 0;
}

HWND CreateMainWindow(HINSTANCE instance, const MainWindowConfig& config) {
    g_creating = &config;
    HWND window = ::CreateWindowExW(0, kMainWindowClass, kMainWindowClass, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance,
                                    instance);
    g_creating = nullptr;
    return window;
}

int RunMessageLoop(HWND mainWindow, HINSTANCE instance) {
    HACCEL accelerators = ::LoadAcceleratorsW(instance, L"Kodrin");
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (accelerators != nullptr && ::TranslateAcceleratorW(mainWindow, accelerators, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// ---------------------------------------------------------------------------
// Controller.

MainWindow::MainWindow(HWND window, const MainWindowConfig& config)
    : QvAppWindows(STR_PROGRAM_NAME, STR_COMPANY, kStrProgramTitle, window),
      window_(window),
      config_(config),
      user_(std::make_unique<User>(*this)),
      list_(std::make_unique<QvLibrary::QvListView>()),
      splitter_(std::make_unique<QvLibrary::Splitter>()),
      status_(std::make_unique<QvLibrary::StatusBar>()),
      tabs_(std::make_unique<QvLibrary::QvTabWin>()),
      toolbar_(std::make_unique<QvLibrary::QvToolbar>(*this)),
      progress_(std::make_unique<QvLibrary::ProgressDialog>(*this)),
      session_(std::make_unique<CatalogSession>(*this)),
      settings_(session_->CurrentSettings()),
      lastSaved_(session_->LastSavedSettings()),
      catalog_(session_->GetCatalog()),
      file_(session_->File()) {
    windowThread_ = ::GetCurrentThreadId();
    session_->AddView(*this);
    file_.user = user_.get();
    file_.hooks.runLoad = [this](const DataFileHooks::LoadWork& work) { return RunLoadWork(work); };
    file_.hooks.afterLoad = [this] { AfterLoad(); };
    file_.hooks.dataFileChanged = [this](const std::u16string& path) { OnDataFileChanged(path); };
    currentCategory_ = LoadString(kStrAllCategory);
}

MainWindow::~MainWindow() {
    // A save still running reads the catalog and may ask this window.
    WaitForSaves();
    session_->RemoveView(*this);
    if (window_ != nullptr && ::IsWindow(window_)) {
        ::KillTimer(window_, kStartTimer);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    }
    labels_.clear();
    list_.reset();
    tabs_.reset();
    toolbar_.reset();
    status_.reset();
    splitter_.reset();
    progress_.reset();
    if (mutex_) {
        ::ReleaseMutex(mutex_.Get());
        mutex_.Reset();
    }
    if (destroyWindow_ && window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
}

Questions& MainWindow::Asker() { return *user_; }

MainWindow* MainWindow::FromHandle(HWND window) {
    if (window == nullptr) return nullptr;
    return reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool MainWindow::IsWindowThread() const { return ::GetCurrentThreadId() == windowThread_; }

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_CREATE) {
        static const MainWindowConfig kDefaults;
        auto* self = new MainWindow(window, g_creating != nullptr ? *g_creating : kDefaults);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        if (!self->OnCreate()) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            delete self;
            return -1;
        }
        return 0;
    }
    MainWindow* self = FromHandle(window);
    if (self == nullptr) {
        if (message == WM_DESTROY) {
            ::PostQuitMessage(0);
            return 0;
        }
        return ::DefWindowProcW(window, message, wp, lp);
    }
    switch (message) {
        case WM_TIMER:
            self->OnTimer(wp);
            return 0;
        case WM_SIZE:
            self->OnSize(wp, LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_MOVE:
            self->OnMove();
            return 0;
        case WM_PAINT:
            self->OnPaint();
            break;
        case WM_LBUTTONDOWN:
            self->OnClick(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
            return 0;
        case WM_NOTIFY:
            if (lp != 0) return self->OnNotify(*reinterpret_cast<const NMHDR*>(lp));
            return 0;
        case WM_COMMAND: {
            // Controls tell of other things than clicks too; only a click
            // (or a menu, accelerator or toolbar command) runs a command.
            if (lp != 0 && HIWORD(wp) != BN_CLICKED) break;
            if (self->RunCommand(LOWORD(wp))) return 0;
            break;
        }
        case WM_CLOSE:
            if (self->busy_ > 0) {
                // A command or the start waits in a dialog further up this
                // thread's stack: close when it has returned.
                self->closePending_ = true;
                return 0;
            }
            if (self->OnClose()) {
                self->destroyWindow_ = true;
                delete self;
            }
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            // Destroyed without the closing steps: the controller goes too.
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->destroyWindow_ = false;
            delete self;
            break;
        case kRunOnWindowThread:
            if (lp != 0) (*reinterpret_cast<const std::function<void()>*>(lp))();
            return 0;
        case kSaveFailed:
            self->session_->SetChanged(true);
            self->ShowWarning(static_cast<int>(wp));
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wp, lp);
}

bool MainWindow::OnCreate() {
    // One program at a time.
    const std::u16string instanceName = config_.instanceName.empty() ? Name() : config_.instanceName;
    mutex_.Reset(::CreateMutexW(nullptr, TRUE, Wide(instanceName)));
    if (!mutex_) return false;
    if (::GetLastError() == ERROR_ALREADY_EXISTS) {
        mutex_.Reset();
        ShowWarning(kStrAlreadyRunning);
        return false;
    }
    if (UpdateIsBeingInstalledAtStart(*this)) return false;

    HINSTANCE module = ResourceModule();
    const auto moved = [](int position, void* data) { static_cast<MainWindow*>(data)->OnSplitterMoved(position); };
    if (!splitter_->Create(window_, moved, this)) return false;
    if (!status_->Create({25, 50, 25}, window_, !settings_.hideStatus)) return false;
    if (!tabs_->Create(window_, kTabsId)) return false;
    // The list holds only record ids; its texts come from the catalog.
    list_->SetTextSource([this](std::uint32_t id, int column) { return CellText(id, column); });
    if (!list_->Create(window_, kListId)) return false;
    if (!toolbar_->Create(window_, kToolbarId)) return false;

    tabs_->SetContextMenu(::LoadMenuW(module, MAKEINTRESOURCEW(kTabMenu)));
    tabs_->SetMenuOwner(window_);
    tabs_->SetToolTip(module);
    list_->SetContextMenu(::LoadMenuW(module, MAKEINTRESOURCEW(kListMenu)));
    list_->SetMenuOwner(window_);
    list_->SetUserData(this);
    list_->SetMenuInitHandler([](HMENU popup, void* data) { static_cast<MainWindow*>(data)->ApplyMenuEnabling(popup); });
    HWND list = list_->Handle();
    ::SetWindowLongPtrW(list, GWL_EXSTYLE,
                        ::GetWindowLongPtrW(list, GWL_EXSTYLE) | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    ::SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    list_->SetBitmapModule(module);

    if (toolbar_->LoadImageLists()) {
        for (int i = 0; i < kToolbarButtonCount; ++i) toolbar_->AppendAvailableButton(i, ToolbarButtonCommand(i));
        toolbar_->SetContextMenu(::LoadMenuW(module, MAKEINTRESOURCEW(kToolbarMenu)));
        toolbar_->SetMenuOwner(window_);
    }
    ApplyToolbarLayout();

    ShowMessagesFeed(*this);
    return ::SetTimer(window_, kStartTimer, kStartDelayMs, nullptr) != 0;
}

void MainWindow::OnTimer(UINT_PTR id) {
    if (id != kStartTimer) return;
    ::KillTimer(window_, kStartTimer);
    if (session_->Started() || starting_) return;
    DeferredStart();
}

// ---------------------------------------------------------------------------
// Start-up.

std::u16string MainWindow::RegistryCompany() const {
    return config_.registryCompany.empty() ? Company() : config_.registryCompany;
}

std::u16string MainWindow::ChooseStartPath() {
    QvLibrary::RegistryStore registry(RegistryCompany());
    StartPlaces places;
    places.commandLine = config_.commandLine
                             ? *config_.commandLine
                             : std::u16string(reinterpret_cast<const char16_t*>(::GetCommandLineW()));
    places.remember = [&](const std::u16string& path) { registry.Write(Name(), kFilenameValue, path); };
    places.remembered = [&] {
        std::u16string path;
        registry.Read(Name(), kFilenameValue, path);
        return path;
    };
    places.fileBesideProgram = [&] {
        const std::u16string folder =
            WithBackslash(config_.programFolder.empty() ? GetModuleFolder() : config_.programFolder);
        return FirstFileMatching(folder, u"*" + LoadString(kStrXmlExtension));
    };
    places.defaultFile = [&] {
        const std::u16string folder =
            config_.userDataFolder.empty() ? GetUserDataFolder() : WithBackslash(config_.userDataFolder);
        return folder + Name() + LoadString(kStrXmlExtension);
    };
    return app::ChooseStartPath(places);
}

void MainWindow::DeferredStart() {
    BusyScope busy(*this);
    starting_ = true;
    const std::u16string path = ChooseStartPath();
    session_->Change(Refresh::None, Save::None, [&](Catalog&, Settings&) { SetDataFile(file_, path); });
    LoadCatalogFile(path, false);
    starting_ = false;
    if (Quitting()) return;
    ::ShowWindow(window_, SW_SHOW);
    session_->MarkStarted();
    RefreshAll();
}

void MainWindow::OnDataFileChanged(const std::u16string& path) {
    QvLibrary::RegistryStore registry(RegistryCompany());
    registry.Write(Name(), kFilenameValue, path);
    const std::u16string caption = Title() + u" - " + path;
    ::SetWindowTextW(window_, Wide(caption));
}

// ---------------------------------------------------------------------------
// Loading.

bool MainWindow::RunLoadWork(const DataFileHooks::LoadWork& work) {
    catalogBusy_ = true;
    const bool ok = progress_->Run(window_, kStrLoadingTitle, [&](QvLibrary::ProgressDialog& progress) {
        bool loaded = false;
        {
            CatalogLock lock(*this);
            loaded = work([&progress](int percent) { progress.SetProgress(percent); });
        }
        progress.Finish(!loaded);
    });
    catalogBusy_ = false;
    return ok;
}

void MainWindow::AfterLoad() {
    // Called by the loading work, which holds the catalog lock: the window
    // thread does the window's part while the work waits.
    const std::function<void()> apply = [this] {
        ApplyToolbarLayout();
        RenameHiddenItemsCommand();
        if (settings_.track && settings_.width > 0 && settings_.height > 0) {
            ::MoveWindow(window_, settings_.x, settings_.y, settings_.width, settings_.height, TRUE);
        }
    };
    if (IsWindowThread()) {
        apply();
    } else {
        ::SendMessageW(window_, kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&apply));
    }
}

bool MainWindow::LoadCatalogFile(const std::u16string& path, bool restore) {
    // The view lets go of the records before the work replaces them.
    labels_.clear();
    labelTexts_.clear();
    list_->DeleteAllRows();
    WaitForSaves();
    const DataFileLoadResult result = LoadDataFile(file_, path, restore, false);
    if (result.ok) return true;
    if (result.answer == LoadFailureAnswer::NewCatalog) return NewCatalogAfterFailure();
    Abandon();
    return false;
}

bool MainWindow::NewCatalogAfterFailure() {
    const std::optional<std::u16string> name = AskCatalogName(true, false);
    if (!name) {
        Abandon();
        return false;
    }
    if (platform::FileExists(*name)) {
        {
            CatalogLock lock(*this);
            SetDataFile(file_, *name);
        }
        return LoadCatalogFile(*name, false);
    }
    StartEmptyCatalog(*name);
    return true;
}

void MainWindow::StartEmptyCatalog(const std::u16string& path) {
    WaitForSaves();
    CatalogLock lock(*this);
    SetDataFile(file_, path);
    settings_.password.clear();
    ClearCatalog(catalog_);
    catalog_.findCategory = 0;
    catalog_.findRecord = -1;
    session_->SetChanged(true);
    file_.readOnly = false;
}

void MainWindow::Abandon() {
    session_->MarkAbandoned();
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
}

// ---------------------------------------------------------------------------
// Saving.

void MainWindow::StoreToolbarLayout() {
    if (toolbar_->AvailableCount() > 0) settings_.toolbar = toolbar_->ReadLayout();
}

void MainWindow::StoreColumnLayout() {
    const int columns = list_->ColumnCount();
    if (settings_.colWidths.size() < static_cast<std::size_t>(kFieldCount)) {
        settings_.colWidths.resize(kFieldCount, -1);
    }
    for (std::size_t i = 0; i < settings_.cols.size(); ++i) {
        const int field = settings_.cols[i];
        if (field < 0 || field >= kFieldCount) continue;
        int width = -1;
        if (settings_.track && static_cast<int>(i) < columns) width = list_->ColumnWidth(static_cast<int>(i));
        settings_.colWidths[static_cast<std::size_t>(field)] = width;
    }
}

bool MainWindow::SaveInForeground() {
    if (file_.readOnly || Quitting()) return false;
    {
        CatalogLock lock(*this);
        session_->SetChanged(false);
        StoreToolbarLayout();
    }
    bool saved = false;
    const bool ran = progress_->Run(window_, kStrSavingTitle, [&](QvLibrary::ProgressDialog& progress) {
        {
            CatalogLock lock(*this);
            saved = SaveDataFile(file_, [&progress](int percent) { progress.SetProgress(percent); });
        }
        progress.Finish(!saved);
    });
    if (!ran || !saved) session_->SetChanged(true);
    return ran && saved;
}

// ---------------------------------------------------------------------------
// Closing.

bool MainWindow::OnClose() {
    ::KillTimer(window_, kStartTimer);
    QvLibrary::WriteClipboardAnsi(window_, u"");
    // Before the start has run, or after a load the user gave up, what is
    // in memory is not the catalog: it must not replace the file.
    if (file_.readOnly || Quitting() || !Started()) return true;
    bool pending = false;
    {
        CatalogLock lock(*this);
        StoreColumnLayout();
        pending = Changed() || SettingsChanged(settings_, lastSaved_);
    }
    if (pending) SaveInForeground();
    return true;
}

void MainWindow::RecordWindowRect() {
    // While a load runs the window follows the loaded settings: nothing to record.
    if (catalogBusy_ || !Started()) return;
    RECT rect{};
    if (!::GetWindowRect(window_, &rect)) return;
    const RECT area = QvLibrary::GetWorkArea();
    if (rect.left < area.left || rect.top < area.top || rect.right > area.right || rect.bottom > area.bottom) {
        return;
    }
    session_->Change(Refresh::None, Save::None, [&](Catalog&, Settings& settings) {
        settings.x = rect.left;
        settings.y = rect.top;
        settings.width = rect.right - rect.left;
        settings.height = rect.bottom - rect.top;
    });
}

void MainWindow::OnMove() { RecordWindowRect(); }

void MainWindow::OnSize(WPARAM type, int, int) {
    if (type == SIZE_MINIMIZED || type == SIZE_MAXHIDE) return;
    Layout();
    toolbar_->Refresh();
    status_->Resize();
    if (type == SIZE_RESTORED) RecordWindowRect();
}

}  // namespace kodrin::app
