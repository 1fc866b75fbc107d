#include "sync/SyncLocal.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoMemo.h"
#include "todo/TodoRecord.h"
#include "todo/TodoStore.h"

namespace kal {
namespace {

std::string keyText(const RecordKey& key)
{
    return key.file + '\0' + std::to_string(key.occurrence) + '\0' + key.line;
}

// The file's bytes (nothing when missing) into the snapshot; false with the reason when it
// exists and cannot be read.
bool readInto(SyncSnapshot& snapshot, const std::string& path, std::vector<std::string>& lines, std::string& reason,
              std::size_t maxBytes = files::kMaxDataFileBytes)
{
    const files::ReadResult read = files::readFile(path, maxBytes);
    if (read.status == files::ReadStatus::Unreadable) {
        reason = "「" + path + "」を読み込めません。\r\n" + read.reason;
        return false;
    }
    const bool present = read.status == files::ReadStatus::Ok;
    snapshot.files[path] = present ? std::optional<std::string>(read.bytes) : std::nullopt;
    lines = present ? files::splitLines(read.bytes) : std::vector<std::string>{};
    return true;
}

std::string fileNameOf(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

void addRecord(SyncSnapshot& snapshot, LocalRecord record)
{
    snapshot.byKey_[keyText(record.key)] = snapshot.records.size();
    snapshot.records.push_back(std::move(record));
}

bool readMonths(SyncSnapshot& snapshot, const std::string& dataPath, const SyncWindow& window, std::string& reason)
{
    for (int year = window.from.year, month = window.from.month;
         year < window.to.year || (year == window.to.year && month <= window.to.month); nextMonth(year, month)) {
        std::vector<std::string> lines;
        if (!readInto(snapshot, MonthFilePath(dataPath, year, month), lines, reason))
            return false;
        std::map<std::string, int> seen;
        for (std::string& line : lines) {
            const int occurrence = seen[line]++;
            if (!IsScheduleRecord(line) || RecDay(line) > daysInMonth(year, month))
                continue;
            const Date date{year, month, RecDay(line)};
            LocalRecord record{{MonthFileName(year, month), occurrence, std::move(line)}, date, {}, {}};
            record.hash = contentHash(recordContent(record));
            addRecord(snapshot, std::move(record));
        }
    }
    return true;
}

bool readTodos(SyncSnapshot& snapshot, const std::string& todoPath, std::string& reason)
{
    std::vector<std::string> lines, memos;
    if (!readInto(snapshot, TodoFilePath(todoPath), lines, reason) ||
        !readInto(snapshot, TodoMemoFilePath(todoPath), memos, reason))
        return false;
    std::map<std::string, int> seen;
    for (std::string& line : lines) {
        const int occurrence = seen[line]++;
        if (!IsTodoRecord(line))
            continue;
        LocalRecord record{{kTodoFileName, occurrence, line}, {}, {}, {}};
        if (const int at = FindTodoMemo(memos, TodoMemoNumber(line)); at >= 0)
            record.memo = ParseTodoMemo(memos[static_cast<std::size_t>(at)]).lines;
        record.hash = contentHash(recordContent(record));
        addRecord(snapshot, std::move(record));
    }
    return true;
}

} // namespace

bool LocalRecord::isTodo() const
{
    return key.file == kTodoFileName;
}

std::string recordHash(const RecordKey& key, const std::vector<std::string>& memo)
{
    LocalRecord record{key, {}, memo, {}};
    if (const std::optional<std::pair<int, int>> month = MonthOfFile(key.file))
        record.date = Date{month->first, month->second, RecDay(key.line)};
    return contentHash(recordContent(record));
}

namespace {

// Texts compared as the characters they are: the two forms of one character are one. An open
// entry's done date goes to no server.
std::string todoFieldsContent(TodoFields fields, const std::vector<std::string>& memo)
{
    fields.memoNumber = 0;
    if (!fields.done)
        fields.doneDate = Date{};
    fields.title = text::trimRight(fields.title);
    std::string content = std::string("T") + '\0' + sjis::canonical(ComposeTodo(fields));
    for (const std::string& line : memo)
        content += '\n' + sjis::canonical(line);
    return content;
}

} // namespace

std::string recordContent(const LocalRecord& record)
{
    if (record.isTodo())
        return todoFieldsContent(ParseTodo(record.key.line).value_or(TodoFields{}), record.memo);
    const ScheduleFields f = ReadSchedule(record.key.line);
    return dayContent({record.date, f.start, f.end, f.title, f.place, f.category, f.sound, f.message});
}

std::optional<std::string> recordContentAsListed(const LocalRecord& record)
{
    if (record.isTodo())
        return std::nullopt;
    const ScheduleFields f = ReadSchedule(record.key.line);
    const std::size_t comma = f.category.find(',');
    if (comma == std::string::npos)
        return std::nullopt;
    return dayContent({record.date, f.start, f.end, f.title, f.place, f.category.substr(0, comma), f.sound, f.message});
}

std::string dayContent(const ImportedSchedule& day)
{
    return MonthFileName(day.date.year, day.date.month) + '\0' + sjis::canonical(serverRecordLine(day));
}

std::string todoContent(const ImportedTodo& todo)
{
    return todoFieldsContent(todo.fields, todo.memo);
}

std::multiset<std::string> itemContent(const ServerItem& item, const SyncWindow& window)
{
    std::multiset<std::string> content;
    for (const IcalEventItem& event : item.entries.events)
        for (const ImportedSchedule& day : event.days)
            if (window.contains(day.date))
                content.insert(dayContent(day));
    for (const IcalTodoItem& todo : item.entries.todos)
        content.insert(todoContent(todo.todo));
    return content;
}

std::pair<std::string, std::string> itemOf(const RecordIdentity& identity)
{
    if (identity.source.uid.empty())
        return {identity.uid, {}};
    return {identity.source.uid, identity.source.recurrenceId};
}

const LocalRecord* SyncSnapshot::recordAt(const RecordKey& key) const
{
    const auto found = byKey_.find(keyText(key));
    return found == byKey_.end() ? nullptr : &records[found->second];
}

RecordState SyncSnapshot::stateOf(const RecordIdentity& identity, const SyncWindow& window) const
{
    if (identity.removed())
        return RecordState::Gone;
    if (const LocalRecord* record = recordAt(identity.key))
        return record->hash == identity.synced ? RecordState::Unchanged : RecordState::Changed;
    // Only a file read for this sync tells that the record was removed from it.
    const auto inWindow = [&] {
        const std::optional<std::pair<int, int>> month = MonthOfFile(identity.key.file);
        return month && window.contains(Date{month->first, month->second, 1});
    };
    const bool todo = identity.key.file == kTodoFileName;
    for (const auto& [path, bytes] : files)
        if (bytes && fileNameOf(path) == identity.key.file && (todo || inWindow()))
            return RecordState::Gone;
    return RecordState::Elsewhere;
}

bool forgettable(const RecordIdentity& identity, const SyncSnapshot& snapshot, const SyncWindow& window,
                 const std::string& dataPath, std::map<std::string, bool>& gone)
{
    const RecordState state = snapshot.stateOf(identity, window);
    if (state == RecordState::Gone)
        return identity.href.empty() && !identity.removed();
    const std::optional<std::pair<int, int>> month = MonthOfFile(identity.key.file);
    if (state != RecordState::Elsewhere || !month || !(Date{month->first, month->second, 1} < window.from))
        return false;
    return gone.try_emplace(identity.key.file, !files::fileExists(dataPath + identity.key.file)).first->second;
}

SnapshotRead readSnapshot(const SyncFolders& folders, const SyncWindow& window)
{
    SnapshotRead out;
    files::FolderLock lock = files::lockFolders(folders.all());
    if (!lock) {
        out.ok = false;
        out.reason = lock.reason();
        return out;
    }
    SyncSnapshot& s = out.snapshot;
    s.programFolder = folders.programFolder;
    const files::IoResult split = splitIdentityFile(folders.programFolder);
    IdentityFile identities = loadIdentities(folders.programFolder);
    s.state = loadSyncState(folders.programFolder);
    std::string reason = !split ? split.reason : !identities.ok ? identities.reason : s.state.reason;
    std::vector<std::string> lines;
    for (const std::string& path : identities.paths)
        if (reason.empty())
            readInto(s, path, lines, reason, kMaxIdentityFileBytes);
    if (reason.empty() && readMonths(s, folders.dataPath, window, reason))
        readTodos(s, folders.todoPath, reason);
    if (!reason.empty()) {
        out.ok = false;
        out.reason = reason;
        return out;
    }
    s.identities = std::move(identities.table);
    s.files[files::withSeparator(folders.programFolder) + kSyncStateFileName] =
        files::readBytes(files::withSeparator(folders.programFolder) + kSyncStateFileName);
    const std::optional<std::string>& pending = s.files[syncPendingPath(folders.programFolder)] =
        files::readBytes(syncPendingPath(folders.programFolder));
    s.pending = readSyncPending(pending.value_or(""));
    return out;
}

bool snapshotCurrent(const SyncSnapshot& snapshot)
{
    // An identity file made since (a save of a month the sync did not read) was not read.
    for (const std::string& name : identityFileNames(snapshot.programFolder))
        if (!snapshot.files.count(files::withSeparator(snapshot.programFolder) + name))
            return false;
    for (const auto& [path, bytes] : snapshot.files) {
        const files::ReadResult now = files::readFile(path, kMaxIdentityFileBytes);
        if (now.status == files::ReadStatus::Unreadable)
            return false;
        const bool present = now.status == files::ReadStatus::Ok;
        if (present != bytes.has_value() || (present && now.bytes != *bytes))
            return false;
    }
    return true;
}

} // namespace kal
