// The day schedule list of the main window and the operations started from it.
#include "app/TForm1.h"
#include "calendar/qt/MonthGrid.h"
#include "exchange/RecordIdentities.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "schedule/ScheduleRecord.h"
#include "schedule/TDlgSchInput.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/MainWindowFixture.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>

using namespace kal;
using namespace kal::test;

namespace {

struct DayListFixture : MainWindowFixture {
    // A handler that types a title (and optionally a start time) and presses OK.
    static FakeDialogRunner::Handler fillAndOk(const char* title, const char* start = "")
    {
        return [title, start](QDialog& dialog) {
            auto& input = dynamic_cast<TDlgSchInput&>(dialog);
            input.CmbStrhhmm->setEditText(QString::fromUtf8(start));
            input.CmbTitle->setEditText(QString::fromUtf8(title));
            input.BtnOkClick();
            return input.result();
        };
    }
    QStringList dayListTitles() const
    {
        QStringList titles;
        for (int i = 0; i < form->DayList->ListDaySch->topLevelItemCount(); ++i)
            titles << form->DayList->ListDaySch->topLevelItem(i)->text(3);
        return titles;
    }
    // Selects an entry and opens the pop-up's enabling, as a right click does.
    void selectEntry(int index)
    {
        QTreeWidgetItem* item = form->DayList->ListDaySch->topLevelItem(index);
        form->DayList->ListDaySch->setCurrentItem(item);
        item->setSelected(true);
        form->PopupDayPopup();
    }
    static QString iconOf(QTreeWidgetItem* item) { return item->data(0, Qt::UserRole + 4).toString(); }
};

} // namespace

TEST_F(DayListFixture, AddFromTheToolButtonWritesTheMonthAndShowsTheEntry)
{
    start();
    dialogs.handlers.push_back(fillAndOk("歯医者", "10:00"));
    form->DayList->TBtnSchAdd->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgSchInput");
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "10:00", sj("歯医者"))}));
    EXPECT_EQ(dayListTitles(), QStringList{QString::fromUtf8("歯医者")});
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItem(0)->text(1), "10:00");
    EXPECT_TRUE(form->DayList->PanelDaySch->text().endsWith(QString::fromUtf8("[1件］")));

    // The same from the menu, the grid's pop-up and a double click on an empty day.
    dialogs.handlers.push_back(fillAndOk("b"));
    form->DayList->MenuSchAdd->trigger();
    dialogs.handlers.push_back(fillAndOk("c"));
    form->DayList->PopSchNew->trigger();
    form->Calendar->SelectCell(form->Calendar->monthBuild().layout.currentColumn[20],
                               form->Calendar->monthBuild().layout.currentRow[20]);
    dialogs.handlers.push_back(fillAndOk("d"));
    emit form->Calendar->GridMonth->cellDoubleClicked();
    EXPECT_EQ(files::loadLines(home.file("202612.sch")).size(), 4u);
    // A double click on a day that has lines opens the schedule list instead of adding.
    emit form->Calendar->GridMonth->cellDoubleClicked();
    ASSERT_EQ(dialogs.shownClasses.size(), 5u);
    EXPECT_EQ(dialogs.shownClasses[4], "kal::TFormEdit");
    EXPECT_EQ(files::loadLines(home.file("202612.sch")).size(), 4u);
}

TEST_F(DayListFixture, GreyedPreviousMonthDayAddsToThatMonthsFile)
{
    start();
    form->Calendar->SelectCell(0, 1); // 29 November
    dialogs.handlers.push_back(fillAndOk("前月"));
    form->DayList->DaySchInputAdd();
    EXPECT_EQ(home.read("202611.sch"), crlf({scheduleLine(29, "", sj("前月"))}));
    EXPECT_FALSE(home.exists("202612.sch"));
    EXPECT_EQ(dayListTitles(), QStringList{QString::fromUtf8("前月")});
}

TEST_F(DayListFixture, TwoIdenticalRecordsAreTwoEntriesAndDeleteOneAtATime)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "same"), scheduleLine(8, "09:00", "same"),
                                   scheduleLine(9, "", "other")}));
    start();
    EXPECT_EQ(dayListTitles(), (QStringList{"same", "same"}));
    selectEntry(1);
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    form->DayList->PopDayDel->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].caption, "スケジュールの削除");
    EXPECT_EQ(platform.messages[0].text, "「same」を削除します。\r\nよろしいですか？");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "09:00", "same"), scheduleLine(9, "", "other")}));
    EXPECT_EQ(dayListTitles(), QStringList{"same"});

    selectEntry(0);
    platform.messageAnswers.push_back(MessageAnswer::No);
    form->DayList->DaySchDel();
    EXPECT_EQ(files::loadLines(home.file("202612.sch")).size(), 2u);
}

TEST_F(DayListFixture, CorrectAndCopyAreToldApartByTheInvokingEntry)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "meeting")}));
    start();
    selectEntry(0);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("スケジュール複写"));
        input.DtpSchDate->setDate(QDate(2027, 1, 5));
        input.BtnOkClick();
        return input.result();
    });
    form->DayList->PopDayCopy->trigger();
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "09:00", "meeting")}));
    EXPECT_EQ(home.read("202701.sch"), crlf({scheduleLine(5, "09:00", "meeting")}));

    selectEntry(0);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        EXPECT_EQ(input.windowTitle(), QString::fromUtf8("スケジュール訂正"));
        EXPECT_EQ(input.CmbTitle->currentText(), "meeting");
        input.CmbTitle->setEditText("moved");
        input.DtpSchDate->setDate(QDate(2026, 12, 20));
        input.BtnOkClick();
        return input.result();
    });
    form->DayList->PopDayRep->trigger();
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(20, "09:00", "moved")}));
    EXPECT_TRUE(dayListTitles().isEmpty());

    // Without a selected entry correction falls back to adding.
    dialogs.handlers.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("スケジュール新規登録"));
        return int(QDialog::Rejected);
    });
    form->DayList->DaySchInputRep(form->DayList->PopDayRep);
    EXPECT_EQ(dialogs.shownTitles.size(), 3u);
}

TEST_F(DayListFixture, CorrectingAndDeletingCarryTheRecordsIdentity)
{
    const std::string record = scheduleLine(8, "09:00", "meeting");
    home.write("202612.sch", crlf({record}));
    IdentityTable known;
    known.add({"uid-1", 0, {"202612.sch", 0, record}, {}, {}, {}, {}});
    home.write(kIdentityFileName, crlf(known.lines()));
    start();
    selectEntry(0);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        input.CmbTitle->setEditText("moved");
        input.BtnOkClick();
        return input.result();
    });
    form->DayList->PopDayRep->trigger();
    IdentityFile after = loadIdentities(home.path());
    const RecordIdentity* moved = after.table.findUid("uid-1");
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(moved->key, (RecordKey{"202612.sch", 0, scheduleLine(8, "09:00", "moved")}));
    EXPECT_EQ(moved->sequence, 1);

    selectEntry(0);
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    form->DayList->DaySchDel();
    EXPECT_EQ(loadIdentities(home.path()).table.findUid("uid-1"), nullptr);
}

TEST_F(DayListFixture, ARecordChangedElsewhereIsNotDeletedAndTheMonthIsRebuilt)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "mine")}));
    start();
    selectEntry(0);
    // A sync tool rewrote the file after the month was built.
    home.write("202612.sch", crlf({scheduleLine(8, "08:00", "theirs"), scheduleLine(8, "09:00", "mine")}));
    form->DayList->DaySchDel();
    ASSERT_EQ(platform.messages.size(), 1u) << "found changed before asking, so nothing is asked";
    EXPECT_EQ(platform.messages[0].text, "スケジュールが他で変更されています。\r\n表示を更新します。");
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "08:00", "theirs"), scheduleLine(8, "09:00", "mine")}));
    EXPECT_EQ(dayListTitles(), (QStringList{"theirs", "mine"}));

    // After the rebuild the entry points at its new line and deletes exactly it.
    selectEntry(1);
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    form->DayList->DaySchDel();
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "08:00", "theirs")}));
}

TEST_F(DayListFixture, ARecordThatVanishedIsNotAskedAbout)
{
    struct Case {
        const char* what;
        std::optional<std::string> fileAfter;
        QStringList listAfter;
    };
    const Case cases[] = {
        {"month file removed", std::nullopt, {}},
        {"record deleted elsewhere", crlf({scheduleLine(8, "10:00", "kept")}), {"kept"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        home.write("202612.sch", crlf({scheduleLine(8, "09:00", "gone"), scheduleLine(8, "10:00", "kept")}));
        start();
        selectEntry(0);
        files::deleteFile(home.file("202612.sch"));
        if (c.fileAfter)
            home.write("202612.sch", *c.fileAfter);
        form->DayList->DaySchDel();
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_EQ(home.exists("202612.sch"), c.fileAfter.has_value());
        EXPECT_EQ(dayListTitles(), c.listAfter) << "the list shows the file again";
        form->ApplicationExit();
    }
}

TEST_F(DayListFixture, DoubleClickOnAnEntryCorrectsItAndOnEmptySpaceAdds)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "meeting")}));
    start();
    QTest::qWait(30);
    selectEntry(0);
    QWidget* area = form->DayList->ListDaySch->viewport();
    const QRect entry = form->DayList->ListDaySch->visualItemRect(form->DayList->ListDaySch->topLevelItem(0));
    ASSERT_GT(area->height(), entry.bottom() + 10);
    QTest::mouseDClick(area, Qt::LeftButton, {}, entry.center());
    QTest::mouseDClick(area, Qt::LeftButton, {}, QPoint(entry.center().x(), area->height() - 5));
    EXPECT_EQ(dialogs.shownTitles,
              (std::vector<QString>{QString::fromUtf8("スケジュール訂正"), QString::fromUtf8("スケジュール新規登録")}));
}

TEST_F(DayListFixture, AFailedSaveRebuildsTheMonthEvenWhenTheDialogIsCancelled)
{
    start();
    // Meanwhile a sync tool brings a record and leaves the file read-only.
    home.write("202612.sch", crlf({scheduleLine(8, "08:00", "theirs")}));
    ::chmod(home.file("202612.sch").c_str(), 0444);
    dialogs.handlers.push_back([](QDialog& dialog) {
        auto& input = dynamic_cast<TDlgSchInput&>(dialog);
        input.CmbTitle->setEditText("mine");
        input.BtnOkClick();
        input.reject();
        return input.result();
    });
    form->DayList->DaySchInputAdd();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("読み取り専用のファイルです。"), std::string::npos);
    EXPECT_EQ(home.read("202612.sch"), crlf({scheduleLine(8, "08:00", "theirs")}));
    EXPECT_EQ(dayListTitles(), QStringList{"theirs"});
}

TEST_F(DayListFixture, PopupEnablingFollowsTheSelection)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "x")}));
    start();
    form->DayList->ListDaySch->clearSelection();
    form->DayList->ListDaySch->setCurrentItem(nullptr);
    form->PopupDayPopup();
    EXPECT_TRUE(form->DayList->PopDayNew->isEnabled());
    EXPECT_FALSE(form->DayList->PopDayRep->isEnabled());
    EXPECT_FALSE(form->DayList->PopDayDel->isEnabled());
    EXPECT_FALSE(form->PanelTodo->PoPTodoCopy->isEnabled());
    selectEntry(0);
    form->PopupDayPopup();
    EXPECT_TRUE(form->DayList->PopDayRep->isEnabled());
    EXPECT_TRUE(form->DayList->PopDayCopy->isEnabled());
    EXPECT_TRUE(form->DayList->PopDayDel->isEnabled());
    EXPECT_TRUE(form->PanelTodo->PoPTodoCopy->isEnabled());
}

TEST_F(DayListFixture, DeleteCommandActsOnlyOnTheFocusedDayList)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "x")}));
    start();
    form->activateWindow();
    selectEntry(0);
    form->Calendar->GridMonth->setFocus();
    form->MenuDelete->trigger();
    EXPECT_TRUE(platform.messages.empty());
    form->DayList->ListDaySch->setFocus();
    platform.messageAnswers.push_back(MessageAnswer::Yes);
    form->DataDelete();
    if (form->DayList->ListDaySch->hasFocus()) {
        EXPECT_TRUE(files::loadLines(home.file("202612.sch")).empty());
    }
}

TEST_F(DayListFixture, StateIconsAndColumnsFollowTheSettings)
{
    home.write("202612.sch",
               crlf({scheduleLine(8, "09:00", "sound", true, true), scheduleLine(8, "10:00", "message", false, true),
                     scheduleLine(8, "11:00", "quiet")}));
    start("[Sound]\r\nAlarm=0\r\n[View]\r\nSchView=011110\r\n");
    ASSERT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 3);
    EXPECT_EQ(form->DayList->ListDaySch->columnWidth(0), 0);
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItem(0)->text(1), "09:00");
    EXPECT_EQ(form->DayList->ListDaySch->headerItem()->text(1), QString::fromUtf8("開始"));
    // With alarms off every entry that has an icon shows the alarm-off one.
    EXPECT_EQ(iconOf(form->DayList->ListDaySch->topLevelItem(0)), ":/icons/alarm-off.svg");
    EXPECT_EQ(iconOf(form->DayList->ListDaySch->topLevelItem(1)), ":/icons/alarm-off.svg");
    EXPECT_TRUE(iconOf(form->DayList->ListDaySch->topLevelItem(2)).isEmpty());
    EXPECT_TRUE(form->DayList->ListDaySch->topLevelItem(2)->icon(0).isNull());
    form->ApplicationExit();

    // With alarms on: sound first, then message.
    start("[Sound]\r\nAlarm=1\r\n");
    EXPECT_EQ(iconOf(form->DayList->ListDaySch->topLevelItem(0)), ":/icons/alarm.svg");
    EXPECT_EQ(iconOf(form->DayList->ListDaySch->topLevelItem(1)), ":/icons/message.svg");
    EXPECT_EQ(form->DayList->ListDaySch->columnWidth(0), 20);
}

TEST_F(DayListFixture, HeaderCountsAllSchedulesAlsoWithoutTheList)
{
    home.write("202612.sch", crlf({scheduleLine(8, "09:00", "a"), scheduleLine(8, "10:00", "b")}));
    start();
    EXPECT_TRUE(form->DayList->PanelDaySch->text().endsWith(QString::fromUtf8("[2件］")));
    form->MenuPanelMode2->trigger();
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 0);
    form->MenuPanelMode1->trigger();
    EXPECT_EQ(form->DayList->ListDaySch->topLevelItemCount(), 2);
}

TEST_F(DayListFixture, MiniCalendarHintListsTheDaysLines)
{
    home.write("Holiday.dat", *files::readBytes(KALENDRA_SOURCE_DIR "/data/Holiday.dat"));
    home.write("202612.sch", crlf({scheduleLine(23, "", "party")}));
    start();
    form->SmallSize();
    form->Calendar->SelectCell(form->Calendar->monthBuild().layout.currentColumn[23],
                               form->Calendar->monthBuild().layout.currentRow[23]);
    EXPECT_EQ(form->Calendar->GridMonth->toolTip(), QString::fromUtf8("2026/12/23(水)\r\nparty"));
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("令和8年12月23日"));

    QWidget other; // the mini calendar's hints show while another window is active
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QTest::mouseMove(form->Calendar->GridMonth, form->Calendar->GridMonth->rect().center());
    QTest::mouseMove(form->Calendar->GridMonth, form->Calendar->GridMonth->rect().center() + QPoint(1, 1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QToolTip::text() == form->Calendar->GridMonth->toolTip(); }, 2000));
    QToolTip::hideText();
}
