#include "memo/DayMemo.h"

#include "platform/ByteText.h"
#include "platform/FolderLock.h"
#include "platform/NumberFormat.h"
#include "platform/Stretches.h"

#include <algorithm>
#include <functional>
#include <map>
#include <mutex>

namespace kal {
namespace {

constexpr long long kDirectRangeDays = 400;
// Fewer memos are read on one thread: starting another would cost more than it saves.
constexpr std::size_t kMemosPerThread = 500;

bool allDigits(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int digitsValue(std::string_view s)
{
    int value = 0;
    for (char c : s)
        value = value * 10 + (c - '0');
    return value;
}

// The line the caller showed at `index`, changed by `change` under the folder's lock.
MemoLineResult editMemoLine(const std::string& path, int index, const std::string& shown,
                            const std::function<void(std::vector<std::string>&, std::size_t)>& change,
                            files::FileOps& ops)
{
    MemoLineResult result;
    const store::LineRef ref{path, index, shown};
    store::EditResult done = store::edit(
        {{path}, store::Follower::none(), {}},
        [&](store::EditFiles& memo) {
            // A line edit never creates a memo.
            result.missing = !files::fileExists(path);
            if (result.missing || !memo.holds(ref))
                return store::EditResult::changed();
            std::vector<std::string> lines = memo.lines(path);
            change(lines, static_cast<std::size_t>(index));
            result.fileDeleted = store::PutMemo(memo, path, std::move(lines));
            return store::EditResult{};
        },
        ops);
    static_cast<store::EditResult&>(result) = std::move(done);
    result.fileDeleted = result.fileDeleted && result.ok();
    return result;
}

} // namespace

std::string MemoFileName(const Date& date)
{
    return text::formatInt(date.year, 4, '0') + text::formatInt(date.month, 2, '0') +
           text::formatInt(date.day, 2, '0') + kMemoExtension;
}

std::string MemoFilePath(const std::string& memoPath, const Date& date)
{
    return files::withSeparator(memoPath) + MemoFileName(date);
}

std::optional<Date> MemoFileDate(std::string_view fileName)
{
    // Only the name this program writes: the month build looks for exactly that one.
    if (fileName.size() != 12 || fileName.substr(8) != kMemoExtension)
        return std::nullopt;
    std::string_view digits = fileName.substr(0, 8);
    if (!allDigits(digits))
        return std::nullopt;
    Date date{digitsValue(digits.substr(0, 4)), digitsValue(digits.substr(4, 2)), digitsValue(digits.substr(6, 2))};
    if (!isValidDate(date.year, date.month, date.day))
        return std::nullopt;
    return date;
}

bool DayMemoExists(const std::string& memoPath, const Date& date)
{
    return files::fileExists(MemoFilePath(memoPath, date));
}

std::vector<bool> DayMemosExist(const std::string& memoPath, const Date& first, int count)
{
    struct Entry {
        files::FileStamp folderStamp;
        std::vector<bool> exist;
    };
    constexpr std::size_t kMaxEntries = 256;
    static std::mutex mutex;
    static std::map<std::pair<std::string, long long>, Entry> cache;

    const auto key = std::make_pair(files::withSeparator(memoPath), toDayNumber(first));
    // Taken before the files are looked at: a change meanwhile shows at the next call.
    const files::FileStamp folderStamp = files::fileStamp(key.first.empty() ? "." : key.first);
    {
        std::lock_guard lock(mutex);
        auto found = cache.find(key);
        if (found != cache.end() && found->second.folderStamp == folderStamp &&
            found->second.exist.size() == static_cast<std::size_t>(count))
            return found->second.exist;
    }
    std::vector<bool> exist(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        exist[static_cast<std::size_t>(i)] = DayMemoExists(memoPath, addDays(first, i));
    if (files::stampSettled(folderStamp)) {
        std::lock_guard lock(mutex);
        if (cache.size() >= kMaxEntries)
            cache.clear();
        cache[key] = Entry{folderStamp, exist};
    }
    return exist;
}

std::vector<std::string> LoadDayMemo(const std::string& memoPath, const Date& date)
{
    std::optional<std::string> bytes = files::readBytes(MemoFilePath(memoPath, date));
    return bytes ? store::ParseMemoText(*bytes) : std::vector<std::string>{};
}

files::IoResult SaveDayMemo(const std::string& memoPath, const Date& date, const std::vector<std::string>& lines,
                            files::FileOps& ops)
{
    return SaveMemoFile(MemoFilePath(memoPath, date), lines, ops);
}

files::IoResult DeleteDayMemo(const std::string& memoPath, const Date& date, files::FileOps& ops)
{
    return DeleteMemoFile(MemoFilePath(memoPath, date), ops);
}

files::IoResult SaveMemoFile(const std::string& path, const std::vector<std::string>& lines, files::FileOps& ops)
{
    files::FolderLock lock = files::lockFolderOf(path);
    if (!lock)
        return files::IoResult::failure(lock.reason());
    if (store::IsEmptyMemo(lines))
        return DeleteMemoFile(path, ops);
    return files::saveLines(path, lines, ops);
}

files::IoResult DeleteMemoFile(const std::string& path, files::FileOps& ops)
{
    files::FolderLock lock = files::lockFolderOf(path);
    if (!lock)
        return files::IoResult::failure(lock.reason());
    if (!files::fileExists(path))
        return {};
    return files::deleteFile(path, ops);
}

std::vector<DayMemoText> LoadDayMemos(const std::string& memoPath, const Date& from, const Date& to,
                                      std::vector<files::FileProblem>* unreadable)
{
    std::vector<Date> days;
    if (from > to)
        return {};
    // A short range asks for each day's file; a long one lists the folder once.
    if (daysBetween(from, to) < kDirectRangeDays) {
        for (Date day = from; day <= to; day = addDays(day, 1))
            if (files::anythingAt(MemoFilePath(memoPath, day)))
                days.push_back(day);
    } else {
        for (const std::string& name : files::listFiles(files::withSeparator(memoPath), "*.mem", true))
            if (std::optional<Date> date = MemoFileDate(name); date && *date >= from && *date <= to)
                days.push_back(*date);
        std::sort(days.begin(), days.end());
    }
    const files::OpenFolder folder(memoPath);
    std::vector<std::vector<DayMemoText>> found(stretchCount(days.size(), kMemosPerThread));
    std::vector<std::vector<files::FileProblem>> problems(found.size());
    runStretches(days.size(), found.size(), [&](std::size_t first, std::size_t last, std::size_t stretch) {
        files::ReadResult read;
        for (std::size_t i = first; i < last; ++i) {
            folder.readInto(MemoFileName(days[i]), read);
            if (read.status == files::ReadStatus::Ok)
                found[stretch].push_back(DayMemoText{days[i], store::ParseMemoText(read.bytes)});
            else if (read.status == files::ReadStatus::Unreadable)
                problems[stretch].push_back({MemoFilePath(memoPath, days[i]), read.reason});
        }
    });
    std::vector<DayMemoText> memos;
    memos.reserve(days.size());
    for (std::size_t stretch = 0; stretch < found.size(); ++stretch) {
        appendStretch(memos, found[stretch]);
        if (unreadable)
            appendStretch(*unreadable, problems[stretch]);
    }
    return memos;
}

MemoLineResult ReplaceMemoLine(const std::string& path, int index, const std::string& shown,
                               const std::string& replacement, files::FileOps& ops)
{
    return editMemoLine(
        path, index, shown, [&](std::vector<std::string>& lines, std::size_t at) { lines[at] = replacement; }, ops);
}

MemoLineResult DeleteMemoLine(const std::string& path, int index, const std::string& shown, files::FileOps& ops)
{
    return editMemoLine(
        path, index, shown,
        [](std::vector<std::string>& lines, std::size_t at) { lines.erase(lines.begin() + static_cast<long>(at)); },
        ops);
}

} // namespace kal
