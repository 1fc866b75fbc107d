// URLs and hrefs of a CalDAV collection. Only http and https are spoken, plain http only to this
// computer, and credentials never ride in a URL. Hrefs in replies come as absolute URLs, absolute
// paths or relative references with differing percent-encoding; each is reduced to one path
// spelling, so an item is recognised whichever way the server writes it.
#pragma once

#include "sync/CalDavError.h"

#include <string>
#include <string_view>

namespace kal::caldav {

struct CheckedUrl {
    DavStatus status;
    std::string url;  // normalised; a collection's path ends with '/'
    std::string path; // normalised path of `url`
};

// A feed is only read, so plain http may reach any server for it.
enum class UrlRole { Collection, Item, Feed };

CheckedUrl checkServerUrl(const std::string& url, UrlRole role);

bool isLoopbackHost(std::string_view host);
bool isLoopbackUrl(const std::string& url);

// The normalised path `href` names, resolved against `baseUrl`; empty when it names another
// server, is no URL at all or hides a dot segment in escapes.
std::string hrefPath(const std::string& baseUrl, std::string_view href);

// One spelling of a path: escapes decoded where the character may stand literally, the rest as
// upper-case %XX, runs of '/' as one.
std::string normalisePath(std::string_view path);

// `reference` (a Location header) resolved against `baseUrl`; empty when it is no URL.
std::string resolveUrl(const std::string& baseUrl, std::string_view reference);

// `url` with a user name in it, for libcurl's netrc lookup, which ignores a user set apart.
std::string urlWithUser(const std::string& url, const std::string& user);

// The URL of `path` on the server of `baseUrl`.
std::string urlOfPath(const std::string& baseUrl, const std::string& path);

bool isHttpsUrl(const std::string& url);

// Whether both URLs name the same scheme, host and port.
bool sameServer(const std::string& a, const std::string& b);

// A resource name made safe as one path segment.
std::string encodeSegment(std::string_view name);

} // namespace kal::caldav
