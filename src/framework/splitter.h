// The splitter: a window of class "QvSplitter" that the user drags sideways.
// While the left button is held an inverted 4-pixel bar follows the mouse on
// the parent, clamped to the parent's width; on release the moved handler
// gets the bar's position in the parent's client coordinates.
#pragma once

#include <windows.h>

namespace QvLibrary {

using SplitterMovedHandler = void (*)(int position, void* userData);

class Splitter {
public:
    static constexpr const wchar_t* kClassName = L"QvSplitter";

    Splitter() = default;
    ~Splitter();
    Splitter(const Splitter&) = delete;
    Splitter& operator=(const Splitter&) = delete;

    // Registers the class (once per module) and creates the visible child.
    // False when the class cannot be registered or the window made.
    bool Create(HWND parent, SplitterMovedHandler moved, void* userData);
    HWND Handle() const { return window_; }
    bool Dragging() const { return dragging_; }
    // The bar's position relative to the parent's outer rectangle.
    int BarPosition() const { return position_; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
    // The message's point relative to the parent's outer rectangle, clamped
    // to 0 .. parent width - 4.
    int ParentX(LPARAM lp) const;
    void InvertBar(int x) const;

    SplitterMovedHandler moved_ = nullptr;
    void* userData_ = nullptr;
    HWND window_ = nullptr;
    int position_ = 0;
    bool dragging_ = false;
};

}  // namespace QvLibrary
