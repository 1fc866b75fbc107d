// Another writer for tests: a thread that holds a folder's lock (as a second process would,
// since locks are per thread within a process) until it is told to let go.
#pragma once

#include "platform/FolderLock.h"

#include <chrono>
#include <future>
#include <string>
#include <thread>

namespace kal::test {

class LockHolder {
public:
    explicit LockHolder(std::string folder)
    {
        std::promise<bool> taken;
        std::future<bool> ready = taken.get_future();
        thread_ = std::thread([folder = std::move(folder), &taken, this] {
            files::FolderLock lock = files::lockFolder(folder);
            taken.set_value(lock.ok());
            release_.get_future().wait();
        });
        held_ = ready.get();
    }
    ~LockHolder() { letGo(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool held() const { return held_; }
    void letGo()
    {
        if (!thread_.joinable())
            return;
        release_.set_value();
        thread_.join();
    }

private:
    std::promise<void> release_;
    std::thread thread_;
    bool held_ = false;
};

// A shorter wait for the duration of a test; the process's waiting comes back after it.
class ShortLockWait {
public:
    explicit ShortLockWait(std::chrono::milliseconds giveUpAfter, std::chrono::milliseconds noticeAfter = {},
                           std::function<void(const std::string&)> started = nullptr,
                           std::function<void()> finished = nullptr)
        : before_(files::setLockWaiting({noticeAfter, giveUpAfter, std::move(started), std::move(finished)}))
    {
    }
    ~ShortLockWait() { files::setLockWaiting(std::move(before_)); }
    ShortLockWait(const ShortLockWait&) = delete;
    ShortLockWait& operator=(const ShortLockWait&) = delete;

private:
    files::LockWaiting before_;
};

} // namespace kal::test
