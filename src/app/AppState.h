// The application state the main window holds for the whole run (the calendar keeps the day on
// screen), and the flags that coordinate start-up, layout, dialogs and shutdown.
#pragma once

#include "platform/Date.h"

namespace kal {

struct AppState {
    int startYear = 2000;
    Date lastDay; // the whole date the timer last saw, not only its day of the month

    bool startupPending = true;  // until the window is first shown
    bool versionChanged = false; // the settings come from another version
    bool windowStateDirty = false;
    bool modalDialogOpen = false; // tray clicks are ignored meanwhile
    bool taskbarHidden = false;   // TaskBar = 1
    bool layoutBusy = false;      // resize handling does nothing meanwhile

    void startAt(const Date& date)
    {
        startYear = date.year;
        lastDay = date;
    }
};

} // namespace kal
