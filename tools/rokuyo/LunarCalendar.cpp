#include "LunarCalendar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "Astronomy.h"

namespace rokuyo {

namespace {

// Months are numbered by counting from month 11, the one holding the winter
// solstice, with the first month without a principal term made leap in a
// thirteen-month year. Where a month holds two terms this departs from "the
// number of the term it holds" for the months up to the next month without
// one (so 1984 has leap 10 and 1985 starts on Feb 20, as published). The
// equinoxes and the summer solstice must still fall in months 2, 8 and 5.
// Only in 2033 can no numbering keep both the autumn equinox in month 8 and
// the winter solstice in month 11: the new moons of Sep 23 and Oct 23 fall on
// the days of shubun and soko. The Japanese calendar community resolved it
// as leap month 11 in 2033, which counting from month 11 gives; the month
// holding shubun becomes month 9. Any other such clash stops the generator.
constexpr int kEquinoxExceptionYears[] = {2033};

bool isEquinoxExceptionYear(int year)
{
    return std::find(std::begin(kEquinoxExceptionYears), std::end(kEquinoxExceptionYears), year) !=
           std::end(kEquinoxExceptionYears);
}

std::string formatDate(const kal::Date& d)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year % 10000, d.month % 100, d.day % 100);
    return text;
}

} // namespace

int monthOfPrincipalTerm(int longitudeDeg)
{
    return (longitudeDeg / 30 + 1) % 12 + 1;
}

int rokuyoCode(int lunarMonth, int lunarDay)
{
    // (m + d) mod 6: 0 taian(5), 1 shakko(6), 2 sensho(1), 3 tomobiki(2), 4 senbu(3), 5 butsumetsu(4).
    return (lunarMonth + lunarDay + 4) % 6 + 1;
}

const std::vector<DateOverride>& builtInOverrides()
{
    // Dates decided by the published Japanese calendar where our instant lies
    // too close to midnight to be trusted. None so far: rokuyo_gen --report
    // shows every date-deciding case at least 50 s from midnight, well beyond
    // the error of the computation, except the new moons of 2074-08-22 (-53 s)
    // and 2097-01-13 (-4 s), which hang on the unknown future TT - UT and for
    // which no Japanese calendar has been published; they keep the computed date.
    static const std::vector<DateOverride> overrides = {};
    return overrides;
}

LunarCalendar::LunarCalendar(int firstYear, int lastYear, const std::vector<DateOverride>& overrides)
{
    computeEvents(firstYear, lastYear, overrides);
    buildMonths();
}

void LunarCalendar::computeEvents(int firstYear, int lastYear, const std::vector<DateOverride>& overrides)
{
    // From before the winter solstice that opens firstYear's first month to
    // after the one that closes lastYear's last.
    const double start = julianDay(firstYear - 1, 11, 1);
    const double end = julianDay(lastYear + 2, 1, 31);

    for (int k = lunationAtOrAfter(start);; ++k) {
        const double jde = newMoonJde(k);
        if (jde > end)
            break;
        const double jst = jdeToJstJulianDay(jde);
        newMoons_.push_back({EventKind::NewMoon, k, jde, jst, jstDayNumber(jst), false});
    }

    int longitude = 270;
    double guess = julianDay(firstYear - 1, 12, 21);
    for (;;) {
        const double jde = solarLongitudeInstant(longitude, guess);
        if (jde > end)
            break;
        const double jst = jdeToJstJulianDay(jde);
        terms_.push_back({EventKind::PrincipalTerm, longitude, jde, jst, jstDayNumber(jst), false});
        longitude = (longitude + 30) % 360;
        guess = jde + 30.44;
    }

    // Each override must match a computed event, so a stale one stops the
    // generator instead of lingering.
    for (const DateOverride& o : overrides) {
        auto& events = o.kind == EventKind::NewMoon ? newMoons_ : terms_;
        const long long computed = kal::toDayNumber(o.computed);
        auto it = std::find_if(events.begin(), events.end(),
                               [&](const AstronomicalEvent& e) { return e.jstDay == computed && !e.overridden; });
        if (it == events.end())
            throw std::invalid_argument("date override matches no computed event");
        it->jstDay = kal::toDayNumber(o.decided);
        it->overridden = true;
    }
}

void LunarCalendar::buildMonths()
{
    for (const AstronomicalEvent& moon : newMoons_)
        months_.push_back({moon.jstDay, 0, false, {}});

    auto monthIndexOf = [&](long long day) -> long {
        auto it = std::upper_bound(months_.begin(), months_.end(), day,
                                   [](long long d, const LunarMonth& m) { return d < m.firstDay; });
        return static_cast<long>(it - months_.begin()) - 1;
    };

    std::vector<long> solsticeMonths;
    for (const AstronomicalEvent& term : terms_) {
        const long index = monthIndexOf(term.jstDay);
        // Terms past the last new moon have no month to belong to.
        if (index < 0 || index + 1 >= static_cast<long>(months_.size()))
            continue;
        months_[index].termLongitudes.push_back(term.id);
        if (term.id == 270)
            solsticeMonths.push_back(index);
    }

    for (std::size_t s = 0; s + 1 < solsticeMonths.size(); ++s) {
        const long from = solsticeMonths[s];
        const long to = solsticeMonths[s + 1];
        const long count = to - from;
        if (count != 12 && count != 13)
            throw std::runtime_error("a year with neither 12 nor 13 lunar months");

        long leapIndex = -1;
        if (count == 13) {
            for (long i = from + 1; i < to; ++i) {
                if (months_[i].termLongitudes.empty()) {
                    leapIndex = i;
                    break;
                }
            }
        }

        int number = 11;
        for (long i = from; i < to; ++i) {
            LunarMonth& month = months_[i];
            if (i == leapIndex) {
                month.leap = true;
            } else if (i != from) {
                number = number % 12 + 1;
            }
            month.number = number;
        }

        for (long i = from; i < to; ++i) {
            const LunarMonth& month = months_[i];
            for (int lon : month.termLongitudes) {
                if (lon % 90 != 0)
                    continue;
                const int fixed = monthOfPrincipalTerm(lon);
                if (!month.leap && month.number == fixed)
                    continue;
                const kal::Date d = kal::fromDayNumber(month.firstDay);
                if (!isEquinoxExceptionYear(d.year)) {
                    throw std::runtime_error("month from " + formatDate(d) + " holds the term of month " +
                                             std::to_string(fixed) + " but is " + std::to_string(month.number));
                }
                conflicts_.push_back({month.firstDay, month.number, fixed});
            }
        }
    }
}

LunarDate LunarCalendar::lunarDate(long long dayNumber) const
{
    auto it = std::upper_bound(months_.begin(), months_.end(), dayNumber,
                               [](long long d, const LunarMonth& m) { return d < m.firstDay; });
    if (it == months_.begin() || it == months_.end() || std::prev(it)->number == 0)
        throw std::out_of_range("date outside the computed lunar calendar");
    const LunarMonth& month = *std::prev(it);
    return {month.number, month.leap, static_cast<int>(dayNumber - month.firstDay + 1)};
}

std::vector<std::string> rokuyoMonthStrings(const LunarCalendar& calendar, int firstYear, int lastYear)
{
    std::vector<std::string> result;
    for (int year = firstYear; year <= lastYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            std::string digits;
            for (int day = 1; day <= kal::daysInMonth(year, month); ++day) {
                const LunarDate lunar = calendar.lunarDate({year, month, day});
                digits += static_cast<char>('0' + rokuyoCode(lunar.month, lunar.day));
            }
            result.push_back(std::move(digits));
        }
    }
    return result;
}

std::string rokuyoTableFile()
{
    const LunarCalendar calendar(kTableFirstYear, kTableLastYear);
    std::string text = "// Generated by tools/rokuyo.\n"
                       "// One string per month, 1900-01 to 2099-12; digit d is the rokuyo of day d: "
                       "1 先勝, 2 友引, 3 先負, 4 仏滅, 5 大安, 6 赤口.\n";
    for (const std::string& month : rokuyoMonthStrings(calendar, kTableFirstYear, kTableLastYear))
        text += "\"" + month + "\",\n";
    return text;
}

double secondsFromMidnight(double jstJulianDay)
{
    const double sinceMidnight = jstJulianDay + 0.5 - std::floor(jstJulianDay + 0.5);
    double seconds = sinceMidnight * 86400.0;
    if (seconds > 43200.0)
        seconds -= 86400.0;
    return seconds;
}

std::string formatJst(double jstJulianDay)
{
    const long long total = std::llround((jstJulianDay - 2440587.5) * 86400.0);
    const long long day = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    const long long second = total - day * 86400;
    const int hour = static_cast<int>(second / 3600);
    const int minute = static_cast<int>(second / 60 % 60);
    char text[16];
    std::snprintf(text, sizeof text, " %02d:%02d:%02d", hour % 100, minute % 100, static_cast<int>(second % 60));
    return formatDate(kal::fromDayNumber(day)) + text;
}

std::vector<AstronomicalEvent> nearMidnightEvents(const LunarCalendar& calendar, double minutes, int firstYear,
                                                  int lastYear)
{
    std::vector<AstronomicalEvent> result;
    for (const auto* events : {&calendar.newMoons(), &calendar.principalTerms()}) {
        for (const AstronomicalEvent& e : *events) {
            const int year = kal::fromDayNumber(jstDayNumber(e.jstJulianDay)).year;
            if (year < firstYear || year > lastYear)
                continue;
            if (std::abs(secondsFromMidnight(e.jstJulianDay)) <= minutes * 60.0)
                result.push_back(e);
        }
    }
    std::sort(result.begin(), result.end(),
              [](const AstronomicalEvent& a, const AstronomicalEvent& b) { return a.jde < b.jde; });
    return result;
}

} // namespace rokuyo
