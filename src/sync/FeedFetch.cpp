#include "sync/FeedFetch.h"

#include "sync/CalDavHttp.h"
#include "sync/CalDavPassword.h"
#include "sync/CalDavUrl.h"

namespace kal::caldav {

namespace {

Credentials feedCredentials(const std::string& url)
{
    if (!isHttpsUrl(url) && !isLoopbackUrl(url))
        return {};
    CredentialsLookup lookup = lookupCredentials(url, "");
    return lookup.status.ok() ? std::move(lookup.credentials) : Credentials{};
}

} // namespace

FeedReply fetchFeed(const FeedRequest& request, const std::atomic<bool>* cancel)
{
    TransferLimits limits;
    limits.maxReplyBytes = kMaxFeedBytes;
    limits.totalTimeoutMs = kFeedTimeoutMs;
    limits.connectTimeoutMs = kFeedTimeoutMs / 2;
    limits.stallSeconds = kFeedTimeoutMs / 1000;
    HttpSession session(feedCredentials(request.url), limits, cancel);
    HttpRequest get{"GET", request.url, {"Accept: text/calendar, */*;q=0.5"}, {}, UrlRole::Feed};
    if (!request.etag.empty())
        get.headers.push_back("If-None-Match: " + request.etag);
    if (!request.lastModified.empty())
        get.headers.push_back("If-Modified-Since: " + request.lastModified);
    HttpReply reply = session.send(get);
    FeedReply out;
    out.notModified = reply.status.httpStatus == 304;
    out.status = out.notModified ? DavStatus{DavError::None, 304, {}} : reply.status;
    out.body = std::move(reply.body);
    out.etag = std::move(reply.etag);
    out.lastModified = std::move(reply.lastModified);
    return out;
}

} // namespace kal::caldav
