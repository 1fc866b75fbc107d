// Time of one month build on generated data of 1, 10 and 100 years (2017 onwards), every month
// of the first ten years in turn: the cost must not grow with the years.
#include "BenchData.h"
#include "calendar/CellPaint.h"
#include "calendar/Holidays.h"
#include "calendar/MonthBuild.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoRecord.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace {

const std::string& folder(int years)
{
    static std::map<int, kal::bench::BenchFolder> folders;
    auto found = folders.find(years);
    if (found == folders.end()) {
        kal::gendata::DataShape shape;
        shape.years = years;
        found = folders.try_emplace(years, kal::bench::makeDataFolder(shape)).first;
    }
    return found->second.path;
}

void BM_MonthBuild(benchmark::State& state)
{
    const int years = static_cast<int>(state.range(0));
    kal::MonthBuildInput input;
    input.today = kal::Date{2026, 12, 8};
    input.calView = kal::CalViewFlags({1, 1, 1, 1, 1, 1, 1, 0, 0});
    input.rikuyo = kal::RokuyoFlags({1, 1, 1, 1, 1, 1});
    input.dataPath = folder(years);
    input.memoPath = folder(years);
    const int months = 12 * std::min(years, 10);
    int month = 0;
    for (auto _ : state) {
        input.year = 2017 + month / 12;
        input.month = 1 + month % 12;
        month = (month + 1) % months;
        kal::MonthBuild build = kal::BuildMonth(input);
        benchmark::DoNotOptimize(build);
    }
}
BENCHMARK(BM_MonthBuild)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

// A month build on 10 years and the 42 cells composed for drawing, with the old-calendar date,
// the solar terms and the seasonal days shown (1) or not (0).
void BM_MonthBuildAndCells(benchmark::State& state)
{
    kal::MonthBuildInput input;
    input.today = kal::Date{2026, 12, 8};
    input.calView = kal::CalViewFlags({1, 1, 1, 1, 1, 1, 1, 0, 0});
    input.rikuyo = kal::RokuyoFlags({1, 1, 1, 1, 1, 1});
    input.dataPath = folder(10);
    input.memoPath = folder(10);
    kal::CalendarLook look;
    look.calView = input.calView;
    const bool shown = state.range(0) != 0;
    look.almanac = {shown, shown, shown};
    const kal::CategoryTable categories = kal::CategoryTable::Load(folder(10) + kal::kCategoryFileName);
    int month = 0;
    for (auto _ : state) {
        input.year = 2017 + month / 12;
        input.month = 1 + month % 12;
        month = (month + 1) % 120;
        const kal::MonthBuild build = kal::BuildMonth(input);
        for (int row = 1; row <= 6; ++row)
            for (int column = 0; column < 7; ++column) {
                kal::CellPaint cell =
                    kal::PaintCell(build.layout, build.lists, categories, look, input.today, column, row);
                benchmark::DoNotOptimize(cell);
            }
    }
}
BENCHMARK(BM_MonthBuildAndCells)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The floor of the build above, for the same months: opening and reading the files one build
// reads (the month files it shows, the holiday table, the ToDo file) into one buffer, and nothing
// else. Run interleaved with it (--benchmark_enable_random_interleaving) so both see the same load.
void BM_MonthBuildFloor(benchmark::State& state)
{
    const int years = static_cast<int>(state.range(0));
    const std::string& path = folder(years);
    std::vector<std::vector<std::string>> filesOfMonth;
    for (int month = 0; month < 12 * std::min(years, 10); ++month) {
        const int year = 2017 + month / 12;
        const kal::MonthLayout layout = kal::BuildLayout(year, 1 + month % 12, kal::WeekStart::Sunday);
        std::vector<std::string> files{path + kal::kHolidayFileName, path + kal::kTodoFileName};
        if (layout.prevShown)
            files.push_back(kal::MonthFilePath(path, layout.prevYear, layout.prevMonth));
        files.push_back(kal::MonthFilePath(path, year, 1 + month % 12));
        if (layout.nextShown)
            files.push_back(kal::MonthFilePath(path, layout.nextYear, layout.nextMonth));
        filesOfMonth.push_back(std::move(files));
    }
    std::vector<char> buffer(1 << 16);
    std::size_t month = 0;
    for (auto _ : state) {
        for (const std::string& file : filesOfMonth[month]) {
            const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                continue;
            while (::read(fd, buffer.data(), buffer.size()) > 0) { }
            ::close(fd);
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
        month = (month + 1) % filesOfMonth.size();
    }
}
BENCHMARK(BM_MonthBuildFloor)->Arg(10)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
