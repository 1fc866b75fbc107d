#include "calendar/qt/MonthGrid.h"

#include "calendar/GridLayout.h"

namespace kal::qt {

MonthGrid::MonthGrid(QWidget* parent) : CellGrid(0, 1, parent)
{
    setObjectName("GridMonth");
    setMinimumSize(70, 50);
    relayout();
}

void MonthGrid::setRowCount(int rowCount)
{
    if (rowCount == rows_)
        return;
    rows_ = rowCount;
    relayout();
}

void MonthGrid::setHeaderHeight(int height)
{
    headerHeight_ = height;
    relayout();
}

void MonthGrid::relayout()
{
    setSizes(ColumnWidths(width(), 7, lineWidth()), MonthRowHeights(height(), headerHeight_, rows_, lineWidth()));
}

} // namespace kal::qt
