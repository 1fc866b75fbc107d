#include "schedule/ScheduleRecord.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

ScheduleFields meeting()
{
    ScheduleFields f;
    f.day = 9;
    f.start = "09:00";
    f.end = "10:00";
    f.sound = true;
    f.message = true;
    f.title = sj("会議");
    return f;
}

} // namespace

TEST(ScheduleRecord, ComposesTheFixedColumns)
{
    ScheduleFields f = meeting();
    std::string line = ComposeSchedule(f);
    EXPECT_EQ(line, "0909:0010:00" + std::string(14, ' ') + "0011" + sj("会議"));
    EXPECT_EQ(line.size(), 34u);

    f.place = sj("本社");
    std::string withPlace = ComposeSchedule(f);
    EXPECT_EQ(withPlace.size(), 74u);
    EXPECT_EQ(text::field(withPlace, 31, 40), text::padCut(sj("会議"), 40));
    EXPECT_EQ(RecPlace(withPlace), sj("本社"));

    ScheduleFields styles;
    styles.day = 31;
    styles.bold = styles.italic = true;
    styles.strikeout = true;
    styles.category = sj("仕事");
    styles.title = "x";
    std::string styled = ComposeSchedule(styles);
    EXPECT_EQ(styled.substr(0, 2), "31");
    EXPECT_EQ(RecStart(styled), "     ");
    EXPECT_EQ(RecCategory(styled), text::padCut(sj("仕事"), 14));
    EXPECT_EQ(RecBoldItalic(styled), '3');
    EXPECT_EQ(RecUnderlineStrike(styled), '2');
    EXPECT_FALSE(RecSound(styled));
}

TEST(ScheduleRecord, FortyByteTitleRunsStraightIntoThePlace)
{
    ScheduleFields f = meeting();
    f.title = std::string(40, 'T');
    f.place = "P";
    std::string line = ComposeSchedule(f);
    EXPECT_EQ(line.substr(30, 41), std::string(40, 'T') + "P");
    EXPECT_EQ(RecPlace(line), "P");
    // A double-byte character across the 40th byte is left out and its place kept blank.
    f.title = std::string(39, 'T') + sj("漢");
    std::string cut = ComposeSchedule(f);
    EXPECT_EQ(cut.substr(30, 41), std::string(39, 'T') + " P");
    EXPECT_EQ(RecTitle(cut), std::string(39, 'T'));
}

TEST(ScheduleRecord, ReadsFieldsBackAndToleratesShortLines)
{
    ScheduleFields f = meeting();
    f.underline = true;
    f.italic = true;
    f.place = sj("会議室Ａ");
    ScheduleFields back = ReadSchedule(ComposeSchedule(f));
    EXPECT_EQ(back.day, 9);
    EXPECT_EQ(back.start, "09:00");
    EXPECT_TRUE(back.italic);
    EXPECT_FALSE(back.bold);
    EXPECT_TRUE(back.underline);
    EXPECT_FALSE(back.strikeout);
    EXPECT_EQ(back.title, sj("会議"));
    EXPECT_EQ(back.place, sj("会議室Ａ"));

    EXPECT_EQ(RecDay("05"), 5);
    EXPECT_EQ(RecDay("5 "), 0);
    EXPECT_EQ(RecDay("00abc"), 0);
    EXPECT_EQ(RecDay("32abc"), 0);
    EXPECT_EQ(RecStart("0509:"), "09:");
    EXPECT_EQ(RecTitle("05"), "");
    EXPECT_FALSE(RecSound("05"));
}

TEST(ScheduleRecord, MonthFileNames)
{
    EXPECT_EQ(MonthFileName(2004, 3), "200403.sch");
    EXPECT_EQ(MonthFilePath("/d", 2004, 12), "/d/200412.sch");
    EXPECT_EQ(MonthOfFile("/d/200403.sch"), (std::make_pair(2004, 3)));
    EXPECT_FALSE(MonthOfFile("/d/2004.sch"));
    EXPECT_FALSE(MonthOfFile("/d/200413.sch"));
    EXPECT_FALSE(MonthOfFile("/d/2004 3.sch"));
    EXPECT_FALSE(MonthOfFile("/d/200403 (1).sch"));
}

TEST(MonthFiles, AddingSortsByDayThenStartTimeUntimedFirst)
{
    TempFolder dir;
    std::string path = dir.file("202605.sch");
    ScheduleFields late = meeting();
    late.day = 10;
    late.start = "00:00";
    ScheduleFields untimed = meeting();
    untimed.day = 10;
    untimed.start = "";
    untimed.end = "";
    ScheduleFields earlier = meeting();
    earlier.day = 2;
    ASSERT_TRUE(AddSchedule(path, ComposeSchedule(late)).ok());
    ASSERT_TRUE(AddSchedule(path, ComposeSchedule(untimed)).ok());
    ASSERT_TRUE(AddSchedule(path, ComposeSchedule(earlier)).ok());
    EXPECT_EQ(dir.read("202605.sch"),
              crlf({ComposeSchedule(earlier), ComposeSchedule(untimed), ComposeSchedule(late)}));
}

TEST(MonthFiles, IdenticalRecordsAreSeparateAndGoOneAtATime)
{
    TempFolder dir;
    std::string path = dir.file("202605.sch");
    std::string line = ComposeSchedule(meeting());
    ASSERT_TRUE(AddScheduleLines(path, {line, line}).ok());
    EXPECT_EQ(LoadMonthFile(path).size(), 2u);
    ASSERT_TRUE(DeleteSchedule(ScheduleRef{path, 1, line}, store::Follower::none()).ok());
    EXPECT_EQ(LoadMonthFile(path), std::vector<std::string>{line});
}

TEST(MonthFiles, ChangedLineIsNeverOverwritten)
{
    TempFolder dir;
    std::string path = dir.file("202605.sch");
    ScheduleFields a = meeting(), b = meeting();
    b.title = "other";
    dir.write("202605.sch", crlf({ComposeSchedule(a), ComposeSchedule(b)}));
    std::string before = dir.read("202605.sch");
    // Someone else sorted or edited the file: index 0 no longer holds what the reader saw.
    store::EditResult result = DeleteSchedule(ScheduleRef{path, 0, ComposeSchedule(b)}, store::Follower::none());
    EXPECT_EQ(result.status, store::EditStatus::Changed);
    EXPECT_EQ(dir.read("202605.sch"), before);
}

TEST(MonthFiles, ARecordIsFoundMovedOrGone)
{
    TempFolder dir;
    const std::string path = dir.file("202605.sch");
    ScheduleFields other = meeting();
    other.title = "other";
    const std::string line = ComposeSchedule(meeting()), otherLine = ComposeSchedule(other);
    struct Case {
        const char* what;
        std::optional<std::vector<std::string>> file; // nothing: no file
        RecordCheck expected;
    };
    const Case cases[] = {
        {"at its place", std::vector<std::string>{otherLine, line}, RecordCheck::Found},
        {"moved by a rewrite", std::vector<std::string>{line, otherLine}, RecordCheck::Changed},
        {"deleted elsewhere", std::vector<std::string>{otherLine}, RecordCheck::Gone},
        {"file removed", std::nullopt, RecordCheck::Gone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        files::deleteFile(path);
        if (c.file)
            dir.write("202605.sch", crlf(*c.file));
        EXPECT_EQ(CheckSchedule(ScheduleRef{path, 1, line}), c.expected);
    }
}

TEST(MonthFiles, ACorrectionFindsItsRecordByTextOrRemovesNothing)
{
    TempFolder dir;
    const std::string path = dir.file("202605.sch");
    const std::string a = ComposeSchedule(meeting());
    ScheduleFields other = meeting();
    other.title = "other";
    const std::string b = ComposeSchedule(other);
    struct Case {
        const char* name;
        int index;
        std::string seen;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"at its index", 1, b, {a, "x"}},
        {"moved to another index", 0, b, {a, "x"}},
        {"gone: nothing removed, the new line still written", 1, ComposeSchedule(meeting()) + "gone", {a, b, "x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("202605.sch", crlf({a, b}));
        ASSERT_TRUE(CorrectSchedule(ScheduleRef{path, c.index, c.seen}, path, "x", store::Follower::none()).ok());
        std::vector<std::string> expected = c.after;
        text::sortNoCase(expected);
        EXPECT_EQ(LoadMonthFile(path), expected);
    }
}

TEST(MonthFiles, CorrectionMovesARecordToAnotherMonthAndKeepsMalformedLines)
{
    TempFolder dir;
    std::string may = dir.file("202605.sch");
    std::string june = dir.file("202606.sch");
    std::string record = ComposeSchedule(meeting());
    dir.write("202605.sch", crlf({"garbage", record, "99 also not a record"}));
    ScheduleFields moved = meeting();
    moved.day = 1;
    ASSERT_TRUE(
        CorrectSchedule(ScheduleRef{may, 1, record}, june, ComposeSchedule(moved), store::Follower::none()).ok());
    EXPECT_EQ(dir.read("202605.sch"), crlf({"garbage", "99 also not a record"}));
    EXPECT_EQ(dir.read("202606.sch"), crlf({ComposeSchedule(moved)}));

    // Within one file the result is the whole file re-sorted.
    ScheduleFields later = moved;
    later.day = 20;
    std::string juneLine = ComposeSchedule(moved);
    ASSERT_TRUE(AddSchedule(june, ComposeSchedule(meeting())).ok());
    ASSERT_TRUE(
        CorrectSchedule(ScheduleRef{june, 0, juneLine}, june, ComposeSchedule(later), store::Follower::none()).ok());
    EXPECT_EQ(dir.read("202606.sch"), crlf({ComposeSchedule(meeting()), ComposeSchedule(later)}));
}

TEST(MonthFiles, WriteFailureIsReportedWithTheReason)
{
    TempFolder dir;
    store::EditResult result = AddSchedule(dir.file("missing/202605.sch"), "01");
    EXPECT_EQ(result.status, store::EditStatus::WriteFailed);
    EXPECT_FALSE(result.reason.empty());
}

TEST(MonthFiles, AFileThatCannotBeReadIsReportedAndLeftAlone)
{
    TempFolder dir;
    files::createFolders(dir.file("202605.sch"));
    store::EditResult deleted = DeleteSchedule(ScheduleRef{dir.file("202605.sch"), 0, "x"}, store::Follower::none());
    EXPECT_EQ(deleted.status, store::EditStatus::WriteFailed);
    EXPECT_EQ(deleted.reason.rfind("「" + dir.file("202605.sch") + "」を読み込めません。\r\n", 0), 0u);
    EXPECT_EQ(CorrectSchedule(ScheduleRef{dir.file("202605.sch"), 0, "x"}, dir.file("202606.sch"), "y",
                              store::Follower::none())
                  .status,
              store::EditStatus::WriteFailed);
    EXPECT_FALSE(dir.exists("202606.sch"));
    EXPECT_EQ(AddSchedule(dir.file("202605.sch"), "01").status, store::EditStatus::WriteFailed);
}
