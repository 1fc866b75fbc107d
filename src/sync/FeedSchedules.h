// The subscribed calendars as the views take them: each copy read and parsed when a month first
// needs it (or all at once by readAll, on a thread), expanded year by year, in its subscription's
// colour and name.
#pragma once

#include "schedule/ExtraSchedules.h"
#include "settings/Subscriptions.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kal {

class FeedCalendar;

class FeedSchedules : public ExtraSchedules {
public:
    FeedSchedules(std::string programFolder, std::vector<Subscription> subscriptions);
    ~FeedSchedules() override;

    FeedSchedules(FeedSchedules&& other) noexcept;
    FeedSchedules& operator=(FeedSchedules&& other) noexcept;

    ExtraScheduleView view(const Date& first, const Date& last) override;
    // Every copy read now and the years the month of `day` shows expanded: for a thread that
    // prepares the calendars a window then takes whole, so that the window's thread does not
    // parse them.
    void readAll(const Date& day);
    const std::vector<Subscription>& subscriptions() const { return subscriptions_; }

private:
    struct Feed;
    Feed& feed(std::size_t index);
    // Every calendar's entries of a year, by date.
    std::shared_ptr<const ExtraScheduleDays> year(int year);

    std::string programFolder_;
    std::vector<Subscription> subscriptions_;
    std::vector<std::unique_ptr<Feed>> feeds_;
    std::map<int, std::shared_ptr<const ExtraScheduleDays>> years_;
};

// The subscriptions of the program folder's settings file as extra schedules; none when there
// are none.
std::unique_ptr<FeedSchedules> loadFeedSchedules(const std::string& programFolder);

} // namespace kal
