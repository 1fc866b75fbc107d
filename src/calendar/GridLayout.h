// The month grid's layout arithmetic: row heights and column widths, and the header buttons
// above it.
#pragma once

#include <vector>

namespace kal {

// Month view and mini calendar: row 0 keeps `headerHeight`; the week rows share the rest, then
// shrink pixel by pixel, last row first, until every row is fully visible.
std::vector<int> MonthRowHeights(int gridHeight, int headerHeight, int rowCount, int lineWidth);

// Every column gets width / count, then columns 6, 5, ... lose a pixel each until all fit;
// finally the last column loses one line width.
std::vector<int> ColumnWidths(int gridWidth, int columnCount, int lineWidth);

// Total extent of cells plus their grid lines.
int GridExtent(const std::vector<int>& sizes, int lineWidth);

struct HeaderButtons {
    int beforeYear = 4, beforeMonth = 30, nowMonth = 0, nowMonthWidth = 65, nextMonth = 0, nextYear = 0;
    int yearLabel = 0, eraLabel = 0;
};
HeaderButtons HeaderButtonPositions(int headerWidth, bool mini);

} // namespace kal
