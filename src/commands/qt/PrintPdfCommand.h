// kalendra --home DIR --print-pdf YYYY MM FILE: the month as a one-page PDF with the stored
// print settings, on A4 in the stored orientation; needs no display.
#pragma once

#include "commands/HeadlessCommand.h"

namespace kal::qt {

HeadlessCommand printPdfCommand();

} // namespace kal::qt
