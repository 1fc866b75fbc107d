#include "platform/ByteText.h"
#include "platform/CommaText.h"
#include "platform/DateFormat.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::sj;

TEST(SjisCodec, RoundTripsJapaneseAndKeepsAsciiAsIs)
{
    std::string utf8 = "予定表ＡＢＣ㈱①ｶﾅ\\~";
    std::string bytes = sj(utf8);
    EXPECT_EQ(bytes.substr(0, 2), "\x97\x5C"); // 予: its trail byte is a backslash
    EXPECT_EQ(sjis::toUtf8(bytes), utf8);
    EXPECT_EQ(sjis::toUtf8("abc 123"), "abc 123");
}

TEST(SjisCodec, InvalidBytesBecomeReplacementCharactersAndConversionGoesOn)
{
    // A lone trail-range byte, a lead byte followed by a blank, a lead byte at the very end.
    std::string bytes = std::string("a\xA0") + "b" + "\x81 " + sj("日") + "\x82";
    EXPECT_EQ(sjis::toUtf8(bytes), "a\xEF\xBF\xBD"
                                   "b\xEF\xBF\xBD 日\xEF\xBF\xBD");
}

TEST(SjisCodec, RefusesCharactersShiftJisCannotHold)
{
    EXPECT_FALSE(sjis::fromUtf8("emoji 😀").has_value());
    EXPECT_FALSE(sjis::fromUtf8("한국어").has_value());
    EXPECT_EQ(sjis::fromUtf8Lossy("a😀b"), "a?b");
}

TEST(ByteText, PadCutNeverSplitsADoubleByteCharacter)
{
    // 39 ASCII bytes then a kanji: the kanji would straddle the 40-byte cut.
    std::string value = std::string(39, 'x') + sj("漢字");
    std::string cut = text::padCut(value, 40);
    EXPECT_EQ(cut.size(), 40u);
    EXPECT_EQ(cut, std::string(39, 'x') + " ");
    // The next field therefore still starts at its own position.
    std::string line = cut + sj("場所");
    EXPECT_EQ(text::field(line, 41, 4), sj("場所"));

    EXPECT_EQ(text::padCut(sj("あ"), 5), sj("あ") + "   ");
    EXPECT_EQ(text::padCut(std::string(38, 'x') + sj("漢"), 40), std::string(38, 'x') + sj("漢"));
    EXPECT_EQ(text::cutBytes(sj("あいう"), 5), sj("あい"));
}

TEST(ByteText, FieldsShorterThanTheirWidthAtLineEnd)
{
    EXPECT_EQ(text::field("0109:00", 3, 5), "09:00");
    EXPECT_EQ(text::field("0109:", 3, 5), "09:");
    EXPECT_EQ(text::field("01", 3, 5), "");
    EXPECT_EQ(text::fieldToEnd("abcdef", 4), "def");
    EXPECT_EQ(text::fieldToEnd("abc", 9), "");
}

TEST(ByteText, UpperCasingStepsOverTrailBytes)
{
    // Trail bytes 0x61..0x7A look like lower-case letters but belong to their kanji.
    std::string kanji = sj("ア"); // 83 41
    std::string withLowerTrail;
    for (unsigned lead = 0x88; lead <= 0x88; ++lead)
        for (unsigned trail = 0x61; trail <= 0x7A; ++trail) {
            withLowerTrail += static_cast<char>(lead);
            withLowerTrail += static_cast<char>(trail);
        }
    EXPECT_EQ(text::toUpper(withLowerTrail), withLowerTrail);
    EXPECT_EQ(text::toUpper("abc" + sj("ａｚ") + "xyz"), "ABC" + sj("ＡＺ") + "XYZ");
    EXPECT_EQ(text::toUpper(sj("ｱｲ")), sj("ｱｲ"));
}

TEST(ByteText, CaseInsensitiveComparisonIsTheOrderOfUpperCasedCopies)
{
    // Bytes that start, end or imitate double-byte characters and letters, in every arrangement
    // up to four long: lead bytes at the end, trail bytes that look like a..z, full-width a..z.
    const unsigned char alphabet[] = {'a', 'z', 'A', '{', 0x82, 0x81, 0x9A, 0x9B, 0x60, 0x61, 0xE0, 0xB1};
    std::vector<std::string> strings{""};
    for (std::size_t begin = 0, length = 1; length <= 4; ++length) {
        const std::size_t end = strings.size();
        for (std::size_t i = begin; i < end; ++i)
            for (unsigned char c : alphabet)
                strings.push_back(strings[i] + static_cast<char>(c));
        begin = end;
    }
    int mismatches = 0;
    for (std::size_t i = 0; i < strings.size(); i += 13)
        for (std::size_t j = 0; j < strings.size(); j += 11) {
            const int expected = text::compareBytes(text::toUpper(strings[i]), text::toUpper(strings[j]));
            if (text::compareNoCase(strings[i], strings[j]) != expected && ++mismatches < 5)
                ADD_FAILURE() << testing::PrintToString(strings[i]) << " vs " << testing::PrintToString(strings[j]);
        }
    EXPECT_EQ(mismatches, 0);
}

TEST(ByteText, CaseInsensitiveOrderKeepsJisOrderAndIsStable)
{
    EXPECT_EQ(text::compareNoCase("abc", "ABC"), 0);
    EXPECT_LT(text::compareNoCase("abc", "abd"), 0);
    EXPECT_EQ(text::compareNoCase(sj("ｂ"), sj("Ｂ")), text::compareNoCase(sj("Ｂ"), sj("Ｂ")));
    EXPECT_LT(text::compareNoCase(sj("あ"), sj("い")), 0);
    EXPECT_LT(text::compareNoCase(sj("ア"), sj("亜")), 0);
    EXPECT_LT(text::compareNoCase("     ", "00:00"), 0);

    std::vector<std::string> lines = {"b2", "A1", "a0", "B1", "a1"};
    text::sortNoCase(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"a0", "A1", "a1", "B1", "b2"}));
}

TEST(ByteText, TrimAndIntegers)
{
    EXPECT_EQ(text::trimRight(sj("予定") + "  \t"), sj("予定"));
    EXPECT_EQ(text::trim("  x  "), "x");
    EXPECT_TRUE(text::isBlank(" \t "));
    EXPECT_EQ(text::toIntOr(" 9", -1), 9);
    EXPECT_EQ(text::toIntOr("09", -1), 9);
    EXPECT_EQ(text::toIntOr("9a", -1), -1);
    EXPECT_EQ(text::toIntOr("", -1), -1);
    EXPECT_EQ(text::toIntOr("99999999999", -1), -1);
}

TEST(CommaText, QuotesWhatNeedsQuotingAndSplitsBack)
{
    struct Case {
        std::vector<std::string> items;
        std::string joined;
    };
    const Case cases[] = {
        {{"MS UI Gothic", "9", "0"}, "\"MS UI Gothic\",9,0"},
        {{"a\"b", "c,d", ""}, "\"a\"\"b\",\"c,d\","},
        {{""}, "\"\""},
        {{"", "x"}, ",x"},
        {{"tab\there"}, "\"tab\there\""},
        {{sj("会議室")}, sj("会議室")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.joined);
        EXPECT_EQ(text::joinCommaText(c.items), c.joined);
    }
    EXPECT_EQ(text::splitCommaText("\"MS UI Gothic\",9,0"), (std::vector<std::string>{"MS UI Gothic", "9", "0"}));
    EXPECT_EQ(text::splitCommaText("\"a\"\"b\",\"c,d\","), (std::vector<std::string>{"a\"b", "c,d", ""}));
    EXPECT_EQ(text::splitCommaText("\"\""), (std::vector<std::string>{""}));
    // Outside quotes a blank ends an item; blanks after a comma are skipped.
    EXPECT_EQ(text::splitCommaText("a b,  c"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(text::splitCommaText("\"unclosed"), (std::vector<std::string>{"unclosed"}));
    EXPECT_TRUE(text::splitCommaText("").empty());
}

TEST(DateFormat, EraBoundariesAndEraYears)
{
    struct Case {
        Date date;
        const char* expected;
    };
    const Case cases[] = {
        {{1989, 1, 7}, "昭和64年"},  {{1989, 1, 8}, "平成1年"},  {{2019, 4, 30}, "平成31年"},
        {{2019, 5, 1}, "令和1年"},   {{2026, 12, 8}, "令和8年"}, {{1926, 12, 24}, "大正15年"},
        {{1926, 12, 25}, "昭和1年"}, {{1868, 1, 24}, "1868年"},  {{1868, 1, 25}, "明治1年"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(text::formatDateUtf8("ggge\"年\"", c.date), c.expected);
    }
    EXPECT_EQ(text::formatDateUtf8("g", {2019, 5, 1}), "令");
    EXPECT_EQ(text::formatDateUtf8("ggggee", {2019, 5, 1}), "令和01");
}

TEST(DateFormat, PatternLettersOfTheProgram)
{
    DateTime t{{2004, 3, 5}, 9, 7, 3};
    struct Case {
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {"yyyy/mm/dd", "2004/03/05"},
        {"yy/m/d", "04/3/5"},
        {"yyyymm\".sch\"", "200403.sch"},
        {"hh:mm:ss", "09:07:03"},
        {"h:n:s", "9:7:3"},
        {"yyyy\"年\"m\"月\"d\"日(\"aaa\") \"hh\":\"mm\":\"ss", "2004年3月5日(金) 09:07:03"},
        {" yyyy\"年\"m\"月\"d\"日（\"aaaa\"）の予定\"", " 2004年3月5日（金曜日）の予定"},
        {"yyyy/m/d 'のメモ'", "2004/3/5 のメモ"},
        {"hhmmss am/pm", "090703 am"},
        {"mm", "03"},
        {"hh\"時\"mm\"分\"", "09時07分"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(text::formatDateTimeUtf8(c.pattern, t), c.expected);
    }
}

TEST(DateFormat, TwelveHourClockWhenAmPmFollows)
{
    EXPECT_EQ(text::formatDateTimeUtf8("hhmmss am/pm", {{2004, 3, 5}, 13, 5, 0}), "010500 pm");
    EXPECT_EQ(text::formatDateTimeUtf8("hhmmss am/pm", {{2004, 3, 5}, 0, 30, 0}), "123000 am");
    EXPECT_EQ(text::formatDateTimeUtf8("h AM/PM", {{2004, 3, 5}, 12, 0, 0}), "12 PM");
    EXPECT_EQ(text::formatDateTimeUtf8("hh:nn", {{2004, 3, 5}, 13, 5, 0}), "13:05");
    EXPECT_EQ(text::formatDateTimeUtf8("h ampm", {{2004, 3, 5}, 15, 0, 0}), "3 午後");
}

TEST(DateFormat, LiteralTextStepsOverDoubleByteCharacters)
{
    // 予 ends in 0x5C and many kanji end in letters; unquoted they must still be copied whole.
    Date d{2024, 3, 5};
    EXPECT_EQ(text::formatDateUtf8("予定d", d), "予定5");
    EXPECT_EQ(text::formatDateUtf8("ソd", d), "ソ5"); // ソ is 83 5C
    EXPECT_EQ(text::formatDateUtf8("能d", d), "能5"); // 能 is 94 5C
    EXPECT_EQ(text::formatDateUtf8("dddd", d), "火曜日");
}

TEST(NumberFormat, WidthsAndThousands)
{
    EXPECT_EQ(text::formatInt(4, 2), " 4");
    EXPECT_EQ(text::formatInt(4, 2, '0'), "04");
    EXPECT_EQ(text::formatInt(123, 2), "123");
    EXPECT_EQ(text::formatInt(-5, 3), " -5");
    EXPECT_EQ(text::formatThousands(0), "0");
    EXPECT_EQ(text::formatThousands(1234567), "1,234,567");
    EXPECT_EQ(text::formatThousands(-1000), "-1,000");
}

TEST(CommaText, NulBytesInAFileNeitherHangNorLoseTheRest)
{
    EXPECT_EQ(text::splitCommaText(std::string("a\0b,c", 5)), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(text::splitCommaText(std::string("\0\0", 2)), std::vector<std::string>{});
}
