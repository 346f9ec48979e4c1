// QvTabWin: the tab strip; each tab carries a text and a 32-bit data value.
#pragma once

#include <cstdint>
#include <string>

#include "framework/window.h"

namespace QvLibrary {

class QvTabWin : public QvWindow {
public:
    QvTabWin();
    ~QvTabWin() override;
    bool Create(HWND parent, int id) override;
    bool Create(HWND parent, int id, int x, int y, int width, int height) override;

    // Index of the new tab, or -1. Texts show as given: an "&" in them is
    // drawn as itself, not as the mark of a shortcut letter.
    int InsertTab(int index, std::uint32_t data, const std::u16string& text);
    // Deletes the current tab, then selects the one before it (the new first
    // tab when the first was deleted). False when no tab is selected.
    bool DeleteCurrentTab();
    bool RenameCurrentTab(const std::u16string& text);
    // Shows the strip, selects the tab and gives it the focus; the parent is
    // told with TCN_SELCHANGE, as after a click.
    bool SelectTab(int index);
    int CurrentTab() const;   // -1 when none
    int Count() const;
    // Of the current tab: 0 and "" when none is selected.
    std::uint32_t CurrentData() const;
    std::u16string CurrentText() const;   // at most 4095 characters
    void DeleteAllTabs();
};

}  // namespace QvLibrary
