// CSV export: one line per schedule record, six comma-text fields (date yyyy/mm/dd, start, end,
// title, place, category, trailing blanks removed), CR LF, no header. The main window exports
// the shown month, the list window the records it lists.
#pragma once

#include "platform/Platform.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

// A schedule record with the year and month of the file it belongs to.
struct MonthRecord {
    int year = 2000;
    int month = 1;
    std::string line;
};

std::vector<MonthRecord> monthRecords(int year, int month, const std::vector<std::string>& lines);

// The CSV line of one record.
std::string csvLineOf(const MonthRecord& record);
// The CSV lines of the records, in their order; lines that are not schedule records are left out.
std::vector<std::string> csvExportLines(const std::vector<MonthRecord>& records);

struct CsvExportResult {
    bool ok = true;
    int count = 0;       // lines written
    std::string message; // UTF-8, why it failed
};

CsvExportResult exportRecordsCsv(const std::string& csvPath, const std::vector<MonthRecord>& records);
// The month file yyyymm.sch of `dataPath`; a missing file gives an empty CSV file.
CsvExportResult exportMonthCsv(const std::string& dataPath, int year, int month, const std::string& csvPath);

// The proposed file name of a month's export: "200403.csv".
std::string monthCsvName(int year, int month);

// The save dialog of an export in `dataPath` with the proposed name, and the question before an
// existing file is replaced; nothing when the user cancels or declines.
std::optional<std::string> askExportPath(Platform& platform, const std::string& caption, const std::string& dataPath,
                                         const std::string& proposedName, const std::string& filter);
std::optional<std::string> askCsvExportPath(Platform& platform, const std::string& dataPath,
                                            const std::string& proposedName);

// The caption of the export's messages.
inline constexpr const char* kCsvSaveCaption = "ファイルの保存";

} // namespace kal
