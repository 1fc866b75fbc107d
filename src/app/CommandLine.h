// The command line: kalendra [/2] [--home DIR] [--dump-month YYYY MM]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kal {

struct CommandLine {
    bool skipInstanceGuard = false; // "/2" as the first argument
    std::optional<std::string> home;
    bool dumpMonth = false;
    int dumpYear = 0;
    int dumpMonthNumber = 0;
    std::string error; // non-empty when the arguments are not understood
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The program folder: --home, then KALENDRA_HOME, then the executable's folder when it holds
// Kalendra.ini (a portable installation), else $XDG_DATA_HOME/kalendra (~/.local/share/kalendra).
// Always ends with '/'.
struct ProgramFolderInputs {
    std::optional<std::string> homeArgument;
    std::optional<std::string> homeEnvironment; // KALENDRA_HOME
    std::string executableFolder;
    std::optional<std::string> xdgDataHome; // XDG_DATA_HOME
    std::optional<std::string> userHome;    // HOME
};
std::string chooseProgramFolder(const ProgramFolderInputs& inputs);

// An absolute form of a path given on the command line, relative to the working folder.
std::string absolutePath(const std::string& path);

} // namespace kal
