// Generated data folders (tools/gendata), made once per benchmark program: schedules (about 50
// a month) from 2017, the shipped holiday table, memos, ToDo entries and notes.
#pragma once

#include "BenchFolder.h"
#include "DataGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kal::bench {

// Every file dated a day back, as a data folder is between two starts: caches that distrust
// just-written files then behave as they do for the user.
inline void backdate(const std::string& folder)
{
    const auto then = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24);
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        std::filesystem::last_write_time(entry.path(), then);
    std::filesystem::last_write_time(folder, then);
}

inline std::string makeDataFolder(const gendata::DataShape& shape)
{
    const std::string folder = makeTempFolder("kalendra-bench");
    const auto result =
        gendata::GenerateData(folder, shape, KALENDRA_SOURCE_DIR "/data/Holiday.dat", gendata::unflushedFileOps());
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", result.reason.c_str());
        std::abort();
    }
    backdate(folder);
    return folder;
}

// Ten years, 2017 to 2026.
inline std::string makeTenYearFolder()
{
    return makeDataFolder(gendata::DataShape{});
}

} // namespace kal::bench
