#include "sync/CalDavClient.h"

#include "sync/CalDavUrl.h"
#include "sync/CalDavXml.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <set>

namespace kal::caldav {

namespace {

const char* const kXmlBody = "Content-Type: application/xml; charset=utf-8";
// Servers may cut a sync-collection reply short (507 on the collection) and expect another
// round; this many rounds is more than any collection needs.
constexpr int kMaxSyncRounds = 100;

std::string propfindBody(const std::vector<std::pair<const char*, const char*>>& properties)
{
    xml::Body body(xml::kDav, "propfind");
    xmlNode* prop = body.add(body.root(), xml::kDav, "prop");
    for (const auto& [ns, name] : properties)
        body.add(prop, ns, name);
    return body.serialise();
}

std::string utcText(const DateTime& time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d%02d%02dZ", time.date.year, time.date.month, time.date.day,
                  time.hour, time.minute, time.second);
    return text;
}

std::string calendarQueryBody(Component component, const DateTime& fromUtc, const DateTime& toUtc)
{
    xml::Body body(xml::kCalDav, "calendar-query");
    body.add(body.add(body.root(), xml::kDav, "prop"), xml::kDav, "getetag");
    xmlNode* calendar = body.add(body.add(body.root(), xml::kCalDav, "filter"), xml::kCalDav, "comp-filter");
    xmlNewProp(calendar, BAD_CAST "name", BAD_CAST "VCALENDAR");
    xmlNode* filter = body.add(calendar, xml::kCalDav, "comp-filter");
    xmlNewProp(filter, BAD_CAST "name", BAD_CAST(component == Component::Event ? "VEVENT" : "VTODO"));
    xmlNode* range = body.add(filter, xml::kCalDav, "time-range");
    xmlNewProp(range, BAD_CAST "start", BAD_CAST utcText(fromUtc).c_str());
    xmlNewProp(range, BAD_CAST "end", BAD_CAST utcText(toUtc).c_str());
    return body.serialise();
}

std::string syncCollectionBody(const std::string& syncToken)
{
    xml::Body body(xml::kDav, "sync-collection");
    body.add(body.root(), xml::kDav, "sync-token", syncToken);
    body.add(body.root(), xml::kDav, "sync-level", "1");
    body.add(body.add(body.root(), xml::kDav, "prop"), xml::kDav, "getetag");
    return body.serialise();
}

std::string multigetBody(const std::vector<std::string>& hrefs)
{
    xml::Body body(xml::kCalDav, "calendar-multiget");
    xmlNode* prop = body.add(body.root(), xml::kDav, "prop");
    body.add(prop, xml::kDav, "getetag");
    body.add(prop, xml::kCalDav, "calendar-data");
    for (const std::string& href : hrefs)
        body.add(body.root(), xml::kDav, "href", href);
    return body.serialise();
}

bool accepts(const DavResource& collection, const char* component)
{
    const auto& listed = collection.components;
    return !collection.componentsListed || std::find(listed.begin(), listed.end(), component) != listed.end();
}

// An ETag goes back into a header line; one that could break the line is not sent.
bool isHeaderSafe(const std::string& value)
{
    return std::none_of(value.begin(), value.end(), [](char c) { return c < 0x20 || c == 0x7F; });
}

bool isStaleToken(const HttpReply& reply)
{
    const int status = reply.status.httpStatus;
    return status == 403 || status == 409 || status == 412 || readDavError(reply.body, reply.url).staleSyncToken;
}

} // namespace

CalDavClient::CalDavClient(const std::string& collectionUrl, Credentials credentials, TransferLimits limits,
                           CalDavHooks hooks)
    : hooks_(std::move(hooks)), session_(std::move(credentials), limits, hooks_.cancel)
{
    const CheckedUrl checked = checkServerUrl(collectionUrl, UrlRole::Collection);
    urlStatus_ = checked.status;
    collectionUrl_ = checked.url;
    collectionPath_ = checked.path;
}

HttpReply CalDavClient::request(const std::string& method, const std::string& url, std::vector<std::string> headers,
                                std::string body)
{
    if (!urlStatus_.ok())
        return {urlStatus_, {}, {}, url, {}};
    if (hooks_.cancel && hooks_.cancel->load())
        return {davFailure(DavError::Cancelled), {}, {}, url, {}};
    return session_.send({method, url, std::move(headers), std::move(body)});
}

DavStatus CalDavClient::readReply(const HttpReply& reply, Multistatus& result) const
{
    if (!reply.status.ok())
        return reply.status;
    if (reply.status.httpStatus != 207)
        return davFailure(DavError::BadReply, reply.status.httpStatus);
    result = readMultistatus(reply.body, reply.url);
    return result.ok ? reply.status : davFailure(DavError::BadReply, reply.status.httpStatus);
}

// An item inside the collection; some servers list the collection itself, or one below it, among
// the changes.
bool CalDavClient::isMember(const std::string& href) const
{
    return href.size() > collectionPath_.size() && href.compare(0, collectionPath_.size(), collectionPath_) == 0 &&
           href.back() != '/';
}

HttpReply CalDavClient::propfind(const std::string& url, const char* depth,
                                 const std::vector<std::pair<const char*, const char*>>& properties)
{
    return request("PROPFIND", url, {std::string("Depth: ") + depth, kXmlBody}, propfindBody(properties));
}

CollectionInfo CalDavClient::discover()
{
    CollectionInfo info;
    const HttpReply reply = propfind(collectionUrl_, "0",
                                     {{xml::kDav, "resourcetype"},
                                      {xml::kDav, "displayname"},
                                      {xml::kCalendarServer, "getctag"},
                                      {xml::kDav, "sync-token"},
                                      {xml::kCalDav, "supported-calendar-component-set"}});
    Multistatus result;
    info.status = readReply(reply, result);
    if (!info.status.ok())
        return info;
    if (result.resources.empty() || !result.resources.front().isCalendar) {
        info.status = davFailure(DavError::NotCalendar, reply.status.httpStatus);
        return info;
    }
    const CheckedUrl moved = checkServerUrl(reply.url, UrlRole::Collection);
    collectionUrl_ = moved.url;
    collectionPath_ = moved.path;
    const DavResource& collection = result.resources.front();
    info.url = collectionUrl_;
    info.displayName = collection.displayName;
    info.acceptsEvents = accepts(collection, "VEVENT");
    info.acceptsTodos = accepts(collection, "VTODO");
    info.ctag = collection.ctag;
    info.syncToken = collection.syncToken;
    return info;
}

// The calendar home's URL, through the principal where the start is not the home; empty when
// the server names neither.
std::string CalDavClient::calendarHome()
{
    const bool atRoot = collectionPath_ == "/";
    std::string url = atRoot ? urlOfPath(collectionUrl_, "/.well-known/caldav") : collectionUrl_;
    for (int step = 0; step < 2; ++step) {
        const HttpReply reply =
            propfind(url, "0", {{xml::kDav, "current-user-principal"}, {xml::kCalDav, "calendar-home-set"}});
        Multistatus result;
        if (!readReply(reply, result).ok() || result.resources.empty())
            return {};
        const DavResource& found = result.resources.front();
        if (!found.calendarHome.empty())
            return urlOfPath(reply.url, found.calendarHome);
        if (found.principal.empty())
            return {};
        url = urlOfPath(reply.url, found.principal);
    }
    return {};
}

CalendarList CalDavClient::findCalendars()
{
    CalendarList list;
    const std::string home = calendarHome();
    const HttpReply reply = propfind(
        home.empty() ? collectionUrl_ : home, "1",
        {{xml::kDav, "resourcetype"}, {xml::kDav, "displayname"}, {xml::kCalDav, "supported-calendar-component-set"}});
    Multistatus result;
    list.status = readReply(reply, result);
    for (const DavResource& resource : result.resources)
        if (resource.isCalendar && resource.status == 200)
            list.calendars.push_back({urlOfPath(reply.url, resource.href), resource.displayName,
                                      accepts(resource, "VEVENT"), accepts(resource, "VTODO")});
    return list;
}

ItemListing CalDavClient::listing(const HttpReply& reply) const
{
    ItemListing listing;
    Multistatus result;
    listing.status = readReply(reply, result);
    for (const DavResource& resource : result.resources)
        if (isMember(resource.href) && !resource.isCollection && resource.status == 200)
            listing.items.push_back({resource.href, resource.etag});
    return listing;
}

ItemListing CalDavClient::listItems()
{
    return listing(propfind(collectionUrl_, "1", {{xml::kDav, "getetag"}, {xml::kDav, "resourcetype"}}));
}

ItemListing CalDavClient::listItemsBetween(Component component, const DateTime& fromUtc, const DateTime& toUtc)
{
    return listing(
        request("REPORT", collectionUrl_, {"Depth: 1", kXmlBody}, calendarQueryBody(component, fromUtc, toUtc)));
}

ItemChanges CalDavClient::syncRound(const std::string& syncToken, bool& truncated)
{
    const HttpReply reply = request("REPORT", collectionUrl_, {"Depth: 0", kXmlBody}, syncCollectionBody(syncToken));
    if (!syncToken.empty() && !reply.status.ok() && isStaleToken(reply))
        return syncRound({}, truncated);
    ItemChanges changes;
    Multistatus result;
    changes.status = readReply(reply, result);
    changes.complete = syncToken.empty();
    changes.syncToken = result.syncToken;
    for (const DavResource& resource : result.resources) {
        if (!isMember(resource.href))
            truncated = truncated || resource.status == 507;
        else if (resource.status == 404 || resource.status == 410)
            changes.removed.push_back(resource.href);
        else if (resource.status == 200 && !resource.isCollection)
            changes.changed.push_back({resource.href, resource.etag});
    }
    return changes;
}

ItemChanges CalDavClient::changesSince(const std::string& syncToken)
{
    ItemChanges all;
    std::map<std::string, std::optional<std::string>> latest; // href: ETag, or nothing once removed
    std::string token = syncToken;
    for (int round = 0; round < kMaxSyncRounds; ++round) {
        bool truncated = false;
        ItemChanges part = syncRound(token, truncated);
        all.status = part.status;
        all.complete = all.complete || part.complete;
        all.syncToken = part.syncToken;
        for (ItemTag& item : part.changed)
            latest[item.href] = std::move(item.etag);
        for (std::string& href : part.removed)
            latest[href] = std::nullopt;
        // A truncated reply names the collection itself with 507; its token continues from there.
        if (!part.status.ok() || !truncated || part.syncToken.empty() || part.syncToken == token)
            break;
        token = part.syncToken;
    }
    for (auto& [href, etag] : latest) {
        if (etag)
            all.changed.push_back({href, std::move(*etag)});
        else if (!all.complete)
            all.removed.push_back(href);
    }
    return all;
}

ItemChanges CalDavClient::changesByEtag(const std::map<std::string, std::string>& knownEtags)
{
    ItemListing listing = listItems();
    ItemChanges changes;
    changes.status = listing.status;
    if (!listing.status.ok())
        return changes;
    std::set<std::string> listed;
    for (ItemTag& item : listing.items) {
        listed.insert(item.href);
        const auto known = knownEtags.find(item.href);
        if (known == knownEtags.end() || known->second != item.etag || item.etag.empty())
            changes.changed.push_back(std::move(item));
    }
    for (const auto& [href, etag] : knownEtags)
        if (!listed.count(href))
            changes.removed.push_back(href);
    return changes;
}

ItemBodies CalDavClient::fetch(const std::vector<std::string>& hrefs)
{
    ItemBodies bodies;
    const std::size_t batch = std::max<std::size_t>(hooks_.fetchBatch, 1);
    for (std::size_t first = 0; first < hrefs.size(); first += batch) {
        const std::size_t last = std::min(hrefs.size(), first + batch);
        bodies.status = fetchBatch({hrefs.begin() + first, hrefs.begin() + last}, bodies);
        if (!bodies.status.ok())
            return bodies;
        if (hooks_.progress)
            hooks_.progress(last, hrefs.size());
    }
    return bodies;
}

DavStatus CalDavClient::fetchBatch(const std::vector<std::string>& hrefs, ItemBodies& bodies)
{
    Multistatus result;
    const DavStatus status =
        readReply(request("REPORT", collectionUrl_, {"Depth: 1", kXmlBody}, multigetBody(hrefs)), result);
    if (status.error == DavError::TooLarge)
        return fetchHalves(hrefs, bodies);
    if (!status.ok())
        return status;
    std::set<std::string> answered;
    for (DavResource& resource : result.resources) {
        if (resource.status == 200 && !resource.calendarData.empty()) {
            answered.insert(resource.href);
            bodies.items.push_back({resource.href, resource.etag, std::move(resource.calendarData)});
        }
    }
    for (const std::string& href : hrefs)
        if (!answered.count(normalisePath(href)))
            bodies.missing.push_back(href);
    return status;
}

ItemBodies CalDavClient::fetchAll()
{
    xml::Body body(xml::kCalDav, "calendar-query");
    xmlNode* prop = body.add(body.root(), xml::kDav, "prop");
    body.add(prop, xml::kDav, "getetag");
    body.add(prop, xml::kCalDav, "calendar-data");
    xmlNode* calendar = body.add(body.add(body.root(), xml::kCalDav, "filter"), xml::kCalDav, "comp-filter");
    xmlNewProp(calendar, BAD_CAST "name", BAD_CAST "VCALENDAR");
    ItemBodies bodies;
    Multistatus result;
    bodies.status = readReply(request("REPORT", collectionUrl_, {"Depth: 1", kXmlBody}, body.serialise()), result);
    for (DavResource& resource : result.resources)
        if (isMember(resource.href) && resource.status == 200 && !resource.calendarData.empty())
            bodies.items.push_back({resource.href, resource.etag, std::move(resource.calendarData)});
    return bodies;
}

DavStatus CalDavClient::fetchHalves(const std::vector<std::string>& hrefs, ItemBodies& bodies)
{
    if (hrefs.size() == 1) {
        bodies.tooLarge.push_back(hrefs.front());
        return {};
    }
    const auto middle = hrefs.begin() + static_cast<std::ptrdiff_t>(hrefs.size() / 2);
    const DavStatus first = fetchBatch({hrefs.begin(), middle}, bodies);
    return first.ok() ? fetchBatch({middle, hrefs.end()}, bodies) : first;
}

WriteResult CalDavClient::put(const std::string& href, const std::string& condition, const std::string& icalendar)
{
    WriteResult result;
    result.href = normalisePath(href);
    const HttpReply reply = request("PUT", urlOfPath(collectionUrl_, result.href),
                                    {condition, "Content-Type: text/calendar; charset=utf-8"}, icalendar);
    result.status = reply.status;
    if (reply.status.ok())
        result.etag = reply.etag;
    const int status = reply.status.httpStatus;
    const DavErrorBody error = status == 403 || status == 409 ? readDavError(reply.body, reply.url) : DavErrorBody{};
    if (error.uidConflict) {
        result.status = davFailure(DavError::UidConflict, status);
        result.conflictHref = error.conflictHref;
    }
    return result;
}

WriteResult CalDavClient::create(const std::string& name, const std::string& icalendar)
{
    return put(collectionPath_ + encodeSegment(name), "If-None-Match: *", icalendar);
}

WriteResult CalDavClient::update(const std::string& href, const std::string& etag, const std::string& icalendar)
{
    if (etag.empty() || !isHeaderSafe(etag))
        return {davFailure(DavError::BadReply), href, {}, {}};
    return put(href, "If-Match: " + etag, icalendar);
}

DavStatus CalDavClient::remove(const std::string& href, const std::string& etag)
{
    if (etag.empty() || !isHeaderSafe(etag))
        return davFailure(DavError::BadReply);
    return request("DELETE", urlOfPath(collectionUrl_, href), {"If-Match: " + etag}).status;
}

} // namespace kal::caldav
