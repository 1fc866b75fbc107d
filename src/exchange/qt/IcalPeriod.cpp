#include "exchange/qt/IcalPeriod.h"

#include "exchange/IcalExport.h"
#include "platform/qt/Widgets.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>

namespace kal::qt {

PeriodControls periodControls(const char* caption, const Date& from, const Date& to, QWidget* parent)
{
    PeriodControls controls;
    controls.label = named(captionLabel(caption, parent), "LabelPeriod");
    controls.from = dateEdit("DtpFromDate", "yyyy/MM/dd", parent);
    controls.from->setDate(toQDate(from));
    controls.between = named(captionLabel("～", parent), "LabelTo");
    controls.to = dateEdit("DtpToDate", "yyyy/MM/dd", parent);
    controls.to->setDate(toQDate(to));
    controls.label->setBuddy(controls.from);
    return controls;
}

QHBoxLayout* periodRow(const PeriodControls& controls)
{
    auto* row = new QHBoxLayout;
    row->addWidget(controls.from);
    row->addWidget(controls.between);
    row->addWidget(controls.to);
    row->addStretch();
    return row;
}

bool periodAccepted(Services& services, const PeriodControls& controls)
{
    if (controls.to->date() >= controls.from->date())
        return true;
    services.platform.messageBox("入力エラー", kIcalPeriodError, MessageIcon::Error, MessageButtons::Ok);
    controls.to->setFocus();
    return false;
}

} // namespace kal::qt
