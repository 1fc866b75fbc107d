// The week view in the main window: the week grid beside the month grid, the switch between
// the two views, the navigation by week and the captions that follow the view.
#include "app/TForm1.h"

#include "calendar/qt/MonthGrid.h"
#include "calendar/qt/WeekGrid.h"

#include <QAction>
#include <QStackedLayout>
#include <QToolButton>

namespace kal {
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

QWidget* TForm1::CreateGridArea(QWidget* parent)
{
    auto* area = new QWidget(parent);
    area->setObjectName("GridArea");
    // Every grid of the stack takes the area's geometry, shown or not, so the month grid keeps
    // the height the window remembers while the week grid is shown.
    auto* stack = new QStackedLayout(area);
    stack->setStackingMode(QStackedLayout::StackAll);
    GridMonth = new qt::MonthGrid(area);
    GridMonth->setMinimumHeight(50);
    GridWeek = new qt::WeekGrid(area);
    stack->addWidget(GridMonth);
    stack->addWidget(GridWeek);
    GridWeek->hide();
    return area;
}

void TForm1::ConnectWeekCommands()
{
    GridWeek->setCellPainter([this](QPainter& p, int column, int row, const QRect& rect, bool selected) {
        painter_.paintWeek(p, weekRow_, column, row, rect, selected);
    });
    connect(GridWeek, &qt::WeekGrid::selectionChanged, this, &TForm1::GridWeekSelect);
    connect(GridWeek, &qt::WeekGrid::cellDoubleClicked, this, &TForm1::GridWeekDblClick);
    connect(GridWeek, &qt::WeekGrid::contextMenuAt, this, &TForm1::ShowGridPopup);
}

QWidget* TForm1::CurrentGrid() const
{
    return weekShown_ ? static_cast<QWidget*>(GridWeek) : static_cast<QWidget*>(GridMonth);
}

void TForm1::GridModeClick()
{
    if (!miniMode_) {
        state_.windowStateDirty = true;
        weekChosen_ = !weekChosen_;
    }
    ApplyGridMode();
    // An exclusive pair has already moved its check; it must show the view actually shown.
    ApplyViewCaptions();
}

void TForm1::GridCheck()
{
    weekChosen_ = settings_.gridMode;
    ApplyGridMode();
}

void TForm1::ApplyGridMode()
{
    const bool week = weekChosen_ && !miniMode_;
    if (week == weekShown_)
        return;
    if (week)
        ChangeWeekly();
    else
        ChangeMonthly();
}

void TForm1::ApplyViewCaptions()
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
    BtnNowMon->setToolTip(QString::fromUtf8(c.nowHint));
    BtnNextMonth->setToolTip(QString::fromUtf8(c.nextHint));
    BtnBeforeMonth->setToolTip(QString::fromUtf8(c.beforeHint));
    // Years are a month view's steps; the mini calendar has no year buttons either way.
    BtnNextYear->setVisible(!weekShown_ && !miniMode_);
    BtnBeforeYear->setVisible(!weekShown_ && !miniMode_);
    for (QAction* year : {YearSeparator, MenuNextYear, MenuBeforeYear})
        year->setVisible(!weekShown_);
}

void TForm1::ChangeWeekly()
{
    const bool focused = GridMonth->hasFocus();
    weekShown_ = true;
    ApplyViewCaptions();
    ApplyWeekLook();
    if (!build_.memoTextsRead && FlagOn(settings_.weekView, 5))
        ReadMemoTexts(build_, settings_.memoPath);
    GridWeek->setSelection(qt::WeekGrid::kLinesColumn, GridMonth->selectedColumn());
    ShowWeekOfSelection();
    GridMonth->hide();
    GridWeek->show();
    GridWeek->raise();
    if (focused)
        GridWeek->setFocus();
}

void TForm1::ChangeMonthly()
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

void TForm1::ApplyWeekLook()
{
    GridWeek->setMemoColumn(FlagOn(settings_.weekView, 5));
    GridWeek->setLineWidth(1);
    GridWeek->update();
}

void TForm1::ShowWeekOfSelection()
{
    if (!weekShown_)
        return;
    weekRow_ = GridMonth->selectedRow();
    GridWeek->setWeekendRows(build_.layout.saturdayColumn(), build_.layout.sundayColumn());
    GridWeek->setSelection(GridWeek->selectedColumn(), GridMonth->selectedColumn());
    GridWeek->update();
}

void TForm1::SelectLayoutCell(const CellPos& pos)
{
    SetWeekRows(pos.row);
    GridMonth->setSelection(pos.column, pos.row);
    UpdateSelectedDate();
    ShowWeekOfSelection();
    DaySchEdit();
}

void TForm1::GridWeekSelect(int, int row)
{
    SelectLayoutCell(CellPos{row, weekRow_});
}

void TForm1::GridWeekDblClick()
{
    if (GridWeek->selectedColumn() == qt::WeekGrid::kMemoColumn)
        ListMemo->MenuMemo->trigger();
    else
        GridMonthDblClick();
}

void TForm1::MoveWeek(const std::optional<WeekMove>& move)
{
    if (!move)
        return;
    state_.selectedDate = move->selected;
    if (move->year != state_.viewYear || move->month != state_.viewMonth) {
        SetMonth(move->year, move->month);
        return;
    }
    CellPos pos;
    if (build_.layout.find(move->selected, pos))
        SelectLayoutCell(pos);
}

void TForm1::NextWeekChange()
{
    MoveWeek(NextWeek(build_.layout, state_.selectedDate));
}

void TForm1::BeforeWeekChange()
{
    MoveWeek(PreviousWeek(build_.layout, state_.selectedDate));
}

} // namespace kal
