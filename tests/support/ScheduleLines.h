// Schedule records composed from UTF-8 texts, for expectations on month files.
#pragma once

#include "schedule/ScheduleRecord.h"
#include "support/TempFolder.h"

#include <string>

namespace kal::test {

// Plain style and no alarm; the texts are converted to Shift-JIS.
inline std::string scheduleLine(int day, const std::string& start, const std::string& end, const std::string& title,
                                const std::string& place = "", const std::string& category = "")
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
