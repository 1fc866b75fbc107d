// The fixed order of folder locks that keeps two writers from waiting on each other. (Nested locks
// of one thread and one folder under several names are what every import does in one folder.)
#include "platform/FolderLock.h"
#include "platform/Files.h"
#include "support/LockHolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kal::files;
using namespace std::chrono_literals;
using kal::test::LockHolder;
using kal::test::ShortLockWait;
using kal::test::TempFolder;

TEST(FolderLock, FoldersAreTakenInOneOrderAndARequestAgainstItNeverWaits)
{
    TempFolder a, b;
    struct stat sa {
    }, sb{};
    ASSERT_TRUE(::stat(a.path().c_str(), &sa) == 0 && ::stat(b.path().c_str(), &sb) == 0);
    const bool aFirst = std::pair(sa.st_dev, sa.st_ino) < std::pair(sb.st_dev, sb.st_ino);
    const std::string first = aFirst ? a.path() : b.path(), second = aFirst ? b.path() : a.path();
    int waits = 0;
    ShortLockWait wait(50ms);
    setLockWaiting({0ms, 50ms, [&](const std::string&) { ++waits; }, nullptr});
    LockHolder other(first);
    {
        FolderLock later = lockFolder(second);
        EXPECT_EQ(lockFolder(first).reason(), lockBusyText(first));
        EXPECT_EQ(waits, 0) << "holding the later folder, the earlier one is never waited for";
    }
    EXPECT_EQ(lockFolder(first).reason(), lockBusyText(first));
    EXPECT_EQ(waits, 1) << "in order it is";
}
