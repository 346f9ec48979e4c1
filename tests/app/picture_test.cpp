// Pictures on the screen: decoding over black, the box's reduction to fit,
// painting, the full-size view, and picture files read into records.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "app/picture.h"
#include "catalog/datafile.h"
#include "framework/app.h"
#include "platform/files.h"
#include "platform/image.h"
#include "support/temp_folder.h"
#include "support/win32/dialog_driver.h"
#include "ids.h"
#include "string_ids.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using kodrin::app::DecodePicture;
using kodrin::app::PictureBox;

// A PNG of one colour (RGBA).
Bytes Png(int width, int height, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
    kodrin::platform::Image image;
    image.width = width;
    image.height = height;
    for (int i = 0; i < width * height; ++i) image.pixels.insert(image.pixels.end(), {r, g, b, a});
    Bytes bytes;
    EXPECT_TRUE(kodrin::platform::EncodeImage(image, kodrin::platform::ImageFormat::Png, bytes));
    return bytes;
}

// The pixels of a bitmap as 32-bit BGRX rows from the top.
std::vector<std::uint32_t> Pixels(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(rows, height);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(PictureBox, ReducesToFitKeepingProportionsAndNeverEnlarges) {
    struct Case {
        int w, h;
        LONG shownW, shownH;
    } cases[] = {{400, 100, 200, 50}, {100, 400, 50, 200}, {150, 150, 150, 150}, {300, 300, 200, 200}, {20, 5, 20, 5}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        PictureBox box;
        box.SetPlace(15, 67, 200, 200);
        box.SetPicture(Png(c.w, c.h, 10, 20, 30));
        ASSERT_FALSE(box.Empty());
        EXPECT_EQ(box.Image()->Width(), c.w);
        EXPECT_EQ(box.Image()->Height(), c.h);
        EXPECT_TRUE(Same(box.DisplayRect(), RECT{15, 67, 15 + c.shownW, 67 + c.shownH}));
    }

    // A new place lays the same picture out again; a place with no room
    // shows nothing rather than a rectangle turned inside out.
    PictureBox box;
    box.SetPicture(Png(400, 100, 1, 2, 3));
    box.SetPlace(0, 0, 100, 100);
    EXPECT_TRUE(Same(box.DisplayRect(), RECT{0, 0, 100, 25}));
    box.SetPlace(5, 5, -30, 100);
    EXPECT_TRUE(Same(box.DisplayRect(), RECT{5, 5, 5, 5}));

    // Clearing, and bytes that are no picture, leave an empty rectangle at the corner.
    box.SetPlace(8, 9, 100, 100);
    box.Clear();
    EXPECT_TRUE(box.Empty());
    EXPECT_TRUE(Same(box.DisplayRect(), RECT{8, 9, 8, 9}));
    box.SetPicture(Bytes{'B', 'M', 1, 2, 3});
    EXPECT_TRUE(box.Empty());
    EXPECT_EQ(box.Image(), nullptr);
    EXPECT_TRUE(Same(box.DisplayRect(), RECT{8, 9, 8, 9}));
    EXPECT_EQ(DecodePicture(Bytes{}), nullptr);
}

TEST(PictureBox, TransparentPartsDecodeBlackAndPaintReducesIntoTheRectangle) {
    // Left half transparent white, right half opaque red.
    kodrin::platform::Image image;
    image.width = 80;
    image.height = 40;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            image.pixels.insert(image.pixels.end(), x < 40 ? std::initializer_list<std::uint8_t>{255, 255, 255, 0}
                                                            : std::initializer_list<std::uint8_t>{255, 0, 0, 255});
    Bytes png;
    ASSERT_TRUE(kodrin::platform::EncodeImage(image, kodrin::platform::ImageFormat::Png, png));
    const auto picture = DecodePicture(png);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->Width(), 80);
    ASSERT_EQ(picture->Height(), 40);
    const auto pixels = Pixels(picture->Bitmap(), 80, 40);
    EXPECT_EQ(pixels[0], 0x000000u);
    EXPECT_EQ(pixels[39 * 80 + 39], 0x000000u);
    EXPECT_EQ(pixels[40], 0xFF0000u);
    EXPECT_EQ(pixels[39 * 80 + 79], 0xFF0000u);

    // Painted into a 40 x 40 place at (2, 3): reduced to 40 x 20.
    PictureBox box;
    box.SetPlace(2, 3, 40, 40);
    box.SetPicture(png);
    ASSERT_TRUE(Same(box.DisplayRect(), RECT{2, 3, 42, 23}));
    HDC screen = ::GetDC(nullptr);
    HBITMAP canvas = ::CreateCompatibleBitmap(screen, 50, 30);
    HDC dc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, canvas);
    RECT all{0, 0, 50, 30};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    box.Paint(dc);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    const auto painted = Pixels(canvas, 50, 30);
    ::DeleteObject(canvas);
    auto at = [&](int x, int y) { return painted[static_cast<std::size_t>(y) * 50 + x]; };
    EXPECT_EQ(at(1, 10), 0xFFFFFFu);   // left of the rectangle
    EXPECT_EQ(at(5, 10), 0x000000u);   // the transparent half
    EXPECT_EQ(at(35, 10), 0xFF0000u);  // the red half
    EXPECT_EQ(at(41, 22), 0xFF0000u);  // last pixel inside
    EXPECT_EQ(at(42, 10), 0xFFFFFFu);  // right of it
    EXPECT_EQ(at(20, 23), 0xFFFFFFu);  // below it
}

TEST(Picture, FilesAreReadIntoRecordsAndWrittenByTheirNames) {
    kodrin::test::TempFolder folder(u"kodrin-picture-");
    ASSERT_TRUE(folder.Created());
    const Bytes png = Png(6, 3, 0, 128, 255);
    const std::u16string path = folder.Path() + u"\\shot.png";
    ASSERT_TRUE(kodrin::platform::WriteFileAtomically(path, png));

    kodrin::ApplicationRecord record;
    kodrin::app::LoadPictureFile(path, record, true);
    EXPECT_EQ(record.picture, png);
    EXPECT_EQ(record.pictureName, u"shot.png");

    // Written out under a ".gif" name the data is BMP; ".JPG" gives JPEG.
    // Both decode back to the picture's size.
    const std::u16string images = folder.Path() + u"\\Images";
    record.pictureName = u"shot.gif";
    ASSERT_TRUE(kodrin::SavePicture(record, images));
    record.pictureName = u"shot.JPG";
    ASSERT_TRUE(kodrin::SavePicture(record, images));
    Bytes gif, jpg;
    ASSERT_TRUE(kodrin::platform::ReadWholeFile(images + u"\\shot.gif", gif));
    ASSERT_TRUE(kodrin::platform::ReadWholeFile(images + u"\\shot.JPG", jpg));
    ASSERT_GE(gif.size(), 54u);
    EXPECT_EQ(Bytes(gif.begin(), gif.begin() + 2), (Bytes{'B', 'M'}));
    EXPECT_EQ(gif[28], 24);
    ASSERT_GE(jpg.size(), 2u);
    EXPECT_EQ(Bytes(jpg.begin(), jpg.begin() + 2), (Bytes{0xFF, 0xD8}));
    for (const Bytes* bytes : {&gif, &jpg}) {
        const auto decoded = DecodePicture(*bytes);
        ASSERT_NE(decoded, nullptr);
        EXPECT_EQ(decoded->Width(), 6);
        EXPECT_EQ(decoded->Height(), 3);
    }

    // A bare name is read only when accepted (the picture page); the data
    // file's reader keeps it as the name of a file in the pictures folder.
    kodrin::app::LoadPictureFile(u"shot.png", record, false);
    EXPECT_TRUE(record.picture.empty());
    EXPECT_EQ(record.pictureName, u"shot.png");
}

TEST(Picture, FullSizeViewFitsThePictureWithAMarginAndClosesOnAClick) {
    QvLibrary::QvApp app(STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE);
    kodrin::test::DialogDriver driver;
    PictureBox box;
    box.SetPlace(0, 0, 50, 50);
    box.SetPicture(Png(120, 90, 0, 0, 255));

    RECT client{}, frame{};
    driver.Then([&](HWND dialog) {
        ::GetClientRect(dialog, &client);
        HWND picture = ::GetDlgItem(dialog, IDC_PICTURE);
        ::GetWindowRect(picture, &frame);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&frame), 2);
        ::PostMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 40));
    });
    kodrin::app::ShowFullSize(app, nullptr, box);
    EXPECT_EQ(driver.Answered(), 1);
    EXPECT_EQ(driver.Unexpected(), 0);
    // The picture in its own size at (10, 10), with 10 pixels to the right.
    EXPECT_TRUE(Same(frame, RECT{10, 10, 130, 100}));
    EXPECT_EQ(client.right, 140);
    EXPECT_GE(client.bottom, 100);

    // An empty box opens nothing.
    box.Clear();
    kodrin::app::ShowFullSize(app, nullptr, box);
    EXPECT_EQ(driver.Answered(), 1);
    EXPECT_EQ(driver.Unexpected(), 0);
    kodrin::test::DrainMessages();
}

}  // namespace
