// What the main window shows: the layout, the category tabs, the list with
// its columns, sorting and row colours, the details pane, the status bar,
// the toolbar's answers to its customise dialog and tooltips, and which
// commands are on.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "app/main_window.h"
#include "catalog/dates.h"
#include "catalog/strings.h"
#include "framework/helpers.h"
#include "framework/wide.h"
#include "platform/files.h"
#include "string_ids.h"

namespace kodrin::app {

namespace {

using QvLibrary::CatalogLock;

constexpr int kStrRegistrationEmail = STR_REGISTRATION_EMAIL;
constexpr int kStrReadOnlyStatus = STR_READ_ONLY_STATUS;
constexpr int kStrShowHidden = STR_SHOW_HIDDEN;
constexpr int kStrHideHidden = STR_HIDE_HIDDEN;
constexpr int kFirstButtonText = 6200;
constexpr int kFirstToolTip = 20901;
constexpr int kShowHiddenCommand = 3601;
constexpr int kRestoreCommand = 3210;
constexpr int kMaxDetailLabels = kLastDetailLabel - kFirstDetailLabel + 1;
constexpr int kLabelHeight = 30;
constexpr int kLabelStep = 40;
constexpr int kMinLabelPaneWidth = 40;
constexpr int kMaxStoredColumnWidth = 4000;
constexpr std::size_t kToolTipCapacity = 80;

using QvLibrary::Wide;

bool IsToolbarCommand(int id) {
    const CommandInfo* command = FindCommandInfo(id);
    return command != nullptr && command->button >= 0;
}

// Copies text into a fixed buffer of capacity units, cut and terminated.
template <typename Char>
void CopyCut(const std::u16string& text, Char* buffer, std::size_t capacity) {
    if (buffer == nullptr || capacity == 0) return;
    const std::size_t length = std::min(text.size(), capacity - 1);
    for (std::size_t i = 0; i < length; ++i) {
        // The 8-bit forms keep the low byte of each unit.
        buffer[i] = static_cast<Char>(text[i]);
    }
    buffer[length] = 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Layout.

void MainWindow::Layout() {
    RECT client{};
    if (!::GetClientRect(window_, &client)) return;
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    const int top = toolbar_->ButtonCount() > 0 ? 45 : 5;
    const int status = status_->Height();
    const int left = width - settings_.splitter;
    const int stripHeight = std::max(0, height - status - top - 5);

    tabs_->Move(10, top, std::max(0, left), stripHeight);
    if (HWND splitter = splitter_->Handle()) {
        ::SetWindowPos(splitter, nullptr, left + 10, top, 5, stripHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    details_ = RECT{left + 15, top + 25, width - 15, top + 125};
    picturePane_ = RECT{left + 15, top + 22, width - 5, height - status};
    picture_.SetPlace(picturePane_.left, picturePane_.top, std::max(0, static_cast<int>(picturePane_.right - picturePane_.left)),
                      std::max(0, static_cast<int>(picturePane_.bottom - picturePane_.top) - 5));
    list_->Move(20, top + 38, std::max(0, left - 20), std::max(0, tabs_->GetHeight() - 43));
    RebuildDetails();
}

void MainWindow::OnSplitterMoved(int x) {
    RECT client{};
    ::GetClientRect(window_, &client);
    session_->Change(Refresh::None, Save::None, [&](Catalog&, Settings& settings) {
        settings.splitter = std::max(20, static_cast<int>(client.right - client.left) - x);
    });
    Layout();
    ::InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::RefreshAll() {
    status_->Show(!settings_.hideStatus);
    Layout();
    SetupColumns();
    FillTabs();
    UpdateStatus();
    RenameHiddenItemsCommand();
    UpdateEnabling();
    ::InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::ShowAgain(Refresh what) {
    if (Has(what, Refresh::Layout)) {
        status_->Show(!settings_.hideStatus);
        Layout();
    }
    if (Has(what, Refresh::Columns)) SetupColumns();
    if (Has(what, Refresh::Tabs)) FillTabs();
    if (Has(what, Refresh::List)) FillList(currentCategory_);
    if (Has(what, Refresh::Rows)) {
        for (const std::int32_t id : SelectedIds()) UpdateRow(id);
    }
    if (Has(what, Refresh::Details)) RebuildDetails();
    if (Has(what, Refresh::Status)) UpdateStatus();
    if (Has(what, Refresh::Enabling)) {
        RenameHiddenItemsCommand();
        UpdateEnabling();
    }
    if (Has(what, Refresh::Layout)) ::InvalidateRect(window_, nullptr, TRUE);
}

void MainWindow::ApplyToolbarLayout() {
    toolbar_->ApplyLayout(settings_.toolbar);
    Layout();
    if (Started()) UpdateEnabling();
}

// ---------------------------------------------------------------------------
// Tabs and list.

bool MainWindow::IsAllCategory() const { return currentCategory_ == LoadString(kStrAllCategory); }

void MainWindow::FillTabs() {
    const std::u16string all = LoadString(kStrAllCategory);
    tabs_->DeleteAllTabs();
    tabs_->InsertTab(0, 0, all);
    for (std::size_t i = 0; i < catalog_.categories.size(); ++i) {
        tabs_->InsertTab(static_cast<int>(i) + 1, static_cast<std::uint32_t>(i) + 1, catalog_.categories[i]);
    }
    int select = 0;
    const std::u16string& wanted = settings_.curCategory;
    if (wanted != all) {
        const auto it = std::find(catalog_.categories.begin(), catalog_.categories.end(), wanted);
        if (it != catalog_.categories.end()) {
            select = static_cast<int>(it - catalog_.categories.begin()) + 1;
        } else if (!catalog_.categories.empty()) {
            select = 1;
        }
    }
    // The strip tells this window, which fills the list for the tab.
    tabs_->SelectTab(select);
}

void MainWindow::OnTabChanged() {
    currentCategory_ = tabs_->CurrentText();
    FillList(currentCategory_);
    RebuildDetails();
    UpdateStatus();
    UpdateEnabling();
}

void MainWindow::SetupColumns() {
    const int count = static_cast<int>(settings_.cols.size());
    const int listWidth = list_->GetWidth();
    for (int i = 0; i < count; ++i) {
        const int field = settings_.cols[static_cast<std::size_t>(i)];
        std::u16string caption;
        if (field >= FieldId::Custom1 && field <= FieldId::Custom3) {
            caption = settings_.captions[static_cast<std::size_t>(field - FieldId::Custom1)];
        } else {
            caption = LoadString(kFieldCaptionBase + field);
        }
        int width = -1;
        if (field >= 0 && static_cast<std::size_t>(field) < settings_.colWidths.size()) {
            width = settings_.colWidths[static_cast<std::size_t>(field)];
        }
        if (width < 0 || width > kMaxStoredColumnWidth) width = (listWidth - count) / count;
        const bool numeric = field >= FieldId::PurchasePrice && field <= FieldId::SortOrder;
        list_->SetColumn(i, LVCFMT_LEFT, width, caption, numeric);
    }
    while (list_->ColumnCount() > count) {
        if (!list_->DeleteColumn(list_->ColumnCount() - 1)) break;
    }
}

void MainWindow::FillList(const std::u16string& category) {
    const std::u16string all = LoadString(kStrAllCategory);
    std::u16string name = category;
    if (name != all && !catalog_.categories.empty() &&
        std::find(catalog_.categories.begin(), catalog_.categories.end(), name) == catalog_.categories.end()) {
        name = catalog_.categories.front();
    }
    currentCategory_ = name;
    {
        CatalogLock lock(*this);
        settings_.curCategory = name;
    }
    labels_.clear();
    labelTexts_.clear();
    filling_ = true;
    // The list holds the record ids; its cells are read from the catalog
    // when shown. Each row used to be inserted at the top, so the rows come
    // last record first, which is the order equal rows keep in a sort.
    const auto& records = catalog_.records;
    IndexRecords();
    std::vector<std::uint32_t> rows;
    rows.reserve(records.size());
    for (std::size_t i = records.size(); i-- > 0;) {
        const ApplicationRecord& record = records[i];
        if (!InCategory(name, record)) continue;
        if (record.hide && !settings_.showHidden) continue;
        rows.push_back(static_cast<std::uint32_t>(record.recordId));
    }
    list_->SetRows(std::move(rows));
    list_->SetSortState(settings_.sortCol, settings_.sortReverse);
    list_->Sort(-1);
    filling_ = false;
}

void MainWindow::IndexRecords() {
    const auto& records = catalog_.records;
    std::int32_t highest = 0;
    for (const ApplicationRecord& record : records) highest = std::max(highest, record.recordId);
    // Ids are given out one after the other; should they ever lie far
    // apart, the records are looked up one by one instead.
    if (static_cast<std::size_t>(highest) > 4 * records.size() + 65536) {
        recordIndex_.clear();
        return;
    }
    recordIndex_.assign(static_cast<std::size_t>(highest) + 1, kNoRecord);
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i].recordId > 0) recordIndex_[static_cast<std::size_t>(records[i].recordId)] = i;
    }
}

const ApplicationRecord* MainWindow::RowRecord(std::uint32_t recordId) {
    const auto id = static_cast<std::int32_t>(recordId);
    if (id <= 0) return FindRecordById(catalog_, id);
    const auto& records = catalog_.records;
    const auto indexed = [&]() -> const ApplicationRecord* {
        if (static_cast<std::size_t>(id) >= recordIndex_.size()) return nullptr;
        const std::size_t at = recordIndex_[static_cast<std::size_t>(id)];
        if (at >= records.size() || records[at].recordId != id) return nullptr;
        return &records[at];
    };
    if (const ApplicationRecord* record = indexed()) return record;
    // Records were added, removed or replaced since the index was made.
    IndexRecords();
    if (recordIndex_.empty()) return FindRecordById(catalog_, id);
    return indexed();
}

std::u16string MainWindow::CellText(std::uint32_t recordId, int column) {
    // A worker may be replacing the records: the list shows nothing meanwhile.
    if (catalogBusy_ || column < 0 || static_cast<std::size_t>(column) >= settings_.cols.size()) return {};
    const ApplicationRecord* record = RowRecord(recordId);
    if (record == nullptr) return {};
    return FieldText(settings_, *record, settings_.cols[static_cast<std::size_t>(column)], false);
}

void MainWindow::UpdateRow(std::int32_t recordId) {
    const int row = list_->FindRow(static_cast<std::uint32_t>(recordId));
    if (row < 0) return;
    const ApplicationRecord* record = FindRecordById(catalog_, recordId);
    if (record == nullptr || (record->hide && !settings_.showHidden) || !InCategory(currentCategory_, *record)) {
        list_->DeleteRow(row);
        return;
    }
    // The cells are read from the record when the row is drawn.
    list_->RedrawRow(row);
}

std::vector<std::int32_t> MainWindow::SelectedIds() const {
    std::vector<std::int32_t> ids;
    HWND list = list_->Handle();
    if (list == nullptr) return ids;
    int row = -1;
    for (;;) {
        row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0) break;
        ids.push_back(static_cast<std::int32_t>(list_->ItemData(row)));
    }
    return ids;
}

void MainWindow::SelectRecords(const std::vector<std::int32_t>& ids) {
    list_->DeselectAll();
    for (const std::int32_t id : ids) {
        const int row = list_->FindRow(static_cast<std::uint32_t>(id));
        if (row >= 0) list_->SelectRow(row);
    }
}

const ApplicationRecord* MainWindow::SelectedRecord() const {
    if (catalogBusy_) return nullptr;
    const int row = list_->FirstSelected();
    if (row < 0) return nullptr;
    return FindRecordById(catalog_, static_cast<std::int32_t>(list_->ItemData(row)));
}

void MainWindow::UpdateStatus() {
    const int count = CountInCategory(catalog_, currentCategory_);
    const std::string number = std::to_string(count);
    status_->SetText(0, currentCategory_ + u": " + std::u16string(number.begin(), number.end()));
    status_->SetText(1, file_.readOnly ? LoadString(kStrReadOnlyStatus) : std::u16string());
}

// ---------------------------------------------------------------------------
// Details pane.

bool MainWindow::BackupAvailable() const {
    return settings_.backup && !file_.path.empty() && platform::FileExists(BackupPath(file_.path));
}

std::vector<HWND> MainWindow::DetailLabels() const {
    std::vector<HWND> windows;
    for (const auto& label : labels_) windows.push_back(label->Handle());
    return windows;
}

void MainWindow::RebuildDetails() {
    labels_.clear();
    labelTexts_.clear();
    toolbar_->EnableButton(kRestoreCommand, BackupAvailable());
    ::InvalidateRect(window_, &picturePane_, TRUE);
    picture_.Clear();
    if (catalogBusy_ || filling_ || list_->SelectedCount() != 1) return;
    const int row = list_->FirstSelected();
    ApplicationRecord* record = FindRecordById(catalog_, static_cast<std::int32_t>(list_->ItemData(row)));
    if (record == nullptr) return;

    // A picture kept beside the catalog is read when its record is shown.
    if (record->picture.empty() && !settings_.storeImages && !record->pictureName.empty()) {
        std::vector<std::uint8_t> bytes;
        if (platform::ReadWholeFile(PicturesFolder(file_.path) + record->pictureName, bytes)) {
            CatalogLock lock(*this);
            record->picture = std::move(bytes);
        }
    }

    if (!record->picture.empty()) picture_.SetPicture(record->picture);

    const int width = details_.right - details_.left;
    if (width <= kMinLabelPaneWidth) return;
    int y = std::max<int>(details_.top, PictureBottom());
    const auto addLabel = [&](const std::u16string& text, const std::u16string& copied) {
        if (static_cast<int>(labels_.size()) >= kMaxDetailLabels) return;
        auto label = std::make_unique<QvLibrary::QvLabel>(text);
        const int id = kFirstDetailLabel + static_cast<int>(labels_.size());
        if (!label->Create(window_, id, details_.left, y, width, kLabelHeight)) return;
        ::SendMessageW(label->Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        labels_.push_back(std::move(label));
        labelTexts_.push_back(copied);
        y += kLabelStep;
    };
    for (const LoginField& field : record->loginData) {
        std::u16string shown = field.name;
        if (shown.empty()) {
            shown = field.value;
            if (field.type == LoginFieldType::Password && !settings_.showPasswords) {
                shown.assign(field.value.size(), u'x');
            }
        }
        addLabel(shown, field.value);
    }
    if (!record->registrationEmail.empty()) addLabel(LoadString(kStrRegistrationEmail), record->registrationEmail);
}

void MainWindow::OnDetailLabel(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= labelTexts_.size()) return;
    QvLibrary::WriteClipboardAnsi(window_, labelTexts_[static_cast<std::size_t>(index)]);
}

// ---------------------------------------------------------------------------
// Picture pane.

int MainWindow::PictureBottom() const {
    if (picture_.Empty()) return details_.top;
    return picture_.DisplayRect().bottom + 5;
}

void MainWindow::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(window_, &paint);
    if (dc == nullptr) return;
    if (!picture_.Empty()) picture_.Paint(dc);
    ::EndPaint(window_, &paint);
}

void MainWindow::OnClick(int x, int y) {
    if (picture_.Empty()) return;
    const RECT shown = picture_.DisplayRect();
    const POINT at{x, y};
    if (!::PtInRect(&shown, at)) return;
    BusyScope busy(*this);
    ShowFullSize(*this, window_, picture_);
}

// ---------------------------------------------------------------------------
// Enabling.

SelectionSnapshot MainWindow::Snapshot() const {
    const int count = catalogBusy_ ? 0 : list_->SelectedCount();
    return TakeSnapshot(count == 1 ? SelectedRecord() : nullptr, count, BackupAvailable(), true);
}

void MainWindow::ApplyMenuEnabling(HMENU menu) {
    if (menu == nullptr) return;
    const SelectionSnapshot snapshot = Snapshot();
    for (const CommandInfo& command : Commands()) {
        const bool on = CommandAvailable(command.id) && MenuEnabled(command.rule, snapshot);
        ::EnableMenuItem(menu, static_cast<UINT>(command.id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    }
}

void MainWindow::UpdateEnabling() {
    ApplyMenuEnabling(::GetMenu(window_));
    const SelectionSnapshot snapshot = Snapshot();
    for (int i = 0; i < toolbar_->AvailableCount(); ++i) {
        TBBUTTON button{};
        if (!toolbar_->AvailableButton(i, button)) continue;
        toolbar_->EnableButton(button.idCommand,
                               CommandAvailable(button.idCommand) && ToolbarEnabled(button.idCommand, snapshot));
    }
}

void MainWindow::RenameHiddenItemsCommand() {
    const std::u16string text = LoadString(settings_.showHidden ? kStrHideHidden : kStrShowHidden);
    HMENU menu = ::GetMenu(window_);
    if (menu == nullptr) return;
    ::ModifyMenuW(menu, kShowHiddenCommand, MF_BYCOMMAND | MF_STRING, kShowHiddenCommand, Wide(text));
}

// ---------------------------------------------------------------------------
// Notifications.

LRESULT MainWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom == list_->Handle() && header.hwndFrom != nullptr) {
        LRESULT answer = 0;
        if (list_->OnNotify(header, answer)) return answer;
        switch (header.code) {
            case LVN_ITEMACTIVATE:
                RunCommand(settings_.clickLogin ? 3005 : 1102);
                return 0;
            case LVN_COLUMNCLICK: {
                const auto& view = reinterpret_cast<const NMLISTVIEW&>(header);
                list_->Sort(view.iSubItem);
                session_->Change(Refresh::None, Save::None, [&](Catalog&, Settings& settings) {
                    settings.sortCol = list_->SortColumn();
                    settings.sortReverse = list_->SortReverse();
                });
                return 0;
            }
            case LVN_ITEMCHANGED: {
                const auto& view = reinterpret_cast<const NMLISTVIEW&>(header);
                if (filling_ || (view.uChanged & LVIF_STATE) == 0) return 0;
                if (((view.uOldState ^ view.uNewState) & LVIS_SELECTED) == 0) return 0;
                UpdateEnabling();
                RebuildDetails();
                return 0;
            }
            case LVN_ODSTATECHANGED: {
                // A range of rows changed state at once (a shift-click).
                const auto& range = reinterpret_cast<const NMLVODSTATECHANGE&>(header);
                if (filling_ || ((range.uOldState ^ range.uNewState) & LVIS_SELECTED) == 0) return 0;
                UpdateEnabling();
                RebuildDetails();
                return 0;
            }
            case NM_CUSTOMDRAW:
                return OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
            default:
                return 0;
        }
    }
    if (header.hwndFrom == tabs_->Handle() && header.hwndFrom != nullptr) {
        if (header.code == static_cast<UINT>(TCN_SELCHANGE)) OnTabChanged();
        return 0;
    }
    bool handled = false;
    const LRESULT result = OnToolbarNotify(header, handled);
    return handled ? result : 0;
}

LRESULT MainWindow::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            today_ = Today();
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT: {
            if (catalogBusy_) return CDRF_DODEFAULT;
            // An owner-data list names the row, not its data.
            const ApplicationRecord* record = RowRecord(list_->ItemData(static_cast<int>(draw.nmcd.dwItemSpec)));
            if (record == nullptr) return CDRF_DODEFAULT;
            const int status = RecordStatus(settings_, *record, today_);
            if (status >= 0 && static_cast<std::size_t>(status) < settings_.colors.size()) {
                draw.clrText = static_cast<COLORREF>(settings_.colors[static_cast<std::size_t>(status)]);
            }
            return CDRF_NEWFONT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

LRESULT MainWindow::OnToolbarNotify(const NMHDR& header, bool& handled) {
    handled = true;
    // The customise dialog asks for the available buttons in the wide or
    // the 8-bit form; both are answered from the same table.
    const auto buttonInfo = [this](auto& info) -> LRESULT {
        TBBUTTON button{};
        if (info.iItem < 0 || info.iItem >= kToolbarButtonCount || !toolbar_->AvailableButton(info.iItem, button)) {
            return FALSE;
        }
        info.tbButton = button;
        CopyCut(LoadString(kFirstButtonText + info.iItem), info.pszText, static_cast<std::size_t>(std::max(0, info.cchText)));
        return TRUE;
    };
    switch (header.code) {
        case TBN_GETBUTTONINFOW:
            return buttonInfo(reinterpret_cast<NMTOOLBARW&>(const_cast<NMHDR&>(header)));
        case TBN_GETBUTTONINFOA:
            return buttonInfo(reinterpret_cast<NMTOOLBARA&>(const_cast<NMHDR&>(header)));
        case TBN_QUERYINSERT:
        case TBN_QUERYDELETE:
            return TRUE;
        case TBN_INITCUSTOMIZE:
            return TBNRF_HIDEHELP;
        case TTN_GETDISPINFOW: {
            auto& info = reinterpret_cast<NMTTDISPINFOW&>(const_cast<NMHDR&>(header));
            const int id = static_cast<int>(header.idFrom);
            if (!IsToolbarCommand(id)) break;
            CopyCut(LoadString(kFirstToolTip + id), info.szText, kToolTipCapacity);
            info.lpszText = info.szText;
            info.hinst = nullptr;
            return 0;
        }
        case TTN_GETDISPINFOA: {
            auto& info = reinterpret_cast<NMTTDISPINFOA&>(const_cast<NMHDR&>(header));
            const int id = static_cast<int>(header.idFrom);
            if (!IsToolbarCommand(id)) break;
            CopyCut(LoadString(kFirstToolTip + id), info.szText, kToolTipCapacity);
            info.lpszText = info.szText;
            info.hinst = nullptr;
            return 0;
        }
        default:
            break;
    }
    handled = false;
    return 0;
}

}  // namespace kodrin::app
