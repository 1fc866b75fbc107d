// What the list window shows: cell texts of each mode, the holiday 指定日 texts, the column sort
// and the status lines.
#include "lists/ListRows.h"
#include "schedule/ScheduleRecord.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

ListRows scheduleRows(std::vector<ListRow> rows)
{
    return ListRows{ListMode::Schedules, "/d/", {}, std::move(rows)};
}

std::vector<std::size_t> inOrder(const ListRows& rows)
{
    std::vector<std::size_t> order(rows.rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    return order;
}

} // namespace

TEST(ListRows, ScheduleCells)
{
    ScheduleFields f;
    f.day = 5;
    f.start = "09:00";
    f.category = "Work";
    f.title = sj("会議");
    f.place = sj("本社") + "  ";
    f.sound = true;
    const std::string line = ComposeSchedule(f);
    const ListRows rows = scheduleRows({ListRow{{2024, 3, 5}, 7, line}});
    const ListRow& row = rows.rows[0];
    const std::string expected[] = {"202403050007", sj("2024/03/05(火)"), "09:00", "     ",
                                    sj("会議"),     sj("本社") + "  ",    "Work",  "Alarm"};
    for (int column = 0; column < 8; ++column) {
        SCOPED_TRACE(column);
        EXPECT_EQ(ListCellText(rows, row, column), expected[column]);
    }
    f.sound = false;
    f.message = true;
    EXPECT_EQ(ListCellText(rows, ListRow{{2024, 3, 5}, 0, ComposeSchedule(f)}, 7), "PopUp");
    f.message = false;
    EXPECT_EQ(ListCellText(rows, ListRow{{2024, 3, 5}, 0, ComposeSchedule(f)}, 7), "");
    // A day the month does not have is shown as stored.
    EXPECT_EQ(ListCellText(rows, ListRow{{2023, 2, 30}, 0, "30"}, 1), "2023/02/30");
    EXPECT_EQ(ScheduleRefOf(rows, row).file, "/d/202403.sch");
    EXPECT_EQ(ScheduleRefOf(rows, row).index, 7);
    EXPECT_EQ(ScheduleRefOf(rows, row).line, line);
}

TEST(ListRows, HolidayDateTexts)
{
    struct Case {
        std::string line;
        const char* text;
    };
    const Case cases[] = {
        {"99          510", "毎月最終月曜日"}, {"            001", "毎週日曜日"},
        {"9915        002", "毎月15日"},       {" 1          210", "01月第2月曜日"},
        {"11          540", "11月最終木曜日"}, {"99          330", "毎月第3水曜日"},
        {" 1 11949    000", "01月01日"},       {"99          910", "毎月最終月曜日"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(HolidayDateText(c.line), sj(c.text));
    }
}

TEST(ListRows, HolidayListFiltersByKindAndShowsTheFields)
{
    TempFolder data;
    data.write("Holiday.dat", crlf({" 1 11949    000" + sj("元日"), "", "12252000    002" + sj("記念%d年"),
                                    " 5 5        001" + sj("休み")}));
    const ListRows all = HolidayEdit(data.file("Holiday.dat"), std::nullopt);
    ASSERT_EQ(all.rows.size(), 3u) << "an empty line is no rule";
    EXPECT_EQ(ListCellText(all, all.rows[1], 0), "0002");
    EXPECT_EQ(ListCellText(all, all.rows[1], 2), sj("記念%d年")) << "the name as stored";
    EXPECT_EQ(ListCellText(all, all.rows[1], 3), sj("記念日"));
    EXPECT_EQ(ListCellText(all, all.rows[1], 4), "2000");
    EXPECT_EQ(ListCellText(all, all.rows[1], 5), "    ");
    EXPECT_EQ(HolidayRefOf(all, all.rows[2]).index, 3);

    const ListRows daysOff = HolidayEdit(data.file("Holiday.dat"), 1);
    ASSERT_EQ(daysOff.rows.size(), 1u);
    EXPECT_EQ(ListCellText(daysOff, daysOff.rows[0], 3), sj("休日"));
    EXPECT_TRUE(HolidayEdit(data.file("none.dat"), 0).rows.empty());
}

TEST(ListRows, ColumnSortStartsDescendingAndKeepsTiesInPlace)
{
    auto line = [](const char* start, const char* title) {
        ScheduleFields f;
        f.day = 1;
        f.start = start;
        f.title = title;
        return ComposeSchedule(f);
    };
    const test::ByteCollation bytes;
    const ListRows rows =
        scheduleRows({ListRow{{2024, 1, 1}, 0, line("09:00", "b")}, ListRow{{2024, 1, 1}, 1, line("10:00", "a")},
                      ListRow{{2024, 1, 1}, 2, line("09:00", "c")}});
    EXPECT_EQ(ListSortOrder(rows, inOrder(rows), 2, -1, bytes), (std::vector<std::size_t>{1, 0, 2}));
    EXPECT_EQ(ListSortOrder(rows, inOrder(rows), 2, 1, bytes), (std::vector<std::size_t>{0, 2, 1}));
    EXPECT_EQ(ListSortOrder(rows, inOrder(rows), 4, 1, bytes), (std::vector<std::size_t>{1, 0, 2}));
    // Sorting the order as shown keeps the earlier sort among equal texts.
    EXPECT_EQ(ListSortOrder(rows, {2, 1, 0}, 2, 1, bytes), (std::vector<std::size_t>{2, 0, 1}));
    EXPECT_EQ(ListSortOrder(rows, {2, 1, 0}, 0, -1, bytes), (std::vector<std::size_t>{2, 1, 0})) << "keys never sort";
}

TEST(ListRows, StatusLinesAndViews)
{
    const Date day{2024, 3, 5};
    EXPECT_EQ(ScheduleStatusLine(ListScope::Day, day, 3), "2024年3月5日(火)の予定 [3件]");
    EXPECT_EQ(ScheduleStatusLine(ListScope::Month, day, 0), "2024年3月の予定 [0件]");
    EXPECT_EQ(ScheduleStatusLine(ListScope::Year, day, 12), "2024年の予定 [12件]");
    EXPECT_EQ(ScheduleStatusLine(ListScope::All, day, 120000), "予定 [120000件]");
    EXPECT_EQ(SearchStatusLine(0), "検索結果 [0件]");
    const auto february = ViewSpan(ListScope::Month, {2024, 2, 10});
    ASSERT_TRUE(february);
    EXPECT_EQ(february->to, (Date{2024, 2, 29}));
    EXPECT_FALSE(ViewSpan(ListScope::All, day));
}

TEST(ListRows, MemoRowsShowTheirLinesJoined)
{
    const ListRows rows{ListMode::Memos, "/m/", {}, {ListRow{{2024, 3, 5}, 0, "a\nb"}}};
    EXPECT_EQ(ListCellText(rows, rows.rows[0], 0), "20240305");
    EXPECT_EQ(ListCellText(rows, rows.rows[0], 1), sj("2024/03/05(火)"));
    EXPECT_EQ(ListCellText(rows, rows.rows[0], 2), "ab");
    EXPECT_EQ(MemoPathOf(rows, rows.rows[0]), "/m/20240305.mem");
}
