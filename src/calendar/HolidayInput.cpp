#include "calendar/HolidayInput.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "store/HolidayFile.h"

#include <algorithm>
#include <array>
#include <functional>

namespace kal {
namespace {

// The largest day of each CmbMonth choice: every month has a 28th, February never a 29th.
constexpr std::array<int, 13> kLargestDay = {28, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool isYearText(const std::string& year)
{
    return year.empty() ||
           (year.size() == 4 && std::all_of(year.begin(), year.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

// A line end or tab in the name would split or shift the record.
bool hasControlCharacter(const std::string& name)
{
    return std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

std::string monthField(int choice)
{
    return choice == 0 ? "99" : text::formatInt(choice, 2);
}

char digit(int value)
{
    return static_cast<char>('0' + std::clamp(value, 0, 9));
}

int digitOf(char c, int low, int high)
{
    const int value = c - '0';
    return value >= low && value <= high ? value : -1;
}

// CmbMonth / CmbWMonth of a stored month field: "99" every month, else the month number.
int monthChoice(const std::string& field)
{
    if (field == "99")
        return 0;
    const int month = text::toIntOr(field, -1);
    return month >= 1 && month <= 12 ? month : -1;
}

} // namespace

std::optional<HolidayInputError> CheckHolidayChoices(const HolidayChoices& c)
{
    if (!c.weekdayRule && (c.month < 0 || c.day < 0))
        return HolidayInputError{"日付を入力して下さい。", HolidayField::None};
    if (c.weekdayRule && (c.weekNo < 0 || c.weekday < 0))
        return HolidayInputError{"曜日指定欄に誤りがあります。", HolidayField::None};
    if (c.weekdayRule && c.weekNo != 0 && c.weekMonth < 0)
        return HolidayInputError{"月を入力して下さい。", HolidayField::WeekMonth};
    if (!c.weekdayRule && c.month <= 12 && c.day + 1 > kLargestDay[static_cast<std::size_t>(c.month)])
        return HolidayInputError{"ありえない日付が入力されています。", HolidayField::Day};
    if (!isYearText(c.fromYear))
        return HolidayInputError{"適用年は西暦４桁の数字で入力して下さい。", HolidayField::FromYear};
    if (!isYearText(c.toYear))
        return HolidayInputError{"適用年は西暦４桁の数字で入力して下さい。", HolidayField::ToYear};
    if (!c.fromYear.empty() && !c.toYear.empty() && text::compareBytes(c.fromYear, c.toYear) > 0)
        return HolidayInputError{"適用年月に誤りがあります。", HolidayField::FromYear};
    if (c.kind < 0)
        return HolidayInputError{"分類は必須項目です。", HolidayField::Kind};
    if (hasControlCharacter(c.name))
        return HolidayInputError{"名称に改行やタブなどの制御文字は使えません。", HolidayField::Name};
    return std::nullopt;
}

std::string ComposeHolidayLine(const HolidayChoices& c)
{
    const auto& columns = store::kHolidayColumns;
    std::string line;
    if (c.weekdayRule) {
        line = c.weekNo == 0 ? "  " : monthField(c.weekMonth);
        line += "  ";
    } else {
        line = monthField(c.month) + text::formatInt(c.day + 1, 2);
    }
    line += columns.fit(store::HolidayField::FromYear, c.fromYear) + columns.fit(store::HolidayField::ToYear, c.toYear);
    if (c.weekdayRule) {
        line += digit(c.weekNo);
        line += digit(c.weekday);
    } else {
        line += "00";
    }
    line += digit(c.kind);
    // The name is stored as typed; it is never a format.
    return line + c.name;
}

HolidayChoices HolidayChoicesFor(const Date& selected)
{
    HolidayChoices c;
    c.month = selected.month;
    c.day = selected.day - 1;
    c.weekday = dayOfWeek(selected);
    c.weekNo = 0;
    c.weekMonth = selected.month;
    return c;
}

HolidayChoices HolidayChoicesOf(const std::string& line)
{
    const auto& columns = store::kHolidayColumns;
    HolidayChoices c;
    const std::string month = columns.get(line, store::HolidayField::Month);
    const std::string day = columns.get(line, store::HolidayField::Day);
    c.fromYear = text::trimRight(columns.get(line, store::HolidayField::FromYear));
    c.toYear = text::trimRight(columns.get(line, store::HolidayField::ToYear));
    if (!text::isBlank(day)) {
        c.month = monthChoice(month);
        const int dayValue = text::toIntOr(day, 0);
        c.day = dayValue >= 1 && dayValue <= 31 ? dayValue - 1 : -1;
    } else {
        c.weekdayRule = true;
        const char weekNo = columns.byte(line, store::HolidayField::WeekNo);
        c.weekNo = text::isBlank(month) ? 0 : weekNo == '9' ? 5 : digitOf(weekNo, 0, 5);
        c.weekMonth = monthChoice(month);
        c.weekday = digitOf(columns.byte(line, store::HolidayField::Weekday), 0, 6);
    }
    c.kind = digitOf(columns.byte(line, store::HolidayField::Kind), 0, 2);
    c.name = store::HolidayName(line);
    return c;
}

// The holiday table follows no record's identity.
store::EditResult SaveHolidayLine(const std::string& path, const std::optional<store::LineRef>& replaced,
                                  const std::string& line, files::FileOps& ops)
{
    std::vector<store::LineRef> unchanged;
    if (replaced)
        unchanged.push_back(*replaced);
    return store::edit(
        {{path}, store::Follower::none(), unchanged},
        [&](store::EditFiles& table) {
            if (replaced)
                table.remove(*replaced);
            table.add(path, line);
            return store::EditResult{};
        },
        ops);
}

store::EditResult DeleteHolidayLines(const std::string& path, const std::vector<store::LineRef>& refs,
                                     files::FileOps& ops)
{
    return store::edit(
        {{path}, store::Follower::none(), refs},
        [&](store::EditFiles& table) {
            for (const store::LineRef& ref : refs)
                table.remove(ref);
            return store::EditResult{};
        },
        ops);
}

} // namespace kal
