// The reports' canvas over GDI: a printer's device context, or enhanced
// metafiles (one per page) recorded with a printer's metrics for the print
// preview. The preview and the printout come from the same drawing code.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "platform/image.h"
#include "reports/report_layout.h"

namespace kodrin::reports {

namespace detail {
inline bool DeleteMetafile(HENHMETAFILE metafile) { return ::DeleteEnhMetaFile(metafile) != FALSE; }
}  // namespace detail
using Metafile = QvLibrary::UniqueHandle<QvLibrary::HandleKind<HENHMETAFILE, 0, detail::DeleteMetafile>>;

// The face names the device context's fonts offer (each once).
std::vector<std::u16string> FontFaces(HDC dc);

// The report font's face on this system: the chosen one, or a fallback
// (ReportFace) when the screen's fonts lack it.
std::u16string ReportFaceFor(const std::u16string& chosen);

class GdiCanvas : public ReportCanvas {
public:
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    PageMetrics Metrics() override;
    int UseFont(int height) override;
    void UseDeviceFont() override;
    int TextWidth(std::u16string_view text) override;
    int DrawText(const Rect& box, std::u16string_view text, unsigned flags) override;
    void Line(int x1, int y1, int x2, int y2) override;
    bool PictureSize(const std::vector<std::uint8_t>& picture, int& width, int& height) override;
    void DrawPicture(const std::vector<std::uint8_t>& picture, const Rect& box) override;

protected:
    // device: the device context whose metrics the report uses and on which
    // text is measured; face: the font's face (see ReportFaceFor).
    GdiCanvas(HDC device, std::u16string face);
    // The page's device context from now on (null between pages); the
    // selected font and the pen are put into it.
    void DrawOn(HDC page);

private:
    HFONT FontOf(int height);
    bool Decode(const std::vector<std::uint8_t>& picture);

    HDC device_;
    HDC page_ = nullptr;
    std::u16string face_;
    std::map<int, QvLibrary::Font> fonts_;
    std::map<int, int> lineHeights_;
    HFONT current_ = nullptr;  // null: the device's own font
    HGDIOBJ deviceFont_ = nullptr;
    QvLibrary::GdiObject<HPEN> pen_;
    HGDIOBJ pageFont_ = nullptr;  // what the page's context held before
    HGDIOBJ pagePen_ = nullptr;
    const std::vector<std::uint8_t>* decodedFrom_ = nullptr;
    std::size_t decodedSize_ = 0;
    bool decodedOk_ = false;
    platform::Image decoded_;
};

// Draws on a printer's device context, between the caller's StartDocW and
// EndDoc: each page is StartPage ... EndPage, and a negative EndPage stops.
class PrinterCanvas final : public GdiCanvas {
public:
    PrinterCanvas(HDC printer, std::u16string face) : GdiCanvas(printer, std::move(face)), printer_(printer) {}
    bool BeginPage() override;
    bool EndPage() override;

private:
    HDC printer_;
};

// Records each page into an enhanced metafile with the reference device's
// metrics (a printer's information or device context).
class MetafileCanvas final : public GdiCanvas {
public:
    MetafileCanvas(HDC reference, std::u16string face) : GdiCanvas(reference, std::move(face)), reference_(reference) {}
    ~MetafileCanvas() override;
    bool BeginPage() override;
    bool EndPage() override;
    std::vector<Metafile> TakePages() { return std::move(pages_); }

private:
    HDC reference_;
    HDC recording_ = nullptr;
    std::vector<Metafile> pages_;
};

// Prints the report on the printer's device context as one document named
// "Kodrin Report" (output: a file to print to, or empty for the printer's
// port). Nothing is printed when StartDocW or the first StartPage fails.
// The number of pages printed; -1 when the document could not start.
int PrintReport(HDC printer, const std::u16string& output, std::uint32_t reportType, const ReportInput& input,
                const std::u16string& face);

// The report's pages as metafiles with the reference device's metrics.
std::vector<Metafile> RecordReport(HDC reference, std::uint32_t reportType, const ReportInput& input,
                                   const std::u16string& face);

}  // namespace kodrin::reports

namespace kodrin::reports {

// Turns the printer's device mode to landscape and resets its device
// context with it (the Summary Report's pages). False when the reset fails.
bool ResetToLandscape(HDC printer, DEVMODEW& mode);

}  // namespace kodrin::reports
