#include "framework/dialog.h"

#include <utility>

#include "framework/app.h"

namespace QvLibrary {
namespace {

// The dialog being created on this thread: messages such as WM_SETFONT and
// WM_MEASUREITEM come before WM_INITDIALOG, which carries the parameter.
thread_local Dialog* t_creating = nullptr;

}  // namespace

bool Dialog::Run(const QvApp& app, HWND owner, int templateId) {
    if (owner == nullptr) owner = app.MainWindow();
    return Run(app.ResourceModule(), owner, templateId) == IDOK;
}

INT_PTR Dialog::Run(HINSTANCE module, HWND owner, int templateId) {
    Dialog* const outer = std::exchange(t_creating, this);
    const INT_PTR result = ::DialogBoxParamW(module, MAKEINTRESOURCEW(templateId), owner, &Dialog::Procedure,
                                             reinterpret_cast<LPARAM>(this));
    t_creating = outer;
    return result;
}

Dialog* Dialog::FromHandle(HWND dialog) {
    return dialog != nullptr ? reinterpret_cast<Dialog*>(::GetWindowLongPtrW(dialog, DWLP_USER)) : nullptr;
}

INT_PTR CALLBACK Dialog::Procedure(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    Dialog* self = FromHandle(dialog);
    if (self == nullptr) {
        self = message == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lp) : t_creating;
        if (self == nullptr) return FALSE;
        if (self == t_creating) t_creating = nullptr;
        ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        self->dialog_ = dialog;
    }
    if (message == WM_INITDIALOG) return self->Init(dialog);
    INT_PTR result = FALSE;
    switch (message) {
        case WM_COMMAND: {
            const WORD id = LOWORD(wp);
            if (id == IDOK) {
                if (self->Ok(dialog)) ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (id == IDCANCEL) {
                if (self->Cancel(dialog)) ::EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            if (self->Command(dialog, id, HIWORD(wp))) return TRUE;
            break;
        }
        case WM_NCDESTROY:
            self->Message(dialog, message, wp, lp, result);
            ::SetWindowLongPtrW(dialog, DWLP_USER, 0);
            self->dialog_ = nullptr;
            return FALSE;
        default:
            break;
    }
    return self->Message(dialog, message, wp, lp, result) ? result : FALSE;
}

INT_PTR Dialog::Init(HWND) { return TRUE; }
bool Dialog::Command(HWND, WORD, WORD) { return false; }
bool Dialog::Ok(HWND) { return true; }
bool Dialog::Cancel(HWND) { return true; }
bool Dialog::Message(HWND, UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

void Dialog::End(INT_PTR result) {
    if (dialog_ != nullptr) ::EndDialog(dialog_, result);
}

}  // namespace QvLibrary
