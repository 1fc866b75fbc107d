// The week view of the calendar: the week grid beside the month grid, the switch between the
// two views, the navigation by week and the captions that follow the view.
#include "calendar/qt/CalendarPanel.h"

#include "calendar/qt/MonthGrid.h"
#include "calendar/qt/WeekGrid.h"
#include "platform/qt/Widgets.h"

#include <QAction>
#include <QToolButton>

#include <utility>

namespace kal::qt {
namespace {

// Captions and hints of the navigation commands in one view.
struct ViewCaptions {
    const char* now;
    const char* next;
    const char* before;
    const char* nowHint;
    const char* nextHint;
    const char* beforeHint;
};

constexpr ViewCaptions kMonthCaptions{"今月(&C)", "次月(&N)", "前月(&B)", "今月", "次月", "前月"};
constexpr ViewCaptions kWeekCaptions{"今週(&C)", "次週(&N)", "前週(&B)", "今週", "次週", "前週"};

} // namespace

void CalendarPanel::createWeekCommands()
{
    GridWeek->setCellPainter([this](QPainter& p, int column, int row, const QRect& rect, bool selected) {
        painter_.paintWeek(p, weekRow_, column, row, rect, selected);
    });
    connect(GridWeek, &WeekGrid::selectionChanged, this, &CalendarPanel::GridWeekSelect);
    connect(GridWeek, &WeekGrid::cellDoubleClicked, this, &CalendarPanel::GridWeekDblClick);
    connect(GridWeek, &WeekGrid::contextMenuAt, this, &CalendarPanel::contextMenuAt);
    MenuMonthly = namedAction(this, "MenuMonthly", "月間(&M)");
    MenuWeekly = namedAction(this, "MenuWeekly", "週間(&W)");
    radioPair(this, MenuMonthly, MenuWeekly, "F9");
    TBtnWeekly = toolAction(this, "TBtnWeekly", "週間", "tb-weekly");
    TBtnMonthly = toolAction(this, "TBtnMonthly", "月間", "tb-monthly");
    radioPair(this, TBtnMonthly, TBtnWeekly);
    auto viewShown = [this] { ApplyViewCaptions(); };
    auto toggle = [this] { GridModeClick(); };
    for (QAction* month : {MenuMonthly, TBtnMonthly})
        onSelect(
            month, [this] { return !weekChosen_; }, toggle, viewShown);
    for (QAction* week : {MenuWeekly, TBtnWeekly})
        onSelect(
            week, [this] { return weekChosen_; }, toggle, viewShown);
    auto* key = namedAction(this, "KeyGridMode", "");
    key->setShortcut(QKeySequence("F9"));
    connect(key, &QAction::triggered, this, &CalendarPanel::GridModeClick);
}

QWidget* CalendarPanel::CurrentGrid() const
{
    return weekShown_ ? static_cast<QWidget*>(GridWeek) : static_cast<QWidget*>(GridMonth);
}

void CalendarPanel::GridModeClick()
{
    if (!mini_) {
        emit windowStateChanged();
        weekChosen_ = !weekChosen_;
    }
    ApplyGridMode();
    // An exclusive pair has already moved its check; it must show the view actually shown.
    ApplyViewCaptions();
}

void CalendarPanel::GridCheck()
{
    weekChosen_ = context_.settings.gridMode;
    ApplyGridMode();
}

void CalendarPanel::ApplyGridMode()
{
    const bool week = weekChosen_ && !mini_;
    if (week == weekShown_)
        return;
    if (week)
        ChangeWeekly();
    else
        ChangeMonthly();
}

void CalendarPanel::ApplyViewCaptions()
{
    const ViewCaptions& c = weekShown_ ? kWeekCaptions : kMonthCaptions;
    MenuMonthly->setChecked(!weekShown_);
    MenuWeekly->setChecked(weekShown_);
    TBtnMonthly->setChecked(!weekShown_);
    TBtnWeekly->setChecked(weekShown_);
    MenuNowMonth->setText(QString::fromUtf8(c.now));
    MenuNextMonth->setText(QString::fromUtf8(c.next));
    MenuBeforeMonth->setText(QString::fromUtf8(c.before));
    PopNextMonth->setText(QString::fromUtf8(c.next));
    PopBeforeMonth->setText(QString::fromUtf8(c.before));
    setHint(BtnNowMon, QString::fromUtf8(c.nowHint));
    setHint(BtnNextMonth, QString::fromUtf8(c.nextHint));
    setHint(BtnBeforeMonth, QString::fromUtf8(c.beforeHint));
    // Years are a month view's steps; the mini calendar has no year buttons either way.
    BtnNextYear->setVisible(!weekShown_ && !mini_);
    BtnBeforeYear->setVisible(!weekShown_ && !mini_);
    for (QAction* year : {YearSeparator, MenuNextYear, MenuBeforeYear})
        year->setVisible(!weekShown_);
}

void CalendarPanel::ChangeWeekly()
{
    const bool focused = GridMonth->hasFocus();
    weekShown_ = true;
    ApplyViewCaptions();
    ApplyWeekLook();
    if (!build_.memoTextsRead && context_.settings.weekView.on(WeekViewFlag::MemoText))
        ReadMemoTexts(build_, context_.settings.memoPath);
    GridWeek->setSelection(WeekGrid::kLinesColumn, GridMonth->selectedColumn());
    ShowWeekOfSelection();
    GridMonth->hide();
    GridWeek->show();
    GridWeek->raise();
    if (focused)
        GridWeek->setFocus();
}

void CalendarPanel::ChangeMonthly()
{
    const bool focused = GridWeek->hasFocus();
    weekShown_ = false;
    ApplyViewCaptions();
    // The month grid already holds the shown week's cell, with a sixth row when it needs one.
    GridMonth->show();
    GridMonth->raise();
    GridWeek->hide();
    GridMonth->update();
    if (focused)
        GridMonth->setFocus();
}

void CalendarPanel::ApplyWeekLook()
{
    GridWeek->setMemoColumn(context_.settings.weekView.on(WeekViewFlag::MemoText));
    GridWeek->setLineWidth(1);
    GridWeek->update();
}

void CalendarPanel::ShowWeekOfSelection()
{
    if (!weekShown_)
        return;
    const int shownBefore = std::exchange(weekRow_, GridMonth->selectedRow());
    if (shownBefore != weekRow_)
        GridWeek->contentsChanged();
    GridWeek->setWeekendRows(build_.layout.saturdayColumn(), build_.layout.sundayColumn());
    GridWeek->setSelection(GridWeek->selectedColumn(), GridMonth->selectedColumn());
    GridWeek->update();
}

void CalendarPanel::SelectLayoutCell(const CellPos& pos)
{
    SetWeekRows(pos.row);
    GridMonth->setSelection(pos.column, pos.row);
    UpdateSelectedDate();
    ShowWeekOfSelection();
    emit selectedDayChanged();
}

void CalendarPanel::GridWeekSelect(int, int row)
{
    SelectLayoutCell(CellPos{row, weekRow_});
}

void CalendarPanel::GridWeekDblClick()
{
    if (GridWeek->selectedColumn() == WeekGrid::kMemoColumn)
        emit memoDoubleClicked();
    else
        GridMonthDblClick();
}

void CalendarPanel::MoveWeek(const std::optional<WeekMove>& move)
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

void CalendarPanel::NextWeekChange()
{
    MoveWeek(NextWeek(build_.layout, cursor_.selectedDate));
}

void CalendarPanel::BeforeWeekChange()
{
    MoveWeek(PreviousWeek(build_.layout, cursor_.selectedDate));
}

} // namespace kal::qt
