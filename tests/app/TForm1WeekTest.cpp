// The week view in the main window: the switch, the navigation by week, the captions, the grid
// and the memo column, offscreen with the fake platform.
#include "calendar/THeaderPanel.h"
#include "calendar/qt/MonthGrid.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

struct WeekFixture : MainWindowFixture {
    Date selected() const { return form->Calendar->cursor().selectedDate; }
    std::pair<int, int> view() const { return {form->Calendar->cursor().viewYear, form->Calendar->cursor().viewMonth}; }
    // The days the week grid shows, top to bottom.
    Date shownDay(int gridRow) const
    {
        return form->Calendar->monthBuild().layout.dateOf(gridRow, form->Calendar->weekRow());
    }
    void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(),
                        static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    void activate()
    {
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // Each step moves every shown day by exactly seven days and keeps the selection in the week.
    void walkYear(int year, bool forward)
    {
        SCOPED_TRACE(year);
        platform.setToday(year, forward ? 1 : 12, forward ? 1 : 31);
        form->Calendar->CurrentNow();
        Date first = shownDay(0);
        while (selected().year == year) {
            if (forward)
                form->Calendar->NextMonthChange();
            else
                form->Calendar->BeforeMonthChange();
            const Date now = shownDay(0);
            ASSERT_EQ(forward ? daysBetween(first, now) : daysBetween(now, first), 7)
                << now.year << "-" << now.month << "-" << now.day;
            EXPECT_EQ(shownDay(form->Calendar->GridWeek->selectedRow()), selected());
            first = now;
        }
    }
};

} // namespace

TEST_F(WeekFixture, F9SwitchesViewsAndTheCommandsFollow)
{
    start();
    activate();
    EXPECT_TRUE(form->Calendar->MenuWeekly->isEnabled());
    EXPECT_TRUE(form->Calendar->TBtnWeekly->isEnabled());
    pressKey(Qt::Key_F9);
    ASSERT_TRUE(form->Calendar->weekShown());
    EXPECT_TRUE(form->Calendar->GridWeek->isVisible());
    EXPECT_FALSE(form->Calendar->GridMonth->isVisible());
    EXPECT_TRUE(form->Calendar->MenuWeekly->isChecked());
    EXPECT_FALSE(form->Calendar->MenuMonthly->isChecked());
    EXPECT_TRUE(form->Calendar->TBtnWeekly->isChecked());
    EXPECT_EQ(form->Calendar->MenuNowMonth->text(), QString::fromUtf8("今週(&C)"));
    EXPECT_EQ(form->Calendar->MenuNextMonth->text(), QString::fromUtf8("次週(&N)"));
    EXPECT_EQ(form->Calendar->MenuBeforeMonth->text(), QString::fromUtf8("前週(&B)"));
    EXPECT_EQ(form->Calendar->PopNextMonth->text(), QString::fromUtf8("次週(&N)"));
    EXPECT_EQ(form->Calendar->PopBeforeMonth->text(), QString::fromUtf8("前週(&B)"));
    EXPECT_EQ(form->Calendar->BtnNextMonth->toolTip(), QString::fromUtf8("次週"));
    EXPECT_EQ(form->Calendar->BtnBeforeMonth->toolTip(), QString::fromUtf8("前週"));
    EXPECT_FALSE(form->Calendar->BtnNextYear->isVisible());
    EXPECT_FALSE(form->Calendar->BtnBeforeYear->isVisible());
    EXPECT_FALSE(form->Calendar->MenuNextYear->isVisible());
    EXPECT_FALSE(form->Calendar->YearSeparator->isVisible());
    // Both grids keep the area's size, so the remembered grid height stays right.
    EXPECT_EQ(form->Calendar->GridWeek->size(), form->Calendar->GridArea->size());
    EXPECT_EQ(form->Calendar->GridMonth->size(), form->Calendar->GridArea->size());

    // Years are no week steps: Ctrl+Y does nothing.
    pressKey(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(view(), std::make_pair(2026, 12));

    pressKey(Qt::Key_F9);
    EXPECT_FALSE(form->Calendar->weekShown());
    EXPECT_TRUE(form->Calendar->GridMonth->isVisible());
    EXPECT_TRUE(form->Calendar->MenuMonthly->isChecked());
    EXPECT_TRUE(form->Calendar->TBtnMonthly->isChecked());
    EXPECT_EQ(form->Calendar->MenuNextMonth->text(), QString::fromUtf8("次月(&N)"));
    EXPECT_EQ(form->Calendar->BtnNextMonth->toolTip(), QString::fromUtf8("次月"));
    EXPECT_TRUE(form->Calendar->BtnNextYear->isVisible());
    EXPECT_TRUE(form->Calendar->MenuBeforeYear->isVisible());

    // Each entry and each button selects its view.
    for (QAction* command : {form->Calendar->TBtnWeekly, form->Calendar->MenuMonthly, form->Calendar->MenuWeekly,
                             form->Calendar->TBtnMonthly}) {
        const bool before = form->Calendar->weekShown();
        command->trigger();
        EXPECT_NE(form->Calendar->weekShown(), before) << command->objectName().toStdString();
        EXPECT_EQ(form->Calendar->TBtnWeekly->isChecked(), form->Calendar->weekShown());
    }
}

TEST_F(WeekFixture, TheFifteenthKeepsItsWeekAndItsDayBothWays)
{
    for (const char* weekStart : {"0", "1"}) {
        SCOPED_TRACE(std::string("StrWeek=") + weekStart);
        platform.setToday(2026, 5, 15);
        start(std::string("[View]\r\nStrWeek=") + weekStart + "\r\n");
        const int column = form->Calendar->GridMonth->selectedColumn(), row = form->Calendar->GridMonth->selectedRow();
        form->Calendar->GridModeClick();
        EXPECT_EQ(form->Calendar->weekRow(), row);
        EXPECT_EQ(form->Calendar->GridWeek->selectedRow(), column);
        EXPECT_EQ(form->Calendar->GridWeek->selectedColumn(), qt::WeekGrid::kLinesColumn);
        EXPECT_EQ(shownDay(column), (Date{2026, 5, 15}));
        // Saturday and Sunday stand where the week start puts them.
        const int saturday = std::string(weekStart) == "0" ? 6 : 5;
        EXPECT_EQ(dayOfWeek(shownDay(saturday)), 6);
        form->Calendar->GridModeClick();
        EXPECT_EQ(form->Calendar->GridMonth->selectedColumn(), column);
        EXPECT_EQ(form->Calendar->GridMonth->selectedRow(), row);
        EXPECT_EQ(selected(), (Date{2026, 5, 15}));
        form->ApplicationExit();
        form.reset();
    }
}

TEST_F(WeekFixture, NextAndPreviousWalkEveryWeekWithoutRepeatOrGap)
{
    start();
    form->Calendar->GridModeClick();
    for (int year : {2026, 2003, 2009}) {
        walkYear(year, true);
        walkYear(year, false);
    }
}

TEST_F(WeekFixture, DecemberContinuesInJanuaryAndBack)
{
    platform.setToday(2026, 12, 29);
    start();
    activate();
    pressKey(Qt::Key_F9);
    ASSERT_TRUE(form->Calendar->weekShown());
    EXPECT_EQ(form->Calendar->weekRow(), 5); // 27 December to 2 January
    pressKey(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(view(), std::make_pair(2027, 1));
    EXPECT_EQ(selected(), (Date{2027, 1, 5}));
    EXPECT_EQ(form->Calendar->weekRow(), 2);
    pressKey(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(selected(), (Date{2026, 12, 29}));
    EXPECT_EQ(view(), std::make_pair(2027, 1)) << "the shared week stays in January's first row";
    EXPECT_EQ(form->Calendar->weekRow(), 1);
    pressKey(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(view(), std::make_pair(2026, 12));
    EXPECT_EQ(selected(), (Date{2026, 12, 22}));
    EXPECT_EQ(form->Calendar->weekRow(), 4);
    // Home goes to today's week.
    form->Calendar->CurrentNow();
    EXPECT_EQ(selected(), (Date{2026, 12, 29}));
    EXPECT_EQ(form->Calendar->weekRow(), 5);
}

TEST_F(WeekFixture, LeavingOnATrailingDayWithFiveWeekRowsShowsTheSixthRow)
{
    // May 2026: the 31st opens the sixth row, beside 1 to 6 June.
    platform.setToday(2026, 5, 26);
    start("[View]\r\nMonWeek=5\r\n");
    EXPECT_EQ(form->Calendar->GridMonth->rowCount(), 6);
    form->Calendar->GridModeClick();
    form->Calendar->NextMonthChange();
    EXPECT_EQ(form->Calendar->weekRow(), 6);
    EXPECT_EQ(view(), std::make_pair(2026, 5));
    QTest::mouseClick(form->Calendar->GridWeek, Qt::LeftButton, {}, form->Calendar->GridWeek->cellRect(1, 3).center());
    EXPECT_EQ(selected(), (Date{2026, 6, 3}));
    EXPECT_EQ(form->Calendar->selectedRelation(), MonthRelation::Next);
    form->Calendar->GridModeClick();
    EXPECT_EQ(form->Calendar->GridMonth->rowCount(), 7);
    EXPECT_EQ(form->Calendar->GridMonth->selectedColumn(), 3);
    EXPECT_EQ(form->Calendar->GridMonth->selectedRow(), 6);
    EXPECT_EQ(selected(), (Date{2026, 6, 3}));
}

TEST_F(WeekFixture, MemoColumnShowsTheMemoWithoutTheMarkAndGivesWayWhenOff)
{
    home.write("20261209.mem", crlf({sjis::fromUtf8Lossy("打ち合わせの準備"), "2"}));
    start("[View]\r\nCalView=111101100\r\n");
    form->Calendar->GridModeClick();
    const auto& build = form->Calendar->monthBuild();
    ASSERT_TRUE(build.memoTextsRead);
    CellPos pos;
    ASSERT_TRUE(build.layout.find(Date{2026, 12, 9}, pos));
    EXPECT_EQ(build.memoText(pos.column, pos.row).size(), 2u);
    EXPECT_EQ(build.layout.cell(pos.column, pos.row).mark, 0);
    const std::vector<int> widths = form->Calendar->GridWeek->columnWidths();
    EXPECT_EQ(widths[0], 48);
    EXPECT_GT(widths[2], 0);
    EXPECT_LE(std::abs(widths[1] - widths[2]), 1);
    // A move within the month reads nothing again; a build does.
    files::deleteFile(home.file("20261209.mem"));
    form->Calendar->BeforeMonthChange();
    form->Calendar->NextMonthChange();
    EXPECT_EQ(form->Calendar->monthBuild().memoText(pos.column, pos.row).size(), 2u);
    form->Calendar->CurrentNow();
    EXPECT_TRUE(form->Calendar->monthBuild().memoText(pos.column, pos.row).empty());
    // Every memo change reaches the column, also without memo marks in the calendar.
    form->Calendar->SelectCell(pos.column, pos.row);
    for (const char* text : {"new", "new\nedited"}) {
        dialogs.handlers.push_back([text](QDialog& dialog) {
            dialog.findChild<QPlainTextEdit*>()->setPlainText(text);
            QMetaObject::invokeMethod(dialog.findChild<QPushButton*>("BtnOk"), "click");
            return dialog.result();
        });
        form->ListMemo->ShowDlgMemo();
        EXPECT_EQ(form->Calendar->monthBuild().memoText(pos.column, pos.row).back(),
                  QString(text).split('\n').back().toStdString());
    }
    form->ListMemo->MemoDelete();
    EXPECT_TRUE(form->Calendar->monthBuild().memoText(pos.column, pos.row).empty());
    form->ApplicationExit();
    form.reset();

    start("[View]\r\nWeekView=111101111\r\n");
    form->Calendar->GridModeClick();
    EXPECT_FALSE(form->Calendar->monthBuild().memoTextsRead);
    const std::vector<int> off = form->Calendar->GridWeek->columnWidths();
    EXPECT_EQ(off[2], 0);
    EXPECT_EQ(off[1], form->Calendar->GridWeek->width() - 48 - 3 - 5);
    // The keyboard cannot move onto the hidden column.
    form->Calendar->GridWeek->setFocus();
    QTest::keyClick(form->Calendar->GridWeek, Qt::Key_Right);
    EXPECT_EQ(form->Calendar->GridWeek->selectedColumn(), qt::WeekGrid::kLinesColumn);
}

TEST_F(WeekFixture, KeyboardAndMouseSelectDaysOfTheShownWeek)
{
    start();
    form->Calendar->GridModeClick();
    form->Calendar->GridWeek->setFocus();
    QTest::keyClick(form->Calendar->GridWeek, Qt::Key_Down);
    EXPECT_EQ(selected(), (Date{2026, 12, 9}));
    QTest::keyClick(form->Calendar->GridWeek, Qt::Key_Right);
    EXPECT_EQ(form->Calendar->GridWeek->selectedColumn(), qt::WeekGrid::kMemoColumn);
    EXPECT_EQ(selected(), (Date{2026, 12, 9}));
    // A click on the date column selects that day.
    QTest::mouseClick(form->Calendar->GridWeek, Qt::LeftButton, {}, form->Calendar->GridWeek->cellRect(0, 5).center());
    EXPECT_EQ(selected(), (Date{2026, 12, 11}));
    EXPECT_EQ(form->Calendar->GridMonth->selectedColumn(), 5);
    EXPECT_EQ(form->DayList->PanelDaySch->text().contains("11"), true);
}

TEST_F(WeekFixture, MiniCalendarShowsTheMonthAndTheWeekComesBack)
{
    start();
    form->Calendar->GridModeClick();
    form->Calendar->NextMonthChange();
    const Date day = selected();
    form->SmallSize();
    EXPECT_FALSE(form->Calendar->weekShown());
    EXPECT_TRUE(form->Calendar->GridMonth->isVisible());
    EXPECT_EQ(selected(), day);
    form->Calendar->GridModeClick(); // nothing in the mini calendar
    EXPECT_FALSE(form->Calendar->weekShown());
    EXPECT_TRUE(form->Calendar->MenuMonthly->isChecked());
    form->SmallSize();
    EXPECT_TRUE(form->Calendar->weekShown());
    EXPECT_TRUE(form->Calendar->BtnBeforeMonth->isVisible());
    EXPECT_FALSE(form->Calendar->BtnNextYear->isVisible());
    EXPECT_EQ(selected(), day);
}

TEST_F(WeekFixture, TheViewIsWrittenAtExitAndAppliedAtTheNextStart)
{
    start();
    form->Calendar->GridModeClick();
    form->ApplicationExit();
    form.reset();
    const std::string written = home.read("Kalendra.ini");
    EXPECT_NE(written.find("GridMode=1"), std::string::npos);
    start(written.substr(written.find("[Window]")));
    EXPECT_TRUE(form->Calendar->weekShown());
    EXPECT_EQ(shownDay(form->Calendar->GridWeek->selectedRow()), (Date{2026, 12, 8}));
    form->Calendar->GridModeClick();
    form->ApplicationExit();
    form.reset();
    EXPECT_NE(home.read("Kalendra.ini").find("GridMode=0"), std::string::npos);
}
