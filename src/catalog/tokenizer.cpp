#include "catalog/tokenizer.h"

namespace kodrin {

bool IsBlank(char16_t c) {
    if (c == u' ' || (c >= 0x09 && c <= 0x0D)) return true;
    if (c < 0x85) return false;
    return c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::vector<std::u16string> Split(std::u16string_view text, const SplitOptions& options) {
    std::vector<std::u16string> parts;
    std::u16string current;
    bool inQuotes = false;
    bool atStart = true;       // nothing but skipped blanks in the current part yet
    bool quotedPart = false;   // the current part held a quote
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t c = text[i];
        if (c == u'"') {
            quotedPart = true;
            atStart = false;
            if (inQuotes && i + 1 < n && text[i + 1] == u'"') {
                // A doubled quote inside quotes: one quote character.
                if (options.keepQuotes) {
                    current += u"\"\"";
                } else {
                    current += u'"';
                }
                ++i;
                continue;
            }
            inQuotes = !inQuotes;
            if (options.keepQuotes) current += c;
            continue;
        }
        if (!inQuotes) {
            if (c == options.separator) {
                parts.push_back(std::move(current));
                current.clear();
                atStart = true;
                quotedPart = false;
                continue;
            }
            if (atStart && options.skipLeadingBlanks && IsBlank(c)) continue;
        }
        atStart = false;
        current += c;
    }
    if (!current.empty() || (options.keepQuotedEmptyLast && quotedPart)) parts.push_back(std::move(current));
    return parts;
}

std::vector<std::u16string> CsvSplit(std::u16string_view text, char16_t separator, bool skipLeadingBlanks,
                                     bool keepQuotes) {
    SplitOptions options;
    options.separator = separator;
    options.skipLeadingBlanks = skipLeadingBlanks;
    options.keepQuotes = keepQuotes;
    return Split(text, options);
}

}  // namespace kodrin
