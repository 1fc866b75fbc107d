#include "settings/AppSettings.h"

#include "platform/ByteText.h"
#include "platform/CommaText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"

#include <algorithm>

namespace kal {
namespace {

struct ColorDefault {
    ColorValue text;
    ColorValue back;
    bool hasBackground;
};

const std::array<ColorDefault, ColorItemCount> kColorDefaults = {{
    {0, 16711680, true},         // 00 frame of the selected day
    {0, 16777215, true},         // 01 weekday
    {16711680, 16777184, true},  // 02 Saturday
    {255, 14733566, true},       // 03 Sunday
    {255, 14733566, true},       // 04 national holiday
    {255, 14733566, true},       // 05 day off
    {16711935, 16777215, false}, // 06 anniversary
    {8421504, 14474460, true},   // 07 previous and next month
    {0, 15658671, true},         // 08 today
    {12615808, 16777215, false}, // 09 rokuyo
    {0, 15136253, true},         // 10 day schedule list
    {0, 16777184, true},         // 11 memo list
    {0, 14804223, true},         // 12 open ToDo list
    {0, 13826810, true},         // 13 done ToDo list
    {8421504, 16777215, false},  // 14 year label
    {16711680, 16777215, false}, // 15 month label
    {8421504, 16777215, false},  // 16 era year label
    {32768, 16443110, true},     // 17 note list
    {8453888, 0, true},          // 18 clock date
    {255, 0, false},             // 19 clock weekday
    {16776960, 0, false},        // 20 clock time
}};

const char* const kColorKeys[ColorItemCount] = {"Cw00", "Cw01", "Cw02", "Cw03", "Cw04", "Cw05", "Cw06",
                                                "Cw07", "Cw08", "Cw09", "Cw10", "Cw11", "Cw12", "Cw13",
                                                "Cw14", "Cw15", "Cw16", "Cw17", "Cw18", "Cw19", "Cw20"};

const char* const kFontKeys[FontItemCount] = {"Day", "Sch", "Week", "Memo", "Note", "Mini"};

struct FontFallback {
    int size;
    int style; // -1: a missing style is a loading failure
};

const std::array<FontFallback, FontItemCount> kFontFallbacks = {{{10, 2}, {9, 0}, {9, 0}, {9, -1}, {9, 0}, {9, 0}}};

const char* const kReaderFont = "\"MS UI Gothic\",9,0";
const char* const kReaderClockFont = "\"MS UI Gothic\",11,0,000000";

} // namespace

std::optional<ColorValue> parseColorDigits(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 0xFFFFFF)
            return std::nullopt;
    }
    return static_cast<ColorValue>(value);
}

AppSettings::AppSettings()
{
    schView = decodeBinaryFlags("111100");
    calView = decodeDigitFlags("111111100", 0);
    rikuyo = decodeDigitFlags("111111", 0);
    weekView = decodeDigitFlags("111111111", 1);
    setIcon = decodeBinaryFlags("000");
    tNoItem = decodeBinaryFlags("1011000");
    tOkItem = decodeBinaryFlags("1011000");
    clockFont = FontSpec{"MS UI Gothic", 11, FontStyle::Regular, 0};
    for (auto& font : fonts)
        font = FontSpec{"MS UI Gothic", 9, FontStyle::Regular, 0};
    for (int i = 0; i < ColorItemCount; ++i)
        colors[static_cast<std::size_t>(i)] = defaultColor(i);
}

std::string SettingsPath(const std::string& programFolder)
{
    return files::withSeparator(programFolder) + kSettingsFileName;
}

int ReadCatchk(const IniFile& ini)
{
    return ini.readInteger("View", "Catchk", 0);
}

void WriteCatchk(IniFile& ini, int mode)
{
    ini.writeInteger("View", "Catchk", mode);
}

SoundSettings ReadSoundSettings(const IniFile& ini)
{
    return SoundSettings{ini.readInteger("Sound", "Alarm", 0), ini.readInteger("Sound", "AlarmTime", 0)};
}

namespace {
constexpr const char* kAlmanacSection = "Koyomi";
constexpr const char* kAlmanacKeys[] = {"Kyureki", "Sekki", "Zassetsu"};
} // namespace

AlmanacFlags ReadAlmanacFlags(const IniFile& ini)
{
    return AlmanacFlags{ini.readInteger(kAlmanacSection, kAlmanacKeys[0], 0) != 0,
                        ini.readInteger(kAlmanacSection, kAlmanacKeys[1], 0) != 0,
                        ini.readInteger(kAlmanacSection, kAlmanacKeys[2], 0) != 0};
}

void WriteAlmanacFlags(IniFile& ini, const AlmanacFlags& flags)
{
    const bool values[] = {flags.oldDate, flags.solarTerm, flags.seasonalDays};
    const bool stored = std::any_of(std::begin(kAlmanacKeys), std::end(kAlmanacKeys),
                                    [&ini](const char* key) { return ini.hasKey(kAlmanacSection, key); });
    if (!stored && !values[0] && !values[1] && !values[2])
        return;
    for (std::size_t i = 0; i < std::size(values); ++i)
        ini.writeInteger(kAlmanacSection, kAlmanacKeys[i], values[i] ? 1 : 0);
}

const char* colorKey(int item)
{
    return kColorKeys[item];
}

const char* fontKey(int item)
{
    return kFontKeys[item];
}

ColorPair defaultColor(int item)
{
    const ColorDefault& d = kColorDefaults[static_cast<std::size_t>(item)];
    return ColorPair{d.text, d.back};
}

bool colorHasBackground(int item)
{
    return kColorDefaults[static_cast<std::size_t>(item)].hasBackground;
}

Flags decodeBinaryFlags(const std::string& textValue)
{
    Flags flags{};
    for (std::size_t i = 0; i < flags.size() && i < textValue.size(); ++i)
        flags[i] = textValue[i] == '1' ? 1 : 0;
    return flags;
}

Flags decodeDigitFlags(const std::string& textValue, int fallback)
{
    Flags flags;
    flags.fill(fallback);
    for (std::size_t i = 0; i < flags.size() && i < textValue.size(); ++i) {
        char c = textValue[i];
        flags[i] = (c >= '0' && c <= '9') ? c - '0' : fallback;
    }
    return flags;
}

namespace {

// The six rokuyo flags must all be digits.
std::optional<Flags> decodeRokuyoFlags(const std::string& textValue)
{
    if (textValue.size() < 6)
        return std::nullopt;
    Flags flags{};
    for (std::size_t i = 0; i < 6; ++i) {
        char c = textValue[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        flags[i] = c - '0';
    }
    return flags;
}

} // namespace

std::optional<FontSpec> decodeFont(const std::string& textValue, const FontSpec& fallback, bool styleRequired,
                                   bool withColor)
{
    std::vector<std::string> items = text::splitCommaText(textValue);
    FontSpec font = fallback;
    if (!items.empty())
        font.name = sjis::toUtf8(items[0]);
    if (items.size() > 1) {
        if (auto size = parseProfileInteger(items[1]); size && *size > 0)
            font.size = *size;
    }
    if (items.size() > 2) {
        auto style = parseProfileInteger(items[2]);
        if (style && *style >= 0 && *style <= 3)
            font.style = static_cast<FontStyle>(*style);
        else if (styleRequired)
            return std::nullopt;
    } else if (styleRequired) {
        return std::nullopt;
    }
    if (withColor && items.size() > 3) {
        if (auto color = parseProfileInteger(items[3]))
            font.color = *color & 0xFFFFFF;
    }
    return font;
}

std::string encodeFont(const FontSpec& font, bool withColor)
{
    std::vector<std::string> items = {sjis::fromUtf8Lossy(font.name), std::to_string(font.size),
                                      std::to_string(static_cast<int>(font.style))};
    if (withColor)
        items.push_back(text::formatInt(font.color, 6, '0'));
    return text::joinCommaText(items);
}

ColorPair decodeColor(const std::string& textValue, const ColorPair& fallback)
{
    ColorPair pair = fallback;
    if (auto t = parseColorDigits(text::field(textValue, 1, 8)))
        pair.text = *t;
    if (auto b = parseColorDigits(text::field(textValue, 10, 8)))
        pair.back = *b;
    return pair;
}

std::string encodeColor(const ColorPair& pair, bool withBackground)
{
    std::string out = text::formatInt(pair.text, 8, '0');
    if (withBackground)
        out += " " + text::formatInt(pair.back, 8, '0');
    return out;
}

std::string resolveFolder(const std::string& storedValue, const std::string& programFolder)
{
    std::string value = sjis::toUtf8(storedValue);
    const bool hasDrive = value.size() >= 2 && value[1] == ':' &&
                          ((value[0] >= 'A' && value[0] <= 'Z') || (value[0] >= 'a' && value[0] <= 'z'));
    if (hasDrive)
        return files::withSeparator(value);
    // A value written on another system uses the backslash as its separator (Data\ is Data/).
    std::replace(value.begin(), value.end(), '\\', '/');
    if (!value.empty() && value[0] == '/')
        return files::withSeparator(value);
    return files::withSeparator(files::withSeparator(programFolder) + value);
}

namespace {

SettingsLoadResult readPanelFonts(const IniFile& ini, std::array<FontSpec, FontItemCount>& fonts)
{
    for (int i = 0; i < FontItemCount; ++i) {
        std::string value = ini.readString("Font", kFontKeys[i], kReaderFont);
        // An empty value is read like a missing key rather than as a font without a name.
        if (text::isBlank(value))
            value = kReaderFont;
        const FontFallback& fb = kFontFallbacks[static_cast<std::size_t>(i)];
        FontSpec fallback{"", fb.size, static_cast<FontStyle>(fb.style < 0 ? 0 : fb.style), 0};
        std::optional<FontSpec> font = decodeFont(value, fallback, fb.style < 0, false);
        if (!font)
            return SettingsLoadResult{false, std::string("[Font] ") + kFontKeys[i] + " needs a style"};
        fonts[static_cast<std::size_t>(i)] = *font;
    }
    return {};
}

} // namespace

std::array<FontSpec, FontItemCount> storedPanelFonts(const std::string& programFolder)
{
    IniFile ini(SettingsPath(programFolder));
    ini.load();
    std::array<FontSpec, FontItemCount> stored;
    if (ini.readable() && readPanelFonts(ini, stored).ok)
        return stored;
    return AppSettings().fonts;
}

SettingsLoadResult readSettings(const IniFile& ini, const std::string& programFolder, AppSettings& s)
{
    // Defaults in place of settings that exist would skip the start-up password.
    if (!ini.readable())
        return SettingsLoadResult{false, ini.unreadableReason()};
    s.ver = ini.readString("Kalendra", "Ver", "0.00");
    s.relativePath = ini.readInteger("Kalendra", "RelativePath", 0);
    // A missing folder key means the program folder, kept as the empty value so that a folder
    // name Shift-JIS cannot hold stays intact.
    s.dataPathValue = ini.readString("Kalendra", "DataPath", "");
    s.memoPathValue = ini.readString("Kalendra", "MemoPath", s.dataPathValue);
    s.todoPathValue = ini.readString("Kalendra", "TodoPath", s.dataPathValue);
    s.notePathValue = ini.readString("Kalendra", "NotePath", s.dataPathValue);
    s.dataPath = resolveFolder(s.dataPathValue, programFolder);
    s.memoPath = resolveFolder(s.memoPathValue, programFolder);
    s.todoPath = resolveFolder(s.todoPathValue, programFolder);
    s.notePath = resolveFolder(s.notePathValue, programFolder);

    s.passwd = ini.readInteger("View", "Passwd", 0);
    s.passwd2 = ini.readInteger("View", "Passwd2", 0);

    s.title = ini.readString("Window", "Title", "Kalendra");
    s.now = ini.readInteger("Window", "Now", 2001);
    s.posMode = ini.readInteger("Window", "PosMode", 2);
    s.top = ini.readInteger("Window", "Top", 1);
    s.left = ini.readInteger("Window", "Left", 1);
    s.height = ini.readInteger("Window", "Height", 571);
    s.width = ini.readInteger("Window", "Width", 799);
    s.pnlWidth = ini.readInteger("Window", "PnlWidth", 320);
    s.gridHeight = ini.readInteger("Window", "GridHeight", 343);
    s.schHeight = ini.readInteger("Window", "SchHeight", 120);
    s.memoHeight = ini.readInteger("Window", "MemoHeight", 120);
    s.panelMode = ini.readInteger("Window", "PanelMode", 0);
    s.gridMode = ini.readBool("Window", "GridMode", false);
    s.smallMode = ini.readBool("Window", "SmallMode", false);
    s.toolBar = ini.readBool("Window", "ToolBar", true);
    s.statusBar = ini.readBool("Window", "StatusBar", true);
    s.taskTray = ini.readInteger("Window", "TaskTray", 0);
    s.taskBar = ini.readInteger("Window", "TaskBar", 0);
    s.stayOnTop = ini.readInteger("Window", "StayOnTop", 0);
    s.schWidth = ini.readInteger("Window", "SchWidth", 120);
    s.plcWidth = ini.readInteger("Window", "PlcWidth", 100);
    s.catWidth = ini.readInteger("Window", "CatWidth", 100);
    s.tNoWidth = ini.readInteger("Window", "TNoWidth", 144);
    s.tOkWidth = ini.readInteger("Window", "TOkWidth", 144);
    s.nPrWidth = ini.readInteger("Window", "NPrWidth", 48);
    s.oPrWidth = ini.readInteger("Window", "OPrWidth", 48);

    s.miniHeight = ini.readInteger("Mini", "Height", 176);
    s.miniWidth = ini.readInteger("Mini", "Width", 164);
    s.miniTop = ini.readInteger("Mini", "Top", 1);
    s.miniLeft = ini.readInteger("Mini", "Left", 1);
    s.miniPosMode = ini.readInteger("Mini", "PosMode", 3);
    s.trans = ini.readInteger("Mini", "Trans", 0);
    s.transValue = ini.readInteger("Mini", "TransValue", 120);
    s.schLine = ini.readInteger("Mini", "SchLine", 0);
    s.miniStatusBar = ini.readInteger("Mini", "StatusBar", 0);

    s.catchk = ReadCatchk(ini);
    s.closeTray = ini.readInteger("View", "CloseTray", 0);
    s.strWeek = ini.readInteger("View", "StrWeek", 0);
    s.dateJap = ini.readInteger("View", "DateJap", 1);
    s.otherMon = ini.readInteger("View", "OtherMon", 1);
    s.monWeek = ini.readInteger("View", "MonWeek", 6) == 5 ? 5 : 6;
    s.schView = decodeBinaryFlags(ini.readString("View", "SchView", "111100"));
    s.note = ini.readBool("View", "Note", true);
    s.autoIme = ini.readInteger("View", "AutoIme", 1);
    s.scrUd = ini.readBool("View", "ScrUd", true);
    s.udTime = ini.readInteger("View", "UdTime", 3);
    s.calView = decodeDigitFlags(ini.readString("View", "CalView", "111111100"), 0);
    std::optional<Flags> rikuyo = decodeRokuyoFlags(ini.readString("View", "Rikuyo", "111111"));
    if (!rikuyo)
        return SettingsLoadResult{false, "[View] Rikuyo needs six digits"};
    s.rikuyo = *rikuyo;
    s.weekView = decodeDigitFlags(ini.readString("View", "WeekView", "111111111"), 1);
    s.notePas = ini.readInteger("View", "NotePas", 0);
    s.noteTab = ini.readInteger("View", "NoteTab", 1);
    s.almanac = ReadAlmanacFlags(ini);

    s.memo = ini.readInteger("Memo", "Memo", 1);
    s.mtUmu = ini.readBool("Memo", "MTUmu", true);
    s.mTitle = ini.readString("Memo", "MTitle", "");

    s.todo = ini.readInteger("ToDo", "Todo", 1);
    s.tNoIcon = ini.readInteger("ToDo", "TNoIcon", 1);
    s.warnTerm = ini.readInteger("ToDo", "WarnTerm", 3);
    s.setIcon = decodeBinaryFlags(ini.readString("ToDo", "SetIcon", "000"));
    s.tNoItem = decodeBinaryFlags(ini.readString("ToDo", "TNoItem", "1011000"));
    s.tOkItem = decodeBinaryFlags(ini.readString("ToDo", "TOkItem", "1011000"));
    s.toDoTab = ini.readInteger("ToDo", "ToDoTab", 1);

    const SoundSettings sound = ReadSoundSettings(ini);
    s.alarm = sound.alarm;
    s.alarmTime = sound.alarmTime;
    s.alarmWav = ini.readString("Sound", "AlarmWav", "");
    s.signal = ini.readInteger("Sound", "Signal", 0);
    s.signalMode = ini.readInteger("Sound", "SignalMode", 0);
    s.signalWav = ini.readString("Sound", "SignalWav", "");

    s.clean = ini.readInteger("Clean", "Clean", 0);
    s.cleanTerm = ini.readInteger("Clean", "CleanTerm", 12);

    s.clock = ini.readInteger("Clock", "Clock", 1);
    s.clockType = ini.readInteger("Clock", "Type", 0);
    {
        std::string value = ini.readString("Clock", "Font", kReaderClockFont);
        if (text::isBlank(value))
            value = kReaderClockFont;
        s.clockFont = *decodeFont(value, FontSpec{"", 14, FontStyle::Regular, 0}, false, true);
    }
    s.clockStyle = ini.readString("Clock", "Style", "yyyy-mm-dd hh:mm:ss");
    s.clockLeft = ini.readInteger("Clock", "Left", 0);
    s.clsec = ini.readInteger("Clock", "Clsec", 1);
    s.clhour = ini.readInteger("Clock", "Clhour", 1);

    if (SettingsLoadResult fonts = readPanelFonts(ini, s.fonts); !fonts.ok)
        return fonts;

    for (int i = 0; i < ColorItemCount; ++i) {
        ColorPair fallback = defaultColor(i);
        std::string value = ini.readString("Color", kColorKeys[i], "");
        s.colors[static_cast<std::size_t>(i)] = decodeColor(value, fallback);
    }
    return {};
}

} // namespace kal
