#include "calendar/MonthBuild.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "support/RunProgram.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace kal;
using kal::test::crlf;
using kal::test::ProgramRun;
using kal::test::runProgram;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

std::string record(int day, const std::string& start, const std::string& title)
{
    return kal::test::scheduleLine(day, start, title);
}

struct MonthBuildFixture : ::testing::Test {
    TempFolder dir;
    MonthBuildInput input;

    void SetUp() override
    {
        dir.write("Holiday.dat", *files::readBytes(KALENDRA_SOURCE_DIR "/data/Holiday.dat"));
        input.year = 2026;
        input.month = 5;
        input.today = Date{2026, 5, 12};
        input.calView = CalViewFlags({1, 1, 1, 1, 1, 1, 1, 0, 0});
        input.rikuyo = RokuyoFlags({1, 1, 1, 1, 1, 1});
        input.dataPath = dir.path();
        input.memoPath = dir.path();
    }

    std::vector<std::string> textsOn(const MonthBuild& build, const Date& date) const
    {
        CellPos pos;
        EXPECT_TRUE(build.layout.find(date, pos));
        std::vector<std::string> out;
        for (const CellLine& line : build.lists.at(pos.column, pos.row))
            out.push_back(line.text);
        return out;
    }
    const DayCell& cellOn(const MonthBuild& build, const Date& date) const
    {
        CellPos pos;
        EXPECT_TRUE(build.layout.find(date, pos));
        return build.layout.cell(pos.column, pos.row);
    }
};

} // namespace

TEST_F(MonthBuildFixture, SchedulesOfThreeMonthFilesGoToTheirCellsWithTheirFileAndLine)
{
    // May 2026 starts on a Friday: leading cells 26 to 30 April, trailing 1 to 6 June.
    dir.write("202604.sch", crlf({record(25, "10:00", "too early"), record(26, "10:00", "leading")}));
    dir.write("202605.sch", crlf({"garbage", record(3, "", "untimed"), record(3, "09:00", "timed"),
                                  record(3, "09:00", "timed"), record(31, "", "last")}));
    // Not sorted: a shown day after one that is not.
    dir.write("202606.sch", crlf({record(7, "", "hidden"), record(6, "", "trailing")}));
    MonthBuild build = BuildMonth(input);

    EXPECT_EQ(textsOn(build, Date{2026, 4, 26}), std::vector<std::string>{"3" + record(26, "10:00", "leading")});
    EXPECT_EQ(textsOn(build, Date{2026, 6, 6}), std::vector<std::string>{"3" + record(6, "", "trailing")});
    EXPECT_EQ(textsOn(build, Date{2026, 5, 31}), std::vector<std::string>{"3" + record(31, "", "last")});

    // 3 May: the holiday first, then the untimed schedule, then both identical timed ones.
    CellPos pos;
    ASSERT_TRUE(build.layout.find(Date{2026, 5, 3}, pos));
    const auto& lines = build.lists.at(pos.column, pos.row);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(sjis::toUtf8(lines[0].text), "0憲法記念日");
    EXPECT_EQ(lines[1].text, "3" + record(3, "", "untimed"));
    EXPECT_EQ(lines[2].text, lines[3].text);
    EXPECT_EQ(lines[1].file(), dir.file("202605.sch"));
    EXPECT_EQ(lines[1].lineIndex, 1);
    EXPECT_EQ(lines[2].lineIndex, 2);
    EXPECT_EQ(lines[3].lineIndex, 3);
    EXPECT_EQ(lines[0].lineIndex, -1);
}

TEST_F(MonthBuildFixture, MemoAndToDoMarksAndRokuyo)
{
    dir.write("20260520.mem", "memo\r\n");
    dir.write("20260601.mem", "next month\r\n");
    input.todoLines = {"2026/05/201000"
                       "2026/01/01" +
                           std::string(14, ' ') + "00open", // due on the memo day
                       "2026/05/211001"
                       "2026/01/01" +
                           std::string(14, ' ') + "00done",
                       sj("期限日なし") +
                           "1000"
                           "2026/01/01" +
                           std::string(14, ' ') + "00none",
                       "2026/05/221000"
                       "2026/01/01" +
                           std::string(14, ' ') + "00open2"};
    MonthBuild build = BuildMonth(input);
    EXPECT_EQ(cellOn(build, Date{2026, 5, 20}).mark, 3);
    EXPECT_EQ(cellOn(build, Date{2026, 6, 1}).mark, 1);
    EXPECT_EQ(cellOn(build, Date{2026, 5, 21}).mark, 0);
    EXPECT_EQ(cellOn(build, Date{2026, 5, 22}).mark, 2);
    EXPECT_EQ(textsOn(build, Date{2026, 5, 22}), std::vector<std::string>{"8" + input.todoLines[3]});
    EXPECT_TRUE(textsOn(build, Date{2026, 5, 21}).empty());

    input.calView.set(CalViewFlag::MemoMark, 0);
    input.calView.set(CalViewFlag::TodoMark, 0); // the line stays, the mark does not come
    MonthBuild plain = BuildMonth(input);
    EXPECT_EQ(cellOn(plain, Date{2026, 5, 20}).mark, 0);
    EXPECT_EQ(textsOn(plain, Date{2026, 5, 22}).size(), 1u);

    const DayCell& cell = cellOn(build, Date{2026, 5, 12});
    EXPECT_NE(cell.rokuyo, 0);
    EXPECT_TRUE(cell.showRokuyo);
    input.rikuyo = {};
    EXPECT_FALSE(cellOn(BuildMonth(input), Date{2026, 5, 12}).showRokuyo);
}

TEST_F(MonthBuildFixture, MemoTextsOfEveryShownDayOnlyWhenAskedAndWhateverTheMemoMarks)
{
    dir.write("20260520.mem", crlf({sj("打ち合わせ"), "second"}));
    dir.write("20260428.mem", "leading\r\n");
    dir.write("20260606.mem", "trailing");
    dir.write("20260607.mem", "not shown\r\n");
    dir.write("20260521.mem", std::string("\x81\x00\xff\r\r\n", 6)); // garbage still reads
    input.calView.set(CalViewFlag::MemoMark, 0);
    EXPECT_FALSE(BuildMonth(input).memoTextsRead);

    input.memoTexts = true;
    const MonthBuild build = BuildMonth(input);
    ASSERT_TRUE(build.memoTextsRead);
    auto memoOn = [&](const Date& date) {
        CellPos pos;
        EXPECT_TRUE(build.layout.find(date, pos));
        return build.memoText(pos.column, pos.row);
    };
    EXPECT_EQ(memoOn(Date{2026, 5, 20}), (std::vector<std::string>{sj("打ち合わせ"), "second"}));
    EXPECT_EQ(memoOn(Date{2026, 4, 28}), std::vector<std::string>{"leading"});
    EXPECT_EQ(memoOn(Date{2026, 6, 6}), std::vector<std::string>{"trailing"});
    EXPECT_EQ(memoOn(Date{2026, 5, 21}).size(), 2u);
    EXPECT_TRUE(memoOn(Date{2026, 5, 19}).empty());
    EXPECT_EQ(cellOn(build, Date{2026, 5, 20}).mark, 0) << "the memo column does not need the mark";
}

TEST(MonthSelection, ThirtyFirstToAThirtyDayMonthKeepsTheCell)
{
    MonthLayout may = BuildLayout(2026, 5, WeekStart::Sunday);
    CellPos on31{may.currentColumn[31], may.currentRow[31]};
    MonthLayout june = BuildLayout(2026, 6, WeekStart::Sunday);
    CellPos after = SelectionAfterBuild(june, 31, on31);
    EXPECT_EQ(after, on31);
    EXPECT_EQ(june.dateOf(after.column, after.row), (Date{2026, 7, 5}));
    CellPos on15 = SelectionAfterBuild(june, 15, on31);
    EXPECT_EQ(june.dateOf(on15.column, on15.row), (Date{2026, 6, 15}));
}

TEST(DumpMonth, PrintsEveryCellAndRefusesBadArguments)
{
    TempFolder home;
    home.write("Holiday.dat", *files::readBytes(KALENDRA_SOURCE_DIR "/data/Holiday.dat"));
    home.write("202605.sch", crlf({record(6, "09:00", sj("会議"))}));
    const ProgramRun run =
        runProgram(std::string(KALENDRA_BINARY) + " --home " + home.path() + " --dump-month 2026 05");
    EXPECT_EQ(run.exitCode, 0);
    const std::string& output = run.output;

    std::vector<std::string> lines = files::splitLines(output);
    ASSERT_EQ(lines.size(), 42u);
    EXPECT_EQ(lines[0].substr(0, 14), "2026/04/26\tP\t9");
    std::string sixth;
    for (const auto& line : lines)
        if (line.rfind("2026/05/06", 0) == 0)
            sixth = line;
    std::string rokuyo = sjis::toUtf8(RokuyoName(RokuyoOf(2026, 5, 6)));
    EXPECT_EQ(sixth,
              "2026/05/06\tC\t0\t0\t" + rokuyo + "\t0振替休日\t3" + sjis::toUtf8(record(6, "09:00", sj("会議"))));
    EXPECT_EQ(lines[41].substr(0, 12), "2026/06/06\tN");

    const ProgramRun bad =
        runProgram(std::string(KALENDRA_BINARY) + " --home " + home.path() + " --dump-month 2100 1 2>&1");
    EXPECT_EQ(bad.exitCode, 2);
    const std::string& message = bad.output;
    EXPECT_NE(message.find("1900 から 2099"), std::string::npos);
    EXPECT_NE(message.find("--dump-month YYYY MM"), std::string::npos);
}
