#include "framework/portable/number.h"

#include <gtest/gtest.h>

#include "catalog/markup.h"
#include "platform/utf.h"

namespace {

using QvLibrary::ReadNumber;

TEST(ReadNumber, SkipsLeadingSymbolsAndStopsAtTheFirstOtherCharacter) {
    EXPECT_DOUBLE_EQ(ReadNumber(u"$12.50"), 12.5);
    EXPECT_DOUBLE_EQ(ReadNumber(u"  42 MB"), 42.0);
    EXPECT_DOUBLE_EQ(ReadNumber(u"1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(ReadNumber(u".5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadNumber(u"7."), 7.0);
    EXPECT_DOUBLE_EQ(ReadNumber(u"10"), 10.0);
    EXPECT_GT(ReadNumber(u"10"), ReadNumber(u"9"));
}

// Amounts with thousands separators, as typed into the details dialog or
// found in a spreadsheet's CSV cell. Only commas between groups of three
// digits before the point are separators; any other shape stops at its
// first comma. The catalog's reader gives the same value.
TEST(ReadNumber, ThousandsSeparators) {
    struct Case { const char16_t* text; double value; };
    const Case cases[] = {
        {u"$1,299.00", 1299.0},      {u"$1,200.50", 1200.5},    {u"12,345", 12345.0},
        {u"123,456,789.25", 123456789.25}, {u"-1,000", -1000.0}, {u"1,234 MB", 1234.0},
        {u"1,000e3", 1000000.0},     {u"0,001", 0.0},
        {u"1,5", 1.0},               {u"1,50", 1.0},            {u"1,5000", 1.0},
        {u"1234,567", 1234.0},       {u"1,234,56", 1.0},        {u"1,234,", 1.0},
        {u"1,,234", 1.0},            {u"1.234,567", 1.234},     {u",123", 123.0},
        {u"12,34.5", 12.0},          {u"1,2345.5", 1.0},        {u"1,234,5678", 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.value) << kodrin::platform::ToUtf8(c.text);
        EXPECT_DOUBLE_EQ(kodrin::ReadReal(c.text), c.value) << kodrin::platform::ToUtf8(c.text);
    }
}

TEST(ReadNumber, AMinusAmongTheLeadingCharactersMakesItNegative) {
    EXPECT_DOUBLE_EQ(ReadNumber(u"-3.25"), -3.25);
    EXPECT_DOUBLE_EQ(ReadNumber(u"$-8"), -8.0);
    EXPECT_DOUBLE_EQ(ReadNumber(u"- x 5"), -5.0);
    EXPECT_DOUBLE_EQ(ReadNumber(u"5-"), 5.0);   // after the digits it ends the number
}

TEST(ReadNumber, NoDigitsIsZero) {
    EXPECT_EQ(ReadNumber(u""), 0.0);
    EXPECT_EQ(ReadNumber(u"$"), 0.0);
    EXPECT_EQ(ReadNumber(u"."), 0.0);
    EXPECT_EQ(ReadNumber(u"-."), 0.0);
    EXPECT_EQ(ReadNumber(u"n/a"), 0.0);
}

TEST(ReadNumber, LongDigitRunsDoNotOverflow) {
    EXPECT_DOUBLE_EQ(ReadNumber(u"123456789012345678901234567890"), 1.2345678901234568e29);
}

}  // namespace
