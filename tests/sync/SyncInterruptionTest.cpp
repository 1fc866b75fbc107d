// A small sync (a change, a removal and a new record here, a new item and a conflict there)
// broken at each of its requests in each way a sync can break: the request cut before it
// arrives, its reply lost after it took effect, the process killed before or after it. The next
// sync must end where an unbroken one ends: nothing doubled, no conflict copy made twice.
#include "support/MemoryCollection.h"
#include "support/SyncFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

// The folder and the collection after a first sync of three records and the changes since.
void prepare(SyncFolder& folder, MemoryCollection& server)
{
    folder.add({2027, 1, 20}, "10:00", "11:00", "定例");
    folder.add({2027, 1, 22}, "15:00", "", "歯医者");
    folder.add({2027, 1, 23}, "13:00", "14:00", "会議");
    ASSERT_TRUE(folder.sync(server).ok);
    folder.correct({2027, 1, 20}, "定例", "定例（手元）");
    folder.correct({2027, 1, 22}, "歯医者", std::nullopt);
    folder.correct({2027, 1, 23}, "会議", "会議（手元）");
    folder.add({2027, 1, 21}, "22:00", "02:00", "髙橋さん夜勤");
    server.retitle("会議", "会議（先方）");
    server.put("peer.ics", MemoryCollection::event("peer", "20270124", "先方の予定"));
}

} // namespace

TEST(SyncInterruptions, ASyncBrokenAtAnyRequestEndsAsAnUnbrokenOne)
{
    const std::vector<std::string> here{"2027/01/20 10:00-11:00 定例（手元）", "2027/01/21 22:00-02:00 髙橋さん夜勤",
                                        "2027/01/23 13:00-14:00 会議（先方）",
                                        "2027/01/23 13:00-14:00 （競合）会議（手元）", "2027/01/24 - 先方の予定"};
    const std::vector<std::string> there{"会議（先方）", "先方の予定", "定例（手元）", "髙橋さん夜勤",
                                         "（競合）会議（手元）"}; // in byte order
    int requests = 0;
    {
        SyncFolder folder;
        MemoryCollection server;
        prepare(folder, server);
        FaultyCollection counted(server);
        ASSERT_TRUE(folder.sync(counted).ok);
        requests = counted.requests;
        ASSERT_EQ(folder.records(), here);
        ASSERT_EQ(server.summaries(), there);
    }
    using Fault = FaultyCollection::Fault;
    for (int at = 1; at <= requests; ++at)
        for (const Fault fault : {Fault::Cut, Fault::LoseReply, Fault::KillBefore, Fault::KillAfter}) {
            SCOPED_TRACE(testing::Message() << "request " << at << " of " << requests << ", fault " << int(fault));
            SyncFolder folder;
            MemoryCollection server;
            prepare(folder, server);
            FaultyCollection faulty(server);
            faulty.failAt(at, fault);
            try {
                folder.sync(faulty);
            } catch (const SyncKilled&) {
            }
            const SyncOutcome resumed = folder.sync(server);
            EXPECT_TRUE(resumed.ok) << resumed.reason;
            EXPECT_EQ(folder.records(), here);
            EXPECT_EQ(server.summaries(), there);
            const SyncOutcome quiet = folder.sync(server);
            EXPECT_EQ(countsOf(quiet), syncSummary({}));
            EXPECT_FALSE(quiet.wroteFiles);
        }
}

// A record edited after the sync that created its item lost the reply: what the server holds is
// that sync's write, so the edit goes up as an edit, never as a conflict with itself.
TEST(SyncInterruptions, AnEditAfterALostCreateReplyGoesUpAsAnEdit)
{
    SyncFolder folder;
    MemoryCollection server;
    folder.add({2027, 1, 21}, "22:00", "02:00", "髙橋さん夜勤");
    FaultyCollection faulty(server);
    faulty.failAt(1, FaultyCollection::Fault::LoseReply, FaultyCollection::Request::Create);
    EXPECT_FALSE(folder.sync(faulty).ok);
    folder.correct({2027, 1, 21}, "髙橋さん夜勤", "髙橋さん夜勤（交代）");

    const SyncOutcome next = folder.sync(server);
    EXPECT_TRUE(next.ok) << next.reason;
    EXPECT_EQ(next.counts.conflicts, 0);
    EXPECT_EQ(folder.records(), std::vector<std::string>{"2027/01/21 22:00-02:00 髙橋さん夜勤（交代）"});
    EXPECT_EQ(server.summaries(), std::vector<std::string>{"髙橋さん夜勤（交代）"});
}

// Removed here and, just before the removal arrives, there too: the item is gone as wanted.
TEST(SyncInterruptions, ARemovalOfAnItemRemovedThereMeanwhileIsDone)
{
    SyncFolder folder;
    MemoryCollection server;
    folder.add({2027, 1, 21}, "10:00", "11:00", "定例");
    ASSERT_TRUE(folder.sync(server).ok);
    folder.correct({2027, 1, 21}, "定例", std::nullopt);
    FaultyCollection meddling(server);
    meddling.failAt(1, FaultyCollection::Fault::None, FaultyCollection::Request::Remove,
                    [&] { server.erase(server.hrefs().front()); });

    const SyncOutcome removal = folder.sync(meddling);
    EXPECT_TRUE(removal.ok) << removal.reason;
    EXPECT_TRUE(folder.records().empty());
    EXPECT_TRUE(server.hrefs().empty());
    EXPECT_EQ(countsOf(folder.sync(server)), syncSummary({}));
}
