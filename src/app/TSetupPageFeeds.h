// The page "購読" of the settings dialog: the subscribed calendars with their name, URL, colour,
// refresh interval and holiday mark. A calendar is fetched before it is added, and its number of
// events shown for the user to confirm; the fetch runs off the GUI thread. The list goes to its own
// section of the settings file in Save, and the copies of calendars removed go with it.
#pragma once

#include "app/TSetupPage.h"
#include "settings/Subscriptions.h"
#include "sync/FeedRefresh.h"

#include <atomic>
#include <functional>
#include <set>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QThread;
class QTreeWidget;

namespace kal {

class TSetupFeedsPage : public TSetupPage {
    Q_OBJECT
public:
    using FetcherSource = std::function<FeedFetcher(const std::atomic<bool>* cancel)>;
    TSetupFeedsPage(qt::Services& services, std::string programFolder, QWidget* parent,
                    FetcherSource fetcher = moduleFeedFetcher);
    ~TSetupFeedsPage() override; // waits for a fetch under way; drops the copies not kept

    QTreeWidget* ListFeeds;
    QLineEdit* EditFeedName;
    QLineEdit* EditFeedUrl;
    QPushButton* BtnFeedAdd;
    QPushButton* BtnFeedRemove;
    QPushButton* BtnFeedRename;
    QPushButton* BtnFeedColor;
    QSpinBox* SpinFeedInterval;
    QCheckBox* ChkFeedHolidays;
    QLabel* LabelFeedState;

    void load(const AppSettings&) override;
    void store(AppSettings&) const override { }

    const std::vector<Subscription>& edited() const { return list_; }
    // Writes the list when it changed; false, with the reason shown, when that fails.
    bool Save();
    // Fetches the calendar of the name and URL typed, then asks whether to add it.
    void BtnFeedAddClick();
    void BtnFeedRemoveClick();
    void BtnFeedRenameClick();
    void BtnFeedColorClick();
    bool fetching() const { return fetchThread_ != nullptr; }

signals:
    void fetchFinished();

private:
    void Fetched(const Subscription& subscription, const FeedRefresh& refresh);
    void ShowList();
    void ShowSelected();
    void EditSelected();
    Subscription* selected();
    bool Refuse(const std::string& text, QWidget* field);

    qt::Services& services_;
    std::string programFolder_;
    FetcherSource fetcher_;
    std::vector<Subscription> loaded_, list_;
    std::set<std::string> unkept_; // URLs fetched here whose copies go unless saved
    std::atomic<bool> cancel_{false};
    QThread* fetchThread_ = nullptr;
};

} // namespace kal
