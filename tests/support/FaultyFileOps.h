// File operations that fail one chosen step (open, write, fsync, close, rename, unlink) at its
// N-th call with a chosen errno, and otherwise pass through to the system. A run without a
// fault counts the calls of each step, which gives the table of faults to inject.
#pragma once

#include "platform/FileOps.h"

#include <array>
#include <cerrno>

namespace kal::test {

enum class FileStep { Open, Write, Fsync, Close, Rename, Unlink, Count };

inline const char* stepName(FileStep step)
{
    static const char* const names[] = {"open", "write", "fsync", "close", "rename", "unlink"};
    return names[static_cast<int>(step)];
}

class FaultyFileOps : public files::FileOps {
public:
    FaultyFileOps() = default;
    FaultyFileOps(FileStep step, int nthCall, int error) : step_(step), nth_(nthCall), error_(error) { }

    int open(const char* path, int flags, mode_t mode) override
    {
        return fails(FileStep::Open) ? -1 : real().open(path, flags, mode);
    }
    ssize_t write(int fd, const void* data, std::size_t size) override
    {
        return fails(FileStep::Write) ? -1 : real().write(fd, data, size);
    }
    int fsync(int fd) override { return fails(FileStep::Fsync) ? -1 : real().fsync(fd); }
    int close(int fd) override
    {
        // A failed close still releases the descriptor, as the system's does.
        if (fails(FileStep::Close)) {
            const int error = errno;
            real().close(fd);
            errno = error;
            return -1;
        }
        return real().close(fd);
    }
    int rename(const char* from, const char* to) override
    {
        return fails(FileStep::Rename) ? -1 : real().rename(from, to);
    }
    int unlink(const char* path) override { return fails(FileStep::Unlink) ? -1 : real().unlink(path); }

    int calls(FileStep step) const { return calls_[static_cast<std::size_t>(step)]; }
    bool injected() const { return injected_; }

private:
    static files::FileOps& real() { return files::systemFileOps(); }

    bool fails(FileStep step)
    {
        const int call = ++calls_[static_cast<std::size_t>(step)];
        if (step != step_ || call != nth_)
            return false;
        injected_ = true;
        errno = error_;
        return true;
    }

    FileStep step_ = FileStep::Count;
    int nth_ = 0;
    int error_ = 0;
    bool injected_ = false;
    std::array<int, static_cast<std::size_t>(FileStep::Count)> calls_{};
};

} // namespace kal::test
