#include "platform/Files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kal::files {
namespace {

constexpr std::string_view kTemporaryMark = ".tmp-";
constexpr std::size_t kTemporarySuffixLength = 6;
constexpr std::string_view kFixedTemporarySuffix = "saving";
constexpr int kMaxLinkDepth = 40;

std::string systemReason(int error)
{
    return systemErrorText(error);
}

class SystemFileOps : public FileOps {
public:
    int open(const char* path, int flags, mode_t mode) override { return ::open(path, flags, mode); }
    ssize_t write(int fd, const void* data, std::size_t size) override { return ::write(fd, data, size); }
    int fsync(int fd) override { return ::fsync(fd); }
    int close(int fd) override { return ::close(fd); }
    int rename(const char* from, const char* to) override { return ::rename(from, to); }
    int unlink(const char* path) override { return ::unlink(path); }
};

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) { }
    ~FileDescriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Gives the errno of the failure, 0 when everything was written.
int writeAll(FileOps& ops, int fd, const std::string& bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ops.write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

mode_t newFileMode(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string randomSuffix()
{
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}() ^ static_cast<std::uint64_t>(::getpid())};
    std::string suffix;
    for (std::size_t i = 0; i < kTemporarySuffixLength; ++i)
        suffix += kAlphabet[generator() % (sizeof kAlphabet - 1)];
    return suffix;
}

bool sameFile(int fd, const std::string& path)
{
    struct stat byFd {
    }, byName{};
    return ::fstat(fd, &byFd) == 0 && ::stat(path.c_str(), &byName) == 0 && byFd.st_ino == byName.st_ino &&
           byFd.st_dev == byName.st_dev;
}

// The temporary of `target` under its fixed name, emptied and locked: a save killed before
// takes over what it left, so no save has to look through the folder for leftovers. -1 when
// another save holds it (or the name is not a plain file of ours), with errno set on a failure
// to open.
int takeFixedTemporary(FileOps& ops, const std::string& target, std::string& tempPath, bool& openFailed)
{
    tempPath = target + std::string(kTemporaryMark) + std::string(kFixedTemporarySuffix);
    const int fd =
        ops.open(tempPath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
    if (fd < 0) {
        // Something else under that name (a link, a folder, another user's file) is passed by.
        const int error = errno;
        openFailed = (error != ELOOP && error != EACCES && error != EISDIR) || !anythingAt(tempPath);
        errno = error;
        return -1;
    }
    struct stat st { };
    // Whoever held it may have placed it meanwhile: then the name is gone or another file's.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && sameFile(fd, tempPath) &&
        ::ftruncate(fd, 0) == 0)
        return fd;
    ops.close(fd);
    return -1;
}

// A temporary file beside `target`, created and locked; -1 and errno when it cannot be made.
int createTemporary(FileOps& ops, const std::string& target, mode_t mode, std::string& tempPath)
{
    bool openFailed = false;
    if (const int fd = takeFixedTemporary(ops, target, tempPath, openFailed); fd >= 0 || openFailed)
        return fd;
    // Saves of one file meeting: the later ones take names of their own.
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + std::string(kTemporaryMark) + randomSuffix();
        int fd = ops.open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return fd;
        // Another process's clean-up may have taken the file between its creation and the
        // lock; then it is made again.
        ::flock(fd, LOCK_EX);
        if (sameFile(fd, tempPath))
            return fd;
        ops.close(fd);
    }
    errno = EEXIST;
    return -1;
}

} // namespace

FileOps& systemFileOps()
{
    static SystemFileOps ops;
    return ops;
}

void splitLineViews(std::string_view bytes, std::vector<std::string_view>& lines)
{
    lines.clear();
    if (bytes.empty())
        return;
    const char* const end = bytes.data() + bytes.size();
    auto next = [end](const char* from, char c) {
        const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return found ? static_cast<const char*>(found) : end;
    };
    // CR and LF are each looked for with memchr, and again only once passed: a file without
    // one of them is scanned for it once.
    const char* cr = next(bytes.data(), '\r');
    const char* lf = next(bytes.data(), '\n');
    for (const char* p = bytes.data(); p < end;) {
        if (cr < p)
            cr = next(p, '\r');
        if (lf < p)
            lf = next(p, '\n');
        const char* stop = std::min(cr, lf);
        lines.emplace_back(p, static_cast<std::size_t>(stop - p));
        if (stop == end)
            break;
        p = stop + (*stop == '\r' && stop + 1 < end && stop[1] == '\n' ? 2 : 1);
    }
}

std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string_view> views;
    splitLineViews(bytes, views);
    return std::vector<std::string>(views.begin(), views.end());
}

namespace {

// readFileInto of `path` within the folder `folderFd` (or AT_FDCWD).
void readFileAtInto(int folderFd, const char* path, ReadResult& result, std::size_t maxBytes)
{
    auto unreadable = [&](std::string reason) {
        result.status = ReadStatus::Unreadable;
        result.reason = std::move(reason);
        result.bytes.clear();
    };
    result.status = ReadStatus::Missing;
    result.bytes.clear();
    result.reason.clear();
    // Non-blocking, so that opening a FIFO without a writer returns at once.
    FileDescriptor fd(::openat(folderFd, path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        return errno == ENOENT ? void() : unreadable(systemReason(errno));
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0)
        return unreadable(systemReason(errno));
    if (S_ISDIR(st.st_mode))
        return unreadable(systemReason(EISDIR));
    if (!S_ISREG(st.st_mode))
        return unreadable(systemReason(kNotRegularFile));
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return unreadable(fileTooLargeText(maxBytes));
    // One byte more than the size, to see whether the file grew while it was read.
    result.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == result.bytes.size()) {
            if (got > maxBytes)
                return unreadable(fileTooLargeText(maxBytes));
            result.bytes.resize(std::min(got * 2, maxBytes + 1));
        }
        ssize_t n = ::read(fd.get(), result.bytes.data() + got, result.bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return unreadable(systemReason(errno));
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
        // A short read that ends at the size found before is the end: no further call to say so.
        if (got == static_cast<std::size_t>(st.st_size) && got < result.bytes.size())
            break;
    }
    if (got > maxBytes)
        return unreadable(fileTooLargeText(maxBytes));
    result.bytes.resize(got);
    result.status = ReadStatus::Ok;
}

} // namespace

void readFileInto(const std::string& path, ReadResult& result, std::size_t maxBytes)
{
    readFileAtInto(AT_FDCWD, path.c_str(), result, maxBytes);
}

OpenFolder::OpenFolder(std::string path)
    : path_(withSeparator(path)), fd_(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
}

OpenFolder::~OpenFolder()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void OpenFolder::readInto(const std::string& name, ReadResult& result, std::size_t maxBytes) const
{
    // A folder that could not be opened gives each file's own reason.
    if (fd_ < 0)
        return readFileInto(path_ + name, result, maxBytes);
    readFileAtInto(fd_, name.c_str(), result, maxBytes);
}

ReadResult readFile(const std::string& path, std::size_t maxBytes)
{
    ReadResult result;
    readFileInto(path, result, maxBytes);
    return result;
}

std::optional<std::string> readBytes(const std::string& path)
{
    ReadResult read = readFile(path);
    if (read.status != ReadStatus::Ok)
        return std::nullopt;
    return std::move(read.bytes);
}

std::vector<std::string> loadLines(const std::string& path)
{
    std::optional<std::string> bytes = readBytes(path);
    if (!bytes)
        return {};
    return splitLines(*bytes);
}

LoadForUpdate loadLinesForUpdate(const std::string& path, std::size_t maxBytes)
{
    ReadResult read = readFile(path, maxBytes);
    LoadForUpdate result;
    if (read.status == ReadStatus::Unreadable) {
        result.ok = false;
        result.reason = std::move(read.reason);
    } else {
        result.lines = splitLines(read.bytes);
    }
    return result;
}

std::vector<std::string> loadLinesNoting(const std::string& path, std::vector<FileProblem>& problems)
{
    ReadResult read = readFile(path);
    if (read.status == ReadStatus::Unreadable)
        problems.push_back({path, std::move(read.reason)});
    return splitLines(read.bytes);
}

std::string problemsText(const std::vector<FileProblem>& problems)
{
    std::string text;
    for (const FileProblem& problem : problems)
        text += (text.empty() ? "" : "\r\n") + problem.path + ": " + problem.reason;
    return text;
}

std::string resolveLinks(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat st { };
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n <= 0)
            return current;
        target.resize(static_cast<std::size_t>(n));
        current = target[0] == '/' ? target : folderOf(current) + target;
    }
    return current;
}

IoResult checkReplaceable(const std::string& path, std::size_t maxBytes)
{
    const std::string target = resolveLinks(path);
    struct stat st { };
    if (::lstat(target.c_str(), &st) != 0) {
        if (errno != ENOENT)
            return IoResult::error(errno);
        const std::string folder = folderOf(target);
        if (!folderExists(folder))
            return IoResult::error(ENOENT);
        return {};
    }
    if (S_ISLNK(st.st_mode))
        return IoResult::error(ELOOP);
    if (S_ISDIR(st.st_mode))
        return IoResult::error(EISDIR);
    if (!S_ISREG(st.st_mode))
        return IoResult::error(kNotRegularFile);
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes)
        return IoResult::failure(fileTooLargeText(maxBytes));
    // As the file system checks it (effective and file-system ids), not by the real user.
    if (::faccessat(AT_FDCWD, target.c_str(), R_OK, AT_EACCESS) != 0)
        return IoResult::error(errno);
    // Root may write anything, so the mode itself says whether the user meant it read-only.
    if ((st.st_mode & 0222) == 0)
        return IoResult::error(kReadOnlyFile);
    if (::access(target.c_str(), W_OK) != 0)
        return IoResult::error(errno == EROFS ? EROFS : kReadOnlyFile);
    return {};
}

HeldLock::~HeldLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

HeldLock& HeldLock::operator=(HeldLock&& other) noexcept
{
    if (this != &other) {
        adopt(other.fd_);
        other.fd_ = -1;
    }
    return *this;
}

void HeldLock::adopt(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

namespace {

enum class FileAccess { AsBefore, OwnerOnly };

IoResult writeReplacing(const std::string& path, const std::string& bytes, FileOps& ops, HeldLock* keep,
                        FileAccess access = FileAccess::AsBefore, std::size_t maxBytes = kMaxDataFileBytes)
{
    StagedFile staged;
    if (IoResult written = stageFile(path, bytes, staged, ops, access == FileAccess::OwnerOnly, maxBytes); !written)
        return written;
    if (IoResult placed = placeStaged(staged, ops); !placed)
        return placed;
    syncFolder(folderOf(resolveLinks(path)));
    if (keep)
        *keep = staged.takeLock();
    return {};
}

} // namespace

StagedFile::StagedFile(StagedFile&& other) noexcept
    : temporary_(std::exchange(other.temporary_, {})), target_(std::move(other.target_)), lock_(std::move(other.lock_)),
      ops_(other.ops_)
{
}

StagedFile::~StagedFile()
{
    if (!temporary_.empty() && ops_)
        ops_->unlink(temporary_.c_str());
}

IoResult stageFile(const std::string& path, const std::string& bytes, StagedFile& staged, FileOps& ops, bool ownerOnly,
                   std::size_t maxBytes)
{
    if (IoResult fits = checkSize(bytes, maxBytes); !fits)
        return fits;
    const std::string target = resolveLinks(path);
    const mode_t mode = ownerOnly ? (S_IRUSR | S_IWUSR) : newFileMode(target);
    if (IoResult replaceable = checkReplaceable(target, maxBytes); !replaceable)
        return replaceable;
    std::string tempPath;
    const int fd = createTemporary(ops, target, mode, tempPath);
    if (fd < 0)
        return IoResult::error(errno);
    // The lock lives on a second descriptor of the same open file, so that it outlasts the
    // close below and is given up only after the rename (or by the death of this process).
    staged.lock_.adopt(::dup(fd));
    staged.temporary_ = tempPath;
    staged.target_ = target;
    staged.ops_ = &ops;
    auto fail = [&](int error, bool open) {
        if (open)
            ops.close(fd);
        return IoResult::error(error);
    };
    // The mode of the file replaced (or owner-only), whatever the umask says.
    ::fchmod(fd, mode);
    if (int error = writeAll(ops, fd, bytes))
        return fail(error, true);
    if (ops.fsync(fd) != 0)
        return fail(errno, true);
    if (ops.close(fd) != 0)
        return fail(errno, false);
    return {};
}

IoResult stageBytes(const std::string& path, const std::string& bytes, StagedFile& staged, FileOps& ops)
{
    return stageFile(path, bytes, staged, ops, false);
}

IoResult checkSize(const std::string& bytes, std::size_t maxBytes)
{
    if (bytes.size() > maxBytes)
        return IoResult::failure(fileTooLargeText(maxBytes));
    return {};
}

IoResult placeStaged(StagedFile& staged, FileOps& ops)
{
    if (ops.rename(staged.temporary_.c_str(), staged.target_.c_str()) != 0)
        return IoResult::error(errno); // the temporary goes with the StagedFile
    staged.temporary_.clear();
    return {};
}

void syncFolder(const std::string& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

IoResult saveBytes(const std::string& path, const std::string& bytes, FileOps& ops)
{
    return writeReplacing(path, bytes, ops, nullptr);
}

IoResult saveBytesWithin(const std::string& path, const std::string& bytes, std::size_t maxBytes, FileOps& ops)
{
    return writeReplacing(path, bytes, ops, nullptr, FileAccess::AsBefore, maxBytes);
}

IoResult saveBytesPrivate(const std::string& path, const std::string& bytes, FileOps& ops)
{
    return writeReplacing(path, bytes, ops, nullptr, FileAccess::OwnerOnly);
}

IoResult saveBytesHoldingLock(const std::string& path, const std::string& bytes, HeldLock& lock, FileOps& ops)
{
    // The intent record's own limit is checked by its writer.
    return writeReplacing(path, bytes, ops, &lock, FileAccess::AsBefore, SIZE_MAX);
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

IoResult saveLines(const std::string& path, const std::vector<std::string>& lines, FileOps& ops)
{
    return saveBytes(path, joinLines(lines), ops);
}

bool isTemporaryName(std::string_view name)
{
    const std::size_t tail = kTemporaryMark.size() + kTemporarySuffixLength;
    if (name.size() <= tail || name.substr(name.size() - tail, kTemporaryMark.size()) != kTemporaryMark)
        return false;
    for (char c : name.substr(name.size() - kTemporarySuffixLength))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

int removeStaleTemporaries(const std::string& folder)
{
    return removeStaleTemporaries(folder, listNames(folder, isTemporaryName));
}

int removeStaleTemporaries(const std::string& folder, const std::vector<std::string>& names)
{
    int removed = 0;
    for (const std::string& name : names) {
        if (!isTemporaryName(name))
            continue;
        const std::string path = withSeparator(folder) + name;
        FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY));
        struct stat st { };
        if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        // A save in progress holds the lock; a killed one held it until it died.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        struct stat now { };
        if (::stat(path.c_str(), &now) == 0 && now.st_ino == st.st_ino && ::unlink(path.c_str()) == 0)
            ++removed;
    }
    return removed;
}

bool fileExists(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool anythingAt(const std::string& path)
{
    struct stat st { };
    return ::lstat(path.c_str(), &st) == 0;
}

bool folderExists(const std::string& path)
{
    struct stat st { };
    return ::stat(path.empty() ? "." : path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

IoResult deleteFile(const std::string& path, FileOps& ops)
{
    if (ops.unlink(path.c_str()) != 0)
        return IoResult::failure(systemReason(errno));
    return {};
}

IoResult renameFile(const std::string& from, const std::string& to, FileOps& ops)
{
    if (ops.rename(from.c_str(), to.c_str()) != 0)
        return IoResult::failure(systemReason(errno));
    return {};
}

IoResult createFolders(const std::string& path)
{
    std::string partial;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            if (!partial.empty() && !folderExists(partial) && ::mkdir(partial.c_str(), 0777) != 0 && errno != EEXIST)
                return IoResult::failure(systemReason(errno));
        }
        if (i < path.size())
            partial += path[i];
    }
    return {};
}

std::optional<DateTime> modificationTime(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    std::tm local{};
    time_t t = st.st_mtime;
    if (!::localtime_r(&t, &local))
        return std::nullopt;
    DateTime dt;
    dt.date = Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    dt.hour = local.tm_hour;
    dt.minute = local.tm_min;
    dt.second = local.tm_sec;
    return dt;
}

FileStamp fileStamp(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return FileStamp{};
    FileStamp stamp;
    stamp.exists = true;
    stamp.device = static_cast<unsigned long long>(st.st_dev);
    stamp.inode = static_cast<unsigned long long>(st.st_ino);
    stamp.size = static_cast<long long>(st.st_size);
    stamp.modifiedNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    return stamp;
}

bool stampSettled(const FileStamp& stamp)
{
    constexpr long long kSettleNs = 3'000'000'000LL;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return stamp.exists && stamp.modifiedNs < nowNs - kSettleNs;
}

std::vector<std::string> listFiles(const std::string& folder, const std::string& wildcard, bool anyKind)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return names;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        if (::fnmatch(wildcard.c_str(), name.c_str(), FNM_CASEFOLD | FNM_PERIOD) != 0)
            continue;
        // The directory entry already tells a plain file; only links and file systems that
        // do not say need a stat, so listing thousands of memos costs no extra call each.
        const bool regular =
            anyKind || entry->d_type == DT_REG ||
            ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) && fileExists(withSeparator(folder) + name));
        if (regular)
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

std::vector<std::string> listNames(const std::string& folder, const std::function<bool(std::string_view)>& accept)
{
    return tryListNames(folder, accept).value_or(std::vector<std::string>{});
}

std::optional<std::vector<std::string>> tryListNames(const std::string& folder,
                                                     const std::function<bool(std::string_view)>& accept)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return std::nullopt;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && accept(name))
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

std::string withSeparator(const std::string& folder)
{
    if (folder.empty() || folder.back() == '/')
        return folder;
    return folder + '/';
}

std::string folderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return path.substr(0, slash + 1);
}

} // namespace kal::files
