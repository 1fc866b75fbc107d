#include "settings/SetupSettings.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"

#include <filesystem>

namespace kal {
namespace {

std::string sj(const char* utf8)
{
    return sjis::fromUtf8Lossy(utf8);
}

std::string flag(int value)
{
    return value == 1 ? "1" : "0";
}

std::string number(int value)
{
    return std::to_string(value);
}

int signalModeToWrite(int mode)
{
    return mode >= 1 && mode <= 3 ? mode : 1;
}

} // namespace

AppSettings dialogDefaults(const std::string& programFolderValue)
{
    AppSettings s;
    s.ver = kProgramVersion;
    s.dataPathValue = s.memoPathValue = s.todoPathValue = s.notePathValue = programFolderValue;
    s.miniPosMode = 2;
    s.miniStatusBar = 1;
    s.schView = decodeBinaryFlags("111110");
    s.scrUd = false;
    s.calView = decodeDigitFlags("111111000", 0);
    s.weekView = decodeDigitFlags("111111101", 1);
    s.mTitle = sj("yyyy/m/d \"のメモ\"");
    s.setIcon = decodeBinaryFlags("0000");
    s.tNoItem = decodeBinaryFlags("1101000");
    s.tOkItem = decodeBinaryFlags("1001001");
    s.signalMode = 1;
    s.clockFont = FontSpec{"ＭＳ ゴシック", 11, FontStyle::Regular, 0};
    s.clockStyle = sj("yyyy\"年\"m\"月\"d\"日(\"aaa\") \"hh\":\"mm\":\"ss");
    s.clhour = 0;
    s.fonts[FontDay] = FontSpec{"Arial", 11, FontStyle::Bold, 0};
    s.fonts[FontMini] = FontSpec{"Times New Roman", 9, FontStyle::Regular, 0};
    return s;
}

std::string encodeFlags(const Flags& flags, int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += flag(flags[static_cast<std::size_t>(i)]);
    return out;
}

std::vector<DialogKey> dialogValues(const AppSettings& s, int todayYear, const std::optional<SetupPosition>& position)
{
    auto folder = [](const std::string& value) {
        return value.empty() || value.back() == '/' || value.back() == '\\' ? value : value + "/";
    };
    const bool writePosition = position && position->onScreen();
    std::vector<DialogKey> keys = {
        {"Kalendra", "Ver", kProgramVersion},
        {"Kalendra", "RelativePath", flag(s.relativePath)},
        {"Kalendra", "DataPath", folder(s.dataPathValue)},
        {"Kalendra", "MemoPath", folder(s.memoPathValue)},
        {"Kalendra", "TodoPath", folder(s.todoPathValue)},
        {"Kalendra", "NotePath", folder(s.notePathValue)},
        {"Window", "Title", s.title},
        {"Window", "Now", number(todayYear)},
        {"Window", "PosMode", number(s.posMode)},
        {"Window", "Top", writePosition ? number(position->top) : "", true},
        {"Window", "Left", writePosition ? number(position->left) : "", true},
        {"Window", "TaskTray", flag(s.taskTray)},
        {"Window", "TaskBar", flag(s.taskBar)},
        {"Window", "StayOnTop", flag(s.stayOnTop)},
        {"Mini", "PosMode", number(s.miniPosMode)},
        {"Mini", "Trans", flag(s.trans)},
        {"Mini", "TransValue", number(s.transValue)},
        {"Mini", "SchLine", flag(s.schLine)},
        {"Mini", "StatusBar", flag(s.miniStatusBar)},
        {"ToDo", "Todo", flag(s.todo)},
        {"ToDo", "TNoIcon", flag(s.tNoIcon)},
        {"ToDo", "WarnTerm", number(s.warnTerm)},
        {"ToDo", "SetIcon", encodeFlags(s.setIcon, 4)},
        {"ToDo", "TNoItem", encodeFlags(s.tNoItem, 7)},
        {"ToDo", "TOkItem", encodeFlags(s.tOkItem, 7)},
        {"ToDo", "ToDoTab", flag(s.toDoTab)},
        {"Sound", "Alarm", number(s.alarm)},
        {"Sound", "AlarmTime", number(s.alarmTime)},
        {"Sound", "AlarmWav", s.alarmWav},
        {"Sound", "Signal", flag(s.signal)},
        {"Sound", "SignalMode", number(signalModeToWrite(s.signalMode))},
        {"Sound", "SignalWav", s.signalWav},
        {"View", "Passwd", flag(s.passwd)},
        {"View", "Passwd2", flag(s.passwd2)},
        {"View", "CloseTray", flag(s.closeTray)},
        {"View", "StrWeek", flag(s.strWeek)},
        {"View", "DateJap", flag(s.dateJap)},
        {"View", "OtherMon", flag(s.otherMon)},
        {"View", "MonWeek", s.monWeek == 5 ? "5" : "6"},
        {"View", "SchView", encodeFlags(s.schView, 6)},
        {"View", "AutoIme", flag(s.autoIme)},
        {"View", "ScrUd", s.scrUd ? "1" : "0"},
        {"View", "UdTime", number(s.udTime)},
        {"View", "CalView", encodeFlags(s.calView, 9)},
        {"View", "Rikuyo", encodeFlags(s.rikuyo, 6)},
        {"View", "WeekView", encodeFlags(s.weekView, 9)},
        {"View", "NotePas", flag(s.notePas)},
        {"View", "NoteTab", flag(s.noteTab)},
        {"Memo", "Memo", number(s.memo)},
        {"Memo", "MTUmu", s.mtUmu ? "1" : "0"},
        {"Memo", "MTitle", s.mTitle},
        {"Clock", "Type", flag(s.clockType)},
        {"Clock", "Font", encodeFont(s.clockFont, true)},
        {"Clock", "Style", s.clockStyle},
        {"Clock", "Left", flag(s.clockLeft)},
        {"Clock", "Clsec", flag(s.clsec)},
        {"Clock", "Clhour", flag(s.clhour)},
        {"Clean", "Clean", flag(s.clean)},
        {"Clean", "CleanTerm", number(cleanTermFromIndex(cleanIndexFromTerm(s.cleanTerm)))},
    };
    for (int i = 0; i < FontItemCount; ++i)
        keys.push_back({"Font", fontKey(i), encodeFont(s.fonts[static_cast<std::size_t>(i)], false)});
    for (int i = 0; i < ColorItemCount; ++i)
        keys.push_back(
            {"Color", colorKey(i), encodeColor(s.colors[static_cast<std::size_t>(i)], colorHasBackground(i))});
    return keys;
}

std::vector<DialogKey> dialogKeys(const std::string& programFolderValue, int todayYear)
{
    return dialogValues(dialogDefaults(programFolderValue), todayYear, std::nullopt);
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
        if (k.skipWhenMissing && k.defaultValue.empty())
            continue;
        ini.writeString(k.section, k.key, k.defaultValue);
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
