// The dialogs whose pages hang on a tab strip: every label, check box, radio
// button and group box on every page is drawn on the page's background, not
// on a box of the dialog's colour. Checked on the screen's pixels.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <unordered_map>
#include <string>
#include <vector>

#include "app/details_dialog.h"
#include "app/options_dialog.h"
#include "catalog/catalog.h"
#include "catalog/record.h"
#include "catalog/settings.h"
#include "framework/app.h"
#include "support/win32/capture.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

constexpr int kPictureFrame = 7701;  // paints its own background

using Colour = std::uint32_t;

Colour At(const platform::Image& image, int x, int y) {
    if (x < 0 || y < 0 || x >= image.width || y >= image.height) return 0xFFFFFFFFu;
    const std::uint8_t* p = &image.pixels[static_cast<std::size_t>((y * image.width + x) * 4)];
    return static_cast<Colour>(p[0]) << 16 | static_cast<Colour>(p[1]) << 8 | p[2];
}

// The colour most pixels of the rectangle (window coordinates) have.
Colour Commonest(const platform::Image& image, const RECT& r) {
    std::unordered_map<Colour, int> counts;
    for (int y = r.top; y < r.bottom; y += 2) {
        for (int x = r.left; x < r.right; x += 2) ++counts[At(image, x, y)];
    }
    Colour best = 0;
    int most = -1;
    for (const auto& [colour, count] : counts) {
        if (count > most) {
            best = colour;
            most = count;
        }
    }
    return best;
}

bool OnPageKind(HWND control) {
    wchar_t kind[16] = {};
    ::GetClassNameW(control, kind, 16);
    if (::lstrcmpiW(kind, L"Static") == 0) return ::GetDlgCtrlID(control) != kPictureFrame;
    if (::lstrcmpiW(kind, L"Button") != 0) return false;
    const LONG_PTR type = ::GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_OWNERDRAW;
}

// Ids of the shown page's controls whose commonest colour is not the page's.
std::vector<int> OffPageControls(HWND dialog, HWND tabs) {
    // Quick: the driver ends a dialog whose script runs for seconds.
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const platform::Image image = CaptureWindow(dialog);
    RECT window{};
    ::GetWindowRect(dialog, &window);
    RECT page{};
    ::GetClientRect(tabs, &page);
    ::SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    ::MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&page), 2);
    ::OffsetRect(&page, -window.left, -window.top);
    const Colour background = Commonest(image, page);
    std::vector<int> off;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child) || !OnPageKind(child)) continue;
        RECT r{};
        ::GetWindowRect(child, &r);
        ::OffsetRect(&r, -window.left, -window.top);
        const POINT middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        if (!::PtInRect(&page, middle)) continue;
        if (Commonest(image, r) != background) off.push_back(::GetDlgCtrlID(child));
    }
    return off;
}

// Shows each page of the dialog in turn and lists, per page, the controls
// not on the page's background.
DialogDriver::Script EveryPage(int tabsId, std::vector<std::vector<int>>& found) {
    return [tabsId, &found](HWND dialog) {
        HWND tabs = ::GetDlgItem(dialog, tabsId);
        const int pages = static_cast<int>(::SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int page = 0; page < pages; ++page) {
            ::SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
            NMHDR header{tabs, static_cast<UINT_PTR>(tabsId), static_cast<UINT>(TCN_SELCHANGE)};
            ::SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(tabsId), reinterpret_cast<LPARAM>(&header));
            found.push_back(OffPageControls(dialog, tabs));
        }
        Click(dialog, IDCANCEL);
    };
}

TEST(TabPages, LabelsAndBoxesStandOnThePagesBackground) {
    QvLibrary::QvApp program(4107, 4103, 4109);
    Settings settings = NewSettings();
    Catalog catalog;
    catalog.options = &settings;
    AddCategory(catalog, u"Tools");
    ApplicationRecord record = NewRecord();
    record.program = u"Sample";
    record.categories = {u"Tools"};
    AddRecord(catalog, record, false);
    DialogDriver driver;

    std::vector<std::vector<int>> details;
    driver.Then(EveryPage(1703, details));
    app::RunDetailsDialog(program, nullptr, app::DetailsMode::Edit, false, record, settings, catalog);
    ASSERT_EQ(details.size(), 9u);

    std::vector<std::vector<int>> options;
    driver.Then(EveryPage(1847, options));
    app::RunOptionsDialog(program, nullptr, settings);
    ASSERT_EQ(options.size(), 5u);

    for (std::size_t i = 0; i < details.size(); ++i) EXPECT_EQ(details[i], std::vector<int>{}) << "details page " << i;
    for (std::size_t i = 0; i < options.size(); ++i) EXPECT_EQ(options[i], std::vector<int>{}) << "options page " << i;
    EXPECT_EQ(driver.Pending(), 0);
    EXPECT_EQ(driver.Unexpected(), 0);
    DrainMessages();
}

}  // namespace
}  // namespace kodrin::test
