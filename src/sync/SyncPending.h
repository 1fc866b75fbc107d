// What the next sync must ask the server about before it trusts the local files
// ("SyncPending.dat", beside Sync.dat and Identity.dat): the items this sync is about to write,
// recorded before the first request goes out, so that a sync killed or cut off before the
// replies came finds its own writes on the server instead of sending them again; and the items
// that could not be read, fetched again at every sync until they read.
//
// The file: one line each, tab-separated fields, percent-encoded as in Identity.dat:
//   C  uid  read-hash  record-hash        an item created under this UID
//   U  href  read-hash                    an item rewritten
// (the read-hash: of what the sync reads of the text sent, which a server's way of storing it
// does not change)
//   S  href  uid  source-uid  source-rid  source-part  record-hash
//                                         a record the rewrite of `href` sent
//   R  href                               an item that could not be read
// Any other line is ignored; a file that cannot be read reads as empty (the next sync then only
// compares contents, as it would after a lost file).
#pragma once

#include "exchange/RecordIdentities.h"
#include "platform/FileTransaction.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kal {

inline constexpr const char* kSyncPendingFileName = "SyncPending.dat";

struct PendingCreate {
    std::string readHash;   // of what the sync reads of the text sent
    std::string recordHash; // of the record as sent
    bool operator==(const PendingCreate&) const = default;
};

// A record of an item rewritten: which of its records, and its hash as sent.
struct PendingPart {
    std::string uid;
    ItemSource source;
    std::string recordHash;
    bool operator==(const PendingPart&) const = default;
};

struct PendingUpdate {
    std::string readHash;
    std::vector<PendingPart> parts;
    bool operator==(const PendingUpdate&) const = default;
};

struct SyncPending {
    std::map<std::string, PendingCreate> creates; // UID: the create
    std::map<std::string, PendingUpdate> updates; // href: the rewrite
    std::set<std::string> unread;                 // hrefs

    bool empty() const { return creates.empty() && updates.empty() && unread.empty(); }
    bool operator==(const SyncPending&) const = default;
};

std::string syncPendingPath(const std::string& programFolder);
SyncPending readSyncPending(const std::string& bytes);
std::string syncPendingBytes(const SyncPending& pending);

// The file's change to `pending` from `read` (its bytes as read, nothing when missing); none
// when it stays as it is or, missing, would stay empty.
std::optional<files::FileChange> syncPendingChange(const std::string& programFolder,
                                                   const std::optional<std::string>& read, const SyncPending& pending);

} // namespace kal
