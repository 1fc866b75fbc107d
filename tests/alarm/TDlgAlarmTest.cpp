// The alarm and time-signal window: sizes, places, texts, keys, and messages added while open.
#include "alarm/TDlgAlarm.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace kal;

namespace {

AlarmMessage signalAt12()
{
    return {MessageKind::Signal, "時報", "12時00分をお知らせします。"};
}

AlarmMessage meeting()
{
    return {MessageKind::Alarm, "「会議」の予定時刻",
            "14時20分です。\n\r『打ち合わせ』の時間の10分前です。\n\r\n\r　■時間： 14:30 ～ 15:30\n\r\n\r"
            "　■場所： 本社"};
}

QPoint placeIn(const QWidget* child, const QWidget* window)
{
    return child->mapTo(window, QPoint(0, 0));
}

} // namespace

TEST(TDlgAlarm, SignalWindowHasItsSizeFontAndButtonPlace)
{
    TDlgAlarm dialog;
    dialog.addMessage({MessageKind::Signal, "時報", "1時"});
    dialog.open();
    QTest::qWait(10);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("時報"));
    EXPECT_EQ(dialog.size(), QSize(200, 110));
    EXPECT_EQ(dialog.BtnOk->geometry(), QRect(56, 110 - 56, 75, 25));
    EXPECT_EQ(placeIn(dialog.LabelMsg, &dialog), QPoint(16, 16));
    EXPECT_EQ(dialog.LabelMsg->font().pointSize(), 10);
    EXPECT_EQ(dialog.BtnOk->text(), "OK");
    EXPECT_TRUE(dialog.BtnOk->isDefault());
}

TEST(TDlgAlarm, AWindowGrowsToShowItsWholeText)
{
    for (const AlarmMessage& message : {signalAt12(), meeting()}) {
        SCOPED_TRACE(message.caption);
        TDlgAlarm dialog;
        dialog.addMessage(message);
        dialog.open();
        QTest::qWait(10);
        EXPECT_LE(dialog.LabelMsg->sizeHint().height(), dialog.ScrollMsg->viewport()->height());
        EXPECT_LE(dialog.LabelMsg->sizeHint().width(), dialog.ScrollMsg->viewport()->width());
        EXPECT_LE(placeIn(dialog.ScrollMsg, &dialog).y() + dialog.ScrollMsg->height(), dialog.BtnOk->y());
        EXPECT_EQ(dialog.BtnOk->y(), dialog.height() - 56);
        EXPECT_LE(dialog.BtnOk->geometry().right(), dialog.width());
    }
}

TEST(TDlgAlarm, AlarmWindowIsAtLeast160HighWithOneLineAPiece)
{
    TDlgAlarm dialog;
    dialog.addMessage(meeting());
    dialog.open();
    QTest::qWait(10);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("「会議」の予定時刻"));
    EXPECT_GE(dialog.height(), 160);
    EXPECT_GE(dialog.width(), 305);
    EXPECT_EQ(dialog.LabelMsg->text(),
              QString::fromUtf8("14時20分です。\n『打ち合わせ』の時間の10分前です。\n\n　■時間： 14:30 ～ 15:30\n\n"
                                "　■場所： 本社"));
}

TEST(TDlgAlarm, ShortAlarmTextKeepsTheBaseSize)
{
    TDlgAlarm dialog;
    dialog.addMessage({MessageKind::Alarm, "予定の時刻", "9時05分です。"});
    EXPECT_EQ(dialog.size(), QSize(305, 160));
    EXPECT_EQ(dialog.BtnOk->geometry(), QRect(115, 104, 75, 25));
}

TEST(TDlgAlarm, StaysOnTopWithOnlyACloseBoxAndCentred)
{
    TDlgAlarm dialog;
    dialog.addMessage(signalAt12());
    dialog.open();
    QTest::qWait(10);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((dialog.frameGeometry().center() - area.center()).manhattanLength(), 2);
}

TEST(TDlgAlarm, ReturnAndEscapeBothClose)
{
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key);
        auto* dialog = new TDlgAlarm;
        QPointer<TDlgAlarm> alive(dialog);
        QSignalSpy finished(dialog, &QDialog::finished);
        dialog->addMessage(signalAt12());
        dialog->open();
        QTest::qWait(10);
        QTest::keyClick(dialog, static_cast<Qt::Key>(key));
        QTest::qWait(10);
        EXPECT_EQ(finished.count(), 1);
        EXPECT_TRUE(alive.isNull()) << "the window is released when closed";
    }
}

TEST(TDlgAlarm, LaterMessagesAreAddedBelowAndTakeTheCaption)
{
    TDlgAlarm dialog;
    dialog.addMessage(meeting());
    const QSize first = dialog.size();
    dialog.addMessage(signalAt12());
    EXPECT_EQ(dialog.messageCount(), 2);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("時報"));
    EXPECT_TRUE(dialog.LabelMsg->text().startsWith(QString::fromUtf8("14時20分です。")));
    EXPECT_TRUE(dialog.LabelMsg->text().endsWith(QString::fromUtf8("本社\n\n12時00分をお知らせします。")));
    EXPECT_GT(dialog.height(), first.height());
    EXPECT_NE(dialog.LabelMsg->font().pointSize(), 10) << "the first message chose the look";
}

TEST(TDlgAlarm, ManyMessagesScrollInsteadOfLeavingTheScreen)
{
    TDlgAlarm dialog;
    for (int i = 0; i < 60; ++i)
        dialog.addMessage(meeting());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(dialog.height(), area.height());
    EXPECT_GT(dialog.LabelMsg->sizeHint().height(), dialog.ScrollMsg->viewport()->height());
}

TEST(AlarmDisplayText, EveryLineBreakFormIsOneBreak)
{
    EXPECT_EQ(AlarmDisplayText("a\n\rb\r\nc\rd\ne"), "a\nb\nc\nd\ne");
}
