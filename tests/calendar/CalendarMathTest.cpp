#include "calendar/CalendarMath.h"
#include "platform/SjisCodec.h"

#include <gtest/gtest.h>

using namespace kal;

namespace {

std::string utf8(const std::string& s)
{
    return sjis::toUtf8(s);
}

} // namespace

TEST(CalendarMath, MonthLengthsAndFirstColumns)
{
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2026, 4), 30);
    // 1 December 2026 is a Tuesday.
    EXPECT_EQ(FirstColumn(2026, 12, WeekStart::Sunday), 2);
    EXPECT_EQ(FirstColumn(2026, 12, WeekStart::Monday), 1);
    // 1 March 2026 is a Sunday.
    EXPECT_EQ(FirstColumn(2026, 3, WeekStart::Sunday), 0);
    EXPECT_EQ(FirstColumn(2026, 3, WeekStart::Monday), 6);
    EXPECT_EQ(SaturdayColumn(WeekStart::Sunday), 6);
    EXPECT_EQ(SundayColumn(WeekStart::Sunday), 0);
    EXPECT_EQ(SaturdayColumn(WeekStart::Monday), 5);
    EXPECT_EQ(SundayColumn(WeekStart::Monday), 6);
}

TEST(CalendarMath, MonthStartingInColumnZeroHasNoLeadingCells)
{
    MonthLayout l = BuildLayout(2026, 3, WeekStart::Sunday);
    EXPECT_FALSE(l.prevShown);
    EXPECT_EQ(l.firstLeadingDay, 0);
    EXPECT_EQ(l.cell(0, 1).day, 1);
    EXPECT_EQ(l.cell(0, 1).relation, MonthRelation::Current);
    EXPECT_TRUE(l.nextShown);
}

TEST(CalendarMath, CommonFebruaryStartingInColumnZeroFillsFourRows)
{
    // February 2015 begins on a Sunday and has 28 days.
    MonthLayout l = BuildLayout(2015, 2, WeekStart::Sunday);
    EXPECT_EQ(l.cell(6, 4).day, 28);
    EXPECT_EQ(l.cell(6, 4).relation, MonthRelation::Current);
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(l.cell(column, 5).day, column + 1);
        EXPECT_EQ(l.cell(column, 6).day, column + 8);
        EXPECT_EQ(l.cell(column, 6).relation, MonthRelation::Next);
    }
    EXPECT_EQ(l.lastTrailingDay, 14);
}

TEST(CalendarMath, ThirtyOneDayMonthFromColumnSixReachesRowSix)
{
    // August 2026 begins on a Saturday.
    MonthLayout l = BuildLayout(2026, 8, WeekStart::Sunday);
    EXPECT_EQ(FirstColumn(2026, 8, WeekStart::Sunday), 6);
    EXPECT_EQ(l.cell(1, 6).day, 31);
    EXPECT_EQ(l.cell(1, 6).relation, MonthRelation::Current);
    EXPECT_EQ(l.cell(2, 6).day, 1);
    EXPECT_EQ(l.lastTrailingDay, 5);
    EXPECT_EQ(l.currentRow[31], 6);
    EXPECT_EQ(l.nextColumn[5], 6);
    // Leading cells: 26 to 31 July.
    EXPECT_EQ(l.firstLeadingDay, 26);
    EXPECT_EQ(l.prevColumn[31], 5);
}

TEST(CalendarMath, NeighbourMonthsWrapTheYear)
{
    MonthLayout jan = BuildLayout(2026, 1, WeekStart::Monday);
    EXPECT_EQ(jan.prevYear, 2025);
    EXPECT_EQ(jan.prevMonth, 12);
    EXPECT_EQ(jan.dateOf(0, 1), (Date{2025, 12, 29}));
    MonthLayout dec = BuildLayout(2026, 12, WeekStart::Monday);
    EXPECT_EQ(dec.nextYear, 2027);
    EXPECT_EQ(dec.nextMonth, 1);
    EXPECT_EQ(dec.dateOf(6, 6), (Date{2027, 1, 10}));
}

TEST(CalendarMath, RelationFollowsRowAndDayAloneForEveryMonth)
{
    for (int weekStart = 0; weekStart < 2; ++weekStart)
        for (int year : {1999, 2000, 2026})
            for (int month = 1; month <= 12; ++month) {
                MonthLayout l = BuildLayout(year, month, static_cast<WeekStart>(weekStart));
                for (int row = 1; row <= 6; ++row)
                    for (int column = 0; column < 7; ++column) {
                        const DayCell& c = l.cell(column, row);
                        // The relation follows from row and day alone: row 1 above 7 is the
                        // previous month, rows 5 and 6 below 15 the next.
                        MonthRelation byRule = row == 1 && c.day > 7    ? MonthRelation::Previous
                                               : row >= 5 && c.day < 15 ? MonthRelation::Next
                                                                        : MonthRelation::Current;
                        ASSERT_EQ(c.relation, byRule) << year << "/" << month << " " << column << "," << row;
                        CellPos pos;
                        ASSERT_TRUE(l.find(l.dateOf(column, row), pos));
                        ASSERT_EQ(pos, (CellPos{column, row}));
                    }
            }
}

TEST(CalendarMath, WeekdayNamesFollowTheWeekStart)
{
    auto sunday = JapaneseWeekdayNames(WeekStart::Sunday);
    auto monday = JapaneseWeekdayNames(WeekStart::Monday);
    EXPECT_EQ(utf8(sunday[0]), "日");
    EXPECT_EQ(utf8(sunday[6]), "土");
    EXPECT_EQ(utf8(monday[0]), "月");
    EXPECT_EQ(utf8(monday[6]), "日");
    EXPECT_EQ(utf8(LongJapaneseWeekdayNames(WeekStart::Monday)[5]), "土曜日");
    EXPECT_EQ(EnglishWeekdayNames(WeekStart::Sunday)[0], "Sun");
    EXPECT_EQ(EnglishWeekdayNames(WeekStart::Monday)[0], "Mon");
    EXPECT_EQ(EnglishMonthName(4), "April");
}

TEST(CalendarMath, EraYearOfTheMonthsFirstDay)
{
    EXPECT_EQ(utf8(EraYearText(2019, 4)), "平成31年");
    EXPECT_EQ(utf8(EraYearText(2019, 5)), "令和1年");
    EXPECT_EQ(utf8(EraYearText(1989, 1)), "昭和64年");
    EXPECT_EQ(utf8(EraYearText(1989, 2)), "平成1年");
    EXPECT_EQ(utf8(EraYearText(2026, 12)), "令和8年");
    EXPECT_EQ(utf8(DayText(Date{2026, 12, 8}, true)), "令和8年12月8日");
    EXPECT_EQ(utf8(DayText(Date{2026, 12, 8}, false)), "2026年12月8日");
}

TEST(CalendarMath, RokuyoForTheWholeTwoCenturies)
{
    EXPECT_EQ(RokuyoOf(1998, 1, 1), 2);
    EXPECT_EQ(utf8(RokuyoName(RokuyoOf(1998, 1, 1))), "友引");
    EXPECT_EQ(RokuyoOf(1899, 12, 31), 0);
    EXPECT_EQ(RokuyoOf(2100, 1, 1), 0);
    EXPECT_EQ(RokuyoOf(2000, 2, 30), 0);
    EXPECT_NE(RokuyoOf(2000, 2, 29), 0);
    EXPECT_NE(RokuyoOf(1900, 1, 1), 0);
    EXPECT_NE(RokuyoOf(2099, 12, 31), 0);
    // Lunar New Year is always 先勝: 2026-02-17 was 旧暦1月1日.
    EXPECT_EQ(utf8(RokuyoName(RokuyoOf(2026, 2, 17))), "先勝");
    // The names follow each other day by day and jump only where a lunar month begins,
    // twelve or thirteen times a year.
    int jumps = 0;
    for (Date d{2026, 1, 1}; d.year == 2026; d = addDays(d, 1)) {
        Date next = addDays(d, 1);
        if (next.year == 2026 && RokuyoOf(next.year, next.month, next.day) != RokuyoOf(d.year, d.month, d.day) % 6 + 1)
            ++jumps;
    }
    EXPECT_GE(jumps, 11);
    EXPECT_LE(jumps, 13);
    EXPECT_TRUE(RokuyoName(0).empty());
}
