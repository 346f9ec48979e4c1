#include "framework/portable/trim.h"

#include <gtest/gtest.h>

namespace {

using QvLibrary::Trim;

TEST(Trim, RemovesBlanksAtBothEndsOnly) {
    EXPECT_EQ(Trim(u" \t\r\nname \t x\r\n\t "), u"name \t x");
    EXPECT_EQ(Trim(u"name"), u"name");
    EXPECT_EQ(Trim(u"  a"), u"a");
    EXPECT_EQ(Trim(u"a  "), u"a");
}

TEST(Trim, BlankOrEmptyGivesEmpty) {
    EXPECT_EQ(Trim(u""), u"");
    EXPECT_EQ(Trim(u" \t\r\n"), u"");
}

TEST(Trim, KeepsOtherWhiteSpace) {
    // Only the four characters a text box or a pasted line brings are removed.
    EXPECT_EQ(Trim(u"\u00a0x\v"), u"\u00a0x\v");
    EXPECT_EQ(Trim(std::u16string(u"\0x", 2)), std::u16string(u"\0x", 2));
}

}  // namespace
