// Fuzz target: any text converts without fault into one well-formed RTF group
// whose code units all fit the 8-bit stream.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/portable/html2rtf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The input's bytes as UTF-16 code units, two bytes each (little-endian),
    // so every code unit value, surrogates included, can be reached.
    std::u16string html;
    html.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2) {
        html += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    const std::u16string rtf = QvLibrary::ConvertHtmlToRtf(html);

    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        const char16_t c = rtf[i];
        if (c > 0xFF) std::abort();
        if (c == u'\\') {
            ++i;
        } else if (c == u'{') {
            ++depth;
        } else if (c == u'}' && --depth < 0) {
            std::abort();
        }
    }
    if (depth != 0 || rtf.empty() || rtf.front() != u'{' || rtf.back() != u'}') std::abort();

    QvLibrary::RtfByteStream stream(rtf);
    unsigned char buffer[61];
    size_t total = 0;
    while (size_t n = stream.Read(buffer, sizeof buffer)) total += n;
    if (total != rtf.size()) std::abort();
    return 0;
}
