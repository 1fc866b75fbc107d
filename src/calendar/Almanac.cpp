#include "calendar/Almanac.h"

#include "calendar/CalendarMath.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace kal {
namespace {

struct LunarMonthStart {
    std::int16_t year;
    std::int8_t month, day;
    std::int8_t number, leap;
};

// Every lunar month from the one holding 1900-01-01 to the first after 2099-12-31.
constexpr LunarMonthStart kLunarMonths[] = {
#include "calendar/LunarMonthTable.inc"
};

// One string per year: the 2-digit days of the 24 solar terms (two a month), then of the
// seasonal longitudes in kSeasonalMonths.
const char* const kSolarDays[] = {
#include "calendar/SolarTermTable.inc"
};
static_assert(std::size(kSolarDays) == kLastYear - kFirstYear + 1);

constexpr int kTermCount = 24;
// 土用入り 297°, 土用入り 27°, 入梅 80°, 半夏生 100°, 土用入り 117°, 土用入り 207°.
constexpr int kSeasonalMonths[] = {1, 4, 6, 7, 7, 10};

enum Slot {
    Risshun = 2,
    Shunbun = 5,
    Rikka = 8,
    Risshu = 14,
    Shubun = 17,
    Ritto = 20,
    Doyo297 = 24,
    Doyo27,
    Nyubai,
    Hangesho,
    Doyo117,
    Doyo207
};

// A seasonal day: a number of days after the day of a slot of the year's line; or, with `until`,
// every ox day (丑の日) from the day of the slot to the day before that of `until`.
struct SeasonalRule {
    const char* name;
    int slot;
    int offset;
    int until = -1;
};

// In the order of the year, so that two on one day read in that order.
constexpr SeasonalRule kSeasonalRules[] = {
    {"土用入り", Doyo297, 0},       {"土用の丑", Doyo297, 0, Risshun}, {"節分", Risshun, -1},
    {"彼岸入り", Shunbun, -3},      {"彼岸明け", Shunbun, 3},          {"土用入り", Doyo27, 0},
    {"土用の丑", Doyo27, 0, Rikka}, {"八十八夜", Risshun, 87},         {"入梅", Nyubai, 0},
    {"半夏生", Hangesho, 0},        {"土用入り", Doyo117, 0},          {"土用の丑", Doyo117, 0, Risshu},
    {"二百十日", Risshun, 209},     {"二百二十日", Risshun, 219},      {"彼岸入り", Shubun, -3},
    {"彼岸明け", Shubun, 3},        {"土用入り", Doyo207, 0},          {"土用の丑", Doyo207, 0, Ritto},
};

// The days' twelve earthly branches from 子 (0); 1970-01-01 was a 巳 (5) day.
constexpr int kOx = 1;
int earthlyBranch(long long dayNumber)
{
    return static_cast<int>(((dayNumber + 5) % 12 + 12) % 12);
}

bool inTables(const Date& date)
{
    return date.year >= kFirstYear && date.year <= kLastYear && isValidDate(date.year, date.month, date.day);
}

Date monthStart(const LunarMonthStart& m)
{
    return Date{m.year, m.month, m.day};
}

Date slotDate(int year, int slot)
{
    const char* digits = kSolarDays[year - kFirstYear] + 2 * slot;
    const int month = slot < kTermCount ? slot / 2 + 1 : kSeasonalMonths[slot - kTermCount];
    return Date{year, month, (digits[0] - '0') * 10 + (digits[1] - '0')};
}

bool fallsOn(const SeasonalRule& rule, int year, long long day)
{
    const long long from = toDayNumber(slotDate(year, rule.slot)) + rule.offset;
    if (rule.until < 0)
        return day == from;
    return day >= from && day < toDayNumber(slotDate(year, rule.until)) && earthlyBranch(day) == kOx;
}

const std::string& seasonalName(std::size_t rule)
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const SeasonalRule& r : kSeasonalRules)
            out.push_back(sjis::fromUtf8Lossy(r.name));
        return out;
    }();
    return names[rule];
}

} // namespace

OldDate OldDateOf(const Date& date)
{
    if (!inTables(date))
        return {};
    const auto* after = std::upper_bound(std::begin(kLunarMonths), std::end(kLunarMonths), date,
                                         [](const Date& d, const LunarMonthStart& m) { return d < monthStart(m); });
    const LunarMonthStart& month = *std::prev(after);
    return OldDate{month.number, month.leap != 0, static_cast<int>(daysBetween(monthStart(month), date)) + 1};
}

std::string OldDateText(const OldDate& old)
{
    if (old.month == 0)
        return {};
    return (old.leap ? KAL_SJIS("閏") : std::string()) + std::to_string(old.month) + "/" + std::to_string(old.day);
}

int SolarTermOf(const Date& date)
{
    if (!inTables(date))
        return 0;
    for (int slot = 2 * (date.month - 1); slot < 2 * date.month; ++slot)
        if (slotDate(date.year, slot).day == date.day)
            return slot + 1;
    return 0;
}

const std::string& SolarTermName(int term)
{
    static const std::array<std::string, kTermCount + 1> names = [] {
        const char* utf8[] = {"",     "小寒", "大寒", "立春", "雨水", "啓蟄", "春分", "清明", "穀雨",
                              "立夏", "小満", "芒種", "夏至", "小暑", "大暑", "立秋", "処暑", "白露",
                              "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"};
        std::array<std::string, kTermCount + 1> out;
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = sjis::fromUtf8Lossy(utf8[i]);
        return out;
    }();
    return names[static_cast<std::size_t>(term >= 1 && term <= kTermCount ? term : 0)];
}

std::vector<std::string> SeasonalDayNames(const Date& date)
{
    if (!inTables(date))
        return {};
    const long long day = toDayNumber(date);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < std::size(kSeasonalRules); ++i)
        if (fallsOn(kSeasonalRules[i], date.year, day))
            names.push_back(seasonalName(i));
    return names;
}

std::string SeasonalDaysOf(const Date& date)
{
    std::string joined;
    for (const std::string& name : SeasonalDayNames(date))
        joined += (joined.empty() ? std::string() : KAL_SJIS("・")) + name;
    return joined;
}

std::vector<std::string> AlmanacItems(const Date& date, const AlmanacFlags& flags)
{
    std::vector<std::string> items;
    if (flags.solarTerm)
        if (const int term = SolarTermOf(date))
            items.push_back(SolarTermName(term));
    if (flags.seasonalDays)
        for (std::string& name : SeasonalDayNames(date))
            items.push_back(std::move(name));
    if (flags.oldDate)
        if (const OldDate old = OldDateOf(date); old.month != 0)
            items.push_back((old.leap ? std::string() : KAL_SJIS("旧")) + OldDateText(old));
    return items;
}

std::string FitAlmanac(const std::vector<std::string>& items, int width,
                       const std::function<int(const std::string&)>& textWidth)
{
    for (std::size_t count = items.size(); count > 0; --count) {
        std::string text = items[0];
        for (std::size_t i = 1; i < count; ++i)
            text += " " + items[i];
        if (textWidth(text) <= width)
            return text;
    }
    return {};
}

std::string LunarLine(const Date& date)
{
    std::string line = text::formatInt(date.year, 4, '0') + "/" + text::formatInt(date.month, 2, '0') + "/" +
                       text::formatInt(date.day, 2, '0');
    line += '\t' + sjis::toUtf8(OldDateText(OldDateOf(date)));
    line += '\t' + sjis::toUtf8(RokuyoName(RokuyoOf(date.year, date.month, date.day)));
    line += '\t' + sjis::toUtf8(SolarTermName(SolarTermOf(date)));
    line += '\t' + sjis::toUtf8(SeasonalDaysOf(date));
    return line;
}

} // namespace kal
