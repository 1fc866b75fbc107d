// The views of the calendar: the switch between them, the step of the shown one, the captions
// that follow it, and the selection a view other than the month grid moves.
#include "calendar/qt/CalendarPanel.h"

#include "calendar/qt/MonthGrid.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/qt/Widgets.h"

#include <QAction>
#include <QToolButton>

namespace kal::qt {

void CalendarPanel::createViewCommands()
{
    MenuMonthly = namedAction(this, "MenuMonthly", "月間(&M)");
    MenuWeekly = namedAction(this, "MenuWeekly", "週間(&W)");
    radioPair(this, MenuMonthly, MenuWeekly, "F9");
    TBtnWeekly = toolAction(this, "TBtnWeekly", "週間", "tb-weekly");
    TBtnMonthly = toolAction(this, "TBtnMonthly", "月間", "tb-monthly");
    radioPair(this, TBtnMonthly, TBtnWeekly);
    addView(GridMonth, MenuMonthly, TBtnMonthly);
    addView(GridWeek, MenuWeekly, TBtnWeekly);
    auto* key = namedAction(this, "KeyGridMode", "");
    key->setShortcut(QKeySequence("F9"));
    connect(key, &QAction::triggered, this, &CalendarPanel::GridModeClick);
}

void CalendarPanel::addView(CalendarView* view, QAction* menuEntry, QAction* toolButton)
{
    const CalendarViewMode mode = view->mode();
    views_[static_cast<std::size_t>(mode)] = view;
    viewEntries_[static_cast<std::size_t>(mode)] = {menuEntry, toolButton};
    CellGrid* grid = view->grid();
    grid->setCellPainter([this, view](QPainter& p, int column, int row, const QRect& rect, bool selected) {
        view->paintCell(painter_, p, column, row, rect, selected);
    });
    connect(grid, &CellGrid::cellDoubleClicked, this, [this, view] {
        if (view->memoSelected())
            emit memoDoubleClicked();
        else
            DayDblClick();
    });
    connect(grid, &CellGrid::contextMenuAt, this, &CalendarPanel::contextMenuAt);
    for (QAction* entry : {menuEntry, toolButton})
        onSelect(
            entry, [this, mode] { return chosen_ == mode; }, [this, mode] { ChooseView(mode); },
            [this] { ApplyViewCaptions(); });
}

QWidget* CalendarPanel::CurrentGrid() const
{
    return shown_->grid();
}

void CalendarPanel::GridModeClick()
{
    ChooseView(NextViewMode(chosen_));
}

void CalendarPanel::ChooseView(CalendarViewMode mode)
{
    if (!mini_) {
        emit windowStateChanged();
        chosen_ = mode;
    }
    ApplyGridMode();
    // An exclusive pair has already moved its check; it must show the view actually shown.
    ApplyViewCaptions();
}

void CalendarPanel::GridCheck()
{
    chosen_ = ViewModeFromGridMode(context_.settings.gridMode);
    ApplyGridMode();
}

void CalendarPanel::ApplyGridMode()
{
    CalendarView& next = view(mini_ ? CalendarViewMode::Month : chosen_);
    if (&next != shown_)
        ShowView(next);
}

void CalendarPanel::ApplyViewCaptions()
{
    const ViewCaptions& c = shown_->captions();
    for (CalendarView* view : views_) {
        const auto [menuEntry, toolButton] = viewEntries_[static_cast<std::size_t>(view->mode())];
        menuEntry->setChecked(view == shown_);
        toolButton->setChecked(view == shown_);
    }
    MenuNowMonth->setText(QString::fromUtf8(c.now));
    MenuNextMonth->setText(QString::fromUtf8(c.next));
    MenuBeforeMonth->setText(QString::fromUtf8(c.before));
    PopNextMonth->setText(QString::fromUtf8(c.next));
    PopBeforeMonth->setText(QString::fromUtf8(c.before));
    setHint(BtnNowMon, QString::fromUtf8(c.nowHint));
    setHint(BtnNextMonth, QString::fromUtf8(c.nextHint));
    setHint(BtnBeforeMonth, QString::fromUtf8(c.beforeHint));
    // The mini calendar has no year buttons either way.
    const bool years = shown_->stepsByYear();
    BtnNextYear->setVisible(years && !mini_);
    BtnBeforeYear->setVisible(years && !mini_);
    for (QAction* year : {YearSeparator, MenuNextYear, MenuBeforeYear})
        year->setVisible(years);
}

void CalendarPanel::ShowView(CalendarView& next)
{
    CellGrid* before = shown_->grid();
    const bool focused = before->hasFocus();
    shown_ = &next;
    ApplyViewCaptions();
    next.applyLook(context_.settings);
    if (!build_.memoTextsRead && next.showsMemoTexts(context_.settings))
        ReadMemoTexts(build_, context_.settings.memoPath);
    // The month grid already holds the shown cell, with a sixth row when it needs one.
    next.showSelection(build_.layout, SelectedCell(), true);
    CellGrid* grid = next.grid();
    grid->show();
    grid->raise();
    before->hide();
    grid->update();
    if (focused)
        grid->setFocus();
}

void CalendarPanel::ApplyViewLooks()
{
    for (CalendarView* view : views_)
        view->applyLook(context_.settings);
}

void CalendarPanel::ShowSelection()
{
    shown_->showSelection(build_.layout, SelectedCell(), false);
}

void CalendarPanel::SelectLayoutCell(const CellPos& pos)
{
    SetWeekRows(pos.row);
    GridMonth->setSelection(pos.column, pos.row);
    UpdateSelectedDate();
    ShowSelection();
    emit selectedDayChanged();
}

void CalendarPanel::Step(bool forward)
{
    MoveTo(shown_->step(build_.layout, cursor_, forward));
}

void CalendarPanel::MoveTo(const std::optional<ViewMove>& move)
{
    if (!move)
        return;
    cursor_.selectedDate = move->selected;
    if (move->year != cursor_.viewYear || move->month != cursor_.viewMonth) {
        SetMonth(move->year, move->month);
        return;
    }
    CellPos pos;
    if (build_.layout.find(move->selected, pos))
        SelectLayoutCell(pos);
}

} // namespace kal::qt
