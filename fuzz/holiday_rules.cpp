// Holiday table lines: a rule that parses composes back to a line that parses to the same rule,
// and applying any set of rules to any month finishes.
#include "FuzzSupport.h"
#include "calendar/Holidays.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kal;
    std::string input = fuzz::bytesOf(data, size);
    const int year = 1950 + fuzz::takeNumber(input, 150);
    const int month = 1 + fuzz::takeNumber(input, 12);
    std::vector<HolidayRule> rules;
    for (const std::string& line : files::splitLines(input)) {
        std::optional<HolidayRule> rule = ParseHolidayRule(line);
        if (!rule)
            continue;
        const std::string composed = ComposeHolidayRule(*rule);
        std::optional<HolidayRule> again = ParseHolidayRule(composed);
        FUZZ_CHECK(again);
        FUZZ_CHECK(ComposeHolidayRule(*again) == composed);
        FUZZ_CHECK(again->kind == rule->kind && again->weekday == rule->weekday && again->weekNo == rule->weekNo);
        AnniversaryText(rule->name, year - 1900);
        rules.push_back(*rule);
    }
    for (WeekStart start : {WeekStart::Sunday, WeekStart::Monday}) {
        MonthLayout layout = BuildLayout(year, month, start);
        DayCellLists lists;
        ApplyHolidays(rules, layout, lists);
    }
    return 0;
}
