// The print command: the report dialog (template 2000, "Kodrin Reporting"),
// its print preview, the common print dialog and the printing of the chosen
// report on the chosen printer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "reports/win32/gdi_canvas.h"

namespace QvLibrary {
class QvApp;
}

namespace kodrin::app {

// What the report dialog decides: the options with the REPORT* keys as
// chosen, and the chosen category (not written back to CURCATEGORY).
struct ReportRequest {
    Settings options;
    std::u16string category;
};

// A printer's device context with its device mode, owned.
struct ChosenPrinter {
    QvLibrary::MemoryDC dc;       // deleted with DeleteDC
    std::vector<BYTE> mode;       // DEVMODEW with the driver's part; may be empty
};

// How the print command reaches the printer; tests put a file printer here.
struct PrintServices {
    // The common print dialog (PD_RETURNDC, one copy, copies left to the
    // driver); false when cancelled.
    std::function<bool(HWND owner, ChosenPrinter& printer)> choosePrinter;
    // The default printer for the preview's metrics; false when there is none.
    std::function<bool(ChosenPrinter& printer)> defaultPrinter;
    // Where the job goes: a file, or empty for the printer's port.
    std::u16string output;
};
PrintServices SystemPrintServices();

// The applications and options the request prints.
std::vector<const ApplicationRecord*> RequestedApplications(const Catalog& catalog, const ReportRequest& request,
                                                            const std::vector<std::int32_t>& selectedIds);

// Dialog 2000 over the request; true on OK (the request then holds the
// choices). Its Print Preview button shows the pages drawn with the default
// printer's metrics; printing from the preview ends the dialog as OK does.
bool RunReportDialog(const QvLibrary::QvApp& app, HWND owner, const Catalog& catalog, ReportRequest& request,
                     const std::vector<std::int32_t>& selectedIds, const PrintServices& services);

// The print command: the dialog, then (on OK) storeOptions with the chosen
// options, the print dialog and the report. The pages printed, or -1 when
// nothing was printed (cancelled, or the document did not start).
int RunPrintCommand(const QvLibrary::QvApp& app, HWND owner, const Catalog& catalog, const Settings& settings,
                    const std::u16string& currentCategory, const std::vector<std::int32_t>& selectedIds,
                    const std::function<void(const Settings&)>& storeOptions, const PrintServices& services);

// The print preview: a modal window over owner showing the pages zoomed to
// fit, paged with Page Up and Page Down or its buttons. True when the user
// chose to print from it. reference: the device the pages were drawn for.
bool ShowPrintPreview(const QvLibrary::QvApp& app, HWND owner, const std::vector<reports::Metafile>& pages,
                      HDC reference);

// The preview window's class and its controls' ids (for tests).
inline constexpr wchar_t kPreviewClass[] = L"KodrinPrintPreview";
inline constexpr int kPreviewPrint = 101;
inline constexpr int kPreviewPrevious = 102;
inline constexpr int kPreviewNext = 103;
inline constexpr int kPreviewClose = 104;

}  // namespace kodrin::app
