// The subscribed calendars for the commands that show schedules (--dump-month, --search): read by
// the iCalendar module, which is loaded only when the settings name a subscription.
#pragma once

#include "schedule/ExtraSchedules.h"

#include <memory>
#include <string>

namespace kal {

struct SubscribedSchedules {
    std::unique_ptr<ExtraSchedules> schedules; // none without subscriptions
    std::string reason;                        // UTF-8, why they could not be read
};
SubscribedSchedules loadSubscribedSchedules(const std::string& programFolder);

} // namespace kal
