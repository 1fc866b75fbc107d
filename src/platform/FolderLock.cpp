#include "platform/FolderLock.h"

#include "platform/FileTransaction.h"
#include "platform/Files.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace kal::files {
namespace {

using FolderKey = std::pair<unsigned long long, unsigned long long>;

struct HeldFolder {
    int fd = -1;
    int count = 0;
};

// Per thread: two threads of one process exclude each other like two processes do.
std::map<FolderKey, HeldFolder>& heldFolders()
{
    thread_local std::map<FolderKey, HeldFolder> held;
    return held;
}

std::mutex waitingMutex;
LockWaiting& processWaiting()
{
    static LockWaiting waiting;
    return waiting;
}

LockWaiting currentWaiting()
{
    std::lock_guard<std::mutex> guard(waitingMutex);
    return processWaiting();
}

struct WantedFolder {
    FolderKey key;
    std::string folder; // as the user reads it, with its trailing '/'
};

std::string shownFolder(const std::string& folder)
{
    return folder.empty() ? "./" : withSeparator(folder);
}

std::string lockFailure(const std::string& folder, int error)
{
    return "「" + shownFolder(folder) + "」をロックできません。\r\n" + systemErrorText(error);
}

void releaseOne(const FolderKey& key)
{
    auto& held = heldFolders();
    auto it = held.find(key);
    if (it == held.end() || --it->second.count > 0)
        return;
    // Unlocked explicitly: a child forked meanwhile shares the open file and would keep it.
    ::flock(it->second.fd, LOCK_UN);
    ::close(it->second.fd);
    held.erase(it);
}

// The lock file of a folder, opened (created on first use); -1 and errno when it cannot be.
int openLockFile(const std::string& folder)
{
    const std::string path = shownFolder(folder) + std::string(kFolderLockName);
    constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
    // A lock file that is not ours to write still locks.
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.c_str(), O_RDONLY | kFlags);
    if (fd < 0)
        return -1;
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = kNotRegularFile;
        return -1;
    }
    return fd;
}

// Whether the locked file is still the one the folder names (someone may have removed it).
bool stillNamed(int fd, const std::string& folder)
{
    struct stat byFd {
    }, byName{};
    const std::string path = shownFolder(folder) + std::string(kFolderLockName);
    return ::fstat(fd, &byFd) == 0 && ::stat(path.c_str(), &byName) == 0 && byFd.st_ino == byName.st_ino &&
           byFd.st_dev == byName.st_dev;
}

enum class Wait { Yes, No };

// 0 once the lock is held, EWOULDBLOCK when it stayed busy, another errno on failure.
int takeLock(int fd, const std::string& folder, Wait wait)
{
    using Clock = std::chrono::steady_clock;
    const LockWaiting waiting = wait == Wait::Yes ? currentWaiting() : LockWaiting{};
    const Clock::time_point start = Clock::now();
    std::chrono::milliseconds pause{1};
    bool noticed = false;
    int outcome = 0;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            outcome = errno;
            break;
        }
        const auto waited = Clock::now() - start;
        if (wait == Wait::No || waited >= waiting.giveUpAfter) {
            outcome = EWOULDBLOCK;
            break;
        }
        if (!noticed && waited >= waiting.noticeAfter) {
            noticed = true;
            if (waiting.started)
                waiting.started(shownFolder(folder));
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds{16});
    }
    if (noticed && waiting.finished)
        waiting.finished();
    return outcome;
}

// Whether the folder may hold a change to finish: its lock file was marked, or this process
// could not have cleared the mark (a lock file not ours to write).
bool changeMayBePending(int fd)
{
    struct stat st { };
    return ::fstat(fd, &st) != 0 || st.st_size > 0 || (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY;
}

// The lock file this thread holds for `folder`, or -1.
int heldLockFile(const std::string& folder)
{
    struct stat st { };
    if (::stat(shownFolder(folder).c_str(), &st) != 0)
        return -1;
    const auto it =
        heldFolders().find({static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)});
    return it == heldFolders().end() ? -1 : it->second.fd;
}

// Locks one folder this thread does not hold yet; empty on success, else the reason.
std::string acquire(const WantedFolder& wanted, Wait wait, bool finishChanges)
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int fd = openLockFile(wanted.folder);
        if (fd < 0)
            return lockFailure(wanted.folder, errno);
        if (int error = takeLock(fd, wanted.folder, wait); error != 0) {
            ::close(fd);
            return error == EWOULDBLOCK ? lockBusyText(wanted.folder) : lockFailure(wanted.folder, error);
        }
        if (stillNamed(fd, wanted.folder)) {
            heldFolders()[wanted.key] = HeldFolder{fd, 1};
            // A writer killed in the middle of a change left it for the next holder, who must
            // finish it before reading anything.
            if (!finishChanges || !changeMayBePending(fd))
                return {};
            RecoveryResult earlier = finishPendingChanges(wanted.folder);
            if (earlier.unfinished > 0) {
                releaseOne(wanted.key);
                return earlier.problems.front();
            }
            if (earlier.ok())
                ::ftruncate(fd, 0);
            return {};
        }
        ::flock(fd, LOCK_UN);
        ::close(fd);
    }
    return lockFailure(wanted.folder, EAGAIN);
}

} // namespace

FolderLock::~FolderLock()
{
    release();
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : held_(std::exchange(other.held_, {})), reason_(std::move(other.reason_))
{
}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept
{
    if (this != &other) {
        release();
        held_ = std::exchange(other.held_, {});
        reason_ = std::move(other.reason_);
    }
    return *this;
}

void FolderLock::release()
{
    // The reverse of the order taken.
    for (auto it = held_.rbegin(); it != held_.rend(); ++it)
        releaseOne(*it);
    held_.clear();
}

FolderLock lockFolders(const std::vector<std::string>& folders, bool finishChanges)
{
    FolderLock lock;
    std::vector<WantedFolder> wanted;
    for (const std::string& folder : folders) {
        struct stat st { };
        const int error = ::stat(shownFolder(folder).c_str(), &st) != 0 ? errno : S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
        if (error != 0) {
            lock.reason_ = lockFailure(folder, error);
            return lock;
        }
        wanted.push_back(
            {{static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino)}, folder});
    }
    std::sort(wanted.begin(), wanted.end(), [](const auto& a, const auto& b) { return a.key < b.key; });
    wanted.erase(std::unique(wanted.begin(), wanted.end(), [](const auto& a, const auto& b) { return a.key == b.key; }),
                 wanted.end());
    auto& held = heldFolders();
    for (const WantedFolder& folder : wanted) {
        if (auto it = held.find(folder.key); it != held.end()) {
            ++it->second.count;
        } else {
            // Waiting here while holding a folder that sorts later could close a circle.
            const bool inOrder = held.empty() || held.rbegin()->first < folder.key;
            if (std::string why = acquire(folder, inOrder ? Wait::Yes : Wait::No, finishChanges); !why.empty()) {
                lock.release();
                lock.reason_ = std::move(why);
                return lock;
            }
        }
        lock.held_.push_back(folder.key);
    }
    return lock;
}

FolderLock lockFolderOf(const std::string& path)
{
    return lockFolder(folderOf(path));
}

void markChangePending(const std::string& folder)
{
    const int fd = heldLockFile(folder);
    if (fd >= 0 && ::pwrite(fd, "1", 1, 0) == 1)
        ::fdatasync(fd);
}

void clearChangePending(const std::string& folder)
{
    if (const int fd = heldLockFile(folder); fd >= 0)
        ::ftruncate(fd, 0);
}

LockWaiting setLockWaiting(LockWaiting waiting)
{
    std::lock_guard<std::mutex> guard(waitingMutex);
    return std::exchange(processWaiting(), std::move(waiting));
}

std::string lockWaitingText(const std::string& folder)
{
    return "ほかの Kalendra が「" + shownFolder(folder) + "」のデータを変更しています。終わるのを待っています…";
}

std::string lockBusyText(const std::string& folder)
{
    return "ほかの Kalendra が「" + shownFolder(folder) +
           "」のデータを変更していて、待っても終わりませんでした。\r\n何も変更していません。"
           "しばらくしてからもう一度実行して下さい。";
}

} // namespace kal::files
