// The local changes sent to the server: a changed item written into the server's version of it,
// a removed one deleted (an occurrence excluded), a new record created under its UID. What will
// be written is planned and recorded first (SyncPending.h), then sent. A server that changed an
// item meanwhile (412) makes it a conflict; one that already holds the UID (a send whose answer
// was lost) has its item adopted.
#include "sync/SyncRun.h"

#include "todo/TodoRecord.h"

#include <algorithm>

namespace kal {

bool SyncRun::sendEverything()
{
    const std::vector<Outgoing> outgoing = planLocalChanges();
    const std::size_t detachedBefore = detached_.size();
    const std::vector<NewItem> fresh = planNew(newRecords(), changes_.copies.size());
    toSend_ += outgoing.size() + fresh.size();
    if (!recordIntents(outgoing, fresh))
        return false;
    for (const Outgoing& item : outgoing) {
        report(SyncStage::Sending, sending_++, toSend_);
        if (stopped() || !send(item))
            return false;
    }
    for (const NewItem& item : fresh) {
        report(SyncStage::Sending, sending_++, toSend_);
        if (stopped() || !sendNew(item))
            return false;
    }
    // Conflict copies, and records whose item went while they were sent.
    std::vector<LocalRecord> late;
    for (std::size_t i = detachedBefore; i < detached_.size(); ++i)
        late.push_back(*detached_[i]);
    const std::vector<NewItem> copies = planNew(late, 0);
    if (copies.empty())
        return true;
    toSend_ += copies.size();
    if (!recordIntents({}, copies))
        return false;
    for (const NewItem& item : copies) {
        report(SyncStage::Sending, sending_++, toSend_);
        if (stopped() || !sendNew(item))
            return false;
    }
    return true;
}

std::vector<SyncRun::Outgoing> SyncRun::planLocalChanges()
{
    std::vector<Outgoing> out;
    for (const auto& [href, identities] : known_)
        if (!handled_.count(href) && hasLocalChanges(href))
            planChangesOf(href, out);
    return out;
}

void SyncRun::planChangesOf(const std::string& href, std::vector<Outgoing>& out)
{
    handled_.insert(href);
    const auto base = items_.find(href);
    // One too large to fetch, or unreadable, is left as it is.
    if (base == items_.end() || !base->second.readable)
        return;
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
        out.push_back(Outgoing{&base->second, std::nullopt, locals, {}});
    else
        planEdits(base->second, locals, out);
}

void SyncRun::planEdits(const ServerItem& base, const std::vector<const RecordIdentity*>& locals,
                        std::vector<Outgoing>& out)
{
    std::map<std::pair<std::string, std::string>, std::vector<const RecordIdentity*>> items;
    for (const RecordIdentity* identity : locals)
        items[itemOf(*identity)].push_back(identity);
    Edits edits;
    for (const auto& [item, identities] : items)
        planEdit(base, item, identities, edits);
    if (edits.events.empty() && !edits.todo)
        return;
    std::optional<std::string> text = editedItem(base, edits.events, edits.todo, request_.alarmMinutes);
    if (!text) {
        counts_.localOnly += static_cast<int>(edits.sent.size() + edits.excluded.size());
        return;
    }
    out.push_back(Outgoing{&base, std::move(text), std::move(edits.sent), std::move(edits.excluded)});
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

bool SyncRun::send(const Outgoing& outgoing)
{
    return outgoing.text ? sendEdited(outgoing) : sendRemoval(outgoing);
}

bool SyncRun::sendEdited(const Outgoing& outgoing)
{
    const ServerItem& base = *outgoing.base;
    const std::string href = base.href;
    std::string etag = base.etag;
    // A change the server's item holds no field for (a style) needs no writing.
    if (*outgoing.text != base.icalendar) {
        const caldav::WriteResult written = server_.update(href, base.etag, *outgoing.text);
        if (written.status.error == caldav::DavError::PreconditionFailed) {
            answered(href);
            return serverChangedMeanwhile(href);
        }
        if (written.status.error == caldav::DavError::NotFound) {
            answered(href);
            handled_.erase(href);
            decideRemoved(href);
            return true;
        }
        if (!written.status.ok())
            return failedWith(written.status);
        answered(href);
        etag = written.etag;
        ownEtags_[href] = etag;
        ++counts_.updated;
    }
    changes_.etags[href] = etag;
    for (const RecordIdentity* identity : outgoing.sent)
        changes_.sent.push_back(SentAt{
            identity->key, SentRecord{identity->uid, href, etag, snapshot_.recordAt(identity->key)->hash, false}});
    for (const RecordIdentity* identity : outgoing.excluded)
        changes_.forgotten.push_back(*identity);
    return true;
}

bool SyncRun::sendRemoval(const Outgoing& outgoing)
{
    const ServerItem& base = *outgoing.base;
    const std::string href = base.href;
    const caldav::DavStatus removed = server_.remove(href, base.etag);
    if (removed.error == caldav::DavError::PreconditionFailed)
        return serverChangedMeanwhile(href);
    if (!removed.ok() && removed.error != caldav::DavError::NotFound)
        return failedWith(removed);
    for (const RecordIdentity* identity : outgoing.sent)
        changes_.forgotten.push_back(*identity);
    ownRemovals_.insert(href);
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

// The records, then the conflict copies from `copiesFrom` on, with the UID and text each goes
// up with. A copy's UID comes from what it copies, so that a sync cut off after sending it
// sends the same one again, which the server then already holds.
std::vector<SyncRun::NewItem> SyncRun::planNew(const std::vector<LocalRecord>& records, std::size_t copiesFrom)
{
    std::vector<NewItem> out;
    const auto add = [&](const LocalRecord& record, std::optional<std::size_t> copy, std::string uid) {
        const RecordIdentity* identity = copy ? nullptr : snapshot_.identities.find(record.key);
        const int sequence = identity ? identity->sequence : 0;
        std::string text =
            record.isTodo()
                ? newTodoItem(IcalTodo{record.key.line, record.memo, uid, sequence})
                : newEventItem(IcalEvent{record.date.year, record.date.month, record.key.line, uid, sequence},
                               request_.alarmMinutes);
        out.push_back(NewItem{record, copy, std::move(uid), std::move(text)});
    };
    for (const LocalRecord& record : records) {
        const RecordIdentity* identity = snapshot_.identities.find(record.key);
        add(record, std::nullopt, identity ? identity->uid : newUid());
    }
    for (std::size_t i = copiesFrom; i < changes_.copies.size(); ++i) {
        const ConflictCopy& copy = changes_.copies[i];
        add(LocalRecord{copy.like, copy.date, copy.memo, recordHash(copy.like, copy.memo)}, i, copy.uid);
    }
    return out;
}

bool SyncRun::sendNew(const NewItem& item)
{
    const LocalRecord& record = item.record;
    const caldav::WriteResult created = server_.create(item.uid + ".ics", item.text);
    if (created.status.error == caldav::DavError::PreconditionFailed ||
        created.status.error == caldav::DavError::UidConflict) {
        answered(item.uid);
        return adopt(record, created, item.uid);
    }
    if (!created.status.ok())
        return failedWith(created.status);
    answered(item.uid);
    const SentRecord sent{item.uid, created.href, created.etag, record.hash, true};
    ownEtags_[created.href] = created.etag;
    if (item.copy)
        changes_.copies[*item.copy].sent = sent;
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
    keepCopy(record, href);
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
