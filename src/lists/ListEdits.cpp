#include "lists/ListEdits.h"

#include "memo/DayMemo.h"
#include "platform/ByteText.h"
#include "platform/FileTransaction.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "store/HolidayFile.h"
#include "store/MemoFile.h"
#include "todo/TodoMemo.h"

#include <algorithm>
#include <functional>
#include <map>

namespace kal {
namespace {

constexpr const char* kConfirm = "を削除します。\r\nよろしいですか？";
constexpr std::size_t kQuestionTitleBytes = 20;

std::string oneRowName(const ListRows& rows, const ListRow& row)
{
    switch (rows.mode) {
    case ListMode::Holidays:
        return "「" + sjis::toUtf8(store::HolidayName(row.text)) + "」";
    case ListMode::Memos:
        return "「" + text::formatInt(row.date.year, 4, '0') + "年" + text::formatInt(row.date.month, 2, '0') + "月" +
               text::formatInt(row.date.day, 2, '0') + "日」のメモ";
    case ListMode::Schedules:
        break;
    }
    return "「" + sjis::toUtf8(text::trimRight(text::cutBytes(RecTitle(row.text), kQuestionTitleBytes))) + "」";
}

store::EditResult deleteSchedules(const ListRows& rows, const std::vector<const ListRow*>& selected,
                                  store::Follower follower, files::FileOps& ops)
{
    // Each month file once, every selected line checked before any file is written.
    std::vector<store::LineRef> refs;
    std::vector<std::string> paths;
    for (const ListRow* row : selected) {
        refs.push_back(ScheduleRefOf(rows, *row));
        paths.push_back(refs.back().file);
    }
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return store::edit(
        {paths, follower, refs},
        [&](store::EditFiles& monthFiles) {
            // The lines go by index, never by a marker, so no line of the file is lost with them.
            for (const store::LineRef& ref : refs)
                monthFiles.remove(ref);
            return store::EditResult{};
        },
        ops);
}

store::EditResult deleteHolidays(const ListRows& rows, const std::vector<const ListRow*>& selected, files::FileOps& ops)
{
    std::vector<store::LineRef> refs;
    for (const ListRow* row : selected)
        refs.push_back(HolidayRefOf(rows, *row));
    return DeleteHolidayLines(rows.table, refs, ops);
}

store::EditResult deleteMemos(const ListRows& rows, const std::vector<const ListRow*>& selected, files::FileOps& ops)
{
    std::vector<std::string> folders;
    for (const ListRow* row : selected)
        folders.push_back(files::folderOf(MemoPathOf(rows, *row)));
    files::FolderLock lock = files::lockFolders(folders);
    if (!lock)
        return store::EditResult::failed(lock.reason());
    std::vector<files::FileChange> deletions;
    for (const ListRow* row : selected) {
        const std::string path = MemoPathOf(rows, *row);
        const std::optional<std::string> bytes = files::readBytes(path);
        if (bytes && MemoTextOfLines(store::ParseMemoText(*bytes)) != row->text)
            return store::EditResult::changed();
        if (bytes)
            deletions.push_back({path, std::nullopt});
    }
    if (deletions.empty())
        return {};
    // All the memos go, or none does.
    if (files::IoResult deleted = files::writeAllOrNothing(files::folderOf(deletions.front().path), deletions, ops);
        !deleted)
        return store::EditResult::failed(deleted.reason);
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

store::EditResult DeleteListRows(const ListRows& rows, const std::vector<const ListRow*>& selected,
                                 store::Follower follower, files::FileOps& ops)
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

} // namespace kal
