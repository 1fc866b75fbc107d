// Time of one repeat expansion written into a data folder: 99 days every day, and a monthly
// schedule over ten years. The files are removed between iterations, outside the timing.
#include "BenchFolder.h"
#include "platform/SjisCodec.h"
#include "schedule/Repeat.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

kal::ScheduleFields fields()
{
    kal::ScheduleFields f;
    f.start = "09:30";
    f.end = "10:00";
    f.title = kal::sjis::fromUtf8Lossy("定例会議と打ち合わせ");
    f.place = kal::sjis::fromUtf8Lossy("本社第二会議室");
    f.sound = f.message = true;
    return f;
}

void expand(benchmark::State& state, const kal::RepeatRule& rule, const kal::RepeatPeriod& period)
{
    kal::bench::BenchFolder folder("kalendra-repeat");
    const kal::ScheduleFields f = fields();
    for (auto _ : state) {
        kal::RepeatWriteResult written = kal::RepeatSchUd(folder.path, rule, period, f);
        if (!written.result.ok())
            state.SkipWithError(written.result.reason.c_str());
        benchmark::DoNotOptimize(written);
        state.PauseTiming();
        folder.empty();
        state.ResumeTiming();
    }
}

void BM_RepeatEveryDay99(benchmark::State& state)
{
    expand(state, kal::RepeatRule{}, {{2026, 11, 20}, kal::SpinDayChange({2026, 11, 20}, 99)});
}
BENCHMARK(BM_RepeatEveryDay99)->Unit(benchmark::kMillisecond);

void BM_RepeatMonthlyTenYears(benchmark::State& state)
{
    kal::RepeatRule rule;
    rule.pattern = kal::RepeatPattern::MonthlyOnDay;
    rule.dayOfMonth = 25;
    expand(state, rule, {{2027, 1, 1}, {2036, 12, 31}});
}
BENCHMARK(BM_RepeatMonthlyTenYears)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
