// What the holiday input dialog edits: one rule of Holiday.dat as the dialog's choices, the
// checks made on OK with their messages, the line built from the choices, the choices read
// back from a stored line, and the table written with one rule added or replaced.
#pragma once

#include "platform/Date.h"
#include "platform/FileOps.h"
#include "store/Edit.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

// The dialog's choices; -1 is "nothing chosen" for every list.
struct HolidayChoices {
    std::string name;     // Shift-JIS, at most 40 bytes
    int kind = -1;        // 0 祝日, 1 休日, 2 記念日
    std::string fromYear; // as typed: empty or four digits
    std::string toYear;
    bool weekdayRule = false; // ChkIreg
    int month = -1;           // CmbMonth: 0 every month, 1..12
    int day = -1;             // CmbDay: day - 1
    int weekNo = -1;          // CmbWeekNo: 0 every week, 1..4, 5 last
    int weekday = -1;         // CmbWeek: 0 Sunday .. 6 Saturday
    int weekMonth = -1;       // CmbWMonth: 0 every month, 1..12
};

// The field an input error puts the focus on.
enum class HolidayField { None, Name, Kind, FromYear, ToYear, WeekMonth, Day };

struct HolidayInputError {
    const char* message; // UTF-8
    HolidayField focus;
};

// The first failed check in the dialog's order, or nothing when the choices can be stored.
std::optional<HolidayInputError> CheckHolidayChoices(const HolidayChoices& choices);

// The stored line: month, day, years, week number, weekday, kind, then the name as typed.
std::string ComposeHolidayLine(const HolidayChoices& choices);

// A new rule's choices preset from a selected day: its month and day, its weekday, every week.
HolidayChoices HolidayChoicesFor(const Date& selected);
// The choices a stored line stands for (the correction's fill).
HolidayChoices HolidayChoicesOf(const std::string& line);

// Adds `line` to the table (after removing `replaced`, when given and still there), sorts the
// whole table and saves it.
store::EditResult SaveHolidayLine(const std::string& path, const std::optional<store::LineRef>& replaced,
                                  const std::string& line, files::FileOps& ops = files::systemFileOps());
// Removes every rule of `refs` in one save, or nothing when any of them changed meanwhile.
store::EditResult DeleteHolidayLines(const std::string& path, const std::vector<store::LineRef>& refs,
                                     files::FileOps& ops = files::systemFileOps());

} // namespace kal
