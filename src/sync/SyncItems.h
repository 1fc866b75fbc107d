// The items of a calendar server as the sync reads and writes them: a resource read into the
// records and ToDo entries the iCalendar import makes, and the local changes written back into
// the resource so that whatever Kalendra has no field for (a time zone, further categories, a
// description, a title longer than the record holds, the other occurrences) stays as it was.
//
// A resource is untrusted: any bytes give a result, never a crash (fuzz/sync_items.cpp).
#pragma once

#include "exchange/IcalExport.h"
#include "exchange/IcalImport.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

// The months the sync covers: from the first day of `back` months before today's month to the
// last day of `ahead` months after it.
struct SyncWindow {
    Date from, to;
    bool contains(const Date& date) const { return date >= from && date <= to; }
    bool operator==(const SyncWindow& other) const { return from == other.from && to == other.to; }
};
SyncWindow syncWindowOf(const Date& today, int back, int ahead);

enum class SyncKinds { EventsAndTodos, EventsOnly, TodosOnly };
// What a collection that accepts these components gives the sync.
SyncKinds syncKindsOf(bool events, bool todos);

struct ServerItem {
    std::string href;
    std::string etag;
    std::string icalendar;
    bool readable = false; // iCalendar naming each component once (UID, RECURRENCE-ID)
    std::string uid;       // that of its first component
    IcalEntries entries;   // events touching the window (all their days), and the ToDo entries
    // How it was read, so that an edited text is read back the same way.
    SyncWindow window;
    Date today;
    SyncKinds kinds = SyncKinds::EventsAndTodos;
};

// The item's events and ToDo entries as the import would make them; an event is kept when one
// of its days falls in the window, and recurring events are expanded over the window.
ServerItem readServerItem(std::string href, std::string etag, std::string icalendar, const SyncWindow& window,
                          const Date& today, SyncKinds kinds);

// One local change to an event of an item: the whole event (no recurrence id) or one
// occurrence of a recurring one; no record: the occurrence was removed.
struct EventEdit {
    std::string uid; // the event's (the record's identity may carry another)
    std::string recurrenceId;
    std::optional<IcalEvent> record;
};

struct TodoEdit {
    IcalTodo todo;
};

// The item's text with the edits made, SEQUENCE raised; a field the record shows as it was
// keeps the server's property. Nothing when the item holds no event or ToDo it could change, or
// when the text would not read back as the item with those edits.
std::optional<std::string> editedItem(const ServerItem& item, const std::vector<EventEdit>& events,
                                      const std::optional<TodoEdit>& todo, int alarmMinutes);

// The text of a new item holding one record or one ToDo entry.
std::string newEventItem(const IcalEvent& record, int alarmMinutes);
std::string newTodoItem(const IcalTodo& todo);

// The line the import makes of one day of an item (for comparing with a local record).
std::string serverRecordLine(const ImportedSchedule& day);

} // namespace kal
