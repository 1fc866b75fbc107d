// iCalendar files: any bytes give entries without crashing, every schedule is a real day of the
// calendar's years with times the month files can hold, every text fits its field and is
// Shift-JIS, and each entry composes to a record that reads back as one.
#include "FuzzSupport.h"
#include "calendar/CalendarMath.h"
#include "exchange/IcalImport.h"
#include "schedule/ScheduleRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    const IcalEntries entries =
        readIcalEntries(fuzz::bytesOf(data, size), Date{2026, 1, 1}, Date{2026, 12, 31}, Date{2026, 1, 1});
    FUZZ_CHECK(entries.texts.cut >= 0 && entries.texts.replaced >= 0);
    for (const IcalEventItem& event : entries.events)
        FUZZ_CHECK(!event.days.empty() && static_cast<int>(event.days.size()) <= kIcalMaxEventDays);
    for (const ImportedSchedule& schedule : entries.schedules()) {
        FUZZ_CHECK(isValidDate(schedule.date.year, schedule.date.month, schedule.date.day));
        FUZZ_CHECK(schedule.date.year >= kFirstYear && schedule.date.year <= kLastYear);
        FUZZ_CHECK(fuzz::timeOrEmpty(schedule.start) && fuzz::timeOrEmpty(schedule.end));
        FUZZ_CHECK(schedule.title.size() <= kRecTextBytes && schedule.place.size() <= kRecTextBytes);
        const std::string record = composeImportedRecord(schedule);
        FUZZ_CHECK(record.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(RecDay(record) == schedule.date.day);
    }
    for (const IcalTodoItem& item : entries.todos) {
        FUZZ_CHECK(item.todo.fields.title.size() <= kTodoTitleBytes);
        const std::string line = ComposeTodo(item.todo.fields);
        FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
        FUZZ_CHECK(IsTodoRecord(line));
    }
    return 0;
}
