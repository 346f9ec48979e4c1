#include "framework/portable/number.h"

#include <charconv>
#include <string>

namespace QvLibrary {

double ReadNumber(std::u16string_view text) {
    std::size_t at = 0;
    bool negative = false;
    while (at < text.size() && !(text[at] >= u'0' && text[at] <= u'9') && text[at] != u'.') {
        if (text[at] == u'-') negative = true;
        ++at;
    }
    std::string number;
    bool point = false;
    bool digits = false;
    for (; at < text.size(); ++at) {
        const char16_t c = text[at];
        if (c >= u'0' && c <= u'9') {
            number += static_cast<char>(c);
            digits = true;
        } else if (c == u'.' && !point) {
            number += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return 0.0;
    double value = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return negative ? -value : value;
}

}  // namespace QvLibrary
