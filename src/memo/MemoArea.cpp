#include "memo/MemoArea.h"

#include "memo/DayMemo.h"
#include "memo/Note.h"
#include "platform/DateFormat.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"

namespace kal {

MemoAreaMode MemoAreaModeOf(int memoSetting)
{
    switch (memoSetting) {
    case 0:
        return MemoAreaMode::WhenMemo;
    case 2:
        return MemoAreaMode::Never;
    default:
        return MemoAreaMode::Always;
    }
}

std::string MemoAreaTitle(const std::string& mTitle, const Date& date)
{
    if (mTitle.empty())
        return text::formatDate("yyyy/mm/dd", date);
    std::string title = text::formatDate(mTitle, date);
    return title.empty() ? mTitle : title;
}

bool MemoAreaShown(MemoAreaMode mode, bool fileExists, std::size_t lineCount)
{
    switch (mode) {
    case MemoAreaMode::Always:
        return true;
    case MemoAreaMode::Never:
        return false;
    case MemoAreaMode::WhenMemo:
        break;
    }
    return fileExists && lineCount > 0;
}

std::string DayMemoCaption(const Date& date)
{
    return std::to_string(date.year) + "年" + std::to_string(date.month) + "月" + std::to_string(date.day) + "日のメモ";
}

std::string ListedDayMemoCaption(const Date& date)
{
    return std::to_string(date.year) + "年" + text::formatInt(date.month, 2, '0') + "月" +
           text::formatInt(date.day, 2, '0') + "日のメモ";
}

std::string MemoEditorFile(const MemoEditorTarget& target)
{
    switch (target.mode) {
    case MemoEditorMode::Template:
        return files::withSeparator(target.folder) + kMemoTemplateFileName;
    case MemoEditorMode::DayMemo:
        return MemoFilePath(target.folder, target.date);
    case MemoEditorMode::Note:
        break;
    }
    return NoteFilePath(target.folder, target.title);
}

std::vector<std::string> MemoEditorStartLines(const MemoEditorTarget& target)
{
    const std::string file = MemoEditorFile(target);
    if (files::fileExists(file) || target.mode != MemoEditorMode::DayMemo)
        return files::loadLines(file);
    return files::loadLines(files::withSeparator(target.folder) + kMemoTemplateFileName);
}

std::string MemoEditorCaption(const MemoEditorTarget& target)
{
    switch (target.mode) {
    case MemoEditorMode::Template:
        return "メモテンプレートの編集";
    case MemoEditorMode::Note:
        return "「" + sjis::toUtf8(target.title) + "」の編集";
    case MemoEditorMode::DayMemo:
        break;
    }
    return {};
}

} // namespace kal
