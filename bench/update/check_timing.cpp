// The update check's benchmark in the Windows build (run under Wine by
// bench/update_check.sh): 200 PAD files each answered after 200 ms, checked
// by Check All's checking (8 at a time) and by kodrin-cli check. Prints the
// seconds each took.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "cli/cli.h"
#include "update/pad_farm.h"

namespace {

class Quiet final : public kodrin::cli::Terminal {
public:
    void Out(std::string_view) override {}
    void Err(std::string_view) override {}
    std::optional<std::u16string> Variable(std::u16string_view) override { return std::nullopt; }
    std::optional<std::u16string> AskPassword(std::u16string_view) override { return std::nullopt; }
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int wmain() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::u16string path = reinterpret_cast<const char16_t*>(temp) + std::u16string(u"kodrin-bench-check.xml");
    kodrin::bench::PadFarm farm(200, 200, path);
    if (!farm.Ok()) return 1;
    auto start = std::chrono::steady_clock::now();
    const auto results = kodrin::update::CheckAll(farm.Items(), kodrin::update::HttpLimits{});
    const double all = Seconds(start);
    const auto counts = kodrin::update::CountOutcomes(results);
    std::printf("CheckAll, 8 at a time: %.2f s (%zu newer, %zu current, %zu failed)\n", all, counts.newer,
                counts.current, counts.failed);
    Quiet terminal;
    start = std::chrono::steady_clock::now();
    const int status = kodrin::cli::RunCli({u"check", path, u"--dry-run"}, terminal);
    std::printf("kodrin-cli check --dry-run: %.2f s (exit %d)\n", Seconds(start), status);
    ::DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
    return 0;
}
