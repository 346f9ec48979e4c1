// The reports drawn into metafiles under Wine, as the print preview draws
// them: a Summary Report of 1,000 applications (landscape) and a Detail
// Report of 1,000 pages, with the PostScript printer's metrics. Prints the
// best and the mean of the runs for each, in milliseconds.
//
//   record_reports.exe [RUNS]    (default 5)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "reports/win32/gdi_canvas.h"
#include "support/win32/postscript_printer.h"
#include "synthetic.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    using namespace kodrin;
    const int runs = argc > 1 ? std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10))) : 5;
    std::vector<BYTE> mode = test::PostScriptDevMode();
    HDC printer = test::CreatePostScriptDC(mode.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(mode.data()));
    if (printer == nullptr || mode.empty()) {
        std::fprintf(stderr, "no PostScript printer\n");
        return 1;
    }
    const Catalog catalog = bench::MakeCatalog(1000);
    Settings options;
    options.cols = {3, 20, 27, 8, 21, 24};
    reports::ReportInput input{{}, &options};
    for (const auto& record : catalog.records) input.applications.push_back(&record);
    const std::u16string face = reports::ReportFaceFor(u"Times New Roman");

    struct Case {
        const char* name;
        std::uint32_t type;
    } const cases[] = {{"summary of 1,000 applications", kReportSummary},
                       {"detail report of 1,000 pages", kReportDetail}};
    for (const Case& c : cases) {
        std::vector<BYTE> pageMode = mode;
        if (c.type == kReportSummary) {
            reports::ResetToLandscape(printer, *reinterpret_cast<DEVMODEW*>(pageMode.data()));
        } else {
            ::ResetDCW(printer, reinterpret_cast<DEVMODEW*>(pageMode.data()));
        }
        double best = 1e300, total = 0;
        std::size_t pages = 0;
        for (int run = 0; run < runs; ++run) {
            LARGE_INTEGER start, end;
            ::QueryPerformanceCounter(&start);
            const auto metafiles = reports::RecordReport(printer, c.type, input, face);
            ::QueryPerformanceCounter(&end);
            pages = metafiles.size();
            const double ms = Milliseconds(start, end);
            best = std::min(best, ms);
            total += ms;
        }
        std::printf("%-32s %5zu pages  best %8.1f ms  mean %8.1f ms  (%d runs)\n", c.name, pages, best,
                    total / runs, runs);
    }
    ::DeleteDC(printer);
    return 0;
}
