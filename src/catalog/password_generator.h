// Random passwords from the character classes the options allow
// (ALLOWLOWER, ALLOWUPPER, ALLOWNUMBER, ALLOWSYMBOL) and PASSWORDLENGTH.
// Characters come from the system's cryptographically secure generator,
// each drawn independently and uniformly from the alphabet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/settings.h"

namespace kodrin {

// The ten symbols, in alphabet order.
inline constexpr std::u16string_view kPasswordSymbols = u"!@#$%^&*()";

// Longest password made; the length control goes from 0 to this. A larger
// PASSWORDLENGTH (only a hand-edited data file has one) gives this many.
constexpr std::int32_t kMaxPasswordLength = 1000;

// "a".."z" when lower case is allowed, then "A".."Z", "0".."9" and the ten
// symbols for their options; empty when nothing is allowed.
std::u16string PasswordAlphabet(const Settings& options);

// The length typed into the length box: characters before the first digit
// are skipped (a "-" among them makes the number negative), then digits are
// read up to the first other character. Digit-group separators (",", ".",
// "'", space, no-break space) between digits are skipped, so "1,000" reads as
// 1000. No digits gives 0; values beyond the 32-bit range are clamped.
std::int32_t ReadPasswordLength(std::u16string_view text);

// The options the generator's form stores before each password.
struct PasswordForm {
    bool allowLower = true;
    bool allowUpper = true;
    bool allowNumber = true;
    bool allowSymbol = false;
    std::u16string lengthText;
};
void StorePasswordForm(const PasswordForm& form, Settings& options);

enum class PasswordResult {
    Made,              // password holds the new password (empty for length 0 or less)
    NoCharacters,      // no class allowed: nothing is made
    GeneratorFailed,   // the system's generator failed: nothing is made
};

// Makes a password of PASSWORDLENGTH characters (as a signed number; capped
// at kMaxPasswordLength) from the options' alphabet. password is changed only
// when the result is Made.
PasswordResult GeneratePassword(const Settings& options, std::u16string& password);

}  // namespace kodrin
