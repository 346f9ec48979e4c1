// The data file for 100,000 records: save and load, plain and encrypted;
// CSV export and import. Beside them, pugixml's parse of the same document
// and a plain copy of the file (the I/O floor).
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <cstdio>
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
    std::int64_t bytes = 0;
    for (auto _ : state) {
        if (!WriteCsv(catalog, options, TempPath("plain.xml"))) state.SkipWithError("export failed");
        bytes += FileSize(options.path);
    }
    catalog.options = nullptr;
    state.SetBytesProcessed(bytes);
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_CsvImport(benchmark::State& state) {
    const std::u16string path = TempPath("import.csv");
    ExportOptions options;
    options.path = path;
    WriteCsv(SharedCatalog(), options, TempPath("plain.xml"));
    std::vector<std::uint8_t> bytes;
    platform::ReadWholeFile(path, bytes);
    for (auto _ : state) {
        std::vector<ApplicationRecord> records;
        std::int32_t ids = 0;
        const std::u16string text = CsvTextFromUtf16(bytes);
        if (!ReadCsv(text, records, ids, {}, path) || records.size() != static_cast<std::size_t>(kRecords)) {
            state.SkipWithError("import failed");
        }
        state.PauseTiming();
        records.clear();
        records.shrink_to_fit();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    platform::RemoveFile(path);
}
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace
}  // namespace kodrin::bench
