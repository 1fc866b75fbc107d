// The month build with three subscribed calendars of 2,000 events each (a third of them
// recurring) against the same build without them, on ten years of generated schedules; every
// month of 2026 in turn, with the calendars' year expanded before the timing, as the window keeps
// it after the first month shown. Apart: that first expansion of a year of one calendar.
#include "BenchData.h"
#include "calendar/MonthBuild.h"
#include "platform/Files.h"
#include "sync/FeedCache.h"
#include "sync/FeedCalendar.h"
#include "sync/FeedSchedules.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kFeeds = 3;
constexpr int kEventsPerFeed = 2000;

std::string stamp(int day, int hour)
{
    char text[32];
    const kal::Date date = kal::addDays({2025, 1, 1}, day);
    std::snprintf(text, sizeof text, "%04d%02d%02dT%02d0000Z", date.year, date.month, date.day, hour);
    return text;
}

// Events over three years from 2025, as a school or a club publishes them; every third recurs:
// weekly for a term, daily for a week or monthly for a year.
std::string feedText(int feed)
{
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\n";
    static const char* rules[] = {"FREQ=WEEKLY;COUNT=15", "FREQ=DAILY;COUNT=7", "FREQ=MONTHLY;COUNT=12"};
    for (int i = 0; i < kEventsPerFeed; ++i) {
        const int day = (i * 7 + feed * 3) % 1095, hour = i % 12;
        text += "BEGIN:VEVENT\r\nUID:" + std::to_string(feed) + "-" + std::to_string(i) +
                "\r\nDTSTAMP:20250101T000000Z\r\nDTSTART:" + stamp(day, hour) + "\r\nDTEND:" + stamp(day, hour + 1) +
                "\r\nSUMMARY:event " + std::to_string(i) + "\r\n";
        if (i % 3 == 0)
            text += std::string("RRULE:") + rules[(i / 3) % 3] + "\r\n";
        text += "END:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

struct Folder {
    kal::bench::BenchFolder data{kal::bench::makeDataFolder(kal::gendata::DataShape{})};
    std::vector<kal::Subscription> subscriptions;
    Folder()
    {
        kal::files::createFolders(kal::feedFolder(data.path));
        for (int feed = 0; feed < kFeeds; ++feed) {
            kal::Subscription s;
            s.name = "feed" + std::to_string(feed);
            s.url = "/feeds/" + s.name + ".ics";
            kal::files::saveBytesWithin(kal::feedTextPath(data.path, s.url), feedText(feed), std::size_t{64} << 20);
            subscriptions.push_back(s);
        }
    }
};

Folder& folder()
{
    static Folder made;
    return made;
}

kal::MonthBuildInput input()
{
    kal::MonthBuildInput in;
    in.today = kal::Date{2026, 12, 8};
    in.calView = kal::CalViewFlags({1, 1, 1, 1, 1, 1, 1, 0, 0});
    in.rikuyo = kal::RokuyoFlags({1, 1, 1, 1, 1, 1});
    in.dataPath = folder().data.path;
    in.memoPath = folder().data.path;
    return in;
}

// 0: without the calendars, 1: with them.
void BM_MonthBuildWithFeeds(benchmark::State& state)
{
    kal::MonthBuildInput in = input();
    kal::FeedSchedules feeds(folder().data.path, folder().subscriptions);
    if (state.range(0) != 0) {
        in.extras = &feeds;
        feeds.between({2025, 12, 1}, {2027, 1, 31});
    }
    int month = 0;
    std::size_t lines = 0;
    for (auto _ : state) {
        in.year = 2026;
        in.month = 1 + month;
        month = (month + 1) % 12;
        kal::MonthBuild build = kal::BuildMonth(in);
        for (int cell = 0; cell < 42; ++cell)
            lines += build.lists.at(cell % 7, cell / 7 + 1).size();
        benchmark::DoNotOptimize(build);
    }
    state.counters["lines"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kAvgIterations);
}
// Each run after a second of builds: the first seconds of the program ran up to three times slower
// on this machine, whichever of the two ran then.
BENCHMARK(BM_MonthBuildWithFeeds)->Arg(0)->Arg(1)->MinWarmUpTime(1)->Unit(benchmark::kMicrosecond);

// One calendar's year shown for the first time: its recurrences expanded.
void BM_FeedMonthFirstShown(benchmark::State& state)
{
    const std::string text = feedText(0);
    for (auto _ : state) {
        state.PauseTiming();
        std::shared_ptr<kal::FeedCalendar> calendar = kal::FeedCalendar::parse(text).calendar;
        state.ResumeTiming();
        // A year not shown before.
        benchmark::DoNotOptimize(calendar->year(2026));
    }
}
BENCHMARK(BM_FeedMonthFirstShown)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
