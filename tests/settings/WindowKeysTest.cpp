#include "settings/WindowKeys.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::TempFolder;

namespace {

WindowState untouched(const StartGeometry& start)
{
    WindowState s;
    s.todayYear = 2026;
    s.current = WindowGeometry{start.left, start.top, start.width, start.height};
    s.rightPanel = start.rightPanel;
    s.gridHeight = start.gridHeight;
    s.dayListHeight = start.dayListHeight;
    s.memoHeight = start.memoHeight;
    s.screen = ScreenRect{0, 0, 1280, 800};
    return s;
}

} // namespace

TEST(WindowKeys, AnUntouchedWindowWritesNothingAndAnyChangeWritesAll)
{
    StartGeometry start;
    start.left = 40;
    start.top = 30;
    start.startYear = 2026;
    WindowState s = untouched(start);
    EXPECT_TRUE(WindowKeysUnchanged(s, start));
    WindowState moved = s;
    moved.current.left += 1;
    EXPECT_FALSE(WindowKeysUnchanged(moved, start));
    WindowState dirty = s;
    dirty.dirty = true;
    EXPECT_FALSE(WindowKeysUnchanged(dirty, start));
    WindowState newYear = s;
    newYear.todayYear = 2027;
    EXPECT_FALSE(WindowKeysUnchanged(newYear, start));
    WindowState memo = s;
    memo.memoHeight += 5;
    EXPECT_FALSE(WindowKeysUnchanged(memo, start));
    memo.todoShown = false;
    EXPECT_TRUE(WindowKeysUnchanged(memo, start)) << "the memo height counts only with the ToDo lists shown";
}

TEST(WindowKeys, MinimisedWindowKeepsItsNormalGeometryAndOffScreenPositionsAreNotWritten)
{
    TempFolder dir;
    dir.write("Kalendra.ini", "[Window]\r\nLeft=40\r\nTop=30\r\nWidth=700\r\nHeight=500\r\nSchHeight=99\r\n");
    IniFile ini(dir.file("Kalendra.ini"));
    ini.load();
    WindowState s = untouched(StartGeometry{});
    s.normalState = false;
    s.current = WindowGeometry{-32000, -32000, 160, 30};
    s.miniRemembered = WindowGeometry{0, 200, 164, 176}; // left 0 is not on the screen
    WriteWindowKeys(ini, s);
    EXPECT_EQ(ini.readInteger("Window", "Left", 0), 40);
    EXPECT_EQ(ini.readInteger("Window", "Width", 0), 700);
    EXPECT_EQ(ini.readInteger("Window", "SchHeight", 0), 99);
    EXPECT_FALSE(ini.hasKey("Mini", "Left"));
    EXPECT_EQ(ini.readInteger("Mini", "Width", 0), 164);
    EXPECT_EQ(ini.readInteger("Window", "SmallMode", -1), 0);

    s.mini = true;
    s.normalState = true;
    s.current = WindowGeometry{500, 400, 170, 180};
    s.normal = WindowGeometry{10, 20, 800, 600};
    WriteWindowKeys(ini, s);
    EXPECT_EQ(ini.readInteger("Window", "SmallMode", -1), 1);
    EXPECT_EQ(ini.readInteger("Window", "Left", 0), 10);
    EXPECT_EQ(ini.readInteger("Window", "Width", 0), 800);
    EXPECT_EQ(ini.readInteger("Mini", "Left", 0), 500);
    EXPECT_EQ(ini.readInteger("Mini", "Height", 0), 180);
}

TEST(WindowKeys, DayListColumnWidthsCountOnlyForShownColumns)
{
    StartGeometry start;
    start.startYear = 2026;
    start.dayWidths = {120, 100, 100};
    WindowState s = untouched(start);
    s.dayWidths = {120, std::nullopt, 100};
    EXPECT_TRUE(WindowKeysUnchanged(s, start));
    for (std::size_t column : {0u, 2u}) {
        SCOPED_TRACE(column);
        WindowState widened = s;
        *widened.dayWidths[column] += 1;
        EXPECT_FALSE(WindowKeysUnchanged(widened, start));
    }

    TempFolder dir;
    dir.write("Kalendra.ini", "[Window]\r\nPlcWidth=77\r\n");
    IniFile ini(dir.file("Kalendra.ini"));
    ini.load();
    s.dayWidths = {150, std::nullopt, 60};
    WriteWindowKeys(ini, s);
    EXPECT_EQ(ini.readInteger("Window", "SchWidth", 0), 150);
    EXPECT_EQ(ini.readInteger("Window", "PlcWidth", 0), 77) << "a hidden column keeps its stored width";
    EXPECT_EQ(ini.readInteger("Window", "CatWidth", 0), 60);

    s.normalState = false;
    s.dayWidths = {10, 10, 10};
    WriteWindowKeys(ini, s);
    EXPECT_EQ(ini.readInteger("Window", "SchWidth", 0), 150) << "nothing from a minimised window";
}
