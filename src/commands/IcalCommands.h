// The iCalendar exchange for scripts:
//   kalendra --home DIR --export-ics FROM TO FILE            (dates yyyy/mm/dd)
//   kalendra --home DIR --import-ics FILE [--from D] [--to D] [--no-duplicate-check]
// An existing FILE is never overwritten by the export; the import adds new categories and
// expands recurring events over a year from today unless told otherwise.
#pragma once

#include "commands/CommandModules.h"
#include "commands/HeadlessCommand.h"

namespace kal {

// The commands as --help lists them; they need libical, so the iCalendar module runs them.
inline HeadlessCommand exportIcsListing()
{
    HeadlessCommand command;
    command.option = "--export-ics";
    command.usage = "--export-ics FROM TO FILE";
    command.summary = "期間（yyyy/mm/dd）のスケジュールと全ての ToDo を iCalendar 形式で保存します"
                      "（既存のファイルは上書きしません）";
    command.module = &kIcalModule;
    return command;
}
inline HeadlessCommand importIcsListing()
{
    HeadlessCommand command;
    command.option = "--import-ics";
    command.usage = "--import-ics FILE [--from D] [--to D] [--no-duplicate-check]";
    command.summary = "iCalendar ファイルの予定と ToDo を読み込みます（繰り返しは --from から --to まで、"
                      "既定は今日から 1 年間）";
    command.module = &kIcalModule;
    return command;
}

// The commands, for the iCalendar module.
HeadlessCommand exportIcsCommand();
HeadlessCommand importIcsCommand();

} // namespace kal
