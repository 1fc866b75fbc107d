#include "exchange/ScheduleImport.h"

#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "schedule/Categories.h"
#include "schedule/CategoryFiles.h"
#include "schedule/ScheduleRecord.h"

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
    std::string key = record.substr(0, 2);
    key += text::trimRight(RecStart(record));
    key += '\0';
    key += RecTitle(record);
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

ImportOutcome ScheduleImport::add(const ImportedSchedule& schedule)
{
    Month* month = nullptr;
    if (ImportOutcome loaded = monthOf(schedule.date, month); !loaded.ok())
        return loaded;
    const std::string record = composeImportedRecord(schedule);
    // The key set also holds the records added in this run, so a file holding a line twice
    // adds it once.
    if (!month->keys.insert(duplicateKey(record)).second && options_.skipDuplicates) {
        ++counts_.duplicates;
        return {};
    }
    month->lines.push_back(record);
    month->changed = true;
    ++counts_.records;
    noteCategoryName(RecCategory(record));
    return {};
}

// The name as it will be stored (cut to 14 bytes) is what is compared with the table; new
// names go to the end, so the user's order stays.
void ScheduleImport::noteCategoryName(const std::string& category)
{
    if (!options_.addCategories)
        return;
    const std::string name = text::trimRight(text::padCut(category, 14));
    if (name.empty() || CategoryNameTaken(categoryLines_, name))
        return;
    categoryLines_.push_back(NewCategoryLine(name) + "1");
    ++counts_.categories;
}

std::vector<FileUpdate> ScheduleImport::updates() const
{
    std::vector<FileUpdate> out;
    for (const auto& [yearMonth, month] : months_) {
        if (!month.changed)
            continue;
        FileUpdate update{month.path, month.lines};
        text::sortNoCase(update.lines);
        out.push_back(std::move(update));
    }
    if (counts_.categories > 0)
        out.push_back(FileUpdate{programFolder_ + kCategoryFileName, categoryLines_});
    return out;
}

namespace {

// The changes of one folder, with what its files held before, for putting them back.
struct FolderChanges {
    std::string folder;
    std::vector<files::FileChange> after;
    std::vector<files::FileChange> before;
};

std::vector<FolderChanges> changesByFolder(const std::vector<FileUpdate>& updates)
{
    std::vector<FolderChanges> groups;
    for (const FileUpdate& update : updates) {
        const std::string folder = files::folderOf(update.path);
        auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.folder == folder; });
        if (group == groups.end())
            group = groups.insert(groups.end(), FolderChanges{folder, {}, {}});
        group->after.push_back({update.path, files::joinLines(update.lines)});
        group->before.push_back({update.path, files::readBytes(update.path)});
    }
    // The months come first in the plan; written last, they are the moment the import counts.
    std::reverse(groups.begin(), groups.end());
    return groups;
}

std::string failedFilesText(const std::vector<files::FileChange>& changes)
{
    std::string names;
    for (const files::FileChange& change : changes)
        names += "「" + change.path + "」";
    return names;
}

} // namespace

ImportWriteResult writeImportFiles(const std::vector<FileUpdate>& updates, files::FileOps& ops)
{
    ImportWriteResult result;
    const std::vector<FolderChanges> groups = changesByFolder(updates);
    for (std::size_t i = 0; i < groups.size(); ++i) {
        files::IoResult saved = files::writeAllOrNothing(groups[i].folder, groups[i].after, ops);
        if (saved) {
            result.written += static_cast<int>(groups[i].after.size());
            continue;
        }
        result.ok = false;
        result.message = failedFilesText(groups[i].after) + "を保存できません。\r\n" + saved.reason;
        for (std::size_t j = 0; j < i; ++j) {
            if (files::IoResult undone = files::writeAllOrNothing(groups[j].folder, groups[j].before, ops); !undone) {
                result.message += "\r\n" + failedFilesText(groups[j].before) + "を元に戻せません。\r\n" + undone.reason;
                continue;
            }
            result.written -= static_cast<int>(groups[j].after.size());
        }
        return result;
    }
    return result;
}

ImportOutcome finishImport(const ImportCounts& counts, const std::vector<FileUpdate>& updates, ImportRun run,
                           std::string report, files::FileOps& ops)
{
    ImportOutcome outcome;
    outcome.counts = counts;
    if (run == ImportRun::Execute) {
        const ImportWriteResult written = writeImportFiles(updates, ops);
        outcome.wroteFiles = written.written > 0;
        if (!written.ok) {
            outcome.status = ImportStatus::WriteFailed;
            outcome.message = written.message;
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
