// Deleting listed rows: the questions, one and many rows across month files, the check of every
// row's text before anything is written, memos, and the write of several month files.
#include "lists/ListEdits.h"
#include "lists/Search.h"
#include "schedule/ScheduleRecord.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kal;
using kal::test::crlf;
using kal::test::scheduleLine;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

std::vector<const ListRow*> pick(const ListRows& rows, std::initializer_list<std::size_t> indexes)
{
    std::vector<const ListRow*> picked;
    for (std::size_t i : indexes)
        picked.push_back(&rows.rows.at(i));
    return picked;
}

} // namespace

TEST(ListEdits, DeletingRowsOfMarchAndAprilRewritesEachFileOnce)
{
    TempFolder data;
    const std::vector<std::string> march = {scheduleLine(1, "", "m1"), scheduleLine(2, "", "m2"), "Dangling note",
                                            scheduleLine(3, "", "m3")};
    const std::vector<std::string> april = {scheduleLine(1, "", "a1"), scheduleLine(1, "", "a1")};
    data.write("202403.sch", crlf(march));
    data.write("202404.sch", crlf(april));
    const ListRows rows = ListSchEdit(data.path(), ListScope::All, {2024, 3, 1});
    ASSERT_EQ(rows.rows.size(), 5u);
    const auto selected = pick(rows, {0, 2, 4});
    EXPECT_EQ(DeleteQuestion(rows, selected), "3件のスケジュールを削除します。\r\nよろしいですか？");
    EXPECT_STREQ(DeleteCaption(ListMode::Schedules), "スケジュールの削除");

    ASSERT_TRUE(DeleteListRows(rows, selected, store::Follower::none()).ok());
    // Exactly the three lines: the second of two identical April records, and no line that
    // starts with "D".
    EXPECT_EQ(data.read("202403.sch"), crlf({scheduleLine(2, "", "m2"), "Dangling note"}));
    EXPECT_EQ(data.read("202404.sch"), crlf({scheduleLine(1, "", "a1")}));
}

TEST(ListEdits, AChangedLineIsRefusedAndNothingIsWritten)
{
    TempFolder data;
    data.write("202403.sch", crlf({scheduleLine(1, "", "m1"), scheduleLine(2, "", "m2")}));
    data.write("202404.sch", crlf({scheduleLine(1, "", "a1")}));
    const ListRows rows = ListSchEdit(data.path(), ListScope::All, {2024, 3, 1});
    // Someone else corrected April's record meanwhile.
    data.write("202404.sch", crlf({scheduleLine(1, "", "a1 corrected")}));
    EXPECT_EQ(DeleteListRows(rows, pick(rows, {0, 2}), store::Follower::none()).status, store::EditStatus::Changed);
    EXPECT_EQ(data.read("202403.sch"), crlf({scheduleLine(1, "", "m1"), scheduleLine(2, "", "m2")}));
    EXPECT_EQ(data.read("202404.sch"), crlf({scheduleLine(1, "", "a1 corrected")}));
}

TEST(ListEdits, OneRowQuestions)
{
    ScheduleFields f;
    f.day = 1;
    f.title = sj("とても長い題名の予定です");
    const ListRows schedules{ListMode::Schedules, "/d/", {}, {ListRow{{2024, 3, 1}, 0, ComposeSchedule(f)}}};
    EXPECT_EQ(DeleteQuestion(schedules, pick(schedules, {0})),
              "「とても長い題名の予定」を削除します。\r\nよろしいですか？")
        << "the first 20 bytes of the title";
    const ListRows holidays{ListMode::Holidays, {}, "/d/Holiday.dat", {ListRow{{}, 0, " 1 1        000" + sj("元日")}}};
    EXPECT_EQ(DeleteQuestion(holidays, pick(holidays, {0})), "「元日」を削除します。\r\nよろしいですか？");
    const ListRows memos{ListMode::Memos, "/m/", {}, {ListRow{{2024, 3, 5}, 0, "a"}, ListRow{{2024, 3, 6}, 0, "b"}}};
    EXPECT_EQ(DeleteQuestion(memos, pick(memos, {0})), "「2024年03月05日」のメモを削除します。\r\nよろしいですか？");
    EXPECT_EQ(DeleteQuestion(memos, pick(memos, {0, 1})), "2件削除します。\r\nよろしいですか？");
}

TEST(ListEdits, MemosAreDeletedWithTheirFilesUnlessChanged)
{
    TempFolder memo;
    memo.write("20240305.mem", crlf({"a", "b"}));
    memo.write("20240306.mem", crlf({"c"}));
    const ListRows rows = MemoEdit(memo.path(), ListScope::Month, {2024, 3, 1});
    ASSERT_EQ(rows.rows.size(), 2u);
    memo.write("20240306.mem", crlf({"c", "d"}));
    EXPECT_EQ(DeleteListRows(rows, pick(rows, {0, 1}), store::Follower::none()).status, store::EditStatus::Changed);
    EXPECT_TRUE(memo.exists("20240305.mem"));
    ASSERT_TRUE(DeleteListRows(rows, pick(rows, {0}), store::Follower::none()).ok());
    EXPECT_FALSE(memo.exists("20240305.mem"));
    EXPECT_TRUE(memo.exists("20240306.mem"));
}
