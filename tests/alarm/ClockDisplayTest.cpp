// The digital clock's cells, weekday, AM/PM and the text clock's caption.
#include "alarm/ClockDisplay.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace kal;
using namespace kal::clock;
using kal::test::sj;

namespace {

// One character per cell: digits, ' ' for a blank cell, '-' for the dash.
std::string cellsText(const ClockFace& face)
{
    std::string out;
    for (Glyph glyph : face.cells) {
        if (glyph == Glyph::Blank)
            out += ' ';
        else if (glyph == Glyph::Dash)
            out += '-';
        else
            out += static_cast<char>('0' + static_cast<int>(glyph));
    }
    return out;
}

std::set<int> litSegments(Glyph glyph)
{
    std::set<int> lit;
    auto segments = segmentsOf(glyph);
    for (int i = 0; i < kSegmentCount; ++i)
        if (segments[static_cast<std::size_t>(i)])
            lit.insert(i + 1);
    return lit;
}

DateTime at(int year, int month, int day, int hour, int minute, int second)
{
    return DateTime{{year, month, day}, hour, minute, second};
}

} // namespace

TEST(ClockDisplay, EveryGlyphLightsTheSegmentsThatDrawIt)
{
    // 1 top, 2 upper left, 3 upper right, 4 lower left, 5 lower right, 6 bottom, 7 middle.
    struct Case {
        Glyph glyph;
        std::set<int> segments;
    };
    const Case cases[] = {
        {Glyph::D0, {1, 2, 3, 4, 5, 6}}, {Glyph::D1, {3, 5}},       {Glyph::D2, {1, 3, 7, 4, 6}},
        {Glyph::D3, {1, 3, 7, 5, 6}},    {Glyph::D4, {2, 3, 7, 5}}, {Glyph::D5, {1, 2, 7, 5, 6}},
        {Glyph::D6, {1, 2, 7, 4, 5, 6}}, {Glyph::D7, {1, 3, 5}},    {Glyph::D8, {1, 2, 3, 4, 5, 6, 7}},
        {Glyph::D9, {1, 2, 3, 7, 5, 6}}, {Glyph::Blank, {}},        {Glyph::Dash, {7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.glyph));
        EXPECT_EQ(litSegments(c.glyph), c.segments);
    }
    for (int digit = 0; digit <= 9; ++digit)
        EXPECT_EQ(static_cast<int>(digitGlyph(digit)), digit);
    EXPECT_EQ(digitGlyph(10), Glyph::Blank);
    EXPECT_EQ(digitGlyph(-1), Glyph::Blank);
}

TEST(ClockDisplay, SegmentPolygonsSitWhereTheirNamesSay)
{
    struct Box {
        int segment, minX, maxX, minY, maxY;
    };
    const Box boxes[] = {
        {1, 0, 13, 2, 6},   // top
        {2, 0, 4, 2, 12},   // upper left
        {3, 9, 13, 2, 12},  // upper right
        {4, 0, 4, 11, 20},  // lower left
        {5, 9, 13, 11, 20}, // lower right
        {6, 0, 13, 16, 20}, // bottom
        {7, 2, 11, 9, 13},  // middle
    };
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.segment);
        const auto& points = segmentPolygon(box.segment);
        ASSERT_GE(points.size(), 4u);
        for (const SegmentPoint& p : points) {
            EXPECT_GE(p.x, box.minX);
            EXPECT_LE(p.x, box.maxX);
            EXPECT_GE(p.y, box.minY);
            EXPECT_LE(p.y, box.maxY);
            EXPECT_LT(p.x, kCellWidth);
        }
    }
    EXPECT_EQ(segmentPolygon(7).size(), 6u);
    EXPECT_TRUE(segmentPolygon(0).empty());
    EXPECT_TRUE(segmentPolygon(8).empty());
}

TEST(ClockDisplay, CellsGroupsAndPositions)
{
    for (int cell = 0; cell <= 9; ++cell)
        EXPECT_EQ(cellGroup(cell), CellGroup::Date) << cell;
    for (int cell : {13, 14, 16, 17, 19, 20})
        EXPECT_EQ(cellGroup(cell), CellGroup::Time) << cell;
    for (int cell : {10, 11, 12, 15, 18})
        EXPECT_EQ(cellGroup(cell), CellGroup::Label) << cell;
    EXPECT_EQ(cellX(0), 0);
    EXPECT_EQ(cellX(4), 60);
    EXPECT_EQ(cellX(13), 195);
    EXPECT_EQ(cellX(20), 300);
}

TEST(ClockDisplay, FaceShowsDateTimeWeekdayAndAmPm)
{
    struct Case {
        const char* name;
        DateTime now;
        SecondsDisplay seconds;
        HourDisplay hours;
        const char* cells; // 21 cells
        const char* weekday;
        const char* amPm;
    };
    const Case cases[] = {
        {"leading zeros blank", at(2004, 3, 5, 9, 7, 3), SecondsDisplay::Shown, HourDisplay::TwentyFour,
         "2004- 3- 5    9 07 03", "FRI", "AM"},
        {"twelve-hour afternoon", at(2004, 3, 5, 13, 5, 0), SecondsDisplay::Shown, HourDisplay::Twelve,
         "2004- 3- 5    1 05 00", "FRI", "PM"},
        {"half past midnight", at(2004, 3, 6, 0, 30, 0), SecondsDisplay::Shown, HourDisplay::Twelve,
         "2004- 3- 6   12 30 00", "SAT", "AM"},
        {"noon", at(2004, 3, 7, 12, 0, 0), SecondsDisplay::Shown, HourDisplay::Twelve, "2004- 3- 7   12 00 00", "SUN",
         "PM"},
        {"before noon", at(2004, 3, 8, 11, 59, 59), SecondsDisplay::Shown, HourDisplay::Twelve, "2004- 3- 8   11 59 59",
         "MON", "AM"},
        {"midnight on the 24-hour clock", at(2004, 3, 9, 0, 0, 0), SecondsDisplay::Shown, HourDisplay::TwentyFour,
         "2004- 3- 9    0 00 00", "TUE", "AM"},
        {"two-digit month and day", at(2026, 12, 31, 23, 59, 58), SecondsDisplay::Shown, HourDisplay::TwentyFour,
         "2026-12-31   23 59 58", "THU", "PM"},
        {"tenth and tenth", at(2010, 10, 10, 10, 10, 10), SecondsDisplay::Shown, HourDisplay::TwentyFour,
         "2010-10-10   10 10 10", "SUN", "AM"},
        {"seconds off", at(2004, 3, 10, 9, 7, 3), SecondsDisplay::Hidden, HourDisplay::TwentyFour,
         "2004- 3-10    9 07   ", "WED", "AM"},
        {"seconds off, twelve-hour", at(2004, 3, 11, 21, 45, 3), SecondsDisplay::Hidden, HourDisplay::Twelve,
         "2004- 3-11    9 45   ", "THU", "PM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClockFace face = clockFace(c.now, c.seconds, c.hours);
        EXPECT_EQ(cellsText(face), c.cells);
        EXPECT_EQ(face.weekday, c.weekday);
        EXPECT_EQ(face.amPm, c.amPm);
    }
}

TEST(ClockDisplay, HoursOnBothClocks)
{
    const int twelve[24] = {12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    for (int hour = 0; hour < 24; ++hour) {
        EXPECT_EQ(displayHour(hour, HourDisplay::TwentyFour), hour);
        EXPECT_EQ(displayHour(hour, HourDisplay::Twelve), twelve[hour]) << hour;
    }
}

TEST(ClockDisplay, CaptionFollowsTheStylePattern)
{
    struct Case {
        const char* styleUtf8;
        DateTime now;
        const char* expectedUtf8;
    };
    const Case cases[] = {
        {"yyyy-mm-dd hh:mm:ss", at(2004, 3, 5, 9, 7, 3), "2004-03-05 09:07:03"},
        {"yyyy\"年\"m\"月\"d\"日\"(aaa) hh:nn", at(2004, 3, 5, 9, 7, 3), "2004年3月5日(金) 09:07"},
        {"m/d aaaa h:nn am/pm", at(2004, 3, 5, 13, 5, 0), "3/5 金曜日 1:05 pm"},
        {"", at(2004, 3, 5, 13, 5, 0), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.styleUtf8);
        EXPECT_EQ(clockCaption(sj(c.styleUtf8), c.now), sj(c.expectedUtf8));
    }
}

TEST(ClockDisplay, ReadAloudAsWordsToTheMinute)
{
    const DateTime morning{{2026, 12, 10}, 7, 43, 59}, evening{{2026, 12, 10}, 19, 5, 0}, night{{2027, 1, 3}, 0, 30, 0};
    EXPECT_EQ(spokenClock(morning, HourDisplay::TwentyFour), sj("2026年12月10日 木曜日 7時43分"));
    EXPECT_EQ(spokenClock(evening, HourDisplay::TwentyFour), sj("2026年12月10日 木曜日 19時5分"));
    EXPECT_EQ(spokenClock(evening, HourDisplay::Twelve), sj("2026年12月10日 木曜日 午後7時5分"));
    EXPECT_EQ(spokenClock(night, HourDisplay::Twelve), sj("2027年1月3日 日曜日 午前12時30分"));
}
