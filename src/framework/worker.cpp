#include "framework/worker.h"

#include <memory>
#include <utility>

namespace QvLibrary {
namespace {

constexpr wchar_t kClassName[] = L"QvWindowThread";
constexpr UINT kDrainMessage = WM_APP + 1;
constexpr UINT kSendMessage = WM_APP + 2;   // lp: the std::function<void()> to run

bool RegisterClassOnce(HINSTANCE instance) {
    WNDCLASSW existing{};
    if (::GetClassInfoW(instance, kClassName, &existing)) return true;
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    return ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

void WaitAnswering(HANDLE handle) {
    if (handle == nullptr) return;
    for (;;) {
        const DWORD result = ::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_SENDMESSAGE, 0);
        if (result != WAIT_OBJECT_0 + 1) return;   // signalled, or the wait failed
        // Peeking delivers the messages sent to this thread; nothing posted is taken.
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// ---- WindowThread ----

WindowThread::WindowThread() : thread_(::GetCurrentThreadId()) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!RegisterClassOnce(instance)) return;
    window_ = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (window_ == nullptr) return;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowThread::Procedure));
}

WindowThread::~WindowThread() {
    if (window_ != nullptr) {
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

bool WindowThread::Post(std::function<void()> work) {
    if (window_ == nullptr || !work) return false;
    bool first = false;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        first = queue_.empty();
        queue_.push_back(std::move(work));
    }
    // One message drains everything queued before it runs.
    if (first) ::PostMessageW(window_, kDrainMessage, 0, 0);
    return true;
}

bool WindowThread::Send(const std::function<void()>& work) {
    if (!work) return false;
    if (OnWindowThread()) {
        work();
        return true;
    }
    if (window_ == nullptr) return false;
    ::SendMessageW(window_, kSendMessage, 0, reinterpret_cast<LPARAM>(&work));
    return true;
}

std::size_t WindowThread::Drain() {
    if (!OnWindowThread()) return 0;
    std::size_t ran = 0;
    for (;;) {
        std::function<void()> work;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (queue_.empty()) return ran;
            work = std::move(queue_.front());
            queue_.pop_front();
        }
        work();
        ++ran;
    }
}

LRESULT CALLBACK WindowThread::Procedure(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<WindowThread*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == kDrainMessage) {
        self->Drain();
        return 0;
    }
    if (self != nullptr && message == kSendMessage && lp != 0) {
        (*reinterpret_cast<const std::function<void()>*>(lp))();
        return 0;
    }
    return ::DefWindowProcW(window, message, wp, lp);
}

// ---- WorkerThread ----

bool WorkerThread::Start(std::function<void()> work, std::size_t stackSize) {
    Join();
    if (!work) return false;
    work_ = std::move(work);
    thread_.Reset(::CreateThread(nullptr, stackSize, &WorkerThread::Main, this,
                                 stackSize != 0 ? STACK_SIZE_PARAM_IS_A_RESERVATION : 0, nullptr));
    if (!thread_) work_ = nullptr;
    return thread_.Valid();
}

void WorkerThread::Join() {
    if (!thread_) return;
    WaitAnswering(thread_.Get());
    thread_.Reset();
    work_ = nullptr;
}

bool WorkerThread::Ended() const {
    return !thread_ || ::WaitForSingleObject(thread_.Get(), 0) == WAIT_OBJECT_0;
}

DWORD WINAPI WorkerThread::Main(void* parameter) {
    static_cast<WorkerThread*>(parameter)->work_();
    return 0;
}

// ---- WorkerGroup ----

bool WorkerGroup::Start(std::function<void()> work, std::size_t stackSize) {
    ForgetEnded();
    auto worker = std::make_unique<WorkerThread>();
    if (!worker->Start(std::move(work), stackSize)) return false;
    workers_.push_back(std::move(worker));
    return true;
}

void WorkerGroup::JoinAll() {
    // One at a time: a wait takes only so many handles, and each worker must
    // end anyway.
    while (!workers_.empty()) {
        std::unique_ptr<WorkerThread> worker = std::move(workers_.back());
        workers_.pop_back();
        worker->Join();
    }
}

std::size_t WorkerGroup::Running() {
    ForgetEnded();
    return workers_.size();
}

void WorkerGroup::ForgetEnded() {
    std::erase_if(workers_, [](const std::unique_ptr<WorkerThread>& worker) { return worker->Ended(); });
}

}  // namespace QvLibrary
