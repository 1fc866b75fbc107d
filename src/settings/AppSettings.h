// The settings file Kalendra.ini: every section and key with its reader default, the decoded
// flag strings, fonts and colours, and the writers that own each key.
//
// Text values keep their stored Shift-JIS bytes; font names and resolved folders are UTF-8.
#pragma once

#include "platform/IniFile.h"
#include "platform/Platform.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kal {

inline constexpr const char* kProgramVersion = "3.01";
inline constexpr const char* kSettingsFileName = "Kalendra.ini";
inline constexpr int kMinMiniOpacity = 48;

std::string SettingsPath(const std::string& programFolder);

// The few keys that windows other than the main window read or write.
int ReadCatchk(const IniFile& ini);
void WriteCatchk(IniFile& ini, int mode);
struct SoundSettings {
    int alarm = 0;     // 0 off
    int alarmTime = 0; // minutes before the start
};
SoundSettings ReadSoundSettings(const IniFile& ini);

// [Koyomi]: what the calendar shows beside the rokuyo; all off until switched on.
struct AlmanacFlags {
    bool oldDate = false;      // Kyureki: the date in the old lunisolar calendar
    bool solarTerm = false;    // Sekki: the 24 solar terms
    bool seasonalDays = false; // Zassetsu: the seasonal days
};
AlmanacFlags ReadAlmanacFlags(const IniFile& ini);
// Written once a flag is on or the section is there, so a file that never had one keeps its lines.
void WriteAlmanacFlags(IniFile& ini, const AlmanacFlags& flags);

// Nine flags decoded from a flag string, one small integer per character.
using Flags = std::array<int, 9>;

// Flag `number` (counted from 1) is on.
inline bool FlagOn(const Flags& flags, int number)
{
    return flags[static_cast<std::size_t>(number - 1)] == 1;
}

struct ColorPair {
    ColorValue text = 0;
    ColorValue back = 0;
};

inline bool operator==(const ColorPair& a, const ColorPair& b)
{
    return a.text == b.text && a.back == b.back;
}

// The colour items Cw00 to Cw20, named after their use.
enum ColorItem {
    ColSelectedFrame = 0,
    ColWeekday = 1,
    ColSaturday = 2,
    ColSunday = 3,
    ColHoliday = 4,
    ColDayOff = 5,
    ColAnniversary = 6,
    ColOtherMonth = 7,
    ColToday = 8,
    ColRokuyo = 9,
    ColDayList = 10,
    ColMemoList = 11,
    ColTodoOpen = 12,
    ColTodoDone = 13,
    ColYearLabel = 14,
    ColMonthLabel = 15,
    ColEraLabel = 16,
    ColNoteList = 17,
    ColClockDate = 18,
    ColClockWeekday = 19,
    ColClockTime = 20,
    ColorItemCount = 21
};

enum FontItem { FontDay = 0, FontSch, FontWeek, FontMemo, FontNote, FontMini, FontItemCount };

struct AppSettings {
    // [Kalendra]
    std::string ver = "0.00";
    int relativePath = 0; // the folders are stored relative to the program folder
    std::string dataPathValue, memoPathValue, todoPathValue, notePathValue; // as stored
    std::string dataPath, memoPath, todoPath, notePath;                     // resolved, UTF-8, with '/'

    // [Window]
    std::string title = "Kalendra";
    int now = 2001;
    int posMode = 2;
    int top = 1, left = 1;
    int height = 571, width = 799;
    int pnlWidth = 320, gridHeight = 343, schHeight = 120, memoHeight = 120;
    int panelMode = 0;
    bool gridMode = false, smallMode = false, toolBar = true, statusBar = true;
    int taskTray = 0, taskBar = 0, stayOnTop = 0;
    int schWidth = 120, plcWidth = 100, catWidth = 100;
    int tNoWidth = 144, tOkWidth = 144, nPrWidth = 48, oPrWidth = 48;

    // [Mini]
    int miniHeight = 176, miniWidth = 164, miniTop = 1, miniLeft = 1;
    int miniPosMode = 3;
    int trans = 0, transValue = 120;
    int schLine = 0;
    int miniStatusBar = 0;

    // [View]
    int passwd = 0, passwd2 = 0;
    int catchk = 0;
    int closeTray = 0;
    int strWeek = 0;
    int dateJap = 1;
    int otherMon = 1;
    int monWeek = 6;
    Flags schView{};
    bool note = true;
    int autoIme = 1;
    bool scrUd = true;
    int udTime = 3;
    Flags calView{};
    Flags rikuyo{};
    Flags weekView{};
    int notePas = 0;
    int noteTab = 1;

    // [Koyomi]
    AlmanacFlags almanac;

    // [Memo]
    int memo = 1;
    bool mtUmu = true;
    std::string mTitle;

    // [ToDo]
    int todo = 1;
    int tNoIcon = 1;
    int warnTerm = 3;
    Flags setIcon{};
    Flags tNoItem{};
    Flags tOkItem{};
    int toDoTab = 1;

    // [Sound]
    int alarm = 0, alarmTime = 0;
    std::string alarmWav;
    int signal = 0, signalMode = 0;
    std::string signalWav;

    // [Clean]
    int clean = 0, cleanTerm = 12;

    // [Clock]
    int clock = 1;
    int clockType = 0;
    FontSpec clockFont;
    std::string clockStyle = "yyyy-mm-dd hh:mm:ss";
    int clockLeft = 0, clsec = 1, clhour = 1;

    // [Font] and [Color]
    std::array<FontSpec, FontItemCount> fonts;
    std::array<ColorPair, ColorItemCount> colors;

    AppSettings();

    // Opacity of the mini calendar: 255 unless translucency is on, and never so low that the
    // window can no longer be found.
    int miniOpacity() const { return trans == 1 ? std::clamp(transValue, kMinMiniOpacity, 255) : 255; }
    bool rokuyoShown(int code) const
    {
        return code >= 1 && code <= 6 && rikuyo[static_cast<std::size_t>(code - 1)] == 1;
    }
};

// Why loading the settings failed; the window shows one message for all of them.
struct SettingsLoadResult {
    bool ok = true;
    std::string detail; // for the developer, never shown on its own
};
inline constexpr const char* kSettingsErrorCaption = "初期設定エラー";
inline constexpr const char* kSettingsErrorText = "エラーが発生しました。\r\nKalendra.ini を削除し、再起動して下さい。";

// Reads every key into `settings` (reader defaults for missing keys) and resolves the four
// folders against `programFolder`.
SettingsLoadResult readSettings(const IniFile& ini, const std::string& programFolder, AppSettings& settings);

// The panels' fonts as the settings file of `programFolder` stores them, read as readSettings
// reads them; the defaults where the file is missing, unreadable or holds a font it refuses.
std::array<FontSpec, FontItemCount> storedPanelFonts(const std::string& programFolder);

// A stored folder value made into a UTF-8 path with a trailing '/', a backslash read as the
// separator: a value with a drive letter stays as it is, one with a leading separator is
// absolute, anything else is below the program folder, the empty value naming the program
// folder itself.
std::string resolveFolder(const std::string& storedValue, const std::string& programFolder);

// Decoding of the composite values.
Flags decodeBinaryFlags(const std::string& text); // "1" on, anything else off
Flags decodeDigitFlags(const std::string& text, int fallback);
std::optional<FontSpec> decodeFont(const std::string& text, const FontSpec& fallback, bool styleRequired,
                                   bool withColor);
ColorPair decodeColor(const std::string& text, const ColorPair& fallback);
std::string encodeFont(const FontSpec& font, bool withColor);
std::string encodeColor(const ColorPair& pair, bool withBackground);

// "Cw00".."Cw20" and "Day".."Mini".
const char* colorKey(int item);
const char* fontKey(int item);

ColorPair defaultColor(int item);
bool colorHasBackground(int item);

// One key the settings dialog writes, with its value (Shift-JIS); entries with an empty value
// and `skipWhenMissing` are written only when stored.
struct DialogKey {
    const char* section;
    const char* key;
    std::string defaultValue;
    bool skipWhenMissing = false;
};

// A decimal colour of at most 24 bits.
std::optional<ColorValue> parseColorDigits(const std::string& text);

} // namespace kal
