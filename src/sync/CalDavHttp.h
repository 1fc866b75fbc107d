// One connection's worth of HTTP for the CalDAV client, over libcurl: TLS always verified,
// replies capped in size, stalls and dead servers timed out, redirects followed only on the same
// server, and every failure turned into a DavError. Not shared between threads; each worker
// makes its own.
#pragma once

#include "sync/CalDavError.h"
#include "sync/CalDavUrl.h"

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

typedef void CURL;

namespace kal::caldav {

struct Credentials {
    std::string user;
    std::optional<std::string> password; // without it the netrc file is asked
    std::string netrcFile;               // empty: none; checked with checkNetrcFile first
};

struct TransferLimits {
    std::size_t maxReplyBytes = std::size_t{32} << 20;
    long connectTimeoutMs = 15000;
    long stallSeconds = 60; // less than a byte a second for this long ends the transfer
    long totalTimeoutMs = 600000;
    int maxRedirects = 5;
};

struct HttpRequest {
    std::string method;
    std::string url;
    std::vector<std::string> headers; // "Depth: 1"
    std::string body;
    // Feed: redirects may lead to other servers (without the credentials), never from https to
    // another scheme.
    UrlRole role = UrlRole::Item;
};

struct HttpReply {
    DavStatus status; // the transfer's failure, else what the HTTP status means
    std::string body;
    std::string etag; // the ETag header, quotes included
    std::string url;  // where the reply came from, after redirects
    std::string lastModified;
};

class HttpSession {
public:
    HttpSession(Credentials credentials, TransferLimits limits, const std::atomic<bool>* cancel = nullptr);
    ~HttpSession();
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    HttpReply send(const HttpRequest& request);

private:
    HttpReply sendOnce(const HttpRequest& request, const std::string& url, std::string& location);

    Credentials credentials_;
    TransferLimits limits_;
    const std::atomic<bool>* cancel_;
    CURL* curl_;
};

} // namespace kal::caldav
