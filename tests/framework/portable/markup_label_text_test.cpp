// The MarkupLabel's text: tokens and what they do.
#include <gtest/gtest.h>

#include "framework/portable/markup_label_text.h"

namespace QvLibrary {
namespace {

std::u16string Joined(const std::vector<MarkupToken>& tokens) {
    std::u16string out;
    for (const MarkupToken& t : tokens) out += u"[" + t.text + u"]";
    return out;
}

TEST(MarkupLabelText, Tokens) {
    struct Case {
        std::u16string text;
        std::u16string tokens;
    };
    const Case cases[] = {
        {u"Hi <body>Would  you\r\nlike <b>Kodrin</b>?</body>",
         u"[Hi][ ][<body>][Would][ ][you][ ][like][ ][<b>][Kodrin][</b>][?][</body>]"},
        {u"say \"a <b> c\" now", u"[say][ ][\"a <b> c\"][ ][now]"},
        {u"<color red>x</color>", u"[<color][ ][red>][x][</color>]"},
        {u"<a href=x>y", u"[<a][ ][href=x>][y]"},
        {u"a<", u"[a][<]"},
        {u"\"open <", u"[\"open <]"},
    };
    for (const Case& c : cases) EXPECT_EQ(Joined(TokenizeMarkup(c.text)), c.tokens);
}

TEST(MarkupLabelText, ActionsAndColours) {
    const auto action = [](const char16_t* text) { return ActionOf(TokenizeMarkup(text).front()); };
    EXPECT_EQ(action(u"<BODY>"), MarkupAction::BodyOn);
    EXPECT_EQ(action(u"</Body>"), MarkupAction::BodyOff);
    EXPECT_EQ(action(u"<br>"), MarkupAction::NewParagraph);
    EXPECT_EQ(action(u"<B>"), MarkupAction::BoldOn);
    EXPECT_EQ(action(u"</u>"), MarkupAction::UnderlineOff);
    EXPECT_EQ(action(u"<Color red>"), MarkupAction::ColourOn);
    EXPECT_EQ(action(u"<b class=x>"), MarkupAction::Text);
    EXPECT_EQ(action(u"b>"), MarkupAction::Text);

    EXPECT_EQ(MarkupColour(u"red>"), 0x0000FFu);
    EXPECT_EQ(MarkupColour(u"DarkCyan>"), 0x93DB70u);
    EXPECT_EQ(MarkupColour(u"lightgray>"), 0xFAE8E6u);
    EXPECT_EQ(MarkupColour(u"0080ff>"), 0xFF8000u);
    for (const char16_t* black : {u"red", u"0080fg>", u"0080ff", u"purple>", u""}) EXPECT_EQ(MarkupColour(black), 0u);
}

}  // namespace
}  // namespace QvLibrary
