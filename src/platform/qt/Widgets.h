// Small builders shared by the dialogs.
#pragma once

#include "platform/Date.h"

#include <QDate>
#include <QRect>

#include <functional>
#include <initializer_list>

class QAbstractItemView;
class QAction;
class QMenu;
class QObject;
class QPixmap;
class QDateEdit;
class QDialog;
class QHBoxLayout;
class QLabel;
class QModelIndex;
class QPushButton;
class QString;
class QTreeWidget;
class QWidget;

namespace kal::qt {

// A push button with its caption (UTF-8) and object name; Return does not press it unless it
// is made the default.
QPushButton* namedButton(const char* name, const char* caption, QWidget* parent);

// The widget with its object name, so tests find it by the system's name.
template <typename W> W* named(W* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

// A command of a menu or pop-up menu: its caption (UTF-8) and object name.
QAction* namedAction(QObject* owner, const char* name, const char* caption);
// A command of the tool bar: its icon's name (ResourceIcon.h) and its hint (UTF-8).
QAction* toolAction(QObject* owner, const char* name, const char* hint, const char* icon);
// A menu entry's text as a screen reader says it: without its mnemonic ("(&C)" or "&"), the key
// after a tab and a trailing "...".
QString spokenText(const QString& menuText);
// The tool bar's command reads as the menu entry doing the same and follows its text (今月,
// 今週); its hint stays the tool-tip, which is the description.
void nameFromMenu(QAction* tool, const QAction* menu);
// The hint of a button whose face is a sign or nothing (≪, ＜): its tool-tip and its name.
void setHint(QWidget* button, const QString& hint);
// The icon of that name (ResourceIcon.h) drawn at size x size, once for all the panels showing it.
QPixmap resourcePixmap(const char* icon, int size = 16);
// A pop-up menu named `name` holding the commands, a null entry making a separator.
QMenu* popupMenu(QWidget* parent, const char* name, std::initializer_list<QAction*> entries);

// Two exclusive entries naming a state each, the first one checked; their captions show the key
// that toggles them, if any (one window action: a real shortcut on the entries would compete with
// it whenever the menu bar keeps the focus).
void radioPair(QObject* owner, QAction* first, QAction* second, const char* key = nullptr);
// An entry naming a state selects it; one already selected changes nothing but its check mark.
void onSelect(QAction* entry, std::function<bool()> isSelected, std::function<void()> select,
              std::function<void()> showState);
// A key shown in a pop-up menu only: a widget shortcut of an entry that no menu bar carries never
// matches, so the window's own action stays the key's one owner.
void showShortcut(QAction* entry, const char* key);

// A fixed height, or taller where the desktop's font needs it, so no text is cut.
void setFixedHeightForFont(QWidget* widget, int height);
// A caption label (UTF-8); before a field, the field's name and, by its mnemonic, its key.
QLabel* captionLabel(const char* caption, QWidget* parent, QWidget* field = nullptr);

QDate toQDate(const Date& date);
Date fromQDate(const QDate& date);

// A date picker with a drop-down calendar in Japanese, for the years 1900 to 2099; digits typed
// full-width through a Japanese input method count as digits.
QDateEdit* dateEdit(const char* name, const char* utf8Format, QWidget* parent);

// A read-only report list: whole rows selected, no tree decoration, columns keep their widths.
QTreeWidget* reportList(QWidget* parent, const char* name);

// The widgets in a row, pushed to the right.
QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> widgets);

// Calls `handler` on every double click with the left button in the view, with the entry under
// the pointer: an invalid index over empty space, where the view itself reports nothing.
void onDoubleClick(QAbstractItemView* view, std::function<void(const QModelIndex&)> handler);

// `wanted` moved, and shrunk where it is larger, into the free area of the screen `near` is on,
// so a window placed beside another never opens partly off the screen.
QRect keptOnScreen(const QRect& wanted, const QWidget* near);

// Widens a dialog, before it is shown, so the window manager's title bar shows its whole
// caption (within the screen's width).
void fitCaption(QDialog& dialog);

// Cancels every dialog waiting in its own event loop (message boxes and file dialogs
// included), as its cancel button would; true when there was one. Their callers go on once
// control is back in their loops.
bool cancelWaitingDialogs();

} // namespace kal::qt
