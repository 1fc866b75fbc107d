// What the sync keeps between runs, beside the identities in the program folder ("Sync.dat",
// written in the same change as Identity.dat): the collection the hrefs belong to, the server's
// sync token or ctag as of the last sync, what the collection accepts, and the window synced.
#pragma once

#include "platform/FileTransaction.h"
#include "sync/SyncItems.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

inline constexpr const char* kSyncStateFileName = "Sync.dat";

struct SyncState {
    std::string url;   // the collection; empty before the first sync
    std::string token; // empty: the server offers no sync-collection
    std::string ctag;
    bool events = true;
    bool todos = true;
    std::optional<SyncWindow> window;

    bool operator==(const SyncState&) const = default;
};

struct SyncStateFile {
    bool ok = true;
    std::string reason; // UTF-8
    SyncState state;
    std::vector<std::string> lines; // as read
};
// A missing file is the state before the first sync; a damaged value reads as missing, which
// only makes the next sync list the whole collection.
SyncStateFile loadSyncState(const std::string& programFolder);

// The file's new content when `state` differs from what it holds.
std::optional<files::FileChange> syncStateChange(const std::string& programFolder, const SyncStateFile& read,
                                                 const SyncState& state);

} // namespace kal
