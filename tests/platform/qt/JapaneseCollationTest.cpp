// The order of the column sorts: Japanese collation of Shift-JIS cell texts, case-sensitive,
// numbers as text.
#include "platform/qt/JapaneseCollation.h"

#include "platform/SjisCodec.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kal;
using kal::test::sj;

TEST(JapaneseCollation, MixedScriptsSortInTheJapaneseOrder)
{
    // Ascending; the texts of one group compare equal. The progress cells are padded to one
    // width; numbers compare as text; lower case comes first and full width beside half width;
    // kana follow the syllabary whatever the script; kanji come after kana, by reading.
    const std::vector<std::vector<const char*>> groups = {
        {"  0%"},          {" 50%"},          {"100%"},     {"12"},   {"5"},   {"abc", "ａｂｃ"},
        {"Abc"},           {"ABC", "ＡＢＣ"}, {"b"},        {"B"},    {"Zoo"}, {"あ", "ア", "ｱ"},
        {"い", "イ", "ｲ"}, {"か", "カ", "ｶ"}, {"が", "ガ"}, {"なし"}, {"亜"},  {"会議"},
        {"漢字"},
    };
    std::vector<std::string> texts;
    std::vector<std::size_t> groupOf;
    for (std::size_t g = 0; g < groups.size(); ++g)
        for (const char* text : groups[g]) {
            texts.push_back(sj(text));
            groupOf.push_back(g);
        }
    // Backwards, so an order that merely keeps the input fails.
    std::reverse(texts.begin(), texts.end());
    std::reverse(groupOf.begin(), groupOf.end());
    const std::vector<int> ranks = qt::japaneseCollation().ranks(texts);
    ASSERT_EQ(ranks.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = 0; j < texts.size(); ++j) {
            SCOPED_TRACE(kal::sjis::toUtf8(texts[i]) + " / " + kal::sjis::toUtf8(texts[j]));
            EXPECT_EQ(text::compareRanks(ranks[i], ranks[j]),
                      text::compareRanks(static_cast<int>(groupOf[i]), static_cast<int>(groupOf[j])));
        }
}
