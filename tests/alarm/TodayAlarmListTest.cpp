// Today's alarm lines follow today's month file, read again only when it changed.
#include "alarm/TodayAlarmList.h"
#include "schedule/ScheduleRecord.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kal;
using kal::test::crlf;
using kal::test::scheduleLine;
using kal::test::TempFolder;

namespace {

const Date kToday{2026, 12, 8};

} // namespace

TEST(TodayAlarmList, TodaysFlaggedLinesInFileOrder)
{
    TempFolder dir;
    const std::vector<std::string> month{
        scheduleLine(7, "09:00", "yesterday", true, true), scheduleLine(8, "09:00", "sound", true, false),
        scheduleLine(8, "10:00", "quiet", false, false),   "garbage",
        scheduleLine(8, "11:00", "message", false, true),  scheduleLine(9, "09:00", "tomorrow", true, true)};
    dir.write("202612.sch", crlf(month));
    TodayAlarmList list;
    EXPECT_EQ(list.refresh(dir.path(), kToday), (std::vector<std::string>{month[1], month[4]}));
    EXPECT_EQ(list.refresh(dir.path(), Date{2026, 12, 9}), std::vector<std::string>{month[5]});
    EXPECT_TRUE(list.refresh(dir.path(), Date{2027, 1, 8}).empty()) << "no file for January";
}

TEST(TodayAlarmList, FollowsEveryChangeOfTheFileEvenWithinOneSecond)
{
    TempFolder dir;
    const std::string path = MonthFilePath(dir.path(), 2026, 12);
    TodayAlarmList list;
    EXPECT_TRUE(list.refresh(dir.path(), kToday).empty());
    ASSERT_TRUE(AddSchedule(path, scheduleLine(8, "14:30", "added", true, true)).ok());
    ASSERT_EQ(list.refresh(dir.path(), kToday).size(), 1u);
    ASSERT_TRUE(AddSchedule(path, scheduleLine(8, "15:30", "another", true, true)).ok());
    EXPECT_EQ(list.refresh(dir.path(), kToday).size(), 2u);
    ASSERT_TRUE(
        DeleteSchedule(ScheduleRef{path, 0, scheduleLine(8, "14:30", "added", true, true)}, store::Follower::none())
            .ok());
    ASSERT_EQ(list.refresh(dir.path(), kToday).size(), 1u);
    EXPECT_EQ(RecTitle(list.lines()[0]), "another");
    ASSERT_TRUE(files::deleteFile(path));
    EXPECT_TRUE(list.refresh(dir.path(), kToday).empty());
}

TEST(TodayAlarmList, AnUnchangedFileIsNotReadAgain)
{
    TempFolder dir;
    const std::string before = crlf({scheduleLine(8, "14:30", "first", true, true)});
    dir.write("202612.sch", before);
    const std::filesystem::path path = dir.file("202612.sch");
    const auto written = std::filesystem::last_write_time(path);
    TodayAlarmList list;
    ASSERT_EQ(RecTitle(list.refresh(dir.path(), kToday).at(0)), "first");

    // Same inode, size and modification time: the list keeps what it read.
    std::string after = before;
    after.replace(after.find("first"), 5, "other");
    {
        std::FILE* f = std::fopen(path.c_str(), "r+b");
        ASSERT_TRUE(f);
        std::fwrite(after.data(), 1, after.size(), f);
        std::fclose(f);
    }
    std::filesystem::last_write_time(path, written);
    EXPECT_EQ(RecTitle(list.refresh(dir.path(), kToday).at(0)), "first");

    std::filesystem::last_write_time(path, written + std::chrono::nanoseconds(1));
    EXPECT_EQ(RecTitle(list.refresh(dir.path(), kToday).at(0)), "other");
}

TEST(TodayAlarmList, ADifferentDataFolderIsReadAfresh)
{
    TempFolder first, second;
    first.write("202612.sch", crlf({scheduleLine(8, "14:30", "first", true, true)}));
    second.write("202612.sch", crlf({scheduleLine(8, "14:30", "second", true, true)}));
    TodayAlarmList list;
    EXPECT_EQ(RecTitle(list.refresh(first.path(), kToday).at(0)), "first");
    EXPECT_EQ(RecTitle(list.refresh(second.path(), kToday).at(0)), "second");
}
