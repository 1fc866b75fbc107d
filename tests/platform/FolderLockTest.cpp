// One writer at a time per folder: what a second writer sees, how one thread nests its locks,
// and the order that keeps two writers of several folders from waiting on each other.
#include "platform/FolderLock.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "support/LockHolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kal;
using namespace kal::files;
using namespace std::chrono_literals;
using kal::test::LockHolder;
using kal::test::ShortLockWait;
using kal::test::TempFolder;

namespace {

std::pair<dev_t, ino_t> keyOf(const std::string& folder)
{
    struct stat st { };
    ::stat(folder.c_str(), &st);
    return {st.st_dev, st.st_ino};
}

} // namespace

TEST(FolderLock, ASecondWriterWaitsSaysSoOnceAndGivesUpWithTheReason)
{
    TempFolder dir;
    std::vector<std::string> noticed;
    int finished = 0;
    ShortLockWait wait(
        150ms, 20ms, [&](const std::string& folder) { noticed.push_back(folder); }, [&] { ++finished; });
    {
        LockHolder other(dir.path());
        ASSERT_TRUE(other.held());
        FolderLock lock = lockFolder(dir.path());
        EXPECT_FALSE(lock);
        EXPECT_EQ(lock.reason(), lockBusyText(dir.path()));
        EXPECT_EQ(noticed, std::vector<std::string>{dir.path()});
        EXPECT_EQ(finished, 1);
    }
    FolderLock free = lockFolder(dir.path());
    EXPECT_TRUE(free) << free.reason();
    EXPECT_EQ(noticed.size(), 1u) << "a lock taken at once is no wait to tell of";
    EXPECT_TRUE(fileExists(dir.file(".kalendra.lock")));
    EXPECT_TRUE(listFiles(dir.path(), "*").empty()) << "readers listing the folder never see it";
}

TEST(FolderLock, AWaitingWriterGoesOnOnceTheOtherLetsGo)
{
    TempFolder dir;
    ShortLockWait wait(10s);
    LockHolder other(dir.path());
    std::thread release([&] {
        std::this_thread::sleep_for(50ms);
        other.letGo();
    });
    FolderLock lock = lockFolder(dir.path());
    release.join();
    EXPECT_TRUE(lock) << lock.reason();
}

TEST(FolderLock, OneThreadNestsItsLocksAndOneFolderIsOneLockWhateverItsName)
{
    TempFolder dir, links;
    ASSERT_EQ(::symlink(dir.path().c_str(), links.file("alias").c_str()), 0);
    ShortLockWait wait(50ms);
    FolderLock outer = lockFolder(dir.path());
    ASSERT_TRUE(outer);
    {
        FolderLock inner = lockFolders({dir.path() + "./", links.file("alias"), dir.path()});
        EXPECT_TRUE(inner) << inner.reason();
    }
    EXPECT_FALSE(LockHolder(dir.path()).held()) << "the inner lock's end leaves the outer one held";
    outer.release();
    EXPECT_TRUE(LockHolder(dir.path()).held());
}

TEST(FolderLock, FoldersAreTakenInOneOrderAndARequestAgainstItNeverWaits)
{
    TempFolder a, b;
    const bool aFirst = keyOf(a.path()) < keyOf(b.path());
    const std::string first = aFirst ? a.path() : b.path(), second = aFirst ? b.path() : a.path();
    int waits = 0;
    ShortLockWait wait(50ms, 0ms, [&](const std::string&) { ++waits; });
    {
        // Holding the later folder, this thread must not wait for the earlier one.
        LockHolder other(first);
        FolderLock later = lockFolder(second);
        ASSERT_TRUE(later);
        FolderLock earlier = lockFolder(first);
        EXPECT_FALSE(earlier);
        EXPECT_EQ(earlier.reason(), lockBusyText(first));
        EXPECT_EQ(waits, 0);
    }
    {
        // In order it waits as usual.
        LockHolder other(second);
        FolderLock earlier = lockFolder(first);
        ASSERT_TRUE(earlier);
        EXPECT_FALSE(lockFolder(second));
        EXPECT_EQ(waits, 1);
    }
    // Named in any order, both are taken, and both released with the lock.
    {
        FolderLock both = lockFolders({second, first});
        ASSERT_TRUE(both);
        EXPECT_FALSE(LockHolder(first).held());
        EXPECT_FALSE(LockHolder(second).held());
    }
    EXPECT_TRUE(LockHolder(first).held());
    EXPECT_TRUE(LockHolder(second).held());
}

TEST(FolderLock, AFolderThatCannotBeLockedIsRefusedWithTheReason)
{
    struct Case {
        const char* what;
        std::function<void(const TempFolder&)> arrange;
        std::string folder;
        int error;
    };
    const Case cases[] = {
        {"missing folder", [](const TempFolder&) {}, "missing/", ENOENT},
        {"a file named like the folder", [](const TempFolder& dir) { dir.write("file", "x"); }, "file", ENOTDIR},
        {"the lock's name taken by a folder",
         [](const TempFolder& dir) { ::mkdir(dir.file(".kalendra.lock").c_str(), 0755); }, "", EISDIR},
        {"the lock's name taken by a FIFO",
         [](const TempFolder& dir) { ::mkfifo(dir.file(".kalendra.lock").c_str(), 0644); }, "", kNotRegularFile},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        c.arrange(dir);
        FolderLock lock = lockFolder(dir.path() + c.folder);
        EXPECT_FALSE(lock);
        EXPECT_NE(lock.reason().find(systemErrorText(c.error)), std::string::npos) << lock.reason();
        EXPECT_NE(lock.reason().find(dir.path() + c.folder), std::string::npos) << lock.reason();
    }
}
