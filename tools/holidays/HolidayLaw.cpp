#include "HolidayLaw.h"

#include <cstdio>

#include "Equinox.h"

namespace holidays {

using kal::Date;

namespace {

// Law 10 of 1973: the day after a national holiday on a Sunday is a holiday.
constexpr Date kSubstituteRuleInForce{1973, 4, 12};
// Law 103 of 1985: a day between two national holidays is a holiday.
constexpr Date kCitizensRuleInForce{1985, 12, 27};
// Law 43 of 2005 reworded both rules from 2007.
constexpr Date kRulesReworded{2007, 1, 1};

bool isNthMonday(const Date& d, int n)
{
    return kal::dayOfWeek(d) == 1 && (d.day - 1) / 7 + 1 == n;
}

const char* nationalHolidayName(const Date& d)
{
    const int y = d.year;
    const int day = d.day;
    switch (d.month) {
    case 1:
        if (day == 1)
            return "元日";
        if (y <= 1999 ? day == 15 : isNthMonday(d, 2))
            return "成人の日";
        return nullptr;
    case 2:
        // The day of 建国記念の日 was fixed by cabinet order in December 1966.
        if (day == 11 && y >= 1967)
            return "建国記念の日";
        if (day == 23 && y >= 2020)
            return "天皇誕生日";
        if (y == 1989 && day == 24)
            return "昭和天皇の大喪の礼";
        return nullptr;
    case 3:
        return day == vernalEquinoxDay(y) ? "春分の日" : nullptr;
    case 4:
        if (day == 29)
            return y <= 1988 ? "天皇誕生日" : y <= 2006 ? "みどりの日" : "昭和の日";
        if (y == 1959 && day == 10)
            return "皇太子明仁親王の結婚の儀";
        return nullptr;
    case 5:
        if (y == 2019 && day == 1)
            return "天皇の即位の日";
        if (day == 3)
            return "憲法記念日";
        if (day == 4 && y >= 2007)
            return "みどりの日";
        if (day == 5)
            return "こどもの日";
        return nullptr;
    case 6:
        return y == 1993 && day == 9 ? "皇太子徳仁親王の結婚の儀" : nullptr;
    case 7:
        // The Olympic special measures moved three holidays in 2020 and again in 2021.
        if (y == 2020)
            return day == 23 ? "海の日" : day == 24 ? "スポーツの日" : nullptr;
        if (y == 2021)
            return day == 22 ? "海の日" : day == 23 ? "スポーツの日" : nullptr;
        if (y >= 1996 && (y <= 2002 ? day == 20 : isNthMonday(d, 3)))
            return "海の日";
        return nullptr;
    case 8:
        if (y < 2016)
            return nullptr;
        return day == (y == 2020 ? 10 : y == 2021 ? 8 : 11) ? "山の日" : nullptr;
    case 9:
        if (y >= 1966 && (y <= 2002 ? day == 15 : isNthMonday(d, 3)))
            return "敬老の日";
        return day == autumnalEquinoxDay(y) ? "秋分の日" : nullptr;
    case 10:
        if (y == 2019 && day == 22)
            return "即位礼正殿の儀";
        if (y < 1966 || y == 2020 || y == 2021)
            return nullptr;
        if (y <= 1999)
            return day == 10 ? "体育の日" : nullptr;
        if (!isNthMonday(d, 2))
            return nullptr;
        return y <= 2019 ? "体育の日" : "スポーツの日";
    case 11:
        if (day == 3)
            return "文化の日";
        if (day == 23)
            return "勤労感謝の日";
        if (y == 1990 && day == 12)
            return "即位礼正殿の儀";
        return nullptr;
    case 12:
        return day == 23 && y >= 1989 && y <= 2018 ? "天皇誕生日" : nullptr;
    }
    return nullptr;
}

bool isNationalHoliday(long long n)
{
    const Date d = kal::fromDayNumber(n);
    return d >= kLawInForce && nationalHolidayName(d) != nullptr;
}

// For a day that is not itself a national holiday.
bool isSubstituteHoliday(const Date& d)
{
    const long long day = kal::toDayNumber(d);
    for (long long n = day - 1; isNationalHoliday(n); --n) {
        const Date sunday = kal::fromDayNumber(n);
        if (kal::dayOfWeek(sunday) != 0)
            continue;
        if (sunday < kSubstituteRuleInForce)
            return false;
        // Until 2006 only the Monday ("its next day"); from 2007 the first day after the Sunday
        // that is not a national holiday.
        return sunday >= kRulesReworded || n == day - 1;
    }
    return false;
}

// For a day that is neither a national holiday nor a substitute holiday. Until 2006 the law
// excluded Sundays and substitute holidays; from 2007 it only asks that the day not be a
// national holiday, and a substitute holiday keeps its own name.
bool isCitizensHoliday(const Date& d)
{
    if (d < kCitizensRuleInForce)
        return false;
    if (d < kRulesReworded && kal::dayOfWeek(d) == 0)
        return false;
    const long long n = kal::toDayNumber(d);
    return isNationalHoliday(n - 1) && isNationalHoliday(n + 1);
}

} // namespace

std::optional<std::string> nationalHoliday(const Date& date)
{
    if (date < kLawInForce)
        return std::nullopt;
    if (const char* name = nationalHolidayName(date))
        return name;
    return std::nullopt;
}

std::optional<std::string> dayOffByLaw(const Date& date)
{
    if (auto name = nationalHoliday(date))
        return name;
    if (date < kLawInForce)
        return std::nullopt;
    if (isSubstituteHoliday(date))
        return kSubstituteHolidayName;
    if (isCitizensHoliday(date))
        return kCitizensHolidayName;
    return std::nullopt;
}

std::string referenceList()
{
    std::string text;
    const long long last = kal::toDayNumber(kLastTabulatedDay);
    for (long long n = kal::toDayNumber(kLawInForce); n <= last; ++n) {
        const Date d = kal::fromDayNumber(n);
        const auto name = dayOffByLaw(d);
        if (!name)
            continue;
        char prefix[16];
        std::snprintf(prefix, sizeof prefix, "%04d/%02d/%02d\t", d.year % 10000, d.month % 100, d.day % 100);
        text += prefix;
        text += *name;
        text += '\n';
    }
    return text;
}

} // namespace holidays
