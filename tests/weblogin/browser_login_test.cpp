#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "support/text.h"
#include "weblogin/browser_login.h"

namespace kodrin::weblogin {
namespace {

using test::U;

// A page as plain data: documents with frames, forms and elements. The
// fakes record what the login did to them.
struct ElementData {
    std::u16string tag = u"INPUT";
    std::optional<std::u16string> type;
    std::u16string name, id, value;
    std::vector<std::u16string> values;  // values set, in order
    std::vector<bool> checks;
    int clicks = 0;
};
struct FormData {
    std::deque<ElementData> elements;
    int submits = 0;
};
struct DocumentData {
    std::deque<DocumentData> frames;
    std::deque<FormData> forms;
    bool formsAvailable = true;
};

struct FakeElement : PageElement {
    explicit FakeElement(ElementData& d) : data(d) {}
    ElementData& data;
    std::u16string TagName() override { return data.tag; }
    std::u16string Id() override { return data.id; }
    std::optional<std::u16string> InputType() override { return data.type; }
    std::u16string Name() override { return data.name; }
    std::u16string Value() override { return data.value; }
    void SetValue(const std::u16string& text) override { data.values.push_back(text); }
    void SetChecked(bool checked) override { data.checks.push_back(checked); }
    void Click() override { ++data.clicks; }
};

struct FakeForm : PageForm {
    explicit FakeForm(FormData& d) : data(d) {}
    FormData& data;
    std::size_t ElementCount() override { return data.elements.size(); }
    std::unique_ptr<PageElement> Element(std::size_t i) override {
        return std::make_unique<FakeElement>(data.elements.at(i));
    }
    void Submit() override { ++data.submits; }
};

struct FakeDocument : PageDocument {
    explicit FakeDocument(DocumentData& d) : data(d) {}
    DocumentData& data;
    std::size_t FrameCount() override { return data.frames.size(); }
    std::unique_ptr<PageDocument> Frame(std::size_t i) override {
        return std::make_unique<FakeDocument>(data.frames.at(i));
    }
    std::optional<std::size_t> FormCount() override {
        if (!data.formsAvailable) return std::nullopt;
        return data.forms.size();
    }
    std::unique_ptr<PageForm> Form(std::size_t i) override { return std::make_unique<FakeForm>(data.forms.at(i)); }
};

// What the browser does, and what was done to it.
struct BrowserScript {
    bool created = true;
    bool navigates = true;
    int pollsUntilComplete = 2;  // -1: never completes
    bool stateReadable = true;
    int documentsMissing = 0;    // attempts that find no document
    DocumentData page;
    // Cancel from the "window thread" at this poll of the wait or attempt.
    int cancelAtPoll = -1;
    int cancelAtAttempt = -1;

    std::vector<std::u16string> navigated;
    int polls = 0, attempts = 0;
    bool shown = false, closed = false;
};

struct FakeBrowser : Browser {
    FakeBrowser(BrowserScript& s, BrowserLogin& l) : script(s), login(l) {}
    BrowserScript& script;
    BrowserLogin& login;
    bool Navigate(const std::u16string& url) override {
        script.navigated.push_back(url);
        return script.navigates;
    }
    std::optional<bool> LoadComplete() override {
        if (script.polls++ == script.cancelAtPoll) login.Cancel();
        if (!script.stateReadable) return std::nullopt;
        return script.pollsUntilComplete >= 0 && script.polls > script.pollsUntilComplete;
    }
    void Show() override { script.shown = true; }
    void Close() override { script.closed = true; }
    std::unique_ptr<PageDocument> Document() override {
        if (script.attempts++ == script.cancelAtAttempt) login.Cancel();
        if (script.attempts <= script.documentsMissing) return nullptr;
        return std::make_unique<FakeDocument>(script.page);
    }
};

struct Harness {
    BrowserScript script;
    std::vector<std::u16string> shellOpened;
    bool shellSucceeds = true;
    std::vector<int> progress;
    std::uint32_t clock = 1000;
    std::optional<std::u16string> answer;  // the element question's answer
    int questions = 0;
    std::unique_ptr<BrowserLogin> login;

    Harness() {
        LoginServices services;
        services.createBrowser = [this]() -> std::unique_ptr<Browser> {
            if (!script.created) return nullptr;
            return std::make_unique<FakeBrowser>(script, *login);
        };
        services.openWithShell = [this](const std::u16string& url) {
            shellOpened.push_back(url);
            return shellSucceeds;
        };
        services.selectField = [this](const std::u16string&, const std::vector<std::u16string>&) {
            ++questions;
            return answer;
        };
        services.runWorker = [this](const std::function<bool(const Progress&)>& work, const std::function<void()>&) {
            return work([this](int p) { progress.push_back(p); });
        };
        services.tickCount = [this] { return clock; };
        // A wait without a limit would never end: after an hour the fake
        // user gives up, so that such a test fails instead of hanging.
        services.sleep = [this](std::uint32_t ms) {
            clock += ms;
            if (clock > 3'600'000) login->Cancel();
        };
        login = std::make_unique<BrowserLogin>(std::move(services));
    }
    bool Run(std::vector<LoginField>* fields, bool autoLogin = false) {
        return login->Run(u"http://example.test/login", fields, autoLogin);
    }
};

ElementData Input(const char* type, const char* name, const char* id = "", const char* value = "") {
    ElementData e;
    e.type = U(type);
    e.name = U(name);
    e.id = U(id);
    e.value = U(value);
    return e;
}

FormData LoginForm() {
    FormData form;
    form.elements = {Input("text", "User"), Input("password", "Pass"), Input("submit", "", "", "Sign In")};
    return form;
}

LoginField Field(const char* name, const char* value, LoginFieldType type = LoginFieldType::StandardInput) {
    LoginField field;
    field.name = U(name);
    field.value = U(value);
    field.type = type;
    return field;
}

std::vector<LoginField> UserAndPassword() {
    return {Field("user", "alice"), Field("pass", "secret", LoginFieldType::Password)};
}

TEST(BrowserLogin, FillsTheFrameAndLeavesTheTopDocumentAlone) {
    Harness h;
    h.script.page.forms.push_back(LoginForm());
    h.script.page.frames.emplace_back().forms.push_back(LoginForm());
    auto fields = UserAndPassword();
    EXPECT_TRUE(h.Run(&fields, true));
    const FormData& framed = h.script.page.frames[0].forms[0];
    EXPECT_EQ(framed.elements[0].values, std::vector<std::u16string>{u"alice"});
    EXPECT_EQ(framed.elements[1].values, std::vector<std::u16string>{u"secret"});
    EXPECT_EQ(framed.submits, 1);
    EXPECT_TRUE(h.script.page.forms[0].elements[0].values.empty());
    EXPECT_EQ(h.script.page.forms[0].submits, 0);
    EXPECT_EQ(h.script.navigated, std::vector<std::u16string>{u"http://example.test/login"});
    EXPECT_TRUE(h.script.shown);
    EXPECT_EQ(h.progress, (std::vector<int>{5, 10, 15, 25, 80, 82}));
    EXPECT_EQ(h.login->Status(), LoginStatus::Ok);
    EXPECT_TRUE(h.shellOpened.empty());
}

TEST(BrowserLogin, AStoredSubmitButtonIsClickedAndTheFormNotAlsoSubmitted) {
    Harness h;
    h.script.page.forms.push_back(LoginForm());
    auto fields = UserAndPassword();
    fields.push_back(Field("sign in", "", LoginFieldType::SubmitButton));
    EXPECT_TRUE(h.Run(&fields, true));
    EXPECT_EQ(h.script.page.forms[0].elements[2].clicks, 1);
    EXPECT_EQ(h.script.page.forms[0].submits, 0);
}

TEST(BrowserLogin, RepeatsAttemptsUntilTheFieldsAppearAndSubmitsOnEveryPassThatFilled) {
    Harness h;
    h.script.documentsMissing = 3;  // the inputs come a moment after the load
    FormData form;
    form.elements = {Input("text", "user")};  // the password input never comes
    h.script.page.forms.push_back(form);
    auto fields = UserAndPassword();
    EXPECT_FALSE(h.Run(&fields, true));
    EXPECT_EQ(h.script.attempts, BrowserLogin::kAttempts);
    EXPECT_EQ(h.script.page.forms[0].elements[0].values.size(), 5u);
    EXPECT_EQ(h.script.page.forms[0].submits, 5);
    EXPECT_EQ(h.progress, (std::vector<int>{5, 10, 15, 25, 80, 82, 84, 86, 88, 90, 92, 94, 96}));
    EXPECT_TRUE(h.shellOpened.empty());
    EXPECT_TRUE(fields[0].automationMark);
    EXPECT_FALSE(fields[1].automationMark);
}

// The element walk: the keys the matcher sees and which elements count.
TEST(BrowserLogin, BuildsTheElementKeysOfInputsOnly) {
    Harness h;
    FormData form;
    ElementData select = Input("text", "user");
    select.tag = u"SELECT";
    select.type.reset();
    ElementData noInput = Input("text", "user");
    noInput.type.reset();  // an element that is no input element
    form.elements = {select,
                     noInput,
                     Input("hidden", "user"),
                     Input("TEXT", "", "LoginID"),  // no name: the id, lower-cased
                     Input("checkbox", "Remember"),
                     Input("Submit", "go", "", "Log In")};  // a submit button's key is its caption
    h.script.page.forms.push_back(form);
    std::vector<LoginField> fields{Field("loginid", "bob"), Field("remember", "1", LoginFieldType::Checkbox),
                                   Field("log in", "", LoginFieldType::SubmitButton)};
    EXPECT_TRUE(h.Run(&fields, true));
    const auto& e = h.script.page.forms[0].elements;
    EXPECT_TRUE(e[0].values.empty());
    EXPECT_TRUE(e[1].values.empty());
    EXPECT_TRUE(e[2].values.empty());
    EXPECT_EQ(e[3].values, std::vector<std::u16string>{u"bob"});
    EXPECT_EQ(e[4].checks, std::vector<bool>{true});
    EXPECT_EQ(e[5].clicks, 1);
    EXPECT_EQ(h.script.page.forms[0].submits, 0);
    EXPECT_EQ(h.questions, 0);
}

TEST(BrowserLogin, AnEmptyFieldListOnlyOpensThePage) {
    Harness h;
    std::vector<LoginField> none;
    EXPECT_TRUE(h.Run(&none));
    EXPECT_TRUE(h.Run(nullptr));
    EXPECT_TRUE(h.script.shown);
    EXPECT_EQ(h.script.attempts, 0);
}

// Every way the page fails to open, and what the user is left with.
TEST(BrowserLogin, FailedStartsFallBackToTheDefaultBrowserExceptAfterCancel) {
    struct Case {
        const char* what;
        void (*setUp)(BrowserScript&);
        LoginStatus status;
        bool shell;
        bool closed;  // a window that was made but never shown is closed
    };
    const Case cases[] = {
        {"no browser", [](BrowserScript& s) { s.created = false; }, LoginStatus::Failed, true, false},
        {"navigation refused", [](BrowserScript& s) { s.navigates = false; }, LoginStatus::Failed, true, true},
        {"state unreadable", [](BrowserScript& s) { s.stateReadable = false; }, LoginStatus::TimedOut, true, true},
        {"never completes", [](BrowserScript& s) { s.pollsUntilComplete = -1; }, LoginStatus::TimedOut, true, true},
        {"cancel while waiting", [](BrowserScript& s) { s.cancelAtPoll = 1; }, LoginStatus::Cancelled, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool shellSucceeds : {true, false}) {
            Harness h;
            h.shellSucceeds = shellSucceeds;
            c.setUp(h.script);
            auto fields = UserAndPassword();
            EXPECT_EQ(h.Run(&fields, true), c.shell && shellSucceeds);
            EXPECT_EQ(h.login->Status(), c.status);
            EXPECT_EQ(h.shellOpened.size(), c.shell ? 1u : 0u);
            EXPECT_FALSE(h.script.shown);
            EXPECT_EQ(h.script.closed, c.closed);
            EXPECT_EQ(h.script.attempts, 0);
        }
    }
}

TEST(BrowserLogin, ThePageWaitEndsAfterThirtySeconds) {
    Harness h;
    h.script.pollsUntilComplete = -1;
    const std::uint32_t start = h.clock;
    EXPECT_TRUE(h.Run(nullptr));
    EXPECT_EQ(h.login->Status(), LoginStatus::TimedOut);
    EXPECT_GT(h.clock - start, 30'000u);
    EXPECT_LE(h.clock - start, 30'000u + BrowserLogin::kPollMs);
    EXPECT_EQ(h.shellOpened, std::vector<std::u16string>{u"http://example.test/login"});
}

TEST(BrowserLogin, CancelDuringTheAttemptsKeepsTheWindowAndFails) {
    Harness h;
    h.script.cancelAtAttempt = 1;  // in the second attempt
    h.script.page.frames.emplace_back();
    auto fields = UserAndPassword();
    EXPECT_FALSE(h.Run(&fields, true));
    EXPECT_EQ(h.login->Status(), LoginStatus::Cancelled);
    EXPECT_EQ(h.script.attempts, 2);
    EXPECT_TRUE(h.script.shown);
    EXPECT_FALSE(h.script.closed);
    EXPECT_TRUE(h.shellOpened.empty());
}

TEST(BrowserLogin, AFieldLearnedInTheQuestionIsAppliedInTheNextAttempt) {
    Harness h;
    FormData form;
    form.elements = {Input("text", "acct"), Input("text", "other")};
    h.script.page.forms.push_back(form);
    std::vector<LoginField> fields{Field("", "carol")};
    h.answer = u"acct";
    EXPECT_TRUE(h.Run(&fields));
    EXPECT_EQ(fields[0].name, u"acct");
    EXPECT_EQ(h.questions, 1);
    EXPECT_EQ(h.script.attempts, 2);
    EXPECT_EQ(h.script.page.forms[0].elements[0].values, std::vector<std::u16string>{u"carol"});
    EXPECT_EQ(h.script.page.forms[0].submits, 0);  // no auto login
}

}  // namespace
}  // namespace kodrin::weblogin
