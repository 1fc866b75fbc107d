#include "app/TForm1.h"

#include "app/Password.h"
#include "app/Startup.h"
#include "app/TDlgPasswd.h"
#include "app/TDlgSetup.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QShowEvent>

namespace kal {

using namespace startup_text;

TForm1::TForm1(qt::Services& services, std::string programFolder, QWidget* parent)
    : QMainWindow(parent), services_(services), programFolder_(files::withSeparator(programFolder))
{
    setObjectName("TForm1");
    setWindowTitle("Kalendra");
}

TForm1::~TForm1() = default;

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
    if (!InitLoad())
        return 1;
    InitSet();
    return 0;
}

bool TForm1::RunFirstSetup()
{
    state_.modalDialogOpen = true;
    TDlgSetup dialog(services_, programFolder_, QString::fromUtf8(kSetupCaption));
    bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    state_.modalDialogOpen = false;
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
    std::string target = fresh.dataPath + "Holiday.dat";
    if (files::fileExists(target) || !files::folderExists(fresh.dataPath))
        return;
    QFile resource(":/Holiday.dat");
    if (!resource.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = resource.readAll();
    if (files::IoResult saved = files::saveBytes(target, bytes.toStdString()); !saved)
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
        startHidden_ = settings_.taskTray == 1;
        state_.taskbarHidden = settings_.taskBar == 1;
    }
    setWindowTitle(qt::fromSjis(settings_.title));
    CheckFolders();
    return true;
}

bool TForm1::StartupPasswordGiven()
{
    if (settings_.passwd == 1) {
        std::string path = programFolder_ + kPasswordFileName;
        if (files::fileExists(path)) {
            state_.modalDialogOpen = true;
            TDlgPasswd dialog(services_, programFolder_, kStartupPasswordLabel);
            bool given = services_.dialogs.run(dialog) == QDialog::Accepted;
            state_.modalDialogOpen = false;
            if (!given)
                return false;
        } else {
            ShowError(kPasswordErrorCaption, kPasswordErrorText);
        }
    }
    if (newYearGreetingDue(settings_.now, state_.today)) {
        services_.platform.messageBox("Kalendra", kGreeting, MessageIcon::Information, MessageButtons::Ok);
        state_.windowStateDirty = true;
    }
    return true;
}

void TForm1::CheckFolders()
{
    for (const std::string* folder : {&settings_.dataPath, &settings_.memoPath, &settings_.todoPath, &settings_.notePath}) {
        if (!files::folderExists(*folder)) {
            ShowError(kFolderErrorCaption, kFolderErrorText);
            return;
        }
    }
}

void TForm1::InitSet() {}

void TForm1::ShowAtStart()
{
    if (!startHidden_)
        show();
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TForm1::FormShow()
{
    state_.startupPending = false;
    if (state_.versionChanged) {
        state_.modalDialogOpen = true;
        TDlgSetup dialog(services_, programFolder_, QString::fromUtf8(kVersionSetupCaption), this);
        bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
        state_.modalDialogOpen = false;
        if (accepted) {
            state_.versionChanged = false;
            InitLoad();
            InitSet();
        } else {
            services_.platform.messageBox(kVersionWarningCaption, kVersionWarningText, MessageIcon::Warning,
                                          MessageButtons::Ok);
        }
    }
}

void TForm1::WMCopyData()
{
    if (!isVisible()) {
        show();
    } else if (isMinimized()) {
        showNormal();
    }
    raise();
    activateWindow();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    FormCloseQuery();
    event->accept();
    emit closed();
}

void TForm1::FormCloseQuery()
{
    if (state_.startupPending)
        return;
    if (state_.windowStateDirty || state_.startYear != state_.today.year) {
        IniFile ini(settingsPath());
        ini.load();
        ini.writeInteger("Window", "Now", state_.today.year);
        if (files::IoResult saved = ini.flush(); !saved)
            services_.platform.messageBox("Kalendra", "設定ファイルを保存できません。\r\n" + saved.reason,
                                          MessageIcon::Error, MessageButtons::Ok);
    }
}

} // namespace kal
