// Identities of schedule records and ToDo entries, kept beside the data in the program folder,
// since the data formats have no field for them and keep their bytes. An entry gives a record
// that was exported or synced its UID and SEQUENCE; a synced one the server's href and ETag and
// the hash of its content at the last sync; and a record that is one of several made from one
// calendar item (a day of a multi-day event, an occurrence of a recurring one) that item's UID,
// RECURRENCE-ID and day.
//
// A record is found by its file name, its bytes and which of the identical lines of that file it
// is. Kalendra's own changes carry the entries along (IdentityFollower, given to every writer
// that rewrites, moves or removes records). A record changed by another program is no longer
// found: it looks like a deletion and an addition.
//
// The entries of each data file have a file of their own ("Identity-202403.dat" for
// "202403.sch", "Identity-ToDo.dat" for "ToDo.dat"), so that a save reads and writes only those
// of the files it changes, however many a long-synced folder holds. "Identity.dat" is where they
// all were before: its entries move to their files at the first write, and it keeps the lines no
// entry file takes. Each file: text lines, one entry each, eleven tab-separated fields,
// percent-encoded, then the record's bytes as they are:
//   E  uid  sequence  file  occurrence  href  etag  synced  source-uid  source-rid  source-part  record
// Any other line is kept as it is, where it is.
#pragma once

#include "platform/RecordFollower.h"
#include "platform/SystemError.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kal {

inline constexpr const char* kIdentityFileName = "Identity.dat";
// A folder synced for years holds many more identities than a data file holds records (and
// Identity.dat held them all).
inline constexpr std::size_t kMaxIdentityFileBytes = files::kMaxSidecarFileBytes;

struct RecordKey {
    std::string file; // the name of its file: "202403.sch" or "ToDo.dat"
    int occurrence = 0;
    std::string line;

    bool operator==(const RecordKey&) const = default;
};

// The calendar item a record was made from, when it is not the whole item itself.
struct ItemSource {
    std::string uid; // empty: the record is the whole item of its own UID
    std::string recurrenceId;
    int part = 0; // the day within a span, from 0

    bool operator==(const ItemSource&) const = default;
};

// The occurrence of a synced record removed through Kalendra: its entry stays, found by no
// record, until the sync has removed the server's item too.
inline constexpr int kRemovedOccurrence = 999999999;

struct RecordIdentity {
    std::string uid;
    int sequence = 0;
    RecordKey key;
    std::string href;   // the server's, once synced
    std::string etag;   // the server's at the last sync
    std::string synced; // at the last sync, the hash of what a server item holds of the record
    ItemSource source;

    bool removed() const { return key.occurrence == kRemovedOccurrence; }
    bool operator==(const RecordIdentity&) const = default;
};

RecordKey keyOf(const files::RecordPlace& place);

// The name of the file of the entries of `recordFile`'s records.
std::string identityFileNameOf(const std::string& recordFile);

// The entries of the identity files read, with the lines they could not read, found through
// indexes. A pointer it gives lives until the next add, remove or follow; through it the
// sequence and the sync fields may change, never the uid, the key or the source.
class IdentityTable {
public:
    IdentityTable() = default;
    // The lines of Identity.dat.
    explicit IdentityTable(const std::vector<std::string>& lines) { read(kIdentityFileName, lines); }

    // Takes in the lines of the identity file `name`; an entry equal to one read before (which
    // a cut-off move out of Identity.dat leaves) is taken once.
    void read(const std::string& name, const std::vector<std::string>& lines);
    // Every line, in the order read and added.
    std::vector<std::string> lines() const;
    // The files whose lines differ from those read, by name, with their lines now.
    std::map<std::string, std::vector<std::string>> changedFiles() const;
    bool modified() const { return !changedFiles().empty(); }
    // Moves the entries read from Identity.dat to the files of their records.
    void moveToOwnFiles();

    RecordIdentity* find(const RecordKey& key);
    RecordIdentity* findUid(std::string_view uid);
    RecordIdentity* findHref(std::string_view href);
    // The entry equal to `identity` (a removed one too).
    RecordIdentity* findEqual(const RecordIdentity& identity);
    // The entries of one calendar item: the record that is the item itself, or those made from it.
    std::vector<RecordIdentity*> ofItem(std::string_view uid, std::string_view recurrenceId);
    std::vector<RecordIdentity*> all();

    RecordIdentity& add(RecordIdentity identity);
    // Drops the entry (a pointer this table gave).
    void remove(const RecordIdentity* identity);
    // Carries the entries through a change of the data files: a record moved or rewritten keeps
    // its entry, which takes the next SEQUENCE; a removed one loses it (a synced one, with
    // `synced` Mark, stays as removed(), so that the sync removes it on the server too); the
    // identical lines behind a removed or arriving one are counted anew.
    enum class SyncedRemoval { Drop, Mark };
    void follow(const std::vector<files::RecordChange>& changes, SyncedRemoval synced = SyncedRemoval::Drop);
    // Drops the entries of `file` whose record it no longer holds (`lines` is all it holds),
    // unless the sync still has to tell the server: a synced one, or one marked removed.
    void forgetGone(const std::string& file, const std::vector<std::string>& lines);

private:
    struct Row {
        std::string file;                       // the identity file it belongs to
        std::string text;                       // the line as read, for one that is no entry
        std::optional<RecordIdentity> identity; // none: not an entry
        bool dropped = false;
    };
    using Index = std::unordered_map<std::string, std::vector<std::size_t>>;

    void index(std::size_t row);
    std::vector<std::size_t>& sameLine(const RecordKey& key);
    std::size_t rowOf(const RecordIdentity* identity) const;
    void drop(std::size_t row);

    std::vector<Row> rows_;
    std::map<std::string, std::vector<std::string>> read_; // by file name
    Index byLine_;                                         // file and bytes: the identical lines of one file
    Index byUid_;
    Index byItem_; // the item's UID and RECURRENCE-ID
};

std::string identityFilePath(const std::string& programFolder);
// The names of the files of single data files' entries the program folder holds.
std::vector<std::string> identityFileNames(const std::string& programFolder);

struct IdentityFile {
    bool ok = true;
    std::string reason; // UTF-8, why an identity file cannot be read
    IdentityTable table;
    std::vector<std::string> paths; // every file read, a missing one too
};
// Every entry, for the sync and the iCalendar export and import. A missing file is an empty
// table; one that exists and cannot be read is an error.
IdentityFile loadIdentities(const std::string& programFolder);
// Only the entries of the records of `recordFiles`: enough to follow a change of those files
// once Identity.dat holds no entries (splitIdentityFile).
IdentityFile loadIdentitiesOf(const std::string& programFolder, const std::set<std::string>& recordFiles);

// The new contents of the identity files, for writing with the data they describe (a file left
// without lines is removed); none when the table is as read. Refused when a file would grow
// beyond what its reader accepts.
struct IdentityChange {
    files::IoResult result;
    std::vector<files::FileChange> changes;
};
IdentityChange identityChange(const std::string& programFolder, const IdentityTable& table);

// Under the program folder's lock: moves the entries of Identity.dat to the files of their
// records, each file replaced whole and Identity.dat last, so that a write cut off in between
// leaves entries that the readers take once and the next call moves on.
files::IoResult splitIdentityFile(const std::string& programFolder, files::FileOps& ops = files::systemFileOps());

// A field of the file's lines: printable ASCII stays, every other byte and '%' become %XX, so
// no field holds a tab or a line end whatever a server sends. Nothing for a broken escape.
std::string encodeField(std::string_view value);
std::optional<std::string> decodeField(std::string_view field);

// A new random UID (a version 4 UUID).
std::string newUid();
// A UID in the same form made from `seed`: the same seed gives the same UID.
std::string uidFrom(std::string_view seed);
// A short hash of a record's content (its line, a ToDo's memo with it), to tell at the next sync
// whether the record changed.
std::string contentHash(std::string_view content);

// What every window and command gives the writers of schedule and ToDo files.
class IdentityFollower : public files::RecordFollower {
public:
    explicit IdentityFollower(std::string programFolder);
    std::vector<std::string> folders() const override { return {programFolder_}; }
    files::FollowerChanges follow(const std::vector<files::RecordChange>& changes) override;

private:
    std::string programFolder_;
};

} // namespace kal
