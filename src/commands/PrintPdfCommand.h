// kalendra --home DIR --print-pdf YYYY MM FILE: the month as a one-page PDF with the stored
// print settings, on A4 in the stored orientation; needs no display.
#pragma once

#include "commands/HeadlessCommand.h"

namespace kal {

// Writes the page of the month to `path`; empty when written, else why not (lines ended by
// CR LF). The window module gives it, since painting needs Qt.
using MonthPdfWriter = std::function<std::string(const std::string& programFolder, int year, int month,
                                                 const Date& today, const std::string& path)>;

// Without a writer the command has no `run`: the program lists it and hands it to the window
// module, which runs it with one.
HeadlessCommand printPdfCommand(MonthPdfWriter write = {});

} // namespace kal
