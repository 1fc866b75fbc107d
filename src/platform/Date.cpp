#include "platform/Date.h"

namespace kal {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

bool isValidDate(int year, int month, int day)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

// Civil-from-days and days-from-civil after H. Hinnant's public-domain algorithms.
long long toDayNumber(const Date& date)
{
    long long y = date.year - (date.month <= 2 ? 1 : 0);
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long mp = (date.month + 9) % 12;
    long long doy = (153 * mp + 2) / 5 + date.day - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date fromDayNumber(long long days)
{
    days += 719468;
    long long era = (days >= 0 ? days : days - 146096) / 146097;
    long long doe = days - era * 146097;
    long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = yoe + era * 400;
    long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long long mp = (5 * doy + 2) / 153;
    int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return Date{static_cast<int>(y + (m <= 2 ? 1 : 0)), m, d};
}

Date addDays(const Date& date, long long days)
{
    return fromDayNumber(toDayNumber(date) + days);
}

long long daysBetween(const Date& from, const Date& to)
{
    return toDayNumber(to) - toDayNumber(from);
}

int dayOfWeek(const Date& date)
{
    long long n = toDayNumber(date);
    // 1970-01-01 was a Thursday.
    long long w = (n + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

void previousMonth(int& year, int& month)
{
    if (--month < 1) {
        month = 12;
        --year;
    }
}

void nextMonth(int& year, int& month)
{
    if (++month > 12) {
        month = 1;
        ++year;
    }
}

} // namespace kal
