// kalendra --lunar FROM [TO]: the almanac of every day from FROM to TO (yyyy/mm/dd, 1900/01/01 to
// 2099/12/31), one line a day (LunarLine in calendar/Almanac.h).
#pragma once

#include "commands/HeadlessCommand.h"

namespace kal {

HeadlessCommand lunarCommand();

} // namespace kal
