// The CSV exchange for scripts:
//   kalendra --home DIR --export-csv YYYY MM FILE
//   kalendra --home DIR --import-csv FILE [--columns LIST] [--header] [--no-duplicate-check]
//            [--no-new-categories]
// An existing FILE is never overwritten by the export.
#pragma once

#include "commands/HeadlessCommand.h"

namespace kal {

HeadlessCommand exportCsvCommand();
HeadlessCommand importCsvCommand();

} // namespace kal
