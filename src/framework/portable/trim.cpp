#include "framework/portable/trim.h"

namespace QvLibrary {

std::u16string Trim(const std::u16string& text) {
    constexpr char16_t kBlank[] = u" \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::u16string::npos) return {};
    const std::size_t last = text.find_last_not_of(kBlank);
    return text.substr(first, last - first + 1);
}

}  // namespace QvLibrary
