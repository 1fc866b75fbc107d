// kalendra --home DIR --dump-month YYYY MM: the month build of a month, one line per grid
// cell, for scripts and checks.
#pragma once

#include "commands/HeadlessCommand.h"
#include "platform/Date.h"

#include <ostream>
#include <string>

namespace kal {

// Returns the exit code.
int dumpMonth(const std::string& programFolder, int year, int month, const Date& today, std::ostream& out,
              std::ostream& err);

HeadlessCommand dumpMonthCommand();

} // namespace kal
