// A plain window class for framework tests: it records what reaches its own
// procedure, answers WM_APP with 42, and leaves its user data alone.
#pragma once

#include <windows.h>

#include <map>

#include "framework/window.h"

namespace kodrin::test {

struct Recorder {
    std::map<UINT, int> count;
    WPARAM lastCommand = 0;
    LPARAM lastCommandWindow = 0;
    int Count(UINT message) const {
        auto it = count.find(message);
        return it == count.end() ? 0 : it->second;
    }
};

inline LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
        ::SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* recorder = reinterpret_cast<Recorder*>(::GetWindowLongPtrW(window, 0));
    if (recorder != nullptr) {
        ++recorder->count[message];
        if (message == WM_COMMAND) {
            recorder->lastCommand = wp;
            recorder->lastCommandWindow = lp;
        }
    }
    if (message == WM_APP) return 42;
    return ::DefWindowProcW(window, message, wp, lp);
}

inline const wchar_t* RecordingClass() {
    static const ATOM atom = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.cbWndExtra = sizeof(void*);
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"KodrinRecordingWindow";
        return ::RegisterClassW(&wc);
    }();
    return atom != 0 ? L"KodrinRecordingWindow" : nullptr;
}

// A recording window: a child when a parent is given, else a hidden popup.
inline HWND MakeRecordingWindow(Recorder* recorder, HWND parent = nullptr, int id = 0, int x = 0, int y = 0,
                                int width = 100, int height = 50) {
    const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_POPUP;
    return ::CreateWindowExW(0, RecordingClass(), L"", style, x, y, width, height, parent,
                             parent != nullptr ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr,
                             ::GetModuleHandleW(nullptr), recorder);
}

// The smallest concrete library window: a recording window.
class TestWindow : public QvLibrary::QvWindow {
public:
    explicit TestWindow(Recorder* recorder = nullptr) : recorder_(recorder) {}
    ~TestWindow() override = default;
    bool Create(HWND parent, int id) override { return Create(parent, id, 0, 0, 0, 0); }
    bool Create(HWND parent, int id, int x, int y, int width, int height) override {
        return Bind(MakeRecordingWindow(recorder_, parent, id, x, y, width, height));
    }

private:
    Recorder* recorder_;
};

}  // namespace kodrin::test
