// What one sync decides for each pair of states of a synced record, here and on the server,
// against a collection held in memory: the records left here, the items left there and the
// summary.
#include "support/MemoryCollection.h"
#include "support/SyncFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

enum class Local { Unchanged, Changed, Deleted, New };
enum class Server { Unchanged, Changed, Deleted, New, Unreadable };

const Date kDay{2027, 1, 20}, kNewDay{2027, 1, 21};
const std::string kBroken = "BEGIN:VCALENDAR\r\nBROKEN\r\n";
const std::string kNewItem = MemoryCollection::event("peer-new", "20270121", "新規");

void changeLocal(SyncFolder& folder, Local local)
{
    if (local == Local::Changed)
        folder.correct(kDay, "定例", "定例（手元）");
    else if (local == Local::Deleted)
        folder.correct(kDay, "定例", std::nullopt);
    else if (local == Local::New)
        folder.add(kNewDay, "", "", "新規");
}

void changeServer(MemoryCollection& server, const std::string& href, Server change)
{
    if (change == Server::Changed)
        server.retitle("定例", "定例（先方）");
    else if (change == Server::Deleted)
        server.erase(href);
    else if (change == Server::New)
        server.put("new.ics", kNewItem);
    else if (change == Server::Unreadable)
        server.edit(href, kBroken);
}

std::string summary(int received, int sent, int updated, int deleted, int conflicts, int unreadable = 0)
{
    return syncSummary({received, sent, updated, deleted, conflicts, 0, 0, unreadable});
}

} // namespace

TEST(SyncDecisions, EachPairOfStatesHereAndThere)
{
    const std::string a = "2027/01/20 10:00-11:00 定例", mine = "2027/01/20 10:00-11:00 定例（手元）",
                      theirs = "2027/01/20 10:00-11:00 定例（先方）", fresh = "2027/01/21 - 新規",
                      copy = "2027/01/20 10:00-11:00 （競合）定例（手元）";
    struct Case {
        Local local;
        Server server;
        std::vector<std::string> here;
        std::vector<std::string> there; // in byte order
        std::string summary;
    };
    const Case cases[] = {
        {Local::Unchanged, Server::Unchanged, {a}, {"定例"}, summary(0, 0, 0, 0, 0)},
        {Local::Unchanged, Server::Changed, {theirs}, {"定例（先方）"}, summary(0, 0, 1, 0, 0)},
        {Local::Unchanged, Server::Deleted, {}, {}, summary(0, 0, 0, 1, 0)},
        {Local::Unchanged, Server::New, {a, fresh}, {"定例", "新規"}, summary(1, 0, 0, 0, 0)},
        {Local::Unchanged, Server::Unreadable, {a}, {"?"}, summary(0, 0, 0, 0, 0, 1)},
        {Local::Changed, Server::Unchanged, {mine}, {"定例（手元）"}, summary(0, 0, 1, 0, 0)},
        {Local::Changed,
         Server::Changed,
         {theirs, copy},
         {"定例（先方）", "（競合）定例（手元）"},
         summary(0, 1, 0, 0, 1)},
        // Deleted there after an edit here: the edit is not lost, it goes up anew.
        {Local::Changed, Server::Deleted, {mine}, {"定例（手元）"}, summary(0, 1, 0, 0, 0)},
        {Local::Changed, Server::New, {mine, fresh}, {"定例（手元）", "新規"}, summary(1, 0, 1, 0, 0)},
        {Local::Changed, Server::Unreadable, {mine}, {"?"}, summary(0, 0, 0, 0, 0, 1)},
        {Local::Deleted, Server::Unchanged, {}, {}, summary(0, 0, 0, 1, 0)},
        // Changed there after a removal here: the server's version comes back.
        {Local::Deleted, Server::Changed, {theirs}, {"定例（先方）"}, summary(0, 0, 0, 0, 1)},
        {Local::Deleted, Server::Deleted, {}, {}, summary(0, 0, 0, 0, 0)},
        {Local::Deleted, Server::New, {fresh}, {"新規"}, summary(1, 0, 0, 1, 0)},
        {Local::Deleted, Server::Unreadable, {}, {"?"}, summary(0, 0, 0, 0, 0, 1)},
        {Local::New, Server::Unchanged, {a, fresh}, {"定例", "新規"}, summary(0, 1, 0, 0, 0)},
        {Local::New, Server::Changed, {theirs, fresh}, {"定例（先方）", "新規"}, summary(0, 1, 1, 0, 0)},
        {Local::New, Server::Deleted, {fresh}, {"新規"}, summary(0, 1, 0, 1, 0)},
        // The same entered on both sides: one record, one item.
        {Local::New, Server::New, {a, fresh}, {"定例", "新規"}, summary(0, 0, 0, 0, 0)},
        {Local::New, Server::Unreadable, {a, fresh}, {"?", "新規"}, summary(0, 1, 0, 0, 0, 1)},
    };
    // Without sync-collection the listing goes by ETags; the same decisions follow.
    for (const bool tokens : {true, false})
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message()
                         << "local " << int(c.local) << ", server " << int(c.server) << ", tokens " << tokens);
            MemoryCollection server;
            server.tokens = tokens;
            SyncFolder folder;
            folder.add(kDay, "10:00", "11:00", "定例");
            ASSERT_TRUE(folder.sync(server).ok);
            ASSERT_EQ(server.hrefs().size(), 1u);
            changeLocal(folder, c.local);
            changeServer(server, server.hrefs().front(), c.server);

            const SyncOutcome outcome = folder.sync(server);
            EXPECT_EQ(countsOf(outcome), c.summary);
            EXPECT_EQ(folder.records(), c.here);
            EXPECT_EQ(server.summaries(), c.there);
            // Settled: the next sync finds nothing to do but what it cannot read.
            const SyncOutcome again = folder.sync(server);
            EXPECT_EQ(countsOf(again), summary(0, 0, 0, 0, 0, c.server == Server::Unreadable));
            // By ETags, the collection's tag after the sync's own writes is kept once more.
            EXPECT_TRUE(!again.wroteFiles || !tokens);
            EXPECT_EQ(folder.records(), c.here);
        }
}

// An item that cannot be read stays to be fetched at every sync, and comes in once it reads.
TEST(SyncDecisions, AnUnreadableItemIsFetchedAgainUntilItReads)
{
    for (const bool tokens : {true, false}) {
        SCOPED_TRACE(tokens ? "sync token" : "ETags");
        MemoryCollection server;
        server.tokens = tokens;
        SyncFolder folder;
        server.put("broken.ics", kBroken);
        EXPECT_EQ(countsOf(folder.sync(server)), summary(0, 0, 0, 0, 0, 1));
        EXPECT_EQ(countsOf(folder.sync(server)), summary(0, 0, 0, 0, 0, 1));
        server.edit("/cal/broken.ics", MemoryCollection::event("peer-new", "20270121", "直った"));
        EXPECT_EQ(countsOf(folder.sync(server)), summary(1, 0, 0, 0, 0));
        EXPECT_EQ(folder.records(), std::vector<std::string>{"2027/01/21 - 直った"});
        EXPECT_EQ(countsOf(folder.sync(server)), summary(0, 0, 0, 0, 0));
    }
}

// Identities the sync will never need again are forgotten: a month before the window whose file
// the clean-up removed, a record gone from the window that was never synced. They were all in
// the one Identity.dat of before: the sync finds the others after it is split.
TEST(SyncDecisions, IdentitiesOfRecordsGoneForGoodAreForgotten)
{
    MemoryCollection server;
    SyncFolder folder;
    folder.today = {2025, 6, 10};
    folder.add({2025, 6, 12}, "", "", "昔の予定");
    folder.add({2027, 1, 20}, "10:00", "11:00", "定例");
    ASSERT_TRUE(folder.sync(server).ok);
    folder.today = {2027, 1, 10};
    std::remove(MonthFilePath(folder.path(), 2025, 6).c_str());
    IdentityTable table = loadIdentities(folder.path()).table;
    table.add(RecordIdentity{"exported", 0, {"202701.sch", 0, "no such line"}, {}, {}, {}, {}});
    for (const std::string& name : identityFileNames(folder.path()))
        std::remove(folder.folder().file(name).c_str());
    ASSERT_TRUE(files::saveLines(identityFilePath(folder.path()), table.lines()));

    EXPECT_EQ(countsOf(folder.sync(server)), summary(0, 0, 0, 0, 0));
    IdentityFile left = loadIdentities(folder.path());
    ASSERT_EQ(left.table.all().size(), 1u);
    EXPECT_EQ(left.table.all().front()->key.file, "202701.sch");
    EXPECT_EQ(identityFileNames(folder.path()), std::vector<std::string>{"Identity-202701.dat"});
    EXPECT_FALSE(files::fileExists(identityFilePath(folder.path())));
    EXPECT_EQ(server.hrefs().size(), 2u);
}
