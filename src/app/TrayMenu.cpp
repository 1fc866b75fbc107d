#include "app/TrayMenu.h"

namespace kal {

TrayMenuState TrayMenuFor(const TrayState& state)
{
    TrayMenuState menu;
    menu.sizeCaption = state.windowVisible ? "タスクトレイに入れる(&R)" : "タスクトレイから出す(&S)";
    menu.miniCaption = state.miniMode ? "元のサイズに戻す(&S)" : "ミニカレンダー(&N)";
    // A second modal dialog over the open one would let two of them edit the same files.
    menu.editing = !state.waitsForPassword && !state.modalDialogOpen;
    menu.showHide = !state.modalDialogOpen;
    return menu;
}

} // namespace kal
