// kalendra --lunar FROM [TO]: the almanac of every day from FROM to TO (yyyy/mm/dd, 1900/01/01 to
// 2099/12/31), one line a day in UTF-8:
//   yyyy/mm/dd<TAB>M/D<TAB>rokuyo<TAB>solar term<TAB>seasonal days
// M/D is the old-calendar date ("閏4/12" in a leap month); the last two are empty on other days.
#pragma once

#include "app/HeadlessCommand.h"

#include <string>

namespace kal {

// The line of one day, without its line end.
std::string LunarLine(const Date& date);

HeadlessCommand lunarCommand();

} // namespace kal
