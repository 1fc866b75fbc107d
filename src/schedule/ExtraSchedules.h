// Schedules shown beside the user's own that belong to someone else (subscribed calendars): only
// read, never written into a month file, never alarmed. The month build, the week view, the day
// list, the print and the search take them through this, so none of them knows where they come
// from.
#pragma once

#include "platform/Date.h"
#include "platform/Platform.h"

#include <algorithm>
#include <memory>
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

// Shared, so a month build takes many without copying their texts.
using ExtraScheduleList = std::vector<std::shared_ptr<const ExtraSchedule>>;

// The order of a list: by date, then by start time.
inline bool EarlierExtra(const std::shared_ptr<const ExtraSchedule>& a, const std::shared_ptr<const ExtraSchedule>& b)
{
    return a->date < b->date || (a->date == b->date && a->start < b->start);
}

// The part of a list by date that falls on `first`..`last`.
inline auto DaysWithin(const ExtraScheduleList& days, const Date& first, const Date& last)
{
    const auto from = std::lower_bound(days.begin(), days.end(), first,
                                       [](const auto& entry, const Date& date) { return entry->date < date; });
    const auto to = std::upper_bound(from, days.end(), last,
                                     [](const Date& date, const auto& entry) { return date < entry->date; });
    return std::pair{from, to};
}

class ExtraSchedules {
public:
    virtual ~ExtraSchedules() = default;
    // The entries of the days `first`..`last`, in date order.
    virtual ExtraScheduleList between(const Date& first, const Date& last) = 0;
};

} // namespace kal
