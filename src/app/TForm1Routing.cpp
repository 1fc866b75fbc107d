// The few events that cross panels, routed by the window: what every panel may ask of it, the
// ToDo lines the calendar marks, the day the calendar shows.
#include "app/TForm1.h"

#include "app/TDlgPassEntry.h"
#include "calendar/qt/MonthGrid.h"
#include "platform/qt/QtText.h"
#include "schedule/qt/DayListPanel.h"

#include <QSplitter>
#include <QTreeWidget>

namespace kal {

qt::PanelContext TForm1::PanelContextOfWindow()
{
    return qt::PanelContext{panelServices_,
                            settings_,
                            programFolder_,
                            identities_.get(),
                            state_.modalDialogOpen,
                            [this] { return state_.selectedDate; },
                            [this] { return DialogPlace(); },
                            [this] { RebuildMonth(); },
                            [this](const std::string& source, const std::vector<files::FileProblem>& problems) {
                                ShowUnreadable(source, problems);
                            }};
}

qt::TodoPanelLinks TForm1::TodoLinks()
{
    return qt::TodoPanelLinks{[this] { return DayList->SchKeySearch(); },
                              [this]() -> const CategoryTable& { return categories_; },
                              [this](const Date& date) { ShowDate(date); }};
}

void TForm1::TodoLinesChanged()
{
    const bool calendarShowsTodo =
        FlagOn(settings_.calView, 6) || FlagOn(settings_.calView, 9) || FlagOn(settings_.weekView, 9);
    if (calendarShowsTodo && created_)
        RebuildMonth();
}

void TForm1::TodoIconSetup()
{
    PanelTodo->TodoIconSetup();
    for (int state = 1; state <= 4; ++state)
        painter_.setTodoIcon(state, PanelTodo->statusIcons()[static_cast<std::size_t>(state)]);
}

void TForm1::ShowDate(const Date& date)
{
    state_.selectedDate = date;
    SetMonth(date.year, date.month);
}

void TForm1::MemoRefresh()
{
    // An area that comes back sits under the day list at its remembered height.
    if (ListMemo->MemoRefresh())
        SplM->setSizes({std::max(58, SplM->height() - memoHeight_ - SplM->handleWidth()), memoHeight_});
}

void TForm1::MemoChanged(bool existenceChanged)
{
    // The week view's memo column shows the text itself, so every change reaches it.
    const bool weekShowsMemos = weekShown_ && FlagOn(settings_.weekView, 5);
    if (weekShowsMemos || (existenceChanged && FlagOn(settings_.calView, 5)))
        RebuildMonth();
    else
        DaySchEdit();
}

void TForm1::MenuPasswdClick()
{
    TDlgPassEntry dialog(panelServices_, programFolder_, this);
    panelServices_.dialogs.run(dialog);
}

qt::DaySchedules TForm1::SelectedDaySchedules() const
{
    const int column = GridMonth->selectedColumn(), row = GridMonth->selectedRow();
    const auto& lines = build_.lists.at(column, row);
    qt::DaySchedules day;
    day.date = state_.selectedDate;
    day.eraDates = look_.eraDates;
    for (const CellLine& line : lines)
        if (line.kind() == '3')
            day.entries.push_back(ScheduleRef{line.file, line.lineIndex, line.body()});
    const DayCell& cell = build_.layout.cell(column, row);
    if (cell.kind <= 1 && !lines.empty() && lines.front().kind() <= '1')
        day.holiday = lines.front().body();
    if (cell.kind == 0)
        day.headerColor = look_.textColor[ColHoliday];
    else if (cell.kind == 1)
        day.headerColor = look_.textColor[ColDayOff];
    else if (column == build_.layout.saturdayColumn())
        day.headerColor = look_.textColor[ColSaturday];
    else if (column == build_.layout.sundayColumn())
        day.headerColor = look_.textColor[ColSunday];
    return day;
}

void TForm1::DaySchEdit()
{
    if (state_.layoutBusy || !created_)
        return;
    const int column = GridMonth->selectedColumn(), row = GridMonth->selectedRow();
    const Date date = state_.selectedDate;
    const auto& lines = build_.lists.at(column, row);
    if (miniMode_) {
        setWindowTitle(qt::fromSjis(DayText(date, look_.eraDates)));
        QString hint = qt::fromSjis(ShortDayText(date));
        for (const CellLine& line : lines) {
            if (line.kind() == '3')
                hint += "\r\n" + qt::fromSjis(RecTitle(line.body()));
            else if (line.kind() >= '0' && line.kind() <= '2')
                hint += "\r\n" + qt::fromSjis(line.body());
        }
        GridMonth->setToolTip(hint);
    } else {
        GridMonth->setToolTip(QString());
    }
    // The day list is empty while it is not shown.
    if (panelMode_ != 0 || miniMode_) {
        DayList->FillDayList({});
        return;
    }
    const qt::DaySchedules day = SelectedDaySchedules();
    DayList->FillDayList(day.entries);
    MemoRefresh();
    DayList->ShowDayHeader(day);
}

void TForm1::PopupDayPopup()
{
    DayList->PopupDayPopup();
    PanelTodo->PoPTodoCopy->setEnabled(DayList->SchKeySearch().has_value());
    ListMemo->MemoPopupEnable();
}

QPoint TForm1::DialogPlace() const
{
    if (miniMode_)
        return QPoint(mini_.left + 16, mini_.top + 24);
    return geometry().topLeft() + QPoint(16, 24);
}

void TForm1::DataDelete()
{
    if (DayList->ListDaySch->hasFocus())
        DayList->DaySchDel();
    if (PanelNote->ListNote->hasFocus())
        PanelNote->NoteDelete();
    if (ListMemo->hasFocus())
        ListMemo->MemoDelete();
    if (PanelTodo->ListFocused())
        PanelTodo->TodoDel();
}

} // namespace kal
