#include "print/PageLayout.h"

#include <gtest/gtest.h>

using namespace kal;

namespace {

PageLayoutInput a4(bool landscape, int columns = 7)
{
    PageLayoutInput in;
    in.frame.width = landscape ? 29700 : 21000;
    in.frame.height = landscape ? 21000 : 29700;
    in.columns = columns;
    in.text = TextHeights{PointUnits(16 * 1.2), PointUnits(11 * 1.2), PointUnits(10 * 1.2), PointUnits(11 * 1.2),
                          PointUnits(9 * 1.2)};
    return in;
}

} // namespace

TEST(PageLayout, TheGridFitsThePaperAtEveryResolutionAndOrientation)
{
    for (bool landscape : {false, true})
        for (double dpi : {96.0, 120.0, 300.0, 600.0}) {
            SCOPED_TRACE(testing::Message() << (landscape ? "landscape " : "portrait ") << dpi << " dpi");
            const PageLayoutInput in = a4(landscape);
            const PageLayout page = LayOutPage(in);
            const int paperWidth = UnitsToPixels(in.frame.width, dpi);
            const int paperHeight = UnitsToPixels(in.frame.height, dpi);
            const int margin = UnitsToPixels(MmUnits(20), dpi);
            EXPECT_EQ(UnitsToPixels(page.columnEdges.front(), dpi), margin);
            EXPECT_LE(UnitsToPixels(page.columnEdges.back(), dpi), paperWidth - margin);
            // Whole-unit column widths give up less than a unit per column.
            EXPECT_GE(UnitsToPixels(page.columnEdges.back(), dpi), paperWidth - margin - UnitsToPixels(7, dpi) - 1);
            EXPECT_LE(UnitsToPixels(page.rowBottom(6), dpi), paperHeight - margin);
            EXPECT_GT(page.rowTop(1), page.headerBottom - 1);
            // Every line counted as fitting starts inside its cell at this resolution, and the
            // next one would not.
            ASSERT_GT(page.linesPerCell, 0);
            for (int row = 1; row <= 6; ++row) {
                const int bottom = UnitsToPixels(page.rowBottom(row), dpi);
                EXPECT_LT(UnitsToPixels(page.lineTop(row, page.linesPerCell - 1), dpi), bottom);
                EXPECT_GE(UnitsToPixels(page.lineTop(row, page.linesPerCell), dpi), bottom);
            }
        }
}

TEST(PageLayout, LinesPerCellDependOnTheLineFontAndThePaperOnly)
{
    PageLayoutInput in = a4(false);
    const PageLayout portrait = LayOutPage(in);
    // An A4 portrait row of about 36 mm holds eight 9-point lines below the date band; the
    // eighth is cut by the bottom edge.
    const int rowHeight = portrait.rowBottom(1) - portrait.rowTop(1);
    EXPECT_EQ(portrait.linesPerCell, (rowHeight - portrait.dateBand + portrait.lineBand - 1) / portrait.lineBand);
    EXPECT_GT(portrait.lineTop(1, portrait.linesPerCell - 1) + portrait.lineBand, portrait.rowBottom(1))
        << "the last line is cut, as the cell's clip shows";
    in.text.line = PointUnits(16 * 1.2);
    EXPECT_LT(LayOutPage(in).linesPerCell, portrait.linesPerCell);
    EXPECT_LT(LayOutPage(a4(true)).linesPerCell, portrait.linesPerCell) << "landscape rows are lower";
}

TEST(PageLayout, FiveColumnsShareTheSameWidth)
{
    const PageLayout seven = LayOutPage(a4(false, 7));
    const PageLayout five = LayOutPage(a4(false, 5));
    ASSERT_EQ(five.columns(), 5);
    ASSERT_EQ(seven.columns(), 7);
    EXPECT_EQ(five.columnEdges[1] - five.columnEdges[0], 17000 / 5);
    EXPECT_EQ(seven.columnEdges[1] - seven.columnEdges[0], 17000 / 7);
}

TEST(PageLayout, MarginsLeaveAThirdOfThePaperAndNeverEnterTheUnprintableStrip)
{
    PageLayoutInput in = a4(false);
    in.left = in.right = 99;
    in.top = in.bottom = 99;
    PageLayout page = LayOutPage(in);
    EXPECT_GE(page.right - page.left, 21000 / 3 - 1);
    EXPECT_GE(page.bottom - page.top, 29700 / 3 - 1);
    EXPECT_EQ(page.left, 21000 - page.right) << "both sides shrink alike";

    in = a4(false);
    in.left = in.top = 0;
    in.frame.minLeft = 420;
    in.frame.minTop = 310;
    page = LayOutPage(in);
    EXPECT_EQ(page.left, 420);
    EXPECT_EQ(page.top, 310);
}

TEST(PageLayout, TitleBandHeaderRowAndPens)
{
    PageLayoutInput in = a4(false);
    in.text.title = 300;
    in.text.creationDate = 450;
    in.eraDates = false;
    PageLayout page = LayOutPage(in);
    EXPECT_EQ(page.titleBottom - page.top, 450 + kDateAboveRule) << "the creation date needs its gap";
    EXPECT_EQ(page.headerTop - page.titleBottom, kHeaderGap);
    EXPECT_EQ(page.headerBottom - page.headerTop, std::max(400, in.text.header));
    in.eraDates = true;
    in.text.header = 100;
    page = LayOutPage(in);
    EXPECT_EQ(page.headerBottom - page.headerTop, 500);

    EXPECT_EQ(PenPixels(1, 96), 1);
    EXPECT_EQ(PenPixels(3, 96), 2);
    EXPECT_EQ(PenPixels(3, 600), 13);
    EXPECT_EQ(PenPixels(1, 40), 1) << "never thinner than a pixel";
    EXPECT_EQ(UnitsToPixels(kUnitsPerInch, 300), 300);
    EXPECT_DOUBLE_EQ(PointPixels(9, 96), 12);
}
