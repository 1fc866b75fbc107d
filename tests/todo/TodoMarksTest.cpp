// Open ToDo entries placed into the day cells of a shown month, with their marks.
#include "calendar/MonthBuild.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::crlf;
using kal::test::runProgram;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

std::string due(const std::string& deadline, const std::string& title, char done = '0')
{
    return deadline + "10" + "5" + done + "2026/01/01" + std::string(14, ' ') + "00" + title;
}

struct Placed {
    MonthLayout layout;
    DayCellLists lists;

    Placed(int year, int month, const std::vector<std::string>& lines, bool marks = true)
        : layout(BuildLayout(year, month, WeekStart::Sunday))
    {
        ApplyTodoLines(lines, marks, layout, lists);
    }
    std::vector<std::string> on(const Date& date) const
    {
        CellPos pos;
        if (!layout.find(date, pos))
            return {"not shown"};
        std::vector<std::string> texts;
        for (const CellLine& line : lists.at(pos.column, pos.row))
            texts.push_back(line.text);
        return texts;
    }
    int markOn(const Date& date) const
    {
        CellPos pos;
        EXPECT_TRUE(layout.find(date, pos));
        return layout.cell(pos.column, pos.row).mark;
    }
};

} // namespace

TEST(TodoMarks, EntriesGoToTheirDayIncludingNeighbouringMonths)
{
    const std::string march3 = due("2025/03/03", "march 3"), march10 = due("2025/03/10", "march 10");
    const std::string feb23 = due("2025/02/23", "feb 23"), feb22 = due("2025/02/22", "feb 22");
    const std::vector<std::string> lines = {march3, march10, feb23, feb22};

    // February 2025 shows 1 to 8 March after it.
    Placed february(2025, 2, lines);
    EXPECT_EQ(february.on({2025, 3, 3}), std::vector<std::string>{"8" + march3});
    EXPECT_EQ(february.markOn({2025, 3, 3}), 2);
    EXPECT_EQ(february.on({2025, 2, 23}), std::vector<std::string>{"8" + feb23});

    // March 2025 starts on a Saturday: 23 to 28 February lead.
    Placed march(2025, 3, lines);
    EXPECT_EQ(march.on({2025, 3, 10}), std::vector<std::string>{"8" + march10});
    EXPECT_EQ(march.on({2025, 2, 23}), std::vector<std::string>{"8" + feb23});
    EXPECT_EQ(march.on({2025, 2, 22}), std::vector<std::string>{"not shown"});
    EXPECT_EQ(march.markOn({2025, 2, 23}), 2);
}

TEST(TodoMarks, DoneUndatedAndUnreadableEntriesStayOut)
{
    Placed p(2026, 12,
             {due("2026/12/10", "done", '1'), due(sj("期限日なし"), "none"), due("2026/12/11", "x").substr(0, 30)});
    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column) {
            EXPECT_TRUE(p.lists.at(column, row).empty());
            EXPECT_EQ(p.layout.cell(column, row).mark, 0);
        }
}

TEST(TodoMarks, TwoIdenticalEntriesAreTwoLinesAndAMemoMarkBecomesBoth)
{
    const std::string same = due("2026/12/10", "same");
    MonthLayout layout = BuildLayout(2026, 12, WeekStart::Monday);
    CellPos pos;
    ASSERT_TRUE(layout.find({2026, 12, 10}, pos));
    layout.cell(pos.column, pos.row).mark = 1;
    DayCellLists lists;
    ApplyTodoLines({same, same}, true, layout, lists);
    EXPECT_EQ(lists.at(pos.column, pos.row).size(), 2u);
    EXPECT_EQ(layout.cell(pos.column, pos.row).mark, 3);

    // Placing the same entries again changes nothing.
    ApplyTodoLines({same, same}, true, layout, lists);
    EXPECT_EQ(lists.at(pos.column, pos.row).size(), 2u);

    Placed unmarked(2026, 12, {same}, false);
    EXPECT_EQ(unmarked.on({2026, 12, 10}).size(), 1u);
    EXPECT_EQ(unmarked.markOn({2026, 12, 10}), 0) << "with ToDo marks off the line comes, the mark does not";
}

TEST(TodoMarks, DumpMonthShowsTheToDoLinesAndMarks)
{
    TempFolder home;
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n");
    const std::string same = due("2026/12/10", sj("同じ件名"));
    const std::string trailing = due("2027/01/02", "next year");
    home.write("ToDo.dat", crlf({same, same, trailing, due("2026/12/11", "done", '1')}));
    home.write("20261210.mem", "memo\r\n");
    const auto run = runProgram(std::string(KALENDRA_BINARY) + " --home " + home.path() + " --dump-month 2026 12");
    ASSERT_EQ(run.exitCode, 0);
    std::string tenth, eleventh, second;
    for (const std::string& line : files::splitLines(run.output)) {
        if (line.rfind("2026/12/10", 0) == 0)
            tenth = line;
        if (line.rfind("2026/12/11", 0) == 0)
            eleventh = line;
        if (line.rfind("2027/01/02", 0) == 0)
            second = line;
    }
    const std::string shown = "\t8" + sjis::toUtf8(same);
    EXPECT_EQ(tenth.substr(0, 16), "2026/12/10\tC\t9\t3") << "memo and ToDo";
    EXPECT_EQ(tenth.substr(tenth.size() - 2 * shown.size()), shown + shown) << "two entries, two lines";
    EXPECT_EQ(second.substr(0, 16), "2027/01/02\tN\t9\t2");
    EXPECT_NE(second.find("\t8" + trailing), std::string::npos);
    EXPECT_EQ(eleventh.find("\t8"), std::string::npos) << "done entries stay out";
}
