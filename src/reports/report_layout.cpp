#include "reports/report_layout.h"

#include <algorithm>
#include <array>

#include "catalog/record.h"
#include "catalog/strings.h"

namespace kodrin::reports {
namespace {

constexpr int kStrCategory = 4205;
constexpr int kStrOf = 4502;
constexpr int kStrPage = 4503;
constexpr int kStrSummaryTitle = 4505;
constexpr int kStrLoginData = 6000;
constexpr int kStrComments = 6002;

// In reports the value 0 stands for the application's categories.
int ReportField(int fieldId) { return fieldId == 0 ? fields::Category : fieldId; }

const Settings& Options(const ReportInput& input) {
    static const Settings defaults;
    return input.options != nullptr ? *input.options : defaults;
}

std::u16string Number(long long value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

void DrawFooter(ReportCanvas& canvas, const Rect& box, const std::u16string& text) {
    canvas.DrawText(box, text, kTextSingleLine | kTextBottom | kTextRight);
}

}  // namespace

Rect SummaryRectangle(const PageMetrics& page) {
    return {page.dpiX / 2, page.dpiY / 2, std::min(page.dpiX * 21 / 2, page.width - page.dpiX / 2),
            std::min(page.dpiY * 8, page.height - page.dpiY / 2)};
}

Rect PortraitRectangle(const PageMetrics& page) {
    return {page.dpiX / 2, page.dpiY / 2, std::min(page.dpiX * 8, page.width - page.dpiX / 2),
            std::min(page.dpiY * 21 / 2, page.height - page.dpiY / 2)};
}

std::vector<int> FitColumns(std::vector<int> widths, int available) {
    long long sum = 0;
    for (int width : widths) sum += width;
    const int third = available / 3;
    for (int& width : widths) {
        if (sum <= available) break;
        if (width <= third) continue;
        if (sum - (width - third) > available) {
            sum -= width - third;
            width = third;
        } else {
            width -= static_cast<int>(sum - available);
            sum = available;
        }
    }
    if (sum >= available && sum > 0) {
        for (int& width : widths) width = static_cast<int>(static_cast<long long>(width) * available / sum);
    }
    return widths;
}

int DrawSummaryReport(ReportCanvas& canvas, const ReportInput& input) {
    const Settings& options = Options(input);
    const PageMetrics page = canvas.Metrics();
    const Rect box = SummaryRectangle(page);
    const int line = canvas.UseFont((page.width - 2 * page.dpiX) / -75);

    struct Column {
        int field;
        std::u16string caption;
        int width;
    };
    std::vector<Column> columns;
    std::u16string text;
    for (std::uint8_t id : options.cols) {
        Column column{ReportField(id), id == 0 ? LoadText(kStrCategory) : FieldCaption(id), 0};
        column.width = canvas.TextWidth(column.caption) + page.dpiX / 8;
        for (const ApplicationRecord* record : input.applications) {
            text.clear();
            AppendFieldText(text, options, *record, column.field, false);
            column.width = std::max(column.width, canvas.TextWidth(text) + page.dpiX / 8);
        }
        columns.push_back(std::move(column));
    }
    std::vector<int> widths;
    for (const Column& column : columns) widths.push_back(column.width);
    widths = FitColumns(std::move(widths), box.right - box.left);
    std::vector<int> starts;
    int x = box.left;
    for (int width : widths) {
        starts.push_back(x);
        x += width;
    }

    int pages = 0;
    bool open = false;
    int y = box.top;
    int tableTop = box.top;
    const std::u16string pageText = LoadText(kStrPage);
    if (input.applications.empty()) {
        if (!canvas.BeginPage()) return 0;
        DrawFooter(canvas, box, pageText + u"1");
        canvas.EndPage();
        return 1;
    }
    for (const ApplicationRecord* record : input.applications) {
        if (!open) {
            if (!canvas.BeginPage()) return pages;
            open = true;
            canvas.DrawText(box, LoadText(kStrSummaryTitle), kTextCenter);
            y = box.top + 2 * line;
            tableTop = y;
            for (std::size_t i = 0; i < columns.size(); ++i) {
                canvas.DrawText({starts[i], y, starts[i] + widths[i], box.bottom}, columns[i].caption, kTextLeft);
            }
            y += line;
            canvas.Line(box.left, y, box.right, y);
            y += line;
        }
        int rowHeight = line;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            text.clear();
            AppendFieldText(text, options, *record, columns[i].field, false);
            const int drawn = canvas.DrawText({starts[i], y, starts[i] + widths[i] - page.dpiX / 16, box.bottom}, text,
                                              kTextWordBreak);
            if (drawn > rowHeight) rowHeight = drawn + page.dpiY / 16;
        }
        y += rowHeight;
        if (y + 2 * line >= box.bottom) {
            for (std::size_t i = 0; i < columns.size(); ++i) {
                canvas.Line(starts[i] + widths[i], tableTop, starts[i] + widths[i], y);
            }
            DrawFooter(canvas, box, pageText + Number(pages + 1));
            open = false;
            ++pages;
            if (!canvas.EndPage()) return pages;
        }
    }
    if (open) {
        for (std::size_t i = 0; i + 1 < columns.size(); ++i) {
            const int boundary = starts[i] + widths[i] - page.dpiX / 16;
            canvas.Line(boundary, tableTop, boundary, y);
        }
        DrawFooter(canvas, box, pageText + Number(pages + 1));
        ++pages;
        canvas.EndPage();
    }
    return pages;
}

namespace {

// The detail report's rows: a caption string and its field, or a blank line.
// Group five (the user's captions) and the login data are drawn apart.
constexpr int kBlank = -1;
constexpr std::array kDetailRows{
    fields::Category, fields::PadFile, fields::Path, fields::Description, fields::Version, fields::InstallDate,
    fields::InstallFile, fields::SupportPage, fields::Email, fields::SupportPhone, fields::SupportAddress,
    FieldId(kBlank),
    fields::HomePage, fields::LoginPage, fields::UpgradePage, fields::AutoLogin, fields::AutoRemove,
    fields::PurchaseDate, fields::PurchasePrice, fields::OriginalMedia, fields::LicenseType, fields::PaymentMethod,
    fields::DiskCount,
    FieldId(kBlank),
    fields::DateLastChecked, fields::LatestVersion, fields::ReleasedDate, fields::UpgradePrice, fields::AutoUpdate,
    fields::Hide,
    FieldId(kBlank),
    fields::UserName, fields::Organization, fields::SerialNumber, fields::RegistrationEmail,
    fields::RegistrationExpire, fields::RegistrationType, fields::RegistrationKey,
    FieldId(kBlank),
};

}  // namespace

int DrawDetailReport(ReportCanvas& canvas, const ReportInput& input) {
    const Settings& options = Options(input);
    const PageMetrics page = canvas.Metrics();
    canvas.UseDeviceFont();
    int captionWidth = 0;
    for (int id = 0; id < 50; ++id) captionWidth = std::max(captionWidth, canvas.TextWidth(LoadText(kFieldCaptionBase + id)));
    captionWidth = captionWidth * 10 / 9;
    const Rect box = PortraitRectangle(page);
    const int line = canvas.UseFont((page.height - 2 * page.dpiY) / -55);
    const int valueLeft = box.left + captionWidth + box.left / 4;

    const std::u16string pageText = LoadText(kStrPage);
    const std::u16string ofText = LoadText(kStrOf) + Number(static_cast<long long>(input.applications.size()));
    int pages = 0;
    int y = 0;
    auto row = [&](const std::u16string& caption, const std::u16string& value) {
        y += line;
        canvas.DrawText({box.left, y, box.left + captionWidth, box.bottom}, caption, kTextRight);
        canvas.DrawText({valueLeft, y, box.right, box.bottom}, value, kTextLeft);
    };
    for (const ApplicationRecord* record : input.applications) {
        if (!canvas.BeginPage()) return pages;
        canvas.DrawText(box, record->company + u" - " + record->program, kTextCenter);
        y = box.top;
        for (FieldId id : kDetailRows) {
            if (id == kBlank) {
                y += line;
                continue;
            }
            row(LoadText(kFieldCaptionBase + id) + u":", FieldText(options, *record, id, false));
        }
        const std::array<const std::u16string*, 3> customs{&record->custom1, &record->custom2, &record->custom3};
        for (std::size_t i = 0; i < customs.size(); ++i) row(options.captions[i] + u":", *customs[i]);
        y += line;
        row(LoadText(kStrLoginData) + u":", u"");
        for (const LoginField& field : record->loginData) row(field.name + u": ", field.value);
        y += 2 * line;
        row(LoadText(kStrComments) + u":", record->comments);
        y += line;
        int width = 0;
        int height = 0;
        if (!record->picture.empty() && canvas.PictureSize(record->picture, width, height) && page.screenDpiX > 0 &&
            page.screenDpiY > 0) {
            long long w = static_cast<long long>(width) * page.dpiX / page.screenDpiX;
            long long h = static_cast<long long>(height) * page.dpiY / page.screenDpiY;
            const long long room = box.bottom - y;
            if (h > room) {
                w = h > 0 ? w * std::max(room, 0LL) / h : 0;
                h = room;
            }
            if (w > 0 && h > 0) {
                const int left = box.left / 4 + captionWidth;
                canvas.DrawPicture(record->picture, {left, y, left + static_cast<int>(w), y + static_cast<int>(h)});
            }
        }
        DrawFooter(canvas, box, pageText + Number(pages + 1) + ofText);
        ++pages;
        if (!canvas.EndPage()) return pages;
    }
    return pages;
}

int DrawLabels(ReportCanvas& canvas, const ReportInput& input) {
    const Settings& options = Options(input);
    const PageMetrics page = canvas.Metrics();
    const Rect box = PortraitRectangle(page);
    struct LabelLine {
        int field;
        int fontHeight;
        int lineHeight;
    };
    std::vector<LabelLine> lines;
    int firstLineHeight = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const int field = i < options.reportLabels.size() ? options.reportLabels[i] : kNoField;
        const int points = i < options.reportSize.size() ? options.reportSize[i] : 12;
        const int fontHeight = page.dpiY * points / -72;
        if (i == 0) firstLineHeight = canvas.UseFont(fontHeight);
        if (field < 0 || field >= kNoField) continue;
        lines.push_back({ReportField(field), fontHeight, canvas.UseFont(fontHeight)});
    }
    if (lines.empty() || input.applications.empty()) return 0;
    int labelHeight = 0;
    for (const LabelLine& label : lines) labelHeight += label.lineHeight;
    const int middle = box.left + (box.right - box.left) / 2;

    int pages = 0;
    bool open = false;
    int y = box.top;
    std::u16string text;
    for (std::size_t i = 0; i < input.applications.size(); i += 2) {
        if (!open) {
            if (!canvas.BeginPage()) return pages;
            open = true;
            y = box.top;
        }
        for (std::size_t side = 0; side < 2 && i + side < input.applications.size(); ++side) {
            const int x = side == 0 ? box.left : middle;
            int lineTop = y;
            for (const LabelLine& label : lines) {
                canvas.UseFont(label.fontHeight);
                text.clear();
                AppendFieldText(text, options, *input.applications[i + side], label.field, false);
                canvas.DrawText({x, lineTop, box.right, lineTop + label.lineHeight}, text, kTextLeft | kTextSingleLine);
                lineTop += label.lineHeight;
            }
        }
        y += labelHeight + firstLineHeight;
        if (y + labelHeight >= box.bottom) {
            open = false;
            ++pages;
            if (!canvas.EndPage()) return pages;
        }
    }
    if (open) {
        ++pages;
        canvas.EndPage();
    }
    return pages;
}

int DrawReport(ReportCanvas& canvas, std::uint32_t reportType, const ReportInput& input) {
    if (reportType == kReportDetail) return DrawDetailReport(canvas, input);
    if (reportType == kReportLabels) return DrawLabels(canvas, input);
    return DrawSummaryReport(canvas, input);
}

}  // namespace kodrin::reports
