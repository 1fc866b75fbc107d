#include "calendar/CalendarMath.h"

#include "platform/DateFormat.h"
#include "platform/SjisCodec.h"

namespace kal {

int DaysInMonth(int year, int month)
{
    return daysInMonth(year, month);
}

int ColumnOfWeekday(int weekday, WeekStart weekStart)
{
    if (weekStart == WeekStart::Sunday)
        return weekday;
    return weekday == 0 ? 6 : weekday - 1;
}

int FirstColumn(int year, int month, WeekStart weekStart)
{
    return ColumnOfWeekday(dayOfWeek(Date{year, month, 1}), weekStart);
}

int SaturdayColumn(WeekStart weekStart)
{
    return weekStart == WeekStart::Sunday ? 6 : 5;
}
int SundayColumn(WeekStart weekStart)
{
    return weekStart == WeekStart::Sunday ? 0 : 6;
}

MonthLayout BuildLayout(int year, int month, WeekStart weekStart)
{
    MonthLayout layout;
    layout.year = year;
    layout.month = month;
    layout.weekStart = weekStart;
    layout.prevYear = year;
    layout.prevMonth = month;
    previousMonth(layout.prevYear, layout.prevMonth);
    layout.nextYear = year;
    layout.nextMonth = month;
    nextMonth(layout.nextYear, layout.nextMonth);
    layout.currentColumn.fill(-1);
    layout.currentRow.fill(-1);
    layout.prevColumn.fill(-1);
    layout.nextColumn.fill(-1);
    layout.nextRow.fill(-1);

    const int c0 = FirstColumn(year, month, weekStart);
    const int previousLength = DaysInMonth(layout.prevYear, layout.prevMonth);
    layout.prevShown = c0 > 0;
    for (int column = 0; column < c0; ++column) {
        int day = previousLength - c0 + 1 + column;
        DayCell& cell = layout.cell(column, 1);
        cell.day = day;
        cell.relation = MonthRelation::Previous;
        layout.prevColumn[static_cast<std::size_t>(day)] = column;
    }
    layout.firstLeadingDay = c0 > 0 ? previousLength - c0 + 1 : 0;

    const int length = DaysInMonth(year, month);
    for (int day = 1; day <= length; ++day) {
        int index = c0 + day - 1;
        int column = index % 7;
        int row = 1 + index / 7;
        DayCell& cell = layout.cell(column, row);
        cell.day = day;
        cell.relation = MonthRelation::Current;
        layout.currentColumn[static_cast<std::size_t>(day)] = column;
        layout.currentRow[static_cast<std::size_t>(day)] = row;
    }

    layout.nextShown = true;
    int nextDay = 1;
    for (int index = c0 + length; index < 42; ++index, ++nextDay) {
        int column = index % 7;
        int row = 1 + index / 7;
        DayCell& cell = layout.cell(column, row);
        cell.day = nextDay;
        cell.relation = MonthRelation::Next;
        layout.nextColumn[static_cast<std::size_t>(nextDay)] = column;
        layout.nextRow[static_cast<std::size_t>(nextDay)] = row;
    }
    layout.lastTrailingDay = layout.cell(6, 6).day;

    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column) {
            DayCell& cell = layout.cell(column, row);
            Date date = layout.dateOf(column, row);
            cell.rokuyo = RokuyoOf(date.year, date.month, date.day);
        }
    return layout;
}

Date MonthLayout::dateOf(int column, int row) const
{
    const DayCell& c = cell(column, row);
    switch (c.relation) {
    case MonthRelation::Previous:
        return Date{prevYear, prevMonth, c.day};
    case MonthRelation::Next:
        return Date{nextYear, nextMonth, c.day};
    case MonthRelation::Current:
        break;
    }
    return Date{year, month, c.day};
}

bool MonthLayout::find(const Date& date, CellPos& pos) const
{
    auto day = static_cast<std::size_t>(date.day);
    if (date.day < 1 || date.day > 31)
        return false;
    if (date.year == year && date.month == month && currentColumn[day] >= 0) {
        pos = CellPos{currentColumn[day], currentRow[day]};
        return true;
    }
    if (date.year == prevYear && date.month == prevMonth && prevColumn[day] >= 0) {
        pos = CellPos{prevColumn[day], 1};
        return true;
    }
    if (date.year == nextYear && date.month == nextMonth && nextColumn[day] >= 0) {
        pos = CellPos{nextColumn[day], nextRow[day]};
        return true;
    }
    return false;
}

namespace {

template <typename Names> std::array<std::string, 7> inColumnOrder(const Names& sundayFirst, WeekStart weekStart)
{
    std::array<std::string, 7> out;
    for (int weekday = 0; weekday < 7; ++weekday)
        out[static_cast<std::size_t>(ColumnOfWeekday(weekday, weekStart))] =
            sundayFirst[static_cast<std::size_t>(weekday)];
    return out;
}

} // namespace

std::array<std::string, 7> JapaneseWeekdayNames(WeekStart weekStart)
{
    std::array<std::string, 7> names;
    for (int i = 0; i < 7; ++i)
        names[static_cast<std::size_t>(i)] = text::japaneseWeekdayShort(i);
    return inColumnOrder(names, weekStart);
}

std::array<std::string, 7> LongJapaneseWeekdayNames(WeekStart weekStart)
{
    std::array<std::string, 7> names;
    for (int i = 0; i < 7; ++i)
        names[static_cast<std::size_t>(i)] = text::japaneseWeekdayLong(i);
    return inColumnOrder(names, weekStart);
}

std::array<std::string, 7> EnglishWeekdayNames(WeekStart weekStart)
{
    static const std::array<std::string, 7> names = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return inColumnOrder(names, weekStart);
}

const std::string& EnglishMonthName(int month)
{
    static const std::array<std::string, 12> names = {"January",   "February", "March",    "April",
                                                      "May",       "June",     "July",     "August",
                                                      "September", "October",  "November", "December"};
    return names[static_cast<std::size_t>((month - 1 + 12) % 12)];
}

std::string EraYearText(int year, int month)
{
    return text::formatDate(KAL_SJIS("ggge\"年\""), Date{year, month, 1});
}

const std::string& RokuyoName(int code)
{
    static const std::array<std::string, 7> names = {std::string(),
                                                     sjis::fromUtf8Lossy("先勝"),
                                                     sjis::fromUtf8Lossy("友引"),
                                                     sjis::fromUtf8Lossy("先負"),
                                                     sjis::fromUtf8Lossy("仏滅"),
                                                     sjis::fromUtf8Lossy("大安"),
                                                     sjis::fromUtf8Lossy("赤口")};
    return names[static_cast<std::size_t>(code >= 1 && code <= 6 ? code : 0)];
}

std::string DayText(const Date& date, bool eraDates)
{
    return eraDates ? text::formatDate(KAL_SJIS("ggge\"年\"m\"月\"d\"日\""), date)
                    : text::formatDate(KAL_SJIS("yyyy\"年\"m\"月\"d\"日\""), date);
}

std::string ShortDayText(const Date& date)
{
    return text::formatDate(KAL_SJIS("yyyy\"/\"m\"/\"d\"(\"aaa\")\""), date);
}

} // namespace kal
