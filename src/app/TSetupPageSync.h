// The page "同期" of the settings dialog: the calendar collection of a CalDAV server, the user
// name and its password (stored in the desktop keyring, never in the settings file), the sync
// window in months and the automatic sync. Its keys ([Sync]) are written by Save, apart from
// the other pages' settings.
#pragma once

#include "app/TSetupPage.h"
#include "settings/SyncSettings.h"
#include "sync/CalDavService.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QThread;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kal {

class TSetupSyncPage : public TSetupPage {
    Q_OBJECT
public:
    using ServiceSource = std::function<caldav::LoadedService()>;
    TSetupSyncPage(qt::Services& services, std::string programFolder, QWidget* parent,
                   ServiceSource source = caldav::loadService);
    ~TSetupSyncPage() override; // waits for a search under way

    QLineEdit* EditSyncUrl;
    QLineEdit* EditSyncUser;
    QLineEdit* EditSyncPassword;
    QComboBox* CmbSyncCalendar;
    QPushButton* BtnSyncFind;
    QSpinBox* SpinSyncBack;
    QSpinBox* SpinSyncAhead;
    QCheckBox* ChkSyncAuto;
    QSpinBox* SpinSyncInterval;

    // The page keeps its own section; the other pages' settings pass it by.
    void load(const AppSettings&) override;
    void store(AppSettings&) const override { }

    SyncSettings edited() const;
    // Checks the URL, stores a typed password in the keyring and writes [Sync] when it changed;
    // false, with the reason shown, when any of it fails (the dialog then stays open).
    bool Save();
    // Lists the calendars the server offers the user, off the GUI thread.
    void BtnSyncFindClick();

private:
    void CalendarsFound(const caldav::CalendarList& list);
    void CmbSyncCalendarChange(int index);
    void ShowChosenCalendar();
    bool Refuse(const std::string& text, QWidget* field);
    caldav::Service* service(std::string& reason) const;

    qt::Services& services_;
    std::string programFolder_;
    ServiceSource source_;
    SyncSettings loaded_;
    QThread* finder_ = nullptr;
};

} // namespace kal
