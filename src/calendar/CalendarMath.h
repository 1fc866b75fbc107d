// Calendar arithmetic: month lengths, the first column of a month, the layout of a month in
// 7 columns by 6 week rows with the neighbouring months' days, weekday and month names, the
// era year and the rokuyo.
//
// Texts are Shift-JIS like all logic texts. Rows count 1 to 6 (row 0 of the grid is the
// weekday header); columns 0 to 6.
#pragma once

#include "platform/Date.h"

#include <array>
#include <string>

namespace kal {

enum class WeekStart { Sunday = 0, Monday = 1 };
enum class MonthRelation { Previous, Current, Next };

inline constexpr int kFirstYear = 1900;
inline constexpr int kLastYear = 2099;

// Navigation by month keeps the shown year in range: no month after a month of 2099, none
// before a month of 1900.
inline bool CanAdvanceMonth(int year)
{
    return year < kLastYear;
}
inline bool CanGoBackMonth(int year)
{
    return year > kFirstYear;
}

int DaysInMonth(int year, int month);
// Column of day 1.
int FirstColumn(int year, int month, WeekStart weekStart);
// Column of a weekday (0 = Sunday ... 6 = Saturday).
int ColumnOfWeekday(int weekday, WeekStart weekStart);
int SaturdayColumn(WeekStart weekStart);
int SundayColumn(WeekStart weekStart);

struct DayCell {
    int day = 0;
    MonthRelation relation = MonthRelation::Current;
    int kind = 9; // 0 national holiday, 1 day off, 2 anniversary, 9 ordinary day
    int mark = 0; // 0 none, 1 memo, 2 ToDo due, 3 both
    int rokuyo = 0;
    bool showRokuyo = false;
};

struct CellPos {
    int column = 0;
    int row = 1;
};

inline bool operator==(const CellPos& a, const CellPos& b)
{
    return a.column == b.column && a.row == b.row;
}

struct MonthLayout {
    int year = 2000;
    int month = 1;
    WeekStart weekStart = WeekStart::Sunday;
    int prevYear = 1999, prevMonth = 12;
    int nextYear = 2000, nextMonth = 2;
    bool prevShown = false;
    bool nextShown = true;
    int firstLeadingDay = 0; // 0 when no previous-month day is shown
    int lastTrailingDay = 0; // the day in row 6 column 6
    std::array<std::array<DayCell, 7>, 6> cells{};

    // Inverse maps; index by day number. -1 where the day is not shown.
    std::array<int, 32> currentColumn{}, currentRow{};
    std::array<int, 32> prevColumn{};
    std::array<int, 32> nextColumn{}, nextRow{};

    DayCell& cell(int column, int row)
    {
        return cells[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column)];
    }
    const DayCell& cell(int column, int row) const
    {
        return cells[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(column)];
    }
    // The date a cell stands for, in its own month.
    Date dateOf(int column, int row) const;
    // The cell of a date, when the grid shows it.
    bool find(const Date& date, CellPos& pos) const;
    int saturdayColumn() const { return SaturdayColumn(weekStart); }
    int sundayColumn() const { return SundayColumn(weekStart); }
    Date firstCellDate() const { return dateOf(0, 1); }
    Date lastCellDate() const { return dateOf(6, 6); }
};

// Positions, day numbers, relations, maps, neighbour months and the two flags.
MonthLayout BuildLayout(int year, int month, WeekStart weekStart);

// Weekday names in column order: "日".."土" (short Japanese), "日曜日".. (long), "Sun".. (English).
std::array<std::string, 7> JapaneseWeekdayNames(WeekStart weekStart);
std::array<std::string, 7> LongJapaneseWeekdayNames(WeekStart weekStart);
std::array<std::string, 7> EnglishWeekdayNames(WeekStart weekStart);
const std::string& EnglishMonthName(int month);

// Era name and era year of the month's first day followed by "年", e.g. 令和8年.
std::string EraYearText(int year, int month);

// Rokuyo code 1..6 (先勝, 友引, 先負, 仏滅, 大安, 赤口) of a day; 0 outside 1900 to 2099.
int RokuyoOf(int year, int month, int day);
const std::string& RokuyoName(int code);

// "yyyy年m月d日" or, with era dates, "ggge年m月d日".
std::string DayText(const Date& date, bool eraDates);
// "yyyy/m/d(火)": the short form of the window title and the mini calendar's hint.
std::string ShortDayText(const Date& date);

} // namespace kal
