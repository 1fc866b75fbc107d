// Reading CSV lines: the normaliser and splitter, dates, and the encodings that are refused.
#include "exchange/CsvText.h"

#include "platform/CommaText.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

using Columns = std::vector<std::string>;

} // namespace

TEST(CsvText, SplitsLinesTheWayOtherProgramsWriteThem)
{
    struct Case {
        const char* raw;
        Columns columns;
    };
    const Case cases[] = {
        {"2004/03/05,10:00,11:00,会議,本社,仕事", {"2004/03/05", "10:00", "11:00", "会議", "本社", "仕事"}},
        {"2004/03/05,,,休み,,", {"2004/03/05", "", "", "休み", "", ""}},
        {"a,\"b, c\",d", {"a", "b, c", "d"}},
        {"\" lead\",trail ,\"in side\"", {" lead", "trail ", "in side"}},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"\"\"\"\"", {"\""}},
        {"\"\",\"\"", {"", ""}},
        {"a,", {"a", ""}},
        {",", {"", ""}},
        {"", {""}},
        {"ab\"c,d\"e", {"abc,de"}}, // a quote outside a quoted field only switches quoting
        {"\"open, never closed", {"open, never closed"}},
        {"x\ty,\"p\tq\"", {"x\ty", "p\tq"}}, // control characters stay in the field
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(splitCsvLine(sj(c.raw)), [&] {
            Columns out;
            for (const std::string& column : c.columns)
                out.push_back(sj(column));
            return out;
        }());
    }
}

TEST(CsvText, WhatTheExportJoinsTheImportSplitsBack)
{
    const Columns fields = {sj("2004/03/05"),
                            "",
                            "",
                            sj("「会議」, \"第2回\"  本社"),
                            sj("ｶﾅ ｶﾅ"),
                            sj("漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字漢字")};
    EXPECT_EQ(splitCsvLine(text::joinCommaText(fields)), fields);
}

TEST(CsvText, DatesAreYearSlashMonthSlashDayInsideTheCalendar)
{
    struct Case {
        const char* text;
        std::optional<Date> date;
    };
    const Case cases[] = {
        {"2004/03/05", Date{2004, 3, 5}},
        {"2004/3/5", Date{2004, 3, 5}},
        {" 2004/03/05 ", Date{2004, 3, 5}},
        {"2024/02/29", Date{2024, 2, 29}},
        {"1900/01/01", Date{1900, 1, 1}},
        {"2099/12/31", Date{2099, 12, 31}},
        {"2023/02/29", std::nullopt},
        {"2004-03-05", std::nullopt},
        {"04/03/05", std::nullopt},
        {"2004/03/05/", std::nullopt},
        {"2004/003/05", std::nullopt},
        {"2004/13/01", std::nullopt},
        {"2004/00/10", std::nullopt},
        {"1899/12/31", std::nullopt},
        {"2100/01/01", std::nullopt},
        {"2004/+3/05", std::nullopt},
        {"", std::nullopt},
        {"日付", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::optional<Date> parsed = parseCsvDate(sj(c.text));
        ASSERT_EQ(parsed.has_value(), c.date.has_value());
        if (c.date) {
            EXPECT_EQ(*parsed, *c.date);
        }
    }
}

TEST(CsvText, TimesBecomeHHMMAndWhatIsNoTimeOfDayIsRefused)
{
    const char* const accepted[][2] = {
        {"9:00", "09:00"},  {" 9:05 ", "09:05"}, {"10:00:00", "10:00"}, {"9:00:59", "09:00"}, {"0:00", "00:00"},
        {"23:59", "23:59"}, {"  ", ""}};
    for (auto [text, time] : accepted)
        EXPECT_EQ(parseCsvTime(text), std::optional<std::string>(time)) << text;
    for (const char* text : {"24:00", "9:60", "9", "0900", "9:5", "10:00:60", "午後", "９:００"})
        EXPECT_EQ(parseCsvTime(sj(text)), std::nullopt) << text;
}

TEST(CsvText, EncodingsThatAreNotShiftJisAreRecognised)
{
    struct Case {
        std::string line;
        bool firstLine;
        CsvEncodingIssue issue;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF"
         "2004/03/05,a",
         true, CsvEncodingIssue::ByteOrderMark},
        {"\xFF\xFE"
         "2\0",
         true, CsvEncodingIssue::ByteOrderMark},
        {std::string("2\0000\0", 4), false, CsvEncodingIssue::Binary},
        {"2004/03/05,会議,本社", false, CsvEncodingIssue::Utf8}, // this source file is UTF-8
        {sj("2004/03/05,会議,本社"), false, CsvEncodingIssue::None},
        {sj("2004/03/05,ﾃｽ"), false, CsvEncodingIssue::None}, // two half-width kana that form valid UTF-8
        {sj("2004/03/05,ｱｲｳ,漢字,ひらがな,カタカナ"), false, CsvEncodingIssue::None},
        {"2004/03/05,plain ascii", false, CsvEncodingIssue::None},
        {"\xEF\xBB\xBF"
         "2004",
         false, CsvEncodingIssue::Utf8}, // a mark after the first line is a character
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(csvEncodingIssue(c.line, c.firstLine), c.issue);
    }
}
