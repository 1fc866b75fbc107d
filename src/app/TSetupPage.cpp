#include "app/TSetupPage.h"

#include "platform/qt/Widgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kal {

TSetupRadios::TSetupRadios(const char* name, const char* caption, std::initializer_list<const char*> items,
                           QWidget* parent)
    : QGroupBox(QString::fromUtf8(caption), parent), group_(new QButtonGroup(this))
{
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    int id = 0;
    for (const char* item : items) {
        auto* radio = new QRadioButton(QString::fromUtf8(item), this);
        radio->setObjectName(QString("%1_%2").arg(name).arg(id));
        group_->addButton(radio, id++);
        layout->addWidget(radio);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            emit changed();
    });
}

int TSetupRadios::index() const
{
    return std::max(0, group_->checkedId());
}

void TSetupRadios::setIndex(int index)
{
    if (QAbstractButton* radio = group_->button(index))
        radio->setChecked(true);
    else if (QAbstractButton* first = group_->button(0))
        first->setChecked(true);
}

QRadioButton* TSetupRadios::button(int index) const
{
    return qobject_cast<QRadioButton*>(group_->button(index));
}

QCheckBox* setupCheck(const char* name, const char* caption, QWidget* parent)
{
    return qt::named(new QCheckBox(QString::fromUtf8(caption), parent), name);
}

QVBoxLayout* pageColumn(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->setAlignment(Qt::AlignTop);
    return layout;
}

QVBoxLayout* groupColumn(const char* caption, QWidget* page, QVBoxLayout* into)
{
    auto* box = new QGroupBox(QString::fromUtf8(caption), page);
    into->addWidget(box);
    return new QVBoxLayout(box);
}

} // namespace kal
