// Clean-up of old data at exit: schedule files up to a cut-off month and the memo files of the
// months before it. Only names the program itself writes are ever deleted.
#pragma once

#include "platform/Date.h"
#include "platform/FileOps.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

struct YearMonth {
    int year = 0;
    int month = 0;
};

// The cut-off month `term` months before today's; none for a term other than 1, 2, 3, 6 or 12.
std::optional<YearMonth> CleanCutOff(const Date& today, int term);

// What one clean-up deletes: the schedule files of the cut-off month and earlier, and the memo
// files of the months before the cut-off month (full paths).
struct CleanPlan {
    YearMonth cutOff;
    std::vector<std::string> schedules;
    std::vector<std::string> memos;
};

// None when the term is not one of the offered ones or no schedule file qualifies: then
// nothing is asked and nothing deleted, memo files included.
std::optional<CleanPlan> PlanCleanUp(const std::string& dataPath, const std::string& memoPath, const Date& today,
                                     int term);

// The question asked before deleting (UTF-8), naming the memo files too.
std::string CleanQuestion(const YearMonth& cutOff);
inline constexpr const char* kCleanCaption = "スケジュールの洗い替え";

// Deletes the planned files; a file that cannot be deleted is left, the next one tried, and
// each one left is named in the result so the user learns that old data is still there. A file
// that is already gone counts as neither.
struct CleanFailure {
    std::string path;
    std::string reason;
};
struct CleanResult {
    int deleted = 0;
    std::vector<CleanFailure> failures;
    bool ok() const { return failures.empty(); }
};
CleanResult RunCleanUp(const CleanPlan& plan, files::FileOps& ops = files::systemFileOps());

// The message naming the files that could not be deleted (UTF-8); empty when all were.
std::string CleanFailureMessage(const CleanResult& result);

} // namespace kal
