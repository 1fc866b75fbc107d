// A data folder with ten years of schedules (about 50 a month), the shipped holiday table and
// a few memos, made once per benchmark program.
#pragma once

#include "BenchFolder.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kal::bench {

inline std::string makeTenYearFolder()
{
    const std::string folder = makeTempFolder("kalendra-bench");
    auto holidays = files::readBytes(KALENDRA_SOURCE_DIR "/data/Holiday.dat");
    if (!holidays || !files::saveBytes(folder + "Holiday.dat", *holidays))
        std::abort();
    const std::string title = sjis::fromUtf8Lossy("定例会議と打ち合わせ");
    const std::string place = sjis::fromUtf8Lossy("本社第二会議室");
    for (int year = 2017; year <= 2026; ++year)
        for (int month = 1; month <= 12; ++month) {
            std::vector<std::string> lines;
            for (int i = 0; i < 50; ++i) {
                ScheduleFields f;
                f.day = 1 + (i * 7) % daysInMonth(year, month);
                f.start = (i % 5 == 0) ? "" : (i % 2 ? "09:30" : "14:00");
                f.end = f.start.empty() ? "" : "17:00";
                f.title = title;
                f.place = i % 3 ? place : "";
                f.sound = f.message = i % 4 == 0;
                lines.push_back(ComposeSchedule(f));
            }
            if (!AddScheduleLines(MonthFilePath(folder, year, month), lines).ok())
                std::abort();
        }
    if (!files::saveBytes(folder + "20261208.mem", "memo\r\n"))
        std::abort();
    return folder;
}

} // namespace kal::bench
