#include "framework/splitter.h"

#include <windowsx.h>

#include "framework/handles.h"

namespace QvLibrary {
namespace {

constexpr int kBarWidth = 4;

}  // namespace

Splitter::~Splitter() {
    if (window_ != nullptr && ::IsWindow(window_)) {
        if (dragging_ && ::GetCapture() == window_) ::ReleaseCapture();
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

bool Splitter::Create(HWND parent, SplitterMovedHandler moved, void* userData) {
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Splitter::WindowProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_SIZEWE);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kClassName;
    // Every splitter after the first finds the class registered already.
    if (::RegisterClassW(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    moved_ = moved;
    userData_ = userData;
    dragging_ = false;
    window_ = ::CreateWindowExW(0, kClassName, kClassName, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                parent, nullptr, instance, this);
    return window_ != nullptr;
}

int Splitter::ParentX(LPARAM lp) const {
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ::ClientToScreen(window_, &at);
    RECT outer{};
    ::GetWindowRect(::GetParent(window_), &outer);
    const int limit = (outer.right - outer.left) - kBarWidth;
    int x = at.x - outer.left;
    if (x > limit) x = limit;
    if (x < 0) x = 0;
    return x;
}

void Splitter::InvertBar(int x) const {
    HWND parent = ::GetParent(window_);
    RECT outer{};
    RECT own{};
    ::GetWindowRect(parent, &outer);
    ::GetWindowRect(window_, &own);
    static const WORD kPattern[8] = {170, 85, 170, 85, 170, 85, 170, 85};
    const Bitmap pattern(::CreateBitmap(8, 8, 1, 1, kPattern));
    if (!pattern) return;
    const Brush brush(::CreatePatternBrush(pattern.Get()));
    const WindowDC dc(parent, WindowDC::kWholeWindow);
    if (!brush || !dc) return;
    const Selection selected(dc.Get(), brush.Get());
    ::PatBlt(dc.Get(), x - kBarWidth / 2, own.top - outer.top, kBarWidth, own.bottom - own.top, PATINVERT);
}

LRESULT CALLBACK Splitter::WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* self = static_cast<Splitter*>(create->lpCreateParams);
        self->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Splitter*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcW(window, message, wp, lp);
    switch (message) {
        case WM_LBUTTONDOWN:
            self->position_ = self->ParentX(lp);
            self->dragging_ = true;
            ::SetCapture(window);
            self->InvertBar(self->position_);
            return 0;
        case WM_MOUSEMOVE:
            if (self->dragging_ && (wp & MK_LBUTTON)) {
                const int x = self->ParentX(lp);
                if (x != self->position_) {
                    self->InvertBar(self->position_);
                    self->position_ = x;
                    self->InvertBar(x);
                }
                return 0;
            }
            break;
        case WM_LBUTTONUP:
            if (self->dragging_) {
                self->InvertBar(self->position_);
                self->dragging_ = false;
                HWND parent = ::GetParent(window);
                RECT outer{};
                ::GetWindowRect(parent, &outer);
                POINT at{outer.left + self->position_, outer.top};
                ::ScreenToClient(parent, &at);
                ::ReleaseCapture();
                if (self->moved_ != nullptr) self->moved_(at.x, self->userData_);
                return 0;
            }
            break;
        case WM_CAPTURECHANGED:
            // Capture taken away mid-drag (another window, a menu): drop the bar.
            if (self->dragging_ && reinterpret_cast<HWND>(lp) != window) {
                self->InvertBar(self->position_);
                self->dragging_ = false;
            }
            break;
        case WM_NCDESTROY:
            self->window_ = nullptr;
            self->dragging_ = false;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wp, lp);
}

}  // namespace QvLibrary
