// Time of an iCalendar export of ten years of schedules (6,000 records: 50 in each of 120 month
// files, a fifth with alarms, a third all-day) with 100 ToDo entries, from reading the month files
// to the written .ics file; and of the composition alone. Target: under 1 s. Then what the
// identities cost: importing that export again (every item matched by UID, nothing added; the
// data check, so no file is written), and carrying the 6,100 identities through one correction
// (Identity.dat read, followed and composed, as every change made in a window does).
#include "BenchFolder.h"
#include "exchange/IcalExport.h"
#include "exchange/IcalImport.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoRecord.h"
#include "todo/TodoStore.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kYears = 10;
constexpr int kPerMonth = 50;

void writeTenYears(const std::string& folder)
{
    const std::string title = kal::sjis::fromUtf8Lossy("定例会議 第");
    const std::string place = kal::sjis::fromUtf8Lossy("本社 第二会議室");
    const std::string category = kal::sjis::fromUtf8Lossy("仕事");
    for (int m = 0; m < kYears * 12; ++m) {
        std::vector<std::string> lines;
        for (int i = 0; i < kPerMonth; ++i) {
            kal::ScheduleFields f;
            f.day = 1 + i % 28;
            if (i % 3 != 0) {
                f.start = (i % 2 ? "09:30" : "14:00");
                f.end = "18:00";
            }
            f.sound = f.message = i % 5 == 0;
            f.category = category;
            f.title = title + std::to_string(i);
            f.place = i % 2 ? place : "";
            lines.push_back(kal::ComposeSchedule(f));
        }
        kal::text::sortNoCase(lines);
        kal::files::saveLines(kal::MonthFilePath(folder, 2017 + m / 12, 1 + m % 12), lines);
    }
    std::vector<std::string> todos;
    for (int i = 0; i < 100; ++i) {
        kal::TodoFields t;
        t.deadline = kal::Date{2020, 1 + i % 12, 1 + i % 28};
        t.progress = i % 11;
        t.done = i % 4 == 0;
        t.doneDate = kal::Date{2020, 1, 1};
        t.title = title + std::to_string(i);
        todos.push_back(kal::ComposeTodo(t));
    }
    kal::files::saveLines(kal::TodoFilePath(folder), todos);
}

kal::IcalExportRequest tenYears(const std::string& folder)
{
    return kal::IcalExportRequest{folder, folder, {2017, 1, 1}, {2026, 12, 31}, true, 10, folder};
}

void BM_IcalExportTenYears(benchmark::State& state)
{
    kal::bench::BenchFolder folder("kalendra-ics");
    writeTenYears(folder.path);
    const std::string out = folder.path + "out.ics";
    for (auto _ : state) {
        kal::IcalExportResult result = kal::exportIcal(tenYears(folder.path), out);
        if (!result.ok || result.events != kYears * 12 * kPerMonth)
            state.SkipWithError(result.message.c_str());
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_IcalExportTenYears)->Unit(benchmark::kMillisecond);

void BM_IcalComposeTenYears(benchmark::State& state)
{
    kal::bench::BenchFolder folder("kalendra-ics");
    writeTenYears(folder.path);
    kal::IcalExportData data;
    kal::IdentityTable identities;
    kal::loadIcalExportData(tenYears(folder.path), data, identities);
    for (auto _ : state)
        benchmark::DoNotOptimize(kal::composeIcalendar(data));
}
BENCHMARK(BM_IcalComposeTenYears)->Unit(benchmark::kMillisecond);

void BM_IcalReimportTenYears(benchmark::State& state)
{
    kal::bench::BenchFolder folder("kalendra-ics");
    writeTenYears(folder.path);
    const std::string out = folder.path + "out.ics";
    kal::exportIcal(tenYears(folder.path), out);
    const kal::IcalImportRequest request{*kal::files::readBytes(out),
                                         {2017, 1, 1},
                                         {2026, 12, 31},
                                         {2017, 1, 1},
                                         {},
                                         folder.path,
                                         folder.path,
                                         folder.path};
    for (auto _ : state) {
        const kal::IcalImportOutcome again = kal::runIcalImport(request, kal::ImportRun::Check);
        if (!again.outcome.ok() || again.counts.schedules.records != 0 || again.counts.todos != 0)
            state.SkipWithError(again.outcome.message.c_str());
    }
}
BENCHMARK(BM_IcalReimportTenYears)->Unit(benchmark::kMillisecond);

void BM_IdentitiesFollowOneCorrection(benchmark::State& state)
{
    kal::bench::BenchFolder folder("kalendra-ics");
    writeTenYears(folder.path);
    kal::exportIcal(tenYears(folder.path), folder.path + "out.ics");
    const std::string path = kal::MonthFilePath(folder.path, 2026, 12);
    const std::string line = kal::files::loadLines(path).front();
    kal::IdentityFollower follower(folder.path);
    for (auto _ : state) {
        const kal::files::FollowerChanges changes = follower.follow({{{path, line, 0}, {{path, line + "x", 0}}}});
        if (!changes.result || changes.changes.size() != 1)
            state.SkipWithError("the identity did not follow");
        benchmark::DoNotOptimize(changes);
    }
}
BENCHMARK(BM_IdentitiesFollowOneCorrection)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
