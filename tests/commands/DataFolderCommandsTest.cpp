// The headless commands in a data folder: a reader after a writer was killed, a month that cannot
// be read, and a PDF that replaces a file only when told. (Two imports at once: TForm1DataFilesTest.)
#include "platform/IntentRecord.h"
#include "platform/SystemError.h"
#include "support/RunProgram.h"
#include "support/ScheduleLines.h"

#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>

using namespace kal;
using namespace kal::test;

TEST(DataFolderCommands, AReaderFinishesTheChangeAKilledWriterLeftHalfMade)
{
    TempFolder home;
    const std::string oldMay = crlf({scheduleLine(1, "", "old")}), june = crlf({scheduleLine(2, "", "moved")});
    home.write("202605.sch", oldMay);
    home.write("202606.sch", june);
    home.write(".kalendra-intent-00000000000000000001-1",
               files::EncodeIntent(
                   {files::IntentDirection::Apply,
                    {{"202606.sch", std::nullopt, june}, {"202605.sch", oldMay, crlf({scheduleLine(1, "", "new")})}}}));
    EXPECT_EQ(runKalendra(home.path(), "--search \"\" --from 2026/05/01 --to 2026/05/31").output,
              "2026/05/01\t\t\tnew\t\t\n");
}

TEST(DataFolderCommands, AMonthThatCannotBeReadIsAnErrorAndAnExistingPdfIsKept)
{
    for (const char* command : {"--dump-month 2026 5", "--search x --from 2026/05/01", "--print-pdf 2026 5 OUT"}) {
        TempFolder home;
        ASSERT_EQ(::mkfifo(home.file("202605.sch").c_str(), 0644), 0);
        const ProgramRun run =
            runKalendra(home.path(), std::regex_replace(command, std::regex("OUT"), home.file("out.pdf")));
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_NE(run.output.find(home.file("202605.sch") + ": " + files::systemErrorText(files::kNotRegularFile)),
                  std::string::npos)
            << run.output;
        EXPECT_FALSE(home.exists("out.pdf"));
    }
    TempFolder home;
    home.write("kept.pdf", "mine");
    ASSERT_EQ(::mkfifo(home.file("pipe.pdf").c_str(), 0644), 0);
    for (const char* existing : {"kept.pdf", "pipe.pdf", "pipe.pdf --force"})
        EXPECT_EQ(runKalendra(home.path(), "--print-pdf 2026 5 " + home.path() + existing).exitCode, 1) << existing;
    EXPECT_EQ(home.read("kept.pdf"), "mine");
    EXPECT_EQ(runKalendra(home.path(), "--print-pdf --force 2026 5 " + home.file("kept.pdf")).exitCode, 0);
    EXPECT_TRUE(home.read("kept.pdf").starts_with("%PDF-"));
}
