// Realistic data folders for the benchmarks and start-up measurements: years of schedules with
// categories, places and repeating meetings, the shipped holiday table, daily memos, ToDo entries
// and notes, all composed by the program's own record code.
#pragma once

#include "platform/FileOps.h"

#include <string>
#include <vector>

namespace kal::gendata {

struct DataShape {
    int firstYear = 2017;
    int years = 10;
    int schedulesPerMonth = 50; // repeating meetings included
    int memosPerYear = 24;      // 365 gives a memo on every day
    int todoEntries = 100;
    int notes = 5;
};

struct GenerateResult {
    bool ok = true;
    std::string reason; // the file that failed and why
};

// Fills `folder` (which must exist) as the data, memo, ToDo and note folder of one program
// folder. `holidayTable` is the Holiday.dat to copy. Writes go through `ops`.
GenerateResult GenerateData(const std::string& folder, const DataShape& shape, const std::string& holidayTable,
                            files::FileOps& ops);

// The ToDo.dat lines of GenerateData: a quarter done, some without deadline, deadlines around the
// last generated month.
std::vector<std::string> TodoLines(const DataShape& shape);

// The system's file calls without the flush of each file: generated folders are scratch data,
// flushed once at the end with syncFolder.
files::FileOps& unflushedFileOps();
void syncFolder(const std::string& folder);

} // namespace kal::gendata
