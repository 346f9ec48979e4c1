// The reports' page layout for 1,000 applications over a canvas that only
// measures (fixed character widths) and counts: the layout's own cost, without
// GDI. bench/reports measures the same reports drawn into metafiles under Wine.
#include <benchmark/benchmark.h>

#include "reports/report_layout.h"
#include "synthetic.h"

namespace kodrin::bench {
namespace {

class CountingCanvas final : public reports::ReportCanvas {
public:
    reports::PageMetrics Metrics() override { return {300, 300, 3358, 2329, 96, 96}; }
    int UseFont(int height) override { return font_ = height < 0 ? -height : height, font_ + 4; }
    void UseDeviceFont() override { font_ = 50; }
    int TextWidth(std::u16string_view text) override { return static_cast<int>(text.size()) * font_ / 2; }
    int DrawText(const reports::Rect& box, std::u16string_view text, unsigned) override {
        ++drawn;
        const int perLine = std::max(1, (box.right - box.left) / std::max(1, font_ / 2));
        return static_cast<int>((text.size() + perLine - 1) / perLine + 1) * (font_ + 4);
    }
    void Line(int, int, int, int) override { ++drawn; }
    bool PictureSize(const std::vector<std::uint8_t>&, int&, int&) override { return false; }
    void DrawPicture(const std::vector<std::uint8_t>&, const reports::Rect&) override {}
    bool BeginPage() override { return true; }
    bool EndPage() override { return true; }
    long long drawn = 0;

private:
    int font_ = 50;
};

void Report(benchmark::State& state, std::uint32_t type) {
    static const Catalog catalog = MakeCatalog(1000);
    Settings options;
    options.cols = {3, 20, 27, 8, 21, 24};
    reports::ReportInput input{{}, &options};
    for (const auto& record : catalog.records) input.applications.push_back(&record);
    for (auto _ : state) {
        CountingCanvas canvas;
        benchmark::DoNotOptimize(reports::DrawReport(canvas, type, input));
        benchmark::DoNotOptimize(canvas.drawn);
    }
}

void BM_SummaryLayout1000(benchmark::State& state) { Report(state, kReportSummary); }
void BM_DetailLayout1000(benchmark::State& state) { Report(state, kReportDetail); }
BENCHMARK(BM_SummaryLayout1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetailLayout1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kodrin::bench
