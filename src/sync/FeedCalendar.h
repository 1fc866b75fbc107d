// A subscribed calendar as fetched: checked to be iCalendar and read once, through the import's own
// reading (Japan time, every day of a span, cancelled events left out). Events that do not recur
// are laid out by day at once; recurring ones, with their exceptions and replaced occurrences, are
// expanded a year at a time when a month of that year is first shown.
#pragma once

#include "exchange/IcalImport.h"
#include "exchange/IcalSupport.h"
#include "schedule/ExtraSchedules.h"

#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kal {

// The most entries the recurring events of one calendar give for a year; a feed of endless
// fine-grained rules is cut there and the cut counted.
inline constexpr std::size_t kFeedYearCap = 100000;

// How a calendar's entries are shown: whose they are, in which colour, whether as holidays.
struct FeedLook {
    std::string source; // Shift-JIS
    ColorValue color = 0;
    bool holidays = false;
};

// Makes room for one more year in a map of years kept: at most four are, and the one furthest from
// `year` goes first.
template <class Days> void KeepYearsAround(std::map<int, Days>& years, int year)
{
    if (years.size() < 4)
        return;
    const bool firstIsFarther = year - years.begin()->first > std::prev(years.end())->first - year;
    years.erase(firstIsFarther ? years.begin() : std::prev(years.end()));
}

class FeedCalendar {
public:
    struct Parsed {
        std::shared_ptr<FeedCalendar> calendar; // none when the text is not iCalendar
        std::string reason;                     // UTF-8, why not
    };
    static Parsed parse(std::string_view text, FeedLook look = {});

    int eventCount() const { return events_; }
    // The days of every entry of a year (Japan dates), by date; expanded when first asked for,
    // valid until another year is.
    const ExtraScheduleList& year(int year);
    // Recurring events cut at the occurrence cap and years cut at kFeedYearCap, so far.
    int cutCount() const { return cut_; }

private:
    FeedCalendar() = default;
    ExtraScheduleList entriesOf(const IcalEntries& entries, const Date& first, const Date& last);

    FeedLook look_;
    ical::Component recurring_; // the recurring events and the components replacing occurrences
    ExtraScheduleList singles_; // the days of all other events, by date
    int lookBack_ = 0;          // days before a year that its occurrences are read from
    int events_ = 0;
    int cut_ = 0;
    std::map<int, ExtraScheduleList> years_; // every entry's days, by year
};

} // namespace kal
