// BrowserLogin: opens a web page in a browser window, waits for it to load
// and logs the user in: it walks the page and its frames, hands the form
// inputs to the FieldMatcher, submits the login form when asked, and repeats
// the attempt for a short while until every stored login field has found its
// element. Called without fields it only opens the page.
//
// The sequence is portable; the browser (weblogin/browser.h), the progress
// dialog that runs the worker and the shell come in through LoginServices.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalog/record.h"
#include "weblogin/browser.h"
#include "weblogin/field_matcher.h"

namespace kodrin::weblogin {

constexpr int kOpeningWebSiteText = 20211;  // "Opening Web Site..."

enum class LoginStatus : std::int32_t { Ok = 0, Failed = 1, TimedOut = 2, Cancelled = 3 };

// Receives the progress positions 0 to 100.
using Progress = std::function<void(int percent)>;

struct LoginServices {
    // Creates the browser, on the worker thread; null when none can be
    // started.
    std::function<std::unique_ptr<Browser>()> createBrowser;
    // Opens the address in the user's default browser; true on success.
    std::function<bool(const std::u16string& url)> openWithShell;
    // The element question of the FieldMatcher (asked on the worker thread).
    SelectField selectField;
    // Runs work on a worker thread under the progress dialog, with cancel as
    // the Cancel button's action, and returns work's result. Empty: work
    // runs on the calling thread.
    std::function<bool(const std::function<bool(const Progress&)>& work, const std::function<void()>& cancel)>
        runWorker;
    // The clock in milliseconds and the sleep; empty: the system's.
    std::function<std::uint32_t()> tickCount;
    std::function<void(std::uint32_t ms)> sleep;
};

class BrowserLogin {
public:
    // The longest wait for a page to load; then the page opens in the
    // default browser instead.
    static constexpr std::uint32_t kWaitLimitSeconds = 30;
    static constexpr int kAttempts = 8;
    static constexpr std::uint32_t kPollMs = 250;

    explicit BrowserLogin(LoginServices services);
    ~BrowserLogin();
    BrowserLogin(const BrowserLogin&) = delete;
    BrowserLogin& operator=(const BrowserLogin&) = delete;

    // Opens url; with fields, logs in with them (worked on in place: names
    // learned, automation marks set) and, with autoLogin, submits the form.
    // True when the page opened and, with fields, every field with the use
    // flag found its element; after a failed start, whether the default
    // browser opened the page.
    bool Run(const std::u16string& url, std::vector<LoginField>* fields, bool autoLogin);

    // The Cancel button's action (window thread).
    void Cancel() { cancel_ = true; }
    LoginStatus Status() const { return status_; }
    // The wait's limit in seconds, 0 for none; Run sets kWaitLimitSeconds.
    void SetTimeLimit(std::uint32_t seconds) { timeLimit_ = seconds; }

private:
    bool Work(const Progress& progress);
    bool NavigateAndWait(const Progress& progress);
    bool Attempt();
    bool PagePass(PageDocument& document);
    bool Cancelled();
    std::uint32_t Now() const;
    void Sleep(std::uint32_t ms) const;

    LoginServices services_;
    std::unique_ptr<Browser> browser_;
    std::vector<LoginField>* fields_ = nullptr;
    std::vector<LoginField> noFields_;
    std::u16string currentUrl_;
    std::u16string requestedUrl_;
    LoginStatus status_ = LoginStatus::Ok;
    std::uint32_t timeLimit_ = 0;
    std::atomic<bool> cancel_{false};
    bool autoLoginRequested_ = false;
};

// Lower-cases character by character as the C library does in its "C"
// locale (A to Z only).
std::u16string LowerAscii(std::u16string_view text);

}  // namespace kodrin::weblogin
