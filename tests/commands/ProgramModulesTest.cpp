// The program without its modules beside it: the commands of the core still run; the window and
// the commands a module runs end with exit code 1 and one message naming what is missing.
#include "commands/CommandModules.h"
#include "platform/Files.h"
#include "platform/Modules.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kal;
using kal::test::TempFolder;

TEST(ProgramModules, CoreCommandsRunAloneAndTheOthersNameTheMissingModule)
{
    for (const CommandModule* module : {&kWindowModule, &kIcalModule})
        if (files::fileExists(files::withSeparator(moduleFolders().back()) + module->fileName))
            GTEST_SKIP() << "a module is installed where the program would find it";
    TempFolder alone, home;
    std::filesystem::copy_file(KALENDRA_BINARY, alone.file("kalendra"));
    home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n");
    home.write("202612.sch", "2409:00     Work          0000Alone\r\n");
    const std::string window = "kalendra: ウィンドウの機能を読み込めません。\n"
                               "モジュール「libkalendra_window.so」が見つかりません。\n";
    const std::string ical = "kalendra: iCalendar の機能を読み込めません。\n"
                             "モジュール「libkalendra_ical.so」が見つかりません。\n";
    struct Case {
        std::string arguments;
        int exitCode;
        std::string printed; // the whole output, or a part of it when `whole` is false
        bool whole;
    };
    const Case cases[] = {
        {"--help", 0, "--print-pdf YYYY MM FILE [--force]", false},
        {"--search zzz", 1, "kalendra: 該当するデータはありません。\n", true},
        {"--dump-month 2026 12", 0, "Alone", false},
        {"", 1, window, true},
        {"--print-pdf 2026 12 " + home.file("month.pdf"), 1, window, true},
        {"--export-ics 2026/12/01 2026/12/31 " + home.file("month.ics"), 1, ical, true},
        {"--import-ics " + home.file("none.ics"), 1, ical, true},
        {"--sync", 1, ical, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const auto run = kal::test::runProgram(alone.file("kalendra") + " --home " + home.path() + " " + c.arguments +
                                               " 2>&1 </dev/null");
        EXPECT_EQ(run.exitCode, c.exitCode);
        if (c.whole)
            EXPECT_EQ(run.output, c.printed);
        else
            EXPECT_NE(run.output.find(c.printed), std::string::npos) << run.output;
    }
    EXPECT_FALSE(home.exists("month.pdf"));
    EXPECT_FALSE(home.exists("month.ics"));
}
