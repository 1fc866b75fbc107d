#include "calendar/qt/MonthGrid.h"

#include "app/WindowLayout.h"

#include <QContextMenuEvent>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace kal::qt {

MonthGrid::MonthGrid(QWidget* parent) : QWidget(parent)
{
    setObjectName("GridMonth");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(70, 50);
    rowHeights_.assign(7, 0);
    columnWidths_.assign(7, 0);
}

void MonthGrid::setRowCount(int rowCount)
{
    if (rowCount == this->rowCount())
        return;
    rowHeights_.assign(static_cast<std::size_t>(rowCount), 0);
    if (row_ >= rowCount)
        row_ = rowCount - 1;
    relayout();
}

void MonthGrid::setHeaderHeight(int height)
{
    headerHeight_ = height;
    relayout();
}

void MonthGrid::setLineWidth(int width)
{
    lineWidth_ = width;
    relayout();
}

void MonthGrid::setGridColor(const QColor& color)
{
    gridColor_ = color;
    update();
}

void MonthGrid::relayout()
{
    rowHeights_ = MonthRowHeights(height(), headerHeight_, rowCount(), lineWidth_);
    columnWidths_ = ColumnWidths(width(), 7, lineWidth_);
    update();
}

QRect MonthGrid::cellRect(int column, int row) const
{
    int x = 0;
    for (int c = 0; c < column; ++c)
        x += columnWidths_[static_cast<std::size_t>(c)] + lineWidth_;
    int y = 0;
    for (int r = 0; r < row; ++r)
        y += rowHeights_[static_cast<std::size_t>(r)] + lineWidth_;
    return QRect(x, y, columnWidths_[static_cast<std::size_t>(column)], rowHeights_[static_cast<std::size_t>(row)]);
}

bool MonthGrid::cellAt(const QPoint& point, int& column, int& row) const
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < 7; ++c)
            if (cellRect(c, r).adjusted(0, 0, lineWidth_, lineWidth_).contains(point)) {
                column = c;
                row = r;
                return true;
            }
    return false;
}

void MonthGrid::setSelection(int column, int row)
{
    column_ = std::clamp(column, 0, 6);
    row_ = std::clamp(row, 1, std::max(1, rowCount() - 1));
    update();
}

void MonthGrid::select(int column, int row)
{
    if (column == column_ && row == row_)
        return;
    setSelection(column, row);
    emit selectionChanged(column_, row_);
}

void MonthGrid::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), gridColor_);
    if (!painter_)
        return;
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < 7; ++c) {
            QRect cell = cellRect(c, r);
            if (cell.width() <= 0 || cell.height() <= 0)
                continue;
            painter.save();
            painter.setClipRect(cell);
            painter_(painter, c, r, cell, r == row_ && c == column_);
            painter.restore();
        }
}

void MonthGrid::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    relayout();
}

void MonthGrid::mousePressEvent(QMouseEvent* event)
{
    int column = 0, row = 0;
    if (!cellAt(event->position().toPoint(), column, row) || row == 0)
        return;
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        select(column, row);
}

void MonthGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    int column = 0, row = 0;
    if (event->button() != Qt::LeftButton || !cellAt(event->position().toPoint(), column, row) || row == 0)
        return;
    select(column, row);
    emit cellDoubleClicked();
}

void MonthGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        int column = 0, row = 0;
        if (!cellAt(event->pos(), column, row) || row == 0)
            return;
    }
    emit contextMenuAt(event->globalPos());
}

void MonthGrid::keyPressEvent(QKeyEvent* event)
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
    if (column < 0 || column > 6 || row < 1 || row >= rowCount())
        return;
    select(column, row);
}

} // namespace kal::qt
