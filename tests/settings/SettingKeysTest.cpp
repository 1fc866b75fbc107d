// Every key of the settings file with its reader default and the dialog's default, written out
// here: a file without the key reads exactly as a file that states the default.
#include "settings/SettingKeys.h"
#include "settings/SetupSettings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>

using namespace kal;
using kal::test::sj;

namespace {

constexpr const char* kProgramFolder = "/p/";

struct Default {
    const char* section;
    const char* key;
    const char* reader;
    const char* dialog = nullptr; // the reader's
};

// clang-format off
const Default kDefaults[] = {
    {"Kalendra", "Ver", "0.00", "3.01"}, {"Kalendra", "RelativePath", "0"}, {"Kalendra", "DataPath", "", kProgramFolder},
    {"Kalendra", "MemoPath", "", kProgramFolder}, {"Kalendra", "TodoPath", "", kProgramFolder},
    {"Kalendra", "NotePath", "", kProgramFolder},
    {"Window", "Title", "Kalendra"}, {"Window", "Now", "2001"}, {"Window", "PosMode", "2"}, {"Window", "Top", "1"},
    {"Window", "Left", "1"}, {"Window", "TaskTray", "0"}, {"Window", "TaskBar", "0"}, {"Window", "StayOnTop", "0"},
    {"Window", "Height", "571"}, {"Window", "Width", "799"}, {"Window", "PnlWidth", "320"},
    {"Window", "GridHeight", "343"}, {"Window", "SchHeight", "120"}, {"Window", "MemoHeight", "120"},
    {"Window", "PanelMode", "0"}, {"Window", "GridMode", "0"}, {"Window", "SmallMode", "0"}, {"Window", "ToolBar", "1"},
    {"Window", "StatusBar", "1"}, {"Window", "SchWidth", "120"}, {"Window", "PlcWidth", "100"},
    {"Window", "CatWidth", "100"}, {"Window", "TNoWidth", "144"}, {"Window", "TOkWidth", "144"},
    {"Window", "NPrWidth", "48"}, {"Window", "OPrWidth", "48"},
    {"Mini", "PosMode", "3", "2"}, {"Mini", "Trans", "0"}, {"Mini", "TransValue", "120"}, {"Mini", "SchLine", "0"},
    {"Mini", "StatusBar", "0", "1"}, {"Mini", "Height", "176"}, {"Mini", "Width", "164"}, {"Mini", "Top", "1"},
    {"Mini", "Left", "1"},
    {"ToDo", "Todo", "1"}, {"ToDo", "TNoIcon", "1"}, {"ToDo", "WarnTerm", "3"}, {"ToDo", "SetIcon", "000", "0000"},
    {"ToDo", "TNoItem", "1011000", "1101000"}, {"ToDo", "TOkItem", "1011000", "1001001"}, {"ToDo", "ToDoTab", "1"},
    {"Sound", "Alarm", "0"}, {"Sound", "AlarmTime", "0"}, {"Sound", "AlarmWav", ""}, {"Sound", "Signal", "0"},
    {"Sound", "SignalMode", "0", "1"}, {"Sound", "SignalWav", ""},
    {"View", "Passwd", "0"}, {"View", "Passwd2", "0"}, {"View", "CloseTray", "0"}, {"View", "StrWeek", "0"},
    {"View", "DateJap", "1"}, {"View", "OtherMon", "1"}, {"View", "MonWeek", "6"},
    {"View", "SchView", "111100", "111110"}, {"View", "AutoIme", "1"}, {"View", "ScrUd", "1", "0"},
    {"View", "UdTime", "3"}, {"View", "CalView", "111111100", "111111000"}, {"View", "Rikuyo", "111111"},
    {"View", "WeekView", "111111111", "111111101"}, {"View", "NotePas", "0"}, {"View", "NoteTab", "1"},
    {"View", "Catchk", "0"}, {"View", "Note", "1"},
    {"Memo", "Memo", "1"}, {"Memo", "MTUmu", "1"}, {"Memo", "MTitle", "", "yyyy/m/d \"のメモ\""},
    {"Clock", "Type", "0"}, {"Clock", "Font", "\"MS UI Gothic\",11,0,000000", "\"ＭＳ ゴシック\",11,0,000000"},
    {"Clock", "Style", "yyyy-mm-dd hh:mm:ss", "yyyy\"年\"m\"月\"d\"日(\"aaa\") \"hh\":\"mm\":\"ss"},
    {"Clock", "Left", "0"}, {"Clock", "Clsec", "1"}, {"Clock", "Clhour", "1", "0"}, {"Clock", "Clock", "1"},
    {"Clean", "Clean", "0"}, {"Clean", "CleanTerm", "12"},
    {"Font", "Day", "\"MS UI Gothic\",9,0", "Arial,11,2"}, {"Font", "Sch", "\"MS UI Gothic\",9,0"},
    {"Font", "Week", "\"MS UI Gothic\",9,0"}, {"Font", "Memo", "\"MS UI Gothic\",9,0"},
    {"Font", "Note", "\"MS UI Gothic\",9,0"}, {"Font", "Mini", "\"MS UI Gothic\",9,0", "\"Times New Roman\",9,0"},
    {"Color", "Cw00", "00000000 16711680"}, {"Color", "Cw01", "00000000 16777215"},
    {"Color", "Cw02", "16711680 16777184"}, {"Color", "Cw03", "00000255 14733566"},
    {"Color", "Cw04", "00000255 14733566"}, {"Color", "Cw05", "00000255 14733566"}, {"Color", "Cw06", "16711935"},
    {"Color", "Cw07", "08421504 14474460"}, {"Color", "Cw08", "00000000 15658671"}, {"Color", "Cw09", "12615808"},
    {"Color", "Cw10", "00000000 15136253"}, {"Color", "Cw11", "00000000 16777184"},
    {"Color", "Cw12", "00000000 14804223"}, {"Color", "Cw13", "00000000 13826810"}, {"Color", "Cw14", "08421504"},
    {"Color", "Cw15", "16711680"}, {"Color", "Cw16", "08421504"}, {"Color", "Cw17", "00032768 16443110"},
    {"Color", "Cw18", "08453888 00000000"}, {"Color", "Cw19", "00000255"}, {"Color", "Cw20", "16776960"},
    {"Koyomi", "Kyureki", "0"}, {"Koyomi", "Sekki", "0"}, {"Koyomi", "Zassetsu", "0"},
};
// clang-format on

std::vector<std::string> stating(const Default& d, const char* value)
{
    return {std::string("[") + d.section + "]", std::string(d.key) + "=" + sj(value)};
}

AppSettings read(const std::vector<std::string>& lines)
{
    AppSettings s;
    EXPECT_TRUE(readSettings(IniFile("/p/Kalendra.ini", lines), kProgramFolder, s).ok);
    return s;
}

AppSettings dialog(const std::vector<std::string>& lines)
{
    return readSetupSettings(IniFile("/p/Kalendra.ini", lines), kProgramFolder);
}

} // namespace

TEST(SettingKeys, AMissingKeyReadsAsItsStatedDefaultForTheWindowAndTheDialog)
{
    const AppSettings missing = read({});
    const AppSettings dialogMissing = dialog({});
    for (const Default& d : kDefaults) {
        SCOPED_TRACE(std::string(d.section) + "/" + d.key);
        EXPECT_TRUE(read(stating(d, d.reader)) == missing);
        EXPECT_TRUE(dialog(stating(d, d.dialog ? d.dialog : d.reader)) == dialogMissing);
    }
}

TEST(SettingKeys, EveryKeyOfTheFileHasItsDefaultsListed)
{
    std::set<std::string> listed, table;
    for (const Default& d : kDefaults)
        listed.insert(std::string(d.section) + "/" + d.key);
    for (const SettingKey& key : settingKeys())
        table.insert(std::string(key.section) + "/" + key.name);
    EXPECT_EQ(table, listed);
}
