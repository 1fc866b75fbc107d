#include "todo/TodoStore.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "todo/TodoMemo.h"

#include <algorithm>
#include <set>

namespace kal {
namespace {

// ToDo.dat and ToDoMemo.dat change together or not at all, a crash included, so an entry never
// points at a memo that is not there.
store::EditRequest todoFiles(const std::string& todoFolder, store::Follower follower,
                             std::vector<store::LineRef> unchanged)
{
    return {{TodoFilePath(todoFolder), TodoMemoFilePath(todoFolder)}, follower, std::move(unchanged)};
}

} // namespace

std::string TodoFilePath(const std::string& todoFolder)
{
    return files::withSeparator(todoFolder) + kTodoFileName;
}

std::string TodoMemoFilePath(const std::string& todoFolder)
{
    return files::withSeparator(todoFolder) + kTodoMemoFileName;
}

TodoFile LoadTodoFile(const std::string& todoFolder)
{
    TodoFile file;
    const std::string path = TodoFilePath(todoFolder);
    file.exists = files::fileExists(path);
    file.lines = files::loadLinesNoting(path, file.unreadable);
    return file;
}

bool TodoStillThere(const std::string& todoFolder, const store::LineRef& ref)
{
    const std::vector<std::string> lines = files::loadLines(TodoFilePath(todoFolder));
    return ref.index >= 0 && static_cast<std::size_t>(ref.index) < lines.size() &&
           lines[static_cast<std::size_t>(ref.index)] == ref.line;
}

store::EditResult ApplyTodoTicks(const std::string& todoFolder, const std::vector<TodoTick>& ticks, const Date& today,
                                 store::Follower follower, files::FileOps& ops)
{
    if (ticks.empty())
        return {};
    std::vector<store::LineRef> refs;
    for (const TodoTick& tick : ticks)
        refs.push_back(tick.ref);
    // The order of the file stays: a tick rewrites its line where it stands.
    return store::edit(
        {{TodoFilePath(todoFolder)}, follower, refs},
        [&](store::EditFiles& todo) {
            for (const TodoTick& tick : ticks)
                if (TodoIsOpen(tick.ref.line) == tick.done)
                    todo.rewrite(tick.ref, TodoWithDone(tick.ref.line, tick.done, today));
            return store::EditResult{};
        },
        ops);
}

store::EditResult DeleteTodos(const std::string& todoFolder, const std::vector<store::LineRef>& refs,
                              store::Follower follower, files::FileOps& ops)
{
    if (refs.empty())
        return {};
    return store::edit(
        todoFiles(todoFolder, follower, refs),
        [&](store::EditFiles& files) {
            const std::vector<std::string>& lines = files.lines(TodoFilePath(todoFolder));
            // Removed by position: a stored line that happens to look like a marker is never lost.
            std::set<int> doomed, memoNumbers, stillUsed;
            for (const store::LineRef& ref : refs) {
                doomed.insert(ref.index);
                memoNumbers.insert(TodoMemoNumber(ref.line));
                files.remove(ref);
            }
            for (std::size_t i = 0; i < lines.size(); ++i)
                if (!doomed.count(static_cast<int>(i)))
                    stillUsed.insert(TodoMemoNumber(lines[i]));
            const std::string memoPath = TodoMemoFilePath(todoFolder);
            std::vector<std::string> memoLines = files.lines(memoPath);
            for (int number : memoNumbers) {
                if (number == 0 || stillUsed.count(number))
                    continue;
                if (int at = FindTodoMemo(memoLines, number); at >= 0)
                    memoLines.erase(memoLines.begin() + at);
            }
            if (memoLines.size() != files.lines(memoPath).size())
                files.replace(memoPath, std::move(memoLines));
            return store::EditResult{};
        },
        ops);
}

int TodoEntryMemoNumber(const TodoEntry& entry, const std::vector<std::string>& todoLines,
                        const std::vector<std::string>& memoLines)
{
    if (entry.mode == TodoInputMode::Edit)
        if (int own = TodoMemoNumber(entry.edited.line); own > 0)
            return own;
    return FreeTodoMemoNumber(todoLines, memoLines);
}

bool TodoMemoAvailable(const std::string& todoFolder, TodoInputMode mode, const store::LineRef& edited)
{
    TodoEntry entry;
    entry.mode = mode;
    entry.edited = edited;
    return TodoEntryMemoNumber(entry, files::loadLines(TodoFilePath(todoFolder)),
                               files::loadLines(TodoMemoFilePath(todoFolder))) > 0;
}

TodoEntryResult StoreTodoEntry(const std::string& todoFolder, const TodoEntry& entry, store::Follower follower,
                               files::FileOps& ops)
{
    TodoEntryResult out;
    const bool edit = entry.mode == TodoInputMode::Edit;
    const std::string path = TodoFilePath(todoFolder);
    const std::string memoPath = TodoMemoFilePath(todoFolder);
    out.result = store::edit(
        todoFiles(todoFolder, follower, edit ? std::vector{entry.edited} : std::vector<store::LineRef>{}),
        [&](store::EditFiles& files) {
            TodoFields fields = entry.fields;
            fields.memoNumber = TodoEntryMemoNumber(entry, files.lines(path), files.lines(memoPath));
            std::vector<std::string> memoLines = files.lines(memoPath);
            if (entry.memoChanged) {
                if (fields.memoNumber == 0) {
                    out.memoRefused = !entry.memo.empty();
                } else {
                    if (int own = FindTodoMemo(memoLines, fields.memoNumber); own >= 0)
                        memoLines.erase(memoLines.begin() + own);
                    if (entry.memo.empty()) {
                        fields.memoNumber = 0;
                    } else {
                        memoLines.push_back(ComposeTodoMemo(fields.memoNumber, entry.memo));
                        text::sortNoCase(memoLines);
                    }
                }
            }
            out.line = ComposeTodo(fields);
            if (edit)
                files.move(entry.edited, path, out.line);
            else
                files.add(path, out.line);
            if (memoLines != files.lines(memoPath))
                files.replace(memoPath, std::move(memoLines));
            return store::EditResult{};
        },
        ops);
    return out;
}

std::vector<std::string> LoadTodoMemo(const std::string& todoFolder, int memoNumber)
{
    if (memoNumber <= 0)
        return {};
    const std::vector<std::string> memoLines = files::loadLines(TodoMemoFilePath(todoFolder));
    const int at = FindTodoMemo(memoLines, memoNumber);
    if (at < 0)
        return {};
    return ParseTodoMemo(memoLines[static_cast<std::size_t>(at)]).lines;
}

} // namespace kal
