// Subscribed calendars for scripts:
//   kalendra --home DIR --subscribe NAME URL     (fetches once; adds nothing when that fails)
//   kalendra --home DIR --unsubscribe NAME
//   kalendra --home DIR --refresh-subscriptions  (one line a calendar; exit 1 if any failed)
#pragma once

#include "commands/CommandModules.h"
#include "commands/HeadlessCommand.h"

namespace kal {

// Fetching and checking a calendar needs HTTP and libical, so the iCalendar module runs those two.
inline HeadlessCommand subscribeListing()
{
    return {"--subscribe",
            "--subscribe NAME URL",
            "URL（https://、webcal://、http:// かファイル）の予定表を取得できたら購読に加えます",
            {},
            &kIcalModule};
}
inline HeadlessCommand refreshSubscriptionsListing()
{
    return {"--refresh-subscriptions",
            "--refresh-subscriptions",
            "購読している予定表をすべて取得し直し、一つずつ結果を表示します",
            {},
            &kIcalModule};
}
HeadlessCommand unsubscribeCommand();

struct SubscriptionsFile;
// The list of the settings file; false, with the reason printed, when it cannot be read.
bool readSubscriptionList(const HeadlessContext& context, SubscriptionsFile& file);

// The commands, for the iCalendar module.
HeadlessCommand subscribeCommand();
HeadlessCommand refreshSubscriptionsCommand();

} // namespace kal
