// The markup writer and reader: output forms, escaping, in-place scanning,
// value decoding, 8-bit documents and malformed input.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "catalog/markup.h"
#include "platform/utf.h"
#include "support/text.h"

namespace kodrin {
namespace {

using test::U;

MarkupReader ReaderOf(std::u16string text) {
    MarkupReader r;
    r.SetText(std::move(text));
    return r;
}

// Reads the document and returns "NAME=value" for every leaf, "+NAME" for a
// container start and "-NAME" for a closing tag, as a caller would see them.
std::vector<std::u16string> Walk(std::u16string doc, std::initializer_list<std::u16string_view> containers) {
    MarkupReader r = ReaderOf(std::move(doc));
    std::vector<std::u16string> seen;
    while (auto tag = r.NextTag()) {
        const std::u16string name(*tag);
        bool container = false;
        for (auto c : containers) container = container || SameName(c, name);
        if (r.IsClosing()) {
            seen.push_back(u"-" + name);
        } else if (container) {
            seen.push_back(u"+" + name);
        } else if (auto text = r.ElementText(name)) {
            seen.push_back(name + u"=" + Unescape(*text));
        } else {
            seen.push_back(name + u"?");
        }
    }
    return seen;
}

TEST(MarkupWriter, LeafFormsAndLineEnds) {
    MarkupWriter w;
    w.Open(u"KODRIN");
    w.Text(u"COMMENTS", u"a<b & c>d");
    w.Text(u"EMPTY", u"");
    w.Bool(u"AUTOLOGIN", true);
    w.Bool(u"HIDE", false);
    w.Int(u"DISKCOUNT", -42);
    w.Int(u"SORTORDER", 0);
    w.Unsigned(u"COLOR", -1);
    w.Unsigned(u"ZERO", 0);
    w.Real(u"PRICE", 49.95);
    w.Real(u"NONE", 0);
    w.ByteList(u"COLS", {3, 20, 255});
    w.IntList(u"WIDTHS", {-1, 0, 100});
    w.IntList(u"NOLIST", {});
    w.Close();
    w.Close();  // nothing open: no output
    EXPECT_EQ(w.Result(),
              u"<KODRIN>\r\n"
              u"<COMMENTS>a&lt;b &amp; c&gt;d</COMMENTS>\r\n"
              u"<EMPTY/>\r\n"
              u"<AUTOLOGIN>1</AUTOLOGIN>\r\n"
              u"<HIDE/>\r\n"
              u"<DISKCOUNT>-42</DISKCOUNT>\r\n"
              u"<SORTORDER/>\r\n"
              u"<COLOR>4294967295</COLOR>\r\n"
              u"<ZERO/>\r\n"
              u"<PRICE>49.95</PRICE>\r\n"
              u"<NONE/>\r\n"
              u"<COLS>3,20,255</COLS>\r\n"
              u"<WIDTHS>-1,0,100</WIDTHS>\r\n"
              u"<NOLIST/>\r\n"
              u"</KODRIN>\r\n");
}

TEST(MarkupWriter, IntExtremes) {
    MarkupWriter w;
    w.Int(u"A", INT32_MIN);
    w.Int(u"B", INT32_MAX);
    EXPECT_EQ(w.Result(), u"<A>-2147483648</A>\r\n<B>2147483647</B>\r\n");
}

TEST(MarkupRoundTrip, TextsComeBackUnchanged) {
    const std::u16string values[] = {
        u"plain", u"<tag> & \"quotes\" 'single'", u"line one\r\nline two", u"tab\there",
        U("Ünïcödé €uro 日本語 😀"), u"&amp; literally", u";;&&<<>>", u" leading and trailing "};
    for (const auto& v : values) {
        MarkupWriter w;
        w.Open(u"R");
        w.Text(u"COMMENTS", v);
        w.Close();
        MarkupReader r = ReaderOf(w.Result());
        ASSERT_EQ(r.NextTag().value(), u"R");
        ASSERT_EQ(r.NextTag().value(), u"COMMENTS");
        auto text = r.ElementText(u"COMMENTS");
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(Unescape(*text), v);
        ASSERT_EQ(r.NextTag().value(), u"R");
        EXPECT_TRUE(r.IsClosing());
        EXPECT_FALSE(r.NextTag().has_value());
    }
}

TEST(MarkupRoundTrip, PricesKeepTheirCents) {
    struct Case { double value; const char16_t* text; };
    const Case cases[] = {{49.95, u"49.95"}, {1234.567, u"1234.57"}, {5, u"5"}, {12345.67, u"12345.67"},
                          {999999.99, u"999999.99"}, {1234567, u"1234567"}, {-19.5, u"-19.5"}, {0.1, u"0.1"}};
    for (const Case& c : cases) {
        MarkupWriter w;
        w.Real(u"P", c.value);
        EXPECT_EQ(w.Result(), u"<P>" + std::u16string(c.text) + u"</P>\r\n");
        MarkupReader r = ReaderOf(w.Result());
        r.NextTag();
        EXPECT_DOUBLE_EQ(ReadReal(r.ElementText(u"P").value()), std::stod(platform::ToUtf8(c.text)));
    }
    // Amounts beyond the fixed range use the general notation with three
    // exponent digits, which reads back through its exponent.
    MarkupWriter w;
    w.Real(u"P", 2.5e20);
    EXPECT_EQ(w.Result(), u"<P>2.5e+020</P>\r\n");
    EXPECT_DOUBLE_EQ(ReadReal(u"1.23457e+006"), 1234570.0);
    EXPECT_DOUBLE_EQ(ReadReal(u"2.5e+020"), 2.5e20);
    // A tiny amount that rounds to no cents keeps a value rather than 0.
    MarkupWriter tiny;
    tiny.Real(u"P", 0.001);
    EXPECT_EQ(tiny.Result(), u"<P>0.001</P>\r\n");
}

TEST(MarkupReader, TagsAreTerminatedInPlace) {
    MarkupReader r = ReaderOf(u"<A>x</A><B/>");
    auto a = r.NextTag();
    ASSERT_TRUE(a);
    // The view ends where the buffer now holds a terminating zero.
    EXPECT_EQ(a->data()[a->size()], u'\0');
    auto text = r.ElementText(u"A");
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, u"x");
    EXPECT_EQ(text->data()[text->size()], u'\0');
    EXPECT_EQ(r.NextTag().value(), u"B");
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_FALSE(r.IsClosing());
}

TEST(MarkupReader, ElementTextRules) {
    EXPECT_EQ(Walk(u"<X><AUTOLOGIN/><AUTOLOGIN>1</AUTOLOGIN><Comments>x</COMMENTS></X>", {u"X"}),
              (std::vector<std::u16string>{u"+X", u"AUTOLOGIN=", u"AUTOLOGIN=1", u"Comments=x", u"-X"}));
    // An element without text gives no value, like a missing one.
    EXPECT_EQ(Walk(u"<A></A>", {}), (std::vector<std::u16string>{u"A?"}));
    // A mismatched closing name gives no value.
    EXPECT_EQ(Walk(u"<A>1</B><C>2</C>", {}), (std::vector<std::u16string>{u"A?", u"C=2"}));
    // An opening tag after the text: no value, and that tag is consumed.
    EXPECT_EQ(Walk(u"<A>text<B>2</B><C>3</C>", {}), (std::vector<std::u16string>{u"A?", u"-B", u"C=3"}));
    // A second "/" in the closing tag gives no value.
    EXPECT_EQ(Walk(u"<A>1<//A><C>3</C>", {}), (std::vector<std::u16string>{u"A?", u"C=3"}));
    // Attributes, declarations and comments are skipped (the comment after
    // the declaration is consumed as the tag that follows its empty text).
    EXPECT_EQ(Walk(u"<?xml version=\"1.0\"?><!-- note --><A x=\"1\">v</A>", {}),
              (std::vector<std::u16string>{u"?xml?", u"A=v"}));
    EXPECT_EQ(Walk(u"<A x=\"1\">v</A>", {}), (std::vector<std::u16string>{u"A=v"}));
}

TEST(MarkupReader, BoolsReadOnlyTheNumberOne) {
    EXPECT_FALSE(ReadBool(u""));
    EXPECT_TRUE(ReadBool(u"1"));
    EXPECT_FALSE(ReadBool(u"yes"));
    EXPECT_FALSE(ReadBool(u"2"));
    EXPECT_TRUE(ReadBool(u" 01 "));
}

TEST(MarkupReader, Numbers) {
    EXPECT_EQ(ReadInt(u"42"), 42);
    EXPECT_EQ(ReadInt(u"abc-12xyz"), -12);
    EXPECT_EQ(ReadInt(u"4294967295"), -1);
    EXPECT_EQ(ReadInt(u"word"), 0);
    EXPECT_EQ(ReadInt(u"12ab34"), 12);
    EXPECT_EQ(ReadInt(u"99999999999"), static_cast<std::int32_t>(99999999999ULL & 0xFFFFFFFFu));
    EXPECT_DOUBLE_EQ(ReadReal(u"49.95"), 49.95);
    EXPECT_DOUBLE_EQ(ReadReal(u"$-1.5"), -1.5);
    EXPECT_DOUBLE_EQ(ReadReal(u".25"), 0.25);
    EXPECT_DOUBLE_EQ(ReadReal(u"1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(ReadReal(u"none"), 0.0);
    EXPECT_DOUBLE_EQ(ReadReal(u"3e"), 3.0);
    EXPECT_EQ(ReadIntList(u"10,word,-5", 100), (std::vector<std::int32_t>{10, 0, -5}));
    EXPECT_EQ(ReadIntList(u"5000,-1", 1920), (std::vector<std::int32_t>{1920, -1}));
    EXPECT_EQ(ReadByteList(u"3,60,300,-1", 49), (std::vector<std::uint8_t>{3, 49, 44, 49}));
    EXPECT_EQ(ReadByteList(u"0,255", 255), (std::vector<std::uint8_t>{0, 255}));
    EXPECT_TRUE(ReadByteList(u"", 255).empty());
    MarkupWriter w;
    w.Unsigned(u"U", -1);
    MarkupReader r = ReaderOf(w.Result());
    r.NextTag();
    EXPECT_EQ(ReadInt(r.ElementText(u"U").value()), -1);
}

TEST(MarkupReader, Unescape) {
    EXPECT_EQ(Unescape(u"a &lt;b&gt; &amp; c"), u"a <b> & c");
    EXPECT_EQ(Unescape(u"&AMP;&Lt;"), u"&<");
    EXPECT_EQ(Unescape(u"x&T;y"), u"xy");           // unknown entity disappears
    EXPECT_EQ(Unescape(u"&a;&l;&g;&;"), u"&<>&");   // shortened forms
    EXPECT_EQ(Unescape(u"a;b"), u"a;b");            // ";" outside an entity
    EXPECT_EQ(Unescape(u"keep & drop"), u"keep ");  // "&" without ";" drops the rest
    EXPECT_EQ(Unescape(u"&amps;x"), u"x");          // longer than any entity
    EXPECT_EQ(Unescape(u""), u"");
}

TEST(MarkupReader, FindRootInUtf16AndEightBitDocuments) {
    MarkupReader r = ReaderOf(u"<KODRIN>\r\n<A>1</A>\r\n</KODRIN>\r\n");
    EXPECT_TRUE(r.FindRoot(u"KODRIN"));
    EXPECT_FALSE(r.FindRoot(u"OTHER"));

    // An 8-bit file whose root starts at byte 0; a closing tag at an odd offset.
    for (const std::string& doc : {std::string("<KODRIN><COMMENTS>caf\xE9</COMMENTS></KODRIN>"),
                                  std::string("<KODRIN><A>1</A>x</KODRIN>\r\n")}) {
        MarkupReader b;
        b.SetBytes(reinterpret_cast<const std::uint8_t*>(doc.data()), doc.size());
        ASSERT_TRUE(b.FindRoot(u"KODRIN")) << doc;
        ASSERT_EQ(b.Buffer().size(), doc.size());
        for (std::size_t i = 0; i < doc.size(); ++i) ASSERT_EQ(b.Buffer()[i], static_cast<unsigned char>(doc[i]));
    }
    MarkupReader latin;
    const std::string doc = "<KODRIN><COMMENTS>caf\xE9</COMMENTS></KODRIN>";
    latin.SetBytes(reinterpret_cast<const std::uint8_t*>(doc.data()), doc.size());
    ASSERT_TRUE(latin.FindRoot(u"KODRIN"));
    latin.NextTag();
    latin.NextTag();
    EXPECT_EQ(latin.ElementText(u"COMMENTS").value(), U("café"));

    // An 8-bit file of odd length keeps its last character.
    const std::string odd = "<KODRIN><A>1</A></KODRIN>";
    ASSERT_EQ(odd.size() % 2, 1u);
    MarkupReader o;
    o.SetBytes(reinterpret_cast<const std::uint8_t*>(odd.data()), odd.size());
    ASSERT_TRUE(o.FindRoot(u"KODRIN"));
    EXPECT_EQ(o.Buffer().back(), u'>');

    // Neither encoding holds the root.
    const std::string junk = "just some text";
    MarkupReader j;
    j.SetBytes(reinterpret_cast<const std::uint8_t*>(junk.data()), junk.size());
    EXPECT_FALSE(j.FindRoot(u"KODRIN"));
    // Opening tag without a closing one.
    EXPECT_FALSE(ReaderOf(u"<KODRIN><A>1</A>").FindRoot(u"KODRIN"));
}

TEST(MarkupReader, MalformedInputEndsTheDocument) {
    const std::u16string docs[] = {u"<", u"<A", u"<A>text", u"<A>text</A", u"</", u"<<<>>>", u">>", u"<A/><",
                                   std::u16string(3, u'\0'), u"<A>\0</A>"};
    for (const auto& d : docs) {
        MarkupReader r = ReaderOf(d);
        int guard = 0;
        while (auto tag = r.NextTag()) {
            r.ElementText(*tag);
            ASSERT_LT(++guard, 100);
            ASSERT_LE(r.Progress(), 100);
        }
        EXPECT_LE(r.Progress(), 100);
    }
    MarkupReader e;
    EXPECT_EQ(e.Progress(), 0);
    EXPECT_FALSE(e.NextTag().has_value());
    EXPECT_FALSE(e.FindRoot(u"KODRIN"));
}

TEST(MarkupReader, ProgressFollowsThePosition) {
    MarkupReader r = ReaderOf(u"<A>1</A><B>2</B>");
    r.NextTag();
    r.ElementText(u"A");
    EXPECT_EQ(r.Progress(), 50);
    r.NextTag();
    r.ElementText(u"B");
    EXPECT_EQ(r.Progress(), 100);
}

TEST(MarkupReader, LoadFileReadsBytesAsUtf16) {
    const std::string path = testing::TempDir() + "markup_load_test.xml";
    {
        std::ofstream f(path, std::ios::binary);
        const char bytes[] = {'<', 0, 'A', 0, '>', 0, 'x', 0, '<', 0, '/', 0, 'A', 0, '>', 0, 'Z'};
        f.write(bytes, sizeof bytes);
    }
    MarkupReader r;
    ASSERT_TRUE(r.LoadFile(platform::FromUtf8(path)));
    EXPECT_EQ(r.Buffer(), u"<A>x</A>");  // the odd byte is not part of the UTF-16 text
    EXPECT_TRUE(r.FindRoot(u"A"));
    std::remove(path.c_str());
    EXPECT_FALSE(r.LoadFile(platform::FromUtf8(path)));
}

}  // namespace
}  // namespace kodrin
