#include "settings/AppSettings.h"

#include "platform/ByteText.h"
#include "platform/CommaText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "settings/SettingKeys.h"

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
    const IniFile none("", {});
    for (const SettingKey& key : settingKeys())
        readSettingKey(none, key, key.readDefault, nullptr, *this);
}

std::string SettingsPath(const std::string& programFolder)
{
    return files::withSeparator(programFolder) + kSettingsFileName;
}

int ReadCatchk(const IniFile& ini)
{
    return readSetting(ini, &AppSettings::catchk);
}

void WriteCatchk(IniFile& ini, int mode)
{
    writeSetting(ini, &AppSettings::catchk, mode);
}

SoundSettings ReadSoundSettings(const IniFile& ini)
{
    return SoundSettings{readSetting(ini, &AppSettings::alarm), readSetting(ini, &AppSettings::alarmTime)};
}

namespace {

std::vector<const SettingKey*> almanacKeys()
{
    std::vector<const SettingKey*> keys;
    for (const SettingKey& key : settingKeys())
        if (key.dialog == DialogWrite::Almanac)
            keys.push_back(&key);
    return keys;
}

} // namespace

AlmanacFlags ReadAlmanacFlags(const IniFile& ini)
{
    AppSettings s;
    for (const SettingKey* key : almanacKeys())
        readSettingKey(ini, *key, key->readDefault, nullptr, s);
    return s.almanac;
}

void WriteAlmanacFlags(IniFile& ini, const AlmanacFlags& flags)
{
    const std::vector<const SettingKey*> keys = almanacKeys();
    const bool stored = std::any_of(keys.begin(), keys.end(),
                                    [&ini](const SettingKey* key) { return ini.hasKey(key->section, key->name); });
    if (!stored && flags == AlmanacFlags{})
        return;
    AppSettings s;
    s.almanac = flags;
    for (const SettingKey* key : keys)
        ini.writeString(key->section, key->name, settingText(*key, s));
}

const char* colorKey(int item)
{
    return kColorKeys[item];
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

std::array<FontSpec, FontItemCount> storedPanelFonts(const IniFile& ini)
{
    AppSettings stored;
    if (!ini.readable())
        return stored.fonts;
    for (const SettingKey& key : settingKeys())
        if (std::holds_alternative<PanelFontField>(key.field) &&
            readSettingKey(ini, key, key.readDefault, nullptr, stored))
            return AppSettings().fonts;
    return stored.fonts;
}

SettingsLoadResult readSettings(const IniFile& ini, const std::string& programFolder, AppSettings& s)
{
    // Defaults in place of settings that exist would skip the start-up password.
    if (!ini.readable())
        return SettingsLoadResult{false, ini.unreadableReason()};
    for (const SettingKey& key : settingKeys())
        if (std::optional<std::string> problem = readSettingKey(ini, key, key.readDefault, &programFolder, s))
            return SettingsLoadResult{false, "[" + std::string(key.section) + "] " + key.name + " " + *problem};
    return {};
}

} // namespace kal
