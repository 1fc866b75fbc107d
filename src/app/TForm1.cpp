#include "app/TForm1.h"

#include "app/Password.h"
#include "app/Startup.h"
#include "app/TDlgPasswd.h"
#include "app/TDlgVersion.h"
#include "app/qt/HelpPage.h"
#include "calendar/qt/DefaultHolidays.h"
#include "calendar/qt/MonthGrid.h"
#include "exchange/RecordIdentities.h"
#include "platform/Files.h"
#include "platform/qt/DeferredIcons.h"
#include "platform/qt/JapaneseUi.h"
#include "platform/qt/QtText.h"
#include "platform/qt/ResourceIcon.h"
#include "platform/qt/Widgets.h"
#include "platform/qt/X11Windows.h"
#include "settings/DataFolders.h"

#include <QCloseEvent>
#include <QShowEvent>
#include <QSplitter>
#include <QTimer>

#include <algorithm>

namespace kal {

using namespace startup_text;

TForm1::TForm1(qt::Services& services, std::string programFolder, QWidget* parent)
    : QMainWindow(parent), services_(services), programFolder_(files::withSeparator(programFolder)),
      identities_(std::make_unique<IdentityFollower>(programFolder_))
{
    qt::deferOverflowIcons();
    setObjectName("TForm1");
    setWindowTitle("Kalendra");
    setWindowIcon(qt::resourceIcon("program"));
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
    Tray = new qt::TrayIcon(services_.platform, PopupTray, this);
    ConnectCommands();
    ConnectPanels();
    Focus = new qt::PanelFocus(this, [this] {
        return std::vector<QWidget*>{Calendar->GridArea, DayList->ListDaySch, ListMemo, PanelTodo, PanelNote};
    });
    Focus->chainTabs();
    PopupTrayPopup();
    connect(new qt::TitleBarWatch(this), &qt::TitleBarWatch::doubleClicked, this, &TForm1::WMNCLButtonDblClk);
}

int TForm1::FormCreate(std::optional<IniFile> settingsRead)
{
    if (!files::fileExists(SettingsPath(programFolder_))) {
        if (!RunSetupDialog(kSetupCaption, SetupPlacement::FirstRun))
            return 1;
        qt::WriteDefaultHolidayTable(services_.platform, programFolder_);
    } else {
        settingsRead_ = std::move(settingsRead);
    }
    state_ = AppState{};
    state_.startAt(services_.platform.now().date);
    Calendar->StartAt(services_.platform.now().date);
    if (!InitLoad())
        return 1;
    // Before the first month is built: interrupted multi-file saves finished, stale temporary
    // files removed, in every folder that holds data.
    if (const std::string problems = RecoverDataFolders(DataFolders(settings_, programFolder_)); !problems.empty())
        services_.platform.messageBox(kRecoveryCaption, problems, MessageIcon::Error, MessageButtons::Ok);
    PanelTodo->ReadTodoLines();
    state_.created = true;
    SmallCheck();
    BarCheck();
    InitSet();
    Calendar->GridCheck();
    // The sizes as the settings gave them, once limited to the screen.
    startGeometry_ = StartGeometryOf(settings_, normal_, pnlWidth_, gridHeight_);
    IconTraySet();
    PanelTimer->Timer1->start();
    return 0;
}

bool TForm1::InitLoad()
{
    std::optional<IniFile> read = std::exchange(settingsRead_, std::nullopt);
    if (!read) {
        read.emplace(SettingsPath(programFolder_));
        read->load();
    }
    const IniFile& ini = *read;
    if (!readSettings(ini, programFolder_, settings_).ok) {
        services_.platform.messageBox(kSettingsErrorCaption, kSettingsErrorText, MessageIcon::Error,
                                      MessageButtons::Ok);
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
        // Only a start into the tray or without a task-bar button needs to know before the window
        // shows whether the desktop has a notification area.
        Tray->AskAtStart(settings_.taskTray == 1 || settings_.taskBar == 1);
        state_.startHidden = settings_.taskTray == 1;
        state_.taskbarHidden = settings_.taskBar == 1 && Tray->available();
        ApplyWindowFlags();
    }
    windowTitle_ = settings_.title;
    // The application's name stays "Kalendra": the cache folder and the desktop's matching of
    // the window to its menu entry follow it.
    SetTitleFromSettings();
    const std::string* folders[] = {&settings_.dataPath, &settings_.memoPath, &settings_.todoPath, &settings_.notePath};
    if (std::any_of(std::begin(folders), std::end(folders), [](auto* folder) { return !files::folderExists(*folder); }))
        services_.platform.messageBox(kFolderErrorCaption, kFolderErrorText, MessageIcon::Error, MessageButtons::Ok);
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
        services_.platform.messageBox(kPasswordErrorCaption, kPasswordErrorText, MessageIcon::Error,
                                      MessageButtons::Ok);
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

// Every panel takes the settings (at start and after the settings dialog), then the month is built.
void TForm1::InitSet()
{
    qt::followPanelJapaneseFace(settings_.fonts);
    Calendar->ApplyCalendarLook();
    DayList->DayListSet();
    PanelTodo->TodoSet();
    ListMemo->MemoSet();
    PanelNote->NoteSet(state_.firstInitSet);
    PanelTodo->setVisible(settings_.todo == 1);
    PanelTimer->UpdateStatusBar();
    Calendar->HeaderEdit();
    Calendar->MonthSchEdit();
    if (state_.firstInitSet) {
        state_.firstInitSet = false;
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
    if (!state_.startHidden)
        show();
    else if (!Tray->available())
        showMinimized();
    else
        state_.waitsForPassword = settings_.passwd2 == 1;
    PopupTrayPopup();
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!state_.shownOnce) {
        state_.shownOnce = true;
        FormShow();
    }
    PlaceAgainWithFrame();
    Calendar->CurrentGrid()->setFocus();
}

void TForm1::FormShow()
{
    DayList->ListCreate();
    PanelTodo->TodoListCreate();
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

// The mini calendar's toggle, in either direction, as its command.
void TForm1::WMNCLButtonDblClk()
{
    SmallSize();
}

void TForm1::ApplicationExit()
{
    state_.exiting = true;
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
    if (!state_.exiting && settings_.closeTray == 1 && state_.created) {
        event->ignore();
        TaskTraySet();
        return;
    }
    if (state_.closedOnce) {
        event->accept();
        return;
    }
    state_.closedOnce = true;
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
    qt::OpenHelpPage(services_.platform);
}

} // namespace kal
