// The days of the vernal and autumnal equinox holidays.
#pragma once

namespace holidays {

// The gazette announces each year's equinox days in February of the year before.
constexpr int kFirstPublishedEquinoxYear = 1948;
constexpr int kLastPublishedEquinoxYear = 2027;

// Day of March / September: the published day where known, else the formula.
int vernalEquinoxDay(int year);
int autumnalEquinoxDay(int year);

// The approximation used by Japanese holiday tables, valid for 1900-2099.
int vernalEquinoxByFormula(int year);
int autumnalEquinoxByFormula(int year);

} // namespace holidays
