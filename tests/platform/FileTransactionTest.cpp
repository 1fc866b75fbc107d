// Multi-file changes: all written or none, and what the next start does with an interrupted one.
#include "platform/FileTransaction.h"
#include "platform/FolderLock.h"
#include "platform/IntentRecord.h"
#include "support/FaultyFileOps.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kal;
using namespace kal::files;
using kal::test::TempFolder;

namespace {

// Every name in the folder, hidden ones included.
std::vector<std::string> allNames(const TempFolder& dir)
{
    std::vector<std::string> names = listFiles(dir.path(), "*");
    for (const std::string& hidden : listFiles(dir.path(), ".*"))
        if (hidden != kFolderLockName)
            names.push_back(hidden);
    std::sort(names.begin(), names.end());
    return names;
}

void leaveIntent(const TempFolder& dir, const std::string& name, const IntentRecord& record)
{
    ASSERT_TRUE(saveBytes(dir.file(name), EncodeIntent(record)));
}

} // namespace

TEST(FileTransaction, WritesAndDeletesTogetherAndLeavesNothingBehind)
{
    TempFolder dir;
    dir.write("202603.sch", "old march\r\n");
    dir.write("202604.sch", "old april\r\n");
    ASSERT_TRUE(writeAllOrNothing(dir.path(), {{dir.file("202603.sch"), std::string("new march\r\n")},
                                               {dir.file("202604.sch"), std::nullopt},
                                               {dir.file("202605.sch"), std::string("new may\r\n")}}));
    EXPECT_EQ(dir.read("202603.sch"), "new march\r\n");
    EXPECT_EQ(dir.read("202605.sch"), "new may\r\n");
    EXPECT_EQ(allNames(dir), (std::vector<std::string>{"202603.sch", "202605.sch"}));
}

TEST(FileTransaction, ARefusedFileStopsTheChangeBeforeAnythingIsWritten)
{
    TempFolder other;
    TempFolder dir;
    dir.write("202603.sch", "old\r\n");
    dir.write("202604.sch", "read-only\r\n");
    ::chmod(dir.file("202604.sch").c_str(), 0444);
    struct Case {
        const char* name;
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        {"read-only", dir.file("202604.sch"), "202604.sch: 読み取り専用のファイルです。"},
        {"outside the folder", other.file("202604.sch"), systemErrorText(kOutsideFolder)},
        {"twice the same file", dir.file("202603.sch"), systemErrorText(kOutsideFolder)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IoResult result = writeAllOrNothing(
            dir.path(), {{dir.file("202603.sch"), std::string("new\r\n")}, {c.path, std::string("x")}});
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(dir.read("202603.sch"), "old\r\n");
        EXPECT_EQ(allNames(dir), (std::vector<std::string>{"202603.sch", "202604.sch"}));
    }
}

TEST(FileTransaction, TheNextStartFinishesAnInterruptedChangeItsWay)
{
    const IntentEntry march{"202603.sch", std::string("old march"), std::string("new march")};
    const IntentEntry april{"202604.sch", std::nullopt, std::string("new april")};
    const IntentEntry may{"202605.sch", std::string("old may"), std::nullopt};
    struct Case {
        const char* name;
        IntentDirection direction;
        std::vector<std::pair<std::string, std::string>> onDisk; // as the crash left them
        std::vector<std::pair<std::string, std::string>> expected;
    };
    const Case cases[] = {
        {"killed after the first file: the rest is written",
         IntentDirection::Apply,
         {{"202603.sch", "new march"}, {"202605.sch", "old may"}},
         {{"202603.sch", "new march"}, {"202604.sch", "new april"}}},
        {"killed before any file",
         IntentDirection::Apply,
         {{"202603.sch", "old march"}, {"202605.sch", "old may"}},
         {{"202603.sch", "new march"}, {"202604.sch", "new april"}}},
        {"killed while taking back a failed change",
         IntentDirection::Undo,
         {{"202603.sch", "new march"}, {"202604.sch", "new april"}, {"202605.sch", "old may"}},
         {{"202603.sch", "old march"}, {"202605.sch", "old may"}}},
        {"a file changed since by someone else is theirs",
         IntentDirection::Apply,
         {{"202603.sch", "edited march"}, {"202605.sch", "old may"}},
         {{"202603.sch", "edited march"}, {"202604.sch", "new april"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        for (const auto& [name, bytes] : c.onDisk)
            dir.write(name, bytes);
        leaveIntent(dir, ".kalendra-intent-00000000000000000001-1", IntentRecord{c.direction, {march, april, may}});
        RecoveryResult recovered = recoverInterruptedChanges(dir.path());
        EXPECT_TRUE(recovered.ok());
        EXPECT_EQ(recovered.finished, 1);
        std::vector<std::string> names;
        for (const auto& [name, bytes] : c.expected) {
            EXPECT_EQ(dir.read(name), bytes) << name;
            names.push_back(name);
        }
        EXPECT_EQ(allNames(dir), names);
    }
}

TEST(FileTransaction, DamagedAndLiveRecordsAreLeftAlone)
{
    TempFolder dir;
    dir.write("202603.sch", "old");
    IntentRecord record{IntentDirection::Apply, {{"202603.sch", std::string("old"), std::string("new")}}};
    std::string damaged = EncodeIntent(record);
    damaged[damaged.size() / 2] ^= 1;
    ASSERT_TRUE(saveBytes(dir.file(".kalendra-intent-00000000000000000001-1"), damaged));
    leaveIntent(dir, ".kalendra-intent-00000000000000000002-2", record);
    // Another process is still working through the second record.
    const int held = ::open(dir.file(".kalendra-intent-00000000000000000002-2").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    RecoveryResult recovered = recoverInterruptedChanges(dir.path());
    EXPECT_EQ(recovered.finished, 0);
    EXPECT_EQ(recovered.unfinished, 0);
    ASSERT_EQ(recovered.problems.size(), 1u);
    EXPECT_NE(recovered.problems[0].find("中断された保存の記録が壊れています。"), std::string::npos);
    EXPECT_EQ(dir.read("202603.sch"), "old");
    ::close(held);

    // Once its process is gone the second record is finished; the damaged one stays reported.
    recovered = recoverInterruptedChanges(dir.path());
    EXPECT_EQ(recovered.finished, 1);
    EXPECT_EQ(recovered.problems.size(), 1u);
    EXPECT_EQ(dir.read("202603.sch"), "new");
}

TEST(IntentRecord, RoundTripsAndRejectsAnythingNotWhole)
{
    const IntentRecord record{IntentDirection::Undo,
                              {{"a.sch", std::nullopt, std::string("x\r\n\0y", 5)},
                               {"b.sch", std::string("end 0\n"), std::nullopt},
                               {"c.sch", std::string(), std::string()}}};
    const std::string encoded = EncodeIntent(record);
    ASSERT_EQ(DecodeIntent(encoded), record);
    for (std::size_t cut = 0; cut < encoded.size(); ++cut)
        EXPECT_FALSE(DecodeIntent(encoded.substr(0, cut))) << cut;
    EXPECT_FALSE(DecodeIntent(encoded + "x"));
    IntentRecord unsafe{IntentDirection::Apply, {{"../escape", std::nullopt, std::string("x")}}};
    EXPECT_FALSE(DecodeIntent(EncodeIntent(unsafe)));
}

TEST(FileTransaction, AFailedDeletionUndoesAndAFailedRecordRemovalIsFinishedLater)
{
    struct Case {
        const char* name;
        int failingUnlink; // 1 the deleted data file, 2 the intent record at the end
        bool done;
    };
    const Case cases[] = {{"the deletion fails", 1, false}, {"the record stays", 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        dir.write("202603.sch", "old march\r\n");
        dir.write("202604.sch", "old april\r\n");
        kal::test::FaultyFileOps ops(kal::test::FileStep::Unlink, c.failingUnlink, EIO);
        const IoResult result = writeAllOrNothing(
            dir.path(),
            {{dir.file("202603.sch"), std::string("new march\r\n")}, {dir.file("202604.sch"), std::nullopt}}, ops);
        ASSERT_TRUE(ops.injected());
        EXPECT_EQ(result.ok, c.done) << result.reason;
        if (!c.done) {
            EXPECT_NE(result.reason.find(systemErrorText(EIO)), std::string::npos) << result.reason;
            EXPECT_EQ(dir.read("202603.sch"), "old march\r\n");
            EXPECT_EQ(dir.read("202604.sch"), "old april\r\n");
            EXPECT_EQ(allNames(dir), (std::vector<std::string>{"202603.sch", "202604.sch"}));
            continue;
        }
        // The change is made; the record left behind is removed by the lock's next holder, changing
        // nothing, and the next after finds nothing more to do.
        ASSERT_EQ(allNames(dir).size(), 2u);
        EXPECT_TRUE(isIntentRecordName(allNames(dir)[0])) << allNames(dir)[0];
        for (int holder = 0; holder < 2; ++holder)
            EXPECT_TRUE(lockFolder(dir.path()).ok());
        EXPECT_EQ(allNames(dir), (std::vector<std::string>{"202603.sch"}));
        EXPECT_EQ(dir.read(std::string(kFolderLockName)), "");
        EXPECT_EQ(dir.read("202603.sch"), "new march\r\n");
    }
}
