// Pick lists: the entries are sorted and each once (ignoring case), nothing that was in the file
// is lost, an added entry is found at the place given, and the dialog's rows keep their widths.
#include "FuzzSupport.h"
#include "platform/ByteText.h"
#include "schedule/PickList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    std::vector<std::string> lines = fuzz::linesOf(data, size);
    std::string extra;
    if (!lines.empty()) {
        extra = lines.back();
        lines.pop_back();
    }
    PickList list(lines);
    const std::vector<std::string>& entries = list.entries();
    for (std::size_t i = 1; i < entries.size(); ++i)
        FUZZ_CHECK(text::compareNoCase(entries[i - 1], entries[i]) < 0);
    for (const std::string& line : lines) {
        bool found = false;
        for (const std::string& entry : entries)
            found = found || text::equalsNoCase(entry, line);
        FUZZ_CHECK(found);
    }
    const int at = list.add(extra);
    if (text::isBlank(extra))
        FUZZ_CHECK(at == -1);
    else
        FUZZ_CHECK(at >= 0 && text::equalsNoCase(list.entries()[static_cast<std::size_t>(at)], extra));
    for (const std::string& row : RecentTitles(lines))
        FUZZ_CHECK(row.size() <= kTextRowBytes);
    for (const std::string& row : RecentPlaces(lines))
        FUZZ_CHECK(row.size() <= kTextRowBytes);
    FUZZ_CHECK(PickListRowText(extra).size() <= kTextRowBytes);
    if (IsTimeOfDay(extra))
        FUZZ_CHECK(extra.size() == 5);
    return 0;
}
