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

// Generated schedules without memos, so that every row is a schedule.
std::string makeScheduleFolder(int firstYear, int years, int perMonth)
{
    kal::gendata::DataShape shape;
    shape.firstYear = firstYear;
    shape.years = years;
    shape.schedulesPerMonth = perMonth;
    shape.memosPerYear = 0;
    return kal::bench::makeDataFolder(shape);
}

void openAllView(benchmark::State& state, const std::string& folder, int expectedRows)
{
    kal::qt::QtPlatform platform;
    kal::qt::ExecDialogRunner dialogs;
    kal::qt::Services services{platform, dialogs};
    kal::FormEditRequest request{.follower = kal::store::Follower::none()};
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
    static const kal::bench::BenchFolder folder(makeScheduleFolder(2017, 10, 50));
    openAllView(state, folder.path, 6000);
}
BENCHMARK(BM_ListWindowAllTenYears)->Unit(benchmark::kMillisecond);

void BM_ListWindowAllHundredYears(benchmark::State& state)
{
    static const kal::bench::BenchFolder folder(makeScheduleFolder(1927, 100, 100));
    openAllView(state, folder.path, 120000);
}
BENCHMARK(BM_ListWindowAllHundredYears)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return kal::bench::runQtBenchmarks(argc, argv);
}
