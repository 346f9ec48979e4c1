#include "framework/offscreen_painter.h"

namespace QvLibrary {

OffscreenPainter::~OffscreenPainter() { Close(); }

bool OffscreenPainter::Open(HDC target, const RECT& rect, COLORREF background) {
    Close();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (target == nullptr || width <= 0 || height <= 0) return false;
    memory_.Reset(::CreateCompatibleDC(target));
    bitmap_.Reset(::CreateCompatibleBitmap(target, width, height));
    if (!memory_ || !bitmap_) {
        Free();
        return false;
    }
    selected_ = std::make_unique<Selection>(memory_.Get(), bitmap_.Get());
    target_ = target;
    rect_ = rect;
    RECT whole{0, 0, width, height};
    if (const Brush brush{::CreateSolidBrush(background)}) ::FillRect(memory_.Get(), &whole, brush.Get());
    return true;
}

void OffscreenPainter::Close() {
    if (!memory_) return;
    ::BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, memory_.Get(), 0,
             0, SRCCOPY);
    Free();
}

void OffscreenPainter::Free() {
    // The bitmap is selected out before it and the context go.
    selected_.reset();
    bitmap_.Reset();
    memory_.Reset();
    target_ = nullptr;
    rect_ = RECT{};
}

}  // namespace QvLibrary
