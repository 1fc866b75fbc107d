// Gregorian dates and times of day as plain values.
#pragma once

#include <compare>
#include <string>

namespace kal {

struct Date {
    int year = 1900;
    int month = 1;
    int day = 1;

    auto operator<=>(const Date&) const = default;
};

struct DateTime {
    Date date;
    int hour = 0;
    int minute = 0;
    int second = 0;

    auto operator<=>(const DateTime&) const = default;
};

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
