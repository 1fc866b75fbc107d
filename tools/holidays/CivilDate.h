// Proleptic Gregorian dates for the holiday generator.
#pragma once

#include <compare>

namespace holidays {

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  friend auto operator<=>(const Date&, const Date&) = default;
};

// Day numbers count days from 1970-01-01 (= 0).
long dayNumber(const Date& date);
Date dateFromDayNumber(long dayNumber);
// 0 = Sunday ... 6 = Saturday.
int weekday(const Date& date);
int daysInMonth(int year, int month);
// Day of the month of the n-th given weekday (n = 1..4), or of the last one (n = 5).
int nthWeekdayOfMonth(int year, int month, int n, int weekday);

}  // namespace holidays
