// Subscribed calendars: any bytes a server sends either are refused with a reason or give a
// calendar whose entries for a year fall on that year's days, in date order, with times of day
// and texts that fit a month file's fields.
#include "FuzzSupport.h"
#include "calendar/CalendarMath.h"
#include "schedule/ScheduleRecord.h"
#include "sync/FeedCalendar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    FeedCalendar::Parsed parsed = FeedCalendar::parse(fuzz::bytesOf(data, size), FeedLook{"feed", 0, size % 2 == 0});
    if (!parsed.calendar) {
        FUZZ_CHECK(!parsed.reason.empty());
        return 0;
    }
    const Date first{2026, 1, 1}, last{2026, 12, 31};
    const ExtraScheduleList& entries = parsed.calendar->year(2026);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ExtraSchedule& entry = *entries[i];
        FUZZ_CHECK(isValidDate(entry.date.year, entry.date.month, entry.date.day));
        FUZZ_CHECK(!(entry.date < first) && !(last < entry.date));
        FUZZ_CHECK(i == 0 || !EarlierExtra(entries[i], entries[i - 1]));
        FUZZ_CHECK(fuzz::timeOrEmpty(entry.start) && fuzz::timeOrEmpty(entry.end));
        FUZZ_CHECK(entry.title.size() <= kRecTextBytes && entry.place.size() <= kRecTextBytes);
    }
    FUZZ_CHECK(parsed.calendar->cutCount() >= 0);
    return 0;
}
