// The iCalendar entries of the main window's file menu: where they stand, the export of a period
// and the import with the month and the ToDo lists refreshed afterwards.
#include "app/TForm1.h"
#include "exchange/TDlgIcalRead.h"
#include "exchange/TDlgIcalSave.h"
#include "support/MainWindowFixture.h"
#include "support/ScheduleLines.h"
#include "todo/qt/TodoPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QMenu>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

using IcalMenuFixture = MainWindowFixture;

const std::string kIcs = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n"
                         "BEGIN:VEVENT\r\nUID:a\r\nDTSTAMP:20261201T000000Z\r\n"
                         "DTSTART:20261208T010000Z\r\nSUMMARY:歯医者\r\nEND:VEVENT\r\n"
                         "BEGIN:VTODO\r\nUID:b\r\nDTSTAMP:20261201T000000Z\r\nSUMMARY:年賀状\r\nEND:VTODO\r\n"
                         "END:VCALENDAR\r\n";

} // namespace

TEST_F(IcalMenuFixture, EntriesFollowTheCsvEntriesInTheFileMenu)
{
    start();
    const QList<QAction*> entries = form->MenuFile->actions();
    const qsizetype csv = entries.indexOf(form->Exchange->MenuCsvSave);
    ASSERT_GE(csv, 0);
    ASSERT_GT(entries.size(), csv + 2);
    EXPECT_EQ(entries[csv + 1], form->Exchange->MenuIcalSave);
    EXPECT_EQ(entries[csv + 2], form->Exchange->MenuIcalRead);
    EXPECT_EQ(form->Exchange->MenuIcalSave->text(), QString::fromUtf8("iCalendar形式で保存(&I)..."));
    EXPECT_EQ(form->Exchange->MenuIcalRead->text(), QString::fromUtf8("iCalendar形式の読込(&J)..."));
}

TEST_F(IcalMenuFixture, SaveProposesTheShownMonthAndWritesTheChosenFile)
{
    home.write("202612.sch", crlf({plainScheduleLine(8, "10:00", "", "歯医者")}));
    start();
    platform.fileAnswers = {home.file("out.ics")};
    bool modalWhileOpen = false;
    dialogs.handlers.push_back([&](QDialog& dialog) {
        modalWhileOpen = form->state().modalDialogOpen;
        auto& save = dynamic_cast<TDlgIcalSave&>(dialog);
        EXPECT_EQ(save.DtpFromDate->date(), QDate(2026, 12, 1));
        EXPECT_EQ(save.DtpToDate->date(), QDate(2026, 12, 31));
        save.BtnOkClick();
        return save.result();
    });
    form->Exchange->MenuIcalSave->trigger();
    EXPECT_TRUE(modalWhileOpen);
    EXPECT_FALSE(form->state().modalDialogOpen);
    EXPECT_EQ(platform.fileDialogFolders.back(), form->settings().dataPath + "202612.ics");
    const std::string written = home.read("out.ics");
    EXPECT_NE(written.find("SUMMARY:歯医者"), std::string::npos) << written;
    EXPECT_EQ(platform.messages.back().text, "1 件のスケジュールデータと 0 件のToDoを保存しました。");
}

TEST_F(IcalMenuFixture, ReadAddsSchedulesAndTodosAndRefreshesBoth)
{
    start();
    home.write("in.ics", kIcs);
    platform.fileAnswers = {home.file("in.ics")};
    dialogs.handlers.push_back([&](QDialog& dialog) {
        auto& read = dynamic_cast<TDlgIcalRead&>(dialog);
        read.BtnConvertClick();
        return read.result();
    });
    form->Exchange->MenuIcalRead->trigger();
    EXPECT_EQ(dialogs.shownTitles.at(0),
              QString::fromUtf8("iCalendar形式の読込 - ") + QString::fromStdString(home.file("in.ics")));
    EXPECT_EQ(home.read("202612.sch"), crlf({plainScheduleLine(8, "10:00", "", "歯医者")}));
    ASSERT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 1);
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItem(0)->text(3), QString::fromUtf8("歯医者"));
    ASSERT_EQ(form->PanelTodo->ListTodoNo->topLevelItemCount(), 1);
    EXPECT_FALSE(form->state().modalDialogOpen);
}

TEST_F(IcalMenuFixture, UnreadableFilesAreReportedWithoutTheDialog)
{
    start();
    platform.fileAnswers = {home.file("none.ics"), std::nullopt};
    form->Exchange->MenuIcalRead->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "iCalendar形式の読込");
    EXPECT_NE(platform.messages[0].text.find("が見つかりません。"), std::string::npos);
    form->Exchange->MenuIcalRead->trigger();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(dialogs.shownClasses.empty());
}
