// Small helpers every dialog uses: centring, the clipboard, reading dialog
// items, trimming, and the per-user registry store.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "framework/portable/trim.h"

namespace QvLibrary {

// The system work area, else the whole primary screen.
RECT GetWorkArea();
// Centres window on the rectangle (left, top, width, height); a rectangle
// whose corner lies outside the work area is replaced by the work area. The
// new edges are clamped to at least 0; size and z-order are kept.
void CentreWindow(int top, int left, HWND window, int width, int height);
void CentreOnScreen(HWND window);
// On the parent's window rectangle; on the screen when there is no parent.
void CentreOnParent(HWND window);
// Half the difference between the window's outer and client widths.
int HalfFrameWidth(HWND window);

// Unicode text of the clipboard; nothing when there is none or the clipboard
// cannot be opened.
std::optional<std::u16string> ReadClipboardText(HWND owner);
// Both writers empty the clipboard and place the text only when it is
// non-empty. The 8-bit writer keeps the low byte of each unit.
void WriteClipboardText(HWND owner, const std::u16string& text);
void WriteClipboardAnsi(HWND owner, const std::u16string& text);

// The whole text of a dialog item; fallback when the item is empty.
std::u16string GetItemText(HWND dialog, int id, const std::u16string& fallback = {});
long GetItemInt(HWND dialog, int id, long fallback);
double GetItemDouble(HWND dialog, int id, double fallback);

// Values under HKEY_CURRENT_USER\Software\<company>[\<subKey>], as strings.
class RegistryStore {
public:
    enum Result {
        kOk = 0,
        kAccessDenied = 1,
        kCannotCreateKey = 2,
        kCannotOpenSoftware = 3,
        kCannotOpenCompany = 4,
        kCannotReadValue = 5,
        kCannotWriteValue = 6,
    };

    explicit RegistryStore(std::u16string company, HKEY root = HKEY_CURRENT_USER);

    bool Read(const std::u16string& subKey, const std::u16string& name, std::u16string& value);
    bool Write(const std::u16string& subKey, const std::u16string& name, const std::u16string& value);
    // Result of the last Read or Write.
    int LastResult() const { return result_; }

private:
    std::u16string company_;
    HKEY root_;
    int result_ = kOk;
};

}  // namespace QvLibrary
