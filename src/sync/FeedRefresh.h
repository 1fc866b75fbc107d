// Refreshing a subscribed calendar: where its URL points (webcal:// is https://, a path or file://
// a local file), one conditional fetch, the text checked to be iCalendar before it replaces the
// copy, and the outcome as one line. A failure keeps the copy and notes when the last refresh
// succeeded.
#pragma once

#include "platform/Date.h"
#include "settings/Subscriptions.h"
#include "sync/FeedFetch.h"

#include <functional>
#include <string>

namespace kal {

struct FeedLocation {
    std::string url;     // http(s), for the fetch
    std::string path;    // a local file instead
    std::string problem; // UTF-8, why the text names neither
};
FeedLocation feedLocation(const std::string& entered);

enum class FeedOutcome { New, Updated, Unchanged, Failed };

struct FeedRefresh {
    FeedOutcome outcome = FeedOutcome::Failed;
    std::string reason; // UTF-8, for Failed: why, and when the last refresh succeeded
    int events = 0;     // in the copy kept
};

using FeedFetcher = std::function<caldav::FeedReply(const caldav::FeedRequest&)>;
// Fetches through the CalDAV module, loaded at the first feed that needs it.
FeedFetcher moduleFeedFetcher(const std::atomic<bool>* cancel = nullptr);

// Fetches the feed of `subscription` into the copy under `programFolder`; `now` is the local time.
FeedRefresh refreshFeed(const Subscription& subscription, const std::string& programFolder, const FeedFetcher& fetch,
                        const DateTime& now);

// "名前: 更新しました（12件）" and the like, UTF-8.
std::string feedRefreshLine(const std::string& name, const FeedRefresh& refresh);

} // namespace kal
