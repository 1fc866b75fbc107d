// The main window's display modes with the event loop running, as a user meets them: the mini
// calendar, calendar-only mode, the keys that work in every mode, placement and the tray entry.
#include "calendar/CellPaint.h"
#include "calendar/qt/MonthGrid.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/IniFile.h"
#include "platform/qt/ElidedLabel.h"
#include "schedule/ScheduleRecord.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace kal;
using namespace kal::test;

namespace {

struct ModesFixture : MainWindowFixture {
    // Layout requests, placement and painting happen in the event loop.
    static void settle() { QTest::qWait(30); }
    void startActive(const std::string& extraSettings = "")
    {
        start(extraSettings);
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        settle();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QTest::keyClick(target, key, modifiers);
        settle();
    }
    std::pair<int, int> view() const { return {form->Calendar->cursor().viewYear, form->Calendar->cursor().viewMonth}; }
    QRect screenArea() const { return form->screen()->availableGeometry(); }
    IniFile savedSettings()
    {
        form->ApplicationExit();
        form.reset();
        IniFile ini(home.file("Kalendra.ini"));
        ini.load();
        return ini;
    }
    // No larger than the screen, the frame inside it where it fits, else its title bar.
    void expectUsableOnScreen() const
    {
        const QRect frame = form->frameGeometry(), screen = screenArea();
        EXPECT_LE(form->width(), screen.width());
        EXPECT_LE(form->height(), screen.height());
        EXPECT_GE(form->width(), 100);
        EXPECT_GE(form->height(), 80);
        EXPECT_TRUE(screen.contains(frame.topLeft()));
        if (frame.width() <= screen.width()) {
            EXPECT_LE(frame.right(), screen.right());
        }
        if (frame.height() <= screen.height()) {
            EXPECT_LE(frame.bottom(), screen.bottom());
        }
    }
    QImage gridImage() const { return form->Calendar->GridMonth->grab().toImage(); }
    // Columns of a grid cell holding anything but the cell's background (its top-left pixel).
    int inkWidth(int column, int row) const
    {
        const QImage image = gridImage();
        const QRect cell = form->Calendar->GridMonth->cellRect(column, row);
        const QRgb background = image.pixel(cell.topLeft());
        int first = -1, last = -1;
        for (int x = cell.left(); x <= cell.right(); ++x)
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                if (image.pixel(x, y) != background) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
        return first < 0 ? 0 : last - first + 1;
    }
    int pixelsOf(QRgb colour) const
    {
        const QImage image = gridImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
        return count;
    }
    // Day cells whose right or bottom edge is drawn as a grid line.
    int cellsWithGridLines() const
    {
        const QImage image = gridImage();
        const QRgb line = qRgb(0x55, 0x55, 0x55);
        int count = 0;
        for (int row = 1; row < form->Calendar->GridMonth->rowCount(); ++row)
            for (int column = 0; column < 7; ++column) {
                const QRect cell = form->Calendar->GridMonth->cellRect(column, row);
                count += image.pixel(cell.right(), cell.center().y()) == line ||
                         image.pixel(cell.center().x(), cell.bottom()) == line;
            }
        return count;
    }
};

} // namespace

TEST_F(ModesFixture, MiniCalendarKeepsItsRememberedSizeAndSavesIt)
{
    struct Case {
        const char* how;
        std::string settings;
        bool switchByKey;
        QSize expected;
    };
    const Case cases[] = {
        {"default size, switched by F12", "", true, QSize(164, 176)},
        {"remembered size, started in mini mode", "[Window]\r\nSmallMode=1\r\n[Mini]\r\nWidth=190\r\nHeight=200\r\n",
         false, QSize(190, 200)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        startActive(c.settings);
        if (c.switchByKey)
            press(Qt::Key_F12);
        ASSERT_TRUE(form->miniMode());
        EXPECT_EQ(form->size(), c.expected);
        IniFile ini = savedSettings();
        EXPECT_EQ(ini.readInteger("Mini", "Width", 0), c.expected.width());
        EXPECT_EQ(ini.readInteger("Mini", "Height", 0), c.expected.height());
        EXPECT_EQ(ini.readInteger("Window", "Width", 0), 799) << "the normal size stays as it was";
    }
}

TEST_F(ModesFixture, NavigationTrayAndMiniKeysWorkWhileTheMenuBarIsHidden)
{
    startActive("[Window]\r\nSmallMode=1\r\n");
    ASSERT_FALSE(form->menuBar()->isVisible());
    press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(view(), std::make_pair(2027, 1));
    press(Qt::Key_B, Qt::ControlModifier);
    press(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(view(), std::make_pair(2026, 11));
    press(Qt::Key_Home);
    EXPECT_EQ(view(), std::make_pair(2026, 12));
    press(Qt::Key_F12);
    EXPECT_FALSE(form->miniMode()) << "F12 leads back out of the mini calendar";
    EXPECT_TRUE(form->menuBar()->isVisible());
    press(Qt::Key_F12);
    EXPECT_TRUE(form->miniMode());
    press(Qt::Key_F3);
    EXPECT_FALSE(form->isVisible()) << "F3 puts the mini calendar into the tray";
}

TEST_F(ModesFixture, RefusedMiniSwitchLeavesTheEntryAndButtonUnticked)
{
    start();
    form->showMaximized();
    settle();
    for (QAction* command : {form->MenuSmall, form->TBtnSmall}) {
        SCOPED_TRACE(command->objectName().toStdString());
        command->trigger();
        EXPECT_FALSE(form->miniMode());
        EXPECT_FALSE(form->MenuSmall->isChecked());
        EXPECT_FALSE(form->TBtnSmall->isChecked());
    }
}

TEST_F(ModesFixture, MiniCalendarDrawsTheDayNumbersOnly)
{
    // A schedule with a pure green background band, and rokuyo on (the default).
    home.write("Category.tbl", crlf({"Work          1 0000000000065280"}));
    ScheduleFields f;
    f.day = 10;
    f.category = "Work";
    f.title = "meeting";
    home.write("202612.sch", crlf({ComposeSchedule(f)}));
    const QRgb green = qRgb(0, 255, 0);
    startActive();
    ASSERT_GT(pixelsOf(green), 0) << "the month view draws the schedule's band";
    ASSERT_GT(cellsWithGridLines(), 0);
    press(Qt::Key_F12);
    ASSERT_TRUE(form->miniMode());
    EXPECT_EQ(pixelsOf(green), 0) << "no schedule lines";
    EXPECT_EQ(cellsWithGridLines(), 0) << "no grid lines";
    press(Qt::Key_F12);
    EXPECT_GT(pixelsOf(green), 0);
}

TEST_F(ModesFixture, CalendarOnlyHeaderShowsLongWeekdayNamesInAHighEnoughRow)
{
    startActive();
    const int shortName = inkWidth(1, 0);
    press(Qt::Key_F10);
    ASSERT_FALSE(form->panelWithRight());
    const int longName = inkWidth(1, 0);
    EXPECT_GT(longName, 2 * shortName) << "月曜日 instead of 月";

    // The names are drawn 3 pixels below the row's top and must end inside it.
    const int headerHeight = form->Calendar->GridMonth->rowHeights()[0];
    EXPECT_GE(headerHeight, 3 + QFontMetrics(form->font()).height());
    const QImage header = form->Calendar->GridMonth->grab(form->Calendar->GridMonth->cellRect(1, 0)).toImage();
    const QRgb background = header.pixel(0, 0);
    for (int x = 0; x < header.width(); ++x)
        ASSERT_EQ(header.pixel(x, header.height() - 1), background) << "glyphs reach the row's bottom at " << x;

    press(Qt::Key_F10);
    EXPECT_TRUE(form->panelWithRight());
    EXPECT_EQ(inkWidth(1, 0), shortName);
}

TEST_F(ModesFixture, TopRightPlacementKeepsTheFrameInsideTheScreen)
{
    for (const char* mode : {"[Window]\r\nPosMode=2\r\nWidth=600\r\nHeight=400\r\n",
                             "[Window]\r\nSmallMode=1\r\n[Mini]\r\nPosMode=2\r\n"}) {
        SCOPED_TRACE(mode);
        start(mode);
        settle();
        const QRect frame = form->frameGeometry();
        ASSERT_NE(frame.size(), form->size()) << "the test platform draws frames";
        EXPECT_EQ(frame.right(), screenArea().right());
        EXPECT_EQ(frame.top(), screenArea().top() + 1);
        EXPECT_TRUE(screenArea().contains(frame));
        form->ApplicationExit();
    }
}

TEST_F(ModesFixture, StoredSizesAndPositionsAreLimitedToTheScreen)
{
    const char* cases[] = {
        "[Window]\r\nPosMode=3\r\nWidth=60000\r\nHeight=60000\r\nLeft=60000\r\nTop=60000\r\n",
        "[Window]\r\nPosMode=3\r\nWidth=2147483647\r\nHeight=-2147483648\r\nLeft=-2147483648\r\nTop=2147483647\r\n"
        "PnlWidth=2147483647\r\nGridHeight=-2147483648\r\nSchHeight=2147483647\r\nMemoHeight=2147483647\r\n",
        "[Window]\r\nSmallMode=1\r\n[Mini]\r\nPosMode=3\r\nWidth=60000\r\nHeight=-1\r\nLeft=-5000\r\nTop=-5000\r\n",
        "[Window]\r\nSmallMode=1\r\n[Mini]\r\nWidth=-2147483648\r\nHeight=2147483647\r\nPosMode=1\r\n",
    };
    for (const char* settings : cases) {
        SCOPED_TRACE(settings);
        start(settings);
        settle();
        expectUsableOnScreen();
        EXPECT_GT(form->Calendar->GridMonth->width(), 0);
        EXPECT_GT(form->Calendar->GridMonth->height(), 0);
        // Switching modes and the presets work from what was limited.
        form->SmallSize();
        settle();
        expectUsableOnScreen();
        form->SmallSize();
        form->FormInitSize(0);
        settle();
        expectUsableOnScreen();
        form->ApplicationExit();
    }
}

TEST_F(ModesFixture, TrayEntryHidesTheWindowWhileItIsVisibleMinimisedIncluded)
{
    start();
    for (bool minimised : {false, true}) {
        SCOPED_TRACE(minimised ? "minimised" : "normal");
        if (minimised)
            form->showMinimized();
        settle();
        form->PopupTrayPopup();
        EXPECT_EQ(form->PopTraySize->text(), QString::fromUtf8("タスクトレイに入れる(&R)"));
    }
    form->PopTraySize->trigger();
    EXPECT_FALSE(form->isVisible());
    form->PopupTrayPopup();
    EXPECT_EQ(form->PopTraySize->text(), QString::fromUtf8("タスクトレイから出す(&S)"));
}

TEST_F(ModesFixture, TheMiniCalendarShowsTheMonthAndTheWeekViewComesBack)
{
    start();
    form->Calendar->GridModeClick();
    form->Calendar->NextMonthChange();
    const Date day = form->Calendar->cursor().selectedDate;
    form->SmallSize();
    EXPECT_EQ(form->Calendar->shownMode(), CalendarViewMode::Month);
    EXPECT_TRUE(form->Calendar->GridMonth->isVisible());
    EXPECT_EQ(form->Calendar->cursor().selectedDate, day);
    form->Calendar->GridModeClick(); // nothing in the mini calendar
    EXPECT_EQ(form->Calendar->shownMode(), CalendarViewMode::Month);
    EXPECT_TRUE(form->Calendar->MenuMonthly->isChecked());
    form->SmallSize();
    EXPECT_EQ(form->Calendar->shownMode(), CalendarViewMode::Week);
    EXPECT_TRUE(form->Calendar->BtnBeforeMonth->isVisible());
    EXPECT_FALSE(form->Calendar->BtnNextYear->isVisible());
    EXPECT_EQ(form->Calendar->cursor().selectedDate, day);
}

TEST_F(ModesFixture, TheCalendarViewIsWrittenAtExitAndAppliedAtTheNextStart)
{
    start();
    form->Calendar->GridModeClick();
    form->ApplicationExit();
    form.reset();
    const std::string written = home.read("Kalendra.ini");
    EXPECT_NE(written.find("GridMode=1"), std::string::npos);
    start(written.substr(written.find("[Window]")));
    EXPECT_EQ(form->Calendar->shownMode(), CalendarViewMode::Week);
    EXPECT_EQ(form->Calendar->monthBuild().layout.dateOf(form->Calendar->GridWeek->selectedRow(),
                                                         form->Calendar->GridWeek->weekRow()),
              (Date{2026, 12, 8}));
    form->Calendar->GridModeClick();
    form->ApplicationExit();
    form.reset();
    EXPECT_NE(home.read("Kalendra.ini").find("GridMode=0"), std::string::npos);
}

TEST_F(ModesFixture, MiniCalendarStatusTextsFitOrEndInAnEllipsis)
{
    startActive("[Window]\r\nSmallMode=1\r\n[Mini]\r\nStatusBar=1\r\n");
    form->Sync->StatusSync->setText(QString::fromUtf8("12:34 同期しました（追加 3 件、変更 12 件）"));
    form->Notices->StatusWarning->setText(QString::fromUtf8("読めないファイル：202612.sch"));
    form->Notices->StatusWarning->show();
    settle();
    const QStatusBar* bar = form->statusBar();
    QList<QWidget*> shown;
    for (QWidget* part : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (part->isVisible())
            shown << part;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        SCOPED_TRACE(shown[i]->objectName().toStdString());
        EXPECT_TRUE(bar->rect().contains(shown[i]->geometry()));
        for (qsizetype j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry())) << shown[j]->objectName().toStdString();
        if (auto* label = qobject_cast<QLabel*>(shown[i])) {
            const auto* elided = dynamic_cast<qt::ElidedLabel*>(label);
            const QString drawn = elided ? elided->shownText() : label->text();
            EXPECT_LE(label->fontMetrics().horizontalAdvance(drawn), label->contentsRect().width());
        }
    }
}
