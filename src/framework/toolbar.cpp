#include "framework/toolbar.h"

namespace QvLibrary {
namespace {

constexpr int kIconSize = 32;
constexpr int kIconCount = 30;
constexpr int kNormalIcons = 6300;
constexpr int kDisabledIcons = 6400;
constexpr int kSeparatorWidth = 5;

// An image list of the icons first .. first + kIconCount - 1. A missing icon
// leaves an empty image in its place, so that image n stays icon first + n.
HIMAGELIST MakeImageList(HINSTANCE module, int first) {
    HIMAGELIST list = ::ImageList_Create(kIconSize, kIconSize, ILC_COLOR8 | ILC_MASK, 0, kIconCount);
    if (list == nullptr) return nullptr;
    HICON blank = nullptr;
    for (int i = 0; i < kIconCount; ++i) {
        auto icon = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(first + i), IMAGE_ICON, kIconSize,
                                                    kIconSize, LR_DEFAULTCOLOR));
        if (icon == nullptr) {
            if (blank == nullptr) {
                BYTE andMask[kIconSize * kIconSize / 8];
                BYTE xorMask[kIconSize * kIconSize / 8] = {};
                for (BYTE& b : andMask) b = 0xFF;   // fully transparent
                blank = ::CreateIcon(nullptr, kIconSize, kIconSize, 1, 1, andMask, xorMask);
            }
            ::ImageList_AddIcon(list, blank);
            continue;
        }
        ::ImageList_AddIcon(list, icon);
        ::DestroyIcon(icon);
    }
    if (blank != nullptr) ::DestroyIcon(blank);
    return list;
}

TBBUTTON SeparatorButton() {
    TBBUTTON button{};
    button.iBitmap = kSeparatorWidth;
    button.fsStyle = BTNS_SEP;
    return button;
}

}  // namespace

QvToolbar::QvToolbar(const QvApp& app) : app_(app) {}

QvToolbar::~QvToolbar() {
    // The toolbar goes before the image lists it shows.
    Unbind();
    DestroyImageLists();
}

void QvToolbar::DestroyImageLists() {
    if (normal_ != nullptr) ::ImageList_Destroy(normal_);
    if (disabled_ != nullptr) ::ImageList_Destroy(disabled_);
    normal_ = nullptr;
    disabled_ = nullptr;
}

bool QvToolbar::Create(HWND parent, int id) { return Create(parent, id, 0, 0, 0, 0); }

bool QvToolbar::Create(HWND parent, int id, int x, int y, int width, int height) {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    HWND window = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | CCS_ADJUSTABLE | TBSTYLE_TOOLTIPS, x, y,
                                    width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    instance, nullptr);
    if (!Bind(window)) return false;
    // The structure of this build (its size differs between 32 and 64 bits).
    ::SendMessageW(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return true;
}

int QvToolbar::ButtonCount() const {
    HWND bar = Handle();
    return bar == nullptr ? 0 : static_cast<int>(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
}

int QvToolbar::GetHeight() const { return ButtonCount() == 0 ? 0 : QvWindow::GetHeight(); }
int QvToolbar::GetWidth() const { return ButtonCount() == 0 ? 0 : QvWindow::GetWidth(); }

void QvToolbar::Refresh() { SetPosition(-1, -1, -1, -1, nullptr); }
void QvToolbar::Move(int, int, int, int) { SetPosition(-1, -1, -1, -1, nullptr); }

void QvToolbar::SetPosition(int, int, int, int, HWND) {
    HWND bar = Handle();
    if (bar == nullptr) return;
    if (ButtonCount() == 0) {
        ::ShowWindow(bar, SW_HIDE);
        return;
    }
    ::ShowWindow(bar, SW_SHOW);
    ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
}

bool QvToolbar::LoadImageLists() {
    HWND bar = Handle();
    if (bar == nullptr) return false;
    HIMAGELIST normal = MakeImageList(app_.ResourceModule(), kNormalIcons);
    HIMAGELIST disabled = MakeImageList(app_.ResourceModule(), kDisabledIcons);
    if (normal == nullptr || disabled == nullptr) {
        if (normal != nullptr) ::ImageList_Destroy(normal);
        if (disabled != nullptr) ::ImageList_Destroy(disabled);
        return false;
    }
    ::SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal));
    ::SendMessageW(bar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled));
    DestroyImageLists();
    normal_ = normal;
    disabled_ = disabled;
    ::SendMessageW(bar, TB_AUTOSIZE, 0, 0);
    ::ShowWindow(bar, SW_SHOW);
    return true;
}

void QvToolbar::AppendAvailableButton(int index, int commandId) {
    TBBUTTON button{};
    button.iBitmap = index;
    button.idCommand = commandId;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = BTNS_BUTTON;
    button.iString = -1;
    available_.push_back(button);
}

bool QvToolbar::AvailableButton(int index, TBBUTTON& button) const {
    if (index < 0 || index >= AvailableCount()) return false;
    button = available_[static_cast<std::size_t>(index)];
    return true;
}

void QvToolbar::EnableButton(int commandId, bool enable) {
    if (HWND bar = Handle()) ::SendMessageW(bar, TB_ENABLEBUTTON, commandId, MAKELPARAM(enable ? TRUE : FALSE, 0));
}

bool QvToolbar::IsButtonEnabled(int commandId) const {
    HWND bar = Handle();
    return bar != nullptr && ::SendMessageW(bar, TB_ISBUTTONENABLED, commandId, 0) != 0;
}

void QvToolbar::Customize() {
    if (HWND bar = Handle()) ::SendMessageW(bar, TB_CUSTOMIZE, 0, 0);
}

void QvToolbar::ApplyLayout(const std::vector<std::uint8_t>& layout) {
    HWND bar = Handle();
    if (bar == nullptr) return;
    ::SendMessageW(bar, WM_SETREDRAW, FALSE, 0);
    for (int i = ButtonCount(); i > 0; --i) ::SendMessageW(bar, TB_DELETEBUTTON, i - 1, 0);
    std::vector<TBBUTTON> buttons;
    buttons.reserve(layout.size());
    for (const std::uint8_t index : layout) {
        TBBUTTON button = SeparatorButton();
        if (AvailableButton(index, button)) button.fsState = TBSTATE_ENABLED;
        buttons.push_back(button);
    }
    if (!buttons.empty()) {
        ::SendMessageW(bar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    }
    ::SendMessageW(bar, WM_SETREDRAW, TRUE, 0);
    Refresh();
    ::InvalidateRect(bar, nullptr, TRUE);
}

std::vector<std::uint8_t> QvToolbar::ReadLayout() const {
    std::vector<std::uint8_t> layout;
    HWND bar = Handle();
    if (bar == nullptr) return layout;
    bool separatorPending = false;
    const int count = ButtonCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!::SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
        if (button.fsStyle & BTNS_SEP) {
            separatorPending = true;
            continue;
        }
        int index = -1;
        for (std::size_t a = 0; a < available_.size(); ++a) {
            if (available_[a].idCommand == button.idCommand) {
                index = static_cast<int>(a);
                break;
            }
        }
        if (index < 0 || index >= kSeparator) continue;   // not one of the table's buttons
        if (separatorPending) layout.push_back(kSeparator);
        separatorPending = false;
        layout.push_back(static_cast<std::uint8_t>(index));
    }
    return layout;
}

}  // namespace QvLibrary
