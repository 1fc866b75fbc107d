#include "todo/TodoMemo.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::sj;

namespace {

std::string entry(const std::string& memoNumber)
{
    return "2026/12/101050" + std::string("2026/12/08") + std::string(14, ' ') + memoNumber + "t";
}

} // namespace

TEST(TodoMemo, LinesBecomeCommaTextAndBack)
{
    const struct {
        const char* what;
        std::vector<std::string> lines;
        std::string stored;
    } cases[] = {
        {"plain lines", {"abc", sj("買い物")}, "07,abc," + sj("買い物")},
        {"blank, comma and quote are quoted", {"a b", "x,y", "say \"hi\""}, "07,\"a b\",\"x,y\",\"say \"\"hi\"\"\""},
        {"an empty line between others", {"a", "", "b"}, "07,a,,b"},
        {"an empty last line", {"a", ""}, "07,a,"},
        {"a single empty line", {""}, "07,\"\""},
        {"a tab", {"a\tb"}, "07,\"a\tb\""},
        {"leading blanks kept", {"  indented"}, "07,\"  indented\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ComposeTodoMemo(7, c.lines), c.stored);
        const TodoMemo back = ParseTodoMemo(c.stored);
        EXPECT_EQ(back.number, "07");
        EXPECT_EQ(back.lines, c.lines);
    }
    EXPECT_TRUE(ParseTodoMemo("").lines.empty());
    EXPECT_EQ(ParseTodoMemo("12, a ,b").lines, (std::vector<std::string>{"a", "b"})) << "blanks end an item";
}

TEST(TodoMemo, FindMatchesTheTwoDigitKey)
{
    const std::vector<std::string> memos = {"01,a", "03,b", "10,c"};
    EXPECT_EQ(FindTodoMemo(memos, 3), 1);
    EXPECT_EQ(FindTodoMemo(memos, 10), 2);
    EXPECT_EQ(FindTodoMemo(memos, 2), -1);
    EXPECT_EQ(FindTodoMemo({"3,b"}, 3), -1);
}

TEST(TodoMemo, NewNumbersAreFreeInBothFiles)
{
    EXPECT_EQ(FreeTodoMemoNumber({}, {}), 1) << "a first entry gets 01";
    EXPECT_EQ(FreeTodoMemoNumber({entry("01"), entry("02"), entry("04")}, {"01,a", "04,b"}), 3);
    EXPECT_EQ(FreeTodoMemoNumber({entry("01"), entry("00"), entry("  ")}, {}), 2) << "00 and blanks are no key";
    EXPECT_EQ(FreeTodoMemoNumber({entry("01")}, {"02,left over", "03,left over"}), 4)
        << "a memo whose entry is gone is not inherited";

    std::vector<std::string> all;
    for (int n = 1; n <= 99; ++n)
        all.push_back(entry((n < 10 ? "0" : "") + std::to_string(n)));
    EXPECT_EQ(FreeTodoMemoNumber(all, {}), 0);
    all.erase(all.begin() + 41);
    EXPECT_EQ(FreeTodoMemoNumber(all, {}), 42);
    EXPECT_EQ(FreeTodoMemoNumber(all, {"42,x"}), 0);
}

TEST(TodoMemo, EditorTextAndMemoLines)
{
    EXPECT_TRUE(MemoLinesOfText("").empty());
    EXPECT_EQ(MemoLinesOfText("a\nb"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(MemoLinesOfText("a\r\n\r\nb\n"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(MemoLinesOfText("\n"), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(MemoTextOfLines({"a", "", "b"}), "a\n\nb");
    EXPECT_EQ(MemoTextOfLines({}), "");
}

TEST(TodoMemo, SavingTheEditorTextAgainKeepsEveryLine)
{
    // (One empty line shows as an empty editor, which is no memo at all.)
    const std::vector<std::vector<std::string>> memos = {
        {}, {"", ""}, {"a", ""}, {"a", "", ""}, {"", "a"}, {"a", "b"}, {"a\r"},
    };
    for (const std::vector<std::string>& lines : memos) {
        SCOPED_TRACE(::testing::PrintToString(lines));
        std::vector<std::string> saved = lines;
        for (int save = 0; save < 3; ++save) {
            const TodoMemo stored = ParseTodoMemo(ComposeTodoMemo(7, saved));
            saved = MemoLinesOfText(MemoTextOfLines(stored.lines));
        }
        EXPECT_EQ(saved, lines);
    }
}

TEST(TodoMemo, AMemoWithoutLinesReadsBackWithoutLines)
{
    struct Case {
        const char* line;
        std::vector<std::string> lines;
    };
    for (const Case& c : {Case{"07,", {}}, Case{"07,  ", {}}, Case{"07,\"\"", {""}}, Case{"07,\"\",\"\"", {"", ""}},
                          Case{"07,a", {"a"}}, Case{"07", {}}}) {
        SCOPED_TRACE(c.line);
        const TodoMemo memo = ParseTodoMemo(c.line);
        EXPECT_EQ(memo.number, "07");
        EXPECT_EQ(memo.lines, c.lines);
    }
}
