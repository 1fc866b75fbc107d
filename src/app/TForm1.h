// The main window composes: it creates the panels of the subsystems (each with its commands),
// places them (the calendar, the right panel, the notes; the display modes; the tray), builds the
// menus, the tool bar and the shared pop-up menus from their commands, enables the commands from
// one table, and routes the few events that cross panels: the selected day, changed data, changed
// settings. It runs the start-up order and the shutdown.
#pragma once

#include "alarm/qt/TimerPanel.h"
#include "app/AppState.h"
#include "app/qt/DataFileNotices.h"
#include "app/qt/PanelFocus.h"
#include "app/qt/TrayIcon.h"
#include "calendar/qt/CalendarPanel.h"
#include "exchange/qt/ExchangeCommands.h"
#include "lists/qt/ListCommands.h"
#include "memo/qt/MemoList.h"
#include "memo/qt/NotePanel.h"
#include "platform/IniFile.h"
#include "print/qt/PrintCommands.h"
#include "schedule/qt/DayListPanel.h"
#include "settings/WindowKeys.h"
#include "settings/qt/PanelContext.h"
#include "sync/qt/SubscriptionPanel.h"
#include "sync/qt/SyncPanel.h"
#include "todo/qt/TodoPanel.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>

class QAction;
class QMenu;
class QSplitter;
class QToolBar;

namespace kal {

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    TForm1(qt::Services& services, std::string programFolder, QWidget* parent = nullptr);

    // Window creation; 0 to go on, otherwise the exit code of a refused start. `settingsRead` is
    // the settings file as the start already read it.
    int FormCreate(std::optional<IniFile> settingsRead = std::nullopt);
    // Shows the window unless it starts in the notification area.
    void ShowAtStart();
    // From the window system: a second start's wake-up, a double click on the title bar.
    void WMCopyData();
    void WMNCLButtonDblClk();

    const AppState& state() const { return state_; }
    const AppSettings& settings() const { return settings_; }
    bool miniMode() const { return miniMode_; }
    bool panelWithRight() const { return panelMode_ == 0; }
    bool notesShown() const { return notesShown_; }
    bool clockShown() const { return clockShown_; }
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
    qt::SyncPanel* Sync;
    qt::SubscriptionPanel* Feeds = nullptr;
    qt::TrayIcon* Tray;

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
    qt::DataFileNotices* Notices;
    qt::PanelFocus* Focus; // F6 and Tab from panel to panel

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
    void TrayCheck();

    // Routed between panels: the selected day, its pop-up menu, the delete key, the refreshes.
    void DaySchEdit();
    void PopupDayPopup();
    void DataDelete();
    void DayChangeRefresh();
    void PeriodicRefresh();

    // The window's own dialogs.
    void ShowDlgSetup();
    void ShowDlgVersion();
    void HelpTopic();
    void MenuPasswdClick();

    // The session is ending: the window keys and the ToDo ticks are saved now, without a question.
    void SessionSave();
    // A termination request: the waiting dialogs are cancelled, the window closes without questions.
    void LogOff();
    // Position of the frame and size of the client area, the one measure the window keys use.
    WindowGeometry FormGeometry() const;

signals:
    void closed(); // the program ends

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // Start-up.
    bool InitLoad();
    bool StartupPasswordGiven();
    bool PasswordGiven(const char* label);
    void InitSet();
    void FormShow();

    // Construction: the panels, the areas they are placed in, the commands around them.
    qt::PanelContext PanelContextOfWindow();
    void CreatePanels();
    void CreateAreas();
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreatePopups();
    void CreateStatusBar();
    void ConnectCommands();
    void ConnectPanels();
    void ApplyCommandStates();

    // Modes.
    void FitStoredGeometry();
    void PlaceAgainWithFrame();
    void ApplyWindowFlags();
    void SetTitleFromSettings();
    QPoint DialogPlace() const;

    // The settings dialog: the command, the first run and a version change.
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

    qt::Services& services_;
    std::string programFolder_;
    std::optional<IniFile> settingsRead_; // taken by the first InitLoad
    // Carries the identities of records along every change made here (RecordIdentities.h).
    std::unique_ptr<files::RecordFollower> identities_;
    AppSettings settings_;
    AppState state_;
    // The panels open their dialogs through these, so ModalDialogOpen holds.
    qt::FlaggingDialogRunner panelDialogs_{services_.dialogs, state_.modalDialogOpen};
    qt::Services panelServices_{services_.platform, panelDialogs_};
    qt::PanelContext panelContext_{PanelContextOfWindow()};

    int panelMode_ = 0, pnlWidth_ = 320, gridHeight_ = 343, memoHeight_ = 120;
    bool miniMode_ = false, notesShown_ = true, clockShown_ = true;
    WindowGeometry normal_, mini_;
    StartGeometry startGeometry_;
    std::string windowTitle_; // Shift-JIS, as stored
};

} // namespace kal
