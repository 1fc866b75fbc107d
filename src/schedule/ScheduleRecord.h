// The schedule record: one fixed-column Shift-JIS line (its columns: store/MonthFile.h), and the
// month files yyyymm.sch that hold them, kept sorted case-insensitively by the whole line.
#pragma once

#include "platform/Date.h"
#include "platform/Files.h"
#include "store/Edit.h"
#include "store/MonthFile.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

// Widths of the fields a user types.
inline constexpr int kRecTimeBytes = store::kScheduleColumns.width(store::ScheduleField::Start);
inline constexpr int kRecTextBytes = store::kScheduleColumns.width(store::ScheduleField::Title); // title and place

struct ScheduleFields {
    int day = 1;
    std::string start; // "HH:MM" as typed, or empty
    std::string end;
    std::string category; // name, padded to 14 bytes when composed
    bool bold = false, italic = false, underline = false, strikeout = false;
    bool sound = false, message = false;
    std::string title;
    std::string place;
};

std::string ComposeSchedule(const ScheduleFields& fields);

// A line is a record when its first two bytes are a day number 01..31.
bool IsScheduleRecord(const std::string& line);
int RecDay(std::string_view line);              // 0 when not a record
std::string RecStart(const std::string& line);  // the five stored bytes
std::string RecEnd(const std::string& line);    // the five stored bytes
std::string RecCategory(std::string_view line); // the 14 stored bytes
char RecBoldItalic(const std::string& line);
char RecUnderlineStrike(const std::string& line);
bool RecSound(const std::string& line);
bool RecMessage(const std::string& line);
std::string RecTitle(const std::string& line); // trailing blanks removed
std::string RecPlace(const std::string& line); // as stored

// The fields read back from a record (trailing blanks of times and category removed).
ScheduleFields ReadSchedule(const std::string& line);

inline bool StyleBold(char code)
{
    return code == '2' || code == '3';
}
inline bool StyleItalic(char code)
{
    return code == '1' || code == '3';
}
inline bool StyleStrikeout(char code)
{
    return code == '2' || code == '3';
}
inline bool StyleUnderline(char code)
{
    return code == '1' || code == '3';
}

std::string MonthFileName(int year, int month); // "yyyymm.sch"
std::string MonthFilePath(const std::string& dataPath, int year, int month);

// Where a record stands: its month file, its 0-based line index there and the text the reader saw.
using ScheduleRef = store::LineRef;

std::vector<std::string> LoadMonthFile(const std::string& path);

// Appends, sorts and writes the whole file.
store::EditResult AddScheduleLines(const std::string& path, const std::vector<std::string>& lines,
                                   files::FileOps& ops = files::systemFileOps());
store::EditResult AddSchedule(const std::string& path, const std::string& line,
                              files::FileOps& ops = files::systemFileOps());
// Whether the month file still holds `ref.line` at `ref.index`.
bool ScheduleStillThere(const ScheduleRef& ref);
// Whether a record is still where the reader saw it: Found (also when the file cannot be read
// now, so that the change itself reports why); Changed when the file was rewritten and holds the
// record elsewhere; Gone when the file or the record is no longer there.
enum class RecordCheck { Found, Changed, Gone };
RecordCheck CheckSchedule(const ScheduleRef& ref);
// Removes the line at `ref` after checking that it is still the same text. `follower` follows the
// records' identities (store/Edit.h); so does the correction's.
store::EditResult DeleteSchedule(const ScheduleRef& ref, store::Follower follower,
                                 files::FileOps& ops = files::systemFileOps());
// Replaces the record at `ref` by `newLine` in `newPath` (which may be the same file). A record
// that moved within its file meanwhile is found by its text; one that is no longer there removes
// nothing, so the new line is still written. Two files change together or not at all, a crash
// included (FileTransaction.h).
store::EditResult CorrectSchedule(const ScheduleRef& ref, const std::string& newPath, const std::string& newLine,
                                  store::Follower follower, files::FileOps& ops = files::systemFileOps());
// Lines added to several month files (each file with its lines), sorted in; all the files change
// together or none does, a crash included (FileTransaction.h).
using MonthAdditions = std::vector<std::pair<std::string, std::vector<std::string>>>;
store::EditResult AddToMonthFiles(const MonthAdditions& additions, files::FileOps& ops = files::systemFileOps());

// The year and month of a month file name ("200403.sch"), when it is one.
std::optional<std::pair<int, int>> MonthOfFile(std::string_view path);

} // namespace kal
