#include "calendar/qt/WeekGrid.h"

#include "calendar/WeekView.h"

namespace kal::qt {

WeekGrid::WeekGrid(QWidget* parent) : CellGrid(kLinesColumn, 0, parent)
{
    setObjectName("GridWeek");
    setMinimumSize(kWeekDateColumnWidth + 20, 50);
    relayout();
}

void WeekGrid::setWeekendRows(int saturdayRow, int sundayRow)
{
    if (saturdayRow == saturdayRow_ && sundayRow == sundayRow_)
        return;
    saturdayRow_ = saturdayRow;
    sundayRow_ = sundayRow;
    relayout();
}

void WeekGrid::setMemoColumn(bool shown)
{
    if (shown == memoColumn_)
        return;
    memoColumn_ = shown;
    relayout();
    if (!shown)
        setSelection(kLinesColumn, selectedRow());
}

void WeekGrid::relayout()
{
    setSizes(WeekColumnWidths(width(), lineWidth(), memoColumn_),
             WeekRowHeights(height(), lineWidth(), saturdayRow_, sundayRow_));
}

} // namespace kal::qt
