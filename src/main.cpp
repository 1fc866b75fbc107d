// kalendra [/2] [--home DIR] [--help | COMMAND ARGUMENTS...]
// The program itself links no Qt: the headless commands start with only the core; the window
// and --print-pdf run in the window module.
#include "commands/CommandLine.h"
#include "commands/HeadlessCommands.h"
#include "commands/WindowModule.h"
#include "platform/Files.h"

#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace {

std::optional<std::string> environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string executableFolder()
{
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    buffer[n] = '\0';
    return kal::files::folderOf(buffer);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<kal::HeadlessCommand> commands = kal::headlessCommands();
    std::vector<std::string> arguments(argv + 1, argv + argc);
    kal::CommandLine commandLine = kal::parseCommandLine(arguments, kal::commandOptions(commands));
    if (!commandLine.error.empty()) {
        std::cerr << "kalendra: " << commandLine.error << "\n"
                  << "使い方: kalendra [/2] [--home フォルダ] [--help | コマンド 引数...]\n";
        return kal::kExitUsage;
    }
    if (commandLine.help) {
        kal::printHelp(std::cout, commands);
        return kal::kExitOk;
    }

    kal::ProgramFolderInputs inputs{commandLine.home, environment("KALENDRA_HOME"), executableFolder(),
                                    environment("XDG_DATA_HOME"), environment("HOME")};
    const std::string programFolder = kal::chooseProgramFolder(inputs);

    if (commandLine.command.empty() || kal::runsInWindowModule(commands, commandLine.command))
        return kal::enterWindowModule(argc, argv, programFolder, std::cerr);
    kal::HeadlessContext context{programFolder, kal::localToday(), std::cout, std::cerr};
    return kal::runHeadlessCommand(commands, commandLine.command, context, commandLine.commandArguments);
}
