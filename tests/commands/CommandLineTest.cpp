// The command line and the headless command contract: what the parser gives each part, where
// the program folder comes from, and a command's exit codes.
#include "commands/CommandLine.h"
#include "commands/LunarCommand.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

using namespace kal;
using kal::test::TempFolder;

TEST(CommandLine, SecondInstanceHomeAndCommands)
{
    const std::vector<std::string> commands = {"--dump-month", "--search"};
    CommandLine a = parseCommandLine({"/2", "--home", "/tmp/x"}, commands);
    EXPECT_TRUE(a.skipInstanceGuard);
    EXPECT_EQ(a.home, "/tmp/x");
    EXPECT_TRUE(a.command.empty());
    EXPECT_TRUE(parseCommandLine({"--home", "/x", "/2"}, commands).error.size() > 0);

    CommandLine d = parseCommandLine({"--home", "h", "--dump-month", "2026", "05"}, commands);
    EXPECT_EQ(d.command, "--dump-month");
    EXPECT_EQ(d.commandArguments, (std::vector<std::string>{"2026", "05"}));
    EXPECT_TRUE(d.error.empty());

    // Arguments after a command are its own, even when they look like options; --home is not.
    CommandLine s = parseCommandLine({"--search", "--memos", "x", "--home", "/h", "--help"}, commands);
    EXPECT_EQ(s.command, "--search");
    EXPECT_EQ(s.commandArguments, (std::vector<std::string>{"--memos", "x", "--help"}));
    EXPECT_EQ(s.home, "/h");
    EXPECT_FALSE(s.help);

    struct Refused {
        std::vector<std::string> arguments;
    };
    const Refused refused[] = {{{"--home"}}, {{"--home", ""}}, {{"--frobnicate"}}, {{"stray"}}, {{"--dump"}}};
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.arguments.front());
        EXPECT_FALSE(parseCommandLine(r.arguments, commands).error.empty());
    }
    EXPECT_TRUE(parseCommandLine({"--help"}, commands).help);
    // The window system's own options still reach Qt.
    CommandLine qt = parseCommandLine({"-platform", "offscreen", "-reverse"}, commands);
    EXPECT_TRUE(qt.error.empty());
    EXPECT_TRUE(qt.command.empty());
}

TEST(CommandLine, ProgramFolderPrecedence)
{
    TempFolder portable;
    ProgramFolderInputs in;
    in.executableFolder = portable.path();
    in.xdgDataHome = "/xdg";
    in.userHome = "/home/u";
    EXPECT_EQ(chooseProgramFolder(in), "/xdg/kalendra/");
    in.xdgDataHome.reset();
    EXPECT_EQ(chooseProgramFolder(in), "/home/u/.local/share/kalendra/");
    portable.write("Kalendra.ini", "");
    EXPECT_EQ(chooseProgramFolder(in), portable.path());
    in.homeEnvironment = "/env/home";
    EXPECT_EQ(chooseProgramFolder(in), "/env/home/");
    in.homeArgument = "/arg/home";
    EXPECT_EQ(chooseProgramFolder(in), "/arg/home/");
}

TEST(LunarCommand, OneUtf8LineADayAndExitTwoForBadDates)
{
    const auto run = kal::test::runProgram(KALENDRA_BINARY " --lunar 2033/12/21 2033/12/22");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "2033/12/21\t11/30\t仏滅\t冬至\t\n2033/12/22\t閏11/1\t大安\t\t\n");

    for (const char* refused : {"", "2024/2/3", "1899/12/31", "2024/01/01 2100/01/01", "2024/02/30",
                                "2024/02/03 2024/02/02", "2024/01/01 2024/01/02 2024/01/03"}) {
        std::istringstream words(refused);
        const std::vector<std::string> arguments{std::istream_iterator<std::string>(words), {}};
        std::ostringstream out, err;
        EXPECT_EQ(lunarCommand().run(HeadlessContext{"/none/", {2026, 1, 1}, out, err}, arguments), kExitUsage);
        EXPECT_NE(err.str().find("使い方: kalendra [--home フォルダ] --lunar FROM [TO]"), std::string::npos);
        EXPECT_EQ(out.str(), "");
    }
}
