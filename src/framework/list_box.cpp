#include "framework/list_box.h"

#include <vector>

namespace QvLibrary {

QvListBox::QvListBox() = default;
QvListBox::~QvListBox() = default;

bool QvListBox::Create(HWND parent, int id) { return Create(parent, id, 0, 0, 0, 0); }

bool QvListBox::Create(HWND parent, int id, int x, int y, int width, int height) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    HWND window = ::CreateWindowExW(WS_EX_STATICEDGE, L"ListBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY,
                                    x, y, width, height, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    return Bind(window);
}

int QvListBox::AddItem(const std::u16string& text, std::uint32_t data) {
    HWND box = Handle();
    if (box == nullptr) return -1;
    const LRESULT index =
        ::SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(reinterpret_cast<const wchar_t*>(text.c_str())));
    if (index < 0) return -1;
    ::SendMessageW(box, LB_SETITEMDATA, index, static_cast<LPARAM>(data));
    return static_cast<int>(index);
}

std::u16string QvListBox::ItemText(int index) const {
    HWND box = Handle();
    if (box == nullptr) return {};
    const LRESULT length = ::SendMessageW(box, LB_GETTEXTLEN, index, 0);
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(box, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    if (copied <= 0) return {};
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<std::size_t>(copied));
}

std::uint32_t QvListBox::ItemData(int index) const {
    HWND box = Handle();
    if (box == nullptr) return 0;
    const LRESULT data = ::SendMessageW(box, LB_GETITEMDATA, index, 0);
    return data == LB_ERR ? 0 : static_cast<std::uint32_t>(data);
}

int QvListBox::Count() const {
    HWND box = Handle();
    if (box == nullptr) return 0;
    const LRESULT count = ::SendMessageW(box, LB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : static_cast<int>(count);
}

bool QvListBox::CurrentSelection(int& index) const {
    HWND box = Handle();
    if (box == nullptr) return false;
    const LRESULT current = ::SendMessageW(box, LB_GETCURSEL, 0, 0);
    if (current < 0) return false;
    index = static_cast<int>(current);
    return true;
}

bool QvListBox::IsSelected(int index) const {
    HWND box = Handle();
    return box != nullptr && ::SendMessageW(box, LB_GETSEL, index, 0) > 0;
}

bool QvListBox::DeleteItem(int index) {
    HWND box = Handle();
    return box != nullptr && ::SendMessageW(box, LB_DELETESTRING, index, 0) != LB_ERR;
}

void QvListBox::ClearSelection() {
    if (HWND box = Handle()) ::SendMessageW(box, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

bool QvListBox::MoveSelectedUp() { return MoveSelected(-1); }
bool QvListBox::MoveSelectedDown() { return MoveSelected(1); }

bool QvListBox::MoveSelected(int step) {
    HWND box = Handle();
    int index = 0;
    if (box == nullptr || !CurrentSelection(index)) return false;
    const int target = index + step;
    if (target < 0 || target >= Count()) return false;
    const std::u16string text = ItemText(index);
    const std::uint32_t data = ItemData(index);
    ::SendMessageW(box, LB_DELETESTRING, index, 0);
    const LRESULT placed = ::SendMessageW(box, LB_INSERTSTRING, target,
                                          reinterpret_cast<LPARAM>(reinterpret_cast<const wchar_t*>(text.c_str())));
    if (placed < 0) return false;
    ::SendMessageW(box, LB_SETITEMDATA, placed, static_cast<LPARAM>(data));
    ::SendMessageW(box, LB_SETCURSEL, placed, 0);
    return true;
}

}  // namespace QvLibrary
