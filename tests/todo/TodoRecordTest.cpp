#include "todo/TodoRecord.h"
#include "platform/ByteText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::sj;

TEST(TodoRecord, FieldsOfWellFormedAndBrokenLines)
{
    const std::string open =
        "2026/05/141030" + std::string("2026/01/01") + text::padCut(sj("仕事"), 14) + "07" + sj("報告書");
    EXPECT_EQ(TodoDeadline(open), (Date{2026, 5, 14}));
    EXPECT_TRUE(TodoIsOpen(open));
    EXPECT_EQ(TodoCategory(open), text::padCut(sj("仕事"), 14));
    EXPECT_EQ(TodoTitle(open), sj("報告書"));
    EXPECT_EQ(TodoMemoNumber(open), 7);

    const std::string none = sj("期限日なし") + "1001" + "2026/01/01";
    EXPECT_FALSE(TodoDeadline(none));
    EXPECT_FALSE(TodoIsOpen(none)) << "any byte but 0 is done";
    EXPECT_FALSE(TodoDeadline("2026/02/30"));
    EXPECT_FALSE(TodoDeadline("2026-02-10"));
    EXPECT_FALSE(TodoIsOpen("2026/02/10"));
    EXPECT_EQ(TodoTitle("short"), "");
    EXPECT_EQ(TodoCategory("short"), "");
    EXPECT_EQ(TodoMemoNumber("short"), 0);
}

TEST(TodoRecord, ComposeWritesEveryFieldAtItsByte)
{
    TodoFields f;
    f.deadline = Date{2026, 12, 24};
    f.priority = 3;
    f.progress = 10;
    f.done = true;
    f.doneDate = Date{2026, 12, 8};
    f.category = sj("私用");
    f.memoNumber = 3;
    f.title = sj("年賀状を書く");
    const std::string line = ComposeTodo(f);
    EXPECT_EQ(line, "2026/12/243101" + std::string("2026/12/08") + sj("私用") + std::string(10, ' ') + "03" +
                        sj("年賀状を書く"));

    f.deadline.reset();
    f.done = false;
    f.progress = 0;
    f.memoNumber = 0;
    f.category = sj("とても長い分類の名前です");
    f.title.clear();
    EXPECT_EQ(ComposeTodo(f), sj("期限日なし") + "3000" + "2026/12/08" + sj("とても長い分類") + "00")
        << "a category is cut at 14 bytes";
    EXPECT_EQ(ParseTodo(ComposeTodo(f))->category, sj("とても長い分類"));
}

TEST(TodoRecord, ParseReadsBackWhatComposeWrote)
{
    TodoFields f;
    f.deadline = Date{2025, 1, 31};
    f.priority = 0;
    f.progress = 7;
    f.doneDate = Date{2024, 2, 29};
    f.category = text::padCut("Work", 14);
    f.memoNumber = 99;
    f.title = "a, \"quoted\" title";
    const std::optional<TodoFields> back = ParseTodo(ComposeTodo(f));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->deadline, f.deadline);
    EXPECT_EQ(back->priority, 0);
    EXPECT_EQ(back->progress, 7);
    EXPECT_FALSE(back->done);
    EXPECT_EQ(back->doneDate, f.doneDate);
    EXPECT_EQ(back->category, f.category);
    EXPECT_EQ(back->memoNumber, 99);
    EXPECT_EQ(back->title, f.title);
}

TEST(TodoRecord, LinesOffTheLayoutAreNoRecords)
{
    const std::string good = "2026/12/101050" + std::string("2026/12/08") + std::string(14, ' ') + "  " + "x";
    ASSERT_TRUE(IsTodoRecord(good));
    EXPECT_EQ(ParseTodo(good)->memoNumber, 0) << "two blanks: no memo key";
    const struct {
        const char* what;
        std::size_t at;
        std::string bytes;
    } breaks[] = {
        {"deadline not a date", 0, "2026/13/10"}, {"priority above 3", 10, "4"}, {"priority not a digit", 10, "x"},
        {"progress above 10", 11, "11"},          {"progress blank", 11, " 5"},  {"done date broken", 14, "2026/12/8 "},
        {"memo number broken", 38, "1x"},
    };
    for (const auto& b : breaks) {
        SCOPED_TRACE(b.what);
        std::string line = good;
        line.replace(b.at, b.bytes.size(), b.bytes);
        EXPECT_FALSE(IsTodoRecord(line));
    }
    EXPECT_FALSE(IsTodoRecord(good.substr(0, 39)));
    EXPECT_TRUE(IsTodoRecord(good.substr(0, 40))) << "an empty title is still an entry";
    EXPECT_FALSE(IsTodoRecord("D"));
}

TEST(TodoRecord, DoneStateChangesOnlyTheFlagAndTheDoneDate)
{
    const std::string open = "2026/12/101050" + std::string("2026/11/30") + std::string(14, ' ') + "04" + "x";
    const Date today{2026, 12, 8};
    EXPECT_EQ(TodoWithDone(open, true, today),
              "2026/12/101051" + std::string("2026/12/08") + std::string(14, ' ') + "04" + "x");
    const std::string done = TodoWithDone(open, true, today);
    EXPECT_EQ(TodoWithDone(done, false, Date{2030, 1, 1}),
              "2026/12/101050" + std::string("2026/12/08") + std::string(14, ' ') + "04" + "x")
        << "reopening keeps the stored done date";
}
