#include "settings/ColorSets.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::TempFolder;

namespace {

ColorTable defaults()
{
    ColorTable table;
    for (int i = 0; i < ColorItemCount; ++i)
        table[static_cast<std::size_t>(i)] = defaultColor(i);
    return table;
}

} // namespace

TEST(ColorSets, NamesThatCannotBeFileNamesAreRefused)
{
    struct Case {
        const char* name;
        bool allowed;
    } cases[] = {
        {"Blue", true},       {"青系の配色", true},   {"a.b", true},      {"with space", true},   {"", false},
        {".hidden", false},   {"..", false},          {"a/b", false},     {"../Kalendra", false}, {"a\\b", false},
        {"tab\there", false}, {"line\nbreak", false}, {"del\x7f", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(colorSetNameAllowed(c.name), c.allowed);
    }
    TempFolder dir;
    dir.write("Kalendra.ini", "[Kalendra]\r\n");
    EXPECT_FALSE(saveColorSet(dir.path(), "../x", defaults()));
    EXPECT_FALSE(deleteColorSet(dir.path(), "../" + dir.path() + "Kalendra.ini"));
    EXPECT_TRUE(dir.exists("Kalendra.ini"));
}

TEST(ColorSets, SaveReplacesListAndDeleteRemoves)
{
    TempFolder dir;
    dir.write("notes.txt", "x");
    ColorTable first = defaults();
    first[ColSunday] = ColorPair{1, 2};
    ASSERT_TRUE(saveColorSet(dir.path(), "Mine", first));
    ColorTable second = defaults();
    second[ColSunday] = ColorPair{3, 4};
    second[ColRokuyo].text = 99;
    ASSERT_TRUE(saveColorSet(dir.path(), "Mine", second));
    ASSERT_TRUE(saveColorSet(dir.path(), "Another", first));
    EXPECT_EQ(listColorSets(dir.path()), (std::vector<std::string>{"Another", "Mine"}));
    EXPECT_EQ(dir.read("Mine.col").substr(0, 31), "[Color]\r\nCw00=00000000 16711680");

    ColorSetLoad loaded = loadColorSet(dir.path(), "Mine", defaults());
    ASSERT_TRUE(loaded.colors);
    EXPECT_EQ((*loaded.colors)[ColSunday], (ColorPair{3, 4}));
    EXPECT_EQ((*loaded.colors)[ColRokuyo].text, 99);

    ASSERT_TRUE(deleteColorSet(dir.path(), "Mine"));
    EXPECT_FALSE(dir.exists("Mine.col"));
    EXPECT_EQ(listColorSets(dir.path()), (std::vector<std::string>{"Another"}));
}

TEST(ColorSets, ABadEntryChangesNothing)
{
    const ColorTable start = defaults();
    struct Case {
        const char* name;
        std::vector<std::string> lines;
    } cases[] = {
        {"empty file", {}},
        {"only the section", {"[Color]"}},
        {"item not a number", {"[Color]", "Cw01=00000255", "Cw0x=00000000"}},
        {"item out of range", {"[Color]", "Cw01=00000255", "Cw21=00000000"}},
        {"letters in the colour", {"Cw01=00000255", "Cw02=0000abcd"}},
        {"colour beyond 24 bits", {"Cw01=00000255", "Cw02=99999999"}},
        {"bad background", {"Cw01=00000255", "Cw02=00000000 12x45678"}},
        {"short line", {"Cw01=00000255", "Cw02"}},
        {"no equals sign", {"Cw01 00000255"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(applyColorSetLines(c.lines, start));
    }
    std::optional<ColorTable> partial = applyColorSetLines({"[Color]", "Cw03=00000001", "; comment"}, start);
    ASSERT_TRUE(partial);
    EXPECT_EQ((*partial)[ColSunday], (ColorPair{1, defaultColor(ColSunday).back})) << "text-only line keeps background";
    EXPECT_EQ((*partial)[ColWeekday], start[ColWeekday]);

    TempFolder dir;
    dir.write("Bad.col", "[Color]\r\nCw01=00000255\r\nCw02=zzz\r\n");
    ColorSetLoad loaded = loadColorSet(dir.path(), "Bad", start);
    EXPECT_FALSE(loaded.colors);
    EXPECT_FALSE(loaded.reason.empty());
}
