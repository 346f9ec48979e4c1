#include "framework/portable/markup_label_text.h"

#include <array>

namespace QvLibrary {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool SameAscii(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

constexpr std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b) << 16;
}

struct NamedColour {
    std::u16string_view name;
    std::uint32_t colour;
};
constexpr std::array<NamedColour, 16> kColours = {{
    {u"black>", Rgb(0, 0, 0)},          {u"blue>", Rgb(0, 0, 255)},
    {u"cyan>", Rgb(0, 255, 255)},       {u"darkblue>", Rgb(0, 0, 128)},
    {u"darkcyan>", Rgb(112, 219, 147)}, {u"darkgreen>", Rgb(47, 79, 47)},
    {u"darkmagenta>", Rgb(204, 50, 153)}, {u"darkred>", Rgb(142, 35, 35)},
    {u"darkyellow>", Rgb(216, 216, 191)}, {u"gray>", Rgb(84, 84, 84)},
    {u"green>", Rgb(0, 255, 0)},        {u"lightgray>", Rgb(230, 232, 250)},
    {u"magenta>", Rgb(255, 0, 255)},    {u"red>", Rgb(255, 0, 0)},
    {u"white>", Rgb(255, 255, 255)},    {u"yellow>", Rgb(255, 255, 0)},
}};

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    c = Lower(c);
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

}  // namespace

std::vector<MarkupToken> TokenizeMarkup(std::u16string_view text) {
    std::vector<MarkupToken> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (IsSpace(c)) {
            while (i < text.size() && IsSpace(text[i])) ++i;
            tokens.push_back({MarkupTokenKind::Blank, u" "});
        } else if (c == u'<') {
            std::size_t end = i + 1;
            while (end < text.size() && text[end] != u'>' && !IsSpace(text[end])) ++end;
            if (end < text.size() && text[end] == u'>') ++end;
            tokens.push_back({MarkupTokenKind::Tag, std::u16string(text.substr(i, end - i))});
            i = end;
        } else {
            std::u16string word;
            bool quoted = false;
            while (i < text.size()) {
                const char16_t d = text[i];
                if (!quoted && (IsSpace(d) || d == u'<')) break;
                if (d == u'"') quoted = !quoted;
                word.push_back(d);
                ++i;
                if (!quoted && d == u'>') break;
            }
            tokens.push_back({MarkupTokenKind::Word, std::move(word)});
        }
    }
    return tokens;
}

MarkupAction ActionOf(const MarkupToken& token) {
    if (token.kind != MarkupTokenKind::Tag) return MarkupAction::Text;
    struct Named {
        std::u16string_view tag;
        MarkupAction action;
    };
    static constexpr std::array<Named, 13> kTags = {{
        {u"<body>", MarkupAction::BodyOn},     {u"</body>", MarkupAction::BodyOff},
        {u"<p>", MarkupAction::NewParagraph},  {u"<br>", MarkupAction::NewParagraph},
        {u"<b>", MarkupAction::BoldOn},        {u"</b>", MarkupAction::BoldOff},
        {u"<i>", MarkupAction::ItalicOn},      {u"</i>", MarkupAction::ItalicOff},
        {u"<u>", MarkupAction::UnderlineOn},   {u"</u>", MarkupAction::UnderlineOff},
        {u"<color", MarkupAction::ColourOn},   {u"</color>", MarkupAction::ColourOff},
        {u"<color>", MarkupAction::Text},
    }};
    for (const Named& named : kTags) {
        if (SameAscii(token.text, named.tag)) return named.action;
    }
    return MarkupAction::Text;
}

std::uint32_t MarkupColour(std::u16string_view token) {
    for (const NamedColour& named : kColours) {
        if (SameAscii(token, named.name)) return named.colour;
    }
    if (token.size() == 7 && token[6] == u'>') {
        int v[6];
        for (int k = 0; k < 6; ++k) {
            v[k] = HexValue(token[static_cast<std::size_t>(k)]);
            if (v[k] < 0) return 0;
        }
        return Rgb(v[0] * 16 + v[1], v[2] * 16 + v[3], v[4] * 16 + v[5]);
    }
    return 0;
}

}  // namespace QvLibrary
