// The main window: it owns the application state for the whole run, runs the start-up order,
// lays out the calendar, the right panel and the notes, switches the display modes and the
// tray, and hands every command to the subsystem that does it.
#pragma once

#include "app/AppState.h"
#include "calendar/CellPaint.h"
#include "calendar/MonthBuild.h"
#include "calendar/WeekView.h"
#include "calendar/qt/CalendarPainter.h"
#include "lists/ListRows.h"
#include "memo/qt/MemoList.h"
#include "memo/qt/NotePanel.h"
#include "platform/FolderLock.h"
#include "platform/UnreadableNotice.h"
#include "platform/qt/Services.h"
#include "schedule/Categories.h"
#include "schedule/ScheduleRecord.h"
#include "schedule/TDlgSchInput.h"
#include "schedule/qt/DayListPanel.h"
#include "settings/AppSettings.h"
#include "settings/WindowKeys.h"
#include "settings/qt/PanelContext.h"
#include "todo/qt/TodoPanel.h"

#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QSplitter;
class QTabBar;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeWidget;

namespace kal {

namespace qt {
class ClockPanel;
class TimerPanel;
class MonthGrid;
class TodoPanel;
class WeekGrid;
} // namespace qt

namespace qt {
class PrintTarget;
}
struct PrintSource;

class THeaderPanel;
struct FormEditRequest;

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
    const MonthBuild& monthBuild() const { return build_; }
    const CalendarLook& calendarLook() const { return look_; }
    const CategoryTable& categories() const { return categories_; }
    const std::string& programFolder() const { return programFolder_; }
    std::string settingsPath() const { return SettingsPath(programFolder_); }
    bool miniMode() const { return miniMode_; }
    bool panelWithRight() const { return panelMode_ == 0; }
    bool notesShown() const { return notesShown_; }
    bool clockShown() const { return clockShown_; }
    int catViewMode() const { return catMode_; }
    bool trayAvailable() const { return trayAvailable_; }
    bool trayIconShown() const;
    MonthRelation selectedRelation() const { return selectedRelation_; }
    const WindowGeometry& normalGeometry() const { return normal_; }
    const WindowGeometry& miniGeometry() const { return mini_; }
    int rememberedRightPanelWidth() const { return pnlWidth_; }

    // Menus and tool bar (the names of the system).
    QMenu *MenuFile, *MenuEdit, *MenuShow, *MenuCalender, *MenuPanelMode, *MenuGoTo, *MenuEnv, *MenuSize, *MenuCatView,
        *MenuHelp;
    QAction *MenuCsvRead, *MenuCsvSave, *MenuPrintPrev, *MenuPrint, *MenuExit;
    QAction *MenuSchEdit, *MenuMemoList, *MenuHoliday, *MenuDelete, *MenuFind;
    QAction *MenuToolBar, *MenuStatusBar, *MenuClock, *MenuNote, *MenuMonthly, *MenuWeekly, *MenuPanelMode1,
        *MenuPanelMode2, *MenuSmall, *MenuTray;
    QAction *MenuNowMonth, *MenuNextMonth, *MenuBeforeMonth, *MenuNextYear, *MenuBeforeYear, *MenuJump;
    QAction *PopSetup, *MenuPasswd, *MenuSizeMode0, *MenuSizeMode1, *MenuSizeMode2, *MenuSizeMini, *MenuCat,
        *MenuCatView1, *MenuCatView2;
    QAction *MenuTopic, *MenuAbout;
    QAction* YearSeparator;

    QToolBar* ToolBar1;
    QAction *TBtnHome, *TBtnPrint, *TBtnPreview, *TBtnSchRep, *TBtnMemo, *BtnHoliday, *TBtnDel, *TBtnClock, *TBtnWeekly,
        *TBtnMonthly, *TBtnPanelMode, *TBtnSmall, *TBtnTray, *TBtnFind, *TBtnJump, *TBtnCat, *TBtnCatView, *TBtnSetup;

    QMenu *PopupGrid, *PopupDay, *PopupTray;
    QAction *PopSchEdit, *PopHoliday, *PopNow, *PopNextMonth, *PopBeforeMonth, *PopJump, *PopMini, *PopTray;
    QAction *PopTraySchEdit, *PopTraySize, *PopTrayMini, *PopTrayExit;

    // Areas.
    QSplitter* SplH;
    QWidget* PanelLeft;
    THeaderPanel* PanelMonSch;
    QToolButton *BtnBeforeYear, *BtnBeforeMonth, *BtnNowMon, *BtnNextMonth, *BtnNextYear;
    QLabel *LabelYear, *LabelWareki;
    QSplitter* SplX;
    qt::MonthGrid* GridMonth;
    qt::NotePanel* PanelNote;
    QWidget* PanelRight;
    QSplitter* SplV;
    QSplitter* SplM;
    qt::MemoList* ListMemo;
    QLabel* StatusPanel0;
    QWidget* StatusPanel3;

    // Navigation (month view).
    void NextMonthChange();
    void BeforeMonthChange();
    void NextYearChange();
    void BeforeYearChange();
    void CurrentNow();
    // Rebuilds the layout of the shown month and puts the selection on the selected day.
    void HeaderEdit();
    // The month build proper, the header texts, then the day's lists.
    void MonthSchEdit();

    // Layout and modes.
    void PanelCheck();
    void PanelModeClick();
    void SizeChange();
    void HSplitMove();
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
    void ListCreate();

    // Tray.
    void IconTraySet();
    void TaskTraySet();
    void MainFormShow();
    void PopupTrayPopup();
    void PopTrayMiniClick();
    void ApplicationExit();
    // A notification area that came or went since the last look: the icon follows it.
    void TrayCheck();

    // Categories.
    void CatEntry();
    void MenuCatViewClick();

    // Dialogs.
    void ShowDlgVersion();
    void HelpTopic();

    // The selected day's schedules, memo and pop-up menu; the delete key goes to the list that has
    // the focus.
    qt::DayListPanel* DayList;
    void DaySchEdit();
    void PopupDayPopup();
    void DataDelete();

    // Selects a grid cell as a click would.
    void SelectCell(int column, int row);

    // CSV block: export of the shown month and import through TDlgCsvToSch.
    void MenuCsvSaveClick();
    void MenuCsvReadClick();

    // iCalendar block: export of a period through TDlgIcalSave, import through TDlgIcalRead.
    QAction *MenuIcalSave = nullptr, *MenuIcalRead = nullptr;
    void MenuIcalSaveClick();
    void MenuIcalReadClick();

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

    // Construction of the window.
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreatePopups();
    void CreateAreas();
    void CreateStatusBar();
    void ConnectCommands();
    // CSV block.
    void ConnectCsvCommands();
    void ImportCsvFile(const std::string& path);
    // iCalendar block.
    void ConnectIcalCommands();
    void ImportIcalFile(const std::string& path);
    QAction* NewAction(QAction*& member, const char* name, const char* caption, const char* shortcut = nullptr);

    // Day list.
    qt::DaySchedules SelectedDaySchedules() const;
    QPoint DialogPlace() const;
    void RebuildMonth();

    // Calendar.
    void ApplyCalendarLook();
    // The drawing follows the mini calendar and the panel mode (weekday names, header row).
    void ApplyPainterMode();
    void ApplyHeaderTexts();
    void GridMonthSelect(int column, int row);
    void GridMonthDblClick();
    void ShowGridPopup(const QPoint& globalPosition);
    void UpdateSelectedDate();
    void SetWeekRows(int selectedRow);
    void SetMonth(int year, int month);

    void GoToToday(const Date& today);

    // Modes.
    // Stored sizes and positions limited to the screen before any use.
    void FitStoredGeometry();
    // The window system tells the frame only once the window is on screen.
    void PlaceAgainWithFrame();
    void ApplyWindowFlags();
    void SetTitleFromSettings();
    void SetCatViewMode(int mode);
    void SyncMiniChecks();

    qt::Services& services_;
    std::string programFolder_;
    // Carries the identities of records along every change made here (RecordIdentities.h).
    std::unique_ptr<files::RecordFollower> identities_;
    AppSettings settings_;
    AppState state_;
    CategoryTable categories_;
    MonthBuild build_;
    CalendarLook look_;
    qt::CalendarPainter painter_;
    MonthRelation selectedRelation_ = MonthRelation::Current;

    int panelMode_ = 0;
    int catMode_ = 0;
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

    // Memos, notes and the password setting.
public:
    void MenuPasswdClick();

private:
    // The memo area follows the selected day; one that comes back takes its remembered height.
    void MemoRefresh();
    void MemoChanged(bool existenceChanged);
    // The panels open their dialogs through these, so ModalDialogOpen holds.
    qt::FlaggingDialogRunner panelDialogs_{services_.dialogs, state_.modalDialogOpen};
    qt::Services panelServices_{services_.platform, panelDialogs_};
    qt::PanelContext PanelContextOfWindow();
    qt::PanelContext panelContext_{PanelContextOfWindow()};

    // ToDo block: the lists panel with its commands; the window routes the days and the month.
public:
    qt::TodoPanel* PanelTodo;

private:
    qt::TodoPanelLinks TodoLinks();
    void TodoLinesChanged();
    void TodoIconSetup();
    // The calendar moves to a day and selects it.
    void ShowDate(const Date& date);

    // Lists block: the holiday input and jump dialogs, the list window and the find dialog.
public:
    void ShowFormEdit();
    void HolidayUpdate();
    void ShowMemoList();
    void ShowDlgFind();
    void ShowDlgJump();
    void ShowDlgHolidayInput();

private:
    void ConnectListCommands();
    FormEditRequest ListRequest(ListMode mode) const;
    // Shows the list window below the main window, `narrower` pixels narrower; true when it
    // changed something.
    bool RunFormEdit(const FormEditRequest& request, int narrower);
    int ListWindowHeight() const;
    // The day memo editor the list windows correct memos with; none until the editor exists.
    std::function<bool(const Date&, QWidget*)> DayMemoEditor();

    // Timer and alarm block: the panel of the timer, the clock and the alarms; the window moves
    // to a new day and refreshes the panels when the timer says so.
public:
    qt::TimerPanel* PanelTimer;
    // Rebuilds what depends on the date at the change of day: the month, moved to the new
    // today, and the ToDo lists.
    void DayChangeRefresh();
    // Every `UdTime` minutes while `ScrUd` is on: the month.
    void PeriodicRefresh();

private:
    void MinuteBegan(const DateTime& now);

    // Week view block: the week grid beside the month grid, the switch between the two views,
    // the navigation by week and the captions that follow the view.
public:
    QWidget* GridArea; // GridMonth and GridWeek in one place, both kept at its size
    qt::WeekGrid* GridWeek;
    bool weekShown() const { return weekShown_; }
    // The shown week: the row of the month layout, 1 to 6.
    int weekRow() const { return weekRow_; }
    void GridModeClick();
    // At start-up: the view saved in the settings (the month view in the mini calendar).
    void GridCheck();
    void ChangeWeekly();
    void ChangeMonthly();
    void NextWeekChange();
    void BeforeWeekChange();

private:
    QWidget* CreateGridArea(QWidget* parent);
    void ConnectWeekCommands();
    // Shows the chosen view, or the month view in the mini calendar.
    void ApplyGridMode();
    void ApplyViewCaptions();
    void ApplyWeekLook();
    void MoveWeek(const std::optional<WeekMove>& move);
    void SelectLayoutCell(const CellPos& pos);
    // The week grid follows the selected cell of the month layout.
    void ShowWeekOfSelection();
    void GridWeekSelect(int column, int row);
    void GridWeekDblClick();
    QWidget* CurrentGrid() const;

    bool weekChosen_ = false; // the view the user chose, kept through the mini calendar
    bool weekShown_ = false;
    int weekRow_ = 1;
    // Printing: the print dialog and the preview of the displayed month, and the printer of
    // the run (created at the first print command).
public:
    void CalenderPrint();
    void PrintPreview();
    // A copy of the displayed month as printing sees it.
    PrintSource PrintSourceNow() const;

private:
    void ConnectPrintCommands();
    qt::PrintTarget& PrintTargetNow();
    std::shared_ptr<qt::PrintTarget> printTarget_;

    // Settings dialog block: the dialog from the settings command, the first run and a version
    // change, and every setting applied again after OK.
public:
    void ShowDlgSetup();

private:
    enum class SetupPlacement { FirstRun, Centred, BelowWindow };
    void ConnectSetupCommands();
    bool RunSetupDialog(const char* caption, SetupPlacement placement);
    void RunVersionSetup();
    void ApplySettings();

    // Shutdown and commands block: closing with the window keys, the ToDo ticks and the
    // clean-up of old data; the end of the session; the shortcuts of the window.
public:
    // The session is ending (the desktop logs off): the window keys and the ToDo ticks are
    // saved now, without a question, in case the program is not asked to close.
    void SessionSave();
    // A termination request: cancels the dialogs waiting for an answer and closes as the exit
    // command does, without the clean-up question.
    void LogOff();
    // Position of the frame and size of the client area, the one measure the window keys use.
    WindowGeometry FormGeometry() const;

private:
    void FormCloseQuery();
    void CloseWhenNoDialogWaits();
    void SaveAtExit();
    void SaveWindowKeys();
    void CleanOldData();
    void CreateShortcuts();
    void ShowShortcut(QAction* entry, const char* key);
    void ConnectSelections();

    bool sessionEnding_ = false;
    bool closedOnce_ = false;

    // Data files block: the wait for another writer's folder lock, the files that cannot be read.
public:
    QLabel* StatusWarning;

private:
    void CreateDataFileNotices();
    void ShowUnreadable(const std::string& source, const std::vector<files::FileProblem>& problems);
    void ShowStatusWarning();

    UnreadableNotice unreadable_;
    files::LockWaiting lockWaitingBefore_;
};

} // namespace kal
