// ProgressDialog: the modal dialog 20300 that runs one long job on a worker
// thread. The window thread only shows the progress and, on Cancel, calls the
// owner's cancel function and raises the cancel flag; the job polls the flag,
// reports through SetProgress, SetSecondProgress and SetText, and ends the
// dialog with Finish.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace QvLibrary {

class QvApp;
struct ProgressState;

class ProgressDialog {
public:
    // The job: runs on the worker thread. A job that returns (or throws)
    // without calling Finish ends the dialog with failure.
    using WorkerFunction = void (*)(ProgressDialog& progress, void* data);
    // Called on the window thread when the user presses Cancel (or Escape).
    using CancelFunction = void (*)(void* data);

    static constexpr int kTemplate = 20300;
    static constexpr int kTextItem = 20302;
    static constexpr int kBarItem = 20304;
    static constexpr int kSecondBarItem = 20305;
    static constexpr UINT_PTR kStartTimer = 20900;
    static constexpr UINT kStartDelayMs = 25;
    static constexpr std::size_t kWorkerStackSize = 128 * 1024;
    // The worker's messages to the dialog window. They lie above WM_APP:
    // WM_USER + 1 and + 2 are the dialog manager's DM_SETDEFID and DM_REPOSITION.
    static constexpr UINT kSetProgressMessage = WM_APP + 1;
    static constexpr UINT kSetSecondProgressMessage = WM_APP + 2;
    static constexpr UINT kFailedMessage = WM_APP + 3;
    static constexpr UINT kSucceededMessage = WM_APP + 4;

    // Strings and the template come from the application's resource module.
    explicit ProgressDialog(const QvApp& app);
    virtual ~ProgressDialog();
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    // Shows the second bar (20305) in the next runs; hidden by default.
    void ShowSecondBar(bool show);

    // Shows the dialog modally (owner null: the main window) with string
    // titleId as its text, starts the worker 25 ms later and returns true
    // when the worker finished with success. Cancel is shown only when a
    // cancel function is given. Returns only after the worker thread has
    // ended. False at once while this object is already running a job.
    bool Run(HWND owner, int titleId, WorkerFunction worker, void* data, CancelFunction cancel = nullptr,
             void* cancelData = nullptr);
    bool Run(HWND owner, int titleId, std::function<void(ProgressDialog&)> worker,
             std::function<void()> cancel = {});

    // Worker side; harmless when no dialog is showing.
    void SetProgress(int percent);
    void SetSecondProgress(int percent);
    void SetText(const std::u16string& text);
    void SetText(int textId);
    // Ends the dialog: with failure when failed is set, else with success.
    // Only the first call of a run counts.
    void Finish(bool failed);
    // Set when the user pressed Cancel; cleared at the start of each run.
    bool CancelRequested() const;

    // The dialog window while it shows, else null.
    HWND Window() const;

protected:
    // Starts routine(parameter) on a new thread with a stack reservation of
    // stackSize bytes; null when the thread cannot be started.
    virtual HANDLE StartThread(LPTHREAD_START_ROUTINE routine, void* parameter, std::size_t stackSize);

private:
    class Binding;   // the dialog 20300 itself
    static DWORD WINAPI WorkerMain(void* parameter);
    void OnInit(HWND dialog);
    void OnStartTimer(HWND dialog);
    void OnCancel(HWND dialog);

    std::unique_ptr<ProgressState> state_;
};

}  // namespace QvLibrary
