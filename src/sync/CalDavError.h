// What went wrong in a talk with a CalDAV server: a kind the sync acts on, and the Japanese reason
// the window or the command shows. Every reason text comes from here.
#pragma once

#include <string>

namespace kal::caldav {

enum class DavError {
    None,
    Cancelled,
    BadUrl,      // not an http(s) URL, or a user or password inside it
    InsecureUrl, // http:// to another computer
    HostNotFound,
    ServerDown, // nobody answers at that address
    Timeout,
    Tls,                // certificate not trusted, or no TLS handshake
    ConnectionCut,      // closed before the whole reply arrived
    TooLarge,           // a reply above the size cap
    BadReply,           // not HTTP, or not the XML asked for
    NotCalendar,        // the URL names something other than a calendar collection
    Redirect,           // too many redirects, or one to another server
    Unauthorized,       // 401
    Forbidden,          // 403
    NotFound,           // 404, 410
    PreconditionFailed, // 412: the item changed on the server meanwhile
    UidConflict,        // another item on the server has this UID
    ServerError,        // 5xx
    HttpError,          // any other status that is not success
    Credentials,        // ~/.netrc that others can read
};

struct DavStatus {
    DavError error = DavError::None;
    int httpStatus = 0; // 0 when no reply came
    std::string reason; // UTF-8, empty on success

    bool ok() const { return error == DavError::None; }
};

DavStatus davFailure(DavError error, int httpStatus = 0);
// Success for 2xx, else the kind that status stands for.
DavStatus davStatusOfHttp(int httpStatus);

} // namespace kal::caldav
