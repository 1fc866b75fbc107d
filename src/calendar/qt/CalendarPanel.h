// The calendar of the main window: the header PanelMonSch with the navigation buttons and the
// year and era labels, its views (CalendarView: the month grid and the week grid) in one place
// (GridArea), the month build they draw, the selected day, the category display, and the
// commands of the calendar (moving by the shown view's step and by year, the switch between the
// views, the jump to a date, the holiday input and the categories). The window places the
// widgets and hears when the selected day changes.
#pragma once

#include "calendar/CellPaint.h"
#include "calendar/MonthBuild.h"
#include "calendar/qt/CalendarPainter.h"
#include "calendar/qt/CalendarView.h"
#include "schedule/Categories.h"
#include "schedule/qt/DayListPanel.h"
#include "settings/qt/PanelContext.h"
#include "todo/qt/TodoIcons.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QToolButton;

namespace kal {
class THeaderPanel;
}

namespace kal::qt {

class MonthGrid;
class WeekGrid;

// What the calendar uses of the window and the panels beside it.
struct CalendarLinks {
    // ToDo.dat's lines, for the deadline marks.
    std::function<const std::vector<std::string>&()> todoLines;
    // Beside the full-size window, also while the mini calendar is shown.
    std::function<QPoint()>
        fullWindowDialogPlace; // The subscribed calendars shown after the schedules; none before the first frame.
    std::function<ExtraSchedules*()> extraSchedules;
};

class CalendarPanel : public QObject {
    Q_OBJECT
public:
    // The widgets are the window's to place; dialogs open over `window`.
    CalendarPanel(const PanelContext& context, CalendarLinks links, QWidget* window);

    THeaderPanel* PanelMonSch;
    QToolButton *BtnBeforeYear, *BtnBeforeMonth, *BtnNowMon, *BtnNextMonth, *BtnNextYear;
    QLabel *LabelYear, *LabelWareki;
    QWidget* GridArea; // GridMonth and GridWeek in one place, both kept at its size
    MonthGrid* GridMonth;
    WeekGrid* GridWeek;
    QLabel* StatusPanel0; // today, in the status bar

    QAction *MenuNowMonth, *MenuNextMonth, *MenuBeforeMonth, *MenuNextYear, *MenuBeforeYear, *MenuJump, *YearSeparator;
    QAction *MenuMonthly, *MenuWeekly, *MenuCat, *MenuCatView1, *MenuCatView2;
    QAction *TBtnHome, *TBtnWeekly, *TBtnMonthly, *TBtnJump, *TBtnCat, *TBtnCatView;
    QAction *PopNow, *PopNextMonth, *PopBeforeMonth, *PopJump, *PopHoliday;

    const CalendarCursor& cursor() const { return cursor_; }
    const MonthBuild& monthBuild() const { return build_; }
    const CalendarLook& calendarLook() const { return look_; }
    const CategoryTable& categories() const { return categories_; }
    MonthRelation selectedRelation() const { return selectedRelation_; }
    int catViewMode() const { return catMode_; }
    // The view the user chose, kept through the mini calendar, and the view shown.
    CalendarViewMode chosenView() const { return chosen_; }
    CalendarViewMode shownMode() const { return shown_->mode(); }
    CalendarView& view(CalendarViewMode mode) const { return *views_[static_cast<std::size_t>(mode)]; }
    QWidget* CurrentGrid() const;

    // Navigation.
    void NextMonthChange();
    void BeforeMonthChange();
    void NextYearChange();
    void BeforeYearChange();
    void CurrentNow();
    void StartAt(const Date& today);
    void GoToToday(const Date& today);
    void SetToday(const Date& today) { cursor_.today = today; }
    // Moves to a day and selects it.
    void ShowDate(const Date& date);
    void SelectCell(int column, int row);
    void ShowDlgJump();
    void ShowDlgHolidayInput();

    // The month build: the layout of the shown month with the selection on the selected day, the
    // build proper with the header texts, and both again after the data changed.
    void HeaderEdit();
    void MonthSchEdit();
    void RebuildMonth();
    // ToDo.dat changed: the month follows when the calendar shows ToDo entries.
    void TodoLinesChanged();
    // A memo changed: whether the month must be built again for it.
    bool ShowsMemoChange(bool existenceChanged) const;

    // The display mode of the window: the mini calendar, the right panel beside the calendar.
    void SmallCheck(bool mini);
    void SetPanelMode(bool withRightPanel) { withPanel_ = withRightPanel; }
    // The drawing follows the display mode (weekday names, header row, caption).
    void ApplyPainterMode();
    void ApplyHeaderTexts();
    void HSplitMove();
    void ApplyCalendarLook();
    void SetTodoIcons(const TodoIconSet& icons);

    // What the day list and the mini calendar's hint show of the selected day.
    DaySchedules SelectedDaySchedules() const;
    void ShowDayHint();
    QString DayTitle() const;

    // Categories.
    void CatEntry();
    void MenuCatViewClick();
    void SetCatViewMode(int mode);

    // Views.
    // F9: the next view.
    void GridModeClick();
    void ChooseView(CalendarViewMode mode);
    // At start-up: the view saved in the settings (the month view in the mini calendar).
    void GridCheck();
    // Shows the chosen view, or the month view in the mini calendar.
    void ApplyGridMode();
    void ApplyViewCaptions();
    void ApplyViewLooks();

signals:
    // The selected day, or what is known of it, changed.
    void selectedDayChanged();
    // A double click on a day: `withLines` when the day has lines.
    void dayDoubleClicked(bool withLines);
    // A double click on a memo of a view (the week view's memo column).
    void memoDoubleClicked();
    void contextMenuAt(const QPoint& globalPosition);
    // The user chose a view or a category display the window keys remember.
    void windowStateChanged();

private:
    void createHeader();
    void createGridArea();
    void createCommands();
    void createViewCommands();
    void addView(CalendarView* view, QAction* menuEntry, QAction* toolButton);
    void SetMonth(int year, int month);
    void SetWeekRows(int selectedRow);
    void UpdateSelectedDate();
    CellPos SelectedCell() const;
    void GridMonthSelect(int column, int row);
    void DayDblClick();
    void ViewDblClick();
    void Step(bool forward);
    void MoveTo(const std::optional<ViewMove>& move);
    void SelectLayoutCell(const CellPos& pos);
    // The shown view follows the selected cell of the month layout.
    void ShowSelection();
    void ShowView(CalendarView& next);

    PanelContext context_;
    CalendarLinks links_;
    QWidget* window_;
    CalendarCursor cursor_;
    CategoryTable categories_;
    MonthBuild build_;
    CalendarLook look_;
    CalendarPainter painter_;
    MonthRelation selectedRelation_ = MonthRelation::Current;
    bool mini_ = false;
    bool withPanel_ = true;
    int catMode_ = 0;
    CalendarViewMode chosen_ = CalendarViewMode::Month;
    std::array<CalendarView*, kCalendarViewCount> views_{};
    // The entries that choose each view: the menu's and the tool bar's.
    std::array<std::pair<QAction*, QAction*>, kCalendarViewCount> viewEntries_{};
    CalendarView* shown_ = nullptr;
};

} // namespace kal::qt
