// Date-time formatting with the pattern letters of the settings file and the program's own
// texts: yyyy yy m mm d dd ddd dddd h hh n nn s ss (m/mm right after h/hh are minutes),
// am/pm a/p ampm, aaa aaaa (Japanese weekday), g gg (era), e ee (era year), c t tt, and
// literal text in double or single quotes. Patterns and results are Shift-JIS.
#pragma once

#include "platform/Date.h"

#include <optional>
#include <string>
#include <string_view>

namespace kal::text {

struct EraYear {
    bool hasEra = false; // false before the first era: the Western year stands alone
    std::string name;    // Shift-JIS, e.g. 令和
    int year = 0;        // year within the era, the first year being 1
};

EraYear eraYearOf(const Date& date);

// Short ("月") and long ("月曜日") Japanese weekday names, 0 = Sunday; Shift-JIS.
const std::string& japaneseWeekdayShort(int dayOfWeek);
const std::string& japaneseWeekdayLong(int dayOfWeek);

std::string formatDateTime(std::string_view pattern, const DateTime& dateTime);
std::string formatDate(std::string_view pattern, const Date& date);

// The same for patterns written in the sources: UTF-8 in, UTF-8 out.
std::string formatDateUtf8(std::string_view utf8Pattern, const Date& date);
std::string formatDateTimeUtf8(std::string_view utf8Pattern, const DateTime& dateTime);

// A date written exactly yyyy/mm/dd, as the command line takes it; nothing for another form or
// a day that does not exist.
std::optional<Date> parseSlashDate(const std::string& text);

} // namespace kal::text
