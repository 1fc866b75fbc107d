// The views of the calendar panel as plain values: which ones there are, how the settings file
// stores the chosen one, and the month view's step. A view shows the month build; the week view's
// own arithmetic is WeekView.h.
#pragma once

#include "calendar/CalendarMath.h"

#include <optional>

namespace kal {

enum class CalendarViewMode { Month, Week };
inline constexpr int kCalendarViewCount = 2;

// GridMode of the settings file: 0 the month view, 1 the week view.
CalendarViewMode ViewModeFromGridMode(bool gridMode);
bool GridModeOf(CalendarViewMode mode);
// The view F9 switches to.
CalendarViewMode NextViewMode(CalendarViewMode mode);

// The displayed month and the selected day after one step of a view.
struct ViewMove {
    int year = 2000;
    int month = 1;
    Date selected;
};

// The month after (`forward`) or before the displayed one; the selected day stays, the build
// finds its cell. Nothing when the month may not change.
std::optional<ViewMove> MonthStep(int year, int month, const Date& selected, bool forward);

} // namespace kal
