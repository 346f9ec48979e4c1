// The data file for 100,000 records: save and load, plain and encrypted;
// CSV export and import. Beside them, pugixml's parse of the same document,
// a plain copy of the file (the I/O floor) and filling memory of the CSV
// text's size (the memory floor).
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

#include "catalog/csv.h"
#include "catalog/datafile.h"
#include "platform/files.h"
#include "platform/utf.h"
#include "synthetic.h"

namespace kodrin::bench {
namespace {

constexpr int kRecords = 100000;

const Catalog& SharedCatalog() {
    static const Catalog catalog = MakeCatalog(kRecords);
    return catalog;
}

std::u16string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return platform::FromUtf8(std::string(dir ? dir : "/tmp") + "/kodrin_bench_" + name);
}

class FixedPassword final : public DataFileUser {
public:
    explicit FixedPassword(std::u16string password) : password_(std::move(password)) {}
    std::optional<std::u16string> AskPassword() override { return password_; }
    void Inform(int) override {}
    LoadFailureAnswer AskAfterFailedLoad() override { return LoadFailureAnswer::Quit; }

private:
    std::u16string password_;
};

std::int64_t FileSize(const std::u16string& path) {
    std::vector<std::uint8_t> bytes;
    platform::ReadWholeFile(path, bytes);
    return static_cast<std::int64_t>(bytes.size());
}

// The data file saved once, plain or encrypted.
const std::u16string& SavedFile(bool encrypted) {
    static std::u16string plain, cipher;
    std::u16string& path = encrypted ? cipher : plain;
    if (path.empty()) {
        path = TempPath(encrypted ? "encrypted.xml" : "plain.xml");
        Settings settings = NewSettings();
        if (encrypted) settings.password = u"correct horse";
        SaveCatalog(SharedCatalog(), settings, path, u"");
    }
    return path;
}

void BM_SaveCatalog(benchmark::State& state) {
    const bool encrypted = state.range(0) != 0;
    Settings settings = NewSettings();
    if (encrypted) settings.password = u"correct horse";
    const std::u16string path = TempPath("save.xml");
    for (auto _ : state) {
        if (!SaveCatalog(SharedCatalog(), settings, path, u"")) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    state.SetLabel(encrypted ? "encrypted" : "plain");
    platform::RemoveFile(path);
}
BENCHMARK(BM_SaveCatalog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_LoadCatalog(benchmark::State& state) {
    const bool encrypted = state.range(0) != 0;
    const std::u16string& path = SavedFile(encrypted);
    FixedPassword user(u"correct horse");
    for (auto _ : state) {
        auto catalog = std::make_unique<Catalog>();
        Settings settings = NewSettings();
        const LoadResult r = LoadCatalog(path, *catalog, settings, false, &user);
        if (!r.ok || catalog->records.size() != static_cast<std::size_t>(kRecords)) state.SkipWithError("load failed");
        state.PauseTiming();
        catalog.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    state.SetLabel(encrypted ? "encrypted" : "plain");
}
BENCHMARK(BM_LoadCatalog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// pugixml reading the same file from disk and parsing it in place.
void BM_PugixmlLoadFile(benchmark::State& state) {
    const std::u16string& path = SavedFile(false);
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes;
        platform::ReadWholeFile(path, bytes);
        auto xml = std::make_unique<pugi::xml_document>();
        const pugi::xml_parse_result ok =
            xml->load_buffer_inplace(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf16_le);
        if (!ok) state.SkipWithError(ok.description());
        state.PauseTiming();
        xml.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
}
BENCHMARK(BM_PugixmlLoadFile)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Reading the file whole and writing it whole again: the I/O floor.
void BM_PlainFileCopy(benchmark::State& state) {
    const std::u16string& path = SavedFile(false);
    const std::u16string copy = TempPath("copy.xml");
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes;
        platform::ReadWholeFile(path, bytes);
        if (!platform::WriteFileAtomically(copy, bytes)) state.SkipWithError("copy failed");
    }
    state.SetBytesProcessed(state.iterations() * FileSize(path));
    platform::RemoveFile(copy);
}
BENCHMARK(BM_PlainFileCopy)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_CsvExport(benchmark::State& state) {
    ExportOptions options;
    options.path = TempPath("export.csv");
    Settings settings = NewSettings();
    Catalog& catalog = const_cast<Catalog&>(SharedCatalog());
    catalog.options = &settings;
    for (auto _ : state) {
        if (!WriteCsv(catalog, options, TempPath("plain.xml"))) state.SkipWithError("export failed");
    }
    catalog.options = nullptr;
    state.SetBytesProcessed(state.iterations() * FileSize(options.path));
    platform::RemoveFile(options.path);
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The export text alone, into new memory (0) or into the memory of the
// previous run (1); UTF-16, or the 8-bit file's bytes (range 1).
void BM_CsvDocument(benchmark::State& state) {
    const bool warm = state.range(0) != 0;
    ExportOptions options;
    options.preserveUnicode = state.range(1) == 0;
    Settings settings = NewSettings();
    Catalog& catalog = const_cast<Catalog&>(SharedCatalog());
    catalog.options = &settings;
    std::vector<std::uint8_t> bytes;
    std::u16string text;
    if (warm && options.preserveUnicode) CsvDocument(text, catalog, options);
    if (warm && !options.preserveUnicode) CsvDocumentBytes(bytes, catalog, options);
    std::int64_t total = 0;
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            bytes = std::vector<std::uint8_t>();
            state.ResumeTiming();
        }
        if (options.preserveUnicode && !warm) {
            // What the export writes: the text's own memory.
            const std::u16string fresh = CsvDocument(catalog, options);
            total += static_cast<std::int64_t>(fresh.size() * 2);
            benchmark::DoNotOptimize(fresh.data());
        } else if (options.preserveUnicode) {
            CsvDocument(text, catalog, options);
            total += static_cast<std::int64_t>(text.size() * 2);
            benchmark::DoNotOptimize(text.data());
        } else {
            CsvDocumentBytes(bytes, catalog, options);
            total += static_cast<std::int64_t>(bytes.size());
            benchmark::DoNotOptimize(bytes.data());
        }
    }
    catalog.options = nullptr;
    state.SetBytesProcessed(total);
    state.SetLabel(std::string(warm ? "warm" : "fresh") + (options.preserveUnicode ? " UTF-16" : " 8-bit"));
}
BENCHMARK(BM_CsvDocument)
    ->Args({0, 0})->Args({1, 0})->Args({0, 1})->Args({1, 1})
    ->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The machine's ceiling for a writer of that much text: filling the same
// number of bytes (the UTF-16 export's size) with memset, into new memory
// (0: every page is handed out by the system on first touch) or into memory
// already touched (1); and memcpy of that much into new memory (2).
void BM_MemoryFill(benchmark::State& state) {
    static const std::size_t size = [] {
        Settings settings = NewSettings();
        Catalog& catalog = const_cast<Catalog&>(SharedCatalog());
        catalog.options = &settings;
        const std::size_t n = CsvDocument(catalog, ExportOptions{}).size() * 2;
        catalog.options = nullptr;
        return n;
    }();
    const int mode = static_cast<int>(state.range(0));
    std::unique_ptr<std::uint8_t[]> source;
    if (mode == 2) {
        source.reset(new std::uint8_t[size]);
        std::memset(source.get(), 1, size);
    }
    std::unique_ptr<std::uint8_t[]> warm;
    if (mode == 1) {
        warm.reset(new std::uint8_t[size]);
        std::memset(warm.get(), 0, size);
    }
    for (auto _ : state) {
        std::unique_ptr<std::uint8_t[]> fresh;
        if (mode != 1) fresh.reset(new std::uint8_t[size]);
        std::uint8_t* target = mode == 1 ? warm.get() : fresh.get();
        if (mode == 2) {
            std::memcpy(target, source.get(), size);
        } else {
            std::memset(target, 2, size);
        }
        benchmark::DoNotOptimize(target);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.SetLabel(mode == 0 ? "memset, new memory" : mode == 1 ? "memset, touched memory" : "memcpy, new memory");
}
BENCHMARK(BM_MemoryFill)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// Writes the shared catalog as a CSV file and times read(bytes, records,
// ids, path) on its bytes; with warm set the allocator keeps the memory of
// the previous run (no trimming, no separate mappings for large blocks), so
// that the records' strings land in memory already touched: the reader's own
// cost.
// With utf8 set the file is the UTF-8 export without its byte-order mark,
// as spreadsheet programs may write it.
template <typename Read>
void TimeCsvImport(benchmark::State& state, bool warm, Read read, bool utf8 = false) {
    const std::u16string path = TempPath("import.csv");
    ExportOptions options;
    options.path = path;
    options.utf8 = utf8;
    WriteCsv(SharedCatalog(), options, TempPath("plain.xml"));
    std::vector<std::uint8_t> bytes;
    platform::ReadWholeFile(path, bytes);
    if (utf8) bytes.erase(bytes.begin(), bytes.begin() + 3);
    if (warm) {
        mallopt(M_MMAP_MAX, 0);
        mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    }
    const auto import = [&] {
        std::vector<ApplicationRecord> records;
        std::int32_t ids = 0;
        if (!read(bytes, records, ids, path) || records.size() != static_cast<std::size_t>(kRecords)) {
            state.SkipWithError("import failed");
        }
        return records;
    };
    if (warm) import();
    for (auto _ : state) {
        std::vector<ApplicationRecord> records = import();
        state.PauseTiming();
        records = {};
        state.ResumeTiming();
    }
    if (warm) {
        mallopt(M_TRIM_THRESHOLD, 128 * 1024);
        mallopt(M_MMAP_MAX, 65536);
        malloc_trim(0);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    platform::RemoveFile(path);
}

// Decoding the whole text first, then reading it.
void BM_CsvImport(benchmark::State& state) {
    TimeCsvImport(state, false, [](const auto& bytes, auto& records, auto& ids, const auto& path) {
        return ReadCsv(CsvTextFromUtf16(bytes), records, ids, {}, path);
    });
}
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The import as the Import command runs it: straight from the file's bytes.
void BM_CsvImportBytes(benchmark::State& state) {
    TimeCsvImport(state, false, [](const auto& bytes, auto& records, auto& ids, const auto& path) {
        return ReadCsvBytes(bytes, CsvEncoding::Utf16, records, ids, {}, path);
    });
}
BENCHMARK(BM_CsvImportBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_CsvImportBytesWarm(benchmark::State& state) {
    TimeCsvImport(state, true, [](const auto& bytes, auto& records, auto& ids, const auto& path) {
        return ReadCsvBytes(bytes, CsvEncoding::Utf16, records, ids, {}, path);
    });
}
BENCHMARK(BM_CsvImportBytesWarm)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// A UTF-8 file as the Import command reads it: the check that the whole file
// is well-formed UTF-8, then the one pass that decodes the cells.
void BM_CsvImportBytesUtf8(benchmark::State& state) {
    TimeCsvImport(
        state, false,
        [](const auto& bytes, auto& records, auto& ids, const auto& path) {
            return IsUtf8Csv(bytes) && ReadCsvBytes(bytes, CsvEncoding::Utf8, records, ids, {}, path);
        },
        true);
}
BENCHMARK(BM_CsvImportBytesUtf8)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace
}  // namespace kodrin::bench
