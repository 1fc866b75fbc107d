#include "exchange/ScheduleImport.h"

#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/RecordFollower.h"
#include "platform/SjisCodec.h"
#include "schedule/Categories.h"
#include "schedule/CategoryFiles.h"
#include "schedule/PickList.h"
#include "schedule/ScheduleRecord.h"
#include "store/MonthFile.h"

#include <algorithm>

namespace kal {

std::string composeImportedRecord(const ImportedSchedule& schedule)
{
    ScheduleFields fields;
    fields.day = schedule.date.day;
    fields.start = text::cutBytes(schedule.start, kRecTextBytes);
    fields.end = text::cutBytes(schedule.end, kRecTextBytes);
    fields.category = text::cutBytes(schedule.category, kRecTextBytes);
    fields.sound = schedule.sound;
    fields.message = schedule.message;
    // A place of blanks is no place, so the title is not padded for it.
    fields.place = text::trimRight(text::cutBytes(schedule.place, kRecTextBytes));
    fields.title = text::cutBytes(schedule.title, kRecTextBytes);
    if (fields.place.empty())
        fields.title = text::trimRight(fields.title);
    return ComposeSchedule(fields);
}

std::string duplicateKey(const std::string& record)
{
    if (!IsScheduleRecord(record))
        return {};
    std::string key = store::kScheduleColumns.get(record, store::ScheduleField::Day);
    // A start stored as "9:00 " by an earlier import is the same time as "09:00".
    const std::string start = text::trimRight(RecStart(record));
    key += ZeroPaddedTime(start).value_or(start);
    key += '\0';
    // The title as the characters it holds, whichever form of them each side stored.
    key += sjis::canonical(RecTitle(record));
    return key;
}

ImportOutcome importFailure(ImportStatus status, std::string message)
{
    ImportOutcome outcome;
    outcome.status = status;
    outcome.message = std::move(message);
    return outcome;
}

ScheduleImport::ScheduleImport(std::string dataPath, std::string programFolder, ImportOptions options)
    : dataPath_(files::withSeparator(dataPath)), programFolder_(files::withSeparator(programFolder)), options_(options)
{
}

ImportOutcome ScheduleImport::start(ImportRun run, const std::vector<std::string>& otherFolders)
{
    if (run == ImportRun::Execute) {
        std::vector<std::string> folders = otherFolders;
        folders.push_back(dataPath_);
        if (options_.addCategories)
            folders.push_back(programFolder_);
        lock_ = files::lockFolders(folders);
        if (!lock_)
            return importFailure(ImportStatus::WriteFailed, lock_.reason());
    }
    if (!options_.addCategories)
        return {};
    CategoryLoad loaded = LoadCategoriesForUpdate(programFolder_);
    if (!loaded.ok)
        return importFailure(ImportStatus::ReadFailed, "分類ファイルを読み込めません。\r\n" + loaded.reason);
    categoryLines_ = loaded.table.lines();
    return {};
}

ImportOutcome ScheduleImport::monthOf(const Date& date, Month*& month)
{
    auto [it, inserted] = months_.try_emplace({date.year, date.month});
    month = &it->second;
    if (!inserted)
        return {};
    month->path = MonthFilePath(dataPath_, date.year, date.month);
    files::LoadForUpdate loaded = files::loadLinesForUpdate(month->path);
    if (!loaded.ok) {
        const std::string path = month->path;
        months_.erase(it);
        month = nullptr;
        return importFailure(ImportStatus::ReadFailed,
                             "スケジュールファイルを読み込めません。\r\n" + path + "\r\n" + loaded.reason);
    }
    month->lines = std::move(loaded.lines);
    for (const std::string& line : month->lines)
        month->keys.insert(duplicateKey(line));
    return {};
}

ImportOutcome ScheduleImport::add(const ImportedSchedule& schedule, RecordKey* placed, Adding adding)
{
    Month* month = nullptr;
    if (ImportOutcome loaded = monthOf(schedule.date, month); !loaded.ok())
        return loaded;
    const std::string record = composeImportedRecord(schedule);
    // The key set also holds the records added in this run, so a file holding a line twice
    // adds it once.
    const bool known = !month->keys.insert(duplicateKey(record)).second;
    if (adding == Adding::New && known && options_.skipDuplicates) {
        ++counts_.duplicates;
        return {};
    }
    if (adding == Adding::New)
        ++counts_.records;
    place(*month, schedule.date, record, placed);
    noteCategoryName(RecCategory(record));
    return {};
}

void ScheduleImport::place(Month& month, const Date& date, const std::string& record, RecordKey* placed)
{
    month.lines.push_back(record);
    month.changed = true;
    if (placed)
        *placed = RecordKey{MonthFileName(date.year, date.month), files::lastOccurrence(month.lines, record), record};
}

ImportOutcome ScheduleImport::addRecord(const Date& date, const std::string& record, RecordKey* placed)
{
    Month* month = nullptr;
    if (ImportOutcome loaded = monthOf(date, month); !loaded.ok())
        return loaded;
    month->keys.insert(duplicateKey(record));
    place(*month, date, record, placed);
    return {};
}

ScheduleImport::Month* ScheduleImport::plannedMonth(const RecordKey& record)
{
    const std::optional<std::pair<int, int>> yearMonth = MonthOfFile(record.file);
    if (!yearMonth)
        return nullptr;
    const auto it = months_.find(*yearMonth);
    return it == months_.end() ? nullptr : &it->second;
}

namespace {

// The line of `lines` that is `record`, or the end.
std::vector<std::string>::iterator lineOf(std::vector<std::string>& lines, const RecordKey& record)
{
    int seen = 0;
    for (auto it = lines.begin(); it != lines.end(); ++it)
        if (*it == record.line && seen++ == record.occurrence)
            return it;
    return lines.end();
}

} // namespace

ImportOutcome ScheduleImport::holds(const RecordKey& record, bool& found)
{
    found = false;
    const std::optional<std::pair<int, int>> yearMonth = MonthOfFile(record.file);
    if (!yearMonth)
        return {};
    Month* month = nullptr;
    if (ImportOutcome loaded = monthOf(Date{yearMonth->first, yearMonth->second, 1}, month); !loaded.ok())
        return loaded;
    found = lineOf(month->lines, record) != month->lines.end();
    return {};
}

void ScheduleImport::remove(const RecordKey& record)
{
    Month* month = plannedMonth(record);
    if (!month)
        return;
    if (auto it = lineOf(month->lines, record); it != month->lines.end()) {
        month->lines.erase(it);
        month->changed = true;
    }
}

// The name as it will be stored (cut to 14 bytes) is what is compared with the table.
void ScheduleImport::noteCategoryName(const std::string& category)
{
    if (!options_.addCategories)
        return;
    const std::string name = SameStoredName(category);
    if (name.empty() || CategoryNameTaken(categoryLines_, name))
        return;
    categoryLines_.push_back(NewCategoryLine(name) + "1");
    ++counts_.categories;
}

std::vector<FileUpdate> ScheduleImport::updates() const
{
    std::vector<FileUpdate> out;
    if (counts_.categories > 0) {
        FileUpdate table{programFolder_ + kCategoryFileName, categoryLines_};
        if (options_.categoryOrder == NewCategoryOrder::TableSorted)
            text::sortNoCase(table.lines);
        out.push_back(std::move(table));
    }
    for (const auto& [yearMonth, month] : months_) {
        if (!month.changed)
            continue;
        FileUpdate update{month.path, month.lines};
        text::sortNoCase(update.lines);
        out.push_back(std::move(update));
    }
    return out;
}

namespace {

std::vector<files::FolderChanges> changesByFolder(const std::vector<FileUpdate>& updates)
{
    std::vector<files::FolderChanges> groups;
    for (const FileUpdate& update : updates) {
        const std::string folder = files::folderOf(update.path);
        if (groups.empty() || groups.back().folder != folder)
            groups.push_back(files::FolderChanges{folder, {}});
        groups.back().changes.push_back(
            {update.path, update.removed ? std::nullopt : std::optional<std::string>(files::joinLines(update.lines)),
             update.maxBytes});
    }
    return groups;
}

} // namespace

ImportWriteResult writeImportFiles(const std::vector<FileUpdate>& updates, files::FileOps& ops)
{
    const files::InTurnResult written = files::writeInTurn(changesByFolder(updates), ops);
    return {written.result ? store::EditResult{} : store::EditResult::failed(written.result.reason), written.written};
}

ImportOutcome finishImport(const ImportCounts& counts, const std::vector<FileUpdate>& updates, ImportRun run,
                           std::string report, files::FileOps& ops)
{
    ImportOutcome outcome;
    outcome.counts = counts;
    if (run == ImportRun::Execute) {
        const ImportWriteResult written = writeImportFiles(updates, ops);
        outcome.wroteFiles = written.written > 0;
        if (!written.result.ok()) {
            outcome.status = ImportStatus::WriteFailed;
            outcome.message = written.result.reason;
            return outcome;
        }
    }
    outcome.message = std::move(report);
    return outcome;
}

ImportOutcome runScheduleImport(ScheduleImport& import, const std::vector<ImportedSchedule>& schedules, ImportRun run,
                                files::FileOps& ops)
{
    if (ImportOutcome started = import.start(run); !started.ok())
        return started;
    for (const ImportedSchedule& schedule : schedules)
        if (ImportOutcome added = import.add(schedule); !added.ok())
            return added;
    const ImportCounts& counts = import.counts();
    if (run == ImportRun::Check)
        return finishImport(counts, {}, run, importCheckReport(counts), ops);
    return finishImport(counts, import.updates(), run, importDoneReport(counts), ops);
}

namespace {

std::string countText(int count)
{
    return text::formatThousands(count) + " 件";
}

} // namespace

std::string importCheckReport(const ImportCounts& counts)
{
    return countText(counts.records) + "のスケジュールデータを反映します。\r\n" + countText(counts.categories) +
           "の分類が未登録です。";
}

std::string importDoneReport(const ImportCounts& counts)
{
    return countText(counts.records) + "のスケジュールデータを反映しました。\r\n" + countText(counts.categories) +
           "の分類を追加しました。";
}

} // namespace kal
