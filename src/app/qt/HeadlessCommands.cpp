#include "app/qt/HeadlessCommands.h"

#include "app/DumpMonth.h"
#include "calendar/LunarCommand.h"
#include "exchange/CsvCommands.h"
#include "exchange/IcalCommands.h"
#include "lists/SearchCommand.h"
#include "print/qt/PrintPdfCommand.h"

namespace kal::qt {

// One line per subsystem's command.
std::vector<HeadlessCommand> headlessCommands()
{
    return {
        dumpMonthCommand(), exportCsvCommand(), importCsvCommand(), printPdfCommand(),
        searchCommand(),    exportIcsCommand(), importIcsCommand(), lunarCommand(),
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
    for (const HeadlessCommand& command : headlessCommands())
        if (command.option == option)
            return command.run(context, arguments);
    context.err << "kalendra: 不明なコマンドです: " << option << "\n";
    return kExitUsage;
}

} // namespace kal::qt
