#include "settings/SetupSettings.h"
#include "platform/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>

using namespace kal;
using kal::test::sj;
using kal::test::TempFolder;

TEST(SetupFolders, RelativeAndAbsoluteFormsRoundTrip)
{
    const std::string program = "/home/u/kal/";
    struct Case {
        const char* absolute;
        const char* relative;
        const char* back; // the absolute form the relative one gives
    } cases[] = {
        {"/home/u/kal/", "", "/home/u/kal/"},
        {"/home/u/kal", "", "/home/u/kal/"},
        {"/home/u/kal/data/", "data/", "/home/u/kal/data/"},
        {"/home/u/kal/data", "data/", "/home/u/kal/data/"},
        {"/home/u/kal/a/b/", "a/b/", "/home/u/kal/a/b/"},
        {"/home/u/other/", "../other/", "/home/u/other/"},
        {"/srv/shared/", "../../../srv/shared/", "/srv/shared/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.absolute);
        const std::string relative = relativeFolderText(c.absolute, program);
        EXPECT_EQ(relative, c.relative);
        EXPECT_EQ(absoluteFolderText(relative, program), c.back);
        EXPECT_EQ(relativeFolderText(relative, program), relative) << "converting twice changes nothing";
    }
    EXPECT_EQ(absoluteFolderText("", program), program);
}

TEST(SetupSlider, PositionsMapToStoredValuesAndBack)
{
    struct Case {
        int position;
        int value;
        const char* percent;
    } cases[] = {{0, 240, "0%"}, {1, 228, "5%"}, {10, 120, "50%"}, {19, 12, "95%"}, {20, 0, "100%"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(transValueFromSlider(c.position), c.value);
        EXPECT_EQ(sliderFromTransValue(c.value), c.position);
        EXPECT_EQ(transPercentText(c.position), c.percent);
    }
    // Hand-edited values stay on the slider.
    EXPECT_EQ(sliderFromTransValue(255), 0);
    EXPECT_EQ(sliderFromTransValue(-30), 20);
    EXPECT_EQ(sliderFromTransValue(125), 10);
}

TEST(SetupCleanTerm, OnlyTheFiveTermsAreWritten)
{
    const int terms[] = {1, 2, 3, 6, 12};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(cleanTermFromIndex(i), terms[i]);
        EXPECT_EQ(cleanIndexFromTerm(terms[i]), i);
    }
    for (int odd : {0, -1, 4, 24})
        EXPECT_EQ(cleanTermFromIndex(cleanIndexFromTerm(odd)), 12) << odd;
    EXPECT_EQ(cleanTermFromIndex(7), 12);
}

TEST(SetupChecks, RefuseInTheirOrderWithTheirMessages)
{
    TempFolder dir;
    const std::string missing = dir.path() + "gone/";
    struct Case {
        const char* name;
        SetupCheckInput input;
        std::optional<SetupPage> page;
        const char* text;
    } cases[] = {
        {"todo hidden, memo never",
         {0, 2, 0, 0, {}, dir.path()},
         SetupPage::View,
         "メモ欄が常に表示でなければToDoリストは非表示にできません。"},
        {"todo hidden, memo only when there", {0, 0, 0, 0, {}, dir.path()}, SetupPage::View, nullptr},
        {"todo hidden, memo always", {0, 1, 0, 0, {}, dir.path()}, std::nullopt, nullptr},
        {"just time at 0 minutes",
         {1, 1, 2, 0, {}, dir.path()},
         SetupPage::Alarm,
         "0分にアラームを設定した場合、ジャストタイムは設定できません。"},
        {"0 minutes without just time", {1, 1, 1, 0, {}, dir.path()}, std::nullopt, nullptr},
        {"just time at 5 minutes", {1, 1, 2, 5, {}, dir.path()}, std::nullopt, nullptr},
        {"missing folder",
         {1, 1, 0, 0, {"", missing}, dir.path()},
         SetupPage::Folder,
         "指定したフォルダは存在しません。"},
        {"relative folder below", {1, 1, 0, 0, {"", "./"}, dir.path()}, std::nullopt, nullptr},
        {"todo before alarm", {0, 2, 2, 0, {missing}, dir.path()}, SetupPage::View, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<SetupProblem> problem = checkSetup(c.input, files::folderExists);
        ASSERT_EQ(problem.has_value(), c.page.has_value());
        if (!problem)
            continue;
        EXPECT_EQ(problem->page, *c.page);
        if (c.text) {
            EXPECT_STREQ(problem->text, c.text);
        }
    }
}

TEST(SetupWrite, KeepsUnknownLinesAndExitKeysAndChangesOnlyItsOwn)
{
    TempFolder dir;
    const std::vector<std::string> original = {
        "; kept by hand",
        "[Kalendra]",
        "Ver=2.50",
        "DataPath=" + dir.path(),
        "[Window]",
        "Height=700",
        "SchWidth=150",
        "Top=33",
        "Left=44",
        "Now=2020",
        "[View]",
        "Catchk=1",
        "Note=0",
        "StrWeek=1",
        "Rikuyo=101010",
        "[Plugin]",
        "Anything=goes here",
        "not a key line",
    };
    dir.write("Kalendra.ini", kal::test::crlf(original));
    IniFile ini(dir.file("Kalendra.ini"));
    ini.load();
    AppSettings s = readSetupSettings(ini, dir.path());
    EXPECT_EQ(s.strWeek, 1);
    EXPECT_FALSE(s.rikuyo.on(RokuyoFlag::Tomobiki));
    EXPECT_EQ(s.miniStatusBar, 1) << "dialog default for a missing key";
    s.title = "Mine";
    writeSetupSettings(ini, s, 2026, SetupPosition{0, 10, 1280, 1024});

    std::set<std::string> lines(ini.lines().begin(), ini.lines().end());
    for (const std::string& line : original) {
        if (line == "Ver=2.50" || line == "Now=2020")
            continue;
        EXPECT_TRUE(lines.count(line)) << line;
    }
    EXPECT_EQ(ini.readString("Kalendra", "Ver", ""), "3.01");
    EXPECT_EQ(ini.readString("Window", "Now", ""), "2026");
    EXPECT_EQ(ini.readString("Window", "Title", ""), "Mine");
    EXPECT_EQ(ini.readString("Window", "Top", ""), "33") << "a window at the screen's edge keeps the stored place";

    writeSetupSettings(ini, s, 2026, SetupPosition{50, 60, 1280, 1024});
    EXPECT_EQ(ini.readInteger("Window", "Top", 0), 50);
    EXPECT_EQ(ini.readInteger("Window", "Left", 0), 60);
}

TEST(SetupWrite, EveryOwnedValueSurvivesARoundTrip)
{
    TempFolder dir;
    AppSettings s = dialogDefaults("data/");
    s.relativePath = 1;
    s.title = sj("予定表");
    s.posMode = 3;
    s.taskTray = s.taskBar = s.stayOnTop = 1;
    s.miniPosMode = 0;
    s.trans = 1;
    s.transValue = 0;
    s.passwd2 = 1;
    s.monWeek = 5;
    s.calView = CalViewFlags(decodeDigitFlags("101010101", 0));
    s.weekView = WeekViewFlags(decodeDigitFlags("010101010", 1));
    s.schView = SchViewFlags(decodeBinaryFlags("100001"));
    s.udTime = 42;
    s.memo = 2;
    s.mTitle = sj("日記帳");
    s.tNoItem = TodoItemFlags(decodeBinaryFlags("0111111"));
    s.alarm = 2;
    s.alarmTime = 15;
    s.alarmWav = "/snd/a.wav";
    s.signal = 1;
    s.signalMode = 3;
    s.clean = 1;
    s.cleanTerm = 6;
    s.clockType = 1;
    s.clockFont = FontSpec{"Noto Sans CJK JP", 20, FontStyle::BoldItalic, 255};
    s.fonts[FontNote] = FontSpec{"IPAGothic", 12, FontStyle::Italic, 0};
    s.colors[ColSunday] = ColorPair{123, 456};

    IniFile ini(dir.file("Kalendra.ini"));
    writeSetupSettings(ini, s, 2026, std::nullopt);
    ASSERT_TRUE(ini.flush());
    IniFile back(dir.file("Kalendra.ini"));
    back.load();
    AppSettings r = readSetupSettings(back, dir.path());
    EXPECT_EQ(dialogValues(r, 2026, std::nullopt).size(), dialogValues(s, 2026, std::nullopt).size());
    const std::vector<DialogKey> written = dialogValues(s, 2026, std::nullopt);
    const std::vector<DialogKey> reread = dialogValues(r, 2026, std::nullopt);
    for (std::size_t i = 0; i < written.size(); ++i) {
        SCOPED_TRACE(std::string(written[i].section) + "/" + written[i].key);
        EXPECT_EQ(reread[i].value, written[i].value);
    }
    EXPECT_EQ(r.dataPath, dir.path() + "data/");
    EXPECT_FALSE(back.hasKey("Window", "Top"));
}

TEST(SetupRead, AFileTheWindowCannotLoadGivesTheDialogDefaults)
{
    TempFolder dir;
    dir.write("Kalendra.ini", "[View]\r\nRikuyo=11\r\nStrWeek=1\r\n");
    IniFile ini(dir.file("Kalendra.ini"));
    ini.load();
    AppSettings s = readSetupSettings(ini, dir.path());
    EXPECT_EQ(s.strWeek, 0);
    EXPECT_TRUE(s.rikuyo.on(RokuyoFlag::Shakko));
}
