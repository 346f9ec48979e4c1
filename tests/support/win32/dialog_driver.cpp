#include "support/win32/dialog_driver.h"

#include <algorithm>

namespace kodrin::test {
namespace {

constexpr UINT kPollMs = 15;
constexpr DWORD kGiveUpMs = 5000;

thread_local DialogDriver* activeDriver = nullptr;

struct FindDialog {
    const std::set<HWND>* seen;
    const std::function<bool(HWND)>* ignore;
    HWND found;
};

bool IsDialog(HWND window) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    return ::lstrcmpW(name, L"#32770") == 0;
}

BOOL CALLBACK FindNewDialog(HWND window, LPARAM lp) {
    auto* find = reinterpret_cast<FindDialog*>(lp);
    if (IsDialog(window) && ::IsWindowVisible(window) && ::IsWindowEnabled(window) &&
        find->seen->count(window) == 0 && !(*find->ignore && (*find->ignore)(window))) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM lp) {
    wchar_t name[16] = {};
    ::GetClassNameW(child, name, 16);
    if (::lstrcmpiW(name, L"Static") == 0) {
        reinterpret_cast<std::vector<std::u16string>*>(lp)->push_back(WindowText(child));
    }
    return TRUE;
}

}  // namespace

DialogDriver::DialogDriver() {
    activeDriver = this;
    timer_ = ::SetTimer(nullptr, 0, kPollMs, &DialogDriver::OnTimer);
}

DialogDriver::~DialogDriver() {
    if (timer_ != 0) ::KillTimer(nullptr, timer_);
    if (activeDriver == this) activeDriver = nullptr;
}

void DialogDriver::Then(Script script) { scripts_.push_back(std::move(script)); }

void DialogDriver::Ignore(std::function<bool(HWND dialog)> filter) { ignore_ = std::move(filter); }

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (activeDriver != nullptr) activeDriver->Poll();
}

void DialogDriver::Poll() {
    const DWORD now = ::GetTickCount();
    // A dialog left open long after its script ran: end it.
    for (auto it = open_.begin(); it != open_.end();) {
        if (!::IsWindow(it->first)) {
            it = open_.erase(it);
        } else if (now - it->second > kGiveUpMs) {
            ++unexpected_;
            ::EndDialog(it->first, IDCANCEL);
            it = open_.erase(it);
        } else {
            ++it;
        }
    }
    FindDialog find{&seen_, &ignore_, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindNewDialog, reinterpret_cast<LPARAM>(&find));
    if (find.found == nullptr) return;
    seen_.insert(find.found);
    if (scripts_.empty()) {
        ++unexpected_;
        ::EndDialog(find.found, IDCANCEL);
        return;
    }
    Script script = std::move(scripts_.front());
    scripts_.pop_front();
    ++answered_;
    open_.emplace_back(find.found, now);
    script(find.found);
}

std::u16string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = ::GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

std::u16string ItemText(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }

void SetItemText(HWND dialog, int id, const std::u16string& text) {
    ::SetDlgItemTextW(dialog, id, reinterpret_cast<const wchar_t*>(text.c_str()));
}

void Click(HWND dialog, int id) {
    if (HWND button = ::GetDlgItem(dialog, id)) ::PostMessageW(button, BM_CLICK, 0, 0);
}

std::vector<std::u16string> StaticTexts(HWND dialog) {
    std::vector<std::u16string> texts;
    ::EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void DrainMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) ::DispatchMessageW(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > milliseconds) return false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

}  // namespace kodrin::test
