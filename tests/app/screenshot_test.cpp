// Renders the main window on a catalog of realistic records into a PNG for
// the documentation. Not a test: `make screenshots` runs it with
//   app_tests --gtest_also_run_disabled_tests --gtest_filter='Screenshots.*'
// and KODRIN_SCREENSHOTS naming the folder that receives main-window.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "catalog/catalog.h"
#include "catalog/datafile.h"
#include "catalog/record.h"
#include "catalog/settings.h"
#include "platform/files.h"
#include "platform/image.h"
#include "support/temp_folder.h"
#include "support/text.h"
#include "support/win32/capture.h"
#include "support/win32/dialog_driver.h"
#include "app/picture_window.h"
#include "ids.h"

namespace kodrin::test {
namespace {

struct Entry {
    const char16_t* company;
    const char16_t* program;
    const char16_t* version;
    const char16_t* latest;
    const char16_t* key;
    const char16_t* checked;
    const char16_t* media;
    const char16_t* category;
};

// The program's picture: a blue disc with a light ring on white, 96 pixels.
std::vector<std::uint8_t> SamplePicture() {
    platform::Image image;
    image.width = image.height = 96;
    image.pixels.resize(96 * 96 * 4);
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 96; ++x) {
            const int dx = x - 48;
            const int dy = y - 48;
            const int d2 = dx * dx + dy * dy;
            std::uint8_t* p = &image.pixels[static_cast<std::size_t>((y * 96 + x) * 4)];
            p[0] = p[1] = p[2] = 255;
            p[3] = 255;
            if (d2 < 44 * 44) {
                const int shade = 40 + (y * 120) / 96;
                p[0] = static_cast<std::uint8_t>(shade / 3);
                p[1] = static_cast<std::uint8_t>(70 + shade / 2);
                p[2] = static_cast<std::uint8_t>(150 + shade / 2);
            }
            if (d2 > 26 * 26 && d2 < 32 * 32) p[0] = p[1] = p[2] = 235;
        }
    }
    std::vector<std::uint8_t> bytes;
    platform::EncodeImage(image, platform::ImageFormat::Png, bytes);
    return bytes;
}

Catalog SampleCatalog() {
    const std::u16string today = FormatDate(Today(), 3);
    const Entry entries[] = {
        {u"Fenwold Software", u"Kodrin", u"2.4", u"2.4", u"KDR-4471-0A9C-77F2", nullptr, u"Download", u"Tools & Utils"},
        {u"Brightline Labs", u"PixelForge", u"7.1", u"8.0", u"PF7-88AC-1209", u"03/14/2024", u"DVD", u"Graphics"},
        {u"Northwind Tools", u"ArchiveMate", u"5.02", u"5.02", u"AM5-PRO-5521-X", nullptr, u"Download", u"Tools & Utils"},
        {u"Cobalt Systems", u"ByteWatch", u"3.3", u"", u"BW-20931-PLUS", u"11/02/2022", u"CD", u"Tools & Utils"},
        {u"Larkspur Media", u"TuneBox Studio", u"12.0", u"12.0", u"TBX12-4F0E-99A1", nullptr, u"Download", u"Multimedia"},
        {u"Meridian Office", u"Quillpad", u"2021", u"2021", u"QP-2021-0051-KL", nullptr, u"CD", u"Office"},
        {u"Meridian Office", u"Ledgerly", u"4.8", u"5.1", u"LG4-7781-MM20", u"01/09/2025", u"Download", u"Office"},
        {u"Harbor Code", u"Driftwood IDE", u"1.19", u"1.19", u"DW-OSS", nullptr, u"Download", u"Development"},
        {u"Pinecrest Games", u"Chess Atelier", u"3.0", u"3.0", u"CA3-AA01-5510", nullptr, u"DVD", u"Games"},
        {u"Sable & Finch", u"Snapframe", u"6.5", u"6.5", u"SF6-1198-AX", nullptr, u"Floppy", u"Graphics"},
    };
    Catalog c;
    for (const char16_t* name : {u"Tools & Utils", u"Graphics", u"Office", u"Multimedia", u"Development", u"Games"}) {
        AddCategory(c, name);
    }
    for (const Entry& e : entries) {
        ApplicationRecord r = NewRecord();
        r.company = e.company;
        r.program = e.program;
        r.version = e.version;
        r.latestVersion = e.latest;
        r.registrationKey = e.key;
        r.dateLastChecked = e.checked != nullptr ? std::u16string(e.checked) : today;
        r.originalMedia = e.media;
        r.path = u"C:\\Program Files\\" + r.program + u"\\" + r.program + u".exe";
        r.categories = {e.category};
        if (r.program == u"Kodrin") {
            r.registrationEmail = u"ann.reader@example.org";
            r.homePage = u"https://www.fenwold.example/kodrin/";
            r.pictureName = u"kodrin.png";
            r.picture = SamplePicture();
            AddLoginField(r, LoginField{u"Customer number", u"A-10442", 0, LoginFieldType::StandardInput, true, false});
            AddLoginField(r, LoginField{u"", u"correct-horse-42", 0, LoginFieldType::Password, true, false});
        }
        AddRecord(c, r, false);
    }
    return c;
}

TEST(Screenshots, DISABLED_MainWindow) {
    const std::u16string target = ScreenshotFolder();
    ASSERT_FALSE(target.empty()) << "KODRIN_SCREENSHOTS names the output folder";
    TempFolder folder(u"kodrin-shot-");
    ASSERT_TRUE(folder.Created());
    Settings s = PictureSettings();
    s.colWidths[3] = 150;
    s.colWidths[20] = 140;
    s.colWidths[27] = 60;
    s.colWidths[22] = 160;
    s.colWidths[7] = 110;
    s.colWidths[32] = 80;
    DialogDriver driver;
    driver.Ignore([](HWND dialog) { return ::GetDlgItem(dialog, IDC_PROGRESS_BAR) != nullptr; });
    HWND window = OpenPictureWindow(folder, SampleCatalog(), s);
    ASSERT_NE(window, nullptr);
    app::MainWindow* w = app::MainWindow::FromHandle(window);
    for (const ApplicationRecord& r : w->GetCatalog().records) {
        if (r.program == u"Kodrin") w->SelectRecords({r.recordId});
    }
    ::SetForegroundWindow(window);
    ::SetFocus(w->List().Handle());
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntil([] { return false; }, 1500);

    ASSERT_TRUE(platform::CreateFolders(target));
    ASSERT_TRUE(SaveWindowPicture(window, target, u"main-window.png"));

    ClosePictureWindow(window);
}

}  // namespace
}  // namespace kodrin::test
