// The CalDAV client against a real server (one Radicale for the whole program, changed and read
// back by an independent client) and against servers that cut, overflow, fail or stay silent.
#include "support/CannedHttpServer.h"
#include "sync/CalDavClient.h"
#include "sync/CalDavPassword.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kal;
using namespace kal::caldav;
using namespace kal::test;

namespace {

RadicaleServer& server()
{
    return RadicaleServer::shared({"mkcal home VEVENT,VTODO", "mkcal events VEVENT", "mkcal writes VEVENT,VTODO",
                                   "mkcal sync VEVENT,VTODO", "mkcal range VEVENT,VTODO", "add sync gone 消える"});
}

CalDavClient clientOf(const std::string& calendar, CalDavHooks hooks = {})
{
    return {server().calendarUrl(calendar), {"alice", RadicaleServer::kPassword, {}}, {}, std::move(hooks)};
}

std::string ics(const std::string& uid, const std::string& summary, const std::string& start = "20260501T100000Z")
{
    const char* kind = start.empty() ? "VTODO" : "VEVENT";
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Kalendra//test//JA\r\nBEGIN:" + std::string(kind) +
           "\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\n" +
           (start.empty() ? "" : "DTSTART:" + start + "\r\nDURATION:PT1H\r\n") + "SUMMARY:" + summary +
           "\r\nEND:" + kind + "\r\nEND:VCALENDAR\r\n";
}

std::vector<std::string> hrefsOf(const std::vector<ItemTag>& items)
{
    std::vector<std::string> hrefs;
    for (const ItemTag& item : items)
        hrefs.push_back(item.href);
    std::sort(hrefs.begin(), hrefs.end());
    return hrefs;
}

} // namespace

TEST(CalDavServer, DiscoveryTellsWhatTheCollectionAccepts)
{
    struct Case {
        std::string url;
        const char* password;
        DavError error;
    };
    const Case cases[] = {
        {server().calendarUrl("home"), RadicaleServer::kPassword, DavError::None},
        {server().url("alice/events"), RadicaleServer::kPassword, DavError::None},
        {server().url("alice/"), RadicaleServer::kPassword, DavError::NotCalendar},
        {server().calendarUrl("nothing"), RadicaleServer::kPassword, DavError::NotFound},
        {server().calendarUrl("home"), "wrong", DavError::Unauthorized},
        {"http://127.0.0.1:" + std::to_string(LoopbackSocket().bindAny()) + "/a/", "", DavError::ServerDown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const CollectionInfo info = CalDavClient(c.url, {"alice", c.password, {}}).discover();
        EXPECT_EQ(info.status.error, c.error) << info.status.reason;
        EXPECT_EQ(info.status.reason.empty(), c.error == DavError::None);
        if (c.error == DavError::None) {
            EXPECT_EQ(info.url, c.url + (c.url.back() == '/' ? "" : "/"));
            EXPECT_TRUE(info.acceptsEvents && info.acceptsTodos == (info.displayName == "home"));
            EXPECT_FALSE(info.ctag.empty() || info.syncToken.empty());
        }
    }
    // From the server's root: /.well-known/caldav, the principal, the calendar home.
    const CalendarList found = CalDavClient(server().url(), {"alice", RadicaleServer::kPassword, {}}).findCalendars();
    std::vector<std::string> seen;
    for (const CalendarEntry& c : found.calendars)
        seen.push_back(c.url.substr(server().url().size()) + (c.acceptsTodos ? " +todo" : ""));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"alice/events/", "alice/home/ +todo", "alice/range/ +todo",
                                              "alice/sync/ +todo", "alice/writes/ +todo"}));
}

TEST(CalDavServer, WritesHoldOnlyWhileTheEtagIsCurrent)
{
    CalDavClient client = clientOf("writes");
    const WriteResult created = client.create("会議 @1.ics", ics("w1", "first"));
    ASSERT_TRUE(created.status.ok()) << created.status.reason;
    EXPECT_EQ(created.href, "/alice/writes/%E4%BC%9A%E8%AD%B0%20@1.ics");
    EXPECT_EQ(client.create("会議 @1.ics", ics("w1", "again")).status.error, DavError::PreconditionFailed);
    EXPECT_EQ(client.create("other.ics", ics("w1", "again")).status.error, DavError::UidConflict);

    const WriteResult updated = client.update(created.href, created.etag, ics("w1", "second"));
    ASSERT_TRUE(updated.status.ok()) << updated.status.reason;
    EXPECT_NE(updated.etag, created.etag);
    EXPECT_EQ(client.update(created.href, created.etag, ics("w1", "lost")).status.error, DavError::PreconditionFailed);
    EXPECT_EQ(client.remove(created.href, created.etag).error, DavError::PreconditionFailed);

    const ItemListing listing = client.listItems();
    ASSERT_EQ(listing.items.size(), 1u);
    EXPECT_EQ(listing.items[0].href + listing.items[0].etag, created.href + updated.etag);
    EXPECT_EQ(server().peer({"show writes %E4%BC%9A%E8%AD%B0%20%401.ics"}), "second\n");

    EXPECT_TRUE(client.remove(created.href, updated.etag).ok());
    const ItemBodies gone = client.fetch({created.href});
    EXPECT_TRUE(gone.status.ok() && gone.items.empty());
    EXPECT_EQ(gone.missing, std::vector<std::string>{created.href});
    EXPECT_EQ(client.remove(created.href, updated.etag).error, DavError::NotFound);
}

TEST(CalDavServer, SyncCollectionSeesWhatThePeerChanged)
{
    std::vector<std::size_t> progress;
    CalDavClient client =
        clientOf("sync", {nullptr, [&](std::size_t done, std::size_t) { progress.push_back(done); }, 1});
    ASSERT_TRUE(client.create("mine.ics", ics("mine", "mine")).status.ok());
    const std::string token = client.discover().syncToken;
    server().peer({"add sync new1 新しい予定", "edit sync mine 直した", "delete sync gone"});

    const ItemChanges changes = client.changesSince(token);
    ASSERT_TRUE(changes.status.ok()) << changes.status.reason;
    EXPECT_FALSE(changes.complete);
    EXPECT_EQ(hrefsOf(changes.changed), (std::vector<std::string>{"/alice/sync/mine.ics", "/alice/sync/new1.ics"}));
    EXPECT_EQ(changes.removed, std::vector<std::string>{"/alice/sync/gone.ics"});

    const ItemBodies bodies = client.fetch(hrefsOf(changes.changed));
    ASSERT_EQ(bodies.items.size(), 2u);
    EXPECT_NE(bodies.items[0].icalendar.find("SUMMARY:直した"), std::string::npos);
    EXPECT_NE(bodies.items[1].icalendar.find("SUMMARY:新しい予定"), std::string::npos);
    EXPECT_EQ(progress, (std::vector<std::size_t>{1, 2}));

    const ItemChanges none = client.changesSince(changes.syncToken);
    EXPECT_TRUE(none.status.ok() && none.changed.empty() && none.removed.empty() && !none.complete);
    const ItemChanges byEtag =
        client.changesByEtag({{bodies.items[0].href, bodies.items[0].etag}, {"/alice/sync/gone.ics", "\"1\""}});
    EXPECT_EQ(hrefsOf(byEtag.changed), std::vector<std::string>{"/alice/sync/new1.ics"});
    EXPECT_EQ(byEtag.removed, std::vector<std::string>{"/alice/sync/gone.ics"});
    const ItemChanges stale = client.changesSince("http://radicale.org/ns/sync/0000");
    ASSERT_TRUE(stale.status.ok()) << stale.status.reason;
    EXPECT_TRUE(stale.complete);
    EXPECT_EQ(hrefsOf(stale.changed), hrefsOf(changes.changed));
}

TEST(CalDavServer, ListingsByTimeRangeAndFetchesAboveTheCap)
{
    CalDavClient client = clientOf("range");
    for (const auto& [name, start] : {std::pair{"jan", "20260110T000000Z"}, {"jun", "20260610T000000Z"}, {"todo", ""}})
        ASSERT_TRUE(client.create(std::string(name) + ".ics", ics(name, name, start)).status.ok());
    const ItemListing june = client.listItemsBetween(Component::Event, {{2026, 6, 1}}, {{2026, 7, 1}});
    EXPECT_EQ(hrefsOf(june.items), std::vector<std::string>{"/alice/range/jun.ics"});
    const ItemListing todos = client.listItemsBetween(Component::Todo, {{2026, 6, 1}}, {{2026, 7, 1}});
    EXPECT_EQ(hrefsOf(todos.items), std::vector<std::string>{"/alice/range/todo.ics"});
    EXPECT_EQ(client.listItems().items.size(), 3u);

    ASSERT_TRUE(client.create("huge.ics", ics("huge", std::string(6000, 'x'))).status.ok());
    CalDavClient capped(server().calendarUrl("range"), {"alice", RadicaleServer::kPassword, {}}, {4000});
    const ItemBodies bodies = capped.fetch({"/alice/range/jan.ics", "/alice/range/huge.ics", "/alice/range/jun.ics"});
    EXPECT_TRUE(bodies.status.ok() && bodies.items.size() == 2) << bodies.status.reason;
    EXPECT_EQ(bodies.tooLarge, std::vector<std::string>{"/alice/range/huge.ics"});
}

TEST(CalDavServer, NetrcGivesThePasswordOnlyWhenPrivate)
{
    // No keyring on a session without a bus: the netrc file is the only source.
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    ::setenv("XDG_RUNTIME_DIR", "/nonexistent", 1);
    EXPECT_EQ(keyringStore(server().calendarUrl("home"), "alice", "x").outcome, KeyringOutcome::Unavailable);
    TempFolder folder;
    folder.write("netrc",
                 "machine 127.0.0.1 login bob password x\nmachine 127.0.0.1 login alice password wonderland\n");
    for (const mode_t mode : {0600, 0640, 0604}) {
        ::chmod(folder.file("netrc").c_str(), mode);
        const CredentialsLookup lookup = lookupCredentials(server().calendarUrl("home"), "alice", folder.file("netrc"));
        EXPECT_EQ(lookup.status.error, mode == 0600 ? DavError::None : DavError::Credentials) << mode;
        EXPECT_FALSE(lookup.credentials.password);
        EXPECT_EQ(CalDavClient(server().calendarUrl("home"), lookup.credentials).discover().status.error,
                  mode == 0600 ? DavError::None : DavError::Unauthorized);
    }
}

TEST(CalDavFaults, EachFailingServerGivesItsOwnKind)
{
    const std::string calendar =
        "<multistatus xmlns=\"DAV:\"><response><href>/moved/</href><propstat><prop><resourcetype>"
        "<calendar xmlns=\"urn:ietf:params:xml:ns:caldav\"/></resourcetype></prop><status>"
        "HTTP/1.1 200 OK</status></propstat></response></multistatus>";
    struct Case {
        const char* name;
        std::vector<std::string> replies;
        DavError error;
        const char* scheme = "http";
    };
    const Case cases[] = {
        {"cut", {httpReply("207 Multi-Status", std::string(4000, ' ')).substr(0, 100)}, DavError::ConnectionCut},
        {"declared too large", {httpReply("207 Multi-Status", std::string(70000, ' '))}, DavError::TooLarge},
        {"grows too large", {"HTTP/1.1 207 Multi-Status\r\n\r\n" + std::string(70000, ' ')}, DavError::TooLarge},
        {"server error", {httpReply("503 Service Unavailable")}, DavError::ServerError},
        {"not XML", {httpReply("207 Multi-Status", "hello")}, DavError::BadReply},
        {"not HTTP", {"hello\r\n"}, DavError::BadReply},
        {"silent", {""}, DavError::Timeout},
        {"redirect elsewhere", {httpReply("301 Moved", {}, "Location: http://127.0.0.2:9/x/\r\n")}, DavError::Redirect},
        {"redirect to plain http", {httpReply("301 Moved", {}, "Location: http://a.jp/\r\n")}, DavError::InsecureUrl},
        {"redirect loop", {httpReply("302 Found", {}, "Location: /again/\r\n")}, DavError::Redirect},
        {"redirect on the server",
         {httpReply("301 Moved", {}, "Location: /moved\r\n"), httpReply("207 Multi-Status", calendar)},
         DavError::None},
        {"no TLS", {httpReply("200 OK")}, DavError::Tls, "https"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CannedHttpServer canned(c.replies);
        // Only the silent server may meet the time limit: a busy machine must never turn a
        // slow answer (the TLS handshake included) into a timeout.
        const long limitMs = c.error == DavError::Timeout ? 300 : 60000;
        CalDavClient client(c.scheme + canned.url("/cal/").substr(4), {}, {65536, limitMs, 60, limitMs, 5});
        const CollectionInfo info = client.discover();
        EXPECT_EQ(info.status.error, c.error) << info.status.reason;
        EXPECT_EQ(info.status.reason.empty(), c.error == DavError::None);
        EXPECT_EQ(info.url, c.error == DavError::None ? canned.url("/moved/") : "");
    }
}

TEST(CalDavFaults, CancelEndsAWaitingTransfer)
{
    CannedHttpServer silent({""});
    std::atomic<bool> cancel{false};
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cancel = true;
    });
    // Without the cancel the time limit would end it, as Timeout.
    EXPECT_EQ(CalDavClient(silent.url("/"), {}, {65536, 2000, 60, 5000, 5}, {&cancel, {}, 100}).discover().status.error,
              DavError::Cancelled);
    canceller.join();
}

// Run beside a keyring of its own (see tests/CMakeLists.txt).
TEST(CalDavKeyring, PasswordIsStoredFoundAndCleared)
{
    for (int waited = 0; !keyringRunning() && waited < 5000; waited += 20)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(keyringRunning());
    const std::string url = "https://dav.example.jp/cal/home/";
    EXPECT_EQ(keyringLookup(url, "alice").outcome, KeyringOutcome::Missing);
    EXPECT_EQ(keyringStore(url, "alice", "秘密 pw").outcome, KeyringOutcome::Done);
    EXPECT_EQ(keyringLookup(url, "alice").password, "秘密 pw");
    EXPECT_EQ(lookupCredentials(url, "alice", "").credentials.password, "秘密 pw");
    EXPECT_EQ(keyringClear(url, "alice").outcome, KeyringOutcome::Done);
    EXPECT_EQ(keyringLookup(url, "alice").outcome, KeyringOutcome::Missing);
}
