#include "calendar/qt/CalendarView.h"

#include "calendar/qt/CellGrid.h"

namespace kal::qt {

std::optional<CellPos> CalendarView::dayAt(const QPoint& point)
{
    int column = 0, row = 0;
    if (!grid()->cellForClick(point, column, row))
        return std::nullopt;
    return layoutCell(column, row);
}

} // namespace kal::qt
