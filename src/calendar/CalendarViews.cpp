#include "calendar/CalendarViews.h"

namespace kal {

CalendarViewMode ViewModeFromGridMode(bool gridMode)
{
    return gridMode ? CalendarViewMode::Week : CalendarViewMode::Month;
}

bool GridModeOf(CalendarViewMode mode)
{
    return mode == CalendarViewMode::Week;
}

CalendarViewMode NextViewMode(CalendarViewMode mode)
{
    return static_cast<CalendarViewMode>((static_cast<int>(mode) + 1) % kCalendarViewCount);
}

std::optional<ViewMove> MonthStep(int year, int month, const Date& selected, bool forward)
{
    if (!(forward ? CanAdvanceMonth(year) : CanGoBackMonth(year)))
        return std::nullopt;
    if (forward)
        nextMonth(year, month);
    else
        previousMonth(year, month);
    return ViewMove{year, month, selected};
}

} // namespace kal
