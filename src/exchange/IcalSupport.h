// What the iCalendar export and import share: ownership of libical components, Japan time and
// the conversion of texts and times between the month files and iCalendar values.
#pragma once

#include "platform/Date.h"

#include <libical/ical.h>
#include <memory>
#include <optional>
#include <string>

namespace kal::ical {

// The size limit of an .ics file, for the import that reads it and the export that writes it.
inline constexpr std::size_t kMaxIcsFileBytes = std::size_t{256} << 20;

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// The zone every stored time is in, as written into exported files.
inline constexpr const char* kJapanTzid = "Asia/Tokyo";
icaltimezone* japanZone();

// Marks an event exported from a record with an end time and no start: it runs from midnight,
// and reads back without a start.
inline constexpr const char* kNoStartProperty = "X-KALENDRA-NO-START";

// A minute of a day, 0..1439, from a stored "HH:MM" (or "H:MM"); nothing for any other text.
std::optional<int> minuteOfDay(const std::string& typed);
std::string hhmmOf(int minuteOfDay);

icaltimetype dateValue(const Date& date);
icaltimetype dateTimeValue(const Date& date, int minuteOfDay);
Date dateOf(const icaltimetype& time);

// The time now in UTC, and a UTC time as libical's, for DTSTAMP.
DateTime utcNow();
icaltimetype utcValue(const DateTime& utc);

// A RECURRENCE-ID as one text whatever zone it was given in: a date, a UTC time, or a
// floating time.
std::string recurrenceIdText(icaltimetype time);

// The component as iCalendar text (UTF-8, lines ended by CR LF), every text escaped as the format
// says: list values that libical would leave unescaped are rewritten in the component for that.
std::string textOf(icalcomponent* component);

} // namespace kal::ical
