#include "framework/portable/number.h"

#include <gtest/gtest.h>

namespace {

using QvLibrary::ReadNumber;

TEST(ReadNumber, SkipsLeadingSymbolsAndStopsAtTheFirstOtherCharacter) {
    EXPECT_DOUBLE_EQ(ReadNumber(u"$12.50"), 12.5);
    EXPECT_DOUBLE_EQ(ReadNumber(u"$1,200.50"), 1.0);
    EXPECT_DOUBLE_EQ(ReadNumber(u"  42 MB"), 42.0);
    EXPECT_DOUBLE_EQ(ReadNumber(u"1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(ReadNumber(u".5"), 0.5);
    EXPECT_DOUBLE_EQ(ReadNumber(u"7."), 7.0);
    EXPECT_DOUBLE_EQ(ReadNumber(u"10"), 10.0);
    EXPECT_GT(ReadNumber(u"10"), ReadNumber(u"9"));
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
