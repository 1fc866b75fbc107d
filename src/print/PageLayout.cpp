#include "print/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace kal {
namespace {

// At least a third of the paper stays between two opposite margins; margins never reach into
// the strip the printer cannot print.
void fitMargins(int& a, int& b, int length, int minA, int minB)
{
    a = std::max(a, minA);
    b = std::max(b, minB);
    const int limit = length * 2 / 3;
    if (a + b <= limit)
        return;
    const long long sum = static_cast<long long>(a) + b;
    a = std::max(minA, static_cast<int>(static_cast<long long>(a) * limit / sum));
    b = std::max(minB, static_cast<int>(static_cast<long long>(b) * limit / sum));
}

} // namespace

int MmUnits(double mm)
{
    return static_cast<int>(std::lround(mm * kUnitsPerMm));
}

int PointUnits(double points)
{
    return static_cast<int>(std::lround(points * kUnitsPerInch / 72.0));
}

int UnitsToPixels(int units, double dpi)
{
    return static_cast<int>(std::lround(units * dpi / kUnitsPerInch));
}

int PenPixels(int n, double dpi)
{
    return std::max(1, static_cast<int>(std::lround(n * dpi / 144.0)));
}

double PointPixels(double points, double dpi)
{
    return points * dpi / 72.0;
}

PageLayout LayOutPage(const PageLayoutInput& in)
{
    PageLayout page;
    const PageFrame& f = in.frame;
    int left = MmUnits(std::max(0, in.left)), right = MmUnits(std::max(0, in.right));
    int top = MmUnits(std::max(0, in.top)), bottom = MmUnits(std::max(0, in.bottom));
    fitMargins(left, right, f.width, f.minLeft, f.minRight);
    fitMargins(top, bottom, f.height, f.minTop, f.minBottom);
    page.left = left;
    page.right = f.width - right;
    page.top = top;
    page.bottom = f.height - bottom;

    int titleBand = in.text.title;
    if (in.text.creationDate > 0)
        titleBand = std::max(titleBand, in.text.creationDate + kDateAboveRule);
    page.titleBottom = page.top + titleBand;
    page.headerTop = page.titleBottom + kHeaderGap;
    page.headerBottom = page.headerTop + std::max(MmUnits(in.eraDates ? 5 : 4), in.text.header);

    const int columns = std::max(1, in.columns);
    const int columnWidth = (page.right - page.left) / columns;
    for (int c = 0; c <= columns; ++c)
        page.columnEdges.push_back(page.left + c * columnWidth);

    const int rowHeight = std::max(0, (page.bottom - page.headerBottom) / 6);
    for (int r = 0; r <= 6; ++r)
        page.rowEdges[static_cast<std::size_t>(r)] = page.headerBottom + r * rowHeight;

    page.dateBand = std::max(MmUnits(5) - 20, in.text.dayLabel);
    page.lineBand = std::max(1, in.text.line + kTextBandPadding);
    const int room = rowHeight - page.dateBand;
    page.linesPerCell = room > 0 ? (room + page.lineBand - 1) / page.lineBand : 0;
    return page;
}

} // namespace kal
