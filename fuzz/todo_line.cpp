// ToDo lines: the field readers cope with any bytes; a line that parses composes to a line that
// parses to the same fields, and setting the done flag changes nothing but the done fields.
#include "FuzzSupport.h"
#include "platform/DateFormat.h"
#include "todo/TodoRecord.h"

#include <algorithm>

namespace {

bool sameFields(const kal::TodoFields& a, const kal::TodoFields& b)
{
    return a.deadline == b.deadline && a.priority == b.priority && a.progress == b.progress && a.done == b.done &&
           (!a.done || a.doneDate == b.doneDate) && a.category == b.category && a.memoNumber == b.memoNumber &&
           a.title == b.title;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    for (const std::string& line : fuzz::linesOf(data, size)) {
        if (std::optional<Date> deadline = TodoDeadline(line))
            FUZZ_CHECK(TodoDeadline(text::formatDate("yyyy/mm/dd", *deadline) + line.substr(10)) == deadline);
        TodoIsOpen(line);
        FUZZ_CHECK(TodoCategory(line).size() <= 14);
        const int memo = TodoMemoNumber(line);
        FUZZ_CHECK(memo >= 0 && memo <= kTodoMaxMemoNumber);
        std::optional<TodoFields> fields = ParseTodo(line);
        if (!fields)
            continue;
        const std::string composed = ComposeTodo(*fields);
        std::optional<TodoFields> again = ParseTodo(composed);
        FUZZ_CHECK(again && sameFields(*again, *fields));
        FUZZ_CHECK(ComposeTodo(*again) == composed);
        const std::string closed = TodoWithDone(line, true, Date{2026, 5, 5});
        FUZZ_CHECK(closed.size() == line.size());
        FUZZ_CHECK(closed.compare(24, std::string::npos, line, 24) == 0);
        FUZZ_CHECK(!TodoIsOpen(closed));
    }
    return 0;
}
