// The rows of both ToDo lists from a file of 2,000 entries, without the window.
#include "TodoData.h"
#include "todo/TodoList.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TodoRows(benchmark::State& state)
{
    const std::vector<std::string> lines = kal::bench::makeTodoLines();
    for (auto _ : state) {
        kal::TodoRows rows = kal::BuildTodoRows(lines, kal::Date{2026, 12, 8}, 3);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_TodoRows)->Unit(benchmark::kMillisecond);

void BM_TodoSortByTitle(benchmark::State& state)
{
    const kal::TodoRows rows = kal::BuildTodoRows(kal::bench::makeTodoLines(), kal::Date{2026, 12, 8}, 3);
    for (auto _ : state) {
        std::vector<std::size_t> order = kal::TodoSortOrder(rows.open, kal::TodoItem::Title, -1);
        benchmark::DoNotOptimize(order);
    }
}
BENCHMARK(BM_TodoSortByTitle)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
