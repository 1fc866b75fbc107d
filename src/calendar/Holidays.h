// The holiday table Holiday.dat and the holidays of a month: national holidays, days off and
// anniversaries by rule, and the substitute and citizens' holidays the law adds.
#pragma once

#include "calendar/CalendarMath.h"
#include "calendar/DayCellLists.h"
#include "platform/Files.h"
#include "store/HolidayFile.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kal {

// One line of Holiday.dat (fixed columns, Shift-JIS).
struct HolidayRule {
    std::string month;    // " 1".."12", "99" every month, "  " every week
    std::string day;      // " 1".."31", "  " for weekday rules
    std::string fromYear; // "yyyy" or four blanks
    std::string toYear;   // "yyyy" or four blanks (= 9999)
    int weekNo = 0;       // 0 date or every week, 1..4, 5 last ("9" reads as 5)
    int weekday = 0;      // 0 Sunday .. 6 Saturday
    int kind = 0;         // 0 national holiday, 1 day off, 2 anniversary
    std::string name;     // at most 40 bytes

    // Read once when parsed: the month and day as numbers (0 when blank, 99 every month),
    // and the year range when both bounds are plain four-digit years.
    int monthValue = 0;
    int dayValue = 0;
    bool numericYears = false;
    int fromValue = 0;
    int toValue = 9999;
};

// Nothing for a line that is not well formed; such lines are never applied.
std::optional<HolidayRule> ParseHolidayRule(const std::string& line);
std::string ComposeHolidayRule(const HolidayRule& rule);

// Whether the rule's year range holds `year` (text comparison, blank toYear = "9999").
bool RuleAppliesInYear(const HolidayRule& rule, int year);
// Whether the rule falls on `date`, year range included.
bool RuleMatches(const HolidayRule& rule, const Date& date);
// The days from `from` to `to` on which the rule falls, as day numbers in date order, appended
// to `days`: RuleMatches for every day, found month by month.
void AppendRuleDays(const HolidayRule& rule, const Date& from, const Date& to, std::vector<long long>& days);

// An anniversary's name with its year count: only "%d" and width forms such as "%2d" are
// replaced, "%%" becomes "%", every other "%" stays text.
std::string AnniversaryText(const std::string& nameTemplate, int years);

using store::kHolidayFileName;

// Gives a data folder that has no holiday table the one the program ships (`bytes`), as at the
// first start. A table already there is never replaced, and a missing folder is left missing.
files::IoResult WriteDefaultHolidayFile(const std::string& dataPath, const std::string& bytes,
                                        files::FileOps& ops = files::systemFileOps());

// The rules of a table with an index by year: most lines hold a single year, so a month looks
// only at the lines of its years and those that span several.
class IndexedHolidayRules {
public:
    explicit IndexedHolidayRules(std::vector<HolidayRule> rules);
    const std::vector<HolidayRule>& rules() const { return rules_; }
    // Every rule that may apply from `fromYear` to `toYear` (a superset), in file order.
    void rulesOfYears(int fromYear, int toYear, std::vector<const HolidayRule*>& chosen) const;

private:
    std::vector<HolidayRule> rules_;
    std::vector<std::pair<int, std::size_t>> singleYear_; // (year, index), sorted
    std::vector<std::size_t> otherYears_;
};

// Kinds and lines of every visible cell from the rules (in file order), then the substitute
// holidays ("振替休日") and citizens' holidays ("国民の休日") by law.
void ApplyHolidays(const IndexedHolidayRules& rules, MonthLayout& layout, DayCellLists& lists);
void ApplyHolidays(const std::vector<HolidayRule>& rules, MonthLayout& layout, DayCellLists& lists);

// The rules of a holiday file; malformed lines are left out.
std::vector<HolidayRule> LoadHolidayRules(const std::string& path);
// The same rules, parsed again only when the file's stamp changed (another program may edit it).
std::shared_ptr<const IndexedHolidayRules> SharedHolidayRules(const std::string& path);

} // namespace kal
