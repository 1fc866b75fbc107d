// The holiday table shipped with the program, written into a new installation's data folder.
#pragma once

#include "platform/Platform.h"

#include <string>

namespace kal::qt {

// Into the data folder the settings of `programFolder` name; says why when it cannot be saved.
void WriteDefaultHolidayTable(Platform& platform, const std::string& programFolder);

} // namespace kal::qt
