// The sync for scripts:
//   kalendra --home DIR --sync
// One sync with the stored settings ([Sync] of Kalendra.ini, the password from the keyring or
// ~/.netrc); one summary line on standard output.
#pragma once

#include "commands/HeadlessCommand.h"

namespace kal {

HeadlessCommand syncCommand();

} // namespace kal
