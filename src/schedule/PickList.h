// The five pick lists of the program folder (time-signal times, start and end times, schedule
// texts, places): one entry a line, kept sorted case-insensitively without duplicates by their
// editor, and the rows the schedule input dialog offers from them.
#pragma once

#include "platform/Files.h"
#include "schedule/ScheduleRecord.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kal {

enum class PickListType { SignalTime = 0, StartTime = 1, EndTime = 2, Title = 3, Place = 4 };

const char* PickListFileName(PickListType type);
std::string PickListPath(const std::string& programFolder, PickListType type);
// The editor's caption and prompt (UTF-8).
const char* PickListCaption(PickListType type);
const char* PickListPrompt(PickListType type);
bool IsTimeList(PickListType type);
// Bytes an entry typed in the editor may hold: a time is 5, a text 40.
int PickListEntryLimit(PickListType type);

// The rows feed the record's fields, so they are cut to the fields' widths.
inline constexpr std::size_t kTimeRowBytes = kRecTimeBytes;
inline constexpr std::size_t kTextRowBytes = kRecTextBytes;

class PickList {
public:
    PickList() = default;
    // The entries sorted, duplicates dropped; a missing file is an empty list. A file that is
    // there but cannot be read gives an empty list marked unreadable, which must not be saved.
    static PickList Load(const std::string& path);
    bool readable() const { return unreadable_.empty(); }
    const std::string& unreadableReason() const { return unreadable_; }
    explicit PickList(std::vector<std::string> entries);

    const std::vector<std::string>& entries() const { return entries_; }
    // Inserts `entry` as typed at its sorted place and gives that place; -1 when it is blank.
    // An entry equal to one already there (ignoring case) is not added again; its place is given.
    int add(const std::string& entry);
    void remove(std::size_t index);
    files::IoResult save(const std::string& path, files::FileOps& ops = files::systemFileOps()) const;

private:
    std::vector<std::string> entries_;
    std::string unreadable_;
};

// What the editor's list shows of an entry: its first 40 bytes.
std::string PickListRowText(const std::string& entry);

// The start- or end-time rows of the input dialog: the first 5 bytes of each line of the file,
// or the built-in rows when there is no file.
std::vector<std::string> TimeRows(const std::string& programFolder, PickListType type);
const std::vector<std::string>& DefaultTimeRows();
// The title or place rows: the first 40 bytes of each line; none without a file.
std::vector<std::string> TextRows(const std::string& programFolder, PickListType type);

// Titles (trailing blanks removed) and places (the 40 bytes from byte 71) used in the given
// month-file lines, sorted and each once; blank ones are left out.
std::vector<std::string> RecentTitles(const std::vector<std::string>& monthLines);
std::vector<std::string> RecentPlaces(const std::vector<std::string>& monthLines);
// A zero-padded time of day "HH:MM", 00:00 to 23:59: the only form an alarm can match.
bool IsTimeOfDay(std::string_view text);
// A time of day written H:MM or HH:MM as the zero-padded HH:MM; nothing for anything else.
std::optional<std::string> ZeroPaddedTime(std::string_view text);

// Appends every recent entry not already among the rows (compared ignoring case).
void AppendMissingRows(std::vector<std::string>& rows, const std::vector<std::string>& recent);

} // namespace kal
