#include "alarm/TodayAlarmList.h"

#include "schedule/ScheduleRecord.h"

namespace kal {

std::vector<std::string> TodayAlarmLines(const std::vector<std::string>& monthLines, int day)
{
    std::vector<std::string> lines;
    for (const std::string& line : monthLines)
        if (RecDay(line) == day && (RecSound(line) || RecMessage(line)))
            lines.push_back(line);
    return lines;
}

const std::vector<std::string>& TodayAlarmList::refresh(const std::string& dataPath, const Date& today)
{
    const std::string path = MonthFilePath(dataPath, today.year, today.month);
    // The stamp is taken before the read: a change during the read shows at the next refresh.
    const files::FileStamp stamp = files::fileStamp(path);
    const bool sameDay = path == path_ && today == day_;
    if (loaded_ && sameDay && stamp == stamp_)
        return lines_;
    files::LoadForUpdate loaded = files::loadLinesForUpdate(path);
    if (!loaded.ok) {
        // Another day's lines must never alarm today.
        if (!sameDay)
            lines_.clear();
        path_ = path;
        day_ = today;
        loaded_ = false;
        return lines_;
    }
    lines_ = TodayAlarmLines(loaded.lines, today.day);
    path_ = path;
    day_ = today;
    stamp_ = stamp;
    loaded_ = true;
    return lines_;
}

} // namespace kal
