// One view of the calendar panel: its grid widget, how it shows the month build and the selected
// day, how it steps and where a build leaves its selection. The month grid keeps the selected
// cell of the month layout for every view; another view shows the part of the layout around it.
// A new view is a class of its own and a value of CalendarViewMode.
#pragma once

#include "calendar/CalendarViews.h"
#include "calendar/qt/CalendarPainter.h"

#include <optional>

class QPoint;

namespace kal {
struct AppSettings;
}

namespace kal::qt {

class CellGrid;

// The month on screen, the selected day and today.
struct CalendarCursor {
    int viewYear = 2000;
    int viewMonth = 1;
    Date selectedDate;
    Date today;
};

// Captions and hints of the navigation commands in one view.
struct ViewCaptions {
    const char* now;
    const char* next;
    const char* before;
    const char* nowHint;
    const char* nextHint;
    const char* beforeHint;
};

class CalendarView {
public:
    virtual ~CalendarView() = default;

    virtual CalendarViewMode mode() const = 0;
    virtual CellGrid* grid() = 0;
    virtual const ViewCaptions& captions() const = 0;
    // Whether the year commands step this view.
    virtual bool stepsByYear() const = 0;
    // Whether the view shows the memos' texts, which the build then reads.
    virtual bool showsMemoTexts(const AppSettings& settings) const = 0;
    // The settings' look of the view, applied as it is shown and after the settings changed.
    virtual void applyLook(const AppSettings& settings) = 0;

    // The layout cell selected after the month was built anew.
    virtual CellPos selectionAfterBuild(const MonthLayout& layout, const Date& selected,
                                        const CellPos& previous) const = 0;
    // One step forward or back (次月/前月 and their keys); nothing at the limits.
    virtual std::optional<ViewMove> step(const MonthLayout& layout, const CalendarCursor& cursor,
                                         bool forward) const = 0;
    // Shows the selected cell of the layout; `entering` when the view is being switched to.
    virtual void showSelection(const MonthLayout& layout, const CellPos& selected, bool entering) = 0;
    // The layout cell a cell of the grid shows.
    virtual CellPos layoutCell(int column, int row) const = 0;
    // Whether the grid's selection is on a memo rather than on a day's lines.
    virtual bool memoSelected() const = 0;
    virtual void paintCell(const CalendarPainter& painter, QPainter& p, int column, int row, const QRect& rect,
                           bool selected) const = 0;

    // The layout cell a click at `point` of the grid selects; nothing outside the days.
    std::optional<CellPos> dayAt(const QPoint& point);
};

} // namespace kal::qt
