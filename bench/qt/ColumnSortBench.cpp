// The column sorts with the Japanese collator, without the windows: the ToDo list of 2,000
// entries by title, and the list window's ALL view of ten years (6,000 rows) and a hundred
// years (120,000 rows) by title.
#include "BenchData.h"
#include "QtBenchMain.h"
#include "TodoData.h"
#include "lists/Search.h"
#include "platform/qt/JapaneseCollation.h"
#include "todo/TodoList.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <numeric>

namespace {

constexpr int kTitleColumn = 4;

void BM_TodoSortByTitle(benchmark::State& state)
{
    const kal::TodoRows rows = kal::BuildTodoRows("ToDo.dat", kal::bench::makeTodoLines(), kal::Date{2026, 12, 8}, 3);
    for (auto _ : state) {
        std::vector<std::size_t> order =
            kal::TodoSortOrder(rows.open, kal::TodoItem::Title, -1, kal::qt::japaneseCollation());
        benchmark::DoNotOptimize(order);
    }
}
BENCHMARK(BM_TodoSortByTitle)->Unit(benchmark::kMillisecond);

void sortAllView(benchmark::State& state, int firstYear, int years, int perMonth, std::size_t expectedRows)
{
    kal::gendata::DataShape shape;
    shape.firstYear = firstYear;
    shape.years = years;
    shape.schedulesPerMonth = perMonth;
    shape.memosPerYear = 0;
    const kal::bench::BenchFolder folder(kal::bench::makeDataFolder(shape));
    const kal::ListRows rows = kal::ListSchEdit(folder.path, kal::ListScope::All, kal::Date{2026, 12, 8});
    if (rows.rows.size() != expectedRows)
        std::abort();
    std::vector<std::size_t> shown(rows.rows.size());
    std::iota(shown.begin(), shown.end(), std::size_t{0});
    for (auto _ : state) {
        std::vector<std::size_t> order =
            kal::ListSortOrder(rows, shown, kTitleColumn, -1, kal::qt::japaneseCollation());
        benchmark::DoNotOptimize(order);
    }
}

void BM_ListSortTenYears(benchmark::State& state)
{
    sortAllView(state, 2017, 10, 50, 6000);
}
BENCHMARK(BM_ListSortTenYears)->Unit(benchmark::kMillisecond);

void BM_ListSortHundredYears(benchmark::State& state)
{
    sortAllView(state, 1927, 100, 100, 120000);
}
BENCHMARK(BM_ListSortHundredYears)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return kal::bench::runQtBenchmarks(argc, argv);
}
