// One line of ToDo.dat (its columns: store/TodoFile.h): deadline (yyyy/mm/dd or 期限日なし),
// priority, progress, done flag, done date, 14-byte category, memo number, then the title.
#pragma once

#include "platform/Date.h"
#include "store/TodoFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace kal {

using store::kTodoFileName;
inline constexpr int kTodoTitleBytes = 80;
inline constexpr int kTodoCategoryBytes = store::kTodoColumns.width(store::TodoField::Category);
inline constexpr int kTodoMaxProgress = 10; // tenths
inline constexpr int kTodoMaxPriority = 3;  // Ａ to Ｄ
inline constexpr int kTodoMaxMemoNumber = 99;

// The values of one entry. `memoNumber` 0 means the entry has no memo key.
struct TodoFields {
    std::optional<Date> deadline; // none: 期限日なし
    int priority = 1;
    int progress = 0;
    bool done = false;
    Date doneDate;
    std::string category; // cut and padded to 14 bytes when composed
    int memoNumber = 0;
    std::string title; // Shift-JIS, at most 80 bytes
};

std::string ComposeTodo(const TodoFields& fields);

// The fields of a line that follows the layout; nothing for any other line, which the program
// shows nowhere and never rewrites.
std::optional<TodoFields> ParseTodo(const std::string& line);
inline bool IsTodoRecord(const std::string& line)
{
    return ParseTodo(line).has_value();
}

// The deadline as a date; nothing for 期限日なし or a malformed field.
std::optional<Date> TodoDeadline(const std::string& line);
// Open unless byte 14 is anything but "0".
bool TodoIsOpen(const std::string& line);
std::string TodoCategory(const std::string& line); // the 14 stored bytes
std::string TodoTitle(const std::string& line);    // from byte 41 to the end
// The memo key of bytes 39-40: 1 to 99, or 0 for "00", two blanks or anything unreadable.
int TodoMemoNumber(const std::string& line);
// The same reading of a two-byte key wherever it stands.
int MemoNumberOf(std::string_view twoBytes);

// The line with its done flag set: a closed entry takes `today` as its done date, a reopened
// one keeps the stored date. Every other byte stays as it was.
std::string TodoWithDone(const std::string& line, bool done, const Date& today);

// The ToDo state of a day: earlier than today overdue, today due, within the warning term a
// warning, later normal. It picks the status icon of a list row and of a calendar cell.
enum class TodoIcon { None = 0, Overdue = 1, DueToday = 2, Warning = 3, Normal = 4 };
TodoIcon TodoIconFor(const Date& day, const Date& today, int warnTerm);

} // namespace kal
