#include "platform/qt/Widgets.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace kal::qt {

QPushButton* namedButton(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    return row;
}

} // namespace kal::qt
