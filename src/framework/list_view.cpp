#include "framework/list_view.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "framework/portable/number.h"
#include "platform/text.h"

namespace QvLibrary {
namespace {

constexpr int kTextLimit = 1024;
constexpr int kAscendingBitmap = 8001;
constexpr int kDescendingBitmap = 8000;
constexpr int kWheelNotch = 120;
constexpr int kPixelsPerNotch = 14;

void SetRowState(HWND list, int row, UINT state) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = state;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The locale's sort key of each text, ignoring case: byte strings whose order
// is the order of the text comparison (CompareStringW with NORM_IGNORECASE).
// False when a key cannot be made.
bool SortKeys(const std::vector<std::u16string>& texts, std::vector<std::string>& keys) {
    keys.assign(texts.size(), {});
    std::string buffer(256, '\0');
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto* text = reinterpret_cast<const wchar_t*>(texts[i].c_str());
        const int length = static_cast<int>(texts[i].size());
        if (length == 0) continue;   // the empty key sorts first, as the empty text does
        for (;;) {
            const int made = ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text, length,
                                            reinterpret_cast<wchar_t*>(buffer.data()), static_cast<int>(buffer.size()));
            if (made > 0) {
                // The key ends with a zero byte, counted in its length.
                keys[i].assign(buffer.data(), static_cast<std::size_t>(made) - 1);
                break;
            }
            if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
            buffer.resize(buffer.size() * 2);
        }
    }
    return true;
}

}  // namespace

QvListView::QvListView() { SetWheelHandler(&QvListView::OnWheel); }

QvListView::~QvListView() {
    // The header may still show a bitmap: let the window go first.
    Unbind();
    if (ascending_ != nullptr) ::DeleteObject(ascending_);
    if (descending_ != nullptr) ::DeleteObject(descending_);
}

bool QvListView::Create(HWND parent, int id) { return Create(parent, id, 0, 0, 0, 0); }

bool QvListView::Create(HWND parent, int id, int x, int y, int width, int height) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    const DWORD ownerData = source_ ? LVS_OWNERDATA : 0;
    HWND window = ::CreateWindowExW(WS_EX_STATICEDGE, WC_LISTVIEWW, L"",
                                    WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | ownerData, x, y,
                                    width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    instance, nullptr);
    if (!Bind(window)) return false;
    ownerData_ = ownerData != 0;
    rows_.clear();
    ::SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    columnCount_ = 0;
    numeric_.clear();
    return true;
}

bool QvListView::Attach(HWND window) {
    if (window == nullptr || !::IsWindow(window)) return false;
    ownerData_ = source_ && (::GetWindowLongPtrW(window, GWL_STYLE) & LVS_OWNERDATA) != 0;
    rows_.clear();
    ::SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    columnCount_ = 0;
    numeric_.clear();
    return QvWindow::Attach(window);
}

void QvListView::SetTextSource(TextSource source) { source_ = std::move(source); }

void QvListView::SetRows(std::vector<std::uint32_t> rows) {
    HWND list = Handle();
    if (list == nullptr) return;
    if (!ownerData_) {
        DeleteAllRows();
        for (const std::uint32_t data : rows) InsertRow(data);
        return;
    }
    // Emptied first: the selection and the scroll position go with the rows.
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    rows_ = std::move(rows);
    ::SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows_.size()), 0);
    ::InvalidateRect(list, nullptr, FALSE);
}

void QvListView::RedrawRow(int row) {
    HWND list = Handle();
    if (list == nullptr || row < 0 || row >= RowCount()) return;
    ::SendMessageW(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

std::u16string QvListView::SourceText(int row, int column) const {
    if (!source_ || row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return {};
    std::u16string text = source_(rows_[static_cast<std::size_t>(row)], column);
    if (text.size() > static_cast<std::size_t>(kTextLimit)) text.resize(kTextLimit);
    return text;
}

bool QvListView::OnNotify(const NMHDR& header, LRESULT& result) {
    if (!ownerData_ || header.hwndFrom == nullptr || header.hwndFrom != Handle()) return false;
    result = 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header)).item;
            if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return true;
            const std::u16string text = SourceText(item.iItem, item.iSubItem);
            const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
            std::copy_n(text.data(), length, reinterpret_cast<char16_t*>(item.pszText));
            item.pszText[length] = 0;
            return true;
        }
        case LVN_ODCACHEHINT:
            // The texts come straight from the source: nothing to prepare.
            return true;
        case LVN_ODFINDITEMW:
            result = FindByText(reinterpret_cast<const NMLVFINDITEMW&>(header));
            return true;
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED:
            // A sort moving the selection with the rows changes nothing the
            // owner sees.
            return movingSelection_;
        default:
            return false;
    }
}

LRESULT QvListView::FindByText(const NMLVFINDITEMW& find) const {
    const auto count = static_cast<int>(rows_.size());
    const LVFINDINFOW& info = find.lvfi;
    if ((info.flags & LVFI_PARAM) != 0) {
        const auto data = static_cast<std::uint32_t>(info.lParam);
        const auto it = std::find(rows_.begin(), rows_.end(), data);
        return it == rows_.end() ? -1 : static_cast<LRESULT>(it - rows_.begin());
    }
    if ((info.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || info.psz == nullptr || count == 0) return -1;
    // Typing in the list looks for the next row whose first column starts
    // with (partial) or is (string) the typed text, ignoring case.
    const std::u16string_view wanted(reinterpret_cast<const char16_t*>(info.psz));
    const bool partial = (info.flags & LVFI_PARTIAL) != 0;
    const bool wrap = (info.flags & LVFI_WRAP) != 0;
    if (find.iStart >= count && !wrap) return -1;
    const int start = find.iStart < 0 || find.iStart >= count ? 0 : find.iStart;
    const int steps = wrap ? count : count - start;
    for (int i = 0; i < steps; ++i) {
        const int row = (start + i) % count;
        const std::u16string text = SourceText(row, 0);
        std::u16string_view shown(text);
        if (partial && shown.size() > wanted.size()) shown = shown.substr(0, wanted.size());
        if (kodrin::platform::EqualIgnoreCase(shown, wanted)) return row;
    }
    return -1;
}

int QvListView::InsertRow(std::uint32_t data) {
    HWND list = Handle();
    if (list == nullptr) return -1;
    if (ownerData_) {
        rows_.push_back(data);
        ::SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows_.size()),
                       LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
        return static_cast<int>(rows_.size()) - 1;
    }
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = RowCount();
    item.lParam = static_cast<LPARAM>(data);
    return static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int QvListView::FindRow(std::uint32_t data) const {
    HWND list = Handle();
    if (list == nullptr) return -1;
    if (ownerData_) {
        const auto it = std::find(rows_.begin(), rows_.end(), data);
        return it == rows_.end() ? -1 : static_cast<int>(it - rows_.begin());
    }
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(data);
    return static_cast<int>(::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(&find)));
}

bool QvListView::SetColumn(int index, int format, int width, const std::u16string& caption, bool numeric) {
    HWND list = Handle();
    if (list == nullptr || index < 0) return false;
    std::u16string text = caption;
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = reinterpret_cast<wchar_t*>(text.data());
    column.iSubItem = index;
    bool done = false;
    if (index < columnCount_) {
        done = ::SendMessageW(list, LVM_SETCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) != FALSE;
    } else {
        done = ::SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)) >= 0;
        if (done) ++columnCount_;
    }
    if (numeric_.size() <= static_cast<std::size_t>(index)) numeric_.resize(static_cast<std::size_t>(index) + 1, 0);
    numeric_[static_cast<std::size_t>(index)] = numeric ? 1 : 0;
    return done;
}

bool QvListView::DeleteColumn(int index) {
    HWND list = Handle();
    if (list == nullptr || index < 0 || index >= columnCount_) return false;
    if (!::SendMessageW(list, LVM_DELETECOLUMN, index, 0)) return false;
    --columnCount_;
    if (static_cast<std::size_t>(index) < numeric_.size()) numeric_.erase(numeric_.begin() + index);
    return true;
}

int QvListView::ColumnWidth(int index) const {
    HWND list = Handle();
    if (list == nullptr) return 0;
    return static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, index, 0));
}

bool QvListView::SetText(int row, int column, const std::u16string& text) {
    HWND list = Handle();
    if (list == nullptr) return false;
    if (ownerData_) {
        if (row < 0 || row >= RowCount()) return false;
        RedrawRow(row);
        return true;
    }
    std::u16string copy = text;
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(copy.data());
    return ::SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

std::u16string QvListView::GetText(int row, int column) const {
    HWND list = Handle();
    if (list == nullptr) return {};
    if (ownerData_) return SourceText(row, column);
    wchar_t buffer[kTextLimit + 1] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = kTextLimit + 1;
    const LRESULT length = ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    if (length <= 0) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(buffer),
                          static_cast<std::size_t>(length < kTextLimit ? length : kTextLimit));
}

int QvListView::RowCount() const {
    HWND list = Handle();
    if (list == nullptr) return 0;
    if (ownerData_) return static_cast<int>(rows_.size());
    return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int QvListView::SelectedCount() const {
    HWND list = Handle();
    return list == nullptr ? 0 : static_cast<int>(::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

int QvListView::FirstSelected() const {
    HWND list = Handle();
    if (list == nullptr) return -1;
    return static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::uint32_t QvListView::ItemData(int row) const {
    HWND list = Handle();
    if (list == nullptr) return 0;
    if (ownerData_) {
        return row < 0 || static_cast<std::size_t>(row) >= rows_.size() ? 0 : rows_[static_cast<std::size_t>(row)];
    }
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return static_cast<std::uint32_t>(item.lParam);
}

void QvListView::SelectRow(int row) {
    if (HWND list = Handle()) SetRowState(list, row, LVIS_SELECTED);
}

void QvListView::DeselectRow(int row) {
    if (HWND list = Handle()) SetRowState(list, row, 0);
}

void QvListView::SelectAll() { SelectRow(-1); }
void QvListView::DeselectAll() { DeselectRow(-1); }

bool QvListView::DeleteRow(int row) {
    HWND list = Handle();
    if (list == nullptr) return false;
    if (ownerData_) {
        if (row < 0 || static_cast<std::size_t>(row) >= rows_.size()) return false;
        // The list moves the later rows' selection up by one, as the data do.
        if (!::SendMessageW(list, LVM_DELETEITEM, row, 0)) return false;
        rows_.erase(rows_.begin() + row);
        return true;
    }
    return ::SendMessageW(list, LVM_DELETEITEM, row, 0) != FALSE;
}

void QvListView::DeleteAllRows() {
    HWND list = Handle();
    if (list == nullptr) return;
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    rows_.clear();
}

void QvListView::SetSortState(int column, bool reverse) {
    sortColumn_ = column;
    sortReverse_ = reverse;
}

void QvListView::SetBitmapModule(HINSTANCE module) {
    if (module == bitmapModule_) return;
    bitmapModule_ = module;
    if (ascending_ == nullptr && descending_ == nullptr) return;
    // The header must stop showing the old bitmaps before they go.
    const int column = sortColumn_;
    sortColumn_ = -1;
    ShowSortBitmap();
    sortColumn_ = column;
    if (ascending_ != nullptr) ::DeleteObject(ascending_);
    if (descending_ != nullptr) ::DeleteObject(descending_);
    ascending_ = nullptr;
    descending_ = nullptr;
    ShowSortBitmap();
}

void QvListView::Sort(int column) {
    if (column >= 0) {
        if (column == sortColumn_) {
            sortReverse_ = !sortReverse_;
        } else {
            sortColumn_ = column;
            sortReverse_ = false;
        }
    }
    HWND list = Handle();
    if (list == nullptr) return;
    if (sortColumn_ >= 0) {
        if (ownerData_) {
            SortOwnerRows();
        } else {
            SortRows();
        }
    }
    ShowSortBitmap();
}

void QvListView::SortRows() {
    HWND list = Handle();
    // Every row's key is read once, before the sort, and found again by the
    // row's data: the system sort hands the comparison the rows' data values.
    SortContext context{{}, IsNumeric(sortColumn_), sortReverse_};
    const int rows = RowCount();
    context.keys.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        SortKey key{static_cast<LPARAM>(ItemData(row)), GetText(row, sortColumn_), 0.0};
        if (context.numeric) key.number = ReadNumber(key.text);
        context.keys.push_back(std::move(key));
    }
    std::vector<SortKey> ordered = context.keys;
    const auto byData = [](const SortKey& a, const SortKey& b) { return a.data < b.data; };
    std::sort(ordered.begin(), ordered.end(), byData);
    const bool unique = std::adjacent_find(ordered.begin(), ordered.end(), [](const SortKey& a, const SortKey& b) {
                            return a.data == b.data;
                        }) == ordered.end();
    if (unique) {
        context.keys = std::move(ordered);
        ::SendMessageW(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                       reinterpret_cast<LPARAM>(&QvListView::CompareByData));
        return;
    }
    // Rows share a data value (the program's rows never do): number the rows
    // for the sort and give each its own value back afterwards.
    std::vector<LPARAM> data(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        data[static_cast<std::size_t>(row)] = context.keys[static_cast<std::size_t>(row)].data;
        context.keys[static_cast<std::size_t>(row)].data = row;
        SetItemData(row, static_cast<LPARAM>(row));
    }
    ::SendMessageW(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
                   reinterpret_cast<LPARAM>(&QvListView::CompareByData));
    for (int row = 0; row < rows; ++row) {
        const auto original = static_cast<std::size_t>(ItemData(row));
        if (original < data.size()) SetItemData(row, data[original]);
    }
}

void QvListView::SortOwnerRows() {
    HWND list = Handle();
    const std::size_t count = rows_.size();
    if (count < 2) return;
    // Every row's key is read once. The order is stable, as the system list
    // sort is: equal rows keep their places relative to each other.
    const bool numeric = IsNumeric(sortColumn_);
    std::vector<std::u16string> texts(count);
    std::vector<double> numbers(numeric ? count : 0);
    for (std::size_t row = 0; row < count; ++row) {
        texts[row] = SourceText(static_cast<int>(row), sortColumn_);
        if (numeric) numbers[row] = ReadNumber(texts[row]);
    }
    std::vector<std::uint32_t> order(count);
    for (std::size_t row = 0; row < count; ++row) order[row] = static_cast<std::uint32_t>(row);
    std::vector<std::string> keys;
    if (!numeric && SortKeys(texts, keys)) {
        // The system's sort keys order texts as its comparison does, at the
        // cost of one byte comparison each.
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            const int compared = keys[a].compare(keys[b]);
            return sortReverse_ ? compared > 0 : compared < 0;
        });
    } else {
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            return CompareKeys(texts[a], numeric ? numbers[a] : 0.0, texts[b], numeric ? numbers[b] : 0.0, numeric,
                               sortReverse_) < 0;
        });
    }

    // The list keeps the selection and the focus by row: they move with
    // their rows' data, changing only the rows whose state differs.
    std::vector<std::uint8_t> selected(count, 0);
    for (int row = -1;;) {
        row = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
        if (row < 0 || static_cast<std::size_t>(row) >= count) break;
        selected[static_cast<std::size_t>(row)] = 1;
    }
    const int focused = static_cast<int>(::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    std::vector<std::uint32_t> sorted(count);
    movingSelection_ = true;
    for (std::size_t row = 0; row < count; ++row) {
        const std::uint32_t from = order[row];
        sorted[row] = rows_[from];
        if (selected[row] != selected[from]) SetRowState(list, static_cast<int>(row), selected[from] ? LVIS_SELECTED : 0);
        if (static_cast<int>(from) == focused) {
            LVITEMW item{};
            item.stateMask = LVIS_FOCUSED;
            item.state = LVIS_FOCUSED;
            ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
            ::SendMessageW(list, LVM_SETSELECTIONMARK, 0, static_cast<LPARAM>(row));
        }
    }
    movingSelection_ = false;
    rows_ = std::move(sorted);
    ::InvalidateRect(list, nullptr, FALSE);
}

int QvListView::CompareKeys(const std::u16string& a, double x, const std::u16string& b, double y, bool numeric,
                            bool reverse) {
    int order = 0;
    if (numeric) {
        order = x > y ? 1 : (x < y ? -1 : 0);
    } else {
        const int compared = kodrin::platform::CompareIgnoreCase(a, b);
        order = compared < 0 ? -1 : (compared > 0 ? 1 : 0);
    }
    return reverse ? -order : order;
}

int CALLBACK QvListView::CompareByData(LPARAM first, LPARAM second, LPARAM context) {
    const auto& sort = *reinterpret_cast<const SortContext*>(context);
    const auto find = [&sort](LPARAM data) -> const SortKey* {
        auto it = std::lower_bound(sort.keys.begin(), sort.keys.end(), data,
                                   [](const SortKey& key, LPARAM value) { return key.data < value; });
        return it != sort.keys.end() && it->data == data ? &*it : nullptr;
    };
    const SortKey* a = find(first);
    const SortKey* b = find(second);
    if (a == nullptr || b == nullptr) return 0;
    return CompareKeys(a->text, a->number, b->text, b->number, sort.numeric, sort.reverse);
}

bool QvListView::IsNumeric(int column) const {
    return column >= 0 && static_cast<std::size_t>(column) < numeric_.size() &&
           numeric_[static_cast<std::size_t>(column)] == 1;
}

void QvListView::SetItemData(int row, LPARAM data) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    ::SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

HBITMAP QvListView::SortBitmap(bool reverse) {
    HBITMAP& slot = reverse ? descending_ : ascending_;
    if (slot == nullptr) {
        HINSTANCE module = bitmapModule_;
        if (module == nullptr && Handle() != nullptr) {
            module = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(Handle(), GWLP_HINSTANCE));
        }
        slot = static_cast<HBITMAP>(::LoadImageW(module,
                                                 MAKEINTRESOURCEW(reverse ? kDescendingBitmap : kAscendingBitmap),
                                                 IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    }
    return slot;
}

void QvListView::ShowSortBitmap() {
    HWND list = Handle();
    if (list == nullptr) return;
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (header == nullptr) return;
    HBITMAP bitmap = sortColumn_ >= 0 ? SortBitmap(sortReverse_) : nullptr;
    const int count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        if (!::SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item))) continue;
        item.mask = HDI_FORMAT | HDI_BITMAP;
        item.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
        item.hbm = nullptr;
        if (i == sortColumn_ && bitmap != nullptr) {
            item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
            item.hbm = bitmap;
        }
        ::SendMessageW(header, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
}

void QvListView::OnWheel(WindowState& state, int delta) {
    state.wheelRemainder += delta;
    if (state.wheelRemainder > -kWheelNotch && state.wheelRemainder < kWheelNotch) return;
    const int pixels = (state.wheelRemainder / kWheelNotch) * -kPixelsPerNotch;
    if (state.window != nullptr) ::SendMessageW(state.window, LVM_SCROLL, 0, pixels);
    state.wheelRemainder %= kWheelNotch;
}

}  // namespace QvLibrary
