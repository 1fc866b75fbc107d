// The main window's modes and tray, offscreen with the fake platform.
#include "alarm/qt/ClockPanel.h"
#include "app/Password.h"
#include "app/TDlgPasswd.h"
#include "app/qt/InstanceGuard.h"
#include "calendar/THeaderPanel.h"
#include "calendar/qt/MonthGrid.h"
#include "platform/Files.h"
#include "platform/qt/Widgets.h"
#include "schedule/ScheduleRecord.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace kal;
using namespace kal::test;

namespace {

struct WindowFixture : MainWindowFixture {
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        home.write("Holiday.dat", *files::readBytes(KALENDRA_SOURCE_DIR "/data/Holiday.dat"));
    }
};

} // namespace

TEST_F(WindowFixture, PanelModeAndItsToggles)
{
    start();
    EXPECT_TRUE(form->PanelRight->isVisible());
    EXPECT_TRUE(form->MenuPanelMode1->isChecked());
    form->MenuPanelMode1->trigger(); // already selected: nothing changes
    EXPECT_TRUE(form->PanelRight->isVisible());
    form->MenuPanelMode2->trigger();
    EXPECT_FALSE(form->PanelRight->isVisible());
    EXPECT_TRUE(form->MenuPanelMode2->isChecked());
    EXPECT_FALSE(form->TBtnPanelMode->isChecked());
    EXPECT_FALSE(form->MenuClock->isEnabled());
    EXPECT_FALSE(form->PanelNote->isVisible());
    form->TBtnPanelMode->trigger();
    EXPECT_TRUE(form->PanelRight->isVisible());
    EXPECT_TRUE(form->MenuPanelMode1->isChecked());
    EXPECT_TRUE(form->MenuClock->isEnabled());
    EXPECT_TRUE(form->state().windowStateDirty);

    form->MenuClockClick();
    EXPECT_FALSE(form->PanelTimer->PanelClock->isVisible());
    EXPECT_FALSE(form->TBtnClock->isChecked());
    form->MenuNoteClick();
    EXPECT_FALSE(form->PanelNote->isVisible());
    form->MenuToolBar->trigger();
    EXPECT_FALSE(form->ToolBar1->isVisible());
    form->MenuStatusBar->trigger();
    EXPECT_FALSE(form->statusBar()->isVisible());
}

TEST_F(WindowFixture, MiniCalendarAndBackRestoreTheNormalGeometry)
{
    start("[Window]\r\nPosMode=3\r\nLeft=40\r\nTop=30\r\nWidth=600\r\nHeight=400\r\n[Mini]\r\nPosMode=3\r\nLeft="
          "400\r\nTop="
          "300\r\n");
    const QSize normalSize = form->size();
    EXPECT_EQ(normalSize, QSize(600, 400));
    form->SmallSize();
    EXPECT_TRUE(form->miniMode());
    EXPECT_EQ(form->size(), QSize(164, 176));
    EXPECT_EQ(form->pos(), QPoint(400, 300));
    EXPECT_FALSE(form->menuBar()->isVisible());
    EXPECT_FALSE(form->ToolBar1->isVisible());
    EXPECT_FALSE(form->PanelRight->isVisible());
    EXPECT_EQ(form->Calendar->PanelMonSch->height(), 20);
    EXPECT_FALSE(form->Calendar->BtnBeforeYear->isVisible());
    EXPECT_EQ(form->Calendar->PanelMonSch->caption(), QString::fromUtf8("2026年12月"));
    EXPECT_EQ(form->PopMini->text(), QString::fromUtf8("元のサイズに戻す(&S)"));
    EXPECT_EQ(form->Calendar->GridMonth->lineWidth(), 0);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("令和8年12月8日"));

    form->move(420, 310);
    form->SmallSize();
    EXPECT_FALSE(form->miniMode());
    EXPECT_EQ(form->size(), normalSize);
    EXPECT_EQ(form->pos(), QPoint(40, 30));
    EXPECT_TRUE(form->menuBar()->isVisible());
    EXPECT_TRUE(form->PanelRight->isVisible());
    EXPECT_EQ(form->Calendar->PanelMonSch->caption(), "12");
    EXPECT_EQ(form->windowTitle(), "Kalendra");
    EXPECT_EQ(form->miniGeometry().left, 420);
    EXPECT_EQ(form->miniGeometry().top, 310);

    // The header's double click does the same, and the title bar's, both ways, in place.
    emit form->Calendar->PanelMonSch->doubleClicked();
    EXPECT_TRUE(form->miniMode());
    EXPECT_EQ(form->pos(), QPoint(420, 310));
    for (bool mini : {false, true, false, true}) {
        form->WMNCLButtonDblClk();
        EXPECT_EQ(form->miniMode(), mini);
        EXPECT_EQ(form->pos(), mini ? QPoint(420, 310) : QPoint(40, 30));
    }
}

TEST_F(WindowFixture, MiniCalendarCannotBeEnteredFromAMaximisedWindow)
{
    start();
    form->showMaximized();
    form->SmallSize();
    EXPECT_FALSE(form->miniMode());
}

TEST_F(WindowFixture, TranslucentMiniCalendar)
{
    start("[Mini]\r\nTrans=1\r\nTransValue=120\r\n");
    form->SmallSize();
    EXPECT_NEAR(form->windowOpacity(), 120 / 255.0, 0.01);
    form->SmallSize();
    EXPECT_DOUBLE_EQ(form->windowOpacity(), 1.0);
}

TEST_F(WindowFixture, SizePresetsWhateverTheMode)
{
    start();
    form->FormInitSize(1);
    EXPECT_EQ(form->size(), QSize(638, 448));
    EXPECT_EQ(form->rememberedRightPanelWidth(), 280);
    form->MenuPanelMode1->trigger();
    form->FormInitSize(2);
    EXPECT_EQ(form->size(), QSize(799, 571));
    EXPECT_EQ(form->rememberedRightPanelWidth(), 320);
    form->FormInitSize(0);
    EXPECT_EQ(form->size(), QSize(799, 571));
    form->MenuSizeMiniClick();
    EXPECT_EQ(form->miniGeometry().width, 164);
    EXPECT_EQ(form->miniGeometry().height, 176);
    // Laid out by the event loop: right panel, grid, day list and memo; the ToDo lists the rest.
    const std::array<int, 5> presets[] = {
        {1, 280, 223, 90, 75}, {0, 320, 343, 120, 120}, {2, 320, 343, 120, 120}, {1, 280, 223, 90, 75}};
    for (const auto& [preset, right, grid, dayList, memo] : presets) {
        form->FormInitSize(preset);
        QTest::qWait(30);
        EXPECT_EQ((std::array<int, 5>{preset, form->PanelRight->width(), form->Calendar->GridMonth->height(),
                                      form->DayList->ListDaySch->height(), form->ListMemo->height()}),
                  (std::array<int, 5>{preset, right, grid, dayList, memo}));
        // The whole graphic clock, the seconds' colon included, inside the panel's border.
        const qt::ClockPanel* clock = form->PanelTimer->PanelClock;
        EXPECT_LE(clock->LabelClock->geometry().right(), clock->contentsRect().right()) << preset;
        EXPECT_LT(clock->LabelCol2->geometry().right(), clock->LabelClock->geometry().right()) << preset;
    }
}

TEST_F(WindowFixture, MaximisingTheMiniCalendarGivesTheNormalSizeBackAndHelpFailuresAreSaid)
{
    start("[Window]\r\nSmallMode=1\r\n[Mini]\r\nWidth=200\r\nHeight=190\r\n");
    form->showMaximized(); // what a window manager makes of a double click on the title bar
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->miniMode(); }, 1000));
    EXPECT_FALSE(form->isMaximized());
    form->SmallSize();
    EXPECT_EQ(form->size(), QSize(200, 190)) << "the size from before the maximise";

    platform.shellOpens = false;
    form->MenuTopic->trigger();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find(platform.opened.at(0)), std::string::npos) << "the page to open by hand";
}

TEST_F(WindowFixture, WithoutANotificationAreaTheTrayMinimises)
{
    platform.notificationArea = false;
    start("[Window]\r\nTaskBar=1\r\n");
    EXPECT_FALSE(form->Tray->available());
    EXPECT_FALSE(form->state().taskbarHidden) << "the task-bar button stays so the window can come back";
    form->TaskTraySet();
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
}

TEST_F(WindowFixture, StartingInTheTrayWithoutANotificationAreaStartsMinimised)
{
    platform.notificationArea = false;
    start("[Window]\r\nTaskTray=1\r\n");
    EXPECT_TRUE(form->isMinimized());
}

// Asking for the notification area takes session-bus round trips: a start that shows the window
// with its task-bar button asks once the window is up; one into the tray or without the button
// needs the answer first.
TEST_F(WindowFixture, TheNotificationAreaIsAskedAfterTheStartUnlessTheStartNeedsIt)
{
    for (const char* settings : {"", "[Window]\r\nTaskBar=1\r\n", "[Window]\r\nTaskTray=1\r\n"}) {
        SCOPED_TRACE(settings);
        platform.notificationAreaAsked = 0;
        start(settings);
        EXPECT_EQ(platform.notificationAreaAsked, *settings ? 1 : 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return platform.notificationAreaAsked == 1; }, 1000));
        EXPECT_TRUE(form->Tray->shown());
        EXPECT_EQ(platform.notificationAreaAsked, 1);
        form->ApplicationExit();
    }
}

TEST_F(WindowFixture, TrayHidesAndShowsTheWindow)
{
    start();
    EXPECT_TRUE(form->Tray->shown());
    form->TaskTraySet();
    EXPECT_FALSE(form->isVisible());
    form->PopupTrayPopup();
    EXPECT_EQ(form->PopTraySize->text(), QString::fromUtf8("タスクトレイから出す(&S)"));
    form->MainFormShow();
    EXPECT_TRUE(form->isVisible());
    form->PopupTrayPopup();
    EXPECT_EQ(form->PopTraySize->text(), QString::fromUtf8("タスクトレイに入れる(&R)"));
    EXPECT_EQ(form->PopTrayMini->text(), QString::fromUtf8("ミニカレンダー(&N)"));
    form->MainFormShow();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(WindowFixture, SecondStartAsksThePasswordOutsideTheSocketsHandlerAndTheTrayEntriesFollow)
{
    home.write(kPasswordFileName, EncodeStr("right", DateTime{}) + "\r\n");
    start("[View]\r\nPasswd2=1\r\n");
    qt::InstanceGuard guard, second;
    ASSERT_EQ(guard.acquire(QString::fromStdString(home.path())), qt::InstanceGuard::Outcome::Running);
    QObject::connect(&guard, &qt::InstanceGuard::wakeRequested, form.get(), &TForm1::WMCopyData);
    form->TaskTraySet();
    for (const QString answer : {"", "right"}) {
        dialogs.handlers.push_back([answer](QDialog& dialog) {
            auto& prompt = dynamic_cast<TDlgPasswd&>(dialog);
            qt::fitCaption(prompt); // as wide as its caption and the title bar's buttons
            EXPECT_GE(prompt.minimumSizeHint().expandedTo(prompt.minimumSize()).width(),
                      prompt.fontMetrics().horizontalAdvance(prompt.windowTitle()) + 100);
            QTest::qWait(20); // the prompt's own loop, in which the second start's socket closes
            prompt.MskPasswd->setText(answer);
            return answer.isEmpty() ? int(QDialog::Rejected) : (prompt.BtnOkClick(), prompt.result());
        });
        ASSERT_EQ(second.acquire(QString::fromStdString(home.path())), qt::InstanceGuard::Outcome::OtherWoken);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.handlers.empty(); }, 3000));
        QTest::qWait(20);
        for (bool shown : {form->isVisible(), form->DayList->PopTraySchAdd->isEnabled(),
                           form->Lists->PopTraySchEdit->isEnabled(), form->ListMemo->PopTrayMemo->isEnabled()})
            EXPECT_EQ(shown, !answer.isEmpty());
    }
}

TEST_F(WindowFixture, ATrayThatComesLaterGetsTheIconAndOneThatGoesGivesTheWindowBack)
{
    platform.notificationArea = false;
    start();
    for (bool tray : {true, false}) {
        platform.notificationArea = tray;
        form->PanelTimer->Timer1Timer();
        form->TaskTraySet();
        EXPECT_TRUE(form->Tray->shown() || !tray);
        EXPECT_EQ(form->isVisible(), !tray) << "without a tray the task bar keeps the window";
    }
}

TEST_F(WindowFixture, CloseButtonGoesToTheTrayWhenAsked)
{
    start("[View]\r\nCloseTray=1\r\n");
    QSignalSpy closed(form.get(), &TForm1::closed);
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(closed.count(), 0);
    form->ApplicationExit();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(WindowFixture, DayHeaderNamesTheHolidayAndCountsSchedules)
{
    ScheduleFields f;
    f.day = 23;
    f.title = "x";
    home.write("202602.sch", crlf({ComposeSchedule(f), ComposeSchedule(f)}));
    platform.setToday(2026, 2, 23);
    start();
    EXPECT_EQ(form->DayList->PanelDaySch->text(),
              QString::fromUtf8(" 令和8年2月23日（月曜日）の予定 - 天皇誕生日 [2件］"));
}

TEST_F(WindowFixture, ModesAreWrittenAtExitAndReadAtTheNextStart)
{
    start("[Window]\r\nPosMode=3\r\n");
    form->MenuNoteClick();
    form->MenuPanelMode2->trigger();
    form->ApplicationExit();
    form.reset();
    IniFile ini(home.file("Kalendra.ini"));
    ini.load();
    EXPECT_EQ(ini.readInteger("View", "Note", -1), 0);
    EXPECT_EQ(ini.readInteger("Window", "PanelMode", -1), 1);
    EXPECT_EQ(ini.readInteger("Window", "Now", 0), 2026);
    EXPECT_EQ(ini.readInteger("Window", "Width", 0), 799);

    form = std::make_unique<TForm1>(services, home.path());
    ASSERT_EQ(form->FormCreate(), 0);
    form->ShowAtStart();
    EXPECT_FALSE(form->notesShown());
    EXPECT_FALSE(form->panelWithRight());
}

TEST_F(WindowFixture, UntouchedWindowWithRememberedPositionWritesNothing)
{
    start("[Window]\r\nPosMode=3\r\nLeft=40\r\nTop=30\r\nWidth=600\r\nHeight=400\r\nNow=2026\r\n");
    std::string before = home.read("Kalendra.ini");
    form->ApplicationExit();
    form.reset();
    EXPECT_EQ(home.read("Kalendra.ini"), before);
}

TEST_F(WindowFixture, MinimisedTitleIsTodaysDate)
{
    start("[Window]\r\nTitle=My diary\r\n");
    EXPECT_EQ(form->windowTitle(), "My diary");
    form->showMinimized();
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("2026/12/8(火)"));
    form->showNormal();
    EXPECT_EQ(form->windowTitle(), "My diary");
}

TEST_F(WindowFixture, HelpOpensTheShippedPageInTheBrowser)
{
    start();
    form->MenuTopic->trigger();
    ASSERT_EQ(platform.opened.size(), 1u);
    std::optional<std::string> page = files::readBytes(platform.opened[0]);
    ASSERT_TRUE(page);
    EXPECT_NE(page->find("Kalendra"), std::string::npos);
}
