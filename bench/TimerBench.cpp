// The one-second timer's own work: a tick inside a minute (the minute test and the clock's
// cells), and a minute check over 100 of today's alarm lines (the file's stamp, the alarms and
// the listed-time signal).
#include "alarm/ClockDisplay.h"
#include "alarm/TimerDuties.h"
#include "alarm/TodayAlarmList.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const kal::Date kToday{2026, 12, 8};

void NonMinuteTick(benchmark::State& state)
{
    kal::MinuteTicker ticker;
    kal::DateTime now{kToday, 14, 20, 0};
    ticker.newMinute(now);
    for (auto _ : state) {
        now.second = now.second % 59 + 1;
        const bool minute = ticker.newMinute(now);
        kal::clock::ClockFace face =
            kal::clock::clockFace(now, kal::clock::SecondsDisplay::Shown, kal::clock::HourDisplay::TwentyFour);
        benchmark::DoNotOptimize(minute);
        benchmark::DoNotOptimize(face);
    }
}
BENCHMARK(NonMinuteTick);

std::vector<std::string> hundredAlarmLines()
{
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i) {
        kal::ScheduleFields f;
        f.day = kToday.day;
        char start[6];
        std::snprintf(start, sizeof start, "%02d:%02d", 8 + i / 10, (i % 10) * 5);
        f.start = start;
        f.end = "18:00";
        f.category = kal::sjis::fromUtf8Lossy("会議");
        f.title = kal::sjis::fromUtf8Lossy("定例会議と打ち合わせ");
        f.place = kal::sjis::fromUtf8Lossy("本社第二会議室");
        f.sound = f.message = true;
        lines.push_back(kal::ComposeSchedule(f));
    }
    return lines;
}

void MinuteCheck100(benchmark::State& state)
{
    std::string folder = (std::filesystem::temp_directory_path() / "kalendra-timer-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        std::abort();
    folder += "/";
    const std::vector<std::string> month = hundredAlarmLines();
    if (!kal::AddScheduleLines(kal::MonthFilePath(folder, kToday.year, kToday.month), month).ok())
        std::abort();
    std::vector<std::string> signalTimes;
    for (int hour = 0; hour < 24; ++hour)
        signalTimes.push_back(kal::TimeText(hour, 0) + kal::sjis::fromUtf8Lossy(" 時報です"));
    kal::AnnounceSettings settings;
    settings.alarm = 2;
    settings.alarmTime = 10;
    settings.alarmWav = "/sounds/alarm.wav";
    settings.signal = 1;
    settings.signalMode = 3;
    settings.signalWav = "/sounds/signal.wav";

    kal::TodayAlarmList list;
    list.refresh(folder, kToday);
    // 14:00: two records alarm (one ahead, one at its start) and the listed signal sounds.
    const kal::DateTime minute{kToday, 14, 0, 0};
    for (auto _ : state) {
        const std::vector<std::string>& today = list.refresh(folder, kToday);
        kal::MinuteAnnouncement due = kal::AnnounceMinute(minute, today, signalTimes, settings);
        benchmark::DoNotOptimize(due);
    }
    if (list.lines().size() != 100)
        state.SkipWithError("the month file did not give 100 alarm lines");
    std::filesystem::remove_all(folder);
}
BENCHMARK(MinuteCheck100);

} // namespace

BENCHMARK_MAIN();
