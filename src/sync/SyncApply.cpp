#include "sync/SyncApply.h"

#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoMemo.h"
#include "todo/TodoRecord.h"
#include "todo/TodoStore.h"

#include <algorithm>
#include <set>

namespace kal {
namespace {

using ItemKey = std::pair<std::string, std::string>; // UID, RECURRENCE-ID

// The last of identical lines first, so that taking one out moves none of the others.
std::vector<RecordKey> lastFirst(std::vector<RecordKey> keys)
{
    std::sort(keys.begin(), keys.end(),
              [](const RecordKey& a, const RecordKey& b) { return a.occurrence > b.occurrence; });
    return keys;
}

ApplyResult failed(std::string reason)
{
    return ApplyResult{ApplyResult::Status::Failed, std::move(reason), false};
}

class SyncApplier {
public:
    SyncApplier(const ApplyContext& context, IcalImportPlan& plan)
        : context_(context), plan_(plan), identities_(plan.identities())
    {
        for (const RecordIdentity* identity : identities_.all())
            if (!identity->href.empty())
                syncedHrefs_.insert(identity->href);
    }

    ImportOutcome apply(const SyncChanges& changes)
    {
        forgetStale();
        if (changes.clearSync)
            forgetCollection();
        for (const SentAt& sent : changes.sent)
            attach(sent.key, sent.sent);
        for (const RecordIdentity& forgotten : changes.forgotten)
            if (const RecordIdentity* identity = identities_.findEqual(forgotten))
                identities_.remove(identity);
        for (const RecordKey& key : lastFirst(changes.removed))
            if (ImportOutcome done = plan_.remove(key); !done.ok())
                return done;
        for (const RecordKey& key : lastFirst(changes.removedIfUnchanged))
            if (ImportOutcome done = removeIfUnchanged(key); !done.ok())
                return done;
        for (const Download& download : changes.downloads)
            if (ImportOutcome done = lay(download); !done.ok())
                return done;
        for (const ConflictCopy& copy : changes.copies)
            if (ImportOutcome done = addCopy(copy); !done.ok())
                return done;
        // ETags learnt after the sending, for every record of the item.
        for (const auto& [href, etag] : changes.etags)
            for (RecordIdentity* identity : identities_.all())
                if (identity->href == href)
                    identity->etag = etag;
        return {};
    }

private:
    void forgetStale()
    {
        std::map<std::string, bool> gone;
        for (RecordIdentity* identity : identities_.all())
            if (forgettable(*identity, context_.snapshot, context_.window, context_.folders.dataPath, gone))
                identities_.remove(identity);
    }

    // Removals made for another collection have nowhere to go now.
    void forgetCollection()
    {
        for (RecordIdentity* identity : identities_.all()) {
            if (identity->removed())
                identities_.remove(identity);
            else
                identity->href = identity->etag = identity->synced = "";
        }
    }

    // The identity of the record at `key` takes what was sent; the uid and the source change
    // only through a new entry.
    void attach(const RecordKey& key, const SentRecord& sent)
    {
        RecordIdentity identity;
        if (const RecordIdentity* known = identities_.find(key)) {
            identity = *known;
            identities_.remove(known);
        }
        identity.key = key;
        identity.uid = sent.uid;
        identity.href = sent.href;
        identity.etag = sent.etag;
        identity.synced = sent.hash;
        if (sent.whole)
            identity.source = {};
        identities_.add(std::move(identity));
    }

    ImportOutcome removeIfUnchanged(const RecordKey& key)
    {
        const RecordIdentity* identity = identities_.find(key);
        bool found = false;
        if (ImportOutcome read = plan_.holds(key, found); !read.ok())
            return read;
        if (!found) {
            if (identity)
                identities_.remove(identity);
            return {};
        }
        if (identity && identity->synced == recordHash(key))
            return plan_.remove(key);
        if (identity)
            identities_.remove(identity);
        return {};
    }

    bool inWindow(const RecordKey& key) const
    {
        const std::optional<std::pair<int, int>> month = MonthOfFile(key.file);
        return !month || context_.window.contains(Date{month->first, month->second, 1});
    }

    // The records the item made that its new version no longer holds (in the window).
    ImportOutcome dropUncovered(const ServerItem& item)
    {
        if (!syncedHrefs_.count(item.href))
            return {};
        std::set<ItemKey> covered;
        for (const IcalEventItem& event : item.entries.events)
            covered.insert({event.uid, event.recurrenceId});
        for (const IcalTodoItem& todo : item.entries.todos)
            covered.insert({todo.uid, {}});
        std::vector<RecordIdentity> stale;
        for (const RecordIdentity* identity : identities_.all())
            if (identity->href == item.href && !covered.count(itemOf(*identity)))
                stale.push_back(*identity);
        std::sort(stale.begin(), stale.end(),
                  [](const auto& a, const auto& b) { return a.key.occurrence > b.key.occurrence; });
        for (const RecordIdentity& identity : stale) {
            bool found = false;
            if (ImportOutcome read = plan_.holds(identity.key, found); !read.ok())
                return read;
            if (found && inWindow(identity.key)) {
                if (ImportOutcome done = plan_.remove(identity.key); !done.ok())
                    return done;
            } else if (const RecordIdentity* gone = found ? nullptr : identities_.findEqual(identity)) {
                identities_.remove(gone);
            }
        }
        return {};
    }

    // The server's SEQUENCE counts for nothing here: its version is the newer one.
    IcalEntries newest(const ServerItem& item)
    {
        IcalEntries entries = item.entries;
        for (IcalEventItem& event : entries.events)
            for (const RecordIdentity* identity : identities_.ofItem(event.uid, event.recurrenceId))
                event.sequence = std::max(event.sequence, identity->sequence);
        for (IcalTodoItem& todo : entries.todos)
            for (const RecordIdentity* identity : identities_.ofItem(todo.uid, ""))
                todo.sequence = std::max(todo.sequence, identity->sequence);
        return entries;
    }

    void markSynced(const ServerItem& item)
    {
        for (const IcalEventItem& event : item.entries.events)
            for (RecordIdentity* identity : identities_.ofItem(event.uid, event.recurrenceId))
                setSynced(*identity, item, recordHash(identity->key));
        for (const IcalTodoItem& todo : item.entries.todos)
            for (RecordIdentity* identity : identities_.ofItem(todo.uid, "")) {
                const bool memoKept = TodoMemoNumber(identity->key.line) > 0;
                setSynced(*identity, item,
                          recordHash(identity->key, memoKept ? todo.todo.memo : std::vector<std::string>{}));
            }
    }

    static void setSynced(RecordIdentity& identity, const ServerItem& item, std::string hash)
    {
        identity.href = item.href;
        identity.etag = item.etag;
        identity.synced = std::move(hash);
    }

    ImportOutcome lay(const Download& download)
    {
        if (ImportOutcome done = dropUncovered(download.item); !done.ok())
            return done;
        for (const RecordKey& key : lastFirst(download.replacing))
            if (ImportOutcome done = plan_.remove(key); !done.ok())
                return done;
        if (ImportOutcome done = plan_.add(newest(download.item)); !done.ok())
            return done;
        markSynced(download.item);
        return {};
    }

    ImportOutcome addCopy(const ConflictCopy& copy)
    {
        RecordKey placed;
        if (ImportOutcome done = plan_.addRecord(copy.like, copy.date, copy.memo, placed); !done.ok())
            return done;
        // A ToDo copy takes a memo number of its own, so its line is the one placed.
        if (copy.sent) {
            SentRecord sent = *copy.sent;
            sent.hash = recordHash(placed, TodoMemoNumber(placed.line) > 0 ? copy.memo : std::vector<std::string>{});
            attach(placed, sent);
        }
        return {};
    }

    const ApplyContext& context_;
    IcalImportPlan& plan_;
    IdentityTable& identities_;
    std::set<std::string> syncedHrefs_; // items that had records before this sync
};

std::vector<FileUpdate> withState(std::vector<FileUpdate> updates, const ApplyContext& context,
                                  const SyncChanges& changes)
{
    const std::string& folder = context.folders.programFolder;
    if (const std::optional<files::FileChange> change = syncStateChange(folder, context.snapshot.state, changes.state))
        updates.push_back(FileUpdate{change->path, files::splitLines(*change->bytes)});
    const auto read = context.snapshot.files.find(syncPendingPath(folder));
    if (const std::optional<files::FileChange> change = syncPendingChange(
            folder, read == context.snapshot.files.end() ? std::nullopt : read->second, changes.pending))
        updates.push_back(FileUpdate{change->path, files::splitLines(change->bytes.value_or(""))});
    return updates;
}

} // namespace

ApplyResult applySyncChanges(const ApplyContext& context, const SyncChanges& changes, files::FileOps& ops)
{
    files::FolderLock lock = files::lockFolders(context.folders.all());
    if (!lock)
        return failed(lock.reason());
    if (!snapshotCurrent(context.snapshot))
        return ApplyResult{ApplyResult::Status::FilesChanged, {}, false};
    const SyncFolders& f = context.folders;
    ImportOptions options;
    options.skipDuplicates = false;
    IcalImportPlan plan(IcalImportRequest{
        {}, context.window.from, context.window.to, context.today, options, f.dataPath, f.todoPath, f.programFolder});
    if (ImportOutcome started = plan.start(ImportRun::Execute); !started.ok())
        return failed(started.message);
    if (ImportOutcome applied = SyncApplier(context, plan).apply(changes); !applied.ok())
        return failed(applied.message);
    std::vector<FileUpdate> updates;
    if (ImportOutcome planned = plan.updates(updates); !planned.ok())
        return failed(planned.message);
    updates = withState(std::move(updates), context, changes);
    const ImportWriteResult written = writeImportFiles(updates, ops);
    if (!written.result.ok())
        return ApplyResult{ApplyResult::Status::Failed, written.result.reason, written.written > 0};
    return ApplyResult{ApplyResult::Status::Done, {}, !updates.empty()};
}

} // namespace kal
