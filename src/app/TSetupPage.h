// One page of the settings dialog: it shows the settings it owns and stores them back. The
// builders here keep the pages' controls named and laid out alike.
#pragma once

#include "platform/qt/Services.h"
#include "settings/AppSettings.h"

#include <QGroupBox>
#include <QWidget>

#include <initializer_list>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QRadioButton;
class QVBoxLayout;

namespace kal {

class TSetupPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void load(const AppSettings& s) = 0;
    virtual void store(AppSettings& s) const = 0;
};

// A box of radio buttons whose position is the stored value.
class TSetupRadios : public QGroupBox {
    Q_OBJECT
public:
    TSetupRadios(const char* name, const char* caption, std::initializer_list<const char*> items, QWidget* parent);
    int index() const;
    void setIndex(int index);
    QRadioButton* button(int index) const;

signals:
    void changed();

private:
    QButtonGroup* group_;
};

QCheckBox* setupCheck(const char* name, const char* caption, QWidget* parent);
// A vertical layout on `page`, or on a captioned group inside it.
QVBoxLayout* pageColumn(QWidget* page);
QVBoxLayout* groupColumn(const char* caption, QWidget* page, QVBoxLayout* into);

inline int checkedFlag(bool checked)
{
    return checked ? 1 : 0;
}

// Check boxes, each for one flag of a flag string, in the order they are laid out.
template <class Name> using FlagBoxes = std::vector<std::pair<Name, QCheckBox*>>;

template <class Name> void showFlags(const FlagBoxes<Name>& boxes, const NamedFlags<Name>& flags)
{
    for (const auto& [name, box] : boxes)
        box->setChecked(flags.on(name));
}

template <class Name> void takeFlags(const FlagBoxes<Name>& boxes, NamedFlags<Name>& flags)
{
    for (const auto& [name, box] : boxes)
        flags.set(name, checkedFlag(box->isChecked()));
}

} // namespace kal
