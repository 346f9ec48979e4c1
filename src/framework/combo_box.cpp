#include "framework/combo_box.h"

#include "framework/wide.h"
#include "platform/text.h"

namespace QvLibrary {
namespace {


}  // namespace

QvComboBox::QvComboBox(HWND attachTo, bool sorted, bool colours) : sorted_(sorted), colours_(colours) {
    if (attachTo != nullptr) Attach(attachTo);
}

QvComboBox::~QvComboBox() = default;

bool QvComboBox::Create(HWND parent, int id) { return Create(parent, id, 0, 0, 0, 0); }

bool QvComboBox::Create(HWND parent, int id, int x, int y, int width, int height) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST;
    if (colours_) style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    HWND window = ::CreateWindowExW(0, L"ComboBox", L"", style, x, y, width, height, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!Bind(window)) return false;
    // A new window starts empty: so does the copy.
    items_.clear();
    return true;
}

int QvComboBox::AddItem(const std::u16string& text, std::uint32_t data, bool select) {
    for (const Item& item : items_) {
        if (kodrin::platform::EqualIgnoreCase(item.text, text)) return -1;
    }
    std::size_t at = items_.size();
    if (sorted_) {
        at = 0;
        while (at < items_.size() && kodrin::platform::CompareIgnoreCase(items_[at].text, text) <= 0) ++at;
    }
    HWND box = Handle();
    if (box != nullptr) {
        const LRESULT placed = ::SendMessageW(box, CB_INSERTSTRING, at, reinterpret_cast<LPARAM>(Wide(text)));
        if (placed < 0) {
            lastError_ = static_cast<int>(placed);
            return -1;
        }
        ::SendMessageW(box, CB_SETITEMDATA, placed, static_cast<LPARAM>(data));
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), Item{text, data});
    if (select && box != nullptr) ::SendMessageW(box, CB_SETCURSEL, at, 0);
    return static_cast<int>(at);
}

void QvComboBox::SelectText(const std::u16string& text) {
    HWND box = Handle();
    if (box == nullptr) return;
    std::size_t at = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (kodrin::platform::EqualIgnoreCase(items_[i].text, text)) {
            at = i;
            break;
        }
    }
    ::SendMessageW(box, CB_SETCURSEL, at, 0);
}

void QvComboBox::SelectData(std::uint32_t data) {
    HWND box = Handle();
    if (box == nullptr) return;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].data == data) {
            ::SendMessageW(box, CB_SETCURSEL, i, 0);
            return;
        }
    }
}

int QvComboBox::SelectedIndex() const {
    HWND box = Handle();
    if (box == nullptr) return -1;
    const LRESULT index = ::SendMessageW(box, CB_GETCURSEL, 0, 0);
    return index < 0 || static_cast<std::size_t>(index) >= items_.size() ? -1 : static_cast<int>(index);
}

std::u16string QvComboBox::SelectedText() const {
    const int index = SelectedIndex();
    return index < 0 ? std::u16string() : items_[static_cast<std::size_t>(index)].text;
}

std::uint32_t QvComboBox::SelectedData() const {
    const int index = SelectedIndex();
    return index < 0 ? 0 : items_[static_cast<std::size_t>(index)].data;
}

void QvComboBox::Clear() {
    items_.clear();
    if (HWND box = Handle()) ::SendMessageW(box, CB_RESETCONTENT, 0, 0);
}

// ---- QvColors ----

const NamedColour QvColors::kColours[QvColors::kColourCount] = {
    {21000, RGB(112, 219, 147)},   // Aquamarine
    {21001, RGB(92, 51, 23)},   // Baker's Chocolate
    {21002, RGB(0, 0, 0)},   // Black
    {21003, RGB(0, 0, 255)},   // Blue
    {21004, RGB(159, 95, 159)},   // Blue-Violet
    {21005, RGB(181, 166, 66)},   // Brass
    {21006, RGB(217, 217, 25)},   // Bright Gold
    {21007, RGB(140, 120, 83)},   // Bronze
    {21008, RGB(166, 125, 61)},   // Bronze (Alternate)
    {21009, RGB(166, 42, 42)},   // Brown
    {21010, RGB(95, 159, 159)},   // Cadet Blue
    {21011, RGB(217, 135, 25)},   // Cool Copper
    {21012, RGB(184, 115, 51)},   // Copper
    {21013, RGB(255, 127, 0)},   // Coral
    {21014, RGB(66, 66, 111)},   // Cornflower Blue
    {21015, RGB(0, 255, 255)},   // Cyan
    {21016, RGB(0, 0, 128)},   // Dark Blue
    {21017, RGB(92, 64, 51)},   // Dark Brown
    {21018, RGB(47, 79, 47)},   // Dark Green
    {21019, RGB(74, 118, 110)},   // Dark Green Copper
    {21020, RGB(79, 79, 47)},   // Dark Olive Green
    {21021, RGB(153, 50, 205)},   // Dark Orchid
    {21022, RGB(135, 31, 120)},   // Dark Purple
    {21023, RGB(107, 35, 142)},   // Dark Slate Blue
    {21024, RGB(47, 79, 79)},   // Dark Slate Grey
    {21025, RGB(151, 105, 79)},   // Dark Tan
    {21026, RGB(112, 147, 219)},   // Dark Turquoise
    {21027, RGB(133, 94, 66)},   // Dark Wood
    {21028, RGB(84, 84, 84)},   // Dim Grey
    {21029, RGB(133, 99, 99)},   // Dusty Rose
    {21030, RGB(209, 146, 117)},   // Feldspar
    {21031, RGB(142, 35, 35)},   // Firebrick
    {21032, RGB(35, 142, 35)},   // Forest Green
    {21033, RGB(205, 127, 50)},   // Gold
    {21034, RGB(219, 219, 112)},   // Goldenrod
    {21035, RGB(0, 255, 0)},   // Green
    {21036, RGB(82, 127, 118)},   // Green Copper
    {21037, RGB(147, 219, 112)},   // Green Yellow
    {21038, RGB(192, 192, 192)},   // Grey
    {21039, RGB(33, 94, 33)},   // Hunter Green
    {21040, RGB(78, 47, 47)},   // Indian Red
    {21041, RGB(159, 159, 95)},   // Khaki
    {21042, RGB(192, 217, 217)},   // Light Blue
    {21043, RGB(168, 168, 168)},   // Light Grey
    {21044, RGB(143, 143, 189)},   // Light Steel Blue
    {21045, RGB(233, 194, 166)},   // Light Wood
    {21046, RGB(50, 205, 50)},   // Lime Green
    {21047, RGB(255, 0, 255)},   // Magenta
    {21048, RGB(228, 120, 51)},   // Mandarin Orange
    {21049, RGB(142, 35, 107)},   // Maroon
    {21050, RGB(50, 205, 153)},   // Medium Aquamarine
    {21051, RGB(50, 50, 205)},   // Medium Blue
    {21052, RGB(107, 142, 35)},   // Medium Forest Green
    {21053, RGB(234, 234, 174)},   // Medium Goldenrod
    {21054, RGB(147, 112, 219)},   // Medium Orchid
    {21055, RGB(66, 111, 66)},   // Medium Sea Green
    {21056, RGB(127, 0, 255)},   // Medium Slate Blue
    {21057, RGB(127, 255, 0)},   // Medium Spring Green
    {21058, RGB(112, 219, 219)},   // Medium Turquoise
    {21059, RGB(219, 112, 147)},   // Medium Violet Red
    {21060, RGB(166, 128, 100)},   // Medium Wood
    {21061, RGB(47, 47, 79)},   // Midnight Blue
    {21062, RGB(35, 35, 142)},   // Navy Blue
    {21063, RGB(77, 77, 255)},   // Neon Blue
    {21064, RGB(255, 110, 199)},   // Neon Pink
    {21065, RGB(0, 0, 156)},   // New Midnight Blue
    {21066, RGB(235, 199, 158)},   // New Tan
    {21067, RGB(207, 181, 59)},   // Old Gold
    {21068, RGB(255, 127, 0)},   // Orange
    {21069, RGB(255, 36, 0)},   // Orange Red
    {21070, RGB(219, 112, 219)},   // Orchid
    {21071, RGB(143, 188, 143)},   // Pale Green
    {21072, RGB(188, 143, 143)},   // Pink
    {21073, RGB(234, 173, 234)},   // Plum
    {21074, RGB(217, 217, 243)},   // Quartz
    {21075, RGB(255, 0, 0)},   // Red
    {21076, RGB(89, 89, 171)},   // Rich Blue
    {21077, RGB(111, 66, 66)},   // Salmon
    {21078, RGB(140, 23, 23)},   // Scarlet
    {21079, RGB(35, 142, 104)},   // Sea Green
    {21080, RGB(107, 66, 38)},   // Semi-Sweet Chocolate
    {21081, RGB(142, 107, 35)},   // Sienna
    {21082, RGB(230, 232, 250)},   // Silver
    {21083, RGB(50, 153, 204)},   // Sky Blue
    {21084, RGB(0, 127, 255)},   // Slate Blue
    {21085, RGB(255, 28, 174)},   // Spicy Pink
    {21086, RGB(0, 255, 127)},   // Spring Green
    {21087, RGB(35, 107, 142)},   // Steel Blue
    {21088, RGB(56, 176, 222)},   // Summer Sky
    {21089, RGB(219, 147, 112)},   // Tan
    {21090, RGB(216, 191, 216)},   // Thistle
    {21091, RGB(173, 234, 234)},   // Turquoise
    {21092, RGB(92, 64, 51)},   // Very Dark Brown
    {21093, RGB(205, 205, 205)},   // Very Light Grey
    {21094, RGB(79, 47, 79)},   // Violet
    {21095, RGB(204, 50, 153)},   // Violet Red
    {21096, RGB(216, 216, 191)},   // Wheat
    {21097, RGB(255, 255, 255)},   // White
    {21098, RGB(255, 255, 0)},   // Yellow
    {21099, RGB(153, 204, 50)},   // Yellow Green
};

QvColors::QvColors(HWND attachTo) : QvComboBox(attachTo, false, true) {}
QvColors::~QvColors() = default;

void QvColors::Fill(const QvApp& app) {
    for (const NamedColour& entry : kColours) {
        AddItem(app.LoadString(entry.nameId), static_cast<std::uint32_t>(entry.colour), false);
    }
}

void QvColors::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    if (dc == nullptr) return;
    RECT area = item.rcItem;
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_WINDOW));
    if (static_cast<int>(item.itemID) < 0 || item.hwndItem == nullptr) return;

    constexpr int kLimit = 1024;
    wchar_t text[kLimit + 1] = {};
    const LRESULT length = ::SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
    if (length > 0 && length <= kLimit) {
        ::SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    } else if (length > kLimit) {
        // Longer than the buffer: read it whole, show the first kLimit characters.
        std::wstring whole(static_cast<std::size_t>(length) + 1, L'\0');
        ::SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(whole.data()));
        whole.copy(text, kLimit);
    }
    COLORREF colour = static_cast<COLORREF>(item.itemData);
    if (colour == RGB(255, 255, 255)) colour = RGB(0, 0, 0);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, colour);
    RECT textArea = area;
    textArea.left += 2;
    ::DrawTextW(dc, text, -1, &textArea, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &area);
}

}  // namespace QvLibrary
