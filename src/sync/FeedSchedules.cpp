#include "sync/FeedSchedules.h"

#include "platform/SjisCodec.h"
#include "settings/AppSettings.h"
#include "sync/FeedCache.h"
#include "sync/FeedCalendar.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace kal {

struct FeedSchedules::Feed {
    bool read = false;
    std::shared_ptr<FeedCalendar> calendar; // none without a usable copy
};

FeedSchedules::FeedSchedules(std::string programFolder, std::vector<Subscription> subscriptions)
    : programFolder_(std::move(programFolder)), subscriptions_(std::move(subscriptions))
{
    for (std::size_t i = 0; i < subscriptions_.size(); ++i)
        feeds_.push_back(std::make_unique<Feed>());
}

FeedSchedules::~FeedSchedules() = default;
FeedSchedules::FeedSchedules(FeedSchedules&& other) noexcept = default;
FeedSchedules& FeedSchedules::operator=(FeedSchedules&& other) noexcept = default;

void FeedSchedules::readAll(const Date& day)
{
    for (std::size_t i = 0; i < subscriptions_.size(); ++i)
        feed(i);
    // January's month begins with days of December, December's ends with days of January.
    if (day.month == 1)
        year(day.year - 1);
    year(day.year);
    if (day.month == 12)
        year(day.year + 1);
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

std::shared_ptr<const ExtraScheduleDays> FeedSchedules::year(int year)
{
    if (const auto found = years_.find(year); found != years_.end())
        return found->second;
    KeepYearsAround(years_, year);
    ExtraScheduleList merged;
    for (std::size_t i = 0; i < subscriptions_.size(); ++i)
        if (const auto& calendar = feed(i).calendar) {
            const ExtraScheduleList& more = calendar->year(year);
            ExtraScheduleList both;
            both.reserve(merged.size() + more.size());
            std::merge(std::make_move_iterator(merged.begin()), std::make_move_iterator(merged.end()), more.begin(),
                       more.end(), std::back_inserter(both), EarlierExtra);
            merged = std::move(both);
        }
    auto days = std::make_shared<ExtraScheduleDays>();
    days->reserve(merged.size());
    for (const auto& entry : merged)
        days->push_back(*entry);
    years_.emplace(year, days);
    return days;
}

ExtraScheduleView FeedSchedules::view(const Date& first, const Date& last)
{
    ExtraScheduleView out;
    for (int y = first.year; y <= last.year; ++y) {
        std::shared_ptr<const ExtraScheduleDays> days = year(y);
        const auto [from, to] = DaysWithin(*days, first, last);
        if (from == to)
            continue;
        out.stretches.emplace_back(from, to);
        out.lists.push_back(std::move(days));
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
