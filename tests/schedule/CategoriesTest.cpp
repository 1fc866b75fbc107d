#include "platform/ByteText.h"
#include "schedule/Categories.h"
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
    std::vector<std::string> lines = {"A             1 0000025500000000", "B             0", "C", "LongNameOver14Bytes"};
    std::vector<std::string> inverted = InvertShownFlags(lines);
    EXPECT_EQ(inverted, (std::vector<std::string>{"A             0 0000025500000000", "B             1 ",
                                                  "C             0 ", "LongNameOver140 tes"}));
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_EQ(CheckedUnderMode(lines[i], 0), CheckedUnderMode(inverted[i], 1)) << i;
    EXPECT_TRUE(ShownForCheck(true, 0));
    EXPECT_FALSE(ShownForCheck(true, 1));
}
