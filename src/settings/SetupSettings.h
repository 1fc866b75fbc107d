// What the settings dialog reads, checks and writes: the values a new installation starts
// with, every key the dialog owns in file order, the slider and list mappings, the folders in
// absolute or relative form and the checks OK makes before anything is written.
#pragma once

#include "settings/AppSettings.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kal {

// The dialog's values for every key it owns when the file has none.
AppSettings dialogDefaults(const std::string& programFolderValue);

// The main window's top-left corner, written only when it lies on the screen.
struct SetupPosition {
    int top = 0;
    int left = 0;
    int screenWidth = 0;
    int screenHeight = 0;
    bool onScreen() const { return top > 0 && top < screenHeight && left > 0 && left < screenWidth; }
};

struct SettingKey;

// One key the settings dialog writes, with its value (Shift-JIS); a key with an empty value
// and `skipWhenMissing` is written only when stored.
struct DialogKey {
    const char* section;
    const char* key;
    std::string value;
    bool skipWhenMissing = false;
    const SettingKey* setting = nullptr;
};

// Every key the dialog writes, in file order, with its value taken from `s` (Shift-JIS).
std::vector<DialogKey> dialogValues(const AppSettings& s, int todayYear, const std::optional<SetupPosition>& position);

// Every key of the dialog in file order, with its dialog default.
std::vector<DialogKey> dialogKeys(const std::string& programFolderValue, int todayYear);

// Writes every dialog key: the stored value where the file has one, the dialog default
// otherwise; "Ver" becomes the program version and "Now" the given year.
void writeDialogKeys(IniFile& ini, const std::string& programFolderValue, int todayYear);

// The settings as the dialog shows them: the file's values, the dialog defaults for missing
// keys. A file the main window could not load either gives the dialog defaults.
AppSettings readSetupSettings(const IniFile& ini, const std::string& programFolder);

// Changes the keys the dialog owns and nothing else, so that unknown lines and the keys
// written at exit survive.
void writeSetupSettings(IniFile& ini, const AppSettings& s, int todayYear,
                        const std::optional<SetupPosition>& position);

// The translucency slider (0..20) and the stored TransValue (0..240).
inline constexpr int kTransSliderMax = 20;
int transValueFromSlider(int position);
int sliderFromTransValue(int value);
std::string transPercentText(int position);

// The clean-up list: positions 0..4 give 1, 2, 3, 6 and 12 months; any other term shows as
// a year.
int cleanTermFromIndex(int index);
int cleanIndexFromTerm(int term);

// Folders as the dialog's fields show them (UTF-8, '/'). Relative values are below the program
// folder, the empty value naming the program folder itself.
std::string relativeFolderText(const std::string& folder, const std::string& programFolder);
std::string absoluteFolderText(const std::string& value, const std::string& programFolder);

// What OK checks before it writes.
enum class SetupPage {
    Start = 0,
    View,
    Month,
    Week,
    Schedule,
    Memo,
    Todo,
    Mini,
    Clock,
    ColorFont,
    Alarm,
    Folder,
    Other
};
enum class SetupField { Todo, AlarmTime, Folders };

struct SetupProblem {
    SetupPage page;
    SetupField focus;
    const char* caption; // UTF-8
    const char* text;    // UTF-8
};

struct SetupCheckInput {
    int todo = 1;
    int memo = 1;
    int alarm = 0;
    int alarmTime = 0;
    std::vector<std::string> folders; // UTF-8 as typed
    std::string programFolder;
};

std::optional<SetupProblem> checkSetup(const SetupCheckInput& input,
                                       const std::function<bool(const std::string&)>& folderExists);

} // namespace kal
