// Folders for the benchmarks: an empty one that is cleaned up, and a data folder with ten years
// of schedules (about 50 a month), the shipped holiday table and a few memos, made once per
// benchmark program.
#pragma once

#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kal::bench {

// An empty folder, removed with everything in it; emptied between iterations.
struct DataFolder {
    std::string path;
    DataFolder()
    {
        path = (std::filesystem::temp_directory_path() / "kalendra-bench-XXXXXX").string();
        if (!::mkdtemp(path.data()))
            std::abort();
        path += "/";
    }
    ~DataFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    void empty() const
    {
        for (const auto& entry : std::filesystem::directory_iterator(path))
            std::filesystem::remove(entry.path());
    }
};

inline std::string makeTenYearFolder()
{
    std::string folder = (std::filesystem::temp_directory_path() / "kalendra-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        std::abort();
    folder += "/";
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
