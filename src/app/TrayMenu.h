// The notification-area menu: its captions and which of its entries may be used, decided in
// one place from the window's state.
#pragma once

namespace kal {

struct TrayState {
    bool windowVisible = true; // a minimised window counts as visible
    bool miniMode = false;
    // Hidden with "タスクトレイから表示するときにパスワードを入力する" on, until the password is given.
    bool waitsForPassword = false;
    bool modalDialogOpen = false;
};

struct TrayMenuState {
    const char* sizeCaption;
    const char* miniCaption;
    bool editing;  // スケジュールの追加, スケジュールの編集, メモの編集
    bool showHide; // the show/hide entry and the mini calendar entry
};

TrayMenuState TrayMenuFor(const TrayState& state);

} // namespace kal
