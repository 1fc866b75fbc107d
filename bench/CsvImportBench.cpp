// Time of a CSV import of 10,000 lines over 100 months into an empty schedule folder (each
// month file read and written once), of the data check over the same lines, and for comparison
// of the 100 atomic saves alone. The files are removed between iterations, outside the timing.
#include "BenchFolder.h"
#include "exchange/CsvImport.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// 100 lines in each of 100 months from January 2017, with quoted titles, places and categories.
std::vector<std::string> csvLines()
{
    const std::string title = kal::sjis::fromUtf8Lossy("\"定例会議, 第2回\"");
    const std::string place = kal::sjis::fromUtf8Lossy("本社 第二会議室");
    const std::string category = kal::sjis::fromUtf8Lossy("仕事");
    std::vector<std::string> lines;
    for (int m = 0; m < 100; ++m) {
        const std::string month =
            kal::text::formatInt(2017 + m / 12, 4, '0') + "/" + kal::text::formatInt(1 + m % 12, 2, '0') + "/";
        for (int i = 0; i < 100; ++i) {
            const std::string start = kal::text::formatInt(8 + i % 10, 2, '0') + ":" + (i % 2 ? "30" : "00");
            lines.push_back(month + kal::text::formatInt(1 + i % 28, 2, '0') + "," + start + ",18:00," + title +
                            std::to_string(i) + ",\"" + place + "\"," + category);
        }
    }
    return lines;
}

void importLines(benchmark::State& state, kal::ImportRun run)
{
    kal::bench::BenchFolder folder("kalendra-csv");
    const kal::CsvImportRequest request{csvLines(), kal::CsvMapping::inOrder(), {}, folder.path, folder.path};
    for (auto _ : state) {
        kal::ImportOutcome outcome = kal::runCsvImport(request, run);
        if (!outcome.ok() || outcome.counts.records != 10000)
            state.SkipWithError(outcome.message.c_str());
        benchmark::DoNotOptimize(outcome);
        state.PauseTiming();
        folder.empty();
        state.ResumeTiming();
    }
}

void BM_CsvImport10000LinesOver100Months(benchmark::State& state)
{
    importLines(state, kal::ImportRun::Execute);
}
BENCHMARK(BM_CsvImport10000LinesOver100Months)->Unit(benchmark::kMillisecond);

void BM_CsvDataCheck10000LinesOver100Months(benchmark::State& state)
{
    importLines(state, kal::ImportRun::Check);
}
BENCHMARK(BM_CsvDataCheck10000LinesOver100Months)->Unit(benchmark::kMillisecond);

// What the import cannot go below: 100 month files of 100 lines, each saved atomically.
void BM_Save100MonthFiles(benchmark::State& state)
{
    kal::bench::BenchFolder folder("kalendra-csv");
    const std::vector<std::string> lines(100, std::string(100, 'x'));
    for (auto _ : state) {
        for (int m = 0; m < 100; ++m)
            if (!kal::files::saveLines(folder.path + std::to_string(m) + ".sch", lines))
                state.SkipWithError("save failed");
        state.PauseTiming();
        folder.empty();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Save100MonthFiles)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
