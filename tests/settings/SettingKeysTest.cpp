// Every key of the settings file with its reader default and the dialog's default, written out
// here: a file without the key reads exactly as a file that states the default.
#include "settings/SettingKeys.h"
#include "settings/SetupSettings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

using namespace kal;
using kal::test::sj;

namespace {

constexpr const char* kProgramFolder = "/p/";

// Every key with its reader default, a section a line: the first item names the section.
// clang-format off
const char* const kReaderDefaults[] = {
    "Kalendra|Ver=0.00|RelativePath=0|DataPath=|MemoPath=|TodoPath=|NotePath=",
    "Window|Title=Kalendra|Now=2001|PosMode=2|Top=1|Left=1|TaskTray=0|TaskBar=0|StayOnTop=0|Height=571|Width=799",
    "Window|PnlWidth=320|GridHeight=343|SchHeight=120|MemoHeight=120|PanelMode=0|GridMode=0|SmallMode=0|ToolBar=1",
    "Window|StatusBar=1|SchWidth=120|PlcWidth=100|CatWidth=100|TNoWidth=144|TOkWidth=144|NPrWidth=48|OPrWidth=48",
    "Mini|PosMode=3|Trans=0|TransValue=120|SchLine=0|StatusBar=0|Height=176|Width=164|Top=1|Left=1",
    "ToDo|Todo=1|TNoIcon=1|WarnTerm=3|SetIcon=000|TNoItem=1011000|TOkItem=1011000|ToDoTab=1",
    "Sound|Alarm=0|AlarmTime=0|AlarmWav=|Signal=0|SignalMode=0|SignalWav=",
    "View|Passwd=0|Passwd2=0|CloseTray=0|StrWeek=0|DateJap=1|OtherMon=1|MonWeek=6|SchView=111100|AutoIme=1|ScrUd=1",
    "View|UdTime=3|CalView=111111100|Rikuyo=111111|WeekView=111111111|NotePas=0|NoteTab=1|Catchk=0|Note=1",
    "Memo|Memo=1|MTUmu=1|MTitle=",
    "Clock|Type=0|Font=\"MS UI Gothic\",11,0,000000|Style=yyyy-mm-dd hh:mm:ss|Left=0|Clsec=1|Clhour=1|Clock=1",
    "Clean|Clean=0|CleanTerm=12",
    "Font|Day=\"MS UI Gothic\",9,0|Sch=\"MS UI Gothic\",9,0|Week=\"MS UI Gothic\",9,0|Memo=\"MS UI Gothic\",9,0",
    "Font|Note=\"MS UI Gothic\",9,0|Mini=\"MS UI Gothic\",9,0",
    "Color|Cw00=00000000 16711680|Cw01=00000000 16777215|Cw02=16711680 16777184|Cw03=00000255 14733566",
    "Color|Cw04=00000255 14733566|Cw05=00000255 14733566|Cw06=16711935|Cw07=08421504 14474460|Cw08=00000000 15658671",
    "Color|Cw09=12615808|Cw10=00000000 15136253|Cw11=00000000 16777184|Cw12=00000000 14804223|Cw13=00000000 13826810",
    "Color|Cw14=08421504|Cw15=16711680|Cw16=08421504|Cw17=00032768 16443110|Cw18=08453888 00000000|Cw19=00000255",
    "Color|Cw20=16776960",
    "Koyomi|Kyureki=0|Sekki=0|Zassetsu=0",
};
// The dialog's defaults where they differ.
const char* const kDialogDefaults[] = {
    "Kalendra|Ver=3.01|DataPath=/p/|MemoPath=/p/|TodoPath=/p/|NotePath=/p/",
    "Mini|PosMode=2|StatusBar=1",
    "ToDo|SetIcon=0000|TNoItem=1101000|TOkItem=1001001",
    "Sound|SignalMode=1",
    "View|SchView=111110|ScrUd=0|CalView=111111000|WeekView=111111101",
    "Memo|MTitle=yyyy/m/d \"のメモ\"",
    "Clock|Font=\"ＭＳ ゴシック\",11,0,000000|Style=yyyy\"年\"m\"月\"d\"日(\"aaa\") \"hh\":\"mm\":\"ss|Clhour=0",
    "Font|Day=Arial,11,2|Mini=\"Times New Roman\",9,0",
};
// clang-format on

// "section/key" to the lines of a file stating its default (Shift-JIS).
using Stated = std::map<std::string, std::vector<std::string>>;

template <std::size_t N> Stated stated(const char* const (&sections)[N])
{
    Stated out;
    for (const char* line : sections) {
        std::stringstream items(line);
        std::string section, item;
        std::getline(items, section, '|');
        while (std::getline(items, item, '|'))
            out[section + "/" + item.substr(0, item.find('='))] = {"[" + section + "]", sj(item)};
    }
    return out;
}

AppSettings read(const std::vector<std::string>& lines)
{
    AppSettings s;
    EXPECT_TRUE(readSettings(IniFile("/p/Kalendra.ini", lines), kProgramFolder, s).ok);
    return s;
}

} // namespace

TEST(SettingKeys, EveryKeyIsListedAndAMissingOneReadsAsItsDefaultForTheWindowAndTheDialog)
{
    const Stated reader = stated(kReaderDefaults);
    Stated dialogs = stated(kDialogDefaults);
    std::set<std::string> listed, table;
    for (const auto& [key, lines] : reader)
        listed.insert(key);
    for (const SettingKey& key : settingKeys())
        table.insert(std::string(key.section) + "/" + key.name);
    EXPECT_EQ(table, listed);
    for (const auto& [key, lines] : dialogs)
        EXPECT_TRUE(listed.count(key)) << key;

    dialogs.insert(reader.begin(), reader.end()); // the reader's where the dialog's is the same
    const AppSettings missing = read({});
    const AppSettings dialogMissing = readSetupSettings(IniFile("/p/Kalendra.ini", {}), kProgramFolder);
    for (const auto& [key, lines] : reader) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(read(lines) == missing);
        EXPECT_TRUE(readSetupSettings(IniFile("/p/Kalendra.ini", dialogs.at(key)), kProgramFolder) == dialogMissing);
    }
}
