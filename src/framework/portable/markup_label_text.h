// The text of a MarkupLabel: a line of simple markup ("<body>", "<b>",
// "<color red>", ...) split into the tokens the label draws, and what each
// token tells the label to do.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace QvLibrary {

enum class MarkupTokenKind { Tag, Blank, Word };

struct MarkupToken {
    MarkupTokenKind kind;
    std::u16string text;
};

// A "<" starts a tag token that ends at the next ">" (included) or before
// white space, so that "<color red>" reads as "<color", a blank and "red>";
// a run of white space becomes one blank " "; double quotes enclose text in
// which "<", ">" and white space are ordinary (the quotes are kept); the
// rest forms words, each ending before white space or "<" or after a ">"
// (so the colour token "red>" stands alone).
std::vector<MarkupToken> TokenizeMarkup(std::u16string_view text);

enum class MarkupAction {
    Text,  // draw the token
    BodyOn, BodyOff, NewParagraph,
    BoldOn, BoldOff, ItalicOn, ItalicOff, UnderlineOn, UnderlineOff,
    ColourOn,   // "<color": the token after the next blank names the colour
    ColourOff,
};
// Tags are compared as whole tokens ignoring ASCII case.
MarkupAction ActionOf(const MarkupToken& token);

// The colour a colour token names ("red>", "0080FF>", ...), as 0x00BBGGRR;
// black for anything else.
std::uint32_t MarkupColour(std::u16string_view token);

}  // namespace QvLibrary
