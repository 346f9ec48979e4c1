// HTML subset to RTF: the documents are checked byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/portable/html2rtf.h"
#include "platform/utf.h"
#include "support/text.h"

namespace QvLibrary {
namespace {

using kodrin::platform::ToUtf8;
using kodrin::test::U;

const std::string kArial = R"({\f0\fswiss Arial;})";
const std::string kBlack = R"(\red0\green0\blue0;)";

// The whole document around a converted body.
std::string Doc(const std::string& body, const std::string& fonts = kArial,
                const std::string& colours = kBlack, bool tagPending = false) {
    return R"({\rtf1\ansi\deff0\deftab720{\fonttbl)" + fonts + R"(}{\colortbl ;)" + colours +
           R"(}\deflang1033\pard\plain\f0\fs20 )" + body + (tagPending ? R"(\plain\f0\fs20  )" : "") +
           R"(\par })";
}

std::string Convert(const char* html) { return ToUtf8(ConvertHtmlToRtf(U(html))); }
std::string Convert(const std::u16string& html) { return ToUtf8(ConvertHtmlToRtf(html)); }

// Braces outside escapes pair up: the document is one well-formed group.
bool Balanced(const std::u16string& rtf) {
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == u'\\') {
            ++i;
        } else if (rtf[i] == u'{') {
            ++depth;
        } else if (rtf[i] == u'}') {
            if (--depth < 0) return false;
        }
    }
    return depth == 0 && rtf.front() == u'{' && rtf.back() == u'}';
}

TEST(HtmlToRtf, BoldWordAfterPlainWord) {
    EXPECT_EQ(Convert("<body>Hello <b>world</b></body>"),
              R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss Arial;}}{\colortbl ;\red0\green0\blue0;})"
              R"(\deflang1033\pard\plain\f0\fs20 \plain\f0\fs20 Hello \plain\f0\fs20\b world\par })");
    EXPECT_EQ(Convert("<BODY>a<I>b</I><u>c</U></Body>"),
              Doc(R"(\plain\f0\fs20 a\plain\f0\fs20\i b\plain\f0\fs20\ul c)"));
    // Nested attributes are written in a fixed order; switching on twice is one change.
    EXPECT_EQ(Convert("<body><u><i><b><b>x</b>y</body>"),
              Doc(R"(\plain\f0\fs20\b\i\ul x\plain\f0\fs20\i\ul y)"));
    // A closing tag of an attribute that is off changes nothing.
    EXPECT_EQ(Convert("<body>a</b>b</body>"), Doc(R"(\plain\f0\fs20 ab)"));
}

TEST(HtmlToRtf, OnlyTheBodyIsShown) {
    EXPECT_EQ(Convert("<head><title>T</title></head>Before<body>In</body>After"),
              Doc(R"(\plain\f0\fs20 In)"));
    // Attribute tags outside the body are passed over.
    EXPECT_EQ(Convert("<body>one</body> gap <b>x<body>two</body>"), Doc(R"(\plain\f0\fs20 onetwo)"));
    // Tags match only in their exact forms: a body with attributes is unknown.
    EXPECT_EQ(Convert("<body bgcolor=white>Hello</body>"), Doc(""));
    EXPECT_EQ(Convert("<body >Hello</body>"), Doc(""));
    EXPECT_EQ(Convert("no body at all <b>x</b>"), Doc(""));
    EXPECT_EQ(Convert(""), Doc(""));
    // A font tag outside the body is passed over and sets nothing.
    EXPECT_EQ(Convert("<font face=Courier size=7><body>x</body>"), Doc(R"(\plain\f0\fs20 x)"));
}

TEST(HtmlToRtf, WhitespaceCollapses) {
    EXPECT_EQ(Convert("<body>a  \r\n  b<br>   c\n<p>  d</body>"),
              Doc("\\plain\\f0\\fs20 a b\\\nc \\\n\\\n\\plain\\f0\\fs20 d"));
    // Spaces collapse across tags.
    EXPECT_EQ(Convert("<body>a <b> b</body>"), Doc(R"(\plain\f0\fs20 a \plain\f0\fs20\b b)"));
    // A space written while the format is pending carries the format.
    EXPECT_EQ(Convert("<body>a<b> b</body>"), Doc(R"(\plain\f0\fs20 a\plain\f0\fs20\b  b)"));
    // A tab is not collapsed whitespace.
    EXPECT_EQ(Convert("<body>a\t\tb</body>"), Doc("\\plain\\f0\\fs20 a\t\tb"));
}

TEST(HtmlToRtf, ParagraphsAndBreaks) {
    // <p> writes the whole format; </p> returns to the defaults.
    EXPECT_EQ(Convert("<body><b><font size=5 color=#00FF00>x</p>y<p>z</body>"),
              Doc("\\plain\\f0\\cf2\\fs24\\b x\\plain\\f0\\fs20 y\\\n\\\n\\plain\\f0\\fs20 z", kArial,
                  kBlack + R"(\red0\green255\blue0;)"));
    EXPECT_EQ(Convert("<body><Br><P>x</body>"), Doc("\\\n\\\n\\\n\\plain\\f0\\fs20 x"));
    EXPECT_EQ(Convert("<body>x<br/>y</body>"),
              Doc(R"(\plain\f0\fs20 x\plain\f0\fs20\protect<br/>\plain\f0\fs20 y)"));
}

TEST(HtmlToRtf, FontColours) {
    const std::string red = kBlack + R"(\red255\green0\blue0;)";
    EXPECT_EQ(Convert(R"(<body><font color=#FF0000>red</font> black <font color="#ff0000">again</font></body>)"),
              Doc(R"(\plain\f0\cf2\fs20 red\plain\f0\fs20  black \plain\f0\cf2\fs20 again)", kArial, red));
    // Black is the table's first entry: no colour word for it.
    EXPECT_EQ(Convert("<body><font color=000000>k</body>"), Doc(R"(\plain\f0\fs20 k)"));
    // Characters before the first digit are passed over; "-" makes the value negative.
    EXPECT_EQ(Convert("<body><font color=red>x</body>"),
              Doc(R"(\plain\f0\cf2\fs20 x)", kArial, kBlack + R"(\red0\green0\blue237;)"));
    EXPECT_EQ(Convert("<body><font color=-1>x</body>"),
              Doc(R"(\plain\f0\cf2\fs20 x)", kArial, kBlack + R"(\red255\green255\blue255;)"));
    // A value that is missing does not run past the end of the tag into the text.
    EXPECT_EQ(Convert("<body><font color=>Hello</font></body>"), Doc(R"(\plain\f0\fs20 Hello)"));
}

TEST(HtmlToRtf, ColourTableHoldsAtMost255Entries) {
    std::string html = "<body>";
    for (int k = 1; k <= 254; ++k) html += "<font color=" + std::to_string(k) + ">x";
    std::string expectedBody;
    std::string colours = kBlack;
    for (int k = 1; k <= 254; ++k) {
        expectedBody += R"(\plain\f0\cf)" + std::to_string(k + 1) + R"(\fs20 x)";
        const int value = std::stoi(std::to_string(k), nullptr, 16);
        colours += R"(\red)" + std::to_string(value >> 16) + R"(\green)" + std::to_string((value >> 8) & 0xFF) +
                   R"(\blue)" + std::to_string(value & 0xFF) + ";";
    }
    // The 256th distinct colour is not added: the text keeps the previous colour.
    html += "<font color=ABCDEF>y";
    expectedBody += "y";
    // A colour already in the table is still found.
    html += "<font color=1>z";
    expectedBody += R"(\plain\f0\cf2\fs20 z)";
    EXPECT_EQ(Convert(html.c_str()), Doc(expectedBody, kArial, colours));
}

TEST(HtmlToRtf, FontFacesAndSizes) {
    EXPECT_EQ(Convert("<body>a<font face=\"Courier New\">b</font>c<FONT FACE=Times size=+1>d</font>"
                      "<font face='Courier New'>e</body>"),
              Doc(R"(\plain\f0\fs20 a\plain\f1\fs20 b\plain\f0\fs20 c\plain\f2\fs22 d\plain\f1\fs20 e)",
                  kArial + R"({\f1\fswiss Courier New;}{\f2\fswiss Times;})"));
    // Arial named in a tag is the default face.
    EXPECT_EQ(Convert("<body><font face=Arial>a</body>"), Doc(R"(\plain\f0\fs20 a)"));
    // Plain sizes count from 14, signed ones from 20, two half-points a step.
    EXPECT_EQ(Convert("<body><font size=1>a<font size=\"3\">b<font size=-1>c<font size=+4>d"
                      "<font size=6>e</font>f</body>"),
              Doc(R"(\plain\f0\fs16 a\plain\f0\fs20 b\plain\f0\fs18 c\plain\f0\fs28 d)"
                  R"(\plain\f0\fs26 e\plain\f0\fs20 f)"));
    // Sizes the control cannot show are held to the nearest it can.
    EXPECT_EQ(Convert("<body><font size=-20>a<font size=99999999999999>b</body>"),
              Doc(R"(\plain\f0\fs2 a\plain\f0\fs3276 b)"));
    // A face name cannot break the font table.
    EXPECT_EQ(Convert(R"(<body><font face="a}b{c\d;e">x</body>)"),
              Doc(R"(\plain\f1\fs20 x)", kArial + R"({\f1\fswiss a\}b\{c\\d\'3Be;})"));
    EXPECT_EQ(Convert("<body><font face=\"ＭＳ\">x</body>"),
              Doc(R"(\plain\f1\fs20 x)", kArial + R"({\f1\fswiss \u-211?\u-205?;})"));
}

TEST(HtmlToRtf, Entities) {
    EXPECT_EQ(Convert("<body>&copy; &amp; &#65; &LT;&gt;&Quot;&reg;&nbsp;&bogus; &#1234; &#; &#9;&#300;&#65</body>"),
              Doc(R"(\plain\f0\fs20 \'A9 & \'41 <>"\'AE\'A0&bogus; &#1234; &#; \'09\u300?&#65)"));
    // One pass: a decoded ampersand does not start another entity.
    EXPECT_EQ(Convert("<body>&amp;lt;</body>"), Doc(R"(\plain\f0\fs20 &lt;)"));
    EXPECT_EQ(Convert("<body>&</body>"), Doc(R"(\plain\f0\fs20 &)"));
}

TEST(HtmlToRtf, RtfSpecialCharactersAreEscaped) {
    EXPECT_EQ(Convert("<body>{a}\\b</body>"), Doc(R"(\plain\f0\fs20 \{a\}\\b)"));
    // A backslash is text: the space after it is kept.
    EXPECT_EQ(Convert("<body>a \\ b</body>"), Doc(R"(\plain\f0\fs20 a \\ b)"));
    // Characters beyond 8 bits travel as Unicode escapes, never as a low
    // byte that could be a brace or backslash.
    EXPECT_EQ(Convert("<body>€Ż\xC3\xA9</body>"), Doc("\\plain\\f0\\fs20 \\u8364?\\u379?\xC3\xA9"));
    EXPECT_EQ(Convert(u"<body>\U0001F600</body>"), Doc(R"(\plain\f0\fs20 \u-10179?\u-8704?)"));
}

TEST(HtmlToRtf, UnknownTagsAreCopiedAsProtectedText) {
    EXPECT_EQ(Convert(R"(<body>See <A HREF="http://x/?a=1&amp;b=2">here</a>.</body>)"),
              Doc(R"(\plain\f0\fs20 See \plain\f0\fs20\protect<A HREF="http://x/?a=1&b=2">here)"
                  R"(\plain\f0\fs20\protect</a>\plain\f0\fs20 .)"));
    // Formatting inside an anchor keeps it protected.
    EXPECT_EQ(Convert("<body><a href=x><b>go</b></a></body>"),
              Doc(R"(\plain\f0\fs20\protect<a href=x>\plain\f0\fs20\protect\b go)"
                  R"(\plain\f0\fs20\protect</a>\plain\f0\fs20 )"));
    // A copied tag at the end leaves a reset format before the end.
    EXPECT_EQ(Convert("<body>x<hr></body>"), Doc(R"(\plain\f0\fs20 x\plain\f0\fs20\protect<hr>\plain\f0\fs20 )",
                                                 kArial, kBlack, true));
    // Backslashes and braces in a copied tag stay text.
    EXPECT_EQ(Convert(R"(<body><img src=C:\a\par.png alt={x}>y</body>)"),
              Doc(R"(\plain\f0\fs20\protect<img src=C:\\a\\par.png alt=\{x\}>\plain\f0\fs20 y)"));
    // An unclosed tag runs to the end of the text.
    EXPECT_EQ(Convert("<body>x<span class=a"),
              Doc(R"(\plain\f0\fs20 x\plain\f0\fs20\protect<span class=a\plain\f0\fs20 )", kArial, kBlack, true));
    EXPECT_EQ(Convert("<body>x<font face=\"Courier"),
              Doc(R"(\plain\f0\fs20 x)", kArial + R"({\f1\fswiss Courier;})"));
    EXPECT_EQ(Convert("<body>x<"), Doc(R"(\plain\f0\fs20 x\plain\f0\fs20\protect<\plain\f0\fs20 )", kArial,
                                       kBlack, true));
}

// Every prefix of a document full of features converts to one well-formed
// group whose bytes are the code units themselves.
TEST(HtmlToRtf, EveryPrefixGivesAWellFormedDocument) {
    const std::u16string html = U(
        "<html><head><title>{T}</title></head><BODY>Hi \\ there, <b>bold <i>both</b></i> "
        "<font face=\"Tahoma\" color='#1e90ff' size=+2>blue {x}</font><br>&copy;&#169;&#999;&amp "
        "<a href=\"C:\\temp\\}\">link € Ż</a><p>para</p><hr>end<font color=12 size=-9 face=\"Ż;\">z"
        "</body>after");
    for (std::size_t n = 0; n <= html.size(); ++n) {
        const std::u16string rtf = ConvertHtmlToRtf(html.substr(0, n));
        ASSERT_TRUE(Balanced(rtf)) << n;
        for (char16_t c : rtf) ASSERT_LE(c, 0xFF) << n;
        // Braces of the text itself only ever appear escaped.
        EXPECT_EQ(rtf.find(u"{x}"), std::u16string::npos) << n;
    }
}

TEST(RtfByteStream, HandsOutLowBytesInChunks) {
    RtfByteStream stream(u"ab\u00E9\u0141z");
    unsigned char buffer[4] = {};
    EXPECT_EQ(stream.Read(buffer, 0), 0u);
    EXPECT_EQ(stream.Read(buffer, 2), 2u);
    EXPECT_EQ(buffer[0], 'a');
    EXPECT_EQ(buffer[1], 'b');
    EXPECT_FALSE(stream.AtEnd());
    EXPECT_EQ(stream.Read(buffer, 4), 3u);
    EXPECT_EQ(buffer[0], 0xE9);
    EXPECT_EQ(buffer[1], 0x41);  // the low byte of U+0141
    EXPECT_EQ(buffer[2], 'z');
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_EQ(stream.Read(buffer, 4), 0u);
}

TEST(RtfByteStream, ConvertedDocumentStreamsWhole) {
    RtfByteStream stream(ConvertHtmlToRtf(U("<body>Größe € {x}</body>")));
    std::string bytes;
    unsigned char buffer[7];
    while (std::size_t n = stream.Read(buffer, sizeof buffer)) bytes.append(buffer, buffer + n);
    EXPECT_EQ(bytes, Doc("\\plain\\f0\\fs20 Gr\xF6\xDF" "e \\u8364? \\{x\\}"));
}

}  // namespace
}  // namespace QvLibrary
