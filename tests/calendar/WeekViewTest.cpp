#include "calendar/WeekView.h"
#include "calendar/GridLayout.h"

#include <gtest/gtest.h>

#include <string>

using namespace kal;

namespace {

// What the window holds in the week view: the displayed month's layout and the selected day,
// whose row is the shown week.
struct WeekState {
    MonthLayout layout;
    Date selected;

    WeekState(const Date& day, WeekStart weekStart) : layout(BuildLayout(day.year, day.month, weekStart)), selected(day)
    {
    }
    int row() const
    {
        CellPos pos;
        EXPECT_TRUE(layout.find(selected, pos)) << selected.year << "-" << selected.month << "-" << selected.day;
        return pos.row;
    }
    Date firstShown() const { return layout.dateOf(0, row()); }
    bool apply(const std::optional<ViewMove>& move)
    {
        if (!move)
            return false;
        if (move->year != layout.year || move->month != layout.month)
            layout = BuildLayout(move->year, move->month, layout.weekStart);
        selected = move->selected;
        return true;
    }
};

std::string name(WeekStart weekStart)
{
    return weekStart == WeekStart::Sunday ? "Sunday start" : "Monday start";
}

// A shown week belongs to the displayed month's layout, and the month never shows a week that
// lies wholly in the month after it.
void expectWeekOfItsMonth(const WeekState& s)
{
    const int row = s.row();
    ASSERT_GE(row, 1);
    ASSERT_LE(row, 6);
    const Date first = s.firstShown();
    EXPECT_FALSE(first.year * 12 + first.month > s.layout.year * 12 + s.layout.month && row > 1)
        << "a week of the next month shown in " << s.layout.year << "-" << s.layout.month;
}

// Walks week by week until the move is refused, checking that every shown day moves by exactly
// seven days; gives the number of steps.
int walk(WeekState& s, int direction)
{
    int steps = 0;
    Date first = s.firstShown();
    while (s.apply(direction > 0 ? NextWeek(s.layout, s.selected) : PreviousWeek(s.layout, s.selected))) {
        const Date now = s.firstShown();
        EXPECT_EQ(daysBetween(first, now), 7 * direction) << now.year << "-" << now.month << "-" << now.day;
        expectWeekOfItsMonth(s);
        if (::testing::Test::HasFailure())
            break;
        first = now;
        ++steps;
    }
    return steps;
}

} // namespace

TEST(WeekWalk, From1900To2099StepsExactlySevenDaysUntilTheMonthMayNotChange)
{
    for (WeekStart weekStart : {WeekStart::Sunday, WeekStart::Monday}) {
        SCOPED_TRACE(name(weekStart));
        WeekState s(Date{1900, 1, 1}, weekStart);
        const int steps = walk(s, 1);
        // No month follows a month of 2099: the walk ends in January 2099's last week.
        EXPECT_EQ(s.layout.year, 2099);
        EXPECT_EQ(s.layout.month, 1);
        EXPECT_EQ(addDays(s.firstShown(), 7).month, 2);
        EXPECT_EQ(steps, daysBetween(Date{1900, 1, 1}, s.selected) / 7);

        // Back from the last day of 2099. No month of 1900 goes back to the one before: the walk
        // ends in December 1900's first row.
        s = WeekState(Date{2099, 12, 31}, weekStart);
        walk(s, -1);
        EXPECT_EQ(s.layout.year, 1900);
        EXPECT_EQ(s.layout.month, 12);
        EXPECT_EQ(s.row(), 1);
    }
}

TEST(WeekWalk, TheLastRowOfAMonthContinuesWithTheFollowingWeek)
{
    struct Case {
        Date from;      // a day of the shown week, in its displayed month's layout
        int fromMonth;  // the displayed month
        Date expected;  // the same weekday a week later
        int month, row; // where that week is shown
    };
    // April 2003: row 6 is 4-10 May; May's row 2 is the same week. February 2009: row 6 is
    // 8-14 March; March's row 1 is a week earlier.
    const Case cases[] = {
        {{2003, 5, 6}, 4, {2003, 5, 13}, 5, 3},
        {{2009, 3, 10}, 2, {2009, 3, 17}, 3, 3},
        {{2026, 12, 29}, 12, {2027, 1, 5}, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from.year) + "-" + std::to_string(c.fromMonth));
        WeekState s(Date{c.from.year, c.fromMonth, 1}, WeekStart::Sunday);
        s.selected = c.from;
        ASSERT_TRUE(s.apply(NextWeek(s.layout, s.selected)));
        EXPECT_EQ(s.selected, c.expected);
        EXPECT_EQ(s.layout.month, c.month);
        EXPECT_EQ(s.row(), c.row);
    }
}

TEST(WeekWalk, PreviousFromRowOneTakesTheWeekBeforeFromThePreviousMonth)
{
    for (WeekStart weekStart : {WeekStart::Sunday, WeekStart::Monday}) {
        SCOPED_TRACE(name(weekStart));
        for (int month = 1; month <= 12; ++month) {
            WeekState s(Date{2026, month, 1}, weekStart);
            const Date first = s.firstShown();
            ASSERT_TRUE(s.apply(PreviousWeek(s.layout, s.selected)));
            EXPECT_EQ(s.layout.month, month == 1 ? 12 : month - 1);
            EXPECT_EQ(s.layout.year, month == 1 ? 2025 : 2026);
            EXPECT_EQ(daysBetween(s.firstShown(), first), 7);
            EXPECT_TRUE(s.row() == 4 || s.row() == 5);
        }
    }
}

TEST(WeekSelection, ARebuildKeepsANeighbouringMonthsDayInItsWeek)
{
    const MonthLayout may = BuildLayout(2026, 5, WeekStart::Sunday);
    // 3 June stands in row 6 of May; the day number alone would pick 3 May in row 1.
    EXPECT_EQ(WeekSelectionAfterBuild(may, Date{2026, 6, 3}, CellPos{3, 6}), (CellPos{3, 6}));
    EXPECT_EQ(WeekSelectionAfterBuild(may, Date{2026, 4, 28}, CellPos{2, 1}), (CellPos{2, 1}));
    // A day the layout does not show falls back on the month view's rule.
    EXPECT_EQ(WeekSelectionAfterBuild(may, Date{2026, 8, 12}, CellPos{0, 1}), (CellPos{2, 3}));
}

TEST(GridLayout, WeekRowsShareTheGridAndAllFit)
{
    struct Case {
        int height, rows, line;
    };
    for (Case c : {Case{343, 7, 1}, Case{343, 6, 1}, Case{200, 7, 0}, Case{51, 7, 1}, Case{1000, 7, 1}}) {
        SCOPED_TRACE(std::to_string(c.height) + " " + std::to_string(c.rows));
        std::vector<int> heights = MonthRowHeights(c.height, 16, c.rows, c.line);
        ASSERT_EQ(static_cast<int>(heights.size()), c.rows);
        EXPECT_EQ(heights[0], 16);
        EXPECT_LE(GridExtent(heights, c.line), c.height);
        for (int i = 1; i < c.rows - 1; ++i)
            EXPECT_LE(std::abs(heights[static_cast<std::size_t>(i)] - heights[1]), 1);
    }
    // 343 high, 6 weeks: (343 - 16) / 6 - 1 = 53 each, the last one line width less.
    std::vector<int> h = MonthRowHeights(343, 16, 7, 1);
    EXPECT_EQ(h[1], 53);
    EXPECT_EQ(h[6], 52);
}

TEST(GridLayout, ColumnsShareTheWidthAndFit)
{
    std::vector<int> w = ColumnWidths(478, 7, 1);
    EXPECT_LE(GridExtent(w, 1), 478);
    EXPECT_EQ(w[0], 68);
    EXPECT_EQ(w[2], 67);
    EXPECT_EQ(w[6], 66);
    std::vector<int> mini = ColumnWidths(164, 7, 0);
    EXPECT_EQ(GridExtent(mini, 0), 161);
}

TEST(GridLayout, HeaderButtonsInNormalAndMiniMode)
{
    HeaderButtons normal = HeaderButtonPositions(478, false);
    EXPECT_EQ(normal.nowMonth, 478 / 2 - 32);
    EXPECT_EQ(normal.nowMonthWidth, 65);
    EXPECT_EQ(normal.nextYear, 449);
    EXPECT_EQ(normal.nextMonth, 422);
    EXPECT_EQ(normal.beforeMonth, 30);
    HeaderButtons mini = HeaderButtonPositions(164, true);
    EXPECT_EQ(mini.nowMonthWidth, 106);
    EXPECT_EQ(mini.nowMonth, 29);
    EXPECT_EQ(mini.nextMonth, 135);
    EXPECT_EQ(mini.beforeMonth, 4);
}

TEST(WeekGridShape, RowsAlwaysFitAndTheWeekendRowsGiveWay)
{
    for (WeekStart weekStart : {WeekStart::Sunday, WeekStart::Monday}) {
        SCOPED_TRACE(name(weekStart));
        const int saturday = SaturdayColumn(weekStart), sunday = SundayColumn(weekStart);
        for (int height = 0; height <= 700; ++height) {
            SCOPED_TRACE(height);
            const std::vector<int> rows = WeekRowHeights(height, 1, saturday, sunday);
            ASSERT_EQ(rows.size(), 7u);
            if (height >= 70) {
                EXPECT_LE(GridExtent(rows, 1), height);
            }
            for (int r = 0; r < 7; ++r) {
                EXPECT_GE(rows[static_cast<std::size_t>(r)], 0);
                if (r != saturday && r != sunday) {
                    EXPECT_EQ(rows[static_cast<std::size_t>(r)], height / 7);
                }
            }
            EXPECT_LT(rows[static_cast<std::size_t>(sunday)], std::max(1, height / 7));
        }
    }
    // 343 pixels: seven rows of 49 and their lines overflow by 7; the weekend gives 4 each,
    // Sunday one more.
    const std::vector<int> rows = WeekRowHeights(343, 1, 6, 0);
    EXPECT_EQ(rows, (std::vector<int>{44, 49, 49, 49, 49, 49, 45}));
}

TEST(WeekGridShape, TheMemoColumnSharesTheWidthOrGivesItUp)
{
    EXPECT_EQ(WeekColumnWidths(451, 1, true), (std::vector<int>{48, 200, 200}));
    EXPECT_EQ(WeekColumnWidths(452, 1, true), (std::vector<int>{48, 200, 201}));
    EXPECT_EQ(WeekColumnWidths(451, 1, false), (std::vector<int>{48, 395, 0}));
    EXPECT_EQ(WeekColumnWidths(30, 1, true), (std::vector<int>{48, 0, 0}));
}

TEST(WeekMemoColumn, LinesAreJoinedWhileTheLinesSoFarFitTheRow)
{
    struct Case {
        std::size_t lines;
        int rowHeight, lineHeight;
        std::size_t shown;
    };
    const Case cases[] = {
        {10, 48, 16, 4}, // 0, 16, 32 and 48 pixels so far fit: the fourth line is cut
        {10, 47, 16, 3}, {2, 100, 16, 2}, {10, 0, 16, 1}, {10, -1, 16, 0}, {3, 40, 0, 3}, {0, 40, 16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lines) + " lines, row " + std::to_string(c.rowHeight));
        EXPECT_EQ(MemoLinesShown(c.lines, c.rowHeight, c.lineHeight), c.shown);
    }
}
