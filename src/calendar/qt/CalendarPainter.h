// Draws the cells of the month grid, the mini calendar and the week grid from the month build,
// as the cell decisions (CellPaint) say.
#pragma once

#include "calendar/CellPaint.h"
#include "calendar/MonthBuild.h"

#include <QFont>
#include <QPixmap>

#include <array>

class QPainter;

namespace kal::qt {

struct CalendarFonts {
    QFont day;      // day numbers
    QFont schedule; // lines of the month view
    QFont week;     // lines of the week view
    QFont mini;     // day numbers of the mini calendar
    QFont window;   // the main window's font: header names, rokuyo one point smaller
};

class CalendarPainter {
public:
    CalendarPainter();

    void setBuild(const MonthBuild* build) { build_ = build; }
    void setCategories(const CategoryTable* categories) { categories_ = categories; }
    void setLook(const CalendarLook& look) { look_ = look; }
    const CalendarLook& look() const { return look_; }
    void setFonts(const CalendarFonts& fonts) { fonts_ = fonts; }
    void setToday(const Date& today) { today_ = today; }
    // Mini calendar, and whether the right panel is shown (short header names).
    void setMode(bool mini, bool calendarWithPanel)
    {
        mini_ = mini;
        withPanel_ = calendarWithPanel;
    }
    void setPlainBackground(const QColor& color) { plain_ = color; }
    void setTodoIcon(int state, const QPixmap& pixmap);

    void paint(QPainter& painter, int column, int row, const QRect& rect, bool selected) const;
    // One cell of the week grid showing week row `weekRow`: grid row r is the layout's column r.
    void paintWeek(QPainter& painter, int weekRow, int gridColumn, int gridRow, const QRect& rect, bool selected) const;

private:
    void paintHeader(QPainter& painter, int column, const QRect& rect) const;
    void paintDay(QPainter& painter, const CellPaint& cell, const QRect& rect) const;
    void paintMiniDay(QPainter& painter, const CellPaint& cell, const QRect& rect) const;
    void paintSelection(QPainter& painter, const QRect& rect) const;
    void paintWeekDate(QPainter& painter, const WeekDayPaint& day, const QRect& rect) const;
    void paintWeekMemo(QPainter& painter, const std::vector<std::string>& memo, const QRect& rect) const;
    QFont rokuyoFont() const;

    const MonthBuild* build_ = nullptr;
    const CategoryTable* categories_ = nullptr;
    CalendarLook look_;
    CalendarFonts fonts_;
    Date today_;
    bool mini_ = false;
    bool withPanel_ = true;
    QColor plain_ = Qt::white;
    QPixmap memoIcon_;
    std::array<QPixmap, 5> todoIcons_;
};

} // namespace kal::qt
