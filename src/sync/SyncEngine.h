// Two-way sync of the schedules (VEVENT) and ToDo entries (VTODO) with one CalDAV calendar
// collection, within the sync window of the settings.
//
// One sync: the data files and identities are read under the folders' lock (SyncLocal.h); the
// lock is let go while the server is asked what changed (sync-collection with the stored token,
// else the ctag and the items' ETags) and while the changed items are fetched and the local
// changes sent; then the files are written at once under the lock (SyncApply.h), after checking
// that nothing changed them meanwhile (else the sync starts over, and what it sent is found on
// the server again, never sent twice).
//
// Local changes are found through Identity.dat: a record whose hash differs from the one at the
// last sync changed; a record without identity is new; an identity whose record is gone from
// its file (in the window) was removed. When both sides changed an item, the server's version
// stays in place and the local one is kept beside it with "（競合）" before its title. A change to
// one day of a multi-day event stays local and is reported; one to an occurrence of a recurring
// event goes up as an exception (RECURRENCE-ID), its removal as an EXDATE.
#pragma once

#include "platform/FileOps.h"
#include "settings/SyncSettings.h"
#include "sync/CalDavService.h"
#include "sync/SyncLocal.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>

namespace kal {

struct SyncRequest {
    SyncFolders folders;
    SyncSettings settings;
    Date today;
    int alarmMinutes = 0; // the alarm lead time of the settings, for the alarms sent
};

enum class SyncStage { Reading, Listing, Fetching, Sending, Writing };

struct SyncProgress {
    SyncStage stage = SyncStage::Reading;
    std::size_t done = 0;
    std::size_t total = 0; // 0: not known
};

struct SyncHooks {
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(const SyncProgress&)> progress;
};

struct SyncCounts {
    int received = 0;   // items new from the server
    int sent = 0;       // items new on the server
    int updated = 0;    // items changed, either way
    int deleted = 0;    // items removed, either way
    int conflicts = 0;  // items both sides changed
    int copiesCut = 0;  // conflict copies whose place was cut to make room for the mark
    int localOnly = 0;  // local changes the server's item cannot express, kept here
    int unreadable = 0; // asked for again at the next sync
    int tooLarge = 0;
    int capped = 0;             // recurring items with more occurrences than the import takes
    bool eventsRefused = false; // the collection takes no VEVENT: schedules not synced
    bool todosRefused = false;  // likewise ToDo entries
};

struct SyncOutcome {
    bool ok = true;
    std::string reason; // UTF-8: why the sync failed or stopped
    caldav::DavError error = caldav::DavError::None;
    SyncCounts counts;
    bool wroteFiles = false;
};

SyncOutcome runSync(const SyncRequest& request, caldav::Collection& server, const SyncHooks& hooks = {},
                    files::FileOps& ops = files::systemFileOps());
// The collection of the settings, signed in with the stored password, then the sync.
SyncOutcome runSync(const SyncRequest& request, caldav::Service& service, const SyncHooks& hooks = {});

// One line: "同期しました（受信 n 件、送信 n 件、更新 n 件、削除 n 件、競合 n 件）" and what was not
// synced.
std::string syncSummary(const SyncCounts& counts);
// The same, short, for a status bar: "受信 n・送信 n・更新 n・削除 n・競合 n", "（注意あり）" when the
// summary says more.
std::string syncBrief(const SyncCounts& counts);
// What the progress shows for a stage.
std::string syncStageText(const SyncProgress& progress);

inline constexpr const char* kSyncCaption = "同期";

} // namespace kal
