#include "sync/CalDavUrl.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <memory>
#include <strings.h>

namespace kal::caldav {

namespace {

struct UrlFree {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlFree>;

struct PartFree {
    void operator()(char* part) const { curl_free(part); }
};

std::string part(CURLU* url, CURLUPart which, unsigned flags = 0)
{
    char* raw = nullptr;
    if (curl_url_get(url, which, &raw, flags) != CURLUE_OK || !raw)
        return {};
    std::unique_ptr<char, PartFree> owned(raw);
    return raw;
}

bool hasPart(CURLU* url, CURLUPart which)
{
    return !part(url, which).empty();
}

// Bytes a URL cannot carry raw (controls, spaces, non-ASCII) escaped, so the parser takes
// hrefs that servers write unescaped.
std::string escapeRaw(std::string_view text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text) {
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

UrlHandle parse(const std::string& url)
{
    UrlHandle handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, escapeRaw(url).c_str(), 0) != CURLUE_OK)
        return nullptr;
    return handle;
}

std::string lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string originOf(CURLU* url)
{
    return lower(part(url, CURLUPART_SCHEME)) + "://" + lower(part(url, CURLUPART_HOST)) + ":" +
           part(url, CURLUPART_PORT, CURLU_DEFAULT_PORT);
}

bool isUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

// What a path segment may hold literally (RFC 3986 pchar without the escapes).
bool isSegmentChar(unsigned char c)
{
    static const std::string_view others = "!$&'()*+,;=:@";
    return isUnreserved(c) || others.find(static_cast<char>(c)) != std::string_view::npos;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

void appendEscaped(std::string& out, unsigned char c)
{
    static const char hex[] = "0123456789ABCDEF";
    out += '%';
    out += hex[c >> 4];
    out += hex[c & 15];
}

} // namespace

bool isLoopbackHost(std::string_view host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    const std::string name(host);
    if (strcasecmp(name.c_str(), "localhost") == 0)
        return true;
    in_addr v4{};
    if (inet_pton(AF_INET, name.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    if (inet_pton(AF_INET6, name.c_str(), &v6) == 1)
        return IN6_IS_ADDR_LOOPBACK(&v6) || (IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127);
    return false;
}

bool isHttpsUrl(const std::string& url)
{
    const UrlHandle handle = parse(url);
    return handle && lower(part(handle.get(), CURLUPART_SCHEME)) == "https";
}

bool isLoopbackUrl(const std::string& url)
{
    const UrlHandle handle = parse(url);
    return handle && isLoopbackHost(part(handle.get(), CURLUPART_HOST));
}

CheckedUrl checkServerUrl(const std::string& url, UrlRole role)
{
    CheckedUrl checked;
    const UrlHandle handle = parse(url);
    if (!handle || hasPart(handle.get(), CURLUPART_USER) || hasPart(handle.get(), CURLUPART_PASSWORD)) {
        checked.status = davFailure(DavError::BadUrl);
        return checked;
    }
    const std::string scheme = lower(part(handle.get(), CURLUPART_SCHEME));
    if (scheme != "https" && scheme != "http") {
        checked.status = davFailure(DavError::BadUrl);
        return checked;
    }
    if (scheme == "http" && role != UrlRole::Feed && !isLoopbackHost(part(handle.get(), CURLUPART_HOST))) {
        checked.status = davFailure(DavError::InsecureUrl);
        return checked;
    }
    checked.path = normalisePath(part(handle.get(), CURLUPART_PATH));
    if (role == UrlRole::Collection && checked.path.back() != '/')
        checked.path += '/';
    curl_url_set(handle.get(), CURLUPART_PATH, checked.path.c_str(), 0);
    curl_url_set(handle.get(), CURLUPART_FRAGMENT, nullptr, 0);
    checked.url = part(handle.get(), CURLUPART_URL);
    return checked;
}

namespace {

UrlHandle resolve(const std::string& baseUrl, std::string_view reference)
{
    UrlHandle target = parse(baseUrl);
    if (!target || reference.empty() ||
        curl_url_set(target.get(), CURLUPART_URL, escapeRaw(reference).c_str(), 0) != CURLUE_OK)
        return nullptr;
    return target;
}

} // namespace

std::string hrefPath(const std::string& baseUrl, std::string_view href)
{
    const UrlHandle base = parse(baseUrl);
    const UrlHandle target = resolve(baseUrl, href);
    if (!base || !target || originOf(target.get()) != originOf(base.get()))
        return {};
    // Escaped dots become dot segments once decoded; such a path has no one meaning.
    const std::string path = normalisePath(part(target.get(), CURLUPART_PATH)) + "/";
    if (path.find("/./") != std::string::npos || path.find("/../") != std::string::npos)
        return {};
    return path.substr(0, path.size() - 1);
}

std::string resolveUrl(const std::string& baseUrl, std::string_view reference)
{
    const UrlHandle target = resolve(baseUrl, reference);
    return target ? part(target.get(), CURLUPART_URL) : std::string();
}

std::string urlWithUser(const std::string& url, const std::string& user)
{
    const UrlHandle handle = parse(url);
    if (!handle || curl_url_set(handle.get(), CURLUPART_USER, user.c_str(), CURLU_URLENCODE) != CURLUE_OK)
        return url;
    return part(handle.get(), CURLUPART_URL);
}

std::string normalisePath(std::string_view path)
{
    std::string out;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(path[i]);
        const bool escape = c == '%' && i + 2 < path.size() && hexValue(path[i + 1]) >= 0 && hexValue(path[i + 2]) >= 0;
        if (escape) {
            const auto decoded = static_cast<unsigned char>(hexValue(path[i + 1]) * 16 + hexValue(path[i + 2]));
            if (isSegmentChar(decoded))
                out += static_cast<char>(decoded);
            else
                appendEscaped(out, decoded);
            i += 2;
        } else if (c == '/' && !out.empty() && out.back() == '/') {
            continue; // "//" at the start would name a server when read back as a reference
        } else if (c == '/' || isSegmentChar(c)) {
            out += static_cast<char>(c);
        } else {
            appendEscaped(out, c);
        }
    }
    if (out.empty() || out.front() != '/')
        out.insert(out.begin(), '/');
    return out;
}

std::string urlOfPath(const std::string& baseUrl, const std::string& path)
{
    const UrlHandle handle = parse(baseUrl);
    if (!handle || curl_url_set(handle.get(), CURLUPART_PATH, normalisePath(path).c_str(), 0) != CURLUE_OK)
        return {};
    curl_url_set(handle.get(), CURLUPART_QUERY, nullptr, 0);
    curl_url_set(handle.get(), CURLUPART_FRAGMENT, nullptr, 0);
    return part(handle.get(), CURLUPART_URL);
}

bool sameServer(const std::string& a, const std::string& b)
{
    const UrlHandle first = parse(a);
    const UrlHandle second = parse(b);
    return first && second && originOf(first.get()) == originOf(second.get());
}

std::string encodeSegment(std::string_view name)
{
    std::string out;
    for (const unsigned char c : name) {
        if (isUnreserved(c))
            out += static_cast<char>(c);
        else
            appendEscaped(out, c);
    }
    return out;
}

} // namespace kal::caldav
