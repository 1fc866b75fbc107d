// The calendar grid: a header row and the week rows of 7 columns, drawn cell by cell by a
// painter, with the selection, the mouse and the keyboard of a grid control.
#pragma once

#include <QWidget>

#include <functional>
#include <vector>

namespace kal::qt {

class MonthGrid : public QWidget {
    Q_OBJECT
public:
    using CellPainter = std::function<void(QPainter&, int column, int row, const QRect&, bool selected)>;

    explicit MonthGrid(QWidget* parent = nullptr);

    void setCellPainter(CellPainter painter) { painter_ = std::move(painter); }

    // The shape: row 0 is the header; `rowCount` includes it.
    void setRowCount(int rowCount);
    int rowCount() const { return static_cast<int>(rowHeights_.size()); }
    void setHeaderHeight(int height);
    int headerHeight() const { return headerHeight_; }
    void setLineWidth(int width);
    int lineWidth() const { return lineWidth_; }
    void setGridColor(const QColor& color);

    // Recomputes the row heights and column widths for the current size.
    void relayout();
    const std::vector<int>& rowHeights() const { return rowHeights_; }
    const std::vector<int>& columnWidths() const { return columnWidths_; }
    QRect cellRect(int column, int row) const;
    // The cell under a point, or false outside every cell.
    bool cellAt(const QPoint& point, int& column, int& row) const;

    int selectedColumn() const { return column_; }
    int selectedRow() const { return row_; }
    // Moves the selection without announcing it.
    void setSelection(int column, int row);

signals:
    void selectionChanged(int column, int row);
    void contextMenuAt(const QPoint& globalPosition);
    void cellDoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void select(int column, int row);

    CellPainter painter_;
    std::vector<int> rowHeights_;
    std::vector<int> columnWidths_;
    int headerHeight_ = 16;
    int lineWidth_ = 1;
    QColor gridColor_ = QColor(0x80, 0x80, 0x80);
    int column_ = 0;
    int row_ = 1;
};

} // namespace kal::qt
