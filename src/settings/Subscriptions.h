// The subscribed calendars of the settings file: a section of their own in Kalendra.ini with a
// name, a URL (or a local file), a colour, a refresh interval and the holiday mark for each.
// Credentials are never kept here; a feed that needs them finds them where the sync does.
#pragma once

#include "platform/Files.h"
#include "platform/Platform.h"

#include <string>
#include <vector>

namespace kal {

inline constexpr const char* kSubscriptionSection = "Subscriptions";
inline constexpr int kSubscriptionMaxInterval = 10080; // a week, in minutes
inline constexpr std::size_t kSubscriptionMaxNameBytes = 40;

// Texts in UTF-8 (the file holds them in Shift-JIS).
struct Subscription {
    std::string name;
    std::string url;
    ColorValue color = 0x8B4513; // dark blue
    int interval = 360;          // minutes between automatic refreshes; 0: only by hand
    bool holidays = false;       // its all-day events are shown as holidays

    bool operator==(const Subscription&) const = default;
};

struct SubscriptionsFile {
    bool ok = true;
    std::string reason; // UTF-8
    std::vector<Subscription> list;
};

// Reads the section under the folder's lock; entries without a name or URL are left out.
SubscriptionsFile readSubscriptions(const std::string& settingsPath);
// Replaces the section's entries with `list`, every other line of the file (and unknown keys of the
// section) kept, atomically under the folder's lock.
files::IoResult writeSubscriptions(const std::string& settingsPath, const std::vector<Subscription>& list);

// Why `name` cannot name a new subscription beside `list` (empty, too long, a line break, a
// character the file cannot hold, or taken); empty when it can. UTF-8.
std::string subscriptionNameProblem(const std::string& name, const std::vector<Subscription>& list);

// The entry named `name`, or none.
const Subscription* findSubscription(const std::vector<Subscription>& list, const std::string& name);

} // namespace kal
