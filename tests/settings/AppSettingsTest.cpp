#include "settings/AppSettings.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "settings/SetupSettings.h"
#include "support/OtherUser.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace kal;
using kal::test::OtherUser;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

SettingsLoadResult load(const TempFolder& dir, const std::string& content, AppSettings& settings)
{
    dir.write("Kalendra.ini", content);
    IniFile ini(dir.file("Kalendra.ini"));
    ini.load();
    return readSettings(ini, dir.path(), settings);
}

} // namespace

TEST(AppSettings, OnlyTheVersionGivesEveryReaderDefault)
{
    TempFolder dir;
    AppSettings s;
    ASSERT_TRUE(load(dir, "[Kalendra]\r\nVer=3.01\r\n", s).ok);
    // Each key's own default: SettingKeysTest. Here what no key states.
    EXPECT_EQ(s.ver, "3.01");
    EXPECT_EQ(s.dataPath, dir.path());
    EXPECT_EQ(s.memoPath, dir.path());
    EXPECT_EQ(s.colors[ColRokuyo], (ColorPair{12615808, 16777215}));
    EXPECT_EQ(s.miniOpacity(), 255);
}

TEST(AppSettings, FlagStringsDecodeWithTheirFallbacks)
{
    TempFolder dir;
    AppSettings s;
    ASSERT_TRUE(load(dir, "[View]\r\nCalView=12\r\nWeekView=\r\nSchView=1x1\r\n", s).ok);
    EXPECT_EQ(s.calView, CalViewFlags({1, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(s.weekView, WeekViewFlags({1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(s.schView, SchViewFlags({1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(decodeDigitFlags("1a11111110000", 0), (Flags{1, 0, 1, 1, 1, 1, 1, 1, 1}));
}

TEST(AppSettings, ShortOrNonDigitRokuyoAndMemoFontWithoutStyleFailToLoad)
{
    TempFolder dir;
    AppSettings s;
    EXPECT_FALSE(load(dir, "[View]\r\nRikuyo=11111\r\n", s).ok);
    EXPECT_FALSE(load(dir, "[View]\r\nRikuyo=11a111\r\n", s).ok);
    EXPECT_TRUE(load(dir, "[View]\r\nRikuyo=101010\r\n", s).ok);
    EXPECT_TRUE(s.rokuyoShown(1));
    EXPECT_FALSE(s.rokuyoShown(2));
    EXPECT_FALSE(load(dir, "[Font]\r\nMemo=\"MS UI Gothic\",9\r\n", s).ok);
    // Other fonts fall back for a missing size or style.
    ASSERT_TRUE(load(dir, "[Font]\r\nDay=Arial\r\nSch=\"MS UI Gothic\",12\r\n", s).ok);
    EXPECT_EQ(s.fonts[FontDay].size, 10);
    EXPECT_EQ(s.fonts[FontDay].style, FontStyle::Bold);
    EXPECT_EQ(s.fonts[FontSch].size, 12);
    EXPECT_EQ(s.fonts[FontSch].style, FontStyle::Regular);
}

TEST(AppSettings, SettingsThatExistButCannotBeReadFailToLoad)
{
    TempFolder dir;
    const std::string path = dir.file("Kalendra.ini");
    dir.write("Kalendra.ini", "[View]\r\nPasswd=1\r\n");
    ::chmod(path.c_str(), 0);
    {
        OtherUser other;
        IniFile ini(path);
        ini.load();
        AppSettings s;
        SettingsLoadResult loaded = readSettings(ini, dir.path(), s);
        EXPECT_FALSE(loaded.ok) << "the defaults would skip the start-up password";
        EXPECT_FALSE(loaded.detail.empty());
    }
    files::deleteFile(path);
    files::createFolders(path);
    IniFile folder(path);
    folder.load();
    AppSettings s;
    EXPECT_FALSE(readSettings(folder, dir.path(), s).ok) << "a folder of that name";
    ::rmdir(path.c_str());
    EXPECT_TRUE(load(dir, "", s).ok) << "an empty file is readable";
}

TEST(AppSettings, TranslucencyOnlyWithTransAndNeverInvisible)
{
    TempFolder dir;
    AppSettings s;
    ASSERT_TRUE(load(dir, "[Mini]\r\nTrans=1\r\nTransValue=0\r\n", s).ok);
    EXPECT_EQ(s.transValue, 0) << "stored as written";
    EXPECT_EQ(s.miniOpacity(), kMinMiniOpacity);
    ASSERT_TRUE(load(dir, "[Mini]\r\nTrans=1\r\nTransValue=200\r\n", s).ok);
    EXPECT_EQ(s.miniOpacity(), 200);
    ASSERT_TRUE(load(dir, "[Mini]\r\nTrans=0\r\nTransValue=0\r\n", s).ok);
    EXPECT_EQ(s.miniOpacity(), 255);
}

TEST(AppSettings, ColorValuesKeepDefaultsForUnreadableParts)
{
    ColorPair fallback{1, 2};
    EXPECT_EQ(decodeColor("00000255", fallback), (ColorPair{255, 2}));
    EXPECT_EQ(decodeColor("00000255 00065280", fallback), (ColorPair{255, 65280}));
    EXPECT_EQ(decodeColor("0000x255 00065280", fallback), (ColorPair{1, 65280}));
    EXPECT_EQ(decodeColor("", fallback), fallback);
    EXPECT_EQ(encodeColor(ColorPair{255, 16777215}, true), "00000255 16777215");
    EXPECT_EQ(encodeColor(ColorPair{255, 16777215}, false), "00000255");
}

TEST(AppSettings, FontValuesKeepNamesWithBlanksWhole)
{
    FontSpec font{"Times New Roman", 12, FontStyle::BoldItalic, 0};
    std::string stored = encodeFont(font, false);
    EXPECT_EQ(stored, "\"Times New Roman\",12,3");
    auto back = decodeFont(stored, FontSpec{}, true, false);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, font);

    FontSpec clock{"ＭＳ ゴシック", 11, FontStyle::Regular, 255};
    std::string clockStored = encodeFont(clock, true);
    EXPECT_EQ(clockStored, sj("\"ＭＳ ゴシック\",11,0,000255"));
    EXPECT_EQ(*decodeFont(clockStored, FontSpec{}, false, true), clock);
}

TEST(AppSettings, FoldersResolveAgainstTheProgramFolder)
{
    EXPECT_EQ(resolveFolder("", "/p/"), "/p/");
    EXPECT_EQ(resolveFolder("data/", "/p/"), "/p/data/");
    EXPECT_EQ(resolveFolder("/abs/data/", "/p/"), "/abs/data/");
    // Written on another system: a drive letter is absolute (and so names a missing folder); a
    // backslash alone is a separator.
    EXPECT_EQ(resolveFolder("C:\\Kalendra\\Data\\", "/p/"), "C:\\Kalendra\\Data\\/");
    EXPECT_EQ(resolveFolder("data\\", "/p/"), "/p/data/");
    EXPECT_EQ(resolveFolder("Data\\Sub\\", "/p/"), "/p/Data/Sub/");
    EXPECT_EQ(resolveFolder("\\shared\\kal\\", "/p/"), "/shared/kal/");
    EXPECT_EQ(resolveFolder(sj("予定/"), "/p/"), "/p/予定/");
}

TEST(AppSettings, MemoAndOtherFoldersDefaultToTheDataFolder)
{
    TempFolder dir;
    AppSettings s;
    ASSERT_TRUE(load(dir, "[Kalendra]\r\nDataPath=sch/\r\nNotePath=notes/\r\n", s).ok);
    EXPECT_EQ(s.dataPath, dir.path() + "sch/");
    EXPECT_EQ(s.memoPath, dir.path() + "sch/");
    EXPECT_EQ(s.todoPath, dir.path() + "sch/");
    EXPECT_EQ(s.notePath, dir.path() + "notes/");
}

TEST(AppSettings, DialogKeysKeepStoredValuesAndFillTheRest)
{
    TempFolder dir;
    dir.write("Kalendra.ini", "[Kalendra]\r\nVer=2.00\r\n[View]\r\nStrWeek=1\r\n[Window]\r\nWidth=900\r\n");
    IniFile ini(dir.file("Kalendra.ini"));
    ini.load();
    writeDialogKeys(ini, "/p/", 2026);
    EXPECT_EQ(ini.readString("Kalendra", "Ver", ""), "3.01");
    EXPECT_EQ(ini.readString("View", "StrWeek", ""), "1");
    EXPECT_EQ(ini.readString("Window", "Width", ""), "900");
    EXPECT_EQ(ini.readString("Window", "Now", ""), "2026");
    EXPECT_EQ(ini.readString("Kalendra", "DataPath", ""), "/p/");
    EXPECT_EQ(ini.readString("Clock", "Font", ""), sj("\"ＭＳ ゴシック\",11,0,000000"));
    EXPECT_EQ(ini.readString("Font", "Day", ""), "Arial,11,2");
    EXPECT_EQ(ini.readString("Color", "Cw06", ""), "16711935");
    EXPECT_EQ(ini.readString("Color", "Cw07", ""), "08421504 14474460");
    EXPECT_FALSE(ini.hasKey("Window", "Top"));
    // What each missing key reads as: SettingKeysTest.
}

TEST(AppSettings, KoyomiSectionAppearsOnlyOnceAFlagIsOn)
{
    IniFile ini("/none/Kalendra.ini", {"[View]", "Rikuyo=111111"});
    WriteAlmanacFlags(ini, {});
    EXPECT_EQ(ini.lines().size(), 2u) << "a file that never had the section keeps its lines";
    WriteAlmanacFlags(ini, {false, true, false});
    EXPECT_EQ(ini.readString("Koyomi", "Sekki", ""), "1");
    WriteAlmanacFlags(ini, {true, false, true});
    const AlmanacFlags back = ReadAlmanacFlags(ini);
    EXPECT_TRUE(back.oldDate && !back.solarTerm && back.seasonalDays) << "switched off once stored";
}
