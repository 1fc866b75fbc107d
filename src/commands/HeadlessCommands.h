// Every headless command of the program, in the order --help lists them.
#pragma once

#include "commands/HeadlessCommand.h"

#include <vector>

namespace kal {

// The program's table. The commands that need more than the core (Qt, libical) have no `run`
// in it: they name the module that runs them.
std::vector<HeadlessCommand> headlessCommands();

} // namespace kal
