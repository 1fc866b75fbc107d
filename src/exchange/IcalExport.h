// iCalendar export: the schedules of a period as VEVENTs in Japan time (a record without start
// time as an all-day event, one with only an end time as ending then) and the ToDo entries as
// VTODOs. Each record goes out under its identity (RecordIdentities.h): a UID made at its first
// export and kept through every change, with the SEQUENCE its changes raised. DTSTAMP is the
// time the component is written, in UTC: the identities keep no time of a record's last change.
//
// eventOf and todoOf map one record each: the .ics file and a calendar server carry the same.
#pragma once

#include "exchange/IcalSupport.h"
#include "exchange/RecordIdentities.h"
#include "platform/Date.h"
#include "platform/FileOps.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

// One schedule record with the identity it goes out under (no UID: none is written).
struct IcalEvent {
    int year = 2000;
    int month = 1;
    std::string line;
    std::string uid;
    int sequence = 0;
};

struct IcalTodo {
    std::string line;              // the ToDo.dat line
    std::vector<std::string> memo; // its memo lines (Shift-JIS)
    std::string uid;
    int sequence = 0;
};

// The VTIMEZONE of the exported times, under the name they give (kJapanTzid).
ical::Component japanTimezone();
// The VEVENT of a record; nothing for a line that is no record of a real day. An end before the
// start ends on the next day. DTSTAMP is `stamp` (UTC), else the time now.
ical::Component eventOf(const IcalEvent& event, int alarmMinutes, const std::optional<DateTime>& stamp = {});
// The VTODO of an entry; nothing for a line that is no entry.
ical::Component todoOf(const IcalTodo& todo, const std::optional<DateTime>& stamp = {});
// A VCALENDAR with the zone of the exported times and `components`.
ical::Component calendarOf(std::vector<ical::Component> components);

struct IcalExportData {
    std::vector<IcalEvent> records;
    std::vector<IcalTodo> todos;
    int alarmMinutes = 0;          // the alarm lead time of the settings
    std::optional<DateTime> stamp; // DTSTAMP of the whole file (UTC); none: the time of writing
};

// The whole .ics file (UTF-8, CR LF); lines that are not records are left out.
std::string composeIcalendar(const IcalExportData& data);

struct IcalExportRequest {
    std::string dataPath; // month files, ends with '/'
    std::string todoPath; // ToDo.dat and ToDoMemo.dat, ends with '/'
    Date from, to;        // the schedules of these days
    bool withTodos = true;
    int alarmMinutes = 0;
    std::string programFolder; // Identity.dat, ends with '/'
};

struct IcalExportResult {
    bool ok = true;
    int events = 0;
    int todos = 0;
    std::string message; // UTF-8: the report when done, why it failed otherwise
};

// Reads what the request names, each record with its identity from `identities` (a record
// without one gets a new one there); fails when a file exists and cannot be read.
IcalExportResult loadIcalExportData(const IcalExportRequest& request, IcalExportData& data, IdentityTable& identities);
// Writes the .ics file, and Identity.dat first when records got new identities.
IcalExportResult exportIcal(const IcalExportRequest& request, const std::string& icsPath,
                            files::FileOps& ops = files::systemFileOps());

// "200403.ics" for a period within one month, else "20040301-20040615.ics".
std::string icalFileName(const Date& from, const Date& to);

// A period whose end comes before its start is refused with this message.
inline constexpr const char* kIcalPeriodError = "期間の終わりが初めより前です。";

inline constexpr const char* kIcalSaveCaption = "iCalendar形式で保存";

} // namespace kal
