// The main window to a screen reader and to the keyboard alone: every control named, F6, the focus.
#include "calendar/qt/MonthGrid.h"
#include "support/MainWindowFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

using namespace kal;
using namespace kal::test;

namespace {

bool interactive(QAccessible::Role role)
{
    using A = QAccessible;
    const A::Role roles[] = {A::PushButton, A::CheckBox,   A::RadioButton,    A::ComboBox,     A::EditableText,
                             A::SpinBox,    A::Slider,     A::List,           A::Table,        A::Tree,
                             A::PageTab,    A::ButtonMenu, A::ButtonDropDown, A::ColumnHeader, A::ProgressBar};
    return std::find(std::begin(roles), std::end(roles), role) != std::end(roles);
}

// Every shown object a user acts on or reads as a field, without a name: role and object name.
void collectNameless(QAccessibleInterface* node, QStringList& nameless)
{
    if (node->state().invisible)
        return;
    const bool checkableCell = node->state().checkable && node->role() != QAccessible::CheckBox;
    if ((interactive(node->role()) || checkableCell) && node->text(QAccessible::Name).trimmed().isEmpty())
        nameless << QString("role %1 in %2").arg(node->role()).arg(node->parent()->text(QAccessible::Name));
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* child = node->child(i))
            collectNameless(child, nameless);
}

} // namespace

TEST_F(MainWindowFixture, EveryShownControlIsNamedInBothPanelModesAndInTheDialogs)
{
    home.write("ToDo.dat", "2026/12/1010002026/12/01" + std::string(14, ' ') + "00Todo\r\n");
    start();
    QStringList nameless;
    for (int mode = 0; mode < 2; ++mode, form->PanelModeClick())
        collectNameless(QAccessible::queryAccessibleInterface(form.get()), nameless);
    for (int i = 0; i < 12; ++i)
        dialogs.handlers.push_back([&nameless](QDialog& dialog) {
            dialog.show();
            collectNameless(QAccessible::queryAccessibleInterface(&dialog), nameless);
            return int(QDialog::Rejected);
        });
    for (QAction* command : {form->DayList->MenuSchAdd, form->PanelTodo->MenuToDo, form->Calendar->MenuJump,
                             form->Calendar->PopHoliday, form->Lists->MenuFind, form->Printing->MenuPrint,
                             form->PopSetup, form->MenuPasswd, form->Calendar->MenuCat, form->Exchange->MenuCsvRead})
        command->trigger();
    EXPECT_TRUE(nameless.isEmpty()) << nameless.join("\n").toStdString();
    // Tool buttons read as their menu entries, which follow the view.
    auto toolName = [this](const char* action) {
        for (QToolButton* button : form->ToolBar1->findChildren<QToolButton*>())
            if (button->defaultAction() && button->defaultAction()->objectName() == action)
                return QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
        return QString();
    };
    // clang-format off
    const char* buttons[][2] = {{"TBtnHome", "今月"}, {"TBtnPanelMode", "表示モード"}, {"TBtnCatView", "分類の表示切替"}};
    // clang-format on
    for (const auto& [action, name] : buttons)
        EXPECT_EQ(toolName(action), QString::fromUtf8(name)) << action;
    form->Calendar->GridModeClick();
    EXPECT_EQ(toolName("TBtnHome"), QString::fromUtf8("今週"));
}

TEST_F(MainWindowFixture, F6MovesFromPanelToPanelAndMiniModeKeepsTheFocusShown)
{
    start();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->Calendar->GridMonth->setFocus();
    const QWidget* panels[] = {form->DayList->ListDaySch, form->ListMemo, form->PanelTodo->ListTodoNo, form->PanelNote,
                               form->Calendar->GridMonth};
    for (const QWidget* panel : panels) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        const QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == panel || panel->isAncestorOf(focus)) << (focus ? focus->objectName().toStdString() : "");
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
    EXPECT_TRUE(form->PanelNote->isAncestorOf(QApplication::focusWidget()));
    form->SmallSize();
    QTest::qWait(20);
    EXPECT_EQ(form->focusWidget(), static_cast<QWidget*>(form->Calendar->GridMonth));
}
