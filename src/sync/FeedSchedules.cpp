#include "sync/FeedSchedules.h"

#include "platform/SjisCodec.h"
#include "settings/AppSettings.h"
#include "sync/FeedCache.h"
#include "sync/FeedCalendar.h"

#include <algorithm>
#include <optional>

namespace kal {

struct FeedSchedules::Feed {
    bool read = false;
    std::shared_ptr<FeedCalendar> calendar; // none without a usable copy
};

FeedSchedules::FeedSchedules(std::string programFolder, std::vector<Subscription> subscriptions)
    : programFolder_(std::move(programFolder)), subscriptions_(std::move(subscriptions))
{
    reload();
}

FeedSchedules::~FeedSchedules() = default;

void FeedSchedules::reload()
{
    feeds_.clear();
    for (std::size_t i = 0; i < subscriptions_.size(); ++i)
        feeds_.push_back(std::make_unique<Feed>());
}

FeedSchedules::Feed& FeedSchedules::feed(std::size_t index)
{
    Feed& feed = *feeds_[index];
    if (!feed.read) {
        feed.read = true;
        const Subscription& s = subscriptions_[index];
        if (const std::optional<std::string> text = files::readBytes(feedTextPath(programFolder_, s.url)))
            feed.calendar = FeedCalendar::parse(*text, {sjis::fromUtf8Lossy(s.name), s.color, s.holidays}).calendar;
    }
    return feed;
}

ExtraScheduleList FeedSchedules::between(const Date& first, const Date& last)
{
    ExtraScheduleList out;
    for (std::size_t i = 0; i < subscriptions_.size(); ++i)
        if (const auto& calendar = feed(i).calendar) {
            ExtraScheduleList days = calendar->between(first, last), merged;
            merged.reserve(out.size() + days.size());
            std::merge(std::make_move_iterator(out.begin()), std::make_move_iterator(out.end()),
                       std::make_move_iterator(days.begin()), std::make_move_iterator(days.end()),
                       std::back_inserter(merged), EarlierExtra);
            out = std::move(merged);
        }
    return out;
}

std::unique_ptr<FeedSchedules> loadFeedSchedules(const std::string& programFolder)
{
    SubscriptionsFile file = readSubscriptions(SettingsPath(programFolder));
    if (file.list.empty())
        return nullptr;
    return std::make_unique<FeedSchedules>(programFolder, std::move(file.list));
}

} // namespace kal
