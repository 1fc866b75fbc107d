// The tables behind the old-calendar date, the 24 solar terms and the seasonal days:
// src/calendar/LunarMonthTable.inc (the first day of every lunar month) and
// src/calendar/SolarTermTable.inc (the JST day of each solar longitude that names a day).
#pragma once

#include <string>
#include <vector>

#include "LunarCalendar.h"
#include "platform/Date.h"

namespace rokuyo {

// A longitude the tables date every year and the Gregorian month it always falls in.
struct YearLongitude {
    int degrees = 0;
    int month = 0;
};

// In the order of a year's line: the 24 solar terms from 小寒 (285°) to 冬至 (270°), then the
// longitudes of the seasonal days of their own: 土用入り 297° and 27°, 入梅 80°, 半夏生 100°,
// 土用入り 117° and 207°.
const std::vector<YearLongitude>& yearLongitudes();

// The JST instant (Julian Day) at which the sun reaches a longitude within the given year and
// month.
double longitudeInstantJst(int degrees, int year, int month);

// The JST dates of the year's longitudes, in the order above. Throws when one leaves its month.
std::vector<kal::Date> longitudeDates(int year);

// The whole SolarTermTable.inc text for 1900-2099: one line of 2-digit days per year.
std::string solarTermTableFile();

// The whole LunarMonthTable.inc text: every lunar month from the one holding 1900-01-01 to the
// first one after 2099-12-31.
std::string lunarMonthTableFile(const LunarCalendar& calendar);

// The year's longitudes whose instants lie within the given minutes of a JST midnight, for the
// report; `id` is the longitude.
std::vector<AstronomicalEvent> longitudesNearMidnight(double minutes, int firstYear, int lastYear);

} // namespace rokuyo
