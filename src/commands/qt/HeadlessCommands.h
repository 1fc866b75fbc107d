// Every headless command of the program, in the order --help lists them.
#pragma once

#include "commands/HeadlessCommand.h"

#include <vector>

namespace kal::qt {

std::vector<HeadlessCommand> headlessCommands();

// The option names of those commands, for the command-line parser.
std::vector<std::string> headlessCommandOptions();

// Runs the command named `option`; returns the exit code.
int runHeadlessCommand(const std::string& option, const HeadlessContext& context,
                       const std::vector<std::string>& arguments);

} // namespace kal::qt
