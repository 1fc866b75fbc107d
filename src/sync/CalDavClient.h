// The CalDAV client of the sync: one calendar collection, plain synchronous calls, each giving a
// DavStatus beside what came back. It holds one connection, so one client serves one thread;
// the cancel flag ends a running transfer from any thread.
//
// Hrefs are normalised paths on the collection's server (see CalDavUrl.h) and ETags are kept as
// the server sent them, quotes included, to be handed back unchanged.
#pragma once

#include "platform/Date.h"
#include "sync/CalDavError.h"
#include "sync/CalDavHttp.h"
#include "sync/CalDavMultistatus.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kal::caldav {

struct CalDavHooks {
    const std::atomic<bool>* cancel = nullptr;
    // Items fetched so far of all asked for; called after each batch.
    std::function<void(std::size_t done, std::size_t total)> progress;
    std::size_t fetchBatch = 100; // hrefs per calendar-multiget
};

struct CollectionInfo {
    DavStatus status;
    std::string url; // the collection's URL, after redirects on the same server
    std::string displayName;
    bool acceptsEvents = false;
    bool acceptsTodos = false;
    std::string ctag;      // empty when the server keeps none
    std::string syncToken; // empty when the server offers no sync-collection
};

struct CalendarEntry {
    std::string url;
    std::string displayName;
    bool acceptsEvents = false;
    bool acceptsTodos = false;
};

struct CalendarList {
    DavStatus status;
    std::vector<CalendarEntry> calendars;
};

struct ItemTag {
    std::string href;
    std::string etag;
};

struct ItemListing {
    DavStatus status;
    std::vector<ItemTag> items;
};

struct ItemChanges {
    DavStatus status;
    std::vector<ItemTag> changed;     // new or changed since the token
    std::vector<std::string> removed; // hrefs
    std::string syncToken;            // to keep for the next call
    // `changed` lists every member: the token was empty or the server no longer knew it, so an
    // item missing from it is gone.
    bool complete = false;
};

struct ItemBody {
    std::string href;
    std::string etag;
    std::string icalendar;
};

struct ItemBodies {
    DavStatus status;
    std::vector<ItemBody> items;
    std::vector<std::string> missing;  // asked for, but gone from the server
    std::vector<std::string> tooLarge; // each alone above the size cap, left out
};

struct WriteResult {
    DavStatus status;
    std::string href;
    std::string etag;         // empty when the server did not say; fetch the item to learn it
    std::string conflictHref; // UidConflict: the item holding the UID, where the server names it
};

enum class Component { Event, Todo };

class CalDavClient {
public:
    CalDavClient(const std::string& collectionUrl, Credentials credentials, TransferLimits limits = {},
                 CalDavHooks hooks = {});

    const std::string& collectionUrl() const { return collectionUrl_; }

    CollectionInfo discover();
    // The user's calendars, found from the client's URL: the server's root (through
    // /.well-known/caldav), the user's principal or the calendar home.
    CalendarList findCalendars();
    ItemListing listItems();
    // Items of one component overlapping [fromUtc, toUtc).
    ItemListing listItemsBetween(Component component, const DateTime& fromUtc, const DateTime& toUtc);
    // sync-collection; an empty token, or one the server refuses, gives a complete listing.
    ItemChanges changesSince(const std::string& syncToken);
    // For servers without sync-collection: the listing against the ETags the caller holds, in
    // the shape of changesSince (never complete; `removed` are known hrefs no longer listed).
    ItemChanges changesByEtag(const std::map<std::string, std::string>& knownEtags);
    // A batch above the size cap is fetched again in halves, so one huge item is left out and
    // named rather than failing every sync.
    ItemBodies fetch(const std::vector<std::string>& hrefs);
    // Every member with its content, in one calendar-query: what a server slow at multiget
    // answers fastest for a whole collection.
    ItemBodies fetchAll();

    // PUT that fails with PreconditionFailed when `name` exists already, and with UidConflict
    // when another item has the UID.
    WriteResult create(const std::string& name, const std::string& icalendar);
    // PUT that fails with PreconditionFailed when the item changed since `etag`.
    WriteResult update(const std::string& href, const std::string& etag, const std::string& icalendar);
    DavStatus remove(const std::string& href, const std::string& etag);

private:
    HttpReply request(const std::string& method, const std::string& url, std::vector<std::string> headers,
                      std::string body = {});
    DavStatus readReply(const HttpReply& reply, Multistatus& result) const;
    ItemListing listing(const HttpReply& reply) const;
    HttpReply propfind(const std::string& url, const char* depth,
                       const std::vector<std::pair<const char*, const char*>>& properties);
    std::string calendarHome();
    ItemChanges syncRound(const std::string& syncToken, bool& truncated);
    DavStatus fetchBatch(const std::vector<std::string>& hrefs, ItemBodies& bodies);
    DavStatus fetchHalves(const std::vector<std::string>& hrefs, ItemBodies& bodies);
    WriteResult put(const std::string& href, const std::string& condition, const std::string& icalendar);
    bool isMember(const std::string& href) const;

    std::string collectionUrl_;
    std::string collectionPath_;
    DavStatus urlStatus_;
    CalDavHooks hooks_;
    HttpSession session_;
};

} // namespace kal::caldav
