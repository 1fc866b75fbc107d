// The almanac of a day beside its rokuyo: the date in the old lunisolar calendar (旧暦), the
// solar term (二十四節気) and the seasonal days (雑節), 1900 to 2099, read from tables generated
// by tools/rokuyo; and how much of it a cell of a given width shows.
//
// Texts are Shift-JIS like all logic texts.
#pragma once

#include "platform/Date.h"
#include "settings/AppSettings.h"

#include <functional>
#include <string>
#include <vector>

namespace kal {

struct OldDate {
    int month = 0; // 1..12; 0 outside 1900 to 2099
    bool leap = false;
    int day = 0;
};

OldDate OldDateOf(const Date& date);

// "3/15", "閏11/1"; empty outside the tables.
std::string OldDateText(const OldDate& old);

// The solar term on a date: 1 小寒, 2 大寒, 3 立春 ... 24 冬至 (two a month); 0 on other days.
int SolarTermOf(const Date& date);
const std::string& SolarTermName(int term);

// The seasonal days on a date (the ox days of each 土用 among them), in the order of the year.
std::vector<std::string> SeasonalDayNames(const Date& date);
// The same joined by "・"; empty on other days.
std::string SeasonalDaysOf(const Date& date);

// What a day shows under the flags, in the order the items stay when space runs short: the
// solar term, the seasonal days one by one, the old-calendar date ("旧3/15", or "閏11/1" in a
// leap month).
std::vector<std::string> AlmanacItems(const Date& date, const AlmanacFlags& flags);

// The items joined by a blank, the last ones dropped while the text is wider than `width`;
// empty when not even the first fits.
std::string FitAlmanac(const std::vector<std::string>& items, int width,
                       const std::function<int(const std::string&)>& textWidth);

// One day's almanac in UTF-8, without a line end:
//   yyyy/mm/dd<TAB>M/D<TAB>rokuyo<TAB>solar term<TAB>seasonal days
// M/D is the old-calendar date ("閏4/12" in a leap month); the last two are empty on other days.
std::string LunarLine(const Date& date);

} // namespace kal
