// Every headless command of the program, in the order --help lists them.
#pragma once

#include "commands/HeadlessCommand.h"

#include <vector>

namespace kal {

// The table of the program. The command that needs Qt (--print-pdf) has no `run` in it: the
// program hands it to the window module (see WindowModule.h).
std::vector<HeadlessCommand> headlessCommands();

// The option names of `commands`, for the command-line parser.
std::vector<std::string> commandOptions(const std::vector<HeadlessCommand>& commands);

// Whether the command named `option` runs in the window module rather than in the program.
bool runsInWindowModule(const std::vector<HeadlessCommand>& commands, const std::string& option);

// Runs the command of `commands` named `option`; returns the exit code.
int runHeadlessCommand(const std::vector<HeadlessCommand>& commands, const std::string& option,
                       const HeadlessContext& context, const std::vector<std::string>& arguments);

} // namespace kal
