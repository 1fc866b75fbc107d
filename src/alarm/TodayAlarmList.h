// Today's schedule lines that carry a sound or message flag, following today's month file
// whatever month the calendar shows: a schedule added, corrected or deleted for today, by this
// program or by a sync tool, alarms as the file now says.
#pragma once

#include "platform/Date.h"
#include "platform/Files.h"

#include <string>
#include <vector>

namespace kal {

// Today's lines of `monthLines` with the sound or message flag, in file order.
std::vector<std::string> TodayAlarmLines(const std::vector<std::string>& monthLines, int day);

class TodayAlarmList {
public:
    // The lines for `today` from the month file in `dataPath`. The file is read again only when
    // the day, the folder or the file itself changed since the last read; a file that exists but
    // cannot be read keeps the lines it gave before for the same day, and is tried again next
    // time.
    const std::vector<std::string>& refresh(const std::string& dataPath, const Date& today);
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::string path_;
    Date day_;
    files::FileStamp stamp_;
    bool loaded_ = false;
    std::vector<std::string> lines_;
};

} // namespace kal
