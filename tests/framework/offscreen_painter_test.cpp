// The off-screen painter: a memory bitmap filled with the background, copied
// to the target at the rectangle's origin when it closes.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/offscreen_painter.h"

namespace kodrin::test {
namespace {

using QvLibrary::OffscreenPainter;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

// A 40 x 30 white 32-bit bitmap selected into a memory context.
class Target {
public:
    Target() {
        dc_ = ::CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 40;
        info.bmiHeader.biHeight = -30;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous_ = ::SelectObject(dc_, bitmap_);
        RECT all{0, 0, 40, 30};
        HBRUSH white = ::CreateSolidBrush(kWhite);
        ::FillRect(dc_, &all, white);
        ::DeleteObject(white);
    }
    ~Target() {
        ::SelectObject(dc_, previous_);
        ::DeleteObject(bitmap_);
        ::DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const { return ::GetPixel(dc_, x, y); }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

TEST(OffscreenPainterTest, DrawingReachesTheTargetOnlyWhenClosedAndOnlyInsideTheRectangle) {
    Target target;
    const RECT rect{10, 5, 30, 25};
    OffscreenPainter painter;
    ASSERT_TRUE(painter.Open(target.Dc(), rect, kBlue));
    ASSERT_NE(painter.Dc(), nullptr);
    EXPECT_EQ(::GetPixel(painter.Dc(), 0, 0), kBlue);
    EXPECT_EQ(::GetPixel(painter.Dc(), 19, 19), kBlue);
    ::SetPixel(painter.Dc(), 0, 0, kRed);
    ::SetPixel(painter.Dc(), 19, 19, kRed);
    EXPECT_EQ(target.At(10, 5), kWhite);   // nothing yet

    painter.Close();
    EXPECT_FALSE(painter.IsOpen());
    EXPECT_EQ(painter.Dc(), nullptr);
    EXPECT_EQ(target.At(10, 5), kRed);
    EXPECT_EQ(target.At(29, 24), kRed);
    EXPECT_EQ(target.At(11, 6), kBlue);
    EXPECT_EQ(target.At(9, 5), kWhite);
    EXPECT_EQ(target.At(10, 4), kWhite);
    EXPECT_EQ(target.At(30, 24), kWhite);
    EXPECT_EQ(target.At(29, 25), kWhite);
    painter.Close();   // a second close does nothing
    EXPECT_EQ(target.At(10, 5), kRed);
}

TEST(OffscreenPainterTest, EmptyRectanglesFailAndReopeningOrLeavingScopeCopies) {
    Target target;
    OffscreenPainter painter;
    EXPECT_FALSE(painter.Open(target.Dc(), RECT{5, 5, 5, 20}, kBlue));
    EXPECT_FALSE(painter.Open(target.Dc(), RECT{5, 20, 10, 10}, kBlue));
    EXPECT_FALSE(painter.Open(nullptr, RECT{0, 0, 10, 10}, kBlue));
    EXPECT_EQ(painter.Dc(), nullptr);

    ASSERT_TRUE(painter.Open(target.Dc(), RECT{0, 0, 4, 4}, kRed));
    ASSERT_TRUE(painter.Open(target.Dc(), RECT{20, 20, 24, 24}, kBlue));   // closes the first
    EXPECT_EQ(target.At(0, 0), kRed);
    {
        OffscreenPainter scoped;
        ASSERT_TRUE(scoped.Open(target.Dc(), RECT{30, 0, 35, 5}, kRed));
    }
    EXPECT_EQ(target.At(32, 2), kRed);
    painter.Close();
    EXPECT_EQ(target.At(22, 22), kBlue);

    // Closing frees the memory context and its bitmap.
    ASSERT_TRUE(painter.Open(target.Dc(), RECT{0, 0, 40, 30}, kWhite));
    HDC memory = painter.Dc();
    HGDIOBJ bitmap = ::GetCurrentObject(memory, OBJ_BITMAP);
    EXPECT_EQ(::GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    painter.Close();
    EXPECT_EQ(::GetObjectType(memory), 0u);
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
}

}  // namespace
}  // namespace kodrin::test
