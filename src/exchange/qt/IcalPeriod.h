// The period row both iCalendar dialogs show: a caption, two date pickers and the check that the
// end does not come before the start.
#pragma once

#include "platform/Date.h"
#include "platform/qt/Services.h"

class QDateEdit;
class QHBoxLayout;
class QLabel;
class QWidget;

namespace kal::qt {

struct PeriodControls {
    QLabel* label;
    QDateEdit* from;
    QLabel* between;
    QDateEdit* to;
};

PeriodControls periodControls(const char* caption, const Date& from, const Date& to, QWidget* parent);
QHBoxLayout* periodRow(const PeriodControls& controls);

// False, after the input error and with the focus on the end, when the end comes first.
bool periodAccepted(Services& services, const PeriodControls& controls);

} // namespace kal::qt
