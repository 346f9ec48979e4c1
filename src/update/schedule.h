// The schedule of the program's own update check: how often the user wants
// to be asked, and the next day the check at start-up is due, kept in the
// registry as one number (year + month × 65,536 + day × 16,777,216; year
// 9999 for never).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "catalog/dates.h"

namespace kodrin::update {

// The frequencies in the order of the "Auto-Update" dialog's list, by the
// string id of their text ("1 Day", "2 Days", "1 Week", "2 Weeks", "1 Month",
// "2 Months", "6 Months", "1 Year", "Never").
constexpr std::array<int, 9> kFrequencies = {20706, 20700, 20714, 20702, 20709, 20701, 20703, 20717, 20710};
constexpr int kDefaultFrequency = 20714;  // "1 Week"
constexpr int kNeverYear = 9999;

std::uint32_t PackScheduleDate(const Date& date);
Date UnpackScheduleDate(std::uint32_t packed);

// The day the check is next due when the frequency is chosen today: days
// on the calendar, months with the day limited to the month's length (so
// "6 Months" from 31 August is the end of February); "2 Weeks" counts 7
// days, as "1 Week" does; "Never" and any unknown id give 1 January 9999.
Date NextDueDate(int frequency, const Date& today);

// Whether the check at start-up is due today: a stored date that is today
// or earlier, and not in year 9999. Without a stored date it is not.
bool UpdateCheckDue(std::optional<std::uint32_t> stored, const Date& today);

}  // namespace kodrin::update
