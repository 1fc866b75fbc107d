#include "schedule/qt/CategoryItemDelegate.h"

#include "platform/ByteText.h"
#include "platform/qt/QtText.h"
#include "schedule/Categories.h"

#include <QApplication>
#include <QPainter>

namespace kal::qt {

CategoryItemDelegate::CategoryItemDelegate(int sampleRight, QObject* parent)
    : QStyledItemDelegate(parent), sampleRight_(sampleRight)
{
}

void CategoryItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QRect r = opt.rect;
    const std::string line = index.data(kCategoryLineRole).toByteArray().toStdString();
    const CategorySample sample = SampleOf(line);
    const QString name = fromSjis(text::trimRight(CategoryTable::NameOf(line)));
    const bool selected = opt.state & QStyle::State_Selected;

    painter->save();
    painter->fillRect(r, Qt::white);

    // A check box, when the list has one, stands before the sample.
    int left = r.left();
    if (opt.features & QStyleOptionViewItem::HasCheckIndicator) {
        QStyleOptionViewItem check = opt;
        QRect box = QApplication::style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, opt.widget);
        check.rect = box;
        check.state = check.state & ~QStyle::State_HasFocus;
        check.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        QApplication::style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, opt.widget);
        left = box.right() + 3;
    }
    // The selection goes under the sample, so a sample wider than 60 pixels stays whole.
    if (selected)
        painter->fillRect(QRect(left + 60, r.top(), r.right() - left - 59, r.height()), QColor(0, 0, 128));
    QRect sampleRect(left + 1, r.top() + 1, sampleRight_ - 1, r.height() - 2);
    painter->fillRect(sampleRect, toQColor(sample.back));
    painter->setPen(toQColor(sample.text));
    painter->drawText(sampleRect.adjusted(11, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                      QString::fromUtf8("サンプル"));

    const int nameLeft = left + std::max(64, sampleRight_ + 4);
    painter->setPen(selected ? Qt::white : Qt::black);
    painter->drawText(QRect(nameLeft, r.top(), r.right() - nameLeft, r.height()), Qt::AlignVCenter | Qt::AlignLeft,
                      name);
    painter->restore();
}

QSize CategoryItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    return QSize(std::max(size.width(), sampleRight_ + 140), std::max(size.height(), 16));
}

} // namespace kal::qt
