// Small builders shared by the dialogs.
#pragma once

#include <functional>
#include <initializer_list>

class QAbstractItemView;
class QHBoxLayout;
class QModelIndex;
class QPushButton;
class QWidget;

namespace kal::qt {

// A push button with its caption (UTF-8) and object name; Return does not press it unless it
// is made the default.
QPushButton* namedButton(const char* name, const char* caption, QWidget* parent);

// The widgets in a row, pushed to the right.
QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> widgets);

// Calls `handler` on every double click with the left button in the view, with the entry under
// the pointer: an invalid index over empty space, where the view itself reports nothing.
void onDoubleClick(QAbstractItemView* view, std::function<void(const QModelIndex&)> handler);

} // namespace kal::qt
