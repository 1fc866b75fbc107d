#include "sync/SyncItems.h"

#include "exchange/IcalSupport.h"
#include "platform/ByteText.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoRecord.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace kal {

SyncWindow syncWindowOf(const Date& today, int back, int ahead)
{
    int year = today.year, month = today.month;
    for (int i = 0; i < back; ++i)
        previousMonth(year, month);
    SyncWindow window{{year, month, 1}, {}};
    year = today.year;
    month = today.month;
    for (int i = 0; i < ahead; ++i)
        nextMonth(year, month);
    window.to = Date{year, month, daysInMonth(year, month)};
    return window;
}

SyncKinds syncKindsOf(bool events, bool todos)
{
    if (!todos)
        return SyncKinds::EventsOnly;
    return events ? SyncKinds::EventsAndTodos : SyncKinds::TodosOnly;
}

namespace {

bool touchesWindow(const IcalEventItem& event, const SyncWindow& window)
{
    return std::any_of(event.days.begin(), event.days.end(),
                       [&](const ImportedSchedule& day) { return window.contains(day.date); });
}

// A UID that a written item keeps: one line of text.
bool usableUid(const std::string& uid)
{
    return !uid.empty() && std::none_of(uid.begin(), uid.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

// Each event or ToDo entry named once: by a UID, and an occurrence by its RECURRENCE-ID. A
// calendar server's item holds one kind of component.
bool everyOneNamed(const IcalEntries& entries)
{
    if (!entries.events.empty() && !entries.todos.empty())
        return false;
    std::set<std::pair<std::string, std::string>> names;
    for (const IcalEventItem& event : entries.events)
        if (!usableUid(event.uid) || !names.insert({event.uid, event.recurrenceId}).second)
            return false;
    for (const IcalTodoItem& todo : entries.todos)
        if (!usableUid(todo.uid) || !names.insert({todo.uid, "\n"}).second)
            return false;
    return true;
}

} // namespace

ServerItem readServerItem(std::string href, std::string etag, std::string icalendar, const SyncWindow& window,
                          const Date& today, SyncKinds kinds)
{
    ServerItem item{std::move(href), std::move(etag), std::move(icalendar), false, {}, {}, window, today, kinds};
    IcalEntries all = readIcalEntries(item.icalendar, window.from, window.to, today);
    if (!all.ok || !everyOneNamed(all))
        return item;
    item.readable = true;
    if (!all.events.empty())
        item.uid = all.events.front().uid;
    else if (!all.todos.empty())
        item.uid = all.todos.front().uid;
    IcalEntries& kept = item.entries;
    kept.texts = all.texts;
    kept.skips = all.skips;
    if (kinds != SyncKinds::TodosOnly)
        for (IcalEventItem& event : all.events)
            if (touchesWindow(event, window))
                kept.events.push_back(std::move(event));
    if (kinds != SyncKinds::EventsOnly)
        kept.todos = std::move(all.todos);
    return item;
}

std::string serverRecordLine(const ImportedSchedule& day)
{
    return composeImportedRecord(day);
}

namespace {

using ical::Component;

void removeProperties(icalcomponent* target, icalproperty_kind kind, const char* xName = nullptr)
{
    std::vector<icalproperty*> gone;
    for (icalproperty* p = icalcomponent_get_first_property(target, kind); p;
         p = icalcomponent_get_next_property(target, kind)) {
        const char* name = xName ? icalproperty_get_x_name(p) : nullptr;
        if (!xName || (name && std::strcmp(name, xName) == 0))
            gone.push_back(p);
    }
    for (icalproperty* p : gone) {
        icalcomponent_remove_property(target, p);
        icalproperty_free(p);
    }
}

// The properties of `kind` in `target` become those of `source`.
void replaceProperties(icalcomponent* target, icalcomponent* source, icalproperty_kind kind,
                       const char* xName = nullptr)
{
    removeProperties(target, kind, xName);
    for (icalproperty* p = icalcomponent_get_first_property(source, kind); p;
         p = icalcomponent_get_next_property(source, kind)) {
        const char* name = xName ? icalproperty_get_x_name(p) : nullptr;
        if (!xName || (name && std::strcmp(name, xName) == 0))
            icalcomponent_add_property(target, icalproperty_new_clone(p));
    }
}

void replaceAlarms(icalcomponent* target, icalcomponent* source)
{
    std::vector<icalcomponent*> gone;
    for (icalcomponent* c = icalcomponent_get_first_component(target, ICAL_VALARM_COMPONENT); c;
         c = icalcomponent_get_next_component(target, ICAL_VALARM_COMPONENT))
        gone.push_back(c);
    for (icalcomponent* c : gone) {
        icalcomponent_remove_component(target, c);
        icalcomponent_free(c);
    }
    for (icalcomponent* c = icalcomponent_get_first_component(source, ICAL_VALARM_COMPONENT); c;
         c = icalcomponent_get_next_component(source, ICAL_VALARM_COMPONENT))
        icalcomponent_add_component(target, icalcomponent_new_clone(c));
}

// A component changed here: its SEQUENCE raised, its DTSTAMP the time of writing.
void raiseSequence(icalcomponent* component)
{
    icalproperty* p = icalcomponent_get_first_property(component, ICAL_SEQUENCE_PROPERTY);
    const int next = p ? std::max(0, icalproperty_get_sequence(p)) + 1 : 1;
    removeProperties(component, ICAL_SEQUENCE_PROPERTY);
    icalcomponent_add_property(component, icalproperty_new_sequence(next));
    removeProperties(component, ICAL_DTSTAMP_PROPERTY);
    icalcomponent_add_property(component, icalproperty_new_dtstamp(ical::utcValue(ical::utcNow())));
}

// Two texts of the records that read differently, whichever Shift-JIS form each character is in.
bool differs(const std::string& a, const std::string& b)
{
    return !sjis::sameCharacters(text::trimRight(a), text::trimRight(b));
}

std::string uidOf(icalcomponent* component)
{
    const char* uid = icalcomponent_get_uid(component);
    return uid ? uid : "";
}

std::string recurrenceIdOf(icalcomponent* component)
{
    icalproperty* id = icalcomponent_get_first_property(component, ICAL_RECURRENCEID_PROPERTY);
    return id ? ical::recurrenceIdText(icalproperty_get_datetime_with_component(id, component)) : "";
}

bool isRecurring(icalcomponent* event)
{
    return icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
           icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
}

// The one component of that name; none when two share it, as a damaged item may.
icalcomponent* findComponent(icalcomponent* calendar, icalcomponent_kind kind, const std::string& uid,
                             const std::string& recurrenceId)
{
    icalcomponent* found = nullptr;
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, kind); c;
         c = icalcomponent_get_next_component(calendar, kind))
        if (uidOf(c) == uid && recurrenceIdOf(c) == recurrenceId) {
            if (found)
                return nullptr;
            found = c;
        }
    return found;
}

const IcalEventItem* entryOf(const ServerItem& item, const std::string& uid, const std::string& recurrenceId)
{
    for (const IcalEventItem& event : item.entries.events)
        if (event.uid == uid && event.recurrenceId == recurrenceId)
            return &event;
    return nullptr;
}

Date recordDate(const IcalEvent& record)
{
    return Date{record.year, record.month, RecDay(record.line)};
}

// What one event edit changes in its component; false when a field could not be written.
class EventFields {
public:
    EventFields(const ImportedSchedule& server, const IcalEvent& record, int alarmMinutes)
        : server_(server), serverLine_(serverRecordLine(server)), record_(record), ours_(eventOf(record, alarmMinutes))
    {
    }

    bool valid() const { return ours_ != nullptr; }

    // Replaces the properties of the fields the record changed; whether any were.
    bool applyTo(icalcomponent* target, bool& japanTimes) const
    {
        const std::string& line = record_.line;
        bool changed = false;
        if (server_.date != recordDate(record_) || RecStart(serverLine_) != RecStart(line) ||
            RecEnd(serverLine_) != RecEnd(line)) {
            for (icalproperty_kind kind : {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_DURATION_PROPERTY})
                replaceProperties(target, ours_.get(), kind);
            replaceProperties(target, ours_.get(), ICAL_X_PROPERTY, ical::kNoStartProperty);
            japanTimes = changed = true;
        }
        changed |= replaceIf(target, differs(RecTitle(serverLine_), RecTitle(line)), ICAL_SUMMARY_PROPERTY);
        changed |= replaceIf(target, differs(RecPlace(serverLine_), RecPlace(line)), ICAL_LOCATION_PROPERTY);
        changed |= replaceIf(target, differs(RecCategory(serverLine_), RecCategory(line)), ICAL_CATEGORIES_PROPERTY);
        if (RecSound(serverLine_) != RecSound(line) || RecMessage(serverLine_) != RecMessage(line)) {
            replaceAlarms(target, ours_.get());
            changed = true;
        }
        return changed;
    }

private:
    bool replaceIf(icalcomponent* target, bool differs, icalproperty_kind kind) const
    {
        if (differs)
            replaceProperties(target, ours_.get(), kind);
        return differs;
    }

    const ImportedSchedule& server_;
    std::string serverLine_;
    const IcalEvent& record_;
    Component ours_;
};

// The start of the occurrence named by `recurrenceId` in the form of the master's DTSTART: a
// date, a UTC time, a floating time, or a time of the master's TZID (`tzid`, else null).
struct OccurrenceStart {
    icaltimetype time = icaltime_null_time();
    icalparameter* tzid = nullptr; // the master's, not owned
};

std::optional<OccurrenceStart> occurrenceStart(icalcomponent* master, const std::string& recurrenceId)
{
    icalproperty* start = icalcomponent_get_first_property(master, ICAL_DTSTART_PROPERTY);
    icaltimetype time = icaltime_from_string(recurrenceId.c_str());
    if (!start || icaltime_is_null_time(time))
        return std::nullopt;
    const icaltimetype dtstart = icalproperty_get_datetime_with_component(start, master);
    OccurrenceStart out;
    out.tzid = icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER);
    // A TZID beside a UTC value ("TZID=X:...Z") is ignored when read, so it is left out here.
    if (!time.is_date && out.tzid && dtstart.zone && !icaltime_is_utc(dtstart) && icaltime_is_utc(time)) {
        time = icaltime_convert_to_zone(time, const_cast<icaltimezone*>(dtstart.zone));
        time.zone = nullptr;
    }
    if (time.is_date || icaltime_is_utc(time))
        out.tzid = nullptr;
    out.time = time;
    return out;
}

icalproperty* timeProperty(icalproperty* (*make)(icaltimetype), const icaltimetype& time, icalparameter* tzid)
{
    icalproperty* made = make(time);
    if (tzid)
        icalproperty_add_parameter(made, icalparameter_new_clone(tzid));
    return made;
}

// A new component for one occurrence of `master`: its properties, its own start and end, and
// RECURRENCE-ID.
icalcomponent* occurrenceOf(icalcomponent* master, const std::string& recurrenceId)
{
    const std::optional<OccurrenceStart> start = occurrenceStart(master, recurrenceId);
    if (!start)
        return nullptr;
    const bool hasEnd = icalcomponent_get_first_property(master, ICAL_DTEND_PROPERTY) != nullptr;
    const icaldurationtype length =
        hasEnd ? icaltime_subtract(icalcomponent_get_dtend(master), icalcomponent_get_dtstart(master))
               : icaldurationtype_null_duration();
    icalcomponent* occurrence = icalcomponent_new_clone(master);
    for (icalproperty_kind kind : {ICAL_RRULE_PROPERTY, ICAL_RDATE_PROPERTY, ICAL_EXDATE_PROPERTY, ICAL_EXRULE_PROPERTY,
                                   ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY})
        removeProperties(occurrence, kind);
    icalcomponent_add_property(occurrence, timeProperty(icalproperty_new_dtstart, start->time, start->tzid));
    icalcomponent_add_property(occurrence, timeProperty(icalproperty_new_recurrenceid, start->time, start->tzid));
    if (hasEnd)
        icalcomponent_add_property(
            occurrence, timeProperty(icalproperty_new_dtend, icaltime_add(start->time, length), start->tzid));
    return occurrence;
}

void excludeOccurrence(icalcomponent* calendar, icalcomponent* master, const std::string& uid,
                       const std::string& recurrenceId)
{
    if (icalcomponent* replaced = findComponent(calendar, ICAL_VEVENT_COMPONENT, uid, recurrenceId)) {
        icalcomponent_remove_component(calendar, replaced);
        icalcomponent_free(replaced);
    }
    if (const std::optional<OccurrenceStart> start = occurrenceStart(master, recurrenceId))
        icalcomponent_add_property(master, timeProperty(icalproperty_new_exdate, start->time, start->tzid));
}

struct EditContext {
    icalcomponent* calendar;
    const ServerItem& item;
    int alarmMinutes;
    bool japanTimes = false;
    bool changed = false;
};

bool applyEventEdit(EditContext& c, const EventEdit& edit)
{
    icalcomponent* master = findComponent(c.calendar, ICAL_VEVENT_COMPONENT, edit.uid, "");
    if (edit.recurrenceId.empty() && (!master || isRecurring(master) || !edit.record))
        return false;
    if (!edit.recurrenceId.empty() && (!master || !isRecurring(master)))
        return false;
    if (!edit.record) {
        excludeOccurrence(c.calendar, master, edit.uid, edit.recurrenceId);
        raiseSequence(master);
        c.changed = true;
        return true;
    }
    const IcalEventItem* entry = entryOf(c.item, edit.uid, edit.recurrenceId);
    if (!entry || entry->days.size() != 1)
        return false;
    const EventFields fields(entry->days.front(), *edit.record, c.alarmMinutes);
    if (!fields.valid())
        return false;
    icalcomponent* target = edit.recurrenceId.empty()
                                ? master
                                : findComponent(c.calendar, ICAL_VEVENT_COMPONENT, edit.uid, edit.recurrenceId);
    const bool newOccurrence = !target;
    if (newOccurrence && !(target = occurrenceOf(master, edit.recurrenceId)))
        return false;
    const bool changed = fields.applyTo(target, c.japanTimes);
    if (newOccurrence && !changed) {
        icalcomponent_free(target);
        return true;
    }
    if (newOccurrence)
        icalcomponent_add_component(c.calendar, target);
    if (changed)
        raiseSequence(target);
    c.changed = c.changed || changed;
    return true;
}

bool applyTodoEdit(EditContext& c, const TodoEdit& edit)
{
    const auto entry = std::find_if(c.item.entries.todos.begin(), c.item.entries.todos.end(),
                                    [&](const IcalTodoItem& t) { return t.uid == edit.todo.uid; });
    icalcomponent* target = findComponent(c.calendar, ICAL_VTODO_COMPONENT, edit.todo.uid, "");
    const std::optional<TodoFields> local = ParseTodo(edit.todo.line);
    Component ours = todoOf(edit.todo);
    if (entry == c.item.entries.todos.end() || !target || !local || !ours)
        return false;
    const TodoFields& server = entry->todo.fields;
    bool changed = false;
    const auto replaceIf = [&](bool differs, std::initializer_list<icalproperty_kind> kinds) {
        if (!differs)
            return;
        for (icalproperty_kind kind : kinds)
            replaceProperties(target, ours.get(), kind);
        changed = true;
    };
    replaceIf(differs(server.title, local->title), {ICAL_SUMMARY_PROPERTY});
    replaceIf(server.deadline != local->deadline, {ICAL_DUE_PROPERTY, ICAL_DURATION_PROPERTY});
    replaceIf(server.priority != local->priority, {ICAL_PRIORITY_PROPERTY});
    replaceIf(server.progress != local->progress, {ICAL_PERCENTCOMPLETE_PROPERTY, ICAL_STATUS_PROPERTY});
    replaceIf(server.done != local->done || (local->done && server.doneDate != local->doneDate),
              {ICAL_STATUS_PROPERTY, ICAL_COMPLETED_PROPERTY});
    replaceIf(differs(server.category, local->category), {ICAL_CATEGORIES_PROPERTY});
    replaceIf(!sjis::sameCharacters(entry->todo.memo, edit.todo.memo), {ICAL_DESCRIPTION_PROPERTY});
    if (changed)
        raiseSequence(target);
    c.changed = c.changed || changed;
    return true;
}

bool holdsJapanZone(icalcomponent* calendar)
{
    for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_VTIMEZONE_COMPONENT); c;
         c = icalcomponent_get_next_component(calendar, ICAL_VTIMEZONE_COMPONENT)) {
        icalproperty* tzid = icalcomponent_get_first_property(c, ICAL_TZID_PROPERTY);
        if (tzid && icalproperty_get_tzid(tzid) && std::string_view(icalproperty_get_tzid(tzid)) == ical::kJapanTzid)
            return true;
    }
    return false;
}

bool sameDays(const IcalEventItem& a, const IcalEventItem& b)
{
    return std::equal(a.days.begin(), a.days.end(), b.days.begin(), b.days.end(),
                      [](const ImportedSchedule& x, const ImportedSchedule& y) {
                          return x.date == y.date && serverRecordLine(x) == serverRecordLine(y);
                      });
}

// libical writes some damaged values in a form that reads otherwise (a zone name with control
// characters may come back as a zone it knows), which would move every occurrence. So the text is
// read back: each edited event or occurrence still under its name (a removed one gone, one
// moved out of the window not asked for), every other one as it was, the ToDo entries all there.
bool readsBackAsEdited(const ServerItem& item, const std::string& text, const std::vector<EventEdit>& edits)
{
    const ServerItem back = readServerItem(item.href, item.etag, text, item.window, item.today, item.kinds);
    if (!back.readable || back.entries.todos.size() != item.entries.todos.size())
        return false;
    for (const IcalEventItem& before : item.entries.events) {
        const IcalEventItem* after = entryOf(back, before.uid, before.recurrenceId);
        const auto edit = std::find_if(edits.begin(), edits.end(), [&](const EventEdit& e) {
            return e.uid == before.uid && e.recurrenceId == before.recurrenceId;
        });
        if (edit == edits.end()) {
            if (!after || !sameDays(*after, before))
                return false;
        } else if (!edit->record ? after != nullptr : !after && item.window.contains(recordDate(*edit->record))) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> editedItem(const ServerItem& item, const std::vector<EventEdit>& events,
                                      const std::optional<TodoEdit>& todo, int alarmMinutes)
{
    icalerror_set_errors_are_fatal(0);
    Component root(icalparser_parse_string(item.icalendar.c_str()));
    if (!root || icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT)
        return std::nullopt;
    EditContext context{root.get(), item, alarmMinutes};
    for (const EventEdit& edit : events)
        if (!applyEventEdit(context, edit))
            return std::nullopt;
    if (todo && !applyTodoEdit(context, *todo))
        return std::nullopt;
    if (!context.changed)
        return item.icalendar;
    if (context.japanTimes && !holdsJapanZone(root.get()))
        icalcomponent_add_component(root.get(), japanTimezone().release());
    std::string text = ical::textOf(root.get());
    if (!readsBackAsEdited(item, text, events))
        return std::nullopt;
    return text;
}

std::string newEventItem(const IcalEvent& record, int alarmMinutes)
{
    std::vector<Component> components;
    components.push_back(eventOf(record, alarmMinutes));
    return ical::textOf(calendarOf(std::move(components)).get());
}

std::string newTodoItem(const IcalTodo& todo)
{
    std::vector<Component> components;
    components.push_back(todoOf(todo));
    return ical::textOf(calendarOf(std::move(components)).get());
}

} // namespace kal
