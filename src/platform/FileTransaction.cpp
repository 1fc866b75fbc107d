#include "platform/FileTransaction.h"

#include "platform/FolderLock.h"
#include "platform/FolderNames.h"
#include "platform/IntentRecord.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <set>
#include <sys/file.h>
#include <unistd.h>

namespace kal::files {
namespace {

constexpr std::string_view kIntentPrefix = ".kalendra-intent-";

std::string newIntentName()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    std::string stamp = std::to_string(nanoseconds);
    stamp.insert(0, std::max<std::size_t>(0, 20 - stamp.size()), '0');
    return std::string(kIntentPrefix) + stamp + "-" + std::to_string(::getpid());
}

std::string nameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Puts one file into the state `content` describes; a missing file is already deleted. The
// content passed its file's size limit when the record was made.
IoResult bringTo(const std::string& path, const std::optional<std::string>& content, FileOps& ops)
{
    if (content)
        return saveBytesWithin(path, *content, kMaxSidecarFileBytes, ops);
    if (ops.unlink(path.c_str()) != 0 && errno != ENOENT)
        return IoResult::error(errno);
    return {};
}

IoResult bringAll(const std::string& folder, const IntentRecord& record, std::size_t count, FileOps& ops,
                  bool onlyKnownContent)
{
    IoResult outcome;
    for (std::size_t i = 0; i < count; ++i) {
        const IntentEntry& entry = record.entries[i];
        const std::string path = folder + entry.name;
        const auto& wanted = record.direction == IntentDirection::Apply ? entry.after : entry.before;
        if (onlyKnownContent) {
            ReadResult now = readFile(path, kMaxSidecarFileBytes);
            std::optional<std::string> current;
            if (now.status == ReadStatus::Ok)
                current = std::move(now.bytes);
            if (current == wanted)
                continue;
            // Someone else changed the file since; it is theirs now.
            if (now.status == ReadStatus::Unreadable || (current != entry.before && current != entry.after))
                continue;
        }
        if (IoResult done = bringTo(path, wanted, ops); !done && outcome)
            outcome = IoResult::failure(entry.name + ": " + done.reason);
    }
    return outcome;
}

struct Prepared {
    IntentRecord record;
    IoResult result;
};

Prepared prepare(const std::string& folder, const std::vector<FileChange>& changes)
{
    Prepared prepared;
    std::set<std::string> seen;
    for (const FileChange& change : changes) {
        const std::string name = nameOf(change.path);
        if (folderOf(change.path) != folder || !IsPlainFileName(name) || !seen.insert(name).second) {
            prepared.result = IoResult::error(kOutsideFolder);
            return prepared;
        }
        ReadResult before = readFile(change.path, change.maxBytes);
        if (before.status == ReadStatus::Unreadable) {
            prepared.result = IoResult::failure(name + ": " + before.reason);
            return prepared;
        }
        if (change.bytes) {
            IoResult replaceable = checkSize(*change.bytes, change.maxBytes);
            if (replaceable)
                replaceable = checkReplaceable(change.path, change.maxBytes);
            if (!replaceable) {
                prepared.result = IoResult::failure(name + ": " + replaceable.reason);
                return prepared;
            }
        }
        IntentEntry entry{name, std::nullopt, change.bytes};
        if (before.status == ReadStatus::Ok)
            entry.before = std::move(before.bytes);
        prepared.record.entries.push_back(std::move(entry));
    }
    return prepared;
}

// Reads an intent record for recovery while holding its lock; a record another process holds
// is skipped.
struct Claimed {
    bool held = false;
    std::optional<IntentRecord> record;
};

Claimed claim(const std::string& path, HeldLock& lock)
{
    Claimed claimed;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0)
        return claimed;
    lock.adopt(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return claimed;
    claimed.held = true;
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || bytes.size() + static_cast<std::size_t>(n) > kMaxChangeBytes)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    claimed.record = DecodeIntent(bytes);
    return claimed;
}

// The intent records among `names`, oldest first.
std::vector<std::string> intentRecordNames(std::vector<std::string> names)
{
    std::erase_if(names, [](const std::string& name) { return !isIntentRecordName(name); });
    // The names begin with their time, so older changes are finished first.
    std::sort(names.begin(), names.end());
    return names;
}

// What recovery looks for: intent records and the temporary files of killed writers.
constexpr NameKind kPendingNames{
    "pending", [](std::string_view name) { return isIntentRecordName(name) || isTemporaryName(name); }};

std::vector<std::string> intentRecordNames(const std::string& folder)
{
    return intentRecordNames(namesOfKind(folder, kPendingNames));
}

} // namespace

bool isIntentRecordName(std::string_view name)
{
    return name.substr(0, kIntentPrefix.size()) == kIntentPrefix && !isTemporaryName(name);
}

RecoveryResult recoverInterruptedChanges(const std::string& folderPath, FileOps& ops)
{
    const std::string folder = withSeparator(folderPath);
    RecoveryResult result;
    // Without a record there is nothing to finish, and no lock to wait for. One listing serves
    // both looks: a folder may hold tens of thousands of memos.
    const std::vector<std::string> names = namesOfKind(folder, kPendingNames);
    if (intentRecordNames(names).empty()) {
        removeStaleTemporaries(folder, names);
        return result;
    }
    // A record a live writer still holds is finished by it before the lock comes free.
    FolderLock lock = lockFolders({folder}, false);
    if (!lock) {
        result.problems.push_back(lock.reason());
        ++result.unfinished;
        return result;
    }
    for (const std::string& name : intentRecordNames(folder)) {
        const std::string path = folder + name;
        HeldLock recordLock;
        Claimed claimed = claim(path, recordLock);
        if (!claimed.held)
            continue;
        if (!claimed.record) {
            result.problems.push_back(path + ": " + systemErrorText(kDamagedRecord));
            continue;
        }
        const IntentRecord& record = *claimed.record;
        if (IoResult done = bringAll(folder, record, record.entries.size(), ops, true); !done) {
            result.problems.push_back(done.reason);
            ++result.unfinished;
            continue;
        }
        ops.unlink(path.c_str());
        ++result.finished;
    }
    removeStaleTemporaries(folder);
    return result;
}

RecoveryResult finishPendingChanges(const std::string& folder, FileOps& ops)
{
    if (intentRecordNames(withSeparator(folder)).empty())
        return {};
    return recoverInterruptedChanges(folder, ops);
}

IoResult writeAllOrNothing(const std::string& folderPath, const std::vector<FileChange>& changes, FileOps& ops)
{
    const std::string folder = withSeparator(folderPath);
    // Normally the caller holds it already, from before it read what it changes; taking it
    // finished any change a killed writer left (a damaged record is only reported at start-up).
    FolderLock lock = lockFolder(folder);
    if (!lock)
        return IoResult::failure(lock.reason());
    if (changes.empty())
        return {};
    Prepared prepared = prepare(folder, changes);
    if (!prepared.result)
        return prepared.result;
    IntentRecord& record = prepared.record;
    const std::string intentPath = folder + newIntentName();
    const std::string encoded = EncodeIntent(record);
    if (encoded.size() > kMaxChangeBytes)
        return IoResult::error(kChangeTooLarge);
    HeldLock recordLock;
    markChangePending(folder);
    if (IoResult written = saveBytesHoldingLock(intentPath, encoded, recordLock, ops); !written)
        return written;

    // Every new content is written and flushed first, then all go into place, and the folder is
    // flushed once for them all before the record goes.
    std::vector<StagedFile> staged(record.entries.size());
    std::size_t placed = 0;
    IoResult applied;
    for (std::size_t i = 0; i < record.entries.size() && applied; ++i)
        if (const IntentEntry& entry = record.entries[i]; entry.after) {
            applied = stageFile(folder + entry.name, *entry.after, staged[i], ops, false, kMaxSidecarFileBytes);
            if (!applied)
                applied = IoResult::failure(entry.name + ": " + applied.reason);
        }
    for (; placed < record.entries.size() && applied; ++placed) {
        const IntentEntry& entry = record.entries[placed];
        applied = entry.after ? placeStaged(staged[placed], ops) : bringTo(folder + entry.name, std::nullopt, ops);
        if (!applied)
            applied = IoResult::failure(entry.name + ": " + applied.reason);
    }
    if (!applied) {
        // Take back what was placed (counting the one that failed); a crash meanwhile is undone
        // by the next recovery.
        record.direction = IntentDirection::Undo;
        HeldLock undoLock;
        saveBytesHoldingLock(intentPath, EncodeIntent(record), undoLock, ops);
        IoResult restored = bringAll(folder, record, placed, ops, false);
        if (restored && ops.unlink(intentPath.c_str()) == 0)
            clearChangePending(folder);
        std::string reason = applied.reason;
        if (!restored)
            reason += "\r\n" + restored.reason;
        return IoResult::failure(reason);
    }
    syncFolder(folder);
    if (ops.unlink(intentPath.c_str()) == 0)
        clearChangePending(folder);
    return {};
}

} // namespace kal::files
