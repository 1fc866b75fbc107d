// The sync in the main window: the menu entry "今すぐ同期(&Y)" (which cancels a sync under way),
// the last result and the progress in the status bar, and the automatic sync every Interval
// minutes of [Sync]. The sync itself runs off the GUI thread (SyncRunner); after one that
// changed files the window is told to reload.
#pragma once

#include "exchange/qt/SyncRunner.h"
#include "platform/qt/Services.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QProgressBar;
class QTimer;

namespace kal::qt {

class SyncPanel : public QObject {
    Q_OBJECT
public:
    struct Wiring {
        std::function<SyncRequest()> request; // the folders, today and the alarm lead time
        std::function<void()> dataChanged;    // the month and the ToDo lists read again
    };
    // The entry goes into `menu` before `before` (null: at the end); the texts into the window's
    // status bar.
    SyncPanel(QMainWindow* window, QMenu* menu, QAction* before, Services& services, std::string settingsPath,
              Wiring wiring, SyncRunner::ServiceSource source = caldav::loadService);

    QAction* MenuSync;
    QLabel* StatusSync;
    QProgressBar* ProgressSync;
    QTimer* TimerSync;
    SyncRunner* Runner;

    void MenuSyncClick();
    // Each minute: an automatic sync when one is due.
    void TimerSyncTimer();

private:
    void Start(bool byHand);
    void ShowProgress(const QString& text, int done, int total);
    void Finished(const SyncOutcome& outcome);
    long long minuteNow() const;

    Services& services_;
    std::string settingsPath_;
    Wiring wiring_;
    bool byHand_ = false;
    std::optional<long long> lastSync_; // minute of the last automatic or manual start
};

} // namespace kal::qt
