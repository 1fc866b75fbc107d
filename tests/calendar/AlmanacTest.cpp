// The old-calendar, solar-term and seasonal-day tables: their structure over 1900-2099, published
// dates, and what a cell keeps when space runs short.
#include "calendar/Almanac.h"
#include "calendar/CalendarMath.h"
#include "platform/DateFormat.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace kal;
using kal::test::sj;

TEST(Almanac, EveryDayFollowsTheMonthsTermsAndRokuyoOfTheTables)
{
    OldDate previous = OldDateOf({1900, 1, 1});
    int monthsThisYear = -1, lastTerm = 0; // counted from the first new year
    for (Date d = {1900, 1, 2}; d.year <= kLastYear; d = addDays(d, 1)) {
        SCOPED_TRACE(d.year * 10000 + d.month * 100 + d.day);
        const OldDate old = OldDateOf(d);
        if (old.day == 1) {
            EXPECT_TRUE(previous.day == 29 || previous.day == 30);
            EXPECT_EQ(old.month, old.leap ? previous.month : previous.month % 12 + 1);
            if (old.month == 1 && !old.leap) {
                EXPECT_TRUE(monthsThisYear == -1 || monthsThisYear == 12 || monthsThisYear == 13);
                monthsThisYear = 0;
            }
            monthsThisYear += monthsThisYear >= 0 ? 1 : 0;
        } else {
            EXPECT_EQ(old.day, previous.day + 1);
            EXPECT_EQ(old.month * 2 + old.leap, previous.month * 2 + previous.leap);
        }
        // The rokuyo table and the month table come from one calendar.
        EXPECT_EQ(RokuyoOf(d.year, d.month, d.day), (old.month + old.day + 4) % 6 + 1);
        if (const int term = SolarTermOf(d)) {
            EXPECT_EQ(term, lastTerm % 24 + 1);
            lastTerm = term;
        }
        previous = old;
    }
    EXPECT_EQ(lastTerm, 24);
}

TEST(Almanac, PublishedDatesAndTheEndsOfTheTables)
{
    const char* const published[] = {"2024/02/10\t1/1\t先勝\t\t",           "2033/12/22\t閏11/1\t大安\t\t",

                                     "2017/02/26\t2/1\t友引\t\t",           "2024/02/03\t12/24\t大安\t\t節分",

                                     "2025/05/01\t4/4\t先勝\t\t八十八夜",   "2024/06/10\t5/5\t先負\t\t入梅",
                                     "2024/07/01\t5/26\t赤口\t\t半夏生",    "2024/07/19\t6/14\t先勝\t\t土用入り",

                                     "2024/09/10\t8/8\t先負\t\t二百二十日", "2024/09/19\t8/17\t赤口\t\t彼岸入り",

                                     "2020/01/20\t12/26\t先勝\t大寒\t",     "2025/12/22\t11/3\t先勝\t冬至\t",

                                     "2099/12/31\t11/20\t赤口\t\t",         "1899/12/31\t\t\t\t"};
    for (const std::string expected : published)
        EXPECT_EQ(LunarLine(*text::parseSlashDate(expected.substr(0, 10))), expected);
}

TEST(Almanac, TheOxDaysOfEachDoyoAreThePublishedOnes)
{
    for (const char* day : {"2024/07/24", "2024/08/05", "2025/07/31", "2024/01/26", "2024/10/28"})
        EXPECT_EQ(SeasonalDaysOf(*text::parseSlashDate(day)), sj("土用の丑")) << day;
    EXPECT_EQ(SeasonalDaysOf({2024, 6, 30}), "") << "an ox day outside 土用";
    EXPECT_EQ(AlmanacItems({2025, 7, 19}, {true, false, true}), // the first day of 土用 too
              (std::vector<std::string>{sj("土用入り"), sj("土用の丑"), sj("旧6/25")}));
}

TEST(Almanac, ItemsFollowTheFlagsAndGiveWayOldDateFirst)
{
    const Date risshun{2024, 2, 4};
    EXPECT_EQ(AlmanacItems(risshun, {true, true, true}), (std::vector<std::string>{sj("立春"), sj("旧12/25")}));
    EXPECT_EQ(AlmanacItems({2033, 12, 22}, {true, false, false}), std::vector<std::string>{sj("閏11/1")});
    EXPECT_TRUE(AlmanacItems(risshun, {false, false, true}).empty());

    const std::vector<std::string> items = {"term", "seasonal", "old"};
    const auto bytes = [](const std::string& text) { return static_cast<int>(text.size()); };
    const std::pair<int, const char*> widths[] = {
        {99, "term seasonal old"}, {16, "term seasonal"}, {12, "term"}, {4, "term"}, {3, ""}};
    for (const auto& [width, expected] : widths)
        EXPECT_EQ(FitAlmanac(items, width, bytes), expected) << width;
}
