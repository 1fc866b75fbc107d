#include "sync/FeedCalendar.h"

#include <algorithm>

namespace kal {
namespace {

// How far before a month an event may start and still reach into it.
constexpr int kSpanLookBackDays = 62;
// Months kept expanded; the oldest go first.
constexpr std::size_t kKeptMonths = 24;

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

int countEvents(icalcomponent* root)
{
    int count = 0;
    for (icalcomponent* event = icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(root, ICAL_VEVENT_COMPONENT))
        ++count;
    return count;
}

} // namespace

FeedCalendar::Parsed FeedCalendar::parse(std::string_view text)
{
    const std::string_view body = withoutPreamble(text);
    if (!startsLikeICalendar(body))
        return {nullptr, "iCalendar 形式のデータではありません。"};
    icalerror_set_errors_are_fatal(0);
    ical::Component root(icalparser_parse_string(std::string(body).c_str()));
    if (!root || icalcomponent_isa(root.get()) != ICAL_VCALENDAR_COMPONENT)
        return {nullptr, "iCalendar 形式のデータではありません。"};
    const int events = countEvents(root.get());
    return {std::shared_ptr<FeedCalendar>(new FeedCalendar(std::move(root), events)), {}};
}

const std::vector<ImportedSchedule>& FeedCalendar::month(int year, int month)
{
    const int key = year * 12 + month - 1;
    if (const auto found = months_.find(key); found != months_.end())
        return found->second;
    if (months_.size() >= kKeptMonths)
        months_.erase(months_.begin()->first < key ? months_.begin() : std::prev(months_.end()));
    const Date first{year, month, 1}, last{year, month, daysInMonth(year, month)};
    const IcalEntries entries = readIcalEntries(root_.get(), addDays(first, -kSpanLookBackDays), last, first);
    cut_ += entries.skips.occurrencesCut;
    std::vector<ImportedSchedule> days;
    for (const IcalEventItem& item : entries.events)
        for (const ImportedSchedule& day : item.days)
            if (day.date >= first && day.date <= last) {
                if (days.size() == kFeedMonthCap) {
                    ++cut_;
                    break;
                }
                days.push_back(day);
            }
    std::stable_sort(days.begin(), days.end(), [](const ImportedSchedule& a, const ImportedSchedule& b) {
        return a.date < b.date || (a.date == b.date && a.start < b.start);
    });
    return months_.emplace(key, std::move(days)).first->second;
}

std::vector<ImportedSchedule> FeedCalendar::between(const Date& first, const Date& last)
{
    std::vector<ImportedSchedule> out;
    for (int key = first.year * 12 + first.month - 1; key <= last.year * 12 + last.month - 1; ++key)
        for (const ImportedSchedule& entry : month(key / 12, key % 12 + 1))
            if (entry.date >= first && entry.date <= last)
                out.push_back(entry);
    return out;
}

} // namespace kal
