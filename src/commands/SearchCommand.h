// kalendra --home DIR --search KEYWORD [--memos] [--category NAME] [--from yyyy/mm/dd]
// [--to yyyy/mm/dd] [--case]: the find dialog's search for scripts and checks, one hit per line.
#pragma once

#include "commands/HeadlessCommand.h"
#include "lists/ListRows.h"

#include <ostream>

namespace kal {

// One line per hit, UTF-8: schedules "yyyy/mm/dd<TAB>start<TAB>end<TAB>title<TAB>place<TAB>category"
// with trailing blanks removed, memos "yyyy/mm/dd<TAB>lines joined by a blank".
void printSearchHits(const ListRows& rows, std::ostream& out);

HeadlessCommand searchCommand();

} // namespace kal
