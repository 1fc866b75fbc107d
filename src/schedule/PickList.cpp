#include "schedule/PickList.h"

#include "platform/ByteText.h"
#include "schedule/ScheduleRecord.h"
#include "store/Edit.h"
#include "store/PickListFile.h"

#include <algorithm>

namespace kal {
namespace {

struct PickListInfo {
    const char* fileName;
    const char* caption;
    const char* prompt;
};

const PickListInfo& infoOf(PickListType type)
{
    static const PickListInfo infos[] = {
        {"SigTime.tbl", "時報時刻の設定", "追加する時刻(HH:MM)："},
        {"SchFrom.tbl", "開始時刻の設定", "追加する時刻(HH:MM)："},
        {"SchTo.tbl", "終了時刻の設定", "追加する時刻(HH:MM)："},
        {"SchTitle.tbl", "スケジュール内容の設定", "追加するスケジュール内容："},
        {"SchPlace.tbl", "場所の設定", "追加する場所："},
    };
    return infos[static_cast<int>(type)];
}

bool lessNoCase(const std::string& a, const std::string& b)
{
    return text::compareNoCase(a, b) < 0;
}

std::vector<std::string> cutRows(const std::vector<std::string>& lines, std::size_t bytes)
{
    std::vector<std::string> rows;
    rows.reserve(lines.size());
    for (const std::string& line : lines)
        rows.push_back(text::cutBytes(line, bytes));
    return rows;
}

} // namespace

const char* PickListFileName(PickListType type)
{
    return infoOf(type).fileName;
}
const char* PickListCaption(PickListType type)
{
    return infoOf(type).caption;
}
const char* PickListPrompt(PickListType type)
{
    return infoOf(type).prompt;
}

std::string PickListPath(const std::string& programFolder, PickListType type)
{
    return files::withSeparator(programFolder) + PickListFileName(type);
}

bool IsTimeList(PickListType type)
{
    return type != PickListType::Title && type != PickListType::Place;
}

int PickListEntryLimit(PickListType type)
{
    return static_cast<int>(IsTimeList(type) ? kTimeRowBytes : kTextRowBytes);
}

PickList::PickList(std::vector<std::string> entries) : entries_(store::PickListEntries(std::move(entries))) { }

PickList PickList::Load(const std::string& path)
{
    files::LoadForUpdate loaded = files::loadLinesForUpdate(path);
    PickList list(std::move(loaded.lines));
    list.unreadable_ = loaded.reason;
    return list;
}

int PickList::add(const std::string& entry)
{
    if (text::isBlank(entry))
        return -1;
    auto at = std::lower_bound(entries_.begin(), entries_.end(), entry, lessNoCase);
    if (at == entries_.end() || !text::equalsNoCase(*at, entry))
        at = entries_.insert(at, entry);
    return static_cast<int>(at - entries_.begin());
}

void PickList::remove(std::size_t index)
{
    if (index < entries_.size())
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

files::IoResult PickList::save(const std::string& path, files::FileOps& ops) const
{
    if (!readable())
        return files::IoResult::failure(unreadable_);
    return store::replaceFile(path, entries_, ops).io();
}

std::string PickListRowText(const std::string& entry)
{
    return text::cutBytes(entry, kTextRowBytes);
}

const std::vector<std::string>& DefaultTimeRows()
{
    static const std::vector<std::string> rows = {
        "",      "09:00", "09:30", "10:00", "10:30", "11:00", "11:30", "12:00", "12:30",
        "13:00", "13:30", "14:00", "14:30", "15:00", "15:30", "16:00", "16:30", "17:00",
        "17:30", "18:00", "18:30", "19:00", "19:30", "20:00", "21:00", "22:00", "23:00",
    };
    return rows;
}

std::vector<std::string> TimeRows(const std::string& programFolder, PickListType type)
{
    const std::string path = PickListPath(programFolder, type);
    if (!files::fileExists(path))
        return DefaultTimeRows();
    return cutRows(files::loadLines(path), kTimeRowBytes);
}

std::vector<std::string> TextRows(const std::string& programFolder, PickListType type)
{
    return cutRows(files::loadLines(PickListPath(programFolder, type)), kTextRowBytes);
}

namespace {

template <typename FieldOf>
std::vector<std::string> collect(const std::vector<std::string>& monthLines, FieldOf fieldOf)
{
    std::vector<std::string> found;
    for (const std::string& line : monthLines) {
        if (!IsScheduleRecord(line))
            continue;
        std::string value = fieldOf(line);
        if (!text::isBlank(value))
            found.push_back(std::move(value));
    }
    return store::PickListEntries(std::move(found));
}

} // namespace

std::vector<std::string> RecentTitles(const std::vector<std::string>& monthLines)
{
    return collect(monthLines, [](const std::string& line) { return RecTitle(line); });
}

std::vector<std::string> RecentPlaces(const std::vector<std::string>& monthLines)
{
    return collect(monthLines, [](const std::string& line) { return text::cutBytes(RecPlace(line), kTextRowBytes); });
}

bool IsTimeOfDay(std::string_view t)
{
    auto digit = [&](std::size_t i) { return t[i] >= '0' && t[i] <= '9'; };
    if (t.size() != 5 || t[2] != ':' || !digit(0) || !digit(1) || !digit(3) || !digit(4))
        return false;
    return (t[0] - '0') * 10 + (t[1] - '0') < 24 && t[3] < '6';
}

std::optional<std::string> ZeroPaddedTime(std::string_view text)
{
    std::string time(text);
    if (time.size() == 4 && time[1] == ':')
        time.insert(0, 1, '0');
    if (!IsTimeOfDay(time))
        return std::nullopt;
    return time;
}

void AppendMissingRows(std::vector<std::string>& rows, const std::vector<std::string>& recent)
{
    for (const std::string& entry : recent) {
        bool known = std::any_of(rows.begin(), rows.end(),
                                 [&](const std::string& row) { return text::equalsNoCase(row, entry); });
        if (!known)
            rows.push_back(entry);
    }
}

} // namespace kal
