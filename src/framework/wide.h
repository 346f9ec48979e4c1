// UTF-16 text at the Win32 boundary: char16_t and wchar_t have the same size
// there, so the conversions are casts. Header only, so the Win32 adapters
// below the framework use it too.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace QvLibrary {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 text is UTF-16");

// The text as a zero-terminated wide string, valid as long as the text is.
inline const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
// A zero-terminated copy of a text that need not be terminated.
inline std::wstring WideCopy(std::u16string_view text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}
// Null for the empty text (for optional string parameters).
inline const wchar_t* WideOrNull(const std::u16string& text) { return text.empty() ? nullptr : Wide(text); }

inline std::u16string FromWide(const wchar_t* text) {
    return text != nullptr ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}
inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace QvLibrary
