// The holiday generator: the committed table and reference list, their form, and the days
// they give, checked against the law's known cases and the Cabinet Office list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Equinox.h"
#include "HolidayLaw.h"
#include "HolidayTable.h"
#include "platform/SjisCodec.h"

namespace {

using namespace std::chrono;

const std::string kSubstitute = "振替休日";
const std::string kCitizens = "国民の休日";

std::string readFile(const std::string& relativePath)
{
    const std::string path = std::string(KALENDRA_SOURCE_DIR) + "/" + relativePath;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const std::string& committedHolidayDat()
{
    static const std::string bytes = readFile("data/Holiday.dat");
    return bytes;
}

const std::string& committedReferenceList()
{
    static const std::string bytes = readFile("tests/calendar/data/holidays-by-law.txt");
    return bytes;
}

std::vector<std::string> splitLines(const std::string& text, const std::string& end)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t at; (at = text.find(end, start)) != std::string::npos; start = at + end.size()) {
        lines.push_back(text.substr(start, at - start));
    }
    if (start != text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::string isoDate(year_month_day d)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d/%02u/%02u", static_cast<int>(d.year()) % 10000,
                  static_cast<unsigned>(d.month()) % 100, static_cast<unsigned>(d.day()) % 100);
    return text;
}

// Date "yyyy/mm/dd" -> name, from the committed reference list.
const std::map<std::string, std::string>& referenceDays()
{
    static const std::map<std::string, std::string> days = [] {
        std::map<std::string, std::string> result;
        for (const std::string& line : splitLines(committedReferenceList(), "\n")) {
            const size_t tab = line.find('\t');
            if (tab == std::string::npos)
                throw std::runtime_error("no tab in: " + line);
            result[line.substr(0, tab)] = line.substr(tab + 1);
        }
        return result;
    }();
    return days;
}

std::string nameOn(const std::string& date)
{
    const auto& days = referenceDays();
    const auto it = days.find(date);
    return it == days.end() ? std::string() : it->second;
}

// " 1".."31" style: right-aligned, blank-padded, no leading zero. 0 when malformed.
int paddedNumber(const std::string& field)
{
    if (field.size() != 2)
        return 0;
    if (field[0] == ' ' && field[1] >= '1' && field[1] <= '9')
        return field[1] - '0';
    if (field[0] >= '1' && field[0] <= '9' && std::isdigit(static_cast<unsigned char>(field[1]))) {
        return (field[0] - '0') * 10 + (field[1] - '0');
    }
    return 0;
}

// -1 for four blanks, the year for four digits, -2 otherwise.
int yearField(const std::string& field)
{
    if (field == "    ")
        return -1;
    if (field.size() != 4 ||
        !std::all_of(field.begin(), field.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        return -2;
    }
    return std::stoi(field);
}

// Shift-JIS structure by hand, independent of iconv: single bytes or lead + trail pairs.
bool isShiftJisByteSequence(const std::string& bytes)
{
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if ((b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF))
            continue;
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (!lead || i + 1 >= bytes.size())
            return false;
        const auto t = static_cast<unsigned char>(bytes[++i]);
        if (!((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)))
            return false;
    }
    return true;
}

// Shift-JIS to UTF-8 that refuses bytes which do not convert back to themselves (a cut pair,
// an unassigned code), where kal::sjis::toUtf8 would put in U+FFFD and go on.
std::string decodeExactly(const std::string& sjis)
{
    std::string utf8 = kal::sjis::toUtf8(sjis);
    if (kal::sjis::fromUtf8(utf8) != sjis)
        throw std::runtime_error("not exact Shift-JIS: " + utf8);
    return utf8;
}

bool bytesLess(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}

struct ParsedRule {
    int month = 0;
    int day = 0; // 0: weekday rule
    int fromYear = -1;
    int toYear = -1;
    int weekNo = 0;
    int weekday = 0;
    std::string name; // UTF-8
};

ParsedRule parseRule(const std::string& line)
{
    ParsedRule r;
    r.month = paddedNumber(line.substr(0, 2));
    r.day = line.substr(2, 2) == "  " ? 0 : paddedNumber(line.substr(2, 2));
    r.fromYear = yearField(line.substr(4, 4));
    r.toYear = yearField(line.substr(8, 4));
    r.weekNo = line[12] - '0';
    r.weekday = line[13] - '0';
    r.name = decodeExactly(line.substr(15));
    return r;
}

} // namespace

TEST(HolidayGenerator, OutputMatchesTheCommittedFiles)
{
    // Regenerate with the holiday_data target when this fails after a deliberate change.
    EXPECT_TRUE(holidays::holidayDat() == committedHolidayDat()) << "data/Holiday.dat is not what the generator writes";
    EXPECT_TRUE(holidays::referenceList() == committedReferenceList())
        << "tests/calendar/data/holidays-by-law.txt is not what the generator writes";
}

TEST(HolidayDat, EveryLineIsWellFormed)
{
    const std::string& file = committedHolidayDat();
    ASSERT_GE(file.size(), 3u);
    EXPECT_NE(file.substr(0, 3), "\xEF\xBB\xBF") << "no byte order mark";
    ASSERT_EQ(file.substr(file.size() - 2), "\r\n");
    for (size_t i = 0; i < file.size(); ++i) {
        if (file[i] == '\n') {
            ASSERT_TRUE(i > 0 && file[i - 1] == '\r') << "bare LF at byte " << i;
        }
        if (file[i] == '\r') {
            ASSERT_TRUE(i + 1 < file.size() && file[i + 1] == '\n') << "bare CR";
        }
    }

    const std::vector<std::string> lines = splitLines(file, "\r\n");
    ASSERT_GT(lines.size(), 300u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        SCOPED_TRACE("line " + std::to_string(i + 1) + ": " + kal::sjis::toUtf8(line));
        ASSERT_GE(line.size(), 16u);
        const std::string name = line.substr(15);
        EXPECT_LE(name.size(), 40u);
        EXPECT_TRUE(isShiftJisByteSequence(line));
        EXPECT_NO_THROW(decodeExactly(line));
        EXPECT_TRUE(
            std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x20; }));

        const int month = paddedNumber(line.substr(0, 2));
        EXPECT_TRUE(month >= 1 && month <= 12) << "month";
        const std::string dayField = line.substr(2, 2);
        const int from = yearField(line.substr(4, 4));
        const int to = yearField(line.substr(8, 4));
        EXPECT_NE(from, -2) << "fromYear";
        EXPECT_NE(to, -2) << "toYear";
        if (from >= 0 && to >= 0) {
            EXPECT_LE(from, to);
        }
        EXPECT_TRUE(line[12] >= '0' && line[12] <= '5') << "weekNo";
        EXPECT_TRUE(line[13] >= '0' && line[13] <= '6') << "weekday";
        EXPECT_EQ(line[14], '0') << "kind";

        if (dayField == "  ") {
            // The only weekday rules by law are the second and third Mondays.
            EXPECT_TRUE(line[12] == '2' || line[12] == '3') << "weekNo";
            EXPECT_EQ(line[13], '1') << "weekday";
        } else {
            const int day = paddedNumber(dayField);
            const int longestYear = 2000; // a leap year, so that 2/29 would pass
            EXPECT_TRUE(day >= 1 && year_month_day(year{from >= 0 ? from : longestYear}, std::chrono::month(month),
                                                   std::chrono::day(day))
                                        .ok())
                << "day";
            EXPECT_EQ(line[12], '0') << "weekNo of a date rule";
            EXPECT_EQ(line[13], '0') << "weekday of a date rule";
        }
        if (i > 0) {
            EXPECT_TRUE(bytesLess(lines[i - 1], line)) << "not sorted by bytes, or repeated";
        }
    }
}

TEST(HolidayDat, RulesGiveTheNationalHolidaysOfTheLawDateByDate)
{
    // Expand the committed rules here, independently of the generator, and compare them with the
    // law evaluated date by date, less the two kinds the program computes.
    const sys_days first = sys_days{1948y / July / 20};
    const sys_days last = sys_days{2099y / December / 31};
    std::map<std::string, std::string> fromRules;
    for (const std::string& line : splitLines(committedHolidayDat(), "\r\n")) {
        const ParsedRule r = parseRule(line);
        for (int y = 1948; y <= 2099; ++y) {
            if ((r.fromYear >= 0 && y < r.fromYear) || (r.toYear >= 0 && y > r.toYear))
                continue;
            const auto ym = year(y) / std::chrono::month(r.month);
            sys_days d;
            if (r.day != 0) {
                const year_month_day ymd = ym / std::chrono::day(r.day);
                if (!ymd.ok())
                    continue;
                d = sys_days{ymd};
            } else if (r.weekNo == 5) {
                d = sys_days{ym / weekday_last(weekday(r.weekday))};
            } else {
                d = sys_days{ym / weekday_indexed(weekday(r.weekday), r.weekNo)};
            }
            if (d < first || d > last)
                continue;
            const std::string date = isoDate(year_month_day{d});
            EXPECT_TRUE(fromRules.emplace(date, r.name).second) << "two rules on " << date;
        }
    }

    std::map<std::string, std::string> byLaw;
    for (const auto& [date, name] : referenceDays()) {
        if (name != kSubstitute && name != kCitizens)
            byLaw.emplace(date, name);
    }
    std::vector<std::string> differences;
    for (const auto& [date, name] : fromRules) {
        const auto it = byLaw.find(date);
        if (it == byLaw.end() || it->second != name) {
            differences.push_back(date + " rules: " + name + ", law: " + (it == byLaw.end() ? "-" : it->second));
        }
    }
    for (const auto& [date, name] : byLaw) {
        if (!fromRules.count(date))
            differences.push_back(date + " rules: -, law: " + name);
    }
    EXPECT_TRUE(differences.empty()) << differences.size()
                                     << " differences, first: " << (differences.empty() ? "" : differences.front());
    EXPECT_GT(fromRules.size(), 2000u);
}

TEST(ReferenceList, IsOneLinePerDayOffInDateOrder)
{
    const std::string& text = committedReferenceList();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.substr(0, 3), "\xEF\xBB\xBF");
    ASSERT_EQ(text.back(), '\n');
    std::string previous;
    for (const std::string& line : splitLines(text, "\n")) {
        SCOPED_TRACE(line);
        ASSERT_GT(line.size(), 11u);
        const std::string date = line.substr(0, 10);
        EXPECT_EQ(line[10], '\t');
        EXPECT_FALSE(line.substr(11).empty());
        EXPECT_EQ(line.find('\t', 11), std::string::npos);
        int y = 0;
        unsigned m = 0, d = 0;
        ASSERT_EQ(std::sscanf(date.c_str(), "%4d/%2u/%2u", &y, &m, &d), 3);
        const year_month_day ymd{year(y), month(m), day(d)};
        EXPECT_TRUE(ymd.ok());
        EXPECT_EQ(isoDate(ymd), date) << "zero-padded";
        EXPECT_GE(sys_days{ymd}, sys_days{1948y / July / 20});
        EXPECT_LE(sys_days{ymd}, sys_days{2099y / December / 31});
        EXPECT_LT(previous, date) << "out of order or repeated";
        previous = date;
    }
    EXPECT_EQ(referenceDays().begin()->first, "1948/09/23");
    EXPECT_EQ(referenceDays().rbegin()->first.substr(0, 4), "2099");
}

TEST(ReferenceList, HandCheckedDays)
{
    struct Case {
        const char* date;
        const char* name; // "" = not a day off
        const char* why;
    };
    const Case cases[] = {
        {"1948/07/20", "", "the law took effect on an ordinary day"},
        {"1948/09/23", "秋分の日", "first holiday under the law"},
        {"1949/01/01", "元日", "first 元日"},
        {"1949/01/15", "成人の日", ""},
        {"1959/04/10", "皇太子明仁親王の結婚の儀", ""},
        {"1966/02/11", "", "建国記念の日 only from 1967"},
        {"1966/09/15", "敬老の日", "added in June 1966"},
        {"1966/10/10", "体育の日", ""},
        {"1967/02/11", "建国記念の日", ""},
        {"1973/02/12", "", "2/11 on a Sunday, before the substitute rule"},
        {"1973/04/30", kSubstitute.c_str(), "first substitute holiday"},
        {"1973/09/24", kSubstitute.c_str(), "秋分の日 on a Sunday"},
        {"1981/05/04", kSubstitute.c_str(), "Monday after 5/3 on a Sunday"},
        {"1985/05/04", "", "a Saturday before the citizens' rule"},
        {"1986/05/04", "", "a Sunday: excluded until 2006"},
        {"1987/05/04", kSubstitute.c_str(), "substitute, not citizens' holiday"},
        {"1988/05/04", kCitizens.c_str(), "first citizens' holiday"},
        {"1988/12/23", "", ""},
        {"1989/02/24", "昭和天皇の大喪の礼", ""},
        {"1989/04/29", "みどりの日", ""},
        {"1989/12/23", "天皇誕生日", ""},
        {"1990/11/12", "即位礼正殿の儀", ""},
        {"1991/05/04", kCitizens.c_str(), "a Saturday still counts"},
        {"1993/06/09", "皇太子徳仁親王の結婚の儀", ""},
        {"1995/07/20", "", "海の日 from 1996"},
        {"1996/07/20", "海の日", ""},
        {"1997/05/04", "", "a Sunday between two holidays before 2007"},
        {"1999/01/15", "成人の日", ""},
        {"2000/01/10", "成人の日", "second Monday from 2000"},
        {"2000/01/15", "", ""},
        {"2002/07/20", "海の日", ""},
        {"2003/07/21", "海の日", "third Monday from 2003"},
        {"2003/09/15", "敬老の日", "third Monday from 2003"},
        {"2006/05/04", kCitizens.c_str(), ""},
        {"2007/04/29", "昭和の日", ""},
        {"2007/05/04", "みどりの日", ""},
        {"2008/05/06", kSubstitute.c_str(), "5/4 on a Sunday, 5/5 a holiday"},
        {"2009/09/22", kCitizens.c_str(), ""},
        {"2012/09/22", "秋分の日", ""},
        {"2015/08/11", "", "山の日 from 2016"},
        {"2015/09/22", kCitizens.c_str(), ""},
        {"2016/08/11", "山の日", ""},
        {"2018/12/23", "天皇誕生日", "last on 12/23"},
        {"2018/12/24", kSubstitute.c_str(), ""},
        {"2019/02/23", "", "天皇誕生日 moves to 2/23 only from 2020"},
        {"2019/10/14", "体育の日", "renamed only from 2020"},
        {"2019/12/23", "", ""},
        {"2020/02/24", kSubstitute.c_str(), ""},
        {"2020/10/12", "", "スポーツの日 moved to 7/24 in 2020"},
        {"2021/08/09", kSubstitute.c_str(), "山の日 on Sunday 8/8"},
        {"2021/10/11", "", "スポーツの日 moved to 7/23 in 2021"},
        {"2022/10/10", "スポーツの日", ""},
        {"2026/05/06", kSubstitute.c_str(), "5/3 on a Sunday, 5/4 and 5/5 holidays"},
        {"2026/09/22", kCitizens.c_str(), ""},
        {"2028/09/22", "秋分の日", "formula year"},
        {"2092/03/19", "春分の日", "formula year"},
        {"2099/12/23", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nameOn(c.date), c.name) << c.date << " " << c.why;
    }
}

TEST(ReferenceList, WholeYears)
{
    const std::map<int, std::vector<std::string>> years = {
        {1948, {"09/23 秋分の日", "11/03 文化の日", "11/23 勤労感謝の日"}},
        {1973,
         {"01/01 元日", "01/15 成人の日", "02/11 建国記念の日", "03/21 春分の日", "04/29 天皇誕生日", "04/30 振替休日",
          "05/03 憲法記念日", "05/05 こどもの日", "09/15 敬老の日", "09/23 秋分の日", "09/24 振替休日",
          "10/10 体育の日", "11/03 文化の日", "11/23 勤労感謝の日"}},
        {2019,
         {"01/01 元日",       "01/14 成人の日",       "02/11 建国記念の日", "03/21 春分の日",       "04/29 昭和の日",
          "04/30 国民の休日", "05/01 天皇の即位の日", "05/02 国民の休日",   "05/03 憲法記念日",     "05/04 みどりの日",
          "05/05 こどもの日", "05/06 振替休日",       "07/15 海の日",       "08/11 山の日",         "08/12 振替休日",
          "09/16 敬老の日",   "09/23 秋分の日",       "10/14 体育の日",     "10/22 即位礼正殿の儀", "11/03 文化の日",
          "11/04 振替休日",   "11/23 勤労感謝の日"}},
        {2020,
         {"01/01 元日", "01/13 成人の日", "02/11 建国記念の日", "02/23 天皇誕生日", "02/24 振替休日", "03/20 春分の日",
          "04/29 昭和の日", "05/03 憲法記念日", "05/04 みどりの日", "05/05 こどもの日", "05/06 振替休日",
          "07/23 海の日", "07/24 スポーツの日", "08/10 山の日", "09/21 敬老の日", "09/22 秋分の日", "11/03 文化の日",
          "11/23 勤労感謝の日"}},
        {2021,
         {"01/01 元日", "01/11 成人の日", "02/11 建国記念の日", "02/23 天皇誕生日", "03/20 春分の日", "04/29 昭和の日",
          "05/03 憲法記念日", "05/04 みどりの日", "05/05 こどもの日", "07/22 海の日", "07/23 スポーツの日",
          "08/08 山の日", "08/09 振替休日", "09/20 敬老の日", "09/23 秋分の日", "11/03 文化の日",
          "11/23 勤労感謝の日"}},
        {2026,
         {"01/01 元日", "01/12 成人の日", "02/11 建国記念の日", "02/23 天皇誕生日", "03/20 春分の日", "04/29 昭和の日",
          "05/03 憲法記念日", "05/04 みどりの日", "05/05 こどもの日", "05/06 振替休日", "07/20 海の日", "08/11 山の日",
          "09/21 敬老の日", "09/22 国民の休日", "09/23 秋分の日", "10/12 スポーツの日", "11/03 文化の日",
          "11/23 勤労感謝の日"}},
    };
    for (const auto& [y, expected] : years) {
        std::vector<std::string> actual;
        const std::string prefix = std::to_string(y) + "/";
        for (const auto& [date, name] : referenceDays()) {
            if (date.compare(0, prefix.size(), prefix) == 0) {
                actual.push_back(date.substr(5) + " " + name);
            }
        }
        EXPECT_EQ(actual, expected) << y;
    }
}

TEST(ReferenceList, MatchesTheCabinetOfficeListFrom1955To2027)
{
    // Every day off ("mmdd") of the Cabinet Office list of national holidays and days off.
    const std::map<int, std::string> published = {
        {1955, "0101 0115 0321 0429 0503 0505 0924 1103 1123"},
        {1956, "0101 0115 0321 0429 0503 0505 0923 1103 1123"},
        {1957, "0101 0115 0321 0429 0503 0505 0923 1103 1123"},
        {1958, "0101 0115 0321 0429 0503 0505 0923 1103 1123"},
        {1959, "0101 0115 0321 0410 0429 0503 0505 0924 1103 1123"},
        {1960, "0101 0115 0320 0429 0503 0505 0923 1103 1123"},
        {1961, "0101 0115 0321 0429 0503 0505 0923 1103 1123"},
        {1962, "0101 0115 0321 0429 0503 0505 0923 1103 1123"},
        {1963, "0101 0115 0321 0429 0503 0505 0924 1103 1123"},
        {1964, "0101 0115 0320 0429 0503 0505 0923 1103 1123"},
        {1965, "0101 0115 0321 0429 0503 0505 0923 1103 1123"},
        {1966, "0101 0115 0321 0429 0503 0505 0915 0923 1010 1103 1123"},
        {1967, "0101 0115 0211 0321 0429 0503 0505 0915 0924 1010 1103 1123"},
        {1968, "0101 0115 0211 0320 0429 0503 0505 0915 0923 1010 1103 1123"},
        {1969, "0101 0115 0211 0321 0429 0503 0505 0915 0923 1010 1103 1123"},
        {1970, "0101 0115 0211 0321 0429 0503 0505 0915 0923 1010 1103 1123"},
        {1971, "0101 0115 0211 0321 0429 0503 0505 0915 0924 1010 1103 1123"},
        {1972, "0101 0115 0211 0320 0429 0503 0505 0915 0923 1010 1103 1123"},
        {1973, "0101 0115 0211 0321 0429 0430 0503 0505 0915 0923 0924 1010 1103 1123"},
        {1974, "0101 0115 0211 0321 0429 0503 0505 0506 0915 0916 0923 1010 1103 1104 1123"},
        {1975, "0101 0115 0211 0321 0429 0503 0505 0915 0924 1010 1103 1123 1124"},
        {1976, "0101 0115 0211 0320 0429 0503 0505 0915 0923 1010 1011 1103 1123"},
        {1977, "0101 0115 0211 0321 0429 0503 0505 0915 0923 1010 1103 1123"},
        {1978, "0101 0102 0115 0116 0211 0321 0429 0503 0505 0915 0923 1010 1103 1123"},
        {1979, "0101 0115 0211 0212 0321 0429 0430 0503 0505 0915 0924 1010 1103 1123"},
        {1980, "0101 0115 0211 0320 0429 0503 0505 0915 0923 1010 1103 1123 1124"},
        {1981, "0101 0115 0211 0321 0429 0503 0504 0505 0915 0923 1010 1103 1123"},
        {1982, "0101 0115 0211 0321 0322 0429 0503 0505 0915 0923 1010 1011 1103 1123"},
        {1983, "0101 0115 0211 0321 0429 0503 0505 0915 0923 1010 1103 1123"},
        {1984, "0101 0102 0115 0116 0211 0320 0429 0430 0503 0505 0915 0923 0924 1010 1103 1123"},
        {1985, "0101 0115 0211 0321 0429 0503 0505 0506 0915 0916 0923 1010 1103 1104 1123"},
        {1986, "0101 0115 0211 0321 0429 0503 0505 0915 0923 1010 1103 1123 1124"},
        {1987, "0101 0115 0211 0321 0429 0503 0504 0505 0915 0923 1010 1103 1123"},
        {1988, "0101 0115 0211 0320 0321 0429 0503 0504 0505 0915 0923 1010 1103 1123"},
        {1989, "0101 0102 0115 0116 0211 0224 0321 0429 0503 0504 0505 0915 0923 1010 1103 1123 "
               "1223"},
        {1990, "0101 0115 0211 0212 0321 0429 0430 0503 0504 0505 0915 0923 0924 1010 1103 1112 1123 "
               "1223 1224"},
        {1991, "0101 0115 0211 0321 0429 0503 0504 0505 0506 0915 0916 0923 1010 1103 1104 1123 "
               "1223"},
        {1992, "0101 0115 0211 0320 0429 0503 0504 0505 0915 0923 1010 1103 1123 1223"},
        {1993, "0101 0115 0211 0320 0429 0503 0504 0505 0609 0915 0923 1010 1011 1103 1123 1223"},
        {1994, "0101 0115 0211 0321 0429 0503 0504 0505 0915 0923 1010 1103 1123 1223"},
        {1995, "0101 0102 0115 0116 0211 0321 0429 0503 0504 0505 0915 0923 1010 1103 1123 1223"},
        {1996, "0101 0115 0211 0212 0320 0429 0503 0504 0505 0506 0720 0915 0916 0923 1010 1103 1104 "
               "1123 1223"},
        {1997, "0101 0115 0211 0320 0429 0503 0505 0720 0721 0915 0923 1010 1103 1123 1124 1223"},
        {1998, "0101 0115 0211 0321 0429 0503 0504 0505 0720 0915 0923 1010 1103 1123 1223"},
        {1999, "0101 0115 0211 0321 0322 0429 0503 0504 0505 0720 0915 0923 1010 1011 1103 1123 "
               "1223"},
        {2000, "0101 0110 0211 0320 0429 0503 0504 0505 0720 0915 0923 1009 1103 1123 1223"},
        {2001, "0101 0108 0211 0212 0320 0429 0430 0503 0504 0505 0720 0915 0923 0924 1008 1103 1123 "
               "1223 1224"},
        {2002, "0101 0114 0211 0321 0429 0503 0504 0505 0506 0720 0915 0916 0923 1014 1103 1104 1123 "
               "1223"},
        {2003, "0101 0113 0211 0321 0429 0503 0505 0721 0915 0923 1013 1103 1123 1124 1223"},
        {2004, "0101 0112 0211 0320 0429 0503 0504 0505 0719 0920 0923 1011 1103 1123 1223"},
        {2005, "0101 0110 0211 0320 0321 0429 0503 0504 0505 0718 0919 0923 1010 1103 1123 1223"},
        {2006, "0101 0102 0109 0211 0321 0429 0503 0504 0505 0717 0918 0923 1009 1103 1123 1223"},
        {2007, "0101 0108 0211 0212 0321 0429 0430 0503 0504 0505 0716 0917 0923 0924 1008 1103 1123 "
               "1223 1224"},
        {2008, "0101 0114 0211 0320 0429 0503 0504 0505 0506 0721 0915 0923 1013 1103 1123 1124 "
               "1223"},
        {2009, "0101 0112 0211 0320 0429 0503 0504 0505 0506 0720 0921 0922 0923 1012 1103 1123 "
               "1223"},
        {2010, "0101 0111 0211 0321 0322 0429 0503 0504 0505 0719 0920 0923 1011 1103 1123 1223"},
        {2011, "0101 0110 0211 0321 0429 0503 0504 0505 0718 0919 0923 1010 1103 1123 1223"},
        {2012, "0101 0102 0109 0211 0320 0429 0430 0503 0504 0505 0716 0917 0922 1008 1103 1123 1223 "
               "1224"},
        {2013, "0101 0114 0211 0320 0429 0503 0504 0505 0506 0715 0916 0923 1014 1103 1104 1123 "
               "1223"},
        {2014, "0101 0113 0211 0321 0429 0503 0504 0505 0506 0721 0915 0923 1013 1103 1123 1124 "
               "1223"},
        {2015, "0101 0112 0211 0321 0429 0503 0504 0505 0506 0720 0921 0922 0923 1012 1103 1123 "
               "1223"},
        {2016, "0101 0111 0211 0320 0321 0429 0503 0504 0505 0718 0811 0919 0922 1010 1103 1123 "
               "1223"},
        {2017, "0101 0102 0109 0211 0320 0429 0503 0504 0505 0717 0811 0918 0923 1009 1103 1123 "
               "1223"},
        {2018, "0101 0108 0211 0212 0321 0429 0430 0503 0504 0505 0716 0811 0917 0923 0924 1008 1103 "
               "1123 1223 1224"},
        {2019, "0101 0114 0211 0321 0429 0430 0501 0502 0503 0504 0505 0506 0715 0811 0812 0916 0923 "
               "1014 1022 1103 1104 1123"},
        {2020, "0101 0113 0211 0223 0224 0320 0429 0503 0504 0505 0506 0723 0724 0810 0921 0922 1103 "
               "1123"},
        {2021, "0101 0111 0211 0223 0320 0429 0503 0504 0505 0722 0723 0808 0809 0920 0923 1103 "
               "1123"},
        {2022, "0101 0110 0211 0223 0321 0429 0503 0504 0505 0718 0811 0919 0923 1010 1103 1123"},
        {2023, "0101 0102 0109 0211 0223 0321 0429 0503 0504 0505 0717 0811 0918 0923 1009 1103 "
               "1123"},
        {2024, "0101 0108 0211 0212 0223 0320 0429 0503 0504 0505 0506 0715 0811 0812 0916 0922 0923 "
               "1014 1103 1104 1123"},
        {2025, "0101 0113 0211 0223 0224 0320 0429 0503 0504 0505 0506 0721 0811 0915 0923 1013 1103 "
               "1123 1124"},
        {2026, "0101 0112 0211 0223 0320 0429 0503 0504 0505 0506 0720 0811 0921 0922 0923 1012 1103 "
               "1123"},
        {2027, "0101 0111 0211 0223 0321 0322 0429 0503 0504 0505 0719 0811 0920 0923 1011 1103 "
               "1123"},
    };
    ASSERT_EQ(published.size(), 2027u - 1955u + 1u);
    for (const auto& [y, days] : published) {
        std::string actual;
        const std::string prefix = std::to_string(y) + "/";
        for (const auto& entry : referenceDays()) {
            const std::string& date = entry.first;
            if (date.compare(0, prefix.size(), prefix) != 0)
                continue;
            if (!actual.empty())
                actual += ' ';
            actual += date.substr(5, 2) + date.substr(8, 2);
        }
        EXPECT_EQ(actual, days) << y;
    }
}

TEST(ReferenceList, EachNameSpansTheYearsOfItsLaw)
{
    struct Span {
        const char* name;
        const char* first;
        int lastYear;
        int count; // -1: not checked
    };
    const Span spans[] = {
        {"元日", "1949/01/01", 2099, 151},
        {"成人の日", "1949/01/15", 2099, 151},
        {"建国記念の日", "1967/02/11", 2099, 133},
        {"春分の日", "1949/03/21", 2099, 151},
        {"天皇誕生日", "1949/04/29", 2099, 40 + 30 + 80},
        {"昭和の日", "2007/04/29", 2099, 93},
        {"みどりの日", "1989/04/29", 2099, 18 + 93},
        {"憲法記念日", "1949/05/03", 2099, 151},
        {"こどもの日", "1949/05/05", 2099, 151},
        {"海の日", "1996/07/20", 2099, 104},
        {"山の日", "2016/08/11", 2099, 84},
        {"敬老の日", "1966/09/15", 2099, 134},
        {"秋分の日", "1948/09/23", 2099, 152},
        {"体育の日", "1966/10/10", 2019, 54},
        {"スポーツの日", "2020/07/24", 2099, 80},
        {"文化の日", "1948/11/03", 2099, 152},
        {"勤労感謝の日", "1948/11/23", 2099, 152},
        {"皇太子明仁親王の結婚の儀", "1959/04/10", 1959, 1},
        {"昭和天皇の大喪の礼", "1989/02/24", 1989, 1},
        {"即位礼正殿の儀", "1990/11/12", 2019, 2},
        {"皇太子徳仁親王の結婚の儀", "1993/06/09", 1993, 1},
        {"天皇の即位の日", "2019/05/01", 2019, 1},
        {"振替休日", "1973/04/30", 2099, -1},
        {"国民の休日", "1988/05/04", 2099, -1},
    };
    std::map<std::string, std::vector<std::string>> datesByName;
    for (const auto& [date, name] : referenceDays())
        datesByName[name].push_back(date);
    std::set<std::string> known;
    for (const Span& s : spans) {
        known.insert(s.name);
        const auto& dates = datesByName[s.name];
        ASSERT_FALSE(dates.empty()) << s.name;
        EXPECT_EQ(dates.front(), s.first) << s.name;
        EXPECT_EQ(std::stoi(dates.back().substr(0, 4)), s.lastYear) << s.name;
        if (s.count >= 0) {
            EXPECT_EQ(static_cast<int>(dates.size()), s.count) << s.name;
        }
    }
    for (const auto& [name, dates] : datesByName) {
        EXPECT_TRUE(known.count(name)) << "unexpected name " << name << " on " << dates.front();
    }
}

TEST(Equinox, PublishedDaysThenTheFormula)
{
    struct Case {
        int year;
        int vernal;
        int autumnal;
    };
    // Published days, including those where the day moved.
    const Case published[] = {{1951, 21, 24}, {1960, 20, 23}, {1979, 21, 24}, {1980, 20, 23},
                              {1993, 20, 23}, {2012, 20, 22}, {2026, 20, 23}, {2027, 21, 23}};
    for (const Case& c : published) {
        EXPECT_EQ(holidays::vernalEquinoxDay(c.year), c.vernal) << c.year;
        EXPECT_EQ(holidays::autumnalEquinoxDay(c.year), c.autumnal) << c.year;
        // The formula agrees with every published day so far.
        EXPECT_EQ(holidays::vernalEquinoxByFormula(c.year), c.vernal) << c.year;
        EXPECT_EQ(holidays::autumnalEquinoxByFormula(c.year), c.autumnal) << c.year;
    }
    // Beyond the gazette: 2092 and 2096 bring the first 19 March equinoxes.
    const Case formula[] = {{2028, 20, 22}, {2031, 21, 23}, {2045, 20, 22}, {2059, 20, 23},
                            {2078, 20, 22}, {2092, 19, 22}, {2096, 19, 22}, {2099, 20, 23}};
    for (const Case& c : formula) {
        EXPECT_EQ(holidays::vernalEquinoxDay(c.year), c.vernal) << c.year;
        EXPECT_EQ(holidays::autumnalEquinoxDay(c.year), c.autumnal) << c.year;
    }
    EXPECT_THROW(holidays::vernalEquinoxByFormula(2100), std::out_of_range);
    EXPECT_THROW(holidays::autumnalEquinoxByFormula(1899), std::out_of_range);
}

TEST(ShiftJis, ConvertsExactlyOrRefuses)
{
    EXPECT_EQ(holidays::toShiftJis("元日"), "\x8C\xB3\x93\xFA");
    EXPECT_EQ(decodeExactly("\x8C\xB3\x93\xFA"), "元日");
    EXPECT_THROW(holidays::toShiftJis("\xF0\x9F\x8E\x8C"), std::runtime_error); // an emoji
    EXPECT_THROW(decodeExactly("\x8C"), std::runtime_error);                    // a cut pair
}

TEST(HolidayTable, NamesFitAndRulesAreNotRepeated)
{
    std::set<std::string> lines;
    for (const holidays::HolidayRule& rule : holidays::holidayRules()) {
        EXPECT_LE(holidays::toShiftJis(rule.name).size(), holidays::kMaxNameBytes) << rule.name;
        EXPECT_TRUE(lines.insert(holidays::formatRule(rule)).second) << holidays::formatRule(rule);
    }
    EXPECT_EQ(holidays::formatRule({1, 1, 1949, 0, 0, 0, "元日"}), " 1 11949    000元日");
    EXPECT_EQ(holidays::formatRule({1, 0, 2000, 0, 2, 1, "成人の日"}), " 1  2000    210成人の日");
    EXPECT_EQ(holidays::formatRule({10, 10, 1966, 1999, 0, 0, "体育の日"}), "101019661999000体育の日");
}

TEST(HolidayTable, NthWeekdayOfMonthAgreesWithChrono)
{
    // Every month of the table's years, every weekday, n = 1..4 and 5 = the last one.
    for (int y = 1948; y <= 2099; ++y) {
        for (unsigned m = 1; m <= 12; ++m) {
            for (unsigned w = 0; w <= 6; ++w) {
                const auto ym = year(y) / std::chrono::month(m);
                for (unsigned n = 1; n <= 4; ++n) {
                    const year_month_day expected{ym / weekday_indexed(weekday(w), n)};
                    EXPECT_EQ(
                        holidays::nthWeekdayOfMonth(y, static_cast<int>(m), static_cast<int>(n), static_cast<int>(w)),
                        static_cast<int>(static_cast<unsigned>(expected.day())))
                        << y << "/" << m << " weekday " << w << " n " << n;
                }
                const year_month_day last{ym / weekday_last(weekday(w))};
                EXPECT_EQ(holidays::nthWeekdayOfMonth(y, static_cast<int>(m), 5, static_cast<int>(w)),
                          static_cast<int>(static_cast<unsigned>(last.day())))
                    << y << "/" << m << " weekday " << w << " last";
            }
        }
    }
}
