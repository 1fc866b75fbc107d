#include "calendar/Holidays.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/SjisCodec.h"
#include "store/HolidayFile.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <mutex>

namespace kal {
namespace {

bool isBlank2(const std::string& s)
{
    return s == "  ";
}

std::optional<int> twoDigitField(const std::string& s, int low, int high)
{
    int value = text::toIntOr(s, -1);
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

int nthOccurrence(const Date& date)
{
    return (date.day - 1) / 7 + 1;
}
bool isLastOccurrence(const Date& date)
{
    return date.day + 7 > DaysInMonth(date.year, date.month);
}

bool weekdayRuleMatches(const HolidayRule& rule, const Date& date)
{
    if (dayOfWeek(date) != rule.weekday)
        return false;
    if (rule.weekNo >= 1 && rule.weekNo <= 4)
        return nthOccurrence(date) == rule.weekNo;
    if (rule.weekNo == 5)
        return isLastOccurrence(date);
    return false;
}

constexpr Date kFirstSubstituteDay{1973, 4, 12};
constexpr Date kSubstituteRuleChange{2007, 1, 1};
constexpr Date kFirstCitizensHoliday{1988, 1, 1};

// A Sunday up to two weeks before the grid can still move its substitute into it; the day after
// the grid tells whether its last day lies between two holidays.
constexpr int kDaysBeforeGrid = 14;
constexpr int kGridDays = 42;
constexpr int kSpanDays = kDaysBeforeGrid + kGridDays + 1;

// The days of a grid and the two weeks before it, by their offset from the span's first day.
class HolidaySpan {
public:
    explicit HolidaySpan(const MonthLayout& layout)
        : begin_(toDayNumber(layout.firstCellDate()) - kDaysBeforeGrid), firstWeekday_(weekdayOfDay(begin_))
    {
    }
    long long dayNumber(int offset) const { return begin_ + offset; }
    int offsetOf(long long dayNumber) const { return static_cast<int>(dayNumber - begin_); }
    Date firstDate() const { return fromDayNumber(begin_); }
    Date lastDate() const { return fromDayNumber(begin_ + kSpanDays - 1); }
    int weekday(int offset) const { return (firstWeekday_ + offset) % 7; }
    static bool inGrid(int offset) { return offset >= kDaysBeforeGrid && offset < kDaysBeforeGrid + kGridDays; }
    static int column(int offset) { return (offset - kDaysBeforeGrid) % 7; }
    static int row(int offset) { return (offset - kDaysBeforeGrid) / 7 + 1; }

    // Days outside the span are never national holidays here, as the law's rules see them.
    bool national(int offset) const { return offset >= 0 && offset < kSpanDays && national_[offset]; }
    void markNational(int offset) { national_[static_cast<std::size_t>(offset)] = true; }

private:
    static int weekdayOfDay(long long dayNumber)
    {
        // Day 0 (1970-01-01) was a Thursday.
        const long long w = (dayNumber + 4) % 7;
        return static_cast<int>(w < 0 ? w + 7 : w);
    }
    long long begin_;
    int firstWeekday_;
    std::array<bool, kSpanDays> national_{};
};

void applyRule(const HolidayRule& rule, int column, int row, MonthLayout& layout, DayCellLists& lists)
{
    DayCell& cell = layout.cell(column, row);
    if (rule.kind == 0 && cell.kind == 0 && !lists.at(column, row).empty())
        lists.removeFirst(column, row);
    if (cell.kind >= rule.kind)
        cell.kind = rule.kind;
    std::string line(1, static_cast<char>('0' + rule.kind));
    const int from = rule.kind == 2 && rule.fromYear != "    " ? text::toIntOr(rule.fromYear, -1) : -1;
    line += from >= 0 ? AnniversaryText(rule.name, layout.dateOf(column, row).year - from) : rule.name;
    lists.add(column, row, CellLine{std::move(line)});
}

void markComputedHoliday(int offset, const std::string& line, MonthLayout& layout, DayCellLists& lists)
{
    if (!HolidaySpan::inGrid(offset))
        return;
    const int column = HolidaySpan::column(offset), row = HolidaySpan::row(offset);
    layout.cell(column, row).kind = 0;
    lists.add(column, row, CellLine{line});
}

// The rules in file order, each on its days of the span; the national holidays are noted.
void applyRules(const IndexedHolidayRules& table, HolidaySpan& span, MonthLayout& layout, DayCellLists& lists)
{
    const Date from = span.firstDate(), to = span.lastDate();
    std::vector<const HolidayRule*> rules;
    table.rulesOfYears(from.year, to.year, rules);
    std::vector<long long> days;
    for (const HolidayRule* rule : rules) {
        days.clear();
        AppendRuleDays(*rule, from, to, days);
        for (long long day : days) {
            const int offset = span.offsetOf(day);
            if (rule->kind == 0)
                span.markNational(offset);
            if (HolidaySpan::inGrid(offset))
                applyRule(*rule, HolidaySpan::column(offset), HolidaySpan::row(offset), layout, lists);
        }
    }
}

// The days a Sunday holiday of the span moves to; marks those in the grid.
std::array<bool, kSpanDays> applySubstitutes(const HolidaySpan& span, MonthLayout& layout, DayCellLists& lists)
{
    static const std::string line = KAL_SJIS("0振替休日");
    const long long firstDay = toDayNumber(kFirstSubstituteDay), ruleChange = toDayNumber(kSubstituteRuleChange);
    std::array<bool, kSpanDays> substituted{};
    for (int sunday = (7 - span.weekday(0)) % 7; sunday < kDaysBeforeGrid + kGridDays; sunday += 7) {
        if (!span.national(sunday) || span.dayNumber(sunday) < firstDay)
            continue;
        int monday = sunday + 1;
        if (span.dayNumber(sunday) < ruleChange) {
            if (span.national(monday))
                continue;
        } else {
            while (span.national(monday))
                ++monday;
        }
        if (monday < kSpanDays)
            substituted[static_cast<std::size_t>(monday)] = true;
        markComputedHoliday(monday, line, layout, lists);
    }
    return substituted;
}

// A day between two national holidays is one itself.
void applyCitizensHolidays(const HolidaySpan& span, const std::array<bool, kSpanDays>& substituted, MonthLayout& layout,
                           DayCellLists& lists)
{
    static const std::string line = KAL_SJIS("0国民の休日");
    const long long firstDay = toDayNumber(kFirstCitizensHoliday), ruleChange = toDayNumber(kSubstituteRuleChange);
    for (int day = kDaysBeforeGrid; day < kDaysBeforeGrid + kGridDays; ++day) {
        if (span.dayNumber(day) < firstDay || span.national(day) || substituted[static_cast<std::size_t>(day)])
            continue;
        if (span.dayNumber(day) < ruleChange && span.weekday(day) == 0)
            continue;
        if (span.national(day - 1) && span.national(day + 1))
            markComputedHoliday(day, line, layout, lists);
    }
}

bool appliesInAnyYear(const HolidayRule& rule, int fromYear, int toYear)
{
    for (int year = fromYear; year <= toYear; ++year)
        if (RuleAppliesInYear(rule, year))
            return true;
    return false;
}

int weekdayOfDate(int year, int month, int day)
{
    return dayOfWeek(Date{year, month, day});
}

// The day of a month the rule falls on, 0 for none; the month and years are checked by the caller.
int ruleDayInMonth(const HolidayRule& rule, int year, int month)
{
    const int length = DaysInMonth(year, month);
    if (rule.dayValue != 0)
        return rule.dayValue <= length ? rule.dayValue : 0;
    if (rule.weekNo >= 1 && rule.weekNo <= 4)
        return 1 + (rule.weekday - weekdayOfDate(year, month, 1) + 7) % 7 + 7 * (rule.weekNo - 1);
    if (rule.weekNo == 5)
        return length - (weekdayOfDate(year, month, length) - rule.weekday + 7) % 7;
    return 0;
}

void appendWeeklyDays(const HolidayRule& rule, long long first, long long last, std::vector<long long>& days)
{
    if (rule.dayValue != 0)
        return;
    const int firstWeekday = dayOfWeek(fromDayNumber(first));
    for (long long day = first + (rule.weekday - firstWeekday + 7) % 7; day <= last; day += 7)
        if (RuleAppliesInYear(rule, fromDayNumber(day).year))
            days.push_back(day);
}

} // namespace

std::optional<HolidayRule> ParseHolidayRule(const std::string& line)
{
    const auto& columns = store::kHolidayColumns;
    if (line.size() < columns.fixedBytes())
        return std::nullopt;
    HolidayRule rule;
    rule.month = columns.get(line, store::HolidayField::Month);
    rule.day = columns.get(line, store::HolidayField::Day);
    rule.fromYear = columns.get(line, store::HolidayField::FromYear);
    rule.toYear = columns.get(line, store::HolidayField::ToYear);
    if (!isBlank2(rule.month) && rule.month != "99" && !twoDigitField(rule.month, 1, 12))
        return std::nullopt;
    if (!isBlank2(rule.day) && !twoDigitField(rule.day, 1, 31))
        return std::nullopt;
    const char weekNo = columns.byte(line, store::HolidayField::WeekNo),
               weekday = columns.byte(line, store::HolidayField::Weekday),
               kind = columns.byte(line, store::HolidayField::Kind);
    if (weekNo < '0' || weekNo > '9' || weekday < '0' || weekday > '6' || kind < '0' || kind > '2')
        return std::nullopt;
    rule.weekNo = weekNo == '9' ? 5 : weekNo - '0';
    rule.weekday = weekday - '0';
    rule.kind = kind - '0';
    rule.name = store::HolidayName(line);
    rule.monthValue = isBlank2(rule.month) ? 0 : text::toIntOr(rule.month, 0);
    rule.dayValue = isBlank2(rule.day) ? 0 : text::toIntOr(rule.day, 0);
    auto fourDigits = [](const std::string& s) {
        return s.size() == 4 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    bool fromPlain = rule.fromYear == "    " || fourDigits(rule.fromYear);
    bool toPlain = rule.toYear == "    " || fourDigits(rule.toYear);
    rule.numericYears = fromPlain && toPlain;
    rule.fromValue = rule.fromYear == "    " ? -1 : text::toIntOr(rule.fromYear, 0);
    rule.toValue = rule.toYear == "    " ? 9999 : text::toIntOr(rule.toYear, 0);
    return rule;
}

std::string ComposeHolidayRule(const HolidayRule& rule)
{
    const auto& columns = store::kHolidayColumns;
    return columns.fit(store::HolidayField::Month, rule.month) + columns.fit(store::HolidayField::Day, rule.day) +
           columns.fit(store::HolidayField::FromYear, rule.fromYear) +
           columns.fit(store::HolidayField::ToYear, rule.toYear) + static_cast<char>('0' + rule.weekNo) +
           static_cast<char>('0' + rule.weekday) + static_cast<char>('0' + rule.kind) +
           text::cutBytes(rule.name, store::kHolidayNameBytes);
}

bool RuleAppliesInYear(const HolidayRule& rule, int year)
{
    // Four-digit years compare as text the way they compare as numbers.
    if (rule.numericYears && year >= 1000 && year <= 9999)
        return year >= rule.fromValue && year <= rule.toValue;
    char buffer[12];
    int n = std::snprintf(buffer, sizeof buffer, "%d", year);
    std::string_view y(buffer, static_cast<std::size_t>(n));
    std::string_view to = rule.toYear == "    " ? std::string_view("9999") : std::string_view(rule.toYear);
    return text::compareBytes(y, rule.fromYear) >= 0 && text::compareBytes(y, to) <= 0;
}

bool RuleMatches(const HolidayRule& rule, const Date& date)
{
    if (!RuleAppliesInYear(rule, date.year))
        return false;
    const bool everyWeek = isBlank2(rule.month);
    const bool everyMonth = rule.month == "99";
    const bool dateRule = !isBlank2(rule.day);
    if (everyWeek)
        return !dateRule && dayOfWeek(date) == rule.weekday;
    if (!everyMonth && rule.monthValue != date.month)
        return false;
    if (dateRule)
        return rule.dayValue == date.day;
    return weekdayRuleMatches(rule, date);
}

std::string AnniversaryText(const std::string& nameTemplate, int years)
{
    std::string out;
    std::size_t i = 0;
    const std::size_t n = nameTemplate.size();
    while (i < n) {
        std::size_t len = sjis::charLength(nameTemplate, i);
        if (len == 1 && nameTemplate[i] == '%') {
            if (i + 1 < n && nameTemplate[i + 1] == '%') {
                out += '%';
                i += 2;
                continue;
            }
            std::size_t j = i + 1;
            bool zeroPad = j < n && nameTemplate[j] == '0';
            if (zeroPad)
                ++j;
            std::size_t widthBegin = j;
            while (j < n && j - widthBegin < 3 && nameTemplate[j] >= '0' && nameTemplate[j] <= '9')
                ++j;
            if (j < n && nameTemplate[j] == 'd') {
                int width = j > widthBegin ? text::toIntOr(nameTemplate.substr(widthBegin, j - widthBegin), 0) : 0;
                std::string digits = std::to_string(years < 0 ? -years : years);
                std::string sign = years < 0 ? "-" : "";
                int padding = width - static_cast<int>(digits.size() + sign.size());
                if (padding > 0)
                    out += zeroPad ? sign + std::string(static_cast<std::size_t>(padding), '0') + digits
                                   : std::string(static_cast<std::size_t>(padding), ' ') + sign + digits;
                else
                    out += sign + digits;
                i = j + 1;
                continue;
            }
        }
        out.append(nameTemplate, i, len);
        i += len;
    }
    return out;
}

void AppendRuleDays(const HolidayRule& rule, const Date& from, const Date& to, std::vector<long long>& days)
{
    if (!appliesInAnyYear(rule, from.year, to.year))
        return;
    const long long first = toDayNumber(from), last = toDayNumber(to);
    if (rule.monthValue == 0)
        return appendWeeklyDays(rule, first, last, days);
    for (int year = from.year, month = from.month; year < to.year || (year == to.year && month <= to.month);
         nextMonth(year, month)) {
        if ((rule.monthValue != 99 && rule.monthValue != month) || !RuleAppliesInYear(rule, year))
            continue;
        const int day = ruleDayInMonth(rule, year, month);
        if (day == 0)
            continue;
        const long long number = toDayNumber(Date{year, month, day});
        if (number >= first && number <= last)
            days.push_back(number);
    }
}

IndexedHolidayRules::IndexedHolidayRules(std::vector<HolidayRule> rules) : rules_(std::move(rules))
{
    for (std::size_t i = 0; i < rules_.size(); ++i) {
        const HolidayRule& rule = rules_[i];
        // Only plain four-digit years hold for exactly their own year.
        if (rule.numericYears && rule.fromValue == rule.toValue && rule.fromValue >= 1000)
            singleYear_.emplace_back(rule.fromValue, i);
        else
            otherYears_.push_back(i);
    }
    std::sort(singleYear_.begin(), singleYear_.end());
}

void IndexedHolidayRules::rulesOfYears(int fromYear, int toYear, std::vector<const HolidayRule*>& chosen) const
{
    std::vector<std::size_t> indexes = otherYears_;
    auto year = std::lower_bound(singleYear_.begin(), singleYear_.end(), std::make_pair(fromYear, std::size_t{0}));
    for (; year != singleYear_.end() && year->first <= toYear; ++year)
        indexes.push_back(year->second);
    std::sort(indexes.begin(), indexes.end());
    chosen.clear();
    for (std::size_t index : indexes)
        chosen.push_back(&rules_[index]);
}

void ApplyHolidays(const std::vector<HolidayRule>& rules, MonthLayout& layout, DayCellLists& lists)
{
    ApplyHolidays(IndexedHolidayRules(rules), layout, lists);
}

void ApplyHolidays(const IndexedHolidayRules& rules, MonthLayout& layout, DayCellLists& lists)
{
    if (rules.rules().empty())
        return;
    HolidaySpan span(layout);
    applyRules(rules, span, layout, lists);
    const std::array<bool, kSpanDays> substituted = applySubstitutes(span, layout, lists);
    applyCitizensHolidays(span, substituted, layout, lists);
}

std::vector<HolidayRule> LoadHolidayRules(const std::string& path)
{
    const std::vector<std::string> lines = files::loadLines(path);
    std::vector<HolidayRule> rules;
    // Kept for the program's life: no room beyond the table's lines.
    rules.reserve(lines.size());
    for (const std::string& line : lines)
        if (auto rule = ParseHolidayRule(line))
            rules.push_back(std::move(*rule));
    return rules;
}

std::shared_ptr<const IndexedHolidayRules> SharedHolidayRules(const std::string& path)
{
    struct Entry {
        files::FileStamp stamp;
        std::shared_ptr<const IndexedHolidayRules> rules;
    };
    static std::mutex mutex;
    static std::map<std::string, Entry> cache;

    // The stamp is taken before the read: a change during the read shows at the next call.
    const files::FileStamp stamp = files::fileStamp(path);
    {
        std::lock_guard lock(mutex);
        auto found = cache.find(path);
        if (found != cache.end() && found->second.stamp == stamp)
            return found->second.rules;
    }
    auto rules = std::make_shared<const IndexedHolidayRules>(LoadHolidayRules(path));
    std::lock_guard lock(mutex);
    if (files::stampSettled(stamp))
        cache[path] = Entry{stamp, rules};
    else
        cache.erase(path);
    return rules;
}

files::IoResult WriteDefaultHolidayFile(const std::string& dataPath, const std::string& bytes, files::FileOps& ops)
{
    const std::string target = files::withSeparator(dataPath) + kHolidayFileName;
    if (!files::folderExists(dataPath))
        return {};
    files::FolderLock lock = files::lockFolder(dataPath);
    if (!lock)
        return files::IoResult::failure(lock.reason());
    if (files::fileExists(target))
        return {};
    return files::saveBytes(target, bytes, ops);
}

} // namespace kal
