// Subscribed calendars against a feed server on this computer: what a refresh does to the copy
// through changes and failures, the commands, and what a month shows of a feed.
#include "calendar/MonthBuild.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "settings/AppSettings.h"
#include "support/FeedServer.h"
#include "support/RunProgram.h"
#include "sync/FeedCache.h"
#include "sync/FeedCalendar.h"
#include "sync/FeedRefresh.h"
#include "sync/FeedSchedules.h"

#include <gtest/gtest.h>

#include <span>

namespace kal {
namespace {

std::string calendar(const std::string& body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + body + "END:VCALENDAR\r\n";
}

std::string event(const std::string& uid, const std::string& lines)
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\n" + lines + "END:VEVENT\r\n";
}

const std::string kOne = calendar(event("a", "DTSTART:20260504T010000Z\r\nSUMMARY:A\r\n"));
const std::string kTwo = calendar(event("a", "DTSTART:20260504T010000Z\r\nSUMMARY:A\r\n") +
                                  event("b", "DTSTART;VALUE=DATE:20260505\r\nSUMMARY:B\r\n"));

TEST(FeedRefresh, ReplacesTheCopyOnlyWithAWholeNewCalendar)
{
    test::FeedServer server;
    test::TempFolder home;
    const Subscription subscription{"F", server.url("/a.ics")};
    const std::string copy = feedTextPath(home.path(), subscription.url);
    struct Step {
        const char* what;
        std::string served, mode;
        FeedOutcome outcome;
        std::string copy, reasonHas;
    } steps[] = {
        {"first fetch", kOne, "", FeedOutcome::New, kOne, ""},
        {"asked again: 304", kOne, "", FeedOutcome::Unchanged, kOne, ""},
        {"changed", kTwo, "", FeedOutcome::Updated, kTwo, ""},
        {"404", kOne, "missing", FeedOutcome::Failed, kTwo,
         "予定表がありません（404）。（前回の取得: 2026/05/01 09:30）"},
        {"cut connection", kOne, "cut", FeedOutcome::Failed, kTwo, "途中で切れました"},
        {"garbage", "<html>Not a calendar</html>", "", FeedOutcome::Failed, kTwo, "iCalendar 形式"},
        {"five redirects", kOne, "redirect5", FeedOutcome::Updated, kOne, ""},
        {"six redirects", kTwo, "redirect6", FeedOutcome::Failed, kOne, "転送が5回を超えた"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        server.serve("a.ics", step.served);
        server.spoil(step.mode);
        const FeedRefresh refresh = refreshFeed(
            subscription, home.path(), [](const caldav::FeedRequest& r) { return caldav::fetchFeed(r); },
            DateTime{{2026, 5, 1}, 9, 30, 0});
        EXPECT_EQ(refresh.outcome, step.outcome);
        EXPECT_EQ(files::readBytes(copy), step.copy);
        EXPECT_NE(refresh.reason.find(step.reasonHas), std::string::npos) << refresh.reason;
    }
    EXPECT_NE(server.log().find("200 /a.ics\n304 /a.ics\n200 /a.ics\n"), std::string::npos) << server.log();
}

TEST(FeedCommands, AddNothingOnFailureAndKeepTheRestOfTheSettings)
{
    test::FeedServer server;
    test::TempFolder home;
    home.write("Kalendra.ini", "[Sync]\r\nUrl=\r\n");
    server.serve("a.ics", kTwo);
    struct Step {
        std::string arguments;
        int exitCode;
        std::string printed;
    } steps[] = {
        {"--subscribe 学校 " + server.url("/none.ics"), 1, "（404）"},
        {"--refresh-subscriptions", 1, "購読している予定表はありません"},
        {"--subscribe 学校 webcal://127.0.0.1:1/x.ics", 1, "サーバーに接続できません"},
        {"--subscribe 学校 " + server.url("/a.ics"), 0, "学校: 購読を追加しました（2件）"},
        {"--subscribe 学校 " + server.url("/a.ics"), 1, "すでにあります"},
        {"--refresh-subscriptions", 0, "学校: 変更はありません（2件）"},
        {"--dump-month 2026 5", 0, "2026/05/05\tC\t9\t0\t先負\t4B［学校］\n"},
        {"--search A --subscriptions --from 2026/05/01", 0, "2026/05/04\t10:00\t\tA\t\t購読:学校\n"},
        {"--search A --from 2026/05/01", 1, "該当するデータはありません"},
        {"--unsubscribe 部活", 1, "「部活」という購読はありません"},
        {"--unsubscribe 学校", 0, "学校: 購読をやめました"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.arguments);
        const test::ProgramRun run = test::runKalendra(home.path(), step.arguments);
        EXPECT_EQ(run.exitCode, step.exitCode);
        EXPECT_NE(run.output.find(step.printed), std::string::npos) << run.output;
    }
    EXPECT_EQ(home.read("Kalendra.ini"), "[Sync]\r\nUrl=\r\n[Subscriptions]\r\n");
    EXPECT_FALSE(files::fileExists(feedTextPath(home.path(), server.url("/a.ics"))));
}

const std::string kNewYork = "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"
                             "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nDTSTART:20070311T020000\r\n"
                             "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\n"
                             "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nDTSTART:20071104T020000\r\n"
                             "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

TEST(FeedCalendar, ShowsAMonthOfRecurrencesZonesAndSpansInJapanTime)
{
    const std::string text =
        calendar(kNewYork +
                 event("w", "DTSTART:20260504T010000Z\r\nDTEND:20260504T020000Z\r\nRRULE:FREQ=WEEKLY\r\n"
                            "EXDATE:20260511T010000Z\r\nSUMMARY:週次\r\n") +
                 event("w", "RECURRENCE-ID:20260518T010000Z\r\nDTSTART:20260519T050000Z\r\nDTEND:20260519T060000Z\r\n"
                            "SUMMARY:週次（変更）\r\n") +
                 event("w", "RECURRENCE-ID:20260525T010000Z\r\nDTSTART:20260525T010000Z\r\nSTATUS:CANCELLED\r\n") +
                 event("ny", "DTSTART;TZID=America/New_York:20260507T200000\r\n"
                             "DTEND;TZID=America/New_York:20260507T210000\r\nSUMMARY:NY\r\n") +
                 event("s", "DTSTART;VALUE=DATE:20260513\r\nDTEND;VALUE=DATE:20260516\r\nSUMMARY:合宿\r\n") +
                 event("h", "DTSTART;VALUE=DATE:20260429\r\nDTEND;VALUE=DATE:20260503\r\nSUMMARY:連休\r\n") +
                 event("t", "DTSTART;VALUE=DATE:20241001\r\nDTEND;VALUE=DATE:20250503\r\nRRULE:FREQ=YEARLY\r\n"
                            "SUMMARY:学年\r\n") +
                 event("c", "DTSTART:20260520T010000Z\r\nSTATUS:CANCELLED\r\nSUMMARY:中止\r\n") +
                 event("m", "DTSTART:20260501T000000Z\r\nRRULE:FREQ=MINUTELY;COUNT=1000000\r\nSUMMARY:毎分\r\n"));
    const FeedCalendar::Parsed parsed = FeedCalendar::parse(text);
    ASSERT_TRUE(parsed.calendar) << parsed.reason;
    std::vector<std::string> shown;
    int everyMinute = 0;
    const ExtraScheduleList& year = parsed.calendar->year(2026);
    const auto [may, june] = DaysWithin(year, Date{2026, 5, 1}, Date{2026, 5, 31});
    for (const auto& day : std::span(may, june)) {
        const std::string title = sjis::toUtf8(day->title);
        everyMinute += title == "毎分";
        if (title != "毎分")
            shown.push_back(std::to_string(day->date.day) + " " + day->start + "-" + day->end + " " + title);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"1 - 連休", "1 - 学年", "2 - 連休", "2 - 学年", "4 10:00-11:00 週次",
                                               "8 09:00-10:00 NY", "13 - 合宿", "14 - 合宿", "15 - 合宿",
                                               "19 14:00-15:00 週次（変更）"}));
    EXPECT_GT(everyMinute, 0);
    EXPECT_LE(everyMinute, kIcalOccurrenceFloor);
    EXPECT_GT(parsed.calendar->cutCount(), 0);
    EXPECT_FALSE(FeedCalendar::parse("BEGIN:VCALENDAR\r\ngarbage").calendar);
}

// Two calendars over the turn of a year: every entry in its cell, singles and occurrences of both
// in the order of their start times.
TEST(FeedSchedules, MergeTheCalendarsIntoTheCellsAcrossTheYear)
{
    test::TempFolder home;
    files::createFolders(feedFolder(home.path()));
    const std::string texts[] = {
        calendar(event("w", "DTSTART:20261230T000000Z\r\nRRULE:FREQ=DAILY;COUNT=4\r\nSUMMARY:朝\r\n") +
                 event("n", "DTSTART:20270101T030000Z\r\nSUMMARY:昼\r\n")),
        calendar(event("y", "DTSTART;VALUE=DATE:20261231\r\nDTEND;VALUE=DATE:20270102\r\nSUMMARY:年越し\r\n") +
                 event("e", "DTSTART:20270101T010000Z\r\nSUMMARY:初詣\r\n"))};
    std::vector<Subscription> subscriptions(2);
    for (int i = 0; i < 2; ++i) {
        subscriptions[i].name = "c" + std::to_string(i);
        subscriptions[i].url = "/feeds/c" + std::to_string(i) + ".ics";
        files::saveBytes(feedTextPath(home.path(), subscriptions[i].url), texts[i]);
    }
    FeedSchedules feeds(home.path(), subscriptions);
    MonthLayout layout = BuildLayout(2027, 1, WeekStart::Sunday);
    DayCellLists lists;
    CellPos newYear;
    ASSERT_TRUE(layout.find({2027, 1, 1}, newYear));
    // The user's own schedule comes before them, a ToDo entry after.
    lists.add(newYear.column, newYear.row, CellLine{"8todo"});
    lists.add(newYear.column, newYear.row, CellLine{"3own"});
    ApplyExtraSchedules(feeds, layout, lists);
    const auto cell = [&](const Date& date) {
        CellPos pos;
        std::string shown;
        if (layout.find(date, pos))
            for (const CellLine& line : lists.at(pos.column, pos.row))
                shown += (line.extra ? sjis::toUtf8(ExtraLineText(*line.extra)) : line.text) + ";";
        return shown;
    };
    EXPECT_EQ(cell({2026, 12, 30}), "409:00 朝［c0］;");
    EXPECT_EQ(cell({2026, 12, 31}), "4年越し［c1］;409:00 朝［c0］;");
    EXPECT_EQ(cell({2027, 1, 1}), "3own;4年越し［c1］;409:00 朝［c0］;410:00 初詣［c1］;412:00 昼［c0］;8todo;");
    EXPECT_EQ(cell({2027, 1, 2}), "409:00 朝［c0］;");
    EXPECT_EQ(cell({2027, 1, 3}), "");
}

} // namespace
} // namespace kal
