// One writer at a time per data folder.
//
// Every read-modify-write of a folder's files (a window's save, a headless command, the clean-up,
// the recovery of an interrupted change, a sync) holds an exclusive advisory lock (flock) on the
// file ".kalendra.lock" in that folder, from before it reads what it will change until its last
// rename. The file is created on first use and never removed; readers and the clean-up ignore it.
// Folders are told apart by device and inode, so one folder named twice (the schedules, memos
// and ToDo in one place) is one lock.
//
// Whoever takes a folder's lock first finishes the change a killed writer left there
// (FileTransaction.h), so what it reads next is whole; the lock file is empty unless such a
// change may be there.
//
// Within a process the lock is re-entrant: a writer may call other writers of the folder it
// holds. Deadlock between processes is ruled out by one order: the folders of one request are
// locked by (device, inode). A request that would break that order (it asks for a folder that
// sorts before one this process already holds) does not wait: it takes the lock only when it is
// free at once and otherwise reports the folder busy.
//
// A writer that finds the lock taken waits: after `noticeAfter` it tells the process's waiting
// hooks (the window shows a busy cursor, a headless command prints a line), after `giveUpAfter`
// it fails with a Japanese reason, having changed nothing.
//
//     files::FolderLock lock = files::lockFolder(dataPath);
//     if (!lock)
//         return failure(lock.reason());
//     ... read, compute, write ...
//
// A later writer (a sync) takes the same lock the same way, or several at once with lockFolders.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kal::files {

inline constexpr std::string_view kFolderLockName = ".kalendra.lock";

// The locks of one request; released when destroyed.
class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool ok() const { return reason_.empty(); }
    explicit operator bool() const { return ok(); }
    // Why the lock could not be taken (UTF-8, lines ended by CR LF); empty when held.
    const std::string& reason() const { return reason_; }
    void release();

private:
    friend FolderLock lockFolders(const std::vector<std::string>& folders, bool finishChanges);
    std::vector<std::pair<unsigned long long, unsigned long long>> held_; // device, inode
    std::string reason_;
};

// Locks every folder (paths with or without the trailing '/'), waiting as LockWaiting says.
// `finishChanges` false is for the recovery of interrupted changes itself.
FolderLock lockFolders(const std::vector<std::string>& folders, bool finishChanges = true);
inline FolderLock lockFolder(const std::string& folder)
{
    return lockFolders({folder});
}
// The folder a file lies in.
FolderLock lockFolderOf(const std::string& path);

// For a writer holding the folder's lock: the lock file is marked (on disk) before an intent
// record may appear in the folder, and cleared once it is gone. The next holder looks through the
// folder for a change to finish only while the mark is set, so taking the lock costs the same
// however many files the folder holds.
void markChangePending(const std::string& folder);
void clearChangePending(const std::string& folder);

// How the process waits for a folder another process holds.
struct LockWaiting {
    std::chrono::milliseconds noticeAfter{2000};
    std::chrono::milliseconds giveUpAfter{30000};
    std::function<void(const std::string& folder)> started; // once per wait, after noticeAfter
    std::function<void()> finished;                         // the end of a wait that was noticed
};
// Sets the waiting of this process; gives the one it replaces.
LockWaiting setLockWaiting(LockWaiting waiting);

// The line a headless command prints while it waits, and the reason when it gives up.
std::string lockWaitingText(const std::string& folder);
std::string lockBusyText(const std::string& folder);

} // namespace kal::files
