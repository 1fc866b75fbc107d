// A day cell as a screen reader reads it: the order of its parts and what each view leaves out.
#include "calendar/SpokenDay.h"
#include "support/ScheduleLines.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kal;
using kal::test::sj;

namespace {

// A cell line written as "0name" (holidays) or "8title" (ToDo), a schedule as "3start|end|title|category".
CellLine lineOf(const std::string& written)
{
    if (written[0] != '3')
        return CellLine{written[0] == '8' ? "8" + std::string(40, ' ') + sj(written.substr(1)) : sj(written)};
    std::istringstream in(written.substr(1));
    std::string f[4];
    for (std::string& field : f)
        std::getline(in, field, '|');
    return CellLine{"3" + test::plainScheduleLine(1, f[0], f[1], f[2], "", f[3])};
}

struct SpokenCase {
    Date day;
    std::vector<std::string> lines;
    int mark, rokuyo;
    bool otherMonth, almanac;
    SpokenView view;
    const char* spoken;
};

// clang-format off
const SpokenCase kCases[] = {
    {{2026, 12, 15}, {"0天皇誕生日", "2結婚記念日", "310:00|11:00|歯科検診|", "3||大掃除|"}, 1, 5, true, false,
     SpokenView::Month, "12月15日 火曜日、天皇誕生日、結婚記念日、大安、大掃除、10:00から11:00 歯科検診、メモあり"},
    {{2026, 11, 30}, {"3|18:00|締切|"}, 0, 0, true, false, SpokenView::Month, "11月30日 月曜日、前の月、18:00まで 締切"},
    {{2027, 1, 2}, {"309:00||初売り|"}, 0, 0, false, false, SpokenView::Month, "1月2日 土曜日、次の月"},
    {{2027, 1, 2}, {"309:00||初売り|"}, 0, 0, false, false, SpokenView::Week, "1月2日 土曜日、次の月、09:00から 初売り"},
    {{2026, 12, 22}, {}, 0, 0, true, true, SpokenView::Month, "12月22日 火曜日、今日、旧暦11月14日、冬至"},
    {{2026, 12, 3}, {"8書類提出", "8年賀状", "308:00||隠れた予定|Hidden"}, 3, 0, true, false, SpokenView::Month,
     "12月3日 木曜日、ToDo 書類提出、ToDo 年賀状、メモあり、ToDo 2件"},
};
// clang-format on

} // namespace

TEST(SpokenDay, ReadsEachPartOfACellInOrder)
{
    for (const SpokenCase& c : kCases) {
        SCOPED_TRACE(c.spoken);
        MonthLayout layout = BuildLayout(2026, 12, WeekStart::Sunday);
        CellPos at;
        ASSERT_TRUE(layout.find(c.day, at));
        DayCellLists lists;
        for (const std::string& line : c.lines)
            lists.add(at.column, at.row, lineOf(line));
        DayCell& cell = layout.cell(at.column, at.row);
        cell.mark = c.mark;
        cell.rokuyo = c.rokuyo;
        cell.showRokuyo = c.rokuyo != 0;
        CalendarLook look;
        look.calView = CalViewFlags({1, 1, 1, 1, 1, 1, 1, 1, 1});
        look.weekView = WeekViewFlags({1, 1, 1, 1, 1, 1, 1, 1, 1});
        look.otherMonth = c.otherMonth;
        look.almanac = AlmanacFlags{c.almanac, c.almanac, false};
        const CategoryTable categories{{"Hidden        0"}};
        EXPECT_EQ(SpokenDay(layout, lists, categories, look, Date{2026, 12, 22}, at.column, at.row, c.view),
                  sj(c.spoken));
    }
}
