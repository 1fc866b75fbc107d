// The iCalendar module's entry: the commands that need libical (and with it ICU).
#include "commands/CommandModules.h"
#include "commands/IcalCommands.h"
#include "commands/SubscriptionCommands.h"
#include "commands/SyncCommand.h"
#include "sync/FeedSchedules.h"

extern "C" __attribute__((visibility("default"))) int kalendra_ical_main(int argc, char** argv,
                                                                         const char* programFolder)
{
    static_assert(std::is_same_v<decltype(&kalendra_ical_main), kal::ModuleEntry>);
    const std::vector<kal::HeadlessCommand> commands{kal::exportIcsCommand(), kal::importIcsCommand(),
                                                     kal::syncCommand(), kal::subscribeCommand(),
                                                     kal::refreshSubscriptionsCommand()};
    return kal::runCommand(commands, kal::readCommandLine(argc, argv, commands), programFolder);
}

extern "C" __attribute__((visibility("default"))) kal::ExtraSchedules*
kalendra_feed_schedules(const char* programFolder)
{
    static_assert(std::is_same_v<decltype(&kalendra_feed_schedules), kal::FeedSchedulesEntry>);
    return kal::loadFeedSchedules(programFolder).release();
}
