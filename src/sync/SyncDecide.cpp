// What the server's changes do to the local records: new items come in, changed ones replace
// the records they made, removed ones take them away, and where both sides changed an item the
// local version is kept beside the server's.
#include "sync/SyncRun.h"

#include "platform/ByteText.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoRecord.h"

namespace kal {
namespace {

const std::string kConflictMark = KAL_SJIS("（競合）");

std::string keyText(const RecordKey& key)
{
    return key.file + '\0' + std::to_string(key.occurrence) + '\0' + key.line;
}

// The copy keeps its whole title. "（競合）" goes before it where the field has room; else the
// title moves to a free field beside it (a schedule's empty place, a ToDo entry's memo) and the
// title field shows the mark and the title's start. A schedule whose place is taken has the mark
// before the place instead; false when that place had to be cut to its field.
bool markSchedule(ScheduleFields& fields)
{
    const std::size_t width = kRecTextBytes;
    if (fields.title.starts_with(kConflictMark) || fields.place.starts_with(kConflictMark))
        return true;
    if (kConflictMark.size() + fields.title.size() <= width) {
        fields.title = kConflictMark + fields.title;
        return true;
    }
    if (text::trimRight(fields.place).empty()) {
        fields.place = fields.title;
        fields.title = text::cutBytes(kConflictMark + fields.title, width);
        return true;
    }
    const std::string place = kConflictMark + fields.place;
    fields.place = text::cutBytes(place, width);
    return fields.place == place;
}

void markTodo(TodoFields& fields, std::vector<std::string>& memo)
{
    const std::size_t width = kTodoTitleBytes;
    if (fields.title.starts_with(kConflictMark))
        return;
    if (kConflictMark.size() + fields.title.size() > width)
        memo.insert(memo.begin(), fields.title);
    fields.title = text::cutBytes(kConflictMark + fields.title, width);
}

} // namespace

const std::string& SyncRun::hrefOf(const RecordIdentity& identity) const
{
    static const std::string none;
    return clearSync_ ? none : identity.href;
}

void SyncRun::claim(const RecordKey& key)
{
    claimed_.insert(keyText(key));
}

bool SyncRun::claimed(const RecordKey& key) const
{
    return claimed_.count(keyText(key)) > 0;
}

bool SyncRun::hasLocalChanges(const std::string& href) const
{
    const auto found = known_.find(href);
    if (found == known_.end())
        return false;
    for (const RecordIdentity* identity : found->second)
        if (const RecordState state = snapshot_.stateOf(*identity, window_);
            state == RecordState::Changed || state == RecordState::Gone)
            return true;
    return false;
}

void SyncRun::decideServerItems()
{
    for (const auto& [href, item] : items_) {
        const auto known = knownEtags_.find(href);
        const bool changedThere = known == knownEtags_.end() || known->second != item.etag || item.etag.empty();
        // Changed there only in what the records do not show (a description): no conflict, the
        // local change is written into the new version.
        if (changedThere && hasLocalChanges(href) && serverShowsNoChange(href, item))
            continue;
        if (changedThere) {
            decideServerItem(item);
            continue;
        }
        // Unchanged there: fetched to send local changes into, or to expand over a moved window.
        if (windowMoved_ && item.readable && !hasLocalChanges(href)) {
            handled_.insert(href);
            counts_.updated += localContent(known_.at(href)) != serverContent(item);
            changes_.downloads.push_back(Download{item, {}});
        }
    }
}

namespace {

// The hash of what the item holds now for the record of `identity`; nothing when it holds none.
std::optional<std::string> serverHashOf(const RecordIdentity& identity, const ServerItem& item)
{
    const auto [uid, recurrenceId] = itemOf(identity);
    if (identity.key.file == kTodoFileName) {
        for (const IcalTodoItem& todo : item.entries.todos)
            if (todo.uid == uid)
                return contentHash(todoContent(todo.todo));
        return std::nullopt;
    }
    const auto part = static_cast<std::size_t>(identity.source.part);
    for (const IcalEventItem& event : item.entries.events)
        if (event.uid == uid && event.recurrenceId == recurrenceId && part < event.days.size())
            return contentHash(dayContent(event.days[part]));
    return std::nullopt;
}

// One event of one day, not an occurrence, or one ToDo entry: what one record is as a whole.
bool holdsOneRecord(const ServerItem& item)
{
    const auto& events = item.entries.events;
    if (events.empty())
        return item.entries.todos.size() == 1;
    return events.size() == 1 && events.front().recurrenceId.empty() && events.front().days.size() == 1;
}

} // namespace

bool SyncRun::serverShowsNoChange(const std::string& href, const ServerItem& item) const
{
    if (!item.readable)
        return false;
    std::size_t records = 0;
    for (const RecordIdentity* identity : known_.at(href)) {
        if (snapshot_.stateOf(*identity, window_) == RecordState::Elsewhere)
            continue;
        ++records;
        if (serverHashOf(*identity, item) != identity->synced)
            return false;
    }
    // Nor did a day or an occurrence come or go there.
    return itemContent(item, window_).size() == records;
}

void SyncRun::decideServerItem(const ServerItem& item)
{
    handled_.insert(item.href);
    if (!item.readable) {
        ++counts_.unreadable;
        pending_.unread.insert(item.href);
        return;
    }
    std::vector<const RecordIdentity*> locals;
    if (const auto known = known_.find(item.href); known != known_.end())
        locals = known->second;
    if (locals.empty())
        locals = unsyncedOf(item);
    Download download{item, {}};
    if (locals.empty()) {
        download.replacing = sameUnsynced(item);
        if (download.replacing.size() == 1 && holdsOneRecord(item)) {
            // The record is that item already; it keeps its bytes (a style, the form of a character).
            const LocalRecord& record = *snapshot_.recordAt(download.replacing.front());
            changes_.sent.push_back(SentAt{record.key, SentRecord{item.uid, item.href, item.etag, record.hash, true}});
            return;
        }
        if (download.replacing.empty() && (!item.entries.events.empty() || !item.entries.todos.empty()))
            ++counts_.received;
        changes_.downloads.push_back(std::move(download));
        return;
    }
    bool changedHere = false;
    for (const RecordIdentity* identity : locals) {
        const RecordState state = snapshot_.stateOf(*identity, window_);
        changedHere = changedHere || state == RecordState::Changed || state == RecordState::Gone;
        claim(identity->key);
    }
    const bool same = localContent(locals) == serverContent(item);
    if (changedHere && !same) {
        ++counts_.conflicts;
        for (const RecordIdentity* identity : locals)
            if (snapshot_.stateOf(*identity, window_) == RecordState::Changed)
                keepCopy(*snapshot_.recordAt(identity->key), item.href);
    } else if (!same) {
        ++counts_.updated;
    }
    changes_.downloads.push_back(std::move(download));
}

// An item gone from the server takes its unchanged records with it; a record changed here
// since is sent again as an item of its own.
void SyncRun::decideRemoved(const std::string& href)
{
    if (!handled_.insert(href).second)
        return;
    bool removedHere = false;
    for (const RecordIdentity* identity : known_[href]) {
        claim(identity->key);
        switch (snapshot_.stateOf(*identity, window_)) {
        case RecordState::Unchanged:
            changes_.removed.push_back(identity->key);
            removedHere = true;
            break;
        case RecordState::Changed:
            detached_.push_back(snapshot_.recordAt(identity->key));
            break;
        case RecordState::Gone:
            changes_.forgotten.push_back(*identity);
            break;
        case RecordState::Elsewhere:
            changes_.removedIfUnchanged.push_back(identity->key);
            break;
        }
    }
    counts_.deleted += removedHere;
}

// Entries of the item's UID that were never synced with this collection (an export, an import,
// or a send whose answer was lost).
std::vector<const RecordIdentity*> SyncRun::unsyncedOf(const ServerItem& item)
{
    std::vector<const RecordIdentity*> out;
    const auto take = [&](const std::string& uid, const std::string& recurrenceId) {
        for (const RecordIdentity* identity : snapshot_.identities.ofItem(uid, recurrenceId))
            if (hrefOf(*identity).empty() && !claimed(identity->key))
                out.push_back(identity);
    };
    for (const IcalEventItem& event : item.entries.events)
        take(event.uid, event.recurrenceId);
    for (const IcalTodoItem& todo : item.entries.todos)
        take(todo.uid, {});
    return out;
}

// Records without identity that read exactly as the item's days (in the window) or ToDo entry:
// the same item entered on both sides, or sent by a sync that never learnt the answer.
std::vector<RecordKey> SyncRun::sameUnsynced(const ServerItem& item)
{
    if (!indexed_) {
        for (const LocalRecord& record : snapshot_.records) {
            const RecordIdentity* identity = snapshot_.identities.find(record.key);
            if (!identity || hrefOf(*identity).empty()) {
                unsyncedIndex_[recordContent(record)].push_back(record.key);
                if (const std::optional<std::string> listed = recordContentAsListed(record))
                    unsyncedIndex_[*listed].push_back(record.key);
            }
        }
        indexed_ = true;
    }
    std::vector<RecordKey> found;
    std::set<std::string> taken;
    for (const std::string& content : serverContent(item)) {
        const auto candidates = unsyncedIndex_.find(content);
        const RecordKey* free = nullptr;
        if (candidates != unsyncedIndex_.end())
            for (const RecordKey& key : candidates->second)
                if (!claimed(key) && !taken.count(keyText(key)) && !free)
                    free = &key;
        if (!free)
            return {};
        taken.insert(keyText(*free));
        found.push_back(*free);
    }
    for (const RecordKey& key : found)
        claim(key);
    return found;
}

std::multiset<std::string> SyncRun::localContent(const std::vector<const RecordIdentity*>& locals) const
{
    std::multiset<std::string> content;
    for (const RecordIdentity* identity : locals)
        if (const LocalRecord* record = snapshot_.recordAt(identity->key))
            content.insert(recordContent(*record));
    return content;
}

std::multiset<std::string> SyncRun::serverContent(const ServerItem& item) const
{
    return itemContent(item, window_);
}

// A copy sent by a sync that was cut off before its end is on the server already, under the
// same UID: that item comes down as the copy.
void SyncRun::keepCopy(const LocalRecord& record, const std::string& href)
{
    std::string uid = uidFrom("copy\n" + href + '\n' + record.hash);
    if (serverUids_.count(uid))
        return;
    RecordKey like = record.key;
    std::vector<std::string> memo = record.memo;
    if (record.isTodo()) {
        TodoFields fields = ParseTodo(record.key.line).value_or(TodoFields{});
        markTodo(fields, memo);
        like.line = ComposeTodo(fields);
    } else {
        ScheduleFields fields = ReadSchedule(record.key.line);
        counts_.copiesCut += !markSchedule(fields);
        like.line = ComposeSchedule(fields);
    }
    changes_.copies.push_back(
        ConflictCopy{std::move(uid), std::move(like), record.date, std::move(memo), std::nullopt});
}

} // namespace kal
