// Schedule records for the tests' month files.
#pragma once

#include "schedule/ScheduleRecord.h"
#include "support/TempFolder.h"

#include <string>

namespace kal::test {

// A record of `day` with a start time and a title (Shift-JIS), and the alarm flags.
inline std::string scheduleLine(int day, const std::string& start, const std::string& title, bool sound = false,
                                bool message = false)
{
    ScheduleFields f;
    f.day = day;
    f.start = start;
    f.title = title;
    f.sound = sound;
    f.message = message;
    return ComposeSchedule(f);
}

// Plain style and no alarm; the texts are UTF-8, converted to Shift-JIS.
inline std::string plainScheduleLine(int day, const std::string& start, const std::string& end,
                                     const std::string& title, const std::string& place = "",
                                     const std::string& category = "")
{
    ScheduleFields f;
    f.day = day;
    f.start = start;
    f.end = end;
    f.title = sj(title);
    f.place = sj(place);
    f.category = sj(category);
    return ComposeSchedule(f);
}

} // namespace kal::test
