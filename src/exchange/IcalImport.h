// iCalendar import: VEVENTs become schedule records in Japan time and VTODOs ToDo entries, through
// the same record composition, duplicate check and new-category handling as the CSV import.
//
// Timed events in any zone are converted to Japan time; an event over several days becomes one
// record on each day (its start time on the first, its end time on the last). Month files hold
// no repeat rule, so a recurring event becomes its occurrences inside the period the user
// chooses. Texts Shift-JIS cannot hold are replaced by "〓", titles and places longer than their
// fields are cut on a character boundary; both are counted for the report.
#pragma once

#include "exchange/ScheduleImport.h"
#include "platform/Date.h"
#include "platform/FileOps.h"
#include "todo/TodoRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace kal {

struct ImportedTodo {
    TodoFields fields;             // memoNumber is decided when stored
    std::vector<std::string> memo; // Shift-JIS lines
};

struct IcalTextCounts {
    int cut = 0;      // titles and places cut to their field
    int replaced = 0; // characters replaced by "〓"
};

struct IcalEntries {
    bool ok = true;
    std::string message; // UTF-8, why the text is not iCalendar
    std::vector<ImportedSchedule> schedules;
    std::vector<ImportedTodo> todos;
    IcalTextCounts texts;
};

// The entries of an iCalendar text; recurring events are expanded to the occurrences that start
// within `from`..`to` (Japan dates). A ToDo without completion date is done `today`.
IcalEntries readIcalEntries(std::string_view icsText, const Date& from, const Date& to, const Date& today);

struct IcalImportRequest {
    std::string icsText;
    Date from, to, today;
    ImportOptions options;
    std::string dataPath;      // month files, ends with '/'
    std::string todoPath;      // ToDo.dat and ToDoMemo.dat, ends with '/'
    std::string programFolder; // Category.tbl, ends with '/'
};

struct IcalImportCounts {
    ImportCounts schedules;
    int todos = 0;
    int todoDuplicates = 0;
    int memosDropped = 0; // no memo number was free
    IcalTextCounts texts;
};

struct IcalImportOutcome {
    ImportOutcome outcome;
    IcalImportCounts counts;
};

// The data check (nothing written) or the execute run; each folder's files change together.
IcalImportOutcome runIcalImport(const IcalImportRequest& request, ImportRun run,
                                files::FileOps& ops = files::systemFileOps());

std::string icalImportReport(const IcalImportCounts& counts, ImportRun run);

// The text of an .ics file, or why it cannot be read.
struct IcalFile {
    bool ok = true;
    std::string text;
    std::string message; // UTF-8
};
IcalFile readIcalFile(const std::string& path);

// The default period of recurring events: a year from today.
Date icalDefaultPeriodEnd(const Date& today);

inline constexpr const char* kIcalReadCaption = "iCalendar形式の読込";

} // namespace kal
