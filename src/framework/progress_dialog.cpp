#include "framework/progress_dialog.h"

#include <commctrl.h>

#include <atomic>
#include <utility>

#include "framework/app.h"
#include "framework/helpers.h"

namespace QvLibrary {

struct ProgressState {
    const QvApp* app = nullptr;
    std::u16string title;
    std::atomic<HWND> dialog{nullptr};
    std::function<void(ProgressDialog&)> worker;
    std::function<void()> cancel;
    HANDLE thread = nullptr;
    bool secondBar = false;
    bool running = false;
    std::atomic<bool> finished{false};
    std::atomic<bool> succeeded{false};
    std::atomic<bool> cancelRequested{false};
};

namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// Waits for the thread to end while answering messages that other threads
// send to this thread's windows, so that a worker blocked in SendMessage
// cannot dead-lock the wait.
void WaitForThread(HANDLE thread) {
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) return;   // ended, or the wait failed
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

ProgressDialog::ProgressDialog(const QvApp& app) : state_(std::make_unique<ProgressState>()) {
    state_->app = &app;
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&init);
}

ProgressDialog::~ProgressDialog() = default;

void ProgressDialog::ShowSecondBar(bool show) { state_->secondBar = show; }

bool ProgressDialog::Run(HWND owner, int titleId, WorkerFunction worker, void* data, CancelFunction cancel,
                         void* cancelData) {
    std::function<void(ProgressDialog&)> job;
    if (worker != nullptr) job = [worker, data](ProgressDialog& progress) { worker(progress, data); };
    std::function<void()> onCancel;
    if (cancel != nullptr) onCancel = [cancel, cancelData] { cancel(cancelData); };
    return Run(owner, titleId, std::move(job), std::move(onCancel));
}

bool ProgressDialog::Run(HWND owner, int titleId, std::function<void(ProgressDialog&)> worker,
                         std::function<void()> cancel) {
    ProgressState& s = *state_;
    if (s.running || !worker) return false;
    s.running = true;
    s.title = s.app->LoadString(titleId);
    s.worker = std::move(worker);
    s.cancel = std::move(cancel);
    s.finished = false;
    s.succeeded = false;
    s.cancelRequested = false;

    const bool ended = s.app->RunDialog(owner, kTemplate, DialogProc, reinterpret_cast<LPARAM>(this));

    if (s.thread != nullptr) {
        // The dialog can only end early when something other than the worker
        // closed it: ask the job to stop, then let it end before its data goes.
        if (!s.finished) {
            s.cancelRequested = true;
            if (s.cancel) s.cancel();
        }
        WaitForThread(s.thread);
        ::CloseHandle(s.thread);
        s.thread = nullptr;
    }
    s.dialog = nullptr;
    s.worker = nullptr;
    s.cancel = nullptr;
    s.running = false;
    // Only the worker's own successful end counts.
    return ended && s.succeeded;
}

void ProgressDialog::SetProgress(int percent) {
    if (HWND dialog = state_->dialog) ::SendMessageW(dialog, kSetProgressMessage, static_cast<WPARAM>(percent), 0);
}

void ProgressDialog::SetSecondProgress(int percent) {
    if (HWND dialog = state_->dialog) {
        ::SendMessageW(dialog, kSetSecondProgressMessage, static_cast<WPARAM>(percent), 0);
    }
}

void ProgressDialog::SetText(const std::u16string& text) {
    if (HWND dialog = state_->dialog) ::SetDlgItemTextW(dialog, kTextItem, Wide(text));
}

void ProgressDialog::SetText(int textId) { SetText(state_->app->LoadString(textId)); }

void ProgressDialog::Finish(bool failed) {
    ProgressState& s = *state_;
    if (s.finished.exchange(true)) return;
    s.succeeded = !failed;
    if (HWND dialog = s.dialog) ::SendMessageW(dialog, failed ? kFailedMessage : kSucceededMessage, 0, 0);
}

bool ProgressDialog::CancelRequested() const { return state_->cancelRequested; }

HWND ProgressDialog::Window() const { return state_->dialog; }

HANDLE ProgressDialog::StartThread(LPTHREAD_START_ROUTINE routine, void* parameter, std::size_t stackSize) {
    return ::CreateThread(nullptr, stackSize, routine, parameter, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
}

DWORD WINAPI ProgressDialog::WorkerMain(void* parameter) {
    auto* self = static_cast<ProgressDialog*>(parameter);
    try {
        self->state_->worker(*self);
    } catch (...) {
        // An unexpected failure of the job ends the dialog with failure below.
    }
    // A job that returns without finishing must not leave the dialog open
    // for ever: it ends with failure (no effect after the job's own Finish).
    self->Finish(true);
    return 0;
}

void ProgressDialog::OnInit(HWND dialog) {
    ProgressState& s = *state_;
    s.dialog = dialog;
    CentreOnParent(dialog);
    ::ShowWindow(::GetDlgItem(dialog, kSecondBarItem), s.secondBar ? SW_SHOW : SW_HIDE);
    ::SetDlgItemTextW(dialog, kTextItem, Wide(s.title));
    ::SendDlgItemMessageW(dialog, kBarItem, PBM_SETRANGE32, 0, 100);
    ::SendDlgItemMessageW(dialog, kSecondBarItem, PBM_SETRANGE32, 0, 100);
    HWND cancel = ::GetDlgItem(dialog, IDCANCEL);
    const bool cancellable = static_cast<bool>(s.cancel);
    ::ShowWindow(cancel, cancellable ? SW_SHOW : SW_HIDE);
    ::EnableWindow(cancel, cancellable);
    ::SetTimer(dialog, kStartTimer, kStartDelayMs, nullptr);
}

void ProgressDialog::OnStartTimer(HWND dialog) {
    ProgressState& s = *state_;
    ::KillTimer(dialog, kStartTimer);
    if (s.thread != nullptr) return;
    s.thread = StartThread(&ProgressDialog::WorkerMain, this, kWorkerStackSize);
    if (s.thread == nullptr) {
        s.finished = true;
        ::EndDialog(dialog, 0);
    }
}

void ProgressDialog::OnCancel(HWND dialog) {
    ProgressState& s = *state_;
    HWND button = ::GetDlgItem(dialog, IDCANCEL);
    // Escape and the close command arrive as IDCANCEL too: they count only
    // while the Cancel button is offered and not yet pressed.
    if (!s.cancel || button == nullptr || !::IsWindowEnabled(button)) return;
    ::EnableWindow(button, FALSE);
    s.cancelRequested = true;
    s.cancel();
}

INT_PTR CALLBACK ProgressDialog::DialogProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lp);
        reinterpret_cast<ProgressDialog*>(lp)->OnInit(dialog);
        return TRUE;
    }
    auto* self = reinterpret_cast<ProgressDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) return FALSE;
    switch (message) {
        case WM_TIMER:
            if (wp != kStartTimer) return FALSE;
            self->OnStartTimer(dialog);
            return TRUE;
        case kSetProgressMessage:
            ::SendDlgItemMessageW(dialog, kBarItem, PBM_SETPOS, wp, 0);
            return TRUE;
        case kSetSecondProgressMessage:
            ::SendDlgItemMessageW(dialog, kSecondBarItem, PBM_SETPOS, wp, 0);
            return TRUE;
        case kFailedMessage:
            ::EndDialog(dialog, 0);
            return TRUE;
        case kSucceededMessage:
            ::EndDialog(dialog, 1);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wp) != IDCANCEL) return FALSE;
            self->OnCancel(dialog);
            return TRUE;
        case WM_DESTROY:
            self->state_->dialog = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace QvLibrary
