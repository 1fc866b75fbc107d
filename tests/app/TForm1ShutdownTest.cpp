// Closing the main window: the clean-up question, the end of the session, a minimised window
// and the column widths, offscreen with the fake platform.
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/qt/TerminationSignal.h"
#include "support/MainWindowFixture.h"
#include "todo/qt/TodoPanel.h"

#include <QAction>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <csignal>

using namespace kal;
using namespace kal::test;

namespace {

struct ShutdownFixture : MainWindowFixture {
    void close()
    {
        form->ApplicationExit();
        form.reset();
    }
    int key(const char* section, const char* name)
    {
        IniFile ini(home.file("Kalendra.ini"));
        ini.load();
        return ini.readInteger(section, name, -1);
    }
    void writeOldData()
    {
        for (const char* name : {"200301.sch", "200302.sch", "200303.sch", "1wire.sch", "20030131.mem", "20030215.mem"})
            home.write(name, "");
    }
    static int columnOf(const QTreeWidget* list, const char* caption)
    {
        for (int c = 0; c < list->columnCount(); ++c)
            if (list->headerItem()->text(c) == QString::fromUtf8(caption))
                return c;
        return -1;
    }
    int dayColumn(const char* caption) const { return columnOf(form->DayList->ListDaySch, caption); }
};

const char* const kClean = "[Clean]\r\nClean=1\r\nCleanTerm=3\r\n";

} // namespace

TEST_F(ShutdownFixture, CleanUpAsksOnceWithTheTimerStoppedAndDeletesOnlyOnYes)
{
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        SCOPED_TRACE(answer == MessageAnswer::Yes ? "Yes" : "No");
        platform.setToday(2003, 5, 20);
        platform.messages.clear();
        writeOldData();
        start(kClean);
        platform.messageAnswers.push_back(answer);
        QTimer* timer = form->PanelTimer->Timer1;
        ASSERT_TRUE(timer->isActive());
        form->ApplicationExit();
        EXPECT_FALSE(timer->isActive());
        form.reset();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].caption, "スケジュールの洗い替え");
        EXPECT_EQ(platform.messages[0].text, "2003年 2月以前のスケジュールを削除します。\r\n"
                                             "2003年 1月以前のメモも削除します。\r\nよろしいですか？");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Warning);
        EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
        const bool yes = answer == MessageAnswer::Yes;
        for (const char* old : {"200301.sch", "200302.sch", "20030131.mem"})
            EXPECT_EQ(home.exists(old), !yes) << old;
        for (const char* kept : {"200303.sch", "1wire.sch", "20030215.mem"})
            EXPECT_TRUE(home.exists(kept)) << kept;
    }
}

TEST_F(ShutdownFixture, NoQuestionWithoutAnOldScheduleOrWithAnUnofferedTerm)
{
    for (const char* settings : {"[Clean]\r\nClean=1\r\nCleanTerm=4\r\n", "[Clean]\r\nClean=1\r\nCleanTerm=0\r\n",
                                 "[Clean]\r\nClean=0\r\nCleanTerm=3\r\n"}) {
        SCOPED_TRACE(settings);
        platform.setToday(2003, 5, 20);
        writeOldData();
        start(settings);
        close();
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_TRUE(home.exists("200301.sch"));
    }
    home.write("19990101.mem", "");
    for (const char* name : {"200301.sch", "200302.sch"})
        files::deleteFile(home.file(name));
    start(kClean);
    close();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(home.exists("19990101.mem")) << "old memos stay when no schedule file qualifies";
}

TEST_F(ShutdownFixture, AWindowNeverShownWritesAndDeletesNothing)
{
    platform.setToday(2003, 5, 20);
    writeOldData();
    start(std::string(kClean) + "[Window]\r\nTaskTray=1\r\nPosMode=0\r\n");
    ASSERT_FALSE(form->isVisible());
    const std::string before = home.read("Kalendra.ini");
    close();
    EXPECT_EQ(home.read("Kalendra.ini"), before);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(home.exists("200301.sch"));
}

TEST_F(ShutdownFixture, TheEndOfTheSessionSavesTheLayoutAndAsksNothing)
{
    platform.setToday(2003, 5, 20);
    writeOldData();
    start(std::string(kClean) + "[Window]\r\nPosMode=3\r\nNow=2003\r\n");
    form->MenuNoteClick();
    form->SessionSave();
    EXPECT_EQ(key("View", "Note"), 0);
    EXPECT_TRUE(platform.messages.empty());
    form->MenuNoteClick();
    bool closed = false;
    QObject::connect(form.get(), &TForm1::closed, form.get(), [&] { closed = true; });
    form->LogOff();
    EXPECT_TRUE(closed);
    EXPECT_EQ(key("View", "Note"), 1);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(home.exists("200301.sch"));
    form.reset();
    EXPECT_TRUE(platform.messages.empty()) << "closed once";

    // A log-off the user cancelled: the next exit asks as usual.
    start(kClean);
    form->SessionSave();
    close();
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST_F(ShutdownFixture, ClosingMinimisedKeepsTheNormalGeometryHeightsAndWidths)
{
    start("[Window]\r\nPosMode=3\r\nLeft=40\r\nTop=30\r\nWidth=700\r\nHeight=500\r\nSchHeight=99\r\n"
          "SchWidth=150\r\nTNoWidth=111\r\nNow=2026\r\n");
    form->MenuNoteClick();
    form->showMinimized();
    QTest::qWait(10);
    form->DayList->ListDaySch->setColumnWidth(dayColumn("内容"), 60);
    close();
    EXPECT_EQ(key("View", "Note"), 0) << "the modes are written";
    EXPECT_EQ(key("Window", "Left"), 40);
    EXPECT_EQ(key("Window", "Top"), 30);
    EXPECT_EQ(key("Window", "Width"), 700);
    EXPECT_EQ(key("Window", "Height"), 500);
    EXPECT_EQ(key("Window", "SchHeight"), 99);
    EXPECT_EQ(key("Window", "SchWidth"), 150);
    EXPECT_EQ(key("Window", "TNoWidth"), 111);
}

TEST_F(ShutdownFixture, ColumnWidthsSurviveARestartAndUntouchedOnesWriteNothing)
{
    const std::string settings = "[Window]\r\nPosMode=3\r\nLeft=40\r\nTop=30\r\nWidth=700\r\nHeight=500\r\n"
                                 "SchWidth=150\r\nPlcWidth=70\r\nCatWidth=90\r\nTNoWidth=111\r\nNow=2026\r\n"
                                 "[Unknown]\r\nKeep=this\r\n";
    start(settings + "[View]\r\nSchView=111111\r\n");
    EXPECT_EQ(form->DayList->ListDaySch->columnWidth(dayColumn("内容")), 150);
    EXPECT_EQ(form->DayList->ListDaySch->columnWidth(dayColumn("場所")), 70);
    const std::string before = home.read("Kalendra.ini");
    close();
    EXPECT_EQ(home.read("Kalendra.ini"), before) << "nothing moved, nothing written";

    start(settings + "[View]\r\nSchView=111111\r\n");
    form->DayList->ListDaySch->setColumnWidth(dayColumn("内容"), 180);
    form->DayList->ListDaySch->setColumnWidth(dayColumn("分類"), 44);
    form->PanelTodo->ListTodoOk->setColumnWidth(columnOf(form->PanelTodo->ListTodoOk, "件名"), 200);
    close();
    EXPECT_EQ(key("Window", "SchWidth"), 180);
    EXPECT_EQ(key("Window", "PlcWidth"), 70);
    EXPECT_EQ(key("Window", "CatWidth"), 44);
    EXPECT_EQ(key("Window", "TNoWidth"), 111);
    EXPECT_EQ(key("Window", "TOkWidth"), 200);
    EXPECT_EQ(key("Window", "NPrWidth"), 48);
    EXPECT_NE(home.read("Kalendra.ini").find("[Unknown]\r\nKeep=this\r\n"), std::string::npos);

    form = std::make_unique<TForm1>(services, home.path());
    ASSERT_EQ(form->FormCreate(), 0);
    form->ShowAtStart();
    EXPECT_EQ(form->DayList->ListDaySch->columnWidth(dayColumn("内容")), 180);
    EXPECT_EQ(form->DayList->ListDaySch->columnWidth(dayColumn("分類")), 44);
}

TEST_F(ShutdownFixture, TerminationCancelsAWaitingQuestionAndSavesAsAtExit)
{
    start(kClean);
    form->FormInitSize(1);
    qt::TerminationSignal termination;
    ASSERT_TRUE(termination.installed());
    QObject::connect(&termination, &qt::TerminationSignal::received, form.get(), &TForm1::LogOff);
    QTimer::singleShot(20, form.get(), [] { ::raise(SIGTERM); });
    QMessageBox question(QMessageBox::Question, "?", "?", QMessageBox::Yes | QMessageBox::No, form.get());
    QTimer::singleShot(1500, &question, [&] { question.done(QMessageBox::Yes); }); // the test's way out
    EXPECT_NE(question.exec(), QMessageBox::Yes) << "cancelled: a message box refuses the window system's close";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 2000));
    EXPECT_EQ(key("Window", "Width"), 638) << "saved as at exit, without the clean-up question";
    EXPECT_TRUE(platform.messages.empty());
}
