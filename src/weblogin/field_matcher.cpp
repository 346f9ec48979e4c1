#include "weblogin/field_matcher.h"

#include <array>
#include <utility>

#include "catalog/strings.h"
#include "platform/text.h"

namespace kodrin::weblogin {

namespace {

struct Keyword {
    std::u16string_view text;
    std::uint32_t score;
};

constexpr std::array<Keyword, 2> kPasswordKeywords{{{u"password", 10}, {u"pwd", 9}}};
constexpr std::array<Keyword, 5> kUserNameKeywords{
    {{u"username", 10}, {u"userid", 9}, {u"login", 8}, {u"user", 7}, {u"uname", 6}}};

constexpr std::uint32_t kReferenceScore = 100;
constexpr std::uint32_t kNoKeywordScore = 1;

template <std::size_t N>
std::uint32_t KeywordScore(std::u16string_view key, std::u16string_view reference,
                           const std::array<Keyword, N>& keywords) {
    if (platform::EqualIgnoreCase(key, reference)) return kReferenceScore;
    // The first position whose rest of the key is a keyword decides, so the
    // longest keyword ending wins.
    for (std::size_t start = 0; start < key.size(); ++start) {
        const std::u16string_view rest = key.substr(start);
        for (const Keyword& keyword : keywords) {
            if (platform::EqualIgnoreCase(rest, keyword.text)) return keyword.score;
        }
    }
    return kNoKeywordScore;
}

bool KeyEquals(std::u16string_view key, std::u16string_view name) { return platform::EqualIgnoreCase(key, name); }

bool BelongsToTextGroup(const LoginField& field) {
    return field.type == LoginFieldType::StandardInput || field.type == LoginFieldType::Password;
}

}  // namespace

std::uint32_t PasswordKeyScore(std::u16string_view key, std::u16string_view reference) {
    return KeywordScore(key, reference, kPasswordKeywords);
}

std::uint32_t UserNameKeyScore(std::u16string_view key, std::u16string_view reference) {
    return KeywordScore(key, reference, kUserNameKeywords);
}

KeyScorer ScorerFor(LoginFieldType type) {
    return type == LoginFieldType::Password ? &PasswordKeyScore : &UserNameKeyScore;
}

FormElementEntry* ChooseAutomatically(std::vector<FormElementEntry>& entries, KeyScorer scorer) {
    FormElementEntry* best = nullptr;
    std::uint32_t bestScore = 0;
    // The automatic choice has no reference text: an element without a key
    // scores as an exact match.
    const std::u16string_view reference;
    for (FormElementEntry& entry : entries) {
        const std::uint32_t score = scorer(entry.key, reference);
        if (best == nullptr || score > bestScore) {
            best = &entry;
            bestScore = score;
        }
    }
    return best;
}

bool ValueTicksCheckbox(std::u16string_view value) {
    if (!value.empty() && value.front() == u'1') return true;
    return platform::EqualIgnoreCase(value, LoadText(kCheckedValueId));
}

bool IsAutoName(std::u16string_view name) { return name == LoadText(kAutoNameId); }

FieldMatcher::FieldMatcher(SelectField select, const std::atomic<bool>& cancel)
    : select_(std::move(select)), cancel_(cancel) {}

bool FieldMatcher::Cancelled() const { return cancel_.load(std::memory_order_relaxed); }

void FieldMatcher::Ask(LoginField& field, const std::vector<std::u16string>& unmatched) const {
    if (!select_) return;
    if (std::optional<std::u16string> chosen = select_(field.value, unmatched)) field.name = std::move(*chosen);
}

bool FieldMatcher::TextField(LoginField& field, std::vector<FormElementEntry>& list, WebForm*& formToSubmit) const {
    bool matched = false;
    std::vector<std::u16string> unmatched;
    for (FormElementEntry& entry : list) {
        if (Cancelled()) return false;
        // An empty name means the element is not known yet: it is asked for,
        // never matched against the page's unnamed inputs.
        if (!field.name.empty() && KeyEquals(entry.key, field.name)) {
            entry.element->SetValue(field.value);
            field.automationMark = true;
            if (formToSubmit == nullptr) formToSubmit = entry.form;
            matched = true;
        } else {
            unmatched.push_back(entry.key);
        }
    }
    if (matched) return true;
    if (!unmatched.empty() && field.name.empty()) Ask(field, unmatched);
    if (IsAutoName(field.name)) {
        if (FormElementEntry* best = ChooseAutomatically(list, ScorerFor(field.type))) {
            best->element->SetValue(field.value);
            field.automationMark = true;
            if (formToSubmit == nullptr) formToSubmit = best->form;
        }
    }
    // Any other name chosen now matches in the next pass.
    return true;
}

bool FieldMatcher::CheckboxField(LoginField& field, std::vector<FormElementEntry>& list) const {
    const std::u16string autoName = LoadText(kAutoNameId);
    const bool ticked = ValueTicksCheckbox(field.value);
    bool matched = false;
    std::vector<std::u16string> unmatched;
    for (FormElementEntry& entry : list) {
        if (Cancelled()) return false;
        // Unnamed boxes answer to "<auto>" directly.
        if (entry.key.empty()) entry.key = autoName;
        if (KeyEquals(entry.key, field.name)) {
            entry.element->SetChecked(ticked);
            field.automationMark = true;
            matched = true;
        } else {
            unmatched.push_back(entry.key);
        }
    }
    if (matched) return true;
    if (!unmatched.empty() && field.name.empty()) Ask(field, unmatched);
    if (IsAutoName(field.name)) {
        if (FormElementEntry* best = ChooseAutomatically(list, ScorerFor(field.type))) {
            best->element->SetChecked(ticked);
            field.automationMark = true;
        }
    }
    return true;
}

void FieldMatcher::SubmitField(LoginField& field, std::vector<FormElementEntry>& list,
                               bool& autoLoginRequested) const {
    bool matched = false;
    std::vector<std::u16string> unmatched;
    for (FormElementEntry& entry : list) {
        if (KeyEquals(entry.key, field.name)) {
            entry.element->Click();
            field.automationMark = true;
            autoLoginRequested = false;
            matched = true;
        } else {
            unmatched.push_back(entry.key);
        }
    }
    if (matched || unmatched.empty()) return;
    if (field.name.empty()) Ask(field, unmatched);
    // "<auto>" settles on the first button's caption, kept as the name.
    if (IsAutoName(field.name)) field.name = list.front().key;
    for (FormElementEntry& entry : list) {
        if (KeyEquals(entry.key, field.name)) {
            entry.element->Click();
            field.automationMark = true;
            autoLoginRequested = false;
            break;
        }
    }
}

PassResult FieldMatcher::Pass(std::vector<LoginField>& fields, LoginPage& page, bool& autoLoginRequested,
                              WebForm*& formToSubmit) const {
    if (!page.textList.empty()) {
        for (LoginField& field : fields) {
            if (Cancelled()) return PassResult::Cancelled;
            if (!field.use || !BelongsToTextGroup(field)) continue;
            if (!TextField(field, page.textList, formToSubmit)) return PassResult::Cancelled;
        }
    }
    if (!page.checkboxList.empty()) {
        for (LoginField& field : fields) {
            if (Cancelled()) return PassResult::Cancelled;
            if (!field.use || field.type != LoginFieldType::Checkbox) continue;
            if (!CheckboxField(field, page.checkboxList)) return PassResult::Cancelled;
        }
    }
    if (!page.submitList.empty()) {
        for (LoginField& field : fields) {
            if (Cancelled()) return PassResult::Cancelled;
            if (!field.use || field.type != LoginFieldType::SubmitButton) continue;
            SubmitField(field, page.submitList, autoLoginRequested);
        }
    }
    return PassResult::Completed;
}

void ClearAutomationMarks(std::vector<LoginField>& fields) {
    for (LoginField& field : fields) field.automationMark = false;
}

bool AllUsedFieldsApplied(const std::vector<LoginField>& fields) {
    for (const LoginField& field : fields) {
        if (field.use && !field.automationMark) return false;
    }
    return true;
}

}  // namespace kodrin::weblogin
