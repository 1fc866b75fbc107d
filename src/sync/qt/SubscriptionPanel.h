// The subscribed calendars in the main window: their entries for the views (the list is read
// after the first frame, the copies on a thread), the menu entry "購読の更新(&B)",
// the automatic refresh at the shortest interval set, and the last result in the status bar. The
// refresh runs off the GUI thread; the views are built again when it ends.
#pragma once

#include "settings/qt/PanelContext.h"
#include "sync/FeedRefresh.h"
#include "sync/FeedSchedules.h"

#include <QObject>
#include <QPointer>
#include <QThread>

#include <atomic>
#include <memory>
#include <optional>

class QAction;
class QLabel;
class QTimer;
class QWidget;

namespace kal::qt {

class SubscriptionPanel : public QObject {
    Q_OBJECT
public:
    using FetcherSource = std::function<FeedFetcher(const std::atomic<bool>* cancel)>;
    // The status-bar text is a child of `window` until the window places it.
    SubscriptionPanel(const PanelContext& context, QWidget* window, FetcherSource fetcher = moduleFeedFetcher);
    ~SubscriptionPanel() override; // cancels a refresh under way and waits for its end

    QAction* MenuFeedRefresh;
    QLabel* StatusFeeds;
    QTimer* TimerFeeds;

    // None until the first reading after OpenFeeds ends, and without subscriptions.
    ExtraSchedules* schedules() const { return feeds_.get(); }
    // Reads the list of the settings file again (at start and after the settings dialog) and the
    // copies on a thread; schedulesChanged when they are taken.
    void OpenFeeds();
    void MenuFeedRefreshClick();
    void TimerFeedsTimer();
    bool refreshing() const { return thread_ != nullptr; }

signals:
    // The entries to show changed: the month is to be built again.
    void schedulesChanged();
    void refreshFinished();

private:
    void Start();
    void Finished(const std::vector<std::string>& lines, int failed, FeedSchedules& read);
    void take(FeedSchedules&& read);
    long long minuteNow() const;

    PanelContext context_;
    FetcherSource fetcher_;
    std::vector<Subscription> subscriptions_;
    std::unique_ptr<FeedSchedules> feeds_;
    QPointer<QThread> opener_; // deletes itself when it ends
    int openings_ = 0;         // the reading whose copies are taken
    std::atomic<bool> cancel_{false};
    QThread* thread_ = nullptr;
    std::optional<long long> lastRefresh_;
};

} // namespace kal::qt
