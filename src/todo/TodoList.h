// What the two ToDo lists show: their columns after the settings, one row per entry with its
// cell texts and status icon, the tab captions, and the column sort.
#pragma once

#include "platform/Collation.h"
#include "platform/Date.h"
#include "settings/SettingFlags.h"
#include "todo/TodoRecord.h"
#include "todo/TodoStore.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kal {

enum class TodoList { Open, Done };

// The seven display items, named as the TNoItem/TOkItem flags that show them.
using TodoItem = TodoItemFlag;
inline constexpr int kTodoItemCount = static_cast<int>(TodoItemFlags::count);

enum class ColumnAlign { Left, Centre, Right };

struct TodoColumn {
    std::optional<TodoItem> item; // none: the first column (check box and status icon)
    std::string caption;          // UTF-8
    int width = 0;
    ColumnAlign align = ColumnAlign::Left;
};

// The columns of one list: the first column, then each item whose flag is on ("件名" always,
// never "処理日" in the open list nor "残日数" in the done list). The priority and title
// columns take the saved widths.
std::vector<TodoColumn> TodoColumns(TodoList list, const TodoItemFlags& itemFlags, bool statusIcons, int priorityWidth,
                                    int titleWidth);

struct TodoRow {
    store::LineRef ref;
    bool done = false;
    TodoIcon status = TodoIcon::Normal;            // open rows
    std::optional<long long> daysLeft;             // open rows with a deadline
    std::array<std::string, kTodoItemCount> cells; // Shift-JIS, by TodoItem
};

struct TodoRows {
    std::vector<TodoRow> open;
    std::vector<TodoRow> done;
};

// One row per entry of ToDo.dat (`todoPath`), in file order; lines that do not follow the layout
// get none.
TodoRows BuildTodoRows(const std::string& todoPath, const std::vector<std::string>& lines, const Date& today,
                       int warnTerm);

// The first column's check box and icon in words, for a screen reader (UTF-8): "処理済" in the
// done list, else the deadline's state ("期限切れ", "今日が期限", "期限間近", "未処理").
std::string TodoStateWords(const TodoRow& row);

// "ToDo 未処理 [%2d件]" and "ToDo 処理済 [%2d件]" (UTF-8).
std::string TodoTabCaption(TodoList list, int count);

// The order of `rows` sorted by the item of one column, descending when `direction` is -1:
// texts in `collation`'s order, 残日数 as a number (no deadline after every number). Rows that
// compare equal keep their order.
std::vector<std::size_t> TodoSortOrder(const std::vector<TodoRow>& rows, TodoItem item, int direction,
                                       const text::Collation& collation);

// The user's own picture for status icon `state` (1 overdue, 2 due today, 3 warning, 4 normal):
// program folder + "TNoicon" + state + ".sbm", when flag `state` of SetIcon is on.
std::optional<std::string> CustomTodoIconPath(const std::string& programFolder, const TodoIconFlags& setIcon,
                                              int state);
// Where the picture for `state` is kept, whatever SetIcon says.
std::string TodoIconFilePath(const std::string& programFolder, int state);

// Identity of an entry across rebuilds of the lists: its text and which of several identical
// lines it is.
struct TodoKey {
    std::string line;
    int occurrence = 0;
};
inline bool operator<(const TodoKey& a, const TodoKey& b)
{
    return a.line != b.line ? a.line < b.line : a.occurrence < b.occurrence;
}
// The keys of `rows` in order.
std::vector<TodoKey> TodoKeys(const std::vector<TodoRow>& rows);

} // namespace kal
