// The ToDo store: ToDo.dat and ToDoMemo.dat in the ToDo folder, and every operation that writes
// them. Each operation reads the files afresh and acts only when every line it was given still
// holds the text the list showed; otherwise nothing is written. Lines that do not follow the
// record layout are carried along untouched. The follower is told of every entry changed or
// removed, and its files change with the ToDo files (store/Edit.h). A list's entry is named by
// its line of ToDo.dat (store::LineRef).
#pragma once

#include "platform/Date.h"
#include "platform/FileOps.h"
#include "platform/Files.h"
#include "store/Edit.h"
#include "todo/TodoRecord.h"

#include <string>
#include <vector>

namespace kal {

std::string TodoFilePath(const std::string& todoFolder);
std::string TodoMemoFilePath(const std::string& todoFolder);

// ToDo.dat as the lists show it; `exists` is false when the file is missing, and the lines are
// then empty, so nothing of an earlier folder survives.
struct TodoFile {
    bool exists = false;
    std::vector<std::string> lines;
    std::vector<files::FileProblem> unreadable; // ToDo.dat exists but cannot be read
};
TodoFile LoadTodoFile(const std::string& todoFolder);

// Whether ToDo.dat still holds `ref.line` at `ref.index`.
bool TodoStillThere(const std::string& todoFolder, const store::LineRef& ref);

// The check-box write-back: each entry takes its new done state (closed ones today's date as
// done date); the order of the file stays. No change, no write.
struct TodoTick {
    store::LineRef ref;
    bool done = false;
};
store::EditResult ApplyTodoTicks(const std::string& todoFolder, const std::vector<TodoTick>& ticks, const Date& today,
                                 store::Follower follower, files::FileOps& ops = files::systemFileOps());

// Removes the entries and their memos (a memo another entry still points to is kept). Both files
// change together or neither does.
store::EditResult DeleteTodos(const std::string& todoFolder, const std::vector<store::LineRef>& refs,
                              store::Follower follower, files::FileOps& ops = files::systemFileOps());

// An entry stored by the input dialog.
enum class TodoInputMode { New = 0, Edit = 1, CopyFromSchedule = 3 };

struct TodoEntry {
    TodoInputMode mode = TodoInputMode::New;
    store::LineRef edited; // Edit: the entry being corrected
    TodoFields fields;     // memoNumber is decided here
    std::vector<std::string> memo;
    bool memoChanged = false; // only a changed memo is written
};

struct TodoEntryResult {
    store::EditResult result;
    bool memoRefused = false; // no memo number was free: the entry is stored without its memo
    std::string line;         // the line stored
};

// The memo number an entry gets: an edited entry keeps its own, every other takes a free one
// (0 when none is free).
int TodoEntryMemoNumber(const TodoEntry& entry, const std::vector<std::string>& todoLines,
                        const std::vector<std::string>& memoLines);

// Whether a memo can be typed for an entry about to be entered: false when it would get no
// memo number.
bool TodoMemoAvailable(const std::string& todoFolder, TodoInputMode mode, const store::LineRef& edited);

// Stores the entry (ToDo.dat sorted) and its memo when changed: both files or neither.
TodoEntryResult StoreTodoEntry(const std::string& todoFolder, const TodoEntry& entry, store::Follower follower,
                               files::FileOps& ops = files::systemFileOps());

// The memo lines of an entry, empty when it has none.
std::vector<std::string> LoadTodoMemo(const std::string& todoFolder, int memoNumber);

} // namespace kal
