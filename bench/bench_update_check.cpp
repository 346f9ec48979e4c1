// Checking 200 applications whose PAD files are each answered after 200 ms:
// Check All's checking (8 at a time), kodrin-cli check on a catalog file, and
// for comparison one check at a time (at least 40 s).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "cli/cli.h"
#include "update/pad_farm.h"

namespace kodrin::bench {
namespace {

constexpr int kRecords = 200;
constexpr int kDelayMs = 200;

std::u16string CatalogPath() {
    return std::filesystem::temp_directory_path().u16string() + u"/kodrin-bench-check.xml";
}

void CountFailures(benchmark::State& state, const std::vector<update::PadCheckResult>& results) {
    state.counters["failed"] = static_cast<double>(update::CountOutcomes(results).failed);
}

void BM_CheckAllEightAtATime(benchmark::State& state) {
    PadFarm farm(kRecords, kDelayMs, CatalogPath());
    if (!farm.Ok()) state.SkipWithError("no loopback server");
    for (auto _ : state) {
        const auto results = update::CheckAll(farm.Items(), update::HttpLimits{});
        CountFailures(state, results);
    }
}
BENCHMARK(BM_CheckAllEightAtATime)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

class Quiet final : public cli::Terminal {
public:
    void Out(std::string_view bytes) override { lines += static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')); }
    void Err(std::string_view) override {}
    std::optional<std::u16string> Variable(std::u16string_view) override { return std::nullopt; }
    std::optional<std::u16string> AskPassword(std::u16string_view) override { return std::nullopt; }
    int lines = 0;
};

void BM_CliCheck(benchmark::State& state) {
    PadFarm farm(kRecords, kDelayMs, CatalogPath());
    if (!farm.Ok()) state.SkipWithError("no loopback server");
    for (auto _ : state) {
        Quiet terminal;
        if (cli::RunCli({u"check", farm.CatalogPath(), u"--dry-run"}, terminal) != cli::kExitOk) {
            state.SkipWithError("check failed");
        }
        state.counters["lines"] = terminal.lines;
    }
}
BENCHMARK(BM_CliCheck)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_CheckOneAtATime(benchmark::State& state) {
    PadFarm farm(kRecords, kDelayMs, CatalogPath());
    if (!farm.Ok()) state.SkipWithError("no loopback server");
    for (auto _ : state) {
        const auto results = update::CheckAll(farm.Items(), update::HttpLimits{}, 1);
        CountFailures(state, results);
    }
}
BENCHMARK(BM_CheckOneAtATime)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
}  // namespace kodrin::bench
