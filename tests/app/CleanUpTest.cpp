#include "app/CleanUp.h"
#include "platform/Files.h"
#include "support/FaultyFileOps.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kal;
using kal::test::FaultyFileOps;
using kal::test::FileStep;
using kal::test::TempFolder;

TEST(CleanUp, CutOffMonthWrapsIntoTheYearBefore)
{
    struct Case {
        Date today;
        int term;
        int year, month;
    };
    const Case cases[] = {
        {{2003, 5, 20}, 1, 2003, 4},  {{2003, 1, 1}, 1, 2002, 12},    {{2003, 6, 30}, 6, 2002, 12},
        {{2003, 5, 20}, 3, 2003, 2},  {{2003, 2, 28}, 2, 2002, 12},   {{2003, 3, 1}, 2, 2003, 1},
        {{2003, 1, 31}, 12, 2002, 1}, {{2003, 12, 31}, 12, 2002, 12}, {{2003, 7, 1}, 6, 2003, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.today.year) + "-" + std::to_string(c.today.month) + " term " +
                     std::to_string(c.term));
        std::optional<YearMonth> cutOff = CleanCutOff(c.today, c.term);
        ASSERT_TRUE(cutOff);
        EXPECT_EQ(cutOff->year, c.year);
        EXPECT_EQ(cutOff->month, c.month);
    }
    for (int term : {-1, 0, 4, 5, 7, 11, 13, 24, 1000})
        EXPECT_FALSE(CleanCutOff({2003, 5, 20}, term)) << term;
}

TEST(CleanUp, DeletesOnlyDatedFilesUpToTheCutOff)
{
    TempFolder data, memo;
    for (const char* name :
         {"200210.sch", "200301.sch", "200302.sch", "200303.sch", "1999.sch", "1wire.sch", "200302-old.sch",
          "200313.sch", "200300.sch", "20030.sch", "200302.SCH", "2003+2.sch", "Holiday.dat"})
        data.write(name, "x");
    std::filesystem::create_directory(data.file("200201.sch"));
    for (const char* name : {"20021231.mem", "20030131.mem", "20030201.mem", "20030215.mem", "2003013.mem",
                             "20030132.mem", "20020229.mem", "20021231.MEM", "Note.mem"})
        memo.write(name, "x");
    std::filesystem::create_directory(memo.file("20020101.mem"));

    std::optional<CleanPlan> plan = PlanCleanUp(data.path(), memo.path(), {2003, 5, 20}, 3);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->schedules,
              (std::vector<std::string>{data.file("200210.sch"), data.file("200301.sch"), data.file("200302.sch")}));
    EXPECT_EQ(plan->memos, (std::vector<std::string>{memo.file("20021231.mem"), memo.file("20030131.mem")}));
    EXPECT_EQ(CleanQuestion(plan->cutOff), "2003年 2月以前のスケジュールを削除します。\r\n"
                                           "2003年 1月以前のメモも削除します。\r\nよろしいですか？");

    const CleanResult cleaned = RunCleanUp(*plan);
    EXPECT_EQ(cleaned.deleted, 5);
    EXPECT_TRUE(cleaned.ok());
    EXPECT_EQ(CleanFailureMessage(cleaned), "");
    for (const char* gone : {"200210.sch", "200301.sch", "200302.sch"})
        EXPECT_FALSE(data.exists(gone)) << gone;
    for (const char* kept : {"200303.sch", "1999.sch", "1wire.sch", "200302-old.sch", "200313.sch", "200300.sch",
                             "20030.sch", "200302.SCH", "2003+2.sch", "Holiday.dat"})
        EXPECT_TRUE(data.exists(kept)) << kept;
    EXPECT_TRUE(std::filesystem::is_directory(data.file("200201.sch")));
    for (const char* kept :
         {"20030201.mem", "20030215.mem", "2003013.mem", "20030132.mem", "20020229.mem", "20021231.MEM", "Note.mem"})
        EXPECT_TRUE(memo.exists(kept)) << kept;
    EXPECT_FALSE(memo.exists("20021231.mem"));
    EXPECT_TRUE(std::filesystem::is_directory(memo.file("20020101.mem")));
}

TEST(CleanUp, NothingQualifiesNothingIsPlannedNotEvenOldMemos)
{
    TempFolder data, memo;
    data.write("200304.sch", "x");
    data.write("1999.sch", "x");
    memo.write("19990101.mem", "x");
    EXPECT_FALSE(PlanCleanUp(data.path(), memo.path(), {2003, 5, 20}, 3));
    EXPECT_FALSE(PlanCleanUp(data.path(), memo.path(), {2003, 5, 20}, 4)) << "an unknown term deletes nothing";
    EXPECT_FALSE(PlanCleanUp(data.file("missing/"), memo.path(), {2003, 5, 20}, 1));
    EXPECT_TRUE(memo.exists("19990101.mem"));
}

TEST(CleanUp, JanuaryCutOffNamesDecemberForTheMemos)
{
    EXPECT_EQ(CleanQuestion({2003, 1}), "2003年 1月以前のスケジュールを削除します。\r\n"
                                        "2002年12月以前のメモも削除します。\r\nよろしいですか？");
}

TEST(CleanUp, AFileThatCannotBeDeletedIsNamedAndDoesNotStopTheRest)
{
    struct Case {
        const char* name;
        int failingCall; // of the deletions, in plan order; 0 none
        int deleted;
        const char* left;
    };
    const Case cases[] = {
        {"all deleted", 0, 3, nullptr},
        {"first refused", 1, 2, "200212.sch"},
        {"last refused", 3, 2, "20021130.mem"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder data;
        CleanPlan plan;
        plan.schedules = {data.file("200212.sch"), data.file("200301.sch")};
        plan.memos = {data.file("20021130.mem")};
        for (const std::string& path : {plan.schedules[0], plan.schedules[1], plan.memos[0]})
            data.write(path.substr(data.path().size()), "x");
        FaultyFileOps ops(FileStep::Unlink, c.failingCall, EACCES);
        const CleanResult cleaned = RunCleanUp(plan, ops);
        EXPECT_EQ(cleaned.deleted, c.deleted);
        for (const char* name : {"200212.sch", "200301.sch", "20021130.mem"})
            EXPECT_EQ(data.exists(name), c.left && std::string(name) == c.left) << name;
        const std::string message = CleanFailureMessage(cleaned);
        if (!c.left) {
            EXPECT_EQ(message, "");
            continue;
        }
        ASSERT_EQ(cleaned.failures.size(), 1u);
        EXPECT_EQ(cleaned.failures[0].path, data.file(c.left));
        EXPECT_NE(message.find(data.file(c.left)), std::string::npos) << message;
        EXPECT_NE(message.find(files::systemErrorText(EACCES)), std::string::npos) << message;
    }
}

TEST(CleanUp, AFileAlreadyGoneIsNeitherDeletedNorAFailure)
{
    TempFolder data;
    data.write("200301.sch", "x");
    CleanPlan plan;
    plan.schedules = {data.file("200212.sch"), data.file("200301.sch")};
    const CleanResult cleaned = RunCleanUp(plan);
    EXPECT_EQ(cleaned.deleted, 1);
    EXPECT_TRUE(cleaned.ok());
    EXPECT_FALSE(data.exists("200301.sch"));
}
