// Holiday.dat in the schedule folder: one rule per line, kept sorted case-insensitively.
//
// | month 1-2 | day 3-4 | from year 5-8 | to year 9-12 | week number 13 | weekday 14 | kind 15 |
// | name 16- |
#pragma once

#include "store/Columns.h"

namespace kal::store {

inline constexpr const char* kHolidayFileName = "Holiday.dat";

enum class HolidayField { Month, Day, FromYear, ToYear, WeekNo, Weekday, Kind, Name };
inline constexpr Columns<HolidayField, 8> kHolidayColumns{{2, 2, 4, 4, 1, 1, 1}};

// What the calendar and the lists take of a stored name.
inline constexpr std::size_t kHolidayNameBytes = 40;
std::string HolidayName(std::string_view line);

} // namespace kal::store
