#include "sync/FeedCalendar.h"

#include "calendar/CalendarMath.h"

#include <algorithm>
#include <set>

namespace kal {
namespace {

std::string_view withoutPreamble(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

bool startsLikeICalendar(std::string_view text)
{
    constexpr std::string_view begin = "BEGIN:VCALENDAR";
    if (text.size() < begin.size())
        return false;
    return std::equal(begin.begin(), begin.end(), text.begin(),
                      [](char a, char b) { return a == (b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b); });
}

std::string uidOf(icalcomponent* event)
{
    const char* uid = icalcomponent_get_uid(event);
    return uid ? uid : "";
}

bool recurs(icalcomponent* event)
{
    return icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY) ||
           icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
}

std::vector<icalcomponent*> childrenOf(icalcomponent* root, icalcomponent_kind kind)
{
    std::vector<icalcomponent*> out;
    for (icalcomponent* c = icalcomponent_get_first_component(root, kind); c;
         c = icalcomponent_get_next_component(root, kind))
        out.push_back(c);
    return out;
}

// How many days before a year an occurrence of these events may start and still reach into it:
// the longest of them, a day more for the zones, at most as long as an event is read.
int lookBackDays(const std::vector<icalcomponent*>& events)
{
    long long longest = 0;
    for (icalcomponent* event : events) {
        const icaltimetype start = icalcomponent_get_dtstart(event);
        if (icaltime_is_null_time(start) || !icaltime_is_valid_time(start))
            continue;
        const long long seconds =
            static_cast<long long>(icaltime_as_timet(icalcomponent_get_dtend(event))) - icaltime_as_timet(start);
        longest = std::max(longest, seconds / 86400 + 1);
    }
    return static_cast<int>(std::min<long long>(longest, kIcalMaxEventDays));
}

} // namespace

FeedCalendar::Parsed FeedCalendar::parse(std::string_view text, FeedLook look)
{
    const std::string_view body = withoutPreamble(text);
    if (!startsLikeICalendar(body))
        return {nullptr, "iCalendar 形式のデータではありません。"};
    icalerror_set_errors_are_fatal(0);
    ical::Component root(icalparser_parse_string(std::string(body).c_str()));
    if (!root || icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT)
        return {nullptr, "iCalendar 形式のデータではありません。"};
    const std::vector<icalcomponent*> events = childrenOf(root.get(), ICAL_VEVENT_COMPONENT);
    std::set<std::string> recurringUids;
    for (icalcomponent* event : events)
        if (recurs(event))
            recurringUids.insert(uidOf(event));
    // Two calendars, each with the zones: the recurring events with the components that replace
    // their occurrences, and the rest.
    ical::Component recurring(icalcomponent_new_vcalendar()), single(icalcomponent_new_vcalendar());
    for (icalcomponent* zone : childrenOf(root.get(), ICAL_VTIMEZONE_COMPONENT))
        for (icalcomponent* into : {recurring.get(), single.get()})
            icalcomponent_add_component(into, icalcomponent_new_clone(zone));
    std::vector<icalcomponent*> recurringEvents;
    for (icalcomponent* event : events) {
        const bool recurringOne = recurringUids.count(uidOf(event));
        icalcomponent* copy = icalcomponent_new_clone(event);
        icalcomponent_add_component(recurringOne ? recurring.get() : single.get(), copy);
        if (recurringOne)
            recurringEvents.push_back(copy);
    }
    std::shared_ptr<FeedCalendar> calendar(new FeedCalendar);
    calendar->lookBack_ = lookBackDays(recurringEvents);
    calendar->events_ = static_cast<int>(events.size());
    calendar->look_ = std::move(look);
    calendar->recurring_ = std::move(recurring);
    const Date first{kFirstYear, 1, 1}, last{kLastYear, 12, 31};
    calendar->singles_ = calendar->entriesOf(readIcalEntries(single.get(), first, last, {2000, 1, 1}), first, last);
    return {std::move(calendar), {}};
}

ExtraScheduleList FeedCalendar::entriesOf(const IcalEntries& entries, const Date& first, const Date& last)
{
    cut_ += entries.skips.occurrencesCut;
    ExtraScheduleList days;
    for (const IcalEventItem& item : entries.events)
        for (const ImportedSchedule& day : item.days) {
            if (day.date < first || day.date > last)
                continue;
            if (days.size() == kFeedYearCap) {
                ++cut_;
                break;
            }
            ExtraSchedule entry{day.date, day.start, day.end, day.title, day.place, look_.source, look_.color, false};
            entry.holiday = look_.holidays && entry.allDay();
            days.push_back(std::make_shared<const ExtraSchedule>(std::move(entry)));
        }
    std::stable_sort(days.begin(), days.end(), EarlierExtra);
    return days;
}

const ExtraScheduleList& FeedCalendar::year(int year)
{
    if (const auto found = years_.find(year); found != years_.end())
        return found->second;
    KeepYearsAround(years_, year);
    // One pass a year: an iterator runs from the event's start whatever part of it is asked for.
    const Date first{year, 1, 1}, last{year, 12, 31};
    ExtraScheduleList recurring =
        entriesOf(readIcalEntries(recurring_.get(), addDays(first, -lookBack_), last, first), first, last);
    const auto [from, to] = DaysWithin(singles_, first, last);
    ExtraScheduleList days;
    days.reserve(recurring.size() + static_cast<std::size_t>(to - from));
    std::merge(from, to, std::make_move_iterator(recurring.begin()), std::make_move_iterator(recurring.end()),
               std::back_inserter(days), EarlierExtra);
    return years_.emplace(year, std::move(days)).first->second;
}

} // namespace kal
