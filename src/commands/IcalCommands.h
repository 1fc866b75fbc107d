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
    return {"--export-ics",
            "--export-ics FROM TO FILE",
            "期間（yyyy/mm/dd）のスケジュールと全ての ToDo を iCalendar 形式で保存します"
            "（既存のファイルは上書きしません）",
            {},
            &kIcalModule};
}
inline HeadlessCommand importIcsListing()
{
    return {"--import-ics",
            "--import-ics FILE [--from D] [--to D] [--no-duplicate-check]",
            "iCalendar ファイルの予定と ToDo を読み込みます（繰り返しは --from から --to まで、"
            "既定は今日から 1 年間）",
            {},
            &kIcalModule};
}

// The commands, for the iCalendar module.
HeadlessCommand exportIcsCommand();
HeadlessCommand importIcsCommand();

} // namespace kal
