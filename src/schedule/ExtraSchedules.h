// Schedules shown beside the user's own that belong to someone else (subscribed calendars): only
// read, never written into a month file, never alarmed. The month build, the week view, the day
// list, the print and the search take them through this, so none of them knows where they come
// from.
#pragma once

#include "platform/Date.h"
#include "platform/Platform.h"

#include <string>
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

class ExtraSchedules {
public:
    virtual ~ExtraSchedules() = default;
    // The entries of the days `first`..`last`, in date order.
    virtual std::vector<ExtraSchedule> between(const Date& first, const Date& last) = 0;
};

} // namespace kal
