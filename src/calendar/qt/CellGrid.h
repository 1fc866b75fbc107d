// A grid control drawn cell by cell by a painter: fixed rows and columns, the selection, the
// mouse and the keyboard. The month grid and the week grid give it their shape.
#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>
#include <vector>

namespace kal::qt {

class CellGrid : public QWidget {
    Q_OBJECT
public:
    using CellPainter = std::function<void(QPainter&, int column, int row, const QRect&, bool selected)>;

    void setCellPainter(CellPainter painter) { painter_ = std::move(painter); }

    void setLineWidth(int width);
    int lineWidth() const { return lineWidth_; }
    void setGridColor(const QColor& color);

    // Recomputes the row heights and column widths for the current size.
    virtual void relayout() = 0;
    int rowCount() const { return static_cast<int>(rowHeights_.size()); }
    int columnCount() const { return static_cast<int>(columnWidths_.size()); }
    const std::vector<int>& rowHeights() const { return rowHeights_; }
    const std::vector<int>& columnWidths() const { return columnWidths_; }
    QRect cellRect(int column, int row) const;
    // The cell under a point, or false outside every cell.
    bool cellAt(const QPoint& point, int& column, int& row) const;

    int selectedColumn() const { return column_; }
    int selectedRow() const { return row_; }
    // Moves the selection without the signal (assistive tools still hear of it); it stays off
    // the fixed cells.
    void setSelection(int column, int row);
    // The cell a click on `point` selects: a fixed column's click selects the row's first day
    // cell; a fixed row is no day.
    bool cellForClick(const QPoint& point, int& column, int& row) const;
    int fixedColumns() const { return fixedColumns_; }
    int fixedRows() const { return fixedRows_; }

    // What assistive tools read of a cell, the fixed ones included, and of a column where no
    // fixed row names it.
    using CellNamer = std::function<QString(int column, int row)>;
    void setCellNamer(CellNamer namer) { namer_ = std::move(namer); }
    QString cellName(int column, int row) const { return namer_ ? namer_(column, row) : QString(); }
    void setColumnCaptions(QStringList captions) { captions_ = std::move(captions); }
    QString columnCaption(int column) const { return captions_.value(column); }
    // The cells read otherwise now (another month, changed data): assistive tools are told.
    void contentsChanged();

signals:
    void selectionChanged(int column, int row);
    void contextMenuAt(const QPoint& globalPosition);
    void cellDoubleClicked();

protected:
    CellGrid(int fixedColumns, int fixedRows, QWidget* parent);

    // Sets the shape and repaints; the selection stays on a selectable cell.
    void setSizes(std::vector<int> columnWidths, std::vector<int> rowHeights);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // A cell the keyboard can move to: not fixed and not of zero width.
    bool selectable(int column, int row) const;
    void select(int column, int row);

    CellPainter painter_;
    CellNamer namer_;
    QStringList captions_;
    const int fixedColumns_;
    const int fixedRows_;
    std::vector<int> rowHeights_;
    std::vector<int> columnWidths_;
    int lineWidth_ = 1;
    QColor gridColor_ = QColor(0x80, 0x80, 0x80);
    int column_ = 0;
    int row_ = 0;
};

} // namespace kal::qt
