// Every key of the settings file in one table: its section and name, the AppSettings field it
// fills and how the value is stored there, its reader default, the settings dialog's default
// where that differs, and how the dialog writes it. The reader, the dialog's defaults, values
// and writer, and the keys written at exit all take their keys from here.
#pragma once

#include "platform/IniFile.h"
#include "settings/AppSettings.h"

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace kal {

// An integer is written in decimal, or as a switch: "1" for 1, "0" for anything else.
enum class IntegerForm { Number, Switch };

struct IntegerField {
    int AppSettings::*field;
    IntegerForm form = IntegerForm::Number;
    int (*read)(int) = nullptr;    // what a value read becomes
    int (*written)(int) = nullptr; // what is written for a value
};
// Read as 0 false, any other integer true; written as 1 or 0.
struct BoolField {
    bool AppSettings::*field;
};
// The stored Shift-JIS bytes.
struct TextField {
    std::string AppSettings::*field;
};
// A data folder: the value as stored and the path it names; written with a trailing separator.
struct FolderField {
    std::string AppSettings::*value;
    std::string AppSettings::*path;
    bool followsDataPath = false; // a missing key takes DataPath's value
};
// "1" on and anything else off; or a digit each, a non-digit taking 0 or 1; or digits that
// must all be there.
enum class FlagDecoding { Binary, DigitsOrZero, DigitsOrOne, DigitsRequired };
template <class Name> struct FlagField {
    NamedFlags<Name> AppSettings::*field;
    FlagDecoding decoding;
};
// A font of the panels: a missing size or style takes these; without a style one is required.
struct PanelFontField {
    int item;
    int size;
    std::optional<FontStyle> style;
};
// The text clock's font, with its colour.
struct ClockFontField { };
struct ColorField {
    int item;
};
struct AlmanacField {
    bool AlmanacFlags::*flag;
};

using SettingField =
    std::variant<IntegerField, BoolField, TextField, FolderField, FlagField<CalViewFlag>, FlagField<WeekViewFlag>,
                 FlagField<SchViewFlag>, FlagField<RokuyoFlag>, FlagField<TodoItemFlag>, FlagField<TodoIconFlag>,
                 PanelFontField, ClockFontField, ColorField, AlmanacField>;

// How the settings dialog writes a key.
enum class DialogWrite {
    None,     // written at exit or by another window
    Value,    // the dialog's value
    Current,  // the program's own (the version, this year), whatever the file holds
    Position, // the main window's place, only while it lies on the screen
    Almanac,  // with the other [Koyomi] flags, once one is on or the section is there
};

struct SettingKey {
    SettingKey(const char* section, const char* name, SettingField field, std::string readDefault,
               DialogWrite dialog = DialogWrite::Value, std::optional<std::string> dialogDefault = std::nullopt)
        : section(section), name(name), field(field), readDefault(std::move(readDefault)), dialog(dialog),
          dialogDefault(std::move(dialogDefault))
    {
    }

    const char* section;
    const char* name;
    SettingField field;
    std::string readDefault; // as stored (Shift-JIS)
    DialogWrite dialog;
    std::optional<std::string> dialogDefault; // none: the reader default
};

// Every key, in the order the dialog writes them.
const std::vector<SettingKey>& settingKeys();

// Reads `key` into `settings` as loading does, a missing key taking `fallback` (as stored); the
// folders are resolved only with a program folder. The reason when the value cannot be read.
std::optional<std::string> readSettingKey(const IniFile& ini, const SettingKey& key, const std::string& fallback,
                                          const std::string* programFolder, AppSettings& settings);

// The value of `key` in `settings` as it is written (Shift-JIS).
std::string settingText(const SettingKey& key, const AppSettings& settings);

// One key by its field, read and written as the table says.
const SettingKey& settingKey(int AppSettings::*field);
const SettingKey& settingKey(bool AppSettings::*field);
int readSetting(const IniFile& ini, int AppSettings::*field);
void writeSetting(IniFile& ini, int AppSettings::*field, int value);
void writeSetting(IniFile& ini, bool AppSettings::*field, bool value);

} // namespace kal
