// OffscreenPainter: draws into a memory bitmap the size of a rectangle and
// copies it to the target in one go, so that a window repaints without flicker.
// The memory context's origin is the rectangle's top-left corner.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/handles.h"

namespace QvLibrary {

class OffscreenPainter {
public:
    OffscreenPainter() = default;
    // Closes (copies and frees) a painter still open.
    ~OffscreenPainter();
    OffscreenPainter(const OffscreenPainter&) = delete;
    OffscreenPainter& operator=(const OffscreenPainter&) = delete;

    // A memory context with a bitmap of the rectangle's size compatible with
    // target, filled with the background colour. False (and nothing held)
    // for an empty rectangle or when GDI refuses; an open painter is closed first.
    bool Open(HDC target, const RECT& rect, COLORREF background);
    // The memory context to draw into; null when not open.
    HDC Dc() const { return memory_.Get(); }
    bool IsOpen() const { return memory_.Valid(); }
    // Copies the bitmap to the target at the rectangle's origin and frees
    // everything. Nothing when not open.
    void Close();

private:
    void Free();

    HDC target_ = nullptr;
    MemoryDC memory_;
    Bitmap bitmap_;
    std::unique_ptr<Selection> selected_;   // the bitmap in the memory context
    RECT rect_{};
};

}  // namespace QvLibrary
