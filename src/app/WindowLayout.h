// The main window's layout arithmetic: row heights and column widths of the month grid, the
// header buttons, the window placement and the size presets.
#pragma once

#include <vector>

namespace kal {

// Month view and mini calendar: row 0 keeps `headerHeight`; the week rows share the rest, then
// shrink pixel by pixel, last row first, until every row is fully visible.
std::vector<int> MonthRowHeights(int gridHeight, int headerHeight, int rowCount, int lineWidth);

// Every column gets width / count, then columns 6, 5, ... lose a pixel each until all fit;
// finally the last column loses one line width.
std::vector<int> ColumnWidths(int gridWidth, int columnCount, int lineWidth);

// Total extent of cells plus their grid lines.
int GridExtent(const std::vector<int>& sizes, int lineWidth);

struct HeaderButtons {
    int beforeYear = 4, beforeMonth = 30, nowMonth = 0, nowMonthWidth = 65, nextMonth = 0, nextYear = 0;
    int yearLabel = 0, eraLabel = 0;
};
HeaderButtons HeaderButtonPositions(int headerWidth, bool mini);

struct ScreenRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// Where the window goes: 0 top left, 1 centre, 2 top right, 3 the remembered place. The size is
// the window's with its frame, which stays inside the screen.
ScreenRect PlaceWindow(int positionMode, const ScreenRect& screen, int width, int height, int rememberedLeft,
                       int rememberedTop);

struct SizePreset {
    int width, height, rightPanel, gridHeight, dayListHeight, memoHeight;
};
inline constexpr SizePreset kPreset640{638, 448, 280, 223, 90, 75};
inline constexpr SizePreset kPreset800{799, 571, 320, 343, 120, 120};
inline constexpr int kMiniPresetWidth = 164;
inline constexpr int kMiniPresetHeight = 176;

// Geometry remembered for the normal window and for the mini calendar.
struct WindowGeometry {
    int left = 1, top = 1, width = kPreset800.width, height = kPreset800.height;
};

// Stored geometry made safe to use, whatever the settings file says: a size too small to use
// takes the fallback's, one larger than the screen the screen's, and the position keeps the
// whole window on the screen.
WindowGeometry FitOnScreen(const WindowGeometry& stored, const WindowGeometry& fallback, const ScreenRect& screen);
inline constexpr int kSmallestWindowWidth = 100;
inline constexpr int kSmallestWindowHeight = 80;

// A stored extent of a pane (right panel width, list heights) between 0 and the screen's.
int FitExtent(int stored, int screenExtent);

// True when a saved position lies on the screen (above 0 and below its size).
bool OnScreen(int left, int top, const ScreenRect& screen);

} // namespace kal
