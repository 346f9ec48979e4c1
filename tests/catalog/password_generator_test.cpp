#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

#include "catalog/password_generator.h"

namespace kodrin {
namespace {

Settings Allow(bool lower, bool upper, bool number, bool symbol, std::int32_t length) {
    Settings options = NewSettings();
    options.allowLower = lower;
    options.allowUpper = upper;
    options.allowNumber = number;
    options.allowSymbol = symbol;
    options.passwordLength = static_cast<std::uint32_t>(length);
    return options;
}

std::u16string Make(const Settings& options) {
    std::u16string password = u"unchanged";
    EXPECT_EQ(GeneratePassword(options, password), PasswordResult::Made);
    return password;
}

TEST(PasswordAlphabet, ClassesInOrder) {
    EXPECT_EQ(PasswordAlphabet(Allow(true, true, true, true, 8)),
              u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!@#$%^&*()");
    EXPECT_EQ(PasswordAlphabet(Allow(false, true, false, true, 8)), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ!@#$%^&*()");
    EXPECT_EQ(PasswordAlphabet(Allow(false, false, true, false, 8)), u"0123456789");
    EXPECT_EQ(PasswordAlphabet(Allow(false, false, false, false, 8)), u"");
    // The defaults: lower, upper and numbers, length 16.
    const Settings defaults = NewSettings();
    EXPECT_EQ(PasswordAlphabet(defaults).size(), 62u);
    EXPECT_EQ(Make(defaults).size(), 16u);
}

TEST(GeneratePassword, OnlyAllowedCharactersAndRequestedLength) {
    const std::u16string digits = Make(Allow(false, false, true, false, 6));
    ASSERT_EQ(digits.size(), 6u);
    for (char16_t c : digits) EXPECT_TRUE(c >= u'0' && c <= u'9');

    const std::u16string symbols = Make(Allow(false, false, false, true, 200));
    ASSERT_EQ(symbols.size(), 200u);
    for (char16_t c : symbols) EXPECT_NE(kPasswordSymbols.find(c), std::u16string_view::npos);
    // Two hundred draws from ten symbols reach the last ones too.
    EXPECT_NE(symbols.find(u'('), std::u16string::npos);
    EXPECT_NE(symbols.find(u')'), std::u16string::npos);
}

TEST(GeneratePassword, NothingAllowedMakesNothing) {
    std::u16string password = u"previous";
    EXPECT_EQ(GeneratePassword(Allow(false, false, false, false, 10), password), PasswordResult::NoCharacters);
    EXPECT_EQ(password, u"previous");
}

TEST(GeneratePassword, LengthsZeroNegativeAndCapped) {
    EXPECT_EQ(Make(Allow(true, false, false, false, 0)), u"");
    EXPECT_EQ(Make(Allow(true, false, false, false, -5)), u"");
    EXPECT_EQ(Make(Allow(true, false, false, false, 1)).size(), 1u);
    EXPECT_EQ(Make(Allow(true, false, false, false, 1000)).size(), 1000u);
    // A stored length beyond the control's range cannot exhaust memory.
    Settings huge = Allow(true, false, false, false, 0);
    huge.passwordLength = 4000000000u;  // read as a negative signed length
    EXPECT_EQ(Make(huge), u"");
    huge.passwordLength = 2000000000u;
    EXPECT_EQ(Make(huge).size(), static_cast<std::size_t>(kMaxPasswordLength));
}

TEST(GeneratePassword, ConsecutivePasswordsDiffer) {
    // The generator is not seeded from the clock: passwords made at once differ.
    const Settings options = Allow(true, true, true, false, 16);
    std::set<std::u16string> seen;
    for (int i = 0; i < 50; ++i) seen.insert(Make(options));
    EXPECT_EQ(seen.size(), 50u);
}

TEST(GeneratePassword, CharactersAreUniform) {
    // Chi-square over 72 characters with 71 degrees of freedom (mean 71,
    // deviation about 12). A fair generator exceeds 250 with a probability far
    // below 1e-15; an alphabet slot that is never or twice as often drawn
    // gives thousands.
    const Settings options = Allow(true, true, true, true, kMaxPasswordLength);
    const std::u16string alphabet = PasswordAlphabet(options);
    std::map<char16_t, int> counts;
    constexpr int kPasswords = 72;
    for (int i = 0; i < kPasswords; ++i) {
        for (char16_t c : Make(options)) ++counts[c];
    }
    const double expected = static_cast<double>(kPasswords) * kMaxPasswordLength / alphabet.size();
    double chiSquare = 0;
    for (char16_t c : alphabet) {
        const double difference = counts[c] - expected;
        chiSquare += difference * difference / expected;
    }
    EXPECT_EQ(counts.size(), alphabet.size());
    EXPECT_LT(chiSquare, 250.0);
}

TEST(PasswordLength, ReadFromTheLengthBox) {
    EXPECT_EQ(ReadPasswordLength(u"16"), 16);
    EXPECT_EQ(ReadPasswordLength(u""), 0);
    EXPECT_EQ(ReadPasswordLength(u"abc"), 0);
    EXPECT_EQ(ReadPasswordLength(u"  12xyz"), 12);
    EXPECT_EQ(ReadPasswordLength(u"x-7"), -7);
    EXPECT_EQ(ReadPasswordLength(u"-"), 0);
    EXPECT_EQ(ReadPasswordLength(u"99999999999"), 2147483647);
    EXPECT_EQ(ReadPasswordLength(u"-99999999999"), -2147483647 - 1);
    // The up-down control may group thousands: 1000 stays 1000.
    EXPECT_EQ(ReadPasswordLength(u"1,000"), 1000);
    EXPECT_EQ(ReadPasswordLength(u"1.000"), 1000);
    EXPECT_EQ(ReadPasswordLength(u"1\u00A0000"), 1000);
    EXPECT_EQ(ReadPasswordLength(u"12,"), 12);
    EXPECT_EQ(ReadPasswordLength(u"12 x"), 12);
}

TEST(PasswordForm, StoresEveryOptionEvenWithNothingAllowed) {
    Settings options = NewSettings();
    StorePasswordForm({false, false, false, false, u"8"}, options);
    EXPECT_FALSE(options.allowLower || options.allowUpper || options.allowNumber || options.allowSymbol);
    EXPECT_EQ(options.passwordLength, 8u);
    StorePasswordForm({true, false, true, true, u"-3"}, options);
    EXPECT_TRUE(options.allowLower);
    EXPECT_FALSE(options.allowUpper);
    EXPECT_TRUE(options.allowNumber && options.allowSymbol);
    EXPECT_EQ(static_cast<std::int32_t>(options.passwordLength), -3);
}

}  // namespace
}  // namespace kodrin
