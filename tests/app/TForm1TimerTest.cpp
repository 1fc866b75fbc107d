// The main window's one-second timer with the fake clock: alarms, the time signal, the change
// of day and the periodic refresh, as the user sees them.
#include "alarm/TDlgAlarm.h"
#include "app/TForm1.h"
#include "platform/Files.h"
#include "schedule/ScheduleRecord.h"
#include "support/MainWindowFixture.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"
#include "todo/TodoRecord.h"
#include "todo/qt/TodoPanel.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

// A record of 8 December with both alarm flags unless told otherwise; the title in UTF-8.
std::string record(int day, const std::string& start, const std::string& title, bool sound = true, bool message = true)
{
    return scheduleLine(day, start, sj(title), sound, message);
}

const char* kAlarmTen = "[Sound]\r\nAlarm=1\r\nAlarmTime=10\r\nAlarmWav=/sounds/alarm.wav\r\n";

struct TimerFixture : MainWindowFixture {
    // One tick of the timer at the given moment of 8 December 2026 (or `date`).
    void tickAt(int hour, int minute, int second, Date date = Date{2026, 12, 8})
    {
        platform.clock = DateTime{date, hour, minute, second};
        form->PanelTimer->Timer1Timer();
        QApplication::processEvents();
    }
    int alarmWindowsOnScreen() const
    {
        int count = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            count += qobject_cast<TDlgAlarm*>(window) && window->isVisible();
        return count;
    }
    QString alarmText() const
    {
        return form->PanelTimer->alarmWindow() ? form->PanelTimer->alarmWindow()->LabelMsg->text() : QString();
    }
    std::string monthFile(int year, int month) const { return MonthFilePath(home.path(), year, month); }
    std::pair<int, int> view() const { return {form->Calendar->cursor().viewYear, form->Calendar->cursor().viewMonth}; }
    void closeAlarmWindow()
    {
        ASSERT_TRUE(form->PanelTimer->alarmWindow());
        form->PanelTimer->alarmWindow()->BtnOk->click();
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(TimerFixture, TheRunningTimerRaisesTheAlarmWindowOnTimeWithoutWaitingForIt)
{
    home.write("202612.sch", crlf({record(8, "14:30", "打ち合わせ")}));
    platform.setToday(2026, 12, 8, 14, 19, 58);
    start(kAlarmTen);
    ASSERT_TRUE(form->PanelTimer->Timer1->isActive());
    QTest::qWait(1100);
    EXPECT_EQ(alarmWindowsOnScreen(), 0);
    platform.clock.minute = 20;
    platform.clock.second = 0;
    QTest::qWait(1100);
    ASSERT_EQ(alarmWindowsOnScreen(), 1);
    EXPECT_EQ(platform.sounds, std::vector<std::string>{"/sounds/alarm.wav"});
    EXPECT_EQ(form->PanelTimer->alarmWindow()->windowTitle(), QString::fromUtf8("予定の時刻"));
    EXPECT_TRUE(alarmText().startsWith(QString::fromUtf8("14時20分です。\n『打ち合わせ』の時間の10分前です。")));
    EXPECT_EQ(form->PanelTimer->alarmWindow()->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(form->PanelTimer->alarmWindowOpen());
    closeAlarmWindow();
    EXPECT_FALSE(form->PanelTimer->alarmWindowOpen());
    EXPECT_EQ(alarmWindowsOnScreen(), 0);
}

TEST_F(TimerFixture, ATickThatMissesSecondZeroStillRunsTheMinuteOnce)
{
    home.write("202612.sch", crlf({record(8, "14:30", "会議")}));
    start(kAlarmTen);
    tickAt(14, 19, 59);
    EXPECT_TRUE(platform.sounds.empty());
    tickAt(14, 20, 1);
    EXPECT_EQ(platform.sounds.size(), 1u);
    EXPECT_EQ(alarmWindowsOnScreen(), 1);
    tickAt(14, 20, 2);
    tickAt(14, 20, 59);
    EXPECT_EQ(platform.sounds.size(), 1u) << "the minute's duties run once";
    EXPECT_EQ(form->PanelTimer->alarmWindow()->messageCount(), 1);
}

TEST_F(TimerFixture, AnOpenAlarmWindowHoldsBackNeitherTheSignalNorTheNextAlarm)
{
    home.write("202612.sch", crlf({record(8, "14:30", "会議"), record(8, "15:00", "来客")}));
    start("[Sound]\r\nAlarm=2\r\nAlarmTime=10\r\nAlarmWav=/sounds/alarm.wav\r\n"
          "Signal=1\r\nSignalMode=1\r\nSignalWav=/sounds/signal.wav\r\n");
    tickAt(14, 20, 0);
    ASSERT_EQ(alarmWindowsOnScreen(), 1);
    tickAt(14, 30, 0);
    tickAt(14, 50, 0);
    tickAt(15, 0, 0);
    EXPECT_EQ(alarmWindowsOnScreen(), 1) << "never a second window";
    EXPECT_EQ(form->PanelTimer->alarmWindow()->messageCount(), 5);
    EXPECT_EQ(platform.sounds, (std::vector<std::string>{"/sounds/alarm.wav", "/sounds/alarm.wav", "/sounds/alarm.wav",
                                                         "/sounds/alarm.wav", "/sounds/signal.wav"}));
    EXPECT_TRUE(alarmText().endsWith(QString::fromUtf8("15時00分をお知らせします。")));
    EXPECT_EQ(form->PanelTimer->alarmWindow()->windowTitle(), QString::fromUtf8("時報"));
    closeAlarmWindow();
    tickAt(15, 10, 0);
    EXPECT_EQ(alarmWindowsOnScreen(), 0);
    tickAt(16, 0, 0);
    ASSERT_EQ(alarmWindowsOnScreen(), 1) << "a new window after the first was closed";
    EXPECT_EQ(alarmText(), QString::fromUtf8("16時00分をお知らせします。"));
}

TEST_F(TimerFixture, TheSameDayNumberAMonthLaterIsANewDay)
{
    home.write("202701.sch", crlf({record(8, "10:00", "新年会")}));
    start("[Sound]\r\nAlarm=1\r\nAlarmTime=0\r\nAlarmWav=/sounds/alarm.wav\r\n");
    tickAt(9, 59, 0);
    // Waking from suspend a month later, on the same day number.
    tickAt(10, 0, 3, Date{2027, 1, 8});
    EXPECT_EQ(view(), std::make_pair(2027, 1));
    EXPECT_EQ(form->Calendar->cursor().selectedDate, (Date{2027, 1, 8}));
    EXPECT_EQ(form->state().lastDay, (Date{2027, 1, 8}));
    EXPECT_EQ(form->state().startYear, 2027);
    EXPECT_EQ(platform.sounds.size(), 1u) << "the new day's alarms fire";
    EXPECT_TRUE(alarmText().contains(QString::fromUtf8("新年会")));
}

TEST_F(TimerFixture, TheFirstMinuteOfADayMovesTheCalendarAndAlarmsFromThen)
{
    home.write("202701.sch", crlf({record(1, "00:10", "初詣")}));
    platform.setToday(2026, 12, 31, 23, 59, 30);
    start(kAlarmTen);
    tickAt(23, 59, 30, Date{2026, 12, 31});
    EXPECT_EQ(alarmWindowsOnScreen(), 0);
    tickAt(0, 0, 0, Date{2027, 1, 1});
    EXPECT_EQ(view(), std::make_pair(2027, 1));
    ASSERT_EQ(alarmWindowsOnScreen(), 1);
    EXPECT_TRUE(alarmText().startsWith(QString::fromUtf8("0時00分です。\n『初詣』の時間の10分前です。")));
}

TEST_F(TimerFixture, AScheduleDeletedMeanwhileStaysSilent)
{
    const std::string line = record(8, "14:30", "中止");
    home.write("202612.sch", crlf({line}));
    start(kAlarmTen);
    tickAt(14, 0, 0);
    ASSERT_EQ(form->PanelTimer->todayAlarms().size(), 1u);
    ASSERT_TRUE(DeleteSchedule(ScheduleRef{monthFile(2026, 12), 0, line}).ok());
    tickAt(14, 20, 0);
    EXPECT_TRUE(form->PanelTimer->todayAlarms().empty());
    EXPECT_TRUE(platform.sounds.empty());
    EXPECT_EQ(alarmWindowsOnScreen(), 0);
}

TEST_F(TimerFixture, AScheduleAddedForTodayWhileAnotherMonthIsShownAlarms)
{
    start(kAlarmTen);
    tickAt(14, 0, 0);
    form->Calendar->NextMonthChange();
    ASSERT_EQ(view(), std::make_pair(2027, 1));
    ASSERT_TRUE(AddSchedule(monthFile(2026, 12), record(8, "14:30", "追加")).ok());
    tickAt(14, 20, 0);
    EXPECT_EQ(platform.sounds.size(), 1u);
    ASSERT_EQ(alarmWindowsOnScreen(), 1);
    EXPECT_TRUE(alarmText().contains(QString::fromUtf8("『追加』")));
    EXPECT_EQ(view(), std::make_pair(2027, 1)) << "the shown month stays";
}

TEST_F(TimerFixture, ListedSignalTimesComeFromSigTimeTbl)
{
    home.write("SigTime.tbl", crlf({"12:00", sj("12:30 昼休みの終わり")}));
    start("[Sound]\r\nSignal=1\r\nSignalMode=3\r\nSignalWav=/sounds/signal.wav\r\n");
    EXPECT_EQ(form->PanelTimer->signalTimes().size(), 2u);
    tickAt(12, 0, 0);
    ASSERT_EQ(alarmWindowsOnScreen(), 1);
    EXPECT_EQ(form->PanelTimer->alarmWindow()->windowTitle(), QString::fromUtf8("時報"));
    EXPECT_EQ(alarmText(), QString::fromUtf8("12時00分をお知らせします。"));
    closeAlarmWindow();
    tickAt(12, 30, 0);
    EXPECT_EQ(alarmText(), QString::fromUtf8("12時30分をお知らせします。\n 昼休みの終わり"));
    EXPECT_EQ(platform.sounds.size(), 2u);
}

TEST_F(TimerFixture, SignalTableIsReadOnlyForListedTimes)
{
    home.write("SigTime.tbl", crlf({"12:00"}));
    start("[Sound]\r\nSignal=1\r\nSignalMode=2\r\n");
    EXPECT_TRUE(form->PanelTimer->signalTimes().empty());
    tickAt(12, 30, 0);
    EXPECT_EQ(alarmText(), QString::fromUtf8("12時30分をお知らせします。"));
    EXPECT_TRUE(platform.sounds.empty()) << "no signal sound file chosen";
}

TEST_F(TimerFixture, PeriodicRefreshRebuildsTheMonthEveryPeriod)
{
    struct Case {
        const char* settings;
        bool refreshed;
    } cases[] = {{"[View]\r\nScrUd=1\r\nUdTime=2\r\n", true}, {"[View]\r\nScrUd=0\r\nUdTime=2\r\n", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        files::deleteFile(monthFile(2026, 12));
        start(c.settings);
        CellPos today;
        ASSERT_TRUE(form->Calendar->monthBuild().layout.find(Date{2026, 12, 8}, today));
        tickAt(10, 0, 0);
        home.write("202612.sch", crlf({record(8, "", "同期", false, false)}));
        auto lines = [&] { return form->Calendar->monthBuild().lists.at(today.column, today.row).size(); };
        EXPECT_EQ(lines(), 0u);
        const int todosBefore = form->PanelTodo->ListTodoNo->topLevelItemCount();
        TodoFields entry;
        entry.deadline = Date{2026, 12, 20};
        entry.title = "sync";
        home.write("ToDo.dat", crlf({ComposeTodo(entry)}));
        tickAt(10, 1, 0);
        EXPECT_EQ(lines(), c.refreshed ? 1u : 0u);
        EXPECT_EQ(form->PanelTodo->ListTodoNo->topLevelItemCount(), todosBefore + (c.refreshed ? 1 : 0));
        files::deleteFile(home.path() + "ToDo.dat");
        form->ApplicationExit();
        form.reset();
    }
}

TEST_F(TimerFixture, AlarmsComeWhileTheWindowIsHiddenInTheTray)
{
    home.write("202612.sch", crlf({record(8, "14:30", "会議")}));
    start(kAlarmTen);
    form->hide();
    tickAt(14, 20, 0);
    EXPECT_EQ(platform.sounds.size(), 1u);
    EXPECT_EQ(alarmWindowsOnScreen(), 1);
}
