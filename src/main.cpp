// kalendra [/2] [--home DIR] [--help | COMMAND ARGUMENTS...]
// The program links the core alone, so that the headless commands start quickly; the window and
// the commands that need Qt or libical run in modules it loads for them.
#include "commands/CommandModules.h"
#include "commands/HeadlessCommands.h"
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
    const kal::CommandLine commandLine = kal::readCommandLine(argc, argv, commands);
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

    if (commandLine.command.empty())
        return kal::startWindow(argc, argv, programFolder, commandLine.skipInstanceGuard, std::cerr);
    if (const kal::CommandModule* module = kal::moduleOf(commands, commandLine.command))
        return kal::enterModule(*module, argc, argv, programFolder, std::cerr);
    return kal::runCommand(commands, commandLine, programFolder);
}
