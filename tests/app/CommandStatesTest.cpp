// The one table of the commands the window's state allows, and their captions.
#include "app/CommandStates.h"

#include <gtest/gtest.h>

using namespace kal;

TEST(CommandStates, EachStateOfTheWindowAllowsItsCommands)
{
    const char *intoTray = "タスクトレイに入れる(&R)", *outOfTray = "タスクトレイから出す(&S)";
    const struct {
        const char* state;
        // visible, mini, with the right panel, behind the password, dialog open, any modal window shown
        WindowSituation situation;
        bool editing, showHide, rightPanel, panelMode, autoSync;
        const char* traySize;
    } cases[] = {
        {"shown", {true, false, true, false, false, false}, true, true, true, true, true, intoTray},
        {"in the tray behind the password",
         {false, false, true, true, false},
         false,
         true,
         true,
         true,
         true,
         outOfTray},
        {"a dialog open", {true, false, true, false, true, true}, false, false, true, true, false, intoTray},
        {"an alarm window shown", {true, false, true, false, false, true}, true, true, true, true, false, intoTray},
        {"the mini calendar", {true, true, true, false, false}, true, true, false, false, true, intoTray},
        {"the calendar only", {true, false, false, false, false}, true, true, false, true, true, intoTray},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        const CommandStates states = CommandStatesFor(c.situation);
        EXPECT_EQ(states.trayEditing, c.editing);
        EXPECT_EQ(states.trayShowHide, c.showHide);
        EXPECT_EQ(states.rightPanelToggles, c.rightPanel);
        EXPECT_EQ(states.panelModeMenu, c.panelMode);
        EXPECT_EQ(states.automaticSync, c.autoSync);
        EXPECT_STREQ(states.traySizeCaption, c.traySize);
        const bool mini = c.situation.miniMode;
        EXPECT_STREQ(states.trayMiniCaption, mini ? "元のサイズに戻す(&S)" : "ミニカレンダー(&N)");
        EXPECT_STREQ(states.gridMiniCaption, mini ? "元のサイズに戻す(&S)" : "ミニカレンダー(&S)");
    }
}
