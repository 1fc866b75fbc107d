#include "commands/SubscribedSchedules.h"

#include "commands/CommandModules.h"
#include "platform/Modules.h"
#include "settings/AppSettings.h"
#include "settings/Subscriptions.h"

namespace kal {

SubscribedSchedules loadSubscribedSchedules(const std::string& programFolder)
{
    const SubscriptionsFile file = readSubscriptions(SettingsPath(programFolder));
    if (!file.ok)
        return {nullptr, file.reason};
    if (file.list.empty())
        return {};
    const ModuleSymbol entry = loadModuleSymbol(moduleFolders(), kIcalModule.fileName, kFeedSchedulesEntry);
    if (!entry.address)
        return {nullptr, "購読している予定表を読み込めません。\r\n" + entry.reason};
    return {std::unique_ptr<ExtraSchedules>(reinterpret_cast<FeedSchedulesEntry>(entry.address)(programFolder.c_str())),
            {}};
}

} // namespace kal
