#include "platform/RunLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace kal::files {

RunLock::~RunLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

RunLock::RunLock(RunLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) { }

RunLock& RunLock::operator=(RunLock&& other) noexcept
{
    std::swap(fd_, other.fd_);
    return *this;
}

RunLock tryRunLock(const std::string& path)
{
    RunLock lock;
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
    if (fd < 0)
        return lock;
    // Per open file: a second run in this process is refused as well.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return lock;
    }
    lock.fd_ = fd;
    return lock;
}

} // namespace kal::files
