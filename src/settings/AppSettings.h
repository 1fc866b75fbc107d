// The settings file Kalendra.ini: the values of its keys (the keys themselves, their defaults
// and encodings are the table of SettingKeys.h), the decoded flag strings, fonts and colours.
//
// Text values keep their stored Shift-JIS bytes; font names and resolved folders are UTF-8.
#pragma once

#include "platform/IniFile.h"
#include "platform/Platform.h"
#include "settings/SettingFlags.h"

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
    bool operator==(const AlmanacFlags&) const = default;
};
AlmanacFlags ReadAlmanacFlags(const IniFile& ini);
// Written once a flag is on or the section is there, so a file that never had one keeps its lines.
void WriteAlmanacFlags(IniFile& ini, const AlmanacFlags& flags);

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
    std::string ver;
    int relativePath{}; // the folders are stored relative to the program folder
    std::string dataPathValue, memoPathValue, todoPathValue, notePathValue; // as stored
    std::string dataPath, memoPath, todoPath, notePath;                     // resolved, UTF-8, with '/'

    // [Window]
    std::string title;
    int now{};
    int posMode{};
    int top{}, left{};
    int height{}, width{};
    int pnlWidth{}, gridHeight{}, schHeight{}, memoHeight{};
    int panelMode{};
    bool gridMode{}, smallMode{}, toolBar{}, statusBar{};
    int taskTray{}, taskBar{}, stayOnTop{};
    int schWidth{}, plcWidth{}, catWidth{};
    int tNoWidth{}, tOkWidth{}, nPrWidth{}, oPrWidth{};

    // [Mini]
    int miniHeight{}, miniWidth{}, miniTop{}, miniLeft{};
    int miniPosMode{};
    int trans{}, transValue{};
    int schLine{};
    int miniStatusBar{};

    // [View]
    int passwd{}, passwd2{};
    int catchk{};
    int closeTray{};
    int strWeek{};
    int dateJap{};
    int otherMon{};
    int monWeek{};
    SchViewFlags schView;
    bool note{};
    int autoIme{};
    bool scrUd{};
    int udTime{};
    CalViewFlags calView;
    RokuyoFlags rikuyo;
    WeekViewFlags weekView;
    int notePas{};
    int noteTab{};

    // [Koyomi]
    AlmanacFlags almanac;

    // [Memo]
    int memo{};
    bool mtUmu{};
    std::string mTitle;

    // [ToDo]
    int todo{};
    int tNoIcon{};
    int warnTerm{};
    TodoIconFlags setIcon;
    TodoItemFlags tNoItem;
    TodoItemFlags tOkItem;
    int toDoTab{};

    // [Sound]
    int alarm{}, alarmTime{};
    std::string alarmWav;
    int signal{}, signalMode{};
    std::string signalWav;

    // [Clean]
    int clean{}, cleanTerm{};

    // [Clock]
    int clock{};
    int clockType{};
    FontSpec clockFont;
    std::string clockStyle;
    int clockLeft{}, clsec{}, clhour{};

    // [Font] and [Color]
    std::array<FontSpec, FontItemCount> fonts;
    std::array<ColorPair, ColorItemCount> colors;

    // The reader defaults of every key.
    AppSettings();

    bool operator==(const AppSettings&) const = default;

    // Opacity of the mini calendar: 255 unless translucency is on, and never so low that the
    // window can no longer be found.
    int miniOpacity() const { return trans == 1 ? std::clamp(transValue, kMinMiniOpacity, 255) : 255; }
    bool rokuyoShown(int code) const { return RokuyoShown(rikuyo, code); }
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

// The panels' fonts as the settings file stores them, read as readSettings reads them; the
// defaults where the file is missing, unreadable or holds a font it refuses.
std::array<FontSpec, FontItemCount> storedPanelFonts(const IniFile& ini);

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

// "Cw00".."Cw20".
const char* colorKey(int item);

ColorPair defaultColor(int item);
bool colorHasBackground(int item);

// A decimal colour of at most 24 bits.
std::optional<ColorValue> parseColorDigits(const std::string& text);

} // namespace kal
