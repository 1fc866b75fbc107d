// Another writer for tests: a thread holding a folder's lock (threads exclude each other as
// processes do) until it lets go; and shorter lock waits, hooks kept, while a test runs.
#pragma once

#include "platform/FolderLock.h"

#include <future>
#include <thread>

namespace kal::test {

class LockHolder {
public:
    explicit LockHolder(const std::string& folder)
        : thread_([this, folder] {
              files::FolderLock lock = files::lockFolder(folder);
              taken_.set_value();
              release_.get_future().wait();
          })
    {
        taken_.get_future().wait();
    }
    ~LockHolder() { release_.set_value(), thread_.join(); }

private:
    std::promise<void> taken_, release_;
    std::thread thread_;
};

struct ShortLockWait {
    files::LockWaiting before = files::setLockWaiting({});
    ShortLockWait(std::chrono::milliseconds giveUp, std::chrono::milliseconds notice = {})
    {
        files::LockWaiting shorter = before;
        shorter.noticeAfter = notice, shorter.giveUpAfter = giveUp;
        files::setLockWaiting(shorter);
    }
    ~ShortLockWait() { files::setLockWaiting(before); }
};

} // namespace kal::test
