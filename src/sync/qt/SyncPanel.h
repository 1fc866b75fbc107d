// The sync in the main window: the menu entry "今すぐ同期(&Y)" (which cancels a sync under way),
// the last result and the progress for the status bar, and the automatic sync every Interval
// minutes of [Sync]. The sync itself runs off the GUI thread (SyncRunner); after one that
// changed files the month and the ToDo lists are read again.
#pragma once

#include "settings/qt/PanelContext.h"
#include "sync/qt/SyncRunner.h"

#include <QObject>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QProgressBar;
class QTimer;
class QWidget;

namespace kal::qt {

// What the sync uses of the calendar and the ToDo panel.
struct SyncLinks {
    std::function<Date()> today;
    std::function<void()> todoChanged; // ToDo.dat was written: the lists read it again
};

class SyncPanel : public QObject {
    Q_OBJECT
public:
    // The status-bar texts are children of `window` until the window places them.
    SyncPanel(const PanelContext& context, SyncLinks links, QWidget* window,
              SyncRunner::ServiceSource source = caldav::loadService);

    QAction* MenuSync;
    QLabel* StatusSync;
    QProgressBar* ProgressSync;
    QTimer* TimerSync;
    SyncRunner* Runner;

    void MenuSyncClick();
    // Each minute: an automatic sync when one is due and the window's state lets it start.
    void TimerSyncTimer();
    // Asked before an automatic sync (unless told, it may always start).
    void setAutomaticCheck(std::function<bool()> mayStart) { mayStartAutomatically_ = std::move(mayStart); }

private:
    void Start(bool byHand);
    void ShowProgress(const QString& text, int done, int total);
    void Finished(const SyncOutcome& outcome);
    long long minuteNow() const;

    PanelContext context_;
    SyncLinks links_;
    std::function<bool()> mayStartAutomatically_ = [] { return true; };
    bool byHand_ = false;
    std::optional<long long> lastSync_; // minute of the last automatic or manual start
};

} // namespace kal::qt
