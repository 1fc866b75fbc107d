// The schedule input as the panels open it (the day list, the ToDo panel's copy): the month's
// file checked first, the dialog beside the window, and what the caller rebuilds after it.
#pragma once

#include "platform/Platform.h"
#include "schedule/TDlgSchInput.h"
#include "settings/qt/PanelContext.h"

class QWidget;

namespace kal::qt {

// False, after saying why, when the month file of `date` exists but cannot be read.
bool MonthEditable(Platform& platform, const std::string& dataPath, const Date& date, const char* caption);

// Tells the user that the record changed elsewhere; the caller shows the files again.
void ReportScheduleChanged(Platform& platform, const char* caption);

// Opens the input dialog over `parent` with the folders and settings of `context`; true when the
// month must be built again (a record was written, or a failed write left the files changed).
bool RunScheduleInput(const PanelContext& context, SchInputRequest request, QWidget* parent);

} // namespace kal::qt
