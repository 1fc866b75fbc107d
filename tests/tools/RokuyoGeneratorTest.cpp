// Tests of the rokuyo table generator (tools/rokuyo) and of the committed table.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "AlmanacTables.h"
#include "Astronomy.h"
#include "LunarCalendar.h"
#include "platform/Date.h"

namespace kal {
// Readable dates in failure messages.
void PrintTo(const Date& d, std::ostream* out)
{
    *out << d.year << "-" << d.month << "-" << d.day;
}
} // namespace kal

namespace {

using namespace rokuyo;

const LunarCalendar& calendar()
{
    static const LunarCalendar instance(kTableFirstYear, kTableLastYear);
    return instance;
}

std::string readCommittedTable(const std::string& name = "RokuyoTable.inc")
{
    std::ifstream in(KALENDRA_SOURCE_DIR "/src/calendar/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The committed table as 2400 digit strings (header and quoting stripped).
std::vector<std::string> committedMonths()
{
    std::istringstream in(readCommittedTable());
    std::vector<std::string> months;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("//", 0) == 0)
            continue;
        if (line.size() >= 3 && line.front() == '"' && line.substr(line.size() - 2) == "\",")
            months.push_back(line.substr(1, line.size() - 3));
        else
            months.push_back("<malformed: " + line + ">");
    }
    return months;
}

const std::string& committedMonth(int year, int month)
{
    static const std::vector<std::string> months = committedMonths();
    return months.at(static_cast<std::size_t>((year - kTableFirstYear) * 12 + month - 1));
}

int chronoDaysInMonth(int year, int month)
{
    using namespace std::chrono;
    const year_month_day_last last{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                                   std::chrono::last};
    return static_cast<int>(static_cast<unsigned>(last.day()));
}

std::string describe(const LunarDate& d)
{
    return (d.leap ? "leap " : "") + std::to_string(d.month) + "/" + std::to_string(d.day);
}

double jstOfNewMoonNear(const kal::Date& date)
{
    const int k = lunationAtOrAfter(julianDay(date.year, date.month, date.day) - 1.0);
    return jdeToJstJulianDay(newMoonJde(k));
}

TEST(RokuyoGenerator, CommittedTablesAreTheGeneratorsOutput)
{
    const std::pair<std::string, std::string> tables[] = {{"RokuyoTable.inc", rokuyoTableFile()},
                                                          {"LunarMonthTable.inc", lunarMonthTableFile(calendar())},
                                                          {"SolarTermTable.inc", solarTermTableFile()}};
    for (const auto& [name, generated] : tables) {
        const std::string committed = readCommittedTable(name);
        ASSERT_FALSE(committed.empty()) << "cannot read src/calendar/" << name;
        EXPECT_TRUE(committed == generated) << "src/calendar/" << name << " is stale: regenerate it with rokuyo_gen";
    }
}

TEST(RokuyoGenerator, TableHasOneStringOfDayDigitsPerMonth)
{
    const std::string text = readCommittedTable();
    std::istringstream in(text);
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(first.rfind("//", 0), 0u);
    EXPECT_EQ(second.rfind("//", 0), 0u);

    const std::vector<std::string> months = committedMonths();
    ASSERT_EQ(months.size(), 2402u - 2u);
    for (int year = kTableFirstYear; year <= kTableLastYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const std::string& digits = committedMonth(year, month);
            EXPECT_EQ(static_cast<int>(digits.size()), chronoDaysInMonth(year, month)) << year << "-" << month;
            EXPECT_EQ(digits.find_first_not_of("123456"), std::string::npos) << year << "-" << month << ": " << digits;
        }
    }
    EXPECT_EQ(committedMonth(1900, 2).size(), 28u); // 1900 is no leap year
    EXPECT_EQ(committedMonth(2000, 2).size(), 29u);
    EXPECT_EQ(committedMonth(2099, 12).size(), 31u);
}

TEST(RokuyoGenerator, PublishedMonthsComeOutExactly)
{
    struct Case {
        int year, month;
        const char* digits;
    };
    const Case cases[] = {
        {1998, 1, "2345612345612345612345612341234"},
        {1998, 2, "5612345612345612345612345623"},
        {2006, 12, "2345612345612345612561234561234"},
        // 2025-09-22 is lunar 8/1 (tomobiki), after 7/29 and 7/30.
        {2025, 9, "456123456123456123456234561234"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(committedMonth(c.year, c.month), c.digits) << c.year << "-" << c.month;
}

// Inside a lunar month the rokuyo steps through the cycle day by day; it jumps
// only on the 1st, to the code of that month's 1st (month 1 sensho, 2 tomobiki, ...).
TEST(RokuyoGenerator, RokuyoCyclesAndRestartsOnEachLunarFirst)
{
    const int firstOfMonthCode[] = {0, 1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 6};
    int previous = 0;
    int jumps = 0;
    for (int year = kTableFirstYear; year <= kTableLastYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const std::string& digits = committedMonth(year, month);
            for (int day = 1; day <= static_cast<int>(digits.size()); ++day) {
                const int code = digits[day - 1] - '0';
                const LunarDate lunar = calendar().lunarDate({year, month, day});
                if (lunar.day == 1) {
                    ++jumps;
                    EXPECT_EQ(code, firstOfMonthCode[lunar.month]) << year << "-" << month << "-" << day;
                } else if (previous != 0) {
                    EXPECT_EQ(code, previous % 6 + 1) << year << "-" << month << "-" << day;
                }
                previous = code;
            }
        }
    }
    // 200 years hold 2473 or 2474 lunations.
    EXPECT_GE(jumps, 2473);
    EXPECT_LE(jumps, 2474);
}

TEST(RokuyoGenerator, LunarMonthsHave29Or30Days)
{
    const auto& months = calendar().months();
    for (std::size_t i = 0; i + 1 < months.size(); ++i) {
        const long length = months[i + 1].firstDay - months[i].firstDay;
        EXPECT_TRUE(length == 29 || length == 30) << "month from day " << months[i].firstDay << ": " << length;
    }
}

TEST(RokuyoGenerator, LeapMonthsFallWherePublished)
{
    struct Case {
        int year;
        int leapMonth;
    };
    const Case cases[] = {
        {1984, 10}, {1995, 8}, {1998, 5}, {2001, 4}, {2004, 2}, {2006, 7}, {2009, 5}, {2012, 3},
        {2014, 9},  {2017, 5}, {2020, 4}, {2023, 2}, {2025, 6}, {2028, 5}, {2031, 3}, {2033, 11},
    };
    for (const Case& c : cases) {
        std::vector<int> found;
        for (const LunarMonth& m : calendar().months())
            if (m.leap && kal::fromDayNumber(m.firstDay).year == c.year)
                found.push_back(m.number);
        EXPECT_EQ(found, std::vector<int>{c.leapMonth}) << c.year;
    }
    // Years with no leap month.
    for (int year : {1999, 2000, 2002, 2003, 2005, 2024, 2026, 2027}) {
        for (const LunarMonth& m : calendar().months())
            EXPECT_FALSE(m.leap && kal::fromDayNumber(m.firstDay).year == year) << year;
    }
}

TEST(RokuyoGenerator, LunarNewYearFallsOnPublishedDates)
{
    const kal::Date newYears[] = {
        {1985, 2, 20}, // after leap 10 of 1984
        {1998, 1, 28}, {2000, 2, 5},  {2017, 1, 28}, {2020, 1, 25}, {2023, 1, 22},
        {2024, 2, 10}, {2025, 1, 29}, {2026, 2, 17}, {2034, 2, 19}, // after leap 11 of 2033
    };
    for (const kal::Date& date : newYears) {
        const LunarDate first = calendar().lunarDate(date);
        EXPECT_EQ(describe(first), "1/1") << date.year;
        const LunarDate eve = calendar().lunarDate(kal::toDayNumber(date) - 1);
        EXPECT_EQ(eve.month, 12) << date.year;
        EXPECT_FALSE(eve.leap) << date.year;
        EXPECT_TRUE(eve.day == 29 || eve.day == 30) << date.year;
    }
}

TEST(RokuyoGenerator, Year2033IsResolvedAsLeapEleventh)
{
    struct Case {
        kal::Date date;
        const char* lunar;
    };
    const Case cases[] = {
        {{2033, 8, 25}, "8/1"},   {{2033, 9, 23}, "9/1"},        {{2033, 10, 23}, "10/1"},
        {{2033, 11, 22}, "11/1"}, {{2033, 12, 22}, "leap 11/1"}, {{2034, 1, 20}, "12/1"},
        {{2034, 2, 18}, "12/30"}, {{2034, 2, 19}, "1/1"},        {{2034, 3, 20}, "2/1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(calendar().lunarDate(c.date)), c.lunar) << c.date.year << "-" << c.date.month;

    // Only there does the autumn equinox leave month 8.
    ASSERT_EQ(calendar().numberingConflicts().size(), 1u);
    const NumberingConflict& conflict = calendar().numberingConflicts().front();
    EXPECT_EQ(kal::fromDayNumber(conflict.firstDay), (kal::Date{2033, 9, 23}));
    EXPECT_EQ(conflict.termNumber, 8);
}

TEST(RokuyoGenerator, NewMoonsNearMidnightLandOnPublishedDays)
{
    struct Case {
        kal::Date date;
        const char* lunar;
    };
    const Case cases[] = {
        {{2017, 2, 26}, "2/1"},                            // new moon 23:58:23 JST (the "2017 problem")
        {{2017, 2, 27}, "2/2"},   {{2005, 12, 2}, "11/1"}, // 00:01 JST
        {{2005, 12, 1}, "10/30"}, {{2012, 6, 20}, "5/1"},  // 00:02 JST
        {{2012, 6, 19}, "4/30"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(calendar().lunarDate(c.date)), c.lunar)
            << c.date.year << "-" << c.date.month << "-" << c.date.day;
}

TEST(RokuyoGenerator, AstronomyAgreesWithPublishedValues)
{
    // Meeus, Astronomical Algorithms: example 49.a (new moon of 1977 February),
    // 22.a (nutation, 1987 April 10) and 25.b (the sun, 1992 October 13.0 TD,
    // 199 deg 54' 21.818").
    EXPECT_NEAR(newMoonJde(-283), 2443192.65118, 1e-5);
    EXPECT_NEAR(nutationInLongitude(2446895.5) * 3600.0, -3.788, 0.001);
    EXPECT_NEAR(sunApparentLongitude(2448908.5), 199.0 + 54.0 / 60.0 + 21.818 / 3600.0, 0.01 / 3600.0);

    // Instants published by the National Astronomical Observatory of Japan (JST).

    struct Case {
        double jst; // computed
        kal::Date date;
        int hour, minute, second;
        double toleranceSeconds;
    };
    auto jstAt = [](const kal::Date& d, int h, int m, int s) {
        return julianDay(d.year, d.month, d.day + (h + (m + s / 60.0) / 60.0) / 24.0);
    };
    const Case cases[] = {
        {jstOfNewMoonNear({2017, 2, 26}), {2017, 2, 26}, 23, 58, 23, 15},
        {jstOfNewMoonNear({2014, 1, 1}), {2014, 1, 1}, 20, 14, 0, 60},
        {jstOfNewMoonNear({2014, 3, 1}), {2014, 3, 1}, 17, 0, 0, 60},
        {jdeToJstJulianDay(solarLongitudeInstant(0, julianDay(2024, 3, 20))), {2024, 3, 20}, 12, 6, 0, 60},
        {jdeToJstJulianDay(solarLongitudeInstant(270, julianDay(2023, 12, 22))), {2023, 12, 22}, 12, 27, 0, 60},
        {jdeToJstJulianDay(solarLongitudeInstant(90, julianDay(2025, 6, 21))), {2025, 6, 21}, 11, 42, 0, 60},
    };
    for (const Case& c : cases) {
        const double published = jstAt(c.date, c.hour, c.minute, c.second);
        EXPECT_NEAR(c.jst * 86400.0, published * 86400.0, c.toleranceSeconds) << formatJst(c.jst);
    }
}

TEST(RokuyoGenerator, PhaseSeriesAgreesWithLunarLongitudeTheory)
{
    // Two independent computations of every new moon in the table's span; a
    // wrong coefficient in either shows up as a gap of minutes.
    const int first = lunationAtOrAfter(julianDay(1899, 11, 1));
    const int last = lunationAtOrAfter(julianDay(2100, 1, 31));
    for (int k = first; k < last; ++k)
        EXPECT_NEAR(newMoonJdeByLongitude(k) * 86400.0, newMoonJde(k) * 86400.0, 30.0) << "lunation " << k;
}

TEST(RokuyoGenerator, SolarTermsAreThirtyDegreesApartInOrder)
{
    const auto& terms = calendar().principalTerms();
    for (std::size_t i = 0; i + 1 < terms.size(); ++i) {
        EXPECT_EQ((terms[i].id + 30) % 360, terms[i + 1].id);
        const double gap = terms[i + 1].jde - terms[i].jde;
        EXPECT_GT(gap, 29.4);
        EXPECT_LT(gap, 31.5);
        const double offset = std::remainder(sunApparentLongitude(terms[i].jde) - terms[i].id, 360.0);
        EXPECT_NEAR(offset, 0.0, 1e-6) << formatJst(terms[i].jstJulianDay);
    }
}

TEST(RokuyoGenerator, OverridesMoveMonthStartsAndMustMatchAnEvent)
{
    // Moving the 2017-02-26 new moon to the 27th lengthens the first month.
    const LunarCalendar moved(2017, 2017, {{EventKind::NewMoon, {2017, 2, 26}, {2017, 2, 27}}});
    EXPECT_EQ(describe(moved.lunarDate(kal::Date{2017, 2, 26})), "1/30");
    EXPECT_EQ(describe(moved.lunarDate(kal::Date{2017, 2, 27})), "2/1");

    EXPECT_THROW(LunarCalendar(2017, 2017, {{EventKind::NewMoon, {2017, 2, 25}, {2017, 2, 26}}}),
                 std::invalid_argument);
}

TEST(RokuyoGenerator, ReportListsEventsNearMidnight)
{
    const auto events = nearMidnightEvents(calendar(), 10.0, 1900, 2099);
    bool found2017 = false;
    for (const AstronomicalEvent& e : events) {
        EXPECT_LE(std::abs(secondsFromMidnight(e.jstJulianDay)), 600.0);
        if (e.kind == EventKind::NewMoon && kal::fromDayNumber(e.jstDay) == kal::Date{2017, 2, 26})
            found2017 = true;
    }
    EXPECT_TRUE(found2017);
    EXPECT_EQ(formatJst(julianDay(2017, 2, 26) + (23 + 58 / 60.0 + 23 / 3600.0) / 24.0), "2017-02-26 23:58:23");
}

} // namespace
