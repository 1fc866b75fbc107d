// A subscribed calendar as fetched: checked to be iCalendar, parsed once, and expanded month by
// month when a month is shown (recurrences with their exceptions and replaced occurrences, Japan
// time, every day of a span, cancelled events left out), through the import's own reading.
#pragma once

#include "exchange/IcalImport.h"
#include "exchange/IcalSupport.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kal {

// The most entries one calendar gives for a month; a feed of endless fine-grained rules is cut
// there and the cut counted.
inline constexpr std::size_t kFeedMonthCap = 20000;

class FeedCalendar {
public:
    struct Parsed {
        std::shared_ptr<FeedCalendar> calendar; // none when the text is not iCalendar
        std::string reason;                     // UTF-8, why not
    };
    static Parsed parse(std::string_view text);

    int eventCount() const { return events_; }
    // The days of every entry on `first`..`last` (Japan dates), by date.
    std::vector<ImportedSchedule> between(const Date& first, const Date& last);
    // Recurring events cut at the occurrence cap and entries beyond kFeedMonthCap, so far.
    int cutCount() const { return cut_; }

private:
    explicit FeedCalendar(ical::Component root, int events) : root_(std::move(root)), events_(events) { }
    const std::vector<ImportedSchedule>& month(int year, int month);

    ical::Component root_;
    int events_ = 0;
    int cut_ = 0;
    std::map<int, std::vector<ImportedSchedule>> months_; // by year * 12 + month - 1
};

} // namespace kal
