// The window keys written when the main window closes: geometry of the normal window and the
// mini calendar, the list heights and the display modes. An untouched window writes nothing.
#pragma once

#include "platform/IniFile.h"
#include "settings/AppSettings.h"
#include "settings/WindowGeometry.h"

#include <array>
#include <optional>

namespace kal {

struct StartGeometry {
    int left = 1, top = 1;
    int width = kPreset800.width, height = kPreset800.height;
    int rightPanel = kPreset800.rightPanel, gridHeight = kPreset800.gridHeight;
    int dayListHeight = kPreset800.dayListHeight, memoHeight = kPreset800.memoHeight;
    int startYear = 0;
    std::array<int, 4> todoWidths{}; // as TodoWidths below
    std::array<int, 3> dayWidths{};  // as dayWidths below
};

// The geometry a window starts with: the settings' sizes, the window and panes as fitted to the
// screen.
StartGeometry StartGeometryOf(const AppSettings& settings, const WindowGeometry& normal, int rightPanel,
                              int gridHeight);

// How the window stands when it closes.
struct WindowState {
    int todayYear = 0;
    bool dirty = false; // a layout or mode command ran, or the greeting was shown
    bool mini = false;
    bool normalState = true; // neither minimised nor maximised
    WindowGeometry current, normal, miniRemembered;
    int rightPanel = 0, gridHeight = 0, dayListHeight = 0, memoHeight = 0;
    bool todoShown = true;
    int panelMode = 0;
    bool weekView = false; // the chosen view, also while the mini calendar shows the month
    bool notesShown = true, toolBar = true, statusBar = true, clock = true;
    ScreenRect screen;
    // Title and priority columns of the ToDo lists: TNoWidth, TOkWidth, NPrWidth, OPrWidth.
    std::array<int, 4> todoWidths{};
    // Contents, place and category columns of the day list (SchWidth, PlcWidth, CatWidth);
    // none for a column the list does not show.
    std::array<std::optional<int>, 3> dayWidths;
};

bool WindowKeysUnchanged(const WindowState& state, const StartGeometry& start);

// Writes the keys in their order; positions only when they lie on the screen, the normal
// geometry only when the window is neither minimised nor maximised.
void WriteWindowKeys(IniFile& ini, const WindowState& state);

} // namespace kal
