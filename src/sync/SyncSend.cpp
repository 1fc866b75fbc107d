// The local changes sent to the server: a changed item written into the server's version of it,
// a removed one deleted (an occurrence excluded), a new record created under its UID. A
// server that changed an item meanwhile (412) makes it a conflict; one that already holds the
// UID (a send whose answer was lost) has its item adopted.
#include "sync/SyncRun.h"

#include "todo/TodoRecord.h"

#include <algorithm>

namespace kal {

bool SyncRun::sendLocalChanges()
{
    std::vector<std::string> hrefs;
    for (const auto& [href, identities] : known_)
        if (!handled_.count(href) && hasLocalChanges(href))
            hrefs.push_back(href);
    toSend_ += hrefs.size();
    for (const std::string& href : hrefs) {
        report(SyncStage::Sending, sending_++, toSend_);
        if (stopped() || (!handled_.count(href) && !sendChangesOf(href)))
            return false;
    }
    return true;
}

bool SyncRun::sendChangesOf(const std::string& href)
{
    handled_.insert(href);
    const auto base = items_.find(href);
    // One too large to fetch, or unreadable, is left as it is.
    if (base == items_.end() || !base->second.readable)
        return true;
    const std::vector<const RecordIdentity*>& locals = known_.at(href);
    for (const RecordIdentity* identity : locals)
        claim(identity->key);
    const bool recurring = std::any_of(locals.begin(), locals.end(),
                                       [](const RecordIdentity* i) { return !i->source.recurrenceId.empty(); });
    const bool allGone = std::all_of(locals.begin(), locals.end(), [&](const RecordIdentity* i) {
        return snapshot_.stateOf(*i, window_) == RecordState::Gone;
    });
    // A series reaches beyond the window: its occurrences are excluded one by one.
    if (allGone && !recurring)
        return sendRemoval(base->second, locals);
    return sendEdits(base->second, locals);
}

bool SyncRun::sendEdits(const ServerItem& base, const std::vector<const RecordIdentity*>& locals)
{
    std::map<std::pair<std::string, std::string>, std::vector<const RecordIdentity*>> items;
    for (const RecordIdentity* identity : locals)
        items[itemOf(*identity)].push_back(identity);
    Edits edits;
    for (const auto& [item, identities] : items)
        planEdit(base, item, identities, edits);
    if (edits.events.empty() && !edits.todo)
        return true;
    const std::optional<std::string> text = editedItem(base, edits.events, edits.todo, request_.alarmMinutes);
    if (!text) {
        counts_.localOnly += static_cast<int>(edits.sent.size() + edits.excluded.size());
        return true;
    }
    return sendEdited(base, *text, edits.sent, edits.excluded);
}

// What the changed and removed records of one event (or occurrence) or ToDo entry ask of the
// server's item.
void SyncRun::planEdit(const ServerItem& base, const std::pair<std::string, std::string>& item,
                       const std::vector<const RecordIdentity*>& identities, Edits& edits)
{
    const auto inState = [&](RecordState state) {
        return static_cast<std::size_t>(std::count_if(identities.begin(), identities.end(), [&](const auto* i) {
            return snapshot_.stateOf(*i, window_) == state;
        }));
    };
    const std::size_t gone = inState(RecordState::Gone), touched = inState(RecordState::Changed) + gone;
    if (touched == 0)
        return;
    const RecordIdentity* first = identities.front();
    const LocalRecord* record = snapshot_.recordAt(first->key);
    if (first->key.file == kTodoFileName) {
        if (record) {
            edits.todo = TodoEdit{IcalTodo{record->key.line, record->memo, item.first, first->sequence}};
            edits.sent.push_back(first);
        }
        return;
    }
    const auto entry = std::find_if(base.entries.events.begin(), base.entries.events.end(), [&](const auto& e) {
        return e.uid == item.first && e.recurrenceId == item.second;
    });
    const std::size_t days = entry == base.entries.events.end() ? 0 : entry->days.size();
    if (days == 1 && identities.size() == 1 && record) {
        edits.events.push_back(
            {item.first, item.second,
             IcalEvent{record->date.year, record->date.month, record->key.line, first->uid, first->sequence}});
        edits.sent.push_back(first);
    } else if (gone == identities.size() && gone == days && !item.second.empty()) {
        edits.events.push_back({item.first, item.second, std::nullopt});
        edits.excluded.insert(edits.excluded.end(), identities.begin(), identities.end());
    } else {
        // One day of a span, or a removal the item cannot show: kept here only.
        counts_.localOnly += static_cast<int>(touched);
    }
}

bool SyncRun::sendEdited(const ServerItem& base, const std::string& text,
                         const std::vector<const RecordIdentity*>& sent,
                         const std::vector<const RecordIdentity*>& excluded)
{
    std::string etag = base.etag;
    // A change the server's item holds no field for (a style) needs no writing.
    if (text != base.icalendar) {
        const caldav::WriteResult written = server_.update(base.href, base.etag, text);
        if (written.status.error == caldav::DavError::PreconditionFailed)
            return serverChangedMeanwhile(base.href);
        if (written.status.error == caldav::DavError::NotFound) {
            handled_.erase(base.href);
            decideRemoved(base.href);
            return true;
        }
        if (!written.status.ok())
            return failedWith(written.status);
        etag = written.etag;
        ownEtags_[base.href] = etag;
        ++counts_.updated;
    }
    changes_.etags[base.href] = etag;
    for (const RecordIdentity* identity : sent)
        changes_.sent.push_back(SentAt{
            identity->key, SentRecord{identity->uid, base.href, etag, snapshot_.recordAt(identity->key)->hash, false}});
    for (const RecordIdentity* identity : excluded)
        changes_.forgotten.push_back(*identity);
    return true;
}

bool SyncRun::sendRemoval(const ServerItem& base, const std::vector<const RecordIdentity*>& locals)
{
    const caldav::DavStatus removed = server_.remove(base.href, base.etag);
    if (removed.error == caldav::DavError::PreconditionFailed)
        return serverChangedMeanwhile(base.href);
    if (!removed.ok() && removed.error != caldav::DavError::NotFound)
        return failedWith(removed);
    for (const RecordIdentity* identity : locals)
        changes_.forgotten.push_back(*identity);
    ownRemovals_.insert(base.href);
    ++counts_.deleted;
    return true;
}

// The item changed on the server after it was listed: decided again as a server change.
bool SyncRun::serverChangedMeanwhile(const std::string& href)
{
    ServerItem fresh;
    if (!refetched(href, fresh))
        return false;
    handled_.erase(href);
    if (fresh.icalendar.empty())
        decideRemoved(href);
    else
        decideServerItem(fresh);
    return true;
}

bool SyncRun::refetched(const std::string& href, ServerItem& item)
{
    caldav::ItemBodies bodies = server_.fetch({href});
    if (!bodies.status.ok())
        return failedWith(bodies.status);
    item = ServerItem{};
    item.href = href;
    if (bodies.items.empty())
        return true;
    caldav::ItemBody& body = bodies.items.front();
    item = readServerItem(body.href, body.etag, std::move(body.icalendar), window_, request_.today,
                          syncKindsOf(events_, todos_));
    items_.insert_or_assign(href, item);
    return true;
}

std::vector<LocalRecord> SyncRun::newRecords()
{
    std::vector<LocalRecord> out;
    for (const LocalRecord& record : snapshot_.records) {
        if (claimed(record.key) || (record.isTodo() ? !todos_ : !events_))
            continue;
        const RecordIdentity* identity = snapshot_.identities.find(record.key);
        if (!identity || hrefOf(*identity).empty())
            out.push_back(record);
    }
    for (const LocalRecord* record : detached_)
        out.push_back(*record);
    return out;
}

bool SyncRun::sendNewRecords()
{
    const std::vector<LocalRecord> fresh = newRecords();
    const std::size_t copies = changes_.copies.size();
    toSend_ += fresh.size() + copies;
    for (const LocalRecord& record : fresh) {
        report(SyncStage::Sending, sending_++, toSend_);
        if (stopped() || !sendNew(record, std::nullopt))
            return false;
    }
    for (std::size_t i = 0; i < copies; ++i) {
        const ConflictCopy& copy = changes_.copies[i];
        const LocalRecord record{copy.like, copy.date, copy.memo, recordHash(copy.like, copy.memo)};
        report(SyncStage::Sending, sending_++, toSend_);
        if (stopped() || !sendNew(record, i))
            return false;
    }
    return true;
}

bool SyncRun::sendNew(const LocalRecord& record, std::optional<std::size_t> copy)
{
    const RecordIdentity* identity = copy ? nullptr : snapshot_.identities.find(record.key);
    const std::string uid = identity ? identity->uid : newUid();
    const int sequence = identity ? identity->sequence : 0;
    const std::string text =
        record.isTodo() ? newTodoItem(IcalTodo{record.key.line, record.memo, uid, sequence})
                        : newEventItem(IcalEvent{record.date.year, record.date.month, record.key.line, uid, sequence},
                                       request_.alarmMinutes);
    const caldav::WriteResult created = server_.create(uid + ".ics", text);
    if (created.status.error == caldav::DavError::PreconditionFailed ||
        created.status.error == caldav::DavError::UidConflict)
        return adopt(record, created, uid);
    if (!created.status.ok())
        return failedWith(created.status);
    const SentRecord sent{uid, created.href, created.etag, record.hash, true};
    ownEtags_[created.href] = created.etag;
    if (copy)
        changes_.copies[*copy].sent = sent;
    else
        changes_.sent.push_back(SentAt{record.key, sent});
    ++counts_.sent;
    return true;
}

// The server holds the UID already: the record is that item when both read alike, else the
// server's version comes in and the local one is kept beside it.
bool SyncRun::adopt(const LocalRecord& record, const caldav::WriteResult& refused, const std::string& uid)
{
    const std::string href = refused.conflictHref.empty() ? refused.href : refused.conflictHref;
    ServerItem item;
    if (!refetched(href, item))
        return false;
    if (!item.readable || item.uid != uid)
        return failedWith(refused.status);
    handled_.insert(href);
    if (itemContent(item, window_) == std::multiset<std::string>{recordContent(record)}) {
        changes_.sent.push_back(SentAt{record.key, SentRecord{uid, href, item.etag, record.hash, true}});
        ownEtags_[href] = item.etag;
        return true;
    }
    ++counts_.conflicts;
    changes_.downloads.push_back(Download{item, {record.key}});
    keepCopy(record);
    return true;
}

void SyncRun::learnMissingEtags()
{
    std::vector<std::string> hrefs;
    for (const auto& [href, etag] : ownEtags_)
        if (etag.empty())
            hrefs.push_back(href);
    if (hrefs.empty())
        return;
    const caldav::ItemBodies bodies = server_.fetch(hrefs);
    if (!bodies.status.ok())
        return;
    for (const caldav::ItemBody& body : bodies.items) {
        ownEtags_[body.href] = body.etag;
        changes_.etags[body.href] = body.etag;
    }
}

} // namespace kal
