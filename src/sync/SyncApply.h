// The last step of a sync: what was decided and sent, laid over the data files and the
// identities under the folders' lock, and written all at once. When any file read at the start
// of the sync changed meanwhile, nothing is written and the sync starts over.
#pragma once

#include "platform/FileOps.h"
#include "sync/SyncLocal.h"
#include "sync/SyncPending.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kal {

// A local record now on the server.
struct SentRecord {
    std::string uid;
    std::string href;
    std::string etag;
    std::string hash;  // of the record as sent
    bool whole = true; // an item of its own now, no longer part of another
};

struct SentAt {
    RecordKey key; // where the snapshot found it
    SentRecord sent;
};

// A server item to lay over the records it made before (matched by UID), or over local records
// that have no identity yet and read as it does (`replacing`).
struct Download {
    ServerItem item;
    std::vector<RecordKey> replacing;
};

// A local version kept beside the server's, marked "（競合）".
struct ConflictCopy {
    std::string uid;
    RecordKey like; // its line is the copy's
    Date date;
    std::vector<std::string> memo;
    std::optional<SentRecord> sent;
};

struct SyncChanges {
    bool clearSync = false; // the collection changed: no href of the table is its
    std::vector<SentAt> sent;
    std::map<std::string, std::string> etags;  // href: the ETag after an update
    std::vector<RecordIdentity> forgotten;     // identities of removed records, settled
    std::vector<RecordKey> removed;            // records whose server item is gone
    std::vector<RecordKey> removedIfUnchanged; // likewise, unless changed since the last sync
    std::vector<Download> downloads;
    std::vector<ConflictCopy> copies;
    SyncState state;
    SyncPending pending;
};

struct ApplyResult {
    enum class Status { Done, FilesChanged, Failed };
    Status status = Status::Done;
    std::string reason; // UTF-8
    bool wroteFiles = false;
};

struct ApplyContext {
    const SyncFolders& folders;
    const SyncSnapshot& snapshot;
    const SyncWindow& window;
    Date today;
};

ApplyResult applySyncChanges(const ApplyContext& context, const SyncChanges& changes,
                             files::FileOps& ops = files::systemFileOps());

} // namespace kal
