#include "framework/window.h"
#include "framework/handles.h"
#include "framework/wide.h"

#include <commctrl.h>
#include <windowsx.h>

namespace QvLibrary {
namespace {

void IgnoreWheel(WindowState&, int) {}


WindowState* StateOf(HWND window) {
    return reinterpret_cast<WindowState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The procedure this object replaced on the given window: the current
// binding's, or that of a binding saved by Attach, which still routes its
// messages through the same state.
WNDPROC PreviousProcOf(const WindowState& state, HWND window) {
    if (window == state.window) return state.previousProc;
    for (auto it = state.bindings.rbegin(); it != state.bindings.rend(); ++it) {
        if (it->window == window) return it->previousProc;
    }
    return nullptr;
}

LRESULT PassOn(const WindowState& state, HWND window, UINT message, WPARAM wp, LPARAM lp) {
    WNDPROC previous = PreviousProcOf(state, window);
    if (previous == nullptr) return ::DefWindowProcW(window, message, wp, lp);
    return ::CallWindowProcW(previous, window, message, wp, lp);
}

// The window is gone: forget it wherever this object remembers it, so that
// nothing later restores a procedure on, or destroys, a recycled handle.
void Forget(WindowState& state, HWND window) {
    if (state.window == window) {
        state.window = nullptr;
        state.previousProc = nullptr;
        state.attached = false;
        state.pressed = false;
    }
    for (BindingRecord& record : state.bindings) {
        if (record.window == window) record = BindingRecord{};
    }
}

void ShowContextMenu(WindowState& state) {
    if (state.contextMenu == nullptr) return;
    HMENU popup = ::GetSubMenu(state.contextMenu, 0);
    if (popup == nullptr) return;
    if (state.menuInitHandler != nullptr) state.menuInitHandler(popup, state.userData);
    POINT at{};
    if (!::GetCursorPos(&at)) return;
    HWND owner = state.menuOwner != nullptr ? state.menuOwner : state.window;
    if (owner == nullptr) return;
    if (::GetForegroundWindow() != owner && !::SetForegroundWindow(owner)) return;
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN, at.x, at.y, 0, owner, nullptr);
}

}  // namespace

// ---- FontInfo ----

FontInfo::FontInfo(const wchar_t* face, int height) {
    font_ = ::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                          VARIABLE_PITCH | FF_SWISS, face);
    if (font_ == nullptr) return;
    const MemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!dc) return;
    const Selection selected(dc.Get(), font_);
    TEXTMETRICW metrics{};
    if (::GetTextMetricsW(dc.Get(), &metrics)) {
        averageWidth_ = metrics.tmAveCharWidth;
        lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading;
    }
}

FontInfo::~FontInfo() {
    Restore();
    if (font_ != nullptr) ::DeleteObject(font_);
}

void FontInfo::SelectInto(HDC dc) {
    Restore();
    if (dc == nullptr || font_ == nullptr) return;
    dc_ = dc;
    previous_ = ::SelectObject(dc, font_);
}

void FontInfo::Restore() {
    if (dc_ != nullptr && previous_ != nullptr) ::SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
}

// ---- QvWindow ----

QvWindow::QvWindow() : state_(std::make_unique<WindowState>()) {
    state_->wheelHandler = IgnoreWheel;
}

QvWindow::QvWindow(HWND attachTo) : QvWindow() {
    if (attachTo != nullptr) QvWindow::Attach(attachTo);
}

QvWindow::~QvWindow() {
    Unbind();
    while (!state_->bindings.empty()) {
        const BindingRecord record = state_->bindings.back();
        state_->bindings.pop_back();
        state_->window = record.window;
        state_->previousProc = record.previousProc;
        state_->attached = record.attached;
        Unbind();
    }
    if (state_->toolTip && state_->toolTip->tip != nullptr && ::IsWindow(state_->toolTip->tip)) {
        ::DestroyWindow(state_->toolTip->tip);
    }
    if (state_->contextMenu != nullptr) ::DestroyMenu(state_->contextMenu);
}

bool QvWindow::GetClientRect(RECT& rect) const {
    if (state_->window == nullptr) return false;
    return ::GetClientRect(state_->window, &rect) != FALSE;
}

std::u16string QvWindow::GetText() const { return state_->text; }

int QvWindow::GetHeight() const {
    RECT rect{};
    return GetClientRect(rect) ? rect.bottom - rect.top : 0;
}

int QvWindow::GetWidth() const {
    RECT rect{};
    return GetClientRect(rect) ? rect.right - rect.left : 0;
}

void QvWindow::Detach() {
    if (state_->bindings.empty()) return;
    Unbind();
    const BindingRecord record = state_->bindings.back();
    state_->bindings.pop_back();
    state_->window = record.window;
    state_->previousProc = record.previousProc;
    state_->attached = record.attached;
}

bool QvWindow::Attach(HWND window) {
    if (window == nullptr || !::IsWindow(window)) return false;
    state_->bindings.push_back({state_->previousProc, state_->window, state_->attached});
    state_->window = window;
    state_->attached = true;
    state_->previousProc = nullptr;
    state_->pressed = false;
    // A window whose user data is set belongs to someone: use it as it is.
    if (::GetWindowLongPtrW(window, GWLP_USERDATA) == 0) Subclass(window);
    return true;
}

void QvWindow::Refresh() { SetPosition(-1, -1, -1, -1, nullptr); }

void QvWindow::Move(int x, int y, int width, int height) { SetPosition(x, y, width, height, nullptr); }

void QvWindow::SetPosition(int x, int y, int width, int height, HWND insertAfter) {
    if (state_->window == nullptr) return;
    UINT flags = 0;
    if (x < 0 || y < 0) flags |= SWP_NOMOVE;
    if (insertAfter == nullptr) flags |= SWP_NOZORDER;
    if (width < 0 || height < 0) flags |= SWP_NOSIZE;
    ::SetWindowPos(state_->window, insertAfter, x, y, width, height, flags);
    ToolTipInfo* tip = state_->toolTip.get();
    if (tip != nullptr && tip->tip != nullptr) {
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.hwnd = tip->owner;
        info.uId = 0;
        if (::GetClientRect(tip->owner, &info.rect)) {
            ::SendMessageW(tip->tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
}

void QvWindow::SetText(const char16_t* text) {
    state_->text = text != nullptr ? text : u"";
    if (state_->window != nullptr) ::SetWindowTextW(state_->window, Wide(state_->text));
}

void QvWindow::SetText(const std::u16string& text) { SetText(text.c_str()); }

bool QvWindow::Bind(HWND window) {
    Unbind();
    state_->window = window;
    if (window == nullptr) return false;
    if (!state_->text.empty()) ::SetWindowTextW(window, Wide(state_->text));
    Subclass(window);
    return true;
}

void QvWindow::Subclass(HWND window) {
    // The user data goes first so that the library's procedure finds the
    // state from the very first message it receives.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state_.get()));
    state_->previousProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&QvWindow::WindowProc)));
}

void QvWindow::Unbind() {
    HWND window = state_->window;
    if (window != nullptr) {
        if (state_->attached) {
            if (state_->previousProc != nullptr) {
                ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state_->previousProc));
                ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            }
        } else {
            ::DestroyWindow(window);
        }
    }
    state_->window = nullptr;
    state_->previousProc = nullptr;
    state_->attached = false;
    state_->pressed = false;
}

void QvWindow::Enable(bool enable) {
    if (state_->window != nullptr) ::EnableWindow(state_->window, enable ? TRUE : FALSE);
}

void QvWindow::SetRedraw(bool redraw) {
    if (state_->window == nullptr) return;
    ::SendMessageW(state_->window, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw) ::InvalidateRect(state_->window, nullptr, TRUE);
}

bool QvWindow::SetToolTip(HINSTANCE instance) {
    if (!state_->toolTip) {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&init);
        state_->toolTip = std::make_unique<ToolTipInfo>();
    }
    ToolTipInfo& tip = *state_->toolTip;
    if (tip.tip != nullptr) {
        if (::IsWindow(tip.tip)) ::DestroyWindow(tip.tip);
        tip.tip = nullptr;
    }
    HWND owner = state_->window;
    if (owner == nullptr) return false;
    tip.tip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                                nullptr, instance, nullptr);
    if (tip.tip == nullptr) return false;
    tip.owner = owner;
    ::SetWindowPos(tip.tip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = owner;
    info.hinst = instance;
    info.uId = 0;
    info.lpszText = MAKEINTRESOURCEW(tip.textId);
    if (!::GetClientRect(owner, &info.rect)) return false;
    ::SendMessageW(tip.tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

void QvWindow::SetToolTipText(int textId) {
    if (!state_->toolTip) state_->toolTip = std::make_unique<ToolTipInfo>();
    state_->toolTip->textId = textId;
}

void QvWindow::SetContextMenu(HMENU menu) {
    if (state_->contextMenu != nullptr && state_->contextMenu != menu) ::DestroyMenu(state_->contextMenu);
    state_->contextMenu = menu;
}

void QvWindow::SetMenuOwner(HWND owner) { state_->menuOwner = owner; }
void QvWindow::SetMenuInitHandler(MenuInitHandler handler) { state_->menuInitHandler = handler; }
void QvWindow::SetUserData(void* data) { state_->userData = data; }
void QvWindow::SetHoverMode(bool hover) { state_->hoverMode = hover; }
void QvWindow::SetWheelHandler(WheelHandler handler) {
    state_->wheelHandler = handler != nullptr ? handler : IgnoreWheel;
}
void QvWindow::AddCommandHandler(WORD id, CommandFunction function, void* data) {
    if (function != nullptr) state_->commandHandlers.push_back({id, function, data});
}

HWND QvWindow::Handle() const { return state_->window; }
HWND QvWindow::MenuOwner() const { return state_->menuOwner; }
void* QvWindow::UserData() const { return state_->userData; }
bool QvWindow::HoverMode() const { return state_->hoverMode; }
bool QvWindow::Pressed() const { return state_->pressed; }
bool QvWindow::Attached() const { return state_->attached; }
FontInfo& QvWindow::Font() const {
    // Made on first use: most windows never draw text themselves.
    if (!state_->font) state_->font = std::make_unique<FontInfo>(L"Arial", 18);
    return *state_->font;
}
WindowState& QvWindow::State() const { return *state_; }

bool IsLibraryWindow(HWND window) {
    return window != nullptr &&
           ::GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&QvWindow::WindowProc) &&
           StateOf(window) != nullptr;
}

LRESULT CALLBACK QvWindow::WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    WindowState* state = StateOf(window);
    if (state == nullptr) return ::DefWindowProcW(window, message, wp, lp);

    switch (message) {
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lp);
            if (header == nullptr || header->code != static_cast<UINT>(NM_RCLICK)) break;
            ShowContextMenu(*state);
            return 0;
        }
        case WM_RBUTTONDOWN:
            ShowContextMenu(*state);
            return 0;
        case WM_COMMAND: {
            const WORD id = LOWORD(wp);
            const unsigned notification = HIWORD(wp);
            // A handler may add handlers: call from a copy of the list.
            const std::vector<CommandHandler> handlers = state->commandHandlers;
            bool called = false;
            for (const CommandHandler& handler : handlers) {
                if (handler.id != id) continue;
                handler.function(handler.data, notification);
                called = true;
            }
            if (called) return 0;
            break;
        }
        case WM_NCDESTROY: {
            const LRESULT result = PassOn(*state, window, message, wp, lp);
            Forget(*state, window);
            return result;
        }
        case WM_MOUSEMOVE:
            if (state->hoverMode && window == state->window) {
                RECT client{};
                ::GetClientRect(window, &client);
                const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                const bool inside = ::PtInRect(&client, at) != FALSE;
                if (inside && !state->pressed) {
                    state->pressed = true;
                    ::SetCapture(window);
                    ::InvalidateRect(window, nullptr, TRUE);
                } else if (!inside && state->pressed) {
                    state->pressed = false;
                    ::ReleaseCapture();
                    ::InvalidateRect(window, nullptr, TRUE);
                }
            }
            break;
        case WM_LBUTTONUP:
            if (state->pressed && window == state->window) {
                state->pressed = false;
                ::ReleaseCapture();
                ::SendMessageW(::GetParent(window), WM_COMMAND,
                               MAKEWPARAM(::GetDlgCtrlID(window), 0), reinterpret_cast<LPARAM>(window));
                return 0;
            }
            break;
        case WM_MOUSEWHEEL:
            state->wheelHandler(*state, GET_WHEEL_DELTA_WPARAM(wp));
            return 0;
        default:
            break;
    }
    return PassOn(*state, window, message, wp, lp);
}

}  // namespace QvLibrary
