// A calendar server's items: any bytes give an item without crashing; every event kept touches
// the window; and each local change written back into the item (a title, a day and time, an
// occurrence removed) reads back as that change, while a record that reads as the server's
// version changes nothing.
#include "FuzzSupport.h"
#include "platform/ByteText.h"
#include "schedule/ScheduleRecord.h"
#include "sync/SyncItems.h"

namespace {

using namespace kal;

const SyncWindow kWindow{{2026, 1, 1}, {2026, 12, 31}};
const Date kToday{2026, 6, 1};

IcalEvent recordOf(const ImportedSchedule& day)
{
    return IcalEvent{day.date.year, day.date.month, serverRecordLine(day), {}, 0};
}

// The item read back after `edits`: nothing when the edit could not be written.
std::optional<ServerItem> readBack(const ServerItem& item, const std::vector<EventEdit>& edits)
{
    const std::optional<std::string> edited = editedItem(item, edits, std::nullopt, 10);
    if (!edited)
        return std::nullopt;
    ServerItem back = readServerItem(item.href, {}, *edited, kWindow, kToday, SyncKinds::EventsAndTodos);
    FUZZ_CHECK(back.readable);
    return back;
}

// The occurrence of that name, when it reads back as one day.
const ImportedSchedule* dayOf(const ServerItem& item, const IcalEventItem& event)
{
    for (const IcalEventItem& again : item.entries.events)
        if (again.uid == event.uid && again.recurrenceId == event.recurrenceId && again.days.size() == 1)
            return &again.days.front();
    return nullptr;
}

// The event's own record changes nothing; a new title on the next day (at another time when it
// has one), or the removal of an occurrence, reads back from the written item as that change.
void checkEventEdits(const ServerItem& item, const IcalEventItem& event)
{
    if (event.days.size() != 1)
        return;
    const ImportedSchedule& day = event.days.front();
    const std::optional<std::string> unchanged =
        editedItem(item, {{event.uid, event.recurrenceId, recordOf(day)}}, std::nullopt, 10);
    FUZZ_CHECK(!unchanged || *unchanged == item.icalendar);

    ImportedSchedule changed = day;
    changed.title = text::cutBytes("fz" + day.title, kRecTextBytes);
    changed.date = addDays(day.date, 1);
    changed.start = day.start.empty() ? "" : "09:30";
    changed.end = day.end.empty() ? "" : "10:00";
    if (kWindow.contains(changed.date))
        if (const auto back = readBack(item, {{event.uid, event.recurrenceId, recordOf(changed)}})) {
            const ImportedSchedule* found = dayOf(*back, event);
            FUZZ_CHECK(found && found->date == changed.date && found->start == changed.start &&
                       RecTitle(serverRecordLine(*found)) == RecTitle(serverRecordLine(changed)));
        }

    if (!event.recurrenceId.empty())
        if (const auto back = readBack(item, {{event.uid, event.recurrenceId, std::nullopt}}))
            FUZZ_CHECK(!dayOf(*back, event));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const ServerItem item =
        readServerItem("/cal/a.ics", "\"1\"", fuzz::bytesOf(data, size), kWindow, kToday, SyncKinds::EventsAndTodos);
    if (!item.readable)
        return 0;
    std::size_t edited = 0;
    for (const IcalEventItem& event : item.entries.events) {
        FUZZ_CHECK(!event.uid.empty());
        bool inside = false;
        for (const ImportedSchedule& day : event.days)
            inside = inside || kWindow.contains(day.date);
        FUZZ_CHECK(inside);
        // A few occurrences are enough; each reads the whole item back.
        if (edited++ < 3)
            checkEventEdits(item, event);
    }
    for (const IcalTodoItem& todo : item.entries.todos) {
        IcalTodo local{ComposeTodo(todo.todo.fields), todo.todo.memo, todo.uid, 0};
        const std::optional<std::string> unchanged = editedItem(item, {}, TodoEdit{local}, 10);
        FUZZ_CHECK(!unchanged || *unchanged == item.icalendar);
    }
    return 0;
}
