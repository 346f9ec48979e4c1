// The report list: rows and their data, column sorting with the header's
// sort arrow, and wheel scrolling by whole notches; the owner-data list
// against the ordinary one as its oracle.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <utility>
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
    AddRow(5, u"e", u"$1,200.50");   // reads as 1200.5: thousands are grouped
    AddRow(6, u"f", u"");            // reads as 0
    AddRow(7, u"g", u"1,5");         // reads as 1: not a group of three

    list_.Sort(1);
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"-3", u"", u"1,5", u"9", u"10", u"$12.50", u"$1,200.50"}));
    list_.Sort(1);
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"$1,200.50", u"$12.50", u"10", u"9", u"1,5", u"", u"-3"}));

    // The version column is text: "10" sorts before "9".
    list_.SetText(0, 2, u"9");
    list_.SetText(1, 2, u"10");
    list_.Sort(2);
    EXPECT_EQ(list_.GetText(0, 2), u"");
    EXPECT_EQ(list_.GetText(5, 2), u"10");
    EXPECT_EQ(list_.GetText(6, 2), u"9");
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

// ---------------------------------------------------------------------------
// Owner data: the rows hold data values, the texts come from a source. Its
// parent hands the list's notifications to it, as the main window does.

struct Cells {
    std::u16string name, price, version;
};

QvListView* g_owner = nullptr;
std::map<UINT, int> g_unanswered;   // notifications the owner-data list left to its parent
WNDPROC g_parentProc = nullptr;
LRESULT CALLBACK ForwardingParent(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NOTIFY && g_owner != nullptr) {
        const auto& header = *reinterpret_cast<const NMHDR*>(lp);
        LRESULT result = 0;
        if (g_owner->OnNotify(header, result)) return result;
        if (header.hwndFrom == g_owner->Handle()) ++g_unanswered[header.code];
    }
    return ::CallWindowProcW(g_parentProc, window, message, wp, lp);
}

class OwnerDataTest : public ListViewTest {
protected:
    void SetUp() override {
        ListViewTest::SetUp();
        g_parentProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(parent_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForwardingParent)));
        g_unanswered.clear();
        owned_.SetTextSource([this](std::uint32_t data, int column) {
            const Cells& cells = cells_[data];
            return column == 0 ? cells.name : column == 1 ? cells.price : column == 2 ? cells.version : u"";
        });
        ASSERT_TRUE(owned_.Create(parent_, 1205, 0, 0, 480, 280));
        g_owner = &owned_;
        ASSERT_TRUE(owned_.SetColumn(0, LVCFMT_LEFT, 120, u"Name", false));
        ASSERT_TRUE(owned_.SetColumn(1, LVCFMT_RIGHT, 80, u"Price", true));
        ASSERT_TRUE(owned_.SetColumn(2, LVCFMT_LEFT, 80, u"Version", false));
    }
    void TearDown() override {
        g_owner = nullptr;
        owned_.Unbind();
        ListViewTest::TearDown();
    }
    // The same rows in the ordinary list and in the owner-data list.
    void AddBoth(std::uint32_t data, Cells cells) {
        AddRow(data, cells.name, cells.price, cells.version);
        cells_[data] = std::move(cells);
        std::vector<std::uint32_t> rows;
        for (int row = 0; row < owned_.RowCount(); ++row) rows.push_back(owned_.ItemData(row));
        rows.push_back(data);
        owned_.SetRows(rows);
    }
    std::vector<std::uint32_t> Data(const QvListView& list) const {
        std::vector<std::uint32_t> data;
        for (int row = 0; row < list.RowCount(); ++row) data.push_back(list.ItemData(row));
        return data;
    }
    std::vector<std::uint32_t> SelectedData(const QvListView& list) const {
        std::vector<std::uint32_t> data;
        for (int row = -1;;) {
            row = static_cast<int>(::SendMessageW(list.Handle(), LVM_GETNEXTITEM, row, LVNI_SELECTED));
            if (row < 0) break;
            data.push_back(list.ItemData(row));
        }
        std::sort(data.begin(), data.end());
        return data;
    }
    // What the list control itself shows in a cell (it asks its parent).
    std::u16string Shown(int row, int column, int capacity = 1100) const {
        std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity), L'?');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = capacity;
        const auto length = ::SendMessageW(owned_.Handle(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return std::u16string(reinterpret_cast<const char16_t*>(item.pszText), static_cast<std::size_t>(length));
    }

    std::map<std::uint32_t, Cells> cells_;
    QvListView owned_;
};

TEST_F(OwnerDataTest, SortsLikeTheSystemListKeepingSelectionAndFocusWithTheData) {
    EXPECT_NE(::GetWindowLongW(owned_.Handle(), GWL_STYLE) & LVS_OWNERDATA, 0);
    EXPECT_EQ(::GetWindowLongW(list_.Handle(), GWL_STYLE) & LVS_OWNERDATA, 0);
    // Ties in every column, case-only differences, numbers the reader
    // shortens, empty cells.
    const Cells rows[] = {
        {u"b", u"10", u"2.0"},  {u"A", u"9", u"10"},   {u"c", u"$1,200.50", u""}, {u"B", u"-3", u"9"},
        {u"a", u"10", u"2.0"},  {u"", u"", u"1.0"},     {u"b", u"$12.50", u"10"},  {u"\u00c9t\u00e9", u"9", u"2.0"},
        {u"d-e", u"0", u""},    {u"de", u"9", u"1.0"},  {u"b", u"10", u"9"},       {u"Z", u"1", u"2.0"},
        // What the locale's comparison treats specially: word punctuation,
        // symbols, accents, other scripts, digits, spaces.
        {u"co-op", u"1", u"it's"}, {u"coop", u"2", u"its"}, {u"co op", u"3", u"-"},
        {u"\u00c5ngstr\u00f6m", u"4", u"& Co"}, {u"angstrom", u"5", u"<beta>"},
        {u"\u03a3\u03cd\u03bd\u03b8\u03b5\u03c3\u03b7", u"6", u"\u65e5\u672c\u8a9e"},
        {u"\u0420\u0435\u0434\u0430\u043a\u0442\u043e\u0440", u"7", u"Caf\u00e9"}, {u"10 Tools", u"8", u"cafe"},
        {u"9 Tools", u"9", u"CAFE"}, {u" Tools", u"10", u"caf\u00e9 "},
    };
    for (std::uint32_t i = 0; i < std::size(rows); ++i) AddBoth(500 + i * 7, rows[i]);
    EXPECT_EQ(owned_.RowCount(), static_cast<int>(std::size(rows)));
    EXPECT_EQ(::SendMessageW(owned_.Handle(), LVM_GETITEMCOUNT, 0, 0), owned_.RowCount());

    // The same selection and focus in both lists.
    for (QvListView* list : {&list_, &owned_}) {
        for (const int row : {1, 4, 10}) list->SelectRow(row);
        LVITEMW focus{};
        focus.stateMask = focus.state = LVIS_FOCUSED;
        ::SendMessageW(list->Handle(), LVM_SETITEMSTATE, 6, reinterpret_cast<LPARAM>(&focus));
    }
    g_unanswered.clear();
    for (const int click : {0, 0, 1, 1, -1, 2, 2, 1, 0}) {
        list_.Sort(click);
        owned_.Sort(click);
        EXPECT_EQ(owned_.SortColumn(), list_.SortColumn());
        EXPECT_EQ(owned_.SortReverse(), list_.SortReverse());
        EXPECT_EQ(Data(owned_), Data(list_)) << "after a click on " << click;
        for (int column = 0; column < 3; ++column) EXPECT_EQ(Column(column), [&] {
            std::vector<std::u16string> texts;
            for (int row = 0; row < owned_.RowCount(); ++row) texts.push_back(owned_.GetText(row, column));
            return texts;
        }()) << column;
        EXPECT_EQ(SelectedData(owned_), SelectedData(list_));
        const auto focusedData = [](const QvListView& list) {
            const int row = static_cast<int>(::SendMessageW(list.Handle(), LVM_GETNEXTITEM, -1, LVNI_FOCUSED));
            return list.ItemData(row);
        };
        EXPECT_EQ(focusedData(owned_), focusedData(list_));
    }
    // Moving the selection with the rows told the owner nothing.
    EXPECT_EQ(g_unanswered[LVN_ITEMCHANGED] + g_unanswered[LVN_ODSTATECHANGED], 0);
}

TEST_F(OwnerDataTest, TheControlReadsTextsAndFindsRowsThroughTheSource) {
    AddBoth(1, {std::u16string(1500, u'x'), u"1", u"v1"});
    AddBoth(2, {u"Beta", u"2", u"v2"});
    AddBoth(3, {u"Gamma", u"3", u"v3"});
    AddBoth(4, {u"beam", u"4", u"v4"});
    // Up to 1024 characters by GetText, as much as the buffer holds by the control.
    EXPECT_EQ(owned_.GetText(0, 0), list_.GetText(0, 0));
    EXPECT_EQ(Shown(0, 0, 8), std::u16string(7, u'x'));
    EXPECT_EQ(Shown(2, 2), u"v3");
    EXPECT_EQ(owned_.GetText(7, 0), u"");

    // By data, and by typed text from a row on, wrapping, ignoring case.
    EXPECT_EQ(owned_.FindRow(3), 2);
    EXPECT_EQ(owned_.FindRow(9), -1);
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = 4;
    EXPECT_EQ(::SendMessageW(owned_.Handle(), LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 3);
    // Typing asks from the row after the focused one on: that row counts.
    NMLVFINDITEMW typed{};
    typed.hdr.hwndFrom = owned_.Handle();
    typed.hdr.code = LVN_ODFINDITEMW;
    typed.lvfi.flags = LVFI_PARTIAL | LVFI_WRAP;
    typed.lvfi.psz = L"BE";
    LRESULT found = 0;
    for (const auto& [start, row] : {std::pair{0, 1}, {2, 3}, {3, 3}, {4, 1}}) {
        typed.iStart = start;
        ASSERT_TRUE(owned_.OnNotify(typed.hdr, found));
        EXPECT_EQ(found, row) << start;
    }
    typed.lvfi.flags = LVFI_PARTIAL;   // without wrapping
    typed.iStart = 4;
    ASSERT_TRUE(owned_.OnNotify(typed.hdr, found));
    EXPECT_EQ(found, -1);
    find.flags = LVFI_STRING;
    find.psz = L"gamma";
    EXPECT_EQ(::SendMessageW(owned_.Handle(), LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 2);
    find.psz = L"gam";
    EXPECT_EQ(::SendMessageW(owned_.Handle(), LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), -1);

    // The source is the one place of the texts: SetText only redraws.
    cells_[2].name = u"Bravo";
    EXPECT_TRUE(owned_.SetText(1, 0, u"ignored"));
    EXPECT_EQ(Shown(1, 0), u"Bravo");

    // Deleting a row moves the later rows and their selection up.
    owned_.SelectRow(3);
    EXPECT_TRUE(owned_.DeleteRow(1));
    EXPECT_EQ(Data(owned_), (std::vector<std::uint32_t>{1, 3, 4}));
    EXPECT_EQ(SelectedData(owned_), (std::vector<std::uint32_t>{4}));
    EXPECT_EQ(owned_.InsertRow(9), 3);
    EXPECT_EQ(::SendMessageW(owned_.Handle(), LVM_GETITEMCOUNT, 0, 0), 4);
    owned_.SetRows({2, 1});
    EXPECT_EQ(owned_.SelectedCount(), 0);
    EXPECT_EQ(Data(owned_), (std::vector<std::uint32_t>{2, 1}));
    owned_.DeleteAllRows();
    EXPECT_EQ(::SendMessageW(owned_.Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
}

}  // namespace
}  // namespace kodrin::test
