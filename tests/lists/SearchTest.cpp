// The search: the keyword by whole Shift-JIS characters, the criteria of the schedule and memo
// scans, the files that are and are not read, and the find dialog's checks.
#include "lists/Search.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <random>

using namespace kal;
using kal::test::crlf;
using kal::test::sj;
using kal::test::TempFolder;

namespace {

// A record of `day` in a category; the day lists' records have none.
std::string record(int day, const std::string& title, const std::string& category = "")
{
    ScheduleFields f = ReadSchedule(kal::test::scheduleLine(day, "", title));
    f.category = category;
    return ComposeSchedule(f);
}

std::vector<std::string> titlesOf(const ListRows& rows)
{
    std::vector<std::string> titles;
    for (const ListRow& row : rows.rows)
        titles.push_back(RecTitle(row.text));
    return titles;
}

std::vector<std::string> keysOf(const ListRows& rows)
{
    std::vector<std::string> keys;
    for (const ListRow& row : rows.rows)
        keys.push_back(ListRowKey(rows, row));
    return keys;
}

SearchCriteria keyword(const std::string& text, LetterCase letterCase = LetterCase::Ignore)
{
    SearchCriteria c;
    c.keyword = text;
    c.letterCase = letterCase;
    return c;
}

} // namespace

TEST(KeywordMatcher, MatchesWholeCharactersOnly)
{
    struct Case {
        const char* what;
        std::string keyword;
        LetterCase letterCase;
        std::string text;
        bool found;
    };
    const std::string a = sj("ア"); // 0x83 0x41: its second byte is "A"
    const Case cases[] = {
        {"A inside ア", "A", LetterCase::Match, a, false},
        {"a inside ア, case ignored", "a", LetterCase::Ignore, a, false},
        {"A after ア", "A", LetterCase::Match, a + "A", true},
        {"A between two ア", "A", LetterCase::Ignore, a + a + "xa" + a, true},
        {"ア itself", a, LetterCase::Ignore, "x" + a, true},
        {"a trail byte 0x61 is no letter", "\x83\x41", LetterCase::Ignore, "\x83\x61", false},
        {"a trail byte is not folded in the keyword", "\x83\x61", LetterCase::Ignore, "\x83\x41", false},
        {"lower case found in upper case", "abc", LetterCase::Ignore, "xxABCxx", true},
        {"upper case found in lower case", "ABC", LetterCase::Ignore, "xxabcxx", true},
        {"case kept", "abc", LetterCase::Match, "xxABCxx", false},
        {"case kept, found", "abc", LetterCase::Match, "ABCabc", true},
        {"full-width letters fold as in the sorts", sj("ａｂ"), LetterCase::Ignore, "x" + sj("ＡＢ"), true},
        {"full-width case kept", sj("ａｂ"), LetterCase::Match, sj("ＡＢ"), false},
        {"Ａ's bytes across two characters", sj("ａ"), LetterCase::Ignore, sj("モ") + "`", false},
        {"not there", "xyz", LetterCase::Ignore, "abc", false},
        {"longer than the text", "abcd", LetterCase::Ignore, "abc", false},
        {"empty keyword", "", LetterCase::Ignore, "abc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const KeywordMatcher matcher(c.keyword, c.letterCase);
        EXPECT_EQ(matcher.foundIn(c.text), c.found);
        // The quick test never rules out a real match.
        if (c.found) {
            EXPECT_TRUE(matcher.mayBeIn(c.text));
        }
    }
}

// The matcher looks for candidates without folding the text; it must agree with folding the
// whole text and finding the keyword there on a character's start.
TEST(KeywordMatcher, AgreesWithFoldingTheWholeText)
{
    // Letters of both cases and widths, lead bytes, and trail bytes that look like letters.
    const std::string alphabet = "aAbB`x\x82\x81\x60\x83\x41\x9a\x79\x61";
    auto found = [](const std::string& keyword, const std::string& text, LetterCase letterCase) {
        const std::string k = letterCase == LetterCase::Ignore ? text::toUpper(keyword) : keyword;
        const std::string t = letterCase == LetterCase::Ignore ? text::toUpper(text) : text;
        for (std::size_t at = 0; at < t.size(); at += sjis::charLength(t, at))
            if (t.compare(at, k.size(), k) == 0)
                return true;
        return false;
    };
    std::mt19937 random(30);
    auto pick = [&](std::size_t length) {
        std::string s(length, ' ');
        for (char& c : s)
            c = alphabet[random() % alphabet.size()];
        return s;
    };
    int hits = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string keyword = pick(1 + round % 3), text = pick(static_cast<std::size_t>(round % 13));
        for (LetterCase letterCase : {LetterCase::Ignore, LetterCase::Match}) {
            const KeywordMatcher matcher(keyword, letterCase);
            const bool expected = found(keyword, text, letterCase);
            hits += expected;
            ASSERT_EQ(matcher.foundIn(text), expected) << text::toUpper(keyword) << " in " << text::toUpper(text);
            ASSERT_TRUE(!expected || matcher.mayBeIn(text));
        }
    }
    EXPECT_GT(hits, 1000) << "the texts hold the keyword often enough to tell";
}

TEST(ScheduleSearch, KeywordInTheTitleWithAndWithoutCase)
{
    TempFolder data;
    ScheduleFields withPlace;
    withPlace.day = 3;
    withPlace.title = "lunch";
    withPlace.place = "abc hall";
    data.write("202403.sch", crlf({record(1, "ABC meeting"), record(2, "the abc"), record(2, "ab c"),
                                   ComposeSchedule(withPlace), record(4, sj("アＢＣ") + "Abc")}));
    EXPECT_EQ(titlesOf(SchFindEdit(data.path(), keyword("abc"))),
              (std::vector<std::string>{"ABC meeting", "the abc", sj("アＢＣ") + "Abc"}))
        << "only the title is searched, never the place";
    EXPECT_EQ(titlesOf(SchFindEdit(data.path(), keyword("abc", LetterCase::Match))),
              (std::vector<std::string>{"the abc"}));
}

TEST(ScheduleSearch, CategoryChosenMatchesExactlyAndATypedBeginningMatchesAll)
{
    TempFolder data;
    data.write("202403.sch", crlf({record(1, "a", "Work"), record(2, "b", "Workshop"), record(3, "c", "Private"),
                                   record(4, "d", "")}));
    auto category = [](const std::string& name) {
        SearchCriteria c;
        c.category = name;
        return c;
    };
    const std::string chosen = "Work" + std::string(10, ' '); // the 14 bytes of the list
    EXPECT_EQ(titlesOf(SchFindEdit(data.path(), category(chosen))), (std::vector<std::string>{"a"}));
    EXPECT_EQ(titlesOf(SchFindEdit(data.path(), category("W"))), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(titlesOf(SchFindEdit(data.path(), category("Workshopping long name"))), std::vector<std::string>{});
    // Blanks only are no criterion.
    SearchCriteria blanks = keyword("");
    blanks.category = "   ";
    blanks.from = Date{2024, 3, 1};
    EXPECT_EQ(SchFindEdit(data.path(), blanks).rows.size(), 4u);
}

TEST(ScheduleSearch, DateRangeAcrossAMonthBoundary)
{
    TempFolder data;
    data.write("202402.sch", crlf({record(29, "feb")}));
    data.write("202403.sch", crlf({record(1, "mar 1"), record(30, "mar 30"), record(31, "mar 31")}));
    data.write("202404.sch", crlf({record(1, "apr 1"), record(2, "apr 2")}));
    data.write("202405.sch", crlf({record(1, "may")}));
    SearchCriteria c;
    c.from = Date{2024, 3, 31};
    c.to = Date{2024, 4, 1};
    const ListRows rows = SchFindEdit(data.path(), c);
    EXPECT_EQ(titlesOf(rows), (std::vector<std::string>{"mar 31", "apr 1"}));
    EXPECT_EQ(keysOf(rows), (std::vector<std::string>{"202403310002", "202404010000"}));
    EXPECT_EQ(ScheduleRefOf(rows, rows.rows[1]).file, data.file("202404.sch"));
}

TEST(ScheduleSearch, OnlyExactMonthFileNamesAreRead)
{
    TempFolder data;
    data.write("202403.sch", crlf({record(5, "real")}));
    for (const char* name :
         {"202403 (1).sch", "2024 3.sch", "202413.sch", "202403.SCH", "202403.sch.bak", "x.sch", "20240.sch"})
        data.write(name, crlf({record(5, "copy")}));
    EXPECT_EQ(titlesOf(ListSchEdit(data.path(), ListScope::All, {2024, 3, 1})), (std::vector<std::string>{"real"}));
}

TEST(ScheduleSearch, EveryLineIsReadAndRowsComeInKeyOrder)
{
    TempFolder data;
    // Unsorted, with a line that is no record: nothing stops the scan at a later day.
    data.write("202403.sch", crlf({record(20, "late"), "garbage", record(5, "early"), record(20, "late 2")}));
    const ListRows rows = ListSchEdit(data.path(), ListScope::Month, {2024, 3, 1});
    EXPECT_EQ(keysOf(rows), (std::vector<std::string>{"202403050002", "202403200000", "202403200003"}));
    EXPECT_EQ(titlesOf(ListSchEdit(data.path(), ListScope::Day, {2024, 3, 20})),
              (std::vector<std::string>{"late", "late 2"}));
    EXPECT_TRUE(ListSchEdit(data.path(), ListScope::Day, {2024, 3, 21}).rows.empty());
    data.write("202312.sch", crlf({record(31, "old")}));
    EXPECT_EQ(ListSchEdit(data.path(), ListScope::Year, {2024, 7, 1}).rows.size(), 3u);
    EXPECT_EQ(ListSchEdit(data.path(), ListScope::All, {2024, 7, 1}).rows.size(), 4u);
    EXPECT_TRUE(ListSchEdit(data.file("missing/"), ListScope::All, {2024, 7, 1}).rows.empty());
}

// Enough months for the search to read them on several threads: the rows still come in key order
// with their lines, and a file that cannot be read is named.
TEST(ScheduleSearch, ManyMonthsComeInKeyOrderWithTheFilesThatCouldNotBeRead)
{
    TempFolder data;
    std::vector<std::string> expected;
    for (int month = 0; month < 450; ++month) {
        const std::string name =
            std::to_string(1950 + month / 12) + (month % 12 < 9 ? "0" : "") + std::to_string(month % 12 + 1) + ".sch";
        if (month == 360) { // 1980-01, in the middle of the months: unreadable
            files::createFolders(data.file(name));
            continue;
        }
        data.write(name, crlf({record(9, "hit"), "garbage", record(2, "other"), record(3, "hit 2")}));
        expected.push_back(name.substr(0, 6) + "030003");
        expected.push_back(name.substr(0, 6) + "090000");
    }
    const ListRows rows = SchFindEdit(data.path(), keyword("hit"));
    EXPECT_EQ(keysOf(rows), expected);
    ASSERT_EQ(rows.unreadable.size(), 1u);
    EXPECT_EQ(rows.unreadable[0].path, data.file("198001.sch"));
}

TEST(MemoSearch, LinesAreJoinedWithoutSeparator)
{
    TempFolder memo;
    memo.write("20240305.mem", crlf({"grocery: mi", "lk and bread"}));
    memo.write("20240306.mem", crlf({"Milk"}));
    memo.write("20240401.mem", crlf({sj("ア")}));
    memo.write("20240305 (1).mem", crlf({"milk"}));
    memo.write("20240230.mem", crlf({"milk"}));

    const ListRows rows = MemoFindEdit(memo.path(), keyword("milk"));
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(ListRowKey(rows, rows.rows[0]), "20240305");
    EXPECT_EQ(ListCellText(rows, rows.rows[0], 2), "grocery: milk and bread");
    EXPECT_EQ(MemoPathOf(rows, rows.rows[0]), memo.file("20240305.mem"));
    EXPECT_EQ(MemoFindEdit(memo.path(), keyword("milk", LetterCase::Match)).rows.size(), 1u);
    EXPECT_TRUE(MemoFindEdit(memo.path(), keyword("A", LetterCase::Match)).rows.empty())
        << "A is never found inside ア";

    SearchCriteria range;
    range.from = Date{2024, 3, 6};
    range.to = Date{2024, 12, 31};
    EXPECT_EQ(MemoFindEdit(memo.path(), range).rows.size(), 2u);
    EXPECT_EQ(MemoEdit(memo.path(), ListScope::Month, {2024, 3, 20}).rows.size(), 2u);
    EXPECT_EQ(MemoEdit(memo.path(), ListScope::All, {2024, 3, 20}).rows.size(), 3u);
}

TEST(SearchInput, ChecksOfTheFindDialog)
{
    struct Case {
        const char* what;
        SearchCriteria criteria;
        bool hasTarget;
        const char* message;
        SearchField focus;
    };
    auto make = [](SearchTarget target, std::string word, std::string category, std::optional<Date> from,
                   std::optional<Date> to) {
        SearchCriteria c;
        c.target = target;
        c.keyword = std::move(word);
        c.category = std::move(category);
        c.from = from;
        c.to = to;
        return c;
    };
    const Date d1{2024, 3, 1}, d2{2024, 3, 2};
    const auto S = SearchTarget::Schedules, M = SearchTarget::Memos;
    const Case refused[] = {
        {"no target", make(S, "x", "", {}, {}), false, "検索対象を選択して下さい。", SearchField::Target},
        {"nothing to look for", make(S, "", "  ", {}, {}), true, "検索条件を入力して下さい。", SearchField::Keyword},
        {"memo without text", make(M, "", "Work", {}, {}), true, "内容文字列を入力して下さい。", SearchField::Keyword},
        {"dates reversed", make(S, "x", "", d2, d1), true, "日付の入力に誤りがあります。", SearchField::FromDate},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.what);
        const auto error = CheckSearchInput(c.criteria, c.hasTarget);
        ASSERT_TRUE(error);
        EXPECT_STREQ(error->message, c.message);
        EXPECT_EQ(error->focus, c.focus);
    }
    for (const SearchCriteria& accepted :
         {make(S, "", "W", {}, {}), make(S, "", "", d1, d1), make(M, "", "", d1, d2), make(M, "x", "", {}, {})})
        EXPECT_FALSE(CheckSearchInput(accepted));
}
