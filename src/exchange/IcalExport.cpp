#include "exchange/IcalExport.h"

#include "exchange/IcalSupport.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoMemo.h"
#include "todo/TodoRecord.h"
#include "todo/TodoStore.h"

#include <cstdint>
#include <map>

namespace kal {
namespace {

using ical::Component;

// FNV-1a: the same content gives the same UID on every machine and in every run.
std::uint64_t contentHash(const std::string& content)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : content) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Identical records are told apart by how many came before them.
class UidMaker {
public:
    std::string operator()(const std::string& content)
    {
        const int seen = seen_[content]++;
        static const char digits[] = "0123456789abcdef";
        std::string hex(16, '0');
        std::uint64_t hash = contentHash(content);
        for (int i = 15; i >= 0; --i, hash >>= 4)
            hex[static_cast<std::size_t>(i)] = digits[hash & 15];
        return hex + "-" + std::to_string(seen) + "@kalendra";
    }

private:
    std::map<std::string, int> seen_;
};

// Midnight of a day in Japan as UTC, which DTSTAMP and COMPLETED require.
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

// The zone of every exported time, under the name the files use.
Component japanTimezone()
{
    Component zone(icalcomponent_new_clone(icaltimezone_get_component(ical::japanZone())));
    icalproperty_set_tzid(icalcomponent_get_first_property(zone.get(), ICAL_TZID_PROPERTY), ical::kJapanTzid);
    return zone;
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

// False when the record names no real day.
bool addEvent(icalcomponent* calendar, const MonthRecord& record, int alarmMinutes, UidMaker& uid)
{
    const std::string& line = record.line;
    if (!IsScheduleRecord(line) || RecDay(line) > daysInMonth(record.year, record.month))
        return false;
    const Date date{record.year, record.month, RecDay(line)};
    icalcomponent* event = icalcomponent_new_vevent();
    icalcomponent_add_property(event,
                               icalproperty_new_uid(uid(std::to_string(toDayNumber(date)) + "E" + line).c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(japanMidnightUtc(date)));
    const std::optional<int> start = ical::minuteOfDay(text::trimRight(RecStart(line)));
    const std::optional<int> end = ical::minuteOfDay(text::trimRight(RecEnd(line)));
    if (start) {
        icalcomponent_add_property(event, japanTime(icalproperty_new_dtstart(ical::dateTimeValue(date, *start))));
        if (end && *end >= *start)
            icalcomponent_add_property(event, japanTime(icalproperty_new_dtend(ical::dateTimeValue(date, *end))));
    } else {
        icalcomponent_add_property(event, icalproperty_new_dtstart(ical::dateValue(date)));
        icalcomponent_add_property(event, icalproperty_new_dtend(ical::dateValue(addDays(date, 1))));
    }
    addText(event, icalproperty_new_summary, RecTitle(line));
    addText(event, icalproperty_new_location, RecPlace(line));
    addText(event, icalproperty_new_categories, RecCategory(line));
    // The alarm rings only for a start time; an all-day record has none to ring before.
    if (start && RecSound(line))
        addAlarm(event, ICAL_ACTION_AUDIO, RecTitle(line), alarmMinutes);
    if (start && RecMessage(line))
        addAlarm(event, ICAL_ACTION_DISPLAY, RecTitle(line), alarmMinutes);
    icalcomponent_add_component(calendar, event);
    return true;
}

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

bool addTodo(icalcomponent* calendar, const IcalTodo& todo, UidMaker& uid)
{
    const std::optional<TodoFields> fields = ParseTodo(todo.line);
    if (!fields)
        return false;
    icalcomponent* component = icalcomponent_new_vtodo();
    icalcomponent_add_property(component, icalproperty_new_uid(uid("T" + todo.line).c_str()));
    icalcomponent_add_property(component,
                               icalproperty_new_dtstamp(japanMidnightUtc(fields->deadline.value_or(fields->doneDate))));
    addText(component, icalproperty_new_summary, fields->title);
    if (fields->deadline)
        icalcomponent_add_property(component, icalproperty_new_due(ical::dateValue(*fields->deadline)));
    icalcomponent_add_property(component, icalproperty_new_priority(icalPriorityOf(fields->priority)));
    icalcomponent_add_property(component, icalproperty_new_percentcomplete(fields->progress * 10));
    icalcomponent_add_property(component, icalproperty_new_status(todoStatus(*fields)));
    if (fields->done)
        icalcomponent_add_property(component, icalproperty_new_completed(japanMidnightUtc(fields->doneDate)));
    if (!todo.memo.empty())
        icalcomponent_add_property(component, icalproperty_new_description(sjis::toUtf8(memoText(todo.memo)).c_str()));
    addText(component, icalproperty_new_categories, fields->category);
    icalcomponent_add_component(calendar, component);
    return true;
}

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
    Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Kalendra//Kalendra//JA"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    icalcomponent_add_component(calendar.get(), japanTimezone().release());
    UidMaker uid;
    for (const MonthRecord& record : data.records)
        addEvent(calendar.get(), record, data.alarmMinutes, uid);
    for (const IcalTodo& todo : data.todos)
        addTodo(calendar.get(), todo, uid);
    return ical::textOf(calendar.get());
}

IcalExportResult loadIcalExportData(const IcalExportRequest& request, IcalExportData& data)
{
    IcalExportResult result;
    data.alarmMinutes = request.alarmMinutes;
    for (int year = request.from.year, month = request.from.month;
         year < request.to.year || (year == request.to.year && month <= request.to.month); nextMonth(year, month)) {
        const std::string path = MonthFilePath(request.dataPath, year, month);
        files::LoadForUpdate loaded = files::loadLinesForUpdate(path);
        if (!loaded.ok)
            return failure("「" + path + "」を読み込めません。\r\n" + loaded.reason);
        for (std::string& line : loaded.lines) {
            const Date date{year, month, RecDay(line)};
            if (IsScheduleRecord(line) && date.day <= daysInMonth(year, month) && date >= request.from &&
                date <= request.to)
                data.records.push_back(MonthRecord{year, month, std::move(line)});
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
    for (std::string& line : todos.lines) {
        if (!IsTodoRecord(line))
            continue;
        IcalTodo todo{std::move(line), {}};
        if (const int at = FindTodoMemo(memos.lines, TodoMemoNumber(todo.line)); at >= 0)
            todo.memo = ParseTodoMemo(memos.lines[static_cast<std::size_t>(at)]).lines;
        data.todos.push_back(std::move(todo));
    }
    result.todos = static_cast<int>(data.todos.size());
    return result;
}

IcalExportResult exportIcal(const IcalExportRequest& request, const std::string& icsPath, files::FileOps& ops)
{
    IcalExportData data;
    IcalExportResult result = loadIcalExportData(request, data);
    if (!result.ok)
        return result;
    if (files::IoResult saved = files::saveBytesWithin(icsPath, composeIcalendar(data), ical::kMaxIcsFileBytes, ops);
        !saved)
        return failure("「" + icsPath + "」を保存できません。\r\n" + saved.reason);
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
