// One run at a time of a long operation on a folder (the sync) across windows and commands: an
// exclusive flock on a file of the folder, tried and never waited for, held until destroyed. It
// leaves the folder's lock (FolderLock.h) free, so other writers go on meanwhile. The file is made
// on first use and never removed.
#pragma once

#include <string>

namespace kal::files {

class RunLock {
public:
    RunLock() = default;
    ~RunLock();
    RunLock(RunLock&& other) noexcept;
    RunLock& operator=(RunLock&& other) noexcept;
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    friend RunLock tryRunLock(const std::string& path);
    int fd_ = -1;
};

// Not held when another run (of any process) holds it, or the file cannot be made.
RunLock tryRunLock(const std::string& path);

} // namespace kal::files
