// Which commands of the main window may be used in which state of the window, decided in one
// place: the notification-area menu (with its captions), the entries that act on the right
// panel, the display-mode menu, the mini calendar's entry of the calendar's pop-up menu and the
// automatic sync. A new command whose use depends on the window's state gets its row here.
#pragma once

namespace kal {

struct WindowSituation {
    bool windowVisible = true; // a minimised window counts as visible
    bool miniMode = false;
    bool panelWithRight = true; // the display mode "カレンダー/ToDo"
    // Hidden with "タスクトレイから表示するときにパスワードを入力する" on, until the password is given.
    bool waitsForPassword = false;
    bool modalDialogOpen = false;
    // Any modal window on screen, also one the window did not open (an alarm, a message box).
    bool modalWindowShown = false;
};

struct CommandStates {
    const char* traySizeCaption; // the show/hide entry of the tray
    const char* trayMiniCaption; // the mini calendar entry of the tray
    const char* gridMiniCaption; // the mini calendar entry of the calendar's pop-up menu
    bool trayEditing;       // スケジュールの追加, スケジュールの編集, メモの編集 in the tray
    bool trayShowHide;      // the show/hide entry and the mini calendar entry of the tray
    bool rightPanelToggles; // the clock (menu and button) and the notes: the right panel is shown
    bool panelModeMenu;     // 表示モード: not in the mini calendar
    bool automaticSync;     // the sync every Interval minutes may start now
};

CommandStates CommandStatesFor(const WindowSituation& situation);

} // namespace kal
