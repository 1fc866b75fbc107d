// What is about to be sent, recorded under the folders' lock before the first request (with the
// identities of the new records, so that their UIDs follow any later change of them); and, at
// the next sync, the items whose replies never came found on the server as they were sent.
#include "sync/SyncRun.h"

#include "platform/FolderLock.h"

namespace kal {

bool SyncRun::recordIntents(const std::vector<Outgoing>& outgoing, const std::vector<NewItem>& fresh)
{
    if (outgoing.empty() && fresh.empty())
        return true;
    for (const Outgoing& item : outgoing) {
        if (!item.text)
            continue;
        PendingUpdate& update = pending_.updates[item.base->href];
        update.readHash = readBackHash(*item.text);
        for (const RecordIdentity* identity : item.sent)
            update.parts.push_back(
                PendingPart{identity->uid, identity->source, snapshot_.recordAt(identity->key)->hash});
    }
    for (const NewItem& item : fresh) {
        pending_.creates[item.uid] = PendingCreate{readBackHash(item.text), item.record.hash};
        if (!item.copy && !snapshot_.identities.find(item.record.key))
            preWritten_.push_back(RecordIdentity{item.uid, 0, item.record.key, {}, {}, item.record.hash, {}});
    }
    files::FolderLock lock = files::lockFolders(request_.folders.all());
    if (!lock) {
        writeFailure_ = lock.reason();
        return false;
    }
    // The identities name records by their place: only while the files are as read.
    if (!snapshotCurrent(snapshot_)) {
        restart_ = true;
        return false;
    }
    const std::string& folder = request_.folders.programFolder;
    IdentityTable identities = snapshot_.identities;
    for (const RecordIdentity& identity : preWritten_)
        if (!identities.find(identity.key))
            identities.add(identity);
    const IdentityChange identityWrite = identityChange(folder, identities);
    if (!identityWrite.result) {
        writeFailure_ = identityWrite.result.reason;
        return false;
    }
    std::vector<files::FileChange> writes = identityWrite.changes;
    const std::string pendingPath = syncPendingPath(folder);
    if (std::optional<files::FileChange> change = syncPendingChange(folder, snapshot_.files[pendingPath], pending_))
        writes.push_back(std::move(*change));
    if (const files::IoResult written = files::writeAllOrNothing(folder, writes, ops_); !written) {
        writeFailure_ = written.reason;
        return false;
    }
    for (const files::FileChange& write : writes)
        snapshot_.files[write.path] = write.bytes;
    return true;
}

// What the sync reads of an item, as a hash: a server that stores the text in its own way
// still gives the same.
std::string SyncRun::readBackHash(const ServerItem& item) const
{
    std::string all;
    for (const std::string& content : itemContent(item, window_))
        all += content + '\n';
    return contentHash(all);
}

std::string SyncRun::readBackHash(const std::string& text) const
{
    return readBackHash(readServerItem({}, {}, text, window_, request_.today, syncKindsOf(events_, todos_)));
}

void SyncRun::answered(const std::string& uidOrHref)
{
    pending_.creates.erase(uidOrHref);
    pending_.updates.erase(uidOrHref);
}

// Before the decisions: an item that reads as what an earlier, cut-off sync sent is that sync's
// write, not a change made there.
void SyncRun::settlePending()
{
    const SyncPending& earlier = snapshot_.pending;
    for (const auto& [href, item] : items_) {
        serverUids_.emplace(item.uid, href);
        if (!item.readable)
            continue;
        const std::string readHash = readBackHash(item);
        if (const auto update = earlier.updates.find(href);
            update != earlier.updates.end() && update->second.readHash == readHash)
            settleUpdate(item, update->second);
        if (const auto create = earlier.creates.find(item.uid);
            create != earlier.creates.end() && create->second.readHash == readHash)
            settleCreate(item, create->second);
    }
}

void SyncRun::settleUpdate(const ServerItem& item, const PendingUpdate& update)
{
    for (RecordIdentity* identity : snapshot_.identities.all()) {
        if (identity->href != item.href)
            continue;
        identity->etag = item.etag;
        for (const PendingPart& part : update.parts)
            if (identity->uid == part.uid && identity->source == part.source) {
                identity->synced = part.recordHash;
                changes_.sent.push_back(
                    SentAt{identity->key, SentRecord{identity->uid, item.href, item.etag, part.recordHash, false}});
            }
    }
    knownEtags_[item.href] = item.etag;
    changes_.etags[item.href] = item.etag;
}

void SyncRun::settleCreate(const ServerItem& item, const PendingCreate& create)
{
    RecordIdentity* identity = snapshot_.identities.findUid(item.uid);
    if (!identity || !hrefOf(*identity).empty() || identity->removed())
        return;
    identity->href = item.href;
    identity->etag = item.etag;
    identity->synced = create.recordHash;
    known_[item.href].push_back(identity);
    knownEtags_[item.href] = item.etag;
    changes_.sent.push_back(SentAt{identity->key, SentRecord{item.uid, item.href, item.etag, create.recordHash, true}});
}

} // namespace kal
