// Daily memos: the memo of a day is the file yyyymmdd.mem in the memo folder, plain Shift-JIS
// lines ended by CR LF. A day has a memo exactly when its file exists; an emptied memo deletes
// the file. Memotemp.txt in the same folder is the text a new memo starts with.
//
// Everything here takes the memo folder (UTF-8, with or without its trailing '/') and a date;
// nothing is cached but what the memo folder's stamp vouches for, so every caller sees the files
// as they are.
#pragma once

#include "platform/Date.h"
#include "platform/Files.h"
#include "store/MemoFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kal {

inline constexpr const char* kMemoExtension = ".mem";
inline constexpr const char* kMemoTemplateFileName = "Memotemp.txt";

// "20240305.mem".
std::string MemoFileName(const Date& date);
// The memo folder with its separator, then MemoFileName.
std::string MemoFilePath(const std::string& memoPath, const Date& date);
// The day a memo file name stands for ("20240305.mem"); nothing for any other name, an
// impossible date included.
std::optional<Date> MemoFileDate(std::string_view fileName);

bool DayMemoExists(const std::string& memoPath, const Date& date);
// DayMemoExists for each of `count` consecutive days from `first`. The answer is kept while the
// memo folder's stamp stays the same: a memo file made, deleted or renamed changes it.
std::vector<bool> DayMemosExist(const std::string& memoPath, const Date& first, int count);
// The day's lines; none when it has no memo file.
std::vector<std::string> LoadDayMemo(const std::string& memoPath, const Date& date);
// Writes the lines, or deletes the file when the memo is empty.
files::IoResult SaveDayMemo(const std::string& memoPath, const Date& date, const std::vector<std::string>& lines,
                            files::FileOps& ops = files::systemFileOps());
// Deletes the day's memo; a day without memo is not an error.
files::IoResult DeleteDayMemo(const std::string& memoPath, const Date& date,
                              files::FileOps& ops = files::systemFileOps());

// The same for any memo-like file (a day memo, the template, a note): an empty text deletes it.
files::IoResult SaveMemoFile(const std::string& path, const std::vector<std::string>& lines,
                             files::FileOps& ops = files::systemFileOps());
files::IoResult DeleteMemoFile(const std::string& path, files::FileOps& ops = files::systemFileOps());

struct DayMemoText {
    Date date;
    std::vector<std::string> lines;
};

// The memos of the days `from` to `to` (both included), in date order. Only the files that exist
// are read; a range of more than about a year lists the folder once instead of asking for each
// day, so a range of years costs no more than its memos.
// A memo file that cannot be read is left out, and noted in `unreadable` when given.
std::vector<DayMemoText> LoadDayMemos(const std::string& memoPath, const Date& from, const Date& to,
                                      std::vector<files::FileProblem>* unreadable = nullptr);

// Editing one line of a memo file. The caller passes the text it showed for the line; nothing is
// written when the file no longer holds that text there (Changed).
struct MemoLineResult : store::EditResult {
    bool missing = false;     // the file does not exist (any more): nothing to edit, nothing to tell
    bool fileDeleted = false; // the last line went, and the file with it
};

MemoLineResult ReplaceMemoLine(const std::string& path, int index, const std::string& shown,
                               const std::string& replacement, files::FileOps& ops = files::systemFileOps());
// Removes the line; when none remains the file is deleted.
MemoLineResult DeleteMemoLine(const std::string& path, int index, const std::string& shown,
                              files::FileOps& ops = files::systemFileOps());

} // namespace kal
