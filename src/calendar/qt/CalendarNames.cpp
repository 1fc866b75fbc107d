#include "calendar/qt/CalendarNames.h"

#include "calendar/SpokenDay.h"
#include "calendar/qt/CalendarPanel.h"
#include "calendar/qt/MonthGrid.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/qt/QtText.h"

namespace kal::qt {

void NameCalendarCells(CalendarPanel& panel)
{
    panel.GridMonth->setAccessibleName(QString::fromUtf8("月間カレンダー"));
    panel.GridMonth->setCellNamer([&panel](int column, int row) {
        const MonthBuild& build = panel.monthBuild();
        if (row == 0)
            return fromSjis(LongJapaneseWeekdayNames(build.layout.weekStart)[static_cast<std::size_t>(column)]);
        return fromSjis(SpokenDay(build.layout, build.lists, panel.categories(), panel.calendarLook(),
                                  panel.cursor().today, column, row, SpokenView::Month));
    });
    // Grid row r of the week view is the layout's column r in the shown week row.
    panel.GridWeek->setAccessibleName(QString::fromUtf8("週間カレンダー"));
    panel.GridWeek->setColumnCaptions(
        {QString::fromUtf8("日付"), QString::fromUtf8("予定"), QString::fromUtf8("メモ")});
    panel.GridWeek->setCellNamer([&panel](int column, int row) {
        const MonthBuild& build = panel.monthBuild();
        const int weekRow = panel.GridWeek->weekRow();
        switch (column) {
        case WeekGrid::kDateColumn:
            return fromSjis(SpokenDate(build.layout, row, weekRow));
        case WeekGrid::kLinesColumn:
            return fromSjis(SpokenDay(build.layout, build.lists, panel.categories(), panel.calendarLook(),
                                      panel.cursor().today, row, weekRow, SpokenView::Week));
        default:
            return fromSjis(SpokenMemo(build.memoText(row, weekRow)));
        }
    });
}

} // namespace kal::qt
