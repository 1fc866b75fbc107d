// The month build: the layout of a month with rokuyo and memo marks, its holidays, ToDo
// entries and the schedule lines of the previous, displayed and next month files, all in the
// 42 cell lists. Windows only draw what it returns.
#pragma once

#include "calendar/CalendarMath.h"
#include "calendar/DayCellLists.h"
#include "memo/DayMemo.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "settings/SettingFlags.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kal {

struct MonthBuildInput {
    int year = 2000;
    int month = 1;
    WeekStart weekStart = WeekStart::Sunday;
    Date today;
    CalViewFlags calView;
    RokuyoFlags rikuyo;
    std::string dataPath;                       // schedule files and Holiday.dat
    std::string memoPath;                       // yyyymmdd.mem
    std::vector<std::string> todoLines;         // open and done ToDo records
    bool memoTexts = false;                     // read the shown days' memos (the week view's memo column)
    std::vector<files::FileProblem> unreadable; // found while the input was gathered
    ExtraSchedules* extras = nullptr;           // subscribed calendars, shown after the schedules
};

struct MonthBuild {
    MonthLayout layout;
    DayCellLists lists;
    // The memo lines of every shown day, by cell; read only when asked for.
    std::array<std::vector<std::string>, 42> memoTexts;
    bool memoTextsRead = false;
    // Files that exist but could not be read: the month is not shown whole.
    std::vector<files::FileProblem> unreadable;

    const std::vector<std::string>& memoText(int column, int row) const
    {
        return memoTexts[static_cast<std::size_t>((row - 1) * 7 + column)];
    }
};

MonthBuild BuildMonth(const MonthBuildInput& input);

// Reads the memos of the 42 shown days; a day without memo file has no lines. Day by day, so
// the cost does not grow with the memo folder.
void ReadMemoTexts(MonthBuild& build, const std::string& memoPath);
struct AppSettings;
// The input of a month build under the settings file's week start and content flags.
MonthBuildInput MonthBuildInputFrom(const AppSettings& settings, int year, int month, const Date& today,
                                    std::vector<std::string> todoLines);
// The same with the ToDo file of the settings read here.
MonthBuildInput MonthBuildInputFrom(const AppSettings& settings, int year, int month, const Date& today);

// The lines of extra schedules on the shown days: entries of a holiday calendar make their day a
// holiday, the others follow the user's schedules.
void ApplyExtraSchedules(ExtraSchedules& extras, MonthLayout& layout, DayCellLists& lists);
// An extra schedule as a line reads: times, title and whose it is, Shift-JIS. Its cell line holds
// only the kind and start time (a month shows many, each without an allocation); the rest is the
// entry's.
std::string ExtraLineText(const ExtraSchedule& entry);

// Marks and lines of the open ToDo entries due on a shown day.
void ApplyTodoLines(const std::vector<std::string>& todoLines, bool todoMarks, MonthLayout& layout,
                    DayCellLists& lists);

// Where the selection goes after a rebuild: the selected day's cell when the month has that
// day, otherwise the cell at the same place as before.
CellPos SelectionAfterBuild(const MonthLayout& layout, int selectedDay, const CellPos& previous);

} // namespace kal
