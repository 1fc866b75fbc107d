// The Japanese lunisolar calendar (kyureki) built from computed new moons and
// principal solar terms in JST, and the rokuyo derived from it.
#pragma once

#include <string>
#include <vector>

#include "platform/Date.h"

namespace rokuyo {

// Day numbers count days from 1970-01-01 (= 0), as kal::toDayNumber does.

enum class EventKind { NewMoon, PrincipalTerm };

struct AstronomicalEvent {
    EventKind kind = EventKind::NewMoon;
    int id = 0;                // lunation number, or the term's solar longitude in degrees
    double jde = 0.0;          // TT
    double jstJulianDay = 0.0; // computed instant in JST
    long long jstDay = 0;      // the JST date that counts, after any override
    bool overridden = false;
};

struct LunarMonth {
    long long firstDay = 0; // day number of the 1st of the month
    int number = 0;         // 1..12; a leap month repeats the number of the month before
    bool leap = false;
    std::vector<int> termLongitudes; // principal terms whose JST date falls in the month
};

struct LunarDate {
    int month = 0;
    bool leap = false;
    int day = 0;
};

// A month whose number was set by counting from month 11 although the
// principal term it contains names another month.
struct NumberingConflict {
    long long firstDay = 0;
    int number = 0;
    int termNumber = 0;
};

// Moves an event computed for one JST date to another.
struct DateOverride {
    EventKind kind = EventKind::NewMoon;
    kal::Date computed;
    kal::Date decided;
};

// The decisions taken for events too close to midnight to be computed.
const std::vector<DateOverride>& builtInOverrides();

class LunarCalendar {
public:
    // Covers every date from firstYear-01-01 to lastYear-12-31.
    LunarCalendar(int firstYear, int lastYear, const std::vector<DateOverride>& overrides = builtInOverrides());

    LunarDate lunarDate(long long dayNumber) const;
    LunarDate lunarDate(const kal::Date& date) const { return lunarDate(kal::toDayNumber(date)); }

    const std::vector<LunarMonth>& months() const { return months_; }
    const std::vector<AstronomicalEvent>& newMoons() const { return newMoons_; }
    const std::vector<AstronomicalEvent>& principalTerms() const { return terms_; }
    const std::vector<NumberingConflict>& numberingConflicts() const { return conflicts_; }

private:
    void computeEvents(int firstYear, int lastYear, const std::vector<DateOverride>& overrides);
    void buildMonths();

    std::vector<AstronomicalEvent> newMoons_;
    std::vector<AstronomicalEvent> terms_;
    std::vector<LunarMonth> months_;
    std::vector<NumberingConflict> conflicts_;
};

// The month number a principal term gives its month (330 -> 1, 0 -> 2, ..., 270 -> 11, 300 -> 12).
int monthOfPrincipalTerm(int longitudeDeg);

// Rokuyo code (1 sensho, 2 tomobiki, 3 senbu, 4 butsumetsu, 5 taian, 6 shakko)
// of lunar month m, day d.
int rokuyoCode(int lunarMonth, int lunarDay);

// One string per Gregorian month from January firstYear to December lastYear;
// digit d is the rokuyo code of day d.
std::vector<std::string> rokuyoMonthStrings(const LunarCalendar& calendar, int firstYear, int lastYear);

// The whole RokuyoTable.inc text for 1900-2099.
std::string rokuyoTableFile();

// Events whose JST instant lies within the given minutes of a JST midnight
// and whose year is within [firstYear, lastYear].
std::vector<AstronomicalEvent> nearMidnightEvents(const LunarCalendar& calendar, double minutes, int firstYear,
                                                  int lastYear);

// Seconds from the nearest JST midnight (negative: before it).
double secondsFromMidnight(double jstJulianDay);

// "YYYY-MM-DD hh:mm:ss" of a JST instant, rounded to the second.
std::string formatJst(double jstJulianDay);

constexpr int kTableFirstYear = 1900;
constexpr int kTableLastYear = 2099;

} // namespace rokuyo
