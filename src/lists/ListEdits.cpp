#include "lists/ListEdits.h"

#include "memo/DayMemo.h"
#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/NumberFormat.h"
#include "platform/RecordFollower.h"
#include "platform/SjisCodec.h"
#include "todo/TodoMemo.h"

#include <algorithm>
#include <functional>
#include <map>

namespace kal {
namespace {

constexpr const char* kConfirm = "を削除します。\r\nよろしいですか？";
constexpr std::size_t kQuestionTitleBytes = 20;

ListEditResult failure(ListEditStatus status, std::string reason = {})
{
    return ListEditResult{status, std::move(reason)};
}

std::string oneRowName(const ListRows& rows, const ListRow& row)
{
    switch (rows.mode) {
    case ListMode::Holidays:
        return "「" + sjis::toUtf8(text::cutBytes(text::fieldToEnd(row.text, 16), 40)) + "」";
    case ListMode::Memos:
        return "「" + text::formatInt(row.date.year, 4, '0') + "年" + text::formatInt(row.date.month, 2, '0') + "月" +
               text::formatInt(row.date.day, 2, '0') + "日」のメモ";
    case ListMode::Schedules:
        break;
    }
    return "「" + sjis::toUtf8(text::trimRight(text::cutBytes(RecTitle(row.text), kQuestionTitleBytes))) + "」";
}

ListEditResult deleteSchedules(const ListRows& rows, const std::vector<const ListRow*>& selected,
                               files::RecordFollower* follower, files::FileOps& ops)
{
    // Each month file once, in key order, every selected line checked before any file is written.
    std::map<std::string, std::vector<const ListRow*>> byFile;
    std::vector<std::string> folders;
    for (const ListRow* row : selected) {
        const std::string path = ScheduleRefOf(rows, *row).file;
        byFile[path].push_back(row);
        folders.push_back(files::folderOf(path));
    }
    files::FolderLock lock = files::lockFolders(files::followedFolders(folders, follower));
    if (!lock)
        return failure(ListEditStatus::WriteFailed, lock.reason());
    std::vector<MonthFileChange> changes;
    std::vector<files::RecordChange> removed;
    for (const auto& [path, fileRows] : byFile) {
        files::LoadForUpdate loaded = files::loadLinesForUpdate(path);
        if (!loaded.ok)
            return failure(ListEditStatus::WriteFailed, loaded.reason);
        std::vector<int> indexes;
        for (const ListRow* row : fileRows) {
            const auto index = static_cast<std::size_t>(row->lineIndex);
            if (row->lineIndex < 0 || index >= loaded.lines.size() || loaded.lines[index] != row->text)
                return failure(ListEditStatus::Changed);
            indexes.push_back(row->lineIndex);
        }
        // The lines go by index, never by a marker, so no line of the file is lost with them.
        std::vector<std::string> lines = loaded.lines;
        std::sort(indexes.begin(), indexes.end(), std::greater<>());
        indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
        for (int index : indexes) {
            removed.push_back({{path, loaded.lines[static_cast<std::size_t>(index)],
                                files::occurrenceAt(loaded.lines, static_cast<std::size_t>(index))},
                               std::nullopt});
            lines.erase(lines.begin() + index);
        }
        changes.push_back(MonthFileChange{path, std::move(lines)});
    }
    return WriteMonthFiles(changes, removed, follower, ops);
}

ListEditResult deleteHolidays(const ListRows& rows, const std::vector<const ListRow*>& selected, files::FileOps& ops)
{
    std::vector<HolidayRef> refs;
    for (const ListRow* row : selected)
        refs.push_back(HolidayRefOf(*row));
    const HolidayWriteResult result = DeleteHolidayLines(rows.table, refs, ops);
    switch (result.status) {
    case HolidayWrite::Done:
        return {};
    case HolidayWrite::Changed:
        return failure(ListEditStatus::Changed);
    case HolidayWrite::WriteFailed:
        break;
    }
    return failure(ListEditStatus::WriteFailed, result.reason);
}

ListEditResult deleteMemos(const ListRows& rows, const std::vector<const ListRow*>& selected, files::FileOps& ops)
{
    std::vector<std::string> folders;
    for (const ListRow* row : selected)
        folders.push_back(files::folderOf(MemoPathOf(rows, *row)));
    files::FolderLock lock = files::lockFolders(folders);
    if (!lock)
        return failure(ListEditStatus::WriteFailed, lock.reason());
    std::vector<files::FileChange> deletions;
    for (const ListRow* row : selected) {
        const std::string path = MemoPathOf(rows, *row);
        const std::optional<std::string> bytes = files::readBytes(path);
        if (bytes && MemoTextOfLines(ParseMemoText(*bytes)) != row->text)
            return failure(ListEditStatus::Changed);
        if (bytes)
            deletions.push_back({path, std::nullopt});
    }
    if (deletions.empty())
        return {};
    // All the memos go, or none does.
    if (files::IoResult deleted = files::writeAllOrNothing(files::folderOf(deletions.front().path), deletions, ops);
        !deleted)
        return failure(ListEditStatus::WriteFailed, deleted.reason);
    return {};
}

} // namespace

const char* DeleteCaption(ListMode mode)
{
    switch (mode) {
    case ListMode::Holidays:
        return "祝日・休日・記念日の削除";
    case ListMode::Memos:
        return "メモの削除";
    case ListMode::Schedules:
        break;
    }
    return "スケジュールの削除";
}

const char* ListRecordName(ListMode mode)
{
    switch (mode) {
    case ListMode::Holidays:
        return "祝日・休日・記念日";
    case ListMode::Memos:
        return "メモ";
    case ListMode::Schedules:
        break;
    }
    return "スケジュール";
}

std::string ChangedMeanwhileText(ListMode mode)
{
    return std::string(ListRecordName(mode)) + "が他で変更されています。\r\n表示を更新します。";
}

std::string DeleteQuestion(const ListRows& rows, const std::vector<const ListRow*>& selected)
{
    if (selected.size() == 1)
        return oneRowName(rows, *selected.front()) + kConfirm;
    const std::string count = std::to_string(selected.size());
    if (rows.mode == ListMode::Schedules)
        return count + "件のスケジュール" + kConfirm;
    return count + "件削除します。\r\nよろしいですか？";
}

ListEditResult DeleteListRows(const ListRows& rows, const std::vector<const ListRow*>& selected,
                              files::RecordFollower* follower, files::FileOps& ops)
{
    if (selected.empty())
        return {};
    switch (rows.mode) {
    case ListMode::Holidays:
        return deleteHolidays(rows, selected, ops);
    case ListMode::Memos:
        return deleteMemos(rows, selected, ops);
    case ListMode::Schedules:
        break;
    }
    return deleteSchedules(rows, selected, follower, ops);
}

ListEditResult WriteMonthFiles(const std::vector<MonthFileChange>& changes,
                               const std::vector<files::RecordChange>& records, files::RecordFollower* follower,
                               files::FileOps& ops)
{
    if (changes.empty())
        return {};
    std::vector<files::FileChange> files;
    for (const MonthFileChange& change : changes)
        files.push_back({change.path, files::joinLines(change.lines)});
    if (files::IoResult saved =
            files::writeFollowed(files::folderOf(changes.front().path), files, records, follower, ops);
        !saved)
        return failure(ListEditStatus::WriteFailed, saved.reason);
    return {};
}

} // namespace kal
