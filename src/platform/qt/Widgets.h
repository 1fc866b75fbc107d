// Small builders shared by the dialogs.
#pragma once

#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace kal::qt {

// A push button with its caption (UTF-8) and object name; Return does not press it unless it
// is made the default.
QPushButton* namedButton(const char* name, const char* caption, QWidget* parent);

// The widgets in a row, pushed to the right.
QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> widgets);

} // namespace kal::qt
