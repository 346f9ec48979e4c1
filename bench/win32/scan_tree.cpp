// The scan's speed under Windows (run under Wine here by bench/scan_tree.sh):
// the whole scan job (filter list, counting pass, scanning pass, each file
// read and classified, each record added) against a bare two-pass walk of
// the same tree with FindFirstFileW that reads each program file's version
// resource once. Prints the figures of each run and the best of each.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/settings.h"
#include "discovery/scan.h"
#include "discovery/scan_system.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// The bare walk: the same enumerations as the scan (counting: "*.*";
// scanning: "*.exe" then "*.*"), reading each version resource once.
struct BareWalk {
    std::size_t folders = 0;
    std::size_t files = 0;
    std::vector<unsigned char> buffer;

    void Walk(const std::wstring& folder, bool scanning) {
        WIN32_FIND_DATAW found{};
        if (scanning) {
            HANDLE search = ::FindFirstFileW((folder + L"\\*.exe").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                do {
                    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                    const std::wstring path = folder + L"\\" + found.cFileName;
                    DWORD ignored = 0;
                    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
                    if (size != 0) {
                        buffer.resize(size);
                        ::GetFileVersionInfoW(path.c_str(), 0, size, buffer.data());
                    }
                    ++files;
                } while (::FindNextFileW(search, &found));
                ::FindClose(search);
            }
        }
        std::vector<std::wstring> subfolders;
        HANDLE search = ::FindFirstFileW((folder + L"\\*.*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::wcscmp(found.cFileName, L".") != 0 &&
                std::wcscmp(found.cFileName, L"..") != 0) {
                subfolders.push_back(folder + L"\\" + found.cFileName);
            }
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
        for (const std::wstring& sub : subfolders) {
            ++folders;
            Walk(sub, scanning);
        }
    }
};

// Notes when the walk starts (after the filter list) and when the counting
// pass ends (the bar at 20 once the walk has begun).
class Timing final : public kodrin::discovery::ScanProgress {
public:
    void SetText(int id) override {
        if (id == kodrin::discovery::kStrSearchingForApplications && !walking) {
            walking = true;
            walkAt = Clock::now();
        }
    }
    void SetProgress(int percent) override {
        if (walking && percent == 20 && !counted) {
            counted = true;
            countedAt = Clock::now();
        }
    }
    bool Cancelled() const override { return false; }
    Clock::time_point walkAt;
    Clock::time_point countedAt;
    bool walking = false;
    bool counted = false;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: scan_tree_bench TREE [RUNS]\n");
        return 2;
    }
    const std::wstring tree = argv[1];
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 3;
    const std::u16string start(reinterpret_cast<const char16_t*>(tree.c_str()));

    std::vector<double> bare, scan, counting, listLoad;
    std::size_t files = 0, folders = 0, records = 0;
    for (int run = 0; run < runs; ++run) {
        BareWalk walk;
        const auto b0 = Clock::now();
        walk.Walk(tree, false);
        walk.folders = 0;
        walk.Walk(tree, true);
        bare.push_back(Seconds(b0, Clock::now()));
        folders = walk.folders;

        kodrin::Settings settings = kodrin::NewSettings();
        kodrin::Catalog catalog;
        catalog.options = &settings;
        kodrin::discovery::NoGate gate;
        kodrin::discovery::ScanCatalog target(catalog, gate);
        Timing timing;
        const auto system = kodrin::discovery::SystemScanFolders();
        kodrin::discovery::ScanJob job(*system, kodrin::discovery::SystemProgramReader(settings), target, timing);
        const auto s0 = Clock::now();
        job.Run({start, u"CD", true}, kodrin::discovery::BuiltInFilterList(), u"");
        const auto s1 = Clock::now();
        scan.push_back(Seconds(s0, s1));
        counting.push_back(Seconds(timing.walkAt, timing.countedAt) / Seconds(s0, s1));
        listLoad.push_back(Seconds(s0, timing.walkAt));
        files = job.filesRead;
        records = catalog.records.size();
        std::printf("run %d: bare walk %.3f s, scan %.3f s (filter list %.3f s, counting pass %.1f%%), ratio %.2f\n",
                    run + 1, bare.back(), scan.back(), listLoad.back(), 100 * counting.back(), scan.back() / bare.back());
    }
    const double bestBare = *std::min_element(bare.begin(), bare.end());
    const double bestScan = *std::min_element(scan.begin(), scan.end());
    std::printf("tree: %zu folders, %zu program files read, %zu records\n", folders, files, records);
    std::printf("best: bare walk %.3f s, scan %.3f s, %.0f program files/s, counting pass %.1f%% of the scan, "
                "ratio %.2f\n",
                bestBare, bestScan, files / bestScan, 100 * *std::min_element(counting.begin(), counting.end()),
                bestScan / bestBare);
    return 0;
}
