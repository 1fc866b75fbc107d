// The WebDAV multistatus replies of a CalDAV server read with libxml2, by namespace: each
// resource's href, status, ETag, calendar data and the collection properties the sync asks for.
// Replies are untrusted: any bytes give a result or `ok == false`, never a crash.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kal::caldav {

struct DavResource {
    std::string href; // normalised path on the collection's server
    // The response's own status where it gives one (sync-collection removals: 404), else 200
    // when any property came back, else the status of its properties.
    int status = 0;
    std::string etag; // as sent, quotes included
    std::string calendarData;
    std::string displayName;
    std::string ctag;
    std::string syncToken;
    std::string principal;    // current-user-principal, a normalised path
    std::string calendarHome; // calendar-home-set, a normalised path
    bool isCollection = false;
    bool isCalendar = false;
    bool componentsListed = false;       // supported-calendar-component-set came back
    std::vector<std::string> components; // upper case: "VEVENT", "VTODO"
};

struct Multistatus {
    bool ok = false; // a multistatus document at all
    std::vector<DavResource> resources;
    std::string syncToken;
    int foreignHrefs = 0; // hrefs naming another server, left out
};

// `baseUrl` is the URL the request went to; relative hrefs are resolved against it.
Multistatus readMultistatus(std::string_view xml, const std::string& baseUrl);

// The preconditions of a DAV:error body the client acts on.
struct DavErrorBody {
    bool staleSyncToken = false; // DAV:valid-sync-token
    bool uidConflict = false;    // CALDAV:no-uid-conflict
    std::string conflictHref;    // the item holding that UID, where the server names it
};
DavErrorBody readDavError(std::string_view xml, const std::string& baseUrl);

} // namespace kal::caldav
