// The reports' page layout over a measurer with fixed character widths:
// column fitting, row heights, page breaks and footers, labels two to a row,
// the collected and sorted applications, the rectangles and the face.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/record.h"
#include "reports/report_choices.h"
#include "reports/report_layout.h"

namespace kodrin::reports {
namespace {

// A character is half the font's height wide; a line is the height plus 2.
struct FakeCanvas final : ReportCanvas {
    struct Op {
        char kind;  // 'T' text, 'L' line, 'P' picture
        Rect box;
        std::u16string text;
        unsigned flags;
        int page;
    };
    PageMetrics Metrics() override { return {100, 100, 1100, 850, 100, 100}; }  // Letter at 100 dpi
    int UseFont(int height) override { return (font = std::abs(height)) + 2; }
    void UseDeviceFont() override { font = 20; }
    int TextWidth(std::u16string_view text) override { return static_cast<int>(text.size()) * (font / 2); }
    int DrawText(const Rect& box, std::u16string_view text, unsigned flags) override {
        ops.push_back({'T', box, std::u16string(text), flags, pages});
        int lines = 1, used = 0;  // greedy word wrap
        const int perLine = std::max(1, (box.right - box.left) / (font / 2));
        for (std::size_t start = 0; (flags & kTextWordBreak) && start < text.size();) {
            const std::size_t end = std::min(text.find(u' ', start), text.size());
            const int word = static_cast<int>(end - start);
            used = used > 0 && used + 1 + word > perLine ? (++lines, word) : used + (used > 0) + word;
            start = end + 1;
        }
        return lines * (font + 2);
    }
    void Line(int x1, int y1, int x2, int y2) override { ops.push_back({'L', {x1, y1, x2, y2}, {}, 0, pages}); }
    bool PictureSize(const std::vector<std::uint8_t>&, int& w, int& h) override { return w = 96, h = 48, true; }
    void DrawPicture(const std::vector<std::uint8_t>&, const Rect& box) override { ops.push_back({'P', box, {}, 0, pages}); }
    bool BeginPage() override { return true; }
    bool EndPage() override { return ++pages > 0; }
    std::vector<Op> Find(char kind, std::u16string_view prefix = {}) const {
        std::vector<Op> found;
        std::copy_if(ops.begin(), ops.end(), std::back_inserter(found),
                     [&](const Op& op) { return op.kind == kind && op.text.starts_with(prefix); });
        return found;
    }
    int font = 20, pages = 0;
    std::vector<Op> ops;
};
const PageMetrics kPage = FakeCanvas().Metrics();

std::vector<ApplicationRecord> Apps(int count, std::u16string category = u"Tools") {
    std::vector<ApplicationRecord> apps(count, NewRecord());
    for (int i = 0; i < count; ++i) {
        apps[i].company = std::u16string(1, char16_t(u'A' + i)) + u"1";
        apps[i].program = u"Anvil";
        apps[i].categories = {category};
    }
    return apps;
}
std::vector<const ApplicationRecord*> Pointers(const std::vector<ApplicationRecord>& apps) {
    std::vector<const ApplicationRecord*> pointers;
    for (const auto& app : apps) pointers.push_back(&app);
    return pointers;
}
std::u16string Digit(int n) { return std::u16string(1, char16_t(u'0' + n)); }

TEST(ReportLayout, ColumnsWiderThanTheRectangleNarrowTheWideOnesFirstThenScale) {
    struct Case {
        std::vector<int> widths;
        int available;
        std::vector<int> fitted;
    } const cases[] = {
        {{100, 200}, 400, {100, 200}},              // fits: unchanged
        {{250, 50, 50}, 300, {200, 50, 50}},        // the wide one gives just enough
        {{400, 400, 50}, 300, {100, 150, 50}},      // first to a third, the second gives the rest
        {{90, 90, 90, 90}, 300, {75, 75, 75, 75}},  // none wider than a third: all scale
        {{}, 300, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(FitColumns(c.widths, c.available), c.fitted) << c.widths.size();
}

TEST(ReportLayout, SummaryRowsTakeTheTallestCellAndBreakPagesWithNumberedFooters) {
    Settings options;
    options.cols = {20, 8};  // "Application Name", "Description"
    auto apps = Apps(60);
    apps[0].description = std::u16string(3000, u'w') + u" word word";  // too wide: narrows, then wraps
    FakeCanvas canvas;
    const int pages = DrawSummaryReport(canvas, {Pointers(apps), &options});
    const Rect box = SummaryRectangle(kPage);
    const int line = (1100 - 200) / 75 + 2, appColumn = 16 * 6 + 100 / 8;
    const auto rows = canvas.Find('T', u"Anvil");
    ASSERT_EQ(rows.size(), 60u);
    const auto wide = canvas.Find('T', u"www")[0];
    EXPECT_EQ(wide.box, (Rect{box.left + appColumn, rows[0].box.top, box.right - 100 / 16, box.bottom}));
    EXPECT_EQ(wide.flags, unsigned(kTextWordBreak));
    const int tallest = 2 * line;  // the long word, then "word word"
    // Oracle: a page ends after the row that brings y + 2 lines to the bottom.
    int expectedPages = 0, y = 0;
    bool open = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!open) open = true, y = box.top + 4 * line;
        EXPECT_EQ(rows[i].box.top, y) << i;
        EXPECT_EQ(rows[i].page, expectedPages) << i;
        y += i == 0 ? tallest + 100 / 16 : line;
        if (y + 2 * line >= box.bottom) open = false, ++expectedPages;
    }
    ASSERT_TRUE(open);
    EXPECT_EQ(pages, ++expectedPages);
    const auto footers = canvas.Find('T', u"Page ");
    const auto titles = canvas.Find('T', u"Software Summary Report");
    ASSERT_EQ(static_cast<int>(footers.size()), pages);
    ASSERT_EQ(static_cast<int>(titles.size()), pages);
    for (int p = 0; p < pages; ++p) {
        EXPECT_EQ(footers[p].text, u"Page " + Digit(p + 1));
        EXPECT_EQ(footers[p].flags, unsigned(kTextSingleLine | kTextBottom | kTextRight));
        EXPECT_EQ(titles[p].page, p);
        EXPECT_EQ(titles[p].flags, unsigned(kTextCenter));
        const auto captions = canvas.Find('T', u"Description");
        EXPECT_EQ(captions[p].box.top, box.top + 2 * line);
    }
    // A full page: the rule and a line at every column's right edge; the last
    // page: the rule and the inner line, each from the captions to the last row.
    const int tableTop = box.top + 2 * line, last = rows.back().box.top + line;
    std::vector<Rect> lastLines;
    for (const auto& op : canvas.Find('L')) {
        if (op.page == pages - 1) lastLines.push_back(op.box);
    }
    const int inner = box.left + appColumn - 100 / 16;
    EXPECT_EQ(lastLines, (std::vector<Rect>{{box.left, tableTop + line, box.right, tableTop + line},
                                             {inner, tableTop, inner, last}}));
    EXPECT_EQ(canvas.Find('L').size(), static_cast<std::size_t>(3 * (pages - 1) + 2));
}

TEST(ReportLayout, DetailPrintsOnePagePerApplicationCountingThePages) {
    Settings options;
    options.captions[0] = u"Seats";
    auto apps = Apps(3);
    AddLoginField(apps[1], {u"pass", u"secret", 0, LoginFieldType::Password});
    apps[2].picture = apps[0].picture = {1};
    for (int i = 0; i < 60; ++i) AddLoginField(apps[0], {u"f", u"v", 0, LoginFieldType::StandardInput});
    FakeCanvas canvas;
    ASSERT_EQ(DrawDetailReport(canvas, {Pointers(apps), &options}), 3);
    const auto footers = canvas.Find('T', u"Page ");
    ASSERT_EQ(footers.size(), 3u);
    for (int p = 0; p < 3; ++p) EXPECT_EQ(footers[p].text, u"Page " + Digit(p + 1) + u" of 3");
    EXPECT_EQ(canvas.Find('T', u"B1 - Anvil")[0].page, 1);
    const Rect box = PortraitRectangle(kPage);
    const int line = (850 - 200) / 55 + 2;
    // One blank line below the title, then 39 rows and blanks to the user's
    // captions, the login data and its fields (values in clear).
    EXPECT_EQ(canvas.Find('T', u"Category:")[0].box.top, box.top + line);
    EXPECT_EQ(canvas.Find('T', u"Seats:")[1].box.top, box.top + 40 * line);
    EXPECT_EQ(canvas.Find('T', u"pass: ")[0].box.top, box.top + 45 * line);
    EXPECT_EQ(canvas.Find('T', u"secret")[0].box.left, canvas.Find('T', u"Tools")[0].box.left);
    // The picture one line below the comments at screen size; none without room.
    const auto pictures = canvas.Find('P');
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].page, 2);
    EXPECT_EQ(pictures[0].box.top, canvas.Find('T', u"Comments:")[2].box.top + line);
    EXPECT_EQ(pictures[0].box.right - pictures[0].box.left, 96);
}

TEST(ReportLayout, LabelsGoTwoToARowTheOddLastOneLeft) {
    Settings options;
    options.reportLabels = {3, 20, 49, 0};  // company, application, none, categories
    options.reportSize = {16, 12, 12, 10};
    const auto apps = Apps(5, u"Cat");
    FakeCanvas canvas;
    EXPECT_EQ(DrawLabels(canvas, {Pointers(apps), &options}), 1);
    const Rect box = PortraitRectangle(kPage);
    const int l1 = 100 * 16 / 72 + 2, l2 = 100 * 12 / 72 + 2, l4 = 100 * 10 / 72 + 2;
    for (int i = 0; i < 5; ++i) {
        const int x = i % 2 == 0 ? box.left : box.left + (box.right - box.left) / 2;
        const int y = box.top + (i / 2) * (l1 + l2 + l4 + l1);
        EXPECT_EQ(canvas.Find('T', apps[i].company)[0].box, (Rect{x, y, box.right, y + l1})) << i;
        EXPECT_EQ(canvas.Find('T', u"Anvil")[i].box, (Rect{x, y + l1, box.right, y + l1 + l2})) << i;
    }
    EXPECT_EQ(canvas.Find('T', u"Cat").size(), 5u);
    options.reportLabels = {49, 49, 49, 49};
    FakeCanvas none;
    EXPECT_EQ(DrawLabels(none, {Pointers(apps), &options}), 0);
    EXPECT_TRUE(none.ops.empty());
}

TEST(ReportLayout, SelectedWithNoSelectionPrintsOnlyTheSummarysPageNumber) {
    Catalog catalog;
    AddRecord(catalog, Apps(1)[0], false);
    const auto nothing = CollectApplications(catalog, false, u"<All>", {}, 3);
    EXPECT_TRUE(nothing.empty());
    Settings options;
    options.cols = {20};
    FakeCanvas summary, others;
    EXPECT_EQ(DrawReport(summary, kReportSummary, {nothing, &options}), 1);
    ASSERT_EQ(summary.ops.size(), 1u);
    EXPECT_EQ(summary.ops[0].text, u"Page 1");
    EXPECT_EQ(DrawReport(others, kReportDetail, {nothing, &options}) + DrawReport(others, kReportLabels, {nothing, &options}), 0);
    EXPECT_TRUE(others.ops.empty());
}

TEST(ReportLayout, CollectsByCategoryOrSelectionAndSortsStably) {
    Catalog catalog;
    const std::pair<const char16_t*, const char16_t*> records[] = {{u"b", u"Tools"}, {u"a", u"Games"}, {u"a", u"Tools"}, {u"c", u"Art"}};
    for (const auto& [company, category] : records) {
        ApplicationRecord r = NewRecord();
        r.company = company;
        r.program = Digit(static_cast<int>(catalog.records.size()) + 1);
        r.categories = {category};
        AddRecord(catalog, r, false);
    }
    auto programs = [&](bool all, std::u16string_view category, std::vector<std::int32_t> ids, std::uint32_t sort) {
        std::u16string out;
        for (const auto* r : CollectApplications(catalog, all, category, ids, sort)) out += r->program;
        return out;
    };
    EXPECT_EQ(programs(true, u"Tools", {}, 49), u"13");
    EXPECT_EQ(programs(true, u"<All>", {}, 3), u"2314");  // by company, stable
    EXPECT_EQ(programs(true, u"", {}, 0), u"4213");       // "Category": by the categories' text
    EXPECT_EQ(programs(false, u"Tools", {catalog.records[3].recordId, 999, catalog.records[0].recordId}, 49), u"41");
}

TEST(ReportLayout, RectanglesStayInsideThePrintableAreaAndTheFaceFallsBack) {
    struct Case {
        PageMetrics page;
        Rect summary, portrait;
    } const cases[] = {
        {{300, 300, 2329, 3358, 96, 96}, {150, 150, 2179, 2400}, {150, 150, 2179, 3150}},  // A4 at 300 dpi
        {{300, 300, 3358, 2329, 96, 96}, {150, 150, 3150, 2179}, {150, 150, 2400, 2179}},  // A4 landscape
        {{100, 100, 850, 1100, 96, 96}, {50, 50, 800, 800}, {50, 50, 800, 1050}},          // Letter
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SummaryRectangle(c.page), c.summary) << c.page.width;
        EXPECT_EQ(PortraitRectangle(c.page), c.portrait) << c.page.width;
    }
    const std::vector<std::u16string> faces{u"Tahoma", u"DejaVu Serif", u"Marlett"};
    EXPECT_EQ(ReportFace(u"tahoma", faces), u"tahoma");
    EXPECT_EQ(ReportFace(u"Times New Roman", faces), u"DejaVu Serif");
    EXPECT_EQ(ReportFace(u"Times New Roman", {u"Marlett"}), u"");
    const auto choices = FieldChoices();
    ASSERT_EQ(choices.size(), 50u);
    EXPECT_EQ(choices[0].text + u"|" + choices[1].text + u"|" + choices[2].text + u"|" + choices[49].text,
              u"-- None --|Category|Category|");  // id 1 repeats "Category" (the list drops it); 48 is empty
    EXPECT_EQ(choices[0].value * 100 + choices[1].value, 4900u);
    EXPECT_EQ(SizeChoices()[1].text, u"12 pt");
}

}  // namespace
}  // namespace kodrin::reports
