// Japanese collation of Shift-JIS cell texts: the order of the column sorts.
#include "platform/qt/JapaneseCollation.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

TEST(JapaneseCollation, MixedScriptsSortInTheJapaneseOrder)
{
    // Ascending groups of equal texts: padded progress cells, numbers as text, lower case first,
    // full width beside half width, kana by the syllabary in any script, then kanji by reading.
    const std::vector<std::vector<const char*>> groups = {
        {"  0%"},          {" 50%"},          {"100%"},     {"12"},   {"5"},   {"abc", "ａｂｃ"},
        {"Abc"},           {"ABC", "ＡＢＣ"}, {"b"},        {"B"},    {"Zoo"}, {"あ", "ア", "ｱ"},
        {"い", "イ", "ｲ"}, {"か", "カ", "ｶ"}, {"が", "ガ"}, {"なし"}, {"亜"},  {"会議"},
        {"漢字"}};
    std::vector<std::string> texts;
    std::vector<int> expected;
    for (int g = int(groups.size()) - 1; g >= 0; --g) { // backwards, so an order that keeps the input fails
        for (const char* text : groups[std::size_t(g)])
            texts.push_back(kal::test::sj(text));
        expected.resize(texts.size(), g);
    }
    EXPECT_EQ(kal::qt::japaneseCollation().ranks(texts), expected);
}
