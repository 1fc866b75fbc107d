// The calendar server as the sync and the settings page see it. The CalDAV client, the password
// sources and the keyring live in a module (modules/CalDavModule.cpp, built as
// libkalendra_caldav.so) that is loaded at the first sync or keyring use, so that libcurl,
// libxml2, libsecret and GIO are not mapped while the program starts.
#pragma once

#include "sync/CalDavClient.h"
#include "sync/CalDavPassword.h"
#include "sync/FeedFetch.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kal::caldav {

// One calendar collection, through one connection: used by one thread at a time.
class Collection {
public:
    virtual ~Collection() = default;
    virtual CollectionInfo discover() = 0;
    virtual ItemChanges changesSince(const std::string& syncToken) = 0;
    virtual ItemChanges changesByEtag(const std::map<std::string, std::string>& knownEtags) = 0;
    virtual ItemBodies fetch(const std::vector<std::string>& hrefs) = 0;
    virtual ItemBodies fetchAll() = 0;
    virtual WriteResult create(const std::string& name, const std::string& icalendar) = 0;
    virtual WriteResult update(const std::string& href, const std::string& etag, const std::string& icalendar) = 0;
    virtual DavStatus remove(const std::string& href, const std::string& etag) = 0;
};

struct OpenedCollection {
    DavStatus status;
    bool passwordKnown = false; // from the keyring, or a ~/.netrc to ask
    std::unique_ptr<Collection> collection;
};

class Service {
public:
    virtual ~Service() = default;
    // The collection at `url`, signed in as `user` with the password of the keyring or ~/.netrc.
    virtual OpenedCollection open(const std::string& url, const std::string& user, CalDavHooks hooks) = 0;
    // The user's calendars on the server of `url`, signed in with `password` (empty: the stored
    // one).
    virtual CalendarList findCalendars(const std::string& url, const std::string& user,
                                       const std::string& password) = 0;
    // Whether `url` may be a collection's: http(s), plain http only to this computer, no
    // credentials in it.
    virtual DavStatus checkUrl(const std::string& url) = 0;
    virtual KeyringResult storePassword(const std::string& url, const std::string& user,
                                        const std::string& password) = 0;
    // A subscribed calendar, asked for only when it changed since `request`'s ETag or date.
    virtual FeedReply fetchFeed(const FeedRequest& request, const std::atomic<bool>* cancel) = 0;
};

// The function the module exports; the service it gives lives as long as the process.
using ServiceFactory = Service* (*)();
inline constexpr const char* kServiceFactoryName = "kalendra_caldav_service";
inline constexpr const char* kModuleFileName = "libkalendra_caldav.so";

struct LoadedService {
    Service* service = nullptr;
    std::string reason; // UTF-8, why the module could not be loaded
};
// The module's service from beside the program or its installed place; loaded once.
LoadedService loadService();

} // namespace kal::caldav
