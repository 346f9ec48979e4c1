// HTML subset to RTF. Two passes: the first reads tags and text and writes
// the text with its RTF format words; the second replaces entities and
// escapes braces and characters beyond 8 bits. The document header (font and
// colour tables) is written last, when the faces and colours are known.
#include "framework/portable/html2rtf.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <vector>

namespace QvLibrary {
namespace {

constexpr std::size_t kMaxColours = 255;  // table entries, black included
constexpr int kDefaultSize = 20;          // half-points
constexpr int kMinSize = 2;               // 1 pt
constexpr int kMaxSize = 3276;            // 1638 pt, the rich edit limit

char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// True when `text` holds `word` at `at`, ignoring the case of ASCII letters.
bool MatchAt(std::u16string_view text, std::size_t at, std::string_view word) {
    if (at > text.size() || text.size() - at < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k) {
        if (AsciiLower(text[at + k]) != static_cast<char16_t>(word[k])) return false;
    }
    return true;
}

void Append(std::u16string& out, std::string_view ascii) { out.append(ascii.begin(), ascii.end()); }

void AppendNumber(std::u16string& out, long long value) { Append(out, std::to_string(value)); }

bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// A code unit the 8-bit stream cannot carry, as an RTF Unicode escape (the
// number is the signed 16-bit value, "?" the fallback for older readers).
void AppendUnicodeEscape(std::u16string& out, char16_t unit) {
    Append(out, "\\u");
    AppendNumber(out, static_cast<std::int16_t>(unit));
    out += u'?';
}

void AppendHexByte(std::u16string& out, unsigned value) {
    static const char kHex[] = "0123456789ABCDEF";
    Append(out, "\\'");
    out += static_cast<char16_t>(kHex[(value >> 4) & 0xF]);
    out += static_cast<char16_t>(kHex[value & 0xF]);
}

class Converter {
public:
    explicit Converter(std::u16string_view html) : html_(html) {
        // Font 0 is the document's default face; faces met in font tags follow.
        fonts_.push_back(u"Arial");
        fontIndex_.emplace(u"Arial", 0);
    }

    std::u16string Run() {
        std::size_t i = 0;
        while (i < html_.size()) i = Step(i);
        return Document(Entities(text_));
    }

private:
    // One token of pass 1 at `i`; returns the position after it.
    std::size_t Step(std::size_t i) {
        const char16_t c = html_[i];
        if (c == u'\n' || c == u'\r' || c == u' ') {
            if (inBody_ && !afterSpace_ && !atLineStart_) {
                WriteFormatIfChanged();
                text_ += u' ';
                afterSpace_ = true;
            }
            return i + 1;
        }
        atLineStart_ = false;
        if (c == u'<') return Tag(i);
        if (!inBody_) return i + 1;
        WriteFormatIfChanged();
        if (c == u'\\') {
            Append(text_, "\\\\");
        } else {
            text_ += c;
            tagPending_ = false;
        }
        afterSpace_ = false;
        return i + 1;
    }

    std::size_t Tag(std::size_t i) {
        if (MatchAt(html_, i, "<body>")) {
            inBody_ = true;
            return i + 6;
        }
        if (MatchAt(html_, i, "</body>")) {
            inBody_ = false;
            return i + 7;
        }
        for (int k = 0; k < 3; ++k) {
            static const std::string_view kOpen[] = {"<b>", "<i>", "<u>"};
            static const std::string_view kClose[] = {"</b>", "</i>", "</u>"};
            bool* attribute[] = {&bold_, &italic_, &underline_};
            if (MatchAt(html_, i, kOpen[k])) {
                if (inBody_ && !*attribute[k]) *attribute[k] = changed_ = true;
                return i + 3;
            }
            if (MatchAt(html_, i, kClose[k])) {
                if (inBody_ && *attribute[k]) {
                    *attribute[k] = false;
                    changed_ = true;
                }
                return i + 4;
            }
        }
        if (MatchAt(html_, i, "<br>")) {
            if (inBody_) {
                Append(text_, "\\\n");
                atLineStart_ = true;
            }
            return i + 4;
        }
        if (MatchAt(html_, i, "<p>")) {
            if (inBody_) {
                Append(text_, "\\\n\\\n");
                atLineStart_ = true;
                WriteFormat();
                tagPending_ = false;
            }
            return i + 3;
        }
        if (MatchAt(html_, i, "</p>")) {
            if (inBody_) {
                ResetFont();
                bold_ = italic_ = underline_ = false;
                changed_ = true;
            }
            return i + 4;
        }
        if (MatchAt(html_, i, "</a>")) {
            if (inBody_) {
                protect_ = false;
                Append(text_, "\\plain\\f0\\fs20\\protect");
                Append(text_, "</a>");
                WriteFormat();
                tagPending_ = false;
            }
            return i + 4;
        }
        if (MatchAt(html_, i, "</font>")) {
            if (inBody_) ResetFont();
            return i + 7;
        }
        if (MatchAt(html_, i, "<font")) {
            // Outside the body the tag is passed over like text.
            return inBody_ ? FontAttributes(i + 5) : i + 5;
        }
        return UnknownTag(i);
    }

    // A tag the converter does not know: copied into the text as protected
    // text. Backslashes in it are escaped so the tag cannot inject RTF words.
    std::size_t UnknownTag(std::size_t i) {
        const std::size_t close = html_.find(u'>', i);
        const std::size_t end = close == std::u16string_view::npos ? html_.size() : close + 1;
        if (!inBody_) return end;
        Append(text_, "\\plain\\f0\\fs20\\protect");
        for (std::size_t k = i; k < end; ++k) {
            if (html_[k] == u'\\') text_ += u'\\';
            text_ += html_[k];
        }
        tagPending_ = true;
        if (MatchAt(html_, i, "<a")) {
            protect_ = true;
        } else {
            WriteFormat();
        }
        return end;
    }

    // Reads the attributes of a font tag from `p` up to its ">"; returns the
    // position after the ">".
    std::size_t FontAttributes(std::size_t p) {
        while (p < html_.size() && html_[p] != u'>') {
            if (MatchAt(html_, p, "face=")) {
                p = Face(p + 5);
            } else if (MatchAt(html_, p, "color=")) {
                p = Colour(p + 6);
            } else if (MatchAt(html_, p, "size=")) {
                p = Size(p + 5);
            } else {
                ++p;
            }
        }
        return p < html_.size() ? p + 1 : p;
    }

    std::size_t Face(std::size_t p) {
        char16_t quote = 0;
        if (p < html_.size() && IsQuote(html_[p])) quote = html_[p++];
        const std::size_t start = p;
        while (p < html_.size() && html_[p] != u'>') {
            const char16_t c = html_[p];
            if (quote ? c == quote : (IsQuote(c) || c == u' ')) break;
            ++p;
        }
        std::u16string name(html_.substr(start, p - start));
        if (quote && p < html_.size() && html_[p] == quote) ++p;
        auto [it, added] = fontIndex_.emplace(name, static_cast<int>(fonts_.size()));
        if (added) fonts_.push_back(std::move(name));
        SetCurrent(font_, it->second);
        return p;
    }

    std::size_t Colour(std::size_t p) {
        if (p < html_.size() && IsQuote(html_[p])) ++p;
        if (p < html_.size() && html_[p] == u'#') ++p;
        // Characters before the first digit are passed over, but never the
        // end of the tag: the text after it is not part of the value.
        bool negative = false;
        while (p < html_.size() && html_[p] != u'>' && HexDigit(html_[p]) < 0) {
            if (html_[p] == u'-') negative = true;
            ++p;
        }
        std::uint32_t value = 0;
        while (p < html_.size() && HexDigit(html_[p]) >= 0) {
            value = value * 16u + static_cast<std::uint32_t>(HexDigit(html_[p]));
            ++p;
        }
        if (negative) value = 0u - value;
        const auto found = std::find(colours_.begin(), colours_.end(), value);
        if (found != colours_.end()) {
            SetCurrent(colour_, static_cast<int>(found - colours_.begin()));
        } else if (colours_.size() < kMaxColours) {
            colours_.push_back(value);
            SetCurrent(colour_, static_cast<int>(colours_.size() - 1));
        }
        return p;
    }

    std::size_t Size(std::size_t p) {
        if (p < html_.size() && IsQuote(html_[p])) ++p;
        char16_t sign = 0;
        if (p < html_.size() && (html_[p] == u'+' || html_[p] == u'-')) sign = html_[p++];
        long long n = 0;
        while (p < html_.size() && html_[p] >= u'0' && html_[p] <= u'9') {
            n = std::min(n * 10 + (html_[p] - u'0'), 100000LL);
            ++p;
        }
        long long size = sign == u'+' ? 20 + 2 * n : sign == u'-' ? 20 - 2 * n : 14 + 2 * n;
        // A size the control cannot show (zero, negative, enormous) is held
        // to the nearest one it can.
        size = std::clamp<long long>(size, kMinSize, kMaxSize);
        SetCurrent(size_, static_cast<int>(size));
        return p;
    }

    void SetCurrent(int& field, int value) {
        if (field != value) {
            field = value;
            changed_ = true;
        }
    }

    void ResetFont() {
        SetCurrent(size_, kDefaultSize);
        SetCurrent(colour_, 0);
        SetCurrent(font_, 0);
    }

    void WriteFormatIfChanged() {
        if (changed_) WriteFormat();
    }

    void WriteFormat() {
        Append(text_, "\\plain\\f");
        AppendNumber(text_, font_);
        if (colour_ != 0) {
            Append(text_, "\\cf");
            AppendNumber(text_, colour_ + 1);
        }
        Append(text_, "\\fs");
        AppendNumber(text_, size_);
        if (protect_) Append(text_, "\\protect");
        if (bold_) Append(text_, "\\b");
        if (italic_) Append(text_, "\\i");
        if (underline_) Append(text_, "\\ul");
        text_ += u' ';
        changed_ = false;
    }

    // Pass 2: entities, braces and characters beyond 8 bits.
    static std::u16string Entities(const std::u16string& in) {
        struct Named {
            std::string_view name;
            std::string_view rtf;
        };
        static const Named kNamed[] = {
            {"amp;", "&"},         {"lt;", "<"},          {"gt;", ">"},          {"quot;", "\""},
            {"nbsp;", "\\'A0"},    {"copy;", "\\'A9"},    {"reg;", "\\'AE"},
        };
        std::u16string out;
        out.reserve(in.size() + in.size() / 8);
        std::size_t i = 0;
        while (i < in.size()) {
            const char16_t c = in[i];
            if (c == u'&') {
                bool done = false;
                for (const Named& e : kNamed) {
                    if (MatchAt(in, i + 1, e.name)) {
                        Append(out, e.rtf);
                        i += 1 + e.name.size();
                        done = true;
                        break;
                    }
                }
                if (done) continue;
                if (i + 1 < in.size() && in[i + 1] == u'#') {
                    std::size_t p = i + 2;
                    unsigned value = 0;
                    while (p < in.size() && p < i + 5 && in[p] >= u'0' && in[p] <= u'9') {
                        value = value * 10 + (in[p] - u'0');
                        ++p;
                    }
                    if (p > i + 2 && p < in.size() && in[p] == u';') {
                        if (value <= 0xFF) {
                            AppendHexByte(out, value);
                        } else {
                            AppendUnicodeEscape(out, static_cast<char16_t>(value));
                        }
                        i = p + 1;
                        continue;
                    }
                }
                out += u'&';
            } else if (c == u'{' || c == u'}') {
                out += u'\\';
                out += c;
            } else if (c > 0xFF) {
                AppendUnicodeEscape(out, c);
            } else {
                out += c;
            }
            ++i;
        }
        return out;
    }

    // A face name inside the font table: RTF's special characters and the
    // table's ";" are escaped so a name cannot break the table.
    static void AppendFaceName(std::u16string& out, const std::u16string& name) {
        for (char16_t c : name) {
            if (c == u'\\' || c == u'{' || c == u'}') {
                out += u'\\';
                out += c;
            } else if (c == u';') {
                AppendHexByte(out, c);
            } else if (c > 0xFF) {
                AppendUnicodeEscape(out, c);
            } else {
                out += c;
            }
        }
    }

    std::u16string Document(const std::u16string& body) const {
        std::u16string out;
        out.reserve(body.size() + 256);
        Append(out, "{\\rtf1\\ansi\\deff0\\deftab720");
        Append(out, "{\\fonttbl");
        for (std::size_t k = 0; k < fonts_.size(); ++k) {
            Append(out, "{\\f");
            AppendNumber(out, static_cast<long long>(k));
            Append(out, "\\fswiss ");
            AppendFaceName(out, fonts_[k]);
            Append(out, ";}");
        }
        Append(out, "}");
        Append(out, "{\\colortbl ;");
        for (std::uint32_t value : colours_) {
            Append(out, "\\red");
            AppendNumber(out, (value >> 16) & 0xFF);
            Append(out, "\\green");
            AppendNumber(out, (value >> 8) & 0xFF);
            Append(out, "\\blue");
            AppendNumber(out, value & 0xFF);
            Append(out, ";");
        }
        Append(out, "}");
        Append(out, "\\deflang1033\\pard\\plain\\f0\\fs20 ");
        out += body;
        if (tagPending_) Append(out, "\\plain\\f0\\fs20  ");
        Append(out, "\\par }");
        return out;
    }

    std::u16string_view html_;
    std::u16string text_;  // pass 1 output

    std::vector<std::u16string> fonts_;
    std::unordered_map<std::u16string, int> fontIndex_;
    std::vector<std::uint32_t> colours_{0};

    bool protect_ = false, bold_ = false, italic_ = false, underline_ = false;
    int size_ = kDefaultSize, colour_ = 0, font_ = 0;
    bool changed_ = true;
    bool inBody_ = false;
    bool afterSpace_ = false;
    bool atLineStart_ = true;
    bool tagPending_ = false;
};

}  // namespace

std::u16string ConvertHtmlToRtf(std::u16string_view html) { return Converter(html).Run(); }

std::size_t RtfByteStream::Read(unsigned char* out, std::size_t capacity) {
    const std::size_t count = std::min(capacity, rtf_.size() - std::min(position_, rtf_.size()));
    for (std::size_t k = 0; k < count; ++k) out[k] = static_cast<unsigned char>(rtf_[position_ + k] & 0xFF);
    position_ += count;
    return count;
}

}  // namespace QvLibrary
