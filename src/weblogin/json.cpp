#include "weblogin/json.h"

#include <cstdint>
#include <cstdlib>

#include "platform/utf.h"

namespace kodrin::weblogin::json {

namespace {

const Value kNull;
constexpr int kMaxDepth = 64;

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<Value> Document() {
        Value value;
        if (!Parse(value, 0)) return std::nullopt;
        SkipSpace();
        if (pos_ != text_.size()) return std::nullopt;
        return value;
    }

private:
    void SkipSpace() {
        while (pos_ < text_.size() &&
               (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n')) {
            ++pos_;
        }
    }

    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    bool Parse(Value& value, int depth) {
        if (depth > kMaxDepth) return false;
        SkipSpace();
        if (pos_ >= text_.size()) return false;
        const char c = text_[pos_];
        if (c == '{') return ParseObject(value, depth);
        if (c == '[') return ParseArray(value, depth);
        if (c == '"') {
            value.kind = Value::Kind::String;
            return ParseString(value.text);
        }
        if (Literal("true")) {
            value.kind = Value::Kind::Bool;
            value.boolean = true;
            return true;
        }
        if (Literal("false")) {
            value.kind = Value::Kind::Bool;
            return true;
        }
        if (Literal("null")) return true;
        return ParseNumber(value);
    }

    bool ParseNumber(Value& value) {
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        const std::size_t digits = pos_;
        while (pos_ < text_.size() && ((text_[pos_] >= '0' && text_[pos_] <= '9') || text_[pos_] == '.' ||
                                       text_[pos_] == 'e' || text_[pos_] == 'E' || text_[pos_] == '+' ||
                                       text_[pos_] == '-')) {
            ++pos_;
        }
        if (pos_ == digits) return false;
        const std::string number(text_.substr(start, pos_ - start));
        char* end = nullptr;
        value.number = std::strtod(number.c_str(), &end);
        if (end != number.c_str() + number.size()) return false;
        value.kind = Value::Kind::Number;
        return true;
    }

    bool Hex4(std::uint32_t& unit) {
        if (pos_ + 4 > text_.size()) return false;
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[pos_++];
            unit <<= 4;
            if (c >= '0' && c <= '9') {
                unit |= static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                unit |= static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                unit |= static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return false;
            }
        }
        return true;
    }

    bool ParseString(std::string& out) {
        ++pos_;  // the opening quote
        std::u16string escaped;  // \u units, converted together so that pairs join
        const auto flush = [&] {
            if (!escaped.empty()) out += platform::ToUtf8(escaped);
            escaped.clear();
        };
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') {
                flush();
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                flush();
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) return false;
            const char e = text_[pos_++];
            if (e == 'u') {
                std::uint32_t unit = 0;
                if (!Hex4(unit)) return false;
                escaped += static_cast<char16_t>(unit);
                continue;
            }
            flush();
            switch (e) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case '/': out += '/'; break;
                case 'b': out += '\b'; break;
                case 'f': out += '\f'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                default: return false;
            }
        }
        return false;
    }

    bool ParseArray(Value& value, int depth) {
        ++pos_;
        value.kind = Value::Kind::Array;
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == ']') {
            ++pos_;
            return true;
        }
        for (;;) {
            Value item;
            if (!Parse(item, depth + 1)) return false;
            value.items.push_back(std::move(item));
            SkipSpace();
            if (pos_ >= text_.size()) return false;
            const char c = text_[pos_++];
            if (c == ']') return true;
            if (c != ',') return false;
        }
    }

    bool ParseObject(Value& value, int depth) {
        ++pos_;
        value.kind = Value::Kind::Object;
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == '}') {
            ++pos_;
            return true;
        }
        for (;;) {
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_] != '"') return false;
            std::string key;
            if (!ParseString(key)) return false;
            SkipSpace();
            if (pos_ >= text_.size() || text_[pos_++] != ':') return false;
            Value member;
            if (!Parse(member, depth + 1)) return false;
            value.members.emplace_back(std::move(key), std::move(member));
            SkipSpace();
            if (pos_ >= text_.size()) return false;
            const char c = text_[pos_++];
            if (c == '}') return true;
            if (c != ',') return false;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

const Value& Value::operator[](std::string_view key) const {
    for (const auto& [name, member] : members) {
        if (name == key) return member;
    }
    return kNull;
}

const Value& Value::operator[](std::size_t index) const { return index < items.size() ? items[index] : kNull; }

bool Value::Has(std::string_view key) const {
    for (const auto& member : members) {
        if (member.first == key) return true;
    }
    return false;
}

std::optional<Value> Parse(std::string_view text) { return Parser(text).Document(); }

std::string Quote(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string Quote(std::u16string_view text) { return Quote(platform::ToUtf8(text)); }

}  // namespace kodrin::weblogin::json
