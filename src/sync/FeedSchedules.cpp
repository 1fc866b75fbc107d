#include "sync/FeedSchedules.h"

#include "platform/SjisCodec.h"
#include "settings/AppSettings.h"
#include "sync/FeedCache.h"
#include "sync/FeedCalendar.h"

#include <algorithm>

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
        const std::optional<std::string> text =
            files::readBytes(feedTextPath(programFolder_, subscriptions_[index].url));
        if (text)
            feed.calendar = FeedCalendar::parse(*text).calendar;
    }
    return feed;
}

std::vector<ExtraSchedule> FeedSchedules::between(const Date& first, const Date& last)
{
    std::vector<ExtraSchedule> out;
    for (std::size_t i = 0; i < subscriptions_.size(); ++i) {
        const Subscription& subscription = subscriptions_[i];
        Feed& source = feed(i);
        if (!source.calendar)
            continue;
        const std::string name = sjis::fromUtf8Lossy(subscription.name);
        for (ImportedSchedule& day : source.calendar->between(first, last)) {
            ExtraSchedule entry{day.date,
                                std::move(day.start),
                                std::move(day.end),
                                std::move(day.title),
                                std::move(day.place),
                                name,
                                subscription.color,
                                false};
            entry.holiday = subscription.holidays && entry.allDay();
            out.push_back(std::move(entry));
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const ExtraSchedule& a, const ExtraSchedule& b) { return a.date < b.date; });
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
