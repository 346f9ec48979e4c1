// The update check's schedule: the next due day of every frequency from a
// few telling days, the packed number, and when the check at start-up runs.
#include <gtest/gtest.h>

#include "update/schedule.h"

namespace kodrin::update {
namespace {

Date Day(int year, int month, int day) {
    Date date;
    date.year = year;
    date.month = month;
    date.day = day;
    return date;
}

TEST(Schedule, EveryFrequencyCountsOnTheCalendar) {
    struct Case {
        int frequency;
        Date today;
        Date due;
    };
    const Case cases[] = {
        {20706, Day(2026, 12, 31), Day(2027, 1, 1)},   {20700, Day(2028, 2, 28), Day(2028, 3, 1)},
        {20714, Day(2027, 2, 25), Day(2027, 3, 4)},    {20702, Day(2027, 2, 25), Day(2027, 3, 4)},
        {20709, Day(2027, 1, 31), Day(2027, 2, 28)},   {20701, Day(2026, 12, 31), Day(2027, 2, 28)},
        {20703, Day(2026, 8, 31), Day(2027, 2, 28)},   {20703, Day(2027, 8, 31), Day(2028, 2, 29)},
        {20717, Day(2028, 2, 29), Day(2029, 2, 28)},   {20710, Day(2026, 5, 5), Day(9999, 1, 1)},
        {12345, Day(2026, 5, 5), Day(9999, 1, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frequency);
        const Date due = NextDueDate(c.frequency, c.today);
        EXPECT_EQ(CompareDates(due, c.due), 0) << due.year << "-" << due.month << "-" << due.day;
        // The packed number keeps the day exactly.
        EXPECT_EQ(CompareDates(UnpackScheduleDate(PackScheduleDate(due)), due), 0);
    }
}

TEST(Schedule, TheCheckAtStartUpIsDueFromTheStoredDayOnAndNeverInYear9999) {
    const std::uint32_t march5 = 2031u + 3u * 65536u + 5u * 16777216u;
    EXPECT_EQ(PackScheduleDate(Day(2031, 3, 5)), march5);
    EXPECT_FALSE(UpdateCheckDue(march5, Day(2031, 3, 4)));
    EXPECT_FALSE(UpdateCheckDue(march5, Day(2030, 12, 31)));
    EXPECT_TRUE(UpdateCheckDue(march5, Day(2031, 3, 5)));
    EXPECT_TRUE(UpdateCheckDue(march5, Day(2032, 1, 1)));
    EXPECT_FALSE(UpdateCheckDue(PackScheduleDate(NextDueDate(20710, Day(2031, 3, 5))), Day(9999, 12, 31)));
    EXPECT_FALSE(UpdateCheckDue(std::nullopt, Day(2031, 3, 5)));
}

}  // namespace
}  // namespace kodrin::update
