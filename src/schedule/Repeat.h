// Repeating schedules: a pattern and a period expand at once into one ordinary record per
// occurrence, each in the month file of its date. Nothing links the occurrences afterwards.
#pragma once

#include "platform/Date.h"
#include "schedule/ScheduleRecord.h"

#include <string>
#include <vector>

namespace kal {

enum class RepeatPattern { EveryDay, MonthlyOnDay, ByWeekday };

// The rows of the week choice: every week, the 1st to 4th weekday of the month, the last one.
enum class WeekOfMonth { Every = 0, First = 1, Second = 2, Third = 3, Fourth = 4, Last = 5 };

struct RepeatRule {
    RepeatPattern pattern = RepeatPattern::EveryDay;
    int dayOfMonth = 1; // MonthlyOnDay: 1..31
    WeekOfMonth week = WeekOfMonth::Every;
    int weekday = 0; // ByWeekday: 0 = Sunday ... 6 = Saturday
};

// First and last day, both included.
struct RepeatPeriod {
    Date first;
    Date last;
};

inline constexpr int kMinDayCount = 1;
inline constexpr int kMaxDayCount = 99;

// After either end of the period changed: the last day pulled along to the first when it lay
// before it, and the day count to show (last - first + 1, kept within 1..99).
struct DaySpan {
    Date last;
    int shownCount = 1;
};
DaySpan DaySpanCheck(const Date& first, const Date& last);

// After the day count changed: the last day of the period.
Date SpinDayChange(const Date& first, int count);

// The dates of the occurrences inside the period, in order.
std::vector<Date> RepeatDates(const RepeatRule& rule, const RepeatPeriod& period);

struct RepeatWriteResult {
    store::EditResult result;
    int written = 0; // occurrences written: all of them, or none after a failure
};

// Writes one record per date, the day taken from the date and everything else from `fields`.
// All month files change together or none does, a crash included (FileTransaction.h).
RepeatWriteResult WriteOccurrences(const std::string& dataPath, const std::vector<Date>& dates,
                                   const ScheduleFields& fields, files::FileOps& ops = files::systemFileOps());

RepeatWriteResult RepeatSchUd(const std::string& dataPath, const RepeatRule& rule, const RepeatPeriod& period,
                              const ScheduleFields& fields, files::FileOps& ops = files::systemFileOps());

} // namespace kal
