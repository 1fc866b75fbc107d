// Reading and saving under hostile conditions: special files, oversized files, read-only files,
// symbolic links and the leftovers of killed saves.
#include "platform/FileTransaction.h"
#include "platform/Files.h"
#include "platform/SystemError.h"
#include "support/TempFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kal;
using kal::test::TempFolder;

namespace {

// Written directly, since every save clears stale temporary files of its folder.
void writeRaw(const std::string& path)
{
    std::ofstream(path) << "x";
}

} // namespace

TEST(FileSafety, SpecialFilesAreUnreadableWithAReasonAndNeverBlock)
{
    TempFolder dir;
    ASSERT_EQ(::mkfifo(dir.file("202605.sch").c_str(), 0644), 0);
    ASSERT_EQ(::mkdir(dir.file("Holiday.dat").c_str(), 0755), 0);
    struct Case {
        const char* name;
        std::string reason;
    };
    for (const Case& c : {Case{"202605.sch", files::systemErrorText(files::kNotRegularFile)},
                          Case{"Holiday.dat", files::systemErrorText(EISDIR)}}) {
        SCOPED_TRACE(c.name);
        files::ReadResult read = files::readFile(dir.file(c.name));
        EXPECT_EQ(read.status, files::ReadStatus::Unreadable);
        EXPECT_EQ(read.reason, c.reason);
        EXPECT_TRUE(files::loadLines(dir.file(c.name)).empty());
        files::LoadForUpdate update = files::loadLinesForUpdate(dir.file(c.name));
        EXPECT_FALSE(update.ok);
        EXPECT_EQ(update.reason, c.reason);
        // Nor is the special file replaced by a save.
        files::IoResult saved = files::saveLines(dir.file(c.name), {"x"});
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(saved.reason, c.reason);
    }
    struct stat st { };
    ASSERT_EQ(::stat(dir.file("202605.sch").c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(FileSafety, FilesAboveTheLimitAreRefusedWithAMessage)
{
    TempFolder dir;
    dir.write("big.sch", std::string(files::kMaxDataFileBytes + 1, '\n'));
    dir.write("limit.sch", std::string(files::kMaxDataFileBytes, 'a'));
    files::ReadResult big = files::readFile(dir.file("big.sch"));
    EXPECT_EQ(big.status, files::ReadStatus::Unreadable);
    EXPECT_EQ(big.reason, "ファイルが大きすぎます（このファイルの上限は 8 MB です）。");
    EXPECT_TRUE(big.bytes.empty());
    EXPECT_FALSE(files::loadLinesForUpdate(dir.file("big.sch")).ok);
    EXPECT_EQ(files::readFile(dir.file("limit.sch")).status, files::ReadStatus::Ok);
}

TEST(FileSafety, AReadOnlyFileIsRefusedAndKeepsItsContent)
{
    TempFolder dir;
    dir.write("202605.sch", "old\r\n");
    ::chmod(dir.file("202605.sch").c_str(), 0444);
    files::IoResult saved = files::saveLines(dir.file("202605.sch"), {"new"});
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.reason, "読み取り専用のファイルです。");
    EXPECT_EQ(dir.read("202605.sch"), "old\r\n");
    EXPECT_EQ(files::listFiles(dir.path(), "*"), std::vector<std::string>{"202605.sch"});
}

TEST(FileSafety, SavingThroughASymbolicLinkReplacesItsTarget)
{
    TempFolder dir;
    ::mkdir(dir.file("real").c_str(), 0755);
    dir.write("real/202605.sch", "old\r\n");
    // A relative link to a relative link, as sync tools and users make them.
    ASSERT_EQ(::symlink("real/202605.sch", dir.file("hop.sch").c_str()), 0);
    ASSERT_EQ(::symlink("hop.sch", dir.file("202605.sch").c_str()), 0);
    ASSERT_TRUE(files::saveLines(dir.file("202605.sch"), {"new"}));
    struct stat st { };
    ASSERT_EQ(::lstat(dir.file("202605.sch").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(dir.read("real/202605.sch"), "new\r\n");
    EXPECT_EQ(files::listFiles(dir.file("real"), "*"), std::vector<std::string>{"202605.sch"});

    // A dangling link creates its target; a loop is refused.
    ASSERT_EQ(::symlink("real/202606.sch", dir.file("202606.sch").c_str()), 0);
    ASSERT_TRUE(files::saveLines(dir.file("202606.sch"), {"june"}));
    EXPECT_EQ(dir.read("real/202606.sch"), "june\r\n");
    ASSERT_EQ(::symlink("loop.sch", dir.file("loop.sch").c_str()), 0);
    EXPECT_EQ(files::saveLines(dir.file("loop.sch"), {"x"}).reason, files::systemErrorText(ELOOP));
}

TEST(FileSafety, OnlyStaleTemporaryFilesOfThisProgramAreRemoved)
{
    TempFolder dir;
    for (const char* name : {"202605.sch.tmp-a1B2c3", "Kalendra.ini.tmp-XXXXXX", "held.sch.tmp-zzzzzz", "mine.tmp-abc",
                             "notes.tmp-abcdefg", "data.tmp-ab_cd1", "202605.sch"})
        writeRaw(dir.file(name));
    // A save in progress in another process holds its temporary file locked.
    const int held = ::open(dir.file("held.sch.tmp-zzzzzz").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    if (::fork() == 0) {
        // The clean-up runs in a process of its own, as another instance would.
        _exit(files::removeStaleTemporaries(dir.path()) == 2 ? 0 : 1);
    }
    int status = 0;
    ::wait(&status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ::close(held);
    for (const char* gone : {"202605.sch.tmp-a1B2c3", "Kalendra.ini.tmp-XXXXXX"})
        EXPECT_FALSE(dir.exists(gone)) << gone;
    for (const char* kept :
         {"held.sch.tmp-zzzzzz", "mine.tmp-abc", "notes.tmp-abcdefg", "data.tmp-ab_cd1", "202605.sch"})
        EXPECT_TRUE(dir.exists(kept)) << kept;

    // A save takes over what a killed save of its file left, and passes by one a save holds.
    writeRaw(dir.file("202607.sch.tmp-saving"));
    ASSERT_TRUE(files::saveLines(dir.file("202607.sch"), {"x"}));
    EXPECT_EQ(files::listFiles(dir.path(), "202607*"), std::vector<std::string>{"202607.sch"});
    const int saving = ::open(dir.file("202608.sch.tmp-saving").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(saving, LOCK_EX), 0);
    ASSERT_TRUE(files::saveLines(dir.file("202608.sch"), {"y"}));
    EXPECT_EQ(dir.read("202608.sch"), "y\r\n");
    EXPECT_EQ(files::listFiles(dir.path(), "202608*").size(), 2u);
    ::close(saving);
}

TEST(FileSafety, TheCommonReasonsAreJapaneseAndOthersTheSystemsOwn)
{
    struct Case {
        int error;
        const char* text;
    };
    const Case cases[] = {
        {ENOSPC, "ディスクの空き容量が足りません。"},         {EACCES, "アクセスが許可されていません。"},
        {EROFS, "読み取り専用のファイルシステムです。"},      {EISDIR, "ファイルではなくフォルダです。"},
        {ENOENT, "ファイルまたはフォルダが見つかりません。"}, {ENAMETOOLONG, "ファイル名が長すぎます。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        EXPECT_EQ(files::systemErrorText(c.error), c.text);
        EXPECT_EQ(files::IoResult::error(c.error).reason, c.text);
    }
    EXPECT_EQ(files::systemErrorText(EXDEV), std::strerror(EXDEV));

    // The reason of a real failure comes from the same table.
    TempFolder dir;
    const std::string longName = dir.file(std::string(300, 'a'));
    EXPECT_EQ(files::saveLines(longName, {"x"}).reason, "ファイル名が長すぎます。");
}

TEST(FileSafety, NothingIsWrittenThatItsReaderWouldRefuseNorOverAFileNoReaderTakes)
{
    TempFolder dir;
    const std::string big(files::kMaxDataFileBytes + 1, 'x'), tooLarge = files::fileTooLargeText(big.size() - 1);
    dir.write("a.sch", "old");
    dir.write("huge.sch", big);
    EXPECT_EQ(files::writeAllOrNothing(dir.path(), {{dir.file("a.sch"), std::string("new")}, {dir.file("b.sch"), big}})
                  .reason,
              "b.sch: " + tooLarge);
    EXPECT_EQ(files::saveBytes(dir.file("huge.sch"), "small").reason, tooLarge);
    EXPECT_EQ(files::listFiles(dir.path(), "*").size(), 2u) << "no b.sch, no temporary file";
    EXPECT_EQ(dir.read("a.sch"), "old");
    EXPECT_EQ(files::fileStamp(dir.file("huge.sch")).size, static_cast<long long>(big.size()));
}
