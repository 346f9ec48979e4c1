// Dialog: one object bound to one modal dialog. The object's address is the
// dialog's user data from WM_INITDIALOG on, and the library's dialog
// procedure routes the messages to its virtual operations. OK and Cancel end
// the dialog by default; a dialog overrides only what it does differently.
#pragma once

#include <windows.h>

namespace QvLibrary {

class QvApp;

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Shows the template of the application's resource module modally
    // (owner null: the main window). True when the dialog ended with IDOK.
    bool Run(const QvApp& app, HWND owner, int templateId);
    // Shows the template modally; the value the dialog ended with, or -1
    // when it could not be shown.
    INT_PTR Run(HINSTANCE module, HWND owner, int templateId);

    // The dialog's window while it shows, else null.
    HWND Handle() const { return dialog_; }
    // The object bound to a dialog window, or null.
    static Dialog* FromHandle(HWND dialog);
    // The library's dialog procedure; the creation parameter is the Dialog.
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wp, LPARAM lp);

protected:
    // WM_INITDIALOG. TRUE lets the system set the focus, FALSE when Init has
    // set it. By default: TRUE.
    virtual INT_PTR Init(HWND dialog);
    // WM_COMMAND for any control but OK and Cancel; true when handled.
    virtual bool Command(HWND dialog, WORD id, WORD notification);
    // OK (IDOK, also Enter): true ends the dialog with IDOK, false keeps it
    // open (an override may end it itself with End). By default: true.
    virtual bool Ok(HWND dialog);
    // Cancel (IDCANCEL, also Escape and the close box): true ends the
    // dialog with IDCANCEL. By default: true.
    virtual bool Cancel(HWND dialog);
    // Any other message; true when handled, the procedure's answer in result.
    virtual bool Message(HWND dialog, UINT message, WPARAM wp, LPARAM lp, INT_PTR& result);

    // Ends the dialog with the given value.
    void End(INT_PTR result);

private:
    HWND dialog_ = nullptr;
};

}  // namespace QvLibrary
