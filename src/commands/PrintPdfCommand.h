// kalendra --home DIR --print-pdf YYYY MM FILE: the month as a one-page PDF with the stored
// print settings, on A4 in the stored orientation; needs no display.
#pragma once

#include "commands/CommandModules.h"
#include "commands/HeadlessCommand.h"

namespace kal {

// The command as --help lists it; painting needs Qt, so the window module runs it.
inline HeadlessCommand printPdfListing()
{
    return {"--print-pdf",
            "--print-pdf YYYY MM FILE [--force]",
            "その月のカレンダーを印刷の設定で一ページの PDF ファイルに書き出します"
            "（既存のファイルは --force がなければ上書きしません）",
            {},
            &kWindowModule};
}

// Writes the page of the month to `path`; empty when written, else why not (lines ended by
// CR LF).
using MonthPdfWriter = std::function<std::string(const std::string& programFolder, int year, int month,
                                                 const Date& today, const std::string& path)>;

// The command, for the window module, which gives the writer.
HeadlessCommand printPdfCommand(MonthPdfWriter write);

} // namespace kal
