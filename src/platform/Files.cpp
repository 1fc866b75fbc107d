#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kal::files {
namespace {

std::string systemReason(int error)
{
    return std::strerror(error);
}

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
    int release()
    {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

bool writeAll(int fd, const std::string& bytes)
{
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
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

void syncFolder(const std::string& folder)
{
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::vector<std::string> splitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(bytes, begin, i - begin);
            if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                ++i;
            ++i;
            begin = i;
        } else {
            ++i;
        }
    }
    if (begin < n)
        lines.emplace_back(bytes, begin, n - begin);
    return lines;
}

std::optional<std::string> readBytes(const std::string& path)
{
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return std::nullopt;
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::vector<std::string> loadLines(const std::string& path)
{
    std::optional<std::string> bytes = readBytes(path);
    if (!bytes)
        return {};
    return splitLines(*bytes);
}

LoadForUpdate loadLinesForUpdate(const std::string& path)
{
    LoadForUpdate result;
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            result.ok = false;
            result.reason = systemReason(errno);
        }
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.ok = false;
        result.reason = systemReason(EISDIR);
        return result;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.ok = false;
        result.reason = systemReason(errno);
        return result;
    }
    ::close(fd);
    std::optional<std::string> bytes = readBytes(path);
    if (!bytes) {
        result.ok = false;
        result.reason = systemReason(EIO);
        return result;
    }
    result.lines = splitLines(*bytes);
    return result;
}

IoResult saveBytes(const std::string& path, const std::string& bytes)
{
    std::string folder = folderOf(path);
    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    mode_t mode = newFileMode(path);
    FileDescriptor fd(::mkstemp(name.data()));
    if (fd.get() < 0)
        return IoResult::failure(systemReason(errno));
    std::string tempPath(name.data());
    auto fail = [&](int error) {
        ::unlink(tempPath.c_str());
        return IoResult::failure(systemReason(error));
    };
    if (::fchmod(fd.get(), mode) != 0 && errno != EPERM)
        return fail(errno);
    if (!writeAll(fd.get(), bytes))
        return fail(errno);
    if (::fsync(fd.get()) != 0)
        return fail(errno);
    if (::close(fd.release()) != 0)
        return fail(errno);
    if (::rename(tempPath.c_str(), path.c_str()) != 0)
        return fail(errno);
    syncFolder(folder);
    return {};
}

IoResult saveLines(const std::string& path, const std::vector<std::string>& lines)
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
    return saveBytes(path, bytes);
}

bool fileExists(const std::string& path)
{
    struct stat st { };
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path)
{
    struct stat st { };
    return ::stat(path.empty() ? "." : path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

IoResult deleteFile(const std::string& path)
{
    if (::unlink(path.c_str()) != 0)
        return IoResult::failure(systemReason(errno));
    return {};
}

IoResult renameFile(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
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

std::vector<std::string> listFiles(const std::string& folder, const std::string& wildcard)
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
        const bool regular = entry->d_type == DT_REG || ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) &&
                                                         fileExists(withSeparator(folder) + name));
        if (regular)
            names.push_back(name);
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
