// The search alone, without the program's start: the folder of bench/search.sh (100 years of
// month files with 100 schedules each, 36,500 daily memos), one schedule in fifty and one memo in
// twenty holding the keyword. Each run lists the folder, reads the files and makes the rows.
#include "BenchFolder.h"
#include "DataGenerator.h"
#include "lists/Search.h"
#include "platform/Files.h"
#include "platform/FolderNames.h"
#include "platform/NumberFormat.h"
#include "schedule/ScheduleRecord.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string kKeyword = "Budget";

std::string scheduleLine(int n, int i)
{
    static const std::string titles[] = {"\x92\xe8\x97\xe1\x89\xef\x8b\x63", "\x91\xc5\x82\xbf\x8d\x87\x82\xed ABC",
                                         "Lunch with the team", "Weekly report"};
    static const std::string categories[] = {"\x8e\x64\x8e\x96          ", "\x8e\x84\x97\x70          ",
                                             "              "};
    const std::string title = n % 50 == 7 ? titles[0] + " " + kKeyword + " review" : titles[n % 4];
    const std::string start = i % 5 == 0 ? "     " : kal::text::formatInt(8 + i % 10, 2, '0') + (i % 2 ? ":30" : ":00");
    std::string line = kal::text::formatInt(i * 28 / 100 + 1, 2, '0') + start + "     " + categories[i % 3] + "00" +
                       std::to_string(i % 2) + std::to_string(i % 2);
    if (i % 4 == 0)
        return line + title;
    return line + title + std::string(40 - std::min<std::size_t>(title.size(), 40), ' ') + "Head office";
}

const kal::bench::BenchFolder& searchFolder()
{
    static const kal::bench::BenchFolder folder{[] {
        const std::string path = kal::bench::makeTempFolder("kalendra-search-bench");
        int n = 0;
        for (int month = 0; month < 1200; ++month) {
            std::vector<std::string> lines;
            for (int i = 0; i < 100; ++i, ++n)
                lines.push_back(scheduleLine(n, i));
            const std::string name = std::to_string(1927 + month / 12) + kal::text::formatInt(1 + month % 12, 2, '0');
            if (!kal::files::saveLines(path + name + ".sch", lines, kal::gendata::unflushedFileOps()))
                std::abort();
        }
        kal::Date day{1927, 1, 1};
        for (int i = 0; i < 36500; ++i, day = kal::addDays(day, 1)) {
            const std::vector<std::string> memo{"First line", i % 20 == 3 ? kKeyword + " meeting" : "the post office"};
            const std::string name = kal::text::formatInt(day.year, 4, '0') + kal::text::formatInt(day.month, 2, '0') +
                                     kal::text::formatInt(day.day, 2, '0') + ".mem";
            if (!kal::files::saveLines(path + name, memo, kal::gendata::unflushedFileOps()))
                std::abort();
        }
        // The search keeps the month files' names once the folder's times are settled, and lists
        // the folder only after its names change (BM_ListSearchFolder): the state measured here.
        kal::files::namesOfKind(path, {"settle", [](std::string_view) { return false; }});
        std::this_thread::sleep_for(kal::files::kFolderSettleTime + std::chrono::milliseconds(100));
        return path;
    }()};
    return folder;
}

void BM_SearchSchedules(benchmark::State& state)
{
    kal::SearchCriteria criteria;
    criteria.keyword = kKeyword;
    criteria.letterCase = state.range(0) ? kal::LetterCase::Match : kal::LetterCase::Ignore;
    for (auto _ : state) {
        kal::ListRows rows = kal::SchFindEdit(searchFolder().path, criteria);
        benchmark::DoNotOptimize(rows);
    }
}
// The search reads on a thread per processor: the processor time of all of them.
BENCHMARK(BM_SearchSchedules)->Arg(0)->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_SearchMemos(benchmark::State& state)
{
    kal::SearchCriteria criteria;
    criteria.target = kal::SearchTarget::Memos;
    criteria.keyword = kKeyword;
    for (auto _ : state) {
        kal::ListRows rows = kal::MemoFindEdit(searchFolder().path, criteria);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_SearchMemos)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The floor of the schedule search: opening and reading the month files it reads, into one
// buffer, and nothing else (their paths are known beforehand).
void BM_SearchSchedulesFloor(benchmark::State& state)
{
    std::vector<std::string> paths;
    for (int month = 0; month < 1200; ++month)
        paths.push_back(searchFolder().path + std::to_string(1927 + month / 12) +
                        kal::text::formatInt(1 + month % 12, 2, '0') + ".sch");
    std::vector<char> buffer(1 << 16);
    for (auto _ : state) {
        for (const std::string& path : paths) {
            const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                std::abort();
            while (::read(fd, buffer.data(), buffer.size()) > 0) { }
            ::close(fd);
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SearchSchedulesFloor)->Unit(benchmark::kMillisecond);

// The listing of the folder a search needs after the folder's names changed: 38,700 names (mostly
// memos) read from the file system, the 1,200 month files kept.
void BM_ListSearchFolder(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<std::string> names = kal::files::listNames(
            searchFolder().path, [](std::string_view name) { return kal::MonthOfFile(name).has_value(); });
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(BM_ListSearchFolder)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
