// Draws a category row: a colour sample with the word "サンプル" in the category's colours,
// then the name; a selected row in navy with a white name. Each item holds its whole
// Category.tbl line (Shift-JIS bytes) as a QByteArray under kCategoryLineRole.
#pragma once

#include <QStyledItemDelegate>

namespace kal::qt {

inline constexpr int kCategoryLineRole = Qt::UserRole + 1;

class CategoryItemDelegate : public QStyledItemDelegate {
public:
    // `sampleRight`: where the sample ends (74 in the category dialog, 60 in the input dialog).
    CategoryItemDelegate(int sampleRight, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int sampleRight_;
};

} // namespace kal::qt
