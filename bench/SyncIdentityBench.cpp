// A schedule save (a correction through the identity follower) in a folder that holds 100,000
// identities of past records whose month files the clean-up removed, against the same save in a
// folder without them: before the next sync forgets them, and after it. They come in one
// Identity.dat as a folder synced before kept them, split by a first save outside the timed
// spans; the split itself is timed apart. The folders and the syncs (against a collection in
// memory) are made outside the timed spans.
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "support/MemoryCollection.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"
#include "sync/SyncEngine.h"

#include <benchmark/benchmark.h>

#include <memory>

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
// long gone in an Identity.dat of before, split by a save; with `forgotten`, synced once more since.
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
        if (past)
            ok = ok && writePast(folder.path()) && save(1).ok();
        if (forgotten)
            ok = ok && runSync(requestFor(folder), server).ok;
        if (!ok)
            std::abort();
    }

    // The identities of this month's records and the past ones, all in Identity.dat.
    static bool writePast(const std::string& programFolder)
    {
        IdentityTable table = loadIdentities(programFolder).table;
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
        for (const std::string& name : identityFileNames(programFolder))
            std::remove((programFolder + name).c_str());
        return files::saveBytesWithin(identityFilePath(programFolder), files::joinLines(table.lines()),
                                      kMaxIdentityFileBytes)
            .ok;
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

// Once per folder: the 100,000 identities of an Identity.dat of before moved to their files.
void BM_SplitOfAnIdentityFileOfBefore(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<Folder>(false, false);
        const bool written = Folder::writePast(folder->folder.path());
        state.ResumeTiming();
        if (const files::IoResult split = splitIdentityFile(folder->folder.path()); !written || !split)
            state.SkipWithError(("the split failed: " + split.reason).c_str());
        state.PauseTiming();
        folder.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SplitOfAnIdentityFileOfBefore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
