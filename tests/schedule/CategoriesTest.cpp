#include "schedule/Categories.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "schedule/CategoryFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::sj;

TEST(Categories, DrawingRuleFindsTheFirstNameIgnoringCase)
{
    CategoryTable table({"Work          1 0000025516777215", "work          0 00000000", sj("私用") + "          0",
                         "Plain         1         00065280", "Odd           x 0000x255"});
    CategoryDrawing work = DrawingFor(table, text::padCut("WORK", 14));
    EXPECT_FALSE(work.hidden);
    EXPECT_EQ(work.text, 255);
    EXPECT_EQ(work.back, 16777215);
    EXPECT_TRUE(DrawingFor(table, text::padCut(sj("私用"), 14)).hidden);
    CategoryDrawing plain = DrawingFor(table, text::padCut("Plain", 14));
    EXPECT_FALSE(plain.text);
    EXPECT_EQ(plain.back, 65280);
    CategoryDrawing odd = DrawingFor(table, text::padCut("Odd", 14));
    EXPECT_FALSE(odd.hidden);
    EXPECT_FALSE(odd.text);
    CategoryDrawing unknown = DrawingFor(table, text::padCut("Renamed", 14));
    EXPECT_FALSE(unknown.hidden);
    EXPECT_FALSE(unknown.text);
    EXPECT_EQ(table.FindExact(text::padCut("work", 14)), 1);
    EXPECT_EQ(table.FindNoCase(text::padCut("work", 14)), 0);
}

TEST(Categories, ColorFieldsUnsetUnreadableAndSet)
{
    EXPECT_FALSE(ParseCategoryColor("        ").set);
    EXPECT_FALSE(ParseCategoryColor("").set);
    CategoryColor bad = ParseCategoryColor("12ab5678");
    EXPECT_TRUE(bad.set);
    EXPECT_FALSE(bad.value);
    EXPECT_EQ(ParseCategoryColor("00000255").value, 255);
    EXPECT_EQ(CategoryColorField(255), "00000255");
    EXPECT_EQ(CategoryColorField(std::nullopt), "        ");
}

TEST(Categories, FilterModeSwitchInvertsFlagsAndKeepsChecks)
{
    std::vector<std::string> lines = {"A             1 0000025500000000 kept", "B             0", "C", "",
                                      "LongNameOver14Bytes"};
    std::vector<std::string> inverted = InvertShownFlags(lines);
    // Only the flag changes; blank lines and whatever follows the colours stay as they were.
    EXPECT_EQ(inverted, (std::vector<std::string>{"A             0 0000025500000000 kept", "B             1",
                                                  "C             0 ", "", "LongNameOver140ytes"}));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lines[i].empty()) {
            EXPECT_EQ(CheckedUnderMode(lines[i], 0), CheckedUnderMode(inverted[i], 1)) << i;
        }
    }
    EXPECT_TRUE(ShownForCheck(true, 0));
    EXPECT_FALSE(ShownForCheck(true, 1));
}

TEST(Categories, DialogEditStepsKeepTheFieldsTheyDoNotTouch)
{
    const std::string full = "Work          1 0000025516777215";
    struct Case {
        const char* what;
        std::string got;
        std::string expected;
    };
    const Case cases[] = {
        {"new short name", NewCategoryLine("Meeting"), "Meeting       "},
        {"new long name cut", NewCategoryLine("LongNameOver14Bytes"), "LongNameOver14"},
        {"new name cut between characters", NewCategoryLine(sj("あいうえおかきく")), sj("あいうえおかき")},
        {"new name never splits a character", NewCategoryLine("A" + sj("あいうえおかき")),
         "A" + sj("あいうえおか") + " "},
        {"rename keeps flag and colours", RenamedCategoryLine("Old           0 0000025500000000", "New"),
         "New           0 0000025500000000"},
        {"rename of a bare name", RenamedCategoryLine("C", sj("私用")), sj("私用") + "          "},
        {"text colour, background as stored", WithTextColor(full, false, 65280), "Work          0 0006528016777215"},
        {"text colour on a bare name", WithTextColor("C", true, 255), "C             1 00000255"},
        {"text colour keeps an odd background", WithTextColor("C             0 00000000123", true, 1),
         "C             1 00000001123"},
        {"background keeps the text colour", WithBackColor(full, true, 0), "Work          1 0000025500000000"},
        {"background makes an unset text colour black", WithBackColor("C             1 ", false, 16777215),
         "C             0 0000000016777215"},
        {"background makes an unreadable text colour black", WithBackColor("C             1 0000x255", true, 8),
         "C             1 0000000000000008"},
        {"no colours", WithoutColors(full, false), "Work          0                 "},
        {"confirmed bare name", ConfirmedCategoryLine("C", true), "C             1 "},
        {"confirmed keeps colours as stored", ConfirmedCategoryLine("Work          x 0000x255", false),
         "Work          0 0000x255"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(Categories, NameTakenComparesStoredNamesExactlyIgnoringTrailingBlanks)
{
    const std::vector<std::string> lines = {"Work          1 ", sj("私用"), " Lead", "LongNameOver14"};
    EXPECT_TRUE(CategoryNameTaken(lines, "Work"));
    EXPECT_TRUE(CategoryNameTaken(lines, "Work   "));
    EXPECT_TRUE(CategoryNameTaken(lines, sj("私用") + " "));
    EXPECT_TRUE(CategoryNameTaken(lines, " Lead"));
    EXPECT_FALSE(CategoryNameTaken(lines, "work"));
    EXPECT_FALSE(CategoryNameTaken(lines, "Lead"));
    // The answer is compared as it would be stored: cut to 14 bytes it is the same name.
    EXPECT_TRUE(CategoryNameTaken(lines, "LongNameOver14Bytes"));
    EXPECT_TRUE(CategoryNameTaken(lines, "LongNameOver14"));
    EXPECT_FALSE(CategoryNameTaken({}, "Work"));
}

TEST(Categories, ColourDialogStartsFromTheStoredColourOrBlack)
{
    EXPECT_EQ(TextColorOrBlack("Work          1 0000025516777215"), 255);
    EXPECT_EQ(BackColorOrBlack("Work          1 0000025516777215"), 16777215);
    EXPECT_EQ(TextColorOrBlack("Work          1 "), 0);
    EXPECT_EQ(BackColorOrBlack("Work          1 00000255"), 0);
    EXPECT_EQ(TextColorOrBlack("Work          1 0000x255"), 0);
    EXPECT_EQ(BackColorOrBlack("Work          1 0000025599999999"), 0);
}

TEST(CategoryFiles, TableAndModeLandTogetherAndAnUnreadableTableIsNeverReplaced)
{
    kal::test::TempFolder dir;
    dir.write("Kalendra.ini", "[View]\r\nCatchk=0\r\nNote=1\r\n");
    dir.write("Category.tbl", "A             1 \r\n");
    FilterSwitch switched = SwitchCategoryFilter(dir.path(), 1);
    EXPECT_TRUE(switched.tableFound);
    EXPECT_TRUE(switched.saved.ok());
    EXPECT_EQ(dir.read("Category.tbl"), "A             0 \r\n");
    EXPECT_EQ(dir.read("Kalendra.ini"), "[View]\r\nCatchk=1\r\nNote=1\r\n");

    // The settings cannot be written: the table goes back to what it was.
    std::string table = dir.read("Category.tbl");
    files::deleteFile(dir.file("Kalendra.ini"));
    files::createFolders(dir.file("Kalendra.ini"));
    CategorySaveResult saved = SaveCategoriesWithMode(dir.path(), {"B             1 "}, 0);
    EXPECT_EQ(saved.step, CategorySaveStep::ModeFailed);
    EXPECT_TRUE(saved.restored);
    EXPECT_EQ(dir.read("Category.tbl"), table);
    EXPECT_NE(CategorySaveMessage(saved).find("設定ファイルを保存できません。"), std::string::npos);

    // A table that cannot be read is not switched.
    kal::test::TempFolder other;
    files::createFolders(other.file("Category.tbl"));
    FilterSwitch refused = SwitchCategoryFilter(other.path(), 1);
    EXPECT_EQ(refused.saved.step, CategorySaveStep::TableFailed);
    EXPECT_FALSE(LoadCategoriesForUpdate(other.path()).ok);

    kal::test::TempFolder none;
    EXPECT_FALSE(SwitchCategoryFilter(none.path(), 1).tableFound);
    EXPECT_FALSE(none.exists("Kalendra.ini"));
}
