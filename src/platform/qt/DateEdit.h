// The date field of the program's dialogs.
#pragma once

class QDateEdit;
class QWidget;

namespace kal::qt {

// A date field with Japanese month and weekday names, the calendar's years 1900 to 2099 and a
// calendar to drop down. Digits typed through a Japanese input method arrive full-width
// ("１５"); the field takes them as the digits they are.
QDateEdit* japaneseDateEdit(const char* name, const char* format, QWidget* parent);

} // namespace kal::qt
