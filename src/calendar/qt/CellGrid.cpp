#include "calendar/qt/CellGrid.h"

#include "calendar/qt/GridAccessible.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace kal::qt {

CellGrid::CellGrid(int fixedColumns, int fixedRows, QWidget* parent)
    : QWidget(parent), fixedColumns_(fixedColumns), fixedRows_(fixedRows), column_(fixedColumns), row_(fixedRows)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    InstallGridAccessibility();
}

void CellGrid::setLineWidth(int width)
{
    lineWidth_ = width;
    relayout();
}

void CellGrid::setGridColor(const QColor& color)
{
    gridColor_ = color;
    update();
}

void CellGrid::setSizes(std::vector<int> columnWidths, std::vector<int> rowHeights)
{
    columnWidths_ = std::move(columnWidths);
    rowHeights_ = std::move(rowHeights);
    setSelection(column_, row_);
}

QRect CellGrid::cellRect(int column, int row) const
{
    int x = 0;
    for (int c = 0; c < column; ++c)
        x += columnWidths_[static_cast<std::size_t>(c)] + lineWidth_;
    int y = 0;
    for (int r = 0; r < row; ++r)
        y += rowHeights_[static_cast<std::size_t>(r)] + lineWidth_;
    return QRect(x, y, columnWidths_[static_cast<std::size_t>(column)], rowHeights_[static_cast<std::size_t>(row)]);
}

bool CellGrid::cellAt(const QPoint& point, int& column, int& row) const
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (cellRect(c, r).adjusted(0, 0, lineWidth_, lineWidth_).contains(point)) {
                column = c;
                row = r;
                return true;
            }
    return false;
}

bool CellGrid::selectable(int column, int row) const
{
    return column >= fixedColumns_ && column < columnCount() && row >= fixedRows_ && row < rowCount() &&
           columnWidths_[static_cast<std::size_t>(column)] > 0;
}

void CellGrid::setSelection(int column, int row)
{
    const int before[] = {column_, row_};
    column_ = std::clamp(column, fixedColumns_, std::max(fixedColumns_, columnCount() - 1));
    row_ = std::clamp(row, fixedRows_, std::max(fixedRows_, rowCount() - 1));
    update();
    if (before[0] != column_ || before[1] != row_)
        AnnounceSelection(*this);
}

void CellGrid::contentsChanged()
{
    AnnounceContents(*this);
}

void CellGrid::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    AnnounceFocus(*this);
}

void CellGrid::select(int column, int row)
{
    if (column == column_ && row == row_)
        return;
    setSelection(column, row);
    emit selectionChanged(column_, row_);
}

void CellGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), gridColor_);
    if (!painter_)
        return;
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            QRect cell = cellRect(c, r);
            if (cell.width() <= 0 || cell.height() <= 0)
                continue;
            painter.save();
            painter.setClipRect(cell);
            painter_(painter, c, r, cell, r == row_ && c == column_);
            painter.restore();
        }
}

void CellGrid::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

bool CellGrid::cellForClick(const QPoint& point, int& column, int& row) const
{
    if (!cellAt(point, column, row) || row < fixedRows_)
        return false;
    column = std::max(column, fixedColumns_);
    // The line beside a column of no width belongs to the column before it.
    while (column > fixedColumns_ && columnWidths_[static_cast<std::size_t>(column)] == 0)
        --column;
    return true;
}

void CellGrid::mousePressEvent(QMouseEvent* event)
{
    int column = 0, row = 0;
    if (!cellForClick(event->position().toPoint(), column, row))
        return;
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        select(column, row);
}

void CellGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    int column = 0, row = 0;
    if (event->button() != Qt::LeftButton || !cellForClick(event->position().toPoint(), column, row))
        return;
    select(column, row);
    emit cellDoubleClicked();
}

void CellGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        int column = 0, row = 0;
        if (!cellForClick(event->pos(), column, row))
            return;
    }
    emit contextMenuAt(event->globalPos());
}

void CellGrid::keyPressEvent(QKeyEvent* event)
{
    int column = column_, row = row_;
    switch (event->key()) {
    case Qt::Key_Left:
        --column;
        break;
    case Qt::Key_Right:
        ++column;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit cellDoubleClicked();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (selectable(column, row))
        select(column, row);
}

} // namespace kal::qt
