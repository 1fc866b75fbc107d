// iCalendar import: VEVENTs become schedule records in Japan time and VTODOs ToDo entries, through
// the same record composition, duplicate check and new-category handling as the CSV import.
//
// Timed events in any zone are converted to Japan time; an event over several days becomes one
// record on each day (its start time on the first, its end time on the last). Month files hold
// no repeat rule, so a recurring event becomes its occurrences inside the period the user
// chooses. Texts Shift-JIS cannot hold are replaced by "〓", titles and places longer than their
// fields are cut on a character boundary; these and everything left out or cut short (caps,
// cancelled events, fields with no place in the records) are counted for the report.
//
// Items are matched by UID first (RecordIdentities.h): an item whose records are still there is
// left alone when it reads the same as they do, and replaced when it changed, unless the file's
// SEQUENCE is older than theirs; so importing Kalendra's own export, or a later version of the
// same file, adds nothing and updates what changed. Records the file no longer holds stay.
#pragma once

#include "exchange/ScheduleImport.h"
#include "platform/Date.h"
#include "platform/FileOps.h"
#include "todo/TodoRecord.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct icalcomponent_impl;

namespace kal {

struct ImportedTodo {
    TodoFields fields;             // memoNumber is decided when stored
    std::vector<std::string> memo; // Shift-JIS lines
};

struct IcalTextCounts {
    int cut = 0;      // titles and places cut to their field
    int replaced = 0; // characters replaced by "〓"
};

// What the reading left out or took otherwise than it stood, counted by component.
struct IcalSkips {
    int withoutStart = 0;   // events without a usable DTSTART, left out
    int cancelled = 0;      // cancelled events, left out
    int cancelledTodos = 0; // cancelled ToDo entries, taken as done
    int occurrencesCut = 0; // recurring events with more occurrences than icalOccurrenceCap
    int spansCut = 0;       // events longer than kIcalMaxEventDays, cut there
    int unknownZones = 0;   // components with a TZID known neither by the file nor by libical
    int unmapped = 0;       // components with a description, URL or attendees no field holds
};

// The most occurrences one recurring event gives within a period: one for each of its days, and
// never fewer than kIcalOccurrenceFloor. An endless daily event fills any period; a rule finer
// than a day cannot fill the disk.
inline constexpr int kIcalOccurrenceFloor = 1000;
int icalOccurrenceCap(const Date& from, const Date& to);
inline constexpr int kIcalMaxEventDays = 366;

// One event, or one occurrence of a recurring event, and the records of its days.
struct IcalEventItem {
    std::string uid;
    int sequence = 0;
    std::string recurrenceId; // recurrenceIdText; empty for an event that does not recur
    std::vector<ImportedSchedule> days;
};

struct IcalTodoItem {
    std::string uid;
    int sequence = 0;
    ImportedTodo todo;
};

struct IcalEntries {
    bool ok = true;
    std::string message; // UTF-8, why the text is not iCalendar
    std::vector<IcalEventItem> events;
    std::vector<IcalTodoItem> todos;
    IcalTextCounts texts;
    IcalSkips skips;

    // Every day of every event, in order.
    std::vector<ImportedSchedule> schedules() const;
};

// The entries of an iCalendar text (a file, or one item of a calendar server); recurring events
// are expanded to the occurrences that start within `from`..`to` (Japan dates), each to at most
// icalOccurrenceCap of them (skips.occurrencesCut counts those cut). A ToDo without completion
// date is done `today`.
IcalEntries readIcalEntries(std::string_view icsText, const Date& from, const Date& to, const Date& today);
// The same from a text parsed before, for a reader that expands one text for many periods.
IcalEntries readIcalEntries(icalcomponent_impl* root, const Date& from, const Date& to, const Date& today);

struct IcalImportRequest {
    std::string icsText;
    Date from, to, today;
    ImportOptions options;
    std::string dataPath;      // month files, ends with '/'
    std::string todoPath;      // ToDo.dat and ToDoMemo.dat, ends with '/'
    std::string programFolder; // Category.tbl and Identity.dat, ends with '/'
};

struct IcalImportCounts {
    ImportCounts schedules; // duplicates: also items that read the same as their records
    int todos = 0;
    int todoDuplicates = 0;
    int memosDropped = 0; // no memo number was free
    int updated = 0;      // records replaced by a newer version of their item
    int todosUpdated = 0; // ToDo entries replaced likewise
    int olderInFile = 0;  // items whose SEQUENCE is below that of their records
    IcalTextCounts texts;
    IcalSkips skips;
};

struct IcalImportOutcome {
    ImportOutcome outcome;
    IcalImportCounts counts;
};

// Entries laid over the month and ToDo files in memory, each item matched by UID with the records
// it made before; what the import and a calendar sync share. The identities of the records an
// item made are found afterwards with identities().ofItem(uid, recurrenceId).
class IcalImportPlan {
public:
    explicit IcalImportPlan(const IcalImportRequest& request); // icsText is not used
    ~IcalImportPlan();
    // Locks the folders it will write (for an execute run), then reads Identity.dat and the
    // category table; the data files are read when first needed.
    ImportOutcome start(ImportRun run);
    ImportOutcome add(const IcalEntries& entries);
    IdentityTable& identities();
    // Whether the plan holds the record of `key` (a month file's or ToDo.dat's).
    ImportOutcome holds(const RecordKey& key, bool& found);
    // Takes the record of `key` out, its identity and a ToDo's own memo with it.
    ImportOutcome remove(const RecordKey& key);
    // Adds a record as it is, in the month of `date` (a ToDo line: with `memo`); `placed` learns
    // where it stands.
    ImportOutcome addRecord(const RecordKey& like, const Date& date, const std::vector<std::string>& memo,
                            RecordKey& placed);
    IcalImportCounts counts() const;
    // Every file to write with writeImportFiles, in its order.
    ImportOutcome updates(std::vector<FileUpdate>& out) const;

private:
    ImportOutcome startTodos();

    struct Parts;
    std::unique_ptr<Parts> parts_;
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
