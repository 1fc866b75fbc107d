// rokuyo_gen OUTPUT                 writes the rokuyo table (src/calendar/RokuyoTable.inc)
// rokuyo_gen --lunar-months OUTPUT  writes src/calendar/LunarMonthTable.inc
// rokuyo_gen --solar-terms OUTPUT   writes src/calendar/SolarTermTable.inc
// rokuyo_gen --report               lists new moons and solar longitudes near JST midnight
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "AlmanacTables.h"
#include "Astronomy.h"
#include "LunarCalendar.h"

namespace {

const char* termName(int longitude)
{
    switch (longitude) {
    case 0:
        return "春分";
    case 30:
        return "穀雨";
    case 60:
        return "小満";
    case 90:
        return "夏至";
    case 120:
        return "大暑";
    case 150:
        return "処暑";
    case 180:
        return "秋分";
    case 210:
        return "霜降";
    case 240:
        return "小雪";
    case 270:
        return "冬至";
    case 300:
        return "大寒";
    case 330:
        return "雨水";
    default:
        return "";
    }
}

// How many days of the table change if the event fell on the other side of
// midnight; tells which near-midnight cases decide anything.
std::string impactOfOtherDate(const rokuyo::AstronomicalEvent& e, const std::vector<std::string>& table)
{
    using namespace rokuyo;
    const long long computedDay = jstDayNumber(e.jstJulianDay);
    const long long otherDay =
        e.overridden ? computedDay : computedDay + (secondsFromMidnight(e.jstJulianDay) < 0 ? 1 : -1);
    std::vector<DateOverride> overrides;
    for (const DateOverride& o : builtInOverrides())
        if (!(o.kind == e.kind && kal::toDayNumber(o.computed) == computedDay))
            overrides.push_back(o);
    if (otherDay != computedDay)
        overrides.push_back({e.kind, kal::fromDayNumber(computedDay), kal::fromDayNumber(otherDay)});
    try {
        const LunarCalendar other(kTableFirstYear, kTableLastYear, overrides);
        const auto strings = rokuyoMonthStrings(other, kTableFirstYear, kTableLastYear);
        int changed = 0;
        for (std::size_t m = 0; m < table.size(); ++m)
            for (std::size_t d = 0; d < table[m].size(); ++d)
                changed += table[m][d] != strings[m][d];
        return changed == 0 ? "no effect" : std::to_string(changed) + " days change";
    } catch (const std::invalid_argument&) {
        return "outside table";
    } catch (const std::runtime_error& error) {
        return std::string("breaks the calendar rule (") + error.what() + ")";
    }
}

int report()
{
    using namespace rokuyo;
    const LunarCalendar calendar(1899, 2100);
    const auto table =
        rokuyoMonthStrings(LunarCalendar(kTableFirstYear, kTableLastYear), kTableFirstYear, kTableLastYear);
    const auto events = nearMidnightEvents(calendar, 10.0, 1899, 2100);
    std::printf("# New moons and principal terms within 10 minutes of JST midnight, 1899-2100\n");
    std::printf("# event  computed JST  from-midnight  dT(s)  JST date used  if the other date  check\n");
    for (const AstronomicalEvent& e : events) {
        const double year = 2000.0 + (e.jde - 2451545.0) / 365.2425;
        const kal::Date used = kal::fromDayNumber(e.jstDay);
        std::string name;
        std::string check;
        if (e.kind == EventKind::NewMoon) {
            name = "朔 k=" + std::to_string(e.id);
            const double other = jdeToJstJulianDay(newMoonJdeByLongitude(e.id));
            char text[64];
            std::snprintf(text, sizeof text, "ELP %s (%+.0f s)", formatJst(other).c_str(),
                          (other - e.jstJulianDay) * 86400.0);
            check = text;
        } else {
            name = std::string(termName(e.id)) + " " + std::to_string(e.id) + "°";
        }
        std::printf("%-14s %s  %+5.0f s  %5.1f  %04d-%02d-%02d%s  %s  %s\n", name.c_str(),
                    formatJst(e.jstJulianDay).c_str(), secondsFromMidnight(e.jstJulianDay), deltaTSeconds(year),
                    used.year, used.month, used.day, e.overridden ? " (override)" : "",
                    impactOfOtherDate(e, table).c_str(), check.c_str());
    }
    std::printf("# Solar longitudes of the term table within 10 minutes of JST midnight, 1900-2099\n");
    for (const AstronomicalEvent& e : longitudesNearMidnight(10.0, kTableFirstYear, kTableLastYear)) {
        const kal::Date used = kal::fromDayNumber(e.jstDay);
        std::printf("%-6s %3d°  %s  %+5.0f s  %04d-%02d-%02d\n", termName(e.id), e.id,
                    formatJst(e.jstJulianDay).c_str(), secondsFromMidnight(e.jstJulianDay), used.year, used.month,
                    used.day);
    }
    for (const NumberingConflict& c : calendar.numberingConflicts()) {
        const kal::Date d = kal::fromDayNumber(c.firstDay);
        std::printf("# month from %04d-%02d-%02d numbered %d by counting (its term names %d)\n", d.year, d.month, d.day,
                    c.number, c.termNumber);
    }
    return 0;
}

int writeFile(const char* path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) {
        std::cerr << "rokuyo_gen: cannot write " << path << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 2 && std::strcmp(argv[1], "--report") == 0)
            return report();
        if (argc == 3 && std::strcmp(argv[1], "--lunar-months") == 0)
            return writeFile(argv[2], rokuyo::lunarMonthTableFile(
                                          rokuyo::LunarCalendar(rokuyo::kTableFirstYear, rokuyo::kTableLastYear)));
        if (argc == 3 && std::strcmp(argv[1], "--solar-terms") == 0)
            return writeFile(argv[2], rokuyo::solarTermTableFile());
        if (argc != 2 || argv[1][0] == '-') {
            std::cerr << "usage: rokuyo_gen OUTPUT_FILE | --lunar-months OUTPUT_FILE | --solar-terms OUTPUT_FILE | "
                         "--report\n";
            return 2;
        }
        return writeFile(argv[1], rokuyo::rokuyoTableFile());
    } catch (const std::exception& e) {
        std::cerr << "rokuyo_gen: " << e.what() << "\n";
        return 1;
    }
}
