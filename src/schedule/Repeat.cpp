#include "schedule/Repeat.h"

#include "platform/Date.h"

#include <algorithm>

namespace kal {
namespace {

bool inPeriod(const Date& date, const RepeatPeriod& period)
{
    return date >= period.first && date <= period.last;
}

// The day of the first `weekday` of a month, 1..7.
int firstWeekdayOfMonth(int year, int month, int weekday)
{
    int first = dayOfWeek(Date{year, month, 1});
    return 1 + (weekday - first + 7) % 7;
}

// The candidate of a month for the monthly and week-of-month patterns; day 0 when the month
// has none.
int candidateDay(const RepeatRule& rule, int year, int month)
{
    const int length = daysInMonth(year, month);
    if (rule.pattern == RepeatPattern::MonthlyOnDay)
        return rule.dayOfMonth >= 1 && rule.dayOfMonth <= length ? rule.dayOfMonth : 0;
    const int first = firstWeekdayOfMonth(year, month, rule.weekday);
    if (rule.week == WeekOfMonth::Last)
        return first + 28 <= length ? first + 28 : first + 21;
    return first + 7 * (static_cast<int>(rule.week) - 1);
}

void collectStepping(const RepeatPeriod& period, Date from, int step, std::vector<Date>& dates)
{
    for (Date date = from; date <= period.last; date = addDays(date, step))
        dates.push_back(date);
}

void collectMonthly(const RepeatRule& rule, const RepeatPeriod& period, std::vector<Date>& dates)
{
    int year = period.first.year, month = period.first.month;
    while (Date{year, month, 1} <= period.last) {
        if (int day = candidateDay(rule, year, month); day != 0 && inPeriod(Date{year, month, day}, period))
            dates.push_back(Date{year, month, day});
        nextMonth(year, month);
    }
}

} // namespace

DaySpan DaySpanCheck(const Date& first, const Date& last)
{
    DaySpan span;
    span.last = last < first ? first : last;
    long long count = daysBetween(first, span.last) + 1;
    span.shownCount = static_cast<int>(std::clamp<long long>(count, kMinDayCount, kMaxDayCount));
    return span;
}

Date SpinDayChange(const Date& first, int count)
{
    return addDays(first, std::max(count, kMinDayCount) - 1);
}

std::vector<Date> RepeatDates(const RepeatRule& rule, const RepeatPeriod& period)
{
    std::vector<Date> dates;
    if (period.last < period.first)
        return dates;
    switch (rule.pattern) {
    case RepeatPattern::EveryDay:
        collectStepping(period, period.first, 1, dates);
        break;
    case RepeatPattern::ByWeekday:
        if (rule.week == WeekOfMonth::Every) {
            int ahead = (rule.weekday - dayOfWeek(period.first) + 7) % 7;
            collectStepping(period, addDays(period.first, ahead), 7, dates);
            break;
        }
        collectMonthly(rule, period, dates);
        break;
    case RepeatPattern::MonthlyOnDay:
        collectMonthly(rule, period, dates);
        break;
    }
    return dates;
}

RepeatWriteResult WriteOccurrences(const std::string& dataPath, const std::vector<Date>& dates,
                                   const ScheduleFields& fields, files::FileOps& ops)
{
    MonthAdditions additions;
    for (const Date& date : dates) {
        const std::string path = MonthFilePath(dataPath, date.year, date.month);
        if (additions.empty() || additions.back().first != path)
            additions.push_back({path, {}});
        ScheduleFields occurrence = fields;
        occurrence.day = date.day;
        additions.back().second.push_back(ComposeSchedule(occurrence));
    }
    RepeatWriteResult outcome;
    if (additions.empty())
        return outcome;
    outcome.result = AddToMonthFiles(additions, ops);
    outcome.written = outcome.result.ok() ? static_cast<int>(dates.size()) : 0;
    return outcome;
}

RepeatWriteResult RepeatSchUd(const std::string& dataPath, const RepeatRule& rule, const RepeatPeriod& period,
                              const ScheduleFields& fields, files::FileOps& ops)
{
    return WriteOccurrences(dataPath, RepeatDates(rule, period), fields, ops);
}

} // namespace kal
