// CSV import: the columns of a CSV file mapped onto the six schedule fields, the data check
// (every date valid, and what would be added) and the execute run that adds the records.
#pragma once

#include "exchange/ScheduleImport.h"

#include <array>
#include <string>
#include <vector>

namespace kal {

// The targets in their order; the date is the one that must be mapped.
enum CsvTarget { CsvDate = 0, CsvStart, CsvEnd, CsvTitle, CsvPlace, CsvCategory };
inline constexpr int kCsvTargetCount = 6;
inline constexpr int kUnassigned = -1;

// The target's label: an 18-byte Shift-JIS text ("日付（yyyy/mm/dd）", "内容" and blanks...).
std::string csvTargetLabel(int target);
// A row of the target list: the label, " : " and the text of the mapped column of `columns`.
std::string csvTargetRow(int target, int column, const std::vector<std::string>& columns);

// Which CSV column (0-based) each target takes; a column serves one target at most.
class CsvMapping {
public:
    // Target i from column i, for all six.
    static CsvMapping inOrder();

    int columnOf(int target) const;
    bool isAssigned(int column) const;

    // "< 選択": a column already in use is refused; the target's previous column is released.
    bool assign(int target, int column);
    // "クリア >".
    void release(int target);
    // "<< 全選択": target i from column i for the columns a line has; the others unassigned.
    void assignInOrder(int columnCount);
    // "全クリア >>".
    void clear();

private:
    std::array<int, kCsvTargetCount> columns_{kUnassigned, kUnassigned, kUnassigned,
                                              kUnassigned, kUnassigned, kUnassigned};
};

struct CsvImportOptions {
    bool firstLineIsHeader = false; // the first line is neither checked nor imported
    ImportOptions import;
};

struct CsvImportRequest {
    std::vector<std::string> lines; // the file's lines as read
    CsvMapping mapping;
    CsvImportOptions options;
    std::string dataPath;      // month files, ends with '/'
    std::string programFolder; // Category.tbl, ends with '/'
};

// The data check (ImportRun::Check) or the execute run over the same lines in the same order.
// Blank lines are passed over; line numbers in messages count every line of the file.
ImportOutcome runCsvImport(const CsvImportRequest& request, ImportRun run,
                           files::FileOps& ops = files::systemFileOps());

// The lines of a CSV file to import, or why it cannot be read.
struct CsvFile {
    bool ok = true;
    std::vector<std::string> lines;
    std::string message; // UTF-8
};
CsvFile readCsvFile(const std::string& path);

// The caption of the import's dialog and messages.
inline constexpr const char* kCsvReadCaption = "CSV形式の読込";

} // namespace kal
