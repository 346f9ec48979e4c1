#include "app/tab_page.h"

#include <commctrl.h>

#include <unordered_map>

namespace kodrin::app {
namespace {

// The strip as it draws itself, kept as a picture while its size stays:
// drawing the styled strip for every control would take seconds a page.
struct StripPicture {
    SIZE size{};
    HBITMAP bitmap = nullptr;
};

std::unordered_map<HWND, StripPicture>& Pictures() {
    static std::unordered_map<HWND, StripPicture> pictures;
    return pictures;
}

// A memory context holding the strip's picture, or null.
HDC StripContext(HWND tabs, HDC like, HGDIOBJ& previous, SIZE& size) {
    RECT client{};
    ::GetClientRect(tabs, &client);
    size = SIZE{client.right, client.bottom};
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    HDC memory = ::CreateCompatibleDC(like);
    if (memory == nullptr) return nullptr;
    StripPicture& picture = Pictures()[tabs];
    const bool fresh = picture.bitmap == nullptr || picture.size.cx != size.cx || picture.size.cy != size.cy;
    if (fresh) {
        if (picture.bitmap != nullptr) ::DeleteObject(picture.bitmap);
        picture.bitmap = ::CreateCompatibleBitmap(like, size.cx, size.cy);
        picture.size = size;
    }
    if (picture.bitmap == nullptr) {
        ::DeleteDC(memory);
        return nullptr;
    }
    previous = ::SelectObject(memory, picture.bitmap);
    if (fresh) {
        ::FillRect(memory, &client, ::GetSysColorBrush(COLOR_BTNFACE));
        ::SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    }
    return memory;
}

void ReleaseStripContext(HDC memory, HGDIOBJ previous) {
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
}

bool StandsOnPage(HWND control) {
    wchar_t kind[16] = {};
    ::GetClassNameW(control, kind, 16);
    if (::lstrcmpiW(kind, WC_STATICW) == 0) return true;
    if (::lstrcmpiW(kind, WC_BUTTONW) != 0) return false;
    switch (::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_GROUPBOX:
            return true;
        default:
            return false;
    }
}

}  // namespace

HBRUSH PaintTabPageBehind(HWND tabs, HWND control, HDC dc) {
    if (tabs == nullptr || control == nullptr || control == tabs || !StandsOnPage(control)) return nullptr;
    RECT page{};
    ::GetClientRect(tabs, &page);
    ::SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    RECT area{};
    ::GetClientRect(control, &area);
    POINT corner{0, 0};
    ::MapWindowPoints(control, tabs, &corner, 1);
    const POINT middle{corner.x + area.right / 2, corner.y + area.bottom / 2};
    if (!::PtInRect(&page, middle)) return nullptr;

    HGDIOBJ previous = nullptr;
    SIZE size{};
    HDC strip = StripContext(tabs, dc, previous, size);
    if (strip == nullptr) return nullptr;
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    ::BitBlt(dc, 0, 0, area.right, area.bottom, strip, corner.x, corner.y, SRCCOPY);
    ReleaseStripContext(strip, previous);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void EraseWithTabPage(HWND dialog, HWND tabs, HDC dc) {
    RECT client{};
    ::GetClientRect(dialog, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    if (tabs == nullptr || !::IsWindowVisible(tabs)) return;
    HGDIOBJ previous = nullptr;
    SIZE size{};
    HDC strip = StripContext(tabs, dc, previous, size);
    if (strip == nullptr) return;
    POINT corner{0, 0};
    ::MapWindowPoints(tabs, dialog, &corner, 1);
    ::BitBlt(dc, corner.x, corner.y, size.cx, size.cy, strip, 0, 0, SRCCOPY);
    ReleaseStripContext(strip, previous);
}

void ForgetTabPage(HWND tabs) {
    const auto it = Pictures().find(tabs);
    if (it == Pictures().end()) return;
    if (it->second.bitmap != nullptr) ::DeleteObject(it->second.bitmap);
    Pictures().erase(it);
}

}  // namespace kodrin::app
