// What the folder lock adds to a schedule save: one record added to a month file of a folder of
// ten years of schedules and memos, as every save runs (the lock taken, which also looks for a
// change a killed writer left, then read, sort and atomic save), beside the same save without the
// lock; and the lock alone. The month file gets its old content back before each save, untimed.
#include "BenchData.h"
#include "memo/DayMemo.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "schedule/ScheduleRecord.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

const std::string& folder()
{
    static const kal::bench::BenchFolder tenYears(kal::bench::makeTenYearFolder());
    return tenYears.path;
}

const std::string kAdded =
    kal::ComposeSchedule({15, "12:00", "13:00", "", false, false, false, false, false, false, "lunch", ""});

bool saveWithLock(const std::string& path)
{
    return kal::AddSchedule(path, kAdded).ok();
}

// The same read, sort and atomic save without the lock.
bool saveWithoutLock(const std::string& path)
{
    kal::files::LoadForUpdate loaded = kal::files::loadLinesForUpdate(path);
    loaded.lines.push_back(kAdded);
    kal::text::sortNoCase(loaded.lines);
    return loaded.ok && kal::files::saveLines(path, loaded.lines).ok;
}

// A save with the lock and one without in turn, each in front half of the time, so that both
// meet the same disk and the same load: the benchmark's time is the save with the lock, the
// counter "without_ms" the save without it.
void BM_ScheduleSave(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    const std::string path = kal::MonthFilePath(folder(), 2024, 3);
    const std::string before = kal::files::readBytes(path).value_or("");
    auto timed = [&](bool (*save)(const std::string&)) {
        kal::files::saveBytes(path, before);
        const Clock::time_point start = Clock::now();
        if (!save(path))
            state.SkipWithError("the save failed");
        return std::chrono::duration<double>(Clock::now() - start).count();
    };
    double without = 0;
    bool lockFirst = true;
    for (auto _ : state) {
        double with = 0;
        if (lockFirst) {
            with = timed(saveWithLock);
            without += timed(saveWithoutLock);
        } else {
            without += timed(saveWithoutLock);
            with = timed(saveWithLock);
        }
        lockFirst = !lockFirst;
        state.SetIterationTime(with);
    }
    state.counters["without_ms"] = 1000 * without / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ScheduleSave)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_FolderLockTakenAndReleased(benchmark::State& state)
{
    for (auto _ : state) {
        kal::files::FolderLock lock = kal::files::lockFolder(folder());
        benchmark::DoNotOptimize(lock.ok());
    }
}
BENCHMARK(BM_FolderLockTakenAndReleased)->Unit(benchmark::kMicrosecond);

// A day memo saved (with the lock, as the memo panel saves) into a folder of 100 years of daily
// memos, 36,500 files, beside the same save into a folder of one year's (365): a save must cost
// the same whatever else the folder holds. The saves follow each other, as a user's edits do.
void BM_MemoSave(benchmark::State& state)
{
    static const kal::bench::BenchFolder oneYear(
        kal::bench::makeDataFolder({.firstYear = 2026, .years = 1, .schedulesPerMonth = 0, .memosPerYear = 365}));
    static const kal::bench::BenchFolder hundredYears(
        kal::bench::makeDataFolder({.firstYear = 1927, .years = 100, .schedulesPerMonth = 0, .memosPerYear = 365}));
    const std::string& path = state.range(0) == 365 ? oneYear.path : hundredYears.path;
    int n = 0;
    for (auto _ : state)
        if (!kal::SaveDayMemo(path, {2026, 6, 1}, {"memo", std::to_string(++n)}))
            state.SkipWithError("the save failed");
}
BENCHMARK(BM_MemoSave)->Arg(365)->Arg(36500)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
