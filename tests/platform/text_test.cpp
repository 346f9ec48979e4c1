// Text comparison and conversion: the same answers in both builds.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/strings.h"
#include "string_ids.h"
#include "platform/text.h"
#include "platform/utf.h"
#include "support/text.h"

namespace kodrin {
namespace {

using platform::CompareIgnoreCase;
using platform::CompareOrdinal;
using platform::EqualIgnoreCase;
using test::U;

TEST(TextCompare, IgnoreCaseEqualityOfNamesAndWords) {
    EXPECT_TRUE(EqualIgnoreCase(u"Options", u"OPTIONS"));
    EXPECT_TRUE(EqualIgnoreCase(u"comments", u"COMMENTS"));
    EXPECT_FALSE(EqualIgnoreCase(u"COMMENT", u"COMMENTS"));
    EXPECT_FALSE(EqualIgnoreCase(u"CUSTOM1", u"CUSTOM2"));
    EXPECT_TRUE(EqualIgnoreCase(U("Café"), U("CAFÉ")));
    EXPECT_FALSE(EqualIgnoreCase(U("Cafe"), U("Café")));
    EXPECT_TRUE(EqualIgnoreCase(u"", u""));
}

TEST(TextCompare, IgnoreCaseOrdering) {
    EXPECT_LT(CompareIgnoreCase(u"apple", u"Banana"), 0);
    EXPECT_GT(CompareIgnoreCase(u"banana", u"Apple"), 0);
    EXPECT_EQ(CompareIgnoreCase(u"Zebra", u"zebra"), 0);
    EXPECT_LT(CompareIgnoreCase(u"1", u"a"), 0);
    // Accented letters sort with their base letter, not after z.
    EXPECT_LT(CompareIgnoreCase(U("élan"), u"fig"), 0);
    EXPECT_GT(CompareIgnoreCase(U("élan"), u"dog"), 0);
    EXPECT_LT(CompareIgnoreCase(u"abc", u"abcd"), 0);
}

TEST(TextCompare, OrdinalIsCodeUnitOrder) {
    EXPECT_LT(CompareOrdinal(u"B", u"a"), 0);  // upper case first
    EXPECT_GT(CompareOrdinal(U("é"), u"z"), 0);
    EXPECT_EQ(CompareOrdinal(u"CD", u"CD"), 0);
    EXPECT_LT(CompareOrdinal(u"CD", u"CDX"), 0);
}

TEST(Utf, RoundTripAndMalformedInput) {
    const std::string s = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A é € 😀
    const std::u16string u = platform::FromUtf8(s);
    ASSERT_EQ(u.size(), 5u);
    EXPECT_EQ(u[1], 0x00E9);
    EXPECT_EQ(u[2], 0x20AC);
    EXPECT_EQ(u[3], 0xD83D);
    EXPECT_EQ(platform::ToUtf8(u), s);
    EXPECT_EQ(platform::FromUtf8("\xC3"), u"\uFFFD");
    EXPECT_EQ(platform::FromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(platform::ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(StringTable, LookupAndMissingIds) {
    EXPECT_EQ(LoadText(4109), u"Kodrin");
    EXPECT_EQ(LoadText(6020), u"Application Name");
    EXPECT_EQ(LoadText(20101), u"January ");
    EXPECT_EQ(LoadText(6105), u"");
    EXPECT_EQ(LoadText(1), u"");
    EXPECT_EQ(LoadText(65535), u"");
}

TEST(StringTable, EveryNamedStringIsInTheTable) {
#define KODRIN_NAMED_ID(name) name,
    const int named[] = {KODRIN_NAMED_STRINGS(KODRIN_NAMED_ID)};
#undef KODRIN_NAMED_ID
    const StringEntry* end = kStringTable + kStringCount;
    for (int id : named) {
        const StringEntry* found =
            std::find_if(kStringTable, end, [id](const StringEntry& entry) { return entry.id == id; });
        EXPECT_NE(found, end) << id;
    }
}

}  // namespace
}  // namespace kodrin
