// A day cell as a screen reader reads it: the order of its parts and what each view leaves out.
#include "calendar/SpokenDay.h"
#include "support/ScheduleLines.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kal;
using kal::test::plainScheduleLine;
using kal::test::sj;

namespace {

struct SpokenCase {
    const char* what;
    Date day;
    std::function<void(MonthLayout&, DayCellLists&, CalendarLook&, const CellPos&)> setUp;
    SpokenView view;
    const char* spoken;
};

void add(DayCellLists& lists, const CellPos& at, const std::string& utf8Line)
{
    lists.add(at.column, at.row, CellLine{sj(utf8Line)});
}

void addSchedule(DayCellLists& lists, const CellPos& at, const std::string& start, const std::string& end,
                 const std::string& title, const std::string& category = "")
{
    lists.add(at.column, at.row, CellLine{"3" + plainScheduleLine(1, start, end, title, "", category)});
}

const SpokenCase kCases[] = {
    {"holiday, anniversary, rokuyo, two schedules and a memo",
     {2026, 12, 15},
     [](MonthLayout& layout, DayCellLists& lists, CalendarLook&, const CellPos& at) {
         add(lists, at, "0天皇誕生日");
         add(lists, at, "2結婚記念日");
         addSchedule(lists, at, "10:00", "11:00", "歯科検診");
         addSchedule(lists, at, "", "", "大掃除");
         layout.cell(at.column, at.row).mark = 1;
         layout.cell(at.column, at.row).rokuyo = 5;
         layout.cell(at.column, at.row).showRokuyo = true;
     },
     SpokenView::Month,
     "12月15日 火曜日、天皇誕生日、結婚記念日、大安、大掃除、10:00から11:00 歯科検診、メモあり"},
    {"a previous month's day with its schedule",
     {2026, 11, 30},
     [](MonthLayout&, DayCellLists& lists, CalendarLook&, const CellPos& at) {
         addSchedule(lists, at, "", "18:00", "締切");
     },
     SpokenView::Month,
     "11月30日 月曜日、前の月、18:00まで 締切"},
    {"a neighbouring day hidden by OtherMon says only what it is",
     {2027, 1, 2},
     [](MonthLayout&, DayCellLists& lists, CalendarLook& look, const CellPos& at) {
         look.otherMonth = false;
         addSchedule(lists, at, "09:00", "", "初売り");
     },
     SpokenView::Month,
     "1月2日 土曜日、次の月"},
    {"the week view reads it whatever OtherMon says",
     {2027, 1, 2},
     [](MonthLayout&, DayCellLists& lists, CalendarLook& look, const CellPos& at) {
         look.otherMonth = false;
         addSchedule(lists, at, "09:00", "", "初売り");
     },
     SpokenView::Week,
     "1月2日 土曜日、次の月、09:00から 初売り"},
    {"old calendar and solar term after the rokuyo; today",
     {2026, 12, 22},
     [](MonthLayout&, DayCellLists&, CalendarLook& look, const CellPos&) {
         look.almanac = AlmanacFlags{true, true, false};
     },
     SpokenView::Month,
     "12月22日 火曜日、今日、旧暦11月14日、冬至"},
    {"ToDo entries and their mark; a hidden category's schedule is not read",
     {2026, 12, 3},
     [](MonthLayout& layout, DayCellLists& lists, CalendarLook&, const CellPos& at) {
         add(lists, at, "8" + std::string(40, ' ') + "書類提出");
         add(lists, at, "8" + std::string(40, ' ') + "年賀状");
         addSchedule(lists, at, "08:00", "", "隠れた予定", "Hidden");
         layout.cell(at.column, at.row).mark = 3;
     },
     SpokenView::Month,
     "12月3日 木曜日、ToDo 書類提出、ToDo 年賀状、メモあり、ToDo 2件"},
};

} // namespace

TEST(SpokenDay, ReadsEachPartOfACellInOrder)
{
    for (const SpokenCase& c : kCases) {
        SCOPED_TRACE(c.what);
        MonthLayout layout = BuildLayout(2026, 12, WeekStart::Sunday);
        DayCellLists lists;
        CalendarLook look;
        look.calView = CalViewFlags({1, 1, 1, 1, 1, 1, 1, 1, 1});
        look.weekView = WeekViewFlags({1, 1, 1, 1, 1, 1, 1, 1, 1});
        CellPos at;
        ASSERT_TRUE(layout.find(c.day, at));
        c.setUp(layout, lists, look, at);
        const CategoryTable categories{{"Hidden        0"}};
        EXPECT_EQ(SpokenDay(layout, lists, categories, look, Date{2026, 12, 22}, at.column, at.row, c.view),
                  sj(c.spoken));
    }
}

TEST(SpokenDay, SaysTimesAndMemosInWords)
{
    EXPECT_EQ(SpokenTimes("10:00", "11:00"), sj("10:00から11:00"));
    EXPECT_EQ(SpokenTimes("", ""), "");
    EXPECT_EQ(SpokenMemo({}), sj("メモなし"));
    EXPECT_EQ(SpokenMemo({sj("買い物"), "", sj("牛乳")}), sj("メモ、買い物 牛乳"));
}
