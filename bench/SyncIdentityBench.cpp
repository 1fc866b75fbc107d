// A schedule save (a correction through the identity follower) in a folder whose Identity.dat
// holds 100,000 identities of past records whose month files the clean-up removed, against the
// same save in a folder without them: before the next sync forgets them, and after it. The
// folders and the syncs (against a collection in memory) are made outside the timed spans.
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "support/MemoryCollection.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"
#include "sync/SyncEngine.h"

#include <benchmark/benchmark.h>

using namespace kal;
using namespace kal::test;

namespace {

const Date kToday{2027, 1, 10};
constexpr int kPastIdentities = 100000;

SyncRequest requestFor(const TempFolder& folder)
{
    return {{folder.path(), folder.path(), folder.path()}, {"http://127.0.0.1/cal/", "alice", 12, 24, 0}, kToday, 10};
}

// 100 records this month, synced; with `past`, the identities of 100,000 records of months
// long gone appended; with `forgotten`, synced once more since.
struct Folder {
    TempFolder folder;
    MemoryCollection server;
    IdentityFollower follower{folder.path()};

    Folder(bool past, bool forgotten)
    {
        std::vector<std::string> month;
        for (int i = 0; i < 100; ++i)
            month.push_back(scheduleLine(1 + i % 28, "10:00", "予定 " + std::to_string(i)));
        bool ok =
            files::saveLines(MonthFilePath(folder.path(), 2027, 1), month) && runSync(requestFor(folder), server).ok;
        if (past) {
            IdentityTable table = loadIdentities(folder.path()).table;
            for (int i = 0; i < kPastIdentities; ++i) {
                const int year = 2000 + i % 20, monthOf = 1 + i % 12;
                table.add(RecordIdentity{"past-" + std::to_string(i),
                                         0,
                                         {MonthFileName(year, monthOf), 0, scheduleLine(1, "09:00", "昔の予定")},
                                         "/cal/past-" + std::to_string(i) + ".ics",
                                         "\"1\"",
                                         "0123456789ABCDEF0123456789ABCDEF",
                                         {}});
            }
            ok = ok && files::saveBytesWithin(identityFilePath(folder.path()), files::joinLines(table.lines()),
                                              kMaxIdentityFileBytes);
        }
        if (forgotten)
            ok = ok && runSync(requestFor(folder), server).ok;
        if (!ok)
            std::abort();
    }

    // Corrects the first record to the other of two titles.
    store::EditResult save(int round)
    {
        const std::string path = MonthFilePath(folder.path(), 2027, 1);
        const std::vector<std::string> lines = files::loadLines(path);
        ScheduleFields f = ReadSchedule(lines.front());
        f.title = sjis::fromUtf8Lossy(round % 2 ? "予定 A" : "予定 B");
        return CorrectSchedule({path, 0, lines.front()}, path, ComposeSchedule(f), store::Follower(&follower));
    }
};

// 0: no past identities; 1: 100,000 of them, before the next sync; 2: the same after it.
void BM_ScheduleSaveBesidePastIdentities(benchmark::State& state)
{
    Folder folder(state.range(0) > 0, state.range(0) == 2);
    int round = 0;
    for (auto _ : state)
        if (const store::EditResult saved = folder.save(round++); !saved.ok())
            state.SkipWithError(("the save failed: " + saved.reason).c_str());
}
BENCHMARK(BM_ScheduleSaveBesidePastIdentities)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
