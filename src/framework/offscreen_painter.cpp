#include "framework/offscreen_painter.h"

namespace QvLibrary {

OffscreenPainter::~OffscreenPainter() { Close(); }

bool OffscreenPainter::Open(HDC target, const RECT& rect, COLORREF background) {
    Close();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (target == nullptr || width <= 0 || height <= 0) return false;
    memory_ = ::CreateCompatibleDC(target);
    bitmap_ = ::CreateCompatibleBitmap(target, width, height);
    if (memory_ == nullptr || bitmap_ == nullptr) {
        Free();
        return false;
    }
    previous_ = ::SelectObject(memory_, bitmap_);
    target_ = target;
    rect_ = rect;
    RECT whole{0, 0, width, height};
    if (HBRUSH brush = ::CreateSolidBrush(background)) {
        ::FillRect(memory_, &whole, brush);
        ::DeleteObject(brush);
    }
    return true;
}

void OffscreenPainter::Close() {
    if (memory_ == nullptr) return;
    ::BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, memory_, 0, 0,
             SRCCOPY);
    Free();
}

void OffscreenPainter::Free() {
    if (memory_ != nullptr && previous_ != nullptr) ::SelectObject(memory_, previous_);
    if (bitmap_ != nullptr) ::DeleteObject(bitmap_);
    if (memory_ != nullptr) ::DeleteDC(memory_);
    memory_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
    target_ = nullptr;
    rect_ = RECT{};
}

}  // namespace QvLibrary
