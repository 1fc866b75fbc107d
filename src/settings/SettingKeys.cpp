#include "settings/SettingKeys.h"

#include "platform/ByteText.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "settings/SetupSettings.h"

#include <stdexcept>

namespace kal {
namespace {

using S = AppSettings;
constexpr DialogWrite kExit = DialogWrite::None;

IntegerField number(int S::*field, int (*read)(int) = nullptr, int (*written)(int) = nullptr)
{
    return IntegerField{field, IntegerForm::Number, read, written};
}

IntegerField onOff(int S::*field)
{
    return IntegerField{field, IntegerForm::Switch, nullptr, nullptr};
}

int weekRows(int rows)
{
    return rows == 5 ? 5 : 6;
}

int writtenSignalMode(int mode)
{
    return mode >= 1 && mode <= 3 ? mode : 1;
}

int writtenCleanTerm(int term)
{
    return cleanTermFromIndex(cleanIndexFromTerm(term));
}

constexpr const char* kPanelFont = "\"MS UI Gothic\",9,0";

std::vector<SettingKey> makeKeys()
{
    std::vector<SettingKey> keys = {
        {"Kalendra", "Ver", TextField{&S::ver}, "0.00", DialogWrite::Current, kProgramVersion},
        {"Kalendra", "RelativePath", onOff(&S::relativePath), "0"},
        {"Kalendra", "DataPath", FolderField{&S::dataPathValue, &S::dataPath, false}, ""},
        {"Kalendra", "MemoPath", FolderField{&S::memoPathValue, &S::memoPath, true}, ""},
        {"Kalendra", "TodoPath", FolderField{&S::todoPathValue, &S::todoPath, true}, ""},
        {"Kalendra", "NotePath", FolderField{&S::notePathValue, &S::notePath, true}, ""},

        {"Window", "Title", TextField{&S::title}, "Kalendra"},
        {"Window", "Now", number(&S::now), "2001", DialogWrite::Current},
        {"Window", "PosMode", number(&S::posMode), "2"},
        {"Window", "Top", number(&S::top), "1", DialogWrite::Position},
        {"Window", "Left", number(&S::left), "1", DialogWrite::Position},
        {"Window", "TaskTray", onOff(&S::taskTray), "0"},
        {"Window", "TaskBar", onOff(&S::taskBar), "0"},
        {"Window", "StayOnTop", onOff(&S::stayOnTop), "0"},
        {"Window", "Height", number(&S::height), "571", kExit},
        {"Window", "Width", number(&S::width), "799", kExit},
        {"Window", "PnlWidth", number(&S::pnlWidth), "320", kExit},
        {"Window", "GridHeight", number(&S::gridHeight), "343", kExit},
        {"Window", "SchHeight", number(&S::schHeight), "120", kExit},
        {"Window", "MemoHeight", number(&S::memoHeight), "120", kExit},
        {"Window", "PanelMode", number(&S::panelMode), "0", kExit},
        {"Window", "GridMode", BoolField{&S::gridMode}, "0", kExit},
        {"Window", "SmallMode", BoolField{&S::smallMode}, "0", kExit},
        {"Window", "ToolBar", BoolField{&S::toolBar}, "1", kExit},
        {"Window", "StatusBar", BoolField{&S::statusBar}, "1", kExit},
        {"Window", "SchWidth", number(&S::schWidth), "120", kExit},
        {"Window", "PlcWidth", number(&S::plcWidth), "100", kExit},
        {"Window", "CatWidth", number(&S::catWidth), "100", kExit},
        {"Window", "TNoWidth", number(&S::tNoWidth), "144", kExit},
        {"Window", "TOkWidth", number(&S::tOkWidth), "144", kExit},
        {"Window", "NPrWidth", number(&S::nPrWidth), "48", kExit},
        {"Window", "OPrWidth", number(&S::oPrWidth), "48", kExit},

        {"Mini", "PosMode", number(&S::miniPosMode), "3", DialogWrite::Value, "2"},
        {"Mini", "Trans", onOff(&S::trans), "0"},
        {"Mini", "TransValue", number(&S::transValue), "120"},
        {"Mini", "SchLine", onOff(&S::schLine), "0"},
        {"Mini", "StatusBar", onOff(&S::miniStatusBar), "0", DialogWrite::Value, "1"},
        {"Mini", "Height", number(&S::miniHeight), "176", kExit},
        {"Mini", "Width", number(&S::miniWidth), "164", kExit},
        {"Mini", "Top", number(&S::miniTop), "1", kExit},
        {"Mini", "Left", number(&S::miniLeft), "1", kExit},

        {"ToDo", "Todo", onOff(&S::todo), "1"},
        {"ToDo", "TNoIcon", onOff(&S::tNoIcon), "1"},
        {"ToDo", "WarnTerm", number(&S::warnTerm), "3"},
        {"ToDo", "SetIcon", FlagField<TodoIconFlag>{&S::setIcon, FlagDecoding::Binary}, "000", DialogWrite::Value,
         "0000"},
        {"ToDo", "TNoItem", FlagField<TodoItemFlag>{&S::tNoItem, FlagDecoding::Binary}, "1011000", DialogWrite::Value,
         "1101000"},
        {"ToDo", "TOkItem", FlagField<TodoItemFlag>{&S::tOkItem, FlagDecoding::Binary}, "1011000", DialogWrite::Value,
         "1001001"},
        {"ToDo", "ToDoTab", onOff(&S::toDoTab), "1"},

        {"Sound", "Alarm", number(&S::alarm), "0"},
        {"Sound", "AlarmTime", number(&S::alarmTime), "0"},
        {"Sound", "AlarmWav", TextField{&S::alarmWav}, ""},
        {"Sound", "Signal", onOff(&S::signal), "0"},
        {"Sound", "SignalMode", number(&S::signalMode, nullptr, writtenSignalMode), "0", DialogWrite::Value, "1"},
        {"Sound", "SignalWav", TextField{&S::signalWav}, ""},

        {"View", "Passwd", onOff(&S::passwd), "0"},
        {"View", "Passwd2", onOff(&S::passwd2), "0"},
        {"View", "CloseTray", onOff(&S::closeTray), "0"},
        {"View", "StrWeek", onOff(&S::strWeek), "0"},
        {"View", "DateJap", onOff(&S::dateJap), "1"},
        {"View", "OtherMon", onOff(&S::otherMon), "1"},
        {"View", "MonWeek", number(&S::monWeek, weekRows, weekRows), "6"},
        {"View", "SchView", FlagField<SchViewFlag>{&S::schView, FlagDecoding::Binary}, "111100", DialogWrite::Value,
         "111110"},
        {"View", "AutoIme", onOff(&S::autoIme), "1"},
        {"View", "ScrUd", BoolField{&S::scrUd}, "1", DialogWrite::Value, "0"},
        {"View", "UdTime", number(&S::udTime), "3"},
        {"View", "CalView", FlagField<CalViewFlag>{&S::calView, FlagDecoding::DigitsOrZero}, "111111100",
         DialogWrite::Value, "111111000"},
        {"View", "Rikuyo", FlagField<RokuyoFlag>{&S::rikuyo, FlagDecoding::DigitsRequired}, "111111"},
        {"View", "WeekView", FlagField<WeekViewFlag>{&S::weekView, FlagDecoding::DigitsOrOne}, "111111111",
         DialogWrite::Value, "111111101"},
        {"View", "NotePas", onOff(&S::notePas), "0"},
        {"View", "NoteTab", onOff(&S::noteTab), "1"},
        {"View", "Catchk", number(&S::catchk), "0", DialogWrite::None},
        {"View", "Note", BoolField{&S::note}, "1", kExit},

        {"Memo", "Memo", number(&S::memo), "1"},
        {"Memo", "MTUmu", BoolField{&S::mtUmu}, "1"},
        {"Memo", "MTitle", TextField{&S::mTitle}, "", DialogWrite::Value, "yyyy/m/d \"のメモ\""},

        {"Clock", "Type", onOff(&S::clockType), "0"},
        {"Clock", "Font", ClockFontField{}, "\"MS UI Gothic\",11,0,000000", DialogWrite::Value,
         "\"ＭＳ ゴシック\",11,0,000000"},
        {"Clock", "Style", TextField{&S::clockStyle}, "yyyy-mm-dd hh:mm:ss", DialogWrite::Value,
         "yyyy\"年\"m\"月\"d\"日(\"aaa\") \"hh\":\"mm\":\"ss"},
        {"Clock", "Left", onOff(&S::clockLeft), "0"},
        {"Clock", "Clsec", onOff(&S::clsec), "1"},
        {"Clock", "Clhour", onOff(&S::clhour), "1", DialogWrite::Value, "0"},
        {"Clock", "Clock", number(&S::clock), "1", kExit},

        {"Clean", "Clean", onOff(&S::clean), "0"},
        {"Clean", "CleanTerm", number(&S::cleanTerm, nullptr, writtenCleanTerm), "12"},

        {"Font", "Day", PanelFontField{FontDay, 10, FontStyle::Bold}, kPanelFont, DialogWrite::Value, "Arial,11,2"},
        {"Font", "Sch", PanelFontField{FontSch, 9, FontStyle::Regular}, kPanelFont},
        {"Font", "Week", PanelFontField{FontWeek, 9, FontStyle::Regular}, kPanelFont},
        {"Font", "Memo", PanelFontField{FontMemo, 9, std::nullopt}, kPanelFont},
        {"Font", "Note", PanelFontField{FontNote, 9, FontStyle::Regular}, kPanelFont},
        {"Font", "Mini", PanelFontField{FontMini, 9, FontStyle::Regular}, kPanelFont, DialogWrite::Value,
         "\"Times New Roman\",9,0"},
    };
    for (int item = 0; item < ColorItemCount; ++item)
        keys.push_back(
            {"Color", colorKey(item), ColorField{item}, encodeColor(defaultColor(item), colorHasBackground(item))});
    keys.push_back({"Koyomi", "Kyureki", AlmanacField{&AlmanacFlags::oldDate}, "0", DialogWrite::Almanac});
    keys.push_back({"Koyomi", "Sekki", AlmanacField{&AlmanacFlags::solarTerm}, "0", DialogWrite::Almanac});
    keys.push_back({"Koyomi", "Zassetsu", AlmanacField{&AlmanacFlags::seasonalDays}, "0", DialogWrite::Almanac});
    for (SettingKey& key : keys) {
        key.readDefault = sjis::fromUtf8Lossy(key.readDefault);
        if (key.dialogDefault)
            key.dialogDefault = sjis::fromUtf8Lossy(*key.dialogDefault);
    }
    return keys;
}

int integerOf(const std::string& text)
{
    return parseProfileInteger(text).value_or(0);
}

int integerValue(const IniFile& ini, const SettingKey& key, const IntegerField& f, const std::string& fallback)
{
    const int value = ini.readInteger(key.section, key.name, integerOf(fallback));
    return f.read ? f.read(value) : value;
}

std::optional<Flags> decodeRequiredDigits(const std::string& text, std::size_t count)
{
    if (text.size() < count)
        return std::nullopt;
    Flags flags{};
    for (std::size_t i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        flags[i] = text[i] - '0';
    }
    return flags;
}

std::optional<Flags> decodeFlags(const std::string& text, FlagDecoding decoding, std::size_t count)
{
    switch (decoding) {
    case FlagDecoding::Binary:
        return decodeBinaryFlags(text);
    case FlagDecoding::DigitsOrZero:
        return decodeDigitFlags(text, 0);
    case FlagDecoding::DigitsOrOne:
        return decodeDigitFlags(text, 1);
    case FlagDecoding::DigitsRequired:
        break;
    }
    return decodeRequiredDigits(text, count);
}

// An empty font value reads like a missing key rather than as a font without a name.
std::string fontText(const IniFile& ini, const SettingKey& key, const std::string& fallback)
{
    const std::string value = ini.readString(key.section, key.name, fallback);
    return text::isBlank(value) ? fallback : value;
}

struct KeyReader {
    const IniFile& ini;
    const SettingKey& key;
    const std::string& fallback;
    const std::string* programFolder;
    AppSettings& s;

    using Problem = std::optional<std::string>;

    std::string text() const { return ini.readString(key.section, key.name, fallback); }
    bool boolean() const { return ini.readBool(key.section, key.name, integerOf(fallback) != 0); }

    Problem operator()(const IntegerField& f) const
    {
        s.*f.field = integerValue(ini, key, f, fallback);
        return {};
    }
    Problem operator()(const BoolField& f) const
    {
        s.*f.field = boolean();
        return {};
    }
    Problem operator()(const TextField& f) const
    {
        s.*f.field = text();
        return {};
    }
    Problem operator()(const FolderField& f) const
    {
        // Kept as stored, so that a folder name Shift-JIS cannot hold stays intact.
        s.*f.value = ini.readString(key.section, key.name, f.followsDataPath ? s.dataPathValue : fallback);
        if (programFolder)
            s.*f.path = resolveFolder(s.*f.value, *programFolder);
        return {};
    }
    template <class Name> Problem operator()(const FlagField<Name>& f) const
    {
        const std::optional<Flags> flags = decodeFlags(text(), f.decoding, NamedFlags<Name>::count);
        // Only the rokuyo flags are required, all six of them.
        if (!flags)
            return "needs six digits";
        s.*f.field = NamedFlags<Name>(*flags);
        return {};
    }
    Problem operator()(const PanelFontField& f) const
    {
        const FontSpec missing{"", f.size, f.style.value_or(FontStyle::Regular), 0};
        std::optional<FontSpec> font = decodeFont(fontText(ini, key, fallback), missing, !f.style, false);
        if (!font)
            return "needs a style";
        s.fonts[static_cast<std::size_t>(f.item)] = *font;
        return {};
    }
    Problem operator()(const ClockFontField&) const
    {
        s.clockFont = *decodeFont(fontText(ini, key, fallback), FontSpec{"", 14, FontStyle::Regular, 0}, false, true);
        return {};
    }
    Problem operator()(const ColorField& f) const
    {
        s.colors[static_cast<std::size_t>(f.item)] = decodeColor(text(), defaultColor(f.item));
        return {};
    }
    Problem operator()(const AlmanacField& f) const
    {
        s.almanac.*f.flag = boolean();
        return {};
    }
};

std::string integerText(const IntegerField& f, int value)
{
    if (f.written)
        value = f.written(value);
    if (f.form == IntegerForm::Switch)
        return value == 1 ? "1" : "0";
    return std::to_string(value);
}

struct KeyWriter {
    const AppSettings& s;

    std::string operator()(const IntegerField& f) const { return integerText(f, s.*f.field); }
    std::string operator()(const BoolField& f) const { return s.*f.field ? "1" : "0"; }
    std::string operator()(const TextField& f) const { return s.*f.field; }
    std::string operator()(const FolderField& f) const
    {
        const std::string& value = s.*f.value;
        return value.empty() || value.back() == '/' || value.back() == '\\' ? value : value + "/";
    }
    template <class Name> std::string operator()(const FlagField<Name>& f) const { return (s.*f.field).encoded(); }
    std::string operator()(const PanelFontField& f) const
    {
        return encodeFont(s.fonts[static_cast<std::size_t>(f.item)], false);
    }
    std::string operator()(const ClockFontField&) const { return encodeFont(s.clockFont, true); }
    std::string operator()(const ColorField& f) const
    {
        return encodeColor(s.colors[static_cast<std::size_t>(f.item)], colorHasBackground(f.item));
    }
    std::string operator()(const AlmanacField& f) const { return s.almanac.*f.flag ? "1" : "0"; }
};

template <class Field, class Member> const SettingKey& keyOf(Member member)
{
    for (const SettingKey& key : settingKeys())
        if (const Field* f = std::get_if<Field>(&key.field); f && f->field == member)
            return key;
    throw std::logic_error("a settings field without its key");
}

} // namespace

const std::vector<SettingKey>& settingKeys()
{
    static const std::vector<SettingKey> keys = makeKeys();
    return keys;
}

std::optional<std::string> readSettingKey(const IniFile& ini, const SettingKey& key, const std::string& fallback,
                                          const std::string* programFolder, AppSettings& settings)
{
    return std::visit(KeyReader{ini, key, fallback, programFolder, settings}, key.field);
}

std::string settingText(const SettingKey& key, const AppSettings& settings)
{
    return std::visit(KeyWriter{settings}, key.field);
}

const SettingKey& settingKey(int AppSettings::*field)
{
    return keyOf<IntegerField>(field);
}

const SettingKey& settingKey(bool AppSettings::*field)
{
    return keyOf<BoolField>(field);
}

int readSetting(const IniFile& ini, int AppSettings::*field)
{
    const SettingKey& key = settingKey(field);
    return integerValue(ini, key, std::get<IntegerField>(key.field), key.readDefault);
}

void writeSetting(IniFile& ini, int AppSettings::*field, int value)
{
    const SettingKey& key = settingKey(field);
    ini.writeString(key.section, key.name, integerText(std::get<IntegerField>(key.field), value));
}

void writeSetting(IniFile& ini, bool AppSettings::*field, bool value)
{
    const SettingKey& key = settingKey(field);
    ini.writeString(key.section, key.name, value ? "1" : "0");
}

} // namespace kal
