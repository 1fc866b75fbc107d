#include "app/CleanUp.h"

#include "memo/DayMemo.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "schedule/ScheduleRecord.h"

#include <algorithm>
#include <cstdio>

namespace kal {
namespace {

bool before(const YearMonth& a, const YearMonth& b)
{
    return a.year < b.year || (a.year == b.year && a.month < b.month);
}

std::string monthText(const YearMonth& m)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d年%2d月", m.year, m.month);
    return text;
}

} // namespace

std::optional<YearMonth> CleanCutOff(const Date& today, int term)
{
    if (term != 1 && term != 2 && term != 3 && term != 6 && term != 12)
        return std::nullopt;
    if (today.month > term)
        return YearMonth{today.year, today.month - term};
    return YearMonth{today.year - 1, today.month + 12 - term};
}

std::optional<CleanPlan> PlanCleanUp(const std::string& dataPath, const std::string& memoPath, const Date& today,
                                     int term)
{
    std::optional<YearMonth> cutOff = CleanCutOff(today, term);
    if (!cutOff)
        return std::nullopt;
    CleanPlan plan;
    plan.cutOff = *cutOff;
    for (const std::string& name : files::listFiles(dataPath, "*.sch")) {
        std::optional<std::pair<int, int>> month = MonthOfFile(name);
        if (month && !before(*cutOff, YearMonth{month->first, month->second}))
            plan.schedules.push_back(files::withSeparator(dataPath) + name);
    }
    if (plan.schedules.empty())
        return std::nullopt;
    for (const std::string& name : files::listFiles(memoPath, "*.mem")) {
        std::optional<Date> day = MemoFileDate(name);
        if (day && before(YearMonth{day->year, day->month}, *cutOff))
            plan.memos.push_back(files::withSeparator(memoPath) + name);
    }
    std::sort(plan.schedules.begin(), plan.schedules.end());
    std::sort(plan.memos.begin(), plan.memos.end());
    return plan;
}

std::string CleanQuestion(const YearMonth& cutOff)
{
    const YearMonth lastMemoMonth =
        cutOff.month > 1 ? YearMonth{cutOff.year, cutOff.month - 1} : YearMonth{cutOff.year - 1, 12};
    return monthText(cutOff) + "以前のスケジュールを削除します。\r\n" + monthText(lastMemoMonth) +
           "以前のメモも削除します。\r\nよろしいですか？";
}

CleanResult RunCleanUp(const CleanPlan& plan, files::FileOps& ops)
{
    CleanResult result;
    std::vector<std::string> folders;
    for (const auto* paths : {&plan.schedules, &plan.memos})
        for (const std::string& path : *paths)
            folders.push_back(files::folderOf(path));
    files::FolderLock lock = files::lockFolders(folders);
    if (!lock) {
        result.failures.push_back({folders.front(), lock.reason()});
        return result;
    }
    for (const auto* paths : {&plan.schedules, &plan.memos}) {
        for (const std::string& path : *paths) {
            if (files::IoResult deleted = files::deleteFile(path, ops))
                ++result.deleted;
            else if (files::fileExists(path) || files::folderExists(path))
                result.failures.push_back({path, deleted.reason});
        }
    }
    return result;
}

std::string CleanFailureMessage(const CleanResult& result)
{
    if (result.ok())
        return {};
    std::string message = "次のファイルを削除できませんでした。";
    for (const CleanFailure& failure : result.failures)
        message += "\r\n" + failure.path + "\r\n　" + failure.reason;
    return message;
}

} // namespace kal
