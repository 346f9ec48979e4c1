#include "weblogin/browser_login.h"

#include <chrono>
#include <thread>
#include <utility>

#include "platform/text.h"

namespace kodrin::weblogin {

namespace {

// Progress positions through a login.
constexpr int kStartPosition = 5;
constexpr int kBrowserReadyPosition = 10;
constexpr int kNavigatingPosition = 15;
constexpr int kWaitingPosition = 25;
constexpr int kLoadedPosition = 80;
constexpr int kFirstAttemptPosition = 82;
constexpr int kAttemptStep = 2;

// Holds the forms and elements of one pass over one document until it ends.
struct FormWalk {
    std::vector<std::unique_ptr<PageForm>> forms;
    std::vector<std::unique_ptr<PageElement>> elements;
    LoginPage page;
};

}  // namespace

std::u16string LowerAscii(std::u16string_view text) {
    std::u16string lower(text);
    for (char16_t& c : lower) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return lower;
}

BrowserLogin::BrowserLogin(LoginServices services) : services_(std::move(services)) {}

BrowserLogin::~BrowserLogin() = default;

std::uint32_t BrowserLogin::Now() const {
    if (services_.tickCount) return services_.tickCount();
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void BrowserLogin::Sleep(std::uint32_t ms) const {
    if (services_.sleep) {
        services_.sleep(ms);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

bool BrowserLogin::Cancelled() {
    if (!cancel_) return false;
    status_ = LoginStatus::Cancelled;
    return true;
}

bool BrowserLogin::Run(const std::u16string& url, std::vector<LoginField>* fields, bool autoLogin) {
    requestedUrl_ = url;
    noFields_.clear();
    fields_ = fields != nullptr ? fields : &noFields_;
    timeLimit_ = kWaitLimitSeconds;
    autoLoginRequested_ = autoLogin;
    cancel_ = false;
    status_ = LoginStatus::Ok;
    const auto work = [this](const Progress& progress) { return Work(progress); };
    if (services_.runWorker) return services_.runWorker(work, [this] { Cancel(); });
    return work([](int) {});
}

bool BrowserLogin::Work(const Progress& progress) {
    bool result = false;
    if (NavigateAndWait(progress)) {
        if (fields_->empty()) {
            result = true;
        } else {
            bool succeeded = false;
            for (int attempt = 0; attempt < kAttempts && !succeeded; ++attempt) {
                if (Cancelled()) {
                    result = false;
                    break;
                }
                Sleep(kPollMs);
                progress(kFirstAttemptPosition + attempt * kAttemptStep);
                succeeded = Attempt();
                result = succeeded;
            }
        }
    } else {
        // The window was never shown: it goes, so that nothing is left open.
        if (browser_ != nullptr) browser_->Close();
        if (status_ != LoginStatus::Cancelled && services_.openWithShell) result = services_.openWithShell(requestedUrl_);
    }
    browser_.reset();
    currentUrl_.clear();
    return result;
}

bool BrowserLogin::NavigateAndWait(const Progress& progress) {
    progress(kStartPosition);
    if (browser_ == nullptr && services_.createBrowser) browser_ = services_.createBrowser();
    if (browser_ == nullptr) {
        currentUrl_.clear();
        status_ = LoginStatus::Failed;
        return false;
    }
    progress(kBrowserReadyPosition);
    if (!currentUrl_.empty() && platform::EqualIgnoreCase(currentUrl_, requestedUrl_)) {
        status_ = LoginStatus::Ok;
        return true;
    }
    progress(kNavigatingPosition);
    currentUrl_.clear();
    if (!browser_->Navigate(requestedUrl_)) {
        status_ = LoginStatus::Failed;
        return false;
    }
    progress(kWaitingPosition);
    const std::uint32_t start = Now();
    for (;;) {
        if (Cancelled()) return false;
        const std::optional<bool> complete = browser_->LoadComplete();
        if (!complete) {
            status_ = LoginStatus::TimedOut;
            return false;
        }
        Sleep(kPollMs);
        if (*complete) break;
        if (timeLimit_ != 0 && Now() - start > timeLimit_ * 1000u) {
            status_ = LoginStatus::TimedOut;
            return false;
        }
    }
    progress(kLoadedPosition);
    currentUrl_ = requestedUrl_;
    browser_->Show();
    status_ = LoginStatus::Ok;
    return true;
}

bool BrowserLogin::Attempt() {
    std::unique_ptr<PageDocument> document = browser_->Document();
    if (document == nullptr) return false;
    return PagePass(*document);
}

bool BrowserLogin::PagePass(PageDocument& document) {
    // Frames first: a frame whose pass succeeds ends this pass.
    const std::size_t frames = document.FrameCount();
    for (std::size_t i = 0; i < frames; ++i) {
        if (Cancelled()) return false;
        std::unique_ptr<PageDocument> frame = document.Frame(i);
        if (frame != nullptr && PagePass(*frame)) return true;
    }

    if (const std::optional<std::size_t> formCount = document.FormCount()) {
        FormWalk walk;
        for (std::size_t f = 0; f < *formCount; ++f) {
            if (Cancelled()) return false;
            std::unique_ptr<PageForm> form = document.Form(f);
            if (form == nullptr) continue;
            bool contributed = false;
            const std::size_t count = form->ElementCount();
            for (std::size_t e = 0; e < count; ++e) {
                if (Cancelled()) return false;
                std::unique_ptr<PageElement> element = form->Element(e);
                if (element == nullptr || LowerAscii(element->TagName()) != u"input") continue;
                const std::optional<std::u16string> type = element->InputType();
                if (!type) continue;
                const std::u16string lowerType = LowerAscii(*type);
                std::vector<FormElementEntry>* list = nullptr;
                if (lowerType == u"text" || lowerType == u"password") {
                    list = &walk.page.textList;
                } else if (lowerType == u"checkbox") {
                    list = &walk.page.checkboxList;
                } else if (lowerType == u"submit") {
                    list = &walk.page.submitList;
                } else {
                    continue;
                }
                std::u16string key;
                if (lowerType == u"submit") {
                    key = element->Value();
                } else {
                    key = element->Name();
                    if (key.empty()) key = element->Id();
                }
                list->push_back({element.get(), form.get(), LowerAscii(key)});
                walk.elements.push_back(std::move(element));
                contributed = true;
            }
            if (contributed) walk.forms.push_back(std::move(form));
        }

        FieldMatcher matcher(services_.selectField, cancel_);
        WebForm* formToSubmit = nullptr;
        if (matcher.Pass(*fields_, walk.page, autoLoginRequested_, formToSubmit) == PassResult::Cancelled) {
            status_ = LoginStatus::Cancelled;
            return false;
        }
        if (autoLoginRequested_ && formToSubmit != nullptr) formToSubmit->Submit();
    }
    return AllUsedFieldsApplied(*fields_);
}

}  // namespace kodrin::weblogin
