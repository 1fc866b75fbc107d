// The local side of a sync: what the data files and the identities hold at its start, read
// under the folders' lock and then let go of, so that windows and commands are not kept waiting
// while the server is asked. Before anything is written, the files are checked to be as read.
#pragma once

#include "exchange/RecordIdentities.h"
#include "sync/SyncItems.h"
#include "sync/SyncPending.h"
#include "sync/SyncState.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kal {

struct SyncFolders {
    std::string dataPath;      // month files, ends with '/'
    std::string todoPath;      // ToDo.dat and ToDoMemo.dat, ends with '/'
    std::string programFolder; // Identity.dat and Sync.dat, ends with '/'

    std::vector<std::string> all() const { return {dataPath, todoPath, programFolder}; }
};

struct LocalRecord {
    RecordKey key;
    Date date;                     // a schedule's day
    std::vector<std::string> memo; // a ToDo entry's memo
    std::string hash;              // recordHash now

    bool isTodo() const;
};

// A record as far as a server item can hold it (what the import makes of its export), and the
// same of an item's day or ToDo entry, or of all its days in the window: equal when both read
// alike. A style, a memo number, trailing blanks or which of the two Shift-JIS forms a character
// is stored in make no difference.
std::string recordContent(const LocalRecord& record);
std::string dayContent(const ImportedSchedule& day);
std::string todoContent(const ImportedTodo& todo);
std::multiset<std::string> itemContent(const ServerItem& item, const SyncWindow& window);
// The content of a schedule whose category holds a comma as a server gives it back that rewrites
// the escaped comma as a list separator (its first category is the text before the comma);
// nothing for a record whose category holds none.
std::optional<std::string> recordContentAsListed(const LocalRecord& record);

// What tells at the next sync whether a record changed, here or on the server: the hash of its
// content (a ToDo entry's memo with it).
std::string recordHash(const RecordKey& key, const std::vector<std::string>& memo = {});

// The calendar item a record belongs to: its UID and RECURRENCE-ID.
std::pair<std::string, std::string> itemOf(const RecordIdentity& identity);

// A synced record as it stands now.
enum class RecordState {
    Unchanged,
    Changed,
    Gone,      // its file is there, in the window, without it: removed here
    Elsewhere, // outside the window, or its whole file gone (the clean-up of old data)
};

struct SyncSnapshot {
    std::string programFolder;
    IdentityTable identities;
    SyncStateFile state;
    SyncPending pending;
    std::vector<LocalRecord> records;                        // the window's schedule records, then the ToDo entries
    std::map<std::string, std::optional<std::string>> files; // every file read, as read

    const LocalRecord* recordAt(const RecordKey& key) const;
    RecordState stateOf(const RecordIdentity& identity, const SyncWindow& window) const;

    std::map<std::string, std::size_t> byKey_; // file, occurrence and line: index in records
};

struct SnapshotRead {
    bool ok = true;
    std::string reason; // UTF-8
    SyncSnapshot snapshot;
};
// Whether the sync will never need `identity` again: a record gone from its file in the window
// that was never synced, or any record of a month before the window whose file is gone (the
// clean-up of old data, which removes nothing from the server). `gone` caches the files looked at.
bool forgettable(const RecordIdentity& identity, const SyncSnapshot& snapshot, const SyncWindow& window,
                 const std::string& dataPath, std::map<std::string, bool>& gone);

// Reads under the folders' lock.
SnapshotRead readSnapshot(const SyncFolders& folders, const SyncWindow& window);

// Whether every file of the snapshot still holds what it held (read under the caller's lock).
bool snapshotCurrent(const SyncSnapshot& snapshot);

} // namespace kal
