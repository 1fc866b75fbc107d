#include "CivilDate.h"

namespace holidays {

long dayNumber(const Date& date) {
  // Howard Hinnant's days_from_civil.
  const int y = date.year - (date.month <= 2 ? 1 : 0);
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long mp = (date.month + 9) % 12;
  const long doy = (153 * mp + 2) / 5 + date.day - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Date dateFromDayNumber(long z) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day};
}

int weekday(const Date& date) {
  const long n = dayNumber(date);
  // 1970-01-01 was a Thursday.
  return static_cast<int>(((n % 7) + 7 + 4) % 7);
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leapYear = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leapYear ? 29 : kDays[month - 1];
}

int nthWeekdayOfMonth(int year, int month, int n, int wantedWeekday) {
  if (n == 5) {
    const int last = daysInMonth(year, month);
    return last - (weekday({year, month, last}) - wantedWeekday + 7) % 7;
  }
  const int first = 1 + (wantedWeekday - weekday({year, month, 1}) + 7) % 7;
  return first + (n - 1) * 7;
}

}  // namespace holidays
