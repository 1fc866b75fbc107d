#include "exchange/IcalImport.h"

#include "calendar/CalendarMath.h"
#include "exchange/IcalSupport.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoMemo.h"
#include "todo/TodoStore.h"

#include <algorithm>
#include <map>
#include <unordered_set>

namespace kal {
namespace {

using ical::Component;

// Bounds that keep a hostile or careless file from filling the disk with records.
constexpr int kMaxEventDays = 366;
constexpr int kMaxOccurrences = 1000;
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

    // The first category of the component, cut to the table's width as every import does.
    std::string category(icalcomponent* component)
    {
        icalproperty* property = icalcomponent_get_first_property(component, ICAL_CATEGORIES_PROPERTY);
        if (!property)
            return {};
        std::string first = icalproperty_get_categories(property) ? icalproperty_get_categories(property) : "";
        first = first.substr(0, first.find(','));
        return text::trimRight(text::padCut(line(first.c_str()), kTodoCategoryBytes));
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

struct EventTexts {
    std::string title, place, category;
    bool sound = false, message = false;
};

EventTexts eventTexts(icalcomponent* event, TextReader& texts)
{
    EventTexts out;
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

// One occurrence: a record on each of its days, the start time on the first and the end time on
// the last; an end at midnight ends the day before.
void addOccurrence(std::vector<ImportedSchedule>& out, const EventTexts& texts, const icaltimetype& start,
                   const icaltimetype& end)
{
    const JapanTime from = japanTime(start);
    if (!usableDate(from.date))
        return;
    const bool hasEnd = !icaltime_is_null_time(end);
    if (!from.minute) {
        Date last = from.date;
        if (hasEnd && end.is_date && usableDate(ical::dateOf(end)) && ical::dateOf(end) > from.date)
            last = addDays(ical::dateOf(end), -1);
        last = std::min(last, addDays(from.date, kMaxEventDays - 1));
        for (Date day = from.date; day <= last; day = addDays(day, 1))
            addDay(out, texts, day, "", "");
        return;
    }
    const std::string startText = ical::hhmmOf(*from.minute);
    const JapanTime to = hasEnd ? japanTime(end) : JapanTime{};
    if (!hasEnd || !to.minute || !usableDate(to.date) || to.date < from.date ||
        (to.date == from.date && *to.minute < *from.minute)) {
        addDay(out, texts, from.date, startText, "");
        return;
    }
    if (to.date == from.date) {
        addDay(out, texts, from.date, startText, ical::hhmmOf(*to.minute));
        return;
    }
    Date last = to.date;
    std::string lastEnd = ical::hhmmOf(*to.minute);
    if (*to.minute == 0) {
        last = addDays(last, -1);
        lastEnd.clear();
    }
    if (daysBetween(from.date, last) >= kMaxEventDays) {
        last = addDays(from.date, kMaxEventDays - 1);
        lastEnd.clear();
    }
    for (Date day = from.date; day <= last; day = addDays(day, 1))
        addDay(out, texts, day, day == from.date ? startText : "", day == last ? lastEnd : "");
}

bool sameInstant(const icaltimetype& occurrence, const icaltimetype& listed)
{
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

void addRuleOccurrences(icalcomponent* event, const icaltimetype& dtstart, const Period& period,
                        std::vector<icaltimetype>& out)
{
    for (icalproperty* p = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY); p;
         p = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(p);
        icalrecur_iterator* it = icalrecur_iterator_new(rule, dtstart);
        if (!it)
            continue;
        // Rules finer than a day would take too many steps to reach the period from afar.
        if (rule.count == 0 && rule.freq <= ICAL_HOURLY_RECURRENCE && rule.freq != ICAL_NO_RECURRENCE)
            icalrecur_iterator_set_start(it, periodStartFor(dtstart, period.from));
        for (int step = 0; step < kMaxRuleSteps && static_cast<int>(out.size()) < kMaxOccurrences; ++step) {
            icaltimetype next = icalrecur_iterator_next(it);
            if (icaltime_is_null_time(next))
                break;
            next.zone = dtstart.zone;
            if (japanTime(next).date > period.to)
                break;
            if (period.contains(next))
                out.push_back(next);
        }
        icalrecur_iterator_free(it);
    }
}

// The starts of a recurring event's occurrences in the period, without the excluded ones and
// those a separate component replaces.
std::vector<icaltimetype> occurrenceStarts(icalcomponent* event, const icaltimetype& dtstart, const Period& period,
                                           const std::vector<icaltimetype>& replaced)
{
    std::vector<icaltimetype> starts;
    if (period.contains(dtstart))
        starts.push_back(dtstart);
    addRuleOccurrences(event, dtstart, period, starts);
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
    std::vector<icaltimetype> out;
    for (const icaltimetype& start : starts)
        if (!listed(start, excluded) && !listed(start, replaced) && !listed(start, out))
            out.push_back(start);
    std::sort(out.begin(), out.end(),
              [](const icaltimetype& a, const icaltimetype& b) { return icaltime_compare(a, b) < 0; });
    if (out.size() > static_cast<std::size_t>(kMaxOccurrences))
        out.resize(kMaxOccurrences);
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

void addEvent(icalcomponent* event, const Period& period, const Replacements& replacements, TextReader& texts,
              std::vector<ImportedSchedule>& out)
{
    if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED)
        return;
    const icaltimetype start = icalcomponent_get_dtstart(event);
    if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start))
        return;
    const icaltimetype end = eventEnd(event);
    const bool replacement = icalcomponent_get_first_property(event, ICAL_RECURRENCEID_PROPERTY) != nullptr;
    if (!isRecurring(event) || replacement) {
        if (replacement && !period.contains(start))
            return;
        addOccurrence(out, eventTexts(event, texts), start, end);
        return;
    }
    const char* uid = icalcomponent_get_uid(event);
    const auto replaced = replacements.find(uid ? uid : "");
    const std::vector<icaltimetype> starts = occurrenceStarts(
        event, start, period, replaced == replacements.end() ? std::vector<icaltimetype>{} : replaced->second);
    if (starts.empty())
        return;
    const EventTexts eventText = eventTexts(event, texts);
    const bool hasEnd = !icaltime_is_null_time(end);
    const icaldurationtype length = hasEnd ? icaltime_subtract(end, start) : icaldurationtype_null_duration();
    for (const icaltimetype& occurrence : starts)
        addOccurrence(out, eventText, occurrence, hasEnd ? icaltime_add(occurrence, length) : icaltime_null_time());
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
    f.done = completed || icalcomponent_get_status(component) == ICAL_STATUS_COMPLETED;
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

// The ToDo entries of an import, planned in memory like the month files.
class TodoPlan {
public:
    explicit TodoPlan(const std::string& todoPath)
        : path_(TodoFilePath(todoPath)), memoPath_(TodoMemoFilePath(todoPath))
    {
    }

    ImportOutcome start()
    {
        for (auto [path, lines] : {std::pair{&path_, &lines_}, std::pair{&memoPath_, &memoLines_}}) {
            files::LoadForUpdate loaded = files::loadLinesForUpdate(*path);
            if (!loaded.ok)
                return importFailure(ImportStatus::ReadFailed,
                                     "「" + *path + "」を読み込めません。\r\n" + loaded.reason);
            *lines = std::move(loaded.lines);
        }
        for (const std::string& line : lines_)
            if (IsTodoRecord(line))
                keys_.insert(keyOf(line));
        return {};
    }

    // False when the entry was a duplicate and left out.
    bool add(ImportedTodo todo, bool skipDuplicates, IcalImportCounts& counts)
    {
        todo.fields.memoNumber = 0;
        if (!keys_.insert(keyOf(ComposeTodo(todo.fields))).second && skipDuplicates) {
            ++counts.todoDuplicates;
            return false;
        }
        if (!todo.memo.empty()) {
            todo.fields.memoNumber = FreeTodoMemoNumber(lines_, memoLines_);
            if (todo.fields.memoNumber == 0)
                ++counts.memosDropped;
            else
                memoLines_.push_back(ComposeTodoMemo(todo.fields.memoNumber, todo.memo));
        }
        lines_.push_back(ComposeTodo(todo.fields));
        changed_ = true;
        ++counts.todos;
        return true;
    }

    std::vector<FileUpdate> updates() const
    {
        if (!changed_)
            return {};
        FileUpdate todos{path_, lines_}, memos{memoPath_, memoLines_};
        text::sortNoCase(todos.lines);
        text::sortNoCase(memos.lines);
        return {memos, todos};
    }

private:
    // The deadline and the title: what the user sees of an entry in the lists.
    static std::string keyOf(const std::string& line)
    {
        return text::field(line, 1, 10) + '\0' + text::trimRight(TodoTitle(line));
    }

    std::string path_, memoPath_;
    std::vector<std::string> lines_, memoLines_;
    std::unordered_set<std::string> keys_;
    bool changed_ = false;
};

std::string countText(int count)
{
    return text::formatThousands(count) + " 件";
}

} // namespace

IcalEntries readIcalEntries(std::string_view icsText, const Date& from, const Date& to, const Date& today)
{
    IcalEntries entries;
    icalerror_set_errors_are_fatal(0);
    Component root(icalparser_parse_string(std::string(icsText).c_str()));
    if (!root) {
        entries.ok = false;
        entries.message = "iCalendar形式のデータではありません。";
        return entries;
    }
    TextReader texts(entries.texts);
    const Period period{from, to};
    for (icalcomponent* container : containers(root.get())) {
        const std::vector<icalcomponent*> events = componentsOf(container, ICAL_VEVENT_COMPONENT);
        const Replacements replacements = replacementsOf(events);
        for (icalcomponent* event : events)
            addEvent(event, period, replacements, texts, entries.schedules);
        for (icalcomponent* todo : componentsOf(container, ICAL_VTODO_COMPONENT))
            entries.todos.push_back(todoOf(todo, today, texts));
    }
    return entries;
}

IcalImportOutcome runIcalImport(const IcalImportRequest& request, ImportRun run, files::FileOps& ops)
{
    IcalImportOutcome out;
    const IcalEntries entries = readIcalEntries(request.icsText, request.from, request.to, request.today);
    if (!entries.ok) {
        out.outcome = importFailure(ImportStatus::NoData, entries.message);
        return out;
    }
    if (entries.schedules.empty() && entries.todos.empty()) {
        out.outcome = importFailure(ImportStatus::NoData, "読み込む予定もToDoもありません。");
        return out;
    }
    ScheduleImport schedules(request.dataPath, request.programFolder, request.options);
    TodoPlan todos(request.todoPath);
    if (out.outcome = schedules.start(run, {request.todoPath}); !out.outcome.ok())
        return out;
    if (!entries.todos.empty())
        if (out.outcome = todos.start(); !out.outcome.ok())
            return out;
    for (const ImportedSchedule& schedule : entries.schedules)
        if (out.outcome = schedules.add(schedule); !out.outcome.ok())
            return out;
    for (const ImportedTodo& todo : entries.todos)
        if (todos.add(todo, request.options.skipDuplicates, out.counts))
            schedules.noteCategoryName(todo.fields.category);
    out.counts.schedules = schedules.counts();
    out.counts.texts = entries.texts;
    std::vector<FileUpdate> updates;
    if (run == ImportRun::Execute) {
        updates = schedules.updates();
        for (FileUpdate& update : todos.updates())
            updates.push_back(std::move(update));
    }
    out.outcome = finishImport(out.counts.schedules, updates, run, icalImportReport(out.counts, run), ops);
    return out;
}

std::string icalImportReport(const IcalImportCounts& counts, ImportRun run)
{
    const bool done = run == ImportRun::Execute;
    const std::string tail = done ? "ました。" : "ます。";
    std::string report = done ? importDoneReport(counts.schedules) : importCheckReport(counts.schedules);
    report += "\r\n" + countText(counts.todos) + "のToDoを反映し" + tail;
    report += "\r\n" + countText(counts.schedules.duplicates + counts.todoDuplicates) + "は同じものがあるため反映し" +
              (done ? "ませんでした。" : "ません。");
    report += "\r\n" + countText(counts.texts.cut) + "の内容・場所を切り詰め" + tail;
    report += "\r\n" + text::formatThousands(counts.texts.replaced) + " 文字を「〓」に置き換え" + tail;
    if (counts.memosDropped > 0)
        report += "\r\n" + countText(counts.memosDropped) + "のToDoのメモは番号の空きがないため反映し" +
                  (done ? "ませんでした。" : "ません。");
    return report;
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
