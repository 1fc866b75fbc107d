#include "calendar/qt/WeekGrid.h"

#include "calendar/WeekView.h"
#include "settings/AppSettings.h"

#include <utility>

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

const ViewCaptions& WeekGrid::captions() const
{
    static constexpr ViewCaptions kCaptions{"今週(&C)", "次週(&N)", "前週(&B)", "今週", "次週", "前週"};
    return kCaptions;
}

bool WeekGrid::showsMemoTexts(const AppSettings& settings) const
{
    return settings.weekView.on(WeekViewFlag::MemoText);
}

void WeekGrid::applyLook(const AppSettings& settings)
{
    setMemoColumn(showsMemoTexts(settings));
    setLineWidth(1);
    update();
}

CellPos WeekGrid::selectionAfterBuild(const MonthLayout& layout, const Date& selected, const CellPos& previous) const
{
    return WeekSelectionAfterBuild(layout, selected, previous);
}

std::optional<ViewMove> WeekGrid::step(const MonthLayout& layout, const CalendarCursor& cursor, bool forward) const
{
    return forward ? NextWeek(layout, cursor.selectedDate) : PreviousWeek(layout, cursor.selectedDate);
}

void WeekGrid::showSelection(const MonthLayout& layout, const CellPos& selected, bool entering)
{
    // A view switched to starts on the day's lines.
    if (entering)
        setSelection(kLinesColumn, selected.column);
    if (std::exchange(weekRow_, selected.row) != selected.row)
        contentsChanged();
    setWeekendRows(layout.saturdayColumn(), layout.sundayColumn());
    setSelection(selectedColumn(), selected.column);
    update();
}

void WeekGrid::paintCell(const CalendarPainter& painter, QPainter& p, int column, int row, const QRect& rect,
                         bool selected) const
{
    painter.paintWeek(p, weekRow_, column, row, rect, selected);
}

} // namespace kal::qt
