// The timer panel alone with the fake clock: alarms and the time signal as the user sees them,
// and the new minutes and refreshes it reports to the window.
#include "alarm/qt/TimerPanel.h"

#include "alarm/TDlgAlarm.h"
#include "support/PanelFixture.h"
#include "support/ScheduleLines.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kal;
using namespace kal::test;

namespace {

// A record of 8 December with both alarm flags unless told otherwise; the title in UTF-8.
std::string record(int day, const std::string& start, const std::string& title, bool sound = true, bool message = true)
{
    return scheduleLine(day, start, sj(title), sound, message);
}

const char* kAlarmTen = "[Sound]\r\nAlarm=1\r\nAlarmTime=10\r\nAlarmWav=/sounds/alarm.wav\r\n";

struct TimerFixture : PanelFixture {
    std::unique_ptr<qt::TimerPanel> timer;
    std::vector<Date> minuteDays; // the day of each new minute reported
    int refreshes = 0;

    // The timer running as the window starts it; the window itself is hidden, as in the tray.
    void start(const std::string& extraSettings = "")
    {
        readSettings(extraSettings);
        timer = std::make_unique<qt::TimerPanel>(context, &window);
        QObject::connect(timer.get(), &qt::TimerPanel::minuteBegan,
                         [this](const DateTime& now) { minuteDays.push_back(now.date); });
        QObject::connect(timer.get(), &qt::TimerPanel::refreshDue, [this] { ++refreshes; });
        timer->LoadSignalTimes();
        timer->Timer1->start();
    }
    // One tick of the timer at the given moment of 8 December 2026 (or `date`).
    void tickAt(int hour, int minute, int second, Date date = Date{2026, 12, 8})
    {
        platform.clock = DateTime{date, hour, minute, second};
        timer->Timer1Timer();
        QApplication::processEvents();
    }
    int alarmWindowsOnScreen() const
    {
        int count = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            count += qobject_cast<TDlgAlarm*>(window) && window->isVisible();
        return count;
    }
    QString alarmText() const { return timer->alarmWindow() ? timer->alarmWindow()->LabelMsg->text() : QString(); }
    std::string monthFile(int year, int month) const { return MonthFilePath(home.path(), year, month); }
    void closeAlarmWindow()
    {
        ASSERT_TRUE(timer->alarmWindow());
        timer->alarmWindow()->BtnOk->click();
        QApplication::processEvents();
    }
};

} // namespace

TEST_F(TimerFixture, TheRunningTimerRaisesTheAlarmWindowOnTimeWithoutWaitingForIt)
{
    home.write("202612.sch", crlf({record(8, "14:30", "打ち合わせ")}));
    platform.setToday(2026, 12, 8, 14, 19, 58);
    start(kAlarmTen);
    ASSERT_TRUE(timer->Timer1->isActive());
    QTest::qWait(1100);
    EXPECT_EQ(alarmWindowsOnScreen(), 0);
    platform.clock.minute = 20;
    platform.clock.second = 0;
    QTest::qWait(1100);
    ASSERT_EQ(alarmWindowsOnScreen(), 1);
    EXPECT_EQ(platform.sounds, std::vector<std::string>{"/sounds/alarm.wav"});
    EXPECT_EQ(timer->alarmWindow()->windowTitle(), QString::fromUtf8("予定の時刻"));
    EXPECT_TRUE(alarmText().startsWith(QString::fromUtf8("14時20分です。\n『打ち合わせ』の時間の10分前です。")));
    EXPECT_EQ(timer->alarmWindow()->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(timer->alarmWindowOpen());
    closeAlarmWindow();
    EXPECT_FALSE(timer->alarmWindowOpen());
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
    EXPECT_EQ(timer->alarmWindow()->messageCount(), 1);
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
    EXPECT_EQ(timer->alarmWindow()->messageCount(), 5);
    EXPECT_EQ(platform.sounds, (std::vector<std::string>{"/sounds/alarm.wav", "/sounds/alarm.wav", "/sounds/alarm.wav",
                                                         "/sounds/alarm.wav", "/sounds/signal.wav"}));
    EXPECT_TRUE(alarmText().endsWith(QString::fromUtf8("15時00分をお知らせします。")));
    EXPECT_EQ(timer->alarmWindow()->windowTitle(), QString::fromUtf8("時報"));
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
    EXPECT_EQ(minuteDays, (std::vector<Date>{{2026, 12, 8}, {2027, 1, 8}}));
    EXPECT_EQ(platform.sounds.size(), 1u) << "the new day's alarms fire";
    EXPECT_TRUE(alarmText().contains(QString::fromUtf8("新年会")));
}

TEST_F(TimerFixture, TheFirstMinuteOfADayAlarmsFromThen)
{
    home.write("202701.sch", crlf({record(1, "00:10", "初詣")}));
    platform.setToday(2026, 12, 31, 23, 59, 30);
    start(kAlarmTen);
    tickAt(23, 59, 30, Date{2026, 12, 31});
    EXPECT_EQ(alarmWindowsOnScreen(), 0);
    tickAt(0, 0, 0, Date{2027, 1, 1});
    ASSERT_EQ(alarmWindowsOnScreen(), 1);
    EXPECT_TRUE(alarmText().startsWith(QString::fromUtf8("0時00分です。\n『初詣』の時間の10分前です。")));
}

TEST_F(TimerFixture, AScheduleDeletedMeanwhileStaysSilent)
{
    const std::string line = record(8, "14:30", "中止");
    home.write("202612.sch", crlf({line}));
    start(kAlarmTen);
    tickAt(14, 0, 0);
    ASSERT_EQ(timer->todayAlarms().size(), 1u);
    ASSERT_TRUE(DeleteSchedule(ScheduleRef{monthFile(2026, 12), 0, line}, store::Follower::none()).ok());
    tickAt(14, 20, 0);
    EXPECT_TRUE(timer->todayAlarms().empty());
    EXPECT_TRUE(platform.sounds.empty());
    EXPECT_EQ(alarmWindowsOnScreen(), 0);
}

TEST_F(TimerFixture, AScheduleAddedForTodayMeanwhileAlarms)
{
    start(kAlarmTen);
    tickAt(14, 0, 0);
    ASSERT_TRUE(AddSchedule(monthFile(2026, 12), record(8, "14:30", "追加")).ok());
    tickAt(14, 20, 0);
    EXPECT_EQ(platform.sounds.size(), 1u);
    ASSERT_EQ(alarmWindowsOnScreen(), 1);
    EXPECT_TRUE(alarmText().contains(QString::fromUtf8("『追加』")));
}

TEST_F(TimerFixture, ListedSignalTimesComeFromSigTimeTbl)
{
    home.write("SigTime.tbl", crlf({"12:00", sj("12:30 昼休みの終わり")}));
    start("[Sound]\r\nSignal=1\r\nSignalMode=3\r\nSignalWav=/sounds/signal.wav\r\n");
    EXPECT_EQ(timer->signalTimes().size(), 2u);
    tickAt(12, 0, 0);
    ASSERT_EQ(alarmWindowsOnScreen(), 1);
    EXPECT_EQ(timer->alarmWindow()->windowTitle(), QString::fromUtf8("時報"));
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
    EXPECT_TRUE(timer->signalTimes().empty());
    tickAt(12, 30, 0);
    EXPECT_EQ(alarmText(), QString::fromUtf8("12時30分をお知らせします。"));
    EXPECT_TRUE(platform.sounds.empty()) << "no signal sound file chosen";
}

TEST_F(TimerFixture, TheRefreshComesEveryPeriodOnlyWhenItIsOn)
{
    for (const auto& [settings, expected] :
         {std::pair{"[View]\r\nScrUd=1\r\nUdTime=2\r\n", 1}, std::pair{"[View]\r\nScrUd=0\r\nUdTime=2\r\n", 0}}) {
        SCOPED_TRACE(settings);
        refreshes = 0;
        start(settings);
        tickAt(10, 0, 0);
        tickAt(10, 1, 0);
        EXPECT_EQ(refreshes, expected);
    }
}

TEST_F(TimerFixture, AlarmsComeWhileTheWindowIsHiddenInTheTray)
{
    home.write("202612.sch", crlf({record(8, "14:30", "会議")}));
    start(kAlarmTen);
    ASSERT_FALSE(window.isVisible());
    tickAt(14, 20, 0);
    EXPECT_EQ(platform.sounds.size(), 1u);
    EXPECT_EQ(alarmWindowsOnScreen(), 1);
}
