// Answers the modal dialogs and message boxes a test opens on its own thread.
//
// A thread timer, dispatched by the dialog's own modal loop, looks for a new
// visible, enabled dialog ("#32770") of this thread and runs the next queued
// script on it. The script reads and fills controls and finishes with
// Click(dialog, IDOK) or the like, which posts BM_CLICK. A dialog that appears
// when no script is left is counted as unexpected and ended with IDCANCEL,
// and a dialog still open long after its script ran is ended the same way, so
// a faulty test fails instead of hanging.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace kodrin::test {

class DialogDriver {
public:
    using Script = std::function<void(HWND dialog)>;

    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Queues a script for the next dialog that appears.
    void Then(Script script);
    // Dialogs for which the filter returns true are left alone: no script
    // is spent on them and they are never ended by the driver (a progress
    // dialog that ends by itself, for example).
    void Ignore(std::function<bool(HWND dialog)> filter);
    // Dialogs answered by a script, and dialogs that found no script or had
    // to be ended by the driver.
    int Answered() const { return answered_; }
    int Unexpected() const { return unexpected_; }
    int Pending() const { return static_cast<int>(scripts_.size()); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Poll();

    UINT_PTR timer_ = 0;
    std::function<bool(HWND)> ignore_;
    std::deque<Script> scripts_;
    std::set<HWND> seen_;
    std::vector<std::pair<HWND, DWORD>> open_;   // answered dialogs and when
    int answered_ = 0;
    int unexpected_ = 0;
};

// Reading and driving a dialog's controls.
std::u16string WindowText(HWND window);
std::u16string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::u16string& text);
// Posts BM_CLICK to the button with the id.
void Click(HWND dialog, int id);
// The texts of every static control of the dialog (a message box's text).
std::vector<std::u16string> StaticTexts(HWND dialog);

// Removes every message waiting in this thread's queue, WM_QUIT included, so
// that a window that posted a quit does not end the next test's modal loop.
void DrainMessages();

// Runs this thread's message loop until done() is true or the time passes.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 5000);

}  // namespace kodrin::test
