// Gregorian dates and times of day as plain values.
#pragma once

#include <string>
#include <tuple>

namespace kal {

struct Date {
    int year = 1900;
    int month = 1;
    int day = 1;
};

// Spelled out: Qt's moc cannot read the standard <compare> header of this compiler.
inline bool operator==(const Date& a, const Date& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}
inline bool operator!=(const Date& a, const Date& b)
{
    return !(a == b);
}
inline bool operator<(const Date& a, const Date& b)
{
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}
inline bool operator>(const Date& a, const Date& b)
{
    return b < a;
}
inline bool operator<=(const Date& a, const Date& b)
{
    return !(b < a);
}
inline bool operator>=(const Date& a, const Date& b)
{
    return !(a < b);
}

struct DateTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

inline bool operator==(const DateTime& a, const DateTime& b)
{
    return a.date == b.date && a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

bool isLeapYear(int year);
int daysInMonth(int year, int month);
bool isValidDate(int year, int month, int day);

// Days since 1970-01-01 (negative before); exact for every Gregorian date.
long long toDayNumber(const Date& date);
Date fromDayNumber(long long days);

Date addDays(const Date& date, long long days);
long long daysBetween(const Date& from, const Date& to);

// 0 = Sunday ... 6 = Saturday.
int dayOfWeek(const Date& date);

// The month before / after, wrapping the year.
void previousMonth(int& year, int& month);
void nextMonth(int& year, int& month);

} // namespace kal
