// What a screen reader says of the calendar: a day cell as a person reads it aloud, the week
// view's memo column, the weekday headers. The grids' accessible objects only pass these on.
//
// Texts are Shift-JIS like all logic texts.
#pragma once

#include "calendar/CalendarMath.h"
#include "calendar/CellPaint.h"
#include "calendar/DayCellLists.h"
#include "schedule/Categories.h"

#include <string>
#include <vector>

namespace kal {

// The month view reads the month's content flags and leaves out what OtherMon hides; the week
// view reads its own flags and shows every day.
enum class SpokenView { Month, Week };

// In this order, parted by "、": "12月15日 火曜日", "今日", "前の月" or "次の月", the holiday,
// day-off and anniversary names, the rokuyo, the old-calendar date, the solar term and the
// seasonal days (each when shown), the schedules with their times ("10:00から11:00 歯科検診"),
// the ToDo entries, then the month view's marks ("メモあり", "ToDo 2件").
std::string SpokenDay(const MonthLayout& layout, const DayCellLists& lists, const CategoryTable& categories,
                      const CalendarLook& look, const Date& today, int column, int row, SpokenView view);

// The date alone: "12月15日 火曜日".
std::string SpokenDate(const MonthLayout& layout, int column, int row);

// A schedule's times as said before its title: "10:00から11:00", "10:00から", "11:00まで" or none.
std::string SpokenTimes(const std::string& start, const std::string& end);

// The week view's memo column: "メモ" with the memo's lines, or "メモなし".
std::string SpokenMemo(const std::vector<std::string>& memoLines);

} // namespace kal
