// The FieldMatcher: which element of a web form receives which stored login
// value. It sees a page only through three lists of element entries and the
// three element operations below, so the browser automation supplies the real
// elements and tests supply fakes.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/record.h"

namespace kodrin::weblogin {

// String ids of the matcher's own texts.
constexpr int kAutoNameId = 20202;     // "<auto>": choose the element at every login
constexpr int kCheckedValueId = 20204; // "checked": a checkbox value that ticks the box

// One input element of the page: the three operations a pass performs.
class FormElement {
public:
    virtual ~FormElement() = default;
    virtual void SetValue(const std::u16string& text) = 0;
    virtual void SetChecked(bool checked) = 0;
    virtual void Click() = 0;
};

// The form that contains an element; the automation submits the form the
// pass remembers in its FormToSubmit slot.
class WebForm {
public:
    virtual ~WebForm() = default;
    virtual void Submit() = 0;
};

// One relevant element of the page. Neither pointer is owned: the entries
// live for one pass over one page.
struct FormElementEntry {
    FormElement* element = nullptr;
    WebForm* form = nullptr;
    // Lower-cased: a submit input's value attribute (its caption); any other
    // input's name attribute, or its id attribute when the name is empty.
    std::u16string key;
};

// The three lists of one page, each in document order.
struct LoginPage {
    std::vector<FormElementEntry> textList;      // inputs of type "text" and "password"
    std::vector<FormElementEntry> checkboxList;  // inputs of type "checkbox"
    std::vector<FormElementEntry> submitList;    // inputs of type "submit"
};

// The element question: given the field's value and the keys of the elements
// that did not match, returns the chosen key (or "<auto>"), nothing when the
// user cancels.
using SelectField =
    std::function<std::optional<std::u16string>(const std::u16string& value, const std::vector<std::u16string>& keys)>;

// Keyword scorers: 100 when the key equals the reference ignoring case;
// otherwise the score of the longest ending of the key that is one of the
// scorer's keywords ("password" 10, "pwd" 9 / "username" 10, "userid" 9,
// "login" 8, "user" 7, "uname" 6); 1 when no ending is.
using KeyScorer = std::uint32_t (*)(std::u16string_view key, std::u16string_view reference);
std::uint32_t PasswordKeyScore(std::u16string_view key, std::u16string_view reference);
std::uint32_t UserNameKeyScore(std::u16string_view key, std::u16string_view reference);

// The scorer the automatic choice uses for a field type.
KeyScorer ScorerFor(LoginFieldType type);

// The automatic choice over one list: the first entry with the highest score
// (ties keep the earlier entry); null on an empty list.
FormElementEntry* ChooseAutomatically(std::vector<FormElementEntry>& entries, KeyScorer scorer);

// True when a checkbox field's value ticks its box: the value starts with "1"
// or equals "checked" ignoring case.
bool ValueTicksCheckbox(std::u16string_view value);

// True when the field name asks for the automatic choice (exactly "<auto>").
bool IsAutoName(std::u16string_view name);

enum class PassResult { Completed, Cancelled };

// One pass of the matcher over one page. The select callback and the cancel
// flag belong to the login that runs the passes.
class FieldMatcher {
public:
    FieldMatcher(SelectField select, const std::atomic<bool>& cancel);

    // Applies the fields (worked on in place: names learned, automation marks
    // set) to the page. autoLoginRequested is cleared when a submit button is
    // clicked; formToSubmit takes the form of the first text element filled
    // while it is still empty.
    PassResult Pass(std::vector<LoginField>& fields, LoginPage& page, bool& autoLoginRequested,
                    WebForm*& formToSubmit) const;

private:
    bool Cancelled() const;
    bool TextField(LoginField& field, std::vector<FormElementEntry>& list, WebForm*& formToSubmit) const;
    bool CheckboxField(LoginField& field, std::vector<FormElementEntry>& list) const;
    void SubmitField(LoginField& field, std::vector<FormElementEntry>& list, bool& autoLoginRequested) const;
    void Ask(LoginField& field, const std::vector<std::u16string>& unmatched) const;

    SelectField select_;
    const std::atomic<bool>& cancel_;
};

// Clears every field's automation mark (before a login starts).
void ClearAutomationMarks(std::vector<LoginField>& fields);

// A pass succeeded when every field with the use flag carries the automation
// mark; fields without it never count.
bool AllUsedFieldsApplied(const std::vector<LoginField>& fields);

}  // namespace kodrin::weblogin
