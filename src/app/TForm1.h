// The main window: it owns the application state for the whole run and runs the start-up
// order, from the first-run settings to the first show.
#pragma once

#include "app/AppSettings.h"
#include "app/AppState.h"
#include "platform/qt/Services.h"

#include <QMainWindow>
#include <string>

class QLabel;

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
    const std::string& programFolder() const { return programFolder_; }
    std::string settingsPath() const { return programFolder_ + "Kalendra.ini"; }

signals:
    // The window has closed; the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool RunFirstSetup();
    bool InitLoad();
    bool StartupPasswordGiven();
    void CheckFolders();
    void InitSet();
    void FormShow();
    void FormCloseQuery();
    void WriteDefaultHolidayTable();
    void ShowError(const char* caption, const char* text);

    qt::Services& services_;
    std::string programFolder_;
    AppSettings settings_;
    AppState state_;
    bool shownOnce_ = false;
    bool startHidden_ = false;
};

} // namespace kal
