// The panels of the main window: what each is built with, and the few events that cross them
// (the selected day, changed data, the timer's new day and refresh). A new subsystem's panel is
// created in CreatePanels, placed in CreateAreas, and its commands join the menus in
// CreateMenus and the enable table in CommandStates.h.
#include "app/TForm1.h"

#include "app/Startup.h"
#include "app/TDlgPassEntry.h"
#include "calendar/qt/MonthGrid.h"

#include <QSplitter>
#include <QStatusBar>
#include <QTreeWidget>

namespace kal {

qt::PanelContext TForm1::PanelContextOfWindow()
{
    return qt::PanelContext{panelServices_,
                            settings_,
                            programFolder_,
                            identities_.get(),
                            state_.modalDialogOpen,
                            [this] { return Calendar->cursor().selectedDate; },
                            [this] { return DialogPlace(); },
                            [this] { Calendar->RebuildMonth(); },
                            [this](const std::string& source, const std::vector<files::FileProblem>& problems) {
                                Notices->ShowUnreadable(source, problems);
                            }};
}

void TForm1::CreatePanels()
{
    const qt::PanelContext& context = panelContext_;
    Calendar =
        new qt::CalendarPanel(context,
                              {[this]() -> const std::vector<std::string>& { return PanelTodo->todoLines(); },
                               [this] {
                                   // Beside the full-size window even while the mini calendar is shown.
                                   return miniMode_ ? QPoint(normal_.left + 16, normal_.top + 24) : DialogPlace();
                               },
                               [this] { return Feeds ? Feeds->schedules() : nullptr; }},
                              this);
    PanelNote = new qt::NotePanel(
        context, [this] { return PanelLeft->width() + 20; }, this);
    PanelNote->setPasswordCheck([this] { return PasswordGiven(startup_text::kNotePasswordLabel); });
    PanelTimer = new qt::TimerPanel(context, this);
    DayList = new qt::DayListPanel(context, this);
    ListMemo = new qt::MemoList(
        context, [this] { return pnlWidth_ + 20; }, this);
    PanelTodo = new qt::TodoPanel(context,
                                  {[this] { return DayList->SchKeySearch(); },
                                   [this]() -> const CategoryTable& { return Calendar->categories(); },
                                   [this](const Date& date) { Calendar->ShowDate(date); }},
                                  this);
    Lists = new qt::ListCommands(
        context, *ListMemo,
        [this] {
            // The full-size window's extent, also while the mini calendar is shown.
            const int statusHeight = statusBar()->isVisible() ? statusBar()->height() : 0;
            return miniMode_ ? QSize(normal_.width, normal_.height) : QSize(width(), height() - statusHeight);
        },
        this);
    Printing = new qt::PrintCommands(
        context,
        [this] {
            return MakePrintSource(Calendar->monthBuild(), Calendar->categories(), settings_, Calendar->cursor().today);
        },
        this);
    Exchange =
        new qt::ExchangeCommands(context,
                                 {[this] {
                                      return Date{Calendar->cursor().viewYear, Calendar->cursor().viewMonth, 1};
                                  },
                                  [this] { return Calendar->cursor().today; }, [this] { PanelTodo->ToDoEdit(); }},
                                 this);
    Sync = new qt::SyncPanel(context, {[this] { return Calendar->cursor().today; }, [this] { PanelTodo->ToDoEdit(); }},
                             this);
    Feeds = new qt::SubscriptionPanel(context, this);
    Lists->setExtraSchedules([this] { return Feeds->schedules(); });
}

void TForm1::ConnectPanels()
{
    connect(Calendar, &qt::CalendarPanel::selectedDayChanged, this, &TForm1::DaySchEdit);
    connect(Feeds, &qt::SubscriptionPanel::schedulesChanged, Calendar, &qt::CalendarPanel::RebuildMonth);
    connect(Calendar, &qt::CalendarPanel::dayDoubleClicked, this, [this](bool withLines) {
        if (withLines)
            Lists->ShowFormEdit();
        else
            DayList->DaySchInputAdd();
    });
    connect(Calendar, &qt::CalendarPanel::memoDoubleClicked, ListMemo->MenuMemo, &QAction::trigger);
    connect(Calendar, &qt::CalendarPanel::contextMenuAt, this, [this](const QPoint& at) { PopupGrid->popup(at); });
    connect(Calendar, &qt::CalendarPanel::windowStateChanged, this, [this] { state_.windowStateDirty = true; });
    connect(PanelTodo, &qt::TodoPanel::todoLinesChanged, this, [this] {
        if (state_.created)
            Calendar->TodoLinesChanged();
    });
    connect(ListMemo, &qt::MemoList::memoChanged, this, [this](bool existenceChanged) {
        if (Calendar->ShowsMemoChange(existenceChanged))
            Calendar->RebuildMonth();
        else
            DaySchEdit();
    });
    for (QTreeWidget* list : {DayList->ListDaySch, static_cast<QTreeWidget*>(ListMemo)})
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
            PopupDayPopup();
            PopupDay->popup(list->viewport()->mapToGlobal(at));
        });
    connect(PanelTimer, &qt::TimerPanel::ticked, Tray, &qt::TrayIcon::Ask);
    connect(Tray, &qt::TrayIcon::availabilityChanged, this, &TForm1::TrayCheck);
    connect(Tray, &qt::TrayIcon::clicked, this, &TForm1::MainFormShow);
    connect(PanelTimer, &qt::TimerPanel::minuteBegan, this, [this](const DateTime& now) {
        Calendar->SetToday(now.date);
        if (now.date != state_.lastDay) {
            state_.lastDay = now.date;
            state_.startYear = now.date.year;
            DayChangeRefresh();
        }
    });
    connect(PanelTimer, &qt::TimerPanel::refreshDue, this, &TForm1::PeriodicRefresh);
}

void TForm1::DaySchEdit()
{
    if (state_.layoutBusy || !state_.created)
        return;
    if (miniMode_)
        setWindowTitle(Calendar->DayTitle());
    Calendar->ShowDayHint();
    // The day list is empty while it is not shown.
    if (panelMode_ != 0 || miniMode_) {
        DayList->FillDayList({});
        return;
    }
    const qt::DaySchedules day = Calendar->SelectedDaySchedules();
    DayList->FillDayList(day.entries, day.extras);
    // A memo area that comes back sits under the day list at its remembered height.
    if (ListMemo->MemoRefresh())
        SplM->setSizes({std::max(58, SplM->height() - memoHeight_ - SplM->handleWidth()), memoHeight_});
    DayList->ShowDayHeader(day);
}

void TForm1::PopupDayPopup()
{
    DayList->PopupDayPopup();
    PanelTodo->PoPTodoCopy->setEnabled(DayList->SchKeySearch().has_value());
    ListMemo->MemoPopupEnable();
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

QPoint TForm1::DialogPlace() const
{
    if (miniMode_)
        return QPoint(mini_.left + 16, mini_.top + 24);
    return geometry().topLeft() + QPoint(16, 24);
}

// The change of day: the month moves to the new today, the ToDo lists follow.
void TForm1::DayChangeRefresh()
{
    Calendar->GoToToday(Calendar->cursor().today);
    if (PanelRight->isVisible())
        PanelTodo->ToDoEdit();
}

// Every `UdTime` minutes while `ScrUd` is on: the month, the ToDo lists and the note.
void TForm1::PeriodicRefresh()
{
    Calendar->RebuildMonth();
    // A refill keeps the ticks the user has not stored yet.
    PanelTodo->ToDoEdit();
    // The note is read again without a password question.
    PanelNote->TabNoteEdit(qt::NoteShow::Refresh);
}

void TForm1::MenuPasswdClick()
{
    TDlgPassEntry dialog(panelServices_, programFolder_, this);
    panelServices_.dialogs.run(dialog);
}

} // namespace kal
