// ToDo lines: the field readers cope with any bytes, and a deadline read as a date is written
// back as a field that reads as the same date.
#include "FuzzSupport.h"
#include "platform/DateFormat.h"
#include "todo/TodoRecord.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    for (const std::string& line : fuzz::linesOf(data, size)) {
        if (std::optional<Date> deadline = TodoDeadline(line))
            FUZZ_CHECK(TodoDeadline(text::formatDate("yyyy/mm/dd", *deadline) + line.substr(10)) == deadline);
        TodoIsOpen(line);
        FUZZ_CHECK(TodoCategory(line).size() <= 14);
        FUZZ_CHECK(TodoTitle(line).size() + 40 <= std::max<std::size_t>(line.size(), 40));
    }
    return 0;
}
