#include "exchange/IcalSupport.h"

#include <cstring>

namespace kal::ical {

icaltimezone* japanZone()
{
    static icaltimezone* const zone = icaltimezone_get_builtin_timezone(kJapanTzid);
    return zone;
}

std::optional<int> minuteOfDay(const std::string& typed)
{
    // Times are stored as typed; "9:30" means the same as "09:30".
    const std::string hhmm = typed.size() == 4 ? "0" + typed : typed;
    const auto digit = [&](std::size_t i) { return hhmm[i] >= '0' && hhmm[i] <= '9'; };
    if (hhmm.size() != 5 || hhmm[2] != ':' || !digit(0) || !digit(1) || !digit(3) || !digit(4))
        return std::nullopt;
    const int hour = (hhmm[0] - '0') * 10 + (hhmm[1] - '0');
    const int minute = (hhmm[3] - '0') * 10 + (hhmm[4] - '0');
    if (hour > 23 || minute > 59)
        return std::nullopt;
    return hour * 60 + minute;
}

std::string hhmmOf(int minuteOfDay)
{
    const int hour = minuteOfDay / 60, minute = minuteOfDay % 60;
    return std::string{static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10), ':',
                       static_cast<char>('0' + minute / 10), static_cast<char>('0' + minute % 10)};
}

icaltimetype dateValue(const Date& date)
{
    icaltimetype value = icaltime_null_date();
    value.year = date.year;
    value.month = date.month;
    value.day = date.day;
    return value;
}

icaltimetype dateTimeValue(const Date& date, int minuteOfDay)
{
    icaltimetype value = icaltime_null_time();
    value.year = date.year;
    value.month = date.month;
    value.day = date.day;
    value.hour = minuteOfDay / 60;
    value.minute = minuteOfDay % 60;
    return value;
}

Date dateOf(const icaltimetype& time)
{
    return Date{time.year, time.month, time.day};
}

DateTime utcNow()
{
    const icaltimetype now = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
    return DateTime{dateOf(now), now.hour, now.minute, now.second};
}

icaltimetype utcValue(const DateTime& utc)
{
    icaltimetype value = dateTimeValue(utc.date, utc.hour * 60 + utc.minute);
    value.second = utc.second;
    value.zone = icaltimezone_get_utc_timezone();
    return value;
}

std::string recurrenceIdText(icaltimetype time)
{
    time = icaltime_normalize(time);
    if (!time.is_date && time.zone && !icaltime_is_utc(time))
        time = icaltime_convert_to_zone(time, icaltimezone_get_utc_timezone());
    char* text = icaltime_as_ical_string_r(time);
    std::string out = text ? text : "";
    icalmemory_free_buffer(text);
    return out;
}

namespace {

// libical writes the commas and semicolons of a CATEGORIES or RESOURCES value as they are, so
// "仕事,重要" would read as two categories everywhere else. Such a value is given libical as a
// string already escaped by libical's own TEXT rules; the VALUE parameter naming TEXT, the
// default of these properties, keeps it from writing one.
void escapeListValues(icalcomponent* component)
{
    for (icalproperty_kind kind : {ICAL_CATEGORIES_PROPERTY, ICAL_RESOURCES_PROPERTY})
        for (icalproperty* p = icalcomponent_get_first_property(component, kind); p;
             p = icalcomponent_get_next_property(component, kind)) {
            icalvalue* value = icalproperty_get_value(p);
            const char* text = value && icalvalue_isa(value) == ICAL_TEXT_VALUE ? icalvalue_get_text(value) : nullptr;
            if (!text || !std::strpbrk(text, ",;"))
                continue;
            icalvalue* plain = icalvalue_new_text(text);
            char* escaped = icalvalue_as_ical_string_r(plain);
            icalvalue_free(plain);
            icalproperty_set_value(p, icalvalue_new_string(escaped));
            icalmemory_free_buffer(escaped);
            icalproperty_remove_parameter_by_kind(p, ICAL_VALUE_PARAMETER);
            icalproperty_add_parameter(p, icalparameter_new_value(ICAL_VALUE_TEXT));
        }
    for (icalcomponent* c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT))
        escapeListValues(c);
}

} // namespace

std::string textOf(icalcomponent* component)
{
    escapeListValues(component);
    char* text = icalcomponent_as_ical_string_r(component);
    std::string out = text ? text : "";
    icalmemory_free_buffer(text);
    return out;
}

} // namespace kal::ical
