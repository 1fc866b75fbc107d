// The days off by the holiday law, decided date by date from the law's own wording and
// independent of the rule table, so that each can check the other.
#pragma once

#include <optional>
#include <string>

#include "platform/Date.h"

namespace holidays {

// The holiday law was promulgated and took effect on this day.
constexpr kal::Date kLawInForce{1948, 7, 20};
constexpr kal::Date kLastTabulatedDay{2099, 12, 31};

inline constexpr const char* kSubstituteHolidayName = "振替休日";
inline constexpr const char* kCitizensHolidayName = "国民の休日";

// The national holiday on the date, counting the days that special laws made holidays.
std::optional<std::string> nationalHoliday(const kal::Date& date);

// As nationalHoliday, plus substitute holidays and citizens' holidays.
std::optional<std::string> dayOffByLaw(const kal::Date& date);

// One "yyyy/mm/dd<TAB>name" line (LF) per day off from kLawInForce to kLastTabulatedDay.
std::string referenceList();

} // namespace holidays
