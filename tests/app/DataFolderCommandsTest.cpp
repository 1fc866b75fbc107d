// The headless commands in a data folder that others write too: two imports at once, readers
// after a writer was killed, files that exist but cannot be read, and a PDF that never replaces a
// file unless told to.
#include "platform/FileTransaction.h"
#include "platform/IntentRecord.h"
#include "platform/SystemError.h"
#include "support/RunProgram.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kal;
using namespace kal::test;

namespace {

ProgramRun kalendra(const TempFolder& home, const std::string& arguments)
{
    return runProgram(std::string(KALENDRA_BINARY) + " --home " + home.path() + " " + arguments + " 2>&1");
}

// `count` schedules titled "<batch>-<n>" over the twelve months of 2026.
std::string batchCsv(const std::string& batch, int count)
{
    std::string csv;
    for (int n = 0; n < count; ++n)
        csv += "2026/" + std::to_string(1 + n % 12) + "/" + std::to_string(1 + n % 28) + ",,," + batch + "-" +
               std::to_string(n) + ",,\r\n";
    return csv;
}

int countTitled(const TempFolder& home, const std::string& prefix)
{
    int count = 0;
    for (int month = 1; month <= 12; ++month)
        for (const std::string& line : files::loadLines(MonthFilePath(home.path(), 2026, month)))
            count += RecTitle(line).rfind(prefix, 0) == 0;
    return count;
}

} // namespace

TEST(DataFolderCommands, TwoImportsAtOnceBothLandWhole)
{
    TempFolder home;
    home.write("a.csv", batchCsv("A", 5000));
    home.write("b.csv", batchCsv("B", 5000));
    const std::string import = std::string(KALENDRA_BINARY) + " --home " + home.path() + " --import-csv ";
    const ProgramRun both = runProgram("(" + import + home.file("a.csv") + " >/dev/null 2>&1; echo A$?) & (" + import +
                                       home.file("b.csv") + " >/dev/null 2>&1; echo B$?) & wait");
    EXPECT_NE(both.output.find("A0"), std::string::npos) << both.output;
    EXPECT_NE(both.output.find("B0"), std::string::npos) << both.output;
    EXPECT_EQ(countTitled(home, "A-"), 5000);
    EXPECT_EQ(countTitled(home, "B-"), 5000);
}

TEST(DataFolderCommands, ReadersFinishAChangeAKilledWriterLeftHalfMade)
{
    const std::string mayBefore = crlf({scheduleLine(1, "", "old")}), mayAfter = crlf({scheduleLine(1, "", "new")});
    const std::string juneAfter = crlf({scheduleLine(2, "", "moved")});
    const char* const readers[] = {"--search new --from 2026/05/01 --to 2026/06/30", "--dump-month 2026 5"};
    for (const char* reader : readers) {
        SCOPED_TRACE(reader);
        TempFolder home;
        // Killed after June went into place, before May did.
        home.write("202605.sch", mayBefore);
        home.write("202606.sch", juneAfter);
        const files::IntentRecord record{
            files::IntentDirection::Apply,
            {{"202606.sch", std::nullopt, juneAfter}, {"202605.sch", mayBefore, mayAfter}}};
        home.write(".kalendra-intent-00000000000000000001-1", files::EncodeIntent(record));
        const ProgramRun run = kalendra(home, reader);
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_NE(run.output.find("new"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("old"), std::string::npos) << run.output;
        EXPECT_EQ(home.read("202605.sch"), mayAfter);
        EXPECT_FALSE(home.exists(".kalendra-intent-00000000000000000001-1"));
    }
}

TEST(DataFolderCommands, AMonthThatCannotBeReadIsAnErrorNeverAnEmptyMonth)
{
    struct Kind {
        const char* what;
        std::function<void(const TempFolder&)> make;
        std::string reason;
    };
    const Kind kinds[] = {
        {"FIFO", [](const TempFolder& home) { ::mkfifo(home.file("202605.sch").c_str(), 0644); },
         files::systemErrorText(files::kNotRegularFile)},
        {"folder", [](const TempFolder& home) { ::mkdir(home.file("202605.sch").c_str(), 0755); },
         files::systemErrorText(EISDIR)},
        {"link loop", [](const TempFolder& home) { ::symlink("202605.sch", home.file("202605.sch").c_str()); },
         files::systemErrorText(ELOOP)},
        {"over the limit",
         [](const TempFolder& home) { home.write("202605.sch", std::string(files::kMaxDataFileBytes + 1, '0')); },
         files::fileTooLargeText(files::kMaxDataFileBytes)},
    };
    const char* const commands[] = {"--dump-month 2026 5", "--search x --from 2026/05/01 --to 2026/05/31",
                                    "--print-pdf 2026 5 OUT", "--export-csv 2026 5 OUT"};
    for (const Kind& kind : kinds) {
        for (const std::string command : commands) {
            SCOPED_TRACE(std::string(kind.what) + ": " + command);
            TempFolder home;
            kind.make(home);
            const std::string out = home.file("out");
            const ProgramRun run =
                kalendra(home, command.substr(0, command.find("OUT")) + (command.ends_with("OUT") ? out : ""));
            EXPECT_EQ(run.exitCode, 1) << run.output;
            EXPECT_NE(run.output.find(home.file("202605.sch")), std::string::npos) << run.output;
            EXPECT_NE(run.output.find(kind.reason), std::string::npos) << run.output;
            EXPECT_FALSE(files::anythingAt(out)) << "nothing is written from a month not read whole";
        }
    }
}

TEST(DataFolderCommands, PrintPdfKeepsAnExistingFileUnlessForced)
{
    TempFolder home;
    home.write("kept.pdf", "mine");
    ASSERT_EQ(::mkfifo(home.file("pipe.pdf").c_str(), 0644), 0);
    for (const char* existing : {"kept.pdf", "pipe.pdf"}) {
        SCOPED_TRACE(existing);
        const ProgramRun kept = kalendra(home, "--print-pdf 2026 5 " + home.file(existing));
        EXPECT_EQ(kept.exitCode, 1);
        EXPECT_NE(kept.output.find("上書きしません"), std::string::npos) << kept.output;
    }
    EXPECT_EQ(home.read("kept.pdf"), "mine");

    EXPECT_EQ(kalendra(home, "--print-pdf 2026 5 " + home.file("kept.pdf") + " --force").exitCode, 0);
    EXPECT_EQ(home.read("kept.pdf").substr(0, 5), "%PDF-");
    const ProgramRun pipe = kalendra(home, "--print-pdf --force 2026 5 " + home.file("pipe.pdf"));
    EXPECT_EQ(pipe.exitCode, 1) << "a FIFO is never written into, forced or not";
    struct stat st { };
    EXPECT_TRUE(::stat(home.file("pipe.pdf").c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
}
