// The geometry of the main window as the settings store it: the window placement, the size
// presets and stored sizes made safe for the screen they meet.
#pragma once

namespace kal {

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
