#include "lists/qt/ListModel.h"

#include "platform/qt/JapaneseCollation.h"
#include "platform/qt/QtText.h"

#include <numeric>

namespace kal::qt {

ListModel::ListModel(QObject* parent) : QAbstractTableModel(parent) { }

void ListModel::setRows(ListRows rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    columns_ = ListColumns(rows_.mode);
    order_.resize(rows_.rows.size());
    std::iota(order_.begin(), order_.end(), std::size_t{0});
    endResetModel();
}

const ListRow& ListModel::rowAt(int viewRow) const
{
    return rows_.rows[order_[static_cast<std::size_t>(viewRow)]];
}

void ListModel::sortByColumn(int column, int direction)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<std::size_t> order = ListSortOrder(rows_, order_, column, direction, japaneseCollation());
    std::vector<int> viewRowOf(order.size());
    for (std::size_t viewRow = 0; viewRow < order.size(); ++viewRow)
        viewRowOf[order[viewRow]] = static_cast<int>(viewRow);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after << createIndex(viewRowOf[order_[static_cast<std::size_t>(index.row())]], index.column());
    order_ = std::move(order);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(order_.size());
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return fromSjis(ListCellText(rows_, rowAt(index.row()), index.column()));
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size()))
        return {};
    return QString::fromUtf8(columns_[static_cast<std::size_t>(section)].caption);
}

} // namespace kal::qt
