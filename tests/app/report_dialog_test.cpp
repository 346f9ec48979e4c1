// The print command driven in-process: dialog 2000 with the stored choices
// and what OK stores, the report printed on a PostScript file printer, and
// the preview paged with keys and buttons and printing from there. With
// KODRIN_SCREENSHOTS set, the disabled Screenshots case pictures the dialog
// and the preview and prints one job of each report for the documentation.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/report_dialog.h"
#include "catalog/record.h"
#include "framework/app.h"
#include "support/temp_folder.h"
#include "support/win32/capture.h"
#include "support/win32/dialog_driver.h"
#include "support/win32/postscript_printer.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::test {
namespace {

using Texts = std::vector<std::u16string>;

Texts Items(HWND dialog, int id) {
    Texts items;
    const int count = static_cast<int>(::SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        ::SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.emplace_back(reinterpret_cast<const char16_t*>(text));
    }
    return items;
}
int Selected(HWND dialog, int id) { return static_cast<int>(::SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0)); }
void Choose(HWND dialog, int id, int index) { ::SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0); }
void Press(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool Enabled(HWND window, int id) { return ::IsWindowEnabled(::GetDlgItem(window, id)) != FALSE; }

std::string ReadAll(const std::u16string& path) {
    std::ifstream in(std::filesystem::path(std::wstring(path.begin(), path.end())), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
int PageCount(const std::string& job) {
    int count = 0;
    for (auto at = job.find("\n%%Page:"); at != std::string::npos; at = job.find("\n%%Page:", at + 1)) ++count;
    return count;
}

// The preview is a window of its own, not a dialog: a thread timer finds it
// and runs the script once.
std::function<void(HWND)> previewScript;
void CALLBACK FindPreview(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND preview = ::FindWindowW(app::kPreviewClass, nullptr);
    if (preview == nullptr || !::IsWindowVisible(preview) || !previewScript) return;
    ::KillTimer(nullptr, timer);
    auto script = std::move(previewScript);
    previewScript = nullptr;
    script(preview);
}

class ReportDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_FALSE(PostScriptPrinter(&error).empty()) << error;
        settings_ = NewSettings();
        catalog_.options = &settings_;
        for (const char16_t* name : {u"Tools", u"Games", u"tools"}) AddCategory(catalog_, name);
        for (int i = 0; i < 4; ++i) {
            ApplicationRecord r = NewRecord();
            r.company = std::u16string(1, char16_t(u'D' - i)) + u" Soft";
            r.program = u"Program " + std::u16string(1, char16_t(u'1' + i));
            r.version = u"1.0";
            r.categories = {i < 3 ? u"Tools" : u"Games"};
            AddRecord(catalog_, r, false);
        }
        services_.choosePrinter = [this](HWND, app::ChosenPrinter& printer) {
            ++printerAsked_;
            if (cancelPrinter_) return false;
            printer.mode = PostScriptDevMode();
            printer.dc.Reset(CreatePostScriptDC(reinterpret_cast<DEVMODEW*>(printer.mode.data())));
            return static_cast<bool>(printer.dc);
        };
        services_.defaultPrinter = [this](app::ChosenPrinter& printer) { return services_.choosePrinter(nullptr, printer); };
        services_.output = folder_.Path() + u"\\job.ps";
    }
    void TearDown() override { DrainMessages(); }

    int Print(DialogDriver& driver, const std::vector<std::int32_t>& selected = {}) {
        const int pages = app::RunPrintCommand(app_, nullptr, catalog_, settings_, u"Games", selected,
                                               [this](const Settings& chosen) { stored_ = chosen; }, services_);
        EXPECT_EQ(driver.Unexpected(), 0);
        EXPECT_EQ(driver.Pending(), 0);
        return pages;
    }

    QvLibrary::QvApp app_{STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE};
    TempFolder folder_{u"kodrin-report-"};
    Settings settings_;
    Catalog catalog_;
    app::PrintServices services_;
    Settings stored_;
    int printerAsked_ = 0;
    bool cancelPrinter_ = false;
};

TEST_F(ReportDialogTest, OpensWithTheStoredChoicesAndStoresWhatIsChosen) {
    settings_.reportFont = u"No Such Face";  // missing here: kept, not replaced
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(WindowText(dialog), u"Kodrin Reporting");
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_REPORT_SELECTED), BST_CHECKED);
        EXPECT_EQ(::IsDlgButtonChecked(dialog, IDC_REPORT_SUMMARY), BST_CHECKED);
        EXPECT_EQ(Items(dialog, IDC_REPORT_CATEGORY), (Texts{u"<All>", u"Tools", u"Games", u"tools"}));
        EXPECT_EQ(Selected(dialog, IDC_REPORT_CATEGORY), 2);
        const Texts fields = Items(dialog, IDC_REPORT_SORT);
        ASSERT_EQ(fields.size(), 49u);  // "Category" once, FieldId 48's empty caption last
        EXPECT_EQ(fields[0] + fields[1] + fields[3] + fields[48], u"-- None --CategoryCompany");
        EXPECT_EQ(Selected(dialog, IDC_REPORT_SORT), 3);  // company: value 3
        EXPECT_EQ(ItemText(dialog, IDC_REPORT_LABEL2), u"Application Name");
        EXPECT_EQ(ItemText(dialog, IDC_REPORT_SIZE1), u"16 pt");
        EXPECT_EQ(ItemText(dialog, IDC_REPORT_FONT), u"No Such Face");
        EXPECT_FALSE(Enabled(dialog, IDC_REPORT_LABEL1));
        EXPECT_FALSE(Enabled(dialog, IDC_REPORT_SIZE4));
        Press(dialog, IDC_REPORT_LABELS);
        EXPECT_TRUE(Enabled(dialog, IDC_REPORT_LABEL1));
        EXPECT_TRUE(Enabled(dialog, IDC_REPORT_SIZE4));
        Choose(dialog, IDC_REPORT_LABEL2, 0);   // none
        Choose(dialog, IDC_REPORT_SIZE1, 10);   // 72 pt
        Choose(dialog, IDC_REPORT_SORT, 1);     // categories
        Choose(dialog, IDC_REPORT_CATEGORY, 1);
        Press(dialog, IDC_REPORT_ALL);
        Click(dialog, IDOK);
    });
    cancelPrinter_ = true;
    EXPECT_EQ(Print(driver), -1);
    EXPECT_EQ(printerAsked_, 1);  // the print dialog came, and was cancelled
    EXPECT_EQ(stored_.reportType, kReportLabels);
    EXPECT_TRUE(stored_.reportSoftware);
    EXPECT_EQ(stored_.reportLabels, (std::vector<std::int32_t>{3, 49, 0, 0}));
    EXPECT_EQ(stored_.reportSize, (std::vector<std::int32_t>{72, 12, 12, 12}));
    EXPECT_EQ(stored_.reportSort, 0u);
    EXPECT_EQ(stored_.reportFont, u"No Such Face");

    // Categories that differ only in case are both offered, each as itself.
    app::ReportRequest request{settings_, u"tools"};
    driver.Then([&](HWND dialog) {
        EXPECT_EQ(Selected(dialog, IDC_REPORT_CATEGORY), 3);
        Choose(dialog, IDC_REPORT_CATEGORY, 1);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(app::RunReportDialog(app_, nullptr, catalog_, request, {}, services_));
    EXPECT_EQ(request.category, u"Tools");
    // Cancel: nothing changes.
    driver.Then([&](HWND dialog) {
        Press(dialog, IDC_REPORT_DETAIL);
        EXPECT_FALSE(Enabled(dialog, IDC_REPORT_LABEL3));
        Choose(dialog, IDC_REPORT_CATEGORY, 3);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(app::RunReportDialog(app_, nullptr, catalog_, request, {}, services_));
    EXPECT_EQ(request.options.reportType, kReportSummary);
    EXPECT_EQ(request.category, u"Tools");
}

TEST_F(ReportDialogTest, PrintsTheChosenReportOnThePrinter) {
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        Press(dialog, IDC_REPORT_DETAIL);
        Press(dialog, IDC_REPORT_ALL);
        Choose(dialog, IDC_REPORT_CATEGORY, 1);  // Tools: three applications
        Click(dialog, IDOK);
    });
    EXPECT_EQ(Print(driver), 3);
    const std::string detail = ReadAll(services_.output);
    EXPECT_EQ(PageCount(detail), 3);
    EXPECT_EQ(detail.find("%%Orientation: Landscape"), std::string::npos);

    // "Selected" with nothing selected: a summary of one page, in landscape.
    services_.output = folder_.Path() + u"\\summary.ps";
    driver.Then([&](HWND dialog) { Click(dialog, IDOK); });
    EXPECT_EQ(Print(driver), 1);
    const std::string summary = ReadAll(services_.output);
    EXPECT_EQ(PageCount(summary), 1);
    EXPECT_NE(summary.find("%%Orientation: Landscape"), std::string::npos);
}

TEST_F(ReportDialogTest, PreviewPagesWithKeysAndButtonsAndPrintsFromThere) {
    bool previewed = false;
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        Press(dialog, IDC_REPORT_DETAIL);
        Press(dialog, IDC_REPORT_ALL);
        Choose(dialog, IDC_REPORT_CATEGORY, 0);  // all four
        previewScript = [&](HWND preview) {
            previewed = true;
            EXPECT_FALSE(::IsWindowEnabled(dialog));
            EXPECT_FALSE(Enabled(preview, app::kPreviewPrevious));
            EXPECT_TRUE(Enabled(preview, app::kPreviewNext));
            for (int i = 0; i < 5; ++i) ::SendMessageW(preview, WM_KEYDOWN, VK_NEXT, 0);  // stops at the last
            EXPECT_TRUE(Enabled(preview, app::kPreviewPrevious));
            EXPECT_FALSE(Enabled(preview, app::kPreviewNext));
            Press(preview, app::kPreviewPrevious);
            EXPECT_TRUE(Enabled(preview, app::kPreviewNext));
            ::SendMessageW(preview, WM_KEYDOWN, VK_PRIOR, 0);
            ::SendMessageW(preview, WM_KEYDOWN, VK_PRIOR, 0);
            ::SendMessageW(preview, WM_KEYDOWN, VK_PRIOR, 0);
            EXPECT_FALSE(Enabled(preview, app::kPreviewPrevious));
            Click(preview, app::kPreviewPrint);
        };
        ::SetTimer(nullptr, 0, 20, FindPreview);
        Click(dialog, IDC_REPORT_PREVIEW);
    });
    EXPECT_EQ(Print(driver), 4);
    EXPECT_TRUE(previewed);
    EXPECT_EQ(printerAsked_, 2);  // the preview's default printer, then the print dialog
    EXPECT_EQ(stored_.reportType, kReportDetail);
    EXPECT_EQ(PageCount(ReadAll(services_.output)), 4);
}

// Pictures for the documentation: the dialog, the preview of a summary, and
// one PostScript job of each report (scripts/report-pages.sh turns them into
// PNG pages with Ghostscript).
TEST_F(ReportDialogTest, DISABLED_Screenshots) {
    const std::u16string folder = ScreenshotFolder();
    ASSERT_FALSE(folder.empty()) << "KODRIN_SCREENSHOTS names the output folder";
    for (int i = 0; i < 30; ++i) {
        ApplicationRecord r = NewRecord();
        r.company = u"Company " + std::u16string(1, char16_t(u'A' + i % 26));
        r.program = u"Application " + std::u16string(1, char16_t(u'a' + i % 26));
        r.version = u"2." + std::u16string(1, char16_t(u'0' + i % 10));
        r.description = u"A tool that does one thing well, with a description long enough to wrap in its column";
        r.purchaseDate = u"03/14/2024";
        r.serialNumber = u"SN-0042-" + std::u16string(1, char16_t(u'A' + i % 26));
        r.categories = {u"Tools"};
        AddRecord(catalog_, r, false);
    }
    settings_.cols = {3, 20, 27, 8, 21, 24};
    DialogDriver driver;
    driver.Then([&](HWND dialog) {
        Press(dialog, IDC_REPORT_ALL);
        Choose(dialog, IDC_REPORT_CATEGORY, 1);
        EXPECT_TRUE(SaveWindowPicture(dialog, folder, u"report-dialog.png"));
        previewScript = [&](HWND preview) {
            PumpUntil([] { return false; }, 300);
            EXPECT_TRUE(SaveWindowPicture(preview, folder, u"print-preview.png"));
            Click(preview, app::kPreviewClose);
        };
        ::SetTimer(nullptr, 0, 20, FindPreview);
        Click(dialog, IDC_REPORT_PREVIEW);
        PumpUntil([&] { return !previewScript && ::IsWindowEnabled(dialog); }, 4000);
        Click(dialog, IDCANCEL);
    });
    Print(driver);
    const std::pair<int, const char16_t*> reports[] = {
        {IDC_REPORT_SUMMARY, u"report-summary.ps"}, {IDC_REPORT_DETAIL, u"report-detail.ps"},
        {IDC_REPORT_LABELS, u"report-labels.ps"}};
    for (const auto& [button, name] : reports) {
        services_.output = folder + u"\\" + name;
        driver.Then([&, button = button](HWND dialog) {
            Press(dialog, button);
            Press(dialog, IDC_REPORT_ALL);
            Choose(dialog, IDC_REPORT_CATEGORY, 1);
            Click(dialog, IDOK);
        });
        EXPECT_GT(Print(driver), 0);
    }
}

}  // namespace
}  // namespace kodrin::test
