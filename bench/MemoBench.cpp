// Reading memos for the list window and the week view: ten years of daily memos (3,653 files of
// five lines) in the folder; one week, one year and all ten years read at once. And one check of
// the password hash, which must stay well under a second.
#include "BenchFolder.h"
#include "app/Password.h"
#include "memo/DayMemo.h"

#include <benchmark/benchmark.h>

namespace {

const kal::bench::BenchFolder& memoFolder()
{
    static const kal::bench::BenchFolder folder{[] {
        const std::string path = kal::bench::makeTempFolder("kalendra-memo-bench");
        for (kal::Date day{2016, 1, 1}; day <= kal::Date{2025, 12, 31}; day = kal::addDays(day, 1))
            if (!kal::SaveDayMemo(path, day, {"line one", "line two", "line three", "line four", "line five"}))
                std::abort();
        return path;
    }()};
    return folder;
}

void BM_DayMemosOfRange(benchmark::State& state)
{
    const std::string& path = memoFolder().path;
    const kal::Date from{2025, 6, 1};
    const kal::Date to = kal::addDays(from, state.range(0) - 1);
    for (auto _ : state) {
        std::vector<kal::DayMemoText> memos = kal::LoadDayMemos(path, from, to);
        benchmark::DoNotOptimize(memos);
    }
}
BENCHMARK(BM_DayMemosOfRange)->Arg(7)->Arg(365)->Unit(benchmark::kMillisecond);

void BM_AllDayMemos(benchmark::State& state)
{
    const std::string& path = memoFolder().path;
    for (auto _ : state) {
        std::vector<kal::DayMemoText> memos = kal::LoadDayMemos(path, {1900, 1, 1}, {2099, 12, 31});
        benchmark::DoNotOptimize(memos);
    }
}
BENCHMARK(BM_AllDayMemos)->Unit(benchmark::kMillisecond);

void BM_PasswordCheck(benchmark::State& state)
{
    const kal::PasswordFile file = kal::ParsePasswordFile(*kal::HashPassword("abcd1234") + "\r\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(kal::checkPassword(file, "abcd1234"));
}
BENCHMARK(BM_PasswordCheck)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

BENCHMARK_MAIN();
