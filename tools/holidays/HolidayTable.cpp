#include "HolidayTable.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <utility>

#include "Equinox.h"
#include "platform/Date.h"
#include "platform/SjisCodec.h"

namespace holidays {

namespace {

constexpr int kOpen = 0;
constexpr int kMonday = 1;
constexpr int kFirstYear = 1948;
constexpr int kLastYear = 2099;

HolidayRule onDate(int month, int day, int fromYear, int toYear, const char* name)
{
    return {month, day, fromYear, toYear, 0, 0, name};
}

HolidayRule onMonday(int month, int weekNo, int fromYear, int toYear, const char* name)
{
    return {month, 0, fromYear, toYear, weekNo, kMonday, name};
}

HolidayRule oneDay(int year, int month, int day, const char* name)
{
    return onDate(month, day, year, year, name);
}

} // namespace

std::vector<HolidayRule> holidayRules()
{
    // Year ranges follow the law's amendments; the first year of each is the first one in which
    // the day fell on or after the amendment took effect (1948-07-20 for the original nine).
    std::vector<HolidayRule> rules = {
        onDate(1, 1, 1949, kOpen, "元日"),
        onDate(1, 15, 1949, 1999, "成人の日"),
        onMonday(1, 2, 2000, kOpen, "成人の日"),
        onDate(2, 11, 1967, kOpen, "建国記念の日"),
        onDate(2, 23, 2020, kOpen, "天皇誕生日"),
        onDate(4, 29, 1949, 1988, "天皇誕生日"),
        onDate(4, 29, 1989, 2006, "みどりの日"),
        onDate(4, 29, 2007, kOpen, "昭和の日"),
        onDate(5, 3, 1949, kOpen, "憲法記念日"),
        onDate(5, 4, 2007, kOpen, "みどりの日"),
        onDate(5, 5, 1949, kOpen, "こどもの日"),
        onDate(7, 20, 1996, 2002, "海の日"),
        onMonday(7, 3, 2003, 2019, "海の日"),
        onMonday(7, 3, 2022, kOpen, "海の日"),
        onDate(8, 11, 2016, 2019, "山の日"),
        onDate(8, 11, 2022, kOpen, "山の日"),
        onDate(9, 15, 1966, 2002, "敬老の日"),
        onMonday(9, 3, 2003, kOpen, "敬老の日"),
        onDate(10, 10, 1966, 1999, "体育の日"),
        onMonday(10, 2, 2000, 2019, "体育の日"),
        onMonday(10, 2, 2022, kOpen, "スポーツの日"),
        onDate(11, 3, 1948, kOpen, "文化の日"),
        onDate(11, 23, 1948, kOpen, "勤労感謝の日"),
        onDate(12, 23, 1989, 2018, "天皇誕生日"),
        // Days made holidays by their own laws.
        oneDay(1959, 4, 10, "皇太子明仁親王の結婚の儀"),
        oneDay(1989, 2, 24, "昭和天皇の大喪の礼"),
        oneDay(1990, 11, 12, "即位礼正殿の儀"),
        oneDay(1993, 6, 9, "皇太子徳仁親王の結婚の儀"),
        oneDay(2019, 5, 1, "天皇の即位の日"),
        oneDay(2019, 10, 22, "即位礼正殿の儀"),
        // Moved for the Olympic Games.
        oneDay(2020, 7, 23, "海の日"),
        oneDay(2020, 7, 24, "スポーツの日"),
        oneDay(2020, 8, 10, "山の日"),
        oneDay(2021, 7, 22, "海の日"),
        oneDay(2021, 7, 23, "スポーツの日"),
        oneDay(2021, 8, 8, "山の日"),
    };
    // The equinox days move, so each year gets its own rule.
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        if (year > kFirstYear)
            rules.push_back(oneDay(year, 3, vernalEquinoxDay(year), "春分の日"));
        rules.push_back(oneDay(year, 9, autumnalEquinoxDay(year), "秋分の日"));
    }
    return rules;
}

std::string formatRule(const HolidayRule& r)
{
    const auto year = [](int y) {
        char text[8];
        if (y == kOpen)
            return std::string("    ");
        std::snprintf(text, sizeof text, "%04d", y % 10000);
        return std::string(text);
    };
    char head[16];
    std::snprintf(head, sizeof head, "%2d", r.month % 100);
    std::string line = head;
    if (r.day == 0) {
        line += "  ";
    } else {
        std::snprintf(head, sizeof head, "%2d", r.day % 100);
        line += head;
    }
    line += year(r.fromYear) + year(r.toYear);
    line += static_cast<char>('0' + r.weekNo);
    line += static_cast<char>('0' + r.weekday);
    line += '0'; // kind: national holiday
    line += r.name;
    return line;
}

std::string holidayDat()
{
    std::vector<std::string> lines;
    for (const HolidayRule& rule : holidayRules()) {
        std::string line = toShiftJis(formatRule(rule));
        if (line.size() - 15 > kMaxNameBytes)
            throw std::length_error("name too long: " + rule.name);
        lines.push_back(std::move(line));
    }
    // std::string compares as unsigned bytes, which is the order the file is kept in.
    std::sort(lines.begin(), lines.end());
    if (std::adjacent_find(lines.begin(), lines.end()) != lines.end()) {
        throw std::logic_error("duplicate holiday rule");
    }
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string toShiftJis(std::string_view utf8)
{
    std::optional<std::string> bytes = kal::sjis::fromUtf8(utf8);
    if (!bytes)
        throw std::runtime_error("no Shift-JIS form for: " + std::string(utf8));
    return std::move(*bytes);
}

int nthWeekdayOfMonth(int year, int month, int n, int weekday)
{
    if (n == 5) {
        const int last = kal::daysInMonth(year, month);
        return last - (kal::dayOfWeek({year, month, last}) - weekday + 7) % 7;
    }
    const int first = 1 + (weekday - kal::dayOfWeek({year, month, 1}) + 7) % 7;
    return first + (n - 1) * 7;
}

} // namespace holidays
