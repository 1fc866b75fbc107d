// Several files of one folder changed all-or-nothing, across write failures and crashes.
//
// How: before any file is touched, an intent record ".kalendra-intent-<time>-<random>" is written
// atomically into the folder. It holds, for every file, its content before and after (or that
// it is missing / deleted). Its arrival on disk is the moment the change counts as made: the
// files are then replaced one by one (each atomically), and the record is removed at the end.
//   - A write that fails part-way turns the record to "undo", puts back every file as it was and
//     removes the record: the caller gets the failure and nothing changed.
//   - A crash (kill -9, power loss) leaves the record behind. The next start of the program, or
//     the next multi-file write into the folder, finishes it: "apply" writes the remaining new
//     contents, "undo" the remaining old ones. A killed writer never got its record renamed into
//     place, so nothing of its change is visible; its temporary files are removed as stale.
//   - Recovery only replaces a file whose content is the record's "before" or "after"; a file
//     changed since by someone else is left as it is. A record that a live process holds locked
//     is left to that process, and a damaged one (checksum) is never acted on.
//
// Use (every path a file directly inside `folder`; contents are the whole new file bytes):
//
//     std::vector<files::FileChange> changes;
//     changes.push_back({MonthFilePath(dataPath, 2024, 3), files::joinLines(marchLines)});
//     changes.push_back({MonthFilePath(dataPath, 2024, 4), std::nullopt}); // delete the file
//     files::IoResult done = files::writeAllOrNothing(dataPath, changes);
//     if (!done) show(done.reason); // nothing was changed
//
// Read the current contents with loadLinesForUpdate before computing the new ones; the record
// keeps what was on disk when writeAllOrNothing ran.
#pragma once

#include "platform/Files.h"

#include <optional>
#include <string>
#include <vector>

namespace kal::files {

struct FileChange {
    std::string path;
    std::optional<std::string> bytes;         // the new content; nothing deletes the file
    std::size_t maxBytes = kMaxDataFileBytes; // what the file's reader accepts
};

IoResult writeAllOrNothing(const std::string& folder, const std::vector<FileChange>& changes,
                           FileOps& ops = systemFileOps());

// Finishes the changes that a crash interrupted in `folder` (the program calls it at start-up for
// each data folder), then removes stale temporary files there.
struct RecoveryResult {
    int finished = 0;                  // records acted on and removed
    int unfinished = 0;                // records that could not be finished; they stay for later
    std::vector<std::string> problems; // what could not be finished or read, for the user
    bool ok() const { return problems.empty(); }
};
RecoveryResult recoverInterruptedChanges(const std::string& folder, FileOps& ops = systemFileOps());

// For a reader: the change a crash interrupted in `folder` finished first (a change another
// process is making is waited for), so nothing half-made is read. A folder without intent record
// costs one look at its names.
RecoveryResult finishPendingChanges(const std::string& folder, FileOps& ops = systemFileOps());

// Whether a file name is that of an intent record.
bool isIntentRecordName(std::string_view name);

} // namespace kal::files
