#include "calendar/CellPaint.h"
#include "calendar/Holidays.h"
#include "platform/ByteText.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "settings/AppSettings.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace kal;
using kal::test::plainScheduleLine;
using kal::test::sj;

namespace {

CalendarLook defaultLook()
{
    AppSettings settings;
    CalendarLook look;
    for (int i = 0; i < ColorItemCount; ++i) {
        look.textColor[static_cast<std::size_t>(i)] = settings.colors[static_cast<std::size_t>(i)].text;
        look.backColor[static_cast<std::size_t>(i)] = settings.colors[static_cast<std::size_t>(i)].back;
    }
    look.calView = CalViewFlags({1, 1, 1, 1, 1, 1, 0, 0, 1});
    return look;
}

struct PaintFixture : ::testing::Test {
    MonthLayout layout = BuildLayout(2026, 5, WeekStart::Sunday);
    DayCellLists lists;
    CategoryTable categories{{"Work          1 0000025516777215", "Hidden        0 00000255", "Plain         1"}};
    CalendarLook look = defaultLook();
    Date today{2026, 5, 12};

    CellPos at(int day) const
    {
        return CellPos{layout.currentColumn[static_cast<std::size_t>(day)],
                       layout.currentRow[static_cast<std::size_t>(day)]};
    }
    void add(int day, const std::string& line)
    {
        CellPos p = at(day);
        lists.add(p.column, p.row, CellLine{line});
    }
    CellPaint paint(int day) const
    {
        CellPos p = at(day);
        return PaintCell(layout, lists, categories, look, today, p.column, p.row);
    }
};

} // namespace

TEST_F(PaintFixture, ColoursByKindWeekdayOtherMonthAndToday)
{
    // 2 May 2026 is a Saturday, 3 May a Sunday (and a holiday), 4 May a holiday, 5 May too.
    EXPECT_EQ(paint(1).textColor, look.textColor[ColWeekday]);
    EXPECT_EQ(paint(2).textColor, look.textColor[ColSaturday]);
    EXPECT_EQ(paint(2).backColor, look.backColor[ColSaturday]);
    EXPECT_EQ(paint(10).backColor, look.backColor[ColSunday]);
    layout.cell(at(11).column, at(11).row).kind = 1;
    EXPECT_EQ(paint(11).backColor, look.backColor[ColDayOff]);

    // A national holiday on today's date: holiday text colour, today's background.
    layout.cell(at(12).column, at(12).row).kind = 0;
    CellPaint today12 = paint(12);
    EXPECT_TRUE(today12.today);
    EXPECT_EQ(today12.textColor, look.textColor[ColHoliday]);
    EXPECT_EQ(today12.backColor, look.backColor[ColToday]);

    // Leading cells take the other-month colours, or are not drawn at all with OtherMon off.
    CellPaint leading = PaintCell(layout, lists, categories, look, today, 0, 1);
    EXPECT_TRUE(leading.drawn);
    EXPECT_EQ(leading.textColor, look.textColor[ColOtherMonth]);
    EXPECT_EQ(leading.backColor, look.backColor[ColOtherMonth]);
    look.otherMonth = false;
    EXPECT_FALSE(PaintCell(layout, lists, categories, look, today, 0, 1).drawn);
    EXPECT_TRUE(paint(1).drawn);
}

// What each flag shows: ViewFlagsTest.
TEST_F(PaintFixture, BandsInTheirOrderUnderTheCategoryRules)
{
    add(20, "0" + sj("祝日"));
    add(20, "1 ");
    add(20, "2" + sj("記念日"));
    add(20, "3" + plainScheduleLine(20, "09:00", "", "見えない", "", "Hidden"));
    ScheduleFields styled = ReadSchedule(plainScheduleLine(20, "10:00", "", "会議", "本社", "work"));
    styled.bold = styled.italic = true;
    add(20, "3" + ComposeSchedule(styled));
    add(20, "3" + plainScheduleLine(20, "", "", "旧分類", "", "Renamed"));
    CellPaint cell = paint(20);
    ASSERT_EQ(cell.bands.size(), 4u);
    EXPECT_EQ(cell.bands[0].text, sj("祝日"));
    EXPECT_EQ(cell.bands[0].textColor, look.textColor[ColHoliday]);
    EXPECT_FALSE(cell.bands[0].background);
    EXPECT_EQ(cell.bands[1].textColor, look.textColor[ColAnniversary]);
    // The untimed schedule sorts before the timed one; its unknown category keeps the colours.
    EXPECT_EQ(cell.bands[2].text, sj("旧分類"));
    EXPECT_EQ(cell.bands[2].textColor, look.textColor[ColWeekday]);
    EXPECT_EQ(cell.bands[2].background, cell.backColor);
    EXPECT_EQ(cell.bands[3].text, sj("会議"));
    EXPECT_EQ(cell.bands[3].textColor, 255);
    EXPECT_EQ(cell.bands[3].background, 16777215);
    EXPECT_TRUE(cell.bands[3].style.bold);
    EXPECT_TRUE(cell.bands[3].style.italic);
}

TEST_F(PaintFixture, TodoLinesAndIcons)
{
    std::string todo = "2026/05/141000" + std::string("2026/01/01") + text::padCut("Plain", 14) + "00" + sj("報告書");
    add(14, "8" + todo);
    layout.cell(at(14).column, at(14).row).mark = 3;
    CellPaint cell = paint(14);
    ASSERT_EQ(cell.bands.size(), 1u);
    EXPECT_EQ(cell.bands[0].kind, BandKind::Todo);
    EXPECT_EQ(cell.bands[0].text, sj("報告書"));
    EXPECT_TRUE(cell.memoIcon);
    // The thresholds of the state itself: TodoListTest.
    EXPECT_EQ(cell.todoIcon, TodoIcon::Warning);
}

TEST_F(PaintFixture, DayNumberRokuyoAndMiniUnderline)
{
    CellPaint cell = paint(5);
    EXPECT_EQ(cell.dayText, " 5");
    layout.cell(at(5).column, at(5).row).showRokuyo = true;
    EXPECT_EQ(paint(5).rokuyo, RokuyoName(layout.cell(at(5).column, at(5).row).rokuyo));
    add(6, "3" + plainScheduleLine(6, "", "", "x"));
    EXPECT_FALSE(paint(6).underline);
    look.underlineSchedules = true;
    look.calView.set(CalViewFlag::Schedules, 0);
    EXPECT_TRUE(paint(6).underline);
    EXPECT_FALSE(paint(7).underline);
}

TEST_F(PaintFixture, AlmanacOfEachCellsOwnDateUnderTheFlags)
{
    EXPECT_TRUE(paint(5).almanac.empty()) << "off unless switched on";
    look.almanac = {true, true, true};
    EXPECT_EQ(paint(5).almanac, (std::vector<std::string>{sj("立夏"), sj("旧3/19")}));
    EXPECT_EQ(paint(2).almanac, (std::vector<std::string>{sj("八十八夜"), sj("旧3/16")}));
    // Row 1 starts with 26 April.
    EXPECT_EQ(PaintCell(layout, lists, categories, look, today, 0, 1).almanac, std::vector<std::string>{sj("旧3/10")});
    EXPECT_EQ(PaintWeekDay(layout, lists, categories, look, today, 0, 1).almanac,
              std::vector<std::string>{sj("旧3/10")});
}

TEST(HeaderPaint, NamesAndColoursForBothWeekStartsAndLanguages)
{
    CalendarLook look = defaultLook();
    MonthLayout sunday = BuildLayout(2026, 4, WeekStart::Sunday);
    MonthLayout monday = BuildLayout(2026, 4, WeekStart::Monday);
    EXPECT_EQ(sjis::toUtf8(PaintHeader(sunday, look, 0, HeaderForm::Short).text), "日");
    EXPECT_EQ(PaintHeader(sunday, look, 0, HeaderForm::Short).textColor, look.textColor[ColSunday]);
    EXPECT_EQ(sjis::toUtf8(PaintHeader(monday, look, 0, HeaderForm::Long).text), "月曜日");
    EXPECT_EQ(PaintHeader(monday, look, 5, HeaderForm::Long).textColor, look.textColor[ColSaturday]);
    look.eraDates = false;
    EXPECT_EQ(PaintHeader(sunday, look, 0, HeaderForm::Long).text, "Sun");
    EXPECT_EQ(PaintHeader(sunday, look, 6, HeaderForm::Mini).text, "S");
    EXPECT_EQ(PaintHeader(monday, look, 6, HeaderForm::Short).text, "Sun");
}

TEST(ScheduleBandText, TimesAndPlaceAsTheViewAsks)
{
    ScheduleFields f;
    f.start = "09:00";
    f.end = "17:30";
    f.title = sj("会議");
    f.place = sj("本社");
    const std::string both = ComposeSchedule(f);
    f.start.clear();
    const std::string endOnly = ComposeSchedule(f);
    struct Case {
        const char* name;
        const std::string& record;
        bool start, end, place;
        std::string text;
    };
    const Case cases[] = {
        {"start and end", both, true, true, false, "09:00-17:30 " + sj("会議")},
        {"end alone", both, false, true, false, "-17:30 " + sj("会議")},
        {"start alone", both, true, false, false, "09:00 " + sj("会議")},
        {"neither", both, false, false, false, sj("会議")},
        {"no start stored", endOnly, true, true, false, "-17:30 " + sj("会議")},
        {"place", both, true, true, true, "09:00-17:30 " + sj("会議") + "(" + sj("本社") + ")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineOptions options;
        options.startTime = c.start;
        options.endTime = c.end;
        options.place = c.place;
        EXPECT_EQ(ScheduleBandText(c.record, options), c.text);
    }
}

// What each flag of WeekView shows, CalView off: ViewFlagsTest.
TEST_F(PaintFixture, WeekDayBandsTakeTheWeeklyFontsStyle)
{
    add(20, "3" + plainScheduleLine(20, "10:00", "", "会議"));
    look.weekView.set(WeekViewFlag::Schedules, 1);
    look.weekStyle = FontStyle::Bold;
    const CellPos p = at(20);
    const WeekDayPaint day = PaintWeekDay(layout, lists, categories, look, today, p.column, p.row);
    ASSERT_EQ(day.bands.size(), 1u);
    EXPECT_TRUE(day.bands[0].style.bold);
    EXPECT_FALSE(paint(20).bands[0].style.bold);
}

TEST(WeekDayPaint, DateColumnTextsAndColoursForBothWeekStarts)
{
    CalendarLook look = defaultLook();
    const DayCellLists lists;
    const CategoryTable categories;
    const Date today{2026, 5, 12};
    // 15 May 2026 is a Friday, 16 May a Saturday, 31 May a Sunday.
    for (WeekStart weekStart : {WeekStart::Sunday, WeekStart::Monday}) {
        SCOPED_TRACE(weekStart == WeekStart::Sunday ? "Sunday start" : "Monday start");
        MonthLayout layout = BuildLayout(2026, 5, weekStart);
        auto paint = [&](int day) {
            CellPos p;
            layout.find(Date{2026, 5, day}, p);
            return PaintWeekDay(layout, lists, categories, look, today, p.column, p.row);
        };
        auto cell = [&](int day) -> DayCell& {
            CellPos p;
            layout.find(Date{2026, 5, day}, p);
            return layout.cell(p.column, p.row);
        };
        look.eraDates = true;
        EXPECT_EQ(sjis::toUtf8(paint(15).dateText), "15(金)");
        EXPECT_EQ(sjis::toUtf8(paint(5).dateText), " 5(火)");
        look.eraDates = false;
        EXPECT_EQ(paint(15).dateText, "15 Fri");
        EXPECT_EQ(paint(31).dateText, "31 Sun");

        // Weekend colours come before the holiday kinds in the date column only.
        cell(16).kind = 0;
        EXPECT_EQ(paint(16).dateColor, look.textColor[ColSaturday]);
        EXPECT_EQ(paint(16).backColor, look.backColor[ColHoliday]);
        cell(15).kind = 1;
        EXPECT_EQ(paint(15).dateColor, look.textColor[ColDayOff]);
        EXPECT_EQ(paint(12).dateColor, look.textColor[ColWeekday]);
        EXPECT_TRUE(paint(12).today);
        EXPECT_EQ(paint(12).backColor, look.backColor[ColToday]);
    }
}

TEST(WeekDayPaint, NeighbouringMonthDaysAreDrawnWhateverOtherMonSays)
{
    CalendarLook look = defaultLook();
    look.weekView = WeekViewFlags({1, 1, 1, 1, 1, 1, 1, 1, 1});
    look.otherMonth = false;
    const MonthLayout layout = BuildLayout(2026, 5, WeekStart::Sunday);
    DayCellLists lists;
    lists.add(0, 6, CellLine{"2" + sj("記念日")}); // 31 May
    lists.add(1, 6, CellLine{"2" + sj("翌月")});   // 1 June
    const WeekDayPaint june = PaintWeekDay(layout, lists, CategoryTable{}, look, Date{2026, 6, 1}, 1, 6);
    ASSERT_EQ(june.bands.size(), 1u);
    EXPECT_EQ(june.bands[0].text, sj("翌月"));
    EXPECT_EQ(june.backColor, look.backColor[ColOtherMonth]);
    EXPECT_FALSE(june.today) << "today's colour is for the displayed month's days";
    EXPECT_EQ(june.dateColor, look.textColor[ColWeekday]);
}

TEST(CellMarks, MemoRightmostTheToDoBesideIt)
{
    const CellArea cell{100, 200, 199, 259};
    struct Case {
        bool memo, todo;
        std::optional<int> memoLeft, todoLeft, areaLeft;
    };
    const Case cases[] = {
        {false, false, {}, {}, {}},
        {true, false, 182, {}, 182},
        {false, true, {}, 182, 182},
        {true, true, 182, 166, 166},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.memo) + std::to_string(c.todo));
        const CellMarks marks = PlaceMarks(cell, c.memo, c.todo);
        EXPECT_EQ(marks.memo ? std::optional(marks.memo->left) : std::nullopt, c.memoLeft);
        EXPECT_EQ(marks.todo ? std::optional(marks.todo->left) : std::nullopt, c.todoLeft);
        const std::optional<CellArea> area = marks.area();
        EXPECT_EQ(area ? std::optional(std::tuple(area->left, area->top, area->right, area->bottom)) : std::nullopt,
                  c.areaLeft ? std::optional(std::tuple(*c.areaLeft, 244, 197, 259)) : std::nullopt);
    }
}

TEST(PlaceBands, LinesThatDoNotFitAreLeftOutWholeAndNoneRunsOverTheMarks)
{
    const CellArea cell{0, 0, 99, 59};
    const CellArea marks{66, 44, 97, 59};
    struct Case {
        const char* what;
        int firstTop;
        std::vector<int> heights;
        std::optional<CellArea> marks;
        std::vector<std::pair<int, int>> bands; // top, right
    };
    const Case cases[] = {
        {"all fit, the last to the bottom pixel", 14, {15, 15, 16}, {}, {{14, 99}, {29, 99}, {44, 99}}},
        {"one pixel too tall is left out", 14, {15, 15, 17}, {}, {{14, 99}, {29, 99}}},
        {"none after the first left out", 14, {15, 40, 5}, {}, {{14, 99}}},
        {"the first already too low", 50, {15}, {}, {}},
        {"beside the marks ends before them", 14, {15, 15, 16}, marks, {{14, 99}, {29, 99}, {44, 65}}},
        {"touching the marks' top row counts", 15, {15, 15}, marks, {{15, 99}, {30, 65}}},
        {"no line at all", 14, {}, marks, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<CellArea> placed = PlaceBands(cell, c.firstTop, c.heights, c.marks);
        ASSERT_EQ(placed.size(), c.bands.size());
        for (std::size_t i = 0; i < placed.size(); ++i)
            EXPECT_EQ(std::tuple(placed[i].left, placed[i].top, placed[i].right, placed[i].bottom),
                      std::tuple(cell.left, c.bands[i].first, c.bands[i].second, c.bands[i].first + c.heights[i] - 1))
                << i;
    }
}
