// ToDo.dat and ToDoMemo.dat after every operation, byte for byte.
#include "todo/TodoStore.h"
#include "platform/Files.h"
#include "support/TempFolder.h"
#include "todo/TodoMemo.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

const Date kToday{2026, 12, 8};

// A line written out by hand: deadline, priority, progress, done, done date, category, memo, title.
std::string line(const std::string& deadline, const std::string& fixed, const std::string& doneDate,
                 const std::string& category, const std::string& memo, const std::string& title)
{
    return deadline + fixed + doneDate + category + std::string(14 - category.size(), ' ') + memo + title;
}

std::string open(const std::string& deadline, const std::string& memo, const std::string& title)
{
    return line(deadline, "1050", "2026/12/01", "", memo, title);
}

store::LineRef refTo(const TempFolder& dir, int index)
{
    return store::LineRef{dir.file("ToDo.dat"), index,
                          files::loadLines(dir.file("ToDo.dat")).at(static_cast<std::size_t>(index))};
}

TodoEntry newEntry(const std::string& title, std::vector<std::string> memo = {})
{
    TodoEntry e;
    e.fields.deadline = Date{2026, 12, 24};
    e.fields.priority = 1;
    e.fields.progress = 3;
    e.fields.doneDate = kToday;
    e.fields.title = title;
    e.memoChanged = !memo.empty();
    e.memo = std::move(memo);
    return e;
}

} // namespace

TEST(TodoStore, AMissingFileIsNoListAtAll)
{
    TempFolder dir;
    TodoFile file = LoadTodoFile(dir.path());
    EXPECT_FALSE(file.exists);
    EXPECT_TRUE(file.lines.empty());
    dir.write("ToDo.dat", crlf({"a"}));
    file = LoadTodoFile(dir.path());
    EXPECT_TRUE(file.exists);
    EXPECT_EQ(file.lines, std::vector<std::string>{"a"});
}

TEST(TodoStore, TicksCloseWithTodaysDateAndReopenKeepingTheDate)
{
    TempFolder dir;
    const std::string first = open("2026/12/10", "01", "first");
    const std::string done = line("2026/12/01", "1071", "2026/11/30", "Work", "02", "done");
    dir.write("ToDo.dat", crlf({first, "garbage line", done}));
    store::EditResult result =
        ApplyTodoTicks(dir.path(), {{refTo(dir, 0), true}, {refTo(dir, 2), false}}, kToday, store::Follower::none());
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.written);
    EXPECT_EQ(dir.read("ToDo.dat"), crlf({line("2026/12/10", "1051", "2026/12/08", "", "01", "first"), "garbage line",
                                          line("2026/12/01", "1070", "2026/11/30", "Work", "02", "done")}))
        << "progress stays, order stays, the unreadable line stays";
}

TEST(TodoStore, TicksThatChangeNothingWriteNothing)
{
    TempFolder dir;
    dir.write("ToDo.dat", crlf({open("2026/12/10", "01", "a")}));
    store::EditResult result = ApplyTodoTicks(dir.path(), {{refTo(dir, 0), false}}, kToday, store::Follower::none());
    EXPECT_TRUE(result.ok());
    EXPECT_FALSE(result.written);
    EXPECT_FALSE(ApplyTodoTicks(dir.path(), {}, kToday, store::Follower::none()).written);
}

TEST(TodoStore, EveryWriterRefusesALineChangedMeanwhile)
{
    TempFolder dir;
    const std::vector<std::string> lines = {open("2026/12/10", "01", "a"), open("2026/12/11", "02", "b")};
    dir.write("ToDo.dat", crlf(lines));
    dir.write("ToDoMemo.dat", crlf({"01,memo"}));
    const store::LineRef stale{dir.file("ToDo.dat"), 0, open("2026/12/10", "01", "what the list showed")};
    const store::LineRef gone{dir.file("ToDo.dat"), 5, lines[0]};
    for (const store::LineRef& ref : {stale, gone}) {
        SCOPED_TRACE(ref.index);
        EXPECT_EQ(
            ApplyTodoTicks(dir.path(), {{refTo(dir, 1), true}, {ref, true}}, kToday, store::Follower::none()).status,
            store::EditStatus::Changed);
        EXPECT_EQ(DeleteTodos(dir.path(), {refTo(dir, 1), ref}, store::Follower::none()).status,
                  store::EditStatus::Changed);
        TodoEntry edit = newEntry("x", {"new memo"});
        edit.mode = TodoInputMode::Edit;
        edit.edited = ref;
        EXPECT_EQ(StoreTodoEntry(dir.path(), edit, store::Follower::none()).result.status, store::EditStatus::Changed);
        EXPECT_FALSE(TodoStillThere(dir.path(), ref));
    }
    EXPECT_TRUE(TodoStillThere(dir.path(), refTo(dir, 1)));
    EXPECT_EQ(dir.read("ToDo.dat"), crlf(lines));
    EXPECT_EQ(dir.read("ToDoMemo.dat"), crlf({"01,memo"}));
}

TEST(TodoStore, DeletingSeveralEntriesTakesTheirMemosAlong)
{
    TempFolder dir;
    dir.write("ToDo.dat", crlf({open("2026/12/10", "01", "a"), "D", open("2026/12/11", "02", "b"),
                                open("2026/12/12", "03", "c"), open("2026/12/13", "04", "d")}));
    dir.write("ToDoMemo.dat", crlf({"01,one", "03,three", "04,four"}));
    store::EditResult result =
        DeleteTodos(dir.path(), {refTo(dir, 0), refTo(dir, 2), refTo(dir, 3)}, store::Follower::none());
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(dir.read("ToDo.dat"), crlf({"D", open("2026/12/13", "04", "d")}))
        << "a stored line that looks like the old delete marker is not lost";
    EXPECT_EQ(dir.read("ToDoMemo.dat"), crlf({"04,four"}));
}

TEST(TodoStore, DeletingKeepsAMemoAnotherEntryStillUses)
{
    TempFolder dir;
    dir.write("ToDo.dat", crlf({open("2026/12/10", "05", "a"), open("2026/12/11", "05", "b")}));
    dir.write("ToDoMemo.dat", crlf({"05,shared"}));
    EXPECT_TRUE(DeleteTodos(dir.path(), {refTo(dir, 0)}, store::Follower::none()).ok());
    EXPECT_EQ(dir.read("ToDo.dat"), crlf({open("2026/12/11", "05", "b")}));
    EXPECT_EQ(dir.read("ToDoMemo.dat"), crlf({"05,shared"}));
}

TEST(TodoStore, DeletingWithoutAMemoFileCreatesNone)
{
    TempFolder dir;
    dir.write("ToDo.dat", crlf({open("2026/12/10", "01", "a")}));
    EXPECT_TRUE(DeleteTodos(dir.path(), {refTo(dir, 0)}, store::Follower::none()).ok());
    EXPECT_EQ(dir.read("ToDo.dat"), "");
    EXPECT_FALSE(dir.exists("ToDoMemo.dat"));
}

TEST(TodoStore, FirstEntryGetsMemoNumberOneWithOrWithoutMemo)
{
    for (bool withMemo : {false, true}) {
        SCOPED_TRACE(withMemo);
        TempFolder dir;
        TodoEntry e = withMemo ? newEntry("first", {"line 1", "line 2"}) : newEntry("first");
        TodoEntryResult stored = StoreTodoEntry(dir.path(), e, store::Follower::none());
        ASSERT_TRUE(stored.result.ok());
        EXPECT_EQ(dir.read("ToDo.dat"), crlf({line("2026/12/24", "1030", "2026/12/08", "", "01", "first")}));
        if (withMemo)
            EXPECT_EQ(dir.read("ToDoMemo.dat"), crlf({"01,\"line 1\",\"line 2\""}));
        else
            EXPECT_FALSE(dir.exists("ToDoMemo.dat"));
    }
}

TEST(TodoStore, NewEntriesTakeTheFirstFreeNumberAndTheFileIsSorted)
{
    TempFolder dir;
    dir.write("ToDo.dat", crlf({open("2026/12/10", "01", "a"), open("2026/12/30", "02", "b"),
                                line(sj("期限日なし"), "1000", "2026/12/01", "", "04", "c")}));
    TodoEntry e = newEntry("new", {"memo"});
    e.mode = TodoInputMode::CopyFromSchedule;
    e.fields.category = sj("仕事");
    e.fields.priority = 0;
    e.fields.progress = 10;
    ASSERT_TRUE(StoreTodoEntry(dir.path(), e, store::Follower::none()).result.ok());
    EXPECT_EQ(dir.read("ToDo.dat"),
              crlf({open("2026/12/10", "01", "a"), line("2026/12/24", "0100", "2026/12/08", sj("仕事"), "03", "new"),
                    open("2026/12/30", "02", "b"), line(sj("期限日なし"), "1000", "2026/12/01", "", "04", "c")}));
    EXPECT_EQ(dir.read("ToDoMemo.dat"), crlf({"03,memo"}));
}

TEST(TodoStore, ANewEntryNeverInheritsALeftOverMemo)
{
    TempFolder dir;
    dir.write("ToDo.dat", crlf({open("2026/12/10", "01", "a")}));
    dir.write("ToDoMemo.dat", crlf({"01,a's memo", "02,left behind"}));
    ASSERT_TRUE(StoreTodoEntry(dir.path(), newEntry("b"), store::Follower::none()).result.ok());
    EXPECT_EQ(files::loadLines(dir.file("ToDo.dat")).at(1).substr(38, 2), "03");
    EXPECT_TRUE(LoadTodoMemo(dir.path(), 3).empty());
}

TEST(TodoStore, CorrectingKeepsTheNumberAndReplacesTheMemoLine)
{
    TempFolder dir;
    dir.write("ToDo.dat", crlf({open("2026/12/10", "01", "a"), open("2026/12/11", "02", "b")}));
    dir.write("ToDoMemo.dat", crlf({"01,first", "02,second"}));
    TodoEntry e = newEntry("b corrected", {"changed", "memo"});
    e.mode = TodoInputMode::Edit;
    e.edited = refTo(dir, 1);
    e.fields.done = true;
    ASSERT_TRUE(StoreTodoEntry(dir.path(), e, store::Follower::none()).result.ok());
    EXPECT_EQ(dir.read("ToDo.dat"),
              crlf({open("2026/12/10", "01", "a"), line("2026/12/24", "1031", "2026/12/08", "", "02", "b corrected")}));
    EXPECT_EQ(dir.read("ToDoMemo.dat"), crlf({"01,first", "02,changed,memo"}));
    EXPECT_EQ(LoadTodoMemo(dir.path(), 2), (std::vector<std::string>{"changed", "memo"}));
}

TEST(TodoStore, EmptyingTheMemoRemovesItsLineAndStoresNoKey)
{
    TempFolder dir;
    dir.write("ToDo.dat", crlf({open("2026/12/10", "01", "a"), open("2026/12/11", "02", "b")}));
    dir.write("ToDoMemo.dat", crlf({"01,first", "02,second"}));
    TodoEntry e = newEntry("a");
    e.mode = TodoInputMode::Edit;
    e.edited = refTo(dir, 0);
    e.memoChanged = true;
    ASSERT_TRUE(StoreTodoEntry(dir.path(), e, store::Follower::none()).result.ok());
    EXPECT_EQ(dir.read("ToDo.dat"),
              crlf({open("2026/12/11", "02", "b"), line("2026/12/24", "1030", "2026/12/08", "", "00", "a")}));
    EXPECT_EQ(dir.read("ToDoMemo.dat"), crlf({"02,second"}));
}

TEST(TodoStore, AnUnchangedMemoIsNotWritten)
{
    TempFolder dir;
    dir.write("ToDo.dat", crlf({open("2026/12/10", "07", "a")}));
    dir.write("ToDoMemo.dat", "07,kept as stored,\"\"\r\n");
    TodoEntry e = newEntry("a");
    e.mode = TodoInputMode::Edit;
    e.edited = refTo(dir, 0);
    e.memo = {"whatever"};
    e.memoChanged = false;
    ASSERT_TRUE(StoreTodoEntry(dir.path(), e, store::Follower::none()).result.ok());
    EXPECT_EQ(dir.read("ToDoMemo.dat"), "07,kept as stored,\"\"\r\n");
    EXPECT_EQ(files::loadLines(dir.file("ToDo.dat")).at(0).substr(38, 2), "07");
}

TEST(TodoStore, WithNoNumberFreeTheEntryIsStoredWithoutItsMemo)
{
    TempFolder dir;
    std::vector<std::string> lines;
    for (int n = 1; n <= 99; ++n)
        lines.push_back(open("2026/12/10", (n < 10 ? "0" : "") + std::to_string(n), "t"));
    dir.write("ToDo.dat", crlf(lines));
    EXPECT_FALSE(TodoMemoAvailable(dir.path(), TodoInputMode::New, {}));
    EXPECT_TRUE(TodoMemoAvailable(dir.path(), TodoInputMode::Edit, refTo(dir, 4))) << "an entry keeps its own";

    TodoEntryResult stored =
        StoreTodoEntry(dir.path(), newEntry("one too many", {"typed anyway"}), store::Follower::none());
    EXPECT_TRUE(stored.result.ok());
    EXPECT_TRUE(stored.memoRefused);
    EXPECT_EQ(stored.line.substr(38, 2), "00");
    EXPECT_EQ(files::loadLines(dir.file("ToDo.dat")).size(), 100u);
    EXPECT_FALSE(dir.exists("ToDoMemo.dat"));
}

TEST(TodoStore, FilesThatCannotBeReadOrWrittenAreReportedAndLeftAlone)
{
    TempFolder dir;
    EXPECT_EQ(StoreTodoEntry(dir.file("missing/"), newEntry("x"), store::Follower::none()).result.status,
              store::EditStatus::WriteFailed);

    dir.write("ToDo.dat", crlf({open("2026/12/10", "01", "a")}));
    files::createFolders(dir.file("ToDoMemo.dat"));
    for (store::EditResult result : {StoreTodoEntry(dir.path(), newEntry("x", {"m"}), store::Follower::none()).result,
                                     DeleteTodos(dir.path(), {refTo(dir, 0)}, store::Follower::none())}) {
        EXPECT_EQ(result.status, store::EditStatus::WriteFailed);
        EXPECT_FALSE(result.reason.empty());
    }
    EXPECT_EQ(dir.read("ToDo.dat"), crlf({open("2026/12/10", "01", "a")}));
}
