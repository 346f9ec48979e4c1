#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "support/text.h"
#include "weblogin/field_matcher.h"

namespace kodrin::weblogin {
namespace {

using test::U;

struct FakeElement : FormElement {
    std::vector<std::u16string> values;  // every value set, in order
    std::vector<bool> checks;
    int clicks = 0;
    std::atomic<bool>* cancelOnTouch = nullptr;

    void SetValue(const std::u16string& text) override {
        values.push_back(text);
        if (cancelOnTouch != nullptr) *cancelOnTouch = true;
    }
    void SetChecked(bool checked) override { checks.push_back(checked); }
    void Click() override { ++clicks; }
};

struct FakeForm : WebForm {
    int submits = 0;
    void Submit() override { ++submits; }
};

// A page built from keys; elements and forms live as long as the page.
struct FakePage {
    LoginPage page;
    std::deque<FakeElement> elements;
    FakeForm formA, formB;

    FakeElement& Add(std::vector<FormElementEntry>& list, const char* key, WebForm* form = nullptr) {
        FakeElement& element = elements.emplace_back();
        list.push_back({&element, form != nullptr ? form : &formA, U(key)});
        return element;
    }
    FakeElement& Text(const char* key, WebForm* form = nullptr) { return Add(page.textList, key, form); }
    FakeElement& Box(const char* key) { return Add(page.checkboxList, key); }
    FakeElement& Submit(const char* key) { return Add(page.submitList, key); }
};

LoginField Field(const char* name, const char* value, LoginFieldType type = LoginFieldType::StandardInput,
                 bool use = true) {
    LoginField field;
    field.name = U(name);
    field.value = U(value);
    field.type = type;
    field.use = use;
    return field;
}

struct Question {
    std::u16string value;
    std::vector<std::u16string> keys;
};

// Runs passes with a scripted answer to the element question.
struct Harness {
    std::atomic<bool> cancel{false};
    std::vector<Question> questions;
    std::optional<std::u16string> answer;
    bool autoLogin = true;
    WebForm* formToSubmit = nullptr;

    PassResult Run(std::vector<LoginField>& fields, FakePage& page) {
        FieldMatcher matcher(
            [this](const std::u16string& value, const std::vector<std::u16string>& keys) {
                questions.push_back({value, keys});
                return answer;
            },
            cancel);
        return matcher.Pass(fields, page.page, autoLogin, formToSubmit);
    }
};

TEST(KeyScore, ReferenceEqualityScoresHundred) {
    EXPECT_EQ(PasswordKeyScore(u"", u""), 100u);
    EXPECT_EQ(UserNameKeyScore(u"", u""), 100u);
    EXPECT_EQ(UserNameKeyScore(u"Email", u"EMAIL"), 100u);
    EXPECT_EQ(PasswordKeyScore(u"password", u"x"), 10u);
}

TEST(KeyScore, LongestKeywordEndingWins) {
    EXPECT_EQ(PasswordKeyScore(u"password", u""), 10u);
    EXPECT_EQ(PasswordKeyScore(u"user_pwd", u""), 9u);
    EXPECT_EQ(PasswordKeyScore(u"passwd", u""), 1u);
    EXPECT_EQ(PasswordKeyScore(u"pwdfield", u""), 1u);  // a keyword must end the key
    EXPECT_EQ(PasswordKeyScore(u"USERPWD", u""), 9u);
    EXPECT_EQ(UserNameKeyScore(u"myuserid", u""), 9u);
    EXPECT_EQ(UserNameKeyScore(u"userlogin", u""), 8u);
    EXPECT_EQ(UserNameKeyScore(u"email", u""), 1u);
    EXPECT_EQ(UserNameKeyScore(u"the_username", u""), 10u);
    EXPECT_EQ(UserNameKeyScore(u"newuser", u""), 7u);
    EXPECT_EQ(UserNameKeyScore(u"uname", u""), 6u);
    // The earliest position decides: "username" is found before "user"... never, as "user" is not an ending.
    EXPECT_EQ(UserNameKeyScore(u"xusername", u""), 10u);
}

TEST(AutomaticChoice, TiesKeepTheEarlierEntryAndEmptyListHasNone) {
    std::vector<FormElementEntry> none;
    EXPECT_EQ(ChooseAutomatically(none, &PasswordKeyScore), nullptr);
    std::vector<FormElementEntry> entries{{nullptr, nullptr, u"login"}, {nullptr, nullptr, u"passwd"}};
    EXPECT_EQ(ChooseAutomatically(entries, &PasswordKeyScore), &entries[0]);
    entries.push_back({nullptr, nullptr, u"pass_pwd"});
    EXPECT_EQ(ChooseAutomatically(entries, &PasswordKeyScore), &entries[2]);
    EXPECT_EQ(ScorerFor(LoginFieldType::Password), &PasswordKeyScore);
    EXPECT_EQ(ScorerFor(LoginFieldType::Checkbox), &UserNameKeyScore);
    EXPECT_EQ(ScorerFor(LoginFieldType::SubmitButton), &UserNameKeyScore);
}

TEST(CheckboxValue, OneOrCheckedTicks) {
    EXPECT_TRUE(ValueTicksCheckbox(u"1"));
    EXPECT_TRUE(ValueTicksCheckbox(u"10"));
    EXPECT_TRUE(ValueTicksCheckbox(u"Checked"));
    EXPECT_TRUE(ValueTicksCheckbox(u"CHECKED"));
    EXPECT_FALSE(ValueTicksCheckbox(u"yes"));
    EXPECT_FALSE(ValueTicksCheckbox(u""));
    EXPECT_FALSE(ValueTicksCheckbox(u"0"));
    EXPECT_FALSE(ValueTicksCheckbox(u"checked!"));
}

TEST(AutoName, ComparedExactly) {
    EXPECT_TRUE(IsAutoName(u"<auto>"));
    EXPECT_FALSE(IsAutoName(u"<AUTO>"));
    EXPECT_FALSE(IsAutoName(u""));
}

TEST(TextGroup, EveryEqualKeyIsFilledIgnoringCase) {
    FakePage page;
    FakeElement& first = page.Text("user", &page.formB);
    FakeElement& other = page.Text("pass");
    FakeElement& second = page.Text("user", &page.formA);
    std::vector<LoginField> fields{Field("USER", "alice")};
    Harness h;
    EXPECT_EQ(h.Run(fields, page), PassResult::Completed);
    EXPECT_EQ(first.values, std::vector<std::u16string>{u"alice"});
    EXPECT_EQ(second.values, std::vector<std::u16string>{u"alice"});
    EXPECT_TRUE(other.values.empty());
    EXPECT_TRUE(fields[0].automationMark);
    EXPECT_EQ(h.formToSubmit, &page.formB);  // the first filled element's form
    EXPECT_TRUE(h.questions.empty());
}

TEST(TextGroup, FormToSubmitIsNotReplaced) {
    FakePage page;
    page.Text("user", &page.formA);
    page.Text("password", &page.formB);
    std::vector<LoginField> fields{Field("password", "secret", LoginFieldType::Password), Field("user", "bob")};
    Harness h;
    h.Run(fields, page);
    EXPECT_EQ(h.formToSubmit, &page.formB);
}

TEST(TextGroup, AutoPasswordPrefersLongerEnding) {
    FakePage page;
    FakeElement& pwd = page.Text("user_pwd");
    FakeElement& password = page.Text("password");
    std::vector<LoginField> fields{Field("<auto>", "s3cret", LoginFieldType::Password)};
    Harness h;
    h.Run(fields, page);
    EXPECT_TRUE(pwd.values.empty());
    EXPECT_EQ(password.values, std::vector<std::u16string>{u"s3cret"});
    EXPECT_TRUE(fields[0].automationMark);
    EXPECT_EQ(fields[0].name, u"<auto>");  // the name stays automatic
    EXPECT_EQ(h.formToSubmit, &page.formA);
}

TEST(TextGroup, AutoTieFillsTheFirstAndUserNameScoring) {
    {
        FakePage page;
        FakeElement& login = page.Text("login");
        FakeElement& passwd = page.Text("passwd");
        std::vector<LoginField> fields{Field("<auto>", "pw", LoginFieldType::Password)};
        Harness h;
        h.Run(fields, page);
        EXPECT_EQ(login.values.size(), 1u);
        EXPECT_TRUE(passwd.values.empty());
    }
    {
        FakePage page;
        FakeElement& email = page.Text("email");
        FakeElement& userlogin = page.Text("userlogin");
        std::vector<LoginField> fields{Field("<auto>", "me")};
        Harness h;
        h.Run(fields, page);
        EXPECT_TRUE(email.values.empty());
        EXPECT_EQ(userlogin.values.size(), 1u);
    }
    {
        // An input with neither name nor id scores as an exact match.
        FakePage page;
        FakeElement& username = page.Text("username");
        FakeElement& unnamed = page.Text("");
        std::vector<LoginField> fields{Field("<auto>", "me")};
        Harness h;
        h.Run(fields, page);
        EXPECT_TRUE(username.values.empty());
        EXPECT_EQ(unnamed.values.size(), 1u);
    }
}

TEST(TextGroup, UnknownNameIsAskedWithUnmatchedKeysAndAppliedNextPass) {
    FakePage page;
    FakeElement& a = page.Text("email");
    FakeElement& b = page.Text("email");
    std::vector<LoginField> fields{Field("", "me@example.com")};
    Harness h;
    h.answer = u"email";
    h.Run(fields, page);
    ASSERT_EQ(h.questions.size(), 1u);
    EXPECT_EQ(h.questions[0].value, u"me@example.com");
    EXPECT_EQ(h.questions[0].keys, (std::vector<std::u16string>{u"email", u"email"}));  // with repeats
    EXPECT_EQ(fields[0].name, u"email");
    EXPECT_TRUE(a.values.empty());  // not in the pass that learned the name
    EXPECT_FALSE(fields[0].automationMark);

    h.Run(fields, page);
    EXPECT_EQ(h.questions.size(), 1u);
    EXPECT_EQ(a.values.size(), 1u);
    EXPECT_EQ(b.values.size(), 1u);
    EXPECT_TRUE(fields[0].automationMark);
}

TEST(TextGroup, AnsweringAutoAppliesInTheSamePass) {
    FakePage page;
    page.Text("email");
    FakeElement& user = page.Text("username");
    std::vector<LoginField> fields{Field("", "me")};
    Harness h;
    h.answer = u"<auto>";
    h.Run(fields, page);
    EXPECT_EQ(fields[0].name, u"<auto>");
    EXPECT_EQ(user.values, std::vector<std::u16string>{u"me"});
    EXPECT_TRUE(fields[0].automationMark);
}

TEST(TextGroup, CancelledQuestionKeepsNameEmptyAndAsksAgain) {
    FakePage page;
    page.Text("email");
    std::vector<LoginField> fields{Field("", "me")};
    Harness h;
    h.Run(fields, page);
    h.Run(fields, page);
    EXPECT_EQ(h.questions.size(), 2u);
    EXPECT_TRUE(fields[0].name.empty());
    EXPECT_FALSE(fields[0].automationMark);
}

TEST(TextGroup, EmptyNameNeverFillsAnUnnamedInputUnasked) {
    FakePage page;
    FakeElement& unnamed = page.Text("");
    std::vector<LoginField> fields{Field("", "secret", LoginFieldType::Password)};
    Harness h;
    h.Run(fields, page);
    EXPECT_TRUE(unnamed.values.empty());
    ASSERT_EQ(h.questions.size(), 1u);
    EXPECT_EQ(h.questions[0].keys, std::vector<std::u16string>{u""});
}

TEST(TextGroup, NoQuestionWithoutTextInputsOrWhenNamed) {
    FakePage page;
    page.Box("remember");
    std::vector<LoginField> fields{Field("", "me")};
    Harness h;
    h.Run(fields, page);
    EXPECT_TRUE(h.questions.empty());

    FakePage other;
    other.Text("email");
    std::vector<LoginField> named{Field("user", "me")};  // a known name that is not on this page
    h.Run(named, other);
    EXPECT_TRUE(h.questions.empty());
    EXPECT_FALSE(named[0].automationMark);
}

TEST(Groups, UseFlagAndTypeSelectFields) {
    FakePage page;
    FakeElement& user = page.Text("user");
    FakeElement& box = page.Box("user");
    FakeElement& button = page.Submit("user");
    std::vector<LoginField> fields{Field("user", "x", LoginFieldType::StandardInput, false),
                                   Field("user", "1", LoginFieldType::Checkbox, false),
                                   Field("user", "", LoginFieldType::SubmitButton, false)};
    Harness h;
    h.Run(fields, page);
    EXPECT_TRUE(user.values.empty());
    EXPECT_TRUE(box.checks.empty());
    EXPECT_EQ(button.clicks, 0);
    EXPECT_TRUE(h.autoLogin);
    EXPECT_TRUE(AllUsedFieldsApplied(fields));  // nothing to apply counts as success

    // Each group applies only its own types.
    std::vector<LoginField> typed{Field("user", "1", LoginFieldType::Checkbox)};
    h.Run(typed, page);
    EXPECT_TRUE(user.values.empty());
    EXPECT_EQ(box.checks, std::vector<bool>{true});
    EXPECT_EQ(button.clicks, 0);
}

TEST(Groups, RunInTextCheckboxSubmitOrder) {
    std::vector<std::string> order;
    struct Logging : FormElement {
        std::vector<std::string>* log;
        explicit Logging(std::vector<std::string>* l) : log(l) {}
        void SetValue(const std::u16string&) override { log->push_back("text"); }
        void SetChecked(bool) override { log->push_back("box"); }
        void Click() override { log->push_back("click"); }
    } element(&order);
    LoginPage page;
    page.submitList.push_back({&element, nullptr, u"go"});
    page.checkboxList.push_back({&element, nullptr, u"keep"});
    page.textList.push_back({&element, nullptr, u"user"});
    std::vector<LoginField> fields{Field("go", "", LoginFieldType::SubmitButton), Field("keep", "1", LoginFieldType::Checkbox),
                                   Field("user", "u")};
    std::atomic<bool> cancel{false};
    bool autoLogin = true;
    WebForm* form = nullptr;
    FieldMatcher matcher(nullptr, cancel);
    EXPECT_EQ(matcher.Pass(fields, page, autoLogin, form), PassResult::Completed);
    EXPECT_EQ(order, (std::vector<std::string>{"text", "box", "click"}));
    EXPECT_FALSE(autoLogin);
}

TEST(CheckboxGroup, ValuesTickOrClearAndFormIsUntouched) {
    FakePage page;
    FakeElement& a = page.Box("a");
    FakeElement& b = page.Box("b");
    FakeElement& c = page.Box("c");
    std::vector<LoginField> fields{Field("A", "Checked", LoginFieldType::Checkbox),
                                   Field("b", "yes", LoginFieldType::Checkbox),
                                   Field("c", "10", LoginFieldType::Checkbox)};
    Harness h;
    h.Run(fields, page);
    EXPECT_EQ(a.checks, std::vector<bool>{true});
    EXPECT_EQ(b.checks, std::vector<bool>{false});
    EXPECT_EQ(c.checks, std::vector<bool>{true});
    EXPECT_EQ(h.formToSubmit, nullptr);
    EXPECT_TRUE(AllUsedFieldsApplied(fields));
}

TEST(CheckboxGroup, AutoMatchesEveryUnnamedBoxDirectly) {
    FakePage page;
    FakeElement& first = page.Box("");
    FakeElement& named = page.Box("remember");
    FakeElement& second = page.Box("");
    std::vector<LoginField> fields{Field("<auto>", "1", LoginFieldType::Checkbox)};
    Harness h;
    h.Run(fields, page);
    EXPECT_EQ(first.checks, std::vector<bool>{true});
    EXPECT_EQ(second.checks, std::vector<bool>{true});
    EXPECT_TRUE(named.checks.empty());
    EXPECT_EQ(page.page.checkboxList[0].key, u"<auto>");
}

TEST(CheckboxGroup, AutoChoiceScoresNamedBoxes) {
    FakePage page;
    FakeElement& remember = page.Box("remember");
    FakeElement& login = page.Box("keeplogin");
    std::vector<LoginField> fields{Field("<auto>", "0", LoginFieldType::Checkbox)};
    Harness h;
    h.Run(fields, page);
    EXPECT_TRUE(remember.checks.empty());
    EXPECT_EQ(login.checks, std::vector<bool>{false});
    EXPECT_TRUE(fields[0].automationMark);
}

TEST(CheckboxGroup, UnknownNameIsAskedWithUnnamedBoxesAsAuto) {
    FakePage page;
    page.Box("");
    page.Box("remember");
    std::vector<LoginField> fields{Field("", "1", LoginFieldType::Checkbox)};
    Harness h;
    h.answer = u"remember";
    h.Run(fields, page);
    ASSERT_EQ(h.questions.size(), 1u);
    EXPECT_EQ(h.questions[0].keys, (std::vector<std::u16string>{u"<auto>", u"remember"}));
    EXPECT_EQ(fields[0].name, u"remember");
    EXPECT_FALSE(fields[0].automationMark);
}

TEST(SubmitGroup, MatchingButtonsAreClickedAndAutoLoginCleared) {
    FakePage page;
    FakeElement& a = page.Submit("log in");
    FakeElement& b = page.Submit("cancel");
    FakeElement& c = page.Submit("log in");
    std::vector<LoginField> fields{Field("Log In", "", LoginFieldType::SubmitButton)};
    Harness h;
    h.Run(fields, page);
    EXPECT_EQ(a.clicks, 1);
    EXPECT_EQ(b.clicks, 0);
    EXPECT_EQ(c.clicks, 1);
    EXPECT_FALSE(h.autoLogin);
    EXPECT_TRUE(fields[0].automationMark);
    EXPECT_TRUE(h.questions.empty());
}

TEST(SubmitGroup, AutoResolvesToFirstCaptionInTheSamePass) {
    FakePage page;
    FakeElement& first = page.Submit("sign in");
    FakeElement& second = page.Submit("register");
    std::vector<LoginField> fields{Field("<auto>", "", LoginFieldType::SubmitButton)};
    Harness h;
    h.Run(fields, page);
    EXPECT_EQ(fields[0].name, u"sign in");
    EXPECT_EQ(first.clicks, 1);
    EXPECT_EQ(second.clicks, 0);
    EXPECT_FALSE(h.autoLogin);
    EXPECT_TRUE(fields[0].automationMark);
}

TEST(SubmitGroup, ChosenNameIsAppliedInTheSamePass) {
    FakePage page;
    FakeElement& first = page.Submit("sign in");
    FakeElement& second = page.Submit("go");
    std::vector<LoginField> fields{Field("", "", LoginFieldType::SubmitButton)};
    Harness h;
    h.answer = u"go";
    h.Run(fields, page);
    EXPECT_EQ(h.questions.size(), 1u);
    EXPECT_EQ(fields[0].name, u"go");
    EXPECT_EQ(first.clicks, 0);
    EXPECT_EQ(second.clicks, 1);
    EXPECT_FALSE(h.autoLogin);

    // Chosen "<auto>": the first button, its caption kept.
    FakePage other;
    FakeElement& only = other.Submit("enter");
    std::vector<LoginField> automatic{Field("", "", LoginFieldType::SubmitButton)};
    h.answer = u"<auto>";
    h.Run(automatic, other);
    EXPECT_EQ(automatic[0].name, u"enter");
    EXPECT_EQ(only.clicks, 1);
}

TEST(SubmitGroup, CancelledQuestionClicksNothing) {
    FakePage page;
    FakeElement& button = page.Submit("go");
    std::vector<LoginField> fields{Field("", "", LoginFieldType::SubmitButton)};
    Harness h;
    h.Run(fields, page);
    EXPECT_EQ(button.clicks, 0);
    EXPECT_TRUE(h.autoLogin);
    EXPECT_FALSE(AllUsedFieldsApplied(fields));
}

TEST(Cancellation, StopsAtOnceBeforeTheNextElement) {
    FakePage page;
    Harness h;
    FakeElement& first = page.Text("user");
    first.cancelOnTouch = &h.cancel;
    FakeElement& second = page.Text("user");
    FakeElement& box = page.Box("keep");
    std::vector<LoginField> fields{Field("user", "u"), Field("keep", "1", LoginFieldType::Checkbox)};
    EXPECT_EQ(h.Run(fields, page), PassResult::Cancelled);
    EXPECT_EQ(first.values.size(), 1u);
    EXPECT_TRUE(second.values.empty());
    EXPECT_TRUE(box.checks.empty());
}

TEST(Cancellation, SetBeforeThePassTouchesNothing) {
    FakePage page;
    FakeElement& button = page.Submit("go");
    std::vector<LoginField> fields{Field("go", "", LoginFieldType::SubmitButton)};
    Harness h;
    h.cancel = true;
    EXPECT_EQ(h.Run(fields, page), PassResult::Cancelled);
    EXPECT_EQ(button.clicks, 0);
}

TEST(Marks, SuccessNeedsEveryUsedFieldMarkedAndClearingResets) {
    FakePage page;
    page.Text("user");
    std::vector<LoginField> fields{Field("user", "u"), Field("password", "p", LoginFieldType::Password),
                                   Field("other", "o", LoginFieldType::StandardInput, false)};
    Harness h;
    h.Run(fields, page);
    EXPECT_TRUE(fields[0].automationMark);
    EXPECT_FALSE(fields[1].automationMark);
    EXPECT_FALSE(AllUsedFieldsApplied(fields));
    page.Text("password");
    h.Run(fields, page);
    EXPECT_TRUE(AllUsedFieldsApplied(fields));
    ClearAutomationMarks(fields);
    EXPECT_FALSE(fields[0].automationMark || fields[1].automationMark || fields[2].automationMark);
}

TEST(Pass, EmptyListsSkipTheirGroups) {
    FakePage page;
    std::vector<LoginField> fields{Field("", "u"), Field("<auto>", "", LoginFieldType::SubmitButton)};
    Harness h;
    EXPECT_EQ(h.Run(fields, page), PassResult::Completed);
    EXPECT_TRUE(h.questions.empty());
    EXPECT_EQ(fields[1].name, u"<auto>");
    EXPECT_TRUE(h.autoLogin);
    EXPECT_EQ(h.formToSubmit, nullptr);
}

}  // namespace
}  // namespace kodrin::weblogin
