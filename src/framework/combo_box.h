// QvComboBox: a drop-down list whose items carry a 32-bit data value. It
// keeps its own copy of the items; a text already present (ignoring case)
// is not added again. QvColors: the owner-drawn colour box with the
// program's 100 named colours.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/window.h"

namespace QvLibrary {

class QvComboBox : public QvWindow {
public:
    struct Item {
        std::u16string text;
        std::uint32_t data = 0;
    };

    // attachTo: an existing combo box (a dialog's) to use, or null to Create
    // one. sorted: items go in ascending order ignoring case. colours: the
    // owner-drawn colour variant.
    explicit QvComboBox(HWND attachTo = nullptr, bool sorted = false, bool colours = false);
    ~QvComboBox() override;
    bool Create(HWND parent, int id) override;
    bool Create(HWND parent, int id, int x, int y, int width, int height) override;

    // Index of the new item; -1 when the text is already present (ignoring
    // case), or the list refuses it (LastError then holds CB_ERR or
    // CB_ERRSPACE).
    int AddItem(const std::u16string& text, std::uint32_t data, bool select);
    // The item with that text (ignoring case); the first item when absent.
    void SelectText(const std::u16string& text);
    // The first item carrying the data; nothing when none does.
    void SelectData(std::uint32_t data);
    std::u16string SelectedText() const;
    std::uint32_t SelectedData() const;   // 0 when nothing is selected
    int SelectedIndex() const;            // -1 when nothing is selected
    int Count() const { return static_cast<int>(items_.size()); }
    const std::vector<Item>& Items() const { return items_; }
    void Clear();
    int LastError() const { return lastError_; }

private:
    std::vector<Item> items_;
    bool sorted_;
    bool colours_;
    int lastError_ = 0;
};

// One entry of the colour table: the id of its name string and the colour.
struct NamedColour {
    int nameId;
    COLORREF colour;
};

class QvColors : public QvComboBox {
public:
    static constexpr int kColourCount = 100;
    static const NamedColour kColours[kColourCount];

    explicit QvColors(HWND attachTo = nullptr);
    ~QvColors() override;

    // Adds the 100 colours in table order, named from the application's strings.
    void Fill(const QvApp& app);
    // Draws one item for the owner's WM_DRAWITEM: its text (from the list,
    // at most 1024 characters) in its colour, white drawn as black.
    static void DrawItem(const DRAWITEMSTRUCT& item);
};

}  // namespace QvLibrary
