#include "exchange/IcalSupport.h"

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

std::string recurrenceIdText(icaltimetype time)
{
    if (!time.is_date && time.zone && !icaltime_is_utc(time))
        time = icaltime_convert_to_zone(time, icaltimezone_get_utc_timezone());
    char* text = icaltime_as_ical_string_r(time);
    std::string out = text ? text : "";
    icalmemory_free_buffer(text);
    return out;
}

std::string textOf(icalcomponent* component)
{
    char* text = icalcomponent_as_ical_string_r(component);
    std::string out = text ? text : "";
    icalmemory_free_buffer(text);
    return out;
}

} // namespace kal::ical
