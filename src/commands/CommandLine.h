// The command line: kalendra [/2] [--home DIR] [--help | COMMAND ARGUMENTS...]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kal {

struct CommandLine {
    bool skipInstanceGuard = false; // "/2" as the first argument
    std::optional<std::string> home;
    bool help = false;
    // A headless command ("--dump-month"...) and the arguments after it; empty for the window.
    std::string command;
    std::vector<std::string> commandArguments;
    std::string error; // non-empty when the arguments are not understood
};

// `commands` are the options that start a headless command: every argument after one belongs to
// it, except "--home DIR". Single-dash options are the window system's (-platform, -display...).
CommandLine parseCommandLine(const std::vector<std::string>& arguments, const std::vector<std::string>& commands);

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
