#include "exchange/IcalImport.h"

#include "calendar/CalendarMath.h"
#include "exchange/IcalSupport.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoMemo.h"

#include <algorithm>
#include <map>

namespace kal {
namespace {

using ical::Component;

// Bounds that keep a hostile or careless file from filling the disk with records.
constexpr int kMaxEventDays = kIcalMaxEventDays;
// Steps a rule may take before its occurrences reach the period.
constexpr int kMaxRuleSteps = 100000;
constexpr int kMemoLinesPerTodo = 1000;

// Texts as the records hold them: Shift-JIS, one line, cut to their field and counted.
class TextReader {
public:
    explicit TextReader(IcalTextCounts& counts) : counts_(counts) { }

    std::string line(const char* utf8)
    {
        std::string clean = utf8 ? utf8 : "";
        // A line break or tab inside a title would break the record's line.
        for (char& c : clean)
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                c = ' ';
        return sjis::fromUtf8Substituting(clean, KAL_SJIS("〓"), &counts_.replaced);
    }

    std::string field(const char* utf8, std::size_t width)
    {
        std::string value = text::trimRight(line(utf8));
        if (value.size() > width) {
            ++counts_.cut;
            value = text::cutBytes(value, width);
        }
        return value;
    }

    // The first category of the component as libical lists them (a comma inside a name stays),
    // cut to the table's width as every import does.
    std::string category(icalcomponent* component)
    {
        icalproperty* property = icalcomponent_get_first_property(component, ICAL_CATEGORIES_PROPERTY);
        if (!property)
            return {};
        return text::trimRight(text::padCut(line(icalproperty_get_categories(property)), kTodoCategoryBytes));
    }

private:
    IcalTextCounts& counts_;
};

// A real day the calendar shows; a file may carry "20260300" or a year far off.
bool usableDate(const Date& date)
{
    return isValidDate(date.year, date.month, date.day) && date.year >= kFirstYear && date.year <= kLastYear;
}

// A time of the file in Japan time; `minute` is empty for a date.
struct JapanTime {
    Date date;
    std::optional<int> minute;
};

JapanTime japanTime(const icaltimetype& time)
{
    // A damaged value ("20260015", "T509300") names no day; libical would roll it over.
    if (!isValidDate(time.year, time.month, time.day) ||
        (!time.is_date && (time.hour < 0 || time.hour > 23 || time.minute < 0 || time.minute > 59)))
        return {Date{0, 0, 0}, std::nullopt};
    if (time.is_date)
        return {ical::dateOf(time), std::nullopt};
    // A floating time is already the user's local time.
    const icaltimetype japan = icaltime_convert_to_zone(time, ical::japanZone());
    return {ical::dateOf(japan), japan.hour * 60 + japan.minute};
}

bool hasNoStartMark(icalcomponent* event)
{
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_X_PROPERTY))
        if (const char* name = icalproperty_get_x_name(p); name && std::string_view(name) == ical::kNoStartProperty)
            return true;
    return false;
}

struct EventTexts {
    std::string title, place, category;
    bool sound = false, message = false;
    bool noStart = false; // exported from a record with only an end time
};

EventTexts eventTexts(icalcomponent* event, TextReader& texts)
{
    EventTexts out;
    out.noStart = hasNoStartMark(event);
    out.title = texts.field(icalcomponent_get_summary(event), kRecTextBytes);
    out.place = texts.field(icalcomponent_get_location(event), kRecTextBytes);
    out.category = texts.category(event);
    for (icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT); alarm;
         alarm = icalcomponent_get_next_component(event, ICAL_VALARM_COMPONENT)) {
        icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
        if (!action)
            continue;
        // The input dialog keeps the message on whenever the sound is on.
        if (icalproperty_get_action(action) == ICAL_ACTION_AUDIO)
            out.sound = out.message = true;
        else if (icalproperty_get_action(action) == ICAL_ACTION_DISPLAY)
            out.message = true;
    }
    return out;
}

void addDay(std::vector<ImportedSchedule>& out, const EventTexts& texts, const Date& date, std::string start,
            std::string end)
{
    if (!usableDate(date))
        return;
    out.push_back(ImportedSchedule{date, std::move(start), std::move(end), texts.title, texts.place, texts.category,
                                   texts.sound, texts.message});
}

// An event from D hh:mm to D+1 hh:mm, shorter than a day: one record "hh:mm-hh:mm" on D, as the
// export writes such a record.
bool overnight(const JapanTime& from, const JapanTime& to)
{
    return to.date == addDays(from.date, 1) && *to.minute < *from.minute;
}

// One occurrence: a record on each of its days, the start time on the first and the end time on
// the last; an end at midnight ends the day before. True when the span was cut.
bool addOccurrence(std::vector<ImportedSchedule>& out, const EventTexts& texts, const icaltimetype& start,
                   const icaltimetype& end)
{
    const JapanTime from = japanTime(start);
    if (!usableDate(from.date))
        return false;
    const bool hasEnd = !icaltime_is_null_time(end);
    if (!from.minute) {
        Date last = from.date;
        if (hasEnd && end.is_date && usableDate(ical::dateOf(end)) && ical::dateOf(end) > from.date)
            last = addDays(ical::dateOf(end), -1);
        const bool cut = daysBetween(from.date, last) >= kMaxEventDays;
        last = std::min(last, addDays(from.date, kMaxEventDays - 1));
        for (Date day = from.date; day <= last; day = addDays(day, 1))
            addDay(out, texts, day, "", "");
        return cut;
    }
    const std::string startText = texts.noStart && *from.minute == 0 ? "" : ical::hhmmOf(*from.minute);
    const JapanTime to = hasEnd ? japanTime(end) : JapanTime{};
    if (!hasEnd || !to.minute || !usableDate(to.date) || to.date < from.date ||
        (to.date == from.date && *to.minute < *from.minute)) {
        addDay(out, texts, from.date, startText, "");
        return false;
    }
    if (to.date == from.date || overnight(from, to)) {
        addDay(out, texts, from.date, startText, ical::hhmmOf(*to.minute));
        return false;
    }
    Date last = to.date;
    std::string lastEnd = ical::hhmmOf(*to.minute);
    if (*to.minute == 0) {
        last = addDays(last, -1);
        lastEnd.clear();
    }
    const bool cut = daysBetween(from.date, last) >= kMaxEventDays;
    if (cut) {
        last = addDays(from.date, kMaxEventDays - 1);
        lastEnd.clear();
    }
    for (Date day = from.date; day <= last; day = addDays(day, 1))
        addDay(out, texts, day, day == from.date ? startText : "", day == last ? lastEnd : "");
    return cut;
}

// A file may write a time out of range ("T100080"); libical compares the fields as written, so
// both are normalized first, as a RECURRENCE-ID written back for that time is.
bool sameInstant(icaltimetype occurrence, icaltimetype listed)
{
    occurrence = icaltime_normalize(occurrence);
    listed = icaltime_normalize(listed);
    if (listed.is_date || occurrence.is_date)
        return occurrence.year == listed.year && occurrence.month == listed.month && occurrence.day == listed.day;
    return icaltime_compare(occurrence, listed) == 0;
}

bool listed(const icaltimetype& time, const std::vector<icaltimetype>& times)
{
    return std::any_of(times.begin(), times.end(), [&](const icaltimetype& t) { return sameInstant(time, t); });
}

std::vector<icaltimetype> propertyTimes(icalcomponent* component, icalproperty_kind kind)
{
    std::vector<icaltimetype> times;
    for (icalproperty* p = icalcomponent_get_first_property(component, kind); p;
         p = icalcomponent_get_next_property(component, kind)) {
        const icaltimetype time = icalproperty_get_datetime_with_component(p, component);
        if (!icaltime_is_null_time(time))
            times.push_back(time);
    }
    return times;
}

struct Period {
    Date from, to;
    bool contains(const icaltimetype& time) const
    {
        const Date date = japanTime(time).date;
        return date >= from && date <= to;
    }
    std::size_t occurrenceCap() const { return static_cast<std::size_t>(icalOccurrenceCap(from, to)); }
};

// The start of the period in the zone of the event's start, a day early for the zones' sake.
icaltimetype periodStartFor(const icaltimetype& dtstart, const Date& from)
{
    const Date dayBefore = addDays(from, -1);
    if (dtstart.is_date)
        return ical::dateValue(dayBefore);
    icaltimetype start = ical::dateTimeValue(dayBefore, 0);
    if (!dtstart.zone)
        return start;
    start.zone = ical::japanZone();
    return icaltime_convert_to_zone(start, const_cast<icaltimezone*>(dtstart.zone));
}

// False when the rules gave more occurrences than the cap, or took too many steps to end.
bool addRuleOccurrences(icalcomponent* event, const icaltimetype& dtstart, const Period& period,
                        std::vector<icaltimetype>& out)
{
    bool whole = true;
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(p);
        icalrecur_iterator* it = icalrecur_iterator_new(rule, dtstart);
        if (!it)
            continue;
        // Rules finer than a day would take too many steps to reach the period from afar.
        if (rule.count == 0 && rule.freq <= ICAL_HOURLY_RECURRENCE && rule.freq != ICAL_NO_RECURRENCE)
            icalrecur_iterator_set_start(it, periodStartFor(dtstart, period.from));
        const int maxSteps = kMaxRuleSteps + static_cast<int>(period.occurrenceCap());
        int step = 0;
        for (; step < maxSteps; ++step) {
            icaltimetype next = icalrecur_iterator_next(it);
            if (icaltime_is_null_time(next))
                break;
            next.zone = dtstart.zone;
            if (japanTime(next).date > period.to)
                break;
            if (!period.contains(next))
                continue;
            // One over the cap: the start itself may come twice, once as DTSTART.
            if (out.size() > period.occurrenceCap()) {
                whole = false;
                break;
            }
            out.push_back(next);
        }
        whole = whole && step < maxSteps;
        icalrecur_iterator_free(it);
    }
    return whole;
}

struct Occurrences {
    std::vector<icaltimetype> starts;
    bool cut = false;
};

// The starts of a recurring event's occurrences in the period, without the excluded ones and
// those a separate component replaces.
Occurrences occurrenceStarts(icalcomponent* event, const icaltimetype& dtstart, const Period& period,
                             const std::vector<icaltimetype>& replaced)
{
    std::vector<icaltimetype> starts;
    if (period.contains(dtstart))
        starts.push_back(dtstart);
    Occurrences out;
    out.cut = !addRuleOccurrences(event, dtstart, period, starts);
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
        icaltimetype time = icalproperty_get_rdate(p).time;
        if (icaltime_is_null_time(time))
            time = icalproperty_get_rdate(p).period.start;
        if (!time.is_date && !time.zone)
            time.zone = dtstart.zone;
        if (!icaltime_is_null_time(time) && period.contains(time))
            starts.push_back(time);
    }
    const std::vector<icaltimetype> excluded = propertyTimes(event, ICAL_EXDATE_PROPERTY);
    for (const icaltimetype& start : starts)
        if (!listed(start, excluded) && !listed(start, replaced) && !listed(start, out.starts))
            out.starts.push_back(start);
    std::sort(out.starts.begin(), out.starts.end(),
              [](const icaltimetype& a, const icaltimetype& b) { return icaltime_compare(a, b) < 0; });
    if (out.starts.size() > period.occurrenceCap()) {
        out.starts.resize(period.occurrenceCap());
        out.cut = true;
    }
    return out;
}

bool isRecurring(icalcomponent* event)
{
    return icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
           icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
}

// The end the event states; libical would make up one equal to the start.
icaltimetype eventEnd(icalcomponent* event)
{
    if (!icalcomponent_get_first_property(event, ICAL_DTEND_PROPERTY) &&
        !icalcomponent_get_first_property(event, ICAL_DURATION_PROPERTY))
        return icaltime_null_time();
    return icalcomponent_get_dtend(event);
}

// RECURRENCE-ID of the components that replace one occurrence, by UID.
using Replacements = std::map<std::string, std::vector<icaltimetype>>;

std::string uidOf(icalcomponent* component)
{
    const char* uid = icalcomponent_get_uid(component);
    return uid ? uid : "";
}

int sequenceOf(icalcomponent* component)
{
    icalproperty* sequence = icalcomponent_get_first_property(component, ICAL_SEQUENCE_PROPERTY);
    return sequence ? std::max(0, icalproperty_get_sequence(sequence)) : 0;
}

// A time in a zone that neither the file nor libical knows is read as Japan time.
bool unknownZone(icalcomponent* component)
{
    for (icalproperty_kind kind :
         {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_DUE_PROPERTY, ICAL_RECURRENCEID_PROPERTY})
        for (icalproperty* p = icalcomponent_get_first_property(component, kind); p;
             p = icalcomponent_get_next_property(component, kind))
            if (icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER) &&
                !icalproperty_get_datetime_with_component(p, component).zone)
                return true;
    return false;
}

// A description (unless it becomes the ToDo's memo), a web address or attendees: the records
// have no field for them.
bool unmappedFields(icalcomponent* component, bool descriptionHasField)
{
    for (icalproperty_kind kind : {ICAL_DESCRIPTION_PROPERTY, ICAL_URL_PROPERTY, ICAL_ATTENDEE_PROPERTY})
        if ((kind != ICAL_DESCRIPTION_PROPERTY || !descriptionHasField) &&
            icalcomponent_get_first_property(component, kind))
            return true;
    return false;
}

// What reading one text collects.
struct Reading {
    Period period;
    Date today;
    IcalEntries& entries;
    TextReader texts;
};

void addSingle(icalcomponent* event, IcalEventItem item, const icaltimetype& start, const icaltimetype& end, Reading& r)
{
    if (icalproperty* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
        if (!r.period.contains(start))
            return;
        item.recurrenceId = ical::recurrenceIdText(icalproperty_get_datetime_with_component(id, event));
    }
    r.entries.skips.spansCut += addOccurrence(item.days, eventTexts(event, r.texts), start, end);
    if (!item.days.empty())
        r.entries.events.push_back(std::move(item));
}

void addEvent(icalcomponent* event, const Replacements& replacements, Reading& r)
{
    IcalSkips& skips = r.entries.skips;
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED) {
        ++skips.cancelled;
        return;
    }
    const icaltimetype start = icalcomponent_get_dtstart(event);
    if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start)) {
        ++skips.withoutStart;
        return;
    }
    skips.unknownZones += unknownZone(event);
    skips.unmapped += unmappedFields(event, false);
    const icaltimetype end = eventEnd(event);
    const IcalEventItem item{uidOf(event), sequenceOf(event), {}, {}};
    if (!isRecurring(event) || icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY)) {
        addSingle(event, item, start, end, r);
        return;
    }
    const auto replaced = replacements.find(item.uid);
    const Occurrences found = occurrenceStarts(
        event, start, r.period, replaced == replacements.end() ? std::vector<icaltimetype>{} : replaced->second);
    skips.occurrencesCut += found.cut;
    if (found.starts.empty())
        return;
    const EventTexts eventText = eventTexts(event, r.texts);
    const bool hasEnd = !icaltime_is_null_time(end);
    const icaldurationtype length = hasEnd ? icaltime_subtract(end, start) : icaldurationtype_null_duration();
    bool cut = false;
    for (const icaltimetype& occurrence : found.starts) {
        IcalEventItem one{item.uid, item.sequence, ical::recurrenceIdText(occurrence), {}};
        cut = addOccurrence(one.days, eventText, occurrence,
                            hasEnd ? icaltime_add(occurrence, length) : icaltime_null_time()) ||
              cut;
        if (!one.days.empty())
            r.entries.events.push_back(std::move(one));
    }
    skips.spansCut += cut;
}

// The 1 (highest) to 9 scale onto Ａ..Ｄ; 0 (undefined) takes the input dialog's default.
int priorityOf(int icalPriority)
{
    if (icalPriority <= 0 || icalPriority > 9)
        return TodoFields{}.priority;
    return std::min((icalPriority - 1) / 2, kTodoMaxPriority);
}

std::vector<std::string> memoLines(const char* description, TextReader& texts)
{
    std::vector<std::string> lines;
    for (const std::string& line : MemoLinesOfText(description ? description : ""))
        if (static_cast<int>(lines.size()) < kMemoLinesPerTodo)
            lines.push_back(texts.line(line.c_str()));
    return lines;
}

ImportedTodo todoOf(icalcomponent* component, const Date& today, TextReader& texts)
{
    ImportedTodo todo;
    TodoFields& f = todo.fields;
    f.title = texts.field(icalcomponent_get_summary(component), kTodoTitleBytes);
    const icaltimetype due = icalcomponent_get_due(component);
    if (!icaltime_is_null_time(due) && usableDate(japanTime(due).date))
        f.deadline = japanTime(due).date;
    if (icalproperty* p = icalcomponent_get_first_property(component, ICAL_PRIORITY_PROPERTY))
        f.priority = priorityOf(icalproperty_get_priority(p));
    if (icalproperty* p = icalcomponent_get_first_property(component, ICAL_PERCENTCOMPLETE_PROPERTY))
        f.progress = std::clamp((icalproperty_get_percentcomplete(p) + 5) / 10, 0, kTodoMaxProgress);
    f.doneDate = today;
    icalproperty* completed = icalcomponent_get_first_property(component, ICAL_COMPLETED_PROPERTY);
    if (completed && !icaltime_is_null_time(icalproperty_get_completed(completed))) {
        const Date done = japanTime(icalproperty_get_completed(completed)).date;
        if (usableDate(done))
            f.doneDate = done;
    }
    // A cancelled entry needs doing no more than a completed one.
    const icalproperty_status status = icalcomponent_get_status(component);
    f.done = completed || status == ICAL_STATUS_COMPLETED || status == ICAL_STATUS_CANCELLED;
    f.category = texts.category(component);
    todo.memo = memoLines(icalcomponent_get_description(component), texts);
    return todo;
}

// The calendars of the text: one, several under one root, or a bare component.
std::vector<icalcomponent*> containers(icalcomponent* root)
{
    if (icalcomponent_isa(root) != ICAL_XROOT_COMPONENT)
        return {root};
    std::vector<icalcomponent*> out;
    for (icalcomponent* c = icalcomponent_get_first_component(root, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(root, ICAL_ANY_COMPONENT))
        out.push_back(c);
    return out;
}

void addTodo(icalcomponent* component, Reading& r)
{
    IcalSkips& skips = r.entries.skips;
    skips.unknownZones += unknownZone(component);
    skips.unmapped += unmappedFields(component, true);
    skips.cancelledTodos += icalcomponent_get_status(component) == ICAL_STATUS_CANCELLED;
    r.entries.todos.push_back(
        IcalTodoItem{uidOf(component), sequenceOf(component), todoOf(component, r.today, r.texts)});
}

std::vector<icalcomponent*> componentsOf(icalcomponent* container, icalcomponent_kind kind)
{
    if (icalcomponent_isa(container) == kind)
        return {container};
    std::vector<icalcomponent*> out;
    for (icalcomponent* c = icalcomponent_get_first_component(container, kind); c;
         c = icalcomponent_get_next_component(container, kind))
        out.push_back(c);
    return out;
}

Replacements replacementsOf(const std::vector<icalcomponent*>& events)
{
    Replacements out;
    for (icalcomponent* event : events) {
        icalproperty* id = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY);
        const char* uid = icalcomponent_get_uid(event);
        if (id && uid)
            out[uid].push_back(icalproperty_get_datetime_with_component(id, event));
    }
    return out;
}

} // namespace

std::vector<ImportedSchedule> IcalEntries::schedules() const
{
    std::vector<ImportedSchedule> out;
    for (const IcalEventItem& event : events)
        out.insert(out.end(), event.days.begin(), event.days.end());
    return out;
}

IcalEntries readIcalEntries(std::string_view icsText, const Date& from, const Date& to, const Date& today)
{
    icalerror_set_errors_are_fatal(0);
    Component root(icalparser_parse_string(std::string(icsText).c_str()));
    if (!root) {
        IcalEntries entries;
        entries.ok = false;
        entries.message = "iCalendar形式のデータではありません。";
        return entries;
    }
    return readIcalEntries(root.get(), from, to, today);
}

IcalEntries readIcalEntries(icalcomponent* root, const Date& from, const Date& to, const Date& today)
{
    IcalEntries entries;
    Reading reading{{from, to}, today, entries, TextReader(entries.texts)};
    for (icalcomponent* container : containers(root)) {
        const std::vector<icalcomponent*> events = componentsOf(container, ICAL_VEVENT_COMPONENT);
        const Replacements replacements = replacementsOf(events);
        for (icalcomponent* event : events)
            addEvent(event, replacements, reading);
        for (icalcomponent* todo : componentsOf(container, ICAL_VTODO_COMPONENT))
            addTodo(todo, reading);
    }
    return entries;
}

int icalOccurrenceCap(const Date& from, const Date& to)
{
    return static_cast<int>(std::max<long long>(kIcalOccurrenceFloor, daysBetween(from, to) + 1));
}

IcalFile readIcalFile(const std::string& path)
{
    files::ReadResult read = files::readFile(path, ical::kMaxIcsFileBytes);
    if (read.status == files::ReadStatus::Missing)
        return IcalFile{false, {}, "「" + path + "」が見つかりません。"};
    if (read.status == files::ReadStatus::Unreadable)
        return IcalFile{false, {}, "「" + path + "」を読み込めません。\r\n" + read.reason};
    if (read.bytes.starts_with("\xEF\xBB\xBF"))
        read.bytes.erase(0, 3);
    if (text::isBlank(read.bytes))
        return IcalFile{false, {}, "「" + path + "」にはデータがありません。"};
    return IcalFile{true, std::move(read.bytes), {}};
}

Date icalDefaultPeriodEnd(const Date& today)
{
    // From 29 February the year ends on 28 February.
    const int year = today.year + 1;
    const int last = daysInMonth(year, today.month);
    return today.day > last ? Date{year, today.month, last} : addDays(Date{year, today.month, today.day}, -1);
}

} // namespace kal
