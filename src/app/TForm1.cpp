#include "app/TForm1.h"

#include "alarm/qt/ClockPanel.h"
#include "alarm/qt/TimerPanel.h"
#include "app/Password.h"
#include "app/Startup.h"
#include "app/TDlgPasswd.h"
#include "app/TDlgVersion.h"
#include "calendar/Holidays.h"
#include "calendar/qt/CalendarPanel.h"
#include "calendar/qt/MonthGrid.h"
#include "exchange/RecordIdentities.h"
#include "memo/qt/MemoList.h"
#include "memo/qt/NotePanel.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "schedule/qt/DayListPanel.h"
#include "settings/DataFolders.h"
#include "settings/WindowGeometry.h"
#include "todo/TodoRecord.h"
#include "todo/qt/TodoPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QStandardPaths>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>

namespace kal {

using namespace startup_text;

TForm1::TForm1(qt::Services& services, std::string programFolder, QWidget* parent)
    : QMainWindow(parent), services_(services), programFolder_(files::withSeparator(programFolder)),
      identities_(std::make_unique<IdentityFollower>(programFolder_))
{
    setObjectName("TForm1");
    setWindowTitle("Kalendra");
    setWindowIcon(QIcon(":/icons/program.svg"));
    // The mini calendar sits beside other work; its hints must show while another window is
    // active.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    CreatePanels();
    CreateAreas();
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreatePopups();
    CreateStatusBar();
    CreateDataFileNotices();
    ConnectCommands();
    ConnectPanels();
    PopupTrayPopup();
}

TForm1::~TForm1()
{
    files::setLockWaiting(std::move(lockWaitingBefore_));
}

void TForm1::ShowError(const char* caption, const char* text)
{
    services_.platform.messageBox(caption, text, MessageIcon::Error, MessageButtons::Ok);
}

int TForm1::FormCreate()
{
    if (!files::fileExists(settingsPath()) && !RunFirstSetup())
        return 1;
    state_ = AppState{};
    state_.startAt(services_.platform.now().date);
    Calendar->StartAt(services_.platform.now().date);
    trayAvailable_ = services_.platform.hasNotificationArea();
    if (!InitLoad())
        return 1;
    RecoverDataFolders();
    PanelTodo->ReadTodoLines();
    created_ = true;
    SmallCheck();
    BarCheck();
    InitSet();
    Calendar->GridCheck();
    // The sizes as the settings gave them, once limited to the screen.
    startGeometry_.left = normal_.left;
    startGeometry_.top = normal_.top;
    startGeometry_.width = normal_.width;
    startGeometry_.height = normal_.height;
    startGeometry_.rightPanel = pnlWidth_;
    startGeometry_.gridHeight = gridHeight_;
    startGeometry_.dayListHeight = settings_.schHeight;
    startGeometry_.memoHeight = settings_.memoHeight;
    startGeometry_.todoWidths = {settings_.tNoWidth, settings_.tOkWidth, settings_.nPrWidth, settings_.oPrWidth};
    startGeometry_.dayWidths = {settings_.schWidth, settings_.plcWidth, settings_.catWidth};
    IconTraySet();
    PanelTimer->Timer1->start();
    return 0;
}

bool TForm1::RunFirstSetup()
{
    const bool accepted = RunSetupDialog(kSetupCaption, SetupPlacement::FirstRun);
    if (accepted)
        WriteDefaultHolidayTable();
    return accepted;
}

void TForm1::WriteDefaultHolidayTable()
{
    IniFile ini(settingsPath());
    ini.load();
    AppSettings fresh;
    if (!readSettings(ini, programFolder_, fresh).ok)
        return;
    QFile resource(":/Holiday.dat");
    if (!resource.open(QIODevice::ReadOnly))
        return;
    if (files::IoResult saved = WriteDefaultHolidayFile(fresh.dataPath, resource.readAll().toStdString()); !saved)
        services_.platform.messageBox("Holiday.dat", "祝日ファイルを保存できません。\r\n" + saved.reason,
                                      MessageIcon::Error, MessageButtons::Ok);
}

bool TForm1::InitLoad()
{
    IniFile ini(settingsPath());
    ini.load();
    SettingsLoadResult loaded = readSettings(ini, programFolder_, settings_);
    if (!loaded.ok) {
        ShowError(kSettingsErrorCaption, kSettingsErrorText);
        return false;
    }
    if (state_.startupPending) {
        state_.versionChanged = settings_.ver != kProgramVersion;
        if (!StartupPasswordGiven())
            return false;
        normal_ = WindowGeometry{settings_.left, settings_.top, settings_.width, settings_.height};
        mini_ = WindowGeometry{settings_.miniLeft, settings_.miniTop, settings_.miniWidth, settings_.miniHeight};
        pnlWidth_ = settings_.pnlWidth;
        gridHeight_ = settings_.gridHeight;
        memoHeight_ = settings_.memoHeight;
        FitStoredGeometry();
        panelMode_ = settings_.panelMode == 1 ? 1 : 0;
        Calendar->SetPanelMode(panelMode_ == 0);
        miniMode_ = settings_.smallMode;
        notesShown_ = settings_.note;
        clockShown_ = settings_.clock == 1;
        MenuToolBar->setChecked(settings_.toolBar);
        MenuStatusBar->setChecked(settings_.statusBar);
        MenuNote->setChecked(notesShown_);
        MenuClock->setChecked(clockShown_);
        TBtnClock->setChecked(clockShown_);
        Calendar->SetCatViewMode(settings_.catchk != 0 ? 1 : 0);
        startHidden_ = settings_.taskTray == 1;
        state_.taskbarHidden = settings_.taskBar == 1 && trayAvailable_;
        ApplyWindowFlags();
    }
    windowTitle_ = settings_.title;
    // The application's name stays "Kalendra": the cache folder and the desktop's matching of
    // the window to its menu entry follow it.
    SetTitleFromSettings();
    CheckFolders();
    PanelTimer->ApplyClockLook();
    PanelTimer->LoadSignalTimes();
    PanelTodo->TodoIconSetup();
    Calendar->SetTodoIcons(PanelTodo->statusIcons());
    return true;
}

bool TForm1::PasswordGiven(const char* label)
{
    // Anything named like the password file counts, so that a FIFO or folder cannot skip the prompt.
    if (!readPasswordFile(programFolder_ + kPasswordFileName)) {
        ShowError(kPasswordErrorCaption, kPasswordErrorText);
        return true;
    }
    state_.modalDialogOpen = true;
    TDlgPasswd dialog(services_, programFolder_, label, isVisible() ? this : nullptr);
    bool given = services_.dialogs.run(dialog) == QDialog::Accepted;
    state_.modalDialogOpen = false;
    return given;
}

bool TForm1::StartupPasswordGiven()
{
    if (settings_.passwd == 1 && !PasswordGiven(kStartupPasswordLabel))
        return false;
    if (newYearGreetingDue(settings_.now, Calendar->cursor().today)) {
        services_.platform.messageBox("Kalendra", kGreeting, MessageIcon::Information, MessageButtons::Ok);
        state_.windowStateDirty = true;
    }
    return true;
}

void TForm1::CheckFolders()
{
    for (const std::string* folder :
         {&settings_.dataPath, &settings_.memoPath, &settings_.todoPath, &settings_.notePath}) {
        if (!files::folderExists(*folder)) {
            ShowError(kFolderErrorCaption, kFolderErrorText);
            return;
        }
    }
}

void TForm1::InitSet()
{
    Calendar->ApplyCalendarLook();
    DayList->DayListSet();
    PanelTodo->TodoSet();
    ListMemo->MemoSet();
    PanelNote->NoteSet(firstInitSet_);
    PanelTodo->setVisible(settings_.todo == 1);
    PanelTimer->UpdateStatusBar();
    Calendar->HeaderEdit();
    Calendar->MonthSchEdit();
    if (firstInitSet_) {
        firstInitSet_ = false;
        resize(miniMode_ ? mini_.width : normal_.width, miniMode_ ? mini_.height : normal_.height);
        SplM->setSizes({settings_.schHeight, settings_.memoHeight});
        SplV->setSizes({settings_.schHeight + settings_.memoHeight + SplM->handleWidth(),
                        std::max(48, height() - settings_.schHeight - settings_.memoHeight)});
        PanelCheck();
        PositionCheck();
    }
}

void TForm1::ShowAtStart()
{
    if (!startHidden_)
        show();
    else if (!trayAvailable_)
        showMinimized();
    else
        waitsForPassword_ = settings_.passwd2 == 1;
    PopupTrayPopup();
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
    PlaceAgainWithFrame();
    Calendar->CurrentGrid()->setFocus();
}

void TForm1::FormShow()
{
    ListCreate();
    PanelTodo->ToDoEdit();
    PanelCheck();
    SizeChange();
    DaySchEdit();
    // What the layout gave at the first show is what an untouched window writes nothing for.
    startGeometry_.gridHeight = panelMode_ == 0 && notesShown_ ? Calendar->GridMonth->height() : gridHeight_;
    startGeometry_.dayListHeight = DayList->ListDaySch->height();
    startGeometry_.memoHeight = ListMemo->height();
    state_.startupPending = false;
    if (state_.versionChanged)
        RunVersionSetup();
}

void TForm1::WMCopyData()
{
    if (!isVisible()) {
        MainFormShow();
        return;
    }
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void TForm1::ApplicationExit()
{
    exiting_ = true;
    CloseWhenNoDialogWaits();
}

void TForm1::CloseWhenNoDialogWaits()
{
    // A dialog still waiting would keep the program open after the window closed (a message box
    // refuses to be closed); it is cancelled and the window closes once its loop has returned.
    if (qt::cancelWaitingDialogs()) {
        QTimer::singleShot(0, this, &TForm1::CloseWhenNoDialogWaits);
        return;
    }
    close();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!exiting_ && settings_.closeTray == 1 && created_) {
        event->ignore();
        TaskTraySet();
        return;
    }
    if (closedOnce_) {
        event->accept();
        return;
    }
    closedOnce_ = true;
    FormCloseQuery();
    event->accept();
    emit closed();
}

void TForm1::ShowDlgVersion()
{
    state_.modalDialogOpen = true;
    TDlgVersion dialog(services_, this);
    services_.dialogs.run(dialog);
    state_.modalDialogOpen = false;
}

void TForm1::HelpTopic()
{
    // The help page ships inside the program; the browser shows a copy of it in the user's own
    // cache folder.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    QString target = QDir(folder).filePath("kalendra-help.html");
    QFile resource(":/help/index.html");
    if (!resource.open(QIODevice::ReadOnly))
        return;
    QByteArray page = resource.readAll();
    files::IoResult saved = files::createFolders(qt::toUtf8(folder));
    if (saved)
        saved = files::saveBytes(qt::toUtf8(target), page.toStdString());
    if (!saved) {
        services_.platform.messageBox("ヘルプ", "ヘルプを開けません。\r\n" + saved.reason, MessageIcon::Error,
                                      MessageButtons::Ok);
        return;
    }
    if (!services_.platform.shellOpen(qt::toUtf8(target)))
        services_.platform.messageBox("ヘルプ",
                                      "ヘルプを開けません。ブラウザを起動できません。\r\n" + qt::toUtf8(target),
                                      MessageIcon::Error, MessageButtons::Ok);
}

void TForm1::RecoverDataFolders()
{
    // Before the first month is built: interrupted multi-file saves finished, stale temporary
    // files removed, in every folder that holds data.
    const std::string problems = kal::RecoverDataFolders(DataFolders(settings_, programFolder_));
    if (!problems.empty())
        services_.platform.messageBox(kRecoveryCaption, problems, MessageIcon::Error, MessageButtons::Ok);
}

} // namespace kal
