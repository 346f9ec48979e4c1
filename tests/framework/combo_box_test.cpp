// The combo box's own item list (no case-variant duplicates, sorted
// inserts, selection by text and data) and the colour box.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "framework/app.h"
#include "framework/combo_box.h"
#include "framework/test_window.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using QvLibrary::QvColors;
using QvLibrary::QvComboBox;

class ComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = MakeRecordingWindow(&log_, nullptr, 0, 0, 0, 400, 300);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override {
        ::DestroyWindow(parent_);
        DrainMessages();
    }
    Recorder log_;
    HWND parent_ = nullptr;
};

std::vector<std::u16string> NativeTexts(HWND box) {
    std::vector<std::u16string> texts;
    const int count = static_cast<int>(::SendMessageW(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        ::SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        texts.emplace_back(reinterpret_cast<const char16_t*>(text));
    }
    return texts;
}

TEST_F(ComboBoxTest, ATextDifferingOnlyInCaseIsNotAddedAgain) {
    QvComboBox box;
    ASSERT_TRUE(box.Create(parent_, 50, 0, 0, 200, 200));
    EXPECT_EQ(::GetWindowLongW(box.Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(box.AddItem(u"CD-ROM", 1, false), 0);
    EXPECT_EQ(box.AddItem(u"Download", 2, true), 1);
    EXPECT_EQ(box.AddItem(u"cd-rom", 3, true), -1);
    EXPECT_EQ(box.AddItem(u"DOWNLOAD", 4, false), -1);
    EXPECT_EQ(box.Count(), 2);
    EXPECT_EQ(NativeTexts(box.Handle()), (std::vector<std::u16string>{u"CD-ROM", u"Download"}));
    // The refused add did not change the selection or the data.
    EXPECT_EQ(box.SelectedText(), u"Download");
    EXPECT_EQ(box.SelectedData(), 2u);
    box.SelectText(u"cd-rom");
    EXPECT_EQ(box.SelectedData(), 1u);
}

TEST_F(ComboBoxTest, SortedBoxesInsertInOrderIgnoringCase) {
    QvComboBox box(nullptr, true);
    ASSERT_TRUE(box.Create(parent_, 51));
    for (const char16_t* text : {u"delta", u"Bravo", u"alpha", u"Charlie", u"echo"}) {
        box.AddItem(text, static_cast<std::uint32_t>(text[0]), false);
    }
    const std::vector<std::u16string> expected{u"alpha", u"Bravo", u"Charlie", u"delta", u"echo"};
    EXPECT_EQ(NativeTexts(box.Handle()), expected);
    ASSERT_EQ(box.Items().size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(box.Items()[i].text, expected[i]);
        // Native data follows its text.
        EXPECT_EQ(static_cast<std::uint32_t>(::SendMessageW(box.Handle(), CB_GETITEMDATA, i, 0)),
                  static_cast<std::uint32_t>(expected[i][0]));
    }
}

TEST_F(ComboBoxTest, SelectingByTextFallsBackToTheFirstAndByDataToNothing) {
    QvComboBox box;
    EXPECT_EQ(box.SelectedData(), 0u);   // unbound
    ASSERT_TRUE(box.Create(parent_, 52));
    EXPECT_EQ(box.SelectedText(), u"");
    box.AddItem(u"One", 10, false);
    box.AddItem(u"Two", 20, false);
    box.AddItem(u"Three", 20, false);
    EXPECT_EQ(box.SelectedIndex(), -1);
    EXPECT_EQ(box.SelectedData(), 0u);

    box.SelectData(20);   // the first of equal data
    EXPECT_EQ(box.SelectedText(), u"Two");
    box.SelectData(99);   // absent: unchanged
    EXPECT_EQ(box.SelectedText(), u"Two");
    box.SelectText(u"Nine");
    EXPECT_EQ(box.SelectedText(), u"One");
    box.SelectText(u"Three");
    EXPECT_EQ(box.SelectedIndex(), 2);

    box.Clear();
    EXPECT_EQ(box.Count(), 0);
    EXPECT_EQ(::SendMessageW(box.Handle(), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(box.AddItem(u"one", 1, true), 0);   // a cleared text may come back
}

TEST_F(ComboBoxTest, AttachedBoxesUseTheDialogsWindow) {
    HWND native = ::CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 100, parent_,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(native, nullptr);
    {
        QvComboBox box(native);
        EXPECT_EQ(box.Handle(), native);
        box.AddItem(u"Media", 5, true);
        EXPECT_EQ(NativeTexts(native), (std::vector<std::u16string>{u"Media"}));
    }
    EXPECT_TRUE(::IsWindow(native));   // not the object's to destroy
    ::DestroyWindow(native);
}

// ---- colour box ----

int CountPixels(HDC dc, const RECT& area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (::GetPixel(dc, x, y) == colour) ++count;
        }
    }
    return count;
}

TEST_F(ComboBoxTest, TheColourBoxHoldsTheHundredColoursInOrder) {
    QvLibrary::QvApp app(0, 0, 0);
    QvColors colours;
    ASSERT_TRUE(colours.Create(parent_, 53, 0, 0, 200, 300));
    const LONG style = ::GetWindowLongW(colours.Handle(), GWL_STYLE);
    EXPECT_NE(style & CBS_OWNERDRAWFIXED, 0);
    EXPECT_NE(style & CBS_HASSTRINGS, 0);
    colours.Fill(app);
    ASSERT_EQ(colours.Count(), 100);
    EXPECT_EQ(colours.Items()[0].text, u"Aquamarine");
    EXPECT_EQ(colours.Items()[0].data, static_cast<std::uint32_t>(RGB(112, 219, 147)));
    EXPECT_EQ(colours.Items()[1].text, u"Baker's Chocolate");
    EXPECT_EQ(colours.Items()[8].text, u"Bronze (Alternate)");
    EXPECT_EQ(colours.Items()[75].text, u"Red");
    EXPECT_EQ(colours.Items()[75].data, static_cast<std::uint32_t>(RGB(255, 0, 0)));
    EXPECT_EQ(colours.Items()[99].text, u"Yellow Green");
    EXPECT_EQ(colours.Items()[99].data, static_cast<std::uint32_t>(RGB(153, 204, 50)));
    // Two names share a colour: both are there, in table order.
    EXPECT_EQ(colours.Items()[17].data, colours.Items()[92].data);
    colours.SelectData(RGB(0, 0, 255));
    EXPECT_EQ(colours.SelectedText(), u"Blue");
}

TEST_F(ComboBoxTest, ColourItemsAreDrawnInTheirColourAndWhiteAsBlack) {
    QvLibrary::QvApp app(0, 0, 0);
    QvColors colours;
    ASSERT_TRUE(colours.Create(parent_, 54, 0, 0, 200, 300));
    colours.Fill(app);

    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 160, 20);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const RECT area{0, 0, 160, 20};

    auto draw = [&](int index) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_COMBOBOX;
        item.itemID = static_cast<UINT>(index);
        item.hwndItem = colours.Handle();
        item.hDC = dc;
        item.rcItem = area;
        item.itemData = ::SendMessageW(colours.Handle(), CB_GETITEMDATA, index, 0);
        QvColors::DrawItem(item);
    };

    draw(75);   // Red
    EXPECT_GT(CountPixels(dc, area, RGB(255, 0, 0)), 10);
    EXPECT_EQ(CountPixels(dc, area, RGB(0, 0, 0)), 0);

    draw(97);   // White
    EXPECT_GT(CountPixels(dc, area, RGB(0, 0, 0)), 10);
    EXPECT_EQ(CountPixels(dc, area, RGB(255, 0, 0)), 0);   // the old item is gone

    // A name longer than the drawing buffer is cut, not overrun.
    const int last = colours.AddItem(std::u16string(3000, u'W'), RGB(0, 0, 255), false);
    ASSERT_EQ(last, 100);
    draw(last);
    EXPECT_GT(CountPixels(dc, area, RGB(0, 0, 255)), 10);

    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

}  // namespace
}  // namespace kodrin::test
