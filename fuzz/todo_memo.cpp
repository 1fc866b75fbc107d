// ToDoMemo.dat lines and the memo editor's text: a memo composed from its parsed lines parses to
// the same text, and editor text once saved as memo lines reads back as the same lines.
#include "FuzzSupport.h"
#include "todo/TodoMemo.h"

#include <algorithm>

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
    // Editor text saved as memo lines reads back as the same lines, trailing empty ones included.
    // (A CR at a line's end only comes from text the editor never gives: it is read as CR LF.)
    const std::vector<std::string> saved = MemoLinesOfText(kal::fuzz::bytesOf(data, size));
    const bool crAtAnEnd =
        std::any_of(saved.begin(), saved.end(), [](const std::string& s) { return !s.empty() && s.back() == '\r'; });
    if (!crAtAnEnd)
        FUZZ_CHECK(MemoLinesOfText(MemoTextOfLines(saved)) == saved);
    return 0;
}
