// QvListView: the report-style list whose rows carry a 32-bit data value
// (a record id), with column sorting and wheel scrolling.
//
// Sorting: Sort(column) sorts by that column, ascending, or reverses the
// order when the column is already the sort column; Sort(-1) re-applies the
// stored sort. Columns flagged numeric compare by the number reader, all
// others by text ignoring case. The sort column's header shows bitmap 8001
// (ascending) or 8000 (descending) from the bitmap module.
//
// Owner data: a list given a text source before it is created is made an
// owner-data list (LVS_OWNERDATA). Its rows are only their data values, held
// here; the texts come from the source whenever the list shows, sorts or
// reads a cell, so filling a list of any size is one count change. Its
// parent hands every notification of the list to OnNotify first, which
// answers the list's questions (texts, find by data or by typed text). The
// list keeps the selection by row: a sort moves it with the rows' data.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/window.h"

namespace QvLibrary {

class QvListView : public QvWindow {
public:
    QvListView();
    ~QvListView() override;
    bool Create(HWND parent, int id) override;
    bool Create(HWND parent, int id, int x, int y, int width, int height) override;
    // Sets the full-row-select style and forgets the columns, then attaches.
    bool Attach(HWND window) override;

    // The texts of an owner-data list: the text of the cell in the column of
    // the row carrying the data.
    using TextSource = std::function<std::u16string(std::uint32_t data, int column)>;
    // Makes the next Create make an owner-data list whose texts come from
    // the source.
    void SetTextSource(TextSource source);
    // The list was created with owner data.
    bool OwnerData() const { return ownerData_; }
    // Replaces every row: the rows carry these data values, in this order,
    // none selected, scrolled to the top. Not sorted.
    void SetRows(std::vector<std::uint32_t> rows);
    // Shows the row's texts again (the source's texts of it changed).
    void RedrawRow(int row);
    // The list's notifications, handed over by its parent: answers the
    // owner-data questions and keeps the selection moves of a sort to
    // itself. True when the notification was answered (result set).
    bool OnNotify(const NMHDR& header, LRESULT& result);

    // Appends a row carrying the data; its index, or -1.
    int InsertRow(std::uint32_t data);
    // Index of the row carrying the data, or -1.
    int FindRow(std::uint32_t data) const;
    // Changes an existing column, or inserts one for an index at or beyond
    // the column count. format is LVCFMT_LEFT, LVCFMT_RIGHT, ...
    bool SetColumn(int index, int format, int width, const std::u16string& caption, bool numeric);
    int ColumnCount() const { return columnCount_; }
    // Removes the column; the later ones move one place left.
    bool DeleteColumn(int index);
    int ColumnWidth(int index) const;
    // An owner-data list takes its texts from the source: there SetText
    // only shows the row again.
    bool SetText(int row, int column, const std::u16string& text);
    // At most 1024 characters.
    std::u16string GetText(int row, int column) const;
    using QvWindow::SetText;
    using QvWindow::GetText;

    int RowCount() const;
    int SelectedCount() const;
    int FirstSelected() const;   // -1 when none
    std::uint32_t ItemData(int row) const;
    void SelectRow(int row);
    void DeselectRow(int row);
    void SelectAll();
    void DeselectAll();
    bool DeleteRow(int row);
    void DeleteAllRows();

    // A column click (column >= 0) or a re-sort with the stored state (-1).
    void Sort(int column);
    int SortColumn() const { return sortColumn_; }
    bool SortReverse() const { return sortReverse_; }
    // The stored sort (from the settings); nothing is sorted yet.
    void SetSortState(int column, bool reverse);
    // Where bitmaps 8000 and 8001 come from; the list window's module by default.
    void SetBitmapModule(HINSTANCE module);

    // The list's wheel handler: accumulates the delta and scrolls 14 pixels
    // per whole notch of 120.
    static void OnWheel(WindowState& state, int delta);

private:
    struct SortKey {
        LPARAM data;
        std::u16string text;
        double number;
    };
    struct SortContext {
        std::vector<SortKey> keys;   // ordered by data
        bool numeric;
        bool reverse;
    };
    void SortRows();
    void SortOwnerRows();
    // The cell's text as sorting and reading see it: at most 1024 characters.
    std::u16string SourceText(int row, int column) const;
    LRESULT FindByText(const NMLVFINDITEMW& find) const;
    static int CompareKeys(const std::u16string& a, double x, const std::u16string& b, double y, bool numeric,
                           bool reverse);
    static int CALLBACK CompareByData(LPARAM first, LPARAM second, LPARAM context);
    void SetItemData(int row, LPARAM data);
    bool IsNumeric(int column) const;
    void ShowSortBitmap();
    HBITMAP SortBitmap(bool reverse);

    TextSource source_;
    std::vector<std::uint32_t> rows_;     // owner data: each row's data
    bool ownerData_ = false;
    bool movingSelection_ = false;        // a sort moves the selection with the rows
    std::vector<std::uint8_t> numeric_;   // per column: 1 = numeric
    int columnCount_ = 0;
    int sortColumn_ = 0;
    bool sortReverse_ = false;
    HINSTANCE bitmapModule_ = nullptr;
    HBITMAP ascending_ = nullptr;    // 8001, owned
    HBITMAP descending_ = nullptr;   // 8000, owned
};

}  // namespace QvLibrary
