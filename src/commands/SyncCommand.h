// The sync for scripts:
//   kalendra --home DIR --sync
// One sync with the stored settings ([Sync] of Kalendra.ini, the password from the keyring or
// ~/.netrc); one summary line on standard output.
#pragma once

#include "commands/CommandModules.h"
#include "commands/HeadlessCommand.h"

namespace kal {

// The command as --help lists it; the sync works on iCalendar items, so the iCalendar module
// runs it.
inline HeadlessCommand syncListing()
{
    return {"--sync", "--sync", "同期の設定（[Sync]）に従って CalDAV サーバーと一度同期します", {}, &kIcalModule};
}

// The command, for the iCalendar module.
HeadlessCommand syncCommand();

} // namespace kal
