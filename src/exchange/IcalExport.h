// iCalendar export: the schedules of a period as VEVENTs in Japan time (a record without start
// time as an all-day event) and the ToDo entries as VTODOs. Every component carries a UID and a
// DTSTAMP taken from its own content, so exporting the same data twice gives the same file.
#pragma once

#include "exchange/CsvExport.h"
#include "platform/Date.h"
#include "platform/FileOps.h"

#include <string>
#include <vector>

namespace kal {

struct IcalTodo {
    std::string line;              // the ToDo.dat line
    std::vector<std::string> memo; // its memo lines (Shift-JIS)
};

struct IcalExportData {
    std::vector<MonthRecord> records;
    std::vector<IcalTodo> todos;
    int alarmMinutes = 0; // the alarm lead time of the settings
};

// The whole .ics file (UTF-8, CR LF); lines that are not records are left out.
std::string composeIcalendar(const IcalExportData& data);

struct IcalExportRequest {
    std::string dataPath; // month files, ends with '/'
    std::string todoPath; // ToDo.dat and ToDoMemo.dat, ends with '/'
    Date from, to;        // the schedules of these days
    bool withTodos = true;
    int alarmMinutes = 0;
};

struct IcalExportResult {
    bool ok = true;
    int events = 0;
    int todos = 0;
    std::string message; // UTF-8: the report when done, why it failed otherwise
};

// Reads what the request names; fails when a file exists and cannot be read.
IcalExportResult loadIcalExportData(const IcalExportRequest& request, IcalExportData& data);
IcalExportResult exportIcal(const IcalExportRequest& request, const std::string& icsPath,
                            files::FileOps& ops = files::systemFileOps());

// "200403.ics" for a period within one month, else "20040301-20040615.ics".
std::string icalFileName(const Date& from, const Date& to);

// A period whose end comes before its start is refused with this message.
inline constexpr const char* kIcalPeriodError = "期間の終わりが初めより前です。";

inline constexpr const char* kIcalSaveCaption = "iCalendar形式で保存";

} // namespace kal
