// Dialogs whose pages hang on a tab strip keep every page's controls in the
// dialog itself, above the strip. The strip's page may be drawn lighter than
// the dialog (the visual style's page); labels, check boxes, radio buttons
// and group boxes standing on it are drawn on the page's own background
// rather than on boxes of the dialog's colour.
#pragma once

#include <windows.h>

namespace kodrin::app {

// Answers WM_CTLCOLORSTATIC and WM_CTLCOLORBTN of the dialog: for a label,
// check box, radio button or group box on the page of tabs, paints the page
// under the control into its device context and returns a hollow brush with
// transparent text; null for other controls (the dialog's default answer).
HBRUSH PaintTabPageBehind(HWND tabs, HWND control, HDC dc);

// Answers WM_ERASEBKGND of the dialog (sent as well by controls drawn with
// the visual style, which ask their parent for what lies beneath them):
// paints the dialog's background with the strip's page over it.
void EraseWithTabPage(HWND dialog, HWND tabs, HDC dc);

// Frees what the two above keep of the strip; for the dialog's WM_DESTROY.
void ForgetTabPage(HWND tabs);

}  // namespace kodrin::app
