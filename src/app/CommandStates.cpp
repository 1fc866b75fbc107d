#include "app/CommandStates.h"

namespace kal {

CommandStates CommandStatesFor(const WindowSituation& situation)
{
    CommandStates states;
    states.traySizeCaption = situation.windowVisible ? "タスクトレイに入れる(&R)" : "タスクトレイから出す(&S)";
    states.trayMiniCaption = situation.miniMode ? "元のサイズに戻す(&S)" : "ミニカレンダー(&N)";
    states.gridMiniCaption = situation.miniMode ? "元のサイズに戻す(&S)" : "ミニカレンダー(&S)";
    // A second modal dialog over the open one would let two of them edit the same files.
    states.trayEditing = !situation.waitsForPassword && !situation.modalDialogOpen;
    states.trayShowHide = !situation.modalDialogOpen;
    states.rightPanelToggles = situation.panelWithRight && !situation.miniMode;
    states.panelModeMenu = !situation.miniMode;
    // A dialog on screen may be working on the lines a sync would change.
    states.automaticSync = !situation.modalWindowShown;
    return states;
}

} // namespace kal
