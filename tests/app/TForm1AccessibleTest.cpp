// The main window to a screen reader and to the keyboard alone: every control named, the tool bar
// read by its menu entries' words, F6 from panel to panel, the focus kept on what is shown.
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
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::PageTab:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::ColumnHeader:
    case QAccessible::ProgressBar:
        return true;
    default:
        return false;
    }
}

// Every shown object a user acts on or reads as a field, without a name: role and object name.
void collectNameless(QAccessibleInterface* node, QStringList& nameless)
{
    if (node->state().invisible)
        return;
    const bool checkableCell = node->state().checkable && node->role() != QAccessible::CheckBox;
    if ((interactive(node->role()) || checkableCell) && node->text(QAccessible::Name).trimmed().isEmpty())
        nameless << QString("role %1 %2 in %3")
                        .arg(node->role())
                        .arg(node->object() ? node->object()->objectName() : "")
                        .arg(node->parent() && node->parent()->object() ? node->parent()->object()->objectName() : "");
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface* child = node->child(i))
            collectNameless(child, nameless);
}

QString toolName(TForm1& form, const char* action)
{
    for (QToolButton* button : form.ToolBar1->findChildren<QToolButton*>())
        if (button->defaultAction() && button->defaultAction()->objectName() == action)
            return QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name);
    return "(no button)";
}

} // namespace

TEST_F(MainWindowFixture, NoShownControlIsNamelessInAnyPanelMode)
{
    home.write("ToDo.dat", "2026/12/1010002026/12/01" + std::string(14, ' ') + "00Todo\r\n");
    start();
    for (int mode = 0; mode < 2; ++mode) {
        SCOPED_TRACE(mode);
        QStringList nameless;
        collectNameless(QAccessible::queryAccessibleInterface(form.get()), nameless);
        EXPECT_TRUE(nameless.isEmpty()) << nameless.join("\n").toStdString();
        form->PanelModeClick();
    }
}

TEST_F(MainWindowFixture, ToolButtonsReadAsTheirMenuEntries)
{
    start();
    const struct {
        const char* action;
        const char* name;
    } buttons[] = {{"TBtnHome", "今月"},
                   {"TBtnSchAdd", "スケジュールの追加"},
                   {"TBtnWeekly", "週間"},
                   {"TBtnPanelMode", "表示モード"},
                   {"TBtnCatView", "分類の表示切替"},
                   {"TBtnSetup", "環境設定"}};
    for (const auto& b : buttons)
        EXPECT_EQ(toolName(*form, b.action), QString::fromUtf8(b.name)) << b.action;
    form->Calendar->GridModeClick();
    EXPECT_EQ(toolName(*form, "TBtnHome"), QString::fromUtf8("今週"));
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
    ASSERT_TRUE(form->miniMode());
    EXPECT_EQ(form->focusWidget(), static_cast<QWidget*>(form->Calendar->GridMonth));
}

TEST_F(MainWindowFixture, NoFieldOfTheWindowsDialogsIsNameless)
{
    start();
    QStringList nameless;
    for (int i = 0; i < 12; ++i)
        dialogs.handlers.push_back([&nameless](QDialog& dialog) {
            dialog.show();
            QStringList found;
            collectNameless(QAccessible::queryAccessibleInterface(&dialog), found);
            for (const QString& item : found)
                nameless << dialog.objectName() + ": " + item;
            dialog.hide();
            return int(QDialog::Rejected);
        });
    for (QAction* command : {form->DayList->MenuSchAdd, form->PanelTodo->MenuToDo, form->Calendar->MenuJump,
                             form->Calendar->PopHoliday, form->Lists->MenuFind, form->Printing->MenuPrint,
                             form->PopSetup, form->MenuPasswd, form->Calendar->MenuCat, form->Exchange->MenuCsvRead})
        command->trigger();
    EXPECT_TRUE(nameless.isEmpty()) << nameless.join("\n").toStdString();
}
