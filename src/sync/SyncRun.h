// One sync as it runs (SyncEngine.h tells the whole): the snapshot of the local side, what the
// server listed and gave, the decisions, the sending, and the changes for SyncApply.
#pragma once

#include "sync/SyncApply.h"
#include "sync/SyncEngine.h"
#include "sync/SyncPending.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace kal {

// One attempt; `earlier` counts what the attempts before it sent.
class SyncRun {
public:
    SyncRun(const SyncRequest& request, caldav::Collection& server, const SyncHooks& hooks, files::FileOps& ops,
            const SyncCounts& earlier);

    enum class Step { Done, Again, Failed };
    Step run(SyncOutcome& outcome);
    // What was sent so far, for the next attempt.
    SyncCounts sentSoFar() const;

private:
    // SyncEngine.cpp: the reading and listing.
    bool readLocal(SyncOutcome& outcome);
    bool listServer();
    bool listFully();
    void takeBases();
    bool fetchItems(const std::set<std::string>& hrefs);
    caldav::ItemBodies fetchBodies(const std::set<std::string>& hrefs);
    static constexpr std::size_t kWholeFetchFrom = 200; // below, multigets cost little anywhere
    void takeListing(const caldav::ItemChanges& changes);
    bool stopped();
    void report(SyncStage stage, std::size_t done = 0, std::size_t total = 0) const;
    void refreshToken();
    Step apply(SyncOutcome& outcome);
    bool nothingToWrite();

    // SyncDecide.cpp: what the server's changes do here.
    const std::string& hrefOf(const RecordIdentity& identity) const;
    bool hasLocalChanges(const std::string& href) const;
    void decideServerItems();
    void decideServerItem(const ServerItem& item);
    bool serverShowsNoChange(const std::string& href, const ServerItem& item) const;
    void decideRemoved(const std::string& href);
    std::vector<const RecordIdentity*> unsyncedOf(const ServerItem& item);
    std::vector<RecordKey> sameUnsynced(const ServerItem& item);
    std::multiset<std::string> localContent(const std::vector<const RecordIdentity*>& locals) const;
    std::multiset<std::string> serverContent(const ServerItem& item) const;
    void keepCopy(const LocalRecord& record, const std::string& href);
    void claim(const RecordKey& key);
    bool claimed(const RecordKey& key) const;

    // SyncSend.cpp: the local changes sent.
    struct Outgoing {
        const ServerItem* base;
        std::optional<std::string> text; // none: the item removed
        std::vector<const RecordIdentity*> sent, excluded;
    };
    struct NewItem {
        LocalRecord record;
        std::optional<std::size_t> copy; // of changes_.copies
        std::string uid;
        std::string text;
    };
    bool sendEverything();
    std::vector<Outgoing> planLocalChanges();
    void planChangesOf(const std::string& href, std::vector<Outgoing>& out);
    struct Edits {
        std::vector<EventEdit> events;
        std::optional<TodoEdit> todo;
        std::vector<const RecordIdentity*> sent, excluded;
    };
    void planEdits(const ServerItem& base, const std::vector<const RecordIdentity*>& locals,
                   std::vector<Outgoing>& out);
    void planEdit(const ServerItem& base, const std::pair<std::string, std::string>& item,
                  const std::vector<const RecordIdentity*>& identities, Edits& edits);
    bool send(const Outgoing& outgoing);
    bool sendEdited(const Outgoing& outgoing);
    bool serverChangedMeanwhile(const std::string& href);
    bool sendRemoval(const Outgoing& outgoing);
    std::vector<LocalRecord> newRecords();
    std::vector<NewItem> planNew(const std::vector<LocalRecord>& records, std::size_t copiesFrom);
    bool sendNew(const NewItem& item);
    bool adopt(const LocalRecord& record, const caldav::WriteResult& refused, const std::string& uid);
    bool refetched(const std::string& href, ServerItem& item);
    bool failedWith(const caldav::DavStatus& status);
    void learnMissingEtags();

    // SyncPending.cpp's use: what is about to be sent, recorded first; what a sync cut off
    // before its replies sent, found on the server.
    bool recordIntents(const std::vector<Outgoing>& outgoing, const std::vector<NewItem>& fresh);
    void settlePending();
    void settleUpdate(const ServerItem& item, const PendingUpdate& update);
    void settleCreate(const ServerItem& item, const PendingCreate& create);
    void answered(const std::string& uidOrHref);
    std::string readBackHash(const ServerItem& item) const;
    std::string readBackHash(const std::string& text) const;

    const SyncRequest& request_;
    caldav::Collection& server_;
    const SyncHooks& hooks_;
    files::FileOps& ops_;
    SyncWindow window_;
    SyncSnapshot snapshot_;
    bool clearSync_ = false;
    std::map<std::string, std::vector<const RecordIdentity*>> known_; // href: its identities
    std::map<std::string, std::string> knownEtags_;
    bool events_ = true, todos_ = true;
    std::string token_, ctag_;
    bool windowMoved_ = false;
    std::size_t listedAll_ = 0;          // members of a complete listing
    std::set<std::string> changedHrefs_; // listed as new or changed since the last sync
    std::set<std::string> removedHrefs_;
    std::map<std::string, ServerItem> items_;
    std::set<std::string> handled_;                               // hrefs decided
    std::set<std::string> claimed_;                               // records taken by a server item or already sent
    std::map<std::string, std::vector<RecordKey>> unsyncedIndex_; // file and content: records
    bool indexed_ = false;
    std::vector<const LocalRecord*> detached_;      // changed here, gone on the server: sent anew
    SyncPending pending_;                           // this sync's intents not yet answered, and unread items
    std::vector<RecordIdentity> preWritten_;        // identities given to new records before sending
    std::map<std::string, std::string> serverUids_; // UID: href, of the items fetched
    std::string writeFailure_;                      // why the intents could not be recorded
    bool restart_ = false;                          // the files changed before anything was sent
    std::map<std::string, std::string> ownEtags_;   // what this sync wrote, for the token
    std::set<std::string> ownRemovals_;
    SyncChanges changes_;
    SyncCounts counts_; // starts with what earlier attempts sent
    caldav::DavStatus failure_;
    bool complete_ = true;                 // everything decided was sent
    std::size_t sending_ = 0, toSend_ = 0; // for the progress
};

} // namespace kal
