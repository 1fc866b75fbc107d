// A calendar server's items: any bytes give an item without crashing; every event kept touches
// the window; and each local change written back into the item reads back as that change, while
// a record that reads as the server's version changes nothing.
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

// The event's own record changes nothing; a new title is read back from the written item.
void checkEventEdits(const ServerItem& item, const IcalEventItem& event)
{
    if (event.days.size() != 1)
        return;
    const std::vector<EventEdit> same{{event.uid, event.recurrenceId, recordOf(event.days.front())}};
    const std::optional<std::string> unchanged = editedItem(item, same, std::nullopt, 10);
    FUZZ_CHECK(!unchanged || *unchanged == item.icalendar);
    ImportedSchedule renamed = event.days.front();
    renamed.title = text::cutBytes("fz" + renamed.title, kRecTextBytes);
    const std::optional<std::string> edited =
        editedItem(item, {{event.uid, event.recurrenceId, recordOf(renamed)}}, std::nullopt, 10);
    if (!edited)
        return;
    const ServerItem back = readServerItem(item.href, {}, *edited, kWindow, kToday, SyncKinds::EventsAndTodos);
    FUZZ_CHECK(back.readable);
    bool found = false;
    for (const IcalEventItem& again : back.entries.events)
        found =
            found || (again.uid == event.uid && again.recurrenceId == event.recurrenceId && again.days.size() == 1 &&
                      RecTitle(serverRecordLine(again.days.front())) == RecTitle(serverRecordLine(renamed)));
    FUZZ_CHECK(found);
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
