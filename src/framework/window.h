// QvWindow: one library object bound to one native window. The object
// subclasses the window with the library's window procedure, which routes
// commands to registered handlers, shows the context menu on a right click,
// drives the hover-mode push behaviour and forwards the mouse wheel.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace QvLibrary {

struct WindowState;

// Receives the window's state and the signed wheel delta of one WM_MOUSEWHEEL.
using WheelHandler = void (*)(WindowState& state, int delta);
// Called with the popup menu just before it is shown, and the object's user data.
using MenuInitHandler = void (*)(HMENU popup, void* userData);
// Called for a WM_COMMAND of the handler's control id with its data and the
// notification code (high word of the first parameter).
using CommandFunction = void (*)(void* data, unsigned notification);

struct CommandHandler {
    WORD id = 0;
    CommandFunction function = nullptr;
    void* data = nullptr;
};

// One binding saved by Attach, restored by Detach.
struct BindingRecord {
    WNDPROC previousProc = nullptr;
    HWND window = nullptr;
    bool attached = false;
};

struct ToolTipInfo {
    HWND tip = nullptr;     // the tooltip window
    HWND owner = nullptr;   // the window the tool covers
    int textId = 4111;      // string resource shown by the tool
};

// A GDI font with its metrics. SelectInto/Restore put it into a device
// context and take it out again.
class FontInfo {
public:
    FontInfo(const wchar_t* face, int height);
    ~FontInfo();
    FontInfo(const FontInfo&) = delete;
    FontInfo& operator=(const FontInfo&) = delete;

    HFONT Font() const { return font_; }
    int AverageWidth() const { return averageWidth_; }
    int LineHeight() const { return lineHeight_; }
    void SelectInto(HDC dc);
    void Restore();

private:
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    int averageWidth_ = 0;
    int lineHeight_ = 0;
};

struct WindowState {
    WheelHandler wheelHandler;                   // never null; the default does nothing
    MenuInitHandler menuInitHandler = nullptr;
    std::vector<CommandHandler> commandHandlers;
    std::vector<BindingRecord> bindings;         // saved bindings, last is the top
    std::unique_ptr<ToolTipInfo> toolTip;
    std::unique_ptr<FontInfo> font;              // made by the first Font()
    WNDPROC previousProc = nullptr;              // null when this object did not subclass
    void* userData = nullptr;
    std::u16string text;
    HMENU contextMenu = nullptr;                 // its first sub-menu is the popup
    HWND window = nullptr;
    HWND menuOwner = nullptr;                    // receives the popup's commands
    int wheelRemainder = 0;
    bool pressed = false;
    bool attached = false;                       // the handle belongs to someone else
    bool hoverMode = false;
};

class QvWindow {
public:
    QvWindow();
    // Starts attached to an existing window (see Attach).
    explicit QvWindow(HWND attachTo);
    QvWindow(const QvWindow&) = delete;
    QvWindow& operator=(const QvWindow&) = delete;

    // Releases every handle: created windows are destroyed, attached ones get
    // their procedure and user data back; the context menu is destroyed.
    virtual ~QvWindow() = 0;
    virtual bool Create(HWND parent, int id) = 0;
    virtual bool Create(HWND parent, int id, int x, int y, int width, int height) = 0;
    virtual bool GetClientRect(RECT& rect) const;
    virtual std::u16string GetText() const;
    virtual int GetHeight() const;
    virtual int GetWidth() const;
    virtual void Detach();
    virtual bool Attach(HWND window);
    virtual void Refresh();
    virtual void Move(int x, int y, int width, int height);
    // Negative x or y keeps the position, negative width or height keeps the
    // size, a null insertAfter keeps the z-order.
    virtual void SetPosition(int x, int y, int width, int height, HWND insertAfter);
    virtual void SetText(const char16_t* text);
    virtual void SetText(const std::u16string& text);

    // Makes this object own the window (used by Create). False for null.
    bool Bind(HWND window);
    void Unbind();
    void Enable(bool enable);
    void SetRedraw(bool redraw);
    // A whole-client tooltip showing string ToolTipText() of the instance.
    bool SetToolTip(HINSTANCE instance);
    void SetToolTipText(int textId);

    void SetContextMenu(HMENU menu);   // taken over: destroyed with the object
    void SetMenuOwner(HWND owner);
    void SetMenuInitHandler(MenuInitHandler handler);
    void SetUserData(void* data);
    void SetHoverMode(bool hover);
    void SetWheelHandler(WheelHandler handler);
    void AddCommandHandler(WORD id, CommandFunction function, void* data);

    HWND Handle() const;
    HWND MenuOwner() const;
    void* UserData() const;
    bool HoverMode() const;
    bool Pressed() const;
    bool Attached() const;
    FontInfo& Font() const;
    WindowState& State() const;

    // The library's window procedure (installed by Bind and Attach).
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp);

protected:
    std::unique_ptr<WindowState> state_;

private:
    void Subclass(HWND window);
};

// The library's window procedure is installed on the window and its user data
// points at a WindowState of this process.
bool IsLibraryWindow(HWND window);

}  // namespace QvLibrary
