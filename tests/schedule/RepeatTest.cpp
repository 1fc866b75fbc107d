#include "schedule/Repeat.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

using Dates = std::vector<Date>;

RepeatRule everyDay()
{
    return RepeatRule{};
}

RepeatRule monthlyOn(int day)
{
    RepeatRule rule;
    rule.pattern = RepeatPattern::MonthlyOnDay;
    rule.dayOfMonth = day;
    return rule;
}

RepeatRule weekday(WeekOfMonth week, int dayOfWeek)
{
    RepeatRule rule;
    rule.pattern = RepeatPattern::ByWeekday;
    rule.week = week;
    rule.weekday = dayOfWeek;
    return rule;
}

constexpr int kSunday = 0, kMonday = 1, kTuesday = 2, kWednesday = 3, kFriday = 5;

ScheduleFields morningCall()
{
    ScheduleFields f;
    f.start = "09:00";
    f.title = sj("朝会");
    return f;
}

// What ComposeSchedule must give for morningCall() on `day`.
std::string morningLine(const std::string& day)
{
    return day + "09:00" + std::string(19, ' ') + "0000" + sj("朝会");
}

} // namespace

TEST(Repeat, PatternsGiveTheirDatesInsideThePeriod)
{
    struct Case {
        const char* name;
        RepeatRule rule;
        RepeatPeriod period;
        Dates expected;
    };
    const Case cases[] = {
        {"every day across a month end",
         everyDay(),
         {{2026, 3, 30}, {2026, 4, 2}},
         {{2026, 3, 30}, {2026, 3, 31}, {2026, 4, 1}, {2026, 4, 2}}},
        {"every day, one day", everyDay(), {{2026, 5, 5}, {2026, 5, 5}}, {{2026, 5, 5}}},
        {"monthly on the 31st skips short months",
         monthlyOn(31),
         {{2026, 1, 1}, {2026, 5, 31}},
         {{2026, 1, 31}, {2026, 3, 31}, {2026, 5, 31}}},
        {"monthly on the 29th over a leap February",
         monthlyOn(29),
         {{2024, 1, 1}, {2024, 3, 31}},
         {{2024, 1, 29}, {2024, 2, 29}, {2024, 3, 29}}},
        {"monthly on the 29th over a common February",
         monthlyOn(29),
         {{2023, 1, 1}, {2023, 3, 31}},
         {{2023, 1, 29}, {2023, 3, 29}}},
        {"monthly keeps to both ends of the period", monthlyOn(10), {{2026, 1, 15}, {2026, 3, 9}}, {{2026, 2, 10}}},
        {"monthly across the year end",
         monthlyOn(15),
         {{2026, 11, 1}, {2027, 2, 28}},
         {{2026, 11, 15}, {2026, 12, 15}, {2027, 1, 15}, {2027, 2, 15}}},
        {"every Wednesday from a Monday",
         weekday(WeekOfMonth::Every, kWednesday),
         {{2026, 4, 20}, {2026, 5, 10}},
         {{2026, 4, 22}, {2026, 4, 29}, {2026, 5, 6}}},
        {"every Monday from a Monday",
         weekday(WeekOfMonth::Every, kMonday),
         {{2026, 4, 20}, {2026, 5, 4}},
         {{2026, 4, 20}, {2026, 4, 27}, {2026, 5, 4}}},
        {"every Sunday, none in the period", weekday(WeekOfMonth::Every, kSunday), {{2026, 4, 20}, {2026, 4, 25}}, {}},
        // The first Monday of April 2026 is the 6th, before the period: it is not written.
        {"first Monday from the 20th",
         weekday(WeekOfMonth::First, kMonday),
         {{2026, 4, 20}, {2026, 7, 10}},
         {{2026, 5, 4}, {2026, 6, 1}, {2026, 7, 6}}},
        {"second Tuesday",
         weekday(WeekOfMonth::Second, kTuesday),
         {{2026, 4, 1}, {2026, 6, 30}},
         {{2026, 4, 14}, {2026, 5, 12}, {2026, 6, 9}}},
        {"third Tuesday",
         weekday(WeekOfMonth::Third, kTuesday),
         {{2026, 4, 1}, {2026, 6, 30}},
         {{2026, 4, 21}, {2026, 5, 19}, {2026, 6, 16}}},
        {"fourth Tuesday",
         weekday(WeekOfMonth::Fourth, kTuesday),
         {{2026, 4, 1}, {2026, 6, 30}},
         {{2026, 4, 28}, {2026, 5, 26}, {2026, 6, 23}}},
        {"last Tuesday, four or five in the month",
         weekday(WeekOfMonth::Last, kTuesday),
         {{2026, 4, 1}, {2026, 6, 30}},
         {{2026, 4, 28}, {2026, 5, 26}, {2026, 6, 30}}},
        // February and March 2019 both begin on a Friday.
        {"last Friday of 28 and of 31 days",
         weekday(WeekOfMonth::Last, kFriday),
         {{2019, 2, 1}, {2019, 3, 31}},
         {{2019, 2, 22}, {2019, 3, 29}}},
        {"last Friday after the period's end", weekday(WeekOfMonth::Last, kFriday), {{2019, 3, 1}, {2019, 3, 28}}, {}},
        {"a period ending before it begins", everyDay(), {{2026, 5, 5}, {2026, 5, 4}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RepeatDates(c.rule, c.period), c.expected);
    }
}

TEST(Repeat, PeriodHelpersPullTheLastDayAndShowTheCountWithinRange)
{
    DaySpan pulled = DaySpanCheck({2026, 5, 10}, {2026, 5, 3});
    EXPECT_EQ(pulled.last, (Date{2026, 5, 10}));
    EXPECT_EQ(pulled.shownCount, 1);

    DaySpan week = DaySpanCheck({2026, 2, 26}, {2026, 3, 4});
    EXPECT_EQ(week.last, (Date{2026, 3, 4}));
    EXPECT_EQ(week.shownCount, 7);

    // 1 January to 30 May 2026 is 150 days.
    DaySpan longPeriod = DaySpanCheck({2026, 1, 1}, {2026, 5, 30});
    EXPECT_EQ(longPeriod.last, (Date{2026, 5, 30}));
    EXPECT_EQ(longPeriod.shownCount, 99);

    EXPECT_EQ(SpinDayChange({2026, 3, 30}, 4), (Date{2026, 4, 2}));
    EXPECT_EQ(SpinDayChange({2026, 3, 30}, 1), (Date{2026, 3, 30}));
    EXPECT_EQ(SpinDayChange({2024, 2, 1}, 99), (Date{2024, 5, 9}));
}

TEST(Repeat, EveryDayWritesFourRecordsIntoTwoFiles)
{
    TempFolder data;
    // A record already in March stays and is sorted in with the new ones.
    const std::string existing = "3110:00" + std::string(19, ' ') + "0000" + "Review";
    data.write("202603.sch", crlf({existing}));

    RepeatWriteResult written = RepeatSchUd(data.path(), everyDay(), {{2026, 3, 30}, {2026, 4, 2}}, morningCall());
    ASSERT_TRUE(written.result.ok());
    EXPECT_EQ(written.written, 4);
    EXPECT_EQ(data.read("202603.sch"), crlf({morningLine("30"), morningLine("31"), existing}));
    EXPECT_EQ(data.read("202604.sch"), crlf({morningLine("01"), morningLine("02")}));
    EXPECT_FALSE(data.exists("202605.sch"));
}

TEST(Repeat, MonthlyWritesOnlyTheMonthsThatHaveTheDay)
{
    TempFolder data;
    ASSERT_TRUE(RepeatSchUd(data.path(), monthlyOn(31), {{2026, 1, 1}, {2026, 5, 31}}, morningCall()).result.ok());
    EXPECT_EQ(data.read("202601.sch"), crlf({morningLine("31")}));
    EXPECT_FALSE(data.exists("202602.sch"));
    EXPECT_EQ(data.read("202603.sch"), crlf({morningLine("31")}));
    EXPECT_FALSE(data.exists("202604.sch"));
    EXPECT_EQ(data.read("202605.sch"), crlf({morningLine("31")}));
}

TEST(Repeat, AMonthThatCannotBeWrittenLeavesEveryMonthAsItWas)
{
    TempFolder data;
    data.write("202605.sch", crlf({"kept"}));
    struct Case {
        const char* name;
        std::function<void()> block;
        std::function<void()> unblock;
        std::size_t filesAfter; // no temporary file or intent record is left; the lock file stays
    };
    const Case cases[] = {
        // A folder where April's file should be: it is refused before anything is written.
        {"a folder in the way", [&] { std::filesystem::create_directory(data.file("202604.sch")); },
         [&] { std::filesystem::remove(data.file("202604.sch")); }, 2},
        {"a read-only file", [&] { data.write("202604.sch", ""), ::chmod(data.file("202604.sch").c_str(), 0444); },
         [&] { std::filesystem::remove(data.file("202604.sch")); }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.block();
        RepeatWriteResult written = RepeatSchUd(data.path(), everyDay(), {{2026, 3, 30}, {2026, 5, 2}}, morningCall());
        EXPECT_EQ(written.result.status, store::EditStatus::WriteFailed);
        EXPECT_NE(written.result.reason.find("202604.sch"), std::string::npos);
        EXPECT_EQ(written.written, 0);
        EXPECT_FALSE(data.exists("202603.sch"));
        EXPECT_EQ(data.read("202605.sch"), crlf({"kept"}));
        EXPECT_EQ(files::listFiles(data.path(), "*").size() + files::listFiles(data.path(), ".*").size(), c.filesAfter);
        c.unblock();
    }

    RepeatWriteResult nowhere =
        RepeatSchUd(data.file("missing/"), everyDay(), {{2026, 3, 30}, {2026, 4, 2}}, morningCall());
    EXPECT_EQ(nowhere.result.status, store::EditStatus::WriteFailed);
    EXPECT_EQ(nowhere.written, 0);
}

TEST(Repeat, NoDatesWritesNothing)
{
    TempFolder data;
    RepeatWriteResult written = WriteOccurrences(data.path(), {}, morningCall());
    EXPECT_TRUE(written.result.ok());
    EXPECT_EQ(written.written, 0);
    EXPECT_TRUE(files::listFiles(data.path(), "*.sch").empty());
}
