// Modules of the program that run some of its commands, so that the others start with the core
// alone: the window module (the main window and --print-pdf, with Qt) and the iCalendar module
// (--export-ics, --import-ics and --sync, with libical and ICU). A module is looked for beside the
// program, in ../lib/kalendra and in the installed module folder.
#pragma once

#include "commands/CommandLine.h"
#include "commands/HeadlessCommand.h"

#include <ostream>
#include <string>
#include <vector>

namespace kal {

struct CommandModule {
    const char* fileName;
    const char* entryName;
    const char* feature; // what it brings, for the message when it cannot be loaded
};
inline constexpr CommandModule kWindowModule{"libkalendra_window.so", "kalendra_window_main", "ウィンドウの機能"};
inline constexpr CommandModule kIcalModule{"libkalendra_ical.so", "kalendra_ical_main", "iCalendar の機能"};

// The main window's start, in the window module; the program has read the command line, so it
// passes whether to skip the instance guard ("/2").
inline constexpr CommandModule kWindowStart{"libkalendra_window.so", "kalendra_window_start", "ウィンドウの機能"};

// The subscribed calendars of a program folder (none: a null pointer), made by the iCalendar module
// for the commands of the program that show schedules; the caller deletes it.
class ExtraSchedules;
inline constexpr const char* kFeedSchedulesEntry = "kalendra_feed_schedules";
using FeedSchedulesEntry = ExtraSchedules* (*)(const char* programFolder);

// A module's entry: the whole command line and the program folder the program chose from it
// (ending with '/'); returns the exit code.
using ModuleEntry = int (*)(int argc, char** argv, const char* programFolder);
// The window's start: the same and "/2".
using WindowStartEntry = int (*)(int argc, char** argv, const char* programFolder, bool skipInstanceGuard);

// Loads `module` and runs its entry. One that cannot be loaded is a message on `err` and exit
// code 1.
int enterModule(const CommandModule& module, int argc, char** argv, const std::string& programFolder,
                std::ostream& err);
// Loads the window module and starts the main window, as `enterModule` does.
int startWindow(int argc, char** argv, const std::string& programFolder, bool skipInstanceGuard, std::ostream& err);

// The command line, read for `commands`.
CommandLine readCommandLine(int argc, char** argv, const std::vector<HeadlessCommand>& commands);

// Runs the command of `commandLine` from `commands` on standard output and error, on today's
// local date; returns the exit code.
int runCommand(const std::vector<HeadlessCommand>& commands, const CommandLine& commandLine,
               const std::string& programFolder);

} // namespace kal
