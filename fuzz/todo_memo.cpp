// ToDoMemo.dat lines and the memo editor's text: a memo composed from its parsed lines parses to
// the same text, and editor text once saved as memo lines reads back as the same lines.
#include "FuzzSupport.h"
#include "todo/TodoMemo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::vector<std::string> lines = fuzz::linesOf(data, size);
    for (const std::string& line : lines) {
        const TodoMemo memo = ParseTodoMemo(line);
        const TodoMemo again = ParseTodoMemo(ComposeTodoMemo(7, memo.lines));
        // A memo without lines is stored as "07," and reads back as one empty line: the same text.
        FUZZ_CHECK(again.number == "07" && MemoTextOfLines(again.lines) == MemoTextOfLines(memo.lines));
    }
    const int free = FreeTodoMemoNumber(lines, lines);
    FUZZ_CHECK(free >= 0 && free <= 99);
    if (free > 0)
        FUZZ_CHECK(FindTodoMemo(lines, free) == -1);
    // Editor text saved as memo lines reads back as the same lines. (Trailing empty lines are
    // left out: the editor text drops one of them at every save.)
    const std::vector<std::string> saved = MemoLinesOfText(kal::fuzz::bytesOf(data, size));
    if (saved.empty() || !saved.back().empty())
        FUZZ_CHECK(MemoLinesOfText(MemoTextOfLines(saved)) == saved);
    return 0;
}
