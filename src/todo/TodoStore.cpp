#include "todo/TodoStore.h"

#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/RecordFollower.h"
#include "todo/TodoMemo.h"

#include <algorithm>
#include <set>

namespace kal {
namespace {

// A file about to be rewritten: its lines, or why it cannot be read.
struct Loaded {
    bool exists = false;
    std::vector<std::string> lines;
};

TodoResult loadForChange(const std::string& path, Loaded& loaded)
{
    files::LoadForUpdate read = files::loadLinesForUpdate(path);
    if (!read.ok)
        return TodoResult{TodoWrite::WriteFailed, read.reason};
    loaded.exists = files::fileExists(path);
    loaded.lines = std::move(read.lines);
    return {};
}

bool stillThere(const std::vector<std::string>& lines, const TodoRef& ref)
{
    return ref.index >= 0 && ref.index < static_cast<int>(lines.size()) &&
           lines[static_cast<std::size_t>(ref.index)] == ref.line;
}

bool allStillThere(const std::vector<std::string>& lines, const std::vector<TodoRef>& refs)
{
    return std::all_of(refs.begin(), refs.end(), [&](const TodoRef& ref) { return stillThere(lines, ref); });
}

// The entries a change moved, for the files that follow them (RecordFollower.h).
struct Followed {
    files::RecordFollower* follower = nullptr;
    std::vector<files::RecordChange> records;
};

// ToDo.dat and, when its lines changed, ToDoMemo.dat (with what follows the entries): all or
// none, a crash included, so an entry never points at a memo that is not there.
TodoResult savePair(const std::string& todoFolder, const std::vector<std::string>& todoLines,
                    const std::vector<std::string>& memoLines, bool memoChanged, const Followed& followed,
                    files::FileOps& ops)
{
    std::vector<files::FileChange> changes;
    changes.push_back({TodoFilePath(todoFolder), files::joinLines(todoLines)});
    if (memoChanged)
        changes.push_back({TodoMemoFilePath(todoFolder), files::joinLines(memoLines)});
    if (files::IoResult saved = files::writeFollowed(todoFolder, changes, followed.records, followed.follower, ops);
        !saved)
        return TodoResult{TodoWrite::WriteFailed, saved.reason};
    return TodoResult{TodoWrite::Done, {}, true};
}

TodoResult save(const std::string& todoFolder, const std::vector<std::string>& lines, const Followed& followed,
                files::FileOps& ops)
{
    return savePair(todoFolder, lines, {}, false, followed, ops);
}

files::RecordPlace placeOf(const std::string& todoFolder, const std::vector<std::string>& lines, std::size_t index)
{
    return files::RecordPlace{TodoFilePath(todoFolder), lines[index], files::occurrenceAt(lines, index)};
}

TodoResult changed()
{
    return TodoResult{TodoWrite::Changed, {}};
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

bool TodoStillThere(const std::string& todoFolder, const TodoRef& ref)
{
    return stillThere(files::loadLines(TodoFilePath(todoFolder)), ref);
}

TodoResult ApplyTodoTicks(const std::string& todoFolder, const std::vector<TodoTick>& ticks, const Date& today,
                          files::RecordFollower* follower, files::FileOps& ops)
{
    if (ticks.empty())
        return {};
    files::FolderLock lock = files::lockFolders(files::followedFolders({todoFolder}, follower));
    if (!lock)
        return TodoResult{TodoWrite::WriteFailed, lock.reason()};
    const std::string path = TodoFilePath(todoFolder);
    Loaded todo;
    if (TodoResult loaded = loadForChange(path, todo); !loaded.ok())
        return loaded;
    std::vector<std::string> lines = todo.lines;
    std::vector<std::size_t> ticked;
    for (const TodoTick& tick : ticks) {
        if (!stillThere(todo.lines, tick.ref))
            return changed();
        const auto index = static_cast<std::size_t>(tick.ref.index);
        if (TodoIsOpen(lines[index]) != tick.done)
            continue;
        lines[index] = TodoWithDone(lines[index], tick.done, today);
        ticked.push_back(index);
    }
    if (ticked.empty())
        return {};
    Followed followed{follower, {}};
    for (std::size_t index : ticked)
        followed.records.push_back({placeOf(todoFolder, todo.lines, index), placeOf(todoFolder, lines, index)});
    return save(todoFolder, lines, followed, ops);
}

TodoResult DeleteTodos(const std::string& todoFolder, const std::vector<TodoRef>& refs, files::RecordFollower* follower,
                       files::FileOps& ops)
{
    if (refs.empty())
        return {};
    files::FolderLock lock = files::lockFolders(files::followedFolders({todoFolder}, follower));
    if (!lock)
        return TodoResult{TodoWrite::WriteFailed, lock.reason()};
    const std::string path = TodoFilePath(todoFolder);
    const std::string memoPath = TodoMemoFilePath(todoFolder);
    Loaded todo, memo;
    if (TodoResult loaded = loadForChange(path, todo); !loaded.ok())
        return loaded;
    if (!allStillThere(todo.lines, refs))
        return changed();
    if (TodoResult loaded = loadForChange(memoPath, memo); !loaded.ok())
        return loaded;

    // Removed by position: a stored line that happens to look like a marker is never lost.
    std::set<int> doomed;
    for (const TodoRef& ref : refs)
        doomed.insert(ref.index);
    std::vector<std::string> kept;
    std::set<int> memoNumbers, stillUsed;
    Followed followed{follower, {}};
    for (std::size_t i = 0; i < todo.lines.size(); ++i) {
        const int number = TodoMemoNumber(todo.lines[i]);
        if (doomed.count(static_cast<int>(i))) {
            memoNumbers.insert(number);
            followed.records.push_back({placeOf(todoFolder, todo.lines, i), std::nullopt});
            continue;
        }
        stillUsed.insert(number);
        kept.push_back(todo.lines[i]);
    }
    std::vector<std::string> memoLines = memo.lines;
    for (int number : memoNumbers) {
        if (number == 0 || stillUsed.count(number))
            continue;
        if (int at = FindTodoMemo(memoLines, number); at >= 0)
            memoLines.erase(memoLines.begin() + at);
    }

    return savePair(todoFolder, kept, memoLines, memoLines.size() != memo.lines.size(), followed, ops);
}

int TodoEntryMemoNumber(const TodoEntry& entry, const std::vector<std::string>& todoLines,
                        const std::vector<std::string>& memoLines)
{
    if (entry.mode == TodoInputMode::Edit)
        if (int own = TodoMemoNumber(entry.edited.line); own > 0)
            return own;
    return FreeTodoMemoNumber(todoLines, memoLines);
}

bool TodoMemoAvailable(const std::string& todoFolder, TodoInputMode mode, const TodoRef& edited)
{
    TodoEntry entry;
    entry.mode = mode;
    entry.edited = edited;
    return TodoEntryMemoNumber(entry, files::loadLines(TodoFilePath(todoFolder)),
                               files::loadLines(TodoMemoFilePath(todoFolder))) > 0;
}

TodoEntryResult StoreTodoEntry(const std::string& todoFolder, const TodoEntry& entry, files::RecordFollower* follower,
                               files::FileOps& ops)
{
    TodoEntryResult out;
    files::FolderLock lock = files::lockFolders(files::followedFolders({todoFolder}, follower));
    if (!lock) {
        out.result = TodoResult{TodoWrite::WriteFailed, lock.reason()};
        return out;
    }
    const std::string path = TodoFilePath(todoFolder);
    const std::string memoPath = TodoMemoFilePath(todoFolder);
    Loaded todo, memo;
    if (out.result = loadForChange(path, todo); !out.result.ok())
        return out;
    if (entry.mode == TodoInputMode::Edit && !stillThere(todo.lines, entry.edited)) {
        out.result = changed();
        return out;
    }
    if (out.result = loadForChange(memoPath, memo); !out.result.ok())
        return out;

    TodoFields fields = entry.fields;
    fields.memoNumber = TodoEntryMemoNumber(entry, todo.lines, memo.lines);
    std::vector<std::string> memoLines = memo.lines;
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
    std::vector<std::string> lines = todo.lines;
    if (entry.mode == TodoInputMode::Edit)
        lines.erase(lines.begin() + entry.edited.index);
    lines.push_back(out.line);
    text::sortNoCase(lines);
    Followed followed{follower, {}};
    if (entry.mode == TodoInputMode::Edit)
        followed.records.push_back(
            {placeOf(todoFolder, todo.lines, static_cast<std::size_t>(entry.edited.index)),
             files::RecordPlace{TodoFilePath(todoFolder), out.line, files::lastOccurrence(lines, out.line)}});
    out.result = savePair(todoFolder, lines, memoLines, memoLines != memo.lines, followed, ops);
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
