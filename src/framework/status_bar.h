// The status bar: parts whose widths are percentages of the parent's width,
// the last one reaching the right edge.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace QvLibrary {

class StatusBar {
public:
    StatusBar() = default;
    ~StatusBar();
    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    // A hidden status bar child of the parent, shown when asked, laid out
    // with Resize. False when the window cannot be made.
    bool Create(const std::vector<std::uint8_t>& percents, HWND parent, bool shown);
    // Lays the parts out for the parent's current width and lets the bar
    // size itself.
    void Resize();
    bool SetText(int part, const std::u16string& text);
    std::u16string Text(int part) const;
    void Show(bool shown);
    bool Shown() const { return shown_; }
    // The bar's height, 0 when hidden or absent.
    int Height() const;
    HWND Handle() const { return window_; }
    // Right edges of the parts as last laid out (the last is -1).
    const std::vector<int>& RightEdges() const { return edges_; }

private:
    HWND window_ = nullptr;
    std::vector<std::uint8_t> percents_;
    std::vector<int> edges_;
    bool shown_ = false;
};

}  // namespace QvLibrary
