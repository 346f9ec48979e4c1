// Any bytes as a CSV file, read both ways the import reads it: the reader
// never crashes, hangs or reads outside its input, and every record it makes
// gets the next id. Also checks that quoting a cell and splitting it again
// gives the value back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalog/csv.h"
#include "catalog/tokenizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kodrin;
    const std::vector<std::uint8_t> bytes(data, data + size);
    for (const std::u16string& text : {CsvTextFromUtf16(bytes), CsvTextFrom8Bit(bytes)}) {
        std::vector<ApplicationRecord> records;
        std::int32_t ids = 0;
        int last = -1;
        const bool ok = ReadCsv(text, records, ids, [&](int p) {
            if (p < 0 || p > 100) __builtin_trap();
            last = p;
        }, u"fuzz-nonexistent-folder/in.csv");
        if (!ok && !records.empty()) __builtin_trap();
        if (static_cast<std::size_t>(ids) != records.size()) __builtin_trap();
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (records[i].recordId != static_cast<std::int32_t>(i + 1)) __builtin_trap();
        }
        (void)last;

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
