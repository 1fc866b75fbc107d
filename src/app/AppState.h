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
    bool created = false;         // the window has its settings and panels
    bool firstInitSet = true;     // the panels have not yet taken the settings
    bool shownOnce = false;
    bool startHidden = false;      // TaskTray = 1: the window starts in the notification area
    bool waitsForPassword = false; // hidden in the tray behind the password
    bool frameCounted = false;     // the last placement knew the window's frame
    bool miniPlaceKept = false;    // the mini place was taken before the window manager maximised it
    bool exiting = false;          // closing ends the program, whatever CloseTray says
    bool sessionEnding = false;    // nobody is left to answer a question
    bool closedOnce = false;

    void startAt(const Date& date)
    {
        startYear = date.year;
        lastDay = date;
    }
};

} // namespace kal
