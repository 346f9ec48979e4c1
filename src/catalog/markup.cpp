#include "catalog/markup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "platform/text.h"

namespace kodrin {

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

inline bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == kCr || c == kLf; }
inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
inline bool IsAsciiLetterOrDigit(char16_t c) {
    return IsDigit(c) || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
inline char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// Appends the decimal digits of v.
void AppendUnsigned(std::u16string& out, std::uint64_t v) {
    char16_t digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n > 0) out.push_back(digits[--n]);
}

void AppendSigned(std::u16string& out, std::int64_t v) {
    if (v < 0) {
        out.push_back(u'-');
        AppendUnsigned(out, static_cast<std::uint64_t>(-(v + 1)) + 1);
    } else {
        AppendUnsigned(out, static_cast<std::uint64_t>(v));
    }
}

void AppendAscii(std::u16string& out, const char* s) {
    while (*s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*s++)));
}

// The general notation with 6 significant digits and at least three exponent
// digits, identical in every build.
std::string GeneralNotation(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6g", value);
    std::string s = buf;
    const std::size_t e = s.find('e');
    if (e != std::string::npos && e + 2 < s.size()) {
        // Pad the exponent (after "e" and its sign) to three digits.
        const std::size_t digits = s.size() - (e + 2);
        if (digits < 3) s.insert(e + 2, 3 - digits, '0');
    }
    return s;
}

// Amounts of money keep their cents: fixed notation rounded to two decimals,
// without trailing zeros. General notation with six significant digits would
// turn 12345.67 into 12345.7 and 1234567 into an exponent form, losing the
// amount the user entered.
std::string RealText(double value) {
    if (std::isfinite(value) && std::fabs(value) < 1e15) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.2f", value);
        std::string s = buf;
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
        if (s != "0" && s != "-0") return s;
    }
    return GeneralNotation(value);
}

}  // namespace

// ---------------------------------------------------------------------------
// MarkupWriter

void MarkupWriter::StartLeaf(std::u16string_view name) {
    text_.push_back(u'<');
    text_.append(name);
    text_.push_back(u'>');
}

void MarkupWriter::EndLeaf(std::u16string_view name) {
    text_.append(u"</");
    text_.append(name);
    text_.append(u">\r\n");
}

void MarkupWriter::Open(std::u16string_view name) {
    StartLeaf(name);
    text_.append(u"\r\n");
    open_.emplace_back(name);
}

void MarkupWriter::Close() {
    if (open_.empty()) return;
    EndLeaf(open_.back());
    open_.pop_back();
}

void MarkupWriter::Empty(std::u16string_view name) {
    text_.push_back(u'<');
    text_.append(name);
    text_.append(u"/>\r\n");
}

void MarkupWriter::Text(std::u16string_view name, std::u16string_view text) {
    if (text.empty()) {
        Empty(name);
        return;
    }
    StartLeaf(name);
    const char16_t* p = text.data();
    const char16_t* const end = p + text.size();
    while (p < end) {
        const char16_t* run = p;
        while (p < end && *p != u'&' && *p != u'<' && *p != u'>') ++p;
        text_.append(run, static_cast<std::size_t>(p - run));
        if (p == end) break;
        switch (*p) {
            case u'&': text_.append(u"&amp;"); break;
            case u'<': text_.append(u"&lt;"); break;
            default: text_.append(u"&gt;"); break;
        }
        ++p;
    }
    EndLeaf(name);
}

void MarkupWriter::Bool(std::u16string_view name, bool value) {
    if (!value) {
        Empty(name);
        return;
    }
    StartLeaf(name);
    text_.push_back(u'1');
    EndLeaf(name);
}

void MarkupWriter::Int(std::u16string_view name, std::int32_t value) {
    if (value == 0) {
        Empty(name);
        return;
    }
    StartLeaf(name);
    AppendSigned(text_, value);
    EndLeaf(name);
}

void MarkupWriter::Unsigned(std::u16string_view name, std::int64_t value) {
    const std::uint32_t u = static_cast<std::uint32_t>(value);
    if (u == 0) {
        Empty(name);
        return;
    }
    StartLeaf(name);
    AppendUnsigned(text_, u);
    EndLeaf(name);
}

void MarkupWriter::Real(std::u16string_view name, double value) {
    if (value == 0) {
        Empty(name);
        return;
    }
    StartLeaf(name);
    AppendAscii(text_, RealText(value).c_str());
    EndLeaf(name);
}

void MarkupWriter::ByteList(std::u16string_view name, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {
        Empty(name);
        return;
    }
    StartLeaf(name);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) text_.push_back(u',');
        AppendUnsigned(text_, bytes[i]);
    }
    EndLeaf(name);
}

void MarkupWriter::IntList(std::u16string_view name, const std::vector<std::int32_t>& ints) {
    if (ints.empty()) {
        Empty(name);
        return;
    }
    StartLeaf(name);
    for (std::size_t i = 0; i < ints.size(); ++i) {
        if (i) text_.push_back(u',');
        AppendSigned(text_, ints[i]);
    }
    EndLeaf(name);
}

// ---------------------------------------------------------------------------
// MarkupReader

bool MarkupReader::LoadFile(std::u16string_view path) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(path, bytes)) return false;
    SetBytes(bytes.data(), bytes.size());
    return true;
}

void MarkupReader::SetText(std::u16string text) {
    buffer_ = std::move(text);
    hasOddByte_ = false;
    Rewind();
}

void MarkupReader::SetBytes(const std::uint8_t* bytes, std::size_t size) {
    const std::size_t units = size / 2;
    buffer_.resize(units);
    for (std::size_t i = 0; i < units; ++i) {
        buffer_[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    // A trailing odd byte cannot be part of a UTF-16 document, but it is the
    // last character of an 8-bit one: keep it for FindRoot's conversion.
    hasOddByte_ = (size % 2) != 0;
    oddByte_ = hasOddByte_ ? bytes[size - 1] : 0;
    Rewind();
}

namespace {

// Finds `pattern` (bytes) in the buffer read as bytes, at an even byte offset
// at or after unit index `from`. Returns the unit index or npos.
std::size_t FindPackedAtEven(const std::u16string& buffer, std::u16string_view packedPattern,
                             std::size_t patternBytes, std::size_t from) {
    // The pattern's bytes packed two to a unit; an odd last byte matches the
    // low byte of a unit only.
    const std::size_t fullUnits = patternBytes / 2;
    const bool half = (patternBytes % 2) != 0;
    const std::size_t need = fullUnits + (half ? 1 : 0);
    if (buffer.size() < need) return std::u16string::npos;
    for (std::size_t i = from; i + need <= buffer.size(); ++i) {
        if (buffer[i] != packedPattern[0]) continue;
        bool ok = true;
        for (std::size_t k = 1; k < fullUnits; ++k) {
            if (buffer[i + k] != packedPattern[k]) { ok = false; break; }
        }
        if (ok && half && (buffer[i + fullUnits] & 0xFF) != packedPattern[fullUnits]) ok = false;
        if (ok) return i;
    }
    return std::u16string::npos;
}

std::u16string Pack(std::string_view bytes) {
    std::u16string packed;
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const unsigned lo = static_cast<unsigned char>(bytes[i]);
        const unsigned hi = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0u;
        packed.push_back(static_cast<char16_t>(lo | (hi << 8)));
    }
    return packed;
}

}  // namespace

bool MarkupReader::FindRoot(std::u16string_view name) {
    std::u16string open = u"<";
    open.append(name);
    const std::size_t at = buffer_.find(open);
    if (at != std::u16string::npos) {
        std::u16string close = u"</";
        close.append(name);
        // A small element closes soon after it opens; the root element
        // closes at the end of the document: look near, then from the back.
        constexpr std::size_t kNear = 4096;
        const std::u16string_view near = std::u16string_view(buffer_).substr(at, kNear + close.size());
        if (near.find(close) != std::u16string_view::npos) return true;
        const std::size_t end = buffer_.rfind(close);
        return end != std::u16string::npos && end >= at;
    }

    // Not UTF-16: try the document as 8-bit text. Element names are ASCII.
    std::string openBytes = "<";
    for (char16_t c : name) {
        if (c >= 0x80) return false;
        openBytes.push_back(static_cast<char>(c));
    }
    std::string closeBytes = "</";
    closeBytes.append(openBytes, 1, std::string::npos);
    const std::string slashBytes(closeBytes, 1, std::string::npos);
    const std::size_t start = FindPackedAtEven(buffer_, Pack(openBytes), openBytes.size(), 0);
    if (start == std::u16string::npos) return false;
    if (FindPackedAtEven(buffer_, Pack(closeBytes), closeBytes.size(), start) == std::u16string::npos &&
        FindPackedAtEven(buffer_, Pack(slashBytes), slashBytes.size(), start) == std::u16string::npos) {
        return false;
    }

    // Every byte becomes one code unit of the same value (ISO 8859-1).
    const std::size_t units = buffer_.size();
    std::u16string wide(units * 2 + (hasOddByte_ ? 1 : 0), u'\0');
    for (std::size_t i = 0; i < units; ++i) {
        wide[2 * i] = static_cast<char16_t>(buffer_[i] & 0xFF);
        wide[2 * i + 1] = static_cast<char16_t>(buffer_[i] >> 8);
    }
    if (hasOddByte_) wide[units * 2] = oddByte_;
    buffer_ = std::move(wide);
    hasOddByte_ = false;
    return true;
}

std::optional<std::u16string_view> MarkupReader::NextTag() {
    closing_ = false;
    empty_ = false;
    char16_t* const data = buffer_.data();
    const std::size_t length = buffer_.size();
    const char16_t* lt = std::char_traits<char16_t>::find(data + position_, length - std::min(position_, length), u'<');
    if (position_ >= length || lt == nullptr) {
        position_ = length;
        return std::nullopt;
    }
    std::size_t i = static_cast<std::size_t>(lt - data) + 1;
    std::size_t nameStart = 0, nameEnd = 0;
    bool inName = false, nameSeen = false;
    for (; i < length; ++i) {
        const char16_t c = data[i];
        if (c == u'>') {
            if (inName) nameEnd = i;
            data[i] = 0;
            position_ = i + 1;
            if (!nameSeen) return std::u16string_view(data + i, 0);
            return std::u16string_view(data + nameStart, nameEnd - nameStart);
        }
        if (IsSpace(c)) {
            if (inName) { nameEnd = i; inName = false; }
            data[i] = 0;
        } else if (c == u'/') {
            if (inName) { nameEnd = i; inName = false; }
            data[i] = 0;
            if (nameSeen) empty_ = true; else closing_ = true;
        } else if (!nameSeen) {
            nameSeen = inName = true;
            nameStart = i;
        }
    }
    // The document ends inside the tag.
    position_ = length;
    return std::nullopt;
}

std::optional<std::u16string_view> MarkupReader::ElementText(std::u16string_view name) {
    if (empty_) return std::u16string_view(buffer_.data() + position_, 0);
    if (closing_) {
        closing_ = false;
        return std::nullopt;
    }
    char16_t* const data = buffer_.data();
    const std::size_t length = buffer_.size();
    if (position_ >= length) return std::nullopt;
    const std::size_t textStart = position_;
    const char16_t* lt = std::char_traits<char16_t>::find(data + textStart, length - textStart, u'<');
    if (lt == nullptr) {
        position_ = length;
        return std::nullopt;
    }
    const std::size_t textEnd = static_cast<std::size_t>(lt - data);
    data[textEnd] = 0;
    // The tag after the text must be a closing tag: "/" first, then the name.
    std::size_t i = textEnd + 1;
    bool slashSeen = false, valid = true;
    std::size_t closeStart = 0, closeEnd = 0;
    bool inName = false, nameSeen = false;
    for (; i < length; ++i) {
        const char16_t c = data[i];
        if (c == u'>') break;
        if (c == u'/') {
            if (slashSeen || nameSeen) valid = false;
            slashSeen = true;
            if (inName) { closeEnd = i; inName = false; }
        } else if (!nameSeen && IsAsciiLetterOrDigit(c)) {
            nameSeen = inName = true;
            closeStart = i;
        } else if (inName && IsSpace(c)) {
            closeEnd = i;
            inName = false;
        }
    }
    if (i >= length) {
        position_ = length;
        return std::nullopt;
    }
    if (inName) closeEnd = i;
    data[i] = 0;
    position_ = i + 1;
    if (!slashSeen || !valid || !nameSeen) return std::nullopt;  // another opening tag, or malformed
    if (textEnd == textStart) return std::nullopt;               // <NAME></NAME> holds no value
    if (!SameName(std::u16string_view(data + closeStart, closeEnd - closeStart), name)) return std::nullopt;
    return std::u16string_view(data + textStart, textEnd - textStart);
}

int MarkupReader::Progress() const {
    if (buffer_.empty()) return 0;
    const std::size_t p = std::min(position_, buffer_.size());
    return static_cast<int>((static_cast<unsigned long long>(p) * 100) / buffer_.size());
}

// ---------------------------------------------------------------------------
// Decoding helpers

bool SameName(std::u16string_view a, std::u16string_view b) { return platform::EqualIgnoreCase(a, b); }

std::size_t NameTable::Hash(std::u16string_view upper) {
    std::size_t h = upper.size();
    for (char16_t c : upper) h = h * 31 + c;
    return h % kSlots;
}

NameTable::NameTable(std::initializer_list<Entry> entries) : entries_(entries), slots_(kSlots, -1) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::size_t slot = Hash(entries_[i].name);
        while (slots_[slot] >= 0) slot = (slot + 1) % kSlots;
        slots_[slot] = static_cast<std::int16_t>(i);
    }
}

int NameTable::Find(std::u16string_view name, int missing) const {
    constexpr std::size_t kLongest = 64;
    char16_t upper[kLongest];
    bool simple = name.size() <= kLongest;
    for (std::size_t i = 0; simple && i < name.size(); ++i) {
        const char16_t c = name[i];
        if (c >= u'a' && c <= u'z') {
            upper[i] = static_cast<char16_t>(c - 32);
        } else if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) {
            upper[i] = c;
        } else {
            simple = false;
        }
    }
    if (simple) {
        const std::u16string_view key(upper, name.size());
        for (std::size_t slot = Hash(key);; slot = (slot + 1) % kSlots) {
            const int index = slots_[slot];
            if (index < 0) return missing;
            if (entries_[static_cast<std::size_t>(index)].name == key) return entries_[static_cast<std::size_t>(index)].value;
        }
    }
    for (const Entry& e : entries_) {
        if (SameName(e.name, name)) return e.value;
    }
    return missing;
}

std::u16string Unescape(std::u16string_view text) {
    static constexpr std::u16string_view kEntities[] = {u"&amp;", u"&lt;", u"&gt;"};
    static constexpr char16_t kValues[] = {u'&', u'<', u'>'};
    std::u16string out;
    out.reserve(text.size());
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n) {
        const char16_t c = text[i];
        if (c != u'&') {
            // Copy a run without entities at once.
            const std::size_t amp = text.find(u'&', i);
            const std::size_t stop = amp == std::u16string_view::npos ? n : amp;
            out.append(text.data() + i, stop - i);
            i = stop;
            continue;
        }
        // An entity runs from "&" to the next ";"; a later "&" starts it anew.
        std::size_t start = i;
        std::size_t j = i + 1;
        while (j < n && text[j] != u';') {
            if (text[j] == u'&') start = j;
            ++j;
        }
        if (j >= n) break;  // no ";" follows: the rest is dropped
        const std::u16string_view entity = text.substr(start, j - start);
        for (int k = 0; k < 3; ++k) {
            const std::u16string_view ref = kEntities[k];
            if (entity.size() > ref.size()) continue;
            bool match = true;
            for (std::size_t m = 0; m < entity.size(); ++m) {
                if (AsciiLower(entity[m]) != ref[m]) { match = false; break; }
            }
            if (match) {
                out.push_back(kValues[k]);
                break;
            }
        }
        i = j + 1;
    }
    return out;
}

std::int32_t ReadInt(std::u16string_view text) {
    std::size_t i = 0;
    bool negative = false;
    while (i < text.size() && !IsDigit(text[i])) {
        if (text[i] == u'-') negative = true;
        ++i;
    }
    std::uint32_t value = 0;
    while (i < text.size() && IsDigit(text[i])) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - u'0');
        ++i;
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

bool ReadBool(std::u16string_view text) { return ReadInt(text) == 1; }

namespace {

// When the digits and commas from start form groups of three digits after a
// first group of one to three that does not start with 0 ("1,299",
// "12,345,678"), the end of that run; otherwise start, so that no comma is
// taken as a separator ("0,001" is no grouping).
std::size_t ThousandsGroupsEnd(std::u16string_view text, std::size_t start) {
    if (start >= text.size() || text[start] == u'0') return start;
    std::size_t end = start;
    while (end < text.size() && (IsDigit(text[end]) || text[end] == u',')) ++end;
    std::size_t digits = 0;  // digits in the group being read
    std::size_t groups = 0;  // groups closed by a comma
    for (std::size_t k = start; k < end; ++k) {
        if (IsDigit(text[k])) {
            ++digits;
            continue;
        }
        if (digits == 0 || digits > 3 || (groups > 0 && digits != 3)) return start;
        ++groups;
        digits = 0;
    }
    return groups > 0 && digits == 3 ? end : start;
}

}  // namespace

double ReadReal(std::u16string_view text) {
    std::size_t i = 0;
    bool negative = false;
    while (i < text.size() && !IsDigit(text[i]) && text[i] != u'.') {
        if (text[i] == u'-') negative = true;
        ++i;
    }
    // A "," between groups of three digits before the point is a thousands
    // separator ("1,299.00"); any other comma ends the number ("1,5" is 1).
    const std::size_t groupedEnd = ThousandsGroupsEnd(text, i);
    // Collect the digits with at most one "." and parse them in the C locale's
    // terms by hand, so that no locale can change the decimal point.
    double mantissa = 0;
    int fractionDigits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsDigit(c)) {
            mantissa = mantissa * 10 + (c - u'0');
            if (point) ++fractionDigits;
        } else if (c == u',' && i < groupedEnd) {
            continue;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    // An exponent, as the general notation writes very large amounts
    // ("1.23457e+006"): without it such an amount would read as 1.23457.
    int exponent = 0;
    if (i + 1 < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (text[j] == u'+' || text[j] == u'-') {
            expNegative = text[j] == u'-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                if (exponent < 10000) exponent = exponent * 10 + (text[j] - u'0');
                ++j;
            }
            if (expNegative) exponent = -exponent;
        }
    }
    double value = mantissa;
    const int scale = exponent - fractionDigits;
    if (scale != 0) value = scale > 0 ? value * std::pow(10.0, scale) : value / std::pow(10.0, -scale);
    return negative ? -value : value;
}

namespace {

template <typename Emit>
void SplitAtCommas(std::u16string_view text, Emit emit) {
    if (text.empty()) return;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(u',', start);
        if (comma == std::u16string_view::npos) {
            emit(text.substr(start));
            return;
        }
        emit(text.substr(start, comma - start));
        start = comma + 1;
    }
}

}  // namespace

std::vector<std::uint8_t> ReadByteList(std::u16string_view text, int maximum) {
    std::vector<std::uint8_t> out;
    SplitAtCommas(text, [&](std::u16string_view piece) {
        int v = ReadInt(piece) & 0xFF;
        if (v > maximum) v = maximum;
        out.push_back(static_cast<std::uint8_t>(v));
    });
    return out;
}

std::vector<std::int32_t> ReadIntList(std::u16string_view text, int maximum) {
    std::vector<std::int32_t> out;
    SplitAtCommas(text, [&](std::u16string_view piece) {
        std::int32_t v = ReadInt(piece);
        if (v > maximum) v = maximum;
        out.push_back(v);
    });
    return out;
}

}  // namespace kodrin
