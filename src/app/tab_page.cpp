#include "app/tab_page.h"

#include <commctrl.h>

namespace kodrin::app {
namespace {

// Paints the strip, at its place in the window whose client coordinates dc
// uses (origin: the point of that window at the strip's corner).
void PrintStrip(HWND tabs, HDC dc, POINT stripCorner) {
    POINT old{};
    ::OffsetViewportOrgEx(dc, stripCorner.x, stripCorner.y, &old);
    ::SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
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

    // Buttons draw through their parent's device context: keep to the control.
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, 0, 0, area.right, area.bottom);
    ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    PrintStrip(tabs, dc, POINT{-corner.x, -corner.y});
    ::RestoreDC(dc, saved);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void EraseWithTabPage(HWND dialog, HWND tabs, HDC dc) {
    RECT client{};
    ::GetClientRect(dialog, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    if (tabs == nullptr || !::IsWindowVisible(tabs)) return;
    POINT corner{0, 0};
    ::MapWindowPoints(tabs, dialog, &corner, 1);
    const int saved = ::SaveDC(dc);
    RECT strip{};
    ::GetClientRect(tabs, &strip);
    ::IntersectClipRect(dc, corner.x, corner.y, corner.x + strip.right, corner.y + strip.bottom);
    PrintStrip(tabs, dc, corner);
    ::RestoreDC(dc, saved);
}

}  // namespace kodrin::app
