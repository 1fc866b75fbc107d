// The iCalendar exchange for scripts:
//   kalendra --home DIR --export-ics FROM TO FILE            (dates yyyy/mm/dd)
//   kalendra --home DIR --import-ics FILE [--from D] [--to D] [--no-duplicate-check]
// An existing FILE is never overwritten by the export; the import adds new categories and
// expands recurring events over a year from today unless told otherwise.
#pragma once

#include "commands/HeadlessCommand.h"

namespace kal {

HeadlessCommand exportIcsCommand();
HeadlessCommand importIcsCommand();

} // namespace kal
