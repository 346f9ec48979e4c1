// Writing and reading the catalog's document for 100,000 records, beside
// pugixml's in-place parse of the same UTF-16 document.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <memory>

#include "catalog/catalog_document.h"
#include "synthetic.h"

namespace kodrin::bench {
namespace {

constexpr int kRecords = 100000;

const Catalog& SharedCatalog() {
    static const Catalog catalog = MakeCatalog(kRecords);
    return catalog;
}

const std::u16string& SharedDocument() {
    static const std::u16string document = [] {
        Settings settings = NewSettings();
        return WriteCatalogDocument(SharedCatalog(), settings, u"");
    }();
    return document;
}

void BM_WriteDocument(benchmark::State& state) {
    const Catalog& catalog = SharedCatalog();
    Settings settings = NewSettings();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::u16string doc = WriteCatalogDocument(catalog, settings, u"");
        bytes += doc.size() * 2;
        benchmark::DoNotOptimize(doc.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_WriteDocument)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The same writer into the memory of the previous document: what the writer
// itself costs once the system has handed out the pages.
void BM_WriteDocumentWarm(benchmark::State& state) {
    const Catalog& catalog = SharedCatalog();
    Settings settings = NewSettings();
    std::u16string doc;
    WriteCatalogDocument(doc, catalog, settings, u"");
    std::size_t bytes = 0;
    for (auto _ : state) {
        WriteCatalogDocument(doc, catalog, settings, u"");
        bytes += doc.size() * 2;
        benchmark::DoNotOptimize(doc.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_WriteDocumentWarm)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ReadIntoCatalog(benchmark::State& state) {
    const std::u16string& doc = SharedDocument();
    for (auto _ : state) {
        state.PauseTiming();
        MarkupReader reader;
        reader.SetText(doc);
        auto catalog = std::make_unique<Catalog>();
        Settings settings = NewSettings();
        state.ResumeTiming();
        if (!reader.FindRoot(kRootTag)) state.SkipWithError("no root");
        ReadCatalogDocument(reader, *catalog, settings);
        if (catalog->records.size() != static_cast<std::size_t>(kRecords)) state.SkipWithError("records lost");
        state.PauseTiming();
        catalog.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size() * 2));
}
BENCHMARK(BM_ReadIntoCatalog)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PugixmlParseInPlace(benchmark::State& state) {
    const std::u16string& doc = SharedDocument();
    for (auto _ : state) {
        state.PauseTiming();
        std::u16string copy = doc;
        auto xml = std::make_unique<pugi::xml_document>();
        state.ResumeTiming();
        const pugi::xml_parse_result ok =
            xml->load_buffer_inplace(copy.data(), copy.size() * 2, pugi::parse_default, pugi::encoding_utf16_le);
        if (!ok) state.SkipWithError(ok.description());
        benchmark::DoNotOptimize(xml->first_child());
        state.PauseTiming();
        xml.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * doc.size() * 2));
}
BENCHMARK(BM_PugixmlParseInPlace)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace kodrin::bench
