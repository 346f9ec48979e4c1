// The reports' page layout over a measurer with fixed character widths:
// column fitting, row heights, page breaks and footers, labels two to a row,
// the collected and sorted applications, the page rectangles and the face.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/record.h"
#include "reports/report_choices.h"
#include "reports/report_layout.h"

namespace kodrin::reports {
namespace {

// Every character is half the font's height wide; a line is the height plus 2.
class FakeCanvas final : public ReportCanvas {
public:
    struct Op {
        char kind;  // 'T' text, 'L' line, 'P' picture
        Rect box;
        std::u16string text;
        unsigned flags;
        int page;
    };
    explicit FakeCanvas(PageMetrics m) : metrics(m) {}
    PageMetrics Metrics() override { return metrics; }
    int UseFont(int height) override {
        font = std::abs(height);
        return font + 2;
    }
    void UseDeviceFont() override { font = 20; }
    int TextWidth(std::u16string_view text) override { return static_cast<int>(text.size()) * (font / 2); }
    int DrawText(const Rect& box, std::u16string_view text, unsigned flags) override {
        ops.push_back({'T', box, std::u16string(text), flags, pages});
        if ((flags & kTextWordBreak) == 0) return font + 2;
        const std::size_t perLine = static_cast<std::size_t>(std::max(1, (box.right - box.left) / (font / 2)));
        int lines = 1;
        std::size_t used = 0;
        for (std::size_t start = 0; start < text.size();) {
            std::size_t end = text.find(u' ', start);
            if (end == std::u16string_view::npos) end = text.size();
            const std::size_t word = end - start;
            if (used > 0 && used + 1 + word > perLine) {
                ++lines;
                used = word;
            } else {
                used += (used > 0 ? 1 : 0) + word;
            }
            start = end + 1;
        }
        return lines * (font + 2);
    }
    void Line(int x1, int y1, int x2, int y2) override { ops.push_back({'L', {x1, y1, x2, y2}, {}, 0, pages}); }
    bool PictureSize(const std::vector<std::uint8_t>&, int& w, int& h) override {
        w = 96;
        h = 48;
        return true;
    }
    void DrawPicture(const std::vector<std::uint8_t>&, const Rect& box) override {
        ops.push_back({'P', box, {}, 0, pages});
    }
    bool BeginPage() override { return true; }
    bool EndPage() override { return ++pages > 0; }

    std::vector<Op> Texts(std::u16string_view prefix) const {
        std::vector<Op> found;
        for (const Op& op : ops) {
            if (op.kind == 'T' && op.text.starts_with(prefix)) found.push_back(op);
        }
        return found;
    }

    PageMetrics metrics;
    int font = 20;
    int pages = 0;
    std::vector<Op> ops;
};

// 100 dpi keeps the numbers small: Letter-sized printable area.
constexpr PageMetrics kPage{100, 100, 1100, 850, 100, 100};

ApplicationRecord App(std::u16string company, std::u16string program, std::u16string category = u"Tools") {
    ApplicationRecord r = NewRecord();
    r.company = std::move(company);
    r.program = std::move(program);
    r.categories = {std::move(category)};
    return r;
}

TEST(ReportLayout, ColumnsWiderThanTheRectangleNarrowTheWideOnesFirstThenScale) {
    struct Case {
        std::vector<int> widths;
        int available;
        std::vector<int> fitted;
    } const cases[] = {
        {{100, 200}, 400, {100, 200}},               // fits: unchanged
        {{250, 50, 50}, 300, {200, 50, 50}},         // the wide one gives just enough
        {{400, 400, 50}, 300, {100, 150, 50}},       // first to a third, the second gives the rest
        {{90, 90, 90, 90}, 300, {75, 75, 75, 75}},   // none wider than a third: all scale
        {{400, 400, 400, 400}, 300, {75, 75, 75, 75}},
        {{}, 300, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(FitColumns(c.widths, c.available), c.fitted) << c.widths.size();
}

TEST(ReportLayout, SummaryOfOneApplicationDrawsTitleCaptionsRuleRowInnerLinesAndPageOne) {
    Settings options;
    options.cols = {20, 27};  // Application, Version
    ApplicationRecord app = App(u"Acme", u"Anvil");
    app.version = u"2.1";
    FakeCanvas canvas(kPage);
    ASSERT_EQ(DrawSummaryReport(canvas, {{&app}, &options}), 1);
    const Rect box = SummaryRectangle(kPage);
    const int font = (1100 - 200) / 75, line = font + 2, top = box.top + 2 * line;
    ASSERT_EQ(canvas.Texts(u"Software Summary Report").size(), 1u);
    EXPECT_EQ(canvas.Texts(u"Software Summary Report")[0].flags, unsigned(kTextCenter));
    const int appColumn = 16 * (font / 2) + 12;  // "Application Name" (wider than "Anvil"), plus dpiX / 8
    EXPECT_EQ(canvas.Texts(u"Version")[0].box.left, box.left + appColumn);
    EXPECT_EQ(canvas.Texts(u"Version")[0].box.top, top);
    EXPECT_EQ(canvas.Texts(u"2.1")[0].box.top, top + 2 * line);
    EXPECT_EQ(canvas.Texts(u"2.1")[0].flags, unsigned(kTextWordBreak));
    std::vector<Rect> lines;
    for (const auto& op : canvas.ops) {
        if (op.kind == 'L') lines.push_back(op.box);
    }
    const int innerX = box.left + appColumn - 100 / 16;
    EXPECT_EQ(lines, (std::vector<Rect>{{box.left, top + line, box.right, top + line},
                                         {innerX, top, innerX, top + 3 * line}}));
    EXPECT_EQ(canvas.Texts(u"Page ")[0].text, u"Page 1");
    EXPECT_EQ(canvas.Texts(u"Page ")[0].flags, unsigned(kTextSingleLine | kTextBottom | kTextRight));
}

TEST(ReportLayout, SummaryRowsTakeTheTallestCellAndBreakPagesWithNumberedFooters) {
    Settings options;
    options.cols = {20, 8};  // Application, Description
    std::vector<ApplicationRecord> apps(60, App(u"Acme", u"Anvil"));
    apps[0].description = std::u16string(3000, u'w');  // long: the column narrows, then wraps
    for (int i = 0; i < 5; ++i) apps[0].description += u" word";
    std::vector<const ApplicationRecord*> input;
    for (const auto& app : apps) input.push_back(&app);
    FakeCanvas canvas(kPage);
    const int pages = DrawSummaryReport(canvas, {input, &options});

    const Rect box = SummaryRectangle(kPage);
    const int line = (1100 - 200) / 75 + 2;
    const auto rows = canvas.Texts(u"Anvil");
    ASSERT_EQ(rows.size(), 60u);
    FakeCanvas measure(kPage);
    measure.UseFont(-12);
    const auto first = canvas.Texts(u"www")[0];
    const int tallest = measure.DrawText(first.box, first.text, kTextWordBreak);
    ASSERT_GT(tallest, line);
    EXPECT_EQ(rows[1].box.top - rows[0].box.top, tallest + 100 / 16);
    // Oracle for the breaks: a page ends after the row that brings y + 2 lines to the bottom.
    int expectedPages = 0, y = 0;
    bool open = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!open) {
            open = true;
            y = box.top + 4 * line;
        }
        EXPECT_EQ(rows[i].box.top, y) << i;
        EXPECT_EQ(rows[i].page, expectedPages) << i;
        y += i == 0 ? tallest + 100 / 16 : line;
        if (y + 2 * line >= box.bottom) open = false, ++expectedPages;
    }
    expectedPages += open ? 1 : 0;
    ASSERT_GT(expectedPages, 1);
    EXPECT_EQ(pages, expectedPages);
    const auto footers = canvas.Texts(u"Page ");
    ASSERT_EQ(static_cast<int>(footers.size()), expectedPages);
    for (int p = 0; p < expectedPages; ++p) {
        EXPECT_EQ(footers[p].text, u"Page " + std::u16string(1, char16_t(u'1' + p)));
        EXPECT_EQ(footers[p].page, p);
        EXPECT_EQ(canvas.Texts(u"Software Summary Report")[p].page, p);
    }
}

TEST(ReportLayout, DetailPrintsOnePagePerApplicationCountingThePages) {
    Settings options;
    options.captions[0] = u"Seats";
    std::vector<ApplicationRecord> apps{App(u"A", u"One"), App(u"B", u"Two"), App(u"C", u"Three")};
    apps[1].custom1 = u"5";
    AddLoginField(apps[1], {u"pass", u"secret", 0, LoginFieldType::Password});
    apps[2].picture = {1};
    apps[0].picture = {1};  // below the bottom: no room, no picture
    for (int i = 0; i < 60; ++i) AddLoginField(apps[0], {u"f", u"v", 0, LoginFieldType::StandardInput});
    FakeCanvas canvas(kPage);
    ASSERT_EQ(DrawDetailReport(canvas, {{&apps[0], &apps[1], &apps[2]}, &options}), 3);
    const auto footers = canvas.Texts(u"Page ");
    ASSERT_EQ(footers.size(), 3u);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(footers[p].text, u"Page " + std::u16string(1, char16_t(u'1' + p)) + u" of 3");
        EXPECT_EQ(footers[p].page, p);
    }
    EXPECT_EQ(canvas.Texts(u"B - Two")[0].page, 1);
    const Rect box = PortraitRectangle(kPage);
    const int line = (850 - 200) / 55 + 2;
    // "Category" is the first row, one blank line below the title; the
    // user's caption follows four groups (39 rows and blanks) later.
    EXPECT_EQ(canvas.Texts(u"Category:")[0].box.top, box.top + line);
    EXPECT_EQ(canvas.Texts(u"Seats:")[1].box.top, box.top + 40 * line);
    EXPECT_EQ(canvas.Texts(u"pass: ")[0].box.top, box.top + 45 * line);
    EXPECT_EQ(canvas.Texts(u"secret")[0].box.left, canvas.Texts(u"5")[0].box.left);  // login values in clear
    const auto picture = std::find_if(canvas.ops.begin(), canvas.ops.end(), [](const auto& op) { return op.kind == 'P'; });
    ASSERT_NE(picture, canvas.ops.end());
    EXPECT_EQ(picture->page, 2);  // only the third application's
    EXPECT_EQ(picture->box.top, canvas.Texts(u"Comments:")[2].box.top + line);
    EXPECT_EQ(picture->box.right - picture->box.left, 96);  // same resolution as the screen
}

TEST(ReportLayout, LabelsGoTwoToARowTheOddLastOneLeft) {
    Settings options;
    options.reportLabels = {3, 20, 49, 0};  // company, application, none, categories
    options.reportSize = {16, 12, 12, 10};
    std::vector<ApplicationRecord> apps;
    for (char16_t c = u'A'; c <= u'E'; ++c) apps.push_back(App(std::u16string(1, c) + u"1", u"P", u"Cat"));
    std::vector<const ApplicationRecord*> input;
    for (const auto& app : apps) input.push_back(&app);
    FakeCanvas canvas(kPage);
    EXPECT_EQ(DrawLabels(canvas, {input, &options}), 1);
    const Rect box = PortraitRectangle(kPage);
    const int l1 = 100 * 16 / 72 + 2, l2 = 100 * 12 / 72 + 2, l4 = 100 * 10 / 72 + 2;
    const int middle = box.left + (box.right - box.left) / 2;
    for (int i = 0; i < 5; ++i) {
        const auto op = canvas.Texts(std::u16string(1, char16_t(u'A' + i)) + u"1")[0];
        EXPECT_EQ(op.box.left, i % 2 == 0 ? box.left : middle) << i;
        EXPECT_EQ(op.box.top, box.top + (i / 2) * (l1 + l2 + l4 + l1)) << i;
        EXPECT_EQ(op.box.right, box.right);
    }
    EXPECT_EQ(canvas.Texts(u"Cat").size(), 5u);  // line 4: the categories
    options.reportLabels = {49, 49, 49, 49};
    FakeCanvas none(kPage);
    EXPECT_EQ(DrawLabels(none, {input, &options}), 0);
    EXPECT_TRUE(none.ops.empty());
}

TEST(ReportLayout, SelectedWithNoSelectionPrintsOnlyTheSummarysPageNumber) {
    Catalog catalog;
    AddRecord(catalog, App(u"A", u"One"), false);
    const auto nothing = CollectApplications(catalog, false, u"<All>", {}, 3);
    EXPECT_TRUE(nothing.empty());
    Settings options;
    options.cols = {20};
    options.reportLabels = {3, 49, 49, 49};
    FakeCanvas canvas(kPage);
    EXPECT_EQ(DrawReport(canvas, kReportSummary, {nothing, &options}), 1);
    ASSERT_EQ(canvas.ops.size(), 1u);
    EXPECT_EQ(canvas.ops[0].text, u"Page 1");
    FakeCanvas empty(kPage);
    EXPECT_EQ(DrawReport(empty, kReportDetail, {nothing, &options}) + DrawReport(empty, kReportLabels, {nothing, &options}), 0);
    EXPECT_TRUE(empty.ops.empty());
}

TEST(ReportLayout, CollectsByCategoryOrSelectionAndSortsStably) {
    Catalog catalog;
    AddRecord(catalog, App(u"b", u"1", u"Tools"), false);
    AddRecord(catalog, App(u"a", u"2", u"Games"), false);
    AddRecord(catalog, App(u"a", u"3", u"Tools"), false);
    AddRecord(catalog, App(u"c", u"4", u"Art"), false);
    auto programs = [](const std::vector<const ApplicationRecord*>& list) {
        std::u16string out;
        for (const ApplicationRecord* r : list) out += r->program;
        return out;
    };
    const std::vector<std::int32_t> ids{catalog.records[3].recordId, 999, catalog.records[0].recordId};
    EXPECT_EQ(programs(CollectApplications(catalog, true, u"Tools", {}, 49)), u"13");
    EXPECT_EQ(programs(CollectApplications(catalog, true, u"<All>", {}, 3)), u"2314");  // company, stable
    EXPECT_EQ(programs(CollectApplications(catalog, true, u"", {}, 0)), u"4213");      // by categories
    EXPECT_EQ(programs(CollectApplications(catalog, false, u"Tools", ids, 49)), u"41");  // list order, no category test
}

TEST(ReportLayout, RectanglesStayInsideThePrintableAreaAndTheFaceFallsBack) {
    struct Case {
        PageMetrics page;
        Rect summary, portrait;
    } const cases[] = {
        {{300, 300, 2329, 3358, 96, 96}, {150, 150, 2179, 2400}, {150, 150, 2179, 3150}},  // A4 at 300 dpi
        {{300, 300, 3358, 2329, 96, 96}, {150, 150, 3150, 2179}, {150, 150, 2400, 2179}},  // A4 landscape
        {{100, 100, 850, 1100, 96, 96}, {50, 50, 800, 800}, {50, 50, 800, 1050}},          // Letter, whole sheet
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SummaryRectangle(c.page), c.summary) << c.page.width;
        EXPECT_EQ(PortraitRectangle(c.page), c.portrait) << c.page.width;
    }
    const std::vector<std::u16string> wine{u"Tahoma", u"DejaVu Serif", u"Marlett", u"arial"};
    EXPECT_EQ(ReportFace(u"tahoma", wine), u"tahoma");
    EXPECT_EQ(ReportFace(u"Times New Roman", wine), u"DejaVu Serif");
    EXPECT_EQ(ReportFace(u"Times New Roman", {u"Marlett"}), u"");
    const auto choices = FieldChoices();
    ASSERT_EQ(choices.size(), 50u);
    EXPECT_EQ(choices[0].text, u"-- None --");
    EXPECT_EQ(choices[0].value, 49u);
    EXPECT_EQ(choices[1].text, u"Category");
    EXPECT_EQ(choices[1].value, 0u);
    EXPECT_EQ(choices[2].text, u"Category");  // id 1: the list drops it
    EXPECT_EQ(choices[49].text, u"");          // id 48 has no caption
    EXPECT_EQ(SizeChoices()[1].text, u"12 pt");
}

}  // namespace
}  // namespace kodrin::reports
