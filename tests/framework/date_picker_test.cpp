// The date picker: choosing a day, Today, Erase, Cancel and Enter.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "framework/app.h"
#include "framework/date_picker.h"
#include "framework/test_window.h"
#include "support/win32/dialog_driver.h"

namespace kodrin::test {
namespace {

using QvLibrary::DatePicker;

SYSTEMTIME Day(WORD year, WORD month, WORD day) {
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    return date;
}

bool SameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

// A point of the calendar's client area that shows the day of the calendar's
// current month, found with the calendar's own hit test.
bool FindDay(HWND calendar, WORD day, POINT& found) {
    RECT client{};
    ::GetClientRect(calendar, &client);
    for (int y = 0; y < client.bottom; y += 2) {
        for (int x = 0; x < client.right; x += 2) {
            MCHITTESTINFO hit{};
            hit.cbSize = sizeof(hit);
            hit.pt = {x, y};
            ::SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == day) {
                found = hit.pt;
                return true;
            }
        }
    }
    return false;
}

class DatePickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        main_ = MakeRecordingWindow(nullptr, nullptr, 0, 0, 0, 300, 200);
        ASSERT_NE(main_, nullptr);
        app_ = std::make_unique<QvLibrary::QvAppWindows>(30000, 30001, 4109, main_);
    }
    void TearDown() override {
        app_.reset();
        ::DestroyWindow(main_);
        DrainMessages();
    }

    HWND main_ = nullptr;
    std::unique_ptr<QvLibrary::QvAppWindows> app_;
    DialogDriver driver_;
};

TEST_F(DatePickerTest, ClickingADayChoosesItAndChangesOnlyTheDate) {
    DatePicker picker(*app_);
    SYSTEMTIME date = Day(2007, 3, 5);
    date.wHour = 13;
    date.wMinute = 45;
    SYSTEMTIME shown{}, today{};
    bool eraseShown = false, clicked = false;
    driver_.Then([&](HWND dialog) {
        HWND calendar = ::GetDlgItem(dialog, DatePicker::kCalendarItem);
        ::SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
        ::SendMessageW(calendar, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(&today));
        eraseShown = ::IsWindowVisible(::GetDlgItem(dialog, DatePicker::kEraseButton)) != FALSE;
        POINT point{};
        if (FindDay(calendar, 17, point)) {
            clicked = true;
            ::PostMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
            ::PostMessageW(calendar, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        } else {
            Click(dialog, IDCANCEL);
        }
    });
    ASSERT_TRUE(picker.Run(nullptr, date, true));
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(SameDay(shown, Day(2007, 3, 5)));
    EXPECT_TRUE(SameDay(today, Day(2007, 3, 5)));
    EXPECT_TRUE(eraseShown);
    EXPECT_TRUE(SameDay(date, Day(2007, 3, 17)));
    EXPECT_EQ(date.wHour, 13);
    EXPECT_EQ(date.wMinute, 45);
    EXPECT_FALSE(picker.Erased());
    EXPECT_EQ(driver_.Unexpected(), 0);
}

TEST_F(DatePickerTest, CancelAndEraseReturnFalseAndLeaveTheDate) {
    DatePicker picker(*app_);
    SYSTEMTIME date = Day(2012, 2, 29);
    driver_.Then([](HWND dialog) { Click(dialog, IDCANCEL); });
    EXPECT_FALSE(picker.Run(nullptr, date, true));
    EXPECT_FALSE(picker.Erased());
    EXPECT_TRUE(SameDay(date, Day(2012, 2, 29)));

    driver_.Then([](HWND dialog) { Click(dialog, DatePicker::kEraseButton); });
    EXPECT_FALSE(picker.Run(nullptr, date, true));
    EXPECT_TRUE(picker.Erased());
    EXPECT_TRUE(SameDay(date, Day(2012, 2, 29)));

    // The erased mark belongs to one run.
    driver_.Then([](HWND dialog) { Click(dialog, IDCANCEL); });
    EXPECT_FALSE(picker.Run(nullptr, date, true));
    EXPECT_FALSE(picker.Erased());
    EXPECT_EQ(driver_.Unexpected(), 0);
}

TEST_F(DatePickerTest, WithoutEraseTheButtonIsHiddenCancelCentredAndEraseIgnored) {
    DatePicker picker(*app_);
    SYSTEMTIME date = Day(1999, 12, 31);
    bool eraseShown = true, openAfterErase = false;
    RECT client{}, cancel{};
    driver_.Then([&](HWND dialog) {
        eraseShown = ::IsWindowVisible(::GetDlgItem(dialog, DatePicker::kEraseButton)) != FALSE;
        ::GetClientRect(dialog, &client);
        HWND button = ::GetDlgItem(dialog, IDCANCEL);
        ::GetWindowRect(button, &cancel);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&cancel), 2);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(DatePicker::kEraseButton, BN_CLICKED), 0);
        openAfterErase = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(picker.Run(nullptr, date, false));
    EXPECT_FALSE(picker.Erased());
    EXPECT_FALSE(eraseShown);
    EXPECT_TRUE(openAfterErase);
    const int width = cancel.right - cancel.left;
    EXPECT_LE(std::abs(cancel.left - (client.right - width) / 2), 1);
    EXPECT_EQ(cancel.bottom, client.bottom - DatePicker::kCancelBottomGap);
    EXPECT_TRUE(SameDay(date, Day(1999, 12, 31)));
}

TEST_F(DatePickerTest, TodayGivesTheLocalDateEvenForAnUnreadableDate) {
    DatePicker picker(*app_);
    SYSTEMTIME date{};   // a field that held no date
    SYSTEMTIME before{}, after{};
    ::GetLocalTime(&before);
    driver_.Then([](HWND dialog) { Click(dialog, DatePicker::kTodayButton); });
    ASSERT_TRUE(picker.Run(nullptr, date, true));
    ::GetLocalTime(&after);
    EXPECT_TRUE(SameDay(date, before) || SameDay(date, after));
    EXPECT_FALSE(picker.Erased());
}

TEST_F(DatePickerTest, EnterChoosesTheCalendarsDateInsteadOfErasing) {
    DatePicker picker(*app_);
    SYSTEMTIME date = Day(2010, 6, 30);
    driver_.Then([](HWND dialog) {
        HWND calendar = ::GetDlgItem(dialog, DatePicker::kCalendarItem);
        SYSTEMTIME next = Day(2010, 7, 2);
        ::SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&next));
        ::PostMessageW(calendar, WM_KEYDOWN, VK_RETURN, 0);
        ::PostMessageW(calendar, WM_KEYUP, VK_RETURN, 0);
    });
    ASSERT_TRUE(picker.Run(nullptr, date, true));
    EXPECT_FALSE(picker.Erased());
    EXPECT_TRUE(SameDay(date, Day(2010, 7, 2)));
    EXPECT_EQ(driver_.Unexpected(), 0);
}

}  // namespace
}  // namespace kodrin::test
