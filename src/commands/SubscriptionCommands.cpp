#include "commands/SubscriptionCommands.h"

#include "settings/AppSettings.h"
#include "settings/Subscriptions.h"
#include "sync/FeedCache.h"
#include "sync/FeedRefresh.h"

#include <algorithm>

namespace kal {
namespace {

int subscribe(const HeadlessContext& context, const std::string& name, const std::string& url)
{
    SubscriptionsFile file;
    if (!readSubscriptionList(context, file))
        return kExitFailed;
    if (const std::string problem = subscriptionNameProblem(name, file.list); !problem.empty())
        return operationFailed(context, problem);
    if (std::any_of(file.list.begin(), file.list.end(), [&](const Subscription& s) { return s.url == url; }))
        return operationFailed(context, "この URL はすでに購読しています。");
    Subscription subscription;
    subscription.name = name;
    subscription.url = url;
    const FeedRefresh fetched = refreshFeed(subscription, context.programFolder, moduleFeedFetcher(), localNow());
    if (fetched.outcome == FeedOutcome::Failed) {
        forgetFeed(context.programFolder, url);
        return operationFailed(context, terminalText(fetched.reason));
    }
    file.list.push_back(subscription);
    if (files::IoResult saved = writeSubscriptions(SettingsPath(context.programFolder), file.list); !saved) {
        forgetFeed(context.programFolder, url);
        return operationFailed(context, "設定ファイルに書き込めません。" + terminalText(saved.reason));
    }
    context.out << name << ": 購読を追加しました（" << fetched.events << "件）\n";
    return kExitOk;
}

} // namespace

HeadlessCommand subscribeCommand()
{
    HeadlessCommand command = subscribeListing();
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        if (arguments.size() != 2)
            return usageError(context, command, "購読の名前と URL を指定して下さい。");
        return subscribe(context, arguments[0], arguments[1]);
    };
    return command;
}

HeadlessCommand refreshSubscriptionsCommand()
{
    HeadlessCommand command = refreshSubscriptionsListing();
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        if (!arguments.empty())
            return usageError(context, command, "--refresh-subscriptions は引数を取りません: " + arguments.front());
        SubscriptionsFile file;
        if (!readSubscriptionList(context, file))
            return kExitFailed;
        if (file.list.empty())
            return operationFailed(context, "購読している予定表はありません。");
        bool allDone = true;
        const FeedFetcher fetch = moduleFeedFetcher();
        for (const Subscription& subscription : file.list) {
            const FeedRefresh refresh = refreshFeed(subscription, context.programFolder, fetch, localNow());
            allDone = allDone && refresh.outcome != FeedOutcome::Failed;
            context.out << terminalText(feedRefreshLine(subscription.name, refresh)) << "\n";
        }
        return allDone ? kExitOk : kExitFailed;
    };
    return command;
}

} // namespace kal
