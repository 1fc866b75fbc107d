#include "commands/qt/HeadlessCommands.h"

#include "commands/CsvCommands.h"
#include "commands/DumpMonthCommand.h"
#include "commands/IcalCommands.h"
#include "commands/LunarCommand.h"
#include "commands/SearchCommand.h"
#include "commands/SyncCommand.h"
#include "commands/qt/PrintPdfCommand.h"
#include "platform/FolderLock.h"

#include <algorithm>

namespace kal::qt {

// The command table: one line per command, in the order --help lists them; a new command is
// registered here and nowhere else.
std::vector<HeadlessCommand> headlessCommands()
{
    return {
        dumpMonthCommand(), exportCsvCommand(), importCsvCommand(), printPdfCommand(), searchCommand(),
        exportIcsCommand(), importIcsCommand(), lunarCommand(),     syncCommand(),
    };
}

std::vector<std::string> headlessCommandOptions()
{
    std::vector<std::string> options;
    for (const HeadlessCommand& command : headlessCommands())
        options.push_back(command.option);
    return options;
}

int runHeadlessCommand(const std::string& option, const HeadlessContext& context,
                       const std::vector<std::string>& arguments)
{
    // A command that waits for another's lock says so once, so a script's user knows why.
    files::LockWaiting waiting;
    const long long seconds = waiting.giveUpAfter.count() / 1000;
    waiting.started = [&context, seconds](const std::string& folder) {
        context.err << "kalendra: " << files::lockWaitingText(folder) << "（最長 " << seconds << " 秒）\n"
                    << std::flush;
    };
    const files::LockWaiting before = files::setLockWaiting(waiting);
    int exitCode = kExitUsage;
    const std::vector<HeadlessCommand> commands = headlessCommands();
    const auto command =
        std::find_if(commands.begin(), commands.end(), [&](const auto& c) { return c.option == option; });
    if (command != commands.end())
        exitCode = command->run(context, arguments);
    else
        context.err << "kalendra: 不明なコマンドです: " << option << "\n";
    files::setLockWaiting(before);
    return exitCode;
}

} // namespace kal::qt
