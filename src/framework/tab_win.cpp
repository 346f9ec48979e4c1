#include "framework/tab_win.h"

#include <commctrl.h>

namespace QvLibrary {
namespace {

// The strip draws "&" as the prefix of an underlined letter and "&&" as one
// "&": tab texts go in with every "&" doubled and come out as they were.
std::u16string DoubleAmpersands(const std::u16string& text) {
    std::u16string shown;
    shown.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'&') shown += u'&';
        shown += c;
    }
    return shown;
}

std::u16string SingleAmpersands(const char16_t* shown) {
    std::u16string text;
    for (const char16_t* c = shown; *c != u'\0'; ++c) {
        if (*c == u'&' && c[1] == u'&') ++c;
        text += *c;
    }
    return text;
}

}  // namespace

QvTabWin::QvTabWin() = default;
QvTabWin::~QvTabWin() = default;

bool QvTabWin::Create(HWND parent, int id) { return Create(parent, id, 0, 0, 0, 0); }

bool QvTabWin::Create(HWND parent, int id, int x, int y, int width, int height) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_TAB_CLASSES};
    ::InitCommonControlsEx(&init);
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    HWND window = ::CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y,
                                    width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    instance, nullptr);
    return Bind(window);
}

int QvTabWin::InsertTab(int index, std::uint32_t data, const std::u16string& text) {
    HWND tabs = Handle();
    if (tabs == nullptr) return -1;
    std::u16string copy = DoubleAmpersands(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = reinterpret_cast<wchar_t*>(copy.data());
    item.lParam = static_cast<LPARAM>(data);
    return static_cast<int>(::SendMessageW(tabs, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item)));
}

bool QvTabWin::DeleteCurrentTab() {
    HWND tabs = Handle();
    const int current = CurrentTab();
    if (tabs == nullptr || current < 0) return false;
    if (!::SendMessageW(tabs, TCM_DELETEITEM, current, 0)) return false;
    if (Count() > 0) SelectTab(current > 0 ? current - 1 : 0);
    return true;
}

bool QvTabWin::RenameCurrentTab(const std::u16string& text) {
    HWND tabs = Handle();
    const int current = CurrentTab();
    if (tabs == nullptr || current < 0) return false;
    std::u16string copy = DoubleAmpersands(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<wchar_t*>(copy.data());
    return ::SendMessageW(tabs, TCM_SETITEMW, current, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

bool QvTabWin::SelectTab(int index) {
    HWND tabs = Handle();
    if (tabs == nullptr || index < 0 || index >= Count()) return false;
    ::ShowWindow(tabs, SW_SHOW);
    ::SendMessageW(tabs, TCM_SETCURSEL, index, 0);
    ::SendMessageW(tabs, TCM_SETCURFOCUS, index, 0);
    // Setting the focus on the tab that is already selected notifies no one:
    // tell the parent as a click would, so that it shows the tab's content.
    NMHDR header{};
    header.hwndFrom = tabs;
    header.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(tabs));
    header.code = static_cast<UINT>(TCN_SELCHANGE);
    if (HWND parent = ::GetParent(tabs)) {
        ::SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
    }
    return true;
}

int QvTabWin::CurrentTab() const {
    HWND tabs = Handle();
    return tabs == nullptr ? -1 : static_cast<int>(::SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
}

int QvTabWin::Count() const {
    HWND tabs = Handle();
    return tabs == nullptr ? 0 : static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
}

std::uint32_t QvTabWin::CurrentData() const {
    HWND tabs = Handle();
    const int current = CurrentTab();
    if (tabs == nullptr || current < 0) return 0;
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (!::SendMessageW(tabs, TCM_GETITEMW, current, reinterpret_cast<LPARAM>(&item))) return 0;
    return static_cast<std::uint32_t>(item.lParam);
}

std::u16string QvTabWin::CurrentText() const {
    HWND tabs = Handle();
    const int current = CurrentTab();
    if (tabs == nullptr || current < 0) return {};
    wchar_t buffer[4096] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 4096;
    if (!::SendMessageW(tabs, TCM_GETITEMW, current, reinterpret_cast<LPARAM>(&item))) return {};
    buffer[4095] = L'\0';
    // The control may hand back its own buffer instead of filling ours.
    return SingleAmpersands(reinterpret_cast<const char16_t*>(item.pszText != nullptr ? item.pszText : buffer));
}

void QvTabWin::DeleteAllTabs() {
    if (HWND tabs = Handle()) ::SendMessageW(tabs, TCM_DELETEALLITEMS, 0, 0);
}

}  // namespace QvLibrary
