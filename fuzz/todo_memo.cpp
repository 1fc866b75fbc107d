// ToDoMemo.dat lines and the memo editor's text: a memo composed from its parsed lines parses to
// the same lines, and editor text made of memo lines turns back into the same lines.
#include "FuzzSupport.h"
#include "todo/TodoMemo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::vector<std::string> lines = fuzz::linesOf(data, size);
    for (const std::string& line : lines) {
        const TodoMemo memo = ParseTodoMemo(line);
        const TodoMemo again = ParseTodoMemo(ComposeTodoMemo(7, memo.lines));
        FUZZ_CHECK(again.number == "07" && again.lines == memo.lines);
    }
    const int free = FreeTodoMemoNumber(lines, lines);
    FUZZ_CHECK(free >= 0 && free <= 99);
    if (free > 0)
        FUZZ_CHECK(FindTodoMemo(lines, free) == -1);
    const std::vector<std::string> editorLines = MemoLinesOfText(kal::fuzz::bytesOf(data, size));
    FUZZ_CHECK(MemoLinesOfText(MemoTextOfLines(editorLines)) == editorLines);
    return 0;
}
