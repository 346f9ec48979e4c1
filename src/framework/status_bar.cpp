#include "framework/status_bar.h"

#include <commctrl.h>

namespace QvLibrary {

StatusBar::~StatusBar() {
    if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
}

bool StatusBar::Create(const std::vector<std::uint8_t>& percents, HWND parent, bool shown) {
    if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    window_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent, nullptr,
                                instance, nullptr);
    if (window_ == nullptr) return false;
    percents_ = percents;
    shown_ = false;
    Resize();
    if (shown) Show(true);
    return true;
}

void StatusBar::Resize() {
    if (window_ == nullptr) return;
    RECT client{};
    ::GetClientRect(::GetParent(window_), &client);
    const int width = client.right - client.left;
    edges_.clear();
    int sum = 0;
    for (const std::uint8_t percent : percents_) {
        sum += percent;
        edges_.push_back(sum * width / 100);
    }
    if (!edges_.empty()) edges_.back() = -1;
    if (!edges_.empty()) {
        ::SendMessageW(window_, SB_SETPARTS, edges_.size(), reinterpret_cast<LPARAM>(edges_.data()));
    }
    ::SendMessageW(window_, WM_SIZE, 0, 0);
}

bool StatusBar::SetText(int part, const std::u16string& text) {
    if (window_ == nullptr) return false;
    return ::SendMessageW(window_, SB_SETTEXTW, static_cast<WPARAM>(part),
                          reinterpret_cast<LPARAM>(reinterpret_cast<const wchar_t*>(text.c_str()))) != FALSE;
}

std::u16string StatusBar::Text(int part) const {
    if (window_ == nullptr) return {};
    const LRESULT info = ::SendMessageW(window_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
    const std::size_t length = LOWORD(info);
    std::wstring buffer(length + 1, L'\0');
    ::SendMessageW(window_, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(length);
    return std::u16string(buffer.begin(), buffer.end());
}

void StatusBar::Show(bool shown) {
    shown_ = shown;
    if (window_ != nullptr) ::ShowWindow(window_, shown ? SW_SHOW : SW_HIDE);
}

int StatusBar::Height() const {
    if (window_ == nullptr || !shown_) return 0;
    RECT rect{};
    if (!::GetWindowRect(window_, &rect)) return 0;
    return rect.bottom - rect.top;
}

}  // namespace QvLibrary
