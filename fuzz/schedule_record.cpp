// One schedule line: every field reader copes with any bytes, and a record read and composed
// again is stable from then on.
#include "FuzzSupport.h"
#include "schedule/ScheduleRecord.h"

namespace {

bool sameFields(const kal::ScheduleFields& a, const kal::ScheduleFields& b)
{
    return a.day == b.day && a.start == b.start && a.end == b.end && a.category == b.category && a.bold == b.bold &&
           a.italic == b.italic && a.underline == b.underline && a.strikeout == b.strikeout && a.sound == b.sound &&
           a.message == b.message && a.title == b.title && a.place == b.place;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    for (const std::string& line : fuzz::linesOf(data, size)) {
        const ScheduleFields read = ReadSchedule(line);
        FUZZ_CHECK(IsScheduleRecord(line) == (read.day >= 1 && read.day <= 31));
        FUZZ_CHECK(RecStart(line).size() <= 5 && RecCategory(line).size() <= 14 && RecTitle(line).size() <= 40);
        if (!IsScheduleRecord(line))
            continue;
        const std::string composed = ComposeSchedule(read);
        FUZZ_CHECK(composed.compare(0, 2, line, 0, 2) == 0);
        const ScheduleFields again = ReadSchedule(composed);
        FUZZ_CHECK(sameFields(ReadSchedule(ComposeSchedule(again)), again));
        FUZZ_CHECK(ComposeSchedule(again) == composed);
    }
    return 0;
}
