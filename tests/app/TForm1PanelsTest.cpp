// The window's routing between its panels, offscreen with the fake platform: the delete command
// goes to the list with the focus, the ToDo ticks are written back before the lists are hidden or
// read from another folder, and the calendar follows what the other panels change.
#include "app/Password.h"
#include "app/TDlgPasswd.h"
#include "calendar/qt/MonthGrid.h"
#include "memo/TDlgMemo.h"
#include "platform/Files.h"
#include "support/MainWindowFixture.h"
#include "support/ScheduleLines.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

#include <functional>

using namespace kal;
using namespace kal::test;

namespace {

// A ToDo line: deadline, priority, progress and done flag, done date, no category, memo, title.
std::string todo(const std::string& deadline, const std::string& fixed, const std::string& memo,
                 const std::string& title, const std::string& doneDate = "2026/12/01")
{
    return deadline + fixed + doneDate + std::string(14, ' ') + memo + title;
}

struct RoutingFixture : MainWindowFixture {
    void tick(const char* title)
    {
        QTreeWidget* open = form->PanelTodo->ListTodoNo;
        for (int c = 0; c < open->columnCount(); ++c)
            if (open->headerItem()->text(c) == QString::fromUtf8("件名"))
                open->findItems(title, Qt::MatchExactly, c).value(0)->setCheckState(0, Qt::Checked);
    }
    int markOfDay(int day) const
    {
        const MonthLayout& layout = form->Calendar->monthBuild().layout;
        return layout.cell(layout.currentColumn[day], layout.currentRow[day]).mark;
    }
    std::vector<std::string> linesOfDay(int day) const
    {
        const MonthBuild& build = form->Calendar->monthBuild();
        std::vector<std::string> lines;
        for (const CellLine& line : build.lists.at(build.layout.currentColumn[day], build.layout.currentRow[day]))
            lines.push_back(line.text);
        return lines;
    }
};

} // namespace

TEST_F(RoutingFixture, TheDeleteCommandGoesToTheListWithTheFocusOnly)
{
    const std::string schedule = crlf({scheduleLine(8, "09:00", "x")}), memo = crlf({"one"}),
                      todos = crlf({todo("2026/12/10", "1000", "01", "a")});
    const struct {
        const char* file;
        std::function<QWidget*(TForm1&)> list;
    } cases[] = {{"202612.sch", [](TForm1& f) { return f.DayList->ListDaySch; }},
                 {"20261208.mem", [](TForm1& f) { return f.ListMemo; }},
                 {"ToDo.dat", [](TForm1& f) { return f.PanelTodo->ListTodoNo; }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        home.write("202612.sch", schedule);
        home.write("20261208.mem", memo);
        home.write("ToDo.dat", todos);
        start();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->DayList->ListDaySch->setCurrentItem(form->DayList->ListDaySch->topLevelItem(0));
        form->PanelTodo->ListTodoNo->setCurrentItem(form->PanelTodo->ListTodoNo->topLevelItem(0));
        form->Calendar->GridMonth->setFocus();
        form->MenuDelete->trigger();
        EXPECT_TRUE(platform.messages.empty()) << "the calendar has nothing to delete";
        c.list(*form)->setFocus();
        QTest::qWait(20);
        ASSERT_TRUE(c.list(*form)->hasFocus());
        platform.messageAnswers.push_back(MessageAnswer::Yes);
        form->TBtnDel->trigger();
        for (const auto& [file, before] :
             {std::pair{"202612.sch", schedule}, {"20261208.mem", memo}, {"ToDo.dat", todos}})
            EXPECT_EQ(home.exists(file) ? home.read(file) : "", file == c.file ? "" : before) << file;
        form->ApplicationExit();
        form.reset();
        platform.messages.clear();
    }
}

TEST_F(RoutingFixture, ToDoTicksAreWrittenBackBeforeTheListsAreHiddenOrReadFromAnotherFolder)
{
    home.write("ToDo.dat", crlf({todo("2026/12/10", "1000", "01", "a"), todo("2026/12/11", "1000", "02", "b")}));
    start();
    tick("a");
    form->PanelModeClick();
    EXPECT_EQ(files::loadLines(home.file("ToDo.dat")).at(0), todo("2026/12/10", "1001", "01", "a", "2026/12/08"));
    form->PanelModeClick();
    tick("b");
    form->ApplicationExit();
    form.reset();
    EXPECT_EQ(files::loadLines(home.file("ToDo.dat")).at(1), todo("2026/12/11", "1001", "02", "b", "2026/12/08"));

    // Confirming the settings stores them in the folder they were made in, not in the new one.
    const std::string twin = crlf({todo("2026/12/10", "1000", "01", "a")});
    ASSERT_TRUE(files::createFolders(home.file("other/")));
    home.write("other/ToDo.dat", twin);
    home.write("ToDo.dat", twin);
    start();
    tick("a");
    dialogs.handlers.push_back([this](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("EditTodoPath")->setText(QString::fromStdString(home.file("other/")));
        QMetaObject::invokeMethod(dialog.findChild<QPushButton*>("BtnOk"), "click");
        return dialog.result();
    });
    form->ShowDlgSetup();
    EXPECT_EQ(files::loadLines(home.file("ToDo.dat")).at(0), todo("2026/12/10", "1001", "01", "a", "2026/12/08"));
    EXPECT_EQ(home.read("other/ToDo.dat"), twin);
}

TEST_F(RoutingFixture, TheCalendarShowsTheOpenToDoEntriesAndFollowsAChangeOfThem)
{
    home.write("ToDo.dat", crlf({todo("2026/12/08", "1000", "02", "today")}));
    start("[View]\r\nCalView=111111001\r\n");
    EXPECT_EQ(linesOfDay(8), std::vector<std::string>{"8" + todo("2026/12/08", "1000", "02", "today")});
    home.write("ToDo.dat", crlf({todo("2026/12/09", "1000", "03", "tomorrow")}));
    form->PanelTodo->ToDoEdit();
    EXPECT_TRUE(linesOfDay(8).empty());
    EXPECT_EQ(linesOfDay(9), std::vector<std::string>{"8" + todo("2026/12/09", "1000", "03", "tomorrow")});
}

TEST_F(RoutingFixture, TheSelectedDayReachesTheDayListItsPopupAndTheMiniCalendarsHint)
{
    home.write("Holiday.dat", *files::readBytes(KALENDRA_SOURCE_DIR "/data/Holiday.dat"));
    home.write("202612.sch",
               crlf({scheduleLine(8, "09:00", "a"), scheduleLine(8, "10:00", "b"), scheduleLine(23, "", "party")}));
    start();
    EXPECT_TRUE(form->DayList->PanelDaySch->text().endsWith(QString::fromUtf8("[2件］")));
    form->PopupDayPopup();
    EXPECT_FALSE(form->PanelTodo->PoPTodoCopy->isEnabled()) << "no schedule selected";
    form->DayList->ListDaySch->setCurrentItem(form->DayList->ListDaySch->topLevelItem(0));
    form->PopupDayPopup();
    EXPECT_TRUE(form->PanelTodo->PoPTodoCopy->isEnabled());
    // The list is empty while it is not shown.
    form->MenuPanelMode2->trigger();
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 0);
    form->MenuPanelMode1->trigger();
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 2);

    form->SmallSize();
    const MonthLayout& layout = form->Calendar->monthBuild().layout;
    form->Calendar->SelectCell(layout.currentColumn[23], layout.currentRow[23]);
    EXPECT_EQ(form->Calendar->GridMonth->toolTip(), QString::fromUtf8("2026/12/23(水)\r\nparty"));
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("令和8年12月23日"));
    QWidget other; // the mini calendar's hints show while another window is active
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    // No hint shows while a button is down; an earlier test's double click may have left one so.
    QTest::mouseRelease(&other, Qt::LeftButton);
    ASSERT_EQ(QGuiApplication::mouseButtons(), Qt::NoButton);
    QTest::mouseMove(form->Calendar->GridMonth, form->Calendar->GridMonth->rect().center());
    QTest::mouseMove(form->Calendar->GridMonth, form->Calendar->GridMonth->rect().center() + QPoint(1, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::text() == form->Calendar->GridMonth->toolTip(); }, 10000));
    QToolTip::hideText();
}

TEST_F(RoutingFixture, ADoubleClickOnADayWithLinesOpensTheScheduleListAndOnAnEmptyOneAdds)
{
    home.write("202612.sch", crlf({scheduleLine(8, "", "x")}));
    start();
    form->show();
    QTest::qWait(50);
    const QRect cell = form->Calendar->GridMonth->cellRect(form->Calendar->GridMonth->selectedColumn(),
                                                           form->Calendar->GridMonth->selectedRow());
    QTest::mouseDClick(form->Calendar->GridMonth, Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TFormEdit");

    // A day without lines adds a schedule instead.
    form->Calendar->SelectCell(form->Calendar->GridMonth->selectedColumn() + 1,
                               form->Calendar->GridMonth->selectedRow());
    const QRect empty = form->Calendar->GridMonth->cellRect(form->Calendar->GridMonth->selectedColumn(),
                                                            form->Calendar->GridMonth->selectedRow());
    QTest::mouseDClick(form->Calendar->GridMonth, Qt::LeftButton, {}, empty.center());
    ASSERT_EQ(dialogs.shownClasses.size(), 2u);
    EXPECT_EQ(dialogs.shownClasses[1], "kal::TDlgSchInput");
}

TEST_F(RoutingFixture, TheCalendarsMemoMarkFollowsTheMemoAreaWhichComesBackAtItsPlace)
{
    start("[Memo]\r\nMemo=0\r\n");
    EXPECT_EQ(markOfDay(8), 0);
    EXPECT_TRUE(form->ListMemo->isHidden());
    dialogs.handlers.push_back([](QDialog& dialog) {
        dynamic_cast<TDlgMemo&>(dialog).MemoDay->setPlainText("memo");
        dynamic_cast<TDlgMemo&>(dialog).BtnOkClick();
        return dialog.result();
    });
    form->ListMemo->MenuMemo->trigger();
    EXPECT_EQ(markOfDay(8), 1);
    EXPECT_FALSE(form->ListMemo->isHidden());
    EXPECT_GT(form->ListMemo->height(), 0);
    EXPECT_GT(form->SplM->sizes().at(0), 0) << "the day list stays above the memo";
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    form->ListMemo->MemoDelete();
    EXPECT_EQ(markOfDay(8), 0);
}

TEST_F(RoutingFixture, TheTimersNewDayMovesTheCalendarEvenOnTheSameDayNumberAMonthLater)
{
    for (const auto& [before, after] :
         {std::pair{Date{2026, 12, 31}, Date{2027, 1, 1}}, {{2026, 12, 8}, {2027, 1, 8}}}) {
        platform.setToday(before.year, before.month, before.day, 23, 59, 59);
        start();
        form->Calendar->SelectCell(3, 2);
        form->PanelTimer->Timer1Timer();
        platform.setToday(after.year, after.month, after.day, 0, 0, 0);
        form->PanelTimer->Timer1Timer();
        EXPECT_EQ(form->Calendar->cursor().viewMonth, 1);
        EXPECT_EQ(form->Calendar->cursor().selectedDate, after);
        EXPECT_EQ(form->state().lastDay, after);
        EXPECT_EQ(form->state().startYear, 2027);
        EXPECT_EQ(form->Calendar->StatusPanel0->text(),
                  QString::fromUtf8("今日：令和9年1月") + QString::number(after.day) + QString::fromUtf8("日"));
        form->ApplicationExit();
    }
}

TEST_F(RoutingFixture, ThePeriodicRefreshReadsTheMonthAndTheToDoListsAgain)
{
    start("[View]\r\nScrUd=1\r\nUdTime=2\r\n");
    platform.setToday(2026, 12, 8, 10, 0, 0);
    form->PanelTimer->Timer1Timer();
    home.write("202612.sch", crlf({scheduleLine(8, "", "sync")}));
    home.write("ToDo.dat", crlf({todo("2026/12/20", "1000", "01", "sync")}));
    EXPECT_TRUE(linesOfDay(8).empty());
    platform.setToday(2026, 12, 8, 10, 1, 0);
    form->PanelTimer->Timer1Timer();
    EXPECT_EQ(linesOfDay(8), std::vector<std::string>{"3" + scheduleLine(8, "", "sync")});
    EXPECT_EQ(form->PanelTodo->ListTodoNo->topLevelItemCount(), 1);
}

TEST_F(RoutingFixture, TheProtectedNoteAsksTheProgramsPasswordAndAMissingOneIsSaidOnce)
{
    home.write("Note.lst", crlf({"A", "B"}));
    start("[View]\r\nNotePas=1\r\n");
    QTabBar* tabs = form->PanelNote->TabNote;
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "パスワード設定エラー");
    EXPECT_EQ(tabs->currentIndex(), 1) << "without a password the tab opens";
    form->PeriodicRefresh();
    EXPECT_EQ(platform.messages.size(), 1u) << "said when the user acts only";

    home.write(kPasswordFileName, EncodeStr("right", DateTime{}) + "\r\n");
    form->ApplicationExit();
    start("[View]\r\nNotePas=1\r\n");
    QString label;
    dialogs.handlers.push_back([&label](QDialog& dialog) {
        label = dynamic_cast<TDlgPasswd&>(dialog).LabelPasswd->text();
        return int(QDialog::Rejected);
    });
    tabs = form->PanelNote->TabNote;
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(label, QString::fromUtf8("ノートのパスワードの入力："));
    EXPECT_EQ(tabs->currentIndex(), 0);
}
