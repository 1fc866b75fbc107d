#include "commands/HeadlessCommands.h"

#include "commands/CsvCommands.h"
#include "commands/DumpMonthCommand.h"
#include "commands/IcalCommands.h"
#include "commands/LunarCommand.h"
#include "commands/PrintPdfCommand.h"
#include "commands/SearchCommand.h"
#include "commands/SyncCommand.h"
#include "platform/FolderLock.h"

#include <algorithm>

namespace kal {
namespace {

const HeadlessCommand* findCommand(const std::vector<HeadlessCommand>& commands, const std::string& option)
{
    const auto found =
        std::find_if(commands.begin(), commands.end(), [&](const auto& c) { return c.option == option; });
    return found != commands.end() ? &*found : nullptr;
}

} // namespace

// The command table: one line per command, in the order --help lists them; a new command is
// registered here and nowhere else.
std::vector<HeadlessCommand> headlessCommands()
{
    return {
        dumpMonthCommand(), exportCsvCommand(), importCsvCommand(), printPdfCommand(), searchCommand(),
        exportIcsCommand(), importIcsCommand(), lunarCommand(),     syncCommand(),
    };
}

std::vector<std::string> commandOptions(const std::vector<HeadlessCommand>& commands)
{
    std::vector<std::string> options;
    for (const HeadlessCommand& command : commands)
        options.push_back(command.option);
    return options;
}

bool runsInWindowModule(const std::vector<HeadlessCommand>& commands, const std::string& option)
{
    const HeadlessCommand* command = findCommand(commands, option);
    return command && !command->run;
}

int runHeadlessCommand(const std::vector<HeadlessCommand>& commands, const std::string& option,
                       const HeadlessContext& context, const std::vector<std::string>& arguments)
{
    const HeadlessCommand* command = findCommand(commands, option);
    if (!command || !command->run) {
        context.err << "kalendra: 不明なコマンドです: " << option << "\n";
        return kExitUsage;
    }
    // A command that waits for another's lock says so once, so a script's user knows why.
    files::LockWaiting waiting;
    const long long seconds = waiting.giveUpAfter.count() / 1000;
    waiting.started = [&context, seconds](const std::string& folder) {
        context.err << "kalendra: " << files::lockWaitingText(folder) << "（最長 " << seconds << " 秒）\n"
                    << std::flush;
    };
    const files::LockWaiting before = files::setLockWaiting(waiting);
    const int exitCode = command->run(context, arguments);
    files::setLockWaiting(before);
    return exitCode;
}

} // namespace kal
