// The printed reports' page layout: the Summary Report (one table row per
// application), the Detail Report (one page per application) and the Software
// Labels (two to a row). The layout is geometry over measured text; it draws
// through ReportCanvas, which the printer, the preview's metafiles and the
// tests' fixed-width measurer implement alike.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"

namespace kodrin::reports {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
};

// What the layout needs to know of the device, in device pixels.
struct PageMetrics {
    int dpiX = 300;        // LOGPIXELSX
    int dpiY = 300;        // LOGPIXELSY
    int width = 2400;      // HORZRES: the printable area's width
    int height = 3300;     // VERTRES: the printable area's height
    int screenDpiX = 96;   // the screen's LOGPIXELSX (pictures keep their screen size)
    int screenDpiY = 96;
};

// Text drawing flags; they map one to one onto DrawTextW's.
enum TextFlags : unsigned {
    kTextLeft = 0,
    kTextCenter = 1u << 0,
    kTextRight = 1u << 1,
    kTextWordBreak = 1u << 2,   // with word ellipsis
    kTextSingleLine = 1u << 3,
    kTextBottom = 1u << 4,      // with kTextSingleLine
};

class ReportCanvas {
public:
    virtual ~ReportCanvas() = default;
    virtual PageMetrics Metrics() = 0;
    // Selects the report font at the given height (negative: character
    // height); the answer is its line height (text height plus leading).
    virtual int UseFont(int height) = 0;
    // Selects the device's own font (the one a fresh device context has).
    virtual void UseDeviceFont() = 0;
    // Width of the text on one line in the selected font.
    virtual int TextWidth(std::u16string_view text) = 0;
    // Draws the text in the rectangle; the height of the drawn text.
    virtual int DrawText(const Rect& box, std::u16string_view text, unsigned flags) = 0;
    // A line in the report pen (2 pixels wide, solid black).
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // The pixel size of a picture file's image; false when it does not decode.
    virtual bool PictureSize(const std::vector<std::uint8_t>& picture, int& width, int& height) = 0;
    virtual void DrawPicture(const std::vector<std::uint8_t>& picture, const Rect& box) = 0;
    // Pages: false from BeginPage or EndPage stops the report.
    virtual bool BeginPage() = 0;
    virtual bool EndPage() = 0;
};

// What a report shows: the applications in print order and the options that
// shape it (COLS, CAPTION1..3, REPORTLABELS, REPORTSIZE, SHOWPASSWORDS).
struct ReportInput {
    std::vector<const ApplicationRecord*> applications;
    const Settings* options = nullptr;
};

// The rectangles of the pages: half-inch margins, the summary at most
// 10.5 x 8 inches and the others at most 8 x 10.5, each cut to the
// printable area less the half-inch margin on its right and bottom, so that
// nothing falls outside the paper (A4 is narrower than Letter).
Rect SummaryRectangle(const PageMetrics& page);
Rect PortraitRectangle(const PageMetrics& page);

// The summary's column widths fitted into the width: a column wider than a
// third of it narrows first (in order, until the sum fits); then, if the
// sum is still not below the width, every column scales to fit.
std::vector<int> FitColumns(std::vector<int> widths, int available);

// The three reports. Each returns the number of pages ended.
int DrawSummaryReport(ReportCanvas& canvas, const ReportInput& input);
int DrawDetailReport(ReportCanvas& canvas, const ReportInput& input);
int DrawLabels(ReportCanvas& canvas, const ReportInput& input);
// The report of a REPORTTYPE value (2017 summary, 2008 detail, 2010 labels;
// any other value is the summary).
int DrawReport(ReportCanvas& canvas, std::uint32_t reportType, const ReportInput& input);

}  // namespace kodrin::reports
