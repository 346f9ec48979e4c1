// The simple controls: label and list box.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/label.h"
#include "framework/list_box.h"
#include "framework/test_window.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = MakeRecordingWindow(&parentLog_, nullptr, 0, 0, 0, 400, 300);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override {
        ::DestroyWindow(parent_);
        DrainMessages();
    }
    Recorder parentLog_;
    HWND parent_ = nullptr;
};

std::u16string ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return reinterpret_cast<const char16_t*>(name);
}

TEST_F(ControlsTest, LabelIsAPushButtonWithItsTextByDefault) {
    QvLibrary::QvLabel label(u"Search");
    ASSERT_TRUE(label.Create(parent_, 31, 5, 5, 80, 24));
    HWND button = label.Handle();
    EXPECT_EQ(ClassOf(button), u"Button");
    EXPECT_EQ(WindowText(button), u"Search");
    EXPECT_EQ(::GetDlgCtrlID(button), 31);
    EXPECT_EQ(::GetWindowLongW(button, GWL_STYLE) & (BS_TYPEMASK | BS_PUSHLIKE), 0);
    EXPECT_EQ(::GetWindowLongW(button, GWL_EXSTYLE) & WS_EX_RIGHT, 0);

    QvLibrary::QvLabel text(u"Note", false, false, false, true);
    ASSERT_TRUE(text.Create(parent_, 32));
    EXPECT_EQ(ClassOf(text.Handle()), u"Static");
    EXPECT_NE(::GetWindowLongW(text.Handle(), GWL_EXSTYLE) & WS_EX_RIGHT, 0);

    QvLibrary::QvLabel drawn(u"", true, true, true);
    ASSERT_TRUE(drawn.Create(parent_, 33));
    const LONG style = ::GetWindowLongW(drawn.Handle(), GWL_STYLE);
    EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_NE(style & BS_PUSHLIKE, 0);
}

TEST_F(ControlsTest, ListBoxKeepsDataWithItsItemsWhenTheyMove) {
    QvLibrary::QvListBox box;
    EXPECT_EQ(box.AddItem(u"unbound", 1), -1);
    ASSERT_TRUE(box.Create(parent_, 40, 0, 0, 200, 200));
    EXPECT_EQ(box.AddItem(u"Name", 10), 0);
    EXPECT_EQ(box.AddItem(u"Version", 20), 1);
    EXPECT_EQ(box.AddItem(u"Company", 0xFFFFFFF0u), 2);
    EXPECT_EQ(box.Count(), 3);
    EXPECT_EQ(box.ItemText(1), u"Version");
    EXPECT_EQ(box.ItemData(2), 0xFFFFFFF0u);
    EXPECT_EQ(box.ItemText(7), u"");

    int index = -1;
    EXPECT_FALSE(box.CurrentSelection(index));
    EXPECT_FALSE(box.MoveSelectedUp());
    ::SendMessageW(box.Handle(), LB_SETCURSEL, 2, 0);
    ASSERT_TRUE(box.CurrentSelection(index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(box.MoveSelectedDown());   // already last
    ASSERT_TRUE(box.MoveSelectedUp());
    EXPECT_EQ(box.ItemText(1), u"Company");
    EXPECT_EQ(box.ItemData(1), 0xFFFFFFF0u);
    EXPECT_EQ(box.ItemText(2), u"Version");
    EXPECT_EQ(box.ItemData(2), 20u);
    EXPECT_TRUE(box.IsSelected(1));
    ASSERT_TRUE(box.MoveSelectedUp());
    EXPECT_FALSE(box.MoveSelectedUp());   // already first
    EXPECT_EQ(box.ItemText(0), u"Company");

    box.ClearSelection();
    EXPECT_FALSE(box.CurrentSelection(index));
    EXPECT_TRUE(box.DeleteItem(0));
    EXPECT_FALSE(box.DeleteItem(5));
    EXPECT_EQ(box.Count(), 2);
    EXPECT_EQ(box.ItemData(0), 10u);
}

}  // namespace
}  // namespace kodrin::test
