#include "framework/progress_dialog.h"

#include <commctrl.h>

#include <atomic>
#include <utility>

#include "framework/app.h"
#include "framework/dialog.h"
#include "framework/handles.h"
#include "framework/helpers.h"
#include "framework/wide.h"
#include "framework/worker.h"

namespace QvLibrary {

struct ProgressState {
    const QvApp* app = nullptr;
    std::u16string title;
    std::atomic<HWND> dialog{nullptr};
    std::function<void(ProgressDialog&)> worker;
    std::function<void()> cancel;
    Handle thread;
    bool secondBar = false;
    bool running = false;
    std::atomic<bool> finished{false};
    std::atomic<bool> succeeded{false};
    std::atomic<bool> cancelRequested{false};
};

class ProgressDialog::Binding final : public Dialog {
public:
    explicit Binding(ProgressDialog& owner) : owner_(owner) {}

private:
    INT_PTR Init(HWND dialog) override {
        owner_.OnInit(dialog);
        return TRUE;
    }
    // The dialog has no OK; Cancel ends it only through the worker.
    bool Ok(HWND) override { return false; }
    bool Cancel(HWND dialog) override {
        owner_.OnCancel(dialog);
        return false;
    }
    bool Message(HWND dialog, UINT message, WPARAM wp, LPARAM, INT_PTR& result) override {
        result = TRUE;
        switch (message) {
            case WM_TIMER:
                if (wp != kStartTimer) return false;
                owner_.OnStartTimer(dialog);
                return true;
            case kSetProgressMessage:
                ::SendDlgItemMessageW(dialog, kBarItem, PBM_SETPOS, wp, 0);
                return true;
            case kSetSecondProgressMessage:
                ::SendDlgItemMessageW(dialog, kSecondBarItem, PBM_SETPOS, wp, 0);
                return true;
            case kFailedMessage:
                End(0);
                return true;
            case kSucceededMessage:
                End(1);
                return true;
            case WM_DESTROY:
                owner_.state_->dialog = nullptr;
                return false;
            default:
                return false;
        }
    }

    ProgressDialog& owner_;
};

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

    Binding dialog(*this);
    const bool ended = dialog.Run(*s.app, owner, kTemplate);

    if (s.thread) {
        // The dialog can only end early when something other than the worker
        // closed it: ask the job to stop, then let it end before its data goes.
        if (!s.finished) {
            s.cancelRequested = true;
            if (s.cancel) s.cancel();
        }
        // A worker blocked in SendMessage to this thread is answered meanwhile.
        WaitAnswering(s.thread.Get());
        s.thread.Reset();
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
    if (s.thread) return;
    s.thread.Reset(StartThread(&ProgressDialog::WorkerMain, this, kWorkerStackSize));
    if (!s.thread) {
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

}  // namespace QvLibrary
