// Schedules shown beside the user's own that belong to someone else (subscribed calendars): only
// read, never written into a month file, never alarmed. The month build, the week view, the day
// list, the print and the search take them through this, so none of them knows where they come
// from.
#pragma once

#include "platform/Date.h"
#include "platform/Platform.h"

#include <algorithm>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kal {

struct ExtraSchedule {
    Date date;
    std::string start, end;   // "HH:MM" on this day; both empty for an all-day entry
    std::string title, place; // Shift-JIS
    std::string source;       // the subscription's name, Shift-JIS
    ColorValue color = 0;
    bool holiday = false; // an all-day entry of a calendar marked as holidays

    bool allDay() const { return start.empty() && end.empty(); }
};

// Shared, so that a reader takes many without copying their texts.
using ExtraScheduleList = std::vector<std::shared_ptr<const ExtraSchedule>>;
// Entries side by side, by date: a month build reads them in order without a pointer each.
using ExtraScheduleDays = std::vector<ExtraSchedule>;

inline const Date& DayOf(const ExtraSchedule& entry)
{
    return entry.date;
}
inline const Date& DayOf(const std::shared_ptr<const ExtraSchedule>& entry)
{
    return entry->date;
}

// The order of a list: by date, then by start time.
inline bool EarlierExtra(const std::shared_ptr<const ExtraSchedule>& a, const std::shared_ptr<const ExtraSchedule>& b)
{
    return a->date < b->date || (a->date == b->date && a->start < b->start);
}

// The part of a list by date that falls on `first`..`last`.
template <class Days> auto DaysWithin(const Days& days, const Date& first, const Date& last)
{
    const auto from = std::lower_bound(days.begin(), days.end(), first,
                                       [](const auto& entry, const Date& date) { return DayOf(entry) < date; });
    const auto to = std::upper_bound(from, days.end(), last,
                                     [](const Date& date, const auto& entry) { return date < DayOf(entry); });
    return std::pair{from, to};
}

// The entries of some days as stretches of lists by date, with the lists they lie in: a reader
// that holds many entries (a month build) holds them without a count per entry.
struct ExtraScheduleView {
    std::vector<std::span<const ExtraSchedule>> stretches;       // in date order
    std::vector<std::shared_ptr<const ExtraScheduleDays>> lists; // they lie in these
};

class ExtraSchedules {
public:
    virtual ~ExtraSchedules() = default;
    // The entries of the days `first`..`last`.
    virtual ExtraScheduleView view(const Date& first, const Date& last) = 0;
    // The same as one list, in date order, each entry sharing its list.
    ExtraScheduleList between(const Date& first, const Date& last)
    {
        const ExtraScheduleView found = view(first, last);
        ExtraScheduleList out;
        for (std::size_t i = 0; i < found.stretches.size(); ++i)
            for (const ExtraSchedule& entry : found.stretches[i])
                out.emplace_back(found.lists[i], &entry);
        return out;
    }
};

} // namespace kal
