// The calendar panel alone: navigation, selection and the rows of the month, the header texts,
// the category display, the week view (the switch, the navigation by week, the captions, the grid
// and the memo column), the jump to a date and the holiday input, offscreen with the fake platform.
#include "calendar/qt/CalendarPanel.h"

#include "calendar/CellPaint.h"
#include "calendar/TDlgHolidayInput.h"
#include "calendar/TDlgJump.h"
#include "calendar/THeaderPanel.h"
#include "calendar/qt/MonthGrid.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/TDlgCatSet.h"
#include "support/PanelFixture.h"
#include "support/ScheduleLines.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

using namespace kal;
using namespace kal::test;

namespace {

struct CalendarFixture : PanelFixture {
    const std::vector<std::string> todoLines;
    std::unique_ptr<QWidget> host; // the window: the header above the grids, the calendar's keys
    std::unique_ptr<qt::CalendarPanel> calendar;

    // The calendar as the window starts it, beside the right panel.
    void start(const std::string& extraSettings = "")
    {
        readSettings(extraSettings);
        calendar.reset();
        host = std::make_unique<QWidget>();
        calendar = std::make_unique<qt::CalendarPanel>(
            context,
            qt::CalendarLinks{[this]() -> const std::vector<std::string>& { return todoLines; },
                              [] { return QPoint(16, 24); }},
            host.get());
        auto* layout = new QVBoxLayout(host.get());
        layout->addWidget(calendar->PanelMonSch);
        layout->addWidget(calendar->GridArea, 1);
        for (QAction* action : calendar->findChildren<QAction*>())
            if (!action->shortcut().isEmpty() && action->shortcutContext() == Qt::WindowShortcut)
                host->addAction(action);
        host->resize(480, 400);
        calendar->StartAt(platform.now().date);
        calendar->SmallCheck(false);
        calendar->ApplyCalendarLook();
        calendar->HeaderEdit();
        calendar->MonthSchEdit();
        calendar->GridCheck();
        host->show();
    }
    Date selected() const { return calendar->cursor().selectedDate; }
    std::pair<int, int> view() const { return {calendar->cursor().viewYear, calendar->cursor().viewMonth}; }
    // The days the week grid shows, top to bottom.
    Date shownDay(int gridRow) const
    {
        return calendar->monthBuild().layout.dateOf(gridRow, calendar->GridWeek->weekRow());
    }
    void pressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : host.get(),
                        static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    void activate()
    {
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    }
    // Each step moves every shown day by exactly seven days and keeps the selection in the week.
    void walkYear(int year, bool forward)
    {
        SCOPED_TRACE(year);
        platform.setToday(year, forward ? 1 : 12, forward ? 1 : 31);
        calendar->CurrentNow();
        Date first = shownDay(0);
        while (selected().year == year) {
            if (forward)
                calendar->NextMonthChange();
            else
                calendar->BeforeMonthChange();
            const Date now = shownDay(0);
            ASSERT_EQ(forward ? daysBetween(first, now) : daysBetween(now, first), 7)
                << now.year << "-" << now.month << "-" << now.day;
            EXPECT_EQ(shownDay(calendar->GridWeek->selectedRow()), selected());
            first = now;
        }
    }
};

} // namespace

TEST_F(CalendarFixture, F9SwitchesViewsAndTheCommandsFollow)
{
    start();
    activate();
    EXPECT_TRUE(calendar->MenuWeekly->isEnabled());
    EXPECT_TRUE(calendar->TBtnWeekly->isEnabled());
    pressKey(Qt::Key_F9);
    ASSERT_EQ(calendar->shownMode(), CalendarViewMode::Week);
    EXPECT_TRUE(calendar->GridWeek->isVisible());
    EXPECT_FALSE(calendar->GridMonth->isVisible());
    EXPECT_TRUE(calendar->MenuWeekly->isChecked());
    EXPECT_FALSE(calendar->MenuMonthly->isChecked());
    EXPECT_TRUE(calendar->TBtnWeekly->isChecked());
    EXPECT_EQ(calendar->MenuNowMonth->text(), QString::fromUtf8("今週(&C)"));
    EXPECT_EQ(calendar->MenuNextMonth->text(), QString::fromUtf8("次週(&N)"));
    EXPECT_EQ(calendar->MenuBeforeMonth->text(), QString::fromUtf8("前週(&B)"));
    EXPECT_EQ(calendar->PopNextMonth->text(), QString::fromUtf8("次週(&N)"));
    EXPECT_EQ(calendar->PopBeforeMonth->text(), QString::fromUtf8("前週(&B)"));
    EXPECT_EQ(calendar->BtnNextMonth->toolTip(), QString::fromUtf8("次週"));
    EXPECT_EQ(calendar->BtnBeforeMonth->toolTip(), QString::fromUtf8("前週"));
    EXPECT_FALSE(calendar->BtnNextYear->isVisible());
    EXPECT_FALSE(calendar->BtnBeforeYear->isVisible());
    EXPECT_FALSE(calendar->MenuNextYear->isVisible());
    EXPECT_FALSE(calendar->YearSeparator->isVisible());
    // Both grids keep the area's size, so the remembered grid height stays right.
    EXPECT_EQ(calendar->GridWeek->size(), calendar->GridArea->size());
    EXPECT_EQ(calendar->GridMonth->size(), calendar->GridArea->size());

    // Years are no week steps: Ctrl+Y does nothing.
    pressKey(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(view(), std::make_pair(2026, 12));

    pressKey(Qt::Key_F9);
    EXPECT_EQ(calendar->shownMode(), CalendarViewMode::Month);
    EXPECT_TRUE(calendar->GridMonth->isVisible());
    EXPECT_TRUE(calendar->MenuMonthly->isChecked());
    EXPECT_TRUE(calendar->TBtnMonthly->isChecked());
    EXPECT_EQ(calendar->MenuNextMonth->text(), QString::fromUtf8("次月(&N)"));
    EXPECT_EQ(calendar->BtnNextMonth->toolTip(), QString::fromUtf8("次月"));
    EXPECT_TRUE(calendar->BtnNextYear->isVisible());
    EXPECT_TRUE(calendar->MenuBeforeYear->isVisible());

    // Each entry and each button selects its view.
    for (QAction* command :
         {calendar->TBtnWeekly, calendar->MenuMonthly, calendar->MenuWeekly, calendar->TBtnMonthly}) {
        const CalendarViewMode before = calendar->shownMode();
        command->trigger();
        EXPECT_NE(calendar->shownMode(), before) << command->objectName().toStdString();
        EXPECT_EQ(calendar->TBtnWeekly->isChecked(), calendar->shownMode() == CalendarViewMode::Week);
    }
}

TEST_F(CalendarFixture, TheFifteenthKeepsItsWeekAndItsDayBothWays)
{
    for (const char* weekStart : {"0", "1"}) {
        SCOPED_TRACE(std::string("StrWeek=") + weekStart);
        platform.setToday(2026, 5, 15);
        start(std::string("[View]\r\nStrWeek=") + weekStart + "\r\n");
        const int column = calendar->GridMonth->selectedColumn(), row = calendar->GridMonth->selectedRow();
        calendar->GridModeClick();
        EXPECT_EQ(calendar->GridWeek->weekRow(), row);
        EXPECT_EQ(calendar->GridWeek->selectedRow(), column);
        EXPECT_EQ(calendar->GridWeek->selectedColumn(), qt::WeekGrid::kLinesColumn);
        EXPECT_EQ(shownDay(column), (Date{2026, 5, 15}));
        // Saturday and Sunday stand where the week start puts them.
        const int saturday = std::string(weekStart) == "0" ? 6 : 5;
        EXPECT_EQ(dayOfWeek(shownDay(saturday)), 6);
        calendar->GridModeClick();
        EXPECT_EQ(calendar->GridMonth->selectedColumn(), column);
        EXPECT_EQ(calendar->GridMonth->selectedRow(), row);
        EXPECT_EQ(selected(), (Date{2026, 5, 15}));
    }
}

TEST_F(CalendarFixture, NextAndPreviousWalkEveryWeekWithoutRepeatOrGap)
{
    start();
    calendar->GridModeClick();
    for (int year : {2026, 2003, 2009}) {
        walkYear(year, true);
        walkYear(year, false);
    }
}

TEST_F(CalendarFixture, DecemberContinuesInJanuaryAndBack)
{
    platform.setToday(2026, 12, 29);
    start();
    activate();
    pressKey(Qt::Key_F9);
    ASSERT_EQ(calendar->shownMode(), CalendarViewMode::Week);
    EXPECT_EQ(calendar->GridWeek->weekRow(), 5); // 27 December to 2 January
    pressKey(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(view(), std::make_pair(2027, 1));
    EXPECT_EQ(selected(), (Date{2027, 1, 5}));
    EXPECT_EQ(calendar->GridWeek->weekRow(), 2);
    pressKey(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(selected(), (Date{2026, 12, 29}));
    EXPECT_EQ(view(), std::make_pair(2027, 1)) << "the shared week stays in January's first row";
    EXPECT_EQ(calendar->GridWeek->weekRow(), 1);
    pressKey(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(view(), std::make_pair(2026, 12));
    EXPECT_EQ(selected(), (Date{2026, 12, 22}));
    EXPECT_EQ(calendar->GridWeek->weekRow(), 4);
    // Home goes to today's week.
    calendar->CurrentNow();
    EXPECT_EQ(selected(), (Date{2026, 12, 29}));
    EXPECT_EQ(calendar->GridWeek->weekRow(), 5);
}

TEST_F(CalendarFixture, LeavingOnATrailingDayWithFiveWeekRowsShowsTheSixthRow)
{
    // May 2026: the 31st opens the sixth row, beside 1 to 6 June.
    platform.setToday(2026, 5, 26);
    start("[View]\r\nMonWeek=5\r\n");
    EXPECT_EQ(calendar->GridMonth->rowCount(), 6);
    calendar->GridModeClick();
    calendar->NextMonthChange();
    EXPECT_EQ(calendar->GridWeek->weekRow(), 6);
    EXPECT_EQ(view(), std::make_pair(2026, 5));
    QTest::mouseClick(calendar->GridWeek, Qt::LeftButton, {}, calendar->GridWeek->cellRect(1, 3).center());
    EXPECT_EQ(selected(), (Date{2026, 6, 3}));
    EXPECT_EQ(calendar->selectedRelation(), MonthRelation::Next);
    calendar->GridModeClick();
    EXPECT_EQ(calendar->GridMonth->rowCount(), 7);
    EXPECT_EQ(calendar->GridMonth->selectedColumn(), 3);
    EXPECT_EQ(calendar->GridMonth->selectedRow(), 6);
    EXPECT_EQ(selected(), (Date{2026, 6, 3}));
}

TEST_F(CalendarFixture, MemoColumnShowsTheMemoWithoutTheMarkAndGivesWayWhenOff)
{
    home.write("20261209.mem", crlf({sjis::fromUtf8Lossy("打ち合わせの準備"), "2"}));
    start("[View]\r\nCalView=111101100\r\n");
    calendar->GridModeClick();
    const auto& build = calendar->monthBuild();
    ASSERT_TRUE(build.memoTextsRead);
    CellPos pos;
    ASSERT_TRUE(build.layout.find(Date{2026, 12, 9}, pos));
    EXPECT_EQ(build.memoText(pos.column, pos.row).size(), 2u);
    EXPECT_EQ(build.layout.cell(pos.column, pos.row).mark, 0);
    const std::vector<int> widths = calendar->GridWeek->columnWidths();
    EXPECT_EQ(widths[0], 48);
    EXPECT_GT(widths[2], 0);
    EXPECT_LE(std::abs(widths[1] - widths[2]), 1);
    // A move within the month reads nothing again; a build does.
    files::deleteFile(home.file("20261209.mem"));
    calendar->BeforeMonthChange();
    calendar->NextMonthChange();
    EXPECT_EQ(calendar->monthBuild().memoText(pos.column, pos.row).size(), 2u);
    calendar->CurrentNow();
    EXPECT_TRUE(calendar->monthBuild().memoText(pos.column, pos.row).empty());
    // Every memo change reaches the column, also without memo marks in the calendar.
    EXPECT_TRUE(calendar->ShowsMemoChange(false));
    home.write("20261209.mem", crlf({"new"}));
    calendar->RebuildMonth();
    EXPECT_EQ(calendar->monthBuild().memoText(pos.column, pos.row), std::vector<std::string>{"new"});

    start("[View]\r\nWeekView=111101111\r\n");
    calendar->GridModeClick();
    EXPECT_FALSE(calendar->monthBuild().memoTextsRead);
    const std::vector<int> off = calendar->GridWeek->columnWidths();
    EXPECT_EQ(off[2], 0);
    EXPECT_EQ(off[1], calendar->GridWeek->width() - 48 - 3 - 5);
    // The keyboard cannot move onto the hidden column.
    calendar->GridWeek->setFocus();
    QTest::keyClick(calendar->GridWeek, Qt::Key_Right);
    EXPECT_EQ(calendar->GridWeek->selectedColumn(), qt::WeekGrid::kLinesColumn);

    start("[View]\r\nWeekView=000010000\r\n");
    calendar->GridModeClick();
    EXPECT_TRUE(calendar->monthBuild().memoTextsRead) << "the memo flag alone shows the column";
    EXPECT_GT(calendar->GridWeek->columnWidths()[2], 0);
}

TEST_F(CalendarFixture, KeyboardAndMouseSelectDaysOfTheShownWeek)
{
    start();
    calendar->GridModeClick();
    calendar->GridWeek->setFocus();
    QTest::keyClick(calendar->GridWeek, Qt::Key_Down);
    EXPECT_EQ(selected(), (Date{2026, 12, 9}));
    QTest::keyClick(calendar->GridWeek, Qt::Key_Right);
    EXPECT_EQ(calendar->GridWeek->selectedColumn(), qt::WeekGrid::kMemoColumn);
    EXPECT_EQ(selected(), (Date{2026, 12, 9}));
    // A click on the date column selects that day.
    QTest::mouseClick(calendar->GridWeek, Qt::LeftButton, {}, calendar->GridWeek->cellRect(0, 5).center());
    EXPECT_EQ(selected(), (Date{2026, 12, 11}));
    EXPECT_EQ(calendar->GridMonth->selectedColumn(), 5);
}

// Each view through the interface the panel uses: a key moves the selected day, a step moves by
// the view's period, and a point of the grid names the day a click there selects.
TEST_F(CalendarFixture, EveryViewMovesAndNamesItsDaysThroughTheInterface)
{
    struct Case {
        CalendarViewMode mode;
        Qt::Key nextDayKey;
        std::pair<int, int> steppedMonth;
        Date stepped;
        QPoint firstDayCell, noDayCell; // grid cells (column, row)
        Date firstDay;                  // the grid's first day: Sunday 29 November or 6 December
    };
    const Case cases[] = {
        {CalendarViewMode::Month, Qt::Key_Right, {2027, 1}, {2027, 1, 9}, {0, 1}, {3, 0}, {2026, 11, 29}},
        {CalendarViewMode::Week, Qt::Key_Down, {2026, 12}, {2026, 12, 16}, {0, 0}, {-1, -1}, {2026, 12, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        start();
        calendar->ChooseView(c.mode);
        qt::CalendarView& shown = calendar->view(c.mode);
        ASSERT_EQ(calendar->shownMode(), c.mode);
        ASSERT_EQ(calendar->CurrentGrid(), shown.grid());
        shown.grid()->setFocus();
        QTest::keyClick(shown.grid(), c.nextDayKey);
        EXPECT_EQ(selected(), (Date{2026, 12, 9}));
        calendar->NextMonthChange();
        EXPECT_EQ(view(), c.steppedMonth);
        EXPECT_EQ(selected(), c.stepped);
        calendar->BeforeMonthChange();
        EXPECT_EQ(selected(), (Date{2026, 12, 9}));

        auto centre = [&](QPoint cell) { return shown.grid()->cellRect(cell.x(), cell.y()).center(); };
        const std::optional<CellPos> first = shown.dayAt(centre(c.firstDayCell));
        ASSERT_TRUE(first);
        EXPECT_EQ(calendar->monthBuild().layout.dateOf(first->column, first->row), c.firstDay);
        EXPECT_FALSE(shown.dayAt(c.noDayCell.x() < 0 ? QPoint(-2, -2) : centre(c.noDayCell)));
        QTest::mouseClick(shown.grid(), Qt::LeftButton, {}, centre(c.firstDayCell));
        EXPECT_EQ(selected(), c.firstDay);
    }
}

TEST_F(CalendarFixture, JumpShowsThePickedDaysMonthWithTheDaySelected)
{
    start();
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& jump = dynamic_cast<TDlgJump&>(dialog);
        EXPECT_EQ(jump.windowTitle(), QString::fromUtf8("指定した日付へ移動"));
        EXPECT_EQ(jump.DtpJumpDate->date(), QDate(2026, 12, 8)) << "it starts at today";
        jump.DtpJumpDate->setDate(QDate(2031, 5, 17));
        return static_cast<int>(QDialog::Accepted);
    });
    calendar->MenuJump->trigger();
    EXPECT_EQ(view(), std::make_pair(2031, 5));
    EXPECT_EQ(selected(), (Date{2031, 5, 17}));
    EXPECT_EQ(
        calendar->monthBuild().layout.dateOf(calendar->GridMonth->selectedColumn(), calendar->GridMonth->selectedRow()),
        (Date{2031, 5, 17}));
    EXPECT_FALSE(dialogOpen);
}

TEST_F(CalendarFixture, ANewHolidayShowsInTheCalendar)
{
    start();
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgHolidayInput&>(dialog);
        EXPECT_EQ(input.CmbDay->currentText(), QString::fromUtf8("8日")) << "preset from the selected day";
        input.EdtTitle->setText(QString::fromUtf8("創立記念日"));
        input.CmbBunrui->setCurrentIndex(1);
        input.BtnOkClick();
        return input.result();
    });
    calendar->PopHoliday->trigger();
    const MonthLayout& layout = calendar->monthBuild().layout;
    const auto& lines = calendar->monthBuild().lists.at(layout.currentColumn[8], layout.currentRow[8]);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "1" + sj("創立記念日"));
}

TEST_F(CalendarFixture, NavigationStaysWithin1900To2099)
{
    platform.setToday(2099, 6, 15);
    start();
    calendar->NextMonthChange();
    EXPECT_EQ(view(), std::make_pair(2099, 6)) << "in 2099 the month cannot be advanced";
    calendar->NextYearChange();
    EXPECT_EQ(view(), std::make_pair(2099, 6));
    calendar->BeforeMonthChange();
    EXPECT_EQ(view(), std::make_pair(2099, 5));
    calendar->BeforeYearChange();
    EXPECT_EQ(view(), std::make_pair(2098, 5));
    calendar->NextMonthChange();
    EXPECT_EQ(view(), std::make_pair(2098, 6));

    platform.setToday(1900, 3, 1);
    calendar->CurrentNow();
    EXPECT_EQ(view(), std::make_pair(1900, 3));
    calendar->BeforeMonthChange();
    calendar->BeforeYearChange();
    EXPECT_EQ(view(), std::make_pair(1900, 3));
    calendar->NextYearChange();
    EXPECT_EQ(view(), std::make_pair(1901, 3));
    calendar->BeforeMonthChange();
    EXPECT_EQ(view(), std::make_pair(1901, 2));
    calendar->NextMonthChange();
    calendar->NextMonthChange();
    EXPECT_EQ(view(), std::make_pair(1901, 4));
    EXPECT_EQ(selected(), (Date{1901, 4, 1}));

    platform.setToday(2026, 12, 8);
    calendar->CurrentNow();
    EXPECT_EQ(view(), std::make_pair(2026, 12));
    EXPECT_EQ(selected(), (Date{2026, 12, 8}));
}

TEST_F(CalendarFixture, ThirtyFirstToAShorterMonthKeepsTheCellAndTakesItsDay)
{
    platform.setToday(2026, 1, 31);
    start();
    const int column = calendar->GridMonth->selectedColumn(), row = calendar->GridMonth->selectedRow();
    EXPECT_EQ(column, 6);
    EXPECT_EQ(row, 5);
    calendar->NextMonthChange();
    EXPECT_EQ(view(), std::make_pair(2026, 2));
    EXPECT_EQ(calendar->GridMonth->selectedColumn(), column);
    EXPECT_EQ(calendar->GridMonth->selectedRow(), row);
    EXPECT_EQ(selected(), (Date{2026, 3, 7}));
    EXPECT_EQ(calendar->selectedRelation(), MonthRelation::Next);
}

TEST_F(CalendarFixture, NeighbouringMonthCellsCanBeSelectedWithoutChangingTheMonth)
{
    start();
    calendar->SelectCell(0, 1);
    EXPECT_EQ(selected(), (Date{2026, 11, 29}));
    EXPECT_EQ(calendar->selectedRelation(), MonthRelation::Previous);
    EXPECT_EQ(view(), std::make_pair(2026, 12));
    calendar->SelectCell(6, 6);
    EXPECT_EQ(selected(), (Date{2027, 1, 9}));
    EXPECT_EQ(calendar->selectedRelation(), MonthRelation::Next);
}

TEST_F(CalendarFixture, RightButtonSelectsTheCellUnderThePointer)
{
    start();
    QRect cell = calendar->GridMonth->cellRect(4, 3);
    QTest::mouseClick(calendar->GridMonth, Qt::RightButton, {}, cell.center());
    EXPECT_EQ(calendar->GridMonth->selectedColumn(), 4);
    EXPECT_EQ(calendar->GridMonth->selectedRow(), 3);
    EXPECT_EQ(selected(), (Date{2026, 12, 17}));
    // The header row is not a day.
    QTest::mouseClick(calendar->GridMonth, Qt::LeftButton, {}, calendar->GridMonth->cellRect(2, 0).center());
    EXPECT_EQ(calendar->GridMonth->selectedRow(), 3);
}

TEST_F(CalendarFixture, FiveWeekRowsGrowToSixOnlyForASixthWeekSelection)
{
    platform.setToday(2026, 8, 31); // August 2026 reaches the sixth week row
    start("[View]\r\nMonWeek=5\r\n");
    EXPECT_EQ(calendar->GridMonth->rowCount(), 7);
    calendar->SelectCell(3, 2); // 5 August
    EXPECT_EQ(calendar->GridMonth->rowCount(), 7) << "the grid changes only when the month is rebuilt";
    calendar->NextMonthChange();
    EXPECT_EQ(selected(), (Date{2026, 9, 5}));
    EXPECT_EQ(calendar->GridMonth->rowCount(), 6);
}

TEST_F(CalendarFixture, CategoryFilterToggleInvertsTheTableAndHidesCheckedCategories)
{
    home.write("Category.tbl", crlf({"Work          1 00000255", "Home          0"}));
    ScheduleFields f;
    f.day = 10;
    f.category = "Work";
    f.title = "meeting";
    home.write("202612.sch", crlf({ComposeSchedule(f)}));
    start();
    auto bandsOnTenth = [this] {
        CellPos pos;
        calendar->monthBuild().layout.find(Date{2026, 12, 10}, pos);
        return PaintCell(calendar->monthBuild().layout, calendar->monthBuild().lists, calendar->categories(),
                         calendar->calendarLook(), calendar->cursor().today, pos.column, pos.row)
            .bands.size();
    };
    EXPECT_EQ(bandsOnTenth(), 1u);
    calendar->MenuCatView2->trigger();
    EXPECT_EQ(calendar->catViewMode(), 1);
    EXPECT_TRUE(calendar->TBtnCatView->isChecked());
    EXPECT_TRUE(calendar->MenuCatView2->isChecked());
    EXPECT_EQ(home.read("Category.tbl"), crlf({"Work          0 00000255", "Home          1"}));
    IniFile ini(home.file("Kalendra.ini"));
    ini.load();
    EXPECT_EQ(ini.readInteger("View", "Catchk", -1), 1);
    EXPECT_EQ(bandsOnTenth(), 0u);

    calendar->TBtnCatView->trigger();
    EXPECT_EQ(calendar->catViewMode(), 0);
    EXPECT_FALSE(calendar->TBtnCatView->isChecked());
    EXPECT_EQ(bandsOnTenth(), 1u);
}

TEST_F(CalendarFixture, FilterToggleWithoutATableChangesOnlyTheMode)
{
    start();
    std::string before = home.read("Kalendra.ini");
    calendar->MenuCatViewClick();
    EXPECT_EQ(calendar->catViewMode(), 1);
    EXPECT_FALSE(home.exists("Category.tbl"));
    EXPECT_EQ(home.read("Kalendra.ini"), before);
}

TEST_F(CalendarFixture, HeaderTextsStatusBarAndWesternDates)
{
    start();
    EXPECT_EQ(calendar->LabelYear->text(), "2026");
    EXPECT_EQ(calendar->LabelWareki->text(), QString::fromUtf8("令和8年"));
    EXPECT_EQ(calendar->PanelMonSch->caption(), "12");
    EXPECT_EQ(calendar->StatusPanel0->text(), QString::fromUtf8("今日：令和8年12月8日"));

    platform.setToday(2026, 4, 14);
    start("[View]\r\nDateJap=0\r\n");
    EXPECT_EQ(calendar->LabelWareki->text(), "April");
    EXPECT_EQ(calendar->StatusPanel0->text(), QString::fromUtf8("今日：2026年4月14日"));
    EXPECT_EQ(PaintHeader(calendar->monthBuild().layout, calendar->calendarLook(), 0, HeaderForm::Short).text, "Sun");
}

TEST_F(CalendarFixture, TheCategoryDialogsModeTakesEffect)
{
    home.write("Category.tbl", crlf({"Work          1 00000255"}));
    start();
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& categories = dynamic_cast<TDlgCatSet&>(dialog);
        categories.setViewMode(1);
        categories.BtnOkClick();
        return categories.result();
    });
    calendar->TBtnCat->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgCatSet");
    EXPECT_FALSE(dialogOpen);
    EXPECT_EQ(calendar->catViewMode(), 1);
    EXPECT_TRUE(calendar->MenuCatView2->isChecked());
    EXPECT_TRUE(calendar->TBtnCatView->isChecked());
    // The check mark stayed, so the category is now stored as hidden.
    EXPECT_EQ(home.read("Category.tbl"), crlf({"Work          0 00000255"}));
}

TEST_F(CalendarFixture, FiveWeekRowsGrowWhenANavigationLandsInTheSixthWeek)
{
    platform.setToday(2026, 7, 31);
    start("[View]\r\nMonWeek=5\r\n");
    EXPECT_EQ(calendar->GridMonth->rowCount(), 6);
    calendar->NextMonthChange(); // 31 August 2026 lies in the sixth week row
    EXPECT_EQ(selected(), (Date{2026, 8, 31}));
    EXPECT_EQ(calendar->GridMonth->selectedRow(), 6);
    EXPECT_EQ(calendar->GridMonth->rowCount(), 7);
}

TEST_F(CalendarFixture, TheGridsAreTablesOfDaysReadAsSpoken)
{
    home.write("202612.sch",
               crlf({plainScheduleLine(15, "", "", "大掃除"), plainScheduleLine(15, "10:00", "11:00", "歯科検診")}));
    start();
    QAccessibleTableInterface* month = QAccessible::queryAccessibleInterface(calendar->GridMonth)->tableInterface();
    ASSERT_TRUE(month && month->columnCount() == 7 && month->rowCount() == 6);
    EXPECT_EQ(month->columnDescription(0) + month->columnDescription(6), QString::fromUtf8("日曜日土曜日"));
    EXPECT_EQ(month->cellAt(0, 0)->text(QAccessible::Name), QString::fromUtf8("11月29日 日曜日、前の月、赤口"));
    EXPECT_EQ(month->cellAt(2, 2)->text(QAccessible::Name),
              QString::fromUtf8("12月15日 火曜日、大安、大掃除、10:00から11:00 歯科検診"));
    QAccessibleInterface* today = month->selectedCells().value(0);
    EXPECT_EQ(today->text(QAccessible::Name), QString::fromUtf8("12月8日 火曜日、今日、先負"));

    calendar->GridModeClick();
    QAccessibleTableInterface* week = QAccessible::queryAccessibleInterface(calendar->GridWeek)->tableInterface();
    ASSERT_TRUE(week && week->rowCount() == 7 && week->columnCount() == 2);
    EXPECT_EQ(week->columnDescription(0) + week->columnDescription(1), QString::fromUtf8("予定メモ"));
    EXPECT_EQ(week->rowDescription(2), QString::fromUtf8("12月8日 火曜日"));
}

TEST_F(CalendarFixture, KeysMoveTheFocusedDayAScreenReaderReads)
{
    // What a screen reader reads when told of a focus change: the focused, selected cell.
    auto focusedDay = [](QWidget* grid) {
        QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(grid)->focusChild();
        return cell && cell->state().focused && cell->state().selected ? cell->text(QAccessible::Name) : QString();
    };
    start();
    activate();
    calendar->GridMonth->setFocus();
    pressKey(Qt::Key_Right);
    EXPECT_TRUE(focusedDay(calendar->GridMonth).startsWith(QString::fromUtf8("12月9日 水曜日")));
    pressKey(Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(focusedDay(calendar->GridMonth).startsWith(QString::fromUtf8("1月9日 土曜日")));
}
