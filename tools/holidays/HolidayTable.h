// The default holiday table, data/Holiday.dat, as rules.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace holidays {

struct HolidayRule {
    int month = 0;    // 1..12
    int day = 0;      // 1..31; 0 for a weekday rule
    int fromYear = 0; // 0 = no lower bound
    int toYear = 0;   // 0 = no upper bound
    int weekNo = 0;   // 0 for a date rule; 1..4 = n-th, 5 = last
    int weekday = 0;  // 0 = Sunday ... 6 = Saturday; 0 for a date rule
    std::string name; // UTF-8
};

// Every national holiday from 1948-07-20 to 2099-12-31, without substitute and citizens'
// holidays, which the program derives.
std::vector<HolidayRule> holidayRules();

// One line in UTF-8, without its line end.
std::string formatRule(const HolidayRule& rule);

// The whole file: Shift-JIS, CR LF, sorted by bytes.
std::string holidayDat();

// Shift-JIS bytes of a UTF-8 text; throws std::runtime_error for a character Shift-JIS lacks,
// so that a bad name stops the generator instead of reaching the file.
std::string toShiftJis(std::string_view utf8);

// Day of the month of the n-th given weekday (n = 1..4), or of the last one (n = 5), as a
// weekday rule's weekNo and weekday mean it.
int nthWeekdayOfMonth(int year, int month, int n, int weekday);

constexpr std::size_t kMaxNameBytes = 40;

} // namespace holidays
