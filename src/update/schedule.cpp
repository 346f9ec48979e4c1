#include "update/schedule.h"

namespace kodrin::update {

namespace {

// Days since 1 January 1970 of a calendar date, and back (the proleptic
// Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Date CivilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    Date date;
    date.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    date.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2));
    return date;
}

Date AddDays(const Date& date, int days) {
    Date result = CivilFromDays(DaysFromCivil(date.year, date.month, date.day) + days);
    result.dateStyle = date.dateStyle;
    return result;
}

Date Never() {
    Date date;
    date.year = kNeverYear;
    date.month = 1;
    date.day = 1;
    return date;
}

}  // namespace

std::uint32_t PackScheduleDate(const Date& date) {
    return (static_cast<std::uint32_t>(date.year) & 0xFFFFu) | (static_cast<std::uint32_t>(date.month) & 0xFFu) << 16 |
           (static_cast<std::uint32_t>(date.day) & 0xFFu) << 24;
}

Date UnpackScheduleDate(std::uint32_t packed) {
    Date date;
    date.year = static_cast<int>(packed & 0xFFFFu);
    date.month = static_cast<int>(packed >> 16 & 0xFFu);
    date.day = static_cast<int>(packed >> 24 & 0xFFu);
    return date;
}

Date NextDueDate(int frequency, const Date& today) {
    switch (frequency) {
        case 20706: return AddDays(today, 1);
        case 20700: return AddDays(today, 2);
        case 20714:
        case 20702: return AddDays(today, 7);
        case 20709: return AddMonths(today, 1);
        case 20701: return AddMonths(today, 2);
        case 20703: return AddMonths(today, 6);
        case 20717: return AddMonths(today, 12);
        default: return Never();
    }
}

bool UpdateCheckDue(std::optional<std::uint32_t> stored, const Date& today) {
    if (!stored) return false;
    const Date due = UnpackScheduleDate(*stored);
    return due.year != kNeverYear && CompareDates(today, due) >= 0;
}

}  // namespace kodrin::update
