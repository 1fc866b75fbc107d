#include "app/AppSettings.h"

#include "platform/ByteText.h"
#include "platform/CommaText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"

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

// Dialog defaults of the fonts, as stored (UTF-8 here, converted when written).
const char* const kDialogFonts[FontItemCount] = {"Arial,11,2",           "\"MS UI Gothic\",9,0",
                                                 "\"MS UI Gothic\",9,0", "\"MS UI Gothic\",9,0",
                                                 "\"MS UI Gothic\",9,0", "\"Times New Roman\",9,0"};

std::optional<int> parseInt(const std::string& text)
{
    return parseProfileInteger(text);
}

// Reads `text` as a decimal colour of at most 24 bits.
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

class Reader {
public:
    Reader(const IniFile& ini) : ini_(ini) { }

    int integer(const char* section, const char* key, int fallback) const
    {
        return ini_.readInteger(section, key, fallback);
    }
    bool boolean(const char* section, const char* key, bool fallback) const
    {
        return ini_.readBool(section, key, fallback);
    }
    std::string string(const char* section, const char* key, const std::string& fallback) const
    {
        return ini_.readString(section, key, fallback);
    }

private:
    const IniFile& ini_;
};

} // namespace

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

ColorPair defaultColor(int item)
{
    const ColorDefault& d = kColorDefaults[static_cast<std::size_t>(item)];
    return ColorPair{d.text, d.back};
}

bool colorHasBackground(int item)
{
    return kColorDefaults[static_cast<std::size_t>(item)].hasBackground;
}

const char* colorKey(int item)
{
    return kColorKeys[item];
}

const char* fontKey(int item)
{
    return kFontKeys[item];
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
        if (auto size = parseInt(items[1]); size && *size > 0)
            font.size = *size;
    }
    if (items.size() > 2) {
        auto style = parseInt(items[2]);
        if (style && *style >= 0 && *style <= 3)
            font.style = static_cast<FontStyle>(*style);
        else if (styleRequired)
            return std::nullopt;
    } else if (styleRequired) {
        return std::nullopt;
    }
    if (withColor && items.size() > 3) {
        if (auto color = parseInt(items[3]))
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

std::string encodeFlags(const Flags& flags, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count && i < flags.size(); ++i)
        out += flags[i] == 1 ? '1' : '0';
    return out;
}

std::string resolveFolder(const std::string& storedValue, const std::string& programFolder)
{
    std::string value = sjis::toUtf8(storedValue);
    bool hasDrive = value.size() >= 2 && value[1] == ':' &&
                    ((value[0] >= 'A' && value[0] <= 'Z') || (value[0] >= 'a' && value[0] <= 'z'));
    bool absolute = (!value.empty() && value[0] == '/') || hasDrive || value.find('\\') != std::string::npos;
    if (absolute)
        return files::withSeparator(value);
    return files::withSeparator(files::withSeparator(programFolder) + value);
}

SettingsLoadResult readSettings(const IniFile& ini, const std::string& programFolder, AppSettings& s)
{
    Reader r(ini);

    s.ver = r.string("Kalendra", "Ver", "0.00");
    // A missing folder key means the program folder, kept as the empty value so that a folder
    // name Shift-JIS cannot hold stays intact.
    s.dataPathValue = r.string("Kalendra", "DataPath", "");
    s.memoPathValue = r.string("Kalendra", "MemoPath", s.dataPathValue);
    s.todoPathValue = r.string("Kalendra", "TodoPath", s.dataPathValue);
    s.notePathValue = r.string("Kalendra", "NotePath", s.dataPathValue);
    s.dataPath = resolveFolder(s.dataPathValue, programFolder);
    s.memoPath = resolveFolder(s.memoPathValue, programFolder);
    s.todoPath = resolveFolder(s.todoPathValue, programFolder);
    s.notePath = resolveFolder(s.notePathValue, programFolder);

    s.passwd = r.integer("View", "Passwd", 0);
    s.passwd2 = r.integer("View", "Passwd2", 0);

    s.title = r.string("Window", "Title", "Kalendra");
    s.now = r.integer("Window", "Now", 2001);
    s.posMode = r.integer("Window", "PosMode", 2);
    s.top = r.integer("Window", "Top", 1);
    s.left = r.integer("Window", "Left", 1);
    s.height = r.integer("Window", "Height", 571);
    s.width = r.integer("Window", "Width", 799);
    s.pnlWidth = r.integer("Window", "PnlWidth", 320);
    s.gridHeight = r.integer("Window", "GridHeight", 343);
    s.schHeight = r.integer("Window", "SchHeight", 120);
    s.memoHeight = r.integer("Window", "MemoHeight", 120);
    s.panelMode = r.integer("Window", "PanelMode", 0);
    s.gridMode = r.boolean("Window", "GridMode", false);
    s.smallMode = r.boolean("Window", "SmallMode", false);
    s.toolBar = r.boolean("Window", "ToolBar", true);
    s.statusBar = r.boolean("Window", "StatusBar", true);
    s.taskTray = r.integer("Window", "TaskTray", 0);
    s.taskBar = r.integer("Window", "TaskBar", 0);
    s.stayOnTop = r.integer("Window", "StayOnTop", 0);
    s.schWidth = r.integer("Window", "SchWidth", 120);
    s.plcWidth = r.integer("Window", "PlcWidth", 100);
    s.catWidth = r.integer("Window", "CatWidth", 100);
    s.tNoWidth = r.integer("Window", "TNoWidth", 144);
    s.tOkWidth = r.integer("Window", "TOkWidth", 144);
    s.nPrWidth = r.integer("Window", "NPrWidth", 48);
    s.oPrWidth = r.integer("Window", "OPrWidth", 48);

    s.miniHeight = r.integer("Mini", "Height", 176);
    s.miniWidth = r.integer("Mini", "Width", 164);
    s.miniTop = r.integer("Mini", "Top", 1);
    s.miniLeft = r.integer("Mini", "Left", 1);
    s.miniPosMode = r.integer("Mini", "PosMode", 3);
    s.trans = r.integer("Mini", "Trans", 0);
    s.transValue = r.integer("Mini", "TransValue", 120);
    s.schLine = r.integer("Mini", "SchLine", 0);
    s.miniStatusBar = r.integer("Mini", "StatusBar", 0);

    s.catchk = ReadCatchk(ini);
    s.closeTray = r.integer("View", "CloseTray", 0);
    s.strWeek = r.integer("View", "StrWeek", 0);
    s.dateJap = r.integer("View", "DateJap", 1);
    s.otherMon = r.integer("View", "OtherMon", 1);
    s.monWeek = r.integer("View", "MonWeek", 6) == 5 ? 5 : 6;
    s.schView = decodeBinaryFlags(r.string("View", "SchView", "111100"));
    s.note = r.boolean("View", "Note", true);
    s.autoIme = r.integer("View", "AutoIme", 1);
    s.scrUd = r.boolean("View", "ScrUd", true);
    s.udTime = r.integer("View", "UdTime", 3);
    s.calView = decodeDigitFlags(r.string("View", "CalView", "111111100"), 0);
    std::optional<Flags> rikuyo = decodeRokuyoFlags(r.string("View", "Rikuyo", "111111"));
    if (!rikuyo)
        return SettingsLoadResult{false, "[View] Rikuyo needs six digits"};
    s.rikuyo = *rikuyo;
    s.weekView = decodeDigitFlags(r.string("View", "WeekView", "111111111"), 1);
    s.notePas = r.integer("View", "NotePas", 0);
    s.noteTab = r.integer("View", "NoteTab", 1);

    s.memo = r.integer("Memo", "Memo", 1);
    s.mtUmu = r.boolean("Memo", "MTUmu", true);
    s.mTitle = r.string("Memo", "MTitle", "");

    s.todo = r.integer("ToDo", "Todo", 1);
    s.tNoIcon = r.integer("ToDo", "TNoIcon", 1);
    s.warnTerm = r.integer("ToDo", "WarnTerm", 3);
    s.setIcon = decodeBinaryFlags(r.string("ToDo", "SetIcon", "000"));
    s.tNoItem = decodeBinaryFlags(r.string("ToDo", "TNoItem", "1011000"));
    s.tOkItem = decodeBinaryFlags(r.string("ToDo", "TOkItem", "1011000"));
    s.toDoTab = r.integer("ToDo", "ToDoTab", 1);

    const SoundSettings sound = ReadSoundSettings(ini);
    s.alarm = sound.alarm;
    s.alarmTime = sound.alarmTime;
    s.alarmWav = r.string("Sound", "AlarmWav", "");
    s.signal = r.integer("Sound", "Signal", 0);
    s.signalMode = r.integer("Sound", "SignalMode", 0);
    s.signalWav = r.string("Sound", "SignalWav", "");

    s.clean = r.integer("Clean", "Clean", 0);
    s.cleanTerm = r.integer("Clean", "CleanTerm", 12);

    s.clock = r.integer("Clock", "Clock", 1);
    s.clockType = r.integer("Clock", "Type", 0);
    {
        std::string value = r.string("Clock", "Font", kReaderClockFont);
        if (text::isBlank(value))
            value = kReaderClockFont;
        s.clockFont = *decodeFont(value, FontSpec{"", 14, FontStyle::Regular, 0}, false, true);
    }
    s.clockStyle = r.string("Clock", "Style", "yyyy-mm-dd hh:mm:ss");
    s.clockLeft = r.integer("Clock", "Left", 0);
    s.clsec = r.integer("Clock", "Clsec", 1);
    s.clhour = r.integer("Clock", "Clhour", 1);

    for (int i = 0; i < FontItemCount; ++i) {
        std::string value = r.string("Font", kFontKeys[i], kReaderFont);
        // An empty value is read like a missing key rather than as a font without a name.
        if (text::isBlank(value))
            value = kReaderFont;
        const FontFallback& fb = kFontFallbacks[static_cast<std::size_t>(i)];
        FontSpec fallback{"", fb.size, static_cast<FontStyle>(fb.style < 0 ? 0 : fb.style), 0};
        std::optional<FontSpec> font = decodeFont(value, fallback, fb.style < 0, false);
        if (!font)
            return SettingsLoadResult{false, std::string("[Font] ") + kFontKeys[i] + " needs a style"};
        s.fonts[static_cast<std::size_t>(i)] = *font;
    }

    for (int i = 0; i < ColorItemCount; ++i) {
        ColorPair fallback = defaultColor(i);
        std::string value = r.string("Color", kColorKeys[i], "");
        s.colors[static_cast<std::size_t>(i)] = decodeColor(value, fallback);
    }
    return {};
}

std::vector<DialogKey> dialogKeys(const std::string& programFolderValue, int todayYear)
{
    auto sj = [](const char* utf8) { return sjis::fromUtf8Lossy(utf8); };
    std::vector<DialogKey> keys = {
        {"Kalendra", "Ver", kProgramVersion},
        {"Kalendra", "RelativePath", "0"},
        {"Kalendra", "DataPath", programFolderValue},
        {"Kalendra", "MemoPath", programFolderValue},
        {"Kalendra", "TodoPath", programFolderValue},
        {"Kalendra", "NotePath", programFolderValue},
        {"Window", "Title", "Kalendra"},
        {"Window", "Now", std::to_string(todayYear)},
        {"Window", "PosMode", "2"},
        {"Window", "Top", "", true},
        {"Window", "Left", "", true},
        {"Window", "TaskTray", "0"},
        {"Window", "TaskBar", "0"},
        {"Window", "StayOnTop", "0"},
        {"Mini", "PosMode", "2"},
        {"Mini", "Trans", "0"},
        {"Mini", "TransValue", "120"},
        {"Mini", "SchLine", "0"},
        {"Mini", "StatusBar", "1"},
        {"View", "Passwd", "0"},
        {"View", "Passwd2", "0"},
        {"View", "CloseTray", "0"},
        {"View", "StrWeek", "0"},
        {"View", "DateJap", "1"},
        {"View", "OtherMon", "1"},
        {"View", "MonWeek", "6"},
        {"View", "SchView", "111110"},
        {"View", "AutoIme", "1"},
        {"View", "ScrUd", "0"},
        {"View", "UdTime", "3"},
        {"View", "CalView", "111111000"},
        {"View", "Rikuyo", "111111"},
        {"View", "WeekView", "111111101"},
        {"View", "NotePas", "0"},
        {"View", "NoteTab", "1"},
        {"Memo", "Memo", "1"},
        {"Memo", "MTUmu", "1"},
        {"Memo", "MTitle", sj("yyyy/m/d \"のメモ\"")},
        {"ToDo", "Todo", "1"},
        {"ToDo", "TNoIcon", "1"},
        {"ToDo", "WarnTerm", "3"},
        {"ToDo", "SetIcon", "0000"},
        {"ToDo", "TNoItem", "1101000"},
        {"ToDo", "TOkItem", "1001001"},
        {"ToDo", "ToDoTab", "1"},
        {"Sound", "Alarm", "0"},
        {"Sound", "AlarmTime", "0"},
        {"Sound", "AlarmWav", ""},
        {"Sound", "Signal", "0"},
        {"Sound", "SignalMode", "1"},
        {"Sound", "SignalWav", ""},
        {"Clean", "Clean", "0"},
        {"Clean", "CleanTerm", "12"},
        {"Clock", "Type", "0"},
        {"Clock", "Font", sj("\"ＭＳ ゴシック\",11,0,000000")},
        {"Clock", "Style", sj("yyyy\"年\"m\"月\"d\"日(\"aaa\") \"hh\":\"mm\":\"ss")},
        {"Clock", "Left", "0"},
        {"Clock", "Clsec", "1"},
        {"Clock", "Clhour", "0"},
    };
    for (int i = 0; i < FontItemCount; ++i)
        keys.push_back({"Font", kFontKeys[i], sj(kDialogFonts[i])});
    for (int i = 0; i < ColorItemCount; ++i)
        keys.push_back({"Color", kColorKeys[i], encodeColor(defaultColor(i), colorHasBackground(i))});
    return keys;
}

void writeDialogKeys(IniFile& ini, const std::string& programFolderValue, int todayYear)
{
    for (const DialogKey& k : dialogKeys(programFolderValue, todayYear)) {
        std::string key = k.key;
        bool forced = key == "Ver" || key == "Now";
        std::optional<std::string> stored = ini.value(k.section, k.key);
        if (forced) {
            ini.writeString(k.section, k.key, k.defaultValue);
        } else if (stored && !(std::string(k.section) == "Font" && text::isBlank(*stored))) {
            ini.writeString(k.section, k.key, *stored);
        } else if (!k.skipWhenMissing) {
            ini.writeString(k.section, k.key, k.defaultValue);
        }
    }
}

} // namespace kal
