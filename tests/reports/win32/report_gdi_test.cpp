// The reports drawn by GDI: each page recorded into an enhanced metafile with
// the PostScript printer's metrics and read back record by record (texts and
// where they stand, lines, pictures), and one real print through
// Wine's PostScript driver into a file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "catalog/record.h"
#include "platform/image.h"
#include "reports/win32/gdi_canvas.h"
#include "support/temp_folder.h"
#include "support/win32/postscript_printer.h"

namespace kodrin::reports {
namespace {

struct Text {
    std::u16string text;
    POINTL at;
    RECTL clip;
    bool clipped;
};
struct Page {
    std::vector<Text> texts;
    std::vector<RECT> lines;  // from the pen's position to the line's end
    std::vector<RECT> pictures;
    const Text* Find(std::u16string_view prefix) const {
        for (const Text& t : texts) {
            if (t.text.starts_with(prefix)) return &t;
        }
        return nullptr;
    }
};

int CALLBACK ReadRecord(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM context) {
    Page& page = *reinterpret_cast<Page*>(context);
    static POINTL pen{};
    switch (record->iType) {
        case EMR_EXTTEXTOUTW: {
            const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
            const auto* chars = reinterpret_cast<const char16_t*>(reinterpret_cast<const BYTE*>(record) +
                                                                   text->emrtext.offString);
            page.texts.push_back({std::u16string(chars, text->emrtext.nChars), text->emrtext.ptlReference,
                                  text->emrtext.rcl, (text->emrtext.fOptions & ETO_CLIPPED) != 0});
            break;
        }
        case EMR_MOVETOEX:
            pen = reinterpret_cast<const EMRMOVETOEX*>(record)->ptl;
            break;
        case EMR_LINETO: {
            const POINTL to = reinterpret_cast<const EMRLINETO*>(record)->ptl;
            page.lines.push_back({pen.x, pen.y, to.x, to.y});
            pen = to;
            break;
        }
        case EMR_STRETCHDIBITS: {
            const auto* bits = reinterpret_cast<const EMRSTRETCHDIBITS*>(record);
            page.pictures.push_back({bits->xDest, bits->yDest, bits->xDest + bits->cxDest, bits->yDest + bits->cyDest});
            break;
        }
    }
    return 1;
}

std::vector<Page> Read(const std::vector<Metafile>& metafiles) {
    std::vector<Page> pages(metafiles.size());
    for (std::size_t i = 0; i < metafiles.size(); ++i) {
        ::EnumEnhMetaFile(nullptr, metafiles[i].Get(), ReadRecord, &pages[i], nullptr);
    }
    return pages;
}

class ReportGdi : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_FALSE(test::PostScriptPrinter(&error).empty()) << error;
        mode_ = test::PostScriptDevMode();
        ASSERT_FALSE(mode_.empty());
        printer_ = test::CreatePostScriptDC(Mode());
        ASSERT_NE(printer_, nullptr);
        options_.cols = {3, 20, 27};  // company, application, version
    }
    void TearDown() override {
        if (printer_ != nullptr) ::DeleteDC(printer_);
    }
    DEVMODEW* Mode() { return reinterpret_cast<DEVMODEW*>(mode_.data()); }
    ReportInput Input(int count) {
        apps_.clear();
        for (int i = 0; i < count; ++i) {
            ApplicationRecord r = NewRecord();
            r.company = i == 0 ? u"AT&T" : u"Company " + std::u16string(1, char16_t(u'A' + i % 26));
            r.program = u"Program " + std::u16string(1, char16_t(u'a' + i % 26));
            r.version = u"1." + std::u16string(1, char16_t(u'0' + i % 10));
            r.path = u"C:\\Program Files\\" + std::u16string(400, u'p') + u"\\tool.exe";  // wider than the page
            apps_.push_back(std::move(r));
        }
        ReportInput input{{}, &options_};
        for (const auto& app : apps_) input.applications.push_back(&app);
        return input;
    }
    int Caps(int index) const { return ::GetDeviceCaps(printer_, index); }

    std::vector<BYTE> mode_;
    HDC printer_ = nullptr;
    Settings options_;
    std::vector<ApplicationRecord> apps_;
};

TEST_F(ReportGdi, SummaryPagesHoldTitleCaptionsRowsRulesAndPageNumbersInsideTheLandscapePage) {
    ASSERT_TRUE(ResetToLandscape(printer_, *Mode()));
    ASSERT_GT(Caps(HORZRES), Caps(VERTRES));
    const auto pages = Read(RecordReport(printer_, kReportSummary, Input(90), u"Tahoma"));
    ASSERT_GE(pages.size(), 2u);
    const int right = Caps(HORZRES) - Caps(LOGPIXELSX) / 2;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const Page& page = pages[p];
        const Text* title = page.Find(u"Software Summary Report");
        const Text* caption = page.Find(u"Version");
        ASSERT_TRUE(title && caption) << p;
        const Text* footer = page.Find(u"Page ");
        ASSERT_NE(footer, nullptr);
        EXPECT_EQ(footer->text, u"Page " + std::u16string(1, char16_t(u'1' + p)));
        EXPECT_LT(title->at.y, caption->at.y);
        // The rule below the captions spans the rectangle; vertical lines start at the captions.
        ASSERT_FALSE(page.lines.empty());
        const RECT rule = page.lines[0];
        EXPECT_EQ(rule.top, rule.bottom);
        EXPECT_GT(rule.top, caption->at.y);
        EXPECT_EQ(rule.left, Caps(LOGPIXELSX) / 2);
        EXPECT_EQ(rule.right, std::min(Caps(LOGPIXELSX) * 21 / 2, right));
        for (std::size_t i = 1; i < page.lines.size(); ++i) {
            EXPECT_EQ(page.lines[i].left, page.lines[i].right);
            EXPECT_EQ(page.lines[i].top, caption->at.y);
        }
        // A full page has a line at the right edge of every column; the last only between them.
        EXPECT_EQ(page.lines.size(), p + 1 < pages.size() ? 4u : 3u) << p;
        for (const Text& text : page.texts) {
            if (text.clipped) {
                EXPECT_LE(text.clip.right, right) << p;
            }
        }
    }
    EXPECT_NE(pages[0].Find(u"AT&T"), nullptr);  // "&" is text, not a mnemonic
    // Cells stand at their column's caption.
    EXPECT_EQ(pages[0].Find(u"1.0")->at.x, pages[0].Find(u"Version")->at.x);
    EXPECT_GT(pages[0].Find(u"1.1")->at.y, pages[0].Find(u"1.0")->at.y);
}

TEST_F(ReportGdi, DetailPagesCountTheApplicationsAndStayInsideTheA4Page) {
    const auto input = Input(3);
    platform::Image image{4, 2, std::vector<std::uint8_t>(4 * 2 * 4, 200)};
    ASSERT_TRUE(platform::EncodeImage(image, platform::ImageFormat::Png, apps_[1].picture));
    const auto pages = Read(RecordReport(printer_, kReportDetail, input, u"Tahoma"));
    ASSERT_EQ(pages.size(), 3u);
    const int right = Caps(HORZRES) - Caps(LOGPIXELSX) / 2;
    ASSERT_LT(right, Caps(LOGPIXELSX) * 8);  // A4: the fixed 8-inch rectangle would be cut off
    for (std::size_t p = 0; p < 3; ++p) {
        ASSERT_NE(pages[p].Find(u"Page "), nullptr);
        EXPECT_EQ(pages[p].Find(u"Page ")->text, u"Page " + std::u16string(1, char16_t(u'1' + p)) + u" of 3");
        const Text* path = pages[p].Find(u"C:\\Program Files\\");
        ASSERT_NE(path, nullptr);
        EXPECT_TRUE(path->clipped);
        EXPECT_LE(path->clip.right, right);
        EXPECT_EQ(pages[p].pictures.size(), p == 1 ? 1u : 0u);
        EXPECT_TRUE(pages[p].lines.empty());
    }
    EXPECT_NE(pages[0].Find(u"AT&T - Program a"), nullptr);
    EXPECT_LT(pages[0].Find(u"Category:")->at.y, pages[0].Find(u"Comments:")->at.y);
    EXPECT_LT(pages[1].Find(u"Comments:")->at.y, pages[1].pictures[0].top);
}

TEST_F(ReportGdi, PrintsThroughThePostScriptDriverIntoAFile) {
    test::TempFolder folder(u"kodrin-print-");
    const std::u16string file = folder.Path() + u"\\summary.ps";
    ASSERT_TRUE(ResetToLandscape(printer_, *Mode()));
    const int pages = PrintReport(printer_, file, kReportSummary, Input(90), u"Tahoma");
    ASSERT_GE(pages, 2);
    std::ifstream in(std::filesystem::path(std::wstring(file.begin(), file.end())), std::ios::binary);
    std::stringstream job;
    job << in.rdbuf();
    const std::string text = job.str();
    ASSERT_TRUE(text.starts_with("%!PS-Adobe-3.0")) << text.substr(0, 40);
    std::size_t count = 0;
    for (std::size_t at = text.find("\n%%Page:"); at != std::string::npos; at = text.find("\n%%Page:", at + 1)) ++count;
    EXPECT_EQ(count, static_cast<std::size_t>(pages));
    EXPECT_NE(text.find("%%Orientation: Landscape"), std::string::npos);
}

}  // namespace
}  // namespace kodrin::reports
