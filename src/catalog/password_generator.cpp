#include "catalog/password_generator.h"

#include <limits>
#include <utility>

#include "platform/crypto.h"

namespace kodrin {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsGroupSeparator(char16_t c) {
    return c == u',' || c == u'.' || c == u'\'' || c == u' ' || c == u'\u00A0' || c == u'\u202F';
}

void AppendRange(std::u16string& alphabet, char16_t first, char16_t last) {
    for (char16_t c = first; c <= last; ++c) alphabet.push_back(c);
}

}  // namespace

std::u16string PasswordAlphabet(const Settings& options) {
    std::u16string alphabet;
    if (options.allowLower) AppendRange(alphabet, u'a', u'z');
    if (options.allowUpper) AppendRange(alphabet, u'A', u'Z');
    if (options.allowNumber) AppendRange(alphabet, u'0', u'9');
    if (options.allowSymbol) alphabet.append(kPasswordSymbols);
    return alphabet;
}

std::int32_t ReadPasswordLength(std::u16string_view text) {
    std::size_t i = 0;
    bool negative = false;
    for (; i < text.size() && !IsDigit(text[i]); ++i) {
        if (text[i] == u'-') negative = true;
    }
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            value = value * 10 + (text[i] - u'0');
            if (value > kLimit) value = kLimit + 1;  // stays just beyond the range
        } else if (IsGroupSeparator(text[i]) && i + 1 < text.size() && IsDigit(text[i + 1])) {
            continue;
        } else {
            break;
        }
    }
    if (negative) return value > kLimit ? std::numeric_limits<std::int32_t>::min() : static_cast<std::int32_t>(-value);
    return value > kLimit ? static_cast<std::int32_t>(kLimit) : static_cast<std::int32_t>(value);
}

void StorePasswordForm(const PasswordForm& form, Settings& options) {
    options.allowLower = form.allowLower;
    options.allowUpper = form.allowUpper;
    options.allowNumber = form.allowNumber;
    options.allowSymbol = form.allowSymbol;
    // PASSWORDLENGTH is stored as the 32-bit pattern of the signed length.
    options.passwordLength = static_cast<std::uint32_t>(ReadPasswordLength(form.lengthText));
}

PasswordResult GeneratePassword(const Settings& options, std::u16string& password) {
    const std::u16string alphabet = PasswordAlphabet(options);
    if (alphabet.empty()) return PasswordResult::NoCharacters;
    std::int32_t length = static_cast<std::int32_t>(options.passwordLength);
    if (length < 0) length = 0;
    if (length > kMaxPasswordLength) length = kMaxPasswordLength;
    std::u16string made;
    made.reserve(static_cast<std::size_t>(length));
    for (std::int32_t i = 0; i < length; ++i) {
        std::uint32_t index = 0;
        if (!platform::RandomBelow(static_cast<std::uint32_t>(alphabet.size()), index)) {
            return PasswordResult::GeneratorFailed;
        }
        made.push_back(alphabet[index]);
    }
    password = std::move(made);
    return PasswordResult::Made;
}

}  // namespace kodrin
