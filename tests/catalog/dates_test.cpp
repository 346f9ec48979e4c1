// The date helper: every style in both directions, the clamping of parsed
// dates and month arithmetic across year ends.
#include <gtest/gtest.h>

#include "catalog/dates.h"

namespace kodrin {
namespace {

Date Make(int year, int month, int day) {
    Date d;
    d.year = year;
    d.month = month;
    d.day = day;
    return d;
}

void ExpectDate(const Date& d, int year, int month, int day) {
    EXPECT_EQ(d.year, year);
    EXPECT_EQ(d.month, month);
    EXPECT_EQ(d.day, day);
}

TEST(FormatDate, EveryStyle) {
    const Date d = Make(2007, 3, 5);
    EXPECT_EQ(FormatDate(d, 1), u"03/05/07");
    EXPECT_EQ(FormatDate(d, 2), u"Mar 05, 2007");
    EXPECT_EQ(FormatDate(d, 3), u"03/05/2007");
    EXPECT_EQ(FormatDate(d, 4), u"March 05, 2007");
    EXPECT_EQ(FormatDate(d, 5), u"05/03/07");
    EXPECT_EQ(FormatDate(d, 6), u"05/03/2007");
    EXPECT_EQ(FormatDate(d, 7), u"2007-03-05");
}

TEST(FormatDate, PaddingShortYearsAndTime) {
    EXPECT_EQ(FormatDate(Make(7, 12, 31), 3), u"12/31/0007");
    EXPECT_EQ(FormatDate(Make(2000, 1, 1), 1), u"01/01/00");
    EXPECT_EQ(FormatDate(Make(12345, 11, 30), 6), u"30/11/12345");
    EXPECT_EQ(FormatDate(Make(2099, 12, 31), 5), u"31/12/99");
    Date t = Make(2007, 3, 5);
    t.hour = 9;
    t.minute = 4;
    t.second = 7;
    EXPECT_EQ(FormatDate(t, 3), u"03/05/2007");  // no time part unless asked for
    t.timeStyle = TimeStyle::HoursMinutes;
    EXPECT_EQ(FormatDate(t, 3), u"03/05/2007 09:04");
    t.timeStyle = TimeStyle::HoursMinutesSeconds;
    EXPECT_EQ(FormatDate(t, 7), u"2007-03-05 09:04:07");
}

TEST(ParseDate, NumericStylesAndCentury) {
    ExpectDate(ParseDate(u"12/31/99", 1), 2099, 12, 31);
    ExpectDate(ParseDate(u"31/12/2007", 6), 2007, 12, 31);
    ExpectDate(ParseDate(u"05/03/07", 5), 2007, 3, 5);
    ExpectDate(ParseDate(u"03/05/07", 3), 7, 3, 5);  // no century in the long styles
    ExpectDate(ParseDate(u"03/05/2007", 9), 2007, 3, 5);  // unknown styles read month first
    ExpectDate(ParseDate(u"  3.5.2007 ", 3), 2007, 3, 5);
}

TEST(ParseDate, EmptyTextGivesFirstJanuary) {
    ExpectDate(ParseDate(u"", 3), 0, 1, 1);
    ExpectDate(ParseDate(u"", 6), 0, 1, 1);
    ExpectDate(ParseDate(u"", 1), 2000, 1, 1);
    ExpectDate(ParseDate(u"", 5), 2000, 1, 1);
}

TEST(ParseDate, MonthNamesIgnoringCase) {
    ExpectDate(ParseDate(u"Feb 30, 2008", 3), 2008, 2, 29);
    ExpectDate(ParseDate(u"Feb 30, 2007", 6), 2007, 2, 28);
    ExpectDate(ParseDate(u"MARCH 05, 2007", 1), 2007, 3, 5);
    ExpectDate(ParseDate(u"  september 9 1999", 6), 1999, 9, 9);
    ExpectDate(ParseDate(u"may 1, 2010", 3), 2010, 5, 1);
    // A word that names no month falls back to the numbers in style order.
    ExpectDate(ParseDate(u"on 04/02/2010", 6), 2010, 2, 4);
}

TEST(ParseDate, ClampsMonthAndDay) {
    ExpectDate(ParseDate(u"13/40/2007", 3), 2007, 12, 31);
    ExpectDate(ParseDate(u"0/0/2007", 3), 2007, 1, 1);
    ExpectDate(ParseDate(u"02/29/1900", 3), 1900, 2, 28);  // not a leap year
    ExpectDate(ParseDate(u"02/29/2000", 3), 2000, 2, 29);
    ExpectDate(ParseDate(u"-3/5/2007", 3), 2007, 1, 5);    // a leading minus is a sign
    ExpectDate(ParseDate(u"99999999999999/1/1", 3), 1, 12, 1);  // huge numbers do not overflow
}

TEST(ParseDate, DashesBetweenNumbersSeparate) {
    ExpectDate(ParseDate(u"2007-03-05", 7), 2007, 3, 5);
    ExpectDate(ParseDate(u"12-31-2007", 3), 2007, 12, 31);
}

TEST(ParseDate, FurtherNumbersAreTheTime) {
    const Date d = ParseDate(u"03/05/2007 25:61:75", 3);
    ExpectDate(d, 2007, 3, 5);
    EXPECT_EQ(d.hour, 1);
    EXPECT_EQ(d.minute, 1);
    EXPECT_EQ(d.second, 15);
    const Date n = ParseDate(u"Mar 05, 2007 10:30", 3);
    EXPECT_EQ(n.hour, 10);
    EXPECT_EQ(n.minute, 30);
    EXPECT_EQ(n.second, 0);
}

TEST(ParseDate, ReadsWhatFormatDateWrites) {
    for (int style = 1; style <= 7; ++style) {
        for (const Date& d : {Make(2007, 3, 5), Make(2024, 2, 29), Make(2031, 12, 31), Make(2000, 1, 1)}) {
            SCOPED_TRACE(style);
            ExpectDate(ParseDate(FormatDate(d, style), style), d.year, d.month, d.day);
        }
    }
}

TEST(AddMonths, BackwardsBorrowsAndCutsTheDay) {
    ExpectDate(AddMonths(Make(2007, 3, 31), -1), 2007, 2, 28);
    ExpectDate(AddMonths(Make(2007, 1, 15), -1), 2006, 12, 15);
    ExpectDate(AddMonths(Make(2007, 6, 10), -6), 2006, 12, 10);
    ExpectDate(AddMonths(Make(2007, 6, 10), -25), 2005, 5, 10);
    ExpectDate(AddMonths(Make(2008, 3, 31), -13), 2007, 2, 28);
    ExpectDate(AddMonths(Make(1, 6, 1), -36), 0, 6, 1);  // never below year 0
}

TEST(AddMonths, ForwardsCarries) {
    ExpectDate(AddMonths(Make(2007, 12, 15), 1), 2008, 1, 15);
    ExpectDate(AddMonths(Make(2007, 1, 31), 1), 2007, 2, 28);
    ExpectDate(AddMonths(Make(2007, 8, 31), 6), 2008, 2, 29);
    ExpectDate(AddMonths(Make(2007, 5, 20), 24), 2009, 5, 20);
    ExpectDate(AddMonths(Make(2007, 5, 20), 0), 2007, 5, 20);
    ExpectDate(AddMonths(Make(2007, 5, 20), -2147483647 - 1), 0, 9, 20);  // no overflow
}

TEST(CompareDates, YearThenMonthThenDay) {
    EXPECT_LT(CompareDates(Make(2006, 12, 31), Make(2007, 1, 1)), 0);
    EXPECT_GT(CompareDates(Make(2007, 2, 1), Make(2007, 1, 31)), 0);
    EXPECT_LT(CompareDates(Make(2007, 2, 1), Make(2007, 2, 2)), 0);
    Date a = Make(2007, 2, 1);
    a.hour = 23;
    EXPECT_EQ(CompareDates(a, Make(2007, 2, 1)), 0);  // the time is ignored
}

TEST(DaysInMonth, GregorianLeapYears) {
    EXPECT_EQ(DaysInMonth(2007, 2), 28);
    EXPECT_EQ(DaysInMonth(2008, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2007, 4), 30);
    EXPECT_EQ(DaysInMonth(2007, 12), 31);
}

TEST(Today, IsAPlausibleLocalDate) {
    const Date today = Today();
    EXPECT_GE(today.year, 2020);
    EXPECT_GE(today.month, 1);
    EXPECT_LE(today.month, 12);
    EXPECT_GE(today.day, 1);
    EXPECT_LE(today.day, DaysInMonth(today.year, today.month));
}

}  // namespace
}  // namespace kodrin
