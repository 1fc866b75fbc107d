// The system calls through which the file layer changes the disk: the seam where tests fail a
// chosen step (open, write, fsync, close, rename, unlink) with a chosen errno.
//
// Production code always uses systemFileOps(); nothing global can be switched. A writer takes
// `files::FileOps& ops = files::systemFileOps()` as its last parameter (or a store receives one
// at construction) and hands it on to saveLines, saveBytes, deleteFile or writeAllOrNothing.
// Bringing a new writer under the seam is exactly that one added parameter; its table-driven
// test then uses tests/support/FaultyFileOps.h.
#pragma once

#include <cstddef>
#include <sys/types.h>

namespace kal::files {

class FileOps {
public:
    virtual ~FileOps() = default;
    // The POSIX calls of the same names: -1 (or a negative count) and errno on failure.
    virtual int open(const char* path, int flags, mode_t mode) = 0;
    virtual ssize_t write(int fd, const void* data, std::size_t size) = 0;
    virtual int fsync(int fd) = 0;
    virtual int close(int fd) = 0;
    virtual int rename(const char* from, const char* to) = 0;
    virtual int unlink(const char* path) = 0;
};

// The real system.
FileOps& systemFileOps();

} // namespace kal::files
