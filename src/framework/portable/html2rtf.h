// Conversion of the small HTML subset that the program's notices use into an
// RTF document for a rich edit control, and the byte stream the control reads.
//
// The subset: <body> ... </body> (nothing outside it is shown), <b> <i> <u>
// and their closing tags, <br>, <p>, </p>, <font face= color= size=> and
// </font>, the entities &amp; &lt; &gt; &quot; &nbsp; &copy; &reg; and &#n;.
// Tag names match only in exactly these forms, ignoring case. Every other tag
// inside the body is copied into the text as protected text (an anchor keeps
// the protection up to its </a>), so the host window can find the links.
//
// Malformed input never fails: an unclosed tag runs to the end of the text.
// The RTF text is pure 8-bit: characters above U+00FF are written as RTF
// Unicode escapes, so handing the control the low byte of each code unit
// loses nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace QvLibrary {

// The whole RTF document for the HTML text.
std::u16string ConvertHtmlToRtf(std::u16string_view html);

// Hands out an RTF text to a stream-in callback: one byte per UTF-16 code
// unit (its low byte), from the read position onwards, until the end.
class RtfByteStream {
public:
    explicit RtfByteStream(std::u16string rtf) : rtf_(std::move(rtf)) {}

    // Copies up to `capacity` bytes into `out` and moves the read position on;
    // returns how many were copied (0 at the end of the text).
    std::size_t Read(unsigned char* out, std::size_t capacity);

    bool AtEnd() const { return position_ >= rtf_.size(); }
    const std::u16string& Text() const { return rtf_; }

private:
    std::u16string rtf_;
    std::size_t position_ = 0;
};

}  // namespace QvLibrary
