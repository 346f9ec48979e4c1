// Any bytes as a CSV file, read every way the import reads it (UTF-16,
// 8-bit, UTF-8): the reader never crashes, hangs or reads outside its
// input, and every record it makes gets the next id. Reading the file's bytes gives the same records as
// reading their decoded text, and under a header of four text columns the
// cells are those of the quote-aware tokeniser (lines at LF with quotes
// kept, a CR before the LF dropped, then cells at ","). Also checks that
// quoting a cell and splitting it again gives the value back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalog/csv.h"
#include "catalog/tokenizer.h"
#include "platform/utf.h"

namespace {

using namespace kodrin;

std::vector<std::vector<std::u16string>> TokeniserRows(std::u16string_view text) {
    std::vector<std::vector<std::u16string>> rows;
    const std::vector<std::u16string> lines = CsvSplit(text, u'\n', true, true);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::u16string line = lines[i];
        if (!line.empty() && line.back() == u'\r') line.pop_back();
        std::vector<std::u16string> cells = CsvSplit(line, u',', true, false);
        if (cells.empty()) continue;
        cells.resize(4);
        rows.push_back(std::move(cells));
    }
    return rows;
}

// Prices read from garbage may be NaN, which no comparison finds equal.
void MarkNaN(std::vector<ApplicationRecord>& records) {
    for (ApplicationRecord& r : records) {
        if (r.purchasePrice != r.purchasePrice) r.purchasePrice = -1;
        if (r.upgradePrice != r.upgradePrice) r.upgradePrice = -1;
    }
}

std::u16string TextOf(const std::vector<std::uint8_t>& bytes, CsvEncoding encoding) {
    switch (encoding) {
        case CsvEncoding::Utf16: return CsvTextFromUtf16(bytes);
        case CsvEncoding::EightBit: return CsvTextFrom8Bit(bytes);
        case CsvEncoding::Utf8: return CsvTextFromUtf8(bytes);
    }
    return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);

    // UTF-8: the decoding is platform::FromUtf8's, and a file taken as UTF-8
    // without a byte-order mark is well-formed, so it encodes back to itself.
    const bool mark = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
    const std::string raw(reinterpret_cast<const char*>(data) + (mark ? 3 : 0), size - (mark ? 3 : 0));
    if (CsvTextFromUtf8(bytes) != platform::FromUtf8(raw)) __builtin_trap();
    if (IsUtf8Csv(bytes) && !mark && platform::ToUtf8(platform::FromUtf8(raw)) != raw) __builtin_trap();

    for (const CsvEncoding encoding : {CsvEncoding::Utf16, CsvEncoding::EightBit, CsvEncoding::Utf8}) {
        const std::u16string text = TextOf(bytes, encoding);
        std::vector<ApplicationRecord> records;
        std::int32_t ids = 0;
        int last = -1;
        const bool ok = ReadCsv(text, records, ids, [&](int p) {
            if (p < 0 || p > 100 || p <= last) __builtin_trap();
            last = p;
        }, u"fuzz-nonexistent-folder/in.csv");
        if (!ok && !records.empty()) __builtin_trap();
        if (static_cast<std::size_t>(ids) != records.size()) __builtin_trap();
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i].recordId != static_cast<std::int32_t>(i + 1)) __builtin_trap();
        }

        std::vector<ApplicationRecord> fromBytes;
        std::int32_t byteIds = 0;
        if (ReadCsvBytes(bytes, encoding, fromBytes, byteIds, {}, u"fuzz-nonexistent-folder/in.csv") != ok) {
            __builtin_trap();
        }
        MarkNaN(records);
        MarkNaN(fromBytes);
        if (fromBytes != records || byteIds != ids) __builtin_trap();

        // The cells under a known header.
        const std::u16string withHeader = u"\"Company\",\"Version\",\"Path\",\"Comments\"\r\n" + text;
        records.clear();
        ids = 0;
        if (!ReadCsv(withHeader, records, ids, {}, u"fuzz-nonexistent-folder/in.csv")) __builtin_trap();
        const auto rows = TokeniserRows(withHeader);
        if (rows.size() != records.size()) __builtin_trap();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ApplicationRecord& r = records[i];
            if (rows[i][0] != r.company || rows[i][1] != r.version || rows[i][2] != r.path ||
                rows[i][3] != r.comments) {
                __builtin_trap();
            }
        }

        // Quoting round trip of the text as one value.
        std::u16string line;
        AppendCsvCell(line, text);
        SplitOptions options;
        options.keepQuotedEmptyLast = true;
        const std::vector<std::u16string> cells = Split(line, options);
        if (cells.size() != 1 || cells[0] != text) __builtin_trap();
    }
    return 0;
}
