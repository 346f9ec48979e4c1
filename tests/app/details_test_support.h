// Shared pieces of the details-dialog and login-dialog tests: the program's
// application object, a small catalog, and message helpers.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/record.h"
#include "catalog/settings.h"
#include "framework/app.h"
#include "support/win32/dialog_driver.h"
#include "ids.h"
#include "string_ids.h"

namespace kodrin::test {

inline const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// A button press handled before the call returns (a nested dialog runs
// inside it, answered by the driver's next script).
inline void Press(HWND dialog, int id) {
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

inline bool Visible(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE; }
inline bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

// Selects the tab and tells the dialog, as a click on the tab would.
inline void ShowTab(HWND dialog, int index) {
    HWND tabs = ::GetDlgItem(dialog, IDC_DETAILS_TABS);
    ::SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR header{tabs, IDC_DETAILS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(dialog, WM_NOTIFY, IDC_DETAILS_TABS, reinterpret_cast<LPARAM>(&header));
}

// Selects the drop-down item with the text and tells the dialog.
inline void ChooseComboText(HWND dialog, int id, const std::u16string& text) {
    HWND combo = ::GetDlgItem(dialog, id);
    const LRESULT index = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(W(text)));
    ASSERT_NE(index, CB_ERR) << "no item";
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

inline void SelectListRow(HWND list, int row, bool selected) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

inline std::u16string ListText(HWND list, int row, int column) {
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<const char16_t*>(buffer);
}

inline int ListCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

inline std::u16string ClipboardText() {
    std::u16string text;
    if (!::OpenClipboard(nullptr)) return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (auto* chars = static_cast<const char16_t*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

inline void PutOnClipboard(const std::u16string& text) {
    if (!::OpenClipboard(nullptr)) return;
    ::EmptyClipboard();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    if (block != nullptr) {
        auto* chars = static_cast<char16_t*>(::GlobalLock(block));
        std::copy(text.begin(), text.end(), chars);
        chars[text.size()] = u'\0';
        ::GlobalUnlock(block);
        ::SetClipboardData(CF_UNICODETEXT, block);
    }
    ::CloseClipboard();
}

class DialogTest : public ::testing::Test {
protected:
    DialogTest() : app_(STR_PROGRAM_NAME, STR_COMPANY, STR_TITLE), settings_(NewSettings()) {
        catalog_.options = &settings_;
        catalog_.categories = {u"Games", u"Utilities", u"Office"};
        catalog_.licenseTypes = {u"Freeware", u"Shareware"};
        catalog_.paymentMethods = {u"Card", u"Cash"};
    }
    void TearDown() override {
        EXPECT_EQ(driver_.Unexpected(), 0);
        EXPECT_EQ(driver_.Pending(), 0);
        DrainMessages();
    }

    QvLibrary::QvApp app_;
    Settings settings_;
    Catalog catalog_;
    DialogDriver driver_;
};

}  // namespace kodrin::test
