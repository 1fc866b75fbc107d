// What the ToDo lists show: columns, cells, icons by days left, captions and the column sort.
#include "todo/TodoList.h"
#include "settings/AppSettings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::sj;

namespace {

const Date kToday{2026, 12, 8};

std::string entry(const std::string& deadline, const std::string& fixed, const std::string& title,
                  const std::string& doneDate = "2026/12/01")
{
    return deadline + fixed + doneDate + std::string(14, ' ') + "00" + title;
}

// The ToDo settings of a file holding `line` in its [ToDo] section.
AppSettings todoSettings(const std::string& line)
{
    AppSettings s;
    EXPECT_TRUE(readSettings(IniFile("/p/Kalendra.ini", {"[ToDo]", line}), "/p/", s).ok);
    return s;
}

const std::string& cell(const TodoRow& row, TodoItem item)
{
    return row.cells[static_cast<std::size_t>(item)];
}

std::vector<std::string> captions(const std::vector<TodoColumn>& columns)
{
    std::vector<std::string> out;
    for (const TodoColumn& c : columns)
        out.push_back(c.caption);
    return out;
}

} // namespace

TEST(TodoList, ColumnsFollowTheFlagsWithTheirFixedRules)
{
    const TodoItemFlags defaults({1, 0, 1, 1, 0, 0, 0});
    EXPECT_EQ(captions(TodoColumns(TodoList::Open, defaults, true, 48, 144)),
              (std::vector<std::string>{"状況", "期限日", "優先度", "件名"}));
    const TodoItemFlags all({1, 1, 1, 1, 1, 1, 1});
    EXPECT_EQ(captions(TodoColumns(TodoList::Open, all, false, 48, 144)),
              (std::vector<std::string>{"", "期限日", "残日数", "優先度", "件名", "分類", "進捗"}))
        << "the open list never shows 処理日";
    EXPECT_EQ(captions(TodoColumns(TodoList::Done, all, true, 48, 144)),
              (std::vector<std::string>{"完", "期限日", "優先度", "件名", "分類", "進捗", "処理日"}))
        << "the done list never shows 残日数";
    const TodoItemFlags none;
    EXPECT_EQ(captions(TodoColumns(TodoList::Done, none, true, 48, 144)), (std::vector<std::string>{"完", "件名"}))
        << "件名 is always shown";

    const std::vector<TodoColumn> open = TodoColumns(TodoList::Open, all, true, 30, 200);
    EXPECT_EQ(open[0].width, 38);
    EXPECT_EQ(TodoColumns(TodoList::Open, all, false, 30, 200)[0].width, 20);
    EXPECT_EQ(TodoColumns(TodoList::Done, all, false, 30, 200)[0].width, 24);
    EXPECT_EQ(open[1].width, 60);
    EXPECT_EQ(open[2].align, ColumnAlign::Right);
    EXPECT_EQ(open[3].width, 30) << "saved priority width";
    EXPECT_EQ(open[3].align, ColumnAlign::Centre);
    EXPECT_EQ(open[4].width, 200) << "saved title width";
    EXPECT_EQ(open[6].align, ColumnAlign::Right);
}

TEST(TodoList, DaysLeftAndIconsAroundTheWarningTerm)
{
    const struct {
        const char* deadline;
        const char* daysLeft;
        TodoIcon icon;
    } cases[] = {
        {"2026/12/05", "-3", TodoIcon::Overdue}, {"2026/12/08", "0", TodoIcon::DueToday},
        {"2026/12/09", "1", TodoIcon::Warning},  {"2026/12/11", "3", TodoIcon::Warning},
        {"2026/12/12", "4", TodoIcon::Normal},   {"2027/01/08", "31", TodoIcon::Normal},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deadline);
        const TodoRows rows = BuildTodoRows("ToDo.dat", {entry(c.deadline, "1050", "x")}, kToday, 3);
        ASSERT_EQ(rows.open.size(), 1u);
        EXPECT_EQ(cell(rows.open[0], TodoItem::DaysLeft), c.daysLeft);
        EXPECT_EQ(rows.open[0].status, c.icon);
    }
}

TEST(TodoList, CellsOfOpenAndDoneEntries)
{
    const std::vector<std::string> lines = {
        entry(sj("期限日なし"), "3000", sj("宿題")),
        "broken",
        entry("2027/01/15", "0101", "done one", "2026/12/07"),
        entry("2026/12/20", "2050", "open one"),
    };
    const TodoRows rows = BuildTodoRows("ToDo.dat", lines, kToday, 3);
    ASSERT_EQ(rows.open.size(), 2u);
    ASSERT_EQ(rows.done.size(), 1u);

    const TodoRow& none = rows.open[0];
    EXPECT_EQ(none.ref.index, 0);
    EXPECT_EQ(none.ref.line, lines[0]);
    EXPECT_EQ(cell(none, TodoItem::Deadline), sj("なし"));
    EXPECT_EQ(cell(none, TodoItem::DaysLeft), "");
    EXPECT_EQ(none.status, TodoIcon::Normal);
    EXPECT_EQ(cell(none, TodoItem::Priority), sj("Ｄ"));
    EXPECT_EQ(cell(none, TodoItem::Title), sj("宿題"));
    EXPECT_EQ(cell(none, TodoItem::Progress), "  0%");
    EXPECT_EQ(cell(none, TodoItem::Category), std::string(14, ' '));

    const TodoRow& done = rows.done[0];
    EXPECT_EQ(done.ref.index, 2) << "rows keep their line index past an unreadable line";
    EXPECT_EQ(cell(done, TodoItem::Deadline), "27/01/15");
    EXPECT_EQ(cell(done, TodoItem::Priority), sj("Ａ"));
    EXPECT_EQ(cell(done, TodoItem::Progress), "100%");
    EXPECT_EQ(cell(done, TodoItem::DoneDate), "26/12/07");

    EXPECT_EQ(cell(rows.open[1], TodoItem::Progress), " 50%");
    EXPECT_EQ(cell(rows.open[1], TodoItem::Priority), sj("Ｃ"));
}

TEST(TodoList, TabCaptionsPadTheCountToTwoPlaces)
{
    EXPECT_EQ(TodoTabCaption(TodoList::Open, 5), "ToDo 未処理 [ 5件]");
    EXPECT_EQ(TodoTabCaption(TodoList::Done, 0), "ToDo 処理済 [ 0件]");
    EXPECT_EQ(TodoTabCaption(TodoList::Open, 12), "ToDo 未処理 [12件]");
    EXPECT_EQ(TodoTabCaption(TodoList::Done, 123), "ToDo 処理済 [123件]");
}

TEST(TodoList, SortByTextOrDaysLeftAsANumber)
{
    const std::vector<std::string> lines = {
        entry("2026/12/20", "1000", "b"),
        entry("2026/12/05", "1000", "c"),
        entry(sj("期限日なし"), "1000", "a"),
        entry("2026/12/13", "1000", "b (two)"),
    };
    const TodoRows rows = BuildTodoRows("ToDo.dat", lines, kToday, 3);
    const test::ByteCollation bytes;
    EXPECT_EQ(TodoSortOrder(rows.open, TodoItem::Title, -1, bytes), (std::vector<std::size_t>{1, 3, 0, 2}));
    EXPECT_EQ(TodoSortOrder(rows.open, TodoItem::Title, 1, bytes), (std::vector<std::size_t>{2, 0, 3, 1}));
    // 12, -3, (none), 5 as numbers: -3, 5, 12, then the entry without deadline.
    EXPECT_EQ(TodoSortOrder(rows.open, TodoItem::DaysLeft, 1, bytes), (std::vector<std::size_t>{1, 3, 0, 2}));
    EXPECT_EQ(TodoSortOrder(rows.open, TodoItem::DaysLeft, -1, bytes), (std::vector<std::size_t>{2, 0, 3, 1}));
    EXPECT_EQ(TodoSortOrder(rows.open, TodoItem::Progress, 1, bytes), (std::vector<std::size_t>{0, 1, 2, 3}))
        << "equal cells keep their order";
}

TEST(TodoList, KeysTellIdenticalLinesApart)
{
    const std::string same = entry("2026/12/20", "1000", "same");
    const TodoRows rows = BuildTodoRows("ToDo.dat", {same, entry("2026/12/21", "1000", "x"), same}, kToday, 3);
    const std::vector<TodoKey> keys = TodoKeys(rows.open);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].occurrence, 0);
    EXPECT_EQ(keys[2].occurrence, 1);
    EXPECT_TRUE(keys[0] < keys[2]);
    EXPECT_FALSE(keys[2] < keys[0]);
}

TEST(TodoList, EachItemFlagAloneAddsItsOwnColumnToEachList)
{
    const char* const cases[][3] = {
        {"1000000", "|期限日|件名|", "完|期限日|件名|"}, {"0100000", "|残日数|件名|", "完|件名|"},
        {"0010000", "|優先度|件名|", "完|優先度|件名|"}, {"0001000", "|件名|", "完|件名|"},
        {"0000100", "|件名|分類|", "完|件名|分類|"},     {"0000010", "|件名|進捗|", "完|件名|進捗|"},
        {"0000001", "|件名|", "完|件名|処理日|"}};
    for (const auto& c : cases) {
        const AppSettings open = todoSettings(std::string("TNoItem=") + c[0]);
        const AppSettings done = todoSettings(std::string("TOkItem=") + c[0]);
        std::string openCaptions, doneCaptions;
        for (const std::string& caption : captions(TodoColumns(TodoList::Open, open.tNoItem, false, 48, 144)))
            openCaptions += caption + "|";
        for (const std::string& caption : captions(TodoColumns(TodoList::Done, done.tOkItem, false, 48, 144)))
            doneCaptions += caption + "|";
        EXPECT_EQ(openCaptions, c[1]) << c[0];
        EXPECT_EQ(doneCaptions, c[2]) << c[0];
    }
}

TEST(TodoList, EachIconFlagAloneReplacesOnlyItsStatesPicture)
{
    for (int state = 1; state <= 4; ++state) {
        std::string flags = "0000";
        flags[static_cast<std::size_t>(state - 1)] = '1';
        const AppSettings s = todoSettings("SetIcon=" + flags);
        for (int asked = 0; asked <= 5; ++asked)
            EXPECT_EQ(CustomTodoIconPath("/p/", s.setIcon, asked).has_value(), asked == state) << flags << asked;
    }
}
