// The rows of both ToDo lists from a file of 2,000 entries, without the window (their sort by
// a column is in qt/ColumnSortBench, as it needs the Japanese collator).
#include "TodoData.h"
#include "todo/TodoList.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TodoRows(benchmark::State& state)
{
    const std::vector<std::string> lines = kal::bench::makeTodoLines();
    for (auto _ : state) {
        kal::TodoRows rows = kal::BuildTodoRows("ToDo.dat", lines, kal::Date{2026, 12, 8}, 3);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_TodoRows)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
