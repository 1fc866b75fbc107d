// The names a screen reader reads from the calendar's grids: each day as a person says it, the
// weekday headers, the week view's dates and memos. Set once; they read the panel's month build
// whenever asked.
#pragma once

namespace kal::qt {

class CalendarPanel;

void NameCalendarCells(CalendarPanel& panel);

} // namespace kal::qt
