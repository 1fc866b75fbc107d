// Imported schedules into the month files, whatever format they come from: the record
// composition, the duplicate check, the collection of new categories, and the one place where
// an import writes its files.
//
// An import is planned in memory first: each month file is read once, the records are added
// in the order they come, and only then every changed file is written. The data check is the
// same plan without the writing, so it counts exactly what the execute run adds.
#pragma once

#include "exchange/RecordIdentities.h"
#include "platform/Date.h"
#include "platform/FileOps.h"
#include "platform/FolderLock.h"
#include "store/Edit.h"

#include <map>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kal {

// One schedule as the source gives it (Shift-JIS); the composition cuts and pads it.
struct ImportedSchedule {
    Date date;
    std::string start;
    std::string end;
    std::string title;
    std::string place;
    std::string category;
    bool sound = false; // the alarm flags; every other source leaves them off
    bool message = false;
};

// The record of an imported schedule: every text cut to its first 40 bytes, then composed as
// the input dialog does with plain style and the source's alarm flags (none: "0000").
std::string composeImportedRecord(const ImportedSchedule& schedule);

// What the duplicate check compares: the day, the start time (H:MM taken as HH:MM) and the
// title as characters (either Shift-JIS form of one), trailing blanks ignored. Empty for a line
// that is not a schedule record.
std::string duplicateKey(const std::string& record);

// Where names new to Category.tbl go: after the user's rows, or into the table sorted by name.
enum class NewCategoryOrder { Appended, TableSorted };

struct ImportOptions {
    bool skipDuplicates = true; // a record with the key of one in its month file is not added
    bool addCategories = true;  // unknown category names are added to Category.tbl
    NewCategoryOrder categoryOrder = NewCategoryOrder::Appended;
};

struct ImportCounts {
    int records = 0;
    int categories = 0;
    int duplicates = 0; // not added because the check found them
};

enum class ImportStatus {
    Done,
    NoDateColumn,
    NoData,
    BadEncoding,
    BrokenLine,
    BadDate,
    BadTime,
    ReadFailed,
    WriteFailed
};

enum class ImportRun { Check, Execute };

struct ImportOutcome {
    ImportStatus status = ImportStatus::Done;
    ImportCounts counts;
    std::string message;     // UTF-8: the report when done, the reason otherwise
    bool wroteFiles = false; // some file was written (also before a failure)
    bool ok() const { return status == ImportStatus::Done; }
};

ImportOutcome importFailure(ImportStatus status, std::string message);

// The whole new content of one file.
struct FileUpdate {
    std::string path;
    std::vector<std::string> lines;
    std::size_t maxBytes = files::kMaxDataFileBytes; // what the file's reader accepts
    bool removed = false;                            // the file goes
};

class ScheduleImport {
public:
    // `dataPath` holds the month files, `programFolder` Category.tbl; both end with '/'.
    ScheduleImport(std::string dataPath, std::string programFolder, ImportOptions options);

    // Takes the lock of the folders it will write (with `otherFolders`, those of the caller's
    // own files) for an execute run, then reads the category table when new categories are to be
    // added. The lock is held until this import is destroyed.
    ImportOutcome start(ImportRun run, const std::vector<std::string>& otherFolders = {});
    // Adds one schedule to the plan; fails only when its month file cannot be read. `placed`,
    // when given, learns where an added record stands (untouched for a duplicate left out). A
    // replacement (a newer version of a record taken out before) skips the duplicate check
    // and is not counted as new.
    enum class Adding { New, Replacement };
    ImportOutcome add(const ImportedSchedule& schedule, RecordKey* placed = nullptr, Adding adding = Adding::New);
    // Adds a record line of the month of `date` as it is, neither checked nor counted.
    ImportOutcome addRecord(const Date& date, const std::string& record, RecordKey* placed = nullptr);
    // Whether the plan holds the record (reading its month file when needed).
    ImportOutcome holds(const RecordKey& record, bool& found);
    // Takes a record the plan holds out of it.
    void remove(const RecordKey& record);

    // A category name of another kind of entry, collected as a schedule's would be.
    void noteCategoryName(const std::string& name);

    const ImportCounts& counts() const { return counts_; }
    // The category table when it grew, then every changed month file (sorted, in date order).
    std::vector<FileUpdate> updates() const;

private:
    struct Month {
        std::string path;
        std::vector<std::string> lines;
        std::unordered_set<std::string> keys;
        bool changed = false;
    };
    ImportOutcome monthOf(const Date& date, Month*& month);
    void place(Month& month, const Date& date, const std::string& record, RecordKey* placed);
    Month* plannedMonth(const RecordKey& record);

    std::string dataPath_;
    std::string programFolder_;
    ImportOptions options_;
    ImportCounts counts_;
    std::map<std::pair<int, int>, Month> months_;
    std::vector<std::string> categoryLines_;
    files::FolderLock lock_;
};

struct ImportWriteResult {
    store::EditResult result; // its reason says which file failed and why
    int written = 0;          // files written before a failure (all on success)
};

// The one place that writes the files of an import: all of them or none, a crash included. The
// files go in the order given, neighbours of one folder together (writeInTurn): the category
// table first, so that a crash after it leaves at most unused category names; the identities
// last, so that a crash before them leaves at most a record that looks changed elsewhere.
ImportWriteResult writeImportFiles(const std::vector<FileUpdate>& updates,
                                   files::FileOps& ops = files::systemFileOps());

// Plans the schedules and, on `ImportRun::Execute`, writes the files; the outcome carries the
// report the user sees.
ImportOutcome runScheduleImport(ScheduleImport& import, const std::vector<ImportedSchedule>& schedules, ImportRun run,
                                files::FileOps& ops = files::systemFileOps());

// The end of every import: the check only reports; the execute run writes `updates` and then
// reports, or says why the writing failed.
ImportOutcome finishImport(const ImportCounts& counts, const std::vector<FileUpdate>& updates, ImportRun run,
                           std::string report, files::FileOps& ops = files::systemFileOps());

// The reports after a data check and after the execute run (UTF-8, lines ended by CR LF).
std::string importCheckReport(const ImportCounts& counts);
std::string importDoneReport(const ImportCounts& counts);

} // namespace kal
