// The catalog's markup: a small XML-like syntax of elements and text only.
//
// MarkupWriter appends whole-line elements to a UTF-16 text; MarkupReader is a
// forward-only tag scanner that works in place on one buffer holding the whole
// document. Neither builds a tree: callers drive them element by element.
//
// Buffer lifetime: every std::u16string_view a MarkupReader returns points into
// its own buffer, is terminated there by a zero code unit, and stays valid until
// the reader is destroyed or LoadFile/SetText replaces the buffer. Values are
// copied only when a caller decodes them (Unescape, ReadInt, ...).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kodrin {

class MarkupWriter {
public:
    MarkupWriter() = default;
    explicit MarkupWriter(std::size_t reserve) { text_.reserve(reserve); }
    // Writes into a buffer of an earlier document, keeping its memory.
    MarkupWriter(std::u16string&& reuse, std::size_t reserve) : text_(std::move(reuse)) {
        text_.clear();
        text_.reserve(reserve);
    }

    void Open(std::u16string_view name);                         // <name> CR LF, pushed
    void Close();                                                // </top> CR LF, popped; nothing when none open
    void Empty(std::u16string_view name);                        // <name/> CR LF
    void Text(std::u16string_view name, std::u16string_view text);  // escaped; empty text gives Empty
    void Bool(std::u16string_view name, bool value);             // 1, or Empty when false
    void Int(std::u16string_view name, std::int32_t value);      // Empty when 0
    void Unsigned(std::u16string_view name, std::int64_t value); // value taken as unsigned 32-bit; Empty when 0
    void Real(std::u16string_view name, double value);           // general notation, 6 significant digits; Empty when 0
    void ByteList(std::u16string_view name, const std::vector<std::uint8_t>& bytes);
    void IntList(std::u16string_view name, const std::vector<std::int32_t>& ints);

    const std::u16string& Result() const { return text_; }
    std::u16string TakeResult() { return std::move(text_); }
    std::size_t OpenCount() const { return open_.size(); }

private:
    void StartLeaf(std::u16string_view name);  // <name>
    void EndLeaf(std::u16string_view name);    // </name> CR LF

    std::u16string text_;
    std::vector<std::u16string> open_;
};

class MarkupReader {
public:
    MarkupReader() = default;
    MarkupReader(const MarkupReader&) = delete;
    MarkupReader& operator=(const MarkupReader&) = delete;
    MarkupReader(MarkupReader&&) = default;  // views taken before a move are invalid
    MarkupReader& operator=(MarkupReader&&) = default;

    // Reads the whole file into the buffer (a trailing odd byte is dropped).
    bool LoadFile(std::u16string_view path);
    // Takes a document already in memory: UTF-16 text, or raw bytes packed two
    // to a code unit (first byte low) exactly as LoadFile would hold them.
    void SetText(std::u16string text);
    void SetBytes(const std::uint8_t* bytes, std::size_t size);

    // True when the document holds the element `name`; converts an 8-bit
    // document to UTF-16 on the way. Resets nothing else.
    bool FindRoot(std::u16string_view name);

    // The next tag of any kind, or none at the end of the document.
    std::optional<std::u16string_view> NextTag();
    bool IsClosing() const { return closing_; }
    bool IsEmpty() const { return empty_; }

    // Raw text of the element whose opening tag NextTag just returned; none
    // when it was a closing tag, when the text is empty or when the closing
    // tag does not match. An empty element gives an empty text.
    std::optional<std::u16string_view> ElementText(std::u16string_view name);

    int Progress() const;  // position * 100 / length, 0 for an empty buffer

    // Rewinds to the start of the buffer and clears the flags.
    void Rewind() { position_ = 0; closing_ = empty_ = false; }
    // The buffer as it stands (for decryption of a data file in place).
    std::u16string& Buffer() { return buffer_; }
    std::size_t Position() const { return position_; }

private:
    std::u16string buffer_;
    std::size_t position_ = 0;
    bool hasOddByte_ = false;   // a file of odd length: its last byte, kept for 8-bit documents
    char16_t oddByte_ = 0;
    bool closing_ = false;
    bool empty_ = false;
};

// Value decoding helpers; each takes the raw text from ElementText.
std::u16string Unescape(std::u16string_view text);
std::int32_t ReadInt(std::u16string_view text);
bool ReadBool(std::u16string_view text);
// Prices and other amounts: a "," between groups of three digits before the
// point is a thousands separator ("$1,299.00" is 1299); any other comma ends
// the number.
double ReadReal(std::u16string_view text);
std::vector<std::uint8_t> ReadByteList(std::u16string_view text, int maximum);
std::vector<std::int32_t> ReadIntList(std::u16string_view text, int maximum);

// Names compare ignoring case (locale-aware); ASCII names take a fast path.
bool SameName(std::u16string_view a, std::u16string_view b);

// Maps the element names a reader knows to small numbers, comparing as
// SameName does. Names of ASCII letters and digits (all the program writes)
// are found by hashing their upper-case form; any other name is compared with
// every entry through the locale.
class NameTable {
public:
    struct Entry {
        std::u16string_view name;  // upper-case ASCII
        int value;
    };
    explicit NameTable(std::initializer_list<Entry> entries);
    // The value of the name, or `missing`.
    int Find(std::u16string_view name, int missing = -1) const;

private:
    static constexpr std::size_t kSlots = 512;
    static std::size_t Hash(std::u16string_view upper);
    std::vector<Entry> entries_;
    std::vector<std::int16_t> slots_;  // index into entries_, -1 empty
};

}  // namespace kodrin
