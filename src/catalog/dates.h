// The date helper: date texts in the styles the catalog uses, month arithmetic
// and comparison. Dates of records are plain text in the style that was
// current when they were entered; they are compared only through ParseDate.
#pragma once

#include <string>
#include <string_view>

namespace kodrin {

// Date styles: 1 MM/DD/YY, 2 "Mar 05, 2007", 3 MM/DD/YYYY, 4 "March 05, 2007",
// 5 DD/MM/YY, 6 DD/MM/YYYY, 7 YYYY-MM-DD. Only 1, 3, 5 and 6 can be chosen.
enum class TimeStyle { None, HoursMinutes, HoursMinutesSeconds };

struct Date {
    int year = 0;
    int month = 1;  // 1..12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dateStyle = 3;
    TimeStyle timeStyle = TimeStyle::None;
};

std::u16string FormatDate(const Date& date, int style);
Date ParseDate(std::u16string_view text, int style);
Date AddMonths(const Date& date, int n);

// Year, then month, then day; the time of day is ignored.
int CompareDates(const Date& a, const Date& b);

int DaysInMonth(int year, int month);

// Today's date from the system clock (local time).
Date Today();

}  // namespace kodrin
