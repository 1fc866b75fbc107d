#include "commands/HeadlessCommands.h"

#include "commands/CsvCommands.h"
#include "commands/DumpMonthCommand.h"
#include "commands/IcalCommands.h"
#include "commands/LunarCommand.h"
#include "commands/PrintPdfCommand.h"
#include "commands/SearchCommand.h"
#include "commands/SubscriptionCommands.h"
#include "commands/SyncCommand.h"

namespace kal {

// The command table: one line per command, in the order --help lists them; a new command is
// registered here and nowhere else (one a module runs, in that module's entry as well).
std::vector<HeadlessCommand> headlessCommands()
{
    return {
        dumpMonthCommand(), exportCsvCommand(), importCsvCommand(),   printPdfListing(),
        searchCommand(),    exportIcsListing(), importIcsListing(),   lunarCommand(),
        syncListing(),      subscribeListing(), unsubscribeCommand(), refreshSubscriptionsListing(),
    };
}

} // namespace kal
