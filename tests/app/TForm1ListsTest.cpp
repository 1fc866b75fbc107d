// The main window's entries into the lists and the calendar's small dialogs: what each opens,
// and the calendar rebuilt after a change.
#include "app/TForm1.h"
#include "calendar/TDlgHolidayInput.h"
#include "calendar/TDlgJump.h"
#include "calendar/qt/MonthGrid.h"
#include "lists/TDlgFind.h"
#include "lists/TFormEdit.h"
#include "memo/TDlgMemo.h"
#include "schedule/ScheduleRecord.h"
#include "support/MainWindowFixture.h"
#include "support/ScheduleLines.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

bool cellHasLine(const TForm1& form, const Date& date, const std::string& line)
{
    CellPos pos;
    if (!form.Calendar->monthBuild().layout.find(date, pos))
        return false;
    for (const CellLine& cell : form.Calendar->monthBuild().lists.at(pos.column, pos.row))
        if (cell.text == line)
            return true;
    return false;
}

// Closes whatever window it gets, noting its class and caption.
FakeDialogRunner::Handler closeNoting(QString& caption)
{
    return [&caption](QDialog& dialog) {
        caption = dialog.windowTitle();
        return static_cast<int>(QDialog::Rejected);
    };
}

using ListsWindowFixture = MainWindowFixture;

} // namespace

TEST_F(ListsWindowFixture, EveryEntryOpensItsWindow)
{
    start();
    struct Case {
        QAction* action;
        const char* window;
        const char* caption;
    };
    const Case cases[] = {
        {form->Lists->MenuSchEdit, "kal::TFormEdit", "スケジュール一覧"},
        {form->Lists->TBtnSchRep, "kal::TFormEdit", "スケジュール一覧"},
        {form->Lists->PopSchEdit, "kal::TFormEdit", "スケジュール一覧"},
        {form->Lists->PopTraySchEdit, "kal::TFormEdit", "スケジュール一覧"},
        {form->Lists->MenuHoliday, "kal::TFormEdit", "祝日・休日・記念日一覧"},
        {form->Lists->BtnHoliday, "kal::TFormEdit", "祝日・休日・記念日一覧"},
        {form->Lists->MenuMemoList, "kal::TFormEdit", "メモ一覧"},
        {form->Lists->TBtnMemo, "kal::TFormEdit", "メモ一覧"},
        {form->Lists->MenuFind, "kal::TDlgFind", "検索"},
        {form->Lists->TBtnFind, "kal::TDlgFind", "検索"},
        {form->Calendar->MenuJump, "kal::TDlgJump", "指定した日付へ移動"},
        {form->Calendar->TBtnJump, "kal::TDlgJump", "指定した日付へ移動"},
        {form->Calendar->PopJump, "kal::TDlgJump", "指定した日付へ移動"},
        {form->Calendar->PopHoliday, "kal::TDlgHolidayInput", "祝日・休日・記念日新規登録"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action->objectName().toStdString());
        EXPECT_TRUE(c.action->isEnabled());
        QString caption;
        dialogs.handlers.push_back(closeNoting(caption));
        dialogs.shownClasses.clear();
        c.action->trigger();
        ASSERT_EQ(dialogs.shownClasses.size(), 1u);
        EXPECT_EQ(dialogs.shownClasses[0], c.window);
        EXPECT_EQ(caption, QString::fromUtf8(c.caption));
        EXPECT_FALSE(form->state().modalDialogOpen);
    }
}

TEST_F(ListsWindowFixture, DoubleClickOnADayWithLinesOpensTheScheduleList)
{
    home.write("202612.sch", crlf({scheduleLine(8, "", "x")}));
    start();
    form->show();
    QTest::qWait(50);
    QString caption;
    dialogs.handlers.push_back(closeNoting(caption));
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

TEST_F(ListsWindowFixture, JumpShowsThePickedDaysMonthWithTheDaySelected)
{
    start();
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& jump = dynamic_cast<TDlgJump&>(dialog);
        EXPECT_EQ(jump.DtpJumpDate->date(), QDate(2026, 12, 8)) << "it starts at today";
        jump.DtpJumpDate->setDate(QDate(2031, 5, 17));
        return static_cast<int>(QDialog::Accepted);
    });
    form->Calendar->MenuJump->trigger();
    EXPECT_EQ(form->Calendar->cursor().viewYear, 2031);
    EXPECT_EQ(form->Calendar->cursor().viewMonth, 5);
    EXPECT_EQ(form->Calendar->cursor().selectedDate, (Date{2031, 5, 17}));
    EXPECT_EQ(form->Calendar->monthBuild().layout.dateOf(form->Calendar->GridMonth->selectedColumn(),
                                                         form->Calendar->GridMonth->selectedRow()),
              (Date{2031, 5, 17}));
}

TEST_F(ListsWindowFixture, ANewHolidayShowsInTheCalendar)
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
    form->Calendar->PopHoliday->trigger();
    EXPECT_TRUE(cellHasLine(*form, {2026, 12, 8}, "1" + sj("創立記念日")));
}

TEST_F(ListsWindowFixture, AChangeInTheListRebuildsTheMonth)
{
    home.write("202612.sch", crlf({scheduleLine(8, "", "old")}));
    start();
    ASSERT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 1);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& list = dynamic_cast<TFormEdit&>(dialog);
        EXPECT_EQ(list.ListView->model()->rowCount(), 1);
        list.DelClick();
        return static_cast<int>(QDialog::Rejected);
    });
    form->Lists->ShowFormEdit();
    EXPECT_EQ(home.read("202612.sch"), "");
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 0);
}

TEST_F(ListsWindowFixture, CorrectingAMemoRowOpensTheDayMemoEditorAtTheListsCorner)
{
    home.write("20261208.mem", crlf({"old"}));
    start();
    dialogs.handlers.push_back([this](QDialog& dialog) {
        auto& list = dynamic_cast<TFormEdit&>(dialog);
        EXPECT_EQ(list.ListView->model()->rowCount(), 1);
        list.ListView->setCurrentIndex(list.ListView->model()->index(0, 0));
        dialogs.handlers.push_back([&list](QDialog& editor) {
            auto& memo = dynamic_cast<TDlgMemo&>(editor);
            EXPECT_EQ(memo.windowTitle(), QString::fromUtf8("2026年12月08日のメモ"));
            EXPECT_EQ(memo.pos(), list.pos());
            EXPECT_EQ(memo.MemoDay->toPlainText().trimmed(), QString("old"));
            memo.MemoDay->setPlainText("new");
            memo.BtnOkClick();
            return memo.result();
        });
        list.RepClick(false);
        // Where it would reach past the screen's edge, the editor is centred on the screen.
        const QRect area = list.screen()->availableGeometry();
        list.move(area.right() - 40, area.top());
        dialogs.handlers.push_back([area](QDialog& e) {
            EXPECT_EQ(e.geometry().center(), area.center());
            return 0;
        });
        list.RepClick(false);
        return static_cast<int>(QDialog::Rejected);
    });
    form->Lists->MenuMemoList->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 3u);
    EXPECT_EQ(dialogs.shownClasses[1], "kal::TDlgMemo");
    EXPECT_EQ(home.read("20261208.mem"), crlf({"new"}));
}
