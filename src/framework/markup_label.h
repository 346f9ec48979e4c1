// MarkupLabel: a static control subclassed to draw a line of simple markup
// (framework/portable/markup_label_text.h): only the text between "<body>"
// and "</body>", with bold, italic, underline, colours and line breaks,
// words wrapped at the right edge.
#pragma once

#include <windows.h>

namespace QvLibrary {

class MarkupLabel {
public:
    // Subclasses the static; it draws itself from then on. False when it
    // cannot be subclassed.
    static bool Attach(HWND label);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data);
    static void Paint(HWND window);
};

}  // namespace QvLibrary
