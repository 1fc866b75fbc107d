#include "commands/SyncCommand.h"

#include "settings/AppSettings.h"
#include "sync/SyncEngine.h"

namespace kal {

HeadlessCommand syncCommand()
{
    HeadlessCommand command = syncListing();
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        if (!arguments.empty())
            return usageError(context, command, "--sync は引数を取りません: " + arguments.front());
        AppSettings settings;
        if (int code = readDataSettings(context, settings); code != kExitOk)
            return code;
        const SyncSettingsFile sync = readSyncSettings(SettingsPath(context.programFolder));
        if (!sync.ok)
            return operationFailed(context, sync.reason);
        if (!sync.settings.enabled())
            return operationFailed(context, "同期先が設定されていません（Kalendra.ini の [Sync] の Url）。");
        const caldav::LoadedService service = caldav::loadService();
        if (!service.service)
            return operationFailed(context, service.reason);
        const SyncRequest request{{settings.dataPath, settings.todoPath, context.programFolder},
                                  sync.settings,
                                  context.today,
                                  settings.alarmTime};
        const SyncOutcome outcome = runSync(request, *service.service);
        if (!outcome.ok)
            return operationFailed(context, terminalText(outcome.reason));
        context.out << syncSummary(outcome.counts) << "\n";
        return kExitOk;
    };
    return command;
}

} // namespace kal
