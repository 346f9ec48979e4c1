#include "app/main_dialogs.h"

#include <algorithm>

#include "catalog/catalog.h"
#include "catalog/exchange.h"
#include "catalog/record.h"
#include "framework/app.h"
#include "framework/file_chooser.h"
#include "framework/helpers.h"
#include "framework/progress_dialog.h"
#include "platform/files.h"

namespace kodrin::app {

namespace {

constexpr int kStrTitle = 4109;          // "Kodrin": caption of message boxes
constexpr int kStrFieldCaption = 6000;   // + FieldId

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

template <typename T>
T* Context(HWND dialog) {
    return reinterpret_cast<T*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

template <typename T>
T* KeepContext(HWND dialog, LPARAM lp) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lp);
    return reinterpret_cast<T*>(lp);
}

// A warning owned by the dialog, so that the dialog waits for it.
void Warn(const QvLibrary::QvApp& app, HWND dialog, int textId) {
    ::MessageBoxW(dialog, Wide(app.LoadString(textId)), Wide(app.LoadString(kStrTitle)), MB_OK | MB_ICONEXCLAMATION);
}

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool on) { ::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }

void Enable(HWND dialog, int id, bool on) { ::EnableWindow(::GetDlgItem(dialog, id), on ? TRUE : FALSE); }

// ---------------------------------------------------------------------------
// List-box helpers.

LRESULT ListMessage(HWND dialog, int list, UINT message, WPARAM wp = 0, LPARAM lp = 0) {
    return ::SendDlgItemMessageW(dialog, list, message, wp, lp);
}

int ListCount(HWND dialog, int list) { return static_cast<int>(ListMessage(dialog, list, LB_GETCOUNT)); }

int ListSelection(HWND dialog, int list) { return static_cast<int>(ListMessage(dialog, list, LB_GETCURSEL)); }

std::u16string ListText(HWND dialog, int list, int index) {
    const LRESULT length = ListMessage(dialog, list, LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const LRESULT copied =
            ListMessage(dialog, list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

// Inserts an item at index (-1: at the end) with its data; its index.
int ListInsert(HWND dialog, int list, int index, const std::u16string& text, LPARAM data) {
    const LRESULT at = ListMessage(dialog, list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(text.c_str()));
    if (at < 0) return -1;
    ListMessage(dialog, list, LB_SETITEMDATA, static_cast<WPARAM>(at), data);
    return static_cast<int>(at);
}

// ---------------------------------------------------------------------------
// About.

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* app = KeepContext<const QvLibrary::QvApp>(dialog, lp);
            std::u16string product, version, value;
            if (!app->GetVersionInfo(u"ProductName", product) || product.empty()) product = app->Title();
            if (app->GetVersionString(version)) product += u" " + version;
            ::SetDlgItemTextW(dialog, kAboutName, Wide(product));
            const std::pair<int, const char16_t*> lines[] = {
                    {kAboutDescription, u"FileDescription"}, {kAboutCopyright, u"LegalCopyright"},
                    {kAboutCompany, u"CompanyName"}};
            for (const auto& [id, key] : lines) {
                value.clear();
                if (!app->GetVersionInfo(key, value)) value.clear();
                ::SetDlgItemTextW(dialog, id, Wide(value));
            }
            QvLibrary::CentreOnParent(dialog);
            return TRUE;
        }
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case kAboutHomePage: {
                    const auto* app = Context<const QvLibrary::QvApp>(dialog);
                    const std::u16string address = app->LoadString(kStrHomePageAddress);
                    if (!address.empty()) app->OpenDocument(address);
                    return TRUE;
                }
                case IDOK:
                case IDCANCEL:
                    ::EndDialog(dialog, LOWORD(wp));
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

// ---------------------------------------------------------------------------
// Category name.

struct CategoryContext {
    const QvLibrary::QvApp* app;
    const std::u16string* oldName;
    std::u16string result;
};

// The trimmed name, or nothing when it cannot name a category.
std::optional<std::u16string> CategoryNameOf(HWND dialog, const QvLibrary::QvApp& app) {
    std::u16string name = QvLibrary::Trim(QvLibrary::GetItemText(dialog, kCategoryName));
    if (name.empty() || name == app.LoadString(kStrAllCategory)) return std::nullopt;
    return name;
}

INT_PTR CALLBACK CategoryProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* context = KeepContext<CategoryContext>(dialog, lp);
            ::SetDlgItemTextW(dialog, kCategoryName, Wide(*context->oldName));
            ::SendDlgItemMessageW(dialog, kCategoryName, EM_SETSEL, 0, -1);
            Enable(dialog, IDOK, CategoryNameOf(dialog, *context->app).has_value());
            QvLibrary::CentreOnParent(dialog);
            ::SetFocus(::GetDlgItem(dialog, kCategoryName));
            return FALSE;
        }
        case WM_COMMAND: {
            auto* context = Context<CategoryContext>(dialog);
            switch (LOWORD(wp)) {
                case kCategoryName:
                    if (HIWORD(wp) == EN_CHANGE)
                        Enable(dialog, IDOK, CategoryNameOf(dialog, *context->app).has_value());
                    return TRUE;
                case IDOK: {
                    const auto name = CategoryNameOf(dialog, *context->app);
                    if (!name) return TRUE;  // Enter with nothing that names a category
                    context->result = *name;
                    ::EndDialog(dialog, IDOK);
                    return TRUE;
                }
                case IDCANCEL:
                    ::EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        default:
            return FALSE;
    }
}

// ---------------------------------------------------------------------------
// Customize Columns.

struct ColumnsContext {
    const QvLibrary::QvApp* app;
    std::vector<std::uint8_t>* columns;
};

// "-->" only with a selection among the available columns; "<--", Up and
// Down only with one among the displayed. A button that loses its enabling
// while it has the focus hands the focus to its list.
void UpdateColumnButtons(HWND dialog) {
    const bool available = ListSelection(dialog, kColumnsAvailable) >= 0;
    const bool displayed = ListSelection(dialog, kColumnsDisplayed) >= 0;
    const HWND focus = ::GetFocus();
    const std::pair<int, bool> buttons[] = {
            {kColumnsShow, available}, {kColumnsHide, displayed}, {kColumnsUp, displayed}, {kColumnsDown, displayed}};
    for (const auto& [id, on] : buttons) {
        if (!on && focus == ::GetDlgItem(dialog, id))
            ::SetFocus(::GetDlgItem(dialog, id == kColumnsShow ? kColumnsAvailable : kColumnsDisplayed));
        Enable(dialog, id, on);
    }
}

// Moves the selected item of one list to the end of the other. The item
// that takes its place stays selected, so that repeated moves go on down
// the list.
void MoveColumn(HWND dialog, int from, int to) {
    const int index = ListSelection(dialog, from);
    if (index < 0) return;
    const std::u16string text = ListText(dialog, from, index);
    const LPARAM id = ListMessage(dialog, from, LB_GETITEMDATA, static_cast<WPARAM>(index));
    ListMessage(dialog, from, LB_DELETESTRING, static_cast<WPARAM>(index));
    ListInsert(dialog, to, -1, text, id);
    ListMessage(dialog, to, LB_SETCURSEL, static_cast<WPARAM>(-1));
    const int count = ListCount(dialog, from);
    ListMessage(dialog, from, LB_SETCURSEL, static_cast<WPARAM>(count == 0 ? -1 : std::min(index, count - 1)));
    UpdateColumnButtons(dialog);
}

// Moves the selected displayed column one place up (-1) or down (+1).
void ShiftColumn(HWND dialog, int step) {
    const int index = ListSelection(dialog, kColumnsDisplayed);
    const int target = index + step;
    if (index < 0 || target < 0 || target >= ListCount(dialog, kColumnsDisplayed)) return;
    const std::u16string text = ListText(dialog, kColumnsDisplayed, index);
    const LPARAM id = ListMessage(dialog, kColumnsDisplayed, LB_GETITEMDATA, static_cast<WPARAM>(index));
    ListMessage(dialog, kColumnsDisplayed, LB_DELETESTRING, static_cast<WPARAM>(index));
    const int at = ListInsert(dialog, kColumnsDisplayed, target, text, id);
    ListMessage(dialog, kColumnsDisplayed, LB_SETCURSEL, static_cast<WPARAM>(at));
    UpdateColumnButtons(dialog);
}

void FillColumns(HWND dialog, const QvLibrary::QvApp& app, const std::vector<std::uint8_t>& columns) {
    bool shown[kFieldCount] = {};
    // A stored list may name a column twice or name no field: each field
    // is displayed once.
    for (const std::uint8_t id : columns) {
        if (id >= kFieldCount || shown[id]) continue;
        shown[id] = true;
        ListInsert(dialog, kColumnsDisplayed, -1, app.LoadString(kStrFieldCaption + id), id);
    }
    for (int id = 0; id < kFieldCount; ++id) {
        if (!shown[id]) ListInsert(dialog, kColumnsAvailable, -1, app.LoadString(kStrFieldCaption + id), id);
    }
}

INT_PTR CALLBACK ColumnsProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* context = KeepContext<ColumnsContext>(dialog, lp);
            FillColumns(dialog, *context->app, *context->columns);
            UpdateColumnButtons(dialog);
            QvLibrary::CentreOnParent(dialog);
            return TRUE;
        }
        case WM_COMMAND: {
            auto* context = Context<ColumnsContext>(dialog);
            const int code = HIWORD(wp);
            switch (LOWORD(wp)) {
                case kColumnsAvailable:
                    if (code == LBN_SELCHANGE) {
                        ListMessage(dialog, kColumnsDisplayed, LB_SETCURSEL, static_cast<WPARAM>(-1));
                        UpdateColumnButtons(dialog);
                    } else if (code == LBN_DBLCLK) {
                        MoveColumn(dialog, kColumnsAvailable, kColumnsDisplayed);
                    }
                    return TRUE;
                case kColumnsDisplayed:
                    if (code == LBN_SELCHANGE) {
                        ListMessage(dialog, kColumnsAvailable, LB_SETCURSEL, static_cast<WPARAM>(-1));
                        UpdateColumnButtons(dialog);
                    } else if (code == LBN_DBLCLK) {
                        MoveColumn(dialog, kColumnsDisplayed, kColumnsAvailable);
                    }
                    return TRUE;
                case kColumnsShow:
                    MoveColumn(dialog, kColumnsAvailable, kColumnsDisplayed);
                    return TRUE;
                case kColumnsHide:
                    MoveColumn(dialog, kColumnsDisplayed, kColumnsAvailable);
                    return TRUE;
                case kColumnsUp:
                    ShiftColumn(dialog, -1);
                    return TRUE;
                case kColumnsDown:
                    ShiftColumn(dialog, +1);
                    return TRUE;
                case IDOK: {
                    const int count = ListCount(dialog, kColumnsDisplayed);
                    if (count <= 0) {
                        Warn(*context->app, dialog, kStrNoColumns);
                        return TRUE;
                    }
                    context->columns->clear();
                    for (int i = 0; i < count; ++i) {
                        context->columns->push_back(static_cast<std::uint8_t>(
                                ListMessage(dialog, kColumnsDisplayed, LB_GETITEMDATA, static_cast<WPARAM>(i))));
                    }
                    ::EndDialog(dialog, IDOK);
                    return TRUE;
                }
                case IDCANCEL:
                    ::EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        default:
            return FALSE;
    }
}

// ---------------------------------------------------------------------------
// Change Category.

struct ChooseContext {
    const std::vector<std::u16string>* categories;
    std::vector<std::u16string>* chosen;
};

INT_PTR CALLBACK ChooseProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* context = KeepContext<ChooseContext>(dialog, lp);
            for (std::size_t i = 0; i < context->categories->size(); ++i) {
                const std::u16string& name = (*context->categories)[i];
                const int at = ListInsert(dialog, kChangeCategoryList, -1, name, static_cast<LPARAM>(i));
                const bool on =
                        std::find(context->chosen->begin(), context->chosen->end(), name) != context->chosen->end();
                if (at >= 0 && on) ListMessage(dialog, kChangeCategoryList, LB_SETSEL, TRUE, at);
            }
            QvLibrary::CentreOnParent(dialog);
            return TRUE;
        }
        case WM_COMMAND: {
            auto* context = Context<ChooseContext>(dialog);
            switch (LOWORD(wp)) {
                case IDOK: {
                    context->chosen->clear();
                    const int count = ListCount(dialog, kChangeCategoryList);
                    for (int i = 0; i < count; ++i) {
                        if (ListMessage(dialog, kChangeCategoryList, LB_GETSEL, static_cast<WPARAM>(i)) <= 0) continue;
                        const auto index = static_cast<std::size_t>(
                                ListMessage(dialog, kChangeCategoryList, LB_GETITEMDATA, static_cast<WPARAM>(i)));
                        if (index < context->categories->size())
                            context->chosen->push_back((*context->categories)[index]);
                    }
                    ::EndDialog(dialog, IDOK);
                    return TRUE;
                }
                case IDCANCEL:
                    ::EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        default:
            return FALSE;
    }
}

// ---------------------------------------------------------------------------
// Export.

struct ExportContext {
    const QvLibrary::QvApp* app;
    const Catalog* catalog;
    Settings* settings;
    ExportOptions options;
};

// The CSV choices apply only to a CSV file; any other name is markup, which
// always holds all data.
void UpdateExportChoices(HWND dialog) {
    const bool csv = IsCsvPath(QvLibrary::GetItemText(dialog, kExportPath));
    for (const int id : {kExportAllData, kExportSelectedColumns, kExportUnicode}) Enable(dialog, id, csv);
    if (!csv) ::CheckRadioButton(dialog, kExportAllData, kExportSelectedColumns, kExportAllData);
}

void ChooseExportFile(HWND dialog, ExportContext& context) {
    QvLibrary::FileChooser chooser(*context.app);
    chooser.AddFilter(u"Comma Separated Value Files (*.csv)", u"*.csv");
    chooser.AddFilter(u"XML Files (*.xml)", u"*.xml");
    chooser.SetDefaultExtension(u"xml");
    chooser.SetFileName(context.app->Name());
    const std::u16string lastPath = context.settings->lastPath;
    if (!lastPath.empty()) chooser.SetInitialFolder(std::u16string(platform::FolderPart(lastPath)));
    const auto chosen = chooser.Save();
    if (!chosen) return;
    {
        // A background save may be reading the settings.
        QvLibrary::CatalogLock lock(*context.app);
        context.settings->lastPath = *chosen;
    }
    ::SetDlgItemTextW(dialog, kExportPath, Wide(*chosen));
    UpdateExportChoices(dialog);
}

INT_PTR CALLBACK ExportProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* context = KeepContext<ExportContext>(dialog, lp);
            ::CheckRadioButton(dialog, kExportAllData, kExportSelectedColumns, kExportAllData);
            Check(dialog, kExportUnicode, context->options.preserveUnicode);
            Check(dialog, kExportPictures, context->options.exportPictures);
            HWND list = ::GetDlgItem(dialog, kExportCategory);
            const std::u16string all = context->app->LoadString(kStrAllCategory);
            ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(all.c_str()));
            for (const std::u16string& name : context->catalog->categories)
                ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
            ::SendMessageW(list, CB_SETCURSEL, 0, 0);
            ::SendDlgItemMessageW(dialog, kExportPath, EM_LIMITTEXT, QvLibrary::FileChooser::kFileNameCapacity - 1, 0);
            UpdateExportChoices(dialog);
            QvLibrary::CentreOnParent(dialog);
            return TRUE;
        }
        case WM_COMMAND: {
            auto* context = Context<ExportContext>(dialog);
            switch (LOWORD(wp)) {
                case kExportPath:
                    if (HIWORD(wp) == EN_CHANGE) UpdateExportChoices(dialog);
                    return TRUE;
                case kExportBrowse:
                    ChooseExportFile(dialog, *context);
                    return TRUE;
                case IDOK: {
                    ExportOptions& options = context->options;
                    options.path = QvLibrary::Trim(QvLibrary::GetItemText(dialog, kExportPath));
                    if (options.path.empty()) {
                        ::EndDialog(dialog, IDCANCEL);
                        return TRUE;
                    }
                    const LRESULT index = ::SendDlgItemMessageW(dialog, kExportCategory, CB_GETCURSEL, 0, 0);
                    options.category = context->app->LoadString(kStrAllCategory);
                    if (index > 0 && static_cast<std::size_t>(index) <= context->catalog->categories.size())
                        options.category = context->catalog->categories[static_cast<std::size_t>(index) - 1];
                    options.exportPictures = Checked(dialog, kExportPictures);
                    const bool csv = IsCsvPath(options.path);
                    options.allData = !csv || Checked(dialog, kExportAllData);
                    options.preserveUnicode = !csv || Checked(dialog, kExportUnicode);
                    ::EndDialog(dialog, IDOK);
                    return TRUE;
                }
                case IDCANCEL:
                    ::EndDialog(dialog, IDCANCEL);
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        default:
            return FALSE;
    }
}

}  // namespace

void ShowAboutDialog(const QvLibrary::QvApp& app, HWND owner) {
    app.RunDialog(owner, kAboutDialog, AboutProc, reinterpret_cast<LPARAM>(&app));
}

std::optional<std::u16string> AskCategoryName(const QvLibrary::QvApp& app, HWND owner, const std::u16string& oldName) {
    CategoryContext context{&app, &oldName, {}};
    if (!app.RunDialog(owner, kCategoryDialog, CategoryProc, reinterpret_cast<LPARAM>(&context))) return std::nullopt;
    return context.result;
}

bool CustomizeColumns(const QvLibrary::QvApp& app, HWND owner, std::vector<std::uint8_t>& columns) {
    std::vector<std::uint8_t> edited = columns;
    ColumnsContext context{&app, &edited};
    if (!app.RunDialog(owner, kColumnsDialog, ColumnsProc, reinterpret_cast<LPARAM>(&context))) return false;
    columns = std::move(edited);
    return true;
}

bool ChooseCategories(const QvLibrary::QvApp& app, HWND owner, const std::vector<std::u16string>& categories,
                      std::vector<std::u16string>& chosen) {
    std::vector<std::u16string> selection = chosen;
    ChooseContext context{&categories, &selection};
    if (!app.RunDialog(owner, kChangeCategoryDialog, ChooseProc, reinterpret_cast<LPARAM>(&context))) return false;
    chosen = std::move(selection);
    return true;
}

std::optional<ExportOptions> AskExportOptions(const QvLibrary::QvApp& app, HWND owner, const Catalog& catalog,
                                              Settings& settings) {
    ExportContext context{&app, &catalog, &settings, {}};
    if (!app.RunDialog(owner, kExportDialog, ExportProc, reinterpret_cast<LPARAM>(&context))) return std::nullopt;
    return context.options;
}

bool RunExport(const QvLibrary::QvApp& app, HWND owner, DataFile& file, QvLibrary::ProgressDialog& progress) {
    if (file.catalog == nullptr || file.settings == nullptr) return false;
    const auto options = AskExportOptions(app, owner, *file.catalog, *file.settings);
    if (!options) return false;
    bool exported = false;
    const bool ran = progress.Run(owner, kStrSavingTitle, [&](QvLibrary::ProgressDialog& job) {
        {
            QvLibrary::CatalogLock lock(app);
            exported = ExportCatalog(file, *options, [&job](int percent) { job.SetProgress(percent); });
        }
        job.Finish(!exported);
    });
    // ExportCatalog tells the data file's user itself; without one the
    // warning comes from here.
    if (!exported && file.user == nullptr) Warn(app, owner ? owner : app.MainWindow(), kStrSaveFailed);
    return ran && exported;
}

}  // namespace kodrin::app
