// The quote-aware tokeniser under CSV lines and cells and version texts.
#include <gtest/gtest.h>

#include "catalog/tokenizer.h"

namespace kodrin {
namespace {

using Parts = std::vector<std::u16string>;

TEST(Tokenizer, VersionComponents) {
    EXPECT_EQ(CsvSplit(u"1.2.", u'.', true, false), (Parts{u"1", u"2"}));
    EXPECT_EQ(CsvSplit(u"1..2", u'.', true, false), (Parts{u"1", u"", u"2"}));
    EXPECT_EQ(CsvSplit(u"3. 4", u'.', true, false), (Parts{u"3", u"4"}));
    EXPECT_EQ(CsvSplit(u" 4.1 ", u'.', true, false), (Parts{u"4", u"1 "}));
    EXPECT_EQ(CsvSplit(u"", u'.', true, false), Parts{});
    EXPECT_EQ(CsvSplit(u".", u'.', true, false), Parts{u""});
    // Without skipping, a blank stays part of the component.
    EXPECT_EQ(CsvSplit(u"3. 4", u'.', false, false), (Parts{u"3", u" 4"}));
}

TEST(Tokenizer, QuotesHideSeparatorsAndLineFeeds) {
    EXPECT_EQ(CsvSplit(u"\"a,b\",c", u',', false, false), (Parts{u"a,b", u"c"}));
    EXPECT_EQ(CsvSplit(u"\"a,b\",c", u',', false, true), (Parts{u"\"a,b\"", u"c"}));
    EXPECT_EQ(CsvSplit(u"\"x\r\ny\"\r\n\"z\"\r\n", u'\n', true, true), (Parts{u"\"x\r\ny\"\r", u"\"z\"\r"}));
    // Blanks inside quotes are kept; outside they are skipped at a cell's start.
    EXPECT_EQ(CsvSplit(u"  \" a\",   b", u',', true, false), (Parts{u" a", u"b"}));
    // A quote that is never closed runs to the end without harm.
    EXPECT_EQ(CsvSplit(u"\"a,b\nc", u',', false, false), (Parts{u"a,b\nc"}));
}

TEST(Tokenizer, DoubledQuoteInsideQuotesIsOneQuote) {
    EXPECT_EQ(CsvSplit(u"\"say \"\"hi\"\", ok\",\"next\"", u',', false, false),
              (Parts{u"say \"hi\", ok", u"next"}));
    EXPECT_EQ(CsvSplit(u"\"\"\"\",\"\"", u',', false, false), (Parts{u"\""}));
    EXPECT_EQ(CsvSplit(u"\"\"\"a\"\"\"", u',', false, false), (Parts{u"\"a\""}));
    // Kept quotes are copied as they stand, so a later split sees the same.
    const Parts lines = CsvSplit(u"\"a\"\"\nb\"\n\"c\"", u'\n', true, true);
    ASSERT_EQ(lines, (Parts{u"\"a\"\"\nb\"", u"\"c\""}));
    EXPECT_EQ(CsvSplit(lines[0], u',', true, false), (Parts{u"a\"\nb"}));
    // An empty quoted value between separators stays an empty cell.
    EXPECT_EQ(CsvSplit(u"\"\",\"x\"", u',', false, false), (Parts{u"", u"x"}));
}

TEST(Tokenizer, TrailingEmptyCell) {
    EXPECT_EQ(CsvSplit(u"\"a\",\"\"", u',', true, false), (Parts{u"a"}));
    SplitOptions options;
    options.keepQuotedEmptyLast = true;
    EXPECT_EQ(Split(u"\"a\",\"\"", options), (Parts{u"a", u""}));
    EXPECT_EQ(Split(u"\"a\",", options), (Parts{u"a"}));
}

TEST(Tokenizer, Blanks) {
    for (const char16_t c : std::u16string(u" \t\r\n\v\f\u00A0\u2003\u3000")) EXPECT_TRUE(IsBlank(c)) << int(c);
    for (const char16_t c : std::u16string(u"a0\"_\u00E9\u20AC\uFEFF")) EXPECT_FALSE(IsBlank(c)) << int(c);
}

}  // namespace
}  // namespace kodrin
