// The small JSON reader and string quoting that the DevTools protocol needs.
// Texts are UTF-8, as the protocol carries them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kodrin::weblogin::json {

struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<Value> items;
    std::vector<std::pair<std::string, Value>> members;

    // The member called key; a null value when there is none (or this is no object).
    const Value& operator[](std::string_view key) const;
    // Item index; a null value past the end.
    const Value& operator[](std::size_t index) const;
    bool IsNull() const { return kind == Kind::Null; }
    bool Has(std::string_view key) const;
};

// The whole text as one value; nothing when it is not well-formed JSON or
// nests deeper than 64 levels.
std::optional<Value> Parse(std::string_view text);

// A JSON string literal (with its quotes) holding text.
std::string Quote(std::string_view utf8);
std::string Quote(std::u16string_view text);

}  // namespace kodrin::weblogin::json
