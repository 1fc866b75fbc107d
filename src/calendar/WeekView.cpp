#include "calendar/WeekView.h"

#include "calendar/GridLayout.h"
#include "calendar/MonthBuild.h"

#include <algorithm>

namespace kal {
namespace {

Date firstDayOfWeek(const Date& day, WeekStart weekStart)
{
    return addDays(day, -ColumnOfWeekday(dayOfWeek(day), weekStart));
}

} // namespace

std::optional<ViewMove> NextWeek(const MonthLayout& layout, const Date& selected)
{
    const Date target = addDays(selected, 7);
    const Date first = firstDayOfWeek(target, layout.weekStart);
    if (first.year == layout.year && first.month == layout.month)
        return ViewMove{layout.year, layout.month, target};
    if (!CanAdvanceMonth(layout.year))
        return std::nullopt;
    return ViewMove{layout.nextYear, layout.nextMonth, target};
}

std::optional<ViewMove> PreviousWeek(const MonthLayout& layout, const Date& selected)
{
    const Date target = addDays(selected, -7);
    if (firstDayOfWeek(target, layout.weekStart) >= layout.firstCellDate())
        return ViewMove{layout.year, layout.month, target};
    if (!CanGoBackMonth(layout.year))
        return std::nullopt;
    return ViewMove{layout.prevYear, layout.prevMonth, target};
}

CellPos WeekSelectionAfterBuild(const MonthLayout& layout, const Date& selected, const CellPos& previous)
{
    CellPos pos;
    if (layout.find(selected, pos))
        return pos;
    return SelectionAfterBuild(layout, selected.day, previous);
}

std::vector<int> WeekRowHeights(int gridHeight, int lineWidth, int saturdayRow, int sundayRow)
{
    std::vector<int> heights(7, std::max(0, gridHeight / 7));
    const int overflow = GridExtent(heights, lineWidth) - gridHeight;
    const int rounds = overflow > 0 ? (overflow + 1) / 2 : 0;
    auto shrink = [&heights](int row, int pixels) {
        if (row < 0 || row > 6)
            return;
        int& height = heights[static_cast<std::size_t>(row)];
        height = std::max(0, height - pixels);
    };
    shrink(saturdayRow, rounds);
    shrink(sundayRow, rounds + 1);
    return heights;
}

std::vector<int> WeekColumnWidths(int gridWidth, int lineWidth, bool memoColumn)
{
    const int rest = std::max(0, gridWidth - kWeekDateColumnWidth - 3 * lineWidth);
    if (memoColumn)
        return {kWeekDateColumnWidth, rest / 2, rest - rest / 2};
    return {kWeekDateColumnWidth, std::max(0, rest - 5), 0};
}

std::size_t MemoLinesShown(std::size_t lineCount, int rowHeight, int lineHeight)
{
    if (rowHeight < 0)
        return 0;
    if (lineHeight <= 0)
        return lineCount;
    return std::min(lineCount, static_cast<std::size_t>(rowHeight / lineHeight) + 1);
}

} // namespace kal
