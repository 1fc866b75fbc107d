#include "calendar/Holidays.h"
#include "calendar/MonthBuild.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>

using namespace kal;
using kal::test::sj;

namespace {

std::vector<HolidayRule> rulesOf(const std::vector<std::string>& utf8Lines)
{
    std::vector<HolidayRule> rules;
    for (const auto& line : utf8Lines) {
        auto rule = ParseHolidayRule(sj(line));
        EXPECT_TRUE(rule) << line;
        if (rule)
            rules.push_back(*rule);
    }
    return rules;
}

struct Grid {
    MonthLayout layout;
    DayCellLists lists;
};

Grid apply(const std::vector<HolidayRule>& rules, int year, int month, WeekStart start)
{
    Grid g{BuildLayout(year, month, start), {}};
    ApplyHolidays(rules, g.layout, g.lists);
    return g;
}

// The lines of the cell of a date, in UTF-8; the date must be shown.
std::vector<std::string> linesOn(const Grid& g, const Date& date)
{
    CellPos pos;
    EXPECT_TRUE(g.layout.find(date, pos));
    std::vector<std::string> out;
    for (const CellLine& line : g.lists.at(pos.column, pos.row))
        out.push_back(sjis::toUtf8(line.text));
    return out;
}

int kindOn(const Grid& g, const Date& date)
{
    CellPos pos;
    EXPECT_TRUE(g.layout.find(date, pos));
    return g.layout.cell(pos.column, pos.row).kind;
}

const std::vector<HolidayRule>& shippedRules()
{
    static const std::vector<HolidayRule> rules = LoadHolidayRules(KALENDRA_SOURCE_DIR "/data/Holiday.dat");
    return rules;
}

} // namespace

TEST(HolidayRules, ParseComposeAndRejectMalformedLines)
{
    auto rule = ParseHolidayRule(sj(" 1  2000    210成人の日"));
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->month, " 1");
    EXPECT_EQ(rule->day, "  ");
    EXPECT_EQ(rule->fromYear, "2000");
    EXPECT_EQ(rule->toYear, "    ");
    EXPECT_EQ(rule->weekNo, 2);
    EXPECT_EQ(rule->weekday, 1);
    EXPECT_EQ(rule->kind, 0);
    EXPECT_EQ(ComposeHolidayRule(*rule), sj(" 1  2000    210成人の日"));
    EXPECT_EQ(ParseHolidayRule(" 1 1        902")->weekNo, 5);
    EXPECT_FALSE(ParseHolidayRule(" 1 1        00"));
    EXPECT_FALSE(ParseHolidayRule("13 1        000x"));
    EXPECT_FALSE(ParseHolidayRule(" 132        000x"));
    EXPECT_FALSE(ParseHolidayRule(" 1 1        070x"));
    EXPECT_FALSE(ParseHolidayRule(" 1 1        003x"));
    EXPECT_EQ(ParseHolidayRule(" 1 1        000" + std::string(50, 'n'))->name.size(), 40u);
}

TEST(HolidayRules, YearRangeIsATextComparison)
{
    auto rule = *ParseHolidayRule(" 5 520002005000x");
    EXPECT_FALSE(RuleAppliesInYear(rule, 1999));
    EXPECT_TRUE(RuleAppliesInYear(rule, 2000));
    EXPECT_TRUE(RuleAppliesInYear(rule, 2005));
    EXPECT_FALSE(RuleAppliesInYear(rule, 2006));
    auto open = *ParseHolidayRule(" 5 5        000x");
    EXPECT_TRUE(RuleAppliesInYear(open, 1900));
    EXPECT_TRUE(RuleAppliesInYear(open, 2099));
}

TEST(HolidayRules, AnniversaryCountsOnlyReplaceIntegerDirectives)
{
    EXPECT_EQ(AnniversaryText(sj("結婚%d周年"), 6), sj("結婚6周年"));
    EXPECT_EQ(AnniversaryText("%2d years", 6), " 6 years");
    EXPECT_EQ(AnniversaryText("%03d", 6), "006");
    EXPECT_EQ(AnniversaryText("100%% %s %x %", 6), "100% %s %x %");
    EXPECT_EQ(AnniversaryText("%n%p", 6), "%n%p");
    EXPECT_EQ(AnniversaryText(sj("記念日"), 6), sj("記念日"));

    auto rules = rulesOf({" 6 12000    002結婚%d周年", " 6 2        002誕生日%d"});
    Grid g = apply(rules, 2006, 6, WeekStart::Sunday);
    EXPECT_EQ(linesOn(g, Date{2006, 6, 1}), std::vector<std::string>{"2結婚6周年"});
    EXPECT_EQ(kindOn(g, Date{2006, 6, 1}), 2);
    EXPECT_EQ(linesOn(g, Date{2006, 6, 2}), std::vector<std::string>{"2誕生日%d"});
}

TEST(HolidayRules, RuleShapesMarkLeadingDisplayedAndTrailingCells)
{
    // Every Wednesday is a day off; "第4" and "最終" Fridays; the 25th of every month.
    auto rules = rulesOf(
        {"    2000    031水曜休み", "99  2000    452第4金", "99  2000    552最終金", "9925        002毎月25日"});
    for (WeekStart start : {WeekStart::Sunday, WeekStart::Monday}) {
        SCOPED_TRACE(static_cast<int>(start));
        Grid g = apply(rules, 2026, 12, start);
        for (int row = 1; row <= 6; ++row)
            for (int column = 0; column < 7; ++column) {
                Date date = g.layout.dateOf(column, row);
                auto lines = linesOn(g, date);
                bool wednesday = dayOfWeek(date) == 3;
                EXPECT_EQ(std::count(lines.begin(), lines.end(), "1水曜休み"), wednesday ? 1 : 0);
                EXPECT_EQ(g.layout.cell(column, row).kind, wednesday ? 1 : (lines.empty() ? 9 : 2));
                bool friday = dayOfWeek(date) == 5;
                bool fourth = friday && date.day >= 22 && date.day <= 28;
                bool last = friday && date.day + 7 > DaysInMonth(date.year, date.month);
                EXPECT_EQ(std::count(lines.begin(), lines.end(), "2第4金"), fourth ? 1 : 0)
                    << date.month << "/" << date.day;
                EXPECT_EQ(std::count(lines.begin(), lines.end(), "2最終金"), last ? 1 : 0)
                    << date.month << "/" << date.day;
                EXPECT_EQ(std::count(lines.begin(), lines.end(), "2毎月25日"), date.day == 25 ? 1 : 0);
            }
    }
}

TEST(HolidayRules, SmallerKindWinsAndALaterNationalHolidayReplacesAnEarlier)
{
    auto rules = rulesOf({" 7 1        000First", " 7 1        000Second", " 7 1        001Own day off",
                          " 7 2        002Anniversary", " 7 2        001Day off"});
    Grid g = apply(rules, 2026, 7, WeekStart::Sunday);
    EXPECT_EQ(kindOn(g, Date{2026, 7, 1}), 0);
    EXPECT_EQ(linesOn(g, Date{2026, 7, 1}), (std::vector<std::string>{"0Second", "1Own day off"}));
    EXPECT_EQ(kindOn(g, Date{2026, 7, 2}), 1);
    EXPECT_EQ(linesOn(g, Date{2026, 7, 2}), (std::vector<std::string>{"1Day off", "2Anniversary"}));
}

TEST(HolidayRules, TwentyNinthOfFebruaryOnlyInLeapYears)
{
    auto rules = rulesOf({" 229        002Leap"});
    EXPECT_EQ(linesOn(apply(rules, 2024, 2, WeekStart::Sunday), Date{2024, 2, 29}), std::vector<std::string>{"2Leap"});
    Grid common = apply(rules, 2025, 2, WeekStart::Sunday);
    EXPECT_EQ(linesOn(common, Date{2025, 3, 1}), std::vector<std::string>{});
}

TEST(SubstituteHolidays, SundayHolidayMovesToMondayInLeadingAndTrailingCellsForBothWeekStarts)
{
    // Sundays at a month's end and start, so that Sunday and Monday fall into leading,
    // displayed and trailing cells of the grids around them.
    const char* sundays[] = {" 831        000Holiday", " 9 7        000Holiday", "1123        000Holiday",
                             " 3 1        000Holiday", " 329        000Holiday"};
    const int years[] = {2025, 2025, 2025, 2026, 2026};
    int shownInLeading = 0, shownInTrailing = 0;
    for (int i = 0; i < 5; ++i) {
        auto rules = rulesOf({sundays[i]});
        const HolidayRule& rule = rules[0];
        Date sunday{years[i], std::stoi(rule.month), std::stoi(rule.day)};
        ASSERT_EQ(dayOfWeek(sunday), 0);
        Date monday = addDays(sunday, 1);
        for (WeekStart start : {WeekStart::Sunday, WeekStart::Monday})
            for (int offset = -1; offset <= 1; ++offset) {
                int year = sunday.year, month = sunday.month;
                if (offset < 0)
                    previousMonth(year, month);
                if (offset > 0)
                    nextMonth(year, month);
                Grid g = apply(rules, year, month, start);
                CellPos pos;
                if (!g.layout.find(monday, pos))
                    continue;
                SCOPED_TRACE(std::to_string(year) + "/" + std::to_string(month) + " start " +
                             std::to_string(static_cast<int>(start)));
                EXPECT_EQ(linesOn(g, monday), std::vector<std::string>{"0振替休日"});
                EXPECT_EQ(kindOn(g, monday), 0);
                // With a Sunday start the Monday is the next column; with a Monday start column 0
                // of the next row.
                CellPos sundayPos;
                if (g.layout.find(sunday, sundayPos)) {
                    if (start == WeekStart::Sunday)
                        EXPECT_EQ(pos, (CellPos{sundayPos.column + 1, sundayPos.row}));
                    else
                        EXPECT_EQ(pos, (CellPos{0, sundayPos.row + 1}));
                }
                MonthRelation relation = g.layout.cell(pos.column, pos.row).relation;
                shownInLeading += relation == MonthRelation::Previous;
                shownInTrailing += relation == MonthRelation::Next;
            }
    }
    EXPECT_GT(shownInLeading, 0);
    EXPECT_GT(shownInTrailing, 0);
}

TEST(SubstituteHolidays, SundayBeforeTheGridStillGivesTheFirstCellItsSubstitute)
{
    // 2026-05-31 is a Sunday; June 2026 begins on a Monday, so with a Monday start there are
    // no leading cells and 1 June is the substitute.
    auto rules = rulesOf({" 531        000Sunday holiday"});
    Grid g = apply(rules, 2026, 6, WeekStart::Monday);
    EXPECT_FALSE(g.layout.prevShown);
    EXPECT_EQ(linesOn(g, Date{2026, 6, 1}), std::vector<std::string>{"0振替休日"});
    // Outside its years the rule gives no substitute anywhere.
    auto outOfRange = rulesOf({" 53120272030000Sunday holiday"});
    Grid none = apply(outOfRange, 2026, 6, WeekStart::Monday);
    EXPECT_EQ(linesOn(none, Date{2026, 6, 1}), std::vector<std::string>{});
}

TEST(SubstituteHolidays, RulesOfTheLawOnTheShippedTable)
{
    struct Case {
        Date date;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{2026, 5, 6}, {"0振替休日"}},      {{2026, 9, 22}, {"0国民の休日"}},
        {{2009, 9, 22}, {"0国民の休日"}},   {{1985, 5, 4}, {}},
        {{1988, 5, 4}, {"0国民の休日"}},    {{1973, 2, 12}, {}},
        {{1973, 4, 30}, {"0振替休日"}},     {{1998, 5, 4}, {"0振替休日"}},
        {{2019, 4, 30}, {"0国民の休日"}},   {{2019, 5, 2}, {"0国民の休日"}},
        {{2019, 5, 6}, {"0振替休日"}},      {{2007, 5, 4}, {"0みどりの日"}},
        {{2020, 7, 24}, {"0スポーツの日"}}, {{2021, 8, 9}, {"0振替休日"}},
    };
    for (WeekStart start : {WeekStart::Sunday, WeekStart::Monday})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::to_string(c.date.year) + "/" + std::to_string(c.date.month) + "/" +
                         std::to_string(c.date.day));
            Grid g = apply(shippedRules(), c.date.year, c.date.month, start);
            EXPECT_EQ(linesOn(g, c.date), c.lines);
            EXPECT_EQ(kindOn(g, c.date), c.lines.empty() ? 9 : 0);
        }
}

TEST(SubstituteHolidays, EveryCellFrom1948To2099MatchesTheHolidaysByLaw)
{
    std::map<long long, std::string> byLaw;
    std::ifstream list(KALENDRA_SOURCE_DIR "/tests/calendar/data/holidays-by-law.txt");
    ASSERT_TRUE(list) << "reference list missing";
    std::string line;
    while (std::getline(list, line)) {
        Date date{std::stoi(line.substr(0, 4)), std::stoi(line.substr(5, 2)), std::stoi(line.substr(8, 2))};
        byLaw[toDayNumber(date)] = "0" + line.substr(11);
    }
    ASSERT_GT(byLaw.size(), 2000u);

    const std::vector<HolidayRule>& rules = shippedRules();
    int mismatches = 0;
    for (WeekStart start : {WeekStart::Sunday, WeekStart::Monday})
        for (int year = 1948; year <= 2099; ++year)
            for (int month = 1; month <= 12; ++month) {
                Grid g = apply(rules, year, month, start);
                for (int row = 1; row <= 6; ++row)
                    for (int column = 0; column < 7; ++column) {
                        Date date = g.layout.dateOf(column, row);
                        if (date.year > 2099)
                            continue;
                        auto found = byLaw.find(toDayNumber(date));
                        std::vector<std::string> expected;
                        if (found != byLaw.end())
                            expected.push_back(found->second);
                        std::vector<std::string> actual;
                        for (const CellLine& cellLine : g.lists.at(column, row))
                            actual.push_back(sjis::toUtf8(cellLine.text));
                        int expectedKind = expected.empty() ? 9 : 0;
                        if ((actual != expected || g.layout.cell(column, row).kind != expectedKind) &&
                            ++mismatches <= 10)
                            ADD_FAILURE() << date.year << "/" << date.month << "/" << date.day << " in grid " << year
                                          << "/" << month << ": " << (actual.empty() ? "-" : actual[0]) << " expected "
                                          << (expected.empty() ? "-" : expected[0]);
                    }
            }
    EXPECT_EQ(mismatches, 0);
}

TEST(HolidayRules, TheShippedTableGoesOnlyIntoAFolderWithoutOne)
{
    struct Case {
        const char* name;
        const char* existing; // Holiday.dat before; nullptr none
        bool folderExists;
        const char* after; // nullptr: still no file
    };
    const Case cases[] = {
        {"first start", nullptr, true, "0101 1 shipped\r\n"},
        {"a table of the user's own", "0505 1 mine\r\n", true, "0505 1 mine\r\n"},
        {"an empty table stays empty", "", true, ""},
        {"no data folder", nullptr, false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kal::test::TempFolder dir;
        if (c.existing)
            dir.write("Holiday.dat", c.existing);
        const std::string folder = c.folderExists ? dir.path() : dir.file("missing/");
        EXPECT_TRUE(WriteDefaultHolidayFile(folder, "0101 1 shipped\r\n"));
        const std::string target = folder + kHolidayFileName;
        EXPECT_EQ(files::readBytes(target), c.after ? std::optional<std::string>(c.after) : std::nullopt);
        EXPECT_EQ(files::folderExists(folder), c.folderExists);
    }
}

TEST(HolidayRules, DaysAndYearsOfGeneratedRulesAreThoseTheyMatch)
{
    std::mt19937 random(30);
    auto pick = [&](std::initializer_list<const char*> values) {
        return std::string(values.begin()[random() % values.size()]);
    };
    auto twoDigits = [&](int high) { return text::formatInt(static_cast<int>(1 + random() % high), 2, ' '); };
    // Blank, odd texts compared as text, and plain years around the spans.
    auto year = [&] {
        return random() % 3 ? std::to_string(1895 + random() % 210) : pick({"    ", "  20", "20a0", "999 "});
    };
    int compared = 0;
    std::vector<HolidayRule> parsed;
    for (int i = 0; i < 20000; ++i) {
        const std::string line =
            (random() % 3 ? twoDigits(12) : pick({"  ", "99"})) + (random() % 2 ? twoDigits(31) : "  ") + year() +
            year() + std::to_string(random() % 10) + std::to_string(random() % 7) + std::to_string(random() % 3) + " x";
        const std::optional<HolidayRule> rule = ParseHolidayRule(line);
        if (!rule)
            continue;
        const Date from = addDays(Date{1898, 12, 1}, static_cast<long long>(random() % 74000));
        const Date to = addDays(from, static_cast<long long>(random() % 90));
        std::vector<long long> expected;
        for (long long day = toDayNumber(from); day <= toDayNumber(to); ++day)
            if (RuleMatches(*rule, fromDayNumber(day)))
                expected.push_back(day);
        std::vector<long long> days;
        AppendRuleDays(*rule, from, to, days);
        ASSERT_EQ(days, expected) << line << " from " << toDayNumber(from);
        compared += !expected.empty();
        if (parsed.size() < 2000)
            parsed.push_back(*rule);
    }
    EXPECT_GT(compared, 1000);

    // The index by year leaves out no rule of the years asked for, and keeps the file's order.
    const IndexedHolidayRules table(parsed);
    std::vector<const HolidayRule*> chosen;
    for (int first = 1897; first <= 2102; ++first) {
        table.rulesOfYears(first, first + 1, chosen);
        ASSERT_TRUE(std::is_sorted(chosen.begin(), chosen.end()));
        for (const HolidayRule& rule : table.rules())
            if (RuleAppliesInYear(rule, first) || RuleAppliesInYear(rule, first + 1)) {
                ASSERT_TRUE(std::binary_search(chosen.begin(), chosen.end(), &rule)) << ComposeHolidayRule(rule);
            }
    }
}
