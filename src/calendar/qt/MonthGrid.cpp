#include "calendar/qt/MonthGrid.h"

#include "calendar/GridLayout.h"
#include "calendar/MonthBuild.h"

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

const ViewCaptions& MonthGrid::captions() const
{
    static constexpr ViewCaptions kCaptions{"今月(&C)", "次月(&N)", "前月(&B)", "今月", "次月", "前月"};
    return kCaptions;
}

CellPos MonthGrid::selectionAfterBuild(const MonthLayout& layout, const Date& selected, const CellPos& previous) const
{
    return SelectionAfterBuild(layout, selected.day, previous);
}

std::optional<ViewMove> MonthGrid::step(const MonthLayout&, const CalendarCursor& cursor, bool forward) const
{
    return MonthStep(cursor.viewYear, cursor.viewMonth, cursor.selectedDate, forward);
}

void MonthGrid::paintCell(const CalendarPainter& painter, QPainter& p, int column, int row, const QRect& rect,
                          bool selected) const
{
    painter.paint(p, column, row, rect, selected);
}

} // namespace kal::qt
