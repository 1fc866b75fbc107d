// Digits typed through a Japanese input method arrive full-width ("１５"); fields that take
// only numbers take them as the digits they are.
#pragma once

class QWidget;

namespace kal::qt {

void takeFullWidthDigits(QWidget* field);

} // namespace kal::qt
