#include "app/WindowLayout.h"

#include <algorithm>

namespace kal {

int GridExtent(const std::vector<int>& sizes, int lineWidth)
{
    int total = 0;
    for (int size : sizes)
        total += size + lineWidth;
    return total;
}

std::vector<int> MonthRowHeights(int gridHeight, int headerHeight, int rowCount, int lineWidth)
{
    std::vector<int> heights(static_cast<std::size_t>(rowCount), 0);
    if (rowCount < 2)
        return heights;
    heights[0] = headerHeight;
    if (gridHeight < 50) {
        for (int i = 1; i < rowCount; ++i)
            heights[static_cast<std::size_t>(i)] = 1;
        return heights;
    }
    const int share = (gridHeight - headerHeight) / (rowCount - 1) - lineWidth;
    for (int i = 1; i < rowCount; ++i)
        heights[static_cast<std::size_t>(i)] = share;
    int next = rowCount - 1;
    const auto last = static_cast<std::size_t>(rowCount - 1);
    while (GridExtent(heights, lineWidth) > gridHeight) {
        if (next >= 1) {
            --heights[static_cast<std::size_t>(next)];
            --next;
        } else {
            heights[last] -= lineWidth > 0 ? lineWidth : 1;
        }
        if (heights[last] <= 1)
            break;
    }
    heights[last] -= lineWidth;
    return heights;
}

std::vector<int> ColumnWidths(int gridWidth, int columnCount, int lineWidth)
{
    std::vector<int> widths(static_cast<std::size_t>(columnCount), columnCount > 0 ? gridWidth / columnCount : 0);
    if (columnCount == 0)
        return widths;
    int next = columnCount - 1;
    while (GridExtent(widths, lineWidth) > gridWidth && widths[0] > 1) {
        --widths[static_cast<std::size_t>(next)];
        next = next == 0 ? columnCount - 1 : next - 1;
    }
    widths.back() -= lineWidth;
    return widths;
}

HeaderButtons HeaderButtonPositions(int width, bool mini)
{
    HeaderButtons b;
    if (mini) {
        b.beforeMonth = 4;
        b.nowMonthWidth = width - 58;
        b.nowMonth = (width - b.nowMonthWidth) / 2;
        b.nextMonth = width - 29;
        return b;
    }
    b.nowMonthWidth = 65;
    b.nowMonth = width / 2 - 32;
    b.yearLabel = width / 2 - 66;
    b.eraLabel = width / 2 + 34;
    b.nextYear = width - 29;
    b.nextMonth = width - 56;
    b.beforeMonth = 30;
    b.beforeYear = 4;
    return b;
}

ScreenRect PlaceWindow(int positionMode, const ScreenRect& screen, int width, int height, int rememberedLeft,
                       int rememberedTop)
{
    ScreenRect r{rememberedLeft, rememberedTop, width, height};
    switch (positionMode) {
    case 0:
        r.left = screen.left + 1;
        r.top = screen.top + 1;
        break;
    case 1:
        r.top = screen.top + (screen.height - height - 30) / 2;
        r.left = screen.left + (screen.width - width) / 2;
        break;
    case 2:
        r.top = screen.top + 1;
        r.left = screen.left + screen.width - width;
        break;
    default:
        break;
    }
    // The whole window on the screen; one larger than the screen keeps its title bar there.
    r.left = std::max(screen.left, std::min(r.left, screen.left + screen.width - width));
    r.top = std::max(screen.top, std::min(r.top, screen.top + screen.height - height));
    return r;
}

namespace {

int fitSize(int stored, int fallback, int smallest, int screenExtent)
{
    const int size = stored < smallest ? fallback : stored;
    return std::clamp(size, std::min(smallest, screenExtent), screenExtent);
}

// The stored coordinate is never used in arithmetic, so no value can overflow.
int fitPosition(int stored, int size, int screenStart, int screenExtent)
{
    return std::clamp(stored, screenStart, screenStart + screenExtent - size);
}

} // namespace

WindowGeometry FitOnScreen(const WindowGeometry& stored, const WindowGeometry& fallback, const ScreenRect& screen)
{
    WindowGeometry fitted;
    fitted.width = fitSize(stored.width, fallback.width, kSmallestWindowWidth, screen.width);
    fitted.height = fitSize(stored.height, fallback.height, kSmallestWindowHeight, screen.height);
    fitted.left = fitPosition(stored.left, fitted.width, screen.left, screen.width);
    fitted.top = fitPosition(stored.top, fitted.height, screen.top, screen.height);
    return fitted;
}

int FitExtent(int stored, int screenExtent)
{
    return std::clamp(stored, 0, std::max(0, screenExtent));
}

bool OnScreen(int left, int top, const ScreenRect& screen)
{
    return top > 0 && top < screen.top + screen.height && left > 0 && left < screen.left + screen.width;
}

} // namespace kal
