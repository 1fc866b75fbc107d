// The pick lists of the program folder (SigTime.tbl, SchFrom.tbl, SchTo.tbl, SchTitle.tbl,
// SchPlace.tbl): one entry a line, kept sorted case-insensitively, each entry once whatever its
// letter case.
#pragma once

#include <string>
#include <vector>

namespace kal::store {

// The entries in their stored order: sorted, the later of two equal ones dropped.
std::vector<std::string> PickListEntries(std::vector<std::string> lines);

} // namespace kal::store
