// kalendra --home DIR --search KEYWORD [--memos] [--category NAME] [--from yyyy/mm/dd]
// [--to yyyy/mm/dd] [--case] [--subscriptions]: the find dialog's search for scripts and checks, one
// hit per line; the subscribed calendars' hits follow the user's own.
#pragma once

#include "commands/HeadlessCommand.h"
#include "lists/ListRows.h"
#include "schedule/ExtraSchedules.h"

#include <ostream>

namespace kal {

// One line per hit, UTF-8: schedules "yyyy/mm/dd<TAB>start<TAB>end<TAB>title<TAB>place<TAB>category"
// with trailing blanks removed, memos "yyyy/mm/dd<TAB>lines joined by a blank".
void printSearchHits(const ListRows& rows, std::ostream& out);
// Subscribed calendars' hits the same way, the last field "購読:" and the subscription's name.
void printExtraHits(const ExtraScheduleList& extras, std::ostream& out);

HeadlessCommand searchCommand();

} // namespace kal
