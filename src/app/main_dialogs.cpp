#include "app/main_dialogs.h"

#include <algorithm>

#include "catalog/catalog.h"
#include "catalog/exchange.h"
#include "catalog/record.h"
#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/file_chooser.h"
#include "framework/helpers.h"
#include "framework/progress_dialog.h"
#include "framework/wide.h"
#include "platform/files.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::app {

namespace {

constexpr int kStrTitle = STR_TITLE;          // "Kodrin": caption of message boxes
constexpr int kStrFieldCaption = 6000;   // + FieldId

using QvLibrary::Wide;

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

class AboutDialog final : public QvLibrary::Dialog {
public:
    explicit AboutDialog(const QvLibrary::QvApp& app) : app_(app) {}

private:
    INT_PTR Init(HWND dialog) override {
        std::u16string product, version, value;
        if (!app_.GetVersionInfo(u"ProductName", product) || product.empty()) product = app_.Title();
        if (app_.GetVersionString(version)) product += u" " + version;
        ::SetDlgItemTextW(dialog, IDC_ABOUT_LINE1, Wide(product));
        const std::pair<int, const char16_t*> lines[] = {
                {IDC_ABOUT_LINE2, u"FileDescription"}, {IDC_ABOUT_LINE3, u"LegalCopyright"},
                {IDC_ABOUT_LINE4, u"CompanyName"}};
        for (const auto& [id, key] : lines) {
            value.clear();
            if (!app_.GetVersionInfo(key, value)) value.clear();
            ::SetDlgItemTextW(dialog, id, Wide(value));
        }
        QvLibrary::CentreOnParent(dialog);
        return TRUE;
    }
    bool Command(HWND, WORD id, WORD) override {
        if (id != IDC_ABOUT_HOME_PAGE) return false;
        const std::u16string address = app_.LoadString(kStrHomePageAddress);
        if (!address.empty()) app_.OpenDocument(address);
        return true;
    }

    const QvLibrary::QvApp& app_;
};

// ---------------------------------------------------------------------------
// Category name.

// The trimmed name, or nothing when it cannot name a category.
std::optional<std::u16string> CategoryNameOf(HWND dialog, const QvLibrary::QvApp& app) {
    std::u16string name = QvLibrary::Trim(QvLibrary::GetItemText(dialog, IDC_CATEGORY_NAME));
    if (name.empty() || name == app.LoadString(kStrAllCategory)) return std::nullopt;
    return name;
}

class CategoryDialog final : public QvLibrary::Dialog {
public:
    CategoryDialog(const QvLibrary::QvApp& app, const std::u16string& oldName) : app_(app), oldName_(oldName) {}
    std::u16string result;

private:
    INT_PTR Init(HWND dialog) override {
        ::SetDlgItemTextW(dialog, IDC_CATEGORY_NAME, Wide(oldName_));
        ::SendDlgItemMessageW(dialog, IDC_CATEGORY_NAME, EM_SETSEL, 0, -1);
        Enable(dialog, IDOK, CategoryNameOf(dialog, app_).has_value());
        QvLibrary::CentreOnParent(dialog);
        ::SetFocus(::GetDlgItem(dialog, IDC_CATEGORY_NAME));
        return FALSE;
    }
    bool Command(HWND dialog, WORD id, WORD notification) override {
        if (id != IDC_CATEGORY_NAME) return false;
        if (notification == EN_CHANGE) Enable(dialog, IDOK, CategoryNameOf(dialog, app_).has_value());
        return true;
    }
    bool Ok(HWND dialog) override {
        const auto name = CategoryNameOf(dialog, app_);
        if (!name) return false;  // Enter with nothing that names a category
        result = *name;
        return true;
    }

    const QvLibrary::QvApp& app_;
    const std::u16string& oldName_;
};

// ---------------------------------------------------------------------------
// Customize Columns.

// "-->" only with a selection among the available columns; "<--", Up and
// Down only with one among the displayed. A button that loses its enabling
// while it has the focus hands the focus to its list.
void UpdateColumnButtons(HWND dialog) {
    const bool available = ListSelection(dialog, IDC_COLUMNS_AVAILABLE) >= 0;
    const bool displayed = ListSelection(dialog, IDC_COLUMNS_DISPLAYED) >= 0;
    const HWND focus = ::GetFocus();
    const std::pair<int, bool> buttons[] = {
            {IDC_COLUMNS_ADD, available}, {IDC_COLUMNS_REMOVE, displayed}, {IDC_COLUMNS_UP, displayed}, {IDC_COLUMNS_DOWN, displayed}};
    for (const auto& [id, on] : buttons) {
        if (!on && focus == ::GetDlgItem(dialog, id))
            ::SetFocus(::GetDlgItem(dialog, id == IDC_COLUMNS_ADD ? IDC_COLUMNS_AVAILABLE : IDC_COLUMNS_DISPLAYED));
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
    const int index = ListSelection(dialog, IDC_COLUMNS_DISPLAYED);
    const int target = index + step;
    if (index < 0 || target < 0 || target >= ListCount(dialog, IDC_COLUMNS_DISPLAYED)) return;
    const std::u16string text = ListText(dialog, IDC_COLUMNS_DISPLAYED, index);
    const LPARAM id = ListMessage(dialog, IDC_COLUMNS_DISPLAYED, LB_GETITEMDATA, static_cast<WPARAM>(index));
    ListMessage(dialog, IDC_COLUMNS_DISPLAYED, LB_DELETESTRING, static_cast<WPARAM>(index));
    const int at = ListInsert(dialog, IDC_COLUMNS_DISPLAYED, target, text, id);
    ListMessage(dialog, IDC_COLUMNS_DISPLAYED, LB_SETCURSEL, static_cast<WPARAM>(at));
    UpdateColumnButtons(dialog);
}

void FillColumns(HWND dialog, const QvLibrary::QvApp& app, const std::vector<std::uint8_t>& columns) {
    bool shown[kFieldCount] = {};
    // A stored list may name a column twice or name no field: each field
    // is displayed once.
    for (const std::uint8_t id : columns) {
        if (id >= kFieldCount || shown[id]) continue;
        shown[id] = true;
        ListInsert(dialog, IDC_COLUMNS_DISPLAYED, -1, app.LoadString(kStrFieldCaption + id), id);
    }
    for (int id = 0; id < kFieldCount; ++id) {
        if (!shown[id]) ListInsert(dialog, IDC_COLUMNS_AVAILABLE, -1, app.LoadString(kStrFieldCaption + id), id);
    }
}

class ColumnsDialog final : public QvLibrary::Dialog {
public:
    ColumnsDialog(const QvLibrary::QvApp& app, std::vector<std::uint8_t>& columns) : app_(app), columns_(columns) {}

private:
    INT_PTR Init(HWND dialog) override {
        FillColumns(dialog, app_, columns_);
        UpdateColumnButtons(dialog);
        QvLibrary::CentreOnParent(dialog);
        return TRUE;
    }
    bool Command(HWND dialog, WORD id, WORD code) override {
        switch (id) {
            case IDC_COLUMNS_AVAILABLE:
                if (code == LBN_SELCHANGE) {
                    ListMessage(dialog, IDC_COLUMNS_DISPLAYED, LB_SETCURSEL, static_cast<WPARAM>(-1));
                    UpdateColumnButtons(dialog);
                } else if (code == LBN_DBLCLK) {
                    MoveColumn(dialog, IDC_COLUMNS_AVAILABLE, IDC_COLUMNS_DISPLAYED);
                }
                return true;
            case IDC_COLUMNS_DISPLAYED:
                if (code == LBN_SELCHANGE) {
                    ListMessage(dialog, IDC_COLUMNS_AVAILABLE, LB_SETCURSEL, static_cast<WPARAM>(-1));
                    UpdateColumnButtons(dialog);
                } else if (code == LBN_DBLCLK) {
                    MoveColumn(dialog, IDC_COLUMNS_DISPLAYED, IDC_COLUMNS_AVAILABLE);
                }
                return true;
            case IDC_COLUMNS_ADD:
                MoveColumn(dialog, IDC_COLUMNS_AVAILABLE, IDC_COLUMNS_DISPLAYED);
                return true;
            case IDC_COLUMNS_REMOVE:
                MoveColumn(dialog, IDC_COLUMNS_DISPLAYED, IDC_COLUMNS_AVAILABLE);
                return true;
            case IDC_COLUMNS_UP:
                ShiftColumn(dialog, -1);
                return true;
            case IDC_COLUMNS_DOWN:
                ShiftColumn(dialog, +1);
                return true;
            default:
                return false;
        }
    }
    bool Ok(HWND dialog) override {
        const int count = ListCount(dialog, IDC_COLUMNS_DISPLAYED);
        if (count <= 0) {
            Warn(app_, dialog, kStrNoColumns);
            return false;
        }
        columns_.clear();
        for (int i = 0; i < count; ++i) {
            columns_.push_back(static_cast<std::uint8_t>(
                    ListMessage(dialog, IDC_COLUMNS_DISPLAYED, LB_GETITEMDATA, static_cast<WPARAM>(i))));
        }
        return true;
    }

    const QvLibrary::QvApp& app_;
    std::vector<std::uint8_t>& columns_;
};

// ---------------------------------------------------------------------------
// Change Category.

class ChooseDialog final : public QvLibrary::Dialog {
public:
    ChooseDialog(const std::vector<std::u16string>& categories, std::vector<std::u16string>& chosen)
        : categories_(categories), chosen_(chosen) {}

private:
    INT_PTR Init(HWND dialog) override {
        for (std::size_t i = 0; i < categories_.size(); ++i) {
            const std::u16string& name = categories_[i];
            const int at = ListInsert(dialog, IDC_CHANGE_CATEGORY_LIST, -1, name, static_cast<LPARAM>(i));
            const bool on = std::find(chosen_.begin(), chosen_.end(), name) != chosen_.end();
            if (at >= 0 && on) ListMessage(dialog, IDC_CHANGE_CATEGORY_LIST, LB_SETSEL, TRUE, at);
        }
        QvLibrary::CentreOnParent(dialog);
        return TRUE;
    }
    bool Ok(HWND dialog) override {
        chosen_.clear();
        const int count = ListCount(dialog, IDC_CHANGE_CATEGORY_LIST);
        for (int i = 0; i < count; ++i) {
            if (ListMessage(dialog, IDC_CHANGE_CATEGORY_LIST, LB_GETSEL, static_cast<WPARAM>(i)) <= 0) continue;
            const auto index = static_cast<std::size_t>(
                    ListMessage(dialog, IDC_CHANGE_CATEGORY_LIST, LB_GETITEMDATA, static_cast<WPARAM>(i)));
            if (index < categories_.size()) chosen_.push_back(categories_[index]);
        }
        return true;
    }

    const std::vector<std::u16string>& categories_;
    std::vector<std::u16string>& chosen_;
};

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
    const bool csv = IsCsvPath(QvLibrary::GetItemText(dialog, IDC_EXPORT_FILE));
    for (const int id : {IDC_EXPORT_ALL_DATA, IDC_EXPORT_SELECTED_COLUMNS, IDC_EXPORT_UNICODE}) Enable(dialog, id, csv);
    if (!csv) ::CheckRadioButton(dialog, IDC_EXPORT_ALL_DATA, IDC_EXPORT_SELECTED_COLUMNS, IDC_EXPORT_ALL_DATA);
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
    ::SetDlgItemTextW(dialog, IDC_EXPORT_FILE, Wide(*chosen));
    UpdateExportChoices(dialog);
}

class ExportDialog final : public QvLibrary::Dialog {
public:
    explicit ExportDialog(ExportContext context) : context_(std::move(context)) {}
    const ExportOptions& Options() const { return context_.options; }

private:
    INT_PTR Init(HWND dialog) override {
        ::CheckRadioButton(dialog, IDC_EXPORT_ALL_DATA, IDC_EXPORT_SELECTED_COLUMNS, IDC_EXPORT_ALL_DATA);
        Check(dialog, IDC_EXPORT_UNICODE, context_.options.preserveUnicode);
        Check(dialog, IDC_EXPORT_PICTURES, context_.options.exportPictures);
        HWND list = ::GetDlgItem(dialog, IDC_EXPORT_CATEGORY);
        const std::u16string all = context_.app->LoadString(kStrAllCategory);
        ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(all.c_str()));
        for (const std::u16string& name : context_.catalog->categories)
            ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        ::SendMessageW(list, CB_SETCURSEL, 0, 0);
        ::SendDlgItemMessageW(dialog, IDC_EXPORT_FILE, EM_LIMITTEXT, QvLibrary::FileChooser::kFileNameCapacity - 1, 0);
        UpdateExportChoices(dialog);
        QvLibrary::CentreOnParent(dialog);
        return TRUE;
    }
    bool Command(HWND dialog, WORD id, WORD notification) override {
        switch (id) {
            case IDC_EXPORT_FILE:
                if (notification == EN_CHANGE) UpdateExportChoices(dialog);
                return true;
            case IDC_EXPORT_BROWSE:
                ChooseExportFile(dialog, context_);
                return true;
            default:
                return false;
        }
    }
    bool Ok(HWND dialog) override {
        ExportOptions& options = context_.options;
        options.path = QvLibrary::Trim(QvLibrary::GetItemText(dialog, IDC_EXPORT_FILE));
        if (options.path.empty()) {
            End(IDCANCEL);
            return false;
        }
        const LRESULT index = ::SendDlgItemMessageW(dialog, IDC_EXPORT_CATEGORY, CB_GETCURSEL, 0, 0);
        options.category = context_.app->LoadString(kStrAllCategory);
        if (index > 0 && static_cast<std::size_t>(index) <= context_.catalog->categories.size())
            options.category = context_.catalog->categories[static_cast<std::size_t>(index) - 1];
        options.exportPictures = Checked(dialog, IDC_EXPORT_PICTURES);
        const bool csv = IsCsvPath(options.path);
        options.allData = !csv || Checked(dialog, IDC_EXPORT_ALL_DATA);
        options.preserveUnicode = !csv || Checked(dialog, IDC_EXPORT_UNICODE);
        return true;
    }

    ExportContext context_;
};

}  // namespace

void ShowAboutDialog(const QvLibrary::QvApp& app, HWND owner) {
    AboutDialog dialog(app);
    dialog.Run(app, owner, DLG_ABOUT);
}

std::optional<std::u16string> AskCategoryName(const QvLibrary::QvApp& app, HWND owner, const std::u16string& oldName) {
    CategoryDialog dialog(app, oldName);
    if (!dialog.Run(app, owner, DLG_CATEGORY)) return std::nullopt;
    return dialog.result;
}

bool CustomizeColumns(const QvLibrary::QvApp& app, HWND owner, std::vector<std::uint8_t>& columns) {
    std::vector<std::uint8_t> edited = columns;
    ColumnsDialog dialog(app, edited);
    if (!dialog.Run(app, owner, DLG_COLUMNS)) return false;
    columns = std::move(edited);
    return true;
}

bool ChooseCategories(const QvLibrary::QvApp& app, HWND owner, const std::vector<std::u16string>& categories,
                      std::vector<std::u16string>& chosen) {
    std::vector<std::u16string> selection = chosen;
    ChooseDialog dialog(categories, selection);
    if (!dialog.Run(app, owner, DLG_CHANGE_CATEGORY)) return false;
    chosen = std::move(selection);
    return true;
}

std::optional<ExportOptions> AskExportOptions(const QvLibrary::QvApp& app, HWND owner, const Catalog& catalog,
                                              Settings& settings) {
    ExportDialog dialog(ExportContext{&app, &catalog, &settings, {}});
    if (!dialog.Run(app, owner, DLG_EXPORT)) return std::nullopt;
    return dialog.Options();
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
