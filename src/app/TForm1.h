// The main window composes: it creates the panels of the subsystems (each with its commands),
// places them (the calendar, the right panel, the notes; the display modes; the tray), builds the
// menus, the tool bar and the shared pop-up menus from their commands, enables the commands from
// one table, and routes the few events that cross panels: the selected day, changed data, changed
// settings. It runs the start-up order and the shutdown.
#pragma once

#include "alarm/qt/TimerPanel.h"
#include "app/AppState.h"
#include "calendar/qt/CalendarPanel.h"
#include "exchange/qt/ExchangeCommands.h"
#include "lists/qt/ListCommands.h"
#include "memo/qt/MemoList.h"
#include "memo/qt/NotePanel.h"
#include "platform/FolderLock.h"
#include "platform/UnreadableNotice.h"
#include "platform/qt/Services.h"
#include "print/qt/PrintCommands.h"
#include "schedule/qt/DayListPanel.h"
#include "settings/AppSettings.h"
#include "settings/WindowKeys.h"
#include "settings/qt/PanelContext.h"
#include "todo/qt/TodoPanel.h"

#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QToolBar;

namespace kal {

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(qt::Services& services, std::string programFolder, QWidget* parent = nullptr);
    ~TForm1() override;

    // Window creation; 0 to go on, otherwise the exit code of a refused start.
    int FormCreate();
    // Shows the window unless it starts in the notification area.
    void ShowAtStart();
    // A second start asked this instance to come forward.
    void WMCopyData();

    const AppState& state() const { return state_; }
    const AppSettings& settings() const { return settings_; }
    std::string settingsPath() const { return SettingsPath(programFolder_); }
    bool miniMode() const { return miniMode_; }
    bool panelWithRight() const { return panelMode_ == 0; }
    bool notesShown() const { return notesShown_; }
    bool clockShown() const { return clockShown_; }
    bool trayAvailable() const { return trayAvailable_; }
    bool trayIconShown() const;
    const WindowGeometry& miniGeometry() const { return mini_; }
    int rememberedRightPanelWidth() const { return pnlWidth_; }

    // The panels, each with its commands; a new subsystem's panel joins here, in CreatePanels.
    qt::CalendarPanel* Calendar;
    qt::DayListPanel* DayList;
    qt::MemoList* ListMemo;
    qt::NotePanel* PanelNote;
    qt::TodoPanel* PanelTodo;
    qt::TimerPanel* PanelTimer;
    qt::ListCommands* Lists;
    qt::PrintCommands* Printing;
    qt::ExchangeCommands* Exchange;

    // Menus, tool bar and the pop-up menus of several panels, and the window's own commands.
    QMenu *MenuFile, *MenuEdit, *MenuShow, *MenuCalender, *MenuPanelMode, *MenuGoTo, *MenuEnv, *MenuSize, *MenuCatView,
        *MenuHelp, *PopupGrid, *PopupDay, *PopupTray;
    QToolBar* ToolBar1;
    QAction *MenuExit, *MenuDelete, *MenuToolBar, *MenuStatusBar, *MenuClock, *MenuNote, *MenuPanelMode1,
        *MenuPanelMode2, *MenuSmall, *MenuTray, *PopSetup, *MenuPasswd, *MenuSizeMode0, *MenuSizeMode1, *MenuSizeMode2,
        *MenuSizeMini, *MenuTopic, *MenuAbout;
    QAction *TBtnDel, *TBtnClock, *TBtnPanelMode, *TBtnSmall, *TBtnTray, *TBtnSetup;
    QAction *PopMini, *PopTray, *PopTraySize, *PopTrayMini, *PopTrayExit;

    // Areas.
    QSplitter *SplH, *SplX, *SplV, *SplM;
    QWidget *PanelLeft, *PanelRight, *StatusPanel3;
    QLabel* StatusWarning;

    // Layout and display modes.
    void PanelCheck();
    void PanelModeClick();
    void SizeChange();
    void BarCheck();
    void NoteCheck();
    void PositionCheck();
    void SmallSize();
    void SmallCheck();
    void FormInitSize(int preset); // 0 size at start-up, 1 640 x 480, 2 800 x 600
    void MenuSizeMiniClick();
    void MenuToolBarClick();
    void MenuStatusBarClick();
    void MenuClockClick();
    void MenuNoteClick();

    // Tray.
    void IconTraySet();
    void TaskTraySet();
    void MainFormShow();
    void PopupTrayPopup();
    void PopTrayMiniClick();
    void ApplicationExit();
    // A notification area that came or went since the last look: the icon follows it.
    void TrayCheck();

    // Routed between panels: the selected day, its pop-up menu, the delete key, the refreshes.
    void DaySchEdit();
    void PopupDayPopup();
    void DataDelete();
    // The change of day: the month moves to the new today, the ToDo lists follow.
    void DayChangeRefresh();
    // Every `UdTime` minutes while `ScrUd` is on: the month, the ToDo lists and the note.
    void PeriodicRefresh();

    // The window's own dialogs.
    void ShowDlgSetup();
    void ShowDlgVersion();
    void HelpTopic();
    void MenuPasswdClick();

    // The session is ending (the desktop logs off): the window keys and the ToDo ticks are
    // saved now, without a question, in case the program is not asked to close.
    void SessionSave();
    // A termination request: cancels the dialogs waiting for an answer and closes as the exit
    // command does, without the clean-up question.
    void LogOff();
    // Position of the frame and size of the client area, the one measure the window keys use.
    WindowGeometry FormGeometry() const;

signals:
    // The window has closed; the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // Start-up.
    bool RunFirstSetup();
    void WriteDefaultHolidayTable();
    bool InitLoad();
    bool StartupPasswordGiven();
    bool PasswordGiven(const char* label);
    void CheckFolders();
    void RecoverDataFolders();
    void InitSet();
    void FormShow();
    void ShowError(const char* caption, const char* text);

    // Construction: the panels, the areas they are placed in, the commands around them.
    qt::PanelContext PanelContextOfWindow();
    void CreatePanels();
    void CreateAreas();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreatePopups();
    void CreateStatusBar();
    void CreateDataFileNotices();
    void ConnectCommands();
    void ConnectPanels();
    // Enables the commands that depend on the window's state (CommandStates.h).
    void ApplyCommandStates();

    // Modes and routing.
    // Stored sizes and positions limited to the screen before any use.
    void FitStoredGeometry();
    // The window system tells the frame only once the window is on screen.
    void PlaceAgainWithFrame();
    void ApplyWindowFlags();
    void SetTitleFromSettings();
    void SyncMiniChecks();
    void ListCreate();
    QPoint DialogPlace() const;
    void MemoRefresh();
    void MinuteBegan(const DateTime& now);

    // Settings dialog: from the settings command, the first run and a version change; after OK
    // every panel takes the settings again.
    enum class SetupPlacement { FirstRun, Centred, BelowWindow };
    bool RunSetupDialog(const char* caption, SetupPlacement placement);
    void RunVersionSetup();
    void ApplySettings();

    // Shutdown: the ToDo ticks, the window keys and the clean-up of old data.
    void FormCloseQuery();
    void CloseWhenNoDialogWaits();
    void SaveAtExit();
    void SaveWindowKeys();
    void CleanOldData();

    // Data files: the wait for another writer's folder lock, the files that cannot be read.
    void ShowUnreadable(const std::string& source, const std::vector<files::FileProblem>& problems);
    void ShowStatusWarning();

    qt::Services& services_;
    std::string programFolder_;
    // Carries the identities of records along every change made here (RecordIdentities.h).
    std::unique_ptr<files::RecordFollower> identities_;
    AppSettings settings_;
    AppState state_;
    // The panels open their dialogs through these, so ModalDialogOpen holds.
    qt::FlaggingDialogRunner panelDialogs_{services_.dialogs, state_.modalDialogOpen};
    qt::Services panelServices_{services_.platform, panelDialogs_};
    qt::PanelContext panelContext_{PanelContextOfWindow()};

    int panelMode_ = 0;
    bool miniMode_ = false;
    bool miniPlaceKept_ = false; // mini_ was taken before the window manager maximised it
    bool notesShown_ = true;
    bool clockShown_ = true;
    int pnlWidth_ = 320;
    int gridHeight_ = 343;
    int memoHeight_ = 120;
    WindowGeometry normal_;
    WindowGeometry mini_;
    StartGeometry startGeometry_;
    std::string windowTitle_; // Shift-JIS, as stored

    bool trayAvailable_ = false;
    bool waitsForPassword_ = false; // hidden in the tray behind the password
    QPointer<QSystemTrayIcon> tray_;
    bool shownOnce_ = false;
    bool frameCounted_ = false; // the last placement knew the window's frame
    bool startHidden_ = false;
    bool exiting_ = false;
    bool firstInitSet_ = true;
    bool created_ = false;
    bool sessionEnding_ = false;
    bool closedOnce_ = false;

    UnreadableNotice unreadable_;
    files::LockWaiting lockWaitingBefore_;
};

} // namespace kal
