// What every panel of the main window is built with: the services (their dialogs raise the
// window's ModalDialogOpen), the settings as last read, the program folder, the follower of
// record identities, and what the panel may ask of the window. A panel built from one of these
// works without the main window, in a test as in the program.
#pragma once

#include "platform/Files.h"
#include "platform/RecordFollower.h"
#include "platform/qt/Services.h"
#include "settings/AppSettings.h"

#include <QPoint>

#include <functional>
#include <string>
#include <vector>

namespace kal::qt {

struct PanelContext {
    Services& services;
    const AppSettings& settings;
    const std::string& programFolder; // ends with '/'
    files::RecordFollower* follower;
    // Raised while a dialog of the platform (a file or message box) waits for an answer.
    bool& modalDialogOpen;
    // The day selected in the calendar.
    std::function<Date()> selectedDate;
    // Where a dialog opened from a panel goes: beside the window, or beside the mini calendar.
    std::function<QPoint()> dialogPlace;
    // Data the calendar shows changed: the month is built again, the selected cell kept.
    std::function<void()> rebuildMonth;
    // Files that exist but cannot be read, by what read them ("todo", "memo", "note", "month").
    std::function<void(const std::string& source, const std::vector<files::FileProblem>& problems)> showUnreadable;
};

// Raises ModalDialogOpen while a dialog of the platform is open.
class ModalScope {
public:
    explicit ModalScope(const PanelContext& context) : flag_(context.modalDialogOpen) { flag_ = true; }
    ~ModalScope() { flag_ = false; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    bool& flag_;
};

} // namespace kal::qt
