// The window module's start of the main window; the program has read the command line and
// chosen the program folder. Its type is the program's WindowStartEntry.
#include "app/qt/WindowStart.h"

extern "C" __attribute__((visibility("default"))) int
kalendra_window_start(int argc, char** argv, const char* programFolder, bool skipInstanceGuard)
{
    return kal::qt::runWindow(argc, argv, programFolder, skipInstanceGuard);
}
