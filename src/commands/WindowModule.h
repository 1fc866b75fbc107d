// The window module: the main window and the commands that paint (--print-pdf), with Qt and
// everything Qt brings, loaded only when they are wanted, so that the headless commands start
// without mapping Qt.
#pragma once

#include <ostream>
#include <string>

namespace kal {

inline constexpr const char* kWindowModuleFileName = "libkalendra_window.so";
inline constexpr const char* kWindowEntryName = "kalendra_window_main";
// The module's entry: the whole command line and the program folder chosen from it (ending with
// '/'); returns the exit code.
using WindowEntry = int (*)(int argc, char** argv, const char* programFolder);

// Loads the module and runs its entry; a module that cannot be loaded is a message on `err` and
// exit code 1.
int enterWindowModule(int argc, char** argv, const std::string& programFolder, std::ostream& err);

} // namespace kal
