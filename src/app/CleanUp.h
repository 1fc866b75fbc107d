// Clean-up of old data at exit: schedule files up to a cut-off month and the memo files of the
// months before it. Only names the program itself writes are ever deleted.
#pragma once

#include "platform/Date.h"

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

// Deletes the planned files; a file that cannot be deleted is left and the next one tried.
// Gives the number deleted.
int RunCleanUp(const CleanPlan& plan);

} // namespace kal
