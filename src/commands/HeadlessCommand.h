// Headless commands run the windows' own logic for scripts and checks: no window, no question
// (where a window would ask, they take the safe answer), UTF-8 on standard output, and one
// contract for the exit code.
#pragma once

#include "platform/Date.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kal {

struct AppSettings;
struct CommandModule;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the operation failed or found nothing; the reason on stderr
inline constexpr int kExitUsage = 2;  // bad arguments; a usage line on stderr

struct HeadlessContext {
    std::string programFolder; // ends with '/'
    Date today;
    std::ostream& out;
    std::ostream& err;
};

struct HeadlessCommand {
    std::string option;  // "--dump-month"
    std::string usage;   // "--dump-month YYYY MM"
    std::string summary; // one line for --help, in Japanese
    // Receives the arguments after the option; returns the exit code. Empty in the program's
    // table for a command that a module runs.
    std::function<int(const HeadlessContext&, const std::vector<std::string>&)> run;
    // The module that runs the command, which the program loads for it; none for the commands that
    // need only the core.
    const CommandModule* module = nullptr;
};

// The option names of `commands`, for the command-line parser.
std::vector<std::string> commandOptions(const std::vector<HeadlessCommand>& commands);

// The module that runs the command of `commands` named `option`, or none.
const CommandModule* moduleOf(const std::vector<HeadlessCommand>& commands, const std::string& option);

// Runs the command of `commands` named `option`; returns the exit code.
int runHeadlessCommand(const std::vector<HeadlessCommand>& commands, const std::string& option,
                       const HeadlessContext& context, const std::vector<std::string>& arguments);

// Prints "kalendra: <why>" and the command's usage line; returns kExitUsage.
int usageError(const HeadlessContext& context, const HeadlessCommand& command, const std::string& why);
// A message written for a message box (lines ended by CR LF) with the plain line feeds a
// terminal wants.
std::string terminalText(const std::string& message);
// Prints "kalendra: <why>"; returns kExitFailed.
int operationFailed(const HeadlessContext& context, const std::string& why);

// The settings of the program folder; false, with the reason on `err`, when they cannot be read.
bool readCommandSettings(const std::string& programFolder, std::ostream& err, AppSettings& settings);

// The settings for a command that reads or writes data, after finishing the changes a crash
// interrupted (as the program's start does; a change another process is making is waited for),
// so the command never sees a half-made change. kExitOk, or the exit code with the reason printed.
int readDataSettings(const std::string& programFolder, std::ostream& err, AppSettings& settings);
inline int readDataSettings(const HeadlessContext& context, AppSettings& settings)
{
    return readDataSettings(context.programFolder, context.err, settings);
}

// A year 1900..2099 and a month 1..12 from two arguments. When either is out of range the usage
// error is printed and `exitCode` is kExitUsage.
struct YearMonthArguments {
    int year = 0;
    int month = 0;
    int exitCode = kExitOk;
};
YearMonthArguments parseYearMonth(const HeadlessContext& context, const HeadlessCommand& command,
                                  const std::string& year, const std::string& month);

// Today and now in the local time zone.
Date localToday();
DateTime localNow();

// The usage of the whole program with one line per command.
void printHelp(std::ostream& out, const std::vector<HeadlessCommand>& commands);

} // namespace kal
