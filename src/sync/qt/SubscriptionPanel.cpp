#include "sync/qt/SubscriptionPanel.h"

#include "platform/DateFormat.h"
#include "platform/qt/ElidedLabel.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QAction>
#include <QThread>
#include <QTimer>

namespace kal::qt {

SubscriptionPanel::SubscriptionPanel(const PanelContext& context, QWidget* window, FetcherSource fetcher)
    : QObject(window), context_(context), fetcher_(std::move(fetcher))
{
    MenuFeedRefresh = namedAction(this, "MenuFeedRefresh", "購読の更新(&B)");
    StatusFeeds = new ElidedLabel(window);
    StatusFeeds->setObjectName("StatusFeeds");
    StatusFeeds->setAccessibleName(QString::fromUtf8("購読の更新の結果"));
    TimerFeeds = new QTimer(this);
    TimerFeeds->setObjectName("TimerFeeds");
    TimerFeeds->start(60 * 1000);
    connect(MenuFeedRefresh, &QAction::triggered, this, &SubscriptionPanel::MenuFeedRefreshClick);
    connect(TimerFeeds, &QTimer::timeout, this, &SubscriptionPanel::TimerFeedsTimer);
    // After the first frame: start-up never waits for the list or a copy.
    QTimer::singleShot(0, this, &SubscriptionPanel::OpenFeeds);
}

SubscriptionPanel::~SubscriptionPanel()
{
    cancel_ = true;
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
    if (opener_) {
        opener_->wait();
        delete opener_.data();
    }
}

void SubscriptionPanel::OpenFeeds()
{
    std::unique_ptr<FeedSchedules> listed = loadFeedSchedules(context_.programFolder);
    subscriptions_ = listed ? listed->subscriptions() : std::vector<Subscription>{};
    // A reading still under way ends first; what it read is not taken.
    const int reading = ++openings_;
    if (opener_) {
        opener_->wait();
        delete opener_.data();
    }
    if (!listed) {
        if (feeds_) {
            feeds_.reset();
            emit schedulesChanged();
        }
        return;
    }
    // The copies are parsed off the window's thread; until then the month shows what it showed.
    std::shared_ptr<FeedSchedules> read(std::move(listed));
    opener_ = QThread::create([this, read, reading, today = context_.services.platform.now().date] {
        read->readAll(today);
        QMetaObject::invokeMethod(
            this,
            [this, read, reading] {
                if (reading == openings_)
                    take(std::move(*read));
            },
            Qt::QueuedConnection);
    });
    connect(opener_, &QThread::finished, opener_, &QObject::deleteLater);
    opener_->start();
}

void SubscriptionPanel::take(FeedSchedules&& read)
{
    // Moved into the object the views hold, so that a view still holding it reads the new one.
    if (feeds_)
        *feeds_ = std::move(read);
    else
        feeds_ = std::make_unique<FeedSchedules>(std::move(read));
    emit schedulesChanged();
}

long long SubscriptionPanel::minuteNow() const
{
    const DateTime now = context_.services.platform.now();
    return toDayNumber(now.date) * 1440 + now.hour * 60 + now.minute;
}

void SubscriptionPanel::MenuFeedRefreshClick()
{
    if (!thread_)
        Start();
}

void SubscriptionPanel::TimerFeedsTimer()
{
    if (thread_)
        return;
    int interval = 0;
    for (const Subscription& s : subscriptions_)
        if (s.interval > 0 && (interval == 0 || s.interval < interval))
            interval = s.interval;
    if (interval > 0 && (!lastRefresh_ || minuteNow() - *lastRefresh_ >= interval))
        Start();
}

void SubscriptionPanel::Start()
{
    if (subscriptions_.empty()) {
        StatusFeeds->setText(QString::fromUtf8("購読している予定表はありません"));
        return;
    }
    lastRefresh_ = minuteNow();
    cancel_ = false;
    StatusFeeds->setText(QString::fromUtf8("購読を更新しています..."));
    const DateTime now = context_.services.platform.now();
    thread_ = QThread::create(
        [this, list = subscriptions_, folder = context_.programFolder, now, fetch = fetcher_(&cancel_)] {
            std::vector<std::string> lines;
            int failed = 0;
            for (const Subscription& subscription : list) {
                const FeedRefresh refresh = refreshFeed(subscription, folder, fetch, now);
                failed += refresh.outcome == FeedOutcome::Failed;
                lines.push_back(feedRefreshLine(subscription.name, refresh));
            }
            // Parsed here, not when the window next builds a month.
            auto read = std::make_shared<FeedSchedules>(folder, list);
            read->readAll(now.date);
            QMetaObject::invokeMethod(
                this, [this, lines, failed, read] { Finished(lines, failed, *read); }, Qt::QueuedConnection);
        });
    thread_->start();
}

void SubscriptionPanel::Finished(const std::vector<std::string>& lines, int failed, FeedSchedules& read)
{
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    const std::string at = text::formatDateTime("hh:nn ", context_.services.platform.now());
    const std::string brief = failed == 0 ? "購読を更新しました" : "購読の更新に失敗 " + std::to_string(failed) + "件";
    StatusFeeds->setText(fromUtf8(at + brief));
    std::string all;
    for (const std::string& line : lines)
        all += (all.empty() ? "" : "\n") + line;
    StatusFeeds->setToolTip(fromUtf8(all));
    // Newer than a reading of the same list under way; a list changed meanwhile is read anew.
    if (read.subscriptions() == subscriptions_) {
        ++openings_;
        take(std::move(read));
    } else {
        OpenFeeds();
    }
    emit refreshFinished();
}

} // namespace kal::qt
