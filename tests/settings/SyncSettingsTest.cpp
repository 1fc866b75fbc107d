// The [Sync] section of Kalendra.ini: values out of range read as their defaults, and writing
// changes only the section's five keys.
#include "settings/SyncSettings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

TEST(SyncSettingsFile, ReadsEachValueOrItsDefault)
{
    struct Case {
        const char* section;
        SyncSettings expected;
    };
    const Case cases[] = {
        {"", {}},
        {"Url=https://a.jp/c/\r\nUser=\x88\xa4\r\nBack=6\r\nAhead=0\r\nInterval=15\r\n",
         {"https://a.jp/c/", "愛", 6, 0, 15}},
        {"Back=-1\r\nAhead=121\r\nInterval=1441\r\n", {}},
        {"Back=x\r\nAhead=\r\nInterval=0x10\r\n", {"", "", 12, 24, 16}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section);
        TempFolder folder;
        folder.write("Kalendra.ini", std::string("[Sync]\r\n") + c.section);
        const SyncSettingsFile file = readSyncSettings(folder.file("Kalendra.ini"));
        EXPECT_TRUE(file.ok);
        EXPECT_TRUE(file.settings == c.expected);
    }
}

TEST(SyncSettingsFile, WritingKeepsEveryOtherLine)
{
    TempFolder folder;
    folder.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n[Sync]\r\nUrl=old\r\nPassword=never read\r\n; note\r\n");
    ASSERT_TRUE(writeSyncSettings(folder.file("Kalendra.ini"), {"https://a.jp/c/\r\nInjected=1", "愛", 1, 2, 3}));
    EXPECT_EQ(folder.read("Kalendra.ini"), "[Kalendra]\r\nVer=3.01\r\n[Sync]\r\nUrl=https://a.jp/c/\r\nPassword=never "
                                           "read\r\n; note\r\nUser=\x88\xa4\r\nBack=1\r\nAhead=2\r\nInterval=3\r\n");
}
