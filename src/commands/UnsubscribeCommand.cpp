#include "commands/SubscriptionCommands.h"

#include "settings/AppSettings.h"
#include "settings/Subscriptions.h"
#include "sync/FeedCache.h"

namespace kal {

bool readSubscriptionList(const HeadlessContext& context, SubscriptionsFile& file)
{
    file = readSubscriptions(SettingsPath(context.programFolder));
    if (!file.ok)
        operationFailed(context, terminalText(file.reason));
    return file.ok;
}

HeadlessCommand unsubscribeCommand()
{
    HeadlessCommand command{"--unsubscribe", "--unsubscribe NAME", "購読をやめ、取得した予定表の写しを消します", {}};
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        if (arguments.size() != 1)
            return usageError(context, command, "購読の名前を一つ指定して下さい。");
        SubscriptionsFile file;
        if (!readSubscriptionList(context, file))
            return kExitFailed;
        const Subscription* found = findSubscription(file.list, arguments[0]);
        if (!found)
            return operationFailed(context, "「" + arguments[0] + "」という購読はありません。");
        const std::string url = found->url;
        file.list.erase(file.list.begin() + (found - file.list.data()));
        if (files::IoResult saved = writeSubscriptions(SettingsPath(context.programFolder), file.list); !saved)
            return operationFailed(context, "設定ファイルに書き込めません。" + terminalText(saved.reason));
        if (files::IoResult removed = forgetFeed(context.programFolder, url); !removed)
            return operationFailed(context, "予定表の写しを消せません。" + terminalText(removed.reason));
        context.out << arguments[0] << ": 購読をやめました\n";
        return kExitOk;
    };
    return command;
}

} // namespace kal
