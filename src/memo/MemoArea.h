// The rules of the memo area under the day's schedule list and of the memo editor, as plain
// values: the area's title, whether it shows, the editor's file and caption.
#pragma once

#include "platform/Date.h"

#include <string>
#include <vector>

namespace kal {

// The `Memo` setting.
enum class MemoAreaMode { WhenMemo = 0, Always = 1, Never = 2 };
MemoAreaMode MemoAreaModeOf(int memoSetting);

// `MTitle` applied to the day as a date format; an empty `MTitle` gives "yyyy/mm/dd", and a
// format that gives nothing gives `MTitle` itself. Shift-JIS in and out; never fails, whatever
// the quotes and letters of `mTitle`.
std::string MemoAreaTitle(const std::string& mTitle, const Date& date);

// Whether the area shows for a day whose memo file exists (or not) with `lineCount` lines.
bool MemoAreaShown(MemoAreaMode mode, bool fileExists, std::size_t lineCount);

// The editor's caption for a day when the area has no title bar: "2024年3月5日のメモ" (UTF-8).
std::string DayMemoCaption(const Date& date);
// The editor's caption when it is opened from the memo list: "2024年03月05日のメモ" (UTF-8).
std::string ListedDayMemoCaption(const Date& date);

enum class MemoEditorMode { Template = 0, DayMemo = 1, Note = 2 };

// What the editor edits. `folder` is the memo folder (Template, DayMemo) or the note folder.
struct MemoEditorTarget {
    MemoEditorMode mode = MemoEditorMode::DayMemo;
    std::string folder;
    Date date;         // DayMemo
    std::string title; // Note, Shift-JIS, already checked as a note title
};

std::string MemoEditorFile(const MemoEditorTarget& target);
// The lines the editor starts with: the file's, or for a day without memo the template's.
std::vector<std::string> MemoEditorStartLines(const MemoEditorTarget& target);
// The caption the editor takes by itself (UTF-8); empty for a day memo, whose opener sets it.
std::string MemoEditorCaption(const MemoEditorTarget& target);

} // namespace kal
