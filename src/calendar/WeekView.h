// The week view's arithmetic: the week before and after the shown one, the selection after a
// build, the week grid's row heights and column widths, and how much of a memo its memo column
// takes. The shown week is one row of the displayed month's layout; in the week view it is
// always the row of the selected cell.
#pragma once

#include "calendar/CalendarMath.h"
#include "calendar/CalendarViews.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace kal {

// Every day moves by seven days. Next: the displayed month stays while the new week begins in
// it, a week beginning in the next month is shown in that month's layout. Previous: the month
// stays while its layout holds the new week. Nothing when the month may not change.
std::optional<ViewMove> NextWeek(const MonthLayout& layout, const Date& selected);
std::optional<ViewMove> PreviousWeek(const MonthLayout& layout, const Date& selected);

// After a build in the week view the selected day keeps its own cell where the layout shows it,
// so a rebuild leaves a neighbouring month's day in its week; otherwise the month view's rule.
CellPos WeekSelectionAfterBuild(const MonthLayout& layout, const Date& selected, const CellPos& previous);

inline constexpr int kWeekDateColumnWidth = 48;

// Each of the 7 rows gets a seventh of the height; while they overflow, the Saturday and the
// Sunday row lose a pixel each; the Sunday row loses one more. Computed, so any height ends.
std::vector<int> WeekRowHeights(int gridHeight, int lineWidth, int saturdayRow, int sundayRow);

// Date column, lines column, memo column: with the memo column the two share what the date
// column leaves; without it the lines column takes it less 5 pixels and the memo column none.
std::vector<int> WeekColumnWidths(int gridWidth, int lineWidth, bool memoColumn);

// Lines are joined while the lines joined so far fit the row; the last one may be cut.
std::size_t MemoLinesShown(std::size_t lineCount, int rowHeight, int lineHeight);

} // namespace kal
