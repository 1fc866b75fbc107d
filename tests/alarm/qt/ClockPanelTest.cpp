// The clock panel driven through applyLook and tick, offscreen.
#include "alarm/qt/ClockPanel.h"
#include "platform/qt/QtText.h"
#include "support/TempFolder.h"

#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <vector>

using namespace kal;
using namespace kal::clock;
using kal::qt::ClockLook;
using kal::qt::ClockPanel;
using kal::test::sj;

namespace {

const DateTime kFifthMarch{{2004, 3, 5}, 9, 7, 3};

char glyphChar(Glyph glyph)
{
    if (glyph == Glyph::Blank)
        return ' ';
    if (glyph == Glyph::Dash)
        return '-';
    return static_cast<char>('0' + static_cast<int>(glyph));
}

std::string shownCells(const ClockPanel& panel)
{
    std::string out;
    for (int cell = 0; cell < kCellCount; ++cell)
        out += glyphChar(panel.glyphAt(cell));
    return out;
}

std::vector<const QWidget*> graphicLabels(const ClockPanel& panel)
{
    return {panel.LabelClock, panel.LabelWeek, panel.LabelAmPm, panel.LabelCol1, panel.LabelCol2};
}

ClockLook graphicLook()
{
    ClockLook look;
    look.dateColor = 0x00FF00;    // green
    look.background = 0x202020;   // dark grey
    look.weekdayColor = 0x0000FF; // red (red in the low byte)
    look.timeColor = 0xFFFF00;    // cyan
    return look;
}

QColor colorOf(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QColor textColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}
QColor backColor(const QWidget* widget)
{
    return widget->palette().color(QPalette::Window);
}

} // namespace

TEST(ClockPanel, ControlsCarryTheirNamesAndPlaces)
{
    ClockPanel panel;
    EXPECT_EQ(panel.objectName(), "PanelClock");
    EXPECT_EQ(panel.height(), 26);
    for (const char* name : {"LabelClock", "LabelWeek", "LabelAmPm", "LabelCol1", "LabelCol2"})
        EXPECT_NE(panel.findChild<QLabel*>(name), nullptr) << name;

    const int origin = panel.LabelClock->x();
    EXPECT_EQ(panel.LabelWeek->x() - origin, 152);
    EXPECT_EQ(panel.LabelAmPm->x() - origin, 178);
    EXPECT_EQ(panel.LabelCol1->x() - origin, 225);
    EXPECT_EQ(panel.LabelCol2->x() - origin, 270);
    EXPECT_EQ(panel.LabelClock->height(), 22);
    // The last cell starts at 300 and its digit reaches x 313.
    EXPECT_GT(panel.LabelClock->width(), 300 + kDigitWidth);
    EXPECT_EQ(panel.LabelWeek->font().family(), "Arial");
    EXPECT_TRUE(panel.LabelWeek->font().bold());
}

TEST(ClockPanel, GraphicClockShowsDateTimeAndWeekday)
{
    ClockPanel panel;
    panel.applyLook(graphicLook());
    panel.tick(kFifthMarch);

    EXPECT_EQ(shownCells(panel), "2004- 3- 5    9 07 03");
    EXPECT_EQ(panel.LabelWeek->text(), "FRI");
    EXPECT_EQ(panel.frameShape(), QFrame::Box);
    EXPECT_EQ(panel.lineWidth(), 1);
    EXPECT_FALSE(panel.LabelClock->isHidden());
    EXPECT_FALSE(panel.LabelWeek->isHidden());
    EXPECT_FALSE(panel.LabelCol1->isHidden());
    EXPECT_FALSE(panel.LabelCol2->isHidden());
    EXPECT_TRUE(panel.LabelAmPm->isHidden()) << "twenty-four-hour display has no AM/PM";

    // The next second changes only the seconds.
    panel.tick(DateTime{{2004, 3, 5}, 9, 7, 4});
    EXPECT_EQ(shownCells(panel), "2004- 3- 5    9 07 04");
}

TEST(ClockPanel, SegmentsAndLabelsTakeTheClockColours)
{
    ClockLook look = graphicLook();
    ClockPanel panel;
    panel.applyLook(look);
    panel.tick(kFifthMarch);
    const QColor date = colorOf(look.dateColor), time = colorOf(look.timeColor), back = colorOf(look.background);

    // Cell 0 shows 2: top lit, upper left dark.
    EXPECT_EQ(panel.LabelClock->segmentColor(0, 1), date);
    EXPECT_EQ(panel.LabelClock->segmentColor(0, 2), back);
    // Cell 4 is the dash: only the middle.
    EXPECT_EQ(panel.LabelClock->segmentColor(4, 7), date);
    EXPECT_EQ(panel.LabelClock->segmentColor(4, 1), back);
    // Cell 14 shows 9 in the time colour; cell 13 is blank.
    EXPECT_EQ(panel.LabelClock->segmentColor(14, 3), time);
    EXPECT_EQ(panel.LabelClock->segmentColor(14, 4), back);
    for (int segment = 1; segment <= kSegmentCount; ++segment)
        EXPECT_EQ(panel.LabelClock->segmentColor(13, segment), back);
    // Cell 20 shows 3.
    EXPECT_EQ(panel.LabelClock->segmentColor(20, 5), time);

    EXPECT_EQ(textColor(panel.LabelWeek), colorOf(look.weekdayColor));
    EXPECT_EQ(backColor(panel.LabelWeek), back);
    for (const QLabel* label : {panel.LabelCol1, panel.LabelCol2, panel.LabelAmPm}) {
        EXPECT_EQ(textColor(label), time) << label->objectName().toStdString();
        EXPECT_EQ(backColor(label), back) << label->objectName().toStdString();
    }
}

TEST(ClockPanel, LastCellIsPaintedNotClipped)
{
    ClockLook look = graphicLook();
    ClockPanel panel;
    panel.resize(340, 26);
    panel.applyLook(look);
    panel.tick(kFifthMarch);
    QImage image = panel.LabelClock->grab().toImage();
    ASSERT_GT(image.width(), 313);
    // Seconds units 3: upper and lower right lit, upper and lower left dark.
    EXPECT_EQ(QColor(image.pixel(300 + 11, 7)), colorOf(look.timeColor));
    EXPECT_EQ(QColor(image.pixel(300 + 11, 15)), colorOf(look.timeColor));
    EXPECT_EQ(QColor(image.pixel(300 + 2, 7)), colorOf(look.background));
    EXPECT_EQ(QColor(image.pixel(300 + 2, 15)), colorOf(look.background));
    // Year digit 2 in cell 0: top lit in the date colour.
    EXPECT_EQ(QColor(image.pixel(6, 4)), colorOf(look.dateColor));
}

TEST(ClockPanel, SwitchingSecondsOffBlanksThemAndHidesTheColonAtOnce)
{
    ClockPanel panel;
    ClockLook look = graphicLook();
    panel.applyLook(look);
    panel.tick(kFifthMarch);
    ASSERT_EQ(panel.glyphAt(20), Glyph::D3);

    look.seconds = false;
    panel.applyLook(look);
    EXPECT_TRUE(panel.LabelCol2->isHidden());
    EXPECT_EQ(panel.glyphAt(19), Glyph::Blank);
    EXPECT_EQ(panel.glyphAt(20), Glyph::Blank);
    EXPECT_EQ(shownCells(panel), "2004- 3- 5    9 07   ");
    for (int segment = 1; segment <= kSegmentCount; ++segment)
        EXPECT_EQ(panel.LabelClock->segmentColor(19, segment), colorOf(look.background));

    // Later ticks keep them blank; switching back shows them again without waiting.
    panel.tick(DateTime{{2004, 3, 5}, 9, 7, 59});
    EXPECT_EQ(shownCells(panel), "2004- 3- 5    9 07   ");
    look.seconds = true;
    panel.applyLook(look);
    EXPECT_FALSE(panel.LabelCol2->isHidden());
    EXPECT_EQ(shownCells(panel), "2004- 3- 5    9 07 59");
}

TEST(ClockPanel, TwelveHourDisplayShowsAmPm)
{
    ClockPanel panel;
    ClockLook look = graphicLook();
    look.twentyFourHour = false;
    panel.applyLook(look);
    EXPECT_FALSE(panel.LabelAmPm->isHidden());

    panel.tick(DateTime{{2004, 3, 5}, 13, 5, 0});
    EXPECT_EQ(shownCells(panel), "2004- 3- 5    1 05 00");
    EXPECT_EQ(panel.LabelAmPm->text(), "PM");

    panel.tick(DateTime{{2004, 3, 6}, 0, 30, 0});
    EXPECT_EQ(shownCells(panel), "2004- 3- 6   12 30 00");
    EXPECT_EQ(panel.LabelAmPm->text(), "AM");
    EXPECT_EQ(panel.LabelWeek->text(), "SAT");

    look.twentyFourHour = true;
    panel.applyLook(look);
    EXPECT_TRUE(panel.LabelAmPm->isHidden());
    EXPECT_EQ(shownCells(panel), "2004- 3- 6    0 30 00");
}

TEST(ClockPanel, TextClockShowsTheFormattedCaptionInItsFont)
{
    ClockPanel panel;
    ClockLook look = graphicLook();
    look.type = 1;
    look.style = sj("yyyy\"年\"m\"月\"d\"日\"(aaa) hh:nn:ss");
    look.font = FontSpec{"IPAGothic", 12, FontStyle::Bold, 0x0000FF};
    panel.applyLook(look);
    panel.tick(kFifthMarch);

    EXPECT_EQ(panel.caption(), QString::fromUtf8("2004年3月5日(金) 09:07:03"));
    for (const QWidget* label : graphicLabels(panel))
        EXPECT_TRUE(label->isHidden()) << label->objectName().toStdString();
    EXPECT_EQ(panel.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(panel.font().family(), "IPAGothic");
    EXPECT_EQ(panel.font().pointSize(), 12);
    EXPECT_TRUE(panel.font().bold());
    EXPECT_EQ(textColor(&panel), QColor(255, 0, 0));

    panel.tick(DateTime{{2004, 3, 5}, 9, 7, 4});
    EXPECT_EQ(panel.caption(), QString::fromUtf8("2004年3月5日(金) 09:07:04"));

    // A stored font without a size falls back to 14 points.
    look.font.size = 0;
    panel.applyLook(look);
    EXPECT_EQ(panel.font().pointSize(), 14);

    // Back to the graphic look: labels return, the caption is not painted.
    look.type = 0;
    panel.applyLook(look);
    EXPECT_FALSE(panel.LabelClock->isHidden());
    EXPECT_FALSE(panel.LabelWeek->isHidden());
    EXPECT_EQ(panel.frameShape(), QFrame::Box);
    EXPECT_EQ(shownCells(panel), "2004- 3- 5    9 07 04");
}

TEST(ClockPanel, TextClockAlignsLeftOrCentre)
{
    // Leftmost column painted in the text colour, inside the bevels.
    auto firstInkColumn = [](bool left) {
        ClockPanel panel;
        ClockLook look;
        look.type = 1;
        look.style = "hh:nn";
        look.font = FontSpec{"IPAGothic", 12, FontStyle::Regular, 0x0000FF};
        look.leftAligned = left;
        panel.resize(300, 26);
        panel.applyLook(look);
        panel.tick(kFifthMarch);
        QImage image = panel.grab().toImage();
        for (int x = 3; x < image.width() - 3; ++x)
            for (int y = 3; y < image.height() - 3; ++y) {
                QColor c(image.pixel(x, y));
                if (c.red() > 160 && c.green() < 110 && c.blue() < 110)
                    return x;
            }
        return -1;
    };
    int left = firstInkColumn(true);
    int centred = firstInkColumn(false);
    ASSERT_GE(left, 0);
    ASSERT_GE(centred, 0);
    EXPECT_LT(left, 20);
    EXPECT_GT(centred, 100);
}
