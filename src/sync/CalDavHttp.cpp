#include "sync/CalDavHttp.h"

#include "sync/CalDavUrl.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace kal::caldav {

namespace {

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Transfer {
    std::string* body;
    std::size_t maxBytes;
    bool tooLarge = false;
    const std::atomic<bool>* cancel;
};

std::size_t collect(char* data, std::size_t size, std::size_t count, void* context)
{
    auto* transfer = static_cast<Transfer*>(context);
    const std::size_t bytes = size * count;
    if (transfer->body->size() + bytes > transfer->maxBytes) {
        transfer->tooLarge = true;
        return 0;
    }
    transfer->body->append(data, bytes);
    return bytes;
}

int checkCancel(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* transfer = static_cast<const Transfer*>(context);
    return transfer->cancel && transfer->cancel->load() ? 1 : 0;
}

struct ListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

std::unique_ptr<curl_slist, ListFree> headerList(const HttpRequest& request)
{
    curl_slist* list = nullptr;
    // A server that ignores 100-continue would cost a second per body.
    list = curl_slist_append(list, "Expect:");
    for (const std::string& header : request.headers)
        list = curl_slist_append(list, header.c_str());
    return std::unique_ptr<curl_slist, ListFree>(list);
}

DavError errorOfCurl(CURLcode code)
{
    switch (code) {
    case CURLE_ABORTED_BY_CALLBACK:
        return DavError::Cancelled;
    case CURLE_FILESIZE_EXCEEDED:
        return DavError::TooLarge;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return DavError::HostNotFound;
    case CURLE_COULDNT_CONNECT:
        return DavError::ServerDown;
    case CURLE_OPERATION_TIMEDOUT:
        return DavError::Timeout;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_USE_SSL_FAILED:
        return DavError::Tls;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        return DavError::ConnectionCut;
    case CURLE_URL_MALFORMAT:
        return DavError::BadUrl;
    default:
        return DavError::BadReply;
    }
}

bool redirectAllowed(UrlRole role, const std::string& from, const std::string& to)
{
    if (role == UrlRole::Feed)
        return !isHttpsUrl(from) || isHttpsUrl(to);
    return sameServer(from, to);
}

bool isRedirect(long status)
{
    return status == 301 || status == 302 || status == 307 || status == 308;
}

void setCredentials(CURL* curl, const std::string& url, const Credentials& credentials)
{
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
    if (credentials.password) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, credentials.user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, credentials.password->c_str());
    } else if (!credentials.netrcFile.empty()) {
        curl_easy_setopt(curl, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
        curl_easy_setopt(curl, CURLOPT_NETRC_FILE, credentials.netrcFile.c_str());
        if (!credentials.user.empty())
            curl_easy_setopt(curl, CURLOPT_URL, urlWithUser(url, credentials.user).c_str());
    }
}

void setLimits(CURL* curl, const TransferLimits& limits)
{
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, limits.stallSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxReplyBytes));
}

// Options are set afresh for each request; the reset keeps the open connection.
void setRequest(CURL* curl, const HttpRequest& request, const std::string& url, curl_slist* headers)
{
    curl_easy_reset(curl);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Kalendra");
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    // A server on this computer is never reached through a proxy from the environment.
    if (isLoopbackUrl(url))
        curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
    if (!request.body.empty() || request.method == "PUT") {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }
}

std::string header(CURL* curl, const char* name)
{
    curl_header* found = nullptr;
    if (curl_easy_header(curl, name, 0, CURLH_HEADER, -1, &found) != CURLHE_OK || !found || !found->value)
        return {};
    return found->value;
}

} // namespace

HttpSession::HttpSession(Credentials credentials, TransferLimits limits, const std::atomic<bool>* cancel)
    : credentials_(std::move(credentials)), limits_(limits), cancel_(cancel),
      curl_((initialiseOnce(), curl_easy_init()))
{
}

HttpSession::~HttpSession()
{
    curl_easy_cleanup(curl_);
}

HttpReply HttpSession::send(const HttpRequest& request)
{
    const UrlRole role = request.role == UrlRole::Feed ? UrlRole::Feed : UrlRole::Item;
    const CheckedUrl first = checkServerUrl(request.url, role);
    if (!first.status.ok())
        return {first.status, {}, {}, request.url, {}};
    std::string url = first.url;
    for (int hop = 0;; ++hop) {
        std::string location;
        HttpReply reply = sendOnce(request, url, location);
        if (location.empty())
            return reply;
        const CheckedUrl next = checkServerUrl(location, role);
        if (!next.status.ok())
            return {next.status, {}, {}, url, {}};
        if (hop == limits_.maxRedirects || !redirectAllowed(role, url, next.url))
            return {davFailure(DavError::Redirect, reply.status.httpStatus), {}, {}, url, {}};
        // Another server never sees the credentials meant for the first.
        if (!sameServer(url, next.url))
            credentials_ = Credentials{};
        url = next.url;
    }
}

HttpReply HttpSession::sendOnce(const HttpRequest& request, const std::string& url, std::string& location)
{
    HttpReply reply;
    reply.url = url;
    if (!curl_)
        return {davFailure(DavError::BadReply), {}, {}, url, {}};
    Transfer transfer{&reply.body, limits_.maxReplyBytes, false, cancel_};
    const auto headers = headerList(request);
    setRequest(curl_, request, url, headers.get());
    setCredentials(curl_, url, credentials_);
    setLimits(curl_, limits_);
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl_, CURLOPT_XFERINFOFUNCTION, checkCancel);
    curl_easy_setopt(curl_, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(curl_, CURLOPT_NOPROGRESS, 0L);
    const CURLcode code = curl_easy_perform(curl_);
    if (code != CURLE_OK) {
        reply.status = davFailure(transfer.tooLarge ? DavError::TooLarge : errorOfCurl(code));
        reply.body.clear();
        return reply;
    }
    long status = 0;
    curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &status);
    reply.status = davStatusOfHttp(static_cast<int>(status));
    reply.etag = header(curl_, "ETag");
    reply.lastModified = header(curl_, "Last-Modified");
    // Resolved against the URL without a user name, which the next check would refuse.
    if (isRedirect(status))
        location = resolveUrl(url, header(curl_, "Location"));
    return reply;
}

} // namespace kal::caldav
