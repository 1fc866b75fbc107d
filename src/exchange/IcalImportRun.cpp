// Running an iCalendar import: the items read from the text are planned into the month files
// and the ToDo files, each matched by its UID with the records it made before, then every file
// is written at once (or only counted, for the data check), and the report is made.
#include "exchange/IcalExport.h"
#include "exchange/IcalImport.h"
#include "exchange/IcalSupport.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "todo/TodoMemo.h"
#include "todo/TodoStore.h"

#include <algorithm>
#include <unordered_set>

namespace kal {
namespace {

files::RecordPlace placeOf(const RecordKey& key)
{
    return files::RecordPlace{key.file, key.line, key.occurrence};
}

// Text that reads as the stored text keeps the stored bytes: a character with two Shift-JIS
// forms is not rewritten by a newer version that did not change it.
void keepStoredBytes(std::string& text, const std::string& stored)
{
    if (sjis::sameCharacters(text::trimRight(text), text::trimRight(stored)))
        text = stored;
}

ImportedSchedule withStoredTexts(ImportedSchedule day, const std::string& storedLine)
{
    const ScheduleFields stored = ReadSchedule(storedLine);
    keepStoredBytes(day.title, stored.title);
    keepStoredBytes(day.place, stored.place);
    keepStoredBytes(day.category, stored.category);
    return day;
}

ImportedTodo withStoredTexts(ImportedTodo todo, const std::string& storedLine, const std::vector<std::string>& memo)
{
    const std::optional<TodoFields> stored = ParseTodo(storedLine);
    if (!stored)
        return todo;
    keepStoredBytes(todo.fields.title, stored->title);
    keepStoredBytes(todo.fields.category, stored->category);
    for (std::size_t i = 0; i < todo.memo.size() && i < memo.size(); ++i)
        keepStoredBytes(todo.memo[i], memo[i]);
    return todo;
}

// The ToDo entries of an import, planned in memory like the month files.
class TodoPlan {
public:
    explicit TodoPlan(const std::string& todoPath)
        : path_(TodoFilePath(todoPath)), memoPath_(TodoMemoFilePath(todoPath))
    {
    }

    ImportOutcome start()
    {
        for (auto [path, lines] : {std::pair{&path_, &lines_}, std::pair{&memoPath_, &memoLines_}}) {
            files::LoadForUpdate loaded = files::loadLinesForUpdate(*path);
            if (!loaded.ok)
                return importFailure(ImportStatus::ReadFailed,
                                     "「" + *path + "」を読み込めません。\r\n" + loaded.reason);
            *lines = std::move(loaded.lines);
        }
        for (const std::string& line : lines_)
            if (IsTodoRecord(line))
                keys_.insert(keyOf(line));
        return {};
    }

    // False when the entry was a duplicate and left out; else `placed` learns where it stands.
    bool add(ImportedTodo todo, bool skipDuplicates, IcalImportCounts& counts, RecordKey& placed)
    {
        todo.fields.memoNumber = 0;
        if (!keys_.insert(keyOf(ComposeTodo(todo.fields))).second && skipDuplicates) {
            ++counts.todoDuplicates;
            return false;
        }
        placed = store(std::move(todo), std::nullopt, counts);
        ++counts.todos;
        return true;
    }

    bool holds(const RecordKey& record) { return record.file == kTodoFileName && find(record) != lines_.end(); }

    // An entry as it is, with its memo under a free number.
    RecordKey addLine(const std::string& line, std::vector<std::string> memo, IcalImportCounts& counts)
    {
        ImportedTodo todo{ParseTodo(line).value_or(TodoFields{}), std::move(memo)};
        return store(std::move(todo), std::nullopt, counts);
    }

    // Takes the entry out, with its memo unless another entry shares it.
    void remove(const RecordKey& record)
    {
        const auto at = find(record);
        if (at == lines_.end())
            return;
        const int own = TodoMemoNumber(record.line);
        lines_.erase(at);
        changed_ = true;
        const bool shared = std::any_of(lines_.begin(), lines_.end(),
                                        [&](const std::string& line) { return TodoMemoNumber(line) == own; });
        if (const int memo = FindTodoMemo(memoLines_, own); own > 0 && !shared && memo >= 0)
            memoLines_.erase(memoLines_.begin() + memo);
    }

    // The entry the plan holds at `record`, with its memo.
    IcalTodo local(const RecordKey& record) const
    {
        IcalTodo todo{record.line, {}, {}, 0};
        if (const int at = FindTodoMemo(memoLines_, TodoMemoNumber(record.line)); at >= 0)
            todo.memo = ParseTodoMemo(memoLines_[static_cast<std::size_t>(at)]).lines;
        return todo;
    }

    // A newer version in the place of `record`, keeping its memo number unless another entry
    // shares it.
    RecordKey replace(const RecordKey& record, ImportedTodo todo, IcalImportCounts& counts)
    {
        todo = withStoredTexts(std::move(todo), record.line, local(record).memo);
        const int own = TodoMemoNumber(record.line);
        lines_.erase(find(record));
        const bool shared = std::any_of(lines_.begin(), lines_.end(),
                                        [&](const std::string& line) { return TodoMemoNumber(line) == own; });
        std::optional<int> number;
        if (own > 0 && !shared) {
            number = own;
            if (const int at = FindTodoMemo(memoLines_, own); at >= 0)
                memoLines_.erase(memoLines_.begin() + at);
        }
        keys_.insert(keyOf(ComposeTodo(todo.fields)));
        return store(std::move(todo), number, counts);
    }

    std::vector<FileUpdate> updates() const
    {
        if (!changed_)
            return {};
        FileUpdate todos{path_, lines_}, memos{memoPath_, memoLines_};
        text::sortNoCase(todos.lines);
        text::sortNoCase(memos.lines);
        return {memos, todos};
    }

private:
    // The deadline and the title: what the user sees of an entry in the lists.
    static std::string keyOf(const std::string& line)
    {
        return text::field(line, 1, 10) + '\0' + sjis::canonical(text::trimRight(TodoTitle(line)));
    }

    // Appends the entry with its memo under `memoNumber` (none: a free one).
    RecordKey store(ImportedTodo todo, std::optional<int> memoNumber, IcalImportCounts& counts)
    {
        todo.fields.memoNumber = 0;
        if (!todo.memo.empty()) {
            const int number = memoNumber.value_or(FreeTodoMemoNumber(lines_, memoLines_));
            if (number == 0) {
                ++counts.memosDropped;
            } else {
                todo.fields.memoNumber = number;
                memoLines_.push_back(ComposeTodoMemo(number, todo.memo));
            }
        }
        const std::string line = ComposeTodo(todo.fields);
        lines_.push_back(line);
        changed_ = true;
        return RecordKey{kTodoFileName, files::lastOccurrence(lines_, line), line};
    }

    std::vector<std::string>::iterator find(const RecordKey& record)
    {
        int seen = 0;
        return std::find_if(lines_.begin(), lines_.end(), [&](const std::string& line) {
            return line == record.line && seen++ == record.occurrence;
        });
    }

    std::string path_, memoPath_;
    std::vector<std::string> lines_, memoLines_;
    std::unordered_set<std::string> keys_;
    bool changed_ = false;
};

std::string dayKey(const Date& date, const std::string& record)
{
    return text::formatInt(date.year, 4, '0') + text::formatInt(date.month, 2, '0') + '\0' + sjis::canonical(record);
}

std::vector<std::string> sortedKeys(const std::vector<ImportedSchedule>& days)
{
    std::vector<std::string> keys;
    for (const ImportedSchedule& day : days)
        keys.push_back(dayKey(day.date, composeImportedRecord(day)));
    std::sort(keys.begin(), keys.end());
    return keys;
}

int newestSequence(const std::vector<RecordIdentity>& identities)
{
    int newest = 0;
    for (const RecordIdentity& identity : identities)
        newest = std::max(newest, identity.sequence);
    return newest;
}

// The items of the file laid over the plan: new ones added, known ones left or replaced.
class IcalMerge {
public:
    IcalMerge(const IcalImportRequest& request, ScheduleImport& schedules, TodoPlan& todos, IdentityTable& identities,
              IcalImportCounts& counts)
        : request_(request), schedules_(schedules), todos_(todos), identities_(identities), counts_(counts)
    {
    }

    ImportOutcome event(const IcalEventItem& item)
    {
        std::vector<RecordIdentity> present, stale;
        for (RecordIdentity* known : identities_.ofItem(item.uid, item.recurrenceId)) {
            bool found = false;
            if (ImportOutcome read = schedules_.holds(known->key, found); !read.ok())
                return read;
            (found ? present : stale).push_back(*known);
        }
        if (present.empty())
            return addDays(item, stale);
        if (item.sequence < newestSequence(present)) {
            ++counts_.olderInFile;
            return {};
        }
        if (sameDays(present, item.days)) {
            unchanged_ += static_cast<int>(present.size());
            return {};
        }
        return replaceDays(item, std::move(present));
    }

    void todo(const IcalTodoItem& item)
    {
        std::optional<RecordIdentity> present, stale;
        for (RecordIdentity* known :
             item.uid.empty() ? std::vector<RecordIdentity*>{} : identities_.ofItem(item.uid, ""))
            (todos_.holds(known->key) ? present : stale) = *known;
        if (!present) {
            RecordKey placed;
            if (!todos_.add(item.todo, request_.options.skipDuplicates, counts_, placed))
                return;
            schedules_.noteCategoryName(item.todo.fields.category);
            if (item.uid.empty())
                return;
            RecordIdentity identity;
            identity.uid = item.uid;
            keep(stale.value_or(identity), placed, item.sequence);
            return;
        }
        if (item.sequence < present->sequence) {
            ++counts_.olderInFile;
            return;
        }
        if (sameTodo(*present, item.todo)) {
            ++counts_.todoDuplicates;
            return;
        }
        const RecordKey placed = todos_.replace(present->key, item.todo, counts_);
        identities_.follow({{placeOf(present->key), placeOf(placed)}});
        if (RecordIdentity* moved = identities_.find(placed))
            moved->sequence = std::max(moved->sequence, item.sequence);
        ++counts_.todosUpdated;
        schedules_.noteCategoryName(item.todo.fields.category);
    }

    int unchanged() const { return unchanged_; }

private:
    ImportOutcome addDays(const IcalEventItem& item, const std::vector<RecordIdentity>& stale)
    {
        for (std::size_t part = 0; part < item.days.size(); ++part) {
            RecordKey placed{{}, -1, {}};
            if (ImportOutcome added = schedules_.add(item.days[part], &placed); !added.ok())
                return added;
            if (placed.occurrence >= 0 && !item.uid.empty())
                keepDay(item, part, placed, stale, item.sequence);
        }
        return {};
    }

    ImportOutcome replaceDays(const IcalEventItem& item, std::vector<RecordIdentity> present)
    {
        // The last of identical lines first, so that taking one out moves none of the others.
        std::sort(present.begin(), present.end(),
                  [](const auto& a, const auto& b) { return a.key.occurrence > b.key.occurrence; });
        for (const RecordIdentity& old : present) {
            schedules_.remove(old.key);
            identities_.follow({{placeOf(old.key), std::nullopt}});
        }
        const int sequence = std::max(newestSequence(present) + 1, item.sequence);
        for (std::size_t part = 0; part < item.days.size(); ++part) {
            const RecordIdentity* earlier = dayOf(present, part);
            const ImportedSchedule day =
                earlier ? withStoredTexts(item.days[part], earlier->key.line) : item.days[part];
            RecordKey placed;
            if (ImportOutcome added = schedules_.add(day, &placed, ScheduleImport::Adding::Replacement); !added.ok())
                return added;
            keepDay(item, part, placed, present, sequence);
        }
        counts_.updated += static_cast<int>(item.days.size());
        return {};
    }

    // Day `part` of the item, now at `placed`, keeps the identity it had, or gets one: the item's
    // own UID when the item is one record, else a UID of its own that names the item.
    void keepDay(const IcalEventItem& item, std::size_t part, const RecordKey& placed,
                 const std::vector<RecordIdentity>& earlier, int sequence)
    {
        if (const RecordIdentity* same = dayOf(earlier, part)) {
            keep(*same, placed, sequence);
            return;
        }
        RecordIdentity made;
        const bool whole = item.recurrenceId.empty() && item.days.size() == 1;
        made.uid = whole ? item.uid : newUid();
        if (!whole)
            made.source = ItemSource{item.uid, item.recurrenceId, static_cast<int>(part)};
        keep(made, placed, sequence);
    }

    static const RecordIdentity* dayOf(const std::vector<RecordIdentity>& earlier, std::size_t part)
    {
        const auto same = std::find_if(earlier.begin(), earlier.end(), [&](const RecordIdentity& identity) {
            return identity.source.part == static_cast<int>(part);
        });
        return same == earlier.end() ? nullptr : &*same;
    }

    void keep(RecordIdentity identity, const RecordKey& placed, int sequence)
    {
        // An entry whose record was gone (or removed) is pointed at the record again.
        if (const RecordIdentity* listed = identities_.findEqual(identity))
            identities_.remove(listed);
        identity.key = placed;
        identity.sequence = std::max(identity.sequence, sequence);
        identities_.add(std::move(identity));
    }

    // Whether the records read as the item does: as stored, or as an export carries them and
    // this reading takes them back (a style or a time typed "9:00" does not go out).
    bool sameDays(const std::vector<RecordIdentity>& present, const std::vector<ImportedSchedule>& days) const
    {
        const std::vector<std::string> wanted = sortedKeys(days);
        std::vector<std::string> stored;
        std::vector<ical::Component> exported;
        for (const RecordIdentity& identity : present) {
            const std::optional<std::pair<int, int>> month = MonthOfFile(identity.key.file);
            stored.push_back(dayKey(Date{month->first, month->second, RecDay(identity.key.line)}, identity.key.line));
            exported.push_back(
                eventOf(IcalEvent{month->first, month->second, identity.key.line, identity.uid, identity.sequence}, 0));
        }
        std::sort(stored.begin(), stored.end());
        if (stored == wanted)
            return true;
        return sortedKeys(readBack(std::move(exported)).schedules()) == wanted;
    }

    bool sameTodo(const RecordIdentity& present, const ImportedTodo& todo) const
    {
        std::vector<ical::Component> exported;
        exported.push_back(todoOf(todos_.local(present.key)));
        const IcalEntries back = readBack(std::move(exported));
        if (back.todos.size() != 1)
            return false;
        TodoFields a = back.todos.front().todo.fields, b = todo.fields;
        a.memoNumber = b.memoNumber = 0;
        return sjis::sameCharacters(ComposeTodo(a), ComposeTodo(b)) &&
               sjis::sameCharacters(back.todos.front().todo.memo, todo.memo);
    }

    IcalEntries readBack(std::vector<ical::Component> components) const
    {
        const std::string text = ical::textOf(calendarOf(std::move(components)).get());
        return readIcalEntries(text, request_.from, request_.to, request_.today);
    }

    const IcalImportRequest& request_;
    ScheduleImport& schedules_;
    TodoPlan& todos_;
    IdentityTable& identities_;
    IcalImportCounts& counts_;
    int unchanged_ = 0;
};

std::string countText(int count)
{
    return text::formatThousands(count) + " 件";
}

// What was left out or taken otherwise, one line each when it happened.
std::string skipReport(const IcalSkips& skips, bool done)
{
    const struct {
        int count;
        const char* what;
        const char* doneTail;
        const char* checkTail;
    } lines[] = {
        {skips.withoutStart, "の予定は開始日時がないため読み込み", "ませんでした。", "ません。"},
        {skips.cancelled, "の取り消された予定は読み込み", "ませんでした。", "ません。"},
        {skips.cancelledTodos, "の取り消されたToDoは処理済として反映し", "ました。", "ます。"},
        {skips.occurrencesCut, "の繰り返し予定は回数が多すぎるため、期間の途中で打ち切り", "ました。", "ます。"},
        {skips.spansCut, "の予定は 366 日で打ち切り", "ました。", "ます。"},
        {skips.unknownZones, "は不明なタイムゾーンの時刻を日本時間として読み", "ました。", "ます。"},
        {skips.unmapped, "の説明・URL・出席者は取り込め", "ませんでした。", "ません。"},
    };
    std::string report;
    for (const auto& line : lines)
        if (line.count > 0)
            report += "\r\n" + countText(line.count) + line.what + (done ? line.doneTail : line.checkTail);
    return report;
}

IcalImportOutcome failed(ImportOutcome outcome)
{
    IcalImportOutcome out;
    out.outcome = std::move(outcome);
    return out;
}

} // namespace

struct IcalImportPlan::Parts {
    explicit Parts(const IcalImportRequest& request)
        : request(request), schedules(request.dataPath, request.programFolder, request.options),
          todos(request.todoPath), merge(this->request, schedules, todos, identities, counts)
    {
    }
    IcalImportRequest request;
    ScheduleImport schedules;
    TodoPlan todos;
    IdentityTable identities;
    IcalImportCounts counts;
    IcalMerge merge;
    bool todosRead = false;
};

// The plan keeps what the request says of the files, not the text.
IcalImportPlan::IcalImportPlan(const IcalImportRequest& r)
    : parts_(std::make_unique<Parts>(
          IcalImportRequest{{}, r.from, r.to, r.today, r.options, r.dataPath, r.todoPath, r.programFolder}))
{
}

IcalImportPlan::~IcalImportPlan() = default;

ImportOutcome IcalImportPlan::start(ImportRun run)
{
    // An execute run locks its folders (the schedules', the ToDo's and the identities' program
    // folder) before anything is read, so that what it writes rests on what it read.
    const IcalImportRequest& request = parts_->request;
    if (ImportOutcome locked = parts_->schedules.start(run, {request.todoPath, request.programFolder}); !locked.ok())
        return locked;
    if (run == ImportRun::Execute)
        if (const files::IoResult split = splitIdentityFile(request.programFolder); !split)
            return importFailure(ImportStatus::WriteFailed, split.reason);
    IdentityFile identities = loadIdentities(request.programFolder);
    if (!identities.ok)
        return importFailure(ImportStatus::ReadFailed, identities.reason);
    parts_->identities = std::move(identities.table);
    return {};
}

ImportOutcome IcalImportPlan::add(const IcalEntries& entries)
{
    Parts& p = *parts_;
    for (const IcalEventItem& event : entries.events)
        if (ImportOutcome added = p.merge.event(event); !added.ok())
            return added;
    if (!entries.todos.empty())
        if (ImportOutcome read = startTodos(); !read.ok())
            return read;
    for (const IcalTodoItem& todo : entries.todos)
        p.merge.todo(todo);
    p.counts.texts.cut += entries.texts.cut;
    p.counts.texts.replaced += entries.texts.replaced;
    for (int IcalSkips::*skip :
         {&IcalSkips::withoutStart, &IcalSkips::cancelled, &IcalSkips::cancelledTodos, &IcalSkips::occurrencesCut,
          &IcalSkips::spansCut, &IcalSkips::unknownZones, &IcalSkips::unmapped})
        p.counts.skips.*skip += entries.skips.*skip;
    return {};
}

IdentityTable& IcalImportPlan::identities()
{
    return parts_->identities;
}

ImportOutcome IcalImportPlan::startTodos()
{
    if (parts_->todosRead)
        return {};
    ImportOutcome read = parts_->todos.start();
    parts_->todosRead = read.ok();
    return read;
}

ImportOutcome IcalImportPlan::holds(const RecordKey& key, bool& found)
{
    found = false;
    if (key.file != kTodoFileName)
        return parts_->schedules.holds(key, found);
    if (ImportOutcome read = startTodos(); !read.ok())
        return read;
    found = parts_->todos.holds(key);
    return {};
}

ImportOutcome IcalImportPlan::remove(const RecordKey& key)
{
    bool found = false;
    if (ImportOutcome read = holds(key, found); !read.ok() || !found)
        return read;
    if (key.file == kTodoFileName)
        parts_->todos.remove(key);
    else
        parts_->schedules.remove(key);
    parts_->identities.follow({{placeOf(key), std::nullopt}});
    return {};
}

ImportOutcome IcalImportPlan::addRecord(const RecordKey& like, const Date& date, const std::vector<std::string>& memo,
                                        RecordKey& placed)
{
    if (like.file != kTodoFileName)
        return parts_->schedules.addRecord(date, like.line, &placed);
    if (ImportOutcome read = startTodos(); !read.ok())
        return read;
    placed = parts_->todos.addLine(like.line, memo, parts_->counts);
    return {};
}

IcalImportCounts IcalImportPlan::counts() const
{
    IcalImportCounts counts = parts_->counts;
    counts.schedules = parts_->schedules.counts();
    counts.schedules.duplicates += parts_->merge.unchanged();
    return counts;
}

ImportOutcome IcalImportPlan::updates(std::vector<FileUpdate>& out) const
{
    out = parts_->schedules.updates();
    for (FileUpdate& update : parts_->todos.updates())
        out.push_back(std::move(update));
    const IdentityChange kept = identityChange(parts_->request.programFolder, parts_->identities);
    if (!kept.result)
        return importFailure(ImportStatus::WriteFailed, kept.result.reason);
    for (const files::FileChange& change : kept.changes)
        out.push_back(
            FileUpdate{change.path, files::splitLines(change.bytes.value_or("")), change.maxBytes, !change.bytes});
    return {};
}

IcalImportOutcome runIcalImport(const IcalImportRequest& request, ImportRun run, files::FileOps& ops)
{
    IcalImportOutcome out;
    const IcalEntries entries = readIcalEntries(request.icsText, request.from, request.to, request.today);
    if (!entries.ok)
        return failed(importFailure(ImportStatus::NoData, entries.message));
    if (entries.events.empty() && entries.todos.empty())
        return failed(
            importFailure(ImportStatus::NoData, "読み込む予定もToDoもありません。" + skipReport(entries.skips, false)));
    IcalImportPlan plan(request);
    if (out.outcome = plan.start(run); !out.outcome.ok())
        return out;
    if (out.outcome = plan.add(entries); !out.outcome.ok())
        return out;
    out.counts = plan.counts();
    std::vector<FileUpdate> updates;
    if (run == ImportRun::Execute)
        if (out.outcome = plan.updates(updates); !out.outcome.ok())
            return out;
    out.outcome = finishImport(out.counts.schedules, updates, run, icalImportReport(out.counts, run), ops);
    return out;
}

std::string icalImportReport(const IcalImportCounts& counts, ImportRun run)
{
    const bool done = run == ImportRun::Execute;
    const std::string tail = done ? "ました。" : "ます。";
    const std::string notTail = done ? "ませんでした。" : "ません。";
    std::string report = done ? importDoneReport(counts.schedules) : importCheckReport(counts.schedules);
    report += "\r\n" + countText(counts.todos) + "のToDoを反映し" + tail;
    report += "\r\n" + countText(counts.schedules.duplicates + counts.todoDuplicates) + "は同じものがあるため反映し" +
              notTail;
    report += "\r\n" + countText(counts.texts.cut) + "の内容・場所を切り詰め" + tail;
    report += "\r\n" + text::formatThousands(counts.texts.replaced) + " 文字を「〓」に置き換え" + tail;
    if (counts.memosDropped > 0)
        report += "\r\n" + countText(counts.memosDropped) + "のToDoのメモは番号の空きがないため反映し" + notTail;
    if (counts.updated > 0)
        report += "\r\n" + countText(counts.updated) + "のスケジュールデータを新しい内容に更新し" + tail;
    if (counts.todosUpdated > 0)
        report += "\r\n" + countText(counts.todosUpdated) + "のToDoを新しい内容に更新し" + tail;
    if (counts.olderInFile > 0)
        report += "\r\n" + countText(counts.olderInFile) + "は手元の方が新しいため反映し" + notTail;
    return report + skipReport(counts.skips, done);
}

} // namespace kal
