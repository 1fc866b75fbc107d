// The month as a one-page PDF on A4 with the stored print settings, without a display: what
// `kalendra --print-pdf` writes. Declared without Qt, so callers need none of it.
#pragma once

#include "platform/Date.h"
#include "schedule/ExtraSchedules.h"

#include <string>

namespace kal::qt {

struct MonthPdfResult {
    bool ok = false;
    std::string message; // UTF-8, lines ended by CR LF, when not ok
};

// Reads the settings and the month's data of `programFolder`, with the subscribed calendars of
// `extras` beside the schedules, and writes the page to `path`; a month with a file that cannot be
// read is not printed.
MonthPdfResult WriteMonthPdf(const std::string& programFolder, int year, int month, const Date& today,
                             const std::string& path, ExtraSchedules* extras = nullptr);

} // namespace kal::qt
