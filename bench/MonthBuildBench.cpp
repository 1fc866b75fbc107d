// Time of one month build on ten years of data.
#include "BenchData.h"
#include "calendar/MonthBuild.h"

#include <benchmark/benchmark.h>

namespace {

const std::string& folder()
{
    static const kal::bench::BenchFolder data(kal::bench::makeTenYearFolder());
    return data.path;
}

void BM_MonthBuild(benchmark::State& state)
{
    kal::MonthBuildInput input;
    input.year = 2026;
    input.month = 12;
    input.today = kal::Date{2026, 12, 8};
    input.calView = {1, 1, 1, 1, 1, 1, 1, 0, 0};
    input.rikuyo = {1, 1, 1, 1, 1, 1, 0, 0, 0};
    input.dataPath = folder();
    input.memoPath = folder();
    int month = 0;
    for (auto _ : state) {
        input.year = 2017 + month / 12;
        input.month = 1 + month % 12;
        month = (month + 1) % 120;
        kal::MonthBuild build = kal::BuildMonth(input);
        benchmark::DoNotOptimize(build);
    }
}
BENCHMARK(BM_MonthBuild)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
