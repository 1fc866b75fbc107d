#include "schedule/PickList.h"
#include "schedule/ScheduleRecord.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

using Lines = std::vector<std::string>;

std::string record(int day, const std::string& title, const std::string& place = {})
{
    ScheduleFields f;
    f.day = day;
    f.title = title;
    f.place = place;
    return ComposeSchedule(f);
}

} // namespace

TEST(PickList, EachTypeHasItsFileCaptionPromptAndLimit)
{
    struct Case {
        PickListType type;
        std::string file, caption, prompt;
        int limit;
    };
    const Case cases[] = {
        {PickListType::SignalTime, "SigTime.tbl", "時報時刻の設定", "追加する時刻(HH:MM)：", 5},
        {PickListType::StartTime, "SchFrom.tbl", "開始時刻の設定", "追加する時刻(HH:MM)：", 5},
        {PickListType::EndTime, "SchTo.tbl", "終了時刻の設定", "追加する時刻(HH:MM)：", 5},
        {PickListType::Title, "SchTitle.tbl", "スケジュール内容の設定", "追加するスケジュール内容：", 40},
        {PickListType::Place, "SchPlace.tbl", "場所の設定", "追加する場所：", 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(PickListFileName(c.type), c.file);
        EXPECT_EQ(PickListCaption(c.type), c.caption);
        EXPECT_EQ(PickListPrompt(c.type), c.prompt);
        EXPECT_EQ(PickListEntryLimit(c.type), c.limit);
        EXPECT_EQ(IsTimeList(c.type), c.limit == 5);
        EXPECT_EQ(PickListPath("/prog/", c.type), "/prog/" + c.file);
    }
}

TEST(PickList, AddKeepsTextOrderWithoutDuplicates)
{
    PickList list;
    EXPECT_EQ(list.add("09:00"), 0);
    EXPECT_EQ(list.add("09:00"), 0);
    EXPECT_EQ(list.entries(), Lines{"09:00"});

    PickList times;
    times.add("9:30");
    EXPECT_EQ(times.add("10:00"), 0);
    EXPECT_EQ(times.entries(), (Lines{"10:00", "9:30"}));

    PickList texts;
    texts.add("meeting");
    EXPECT_EQ(texts.add("MEETING"), 0);
    EXPECT_EQ(texts.add("  "), -1);
    EXPECT_EQ(texts.add(""), -1);
    EXPECT_EQ(texts.add(" lunch "), 0); // stored as typed; the blank sorts first
    EXPECT_EQ(texts.add(sj("会議")), 2);
    EXPECT_EQ(texts.entries(), (Lines{" lunch ", "meeting", sj("会議")}));

    texts.remove(1);
    texts.remove(7);
    EXPECT_EQ(texts.entries(), (Lines{" lunch ", sj("会議")}));
}

TEST(PickList, LoadSortsDropsDuplicatesAndSaveWritesTheList)
{
    TempFolder folder;
    EXPECT_TRUE(PickList::Load(folder.file("SchFrom.tbl")).entries().empty());

    folder.write("SchTitle.tbl", crlf({"b", "Alpha", "B", "alpha", "c"}));
    PickList list = PickList::Load(folder.file("SchTitle.tbl"));
    EXPECT_EQ(list.entries(), (Lines{"Alpha", "b", "c"}));
    list.add("a0");
    ASSERT_TRUE(list.save(folder.file("SchTitle.tbl")));
    EXPECT_EQ(folder.read("SchTitle.tbl"), "a0\r\nAlpha\r\nb\r\nc\r\n");

    ASSERT_TRUE(PickList().save(folder.file("SchTo.tbl")));
    EXPECT_TRUE(folder.exists("SchTo.tbl"));
    EXPECT_EQ(folder.read("SchTo.tbl"), "");

    files::IoResult failed = list.save(folder.file("missing/SchTitle.tbl"));
    EXPECT_FALSE(failed);
    EXPECT_FALSE(failed.reason.empty());
}

TEST(PickList, TimeRowsAreTheBuiltInOnesOnlyWithoutAFile)
{
    TempFolder folder;
    Lines defaults = TimeRows(folder.path(), PickListType::StartTime);
    ASSERT_EQ(defaults.size(), 27u);
    EXPECT_EQ(defaults.front(), "");
    EXPECT_EQ(defaults[1], "09:00");
    EXPECT_EQ(defaults[2], "09:30");
    EXPECT_EQ(defaults[23], "20:00");
    EXPECT_EQ(defaults[24], "21:00");
    EXPECT_EQ(defaults.back(), "23:00");

    folder.write("SchTo.tbl", "");
    EXPECT_TRUE(TimeRows(folder.path(), PickListType::EndTime).empty());
    folder.write("SchFrom.tbl", crlf({"08:15 morning call", "9:30", sj("朝礼会")}));
    EXPECT_EQ(TimeRows(folder.path(), PickListType::StartTime), (Lines{"08:15", "9:30", sj("朝礼")}));
}

TEST(PickList, TextRowsShowAtMostFortyBytes)
{
    TempFolder folder;
    EXPECT_TRUE(TextRows(folder.path(), PickListType::Title).empty());
    const std::string forty(40, 'x');
    // Byte 40 would be the first half of a double-byte character: the row stops before it.
    const std::string split = std::string(39, 'y') + sj("場所");
    folder.write("SchPlace.tbl", crlf({forty + "tail", split, "short"}));
    EXPECT_EQ(TextRows(folder.path(), PickListType::Place), (Lines{forty, std::string(39, 'y'), "short"}));
    EXPECT_EQ(PickListRowText(forty + "tail"), forty);
}

TEST(PickList, RecentTitlesAndPlacesAreSortedOnceEach)
{
    const Lines lines = {
        record(3, "Visit", sj("本社")),
        record(1, "visit"),
        record(2, sj("会議") + "  "),
        "xx not a record",
        record(4, sj("会議"), "Room " + std::string(45, 'r')),
        record(5, "Alpha", sj("本社")),
    };
    EXPECT_EQ(RecentTitles(lines), (Lines{"Alpha", "Visit", sj("会議")}));
    EXPECT_EQ(RecentPlaces(lines), (Lines{"Room " + std::string(35, 'r'), sj("本社")}));
    EXPECT_TRUE(RecentTitles({}).empty());
}

TEST(PickList, AppendMissingRowsSkipsRowsAlreadyThere)
{
    Lines rows = {"Meeting", "Lunch"};
    AppendMissingRows(rows, {"Alpha", "lunch", "Zeta"});
    EXPECT_EQ(rows, (Lines{"Meeting", "Lunch", "Alpha", "Zeta"}));
}

TEST(PickList, TimeOfDayIsZeroPaddedHoursAndMinutes)
{
    const std::pair<const char*, bool> cases[] = {
        {"00:00", true},  {"09:05", true},   {"23:59", true},  {"24:00", false}, {"12:60", false},
        {"9:00 ", false}, {"9:00", false},   {"0900 ", false}, {"09.00", false}, {"ab:cd", false},
        {"", false},      {"09:000", false}, {"19:30", true},
    };
    for (const auto& [text, valid] : cases)
        EXPECT_EQ(IsTimeOfDay(text), valid) << '"' << text << '"';
}
