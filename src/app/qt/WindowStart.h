// The start of the main window: the application, the one-instance guard, the window and its
// event loop, until the window closes.
#pragma once

#include <string>

namespace kal::qt {

// `programFolder` ends with '/' and is made when missing; `skipInstanceGuard` is "/2". Returns
// the exit code.
int runWindow(int argc, char** argv, const std::string& programFolder, bool skipInstanceGuard);

} // namespace kal::qt
