#include "app/details_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "app/details_internal.h"
#include "app/tab_page.h"
#include "catalog/dates.h"
#include "catalog/strings.h"
#include "discovery/program_file.h"
#include "discovery/win32/program_file_win32.h"
#include "framework/app.h"
#include "framework/date_picker.h"
#include "framework/dialog.h"
#include "framework/file_chooser.h"
#include "framework/handles.h"
#include "framework/helpers.h"
#include "framework/portable/number.h"
#include "framework/wide.h"

namespace kodrin::app {
namespace {

using QvLibrary::Wide;

// The edits and editable drop-down lists that hold one text field each.
struct TextBinding {
    int control;
    std::u16string ApplicationRecord::* field;
};
constexpr TextBinding kTextBindings[] = {
    {IDC_DETAILS_PATH, &ApplicationRecord::path},
    {IDC_DETAILS_COMPANY, &ApplicationRecord::company},
    {IDC_DETAILS_HOME_PAGE, &ApplicationRecord::homePage},
    {IDC_DETAILS_PROGRAM, &ApplicationRecord::program},
    {IDC_DETAILS_VERSION, &ApplicationRecord::version},
    {IDC_DETAILS_INSTALL_DATE, &ApplicationRecord::installDate},
    {IDC_DETAILS_RELEASED_DATE, &ApplicationRecord::releasedDate},
    {IDC_DETAILS_DESCRIPTION, &ApplicationRecord::description},
    {IDC_DETAILS_SUPPORT_PAGE, &ApplicationRecord::supportPage},
    {IDC_DETAILS_EMAIL, &ApplicationRecord::email},
    {IDC_DETAILS_SUPPORT_PHONE, &ApplicationRecord::supportPhone},
    {IDC_DETAILS_SUPPORT_ADDRESS, &ApplicationRecord::supportAddress},
    {IDC_DETAILS_LOGIN_PAGE, &ApplicationRecord::loginPage},
    {IDC_DETAILS_PURCHASE_DATE, &ApplicationRecord::purchaseDate},
    {IDC_DETAILS_INSTALL_FILE, &ApplicationRecord::installFile},
    {IDC_DETAILS_LICENSE_TYPE, &ApplicationRecord::licenseType},
    {IDC_DETAILS_PAYMENT_METHOD, &ApplicationRecord::paymentMethod},
    {IDC_DETAILS_DATE_LAST_CHECKED, &ApplicationRecord::dateLastChecked},
    {IDC_DETAILS_LATEST_VERSION, &ApplicationRecord::latestVersion},
    {IDC_DETAILS_COMMENTS, &ApplicationRecord::comments},
    {IDC_DETAILS_UPGRADE_PAGE, &ApplicationRecord::upgradePage},
    {IDC_DETAILS_PAD_FILE, &ApplicationRecord::padFile},
    {IDC_DETAILS_USER_NAME, &ApplicationRecord::userName},
    {IDC_DETAILS_ORGANIZATION, &ApplicationRecord::organization},
    {IDC_DETAILS_REGISTRATION_EMAIL, &ApplicationRecord::registrationEmail},
    {IDC_DETAILS_SERIAL_NUMBER, &ApplicationRecord::serialNumber},
    {IDC_DETAILS_REGISTRATION_TYPE, &ApplicationRecord::registrationType},
    {IDC_DETAILS_REGISTRATION_EXPIRE, &ApplicationRecord::registrationExpire},
    {IDC_DETAILS_REGISTRATION_KEY, &ApplicationRecord::registrationKey},
    {IDC_DETAILS_CUSTOM1, &ApplicationRecord::custom1},
    {IDC_DETAILS_CUSTOM1 + 1, &ApplicationRecord::custom2},
    {IDC_DETAILS_CUSTOM1 + 2, &ApplicationRecord::custom3},
    {IDC_DETAILS_CUSTOM1 + 3, &ApplicationRecord::custom4},
    {IDC_DETAILS_CUSTOM1 + 4, &ApplicationRecord::custom5},
};

struct FlagBinding {
    int control;
    bool ApplicationRecord::* flag;
    bool ApplicationRecord::* leave;
};
constexpr FlagBinding kFlagBindings[] = {
    {IDC_DETAILS_HIDE, &ApplicationRecord::hide, &ApplicationRecord::leaveHide},
    {IDC_DETAILS_AUTO_REMOVE, &ApplicationRecord::autoRemove, &ApplicationRecord::leaveAutoRemove},
    {IDC_DETAILS_AUTO_LOGIN, &ApplicationRecord::autoLogin, &ApplicationRecord::leaveAutoLogin},
    {IDC_DETAILS_AUTO_UPDATE, &ApplicationRecord::autoUpdate, &ApplicationRecord::leaveAutoUpdate},
};

// Each date button with the edit it fills.
struct DateBinding {
    int button;
    int edit;
};
constexpr DateBinding kDateBindings[] = {
    {IDC_DETAILS_INSTALL_DATE_BUTTON, IDC_DETAILS_INSTALL_DATE},
    {IDC_DETAILS_RELEASED_DATE_BUTTON, IDC_DETAILS_RELEASED_DATE},
    {IDC_DETAILS_PURCHASE_DATE_BUTTON, IDC_DETAILS_PURCHASE_DATE},
    {IDC_DETAILS_DATE_LAST_CHECKED_BUTTON, IDC_DETAILS_DATE_LAST_CHECKED},
    {IDC_DETAILS_REGISTRATION_EXPIRE_BUTTON, IDC_DETAILS_REGISTRATION_EXPIRE},
};

// A drop-down list's edit shows value: the item with that text is selected
// when there is one, otherwise the text stands in the edit on its own.
void ShowComboValue(QvLibrary::QvComboBox& combo, const std::u16string& value) {
    const auto& items = combo.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].text == value) {
            ::SendMessageW(combo.Handle(), CB_SETCURSEL, i, 0);
            return;
        }
    }
    ::SendMessageW(combo.Handle(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ::SetWindowTextW(combo.Handle(), Wide(value));
}

std::unique_ptr<QvLibrary::QvComboBox> FillCombo(HWND dialog, int id, const ValueSet& values) {
    auto combo = std::make_unique<QvLibrary::QvComboBox>(::GetDlgItem(dialog, id), true);
    std::uint32_t position = 0;
    for (const std::u16string& value : values) combo->AddItem(value, position++, false);
    return combo;
}

void SetDiskCount(HWND dialog, int count) {
    ::SendDlgItemMessageW(dialog, IDC_DETAILS_DISK_SPIN, UDM_SETPOS32, 0, count);
    ::SetDlgItemInt(dialog, IDC_DETAILS_DISK_COUNT, static_cast<UINT>(count), TRUE);
}

// ---- Initialisation ----

void FillCategories(DetailsContext& context) {
    HWND dialog = context.dialog;
    context.categories.Attach(::GetDlgItem(dialog, IDC_DETAILS_CATEGORIES));
    ApplicationRecord& record = context.working;
    if (context.mode == DetailsMode::Add && !context.settings.curCategory.empty() &&
        std::find(record.categories.begin(), record.categories.end(), context.settings.curCategory) ==
            record.categories.end()) {
        record.categories.push_back(context.settings.curCategory);
    }
    for (const std::u16string& name : context.catalog.categories) {
        const int index = context.categories.AddItem(name, 0);
        if (index < 0) continue;
        const bool selected = std::find(record.categories.begin(), record.categories.end(), name) !=
                              record.categories.end();
        if (selected) ::SendMessageW(context.categories.Handle(), LB_SETSEL, TRUE, index);
    }
}

void FillFields(DetailsContext& context) {
    HWND dialog = context.dialog;
    const ApplicationRecord& record = context.working;
    for (int i = 0; i < 5; ++i) {
        const std::u16string caption = context.settings.captions[static_cast<std::size_t>(i)] + u":";
        ::SetDlgItemTextW(dialog, IDC_DETAILS_CUSTOM1_LABEL + i, Wide(caption));
    }
    context.licenseTypes = FillCombo(dialog, IDC_DETAILS_LICENSE_TYPE, context.catalog.licenseTypes);
    context.paymentMethods = FillCombo(dialog, IDC_DETAILS_PAYMENT_METHOD, context.catalog.paymentMethods);
    for (const TextBinding& binding : kTextBindings) {
        if (binding.control == IDC_DETAILS_LICENSE_TYPE) {
            ShowComboValue(*context.licenseTypes, record.licenseType);
        } else if (binding.control == IDC_DETAILS_PAYMENT_METHOD) {
            ShowComboValue(*context.paymentMethods, record.paymentMethod);
        } else {
            ::SetDlgItemTextW(dialog, binding.control, Wide(record.*(binding.field)));
        }
    }
    ::SetDlgItemTextW(dialog, IDC_DETAILS_PURCHASE_PRICE, Wide(FormatPrice(record.purchasePrice)));
    ::SetDlgItemTextW(dialog, IDC_DETAILS_UPGRADE_PRICE, Wide(FormatPrice(record.upgradePrice)));
    ::SendDlgItemMessageW(dialog, IDC_DETAILS_DISK_SPIN, UDM_SETBUDDY, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, IDC_DETAILS_DISK_COUNT)),
                          0);
    ::SendDlgItemMessageW(dialog, IDC_DETAILS_DISK_SPIN, UDM_SETRANGE32, 0, 1000);
    SetDiskCount(dialog, record.diskCount);
    ::SetDlgItemTextW(dialog, IDC_DETAILS_PICTURE_NAME, Wide(record.pictureName));
}

void FillMedia(DetailsContext& context) {
    HWND dialog = context.dialog;
    ApplicationRecord& record = context.working;
    context.media = FillCombo(dialog, IDC_DETAILS_MEDIA, context.catalog.mediaNames);
    // The empty entry clears the media; it counts no disks.
    context.media->AddItem(LoadText(kStrEmptyMedia), static_cast<std::uint32_t>(context.catalog.mediaNames.size()),
                           false);
    if (context.Multiple()) {
        ::SendMessageW(context.media->Handle(), CB_SETCURSEL, 0, 0);
    } else {
        if (record.recordId == 0) record.originalMedia = context.settings.mediaType;
        ShowComboValue(*context.media, record.originalMedia);
    }
    ::SetDlgItemInt(dialog, IDC_DETAILS_SORT_ORDER, static_cast<UINT>(record.sortOrder), TRUE);
}

void FillCheckBoxes(DetailsContext& context) {
    for (const FlagBinding& binding : kFlagBindings) {
        UINT state = BST_INDETERMINATE;
        if (!context.Multiple()) state = context.working.*(binding.flag) ? BST_CHECKED : BST_UNCHECKED;
        ::CheckDlgButton(context.dialog, binding.control, state);
    }
}

// A stored rectangle is used only when it has a size and lies on a screen.
void RestoreRectangle(DetailsContext& context) {
    const Settings& s = context.settings;
    RECT stored{s.editX, s.editY, s.editWidth, s.editHeight};
    if (stored.right - stored.left <= 0 || stored.bottom - stored.top <= 0) return;
    if (::MonitorFromRect(&stored, MONITOR_DEFAULTTONULL) == nullptr) return;
    ::MoveWindow(context.dialog, stored.left, stored.top, stored.right - stored.left, stored.bottom - stored.top,
                 TRUE);
}

void Initialise(DetailsContext& context) {
    HWND dialog = context.dialog;
    CreatePicturePage(context);
    QvLibrary::CentreOnParent(dialog);
    if (context.readOnly) ::ShowWindow(::GetDlgItem(dialog, IDOK), SW_HIDE);
    context.tabs.Attach(::GetDlgItem(dialog, IDC_DETAILS_TABS));
    ::SetWindowPos(context.tabs.Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (context.Multiple()) {
        for (const FlagBinding& binding : kFlagBindings) {
            ::SendDlgItemMessageW(dialog, binding.control, BM_SETSTYLE, BS_AUTO3STATE, FALSE);
        }
    } else {
        ::ShowWindow(::GetDlgItem(dialog, IDC_DETAILS_WARNING), SW_HIDE);
    }

    RECT tabs{};
    ::GetClientRect(context.tabs.Handle(), &tabs);
    RECT add{};
    ::GetClientRect(::GetDlgItem(dialog, IDC_DETAILS_LOGIN_ADD), &add);
    const int buttonWidth = add.right;
    context.login = std::make_unique<LoginTab>(context.app, context.settings, context.readOnly);
    context.login->SetPasswordGenerator(context.services.generatePassword);
    context.login->SetBrowserOpener(context.services.openLoginPage);
    context.login->Create(dialog, context.working, 35, 60,
                          std::max(50, static_cast<int>(tabs.right) - (buttonWidth + buttonWidth / 4) - 35),
                          std::max(50, static_cast<int>(tabs.bottom) - 60));

    FillCategories(context);
    FillFields(context);
    FillMedia(context);
    FillCheckBoxes(context);

    for (int i = 0; i < kPageCount; ++i) {
        context.tabs.InsertTab(i, static_cast<std::uint32_t>(kFirstPage + i), LoadText(kFirstPage + i));
    }
    for (int page = kFirstPage; page < kFirstPage + kPageCount; ++page) ShowPage(context, page, false);
    if (context.currentPage == 0) context.currentPage = kFirstPage;
    ShowPage(context, context.currentPage, true);

    context.ready = true;
    RestoreRectangle(context);
    LayOut(context);
}

// ---- Reading the form ----

void ReadForm(DetailsContext& context) {
    HWND dialog = context.dialog;
    ApplicationRecord& record = context.working;

    record.categories.clear();
    for (int i = 0; i < context.categories.Count(); ++i) {
        if (context.categories.IsSelected(i)) record.categories.push_back(context.categories.ItemText(i));
    }
    for (const TextBinding& binding : kTextBindings) {
        record.*(binding.field) = QvLibrary::GetItemText(dialog, binding.control);
    }
    record.purchasePrice = QvLibrary::ReadNumber(QvLibrary::GetItemText(dialog, IDC_DETAILS_PURCHASE_PRICE));
    record.upgradePrice = QvLibrary::ReadNumber(QvLibrary::GetItemText(dialog, IDC_DETAILS_UPGRADE_PRICE));
    record.diskCount = static_cast<std::int32_t>(QvLibrary::GetItemInt(dialog, IDC_DETAILS_DISK_COUNT, 0));

    if (record.webPasswordDate.empty()) record.webPasswordDate = DateStyleToday(context.settings);

    const std::u16string media = QvLibrary::GetItemText(dialog, IDC_DETAILS_MEDIA);
    if (media.empty() || media == LoadText(kStrEmptyMedia)) {
        record.originalMedia.clear();
    } else {
        record.originalMedia = media;
        if (media != context.settings.clearCommand) context.settings.mediaType = media;
    }

    if (context.Multiple()) {
        record.sortOrder = 0;
    } else {
        BOOL ok = FALSE;
        const int sortOrder = static_cast<int>(::GetDlgItemInt(dialog, IDC_DETAILS_SORT_ORDER, &ok, TRUE));
        record.sortOrder = ok ? sortOrder : 0;
    }
    for (const FlagBinding& binding : kFlagBindings) {
        const UINT state = ::IsDlgButtonChecked(dialog, binding.control);
        if (context.Multiple()) record.*(binding.leave) = state == BST_INDETERMINATE;
        record.*(binding.flag) = state == BST_CHECKED;
    }
}

// ---- Commands ----

void AddExecutableFilters(QvLibrary::FileChooser& chooser) {
    chooser.AddFilter(LoadText(kStrExecutableFiles), LoadText(kStrExecutableFiles + 1));
    chooser.AddFilter(LoadText(kStrExecutableFiles + 2), LoadText(kStrExecutableFiles + 3));
    chooser.SetDefaultExtension(u"exe");
}

// Starts the chooser at the path in the edit, or at the last path.
void StartAt(QvLibrary::FileChooser& chooser, const std::u16string& current, const Settings& settings) {
    if (current.empty()) {
        chooser.SetInitialFolder(settings.lastPath);
        return;
    }
    chooser.SetInitialFolder(std::u16string(discovery::FolderOfPath(current)));
    chooser.SetFileName(current);
}

void FillIfEmpty(HWND dialog, int id, const std::u16string& value) {
    if (value.empty() || !QvLibrary::GetItemText(dialog, id).empty()) return;
    ::SetDlgItemTextW(dialog, id, Wide(value));
}

void ChooseProgram(DetailsContext& context) {
    HWND dialog = context.dialog;
    QvLibrary::FileChooser chooser(context.app);
    AddExecutableFilters(chooser);
    chooser.SetTitle(LoadText(kStrChooseProgram));
    StartAt(chooser, QvLibrary::GetItemText(dialog, IDC_DETAILS_PATH), context.settings);
    const std::optional<std::u16string> path = chooser.Open(dialog);
    if (!path) return;
    ::SetDlgItemTextW(dialog, IDC_DETAILS_PATH, Wide(*path));
    ProgramFileFilled(context, *path);
}

void ChooseInstaller(DetailsContext& context) {
    HWND dialog = context.dialog;
    QvLibrary::FileChooser chooser(context.app);
    AddExecutableFilters(chooser);
    chooser.SetTitle(LoadText(kStrChooseInstaller));
    StartAt(chooser, QvLibrary::GetItemText(dialog, IDC_DETAILS_INSTALL_FILE), context.settings);
    if (const std::optional<std::u16string> path = chooser.Open(dialog)) {
        ::SetDlgItemTextW(dialog, IDC_DETAILS_INSTALL_FILE, Wide(*path));
    }
}

void PickDate(DetailsContext& context, int edit) {
    HWND dialog = context.dialog;
    const int style = static_cast<int>(context.settings.dateStyle);
    const Date date = ParseDate(QvLibrary::GetItemText(dialog, edit), style);
    SYSTEMTIME offered{};
    offered.wYear = static_cast<WORD>(std::clamp(date.year, 0, 30827));
    offered.wMonth = static_cast<WORD>(date.month);
    offered.wDay = static_cast<WORD>(date.day);
    QvLibrary::DatePicker picker(context.app);
    if (picker.Run(dialog, offered, true)) {
        Date chosen;
        chosen.year = offered.wYear;
        chosen.month = offered.wMonth;
        chosen.day = offered.wDay;
        ::SetDlgItemTextW(dialog, edit, Wide(FormatDate(chosen, style)));
    } else if (picker.Erased()) {
        ::SetDlgItemTextW(dialog, edit, L"");
    }
}

void OpenAddress(DetailsContext& context, int edit) {
    const std::u16string address = QvLibrary::GetItemText(context.dialog, edit);
    if (!address.empty()) context.app.OpenDocument(address);
}

void MediaChanged(DetailsContext& context) {
    if (context.media->SelectedIndex() < 0) return;
    SetDiskCount(context.dialog, context.media->SelectedData() <= 2 ? 1 : 0);
}

bool OnCommand(DetailsContext& context, int id, int code) {
    for (const DateBinding& binding : kDateBindings) {
        if (id == binding.button) {
            PickDate(context, binding.edit);
            return true;
        }
    }
    switch (id) {
    case IDC_DETAILS_CHOOSE_PROGRAM: ChooseProgram(context); return true;
    case IDC_DETAILS_CHOOSE_INSTALLER: ChooseInstaller(context); return true;
    case IDC_DETAILS_OPEN_HOME_PAGE: OpenAddress(context, IDC_DETAILS_HOME_PAGE); return true;
    case IDC_DETAILS_OPEN_SUPPORT_PAGE: OpenAddress(context, IDC_DETAILS_SUPPORT_PAGE); return true;
    case IDC_DETAILS_OPEN_UPGRADE_PAGE: OpenAddress(context, IDC_DETAILS_UPGRADE_PAGE); return true;
    case IDC_DETAILS_OPEN_LOGIN_PAGE: context.login->OpenInBrowser(); return true;
    case IDC_DETAILS_LOGIN_ADD: context.login->Add(); return true;
    case IDC_DETAILS_LOGIN_EDIT: context.login->Edit(); return true;
    case IDC_DETAILS_LOGIN_DELETE: context.login->Delete(); return true;
    case IDC_DETAILS_LOGIN_COPY: context.login->CopyToClipboard(); return true;
    case IDC_DETAILS_PICTURE_BROWSE: BrowsePicture(context); return true;
    case IDC_DETAILS_PICTURE_CLEAR: ClearPicture(context); return true;
    case IDC_DETAILS_MEDIA:
        if (code == CBN_SELCHANGE) MediaChanged(context);
        return true;
    default:
        return false;
    }
}

void OnNotify(DetailsContext& context, const NMHDR& header) {
    if (header.idFrom == static_cast<UINT_PTR>(IDC_DETAILS_TABS) && header.code == TCN_SELCHANGE) {
        ShowPage(context, context.currentPage, false);
        context.currentPage = static_cast<int>(context.tabs.CurrentData());
        ShowPage(context, context.currentPage, true);
    } else if (header.idFrom == static_cast<UINT_PTR>(IDC_DETAILS_LOGIN_LIST)) {
        if (header.code == LVN_ITEMCHANGED) context.login->UpdateButtons();
        if (header.code == NM_DBLCLK && context.login->List().SelectedCount() == 1) context.login->Edit();
    }
}

class DetailsDialog final : public QvLibrary::Dialog {
public:
    explicit DetailsDialog(DetailsContext& context) : context_(context) {}

private:
    INT_PTR Init(HWND dialog) override {
        context_.dialog = dialog;
        Initialise(context_);
        return TRUE;
    }
    bool Command(HWND, WORD id, WORD notification) override { return OnCommand(context_, id, notification); }
    bool Ok(HWND) override {
        // Enter reaches the hidden default button too: a read-only dialog
        // never writes its form back.
        if (context_.readOnly) return false;
        ReadForm(context_);
        return true;
    }
    bool Message(HWND, UINT message, WPARAM wp, LPARAM lp, INT_PTR& result) override {
        result = TRUE;
        switch (message) {
        case WM_NOTIFY:
            OnNotify(context_, *reinterpret_cast<const NMHDR*>(lp));
            return true;
        case WM_SIZE:
            if (context_.ready) LayOut(context_);
            return true;
        case WM_EXITSIZEMOVE:
            // A move alone is remembered as well as a resize.
            if (context_.ready) LayOut(context_);
            return true;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lp);
            info->ptMinTrackSize.x = 560;
            info->ptMinTrackSize.y = 470;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            result = reinterpret_cast<INT_PTR>(
                PaintTabPageBehind(context_.tabs.Handle(), reinterpret_cast<HWND>(lp), reinterpret_cast<HDC>(wp)));
            return true;
        case WM_ERASEBKGND:
            EraseWithTabPage(context_.dialog, context_.tabs.Handle(), reinterpret_cast<HDC>(wp));
            ::SetWindowLongPtrW(context_.dialog, DWLP_MSGRESULT, TRUE);
            return true;
        case WM_DESTROY:
            ForgetTabPage(context_.tabs.Handle());
            return false;
        default:
            return false;
        }
    }

    DetailsContext& context_;
};

// Ctrl+Tab and Ctrl+Page Down show the next page, Ctrl+Shift+Tab and
// Ctrl+Page Up the one before, wherever the focus is in the dialog. The
// dialog manager's own loop passes its messages through this filter.
thread_local DetailsContext* keyboardContext = nullptr;

bool SwitchPageByKey(DetailsContext& context, const MSG& message) {
    if (message.message != WM_KEYDOWN || (::GetKeyState(VK_CONTROL) & 0x8000) == 0) return false;
    if (::GetAncestor(message.hwnd, GA_ROOT) != context.dialog) return false;
    int step = 0;
    if (message.wParam == VK_TAB) step = (::GetKeyState(VK_SHIFT) & 0x8000) != 0 ? -1 : 1;
    if (message.wParam == VK_NEXT) step = 1;
    if (message.wParam == VK_PRIOR) step = -1;
    if (step == 0) return false;
    const int count = context.tabs.Count();
    if (count == 0) return true;
    const int current = std::max(context.tabs.CurrentTab(), 0);
    context.tabs.SelectTab((current + step + count) % count);
    return true;
}

LRESULT CALLBACK KeyboardFilter(int code, WPARAM wp, LPARAM lp) {
    if (code == MSGF_DIALOGBOX && keyboardContext != nullptr && keyboardContext->dialog != nullptr &&
        SwitchPageByKey(*keyboardContext, *reinterpret_cast<const MSG*>(lp))) {
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

class PageKeys {
public:
    explicit PageKeys(DetailsContext& context)
        : previous_(keyboardContext),
          hook_(::SetWindowsHookExW(WH_MSGFILTER, KeyboardFilter, nullptr, ::GetCurrentThreadId())) {
        keyboardContext = &context;
    }
    ~PageKeys() {
        hook_.Reset();
        keyboardContext = previous_;
    }
    PageKeys(const PageKeys&) = delete;
    PageKeys& operator=(const PageKeys&) = delete;

private:
    DetailsContext* previous_;
    QvLibrary::Hook hook_;
};

}  // namespace

void ProgramFileFilled(DetailsContext& context, const std::u16string& path) {
    HWND dialog = context.dialog;
    ApplicationRecord scratch = NewRecord();
    discovery::ReadProgramFile(context.settings, scratch, path);
    FillIfEmpty(dialog, IDC_DETAILS_VERSION, scratch.version);
    FillIfEmpty(dialog, IDC_DETAILS_COMPANY, scratch.company);
    FillIfEmpty(dialog, IDC_DETAILS_PROGRAM, scratch.program);
    FillIfEmpty(dialog, IDC_DETAILS_INSTALL_DATE, scratch.installDate);
    FillIfEmpty(dialog, IDC_DETAILS_PURCHASE_DATE, scratch.purchaseDate);
    if (!scratch.picture.empty() && context.working.picture.empty() &&
        QvLibrary::GetItemText(dialog, IDC_DETAILS_PICTURE_NAME).empty()) {
        TakePicture(context, scratch.pictureName, path);
    }
}

bool RunDetailsDialog(QvLibrary::QvApp& app, HWND owner, DetailsMode mode, bool readOnly, ApplicationRecord& record,
                      Settings& settings, const Catalog& catalog, const DetailsServices& services) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    DetailsContext context(app, mode, readOnly, settings, catalog, services);
    context.working = CopyRecord(record);
    PageKeys keys(context);
    DetailsDialog dialog(context);
    if (!dialog.Run(app, owner, kDetailsDialog)) return false;
    record = std::move(context.working);
    return true;
}

}  // namespace kodrin::app
