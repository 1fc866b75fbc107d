// One conditional GET of a subscribed calendar over the sync's HTTP layer: at most 32 MiB, 30
// seconds, five redirects and none from https to another scheme; credentials from the keyring or
// ~/.netrc, sent only over https or to this computer.
#pragma once

#include "sync/CalDavError.h"

#include <atomic>
#include <string>

namespace kal::caldav {

inline constexpr std::size_t kMaxFeedBytes = std::size_t{32} << 20;
inline constexpr long kFeedTimeoutMs = 30000;

struct FeedRequest {
    std::string url; // http(s)
    std::string etag;
    std::string lastModified;
};

struct FeedReply {
    DavStatus status;
    bool notModified = false; // 304: the copy kept is current
    std::string body;
    std::string etag;
    std::string lastModified;
};

FeedReply fetchFeed(const FeedRequest& request, const std::atomic<bool>* cancel = nullptr);

} // namespace kal::caldav
