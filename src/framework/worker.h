// Threads of the program: work posted to the window thread, and worker
// threads owned by an object that joins them. A join on the window thread
// keeps answering the messages other threads send to it, so a worker that
// sends to a window while it is being joined cannot dead-lock the program.
#pragma once

#include <windows.h>

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/handles.h"

namespace QvLibrary {

// Waits until the thread or event is signalled (or the wait fails), answering
// the messages other threads send to this thread meanwhile. Posted messages
// wait for the message loop.
void WaitAnswering(HANDLE handle);

// Work for the window thread: made on that thread (a message-only window),
// posted from any thread, run by that thread's message loop in the order
// posted. Work still queued when the object goes is dropped.
class WindowThread {
public:
    WindowThread();
    ~WindowThread();
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    // Queues work; false (nothing queued) when the window could not be made.
    bool Post(std::function<void()> work);
    // Runs work on the window thread and returns when it has run: at once on
    // that thread, else through a sent message.
    bool Send(const std::function<void()>& work);
    bool OnWindowThread() const { return ::GetCurrentThreadId() == thread_; }
    // Runs the queued work now (on the window thread only); how many ran.
    std::size_t Drain();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wp, LPARAM lp);

    DWORD thread_;
    HWND window_ = nullptr;
    std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
};

// One worker thread; the destructor joins it.
class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread() { Join(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Joins any earlier thread, then runs work on a new thread with the given
    // stack reservation (0: the default). False when no thread could be had.
    bool Start(std::function<void()> work, std::size_t stackSize = 0);
    // Waits for the thread to end (see WaitAnswering); nothing when none runs.
    void Join();
    // A thread was started and has not been joined (it may have ended).
    bool Joinable() const { return thread_.Valid(); }
    // The thread has ended or none was started.
    bool Ended() const;
    HANDLE Native() const { return thread_.Get(); }

private:
    static DWORD WINAPI Main(void* parameter);

    Handle thread_;
    std::function<void()> work_;
};

// Any number of workers of one owner, joined together.
class WorkerGroup {
public:
    WorkerGroup() = default;
    ~WorkerGroup() { JoinAll(); }
    WorkerGroup(const WorkerGroup&) = delete;
    WorkerGroup& operator=(const WorkerGroup&) = delete;

    bool Start(std::function<void()> work, std::size_t stackSize = 0);
    // Waits until every worker has ended.
    void JoinAll();
    // Workers started and not yet ended.
    std::size_t Running();

private:
    void ForgetEnded();

    std::vector<std::unique_ptr<WorkerThread>> workers_;
};

}  // namespace QvLibrary
