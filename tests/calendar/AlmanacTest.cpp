// The old-calendar, solar-term and seasonal-day tables: their structure over 1900-2099, published
// dates, and what a cell keeps when space runs short.
#include "calendar/Almanac.h"
#include "calendar/CalendarMath.h"
#include "calendar/LunarCommand.h"
#include "platform/SjisCodec.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace kal;
using kal::test::sj;

namespace {

std::string utf8Of(const Date& date)
{
    return sjis::toUtf8(OldDateText(OldDateOf(date)) + "|" + SolarTermName(SolarTermOf(date)) + "|" +
                        SeasonalDaysOf(date));
}

} // namespace

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
    const std::pair<Date, const char*> cases[] = {
        {{2024, 2, 10}, "1/1||"},
        {{2033, 12, 22}, "閏11/1||"},
        {{2034, 2, 19}, "1/1||"},
        {{2017, 2, 26}, "2/1||"},
        {{2024, 2, 3}, "12/24||節分"},
        {{2024, 2, 4}, "12/25|立春|"},
        {{2024, 5, 1}, "3/23||八十八夜"},
        {{2024, 6, 10}, "5/5||入梅"},
        {{2024, 7, 1}, "5/26||半夏生"},
        {{2024, 7, 19}, "6/14||土用入り"},
        {{2024, 8, 31}, "7/28||二百十日"},
        {{2024, 9, 10}, "8/8||二百二十日"},
        {{2024, 9, 19}, "8/17||彼岸入り"},
        {{2024, 9, 25}, "8/23||彼岸明け"},
        {{2020, 1, 20}, "12/26|大寒|"},
        {{2025, 12, 22}, "11/3|冬至|"},
        {{1900, 1, 6}, "12/6|小寒|"},
        {{2099, 12, 31}, "11/20||"},
        {{1899, 12, 31}, "||"},
        {{2100, 1, 1}, "||"},
        {{2024, 2, 30}, "||"},
    };
    for (const auto& [date, expected] : cases)
        EXPECT_EQ(utf8Of(date), expected) << date.year << "/" << date.month << "/" << date.day;
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

TEST(LunarCommand, OneUtf8LineADayAndExitTwoForBadDates)
{
    const auto run = kal::test::runProgram(KALENDRA_BINARY " --lunar 2033/12/21 2033/12/22");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "2033/12/21\t11/30\t仏滅\t冬至\t\n2033/12/22\t閏11/1\t大安\t\t\n");

    const std::vector<std::vector<std::string>> refused = {{},
                                                           {"2024/2/3"},
                                                           {"1899/12/31"},
                                                           {"2024/01/01", "2100/01/01"},
                                                           {"2024/02/30"},
                                                           {"2024/02/03", "2024/02/02"},
                                                           {"2024/01/01", "2024/01/02", "2024/01/03"}};
    for (const auto& arguments : refused) {
        std::ostringstream out, err;
        EXPECT_EQ(lunarCommand().run(HeadlessContext{"/none/", {2026, 1, 1}, out, err}, arguments), kExitUsage);
        EXPECT_NE(err.str().find("使い方: kalendra [--home フォルダ] --lunar FROM [TO]"), std::string::npos);
        EXPECT_EQ(out.str(), "");
    }
}
