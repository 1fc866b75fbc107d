// The application state the main window holds for the whole run, and the flags that
// coordinate start-up, layout, dialogs and shutdown.
#pragma once

#include "platform/Date.h"

namespace kal {

struct AppState {
    int viewYear = 2000;
    int viewMonth = 1;
    Date selectedDate;
    Date today;
    int startYear = 2000;
    Date lastDay; // the whole date the timer last saw, not only its day of the month

    bool startupPending = true;  // until the window is first shown
    bool versionChanged = false; // the settings come from another version
    bool windowStateDirty = false;
    bool modalDialogOpen = false; // tray clicks are ignored meanwhile
    bool taskbarHidden = false;   // TaskBar = 1
    bool layoutBusy = false;      // resize handling does nothing meanwhile
    bool todoChanged = false;

    void startAt(const Date& date)
    {
        today = date;
        viewYear = startYear = date.year;
        viewMonth = date.month;
        selectedDate = date;
        lastDay = date;
    }
};

} // namespace kal
