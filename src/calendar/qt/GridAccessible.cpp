#include "calendar/qt/GridAccessible.h"

#include "calendar/qt/CellGrid.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>

#include <map>
#include <utility>

namespace kal::qt {
namespace {

class GridTable;

GridTable* tableOf(CellGrid* grid);

// One cell in grid coordinates: a day, or a header where the grid's fixed row or column is.
class GridCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCell(CellGrid* grid, int column, int row) : grid_(grid), column_(column), row_(row) { }

    bool isValid() const override
    {
        return grid_ && column_ < grid_->columnCount() && row_ < grid_->rowCount() &&
               (columnHeader() || grid_->columnWidths()[static_cast<std::size_t>(column_)] > 0);
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(grid_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override { }

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return {};
        return columnHeader() && grid_->fixedRows() == 0 ? grid_->columnCaption(column_)
                                                         : grid_->cellName(column_, row_);
    }

    QRect rect() const override
    {
        if (!isValid() || columnHeader())
            return {};
        const QRect cell = grid_->cellRect(column_, row_);
        return QRect(grid_->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::Role role() const override
    {
        if (columnHeader())
            return QAccessible::ColumnHeader;
        return column_ < grid_->fixedColumns() ? QAccessible::RowHeader : QAccessible::Cell;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid() || !grid_->isVisible()) {
            state.invisible = true;
            return state;
        }
        if (role() != QAccessible::Cell)
            return state;
        state.selectable = state.focusable = true;
        state.selected = isSelected();
        state.focused = state.selected && grid_->hasFocus();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override
    {
        return grid_ && column_ == grid_->selectedColumn() && row_ == grid_->selectedRow();
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override;
    int columnIndex() const override { return grid_ ? column_ - grid_->fixedColumns() : -1; }
    int rowIndex() const override { return grid_ ? row_ - grid_->fixedRows() : -1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // A column's header: the fixed row's cell, or a caption where there is none (row -1).
    bool columnHeader() const { return row_ < 0 || (grid_ && row_ < grid_->fixedRows()); }

private:
    QPointer<CellGrid> grid_;
    const int column_, row_;
};

class GridTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridTable(CellGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) { }
    ~GridTable() override
    {
        for (const auto& [place, id] : cells_)
            QAccessible::deleteAccessibleInterface(id);
    }

    CellGrid* grid() const { return static_cast<CellGrid*>(widget()); }

    // The cell at grid coordinates, made once and kept while the grid lives.
    QAccessibleInterface* gridCell(int column, int row) const
    {
        const auto place = std::make_pair(column, row);
        auto found = cells_.find(place);
        if (found == cells_.end())
            found = cells_.emplace(place, QAccessible::registerAccessibleInterface(new GridCell(grid(), column, row)))
                        .first;
        return QAccessible::accessibleInterface(found->second);
    }
    QAccessibleInterface* columnHeader(int column) const
    {
        return gridCell(column + grid()->fixedColumns(), grid()->fixedRows() > 0 ? 0 : -1);
    }
    QAccessibleInterface* rowHeader(int row) const
    {
        return grid()->fixedColumns() > 0 ? gridCell(0, row + grid()->fixedRows()) : nullptr;
    }
    QAccessibleInterface* selectedCell() const { return gridCell(grid()->selectedColumn(), grid()->selectedRow()); }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The children are the day cells, row by row.
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override
    {
        const int columns = columnCount();
        return index >= 0 && index < childCount() ? cellAt(index / columns, index % columns) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const QAccessibleTableCellInterface* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        if (!cell || child->role() != QAccessible::Cell || child->parent() != this)
            return -1;
        return cell->rowIndex() * columnCount() + cell->columnIndex();
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        int column = 0, row = 0;
        if (!grid()->cellAt(grid()->mapFromGlobal(QPoint(x, y)), column, row))
            return nullptr;
        return gridCell(column, row);
    }
    QAccessibleInterface* focusChild() const override { return grid()->hasFocus() ? selectedCell() : nullptr; }

    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
            return nullptr;
        return gridCell(column + grid()->fixedColumns(), row + grid()->fixedRows());
    }
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int column) const override
    {
        QAccessibleInterface* header = columnHeader(column);
        return header ? header->text(QAccessible::Name) : QString();
    }
    QString rowDescription(int row) const override
    {
        QAccessibleInterface* header = rowHeader(row);
        return header ? header->text(QAccessible::Name) : QString();
    }
    // A column of no width (the hidden memo column) is no column.
    int columnCount() const override
    {
        int columns = 0;
        for (int c = grid()->fixedColumns(); c < grid()->columnCount(); ++c)
            columns += grid()->columnWidths()[static_cast<std::size_t>(c)] > 0 ? 1 : 0;
        return columns;
    }
    int rowCount() const override { return std::max(0, grid()->rowCount() - grid()->fixedRows()); }
    int selectedCellCount() const override { return 1; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override { return {selectedCell()}; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { }

    // A move and a new month in one turn of the event loop are told once, after both: the cell
    // is read with its new content, and only once.
    void announceLater(bool selection, bool contents);

private:
    void announce();

    mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
    bool selectionMoved_ = false, contentsChanged_ = false;
};

GridTable* tableOf(CellGrid* grid)
{
    return dynamic_cast<GridTable*>(QAccessible::queryAccessibleInterface(grid));
}

QList<QAccessibleInterface*> GridCell::columnHeaderCells() const
{
    GridTable* table = grid_ && !columnHeader() ? tableOf(grid_) : nullptr;
    return table ? QList<QAccessibleInterface*>{table->columnHeader(columnIndex())} : QList<QAccessibleInterface*>{};
}

QList<QAccessibleInterface*> GridCell::rowHeaderCells() const
{
    GridTable* table = grid_ && role() == QAccessible::Cell ? tableOf(grid_) : nullptr;
    QAccessibleInterface* header = table ? table->rowHeader(rowIndex()) : nullptr;
    return header ? QList<QAccessibleInterface*>{header} : QList<QAccessibleInterface*>{};
}

QAccessibleInterface* gridFactory(const QString&, QObject* object)
{
    auto* grid = qobject_cast<CellGrid*>(object);
    return grid ? new GridTable(grid) : nullptr;
}

void send(QAccessibleInterface* target, QAccessible::Event type)
{
    QAccessibleEvent event(target, type);
    QAccessible::updateAccessibility(&event);
}

void GridTable::announceLater(bool selection, bool contents)
{
    if (!selectionMoved_ && !contentsChanged_)
        QTimer::singleShot(0, grid(), [grid = grid()] {
            if (GridTable* table = tableOf(grid))
                table->announce();
        });
    selectionMoved_ = selectionMoved_ || selection;
    contentsChanged_ = contentsChanged_ || contents;
}

void GridTable::announce()
{
    QAccessibleInterface* cell = selectedCell();
    if (contentsChanged_) {
        QAccessibleTableModelChangeEvent reset(grid(), QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&reset);
        send(cell, QAccessible::NameChanged);
    }
    if (selectionMoved_) {
        send(cell, QAccessible::Selection);
        send(this, QAccessible::SelectionWithin);
    }
    if (grid()->hasFocus())
        send(cell, QAccessible::Focus);
    selectionMoved_ = contentsChanged_ = false;
}

// Events only for a grid on screen: a grid being built or hidden has nothing to tell.
GridTable* announcing(CellGrid& grid)
{
    return QAccessible::isActive() && grid.isVisible() ? tableOf(&grid) : nullptr;
}

} // namespace

void InstallGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    (void)installed;
}

void AnnounceSelection(CellGrid& grid)
{
    if (GridTable* table = announcing(grid))
        table->announceLater(true, false);
}

void AnnounceContents(CellGrid& grid)
{
    if (GridTable* table = announcing(grid))
        table->announceLater(false, true);
}

void AnnounceFocus(CellGrid& grid)
{
    if (GridTable* table = announcing(grid))
        send(table->selectedCell(), QAccessible::Focus);
}

} // namespace kal::qt
