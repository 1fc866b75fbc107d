// kalendra --search: the output lines, their order and the exit codes.
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include "platform/Files.h"
#include "schedule/ScheduleRecord.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::crlf;
using kal::test::runProgram;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

struct SearchCommandFixture : ::testing::Test {
    TempFolder home;

    void SetUp() override
    {
        home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n");
        ScheduleFields f;
        f.day = 2;
        f.start = "09:00";
        f.end = "10:00";
        f.category = "Work";
        f.title = sj("定例会議");
        f.place = sj("本社 3F") + "   ";
        home.write("202404.sch", crlf({ComposeSchedule(f)}));
        ScheduleFields g;
        g.day = 31;
        g.title = sj("会議の準備");
        home.write("202403.sch", crlf({ComposeSchedule(g)}));
        home.write("20240305.mem", crlf({sj("会議"), "\tnotes"}));
    }

    kal::test::ProgramRun search(const std::string& arguments) const
    {
        return kal::test::runKalendra(home.path(), "--search " + arguments);
    }
};

} // namespace

TEST_F(SearchCommandFixture, SchedulesOnePerLineInDateOrder)
{
    const auto run = search("会議");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "2024/03/31\t\t\t会議の準備\t\t\n"
                          "2024/04/02\t09:00\t10:00\t定例会議\t本社 3F\tWork\n");
}

TEST_F(SearchCommandFixture, CriteriaNarrowTheHits)
{
    EXPECT_EQ(search("会議 --category Wo").output, "2024/04/02\t09:00\t10:00\t定例会議\t本社 3F\tWork\n");
    EXPECT_EQ(search("\"\" --from 2024/03/31 --to 2024/03/31").output, "2024/03/31\t\t\t会議の準備\t\t\n");
    EXPECT_EQ(search("--memos 会議").output, "2024/03/05\t会議 notes\n")
        << "lines joined without separator as the list window shows them, a tab inside shown as a blank";
}

TEST_F(SearchCommandFixture, ExitCodes)
{
    struct Case {
        const char* arguments;
        int exitCode;
    };
    const Case cases[] = {
        {"nothing-like-this", 1},
        {"work --case", 1},
        {"", 2},
        {"\"\"", 2},
        {"x --from 2024/02/30", 2},
        {"x --from 2024/04/02 --to 2024/04/01", 2},
        {"x --memos --category Work", 2},
        {"x y", 2},
        {"x --unknown", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto run = search(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
        EXPECT_FALSE(run.output.empty()) << "a reason is always given";
    }
    EXPECT_EQ(search("x --home " + home.file("made")).exitCode, 1) << "a missing program folder is made";
    EXPECT_TRUE(files::folderExists(home.file("made")));
}
