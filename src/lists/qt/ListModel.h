// The list window's rows as a table model: the rows are held as read (Shift-JIS) and a cell's
// text is decoded only when the view asks for it, so a list of a hundred years opens at once.
#pragma once

#include "lists/ListRows.h"

#include <QAbstractTableModel>

#include <vector>

namespace kal::qt {

class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(QObject* parent = nullptr);

    // New rows in key order: one reset.
    void setRows(ListRows rows);
    const ListRows& rows() const { return rows_; }
    // The row shown at `viewRow`.
    const ListRow& rowAt(int viewRow) const;
    // Orders the rows by one column (see ListSortOrder); selections follow their rows.
    void sortByColumn(int column, int direction);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    ListRows rows_;
    std::vector<ListColumn> columns_;
    std::vector<std::size_t> order_; // view row -> row
};

} // namespace kal::qt
