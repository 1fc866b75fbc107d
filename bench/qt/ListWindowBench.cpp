// The schedule list window opened on its ALL view (offscreen, shown, painted): ten years of
// 50 schedules a month (6,000 rows) and a hundred years of 100 a month (120,000 rows).
#include "BenchData.h"
#include "QtBenchMain.h"
#include "lists/TFormEdit.h"
#include "platform/qt/DialogRunner.h"
#include "platform/qt/QtPlatform.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// 100 years of month files with 100 records each.
std::string makeHundredYearFolder()
{
    const std::string folder = kal::bench::makeTempFolder("kalendra-list-bench");
    const std::string title = kal::sjis::fromUtf8Lossy("定例会議と打ち合わせ");
    const std::string place = kal::sjis::fromUtf8Lossy("本社第二会議室");
    for (int year = 1927; year <= 2026; ++year)
        for (int month = 1; month <= 12; ++month) {
            std::vector<std::string> lines;
            for (int i = 0; i < 100; ++i) {
                kal::ScheduleFields f;
                f.day = 1 + i * 28 / 100;
                f.start = i % 5 == 0 ? "" : "09:30";
                f.title = title + std::to_string(i);
                f.place = i % 3 ? place : "";
                lines.push_back(kal::ComposeSchedule(f));
            }
            if (!kal::files::saveLines(kal::MonthFilePath(folder, year, month), lines))
                std::abort();
        }
    return folder;
}

void openAllView(benchmark::State& state, const std::string& folder, int expectedRows)
{
    kal::qt::QtPlatform platform;
    kal::qt::ExecDialogRunner dialogs;
    kal::qt::Services services{platform, dialogs};
    kal::FormEditRequest request;
    request.dataPath = request.memoPath = request.programFolder = folder;
    request.selected = kal::Date{2026, 12, 8};
    for (auto _ : state) {
        kal::TFormEdit window(services, request);
        window.resize(800, 560);
        window.show();
        window.BtnView[3]->trigger();
        QApplication::processEvents();
        if (window.ListView->model()->rowCount() != expectedRows)
            std::abort();
    }
}

void BM_ListWindowAllTenYears(benchmark::State& state)
{
    static const kal::bench::BenchFolder folder(kal::bench::makeTenYearFolder());
    openAllView(state, folder.path, 6000);
}
BENCHMARK(BM_ListWindowAllTenYears)->Unit(benchmark::kMillisecond);

void BM_ListWindowAllHundredYears(benchmark::State& state)
{
    static const kal::bench::BenchFolder folder(makeHundredYearFolder());
    openAllView(state, folder.path, 120000);
}
BENCHMARK(BM_ListWindowAllHundredYears)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return kal::bench::runQtBenchmarks(argc, argv);
}
