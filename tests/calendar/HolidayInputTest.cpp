// The holiday dialog's logic: its checks in their order, the stored line built from the
// choices and read back, and the table written with one rule added, replaced or removed.
#include "calendar/HolidayInput.h"
#include "calendar/Holidays.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

HolidayChoices dateRule(int month, int day, int kind = 0)
{
    HolidayChoices c;
    c.month = month;
    c.day = day - 1;
    c.kind = kind;
    return c;
}

HolidayChoices weekdayRule(int weekNo, int weekday, int weekMonth, int kind = 1)
{
    HolidayChoices c;
    c.weekdayRule = true;
    c.weekNo = weekNo;
    c.weekday = weekday;
    c.weekMonth = weekMonth;
    c.kind = kind;
    return c;
}

const char* messageOf(const HolidayChoices& c)
{
    const auto error = CheckHolidayChoices(c);
    return error ? error->message : "";
}

} // namespace

TEST(HolidayInput, ChecksComeInTheirOrderWithTheirFocus)
{
    struct Case {
        const char* what;
        HolidayChoices choices;
        const char* message;
        HolidayField focus;
    };
    auto with = [](HolidayChoices c, auto change) {
        change(c);
        return c;
    };
    const Case cases[] = {
        {"no month", with(dateRule(1, 1), [](auto& c) { c.month = -1; }), "日付を入力して下さい。", HolidayField::None},
        {"no day", with(dateRule(1, 1), [](auto& c) { c.day = -1; }), "日付を入力して下さい。", HolidayField::None},
        {"no weekday", with(weekdayRule(1, 1, 1), [](auto& c) { c.weekday = -1; }), "曜日指定欄に誤りがあります。",
         HolidayField::None},
        {"no month for 第1", weekdayRule(1, 1, -1), "月を入力して下さい。", HolidayField::WeekMonth},
        {"毎月 29日", dateRule(0, 29), "ありえない日付が入力されています。", HolidayField::Day},
        {"2月 29日", dateRule(2, 29), "ありえない日付が入力されています。", HolidayField::Day},
        {"4月 31日", dateRule(4, 31), "ありえない日付が入力されています。", HolidayField::Day},
        {"three-digit year", with(dateRule(1, 1), [](auto& c) { c.fromYear = "200"; }),
         "適用年は西暦４桁の数字で入力して下さい。", HolidayField::FromYear},
        {"letters in the to-year", with(dateRule(1, 1), [](auto& c) { c.toYear = "20x0"; }),
         "適用年は西暦４桁の数字で入力して下さい。", HolidayField::ToYear},
        {"years reversed", with(dateRule(1, 1), [](auto& c) { c.fromYear = "2005", c.toYear = "2000"; }),
         "適用年月に誤りがあります。", HolidayField::FromYear},
        {"no kind", dateRule(1, 1, -1), "分類は必須項目です。", HolidayField::Kind},
        {"line end in the name", with(dateRule(1, 1), [](auto& c) { c.name = "a\r\nb"; }),
         "名称に改行やタブなどの制御文字は使えません。", HolidayField::Name},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto error = CheckHolidayChoices(c.choices);
        ASSERT_TRUE(error);
        EXPECT_STREQ(error->message, c.message);
        EXPECT_EQ(error->focus, c.focus);
    }
}

TEST(HolidayInput, AcceptedChoices)
{
    auto fromOnly = dateRule(12, 31);
    fromOnly.fromYear = "2005";
    auto toOnly = dateRule(2, 28);
    toOnly.toYear = "2000";
    auto sameYear = dateRule(0, 28, 2);
    sameYear.fromYear = sameYear.toYear = "2010";
    auto everyWeek = weekdayRule(0, 3, -1);
    for (const HolidayChoices& c : {fromOnly, toOnly, sameYear, everyWeek, weekdayRule(5, 1, 0)})
        EXPECT_STREQ(messageOf(c), "");
}

TEST(HolidayInput, LinesOfEachShape)
{
    struct Case {
        const char* what;
        HolidayChoices choices;
        std::string line;
    };
    auto named = [](HolidayChoices c, const char* name, const char* from, const char* to) {
        c.name = sj(name);
        c.fromYear = from;
        c.toYear = to;
        return c;
    };
    const Case cases[] = {
        {"date", named(dateRule(1, 1, 0), "元日", "1949", ""), " 1 11949    000" + sj("元日")},
        {"every month", named(dateRule(0, 25, 2), "給料日", "", ""), "9925        002" + sj("給料日")},
        {"第2 月曜日 1月", named(weekdayRule(2, 1, 1, 0), "成人の日", "2000", ""), " 1  2000    210" + sj("成人の日")},
        {"最終 金曜日 毎月", named(weekdayRule(5, 5, 0, 1), "", "", ""), "99          551"},
        {"毎週 日曜日", named(weekdayRule(0, 0, 4, 1), "休み", "", ""), "            001" + sj("休み")},
        {"a name that looks like a format", named(dateRule(3, 3, 2), "%s%n%d年", "2000", "2099"),
         " 3 320002099002%s%n%d" + sj("年")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ComposeHolidayLine(c.choices), c.line);
        // Every line the dialog writes is one the holiday table reads.
        EXPECT_TRUE(ParseHolidayRule(c.line).has_value());
    }
}

TEST(HolidayInput, ChoicesReadBackFromEachShape)
{
    struct Case {
        std::string line;
        HolidayChoices expected;
    };
    HolidayChoices everyMonthLast = weekdayRule(5, 1, 0, 0);
    HolidayChoices everyWeek = weekdayRule(0, 0, -1, 1);
    HolidayChoices date = dateRule(1, 1, 0);
    date.fromYear = "1949";
    HolidayChoices secondMonday = weekdayRule(2, 1, 1, 0);
    const Case cases[] = {
        {"99          510", everyMonthLast},
        {"99          910", everyMonthLast}, // "9" is the old form of the last
                                             // week
        {"            001", everyWeek},
        {" 1 11949    000", date},
        {" 1          210", secondMonday},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const HolidayChoices read = HolidayChoicesOf(c.line);
        EXPECT_EQ(read.weekdayRule, c.expected.weekdayRule);
        EXPECT_EQ(read.month, c.expected.month);
        EXPECT_EQ(read.day, c.expected.day);
        EXPECT_EQ(read.weekNo, c.expected.weekNo);
        EXPECT_EQ(read.weekday, c.expected.weekday);
        EXPECT_EQ(read.weekMonth, c.expected.weekMonth);
        EXPECT_EQ(read.kind, c.expected.kind);
        EXPECT_EQ(read.fromYear, c.expected.fromYear);
        EXPECT_EQ(ComposeHolidayLine(read),
                  c.line.substr(0, 12) + (c.line[12] == '9' ? '5' : c.line[12]) + c.line.substr(13));
    }
}

TEST(HolidayInput, NewChoicesStartFromTheSelectedDay)
{
    // 2024-03-10 is a Sunday: the weekday is Sunday whichever day the weeks start on.
    const HolidayChoices c = HolidayChoicesFor({2024, 3, 10});
    EXPECT_FALSE(c.weekdayRule);
    EXPECT_EQ(c.month, 3);
    EXPECT_EQ(c.day, 9);
    EXPECT_EQ(c.weekday, 0);
    EXPECT_EQ(c.weekNo, 0);
    EXPECT_EQ(c.kind, -1);
}

TEST(HolidayInput, CorrectionReplacesExactlyItsLineAndKeepsTheTableSorted)
{
    TempFolder data;
    const std::vector<std::string> table = {" 1 1        000A", " 1 1        000A", " 5 5        000C",
                                            "12 1        002Z"};
    data.write("Holiday.dat", crlf(table));
    // The second of two identical lines is replaced; the first stays.
    const std::string path = data.file("Holiday.dat");
    store::EditResult r = SaveHolidayLine(path, store::LineRef{path, 1, table[1]}, " 3 3        001B");
    ASSERT_TRUE(r.ok()) << r.reason;
    EXPECT_EQ(data.read("Holiday.dat"),
              crlf({" 1 1        000A", " 3 3        001B", " 5 5        000C", "12 1        002Z"}));

    // A line that is no longer what the list showed is not touched.
    r = SaveHolidayLine(path, store::LineRef{path, 1, table[1]}, " 4 4        001X");
    EXPECT_EQ(r.status, store::EditStatus::Changed);
    EXPECT_EQ(data.read("Holiday.dat"),
              crlf({" 1 1        000A", " 3 3        001B", " 5 5        000C", "12 1        002Z"}));

    // New rules are added, the file created when missing.
    TempFolder empty;
    ASSERT_TRUE(SaveHolidayLine(empty.file("Holiday.dat"), std::nullopt, "99 1        002x").ok());
    EXPECT_EQ(empty.read("Holiday.dat"), crlf({"99 1        002x"}));
}

TEST(HolidayInput, DeletionRemovesTheCheckedLinesOnly)
{
    TempFolder data;
    // A garbage line that starts with "D" survives: lines go by index, not by a marker.
    const std::vector<std::string> table = {" 1 1        000A", " 2 2        000B", " 3 3        000C", "Dangling"};
    data.write("Holiday.dat", crlf(table));
    const std::string path = data.file("Holiday.dat");
    EXPECT_EQ(DeleteHolidayLines(path, {{path, 2, table[2]}, {path, 1, " 2 2        000X"}}).status,
              store::EditStatus::Changed);
    EXPECT_EQ(data.read("Holiday.dat"), crlf(table)) << "nothing is removed when one line changed";
    ASSERT_TRUE(DeleteHolidayLines(path, {{path, 2, table[2]}, {path, 0, table[0]}}).ok());
    EXPECT_EQ(data.read("Holiday.dat"), crlf({table[1], table[3]}));
}
