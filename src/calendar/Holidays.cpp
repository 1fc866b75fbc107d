#include "calendar/Holidays.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/SjisCodec.h"

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
constexpr int kFirstCitizensHolidayYear = 1988;

// Which days of a span are national holidays by the table (kind-0 rules of any shape).
class NationalDays {
public:
    NationalDays(const std::vector<HolidayRule>& rules, const Date& from, const Date& to) : first_(toDayNumber(from))
    {
        for (const HolidayRule& rule : rules)
            if (rule.kind == 0)
                national_.push_back(&rule);
        long long count = toDayNumber(to) - first_ + 1;
        flags_.resize(static_cast<std::size_t>(count));
        for (long long i = 0; i < count; ++i) {
            Date date = fromDayNumber(first_ + i);
            for (const HolidayRule* rule : national_)
                if (RuleMatches(*rule, date)) {
                    flags_[static_cast<std::size_t>(i)] = true;
                    break;
                }
        }
    }

    bool is(const Date& date) const
    {
        long long i = toDayNumber(date) - first_;
        return i >= 0 && i < static_cast<long long>(flags_.size()) && flags_[static_cast<std::size_t>(i)];
    }

private:
    long long first_;
    std::vector<const HolidayRule*> national_;
    std::vector<bool> flags_;
};

void applyRule(const HolidayRule& rule, int column, int row, int year, MonthLayout& layout, DayCellLists& lists)
{
    DayCell& cell = layout.cell(column, row);
    if (rule.kind == 0 && cell.kind == 0 && !lists.at(column, row).empty())
        lists.removeFirst(column, row);
    if (cell.kind >= rule.kind)
        cell.kind = rule.kind;
    std::string name = rule.name;
    if (rule.kind == 2 && rule.fromYear != "    ") {
        int from = text::toIntOr(rule.fromYear, -1);
        if (from >= 0)
            name = AnniversaryText(rule.name, year - from);
    }
    lists.add(column, row, CellLine{std::string(1, static_cast<char>('0' + rule.kind)) + name});
}

void markComputedHoliday(const Date& date, const std::string& line, MonthLayout& layout, DayCellLists& lists)
{
    CellPos pos;
    if (!layout.find(date, pos))
        return;
    layout.cell(pos.column, pos.row).kind = 0;
    lists.add(pos.column, pos.row, CellLine{line});
}

std::vector<HolidayRule> rulesOfYears(const std::vector<HolidayRule>& rules, int fromYear, int toYear)
{
    std::vector<HolidayRule> chosen;
    for (const HolidayRule& rule : rules)
        for (int year = fromYear; year <= toYear; ++year)
            if (RuleAppliesInYear(rule, year)) {
                chosen.push_back(rule);
                break;
            }
    return chosen;
}

} // namespace

std::optional<HolidayRule> ParseHolidayRule(const std::string& line)
{
    if (line.size() < 15)
        return std::nullopt;
    HolidayRule rule;
    rule.month = line.substr(0, 2);
    rule.day = line.substr(2, 2);
    rule.fromYear = line.substr(4, 4);
    rule.toYear = line.substr(8, 4);
    if (!isBlank2(rule.month) && rule.month != "99" && !twoDigitField(rule.month, 1, 12))
        return std::nullopt;
    if (!isBlank2(rule.day) && !twoDigitField(rule.day, 1, 31))
        return std::nullopt;
    char weekNo = line[12], weekday = line[13], kind = line[14];
    if (weekNo < '0' || weekNo > '9' || weekday < '0' || weekday > '6' || kind < '0' || kind > '2')
        return std::nullopt;
    rule.weekNo = weekNo == '9' ? 5 : weekNo - '0';
    rule.weekday = weekday - '0';
    rule.kind = kind - '0';
    rule.name = text::cutBytes(text::fieldToEnd(line, 16), 40);
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
    return text::padCut(rule.month, 2) + text::padCut(rule.day, 2) + text::padCut(rule.fromYear, 4) +
           text::padCut(rule.toYear, 4) + static_cast<char>('0' + rule.weekNo) + static_cast<char>('0' + rule.weekday) +
           static_cast<char>('0' + rule.kind) + text::cutBytes(rule.name, 40);
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

void ApplyHolidays(const std::vector<HolidayRule>& allRules, MonthLayout& layout, DayCellLists& lists)
{
    if (allRules.empty())
        return;
    const Date first = layout.firstCellDate();
    const Date last = layout.lastCellDate();
    // A Sunday up to two weeks before the grid can still move its substitute into it.
    const Date spanBegin = addDays(first, -14);
    const Date spanEnd = addDays(last, 1);
    // Most lines of the table hold a single year; only those of the span's years are looked at.
    const std::vector<HolidayRule> rules = rulesOfYears(allRules, spanBegin.year, spanEnd.year);

    std::array<Date, 42> dates;
    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column)
            dates[static_cast<std::size_t>((row - 1) * 7 + column)] = layout.dateOf(column, row);
    for (const HolidayRule& rule : rules) {
        for (int row = 1; row <= 6; ++row)
            for (int column = 0; column < 7; ++column) {
                const Date& date = dates[static_cast<std::size_t>((row - 1) * 7 + column)];
                if (RuleMatches(rule, date))
                    applyRule(rule, column, row, date.year, layout, lists);
            }
    }

    NationalDays national(rules, spanBegin, spanEnd);

    const std::string substitute = KAL_SJIS("0振替休日");
    const std::string citizens = KAL_SJIS("0国民の休日");
    std::map<long long, bool> substituted;
    for (Date sunday = addDays(spanBegin, (7 - dayOfWeek(spanBegin)) % 7); sunday <= last;
         sunday = addDays(sunday, 7)) {
        if (!national.is(sunday) || sunday < kFirstSubstituteDay)
            continue;
        Date monday = addDays(sunday, 1);
        if (sunday < kSubstituteRuleChange) {
            if (national.is(monday))
                continue;
        } else {
            while (national.is(monday))
                monday = addDays(monday, 1);
        }
        substituted[toDayNumber(monday)] = true;
        markComputedHoliday(monday, substitute, layout, lists);
    }

    for (Date day = first; day <= last; day = addDays(day, 1)) {
        if (day.year < kFirstCitizensHolidayYear || national.is(day) || substituted.count(toDayNumber(day)))
            continue;
        if (day < kSubstituteRuleChange && dayOfWeek(day) == 0)
            continue;
        if (national.is(addDays(day, -1)) && national.is(addDays(day, 1)))
            markComputedHoliday(day, citizens, layout, lists);
    }
}

std::vector<HolidayRule> LoadHolidayRules(const std::string& path)
{
    std::vector<HolidayRule> rules;
    for (const std::string& line : files::loadLines(path))
        if (auto rule = ParseHolidayRule(line))
            rules.push_back(std::move(*rule));
    return rules;
}

std::shared_ptr<const std::vector<HolidayRule>> SharedHolidayRules(const std::string& path)
{
    struct Entry {
        files::FileStamp stamp;
        std::shared_ptr<const std::vector<HolidayRule>> rules;
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
    auto rules = std::make_shared<const std::vector<HolidayRule>>(LoadHolidayRules(path));
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
