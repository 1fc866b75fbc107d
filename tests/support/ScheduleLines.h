// Schedule records for the tests' month files.
#pragma once

#include "schedule/ScheduleRecord.h"

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

} // namespace kal::test
