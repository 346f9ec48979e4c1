// QvListBox: a list box whose items carry a 32-bit data value.
#pragma once

#include <cstdint>

#include "framework/window.h"

namespace QvLibrary {

class QvListBox : public QvWindow {
public:
    QvListBox();
    ~QvListBox() override;
    bool Create(HWND parent, int id) override;
    bool Create(HWND parent, int id, int x, int y, int width, int height) override;

    // Index of the new item, or -1.
    int AddItem(const std::u16string& text, std::uint32_t data);
    std::u16string ItemText(int index) const;
    std::uint32_t ItemData(int index) const;
    int Count() const;
    // False when nothing is selected.
    bool CurrentSelection(int& index) const;
    bool IsSelected(int index) const;
    bool DeleteItem(int index);
    void ClearSelection();
    // Move the selected item one place, keeping it selected; false at the end.
    bool MoveSelectedUp();
    bool MoveSelectedDown();

private:
    bool MoveSelected(int step);
};

}  // namespace QvLibrary
