// Start-up decisions that need no window: the New-Year greeting and the texts of the
// start-up messages.
#pragma once

#include "platform/Date.h"

namespace kal {

// The greeting comes once a year, on 1 to 7 January, when the settings were last saved in an
// earlier year.
bool newYearGreetingDue(int storedYear, const Date& today);

namespace startup_text {
inline constexpr const char* kSetupCaption = "初期設定";
inline constexpr const char* kVersionSetupCaption = "Version 3.01 初期設定";
inline constexpr const char* kGreeting =
    "あけましておめでとうございます。\r\n今年も「Kalendra」をよろしくお願いします。";
inline constexpr const char* kPasswordErrorCaption = "パスワード設定エラー";
inline constexpr const char* kPasswordErrorText =
    "パスワード入力画面表示設定になっていますが、\r\nパスワードが設定されていません。";
inline constexpr const char* kFolderErrorCaption = "データフォルダ指定エラー";
inline constexpr const char* kFolderErrorText = "指定したデータフォルダは存在しません。\r\n環境設定を確認して下さい。";
inline constexpr const char* kVersionWarningCaption = "警告";
inline constexpr const char* kVersionWarningText = "環境設定が正しく行われていないため正常に動作しない恐れがあります。";
inline constexpr const char* kStartupPasswordLabel = "起動パスワードの入力：";
inline constexpr const char* kTrayPasswordLabel = "パスワードの入力：";
inline constexpr const char* kNotePasswordLabel = "ノートのパスワードの入力：";
} // namespace startup_text

} // namespace kal
