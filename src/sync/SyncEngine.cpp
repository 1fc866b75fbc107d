#include "sync/SyncEngine.h"

#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/RunLock.h"
#include "sync/SyncRun.h"

namespace kal {
namespace {

// Writers that keep changing the folder while the server is asked: after this many rounds the
// sync gives up rather than run on.
constexpr int kAttempts = 3;
constexpr const char* kSyncLockName = ".kalendra-sync.lock";

std::string countText(int count)
{
    return text::formatThousands(count) + " 件";
}

SyncOutcome failedOutcome(std::string reason, caldav::DavError error = caldav::DavError::None)
{
    SyncOutcome outcome;
    outcome.ok = false;
    outcome.reason = std::move(reason);
    outcome.error = error;
    return outcome;
}

} // namespace

SyncRun::SyncRun(const SyncRequest& request, caldav::Collection& server, const SyncHooks& hooks, files::FileOps& ops,
                 const SyncCounts& earlier)
    : request_(request), server_(server), hooks_(hooks), ops_(ops),
      window_(syncWindowOf(request.today, request.settings.back, request.settings.ahead))
{
    counts_.sent = earlier.sent;
    counts_.updated = earlier.updated;
    counts_.deleted = earlier.deleted;
}

SyncCounts SyncRun::sentSoFar() const
{
    return counts_;
}

bool SyncRun::stopped()
{
    if (hooks_.cancel && hooks_.cancel->load() && failure_.ok())
        failure_ = caldav::DavStatus{caldav::DavError::Cancelled, 0, "同期を中止しました。"};
    return !failure_.ok();
}

bool SyncRun::failedWith(const caldav::DavStatus& status)
{
    if (failure_.ok())
        failure_ = status;
    return false;
}

void SyncRun::report(SyncStage stage, std::size_t done, std::size_t total) const
{
    if (hooks_.progress)
        hooks_.progress(SyncProgress{stage, done, total});
}

SyncRun::Step SyncRun::run(SyncOutcome& outcome)
{
    report(SyncStage::Reading);
    if (!readLocal(outcome))
        return Step::Failed;
    report(SyncStage::Listing);
    if (!listServer() || !fetchItems(changedHrefs_)) {
        outcome = failedOutcome(failure_.reason, failure_.error);
        return Step::Failed;
    }
    settlePending();
    decideServerItems();
    for (const std::string& href : removedHrefs_)
        decideRemoved(href);
    complete_ = sendEverything();
    if (restart_)
        return Step::Again;
    if (complete_) {
        learnMissingEtags();
        refreshToken();
    }
    return apply(outcome);
}

bool SyncRun::readLocal(SyncOutcome& outcome)
{
    SnapshotRead read = readSnapshot(request_.folders, window_);
    if (!read.ok) {
        outcome = failedOutcome(read.reason);
        return false;
    }
    snapshot_ = std::move(read.snapshot);
    const SyncState& state = snapshot_.state.state;
    clearSync_ = state.url != request_.settings.url;
    events_ = state.events;
    todos_ = state.todos;
    token_ = state.token;
    ctag_ = state.ctag;
    for (const RecordIdentity* identity : snapshot_.identities.all())
        if (const std::string& href = hrefOf(*identity); !href.empty()) {
            known_[href].push_back(identity);
            knownEtags_.emplace(href, identity->etag);
        }
    return true;
}

bool SyncRun::listServer()
{
    const SyncState& state = snapshot_.state.state;
    windowMoved_ = !state.window || !(*state.window == window_);
    if (clearSync_ || windowMoved_ || (token_.empty() && ctag_.empty()))
        return listFully();
    if (!token_.empty()) {
        const caldav::ItemChanges changes = server_.changesSince(token_);
        if (!changes.status.ok())
            return failedWith(changes.status);
        token_ = changes.syncToken;
        takeListing(changes);
        takeBases();
        return !stopped();
    }
    const caldav::CollectionInfo info = server_.discover();
    if (!info.status.ok())
        return failedWith(info.status);
    if (info.ctag != ctag_) {
        const caldav::ItemChanges changes = server_.changesByEtag(knownEtags_);
        if (!changes.status.ok())
            return failedWith(changes.status);
        ctag_ = info.ctag;
        takeListing(changes);
    }
    takeBases();
    return !stopped();
}

// The first sync with a collection, or one whose window moved: every member is listed, and
// what the collection accepts is asked anew.
bool SyncRun::listFully()
{
    const caldav::CollectionInfo info = server_.discover();
    if (!info.status.ok())
        return failedWith(info.status);
    events_ = info.acceptsEvents;
    todos_ = info.acceptsTodos;
    ctag_ = info.ctag;
    caldav::ItemChanges changes =
        info.syncToken.empty() ? server_.changesByEtag(knownEtags_) : server_.changesSince(std::string());
    if (!changes.status.ok())
        return failedWith(changes.status);
    token_ = info.syncToken.empty() ? std::string() : changes.syncToken;
    changes.complete = !info.syncToken.empty();
    takeListing(changes);
    // Recurring items are expanded over the new window; the other known ones stay as they are.
    if (windowMoved_)
        for (const auto& [href, identities] : known_)
            for (const RecordIdentity* identity : identities)
                if (!identity->source.recurrenceId.empty())
                    changedHrefs_.insert(href);
    takeBases();
    return !stopped();
}

void SyncRun::takeListing(const caldav::ItemChanges& changes)
{
    if (changes.complete)
        listedAll_ = changes.changed.size();
    if (changes.complete) {
        std::set<std::string> listed;
        for (const caldav::ItemTag& item : changes.changed)
            listed.insert(item.href);
        for (const auto& [href, identities] : known_)
            if (!listed.count(href))
                removedHrefs_.insert(href);
    }
    for (const std::string& href : changes.removed)
        if (known_.count(href))
            removedHrefs_.insert(href);
    // What this program sent comes back with the ETag it keeps.
    for (const caldav::ItemTag& item : changes.changed) {
        const auto known = knownEtags_.find(item.href);
        if (known == knownEtags_.end() || known->second != item.etag || item.etag.empty())
            changedHrefs_.insert(item.href);
    }
}

// Items with local changes are fetched too: what is sent is written into the server's version.
void SyncRun::takeBases()
{
    for (const auto& [href, identities] : known_)
        if (!removedHrefs_.count(href) && hasLocalChanges(href))
            changedHrefs_.insert(href);
    // Items that could not be read are asked for until they read.
    for (const std::string& href : snapshot_.pending.unread)
        if (!removedHrefs_.count(href))
            changedHrefs_.insert(href);
}

// Most of a whole collection (a first sync) comes in one calendar-query, which some servers
// answer hundreds of times faster than multigets; one too large for a reply comes in batches.
caldav::ItemBodies SyncRun::fetchBodies(const std::set<std::string>& hrefs)
{
    if (listedAll_ > kWholeFetchFrom && hrefs.size() * 2 > listedAll_) {
        caldav::ItemBodies all = server_.fetchAll();
        if (all.status.ok()) {
            std::set<std::string> got;
            std::erase_if(all.items, [&](const caldav::ItemBody& body) {
                got.insert(body.href);
                return !hrefs.count(body.href);
            });
            for (const std::string& href : hrefs)
                if (!got.count(href))
                    all.missing.push_back(href);
            return all;
        }
        if (all.status.error != caldav::DavError::TooLarge)
            return all;
    }
    return server_.fetch({hrefs.begin(), hrefs.end()});
}

bool SyncRun::fetchItems(const std::set<std::string>& hrefs)
{
    if (hrefs.empty() || stopped())
        return !stopped();
    report(SyncStage::Fetching, 0, hrefs.size());
    caldav::ItemBodies bodies = fetchBodies(hrefs);
    if (!bodies.status.ok())
        return failedWith(bodies.status);
    for (caldav::ItemBody& body : bodies.items) {
        ServerItem item = readServerItem(body.href, body.etag, std::move(body.icalendar), window_, request_.today,
                                         syncKindsOf(events_, todos_));
        counts_.capped += item.entries.skips.occurrencesCut;
        items_.insert_or_assign(item.href, std::move(item));
    }
    for (const std::string& href : bodies.missing)
        if (known_.count(href))
            removedHrefs_.insert(href);
    counts_.tooLarge += static_cast<int>(bodies.tooLarge.size());
    return !stopped();
}

// The sync token after this sync's own writes, when nothing but them came in meanwhile; else
// the one from before them, so the next sync sees what others did.
void SyncRun::refreshToken()
{
    if (token_.empty() || (ownEtags_.empty() && ownRemovals_.empty()))
        return;
    const caldav::ItemChanges after = server_.changesSince(token_);
    if (!after.status.ok() || after.complete || after.syncToken.empty())
        return;
    for (const caldav::ItemTag& item : after.changed)
        if (const auto own = ownEtags_.find(item.href); own == ownEtags_.end() || own->second != item.etag)
            return;
    for (const std::string& href : after.removed)
        if (!ownRemovals_.count(href))
            return;
    token_ = after.syncToken;
}

SyncRun::Step SyncRun::apply(SyncOutcome& outcome)
{
    report(SyncStage::Writing);
    changes_.clearSync = clearSync_;
    changes_.state = SyncState{request_.settings.url, token_, ctag_, events_, todos_, window_};
    changes_.pending = pending_;
    counts_.eventsRefused = !events_;
    counts_.todosRefused = !todos_;
    const ApplyResult applied =
        nothingToWrite()
            ? ApplyResult{}
            : applySyncChanges(ApplyContext{request_.folders, snapshot_, window_, request_.today}, changes_, ops_);
    if (applied.status == ApplyResult::Status::FilesChanged)
        return Step::Again;
    outcome.counts = counts_;
    outcome.wroteFiles = applied.wroteFiles;
    if (applied.status == ApplyResult::Status::Failed) {
        outcome.ok = false;
        outcome.reason = applied.reason;
        return Step::Failed;
    }
    if (!failure_.ok() || !writeFailure_.empty()) {
        outcome.ok = false;
        outcome.reason = failure_.ok() ? writeFailure_ : failure_.reason;
        outcome.error = failure_.error;
        return Step::Failed;
    }
    return Step::Done;
}

// A sync that found nothing leaves the files unread a second time.
bool SyncRun::nothingToWrite()
{
    const SyncChanges& c = changes_;
    if (c.clearSync || !c.sent.empty() || !c.etags.empty() || !c.forgotten.empty() || !c.removed.empty() ||
        !c.removedIfUnchanged.empty() || !c.downloads.empty() || !c.copies.empty() ||
        !(c.state == snapshot_.state.state) || !(c.pending == snapshot_.pending))
        return false;
    std::map<std::string, bool> gone;
    for (const RecordIdentity* identity : snapshot_.identities.all())
        if (forgettable(*identity, snapshot_, window_, request_.folders.dataPath, gone))
            return false;
    return true;
}

SyncOutcome runSync(const SyncRequest& request, caldav::Collection& server, const SyncHooks& hooks, files::FileOps& ops)
{
    // Two syncs of one folder at once would each send the same new record.
    const files::RunLock running =
        files::tryRunLock(files::withSeparator(request.folders.programFolder) + kSyncLockName);
    if (!running.held())
        return failedOutcome(
            "ほかのウィンドウかコマンドがこのフォルダを同期しています。終わってからもう一度同期して下さい。");
    SyncOutcome outcome;
    SyncCounts earlier;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        SyncRun run(request, server, hooks, ops, earlier);
        if (run.run(outcome) != SyncRun::Step::Again)
            return outcome;
        earlier = run.sentSoFar();
    }
    outcome = failedOutcome("同期の間にほかの書き込みが続いたため、手元のデータに反映できませんでした。"
                            "もう一度同期して下さい。");
    outcome.counts = earlier;
    return outcome;
}

SyncOutcome runSync(const SyncRequest& request, caldav::Service& service, const SyncHooks& hooks)
{
    if (!request.settings.enabled())
        return failedOutcome("同期先が設定されていません。環境設定の「同期」ページで同期先の URL を入力して下さい。");
    caldav::CalDavHooks davHooks;
    davHooks.cancel = hooks.cancel;
    davHooks.progress = [&hooks](std::size_t done, std::size_t total) {
        if (hooks.progress)
            hooks.progress(SyncProgress{SyncStage::Fetching, done, total});
    };
    caldav::OpenedCollection opened = service.open(request.settings.url, request.settings.user, davHooks);
    if (!opened.status.ok())
        return failedOutcome(opened.status.reason, opened.status.error);
    SyncOutcome outcome = runSync(request, *opened.collection, hooks);
    if (outcome.error == caldav::DavError::Unauthorized && !opened.passwordKnown)
        outcome.reason += "\r\nパスワードが見つかりません。環境設定の「同期」ページでパスワードを保存するか、"
                          "~/.netrc（所有者だけが読めるもの）に書いて下さい。";
    return outcome;
}

std::string syncSummary(const SyncCounts& c)
{
    std::string line = "同期しました（受信 " + countText(c.received) + "、送信 " + countText(c.sent) + "、更新 " +
                       countText(c.updated) + "、削除 " + countText(c.deleted) + "、競合 " + countText(c.conflicts) +
                       "）。";
    if (c.conflicts > 0)
        line += "競合した手元の版は題名に「（競合）」を付けて残しました。";
    if (c.copiesCut > 0)
        line += countText(c.copiesCut) + "は題名が長いため「（競合）」を場所に付け、場所の終わりを切り詰めました。";
    if (c.localOnly > 0)
        line += countText(c.localOnly) + "の変更は同期先の予定で表せないため、手元だけに残しました。";
    if (c.eventsRefused)
        line += "同期先のカレンダーは予定を受け付けないため、スケジュールは同期しませんでした。";
    if (c.todosRefused)
        line += "同期先のカレンダーは ToDo を受け付けないため、ToDo は同期しませんでした。";
    if (c.unreadable > 0)
        line += countText(c.unreadable) + "は iCalendar として読めないため取り込みませんでした。";
    if (c.tooLarge > 0)
        line += countText(c.tooLarge) + "は大きすぎるため取り込みませんでした。";
    if (c.capped > 0)
        line += countText(c.capped) + "の繰り返し予定は回数が多すぎるため、期間の途中で打ち切りました。";
    return line;
}

std::string syncBrief(const SyncCounts& c)
{
    const bool more = c.localOnly > 0 || c.copiesCut > 0 || c.eventsRefused || c.todosRefused || c.unreadable > 0 ||
                      c.tooLarge > 0 || c.capped > 0;
    return "受信 " + text::formatThousands(c.received) + "・送信 " + text::formatThousands(c.sent) + "・更新 " +
           text::formatThousands(c.updated) + "・削除 " + text::formatThousands(c.deleted) + "・競合 " +
           text::formatThousands(c.conflicts) + (more ? "（注意あり）" : "");
}

std::string syncStageText(const SyncProgress& progress)
{
    const auto ofTotal = [&] {
        return progress.total == 0 ? std::string()
                                   : "（" + text::formatThousands(static_cast<long long>(progress.done)) + " / " +
                                         text::formatThousands(static_cast<long long>(progress.total)) + "）";
    };
    switch (progress.stage) {
    case SyncStage::Reading:
        return "同期: 手元のデータを読んでいます...";
    case SyncStage::Listing:
        return "同期: サーバーの変更を確かめています...";
    case SyncStage::Fetching:
        return "同期: 受信しています" + ofTotal() + "...";
    case SyncStage::Sending:
        return "同期: 送信しています" + ofTotal() + "...";
    case SyncStage::Writing:
        return "同期: 書き込んでいます...";
    }
    return {};
}

} // namespace kal
