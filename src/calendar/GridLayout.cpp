#include "calendar/GridLayout.h"

namespace kal {

int GridExtent(const std::vector<int>& sizes, int lineWidth)
{
    int total = 0;
    for (int size : sizes)
        total += size + lineWidth;
    return total;
}

std::vector<int> MonthRowHeights(int gridHeight, int headerHeight, int rowCount, int lineWidth)
{
    std::vector<int> heights(static_cast<std::size_t>(rowCount), 0);
    if (rowCount < 2)
        return heights;
    heights[0] = headerHeight;
    if (gridHeight < 50) {
        for (int i = 1; i < rowCount; ++i)
            heights[static_cast<std::size_t>(i)] = 1;
        return heights;
    }
    const int share = (gridHeight - headerHeight) / (rowCount - 1) - lineWidth;
    for (int i = 1; i < rowCount; ++i)
        heights[static_cast<std::size_t>(i)] = share;
    int next = rowCount - 1;
    const auto last = static_cast<std::size_t>(rowCount - 1);
    while (GridExtent(heights, lineWidth) > gridHeight) {
        if (next >= 1) {
            --heights[static_cast<std::size_t>(next)];
            --next;
        } else {
            heights[last] -= lineWidth > 0 ? lineWidth : 1;
        }
        if (heights[last] <= 1)
            break;
    }
    heights[last] -= lineWidth;
    return heights;
}

std::vector<int> ColumnWidths(int gridWidth, int columnCount, int lineWidth)
{
    std::vector<int> widths(static_cast<std::size_t>(columnCount), columnCount > 0 ? gridWidth / columnCount : 0);
    if (columnCount == 0)
        return widths;
    int next = columnCount - 1;
    while (GridExtent(widths, lineWidth) > gridWidth && widths[0] > 1) {
        --widths[static_cast<std::size_t>(next)];
        next = next == 0 ? columnCount - 1 : next - 1;
    }
    widths.back() -= lineWidth;
    return widths;
}

HeaderButtons HeaderButtonPositions(int width, bool mini)
{
    HeaderButtons b;
    if (mini) {
        b.beforeMonth = 4;
        b.nowMonthWidth = width - 58;
        b.nowMonth = (width - b.nowMonthWidth) / 2;
        b.nextMonth = width - 29;
        return b;
    }
    b.nowMonthWidth = 65;
    b.nowMonth = width / 2 - 32;
    b.yearLabel = width / 2 - 66;
    b.eraLabel = width / 2 + 34;
    b.nextYear = width - 29;
    b.nextMonth = width - 56;
    b.beforeMonth = 30;
    b.beforeYear = 4;
    return b;
}

} // namespace kal
