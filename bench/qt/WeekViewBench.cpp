// The main window on ten years of schedules with a memo for every day of the last two years:
// switching to the week view (memo texts read, grid painted) and moving a week (across month
// edges too, with the month build that needs), offscreen.
#include "BenchData.h"
#include "QtBenchMain.h"
#include "app/TForm1.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/qt/DialogRunner.h"
#include "platform/qt/QtPlatform.h"

#include <QApplication>
#include <QDate>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

struct WeekWindow {
    kal::bench::BenchFolder home{kal::bench::makeTenYearFolder()};
    kal::qt::QtPlatform platform;
    kal::qt::ExecDialogRunner dialogs;
    kal::qt::Services services{platform, dialogs};
    std::unique_ptr<kal::TForm1> form;

    WeekWindow()
    {
        const int year = QDate::currentDate().year();
        const std::string settings = "[Kalendra]\r\nVer=3.01\r\n[Window]\r\nNow=" + std::to_string(year) + "\r\n";
        bool written = static_cast<bool>(kal::files::saveBytes(home.path + "Kalendra.ini", settings));
        for (kal::Date day{year - 1, 1, 1}; written && day.year <= year; day = kal::addDays(day, 1))
            written = static_cast<bool>(
                kal::files::saveBytes(kal::MemoFilePath(home.path, day), "memo line one\r\nline two\r\n"));
        if (!written)
            std::abort();
        form = std::make_unique<kal::TForm1>(services, home.path);
        if (form->FormCreate() != 0)
            std::abort();
        form->resize(800, 600);
        form->show();
        QApplication::processEvents();
    }
    // A static, so it outlives the application object: its widgets then go with the process.
    ~WeekWindow() { (void)form.release(); }
};

WeekWindow& window()
{
    static WeekWindow made;
    return made;
}

void BM_SwitchToWeekView(benchmark::State& state)
{
    kal::TForm1& form = *window().form;
    for (auto _ : state) {
        form.Calendar->GridModeClick();
        form.Calendar->GridWeek->repaint();
        state.PauseTiming();
        if (form.Calendar->shownMode() != kal::CalendarViewMode::Week || !form.Calendar->monthBuild().memoTextsRead)
            std::abort();
        form.Calendar->GridModeClick();
        form.Calendar->CurrentNow(); // a fresh build: the next switch reads the memos again
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SwitchToWeekView)->Unit(benchmark::kMillisecond);

void BM_MoveOneWeek(benchmark::State& state)
{
    kal::TForm1& form = *window().form;
    form.Calendar->CurrentNow();
    if (form.Calendar->shownMode() != kal::CalendarViewMode::Week)
        form.Calendar->GridModeClick();
    // Back and forth over the year before today's, where every day has schedules and a memo.
    for (int i = 0; i < 52; ++i)
        form.Calendar->BeforeMonthChange();
    int step = 0;
    for (auto _ : state) {
        if ((step++ / 52) % 2 == 0)
            form.Calendar->NextMonthChange();
        else
            form.Calendar->BeforeMonthChange();
        form.Calendar->GridWeek->repaint();
    }
    form.Calendar->GridModeClick();
}
BENCHMARK(BM_MoveOneWeek)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return kal::bench::runQtBenchmarks(argc, argv);
}
