// The report list: rows and their data, column sorting with the header's
// sort arrow, and wheel scrolling by whole notches.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "framework/list_view.h"
#include "framework/test_window.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using QvLibrary::QvListView;

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = MakeRecordingWindow(&parentLog_, nullptr, 0, 0, 0, 500, 300);
        ASSERT_NE(parent_, nullptr);
        ASSERT_TRUE(list_.Create(parent_, 1204, 0, 0, 480, 280));
        ASSERT_TRUE(list_.SetColumn(0, LVCFMT_LEFT, 120, u"Name", false));
        ASSERT_TRUE(list_.SetColumn(1, LVCFMT_RIGHT, 80, u"Price", true));
        ASSERT_TRUE(list_.SetColumn(2, LVCFMT_LEFT, 80, u"Version", false));
    }
    void TearDown() override {
        list_.Unbind();
        ::DestroyWindow(parent_);
        DrainMessages();
    }

    void AddRow(std::uint32_t data, const std::u16string& name, const std::u16string& price,
                const std::u16string& version = u"") {
        const int row = list_.InsertRow(data);
        ASSERT_GE(row, 0);
        list_.SetText(row, 0, name);
        list_.SetText(row, 1, price);
        list_.SetText(row, 2, version);
    }

    std::vector<std::u16string> Column(int column) const {
        std::vector<std::u16string> texts;
        for (int row = 0; row < list_.RowCount(); ++row) texts.push_back(list_.GetText(row, column));
        return texts;
    }

    // The header's bitmap for a column and whether it sits on the right.
    HBITMAP HeaderBitmap(int column, bool* onRight = nullptr) const {
        HWND header = reinterpret_cast<HWND>(::SendMessageW(list_.Handle(), LVM_GETHEADER, 0, 0));
        HDITEMW item{};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        ::SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
        if (onRight != nullptr) *onRight = (item.fmt & HDF_BITMAP_ON_RIGHT) != 0;
        return (item.fmt & HDF_BITMAP) != 0 ? item.hbm : nullptr;
    }

    Recorder parentLog_;
    HWND parent_ = nullptr;
    QvListView list_;
};

std::vector<BYTE> BitsOf(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(info), &info) == 0) return {};
    std::vector<BYTE> bits(static_cast<std::size_t>(info.bmWidthBytes) * info.bmHeight);
    ::GetBitmapBits(bitmap, static_cast<LONG>(bits.size()), bits.data());
    return bits;
}

// The program's sort arrow as the list loads it.
std::vector<BYTE> ArrowBits(int id) {
    auto bitmap = static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    std::vector<BYTE> bits = BitsOf(bitmap);
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    return bits;
}

TEST_F(ListViewTest, RowsCarryTheirDataThroughSelectionAndDeletion) {
    const LONG style = ::GetWindowLongW(list_.Handle(), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_NE(style & LVS_SHOWSELALWAYS, 0);
    EXPECT_NE(::SendMessageW(list_.Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT, 0);
    EXPECT_EQ(list_.ColumnCount(), 3);
    EXPECT_EQ(list_.ColumnWidth(1), 80);

    AddRow(7, u"Alpha", u"1");
    AddRow(0xFFFFFFFEu, u"Beta", u"2");
    AddRow(9, u"Gamma", u"3");
    EXPECT_EQ(list_.FindRow(0xFFFFFFFEu), 1);
    EXPECT_EQ(list_.FindRow(8), -1);
    EXPECT_EQ(list_.ItemData(1), 0xFFFFFFFEu);

    EXPECT_EQ(list_.FirstSelected(), -1);
    list_.SelectRow(2);
    EXPECT_EQ(list_.FirstSelected(), 2);
    list_.SelectAll();
    EXPECT_EQ(list_.SelectedCount(), 3);
    list_.DeselectRow(0);
    EXPECT_EQ(list_.FirstSelected(), 1);
    list_.DeselectAll();
    EXPECT_EQ(list_.SelectedCount(), 0);

    EXPECT_TRUE(list_.DeleteRow(0));
    EXPECT_EQ(list_.FindRow(9), 1);
    list_.DeleteAllRows();
    EXPECT_EQ(list_.RowCount(), 0);

    // Changing an existing column keeps the count; a new index adds one.
    EXPECT_TRUE(list_.SetColumn(1, LVCFMT_LEFT, 50, u"Cost", false));
    EXPECT_EQ(list_.ColumnCount(), 3);
    EXPECT_EQ(list_.ColumnWidth(1), 50);
    EXPECT_TRUE(list_.SetColumn(3, LVCFMT_LEFT, 40, u"More", false));
    EXPECT_EQ(list_.ColumnCount(), 4);
}

TEST_F(ListViewTest, LongTextsAreReadUpTo1024Characters) {
    AddRow(1, std::u16string(1500, u'x'), u"");
    EXPECT_EQ(list_.GetText(0, 0).size(), 1024u);
    EXPECT_EQ(list_.GetText(5, 0), u"");
}

TEST_F(ListViewTest, TextColumnsSortIgnoringCaseAndToggleOnTheSameColumn) {
    AddRow(1, u"b", u"10");
    AddRow(2, u"A", u"9");
    AddRow(3, u"c", u"$1,200.50");
    AddRow(4, u"B2", u"-3");
    list_.SetSortState(1, false);

    list_.Sort(0);   // another column: ascending
    EXPECT_EQ(list_.SortColumn(), 0);
    EXPECT_FALSE(list_.SortReverse());
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"A", u"b", u"B2", u"c"}));
    EXPECT_EQ(list_.ItemData(0), 2u);   // the data travels with its row

    list_.Sort(0);   // the same column again: reversed
    EXPECT_TRUE(list_.SortReverse());
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"c", u"B2", u"b", u"A"}));

    list_.Sort(-1);  // re-apply after a refill: no toggle
    EXPECT_TRUE(list_.SortReverse());
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"c", u"B2", u"b", u"A"}));

    list_.Sort(0);
    EXPECT_FALSE(list_.SortReverse());
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"A", u"b", u"B2", u"c"}));
}

TEST_F(ListViewTest, NumericColumnsSortByTheNumberReader) {
    AddRow(1, u"a", u"10");
    AddRow(2, u"b", u"9");
    AddRow(3, u"c", u"$12.50");
    AddRow(4, u"d", u"-3");
    AddRow(5, u"e", u"$1,200.50");   // reads as 1
    AddRow(6, u"f", u"");            // reads as 0

    list_.Sort(1);
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"-3", u"", u"$1,200.50", u"9", u"10", u"$12.50"}));
    list_.Sort(1);
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"$12.50", u"10", u"9", u"$1,200.50", u"", u"-3"}));

    // The version column is text: "10" sorts before "9".
    list_.SetText(0, 2, u"9");
    list_.SetText(1, 2, u"10");
    list_.Sort(2);
    EXPECT_EQ(list_.GetText(0, 2), u"");
    EXPECT_EQ(list_.GetText(4, 2), u"10");
    EXPECT_EQ(list_.GetText(5, 2), u"9");
}

TEST_F(ListViewTest, RowsSharingADataValueSortAndKeepTheirData) {
    const char16_t* names[] = {u"f", u"c", u"a", u"e", u"b", u"d", u"h", u"g"};
    for (std::uint32_t i = 0; i < 8; ++i) AddRow(i % 3 == 0 ? 77 : 100 + i, names[i], u"");
    list_.SetSortState(0, true);
    list_.Sort(0);   // the stored sort column again: back to ascending
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h"}));
    // f, e and h were rows 0, 3 and 6: data 77; the others kept 100 + row.
    const std::vector<std::uint32_t> expected{102, 104, 101, 105, 77, 77, 107, 77};
    for (int row = 0; row < 8; ++row) EXPECT_EQ(list_.ItemData(row), expected[static_cast<std::size_t>(row)]) << row;
}

TEST_F(ListViewTest, OnlyTheSortColumnShowsTheArrowOfItsDirection) {
    const std::vector<BYTE> up = ArrowBits(8001);
    const std::vector<BYTE> down = ArrowBits(8000);
    ASSERT_FALSE(up.empty());
    ASSERT_FALSE(down.empty());
    ASSERT_NE(up, down);
    AddRow(1, u"x", u"1");

    list_.Sort(2);
    bool onRight = false;
    EXPECT_EQ(BitsOf(HeaderBitmap(2, &onRight)), up);
    EXPECT_TRUE(onRight);
    EXPECT_EQ(HeaderBitmap(0), nullptr);
    EXPECT_EQ(HeaderBitmap(1), nullptr);

    list_.Sort(2);
    EXPECT_EQ(BitsOf(HeaderBitmap(2)), down);

    list_.Sort(1);
    EXPECT_EQ(HeaderBitmap(2), nullptr);
    EXPECT_EQ(BitsOf(HeaderBitmap(1)), up);

    // A stored sort beyond the columns shows no arrow anywhere.
    list_.SetSortState(9, true);
    list_.Sort(-1);
    for (int column = 0; column < 3; ++column) EXPECT_EQ(HeaderBitmap(column), nullptr) << column;
}

TEST_F(ListViewTest, AttachingResetsTheColumnsAndSetsFullRowSelect) {
    HWND plain = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 100, 100, parent_, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    ASSERT_TRUE(list_.Attach(plain));
    EXPECT_EQ(list_.ColumnCount(), 0);
    EXPECT_NE(::SendMessageW(plain, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT, 0);
    list_.Detach();
    EXPECT_EQ(::GetWindowLongPtrW(plain, GWLP_USERDATA), 0);
    ::DestroyWindow(plain);
}

// Records the LVM_SCROLL requests that reach the list.
std::vector<LPARAM> g_scrolls;
WNDPROC g_listProc = nullptr;
LRESULT CALLBACK ScrollSpy(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == LVM_SCROLL) g_scrolls.push_back(lp);
    return ::CallWindowProcW(g_listProc, window, message, wp, lp);
}

TEST_F(ListViewTest, TheWheelScrollsFourteenPixelsPerWholeNotch) {
    for (std::uint32_t i = 0; i < 100; ++i) AddRow(i, u"row", u"1");
    HWND list = list_.Handle();
    g_scrolls.clear();
    g_listProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ScrollSpy)));
    auto wheel = [&](int delta) { ::SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); };

    wheel(-60);
    EXPECT_TRUE(g_scrolls.empty());
    wheel(-60);   // two half turns make one notch: down by 14
    EXPECT_EQ(g_scrolls, (std::vector<LPARAM>{14}));
    EXPECT_EQ(list_.State().wheelRemainder, 0);
    EXPECT_GT(::SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);

    g_scrolls.clear();
    wheel(250);   // two notches up and a remainder that waits
    EXPECT_EQ(g_scrolls, (std::vector<LPARAM>{-28}));
    EXPECT_EQ(list_.State().wheelRemainder, 10);
    wheel(-129);  // -119 stays within a notch
    EXPECT_EQ(g_scrolls.size(), 1u);
    EXPECT_EQ(list_.State().wheelRemainder, -119);
    wheel(-1);
    EXPECT_EQ(g_scrolls.back(), 14);
    EXPECT_EQ(list_.State().wheelRemainder, 0);

    ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listProc));
}

}  // namespace
}  // namespace kodrin::test
