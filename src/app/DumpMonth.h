// kalendra --home DIR --dump-month YYYY MM: the month build of a month, one line per grid
// cell, for scripts and checks.
#pragma once

#include <ostream>
#include <string>

namespace kal {

// Returns the exit code.
int dumpMonth(const std::string& programFolder, int year, int month, std::ostream& out, std::ostream& err);

} // namespace kal
