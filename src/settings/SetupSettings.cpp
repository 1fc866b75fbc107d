#include "settings/SetupSettings.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "settings/SettingKeys.h"

#include <filesystem>

namespace kal {

AppSettings dialogDefaults(const std::string& programFolderValue)
{
    AppSettings s;
    const IniFile none("", {});
    for (const SettingKey& key : settingKeys()) {
        const bool folder = std::holds_alternative<FolderField>(key.field);
        if (key.dialogDefault || folder)
            readSettingKey(none, key, folder ? programFolderValue : *key.dialogDefault, nullptr, s);
    }
    return s;
}

std::vector<DialogKey> dialogValues(const AppSettings& s, int todayYear, const std::optional<SetupPosition>& position)
{
    AppSettings shown = s;
    shown.ver = kProgramVersion;
    shown.now = todayYear;
    const bool writePosition = position && position->onScreen();
    if (writePosition) {
        shown.top = position->top;
        shown.left = position->left;
    }
    std::vector<DialogKey> keys;
    for (const SettingKey& key : settingKeys()) {
        if (key.dialog == DialogWrite::None || key.dialog == DialogWrite::Almanac)
            continue;
        const bool place = key.dialog == DialogWrite::Position;
        keys.push_back({key.section, key.name, place && !writePosition ? "" : settingText(key, shown), place, &key});
    }
    return keys;
}

std::vector<DialogKey> dialogKeys(const std::string& programFolderValue, int todayYear)
{
    return dialogValues(dialogDefaults(programFolderValue), todayYear, std::nullopt);
}

void writeDialogKeys(IniFile& ini, const std::string& programFolderValue, int todayYear)
{
    for (const DialogKey& k : dialogKeys(programFolderValue, todayYear)) {
        std::optional<std::string> stored = ini.value(k.section, k.key);
        // The dialog keeps its own font for one stored empty.
        if (stored && std::holds_alternative<PanelFontField>(k.setting->field) && text::isBlank(*stored))
            stored.reset();
        if (k.setting->dialog == DialogWrite::Current || !stored) {
            if (!k.skipWhenMissing)
                ini.writeString(k.section, k.key, k.value);
        } else {
            ini.writeString(k.section, k.key, *stored);
        }
    }
}

AppSettings readSetupSettings(const IniFile& ini, const std::string& programFolder)
{
    // A program folder whose name Shift-JIS cannot hold is the empty value, which names it too.
    const std::string folderValue = sjis::fromUtf8(files::withSeparator(programFolder)).value_or("");
    IniFile filled(ini.path(), ini.lines());
    writeDialogKeys(filled, folderValue, 2001);
    AppSettings s;
    if (!readSettings(filled, programFolder, s).ok)
        s = dialogDefaults(folderValue);
    return s;
}

void writeSetupSettings(IniFile& ini, const AppSettings& s, int todayYear, const std::optional<SetupPosition>& position)
{
    for (const DialogKey& k : dialogValues(s, todayYear, position)) {
        if (k.skipWhenMissing && k.value.empty())
            continue;
        ini.writeString(k.section, k.key, k.value);
    }
    WriteAlmanacFlags(ini, s.almanac);
}

int transValueFromSlider(int position)
{
    return 240 - 12 * std::clamp(position, 0, kTransSliderMax);
}

int sliderFromTransValue(int value)
{
    return std::clamp(kTransSliderMax - value / 12, 0, kTransSliderMax);
}

std::string transPercentText(int position)
{
    return std::to_string(position * 5) + "%";
}

namespace {
constexpr std::array<int, 5> kCleanTerms = {1, 2, 3, 6, 12};
}

int cleanTermFromIndex(int index)
{
    return index >= 0 && index < static_cast<int>(kCleanTerms.size()) ? kCleanTerms[static_cast<std::size_t>(index)]
                                                                      : 12;
}

int cleanIndexFromTerm(int term)
{
    for (std::size_t i = 0; i < kCleanTerms.size(); ++i)
        if (kCleanTerms[i] == term)
            return static_cast<int>(i);
    return static_cast<int>(kCleanTerms.size()) - 1;
}

std::string relativeFolderText(const std::string& folder, const std::string& programFolder)
{
    namespace fs = std::filesystem;
    const std::string absolute = absoluteFolderText(folder, programFolder);
    std::string relative = fs::path(absolute)
                               .lexically_normal()
                               .lexically_relative(fs::path(files::withSeparator(programFolder)).lexically_normal())
                               .generic_string();
    // Another root (no relative form) keeps the absolute value.
    if (relative.empty())
        return absolute;
    if (relative == ".")
        return "";
    return files::withSeparator(relative);
}

std::string absoluteFolderText(const std::string& value, const std::string& programFolder)
{
    namespace fs = std::filesystem;
    if (!value.empty() && value[0] == '/')
        return files::withSeparator(value);
    std::string joined = fs::path(files::withSeparator(programFolder) + value).lexically_normal().generic_string();
    return files::withSeparator(joined);
}

std::optional<SetupProblem> checkSetup(const SetupCheckInput& input,
                                       const std::function<bool(const std::string&)>& folderExists)
{
    if (input.todo == 0 && input.memo != 1)
        return SetupProblem{SetupPage::View, SetupField::Todo, "エラー",
                            "メモ欄が常に表示でなければToDoリストは非表示にできません。"};
    if (input.alarm == 2 && input.alarmTime == 0)
        return SetupProblem{SetupPage::Alarm, SetupField::AlarmTime, "エラー",
                            "0分にアラームを設定した場合、ジャストタイムは設定できません。"};
    for (const std::string& folder : input.folders) {
        if (!folderExists(absoluteFolderText(folder, input.programFolder)))
            return SetupProblem{SetupPage::Folder, SetupField::Folders, "入力エラー",
                                "指定したフォルダは存在しません。"};
    }
    return std::nullopt;
}

} // namespace kal
