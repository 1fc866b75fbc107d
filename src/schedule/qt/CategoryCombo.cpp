#include "schedule/qt/CategoryCombo.h"

#include "platform/ByteText.h"
#include "platform/qt/QtText.h"
#include "schedule/Categories.h"
#include "schedule/qt/CategoryItemDelegate.h"

#include <QComboBox>
#include <QPainter>
#include <QPixmap>

namespace kal::qt {
namespace {

// The closed list shows the chosen category with its colour sample, as the rows do.
QIcon sampleIcon(const std::string& line, const QFont& font)
{
    const CategorySample sample = SampleOf(line);
    QPixmap pixmap(56, 14);
    pixmap.fill(toQColor(sample.back));
    QPainter painter(&pixmap);
    painter.setFont(font);
    painter.setPen(toQColor(sample.text));
    painter.drawText(pixmap.rect().adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QString::fromUtf8("サンプル"));
    return QIcon(pixmap);
}

} // namespace

void SetupCategoryCombo(QComboBox* combo)
{
    combo->setItemDelegate(new CategoryItemDelegate(60, combo));
    combo->setMaxVisibleItems(16);
    combo->setIconSize(QSize(56, 14));
    combo->setMinimumWidth(220);
}

void FillCategoryRows(QComboBox* combo, const CategoryTable& categories)
{
    combo->clear();
    for (const std::string& line : categories.lines()) {
        combo->addItem(sampleIcon(line, combo->font()), fromSjis(text::trimRight(CategoryTable::NameOf(line))));
        combo->setItemData(combo->count() - 1, QByteArray::fromStdString(line), kCategoryLineRole);
    }
    combo->setCurrentIndex(-1);
}

} // namespace kal::qt
