#include "framework/markup_label.h"

#include <commctrl.h>

#include <string>

#include "framework/portable/markup_label_text.h"

namespace QvLibrary {

namespace {

constexpr UINT_PTR kSubclassId = 0x4D4C;  // "ML"

std::u16string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, u'\0');
    const int got = ::GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace

bool MarkupLabel::Attach(HWND label) {
    if (!::SetWindowSubclass(label, Procedure, kSubclassId, 0)) return false;
    ::InvalidateRect(label, nullptr, TRUE);
    return true;
}

LRESULT CALLBACK MarkupLabel::Procedure(HWND window, UINT message, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_SETTEXT: {
            ::SendMessageW(window, WM_SETREDRAW, FALSE, 0);
            const LRESULT result = ::DefSubclassProc(window, message, wp, lp);
            ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
            ::InvalidateRect(window, nullptr, TRUE);
            return result;
        }
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, Procedure, kSubclassId);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wp, lp);
}

void MarkupLabel::Paint(HWND window) {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(window, &paint);
    if (dc == nullptr) return;
    RECT client{};
    ::GetClientRect(window, &client);
    // The dialog's background first, as the static would paint it.
    HWND parent = ::GetParent(window);
    auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    ::FillRect(dc, &client, brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
    HRGN clip = ::CreateRectRgnIndirect(&client);
    ::SelectClipRgn(dc, clip);

    LOGFONTW base{};
    auto font = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    if (font == nullptr || ::GetObjectW(font, sizeof base, &base) == 0) {
        base = LOGFONTW{};
        base.lfHeight = 18;
        base.lfCharSet = DEFAULT_CHARSET;
        ::lstrcpyW(base.lfFaceName, L"Arial");
    }
    const COLORREF buttonText = ::GetSysColor(COLOR_BTNTEXT);
    ::SetBkMode(dc, TRANSPARENT);

    bool bold = false, italic = false, underline = false, drawing = false, colourNext = false;
    COLORREF colour = buttonText;
    HFONT current = nullptr;
    HGDIOBJ original = nullptr;
    const auto selectFont = [&] {
        LOGFONTW face = base;
        face.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        face.lfItalic = italic ? TRUE : FALSE;
        face.lfUnderline = underline ? TRUE : FALSE;
        HFONT made = ::CreateFontIndirectW(&face);
        HGDIOBJ previous = ::SelectObject(dc, made);
        if (original == nullptr) original = previous;
        if (current != nullptr) ::DeleteObject(current);
        current = made;
    };
    selectFont();
    SIZE probe{};
    ::GetTextExtentPoint32W(dc, L"\u00C5y", 2, &probe);
    const int lineHeight = probe.cy;

    int x = client.left, y = client.top;
    for (const MarkupToken& token : TokenizeMarkup(WindowText(window))) {
        if (colourNext) {
            if (token.kind == MarkupTokenKind::Blank) continue;
            colour = static_cast<COLORREF>(MarkupColour(token.text));
            colourNext = false;
            continue;
        }
        switch (ActionOf(token)) {
            case MarkupAction::BodyOn: drawing = true; continue;
            case MarkupAction::BodyOff: drawing = false; continue;
            case MarkupAction::NewParagraph: x = client.left; y += lineHeight * 3 / 2; continue;
            case MarkupAction::BoldOn: bold = true; selectFont(); continue;
            case MarkupAction::BoldOff: bold = false; selectFont(); continue;
            case MarkupAction::ItalicOn: italic = true; selectFont(); continue;
            case MarkupAction::ItalicOff: italic = false; selectFont(); continue;
            case MarkupAction::UnderlineOn: underline = true; selectFont(); continue;
            case MarkupAction::UnderlineOff: underline = false; selectFont(); continue;
            case MarkupAction::ColourOn: colourNext = true; continue;
            case MarkupAction::ColourOff: colour = buttonText; continue;
            case MarkupAction::Text: break;
        }
        if (!drawing) continue;
        const auto* text = reinterpret_cast<const wchar_t*>(token.text.c_str());
        const int length = static_cast<int>(token.text.size());
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text, length, &size);
        if (x > client.left && x + size.cx > client.right) {
            x = client.left;
            y += lineHeight;
        }
        if (y + size.cy > client.bottom) break;
        if (token.kind == MarkupTokenKind::Blank && x == client.left) continue;
        ::SetTextColor(dc, colour);
        ::TextOutW(dc, x, y, text, length);
        x += size.cx;
    }
    if (original != nullptr) ::SelectObject(dc, original);
    if (current != nullptr) ::DeleteObject(current);
    ::SelectClipRgn(dc, nullptr);
    ::DeleteObject(clip);
    ::EndPaint(window, &paint);
}

}  // namespace QvLibrary
