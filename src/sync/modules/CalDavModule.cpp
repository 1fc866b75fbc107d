// The CalDAV module: the client over libcurl and libxml2, and the password sources over
// libsecret and ~/.netrc, behind the service the program loads at the first sync.
#include "sync/CalDavService.h"
#include "sync/CalDavUrl.h"

namespace kal::caldav {
namespace {

class ClientCollection : public Collection {
public:
    ClientCollection(const std::string& url, Credentials credentials, CalDavHooks hooks)
        : client_(url, std::move(credentials), {}, std::move(hooks))
    {
    }

    CollectionInfo discover() override { return client_.discover(); }
    ItemChanges changesSince(const std::string& syncToken) override { return client_.changesSince(syncToken); }
    ItemChanges changesByEtag(const std::map<std::string, std::string>& knownEtags) override
    {
        return client_.changesByEtag(knownEtags);
    }
    ItemBodies fetch(const std::vector<std::string>& hrefs) override { return client_.fetch(hrefs); }
    ItemBodies fetchAll() override { return client_.fetchAll(); }
    WriteResult create(const std::string& name, const std::string& icalendar) override
    {
        return client_.create(name, icalendar);
    }
    WriteResult update(const std::string& href, const std::string& etag, const std::string& icalendar) override
    {
        return client_.update(href, etag, icalendar);
    }
    DavStatus remove(const std::string& href, const std::string& etag) override { return client_.remove(href, etag); }

private:
    CalDavClient client_;
};

class ModuleService : public Service {
public:
    OpenedCollection open(const std::string& url, const std::string& user, CalDavHooks hooks) override
    {
        OpenedCollection opened;
        CredentialsLookup lookup = lookupCredentials(url, user);
        opened.status = lookup.status;
        if (!lookup.status.ok())
            return opened;
        opened.passwordKnown = lookup.credentials.password || !lookup.credentials.netrcFile.empty();
        opened.collection = std::make_unique<ClientCollection>(url, std::move(lookup.credentials), std::move(hooks));
        return opened;
    }

    CalendarList findCalendars(const std::string& url, const std::string& user, const std::string& password) override
    {
        CredentialsLookup stored;
        if (password.empty() && !(stored = lookupCredentials(url, user)).status.ok())
            return CalendarList{stored.status, {}};
        return CalDavClient(url, password.empty() ? stored.credentials : Credentials{user, password, {}})
            .findCalendars();
    }

    DavStatus checkUrl(const std::string& url) override { return checkServerUrl(url, UrlRole::Collection).status; }

    KeyringResult storePassword(const std::string& url, const std::string& user, const std::string& password) override
    {
        return keyringStore(url, user, password);
    }

    FeedReply fetchFeed(const FeedRequest& request, const std::atomic<bool>* cancel) override
    {
        return caldav::fetchFeed(request, cancel);
    }
};

} // namespace
} // namespace kal::caldav

extern "C" __attribute__((visibility("default"))) kal::caldav::Service* kalendra_caldav_service()
{
    static kal::caldav::ModuleService service;
    return &service;
}
