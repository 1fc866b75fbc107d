// A month file as read and rewritten by the writers: every line comes back byte for byte,
// records and lines that are not records alike, none lost and none doubled, in sorted order; and
// as the search reads it: each byte's line found from the byte as the whole split numbers it.
#include "FuzzSupport.h"
#include "platform/ByteText.h"
#include "platform/LineCursor.h"
#include "schedule/ScheduleRecord.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const std::vector<std::string> lines = fuzz::linesOf(data, size);
    FUZZ_CHECK(files::splitLines(files::joinLines(lines)) == lines);

    std::vector<std::string> sorted = lines;
    sorted.push_back(ComposeSchedule(ScheduleFields{}));
    text::sortNoCase(sorted);
    for (std::size_t i = 1; i < sorted.size(); ++i)
        FUZZ_CHECK(text::compareNoCase(sorted[i - 1], sorted[i]) <= 0);
    std::vector<std::string> expected = lines;
    expected.push_back(ComposeSchedule(ScheduleFields{}));
    std::sort(expected.begin(), expected.end());
    std::sort(sorted.begin(), sorted.end());
    FUZZ_CHECK(sorted == expected);

    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> views;
    files::splitLineViews(bytes, views);
    files::LineCursor cursor(bytes);
    std::size_t line = 0;
    for (std::size_t at = 0; at < size; ++at) {
        while (line + 1 < views.size() && views[line + 1].data() <= bytes.data() + at)
            ++line;
        const files::LineCursor::Line found = cursor.lineAt(at);
        FUZZ_CHECK(found.index == line && found.text == views[line]);
    }
    return 0;
}
