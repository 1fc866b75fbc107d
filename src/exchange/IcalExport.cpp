#include "exchange/IcalExport.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/NumberFormat.h"
#include "platform/RecordFollower.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoMemo.h"
#include "todo/TodoRecord.h"
#include "todo/TodoStore.h"

#include <map>

namespace kal {
namespace {

using ical::Component;

// Midnight of a day in Japan as UTC, which COMPLETED requires.
icaltimetype japanMidnightUtc(const Date& date)
{
    icaltimetype midnight = ical::dateTimeValue(date, 0);
    midnight.zone = ical::japanZone();
    return icaltime_convert_to_zone(midnight, icaltimezone_get_utc_timezone());
}

icalproperty* japanTime(icalproperty* property)
{
    icalproperty_add_parameter(property, icalparameter_new_tzid(ical::kJapanTzid));
    return property;
}

void addText(icalcomponent* component, icalproperty* (*make)(const char*), const std::string& sjisText)
{
    const std::string trimmed = text::trimRight(sjisText);
    if (!trimmed.empty())
        icalcomponent_add_property(component, make(sjis::toUtf8(trimmed).c_str()));
}

void addAlarm(icalcomponent* event, icalproperty_action action, const std::string& title, int minutes)
{
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(action));
    icaltriggertype trigger{};
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-minutes * 60);
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    if (action == ICAL_ACTION_DISPLAY)
        icalcomponent_add_property(alarm, icalproperty_new_description(sjis::toUtf8(title).c_str()));
    icalcomponent_add_component(event, alarm);
}

void addIdentity(icalcomponent* component, const std::string& uid, int sequence)
{
    if (uid.empty())
        return;
    icalcomponent_add_property(component, icalproperty_new_uid(uid.c_str()));
    icalcomponent_add_property(component, icalproperty_new_sequence(sequence));
}

void addStamp(icalcomponent* component, const std::optional<DateTime>& stamp)
{
    icalcomponent_add_property(component, icalproperty_new_dtstamp(ical::utcValue(stamp.value_or(ical::utcNow()))));
}

icaltimetype dayAfterIf(bool next, const Date& date, int minute)
{
    return ical::dateTimeValue(next ? addDays(date, 1) : date, minute);
}

// DTSTART and DTEND of a record; whether it has a start time to ring an alarm before.
bool addTimes(icalcomponent* event, const Date& date, const std::string& line)
{
    const std::string startText = text::trimRight(RecStart(line));
    const std::optional<int> start = ical::minuteOfDay(startText);
    const std::optional<int> end = ical::minuteOfDay(text::trimRight(RecEnd(line)));
    if (startText.empty() && end) {
        // Only an end: from the start of the day, marked so that it reads back without a start.
        icalcomponent_add_property(event, japanTime(icalproperty_new_dtstart(ical::dateTimeValue(date, 0))));
        icalcomponent_add_property(event, japanTime(icalproperty_new_dtend(ical::dateTimeValue(date, *end))));
        icalproperty* mark = icalproperty_new_x("TRUE");
        icalproperty_set_x_name(mark, ical::kNoStartProperty);
        icalcomponent_add_property(event, mark);
        return false;
    }
    if (!start) {
        icalcomponent_add_property(event, icalproperty_new_dtstart(ical::dateValue(date)));
        icalcomponent_add_property(event, icalproperty_new_dtend(ical::dateValue(addDays(date, 1))));
        return false;
    }
    icalcomponent_add_property(event, japanTime(icalproperty_new_dtstart(ical::dateTimeValue(date, *start))));
    // An end before the start is after midnight: 23:00 to 01:00.
    if (end)
        icalcomponent_add_property(event, japanTime(icalproperty_new_dtend(dayAfterIf(*end < *start, date, *end))));
    return true;
}

} // namespace

ical::Component japanTimezone()
{
    Component zone(icalcomponent_new_clone(icaltimezone_get_component(ical::japanZone())));
    icalproperty_set_tzid(icalcomponent_get_first_property(zone.get(), ICAL_TZID_PROPERTY), ical::kJapanTzid);
    return zone;
}

ical::Component eventOf(const IcalEvent& record, int alarmMinutes, const std::optional<DateTime>& stamp)
{
    const std::string& line = record.line;
    if (!IsScheduleRecord(line) || RecDay(line) > daysInMonth(record.year, record.month))
        return nullptr;
    const Date date{record.year, record.month, RecDay(line)};
    Component event(icalcomponent_new_vevent());
    addIdentity(event.get(), record.uid, record.sequence);
    addStamp(event.get(), stamp);
    const bool timed = addTimes(event.get(), date, line);
    addText(event.get(), icalproperty_new_summary, RecTitle(line));
    addText(event.get(), icalproperty_new_location, RecPlace(line));
    addText(event.get(), icalproperty_new_categories, RecCategory(line));
    // The alarm rings only before a start time.
    if (timed && RecSound(line))
        addAlarm(event.get(), ICAL_ACTION_AUDIO, RecTitle(line), alarmMinutes);
    if (timed && RecMessage(line))
        addAlarm(event.get(), ICAL_ACTION_DISPLAY, RecTitle(line), alarmMinutes);
    return event;
}

namespace {

// Ａ..Ｄ on the 1 (highest) to 9 scale; the import reads the ranges back.
int icalPriorityOf(int priority)
{
    return 1 + 2 * priority;
}

icalproperty_status todoStatus(const TodoFields& fields)
{
    if (fields.done)
        return ICAL_STATUS_COMPLETED;
    return fields.progress > 0 ? ICAL_STATUS_INPROCESS : ICAL_STATUS_NEEDSACTION;
}

std::string memoText(const std::vector<std::string>& memo)
{
    std::string out;
    for (std::size_t i = 0; i < memo.size(); ++i)
        out += (i > 0 ? "\n" : "") + memo[i];
    return out;
}

} // namespace

ical::Component todoOf(const IcalTodo& todo, const std::optional<DateTime>& stamp)
{
    const std::optional<TodoFields> fields = ParseTodo(todo.line);
    if (!fields)
        return nullptr;
    Component component(icalcomponent_new_vtodo());
    icalcomponent* c = component.get();
    addIdentity(c, todo.uid, todo.sequence);
    addStamp(c, stamp);
    addText(c, icalproperty_new_summary, fields->title);
    if (fields->deadline)
        icalcomponent_add_property(c, icalproperty_new_due(ical::dateValue(*fields->deadline)));
    icalcomponent_add_property(c, icalproperty_new_priority(icalPriorityOf(fields->priority)));
    icalcomponent_add_property(c, icalproperty_new_percentcomplete(fields->progress * 10));
    icalcomponent_add_property(c, icalproperty_new_status(todoStatus(*fields)));
    if (fields->done)
        icalcomponent_add_property(c, icalproperty_new_completed(japanMidnightUtc(fields->doneDate)));
    if (!todo.memo.empty())
        icalcomponent_add_property(c, icalproperty_new_description(sjis::toUtf8(memoText(todo.memo)).c_str()));
    addText(c, icalproperty_new_categories, fields->category);
    return component;
}

ical::Component calendarOf(std::vector<ical::Component> components)
{
    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Kalendra//Kalendra//JA"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_component(calendar.get(), japanTimezone().release());
    for (Component& component : components)
        if (component)
            icalcomponent_add_component(calendar.get(), component.release());
    return calendar;
}

namespace {

IcalExportResult failure(std::string message)
{
    IcalExportResult result;
    result.ok = false;
    result.message = std::move(message);
    return result;
}

std::string ymd(const Date& date)
{
    return text::formatInt(date.year, 4, '0') + text::formatInt(date.month, 2, '0') + text::formatInt(date.day, 2, '0');
}

} // namespace

std::string composeIcalendar(const IcalExportData& data)
{
    // One time for the whole file.
    const DateTime stamp = data.stamp.value_or(ical::utcNow());
    std::vector<Component> components;
    for (const IcalEvent& record : data.records)
        components.push_back(eventOf(record, data.alarmMinutes, stamp));
    for (const IcalTodo& todo : data.todos)
        components.push_back(todoOf(todo, stamp));
    return ical::textOf(calendarOf(std::move(components)).get());
}

namespace {

// The identity of the record at `key`, made now when it has none yet.
const RecordIdentity& identityFor(IdentityTable& identities, RecordKey key)
{
    if (const RecordIdentity* known = identities.find(key))
        return *known;
    RecordIdentity made;
    made.uid = newUid();
    made.key = std::move(key);
    return identities.add(std::move(made));
}

// Counts the identical lines of one file as they come.
class Occurrences {
public:
    int next(const std::string& line) { return seen_[line]++; }

private:
    std::map<std::string, int> seen_;
};

} // namespace

IcalExportResult loadIcalExportData(const IcalExportRequest& request, IcalExportData& data, IdentityTable& identities)
{
    IcalExportResult result;
    data.alarmMinutes = request.alarmMinutes;
    for (int year = request.from.year, month = request.from.month;
         year < request.to.year || (year == request.to.year && month <= request.to.month); nextMonth(year, month)) {
        const std::string path = MonthFilePath(request.dataPath, year, month);
        files::LoadForUpdate loaded = files::loadLinesForUpdate(path);
        if (!loaded.ok)
            return failure("「" + path + "」を読み込めません。\r\n" + loaded.reason);
        Occurrences occurrences;
        for (std::string& line : loaded.lines) {
            const int occurrence = occurrences.next(line);
            const Date date{year, month, RecDay(line)};
            if (!IsScheduleRecord(line) || date.day > daysInMonth(year, month) || date < request.from ||
                date > request.to)
                continue;
            const RecordIdentity& id = identityFor(identities, {MonthFileName(year, month), occurrence, line});
            data.records.push_back(IcalEvent{year, month, std::move(line), id.uid, id.sequence});
        }
    }
    result.events = static_cast<int>(data.records.size());
    if (!request.withTodos)
        return result;
    const std::string todoFile = TodoFilePath(request.todoPath), memoFile = TodoMemoFilePath(request.todoPath);
    files::LoadForUpdate todos = files::loadLinesForUpdate(todoFile);
    if (!todos.ok)
        return failure("「" + todoFile + "」を読み込めません。\r\n" + todos.reason);
    files::LoadForUpdate memos = files::loadLinesForUpdate(memoFile);
    if (!memos.ok)
        return failure("「" + memoFile + "」を読み込めません。\r\n" + memos.reason);
    Occurrences occurrences;
    for (std::string& line : todos.lines) {
        const int occurrence = occurrences.next(line);
        if (!IsTodoRecord(line))
            continue;
        const RecordIdentity& id = identityFor(identities, {kTodoFileName, occurrence, line});
        IcalTodo todo{std::move(line), {}, id.uid, id.sequence};
        if (const int at = FindTodoMemo(memos.lines, TodoMemoNumber(todo.line)); at >= 0)
            todo.memo = ParseTodoMemo(memos.lines[static_cast<std::size_t>(at)]).lines;
        data.todos.push_back(std::move(todo));
    }
    result.todos = static_cast<int>(data.todos.size());
    return result;
}

IcalExportResult exportIcal(const IcalExportRequest& request, const std::string& icsPath, files::FileOps& ops)
{
    // The UIDs handed out are read and kept under the program folder's lock.
    files::FolderLock lock = files::lockFolder(request.programFolder);
    if (!lock)
        return failure(lock.reason());
    if (const files::IoResult split = splitIdentityFile(request.programFolder, ops); !split)
        return failure(split.reason);
    IdentityFile identities = loadIdentities(request.programFolder);
    if (!identities.ok)
        return failure(identities.reason);
    IcalExportData data;
    IcalExportResult result = loadIcalExportData(request, data, identities.table);
    if (!result.ok)
        return result;
    const IdentityChange kept = identityChange(request.programFolder, identities.table);
    if (!kept.result)
        return failure(kept.result.reason);
    // The identities first, so that no file goes out under UIDs that are not kept; the .ics
    // alone after them, as a file of its own size limit.
    std::vector<files::FolderChanges> folders;
    if (!kept.changes.empty())
        folders.push_back({files::folderOf(kept.changes.front().path), kept.changes});
    files::FileChange ics{icsPath, composeIcalendar(data), ical::kMaxIcsFileBytes};
    folders.push_back({files::folderOf(icsPath), {std::move(ics)}});
    if (const files::InTurnResult saved = files::writeInTurn(folders, ops); !saved.result)
        return failure(saved.result.reason);
    result.message = text::formatThousands(result.events) + " 件のスケジュールデータと " +
                     text::formatThousands(result.todos) + " 件のToDoを保存しました。";
    return result;
}

std::string icalFileName(const Date& from, const Date& to)
{
    if (from.year == to.year && from.month == to.month && from.day == 1 && to.day == daysInMonth(to.year, to.month))
        return ymd(from).substr(0, 6) + ".ics";
    return ymd(from) + "-" + ymd(to) + ".ics";
}

} // namespace kal
