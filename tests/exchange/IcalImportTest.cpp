// Reading iCalendar files into schedules and ToDo entries: time zones, all-day and multi-day
// events, recurrence with exceptions, VTODO fields, and the texts the month files cannot hold.
#include "exchange/IcalImport.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "schedule/ScheduleRecord.h"
#include "support/ScheduleLines.h"
#include "support/TempFolder.h"
#include "todo/TodoMemo.h"

#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

namespace {

const Date kToday{2026, 1, 10};

std::string calendar(const std::vector<std::string>& components)
{
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//test//EN\r\n";
    for (const std::string& c : components)
        text += c;
    return text + "END:VCALENDAR\r\n";
}

std::string event(const std::string& body)
{
    return "BEGIN:VEVENT\r\nUID:test-" + std::to_string(body.size()) + "\r\nDTSTAMP:20260101T000000Z\r\n" + body +
           "END:VEVENT\r\n";
}

IcalEntries read(const std::string& text, Date from = kToday, Date to = {2027, 1, 9})
{
    return readIcalEntries(text, from, to, kToday);
}

struct Day {
    Date date;
    std::string start, end;
};

std::vector<Day> daysOf(const IcalEntries& entries)
{
    std::vector<Day> days;
    for (const ImportedSchedule& s : entries.schedules())
        days.push_back({s.date, s.start, s.end});
    return days;
}

void expectDays(const IcalEntries& entries, const std::vector<Day>& expected)
{
    const std::vector<Day> got = daysOf(entries);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i].date, expected[i].date);
        EXPECT_EQ(got[i].start, expected[i].start);
        EXPECT_EQ(got[i].end, expected[i].end);
    }
}

const char* const kNewYorkZone =
    "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\n"
    "BEGIN:STANDARD\r\nDTSTART:19701101T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\n"
    "TZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:19700308T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\n"
    "TZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";

} // namespace

TEST(IcalImportEvents, TimesBecomeJapanTimeAndDaysAreSplit)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<Day> days;
    };
    const Case cases[] = {
        {"timed in Japan",
         calendar({event("DTSTART;TZID=Asia/Tokyo:20260315T090000\r\n"
                         "DTEND;TZID=Asia/Tokyo:20260315T103000\r\nSUMMARY:a\r\n")}),
         {{{2026, 3, 15}, "09:00", "10:30"}}},
        {"UTC",
         calendar({event("DTSTART:20260315T010000Z\r\nDTEND:20260315T020000Z\r\nSUMMARY:a\r\n")}),
         {{{2026, 3, 15}, "10:00", "11:00"}}},
        {"floating is local",
         calendar({event("DTSTART:20260315T090000\r\nSUMMARY:a\r\n")}),
         {{{2026, 3, 15}, "09:00", ""}}},
        {"New York crossing midnight in Japan",
         calendar({kNewYorkZone, event("DTSTART;TZID=America/New_York:20260115T093000\r\n"
                                       "DTEND;TZID=America/New_York:20260115T110000\r\nSUMMARY:a\r\n")}),
         {{{2026, 1, 15}, "23:30", "01:00"}}},
        {"New York zone known without VTIMEZONE",
         calendar({event("DTSTART;TZID=America/New_York:20260715T093000\r\n"
                         "DTEND;TZID=America/New_York:20260715T100000\r\nSUMMARY:a\r\n")}),
         {{{2026, 7, 15}, "22:30", "23:00"}}},
        {"all-day multi-day",
         calendar({event("DTSTART;VALUE=DATE:20260105\r\nDTEND;VALUE=DATE:20260108\r\n")}),
         {{{2026, 1, 5}, "", ""}, {{2026, 1, 6}, "", ""}, {{2026, 1, 7}, "", ""}}},
        {"all-day without end", calendar({event("DTSTART;VALUE=DATE:20260105\r\n")}), {{{2026, 1, 5}, "", ""}}},
        {"duration over three days",
         calendar({event("DTSTART;TZID=Asia/Tokyo:20260301T200000\r\nDURATION:P2DT1H\r\n")}),
         {{{2026, 3, 1}, "20:00", ""}, {{2026, 3, 2}, "", ""}, {{2026, 3, 3}, "", "21:00"}}},
        {"ends at midnight",
         calendar({event("DTSTART:20260301T220000\r\nDTEND:20260302T000000\r\n")}),
         {{{2026, 3, 1}, "22:00", "00:00"}}},
        {"end before start keeps the start",
         calendar({event("DTSTART:20260301T220000\r\nDTEND:20260301T100000\r\n")}),
         {{{2026, 3, 1}, "22:00", ""}}},
        {"cancelled is left out", calendar({event("DTSTART:20260301T220000\r\nSTATUS:CANCELLED\r\n")}), {}},
        {"outside the calendar's years", calendar({event("DTSTART;VALUE=DATE:21500101\r\n")}), {}},
        {"a decade-long event is bounded",
         calendar({event("DTSTART;VALUE=DATE:20260101\r\nDTEND;VALUE=DATE:20360101\r\n")}),
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IcalEntries entries = read(c.text);
        ASSERT_TRUE(entries.ok) << entries.message;
        if (std::string(c.name) == "a decade-long event is bounded") {
            EXPECT_EQ(entries.schedules().size(), 366u);
            continue;
        }
        expectDays(entries, c.days);
    }
}

TEST(IcalImportEvents, WeeklyRuleWithExceptionsStaysInsideThePeriod)
{
    const std::string text =
        calendar({event("DTSTART;TZID=Asia/Tokyo:20260105T100000\r\nDTEND;TZID=Asia/Tokyo:20260105T110000\r\n"
                        "RRULE:FREQ=WEEKLY;BYDAY=MO\r\nEXDATE;TZID=Asia/Tokyo:20260119T100000\r\n"
                        "SUMMARY:weekly\r\n")});
    const IcalEntries entries = read(text, {2026, 1, 1}, {2026, 2, 10});
    expectDays(entries, {{{2026, 1, 5}, "10:00", "11:00"},
                         {{2026, 1, 12}, "10:00", "11:00"},
                         {{2026, 1, 26}, "10:00", "11:00"},
                         {{2026, 2, 2}, "10:00", "11:00"},
                         {{2026, 2, 9}, "10:00", "11:00"}});

    const IcalEntries later = read(text, {2026, 3, 1}, {2026, 3, 31});
    EXPECT_EQ(later.schedules().size(), 5u) << "March 2026 has five Mondays";
    EXPECT_EQ(later.schedules().front().date, (Date{2026, 3, 2}));
}

TEST(IcalImportEvents, RecurrenceCornerCases)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<Date> dates;
    };
    const Case cases[] = {
        {"count ends the series",
         calendar({event("DTSTART;VALUE=DATE:20260110\r\nRRULE:FREQ=DAILY;COUNT=3\r\n")}),
         {{2026, 1, 10}, {2026, 1, 11}, {2026, 1, 12}}},
        {"extra dates and a date exclusion",
         calendar({event("DTSTART;VALUE=DATE:20260110\r\nRRULE:FREQ=MONTHLY;COUNT=3\r\n"
                         "RDATE;VALUE=DATE:20260115\r\nEXDATE;VALUE=DATE:20260210\r\n")}),
         {{2026, 1, 10}, {2026, 1, 15}, {2026, 3, 10}}},
        {"a replaced occurrence comes from its own component",
         calendar({"BEGIN:VEVENT\r\nUID:r\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260110T090000\r\n"
                   "RRULE:FREQ=DAILY;COUNT=2\r\nEND:VEVENT\r\n",
                   "BEGIN:VEVENT\r\nUID:r\r\nDTSTAMP:20260101T000000Z\r\nRECURRENCE-ID:20260111T090000\r\n"
                   "DTSTART:20260112T150000\r\nEND:VEVENT\r\n"}),
         {{2026, 1, 10}, {2026, 1, 12}}},
        {"a time written out of range is replaced as the time it means",
         calendar({"BEGIN:VEVENT\r\nUID:r\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260110T085980\r\n"
                   "RDATE;VALUE=DATE:20260120\r\nEND:VEVENT\r\n",
                   "BEGIN:VEVENT\r\nUID:r\r\nDTSTAMP:20260101T000000Z\r\nRECURRENCE-ID:20260110T090020\r\n"
                   "DTSTART:20260112T150000\r\nEND:VEVENT\r\n"}),
         {{2026, 1, 20}, {2026, 1, 12}}},
        {"yearly since long ago gives only the period's",
         calendar({event("DTSTART;VALUE=DATE:19500301\r\nRRULE:FREQ=YEARLY\r\n")}),
         {{2026, 3, 1}}},
        {"a minutely rule is bounded", calendar({event("DTSTART:20000101T000000\r\nRRULE:FREQ=MINUTELY\r\n")}), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IcalEntries entries = read(c.text);
        if (std::string(c.name) == "a minutely rule is bounded") {
            EXPECT_EQ(entries.schedules().size(), 1000u);
            EXPECT_EQ(entries.schedules().front().date, kToday);
            continue;
        }
        ASSERT_EQ(entries.schedules().size(), c.dates.size());
        for (std::size_t i = 0; i < c.dates.size(); ++i)
            EXPECT_EQ(entries.schedules()[i].date, c.dates[i]) << i;
    }
}

TEST(IcalImportTexts, UnencodableCharactersAndLongTextsAreCounted)
{
    const std::string hundred(100, 'x');
    const std::string kanji50 = [] {
        std::string s = "a"; // an odd byte first, so the 40-byte cut falls inside a character
        for (int i = 0; i < 50; ++i)
            s += "漢";
        return s;
    }();
    const std::string text = calendar({
        event("DTSTART;VALUE=DATE:20260110\r\nSUMMARY:会議 😀 です\r\nLOCATION:本社\\n3階\r\n"
              "CATEGORIES:仕事,私用\r\n"),
        event("DTSTART;VALUE=DATE:20260111\r\nSUMMARY:" + hundred + "\r\nLOCATION:" + kanji50 + "\r\n"),
    });
    const IcalEntries entries = read(text);
    ASSERT_EQ(entries.schedules().size(), 2u);
    EXPECT_EQ(entries.schedules()[0].title, sj("会議 〓 です"));
    EXPECT_EQ(entries.schedules()[0].place, sj("本社 3階")) << "a line break would break the record";
    EXPECT_EQ(entries.schedules()[0].category, sj("仕事"));
    EXPECT_EQ(entries.schedules()[1].title, std::string(40, 'x'));
    EXPECT_EQ(entries.schedules()[1].place.size(), 39u) << "cut before the character that does not fit";
    EXPECT_EQ(entries.texts.replaced, 1);
    EXPECT_EQ(entries.texts.cut, 2);
}

TEST(IcalImportTodos, FieldsComeFromTheirProperties)
{
    const std::string text = calendar({
        "BEGIN:VTODO\r\nUID:t1\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:報告書\r\nDUE;VALUE=DATE:20260120\r\n"
        "PRIORITY:3\r\nPERCENT-COMPLETE:47\r\nSTATUS:IN-PROCESS\r\nDESCRIPTION:一行目\\n二行目\r\n"
        "CATEGORIES:仕事\r\nEND:VTODO\r\n",
        "BEGIN:VTODO\r\nUID:t2\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:done\r\nSTATUS:COMPLETED\r\n"
        "COMPLETED:20260105T150000Z\r\nPRIORITY:9\r\nEND:VTODO\r\n",
        "BEGIN:VTODO\r\nUID:t3\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:bare\r\nEND:VTODO\r\n",
    });
    const IcalEntries entries = read(text);
    ASSERT_EQ(entries.todos.size(), 3u);
    const TodoFields& report = entries.todos[0].todo.fields;
    EXPECT_EQ(report.title, sj("報告書"));
    EXPECT_EQ(report.deadline, (Date{2026, 1, 20}));
    EXPECT_EQ(report.priority, 1);
    EXPECT_EQ(report.progress, 5);
    EXPECT_FALSE(report.done);
    EXPECT_EQ(report.category, sj("仕事"));
    EXPECT_EQ(entries.todos[0].todo.memo, (std::vector<std::string>{sj("一行目"), sj("二行目")}));

    const TodoFields& done = entries.todos[1].todo.fields;
    EXPECT_TRUE(done.done);
    EXPECT_EQ(done.doneDate, (Date{2026, 1, 6})) << "15:00 UTC is the next day in Japan";
    EXPECT_EQ(done.priority, 3);
    EXPECT_FALSE(done.deadline);

    const TodoFields& bare = entries.todos[2].todo.fields;
    EXPECT_EQ(bare.priority, 1);
    EXPECT_EQ(bare.doneDate, kToday);
    EXPECT_TRUE(entries.todos[2].todo.memo.empty());
}

TEST(IcalImportSkips, WhatCannotComeInIsCountedForTheReport)
{
    const std::string twiceDaily = event("DTSTART:20260111T090000\r\nRRULE:FREQ=DAILY;BYHOUR=9,21\r\n");
    struct Case {
        const char* name;
        std::string text;
        int IcalSkips::*count;
        std::size_t schedules;
        const char* reported;
    };
    const Case cases[] = {
        {"no start", calendar({event("SUMMARY:x\r\n")}), &IcalSkips::withoutStart, 0, "開始日時がないため"},
        {"cancelled", calendar({event("DTSTART:20260301T220000\r\nSTATUS:CANCELLED\r\n")}), &IcalSkips::cancelled, 0,
         "取り消された予定"},
        {"occurrences over one a day", calendar({twiceDaily}), &IcalSkips::occurrencesCut, 1461, "回数が多すぎる"},
        {"a span over a year", calendar({event("DTSTART:20260301T220000\r\nDTEND:20270401T090000\r\n")}),
         &IcalSkips::spansCut, 366, "366 日で打ち切り"},
        {"a zone nobody knows", calendar({event("DTSTART;TZID=Mars/Olympus:20260301T090000\r\n")}),
         &IcalSkips::unknownZones, 1, "不明なタイムゾーン"},
        {"a description, a web address, attendees",
         calendar({event("DTSTART;VALUE=DATE:20260301\r\nDESCRIPTION:d\r\nURL:http://x/\r\n"
                         "ATTENDEE:mailto:a@x\r\n"),
                   "BEGIN:VTODO\r\nUID:t\r\nDTSTAMP:20260101T000000Z\r\nDESCRIPTION:memo\r\nEND:VTODO\r\n"}),
         &IcalSkips::unmapped, 1, "説明・URL・出席者は取り込め"},
    };
    TempFolder home;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const IcalEntries entries = read(c.text, {2026, 1, 10}, {2030, 1, 9});
        EXPECT_EQ(entries.skips.*c.count, 1);
        EXPECT_EQ(entries.schedules().size(), c.schedules);
        const IcalImportRequest request{c.text, kToday,      {2030, 1, 9}, kToday,
                                        {},     home.path(), home.path(),  home.path()};
        const IcalImportOutcome checked = runIcalImport(request, ImportRun::Check);
        EXPECT_NE(checked.outcome.message.find(c.reported), std::string::npos) << checked.outcome.message;
    }
    const IcalEntries daily =
        read(calendar({event("DTSTART;VALUE=DATE:20200101\r\nRRULE:FREQ=DAILY\r\n")}), {2026, 1, 10}, {2030, 1, 9});
    EXPECT_EQ(daily.schedules().size(), 1461u) << "an endless daily event fills the whole period";
}

TEST(IcalImportTexts, ACommaInsideACategoryNameStaysAndACancelledTodoIsDone)
{
    const IcalEntries entries =
        read(calendar({event("DTSTART;VALUE=DATE:20260301\r\nCATEGORIES:A\\,B\r\n"),
                       "BEGIN:VTODO\r\nUID:t\r\nDTSTAMP:20260101T000000Z\r\nSTATUS:CANCELLED\r\nEND:VTODO\r\n"}));
    ASSERT_EQ(entries.schedules().size(), 1u);
    EXPECT_EQ(entries.schedules()[0].category, "A,B");
    ASSERT_EQ(entries.todos.size(), 1u);
    EXPECT_TRUE(entries.todos[0].todo.fields.done);
    EXPECT_EQ(entries.skips.cancelledTodos, 1);
}

TEST(IcalImportTexts, GarbageIsRefusedOrYieldsNothing)
{
    for (const std::string& text : {std::string("not a calendar"), std::string("BEGIN:VCALENDAR\r\n"),
                                    std::string("\0\xff\xfe", 3), calendar({"BEGIN:VEVENT\r\nEND:VEVENT\r\n"})}) {
        SCOPED_TRACE(text);
        const IcalEntries entries = read(text);
        EXPECT_TRUE(entries.schedules().empty());
        EXPECT_TRUE(entries.todos.empty());
    }
}

namespace {

struct Folder {
    TempFolder dir;
    IcalImportRequest request(const std::string& text, bool skipDuplicates = true) const
    {
        return IcalImportRequest{text,       kToday,     {2027, 1, 9}, kToday, {skipDuplicates, true},
                                 dir.path(), dir.path(), dir.path()};
    }
};

} // namespace

TEST(IcalImportRun, ExecuteWritesSchedulesTodosAndCategoriesAndReportsCounts)
{
    Folder home;
    home.dir.write("202601.sch", crlf({plainScheduleLine(12, "10:00", "", "既存")}));
    const std::string text = calendar({
        event("DTSTART;TZID=Asia/Tokyo:20260112T100000\r\nSUMMARY:既存\r\n"),
        event("DTSTART;TZID=Asia/Tokyo:20260113T100000\r\nDTEND;TZID=Asia/Tokyo:20260113T110000\r\n"
              "SUMMARY:新規 😀\r\nLOCATION:会議室\r\nCATEGORIES:仕事\r\n"
              "BEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:-PT5M\r\nEND:VALARM\r\n"),
        "BEGIN:VTODO\r\nUID:t\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:買い物\r\nDESCRIPTION:牛乳\r\n"
        "CATEGORIES:家庭\r\nEND:VTODO\r\n",
    });

    const IcalImportOutcome checked = runIcalImport(home.request(text), ImportRun::Check);
    ASSERT_TRUE(checked.outcome.ok()) << checked.outcome.message;
    EXPECT_FALSE(home.dir.exists("ToDo.dat"));
    EXPECT_EQ(checked.outcome.message, "1 件のスケジュールデータを反映します。\r\n2 件の分類が未登録です。\r\n"
                                       "1 件のToDoを反映します。\r\n1 件は同じものがあるため反映しません。\r\n"
                                       "0 件の内容・場所を切り詰めます。\r\n1 文字を「〓」に置き換えます。");

    const IcalImportOutcome done = runIcalImport(home.request(text), ImportRun::Execute);
    ASSERT_TRUE(done.outcome.ok()) << done.outcome.message;
    EXPECT_EQ(done.outcome.message, "1 件のスケジュールデータを反映しました。\r\n2 件の分類を追加しました。\r\n"
                                    "1 件のToDoを反映しました。\r\n1 件は同じものがあるため反映しませんでした。\r\n"
                                    "0 件の内容・場所を切り詰めました。\r\n1 文字を「〓」に置き換えました。");
    ScheduleFields added;
    added.day = 13;
    added.start = "10:00";
    added.end = "11:00";
    added.category = sj("仕事");
    added.sound = added.message = true;
    added.title = sj("新規 〓");
    added.place = sj("会議室");
    EXPECT_EQ(home.dir.read("202601.sch"), crlf({plainScheduleLine(12, "10:00", "", "既存"), ComposeSchedule(added)}));
    const std::vector<std::string> todos = files::loadLines(home.dir.file("ToDo.dat"));
    ASSERT_EQ(todos.size(), 1u);
    EXPECT_EQ(TodoTitle(todos[0]), sj("買い物"));
    EXPECT_EQ(home.dir.read("ToDoMemo.dat"), crlf({ComposeTodoMemo(TodoMemoNumber(todos[0]), {sj("牛乳")})}));
    EXPECT_EQ(home.dir.read("Category.tbl"),
              crlf({sj("仕事") + std::string(10, ' ') + "1", sj("家庭") + std::string(10, ' ') + "1"}));

    const IcalImportOutcome again = runIcalImport(home.request(text), ImportRun::Execute);
    EXPECT_EQ(again.counts.schedules.records, 0);
    EXPECT_EQ(again.counts.todos, 0);
    EXPECT_EQ(again.counts.schedules.duplicates + again.counts.todoDuplicates, 3);
    // Without the check only the event that never came in is added again; the others are known
    // by their UIDs.
    const IcalImportOutcome unchecked = runIcalImport(home.request(text, false), ImportRun::Check);
    EXPECT_EQ(unchecked.counts.schedules.records, 1);
    EXPECT_EQ(unchecked.counts.todos, 0);
}

TEST(IcalImportRun, FailuresWriteNothing)
{
    Folder home;
    const std::string text =
        calendar({event("DTSTART;VALUE=DATE:20260110\r\n"),
                  "BEGIN:VTODO\r\nUID:t\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:x\r\nEND:VTODO\r\n"});
    ASSERT_TRUE(files::createFolders(home.dir.file("ToDo.dat")));
    const IcalImportOutcome unreadable = runIcalImport(home.request(text), ImportRun::Execute);
    EXPECT_EQ(unreadable.outcome.status, ImportStatus::ReadFailed);
    EXPECT_NE(unreadable.outcome.message.find("ToDo.dat"), std::string::npos);
    EXPECT_FALSE(home.dir.exists("202601.sch"));

    const IcalImportOutcome empty = runIcalImport(home.request(calendar({})), ImportRun::Execute);
    EXPECT_EQ(empty.outcome.status, ImportStatus::NoData);
}

TEST(IcalImportFile, MissingEmptyAndByteOrderMarkedFiles)
{
    TempFolder dir;
    EXPECT_EQ(readIcalFile(dir.file("none.ics")).message, "「" + dir.file("none.ics") + "」が見つかりません。");
    dir.write("blank.ics", "\r\n \r\n");
    EXPECT_FALSE(readIcalFile(dir.file("blank.ics")).ok);
    dir.write("bom.ics", "\xEF\xBB\xBF"
                         "BEGIN:VCALENDAR\r\n");
    EXPECT_EQ(readIcalFile(dir.file("bom.ics")).text, "BEGIN:VCALENDAR\r\n");
}

TEST(IcalImportPeriod, DefaultEndIsADayBeforeTheSameDateNextYear)
{
    EXPECT_EQ(icalDefaultPeriodEnd({2026, 1, 10}), (Date{2027, 1, 9}));
    EXPECT_EQ(icalDefaultPeriodEnd({2024, 2, 29}), (Date{2025, 2, 28}));
    EXPECT_EQ(icalDefaultPeriodEnd({2026, 1, 1}), (Date{2026, 12, 31}));
}

TEST(IcalImportTexts, DamagedDatesAndTimesNeverReachARecord)
{
    const std::string text = calendar({
        event("DTSTART:2026011T5093000\r\nSUMMARY:bad time\r\n"),
        event("DTSTART;VALUE=DATE:20260300\r\nSUMMARY:bad day\r\n"),
        event("DTSTART:20260110T090000\r\nDTEND:20261399T100000\r\nSUMMARY:bad end\r\n"),
        "BEGIN:VTODO\r\nUID:t\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:x\r\nDUE;VALUE=DATE:20260300\r\n"
        "COMPLETED:20260015T150000Z\r\nEND:VTODO\r\n",
    });
    const IcalEntries entries = read(text);
    expectDays(entries, {{{2026, 1, 10}, "09:00", ""}});
    ASSERT_EQ(entries.todos.size(), 1u);
    EXPECT_FALSE(entries.todos[0].todo.fields.deadline);
    EXPECT_EQ(entries.todos[0].todo.fields.doneDate, kToday);
    EXPECT_TRUE(IsTodoRecord(ComposeTodo(entries.todos[0].todo.fields)));
}
