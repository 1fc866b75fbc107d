#include "calendar/SpokenDay.h"

#include "calendar/Almanac.h"
#include "platform/SjisCodec.h"

#include <algorithm>

namespace kal {
namespace {

std::string number(int value)
{
    return std::to_string(value);
}

// The almanac in the order it is said: the old-calendar date first, as a date, then the rest as
// the cell shows it.
std::vector<std::string> spokenAlmanac(const Date& date, AlmanacFlags flags)
{
    std::vector<std::string> items;
    if (flags.oldDate)
        if (const OldDate old = OldDateOf(date); old.month != 0)
            items.push_back(KAL_SJIS("旧暦") + (old.leap ? KAL_SJIS("閏") : std::string()) + number(old.month) +
                            KAL_SJIS("月") + number(old.day) + KAL_SJIS("日"));
    flags.oldDate = false;
    for (std::string& item : AlmanacItems(date, flags))
        items.push_back(std::move(item));
    return items;
}

std::string spokenBand(const CellBand& band)
{
    if (band.kind == BandKind::Schedule) {
        const std::string times = SpokenTimes(band.startTime, band.endTime);
        return times.empty() ? band.text : times + " " + band.text;
    }
    if (band.kind == BandKind::Todo)
        return "ToDo " + band.text;
    return band.text;
}

} // namespace

std::string SpokenDate(const MonthLayout& layout, int column, int row)
{
    const Date date = layout.dateOf(column, row);
    return number(date.month) + KAL_SJIS("月") + number(date.day) + KAL_SJIS("日 ") +
           LongJapaneseWeekdayNames(layout.weekStart)[static_cast<std::size_t>(column)];
}

std::string SpokenTimes(const std::string& start, const std::string& end)
{
    if (!start.empty() && !end.empty())
        return start + KAL_SJIS("から") + end;
    if (!start.empty())
        return start + KAL_SJIS("から");
    if (!end.empty())
        return end + KAL_SJIS("まで");
    return {};
}

std::string SpokenDay(const MonthLayout& layout, const DayCellLists& lists, const CategoryTable& categories,
                      const CalendarLook& look, const Date& today, int column, int row, SpokenView view)
{
    const DayCell& cell = layout.cell(column, row);
    std::vector<std::string> items{SpokenDate(layout, column, row)};
    if (cell.relation == MonthRelation::Current && layout.dateOf(column, row) == today)
        items.push_back(KAL_SJIS("今日"));
    if (cell.relation != MonthRelation::Current) {
        items.push_back(cell.relation == MonthRelation::Previous ? KAL_SJIS("前の月") : KAL_SJIS("次の月"));
        if (view == SpokenView::Month && !look.otherMonth)
            return items.front() + KAL_SJIS("、") + items.back();
    }
    LineOptions options = view == SpokenView::Month ? MonthLineOptions(look) : WeekLineOptions(look);
    options.startTime = options.endTime = false; // said apart, with the words for them
    const std::vector<CellBand> bands = CellBands(lists.at(column, row), categories, look, options, 0);
    auto holidaysEnd =
        std::find_if(bands.begin(), bands.end(), [](const CellBand& band) { return band.kind != BandKind::Holiday; });
    for (auto band = bands.begin(); band != holidaysEnd; ++band)
        items.push_back(band->text);
    if (cell.showRokuyo)
        items.push_back(RokuyoName(cell.rokuyo));
    for (std::string& item : spokenAlmanac(layout.dateOf(column, row), look.almanac))
        items.push_back(std::move(item));
    for (auto band = holidaysEnd; band != bands.end(); ++band)
        items.push_back(spokenBand(*band));
    if (view == SpokenView::Month) {
        if (cell.mark == 1 || cell.mark == 3)
            items.push_back(KAL_SJIS("メモあり"));
        const auto& lines = lists.at(column, row);
        if (cell.mark == 2 || cell.mark == 3)
            items.push_back("ToDo " +
                            number(static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                                                  [](const CellLine& l) { return l.kind() == '8'; }))) +
                            KAL_SJIS("件"));
    }
    std::string spoken = items.front();
    for (std::size_t i = 1; i < items.size(); ++i)
        spoken += KAL_SJIS("、") + items[i];
    return spoken;
}

std::string SpokenMemo(const std::vector<std::string>& memoLines)
{
    std::string spoken = KAL_SJIS("メモ");
    bool any = false;
    for (const std::string& line : memoLines)
        if (!line.empty()) {
            spoken += (any ? " " : KAL_SJIS("、")) + line;
            any = true;
        }
    return any ? spoken : KAL_SJIS("メモなし");
}

} // namespace kal
