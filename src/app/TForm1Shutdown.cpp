// Closing the main window: the ToDo ticks, the window keys, the clean-up of old data, and the
// same without questions when the session ends.
#include "app/TForm1.h"

#include "app/CleanUp.h"
#include "calendar/qt/MonthGrid.h"
#include "platform/Files.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtDebug>

namespace kal {

WindowGeometry TForm1::FormGeometry() const
{
    // Frame position and client size: what placement moves to and what resize sets, so a
    // window nobody touched compares equal whatever frame the window manager draws. The frame is
    // the window system's: the widget's own idea of it is stale after a hide and show.
    const QPoint frame = windowHandle() ? windowHandle()->frameGeometry().topLeft() : pos();
    return WindowGeometry{frame.x(), frame.y(), width(), height()};
}

void TForm1::FormCloseQuery()
{
    Tray->Hide();
    // Nothing may tick while the question is open, nor after.
    PanelTimer->Timer1->stop();
    if (state_.startupPending)
        return;
    state_.layoutBusy = true;
    SaveAtExit();
    if (settings_.clean == 1 && !state_.sessionEnding)
        CleanOldData();
}

void TForm1::SaveAtExit()
{
    if (panelMode_ == 0)
        PanelTodo->ToDoUd();
    SaveWindowKeys();
}

void TForm1::SessionSave()
{
    if (state_.startupPending || state_.closedOnce)
        return;
    // A log-off the user cancels leaves the program running as before.
    const bool wasEnding = state_.sessionEnding;
    state_.sessionEnding = true;
    SaveAtExit();
    state_.sessionEnding = wasEnding;
}

void TForm1::LogOff()
{
    state_.sessionEnding = true;
    state_.exiting = true;
    CloseWhenNoDialogWaits();
}

void TForm1::CleanOldData()
{
    std::optional<CleanPlan> plan =
        PlanCleanUp(settings_.dataPath, settings_.memoPath, services_.platform.now().date, settings_.cleanTerm);
    if (!plan)
        return;
    state_.modalDialogOpen = true;
    const MessageAnswer answer = services_.platform.messageBox(kCleanCaption, CleanQuestion(plan->cutOff),
                                                               MessageIcon::Warning, MessageButtons::YesNo);
    state_.modalDialogOpen = false;
    if (answer != MessageAnswer::Yes)
        return;
    if (const CleanResult cleaned = RunCleanUp(*plan); !cleaned.ok())
        services_.platform.messageBox(kCleanCaption, CleanFailureMessage(cleaned), MessageIcon::Error,
                                      MessageButtons::Ok);
}

void TForm1::SaveWindowKeys()
{
    WindowState now;
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    now.screen = ScreenRect{area.left(), area.top(), area.width(), area.height()};
    now.todayYear = Calendar->cursor().today.year;
    now.dirty = state_.windowStateDirty;
    now.mini = miniMode_;
    now.normalState = !isMinimized() && !isMaximized();
    now.current = FormGeometry();
    now.normal = normal_;
    now.miniRemembered = mini_;
    now.rightPanel = pnlWidth_;
    now.gridHeight =
        panelMode_ == 0 && notesShown_ && now.normalState && !miniMode_ ? Calendar->GridMonth->height() : gridHeight_;
    now.dayListHeight = DayList->ListDaySch->height();
    now.memoHeight = ListMemo->isVisible() ? ListMemo->height() : memoHeight_;
    now.todoShown = settings_.todo == 1;
    now.panelMode = panelMode_;
    now.weekView = GridModeOf(Calendar->chosenView());
    now.notesShown = notesShown_;
    now.toolBar = MenuToolBar->isChecked();
    now.statusBar = MenuStatusBar->isChecked();
    now.clock = clockShown_;
    const qt::TodoColumnWidths todo = PanelTodo->ColumnWidths();
    now.todoWidths = {todo.openTitle.value_or(settings_.tNoWidth), todo.doneTitle.value_or(settings_.tOkWidth),
                      todo.openPriority.value_or(settings_.nPrWidth), todo.donePriority.value_or(settings_.oPrWidth)};
    now.dayWidths = DayList->DayColumnWidths();
    StartGeometry start = startGeometry_;
    start.startYear = state_.startYear;
    if (WindowKeysUnchanged(now, start))
        return;
    IniFile ini(SettingsPath(programFolder_));
    ini.load();
    WriteWindowKeys(ini, now);
    files::IoResult saved = ini.flush();
    if (saved)
        return;
    // The session is going away: nobody is left to answer a message box.
    if (state_.sessionEnding)
        qWarning("Kalendra: %s", saved.reason.c_str());
    else
        services_.platform.messageBox("Kalendra", "設定ファイルを保存できません。\r\n" + saved.reason,
                                      MessageIcon::Error, MessageButtons::Ok);
}

} // namespace kal
